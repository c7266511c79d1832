// The records of the NTFS test volumes (512-byte, 4 KiB and 64 KiB clusters) read through the MFT map
// and compared with what The Sleuth Kit says of them (ntfs_oracle.py).
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/found_records.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/partitions/partition_test_support.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

using ntfs_test::ExpectedEntry;
using ntfs_test::ExpectedFolder;
using ntfs_test::ExpectedVolume;

std::string Utf8(const std::u16string& text) { return os::ToUtf8(text); }

// Non-sparse runs as image sectors, adjacent ones joined, as istat lists them.
std::string SectorRuns(const ExpectedVolume& v) {
  std::vector<std::pair<uint64_t, uint64_t>> sectors;
  for (const DataRun& run : DataRunList) {
    if (run.sparse || run.length == 0) continue;
    const uint64_t first = v.start + uint64_t{run.startCluster} * v.sectorsPerCluster;
    const uint64_t count = uint64_t{run.length} * v.sectorsPerCluster;
    if (!sectors.empty() && sectors.back().first + sectors.back().second == first) {
      sectors.back().second += count;
    } else {
      sectors.emplace_back(first, count);
    }
  }
  std::ostringstream out;
  for (size_t i = 0; i < sectors.size(); ++i) out << (i ? "," : "") << sectors[i].first << ":" << sectors[i].second;
  return out.str();
}

class NtfsVolumeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    volumes_ = ntfs_test::ExpectedVolumes();
    ASSERT_EQ(volumes_.size(), 3u);
  }
  void TearDown() override {
    NtfsFoundEntryList.Free();
    NtfsFolderCandidateList.Free();
    IndexRecordCandidateList.Free();
    DataRunList.Free();
    MftMap.clear();
  }

  // Opens the volume's image and loads its MFT map.
  ::testing::AssertionResult Open(const ExpectedVolume& v, std::unique_ptr<partition_test::CurrentDisk>* disk) {
    *disk = std::make_unique<partition_test::CurrentDisk>(ntfs_test::SharedImage(v.image));
    if (!(*disk)->opened()) return ::testing::AssertionFailure() << v.image << " does not open";
    if (LoadMftMap(v.start, DevicePathTable[0], MftSector(v), v.sectorsPerCluster, UINT64_MAX) != 1) {
      return ::testing::AssertionFailure() << v.image << ": no MFT map";
    }
    return ::testing::AssertionSuccess();
  }

  static uint32_t MftSector(const ExpectedVolume& v) { return v.start + v.mftCluster * v.sectorsPerCluster; }

  static uint32_t RecordSector(const ExpectedVolume& v, uint32_t inode) {
    uint32_t sector = 0;
    EXPECT_EQ(MftRecordToSector(inode, sector), 1u) << v.image << " record " << inode;
    return sector;
  }

  // Runs check on every record that fls lists, with the sector the MFT map gives it.
  template <typename Check>
  void ForEachRecord(Check&& check) {
    for (const ExpectedVolume& v : volumes_) {
      std::unique_ptr<partition_test::CurrentDisk> disk;
      ASSERT_TRUE(Open(v, &disk));
      for (const ExpectedEntry& e : v.entries) {
        SCOPED_TRACE(v.image + " " + Utf8(e.name));
        check(v, e, RecordSector(v, e.inode));
      }
    }
  }

  std::vector<ExpectedVolume> volumes_;
};

TEST_F(NtfsVolumeTest, TheMftMapCoversTheMft) {
  for (const ExpectedVolume& v : volumes_) {
    std::unique_ptr<partition_test::CurrentDisk> disk;
    ASSERT_TRUE(Open(v, &disk));
    ASSERT_EQ(MftMap.size(), 1u) << v.image;
    EXPECT_EQ(MftMap[0].startSector, v.mftFirstSector) << v.image;
    EXPECT_EQ(MftMap[0].sectorCount, v.mftSectors) << v.image;
    EXPECT_EQ(MftMapSectorCount(), v.mftSectors);
    uint32_t sector = 0;
    EXPECT_EQ(MftRecordToSector(0, sector), 1u);
    EXPECT_EQ(sector, MftSector(v));
    EXPECT_EQ(MftRecordToSector(5, sector), 1u);
    EXPECT_EQ(sector, MftSector(v) + 10);
    const auto beyond = static_cast<uint32_t>(MftMapSectorCount() / 2);
    EXPECT_EQ(MftRecordToSector(beyond, sector), 0u) << v.image;
    EXPECT_EQ(sector, 0u);
  }
}

// Name, parent, times and size of every record, from the disk, against fls.
TEST_F(NtfsVolumeTest, RecordsGiveTheNamesParentsTimesAndSizesOfFls) {
  ForEachRecord([](const ExpectedVolume&, const ExpectedEntry& e, uint32_t sector) {
    FileNameInfo name;
    uint32_t found = 0;
    for (uint8_t nameSpace : {kWin32NameSpace, kWin32AndDosNameSpace, kDosNameSpace}) {
      if ((found = ReadFileNameAttribute(sector, name, nameSpace, nullptr, 1)) != 0) break;
    }
    ASSERT_EQ(found, 1u);
    EXPECT_EQ(Utf8(name.name), Utf8(e.name));
    EXPECT_EQ(name.parent, e.parent);
    if (e.created != "-") { EXPECT_EQ(std::to_string(name.creation), e.created); }
    if (e.modified != "-") { EXPECT_EQ(std::to_string(name.modification), e.modified); }
    uint8_t record[ntfs::kMaxMftRecordSize];
    ASSERT_TRUE(ntfs::ReadMftRecord(DevicePathTable[0], sector, record));
    const uint16_t flags = ntfs::RecordFlags(record);
    if (!e.meta) { EXPECT_EQ(flags, (e.folder ? 2 : 0) + (e.deleted ? 0 : 1)); }
    if (e.folder) return;
    uint64_t size = ~uint64_t{0};
    ASSERT_EQ(ReadDataSize(sector, size, nullptr, 1), 1u);
    EXPECT_EQ(size, e.size);
  });
}

// Resident or not, and where the content lies, against istat.
TEST_F(NtfsVolumeTest, DataRunsLieWhereIstatSays) {
  int fragmented = 0, sparse = 0;
  ForEachRecord([&](const ExpectedVolume& v, const ExpectedEntry& e, uint32_t sector) {
    if (e.folder || e.runs == "-") return;
    uint8_t record[ntfs::kMaxMftRecordSize];
    ASSERT_TRUE(ntfs::ReadMftRecord(DevicePathTable[0], sector, record));
    uint32_t offset = 0;
    const uint32_t kind = FindDataAttribute(record, offset);
    ASSERT_NE(kind, kNoDataAttribute);
    if (e.resident != "-") { EXPECT_EQ(kind == kResidentData, e.resident == "1"); }
    if (kind == kResidentData) {
      EXPECT_EQ(e.runs, "");
      return;
    }
    ASSERT_EQ(DecodeDataRuns(1024, record, offset), 1u);
    EXPECT_EQ(SectorRuns(v), e.runs);
    uint64_t clusters = 0;
    bool holes = false;
    for (const DataRun& run : DataRunList) {
      clusters += run.length;
      holes = holes || run.sparse;
    }
    EXPECT_GE(clusters * v.sectorsPerCluster * 512, e.size) << "the runs cover the file";
    fragmented += e.runs.find(',') != std::string::npos;
    sparse += holes;
  });
  EXPECT_EQ(fragmented, 3) << "one fragmented file per volume";
  EXPECT_EQ(sparse, 3) << "one sparse file per volume";
}

TEST_F(NtfsVolumeTest, FoundFileRecordsBecomeEntriesAndFolderCandidates) {
  ForEachRecord([](const ExpectedVolume&, const ExpectedEntry& e, uint32_t sector) {
    NtfsFoundEntryList.Free();
    NtfsFolderCandidateList.Free();
    ASSERT_EQ(ReadFoundFileRecord(sector), 1u);
    if (!e.folder) {
      ASSERT_EQ(NtfsFoundEntryList.size(), 1u);
      const NtfsFoundEntryRecord& found = NtfsFoundEntryList[0];
      EXPECT_EQ(Utf8(found.name), Utf8(e.name));
      EXPECT_EQ(found.id, sector);
      EXPECT_EQ(found.parentId, e.parent);
      EXPECT_EQ(found.size, e.size);
      EXPECT_EQ(found.deleted, e.deleted ? 1u : 0u);
      return;
    }
    ASSERT_EQ(NtfsFolderCandidateList.size(), 1u);
    const NtfsFolderCandidate& folder = NtfsFolderCandidateList[0];
    EXPECT_EQ(Utf8(folder.name), Utf8(e.name));
    EXPECT_EQ(folder.sector, sector);
    EXPECT_EQ(folder.parentId, e.parent);
    EXPECT_EQ(folder.deleted, e.deleted ? 1u : 0u);
    EXPECT_EQ(folder.indexCluster, 0u) << "only the root has an index allocation";
    // Its own number, kept in the record's header, whether its index names it (a folder with entries) or not
    // (an empty folder, a deleted one).
    EXPECT_EQ(folder.mftNumber, e.inode) << Utf8(e.name);
  });
}

TEST_F(NtfsVolumeTest, TheRootIsNumberFiveAndHasItsIndexAllocationWhereIstatSays) {
  for (const ExpectedVolume& v : volumes_) {
    std::unique_ptr<partition_test::CurrentDisk> disk;
    ASSERT_TRUE(Open(v, &disk));
    const ExpectedFolder& root = v.folders.front();
    ASSERT_EQ(root.inode, 5u);
    ASSERT_NE(root.allocationSector, 0u);
    NtfsFolderCandidateList.Free();
    ASSERT_EQ(ReadFoundFileRecord(RecordSector(v, 5)), 1u);
    ASSERT_EQ(NtfsFolderCandidateList.size(), 1u);
    const NtfsFolderCandidate& candidate = NtfsFolderCandidateList[0];
    EXPECT_EQ(candidate.name, u".");
    EXPECT_EQ(candidate.mftNumber, 5u);
    EXPECT_EQ(candidate.deleted, 0u);
    EXPECT_EQ(v.start + uint64_t{candidate.indexCluster} * v.sectorsPerCluster, root.allocationSector) << v.image;
  }
}

// The names an index record holds, with the parent of each.
std::vector<std::pair<std::u16string, uint32_t>> IndexNames(const std::vector<uint8_t>& record) {
  std::vector<std::pair<std::u16string, uint32_t>> out;
  size_t entry = 24 + (record[24] | record[25] << 8 | record[26] << 16);
  while (entry + 16 <= record.size()) {
    const uint32_t length = record[entry + 8] | record[entry + 9] << 8;
    const uint32_t keyLength = record[entry + 10] | record[entry + 11] << 8;
    if ((record[entry + 12] & 2) || length < 16 || entry + length > record.size() || keyLength < 66) break;
    const uint8_t* key = &record[entry + 16];
    std::u16string name;
    for (uint32_t i = 0; i < key[64]; ++i) name.push_back(static_cast<char16_t>(key[66 + 2 * i] | key[67 + 2 * i] << 8));
    out.emplace_back(name, key[0] | key[1] << 8 | key[2] << 16 | static_cast<uint32_t>(key[3]) << 24);
    entry += length;
  }
  return out;
}

TEST_F(NtfsVolumeTest, TheRootsIndexRecordsNameItsChildren) {
  for (const ExpectedVolume& v : volumes_) {
    std::unique_ptr<partition_test::CurrentDisk> disk;
    ASSERT_TRUE(Open(v, &disk));
    const ExpectedFolder& root = v.folders.front();
    FileSystemRecord parameters;
    parameters.sectorsPerIndexRecord = v.indexRecordBytes / 512;
    IndexRecordCandidateList.Free();
    ScanCounters.indexRecordCount = 0;
    ASSERT_EQ(ReadIndexRecord(static_cast<uint32_t>(root.allocationSector), parameters), 1u) << v.image;
    ASSERT_EQ(IndexRecordCandidateList.size(), 1u);
    const IndexRecordCandidate& candidate = IndexRecordCandidateList[0];
    EXPECT_EQ(candidate.sector, root.allocationSector);
    EXPECT_EQ(candidate.owner, 5u);
    EXPECT_EQ(candidate.number, 0u);
    EXPECT_EQ(candidate.sectorCount, v.indexRecordBytes / 512);
    EXPECT_EQ(ScanCounters.indexRecordCount, 1u);

    // Every live child that fls lists under the root is in the root's index records, and every key there
    // names the root as its parent.
    std::set<std::u16string> names;
    const uint32_t perRecord = v.indexRecordBytes / 512;
    for (uint32_t s = 0; s + perRecord <= root.allocationSectors; s += perRecord) {
      std::vector<uint8_t> record(v.indexRecordBytes);
      ASSERT_TRUE(ntfs::ReadSourceSectors(DevicePathTable[0], root.allocationSector + s, perRecord, record.data()));
      if (record[0] != 'I') continue;
      ntfs::IndexRecordHead head;
      ASSERT_TRUE(ntfs::ReadIndexRecordHead(record.data(), v.indexRecordBytes, &head));
      for (const auto& [name, parent] : IndexNames(record)) {
        EXPECT_EQ(parent, 5u) << Utf8(name);
        names.insert(name);
      }
    }
    for (const ExpectedEntry& e : v.entries) {
      if (e.parent == 5 && !e.deleted) { EXPECT_EQ(names.count(e.name), 1u) << v.image << " " << Utf8(e.name); }
    }
  }
}

}  // namespace
