// The analysis over candidates made by hand: geometries from pairs of FAT folders, MFT numbers from index
// entries (bounded by their records), the classification of NTFS folders, and the NTFS steps' ending.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/records/extensive_candidates.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/scan_records.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/extensive_test_support.h"
#include "platform/os/os.h"

namespace {

using extensive_test::Bytes;
using extensive_test::PutLe16;
using extensive_test::PutLe32;

constexpr uint16_t kNone = records::kNoFileSystemMark;

class ExtensiveAnalysisTest : public extensive_test::ExtensiveTest {};

// ---- FAT without boot sectors

struct Folder {
  uint32_t sector;
  uint32_t cluster;
};
struct Rebuilt {
  uint16_t type;
  uint32_t sectorsPerCluster;
  uint32_t clusterBase;
};
struct PairCase {
  const char* what;
  uint16_t code;
  std::vector<Folder> folders;
  std::vector<uint16_t> marks;
  std::vector<Rebuilt> found;
  std::vector<FatTableStartCandidate> tables = {};  // sectors the search found beginning like a table
};

// Sectors that begin a table copy as the search finds them: FAT16's (F8 FF FF FF 00 ...), FAT32's (F8 FF FF 0F), or
// either (F8 FF FF FF FF FF FF FF: a camera's FAT32, or a FAT16 whose clusters 2 and 3 end chains).
FatTableStartCandidate Fat16Start(uint32_t sector) { return {sector, true, false}; }
FatTableStartCandidate Fat32Start(uint32_t sector) { return {sector, false, true}; }
FatTableStartCandidate EitherStart(uint32_t sector) { return {sector, true, true}; }

TEST_F(ExtensiveAnalysisTest, FatFileSystemsRebuiltFromPairsOfFolders) {
  const PairCase cases[] = {
      {"two folders, 8 sectors a cluster", 100, {{1000, 10}, {1016, 12}}, {1, 1}, {{100, 8, 920}}},
      {"a distance of 12 sectors a cluster", 100, {{1000, 10}, {1024, 12}}, {kNone, kNone}, {}},
      {"256 sectors a cluster", 100, {{3000, 10}, {3256, 11}}, {kNone, kNone}, {}},
      {"a cluster not below its sector", 100, {{10, 10}, {26, 12}}, {kNone, kNone}, {}},
      {"FAT32 chosen", 200, {{1000, 10}, {1016, 12}}, {1, 1}, {{200, 8, 920}}},
      {"a cluster above 65535", 100, {{80000, 70000}, {80001, 70001}}, {1, 1}, {{200, 1, 10000}}},
      {"the first partner in the list", 100, {{1000, 10}, {1008, 11}, {1002, 11}}, {1, 1, kNone}, {{100, 8, 920}}},
      {"every folder the geometry places", 100, {{1000, 10}, {1002, 11}, {1016, 17}, {1040, 30}, {2000, 3}},
       {1, 1, kNone, 1, kNone}, {{100, 2, 980}}},
      {"two volumes numbered in turn", 100, {{1000, 10}, {1016, 12}, {5000, 10}, {5004, 12}}, {1, 1, 2, 2},
       {{100, 8, 920}, {100, 2, 4980}}},
      // The data area begins at 936; the nearest table start before it tells the kind, whatever was searched.
      {"FAT32 tables, FAT16 searched", 100, {{1000, 10}, {1016, 12}}, {1, 1}, {{200, 8, 920}},
       {Fat32Start(136), Fat32Start(536)}},
      {"FAT16 tables, FAT32 searched", 200, {{1000, 10}, {1016, 12}}, {1, 1}, {{100, 8, 920}},
       {Fat16Start(704), Fat16Start(804)}},
      {"a camera's FAT32 tables, the copies ending at the data", 100, {{1000, 10}, {1016, 12}}, {1, 1},
       {{200, 8, 920}}, {EitherStart(136), EitherStart(536)}},
      {"a FAT16 whose clusters 2 and 3 end chains, a root between its copies and the data", 200,
       {{1000, 10}, {1016, 12}}, {1, 1}, {{100, 8, 920}}, {EitherStart(704), EitherStart(804)}},
      {"a lone sector of either kind: the kind searched", 100, {{1000, 10}, {1016, 12}}, {1, 1}, {{100, 8, 920}},
       {EitherStart(804)}},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.what);
    ResetScanState();
    tree.nodes.clear();
    ScanRange.fileSystemCode = c.code;
    for (const Folder& f : c.folders) AppendDirSectorCandidate(f.sector, f.cluster, 2, 0, 0);
    for (const FatTableStartCandidate& t : c.tables) FatTableStartList.Append(t);
    AnalyzeFoundFat();
    std::vector<uint16_t> marks;
    for (const DirSectorCandidate& d : DirSectorCandidateList) marks.push_back(d.mark);
    EXPECT_EQ(marks, c.marks);
    ASSERT_EQ(FoundFileSystemList.size(), c.found.size());
    for (size_t i = 0; i < c.found.size(); ++i) {
      const FileSystemRecord& fs = FoundFileSystemList[i];
      EXPECT_EQ(fs.type, c.found[i].type);
      EXPECT_EQ(fs.sectorsPerCluster, c.found[i].sectorsPerCluster);
      EXPECT_EQ(fs.clusterBase, c.found[i].clusterBase);
      EXPECT_EQ(fs.lastSector, 0u);
      const std::u16string label =
          (fs.type == records::kFat32 ? u"FAT32 @" : u"FAT16 @") + os::FromAscii(std::to_string(fs.clusterBase));
      EXPECT_EQ(tree.Find(fs.id)->text, label);
    }
    EXPECT_EQ(ExtensiveCounters.assignedCount, c.folders.size());
    EXPECT_EQ(BootSectorPassDone.load(), 1u);
    EXPECT_EQ(WithoutBootPassDone.load(), 1u);
    for (uint32_t position : panel.progress) EXPECT_LE(position, 99u);
  }
}

// ---- MFT numbers from index entries

constexpr uint32_t kCreationHigh = 0x01D68A3C;

// An index entry of a folder (or file) named name with parent 5; returns the next entry's offset.
size_t PutEntry(Bytes& record, size_t at, uint32_t reference, const std::u16string& name, bool folder,
                uint16_t length, uint8_t nameLength) {
  PutLe32(record, at, reference);
  PutLe16(record, at + 8, length);
  PutLe32(record, at + 16, 5);
  PutLe32(record, at + 28, kCreationHigh);
  PutLe16(record, at + 74, folder ? 0x1000 : 0);
  record[at + 80] = nameLength;
  for (size_t c = 0; c < name.size() && at + 83 + 2 * c < record.size(); ++c) PutLe16(record, at + 82 + 2 * c, name[c]);
  return at + length;
}

// An index record of 8 sectors at sector whose entries start at byte 64.
void PutIndexRecord(Bytes& drive, uint32_t sector, uint32_t firstEntry = 40) {
  const size_t at = size_t{sector} * 512;
  std::memcpy(&drive[at], "INDX", 4);
  PutLe32(drive, at + 24, firstEntry);
}

TEST_F(ExtensiveAnalysisTest, MftNumbersComeFromIndexEntriesThatFitTheirRecord) {
  Bytes drive(64 * 512);
  PutIndexRecord(drive, 8);
  Bytes record(drive.begin() + 8 * 512, drive.begin() + 16 * 512);
  size_t at = PutEntry(record, 64, 64, u"Docs", true, 96, 4);
  at = PutEntry(record, at, 70, u"Long", true, 88, 200);     // its name would run past the entry
  at = PutEntry(record, at, 500, u"Plain", false, 96, 5);    // not a folder
  PutEntry(record, 4096 - 96, 80, u"Edge", true, 0xFFFF, 4);  // its length runs past the record
  std::copy(record.begin(), record.end(), drive.begin() + 8 * 512);
  PutIndexRecord(drive, 16, 0xFFFFFFF0);                      // its first entry lies past the record
  PutIndexRecord(drive, 60);                                  // runs past the drive's end
  extensive_test::MappedDrive mapped(drive);

  const uint64_t created = uint64_t{kCreationHigh} << 32 | 123;
  for (const auto& [name, sector] : std::vector<std::pair<std::u16string, uint32_t>>{
           {u"First", 90}, {u"Docs", 100}, {u"Long", 104}, {u"Odd", 107}, {u"Plain", 109}, {u"Edge", 113}}) {
    AppendNtfsFolderCandidate(name, sector, 5, 0, created, 0, 0, 0);
  }
  for (uint32_t sector : {8u, 16u, 24u, 60u}) AppendIndexRecordCandidate(sector, 5, 0, 8);
  AssignMftNumbers();
  std::vector<uint32_t> numbers;
  for (const NtfsFolderCandidate& f : NtfsFolderCandidateList) numbers.push_back(f.mftNumber);
  // First: 1 + 1 (no candidate before); Docs: its entry; then on from the candidate before, two sectors a
  // record, or one more when the distance is odd.
  EXPECT_EQ(numbers, (std::vector<uint32_t>{2, 64, 66, 67, 68, 70}));
  EXPECT_EQ(panel.statusTexts.back(), u"Assigning MFT numbers ( Step 2/2 )...");
}

// A folder deleted and made again under its name, in the same folder and minutes: both candidates have the key
// of the live one's index entry. The deleted one's record gave its number; the entry names the other.
TEST_F(ExtensiveAnalysisTest, IndexEntriesNumberOnlyFoldersWhoseRecordsDoNot) {
  Bytes drive(16 * 512);
  PutIndexRecord(drive, 8);
  Bytes record(drive.begin() + 8 * 512, drive.begin() + 16 * 512);
  PutEntry(record, 64, 80, u"Docs", true, 96, 4);
  std::copy(record.begin(), record.end(), drive.begin() + 8 * 512);
  extensive_test::MappedDrive mapped(drive);
  const uint64_t created = uint64_t{kCreationHigh} << 32;
  AppendNtfsFolderCandidate(u"Docs", 100, 5, 64, created, 0, 0, 1);  // deleted, its number from its record
  AppendNtfsFolderCandidate(u"Docs", 140, 5, 0, created, 0, 0, 0);
  AppendIndexRecordCandidate(8, 5, 0, 8);
  AssignMftNumbers();
  EXPECT_EQ(NtfsFolderCandidateList[0].mftNumber, 64u);
  EXPECT_EQ(NtfsFolderCandidateList[1].mftNumber, 80u);
}

TEST_F(ExtensiveAnalysisTest, OnlyTheFirstIndexRecordOfEachFolderStays) {
  for (uint32_t number : {0u, 1u, 0u, 5u}) AppendIndexRecordCandidate(100 + number, 64, number, 8);
  DeleteUnusedIndexRecords();
  ASSERT_EQ(IndexRecordCandidateList.size(), 2u);
  for (const IndexRecordCandidate& r : IndexRecordCandidateList) EXPECT_EQ(r.number, 0u);
  EXPECT_EQ(ScanCounters.indexRecordCount, 2u);
}

// ---- classification of NTFS folders

TEST_F(ExtensiveAnalysisTest, FoldersAreClassifiedByTheIndexRecordTheirClusterPointsAt) {
  Bytes drive(200 * 512);
  for (uint32_t sector : {20u, 60u}) std::memcpy(&drive[sector * 512u], "INDX", 4);
  extensive_test::MappedDrive mapped(drive);
  struct {
    uint32_t sector;
    uint32_t indexCluster;
    uint16_t mark;
    uint16_t expected;
  } folders[] = {
      {10, 5, 0, 0},    // at the cluster base: before the file system
      {12, 5, 0, 1},    // cluster 5 at 10 + 5 x 2 = 20: an index record
      {14, 6, 0, 0},    // sector 22: none
      {16, 0, 0, 0},    // no index allocation
      {18, 5, 7, 7},    // already numbered
      {150, 25, 0, 0},  // beyond the last sector: the walk ends here
      {160, 5, 0, 0},
  };
  for (const auto& f : folders) AppendNtfsFolderCandidate(u"f", f.sector, 5, 64, 0, 0, f.indexCluster, 0).mark = f.mark;
  EXPECT_EQ(ClassifyIndexFolders(10, 2, 100, 1), 1u);
  for (size_t i = 0; i < std::size(folders); ++i) EXPECT_EQ(NtfsFolderCandidateList[i].mark, folders[i].expected) << i;
  EXPECT_EQ(panel.statusTexts.back(), u"Analyzing Classification ( Step 1/2 ) - 1 \\ 7");

  // A stop ends the walk before it reads anything.
  NtfsFolderCandidateList[1].mark = 0;
  ScanThreadControl.stopFlag = 1;
  EXPECT_EQ(ClassifyIndexFolders(10, 2, 100, 2), 0u);
  EXPECT_EQ(NtfsFolderCandidateList[1].mark, 0u);
}

// Two volumes of one cluster size and layout: under the first one's geometry the second one's folders point at
// the first one's index records, which its own folders have claimed.
TEST_F(ExtensiveAnalysisTest, AnIndexRecordBelongsToTheFirstFolderThatClaimsIt) {
  Bytes drive(200 * 512);
  for (uint32_t sector : {20u, 24u}) std::memcpy(&drive[sector * 512u], "INDX", 4);
  extensive_test::MappedDrive mapped(drive);
  AppendIndexRecordCandidate(20, 64, 0, 8);
  AppendIndexRecordCandidate(24, 65, 0, 8).mark = 7;  // another file system's
  for (uint32_t sector : {12u, 14u, 16u}) AppendNtfsFolderCandidate(u"f", sector, 5, 64, 0, 0, 5, 0);
  AppendNtfsFolderCandidate(u"g", 18, 5, 65, 0, 0, 7, 0);
  EXPECT_EQ(ClassifyIndexFolders(10, 2, 100, 1), 1u);
  std::vector<uint16_t> marks;
  for (const NtfsFolderCandidate& f : NtfsFolderCandidateList) marks.push_back(f.mark);
  EXPECT_EQ(marks, (std::vector<uint16_t>{1, 0, 0, 0}));
  EXPECT_EQ(IndexRecordCandidateList[0].mark, 1u);
}

TEST_F(ExtensiveAnalysisTest, NtfsFoldersNoGeometryPlacesJoinTheOneBefore) {
  for (uint16_t mark : {0, 2, 0, 0}) AppendNtfsFolderCandidate(u"f", 100, 5, 64, 0, 0, 0, 0).mark = mark;
  ScanThreadControl.stopFlag = 1;  // a stop during the search: the steps carry on
  AnalyzeNtfsSteps();
  std::vector<uint16_t> marks;
  for (const NtfsFolderCandidate& f : NtfsFolderCandidateList) marks.push_back(f.mark);
  EXPECT_EQ(marks, (std::vector<uint16_t>{1, 2, 2, 2}));
  ExpectEnded();
  EXPECT_EQ(page.stopShownCount.load(), 1u);
  EXPECT_FALSE(page.stopShown);
  EXPECT_EQ(panel.statusTexts.back(), u"Searching for unassigned entries...");
  ASSERT_EQ(tree.nodes.size(), 1u);
  EXPECT_EQ(tree.nodes[0].text, u"File System");
}

}  // namespace
