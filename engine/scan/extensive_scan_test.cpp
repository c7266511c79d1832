#include "engine/scan/extensive_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"
#include "engine/records/scan_records.h"
#include "engine/scan/choose_file_system.h"
#include "engine/scan/extensive_test_support.h"
#include "platform/os/os.h"

namespace {

using extensive_test::Bytes;
using extensive_test::Case;
using extensive_test::Found;

// Everything the search gathered and the analysis made of it, to compare runs.
struct Outcome {
  std::vector<uint32_t> boots;
  std::vector<std::tuple<uint32_t, uint32_t, uint32_t, uint16_t>> folders;  // FAT: sector, cluster, parent, mark
  std::vector<std::tuple<uint32_t, uint32_t, uint16_t>> ntfsFolders;        // sector, MFT number, mark
  std::vector<uint32_t> ntfsFiles;
  std::vector<std::tuple<uint32_t, uint32_t>> indexRecords;                 // sector, owner
  std::vector<Found> found;

  bool operator==(const Outcome& o) const {
    return std::tie(boots, folders, ntfsFolders, ntfsFiles, indexRecords, found) ==
           std::tie(o.boots, o.folders, o.ntfsFolders, o.ntfsFiles, o.indexRecords, o.found);
  }
};

class ExtensiveScanTest : public extensive_test::ExtensiveTest {
 protected:
  Outcome Scan(const Case& c, uint32_t sectorsPerRead = 60) {
    extensive_test::OpenedDisk disk(c.ImagePath());
    SetRange(c.code, 0, c.sectors, sectorsPerRead);
    tree.nodes.clear();
    RunWorker();
    return Now();
  }

  Outcome Now() const {
    Outcome o;
    for (const BootSectorCandidate& b : BootSectorCandidateList) o.boots.push_back(b.sector);
    for (const DirSectorCandidate& d : DirSectorCandidateList) o.folders.emplace_back(d.sector, d.cluster, d.parentCluster, d.mark);
    for (const NtfsFolderCandidate& f : NtfsFolderCandidateList) o.ntfsFolders.emplace_back(f.sector, f.mftNumber, f.mark);
    for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) o.ntfsFiles.push_back(e.id);
    for (const IndexRecordCandidate& r : IndexRecordCandidateList) o.indexRecords.emplace_back(r.sector, r.owner);
    o.found = FoundNow();
    return o;
  }

  // The tree holds the top node "File System", expanded, with one item per file system under it.
  void ExpectTree() {
    ASSERT_FALSE(tree.nodes.empty());
    EXPECT_EQ(tree.nodes[0].text, u"File System");
    EXPECT_EQ(tree.nodes[0].parent, host::kNoTreeKey);
    EXPECT_EQ(tree.nodes.size(), FoundFileSystemList.size() + 1);
    for (const FileSystemRecord& fs : FoundFileSystemList) {
      const host::RecordingFileSystemTree::Node* node = tree.Find(fs.id);
      ASSERT_NE(node, nullptr);
      EXPECT_TRUE(node->fileSystem);
      EXPECT_EQ(node->parent, 1u);
    }
    if (!FoundFileSystemList.empty()) {
      EXPECT_TRUE(tree.nodes[0].expanded);
    }
  }

  // Each FAT folder the analysis numbered lies where its file system's geometry places it.
  void ExpectFolderMarksFitTheirGeometry() {
    for (const DirSectorCandidate& d : DirSectorCandidateList) {
      ASSERT_NE(d.mark, 0u) << d.sector;
      if (d.mark == records::kNoFileSystemMark) continue;
      ASSERT_LE(d.mark, FoundFileSystemList.size());
      const FileSystemRecord& fs = FoundFileSystemList[d.mark - 1u];
      EXPECT_EQ(uint64_t{d.sector}, uint64_t{d.cluster} * fs.sectorsPerCluster + fs.clusterBase) << d.sector;
    }
  }
};

// ---- what is found

TEST_F(ExtensiveScanTest, FindsTheFileSystemsTheSleuthKitDescribes) {
  for (const Case& c : extensive_test::ReadCases()) {
    SCOPED_TRACE(c.image + " " + std::to_string(c.code));
    const Outcome got = Scan(c);
    ExpectEnded();
    EXPECT_EQ(got.found, c.found);
    ExpectTree();
    if (c.code != records::kNtfs) ExpectFolderMarksFitTheirGeometry();
    EXPECT_TRUE(messages.shown.empty());
  }
}

// Page 3 shows a FAT volume found with its boot sector where it begins and how far it reaches, as its label and
// Drive Information do (TSK's start and total sectors), not where its cluster 0 would lie.
TEST_F(ExtensiveScanTest, PageThreeShowsWhereAFatVolumeBeginsAndItsSize) {
  uint32_t checked = 0;
  for (const Case& c : extensive_test::ReadCases()) {
    if (c.code == records::kNtfs) continue;
    SCOPED_TRACE(c.image + " " + std::to_string(c.code));
    Scan(c);
    for (const extensive_test::Found& expected : c.found) {
      if (expected.last == 0 || expected.number > FoundFileSystemList.size()) continue;  // no boot sector
      const FileSystemRecord& found = FoundFileSystemList[expected.number - 1];
      const std::string start = expected.label.substr(expected.label.find('@') + 1);
      const FileSystemChoice choice = ChooseFileSystem(found.id, os::FromUtf8(expected.label));
      EXPECT_EQ(choice.values[1], os::FromUtf8(start));
      EXPECT_EQ(choice.values[3], FileSystemSizeText(static_cast<uint32_t>(std::stoul(start)), expected.last));
      EXPECT_EQ(FileSystemFirstSector(CurrentFileSystem), std::stoul(start));
      ++checked;
    }
  }
  EXPECT_GT(checked, 4u);
}

TEST_F(ExtensiveScanTest, RebuiltFileSystemsKeepNoFatPositions) {
  const Case c = extensive_test::FindCase("mixed_noboot.fixed.vhd", records::kFat16);
  Scan(c);
  ASSERT_EQ(FoundFileSystemList.size(), 2u);
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    EXPECT_EQ(fs.firstFatSector, 0u);
    EXPECT_EQ(fs.secondFatSector, 0u);
    EXPECT_EQ(fs.sectorsPerFat, 0u);
    EXPECT_EQ(fs.lastSector, 0u);
  }
  // FAT16 keeps no root position; FAT32's root is cluster 2.
  EXPECT_EQ(FoundFileSystemList[0].rootDirectory, 0u);
  EXPECT_EQ(FoundFileSystemList[1].type, records::kFat32);
  EXPECT_EQ(FoundFileSystemList[1].rootDirectory, 2u);
}

TEST_F(ExtensiveScanTest, NtfsBootSectorsGiveTheVolumesMftAndIndexRecordSize) {
  const Case c = extensive_test::FindCase("mixed.fixed.vhd", records::kNtfs);
  Scan(c);
  ASSERT_EQ(FoundFileSystemList.size(), 1u);
  const FileSystemRecord& fs = FoundFileSystemList[0];
  EXPECT_EQ(fs.sectorsPerCluster, 8u);
  EXPECT_EQ(fs.sectorsPerIndexRecord, 8u);  // the boot sector's 0xF4
  extensive_test::OpenedDisk disk(c.ImagePath());
  uint8_t record[512];
  for (uint32_t at : {fs.mftSector, fs.mftMirrorSector}) {
    ASSERT_EQ(ReadSectors("", at, 0, 1, record), 1u);
    EXPECT_EQ(std::memcmp(record, "FILE", 4), 0) << at;
  }
  // Every folder candidate ends in the one file system: placed by its index record, or joining its neighbour.
  for (const NtfsFolderCandidate& f : NtfsFolderCandidateList) EXPECT_EQ(f.mark, 1u) << f.sector;
}

// ---- the candidates against the tests' own reading of the raw disk

// What the tests' own scan of the raw disk finds: boot sectors, FAT folders, NTFS file records with a name
// (split into folders and files by their flags), and first index records.
struct RawFinds {
  std::vector<uint32_t> boots;
  std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> folders;
  std::set<uint32_t> ntfsFolders, ntfsFiles;
  std::set<uint32_t> indexRecords;
};

// The record at sector (two sectors; the names sit in the first) holds a file-name attribute.
bool HasFileNameAttribute(const uint8_t* record) {
  uint32_t at = LoadLe16(record + 20);
  while (at + 8 <= 512) {
    const uint32_t type = LoadLe32(record + at);
    const uint32_t length = LoadLe32(record + at + 4);
    if (type == 0x30) return true;
    if (type == 0xFFFFFFFF || length == 0) return false;
    at += length;
  }
  return false;
}

RawFinds ScanRaw(const Case& c) {
  RawFinds raw;
  const bool ntfs = c.code == records::kNtfs;
  EXPECT_TRUE(extensive_test::ForEachRawSector(c.RawPath(), [&](uint32_t sector, const uint8_t* s) {
    const bool signed55aa = s[510] == 0x55 && s[511] == 0xAA;
    if (ntfs) {
      if (signed55aa) {
        if (std::memcmp(s + 3, "NTFS", 4) == 0) raw.boots.push_back(sector);
      } else if (std::memcmp(s, "FILE", 4) == 0 && LoadLe16(s + 28) == 1024 && HasFileNameAttribute(s)) {
        const uint16_t flags = LoadLe16(s + 22);
        if (flags <= 1) raw.ntfsFiles.insert(sector);
        if (flags == 2 || flags == 3) raw.ntfsFolders.insert(sector);
      } else if (std::memcmp(s, "INDX", 4) == 0 && LoadLe32(s + 16) == 0) {
        raw.indexRecords.insert(sector);
      }
      return;
    }
    if (signed55aa) {
      if (std::memcmp(s + 85, "32", 2) == 0 || std::memcmp(s + 57, "16", 2) == 0) raw.boots.push_back(sector);
      return;
    }
    if (std::memcmp(s, ". ", 2) != 0 || std::memcmp(s + 32, ".. ", 3) != 0) return;
    const uint32_t cluster = LoadLe16(s + 26) | uint32_t{LoadLe16(s + 20)} << 16;
    const uint32_t parent = LoadLe16(s + 58) | uint32_t{LoadLe16(s + 52)} << 16;
    if (cluster >= 2 && cluster < sector) raw.folders.emplace_back(sector, cluster, parent);
  }));
  return raw;
}

TEST_F(ExtensiveScanTest, CandidatesAreWhatTheRawDiskHolds) {
  for (const auto& [image, code] : std::vector<std::pair<std::string, uint16_t>>{
           {"mixed.fixed.vhd", records::kFat16}, {"mixed.fixed.vhd", records::kNtfs},
           {"mbr_extended.fixed.vhd", records::kFat32}, {"mbr_extended.fixed.vhd", records::kNtfs}}) {
    SCOPED_TRACE(image + " " + std::to_string(code));
    const Case c = extensive_test::FindCase(image, code);
    const RawFinds raw = ScanRaw(c);
    const Outcome got = Scan(c);
    // Each boot sector once, in sector order.
    EXPECT_EQ(got.boots, raw.boots);
    EXPECT_EQ(ExtensiveCounters.bootSectorCount, raw.boots.size());
    if (code != records::kNtfs) {
      std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> folders;
      for (const auto& [sector, cluster, parent, mark] : got.folders) folders.emplace_back(sector, cluster, parent);
      EXPECT_EQ(folders, raw.folders);
      EXPECT_GT(folders.size(), 10u);
      continue;
    }
    std::set<uint32_t> ntfsFolders;
    for (const auto& [sector, number, mark] : got.ntfsFolders) ntfsFolders.insert(sector);
    EXPECT_EQ(ntfsFolders, raw.ntfsFolders);
    EXPECT_EQ(std::set<uint32_t>(got.ntfsFiles.begin(), got.ntfsFiles.end()), raw.ntfsFiles);
    std::set<uint32_t> indexRecords;
    for (const auto& [sector, owner] : got.indexRecords) indexRecords.insert(sector);
    EXPECT_EQ(indexRecords, raw.indexRecords);
    EXPECT_EQ(ScanCounters.indexRecordCount, indexRecords.size());
  }
}

// ---- sectors per read

TEST_F(ExtensiveScanTest, SectorsPerReadDoNotChangeWhatIsFound) {
  for (uint16_t code : {records::kFat16, records::kNtfs}) {
    const Case c = extensive_test::FindCase("mixed_noboot.fixed.vhd", code);
    const Outcome usual = Scan(c, 60);
    ASSERT_FALSE(usual.found.empty());
    // The buffer holds 100 sectors: 0 and 1000 are taken as 1 and 100.
    for (uint32_t perRead : {1u, 7u, 100u, 0u, 1000u}) {
      SCOPED_TRACE(std::to_string(code) + " " + std::to_string(perRead));
      EXPECT_TRUE(Scan(c, perRead) == usual);
    }
  }
}

// A block that cannot be read yields nothing: not the previous block's bytes again at its own sectors. The
// dynamic VHD holds the NTFS volume alone, its backup boot sector in the last sector; reads past its last
// block fail.
// The sectors that cannot be read (past the end of the dynamic disk's table) yield nothing; those of the block the
// disk's end falls inside are examined up to there: its backup boot sector in its last sector is found.
TEST_F(ExtensiveScanTest, ABlockThatCannotBeReadYieldsNoCandidates) {
  extensive_test::OpenedDisk disk(extensive_test::OwnDisk("ntfs_folders.dynamic.vhd"));
  for (uint32_t start : {32768u - 100, 32768u - 50}) {
    for (uint32_t perRead : {100u, 1u}) {
      SetRange(records::kNtfs, start, 300, perRead);
      RunWorker();
      ExpectEnded();
      EXPECT_EQ(Now().boots, std::vector<uint32_t>{32767}) << start << " " << perRead;
    }
  }
}

// ---- stopping and ending

TEST_F(ExtensiveScanTest, AStopDuringTheSearchStillAnalysesWhatWasFound) {
  const Case c = extensive_test::FindCase("mixed.fixed.vhd", records::kFat16);
  // Stop once the search reaches the FAT32 volume at 104448: its boot sector, with its tables where it says, is
  // found without any of its folders.
  panel.onRow = [](host::SecondDisplayRow row, const std::u16string& text) {
    if (row == host::kCurrentSectorRow && std::stoul(os::ToUtf8(text)) >= 104448) ScanThreadControl.stopFlag = 1;
  };
  const Outcome got = Scan(c);
  ExpectEnded();
  EXPECT_EQ(got.found, c.found);
  for (const auto& [sector, cluster, parent, mark] : got.folders) EXPECT_LT(sector, 104448u + 60);
}

TEST_F(ExtensiveScanTest, AStopDuringThePairingOfNtfsFoldersEndsIt) {
  const Case c = extensive_test::FindCase("mixed_noboot.fixed.vhd", records::kNtfs);
  page.onShowStop = [] { ScanThreadControl.stopFlag = 1; };
  const Outcome got = Scan(c);
  ExpectEnded();
  EXPECT_EQ(page.stopShownCount.load(), 1u);
  EXPECT_FALSE(page.stopShown);
  // The first pair was tried with the stop already set: its classification read nothing, and no other pair
  // followed.
  EXPECT_TRUE(got.found.empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ExtensiveScanTest, AnotherFileSystemCodeSearchesNothingAndStillEnds) {
  for (uint16_t code : {uint16_t{0}, uint16_t{400}}) {
    SetRange(code, 0, 1000);
    RunWorker();
    ExpectEnded();
    EXPECT_TRUE(BootSectorCandidateList.empty());
    EXPECT_TRUE(tree.nodes.empty());
    EXPECT_TRUE(panel.progress.empty());
  }
}

TEST_F(ExtensiveScanTest, MoreThanSixtyThousandBootSectorsStopTheSearch) {
  // Sector 0 and every sector after it: a FAT16 mark and 55 AA, nothing else.
  constexpr uint32_t kSectors = 60010;
  Bytes bytes(size_t{kSectors} * 512);
  for (uint32_t s = 0; s < kSectors; ++s) {
    std::memcpy(&bytes[s * 512u + 57], "16", 2);
    bytes[s * 512u + 510] = 0x55;
    bytes[s * 512u + 511] = 0xAA;
  }
  extensive_test::MappedDrive drive(bytes);
  SetRange(records::kFat16, 0, kSectors, 100);
  RunWorker();
  ExpectEnded();
  EXPECT_EQ(BootSectorCandidateList.size(), 60000u);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, u"Too many data structures found");
  EXPECT_EQ(messages.shown[0].kind, host::kError);
  // The analysis ran over them: none has sane fields.
  ASSERT_EQ(tree.nodes.size(), 1u);
  EXPECT_TRUE(FoundFileSystemList.empty());
}

}  // namespace
