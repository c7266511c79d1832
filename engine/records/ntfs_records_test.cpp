#include "engine/records/ntfs_records.h"

#include <gtest/gtest.h>

#include "engine/records/records_test_fixture.h"

namespace {

using NtfsRecords = RecordsTest;

TEST_F(NtfsRecords, FoldersWithTheSameRecordNumberAreKeptOnceOnlyInAnExtensiveScan) {
  struct Case {
    uint32_t mode;
    size_t folders;
  };
  for (const Case& c : {Case{records::kQuickScan, 2}, Case{records::kFileTrace, 2},
                        Case{records::kExtensiveScan, 1}}) {
    SCOPED_TRACE(c.mode);
    Reset();
    RecoveryMode = c.mode;
    NtfsFolderRecord& first = AppendNtfsFolder(u"first", 64, 5, 10, 20, 0, 0);
    NtfsFolderRecord& second = AppendNtfsFolder(u"second", 64, 70, 11, 21, 0, 1);
    EXPECT_EQ(NtfsFolderList.size(), c.folders);
    EXPECT_EQ(ScanCounters.folderCount, c.folders);
    EXPECT_EQ(FindNtfsFolder(64), &first);  // the first one listed
    EXPECT_EQ(first.name, u"first");
    EXPECT_EQ(second.name, c.folders == 2 ? u"second" : u"first");
  }
}

TEST_F(NtfsRecords, FolderFieldsAndLostDir) {
  AppendNtfsFolder(u"Windows", 30, records::kNtfsRootRecord, 0x01D0000000000001, 0x01D0000000000002, 0, 0);
  AppendNtfsFolder(u"Lost Dir", records::kLostDirId, records::kNtfsRootRecord, 0, 0, 0, 0);
  AppendNtfsFolder(u"Dir0", 77, records::kLostDirId, 0, 0, 0, 0);
  const NtfsFolderRecord& windows = NtfsFolderList[0];
  EXPECT_EQ(windows.recordNumber, 30u);
  EXPECT_EQ(windows.parentId, 5u);
  EXPECT_EQ(windows.creationTime, 0x01D0000000000001u);
  EXPECT_EQ(windows.modificationTime, 0x01D0000000000002u);
  EXPECT_EQ(FindNtfsFolder(records::kLostDirId), &NtfsFolderList[1]);
  EXPECT_EQ(FindNtfsFolder(77)->parentId, 0xFFFFFFFEu);
  EXPECT_EQ(FindNtfsFolder(76), nullptr);
}

TEST_F(NtfsRecords, EntryArgumentsLandInTheirFields) {
  // The id comes first among the arguments and the size last.
  const NtfsEntryRecord& entry =
      AppendNtfsEntry(0x12345, u"report.docx", 4711, 30, 111, 222, 1, 0x1'0000'0001u);
  EXPECT_EQ(entry.id, 0x12345u);
  EXPECT_EQ(entry.name, u"report.docx");
  EXPECT_EQ(entry.recordNumber, 4711u);
  EXPECT_EQ(entry.parentId, 30u);
  EXPECT_EQ(entry.creationTime, 111u);
  EXPECT_EQ(entry.modificationTime, 222u);
  EXPECT_EQ(entry.deleted, 1u);
  EXPECT_EQ(entry.size, 0x1'0000'0001u);
  EXPECT_EQ(ScanCounters.entryCount, 0u);  // the caller raises it
  AppendNtfsEntry(0x12347, u"b", 4712, 30, 0, 0, 0, 0);
  EXPECT_EQ(FindNtfsEntry(0x12347), &NtfsEntryList[1]);
  EXPECT_EQ(FindNtfsEntry(0x12346), nullptr);
}

TEST_F(NtfsRecords, FoundEntriesCountAsFileRecords) {
  const NtfsFoundEntryRecord& found =
      AppendNtfsFoundEntry(u"photo.jpg", 81920, 40, 0, 333, 444, 65536, 0, 1);
  AppendNtfsFoundEntry(u"b", 81922, 40, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(ScanCounters.fileRecordCount, 2u);
  EXPECT_EQ(found.id, 81920u);
  EXPECT_EQ(found.parentId, 40u);
  EXPECT_EQ(found.creationTime, 333u);
  EXPECT_EQ(found.modificationTime, 444u);
  EXPECT_EQ(found.size, 65536u);
  EXPECT_EQ(found.fileSystemMark, 0);
  EXPECT_EQ(found.deleted, 1u);
  EXPECT_EQ(FindNtfsFoundEntry(81922), &NtfsFoundEntryList[1]);
  NtfsFoundEntryList.Free();
  EXPECT_EQ(FindNtfsFoundEntry(81922), nullptr);
}

TEST_F(NtfsRecords, CandidatesStartUnassignedAndAreCounted) {
  const NtfsFolderCandidate& folder = AppendNtfsFolderCandidate(u"$Extend", 2000, 5, 11, 1, 2, 345, 0);
  EXPECT_EQ(folder.mark, 0);
  EXPECT_EQ(folder.mftNumber, 11u);
  EXPECT_EQ(folder.indexCluster, 345u);
  EXPECT_EQ(ScanCounters.subfolderCandidateCount, 1u);

  for (uint32_t i = 0; i < 6; ++i) AppendIndexRecordCandidate(3000 + 8 * i, 40 + i, i % 2, 8);
  EXPECT_EQ(ScanCounters.indexRecordCount, 6u);
  EXPECT_EQ(IndexRecordCandidateList[0].mark, records::kNoFileSystemMark);
  EXPECT_EQ(IndexRecordCandidateList[5].sectorCount, 8);
  // Only the first index record of each folder is kept.
  IndexRecordCandidateList.RemoveIf([](const IndexRecordCandidate& c) { return c.number != 0; });
  ASSERT_EQ(IndexRecordCandidateList.size(), 3u);
  EXPECT_EQ(IndexRecordCandidateList[1].owner, 42u);
  EXPECT_EQ(IndexRecordCandidateList[2].sector, 3032u);
}

}  // namespace
