// The MFT map and the readers that go to the disk, over small volumes put together by hand and written as
// fixed VHD files.
#include "engine/ntfs/mft_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/image/source_values.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/found_records.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/ntfs/volume_records.h"
#include "engine/partitions/partition_test_support.h"
#include "engine/records/scan_records.h"

namespace {

using ntfs_test::Bytes;
using ntfs_test::RecordBuilder;

constexpr uint32_t kMftSector = 16;
// A volume end that bounds nothing: the hand-made disks are smaller than any MFT they describe.
constexpr uint64_t kUnbounded = UINT64_MAX;

// A disk of 512-byte sectors (and clusters) that the test fills, then opens as the current disk.
class HandMadeDisk {
 public:
  explicit HandMadeDisk(uint32_t sectors) : bytes_(size_t{sectors} * 512, 0) {}
  void Put(uint32_t sector, const Bytes& data) {
    ASSERT_LE(size_t{sector} * 512 + data.size(), bytes_.size());
    std::memcpy(&bytes_[size_t{sector} * 512], data.data(), data.size());
  }
  ::testing::AssertionResult Open(const std::string& name) {
    disk_.reset();  // the disk open before stops being the current one before this one is made current
    const std::u16string path = ntfs_test::TempImage(name + ".vhd");
    if (!partition_test::WriteFixedVhd(path, bytes_.data(), bytes_.size(), host::DiskGeometry{1, 1, 1})) {
      return ::testing::AssertionFailure() << "cannot write " << name;
    }
    disk_ = std::make_unique<partition_test::CurrentDisk>(path);
    return disk_->opened() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << name << " does not open";
  }

 private:
  Bytes bytes_;
  std::unique_ptr<partition_test::CurrentDisk> disk_;
};

class MftMapTest : public ::testing::Test {
 protected:
  void TearDown() override {
    MftMap.clear();
    NtfsFoundEntryList.Free();
    NtfsFolderCandidateList.Free();
    IndexRecordCandidateList.Free();
    ScanCounters = ScanCountersRecord{};
  }
  static uint32_t SectorOf(uint32_t record) {
    uint32_t sector = 0xDEAD;
    MftRecordToSector(record, sector);
    return sector;
  }
};

// Record 0 whose data runs cross the end of its first sector: bytes 510-511 hold the update sequence
// number on the disk, so the runs are only whole after the fix-up.
TEST_F(MftMapTest, TheFixUpComesBeforeTheRunsAreRead) {
  RecordBuilder record0;
  record0.AddResident(0x10, u"", Bytes(360, 0));  // the data attribute then starts at 440, its runs at 504
  const uint32_t at = record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x04, 0x10, 0x21, 0x06, 0x30, 0x00},
                                             5 * 1024);
  ASSERT_EQ(at, 440u);
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());
  ASSERT_TRUE(disk.Open("fixup"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  ASSERT_EQ(MftMap.size(), 2u);
  EXPECT_EQ(MftMapSectorCount(), 10u);
  EXPECT_EQ(SectorOf(1), 18u);
  EXPECT_EQ(SectorOf(2), 64u);
  EXPECT_EQ(SectorOf(4), 68u);
  EXPECT_EQ(SectorOf(5), 0u) << "beyond the map";
}

TEST_F(MftMapTest, NotAFileRecordGivesNoMap) {
  HandMadeDisk disk(40);
  ASSERT_TRUE(disk.Open("nofile"));
  EXPECT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 0u);
  EXPECT_TRUE(MftMap.empty());
  EXPECT_EQ(LoadMftMap(0, DevicePathTable[0], 0xFFFFFFFF, 1, kUnbounded), 0u) << "the record's second sector is past 32 bits";
}

Bytes ExtensionRecord(const Bytes& runs) {
  RecordBuilder record(ntfs::kFileInUse);
  record.AddNonResident(ntfs::kDataAttribute, u"", runs, 4 * 1024);
  return record.Protected();
}

TEST_F(MftMapTest, ExtensionRecordsOfAResidentAttributeListExtendTheMap) {
  RecordBuilder record0;
  record0.AddResident(ntfs::kAttributeList, u"",
                      ntfs_test::AttributeListValue({{0x10, 0}, {0x80, 0}, {0x80, 3}, {0x80, 3}}));
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x08, 0x10, 0x00}, 6 * 1024);
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());
  disk.Put(kMftSector + 6, ExtensionRecord({0x11, 0x04, 0x40, 0x00}));
  ASSERT_TRUE(disk.Open("list"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  ASSERT_EQ(MftMap.size(), 2u) << "record 3 is read once";
  EXPECT_EQ(MftMapSectorCount(), 12u);
  EXPECT_EQ(SectorOf(3), 22u);
  EXPECT_EQ(SectorOf(4), 64u);
  EXPECT_EQ(SectorOf(5), 66u);
}

TEST_F(MftMapTest, ANonResidentAttributeListIsReadFromItsClusters) {
  RecordBuilder record0;
  const Bytes list = ntfs_test::AttributeListValue({{0x10, 0}, {0x80, 0}, {0x80, 3}});
  record0.AddNonResident(ntfs::kAttributeList, u"", {0x11, 0x01, 0x28, 0x00}, list.size());
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x08, 0x10, 0x00}, 6 * 1024);
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());
  disk.Put(kMftSector + 6, ExtensionRecord({0x11, 0x04, 0x40, 0x00}));
  disk.Put(40, list);
  ASSERT_TRUE(disk.Open("nonresidentlist"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  EXPECT_EQ(MftMapSectorCount(), 12u);
  EXPECT_EQ(SectorOf(5), 66u);
}

TEST_F(MftMapTest, AnUnreadableExtensionRecordEndsTheLoadingWithWhatWasAdded) {
  RecordBuilder record0;
  record0.AddResident(ntfs::kAttributeList, u"", ntfs_test::AttributeListValue({{0x80, 0}, {0x80, 3}, {0x80, 9}}));
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x08, 0x10, 0x00}, 6 * 1024);
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());  // record 3 is zeros: not a file record
  ASSERT_TRUE(disk.Open("badextension"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  EXPECT_EQ(MftMapSectorCount(), 8u);
}

TEST_F(MftMapTest, ARecordMayStraddleTwoExtents) {
  RecordBuilder record0;
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x03, 0x10, 0x11, 0x03, 0x0E, 0x00}, 3 * 1024);
  RecordBuilder record1;
  record1.AddFileName(5, u"straddling.txt", kWin32NameSpace);
  const Bytes bytes1 = record1.Protected();
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());
  disk.Put(18, Bytes(bytes1.begin(), bytes1.begin() + 512));
  disk.Put(30, Bytes(bytes1.begin() + 512, bytes1.end()));
  ASSERT_TRUE(disk.Open("straddle"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  EXPECT_EQ(SectorOf(1), 18u);
  EXPECT_EQ(SectorOf(2), 31u);
  uint8_t record[ntfs::kMaxMftRecordSize];
  ASSERT_EQ(ReadMftRecordByNumber(DevicePathTable[0], 1, record), 1u);
  FileNameInfo name;
  ASSERT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record, 0), 1u);
  EXPECT_EQ(name.name, u"straddling.txt");
  EXPECT_EQ(ReadMftRecordByNumber(DevicePathTable[0], 3, record), 0u) << "its second sector is beyond the map";
}

// Sectors are partition start + cluster x sectors per cluster in 64 bits; what lies past sector
// 0xFFFFFFFF cannot be read, and is never wrapped to a low sector.
TEST_F(MftMapTest, SectorsPast32BitsAreUnreadable) {
  RecordBuilder record0;
  // 2 clusters of 128 sectors from cluster 0x01FFFFFF: sectors 0xFFFFFF80 .. 0x1_0000_007F.
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x41, 0x02, 0xFF, 0xFF, 0xFF, 0x01, 0x11, 0x02, 0x02, 0x00}, 256 * 1024);
  HandMadeDisk disk(40);
  disk.Put(kMftSector, record0.Protected());
  ASSERT_TRUE(disk.Open("wide"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 128, kUnbounded), 1u);
  EXPECT_EQ(SectorOf(63), 0xFFFFFFFEu);
  EXPECT_EQ(SectorOf(64), 0u);
  EXPECT_EQ(SectorOf(200), 0u);
  EXPECT_EQ(MftMapSectorCount(), 512u);
  EXPECT_EQ(MftMap[1].startSector, uint64_t{0x02000001} * 128) << "kept whole, in 64 bits";
}

TEST_F(MftMapTest, SparseExtentsHaveNoSectors) {
  RecordBuilder record0;
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x04, 0x10, 0x01, 0x04, 0x11, 0x04, 0x20, 0x00},
                         6 * 1024);
  HandMadeDisk disk(80);
  disk.Put(kMftSector, record0.Protected());
  ASSERT_TRUE(disk.Open("sparse"));
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  ASSERT_EQ(MftMap.size(), 3u);
  EXPECT_TRUE(MftMap[1].sparse);
  EXPECT_EQ(SectorOf(2), 0u) << "a hole";
  EXPECT_EQ(SectorOf(4), 48u) << "the base did not move over the hole";
}

// A damaged run length (say 0x7FFFFFFF clusters) must not give an MFT of billions of records: the map stays
// inside the volume and holds at most as many records as the volume has room for. Nor does it go on past the
// MFT's data: clusters allocated beyond it (or left from a larger MFT before a format) hold no records of it.
TEST_F(MftMapTest, TheMapStaysInsideTheVolumeAndTheMftsData) {
  constexpr uint64_t kLarge = uint64_t{1} << 40;
  const struct {
    const char* what;
    Bytes runs;
    uint64_t volumeEnd;
    uint64_t size;  // the data's size in bytes
    std::vector<std::pair<uint64_t, uint64_t>> extents;  // start, sectors
  } cases[] = {
      {"a run inside", {0x11, 0x08, 0x10, 0x00}, 80, kLarge, {{16, 8}}},
      {"a length of 0x7FFFFFFF cut at the end", {0x14, 0xFF, 0xFF, 0xFF, 0x7F, 0x10, 0x00}, 80, kLarge, {{16, 64}}},
      {"the second run cut, a third dropped", {0x11, 0x08, 0x10, 0x11, 0x40, 0x20, 0x11, 0x04, 0x02, 0x00}, 80, kLarge,
       {{16, 8}, {48, 32}}},
      {"a run past the end ends the map", {0x11, 0x08, 0x10, 0x11, 0x04, 0x50, 0x00}, 80, kLarge, {{16, 8}}},
      {"a hole counts as room", {0x11, 0x08, 0x10, 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x11, 0x04, 0x20, 0x00}, 80, kLarge,
       {{16, 8}, {0, 72}}},
      {"a smaller volume", {0x14, 0xFF, 0xFF, 0xFF, 0x7F, 0x10, 0x00}, 40, kLarge, {{16, 24}}},
      {"ended by the data's size", {0x11, 0x08, 0x10, 0x11, 0x08, 0x20, 0x00}, 80, 5 * 1024, {{16, 8}, {48, 2}}},
      {"the size at an extent's end", {0x11, 0x08, 0x10, 0x11, 0x08, 0x20, 0x00}, 80, 4 * 1024, {{16, 8}}},
      {"a size of 0 cuts nothing", {0x11, 0x08, 0x10, 0x00}, 80, 0, {{16, 8}}},
      {"a size past the runs cuts nothing", {0x11, 0x08, 0x10, 0x00}, 80, 100 * 1024, {{16, 8}}},
  };
  for (const auto& c : cases) {
    RecordBuilder record0;
    record0.AddNonResident(ntfs::kDataAttribute, u"", c.runs, c.size);
    HandMadeDisk disk(80);
    disk.Put(kMftSector, record0.Protected());
    ASSERT_TRUE(disk.Open("bounded"));
    ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, c.volumeEnd), 1u) << c.what;
    std::vector<std::pair<uint64_t, uint64_t>> extents;
    for (const MftExtent& e : MftMap) extents.emplace_back(e.startSector, e.sectorCount);
    EXPECT_EQ(extents, c.extents) << c.what;
    EXPECT_LE(MftMapSectorCount(), c.volumeEnd) << c.what;
  }
}

// A volume's own records read through the map of its MFT (512-byte clusters, the MFT's 10 records from cluster 16):
// record 0 is its own where its first run begins; its size in clusters is the lesser of what $BadClus's stream $Bad
// and $Bitmap's bits give; a cluster is in use by its bit, and a cluster past the bitmap, or whose bit lies in a
// hole, tells nothing. Record 6 named otherwise tells nothing at all.
TEST_F(MftMapTest, TheVolumesOwnRecordsTellItsSizeAndTheClustersInUse) {
  const auto named = [](const std::u16string& name) {
    RecordBuilder record;
    record.AddFileName(records::kNtfsRootRecord, name, kWin32NameSpace);
    return record;
  };
  RecordBuilder record0 = named(u"$MFT");
  record0.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x14, 0x10, 0x00}, 10 * 1024);
  RecordBuilder bitmap = named(u"$Bitmap");
  bitmap.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x01, 0x3C, 0x11, 0x01, 0x01, 0x00}, 600);  // 512 + 88
  RecordBuilder badClusters = named(u"$BadClus");
  badClusters.AddResident(ntfs::kDataAttribute, u"", {});
  badClusters.AddNonResident(ntfs::kDataAttribute, u"$Bad", {0x01, 0x14, 0x00}, 20 * 512);  // a hole of 20
  HandMadeDisk disk(100);
  disk.Put(kMftSector, record0.Protected());
  disk.Put(kMftSector + 2 * 6, bitmap.Protected());
  disk.Put(kMftSector + 2 * 8, badClusters.Protected());
  disk.Put(60, {0x01, 0x80, 0x00, 0xFF});
  disk.Put(61, Bytes(88, 0xFF));
  ASSERT_TRUE(disk.Open("ownrecords"));
  EXPECT_TRUE(ntfs::IsOwnMftRecord(record0.Plain().data(), kMftSector, 0, 1));
  EXPECT_FALSE(ntfs::IsOwnMftRecord(record0.Plain().data(), kMftSector + 2, 0, 1)) << "a copy elsewhere";
  EXPECT_FALSE(ntfs::IsOwnMftRecord(record0.Plain().data(), kMftSector, 8, 1)) << "another volume's";
  ASSERT_EQ(LoadMftMap(0, DevicePathTable[0], kMftSector, 1, kUnbounded), 1u);
  EXPECT_EQ(ntfs::VolumeClusters(DevicePathTable[0], 1), 20u) << "$Bad's 20 clusters, fewer than 4800 bits";
  ntfs::ClusterBitmap clusters({DevicePathTable[0], 0, 1, 100});
  ASSERT_TRUE(clusters.known());
  const struct {
    uint64_t first, count;
    bool inUse;
  } ranges[] = {{0, 1, true},        {1, 7, false},  {1, 15, true},      {8, 7, false},  {16, 8, false},
                {16, 9, true},       {30, 1, true},  {4096, 704, true},  {4800, 100, false},
                {UINT64_MAX - 1, 5, false}};
  for (const auto& r : ranges) EXPECT_EQ(clusters.AnyInUse(r.first, r.count), r.inUse) << r.first << "+" << r.count;
  // Renamed, record 6 is no bitmap: nothing is known, the size comes from $Bad alone.
  disk.Put(kMftSector + 2 * 6, named(u"other.bin").Protected());
  ASSERT_TRUE(disk.Open("ownrecords_renamed"));
  EXPECT_FALSE(ntfs::ClusterBitmap({DevicePathTable[0], 0, 1, 100}).known());
  EXPECT_EQ(ntfs::VolumeClusters(DevicePathTable[0], 1), 20u);
  // Without $Bad either: nothing tells the size.
  disk.Put(kMftSector + 2 * 8, named(u"$BadClus").Protected());
  ASSERT_TRUE(disk.Open("ownrecords_without_bad"));
  EXPECT_EQ(ntfs::VolumeClusters(DevicePathTable[0], 1), 0u);
}

TEST_F(MftMapTest, IndexRecordsWhoseFirstKeyIsBelowFiveAreNotKept) {
  auto key = [](uint32_t parent) { return ntfs_test::FileNameValue(parent, u"x.txt", kWin32NameSpace); };
  HandMadeDisk disk(80);
  disk.Put(16, ntfs_test::IndexRecord(4096, 0, {ntfs_test::IndexEntry(80, key(4))}));
  disk.Put(32, ntfs_test::IndexRecord(4096, 2, {ntfs_test::IndexEntry(80, key(77))}));
  disk.Put(48, ntfs_test::IndexRecord(4096, 0, {ntfs_test::IndexEntry(80, key(0xFFFFFFFF))}));
  ASSERT_TRUE(disk.Open("indexrecords"));
  FileSystemRecord parameters;
  parameters.sectorsPerIndexRecord = 8;
  EXPECT_EQ(ReadIndexRecord(16, parameters), 0u);
  EXPECT_EQ(ReadIndexRecord(48, parameters), 0u);
  ASSERT_EQ(ReadIndexRecord(32, parameters), 1u);
  ASSERT_EQ(IndexRecordCandidateList.size(), 1u);
  EXPECT_EQ(IndexRecordCandidateList[0].owner, 77u);
  EXPECT_EQ(IndexRecordCandidateList[0].number, 2u);
  EXPECT_EQ(IndexRecordCandidateList[0].sectorCount, 8u);
  EXPECT_EQ(IndexRecordCandidateList[0].mark, records::kNoFileSystemMark);
  EXPECT_EQ(ScanCounters.indexRecordCount, 1u);
  parameters.sectorsPerIndexRecord = 129;
  EXPECT_EQ(ReadIndexRecord(32, parameters), 0u) << "larger than 65536 bytes";
  parameters.sectorsPerIndexRecord = 0;
  EXPECT_EQ(ReadIndexRecord(32, parameters), 0u) << "no index-record size";
}

TEST_F(MftMapTest, FoundRecordsNeedANameAndKnownFlags) {
  RecordBuilder dot(ntfs::kDirectoryInUse);
  dot.AddFileName(5, u".", kWin32AndDosNameSpace);
  dot.AddResident(ntfs::kIndexRoot, u"$I30",
                  ntfs_test::IndexRootValue({ntfs_test::IndexEntry(99, ntfs_test::FileNameValue(99, u"a", 1))}));
  RecordBuilder extend(ntfs::kDeletedDirectory);
  extend.AddFileName(5, u"$Extend", kWin32AndDosNameSpace);
  RecordBuilder view(9);  // a view index such as $Secure
  view.AddFileName(5, u"$Secure", kWin32AndDosNameSpace);
  RecordBuilder nameless(ntfs::kFileInUse);
  nameless.AddResident(ntfs::kDataAttribute, u"", Bytes(10, 0));
  RecordBuilder deletedFile(ntfs::kDeletedFile);
  deletedFile.AddFileName(70, u"gone.txt", kWin32NameSpace);
  HandMadeDisk disk(80);
  disk.Put(16, dot.Protected());
  disk.Put(18, extend.Protected());
  disk.Put(20, view.Protected());
  disk.Put(22, nameless.Protected());
  disk.Put(24, deletedFile.Protected());
  ASSERT_TRUE(disk.Open("found"));
  EXPECT_EQ(ReadFoundFileRecord(16), 1u);
  EXPECT_EQ(ReadFoundFileRecord(18), 1u);
  EXPECT_EQ(ReadFoundFileRecord(20), 0u);
  EXPECT_EQ(ReadFoundFileRecord(22), 0u);
  EXPECT_EQ(ReadFoundFileRecord(24), 1u);
  EXPECT_EQ(ReadFoundFileRecord(40), 0u) << "zeros: not a file record";
  ASSERT_EQ(NtfsFolderCandidateList.size(), 2u);
  EXPECT_EQ(NtfsFolderCandidateList[0].mftNumber, 5u);
  EXPECT_EQ(NtfsFolderCandidateList[0].deleted, 0u);
  EXPECT_EQ(NtfsFolderCandidateList[1].mftNumber, 11u);
  EXPECT_EQ(NtfsFolderCandidateList[1].deleted, 1u);
  ASSERT_EQ(NtfsFoundEntryList.size(), 1u);
  EXPECT_EQ(NtfsFoundEntryList[0].deleted, 1u);
  EXPECT_EQ(NtfsFoundEntryList[0].size, 0u) << "no data attribute";
  EXPECT_EQ(ScanCounters.subfolderCandidateCount, 2u);
  EXPECT_EQ(ScanCounters.fileRecordCount, 1u);
}

// A folder renamed when its index root had filled its record keeps its name in an extension record: the folder
// record is kept without a name (the map names it later), and the extension record is no file. A file's name
// in an extension record still lists the file.
TEST_F(MftMapTest, AFolderWhoseNameLiesInAnExtensionRecordIsKeptWithoutOne) {
  const Bytes root = ntfs_test::IndexRootValue({ntfs_test::IndexEntry(99, ntfs_test::FileNameValue(78, u"a", 1))});
  Bytes folderName = ntfs_test::FileNameValue(66, u"Renamed folder", kWin32NameSpace);
  ntfs_test::PutLe32(folderName, 56, 0x10000000);  // the name of a file with an index
  struct Case {
    uint16_t flags;
    bool base, folderNamed;
    uint32_t appended;
    size_t folders, files;
  } const cases[] = {
      {ntfs::kDirectoryInUse, true, false, 1, 1, 0},      // the folder, live
      {ntfs::kDeletedDirectory, true, false, 1, 1, 0},    // and deleted
      {ntfs::kFileInUse, false, true, 0, 0, 0},           // its extension record
      {ntfs::kDeletedFile, false, true, 0, 0, 0},
      {ntfs::kFileInUse, false, false, 1, 0, 1},          // a file's extension record
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << (c.base ? " base" : " extension"));
    NtfsFolderCandidateList.Free();
    NtfsFoundEntryList.Free();
    RecordBuilder record(c.flags);
    if (c.base) {
      record.AddResident(ntfs::kIndexRoot, u"$I30", root);
    } else {
      record.SetBaseRecord(78);
      record.AddResident(0x30, u"", c.folderNamed ? folderName : ntfs_test::FileNameValue(66, u"f.txt", 1));
    }
    HandMadeDisk disk(40);
    disk.Put(16, record.Protected());
    ASSERT_TRUE(disk.Open("extension"));
    EXPECT_EQ(ReadFoundFileRecord(16), c.appended);
    ASSERT_EQ(NtfsFolderCandidateList.size(), c.folders);
    EXPECT_EQ(NtfsFoundEntryList.size(), c.files);
    if (c.folders != 0) {
      EXPECT_EQ(NtfsFolderCandidateList[0].name, u"");
      EXPECT_EQ(NtfsFolderCandidateList[0].mftNumber, 78u) << "the owner its index root names";
      EXPECT_EQ(NtfsFolderCandidateList[0].deleted, c.flags == ntfs::kDeletedDirectory ? 1u : 0u);
    }
  }
}

}  // namespace
