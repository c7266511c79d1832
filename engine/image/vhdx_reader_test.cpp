#include "engine/image/vhdx_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/image/image_test_support.h"
#include "engine/image/read_sectors.h"

namespace {

using namespace image_test;

// Dynamic disks of 1, 8 and 32 MiB blocks, fixed disks of the same, a differencing disk.
TEST(VhdxReader, EveryVhdxOfTheTestSetReadsLikeQemu) {
  EXPECT_GE(ExpectWholeDisksReadLikeRaw(u".vhdx", u"big5g.vhdx"), 8);
}

// 32 MiB blocks: the block at 4500 MiB lies past the first chunk, after a sector-bitmap entry.
TEST(VhdxReader, BlockPastTheFirstBitmapEntryReadsFromItsPlace) {
  const std::u16string raw = OwnImage("big5g.vhdx.raw");
  OpenedImage opened(SharedImage("big5g.vhdx"));
  ASSERT_TRUE(opened.opened());
  ExpectSignedSectorsLikeRaw(raw, 4500 * kMiB / 512, 64);  // the FAT16 volume's first sectors
  EXPECT_EQ(opened.image().GetVirtualDiskSize(), FileSize(raw));
}

TEST(VhdxReader, WholeFiveGibDiskReadsLikeQemu) {
  EXPECT_TRUE(ReadsLikeRaw(SharedImage("big5g.vhdx"), OwnImage("big5g.vhdx.raw"), 4096));
}

// 4096-byte logical sectors with 32 MiB blocks: a chunk is 1024 blocks, so none of the 160 entries is a
// sector bitmap. The reader reads such a disk; opening it for recovery refuses it by name (its partitions and
// volumes count sectors of 4096 bytes, the engine's of 512).
TEST(VhdxReader, LogicalSectorsOf4096BytesSetTheChunkRatio) {
  const std::u16string path = OwnImage("sector4096.big5g.vhdx");
  DiskImage image;
  ASSERT_EQ(image.CreateReader(kImageVhdx), 1u);
  ASSERT_EQ(image.Open(path), 1u);
  SetCurrentDiskImage(&image);
  SourceKind = kSourceDisk;
  EXPECT_TRUE(CurrentReadsLikeRaw(path, OwnImage("sector4096.big5g.vhdx.raw"), 4096));
  SetCurrentDiskImage(nullptr);
  for (const char* name : {"sector4096.big5g.vhdx", "sector4096.vhdx"}) {
    SCOPED_TRACE(name);
    DiskImage opened;
    EXPECT_EQ(opened.OpenFile(OwnImage(name)), ImageOpenResult::kLargeSectors);
    EXPECT_EQ(opened.Kind(), kImageVhdx);
    EXPECT_EQ(opened.GetDiskSize(), 0u) << "nothing of the refused disk is read";
  }
}

TEST(VhdxReader, PatchedTablesOpenOrFail) {
  struct Case {
    const char* name;
    uint32_t opens;
  };
  const Case cases[] = {
      {"unknown_region_first.vhdx", 1},   // not required: skipped
      {"metadata_first.vhdx", 1},
      {"metadata_last.vhdx", 1},
      {"sector4096.vhdx", 1},
      {"unknown_required.bad.vhdx", 0},
      {"duplicate_bat.bad.vhdx", 0},
      {"no_bat.bad.vhdx", 0},
      {"no_metadata.bad.vhdx", 0},
      {"region_count.bad.vhdx", 0},       // 2048 entries
      {"metadata_count.bad.vhdx", 0},     // 2048 entries
      {"metadata_signature.bad.vhdx", 0},
      {"identifier.bad.vhdx", 0},
      {"block0.bad.vhdx", 0},
      {"block512k.bad.vhdx", 0},
      {"block3m.bad.vhdx", 0},            // not a power of two
      {"block512m.bad.vhdx", 0},
      {"sector1024.bad.vhdx", 0},
      {"size0.bad.vhdx", 0},
      {"item_outside.bad.vhdx", 0},       // an item's offset past the metadata region
      {"item_too_long.bad.vhdx", 0},      // an item's length past the metadata region
      {"bat_too_small.bad.vhdx", 0},      // the table region cannot hold an entry for every block
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VhdxReader reader;
    ASSERT_EQ(reader.Open(OwnImage(c.name)), c.opens);
    if (c.opens && reader.GetLogicalSectorSize() == 512) {
      EXPECT_TRUE(ReadsLikeRaw(OwnImage(c.name), OwnImage(std::string(c.name) + ".raw")));
    }
  }
}

std::vector<uint8_t> ReadAt(VhdxReader& reader, uint64_t offset, uint32_t count, uint32_t* result) {
  std::vector<uint8_t> out(count, 0xAA);
  *result = reader.Seek(offset) ? reader.Read(out.data(), count) : 0;
  return out;
}

// small.vhdx: 6 MiB, 1 MiB blocks; blocks 2 and 4 were never written (not present).
TEST(VhdxReader, ReadsBlockByBlockWithAbsentBlocksAsZeros) {
  const std::u16string raw = OwnImage("small.vhdx.raw");
  VhdxReader reader;
  ASSERT_EQ(reader.Open(OwnImage("small.vhdx")), 1u);
  EXPECT_EQ(reader.GetVirtualDiskSize(), 6 * kMiB);
  struct Case {
    const char* what;
    uint64_t offset;
    uint32_t count;
  };
  const Case cases[] = {
      {"edge of blocks 0 and 1", kMiB - 4096, 8192},
      {"absent block second", 2 * kMiB - 65536, 131072},
      {"absent block first", 3 * kMiB - 65536, 131072},
      {"over four blocks", kMiB - 512, static_cast<uint32_t>(3 * kMiB + 1024)},
      {"to the last byte of the disk", 5 * kMiB + 7, static_cast<uint32_t>(kMiB - 7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    uint32_t result = 0;
    const std::vector<uint8_t> got = ReadAt(reader, c.offset, c.count, &result);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(got, RawBytes(raw, c.offset, c.count));
  }
  EXPECT_EQ(reader.Seek(6 * kMiB - 1), 1u);
  EXPECT_EQ(reader.Seek(6 * kMiB), 0u) << "the first byte past the last block";
  uint32_t result = 1;
  const std::vector<uint8_t> past = ReadAt(reader, 5 * kMiB, static_cast<uint32_t>(kMiB + 512), &result);
  EXPECT_EQ(result, 0u) << "runs past the last block";
  EXPECT_EQ(std::count(past.begin() + kMiB, past.end(), 0), 512) << "what was not read is zeroed";
}

TEST(VhdxReader, BlockStatesAndUnreachableOffsets) {
  VhdxReader reader;
  ASSERT_EQ(reader.Open(OwnImage("states.vhdx")), 1u);
  EXPECT_EQ(reader.Seek(4096), 0u) << "block 0's data cannot be reached";
  uint32_t result = 0;
  const std::vector<uint8_t> zero = ReadAt(reader, kMiB, 8192, &result);
  EXPECT_EQ(result, 1u);
  EXPECT_EQ(std::count(zero.begin(), zero.end(), 0), 8192) << "a block in the state zero has data in the file";
  EXPECT_EQ(ReadAt(reader, 3 * kMiB, 8192, &result), RawBytes(OwnImage("small.vhdx.raw"), 3 * kMiB, 8192));
  EXPECT_EQ(result, 1u);
}

TEST(VhdxReader, FileEndingInsideABlockCannotReadTheMissingBytes) {
  const std::vector<uint8_t> text = ReadFileAll(OwnImage("truncated.vhdx.cut"));
  const uint64_t cut = std::stoull(std::string(text.begin(), text.end()));
  const std::u16string raw = OwnImage("truncated.vhdx.raw");
  VhdxReader reader;
  ASSERT_EQ(reader.Open(OwnImage("truncated.vhdx")), 1u);
  uint32_t result = 0;
  EXPECT_EQ(ReadAt(reader, cut - 65536, 65536, &result), RawBytes(raw, cut - 65536, 65536));
  EXPECT_EQ(result, 1u) << "the file holds every byte";
  const std::vector<uint8_t> across = ReadAt(reader, cut - 65536, 131072, &result);
  EXPECT_EQ(result, 0u) << "the file holds half of the piece: zeros would pass for the disk's bytes";
  const std::vector<uint8_t> beyond = ReadAt(reader, cut, 65536, &result);
  EXPECT_EQ(result, 0u) << "the file supplied nothing";
  EXPECT_EQ(std::count(beyond.begin(), beyond.end(), 0), 65536);
}


// A VHDX whose table's latest changes wait in its log (a machine stopped without closing the disk; make_test_images.py):
// the log's active sequence is laid over what is read, and the disk reads as qemu reads it after replaying the log,
// also when the sequence runs around the ring's end past an earlier sequence's entry, or its last entry was cut off.
// The file is not written. A log that cannot be read is said when the image is opened.
TEST(VhdxReader, ChangesWaitingInTheLogAreReadFromIt) {
  for (const char* name : {"log.vhdx", "log_torn.vhdx", "log_wrapped.vhdx"}) {
    SCOPED_TRACE(name);
    const std::u16string path = OwnImage(name);
    const std::vector<uint8_t> before = ReadFileAll(path);
    VhdxReader reader;
    ASSERT_EQ(reader.Open(path), 1u);
    EXPECT_EQ(reader.LogState(), VhdxLogState::kReplayed);
    reader.Close();
    EXPECT_TRUE(ReadsLikeRaw(path, OwnImage(std::string(name) + ".raw")));
    EXPECT_TRUE(ReadFileAll(path) == before) << "the image file was written";
  }
  for (const char* name : {"log_unreachable.vhdx", "no_header.vhdx"}) {
    SCOPED_TRACE(name);
    DiskImage image;
    EXPECT_EQ(image.OpenFile(OwnImage(name)), ImageOpenResult::kLogNotRead);
  }
  VhdxReader plain;
  ASSERT_EQ(plain.Open(OwnImage("small.vhdx")), 1u);
  EXPECT_EQ(plain.LogState(), VhdxLogState::kEmpty);
}

}  // namespace
