#include "engine/image/vhd_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

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

// A file whose footer names neither a dynamic nor a differencing disk is a fixed disk: its bytes before the
// footer. Without the footer's cookie it is a raw disk (or a fixed one whose footer was cut off): all its bytes.
TEST(VhdReader, AnyOtherFileReadsAsADiskFromItsFirstByte) {
  std::vector<uint8_t> bytes(4096);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  SetBe32(bytes, bytes.size() - 512 + 60, 0x12345678);  // neither dynamic nor differencing
  for (const bool cookie : {false, true}) {
    SCOPED_TRACE(cookie ? "a footer of another type" : "no footer");
    if (cookie) std::copy_n("conectix", 8, bytes.end() - 512);
    const uint32_t disk = cookie ? 3584 : 4096;
    const std::u16string path = TempPath(u"other.vhd");
    WriteFile(path, bytes);
    VhdReader reader;
    ASSERT_EQ(reader.Open(path), 1u);
    if (!cookie) {
      EXPECT_EQ(reader.GetCurrentSize(), disk);
    }
    std::vector<uint8_t> got(1024, 0xAA);
    ASSERT_EQ(reader.Seek(100), 1u);
    ASSERT_EQ(reader.Read(got.data(), 1024), 1u);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + 100));
    // The disk ends inside this read: what lies past it cannot be read (a copy cut short looks the same), so
    // the read fails; its part inside is kept, the rest is zeros, neither old bytes nor the footer.
    std::fill(got.begin(), got.end(), 0xAA);
    ASSERT_EQ(reader.Seek(disk - 512), 1u);
    ASSERT_EQ(reader.Read(got.data(), 1024), 0u);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 512, bytes.begin() + (disk - 512)));
    EXPECT_EQ(std::count(got.begin() + 512, got.end(), 0), 512);
    ASSERT_EQ(reader.Seek(disk - 512), 1u);
    ASSERT_EQ(reader.Read(got.data(), 512), 1u) << "the disk's last sector";
    ASSERT_EQ(reader.Seek(disk), 1u);
    ASSERT_EQ(reader.Read(got.data(), 512), 0u) << "wholly past the disk";
    EXPECT_EQ(std::count(got.begin(), got.begin() + 512, 0), 512);
    reader.Close();
    os::RemoveFile(path);
  }
}

// The damage an interrupted or broken copy does (make_test_images.py): what the file still holds reads as
// qemu-img reads it; what it no longer holds cannot be read, where qemu gives zeros. A fixed disk cut inside
// its data has lost its footer with its end: it is a raw disk of the bytes it holds.
TEST(VhdReader, ACopyThatLostPartOfTheFileReadsWhatItHolds) {
  const uint64_t sectors = FileSize(SharedImage("mbr_primary.raw")) / 512;
  for (const std::string name : {"cut_footer.vhd", "cut_blocks.vhd", "bat_past.vhd", "cut_fixed.vhd"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> text = ReadFileAll(OwnImage(name + ".unreadable"));
    std::istringstream lines(std::string(text.begin(), text.end()));
    std::vector<std::pair<uint64_t, uint64_t>> lost;  // sector ranges [first, end)
    for (uint64_t first = 0, length = 0; lines >> first >> length;) lost.emplace_back(first / 512, (first + length) / 512);
    OpenedImage opened(OwnImage(name));
    ASSERT_TRUE(opened.opened());
    const uint64_t size = name == "cut_fixed.vhd" ? FileSize(OwnImage(name)) : sectors * 512;
    ASSERT_EQ(opened.image().GetDiskSize(), size) << "the size of the footer's copy at the start, or the file's";
    uint64_t wrong = 0;
    for (uint64_t lba = 0; lba < sectors; lba += 8) {  // 8 sectors never cross a block's edge
      const bool gone = std::any_of(lost.begin(), lost.end(), [&](auto r) { return lba >= r.first && lba < r.second; });
      const std::vector<uint8_t> got = Sectors(lba, 8);
      if (gone ? !got.empty() : got != RawBytes(OwnImage(name + ".raw"), lba * 512, 8 * 512)) {
        if (wrong++ == 0) ADD_FAILURE() << "sector " << lba << (gone ? " read where the file holds nothing" : "");
      }
    }
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
