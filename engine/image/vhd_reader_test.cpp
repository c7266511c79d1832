#include "engine/image/vhd_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/image/byte_order.h"
#include "engine/image/image_test_support.h"
#include "engine/image/read_sectors.h"

namespace {

using namespace image_test;

// Fixed, dynamic and differencing disks, the footer with a wrong checksum, 4 MiB blocks.
TEST(VhdReader, EveryVhdOfTheTestSetReadsLikeQemu) {
  EXPECT_GE(ExpectWholeDisksReadLikeRaw(u".vhd", u"big.vhd"), 20);
}

TEST(VhdReader, BlocksStoredBeyondFourGibReadFromTheirPlace) {
  const std::u16string raw = OwnImage("big.vhd.raw");
  EXPECT_TRUE(ReadsLikeRaw(SharedImage("big.vhd"), raw, 4096));
  OpenedImage opened(SharedImage("big.vhd"));
  ASSERT_TRUE(opened.opened());
  ExpectSignedSectorsLikeRaw(raw, 9437184, 1);  // the FAT32 boot sector at 4.5 GiB
}

// tiny.vhd: 2 MiB blocks, data written across the edge of blocks 0 and 1, nothing in the others.
struct TinyLayout {
  uint32_t entries = 0;
  uint32_t blockSize = 0;
};

TinyLayout Tiny() {
  const std::vector<uint8_t> header = ReadFileRange(OwnImage("tiny.vhd"), 512, 1024);
  if (header.size() != 1024) return {};
  return {LoadBe32(&header[28]), LoadBe32(&header[32])};
}

TEST(VhdReader, ReadsAcrossBlockEdgesUpToTheLastTableBlock) {
  const TinyLayout tiny = Tiny();
  ASSERT_EQ(tiny.blockSize, 2 * kMiB);
  ASSERT_GE(tiny.entries, 3u);
  const std::u16string raw = OwnImage("tiny.vhd.raw");
  OpenedImage opened(OwnImage("tiny.vhd"));
  ASSERT_TRUE(opened.opened());
  const uint64_t blockSectors = tiny.blockSize / 512;
  const uint64_t lastStart = (tiny.entries - 1) * blockSectors;
  struct Case {
    const char* what;
    uint64_t lba;
    uint32_t count;
  };
  const Case cases[] = {
      {"the written bytes across blocks 0 and 1", blockSectors - 8, 16},
      {"ends exactly at the end of the last block", lastStart - 1, static_cast<uint32_t>(blockSectors + 1)},
      {"ends inside the last block", lastStart - 3, 7},
      {"a block never written reads as zeros", 2 * blockSectors + 5, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Sectors(c.lba, c.count), RawBytes(raw, c.lba * 512, c.count * 512));
  }
  EXPECT_TRUE(Sectors(tiny.entries * blockSectors - 1, 2).empty()) << "runs past the table";
  EXPECT_TRUE(Sectors(tiny.entries * blockSectors, 1).empty()) << "starts past the table";
}

void SetBe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

TEST(VhdReader, OpenRefusesWhatCannotBeRead) {
  const std::vector<uint8_t> tiny = ReadFileAll(OwnImage("tiny.vhd"));
  ASSERT_GT(tiny.size(), 2048u);
  const auto fits = static_cast<uint32_t>((tiny.size() - 1536) / 4);
  struct Case {
    const char* what;
    size_t keep;         // bytes of tiny.vhd kept from its end (the footer), 0: all
    size_t headerField;  // 0: none
    uint32_t value;
    uint32_t opens;
  };
  const Case cases[] = {
      {"as made", 0, 0, 0, 1},
      {"511 bytes", 511, 0, 0, 0},
      {"empty", 1, 0, 0, 0},
      {"block size 0", 0, 512 + 32, 0, 0},
      {"block size not a multiple of 512", 0, 512 + 32, 2 * kMiB + 100, 0},
      {"table larger than the file", 0, 512 + 28, fits + 1, 0},
      {"table of 2^32-1 entries", 0, 512 + 28, 0xFFFFFFFF, 0},
      {"table ending at the end of the file", 0, 512 + 28, fits, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = tiny;
    if (c.headerField) SetBe32(bytes, c.headerField, c.value);
    if (c.keep == 1) bytes.clear();
    if (c.keep > 1) bytes.erase(bytes.begin(), bytes.end() - static_cast<long>(c.keep));
    const std::u16string path = TempPath(u"crafted.vhd");
    WriteFile(path, bytes);
    VhdReader reader;
    EXPECT_EQ(reader.Open(path), c.opens);
    reader.Close();
    os::RemoveFile(path);
  }
}

TEST(VhdReader, AFileOfAnyOtherTypeReadsAsAFixedDiskFromItsFirstByte) {
  std::vector<uint8_t> bytes(4096);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  SetBe32(bytes, bytes.size() - 512 + 60, 0x12345678);  // neither dynamic nor differencing
  const std::u16string path = TempPath(u"other.vhd");
  WriteFile(path, bytes);
  VhdReader reader;
  ASSERT_EQ(reader.Open(path), 1u);
  std::vector<uint8_t> got(1024, 0xAA);
  ASSERT_EQ(reader.Seek(100), 1u);
  ASSERT_EQ(reader.Read(got.data(), 1024), 1u);
  EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + 100));
  // The disk ends 512 bytes into this read, where the footer begins: a short read succeeds and the rest is
  // zeros, neither old bytes nor the footer.
  std::fill(got.begin(), got.end(), 0xAA);
  ASSERT_EQ(reader.Seek(3072), 1u);
  ASSERT_EQ(reader.Read(got.data(), 1024), 1u);
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + 512, bytes.begin() + 3072));
  EXPECT_EQ(std::count(got.begin() + 512, got.end(), 0), 512);
  // Wholly past the disk: zeros.
  std::fill(got.begin(), got.end(), 0xAA);
  ASSERT_EQ(reader.Seek(3584), 1u);
  ASSERT_EQ(reader.Read(got.data(), 1024), 1u);
  EXPECT_EQ(std::count(got.begin(), got.end(), 0), 1024);
  reader.Close();
  os::RemoveFile(path);
}

}  // namespace
