#include "engine/listing/results_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/listing_test_support.h"
#include "platform/os/os.h"

namespace {

using listing_test::ListingTest;
using Lines = std::vector<std::string>;

constexpr uint16_t kSep13 = (40 << 9) | (9 << 5) | 13;  // 13-09-2020
constexpr uint16_t kSep9 = (40 << 9) | (9 << 5) | 9;    // 09-09-2020
// 2020-09-13 12:26:40 UTC and a day later, as file times.
constexpr uint64_t kTime = (1600000000ull + 11644473600ull) * 10000000ull;
constexpr uint64_t kDayLater = kTime + 86400ull * 10000000ull;
constexpr uint64_t kFiveGiB = 5ull << 30;

void AddFatEntry(const std::u16string& name, uint32_t parent, uint32_t size, uint32_t deleted) {
  AppendFatEntry(name, 100 + ScanCounters.entryCount, parent, kSep13, kSep9, size, deleted);
  ++ScanCounters.entryCount;
}

using FatListing = ListingTest;

TEST_F(FatListing, RootListsFoldersThenFilteredFilesWithoutParentRow) {
  AppendFatFolder(u"Documents", 3, 0, kSep13, kSep9, 7, 0);
  AddFatEntry(u"readme.txt", 0, 1234, 0);
  AppendFatFolder(u"Old", 4, 0, kSep9, kSep13, 8, 1);
  AddFatEntry(u"photo.JPG", 0, 99, 1);
  AppendFatFolder(u"Inside", 5, 3, kSep13, kSep9, 9, 0);
  AddFatEntry(u"inner.txt", 3, 5, 0);
  AddFatEntry(u"NOEXT", 0, 0, 0);
  // The folder an Extensive Scan adds has no dates on the volume: it shows none.
  AppendFatFolder(u"Lost Dir", records::kLostDirId, 0, 0, 0, 10, 0);

  ListFatFolder(records::kFatRootId);

  EXPECT_EQ(RowLines(), (Lines{
                         "Documents\tFolder\t0\t13-09-2020 \t09-09-2020 \t7",
                         "Old\tDeleted Folder\t0\t09-09-2020 \t13-09-2020 \t8",
                         "Lost Dir\tFolder\t0\t\t\t10",
                         "readme.txt\tText Document\t1234\t13-09-2020 \t09-09-2020 \t0",
                         "photo.JPG\tDeleted JPEG Image\t99\t13-09-2020 \t09-09-2020 \t1",
                         "NOEXT\tFile\t0\t13-09-2020 \t09-09-2020 \t3",
                     }));
  const int32_t icons[] = {3, 3, 3, 10, 11, 0};
  for (size_t row = 0; row < list.rows.size(); ++row) {
    EXPECT_EQ(list.rows[row].icon, icons[row]) << row;
    EXPECT_FALSE(list.rows[row].checked) << row;
  }
  EXPECT_EQ(list.deleteAllCount, 1u);
  EXPECT_EQ(tree.focusCount, 1u);
}

TEST_F(FatListing, SubfolderStartsWithCheckedParentRow) {
  AppendFatFolder(u"Documents", 3, 0, kSep13, kSep9, 7, 0);
  AddFatEntry(u"inner.txt", 3, 5, 0);
  list.InsertItem(0, u"left over", 0);

  ListFatFolder(3);

  EXPECT_EQ(RowLines(), (Lines{"Parent...\t\t\t\t\t", "inner.txt\tText Document\t5\t13-09-2020 \t09-09-2020 \t0"}));
  EXPECT_EQ(list.rows[0].icon, host::FixedShellFileInfo::kFolderIcon);
  EXPECT_TRUE(list.rows[0].checked);
  EXPECT_FALSE(list.rows[1].checked);
}

TEST_F(FatListing, FolderNoRecordNamesListsOnlyParentRow) {
  AppendFatFolder(u"Documents", 3, 0, kSep13, kSep9, 7, 0);
  ListFatFolder(12345);
  EXPECT_EQ(Column(0), std::vector<std::u16string>{u"Parent..."});
}

TEST_F(FatListing, AnyDeletedFlagMarksAFolderOnlyOneMarksAFile) {
  AppendFatFolder(u"Two", 3, 0, 0, 0, 7, 2);
  AddFatEntry(u"two.txt", 0, 1, 2);
  AddFatEntry(u"one.txt", 0, 1, 1);
  ListFatFolder(records::kFatRootId);
  EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"Deleted Folder", u"Text Document", u"Deleted Text Document"}));
}

TEST_F(FatListing, FiltersKeepEveryFolderAndTheFilesThatMatchARow) {
  AppendFatFolder(u"Sub", 3, 0, 0, 0, 7, 0);
  AppendFatFolder(u"data.bin", 4, 0, 0, 0, 8, 0);  // a folder is never filtered, whatever its name
  for (const char16_t* name : {u"a.txt", u"B.TXT", u"c.Txt", u"d.bin", u"txt", u"e.jpg"}) AddFatEntry(name, 0, 1, 0);

  ASSERT_TRUE(SetFileFilters({u"*.TXT"}));
  ListFatFolder(records::kFatRootId);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"Sub", u"data.bin", u"a.txt", u"B.TXT", u"c.Txt"}));

  // Patterns are compared in upper case too, and any row may match.
  ASSERT_TRUE(SetFileFilters({u"*.jpg", u"*.bin"}));
  ListFatFolder(records::kFatRootId);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"Sub", u"data.bin", u"d.bin", u"e.jpg"}));
}

TEST_F(FatListing, LongNamesAreWrittenWhole) {
  std::u16string name;
  while (name.size() < 600) name += u"Ein sehr langer Name \u00e4\u00f6\u00fc \u03b1\u03b2 \u65e5\u672c ";
  AppendFatFolder(name, 3, 0, 0, 0, 7, 0);
  AddFatEntry(name + u".txt", 0, 1, 0);
  ListFatFolder(records::kFatRootId);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{name, name + u".txt"}));
}

using NtfsListing = ListingTest;

TEST_F(NtfsListing, RootAndSubfolderWithWholeSizes) {
  AppendNtfsFolder(u"Nested", 40, records::kNtfsRootRecord, kTime, kDayLater, 21, 0);
  AppendNtfsFolder(u"Gone", 41, 40, kTime, kTime, 22, 1);
  AppendNtfsEntry(4000, u"Huge.bin", 42, records::kNtfsRootRecord, kTime, kDayLater, 0, kFiveGiB);
  AppendNtfsEntry(4002, u"Four.bin", 43, 40, kTime, kTime, 0, 4ull << 30);
  AppendNtfsEntry(4004, u"old.txt", 44, 40, kTime, kTime, 1, 0xFFFFFFFFull + 2);
  AppendNtfsEntry(4006, u"metadata", 45, records::kNtfsRootRecord, 0, 0x8000000000000000ull, 0, 0);

  ListNtfsFolder(records::kNtfsRootRecord);
  EXPECT_EQ(RowLines(), (Lines{
                         "Nested\tFolder\t0\t13-9-2020 12:26:40\t14-9-2020 12:26:40\t21",
                         "Huge.bin\tBIN File\t5368709120\t13-9-2020 12:26:40\t14-9-2020 12:26:40\t4000",
                         // A time never set (0) and one that cannot be converted show nothing.
                         "metadata\tFile\t0\t\t\t4006",
                     }));
  EXPECT_EQ(tree.focusCount, 1u);

  ListNtfsFolder(40);
  EXPECT_EQ(RowLines(), (Lines{
                         "Parent...\t\t\t\t\t",
                         "Gone\tDeleted Folder\t0\t13-9-2020 12:26:40\t13-9-2020 12:26:40\t22",
                         "Four.bin\tBIN File\t4294967296\t13-9-2020 12:26:40\t13-9-2020 12:26:40\t4002",
                         "old.txt\tDeleted Text Document\t4294967297\t13-9-2020 12:26:40\t13-9-2020 12:26:40\t4004",
                     }));
  for (const host::RecordingResultList::Row& row : list.rows) EXPECT_FALSE(row.checked);
}

TEST_F(NtfsListing, FileSystemOfAnExtensiveScanGoesToItsOwnLister) {
  static std::vector<uint32_t> listed;
  listed.clear();
  AppendNtfsEntry(4000, u"quick.txt", 42, records::kNtfsRootRecord, kTime, kTime, 0, 1);
  list.InsertItem(0, u"left over", 0);
  RecoveryMode = records::kExtensiveScan;
  CurrentFileSystem.type = records::kNtfs;

  NtfsFoundFolderLister = [](uint32_t folderId) { listed.push_back(folderId); };
  ListNtfsFolder(77);
  NtfsFoundFolderLister = nullptr;
  EXPECT_EQ(listed, std::vector<uint32_t>{77});
  EXPECT_EQ(list.GetItemCount(), 0u);

  ListNtfsFolder(records::kNtfsRootRecord);  // nobody lists it: the list stays empty
  EXPECT_EQ(list.GetItemCount(), 0u);

  // Another file system chosen after an Extensive Scan is listed from the Quick Scan lists.
  CurrentFileSystem.type = records::kFat32;
  ListNtfsFolder(records::kNtfsRootRecord);
  EXPECT_EQ(Column(0), std::vector<std::u16string>{u"quick.txt"});
}

TEST_F(NtfsListing, NobodyListeningIsNoFault) {
  host::ScopedHosts none{host::Hosts{}};
  AppendNtfsEntry(4000, u"a.txt", 42, records::kNtfsRootRecord, kTime, kTime, 0, 1);
  AppendFatEntry(u"b.txt", 5, 0, 0, 0, 1, 0);
  AppendFileTraceHit(u"1.doc", u".doc", u"Documents", 1, 100);
  ListNtfsFolder(records::kNtfsRootRecord);
  ListFatFolder(7);
  ListFileTraceFolder(u"Root", 0);
  ListFileTraceGroups();
  EXPECT_EQ(list.GetItemCount(), 0u);
}

using FileTraceListing = ListingTest;

TEST_F(FileTraceListing, RootListsGroupsInOrderCaseSensitiveGroupsListIgnoringCase) {
  AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics Files", 1, 100);
  AppendFileTraceHit(u"2.jpg", u".jpg", u"graphics files", 2, 200);
  AppendFileTraceHit(u"3.doc", u".doc", u"Document Files", 3, 300);
  AppendFileTraceHit(u"4.png", u".png", u"Graphics Files", 4, 400);

  ListFileTraceFolder(u"Root", 0);
  EXPECT_EQ(RowLines(3), (Lines{"Graphics Files\t-\t-", "graphics files\t-\t-", "Document Files\t-\t-"}));
  for (const host::RecordingResultList::Row& row : list.rows) EXPECT_EQ(row.icon, host::FixedShellFileInfo::kFolderIcon);
  EXPECT_EQ(tree.focusCount, 1u);

  ListFileTraceFolder(u"rOOT", 0);
  EXPECT_EQ(list.GetItemCount(), 3u);

  ListFileTraceGroups();
  EXPECT_EQ(RowLines(3), (Lines{"Graphics Files\t-\t-", "Document Files\t-\t-"}));
  EXPECT_EQ(tree.focusCount, 2u);  // the group listing leaves the focus where it is
}

TEST_F(FileTraceListing, GroupsAreTrimmedUnderRootAndByGroup) {
  AppendFileTraceHit(u"1.doc", u".doc", u"Document Files", 1, 100);
  AppendFileTraceHit(u"2.doc", u".doc", u" Document Files\t", 2, 200);
  AppendFileTraceHit(u"3.doc", u".doc", u"document files", 3, 300);

  ListFileTraceFolder(u"Root", 0);
  EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"Document Files", u"document files"}));

  ListFileTraceFolder(u"Document Files", 1);
  EXPECT_EQ(RowLines(3), (Lines{"1.doc\tDOC File\t1", "2.doc\tDOC File\t2"}));
}

TEST_F(FileTraceListing, TypesMatchTheirExtensionIgnoringCaseAndPassTheFilters) {
  AppendFileTraceHit(u"1.doc", u".doc", u"Document Files", 1, 100);
  AppendFileTraceHit(u"2.jpg", u".jpg", u"Graphics Files", 2, 200);
  AppendFileTraceHit(u"3.DOC", u".DOC", u"Document Files", 3, 300);
  AppendFileTraceHit(u"40.txt", u".txt", u"Document Files", 40, 400);

  ListFileTraceFolder(u".Doc", 0);
  EXPECT_EQ(RowLines(3), (Lines{"1.doc\tDOC File\t1", "3.DOC\tDOC File\t3"}));
  EXPECT_EQ(list.rows[0].icon, host::FixedShellFileInfo::kPlainFileIcon);

  ASSERT_TRUE(SetFileFilters({u"*.TXT"}));
  ListFileTraceFolder(u".doc", 0);
  EXPECT_EQ(list.GetItemCount(), 0u);
  ListFileTraceFolder(u"Document Files", 1);
  EXPECT_EQ(RowLines(3), Lines{"40.txt\tText Document\t40"});
  // Filters never hide group rows.
  ListFileTraceFolder(u"Root", 0);
  EXPECT_EQ(list.GetItemCount(), 2u);
}

// The shell as the fixed table answers, counting what it is asked.
class CountingShell : public host::FixedShellFileInfo {
 public:
  int32_t GetFolderIconIndex(bool small) override {
    ++asked;
    return FixedShellFileInfo::GetFolderIconIndex(small);
  }
  int32_t GetIconIndex(const std::u16string& name, bool small) override {
    ++asked;
    return FixedShellFileInfo::GetIconIndex(name, small);
  }
  std::u16string GetFileTypeName(const std::u16string& name) override {
    ++asked;
    return FixedShellFileInfo::GetFileTypeName(name);
  }
  uint32_t asked = 0;
};

// A listing of many rows is drawn once: every row goes in while the list is held, and the list is let go
// at its end. The shell is asked of each type once a listing, not of each row, and every row still shows
// what the shell says of its own name: the type names and icons of the fixed table, written out here.
TEST_F(FatListing, ManyRowsAreAddedHeldAndTheShellIsAskedOncePerType) {
  const std::u16string names[] = {u"a.txt", u"B.TXT", u"c.Jpg", u"noext", u"d.b c", u"e.B C", u"f.x.Jpg"};
  const char* types[] = {"Text Document", "Text Document", "JPEG Image", "File", "B C File", "B C File", "JPEG Image"};
  const int32_t icons[] = {10, 10, 11, 0, 0, 0, 11};
  constexpr uint32_t kFolders = 50, kFiles = 3500;
  for (uint32_t i = 0; i < kFolders; ++i) AppendFatFolder(u"F" + os::Decimal(i), 3 + i, 0, kSep13, kSep9, 7 + i, 0);
  for (uint32_t i = 0; i < kFiles; ++i) AddFatEntry(names[i % 7], 0, i, 0);
  CountingShell counting;
  host::Hosts withCounting = hosts;
  withCounting.shellFileInfo = &counting;
  host::ScopedHosts installed(withCounting);

  ListFatFolder(records::kFatRootId);
  ASSERT_EQ(list.rows.size(), kFolders + kFiles);
  EXPECT_EQ(list.rowsInsertedUnheld, 0u);
  EXPECT_EQ(list.openRows, 0);
  for (uint32_t i = 0; i < kFiles; ++i) {
    const host::RecordingResultList::Row& row = list.rows[kFolders + i];
    ASSERT_EQ(os::ToUtf8(row.texts.at(1)), types[i % 7]) << i;
    ASSERT_EQ(row.icon, icons[i % 7]) << i;
  }
  // The folder icon, and an icon and a type name for each of ".txt", ".jpg", none and ".b c".
  EXPECT_EQ(counting.asked, 1u + 2u * 4u);

  // Every lister holds the list; and the next listing asks again.
  ListNtfsFolder(records::kNtfsRootRecord);
  AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics Files", 1, 100);
  ListFileTraceFolder(u"Root", 0);
  ListFileTraceFolder(u".jpg", 0);
  ListFileTraceGroups();
  ListFatFolder(3);
  EXPECT_EQ(list.rowsInsertedUnheld, 0u);
  EXPECT_EQ(list.openRows, 0);
}

}  // namespace
