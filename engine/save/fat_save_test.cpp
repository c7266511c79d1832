// Saving FAT files and folders from a small volume put together sector by sector: the policies, the
// filters, chains, names that must not leave the chosen folder, failed reads and writes, stop and skip.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iterator>
#include <optional>

#include "engine/image/source_values.h"
#include "engine/records/fat_records.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

// 2019-07-04 as a FAT date word.
constexpr uint16_t kJuly4th2019 = ((2019 - 1980) << 9) | (7 << 5) | 4;

uint32_t AddFatFile(const std::u16string& name, uint32_t cluster, uint32_t parent, uint32_t size, uint32_t deleted = 0,
                    uint16_t date = kJuly4th2019) {
  const FatEntryRecord& entry = AppendFatEntry(name, cluster, parent, date, date, size, deleted);
  ++ScanCounters.entryCount;
  return entry.id;
}

// A folder record with its node under parentNode.
host::TreeKey AddFatFolder(host::RecordingResultTree& tree, const std::u16string& name, uint32_t cluster,
                           uint32_t parent, host::TreeKey parentNode) {
  const host::TreeKey node = tree.AddItem(name, parentNode, host::TreeImage::kFolder, false);
  AppendFatFolder(name, cluster, parent, 0, 0, node, 0).treeKey = node;
  return node;
}

class FatSaveTest : public SaveTest {
 protected:
  // The volume with files a (3 clusters, chained 5, 9, 7) and b (1 cluster at 12), mounted.
  void MountTwoFiles() {
    volume.PutChained({5, 9, 7}, a);
    volume.PutChained({12}, b);
    mounted = volume.Mount();
  }
  uint32_t SaveA(const std::u16string& name = u"a.txt", uint32_t deleted = 0) {
    return SaveFatItems(out, 1, 5, static_cast<uint32_t>(a.size()), name, deleted);
  }

  FatVolume volume;
  const Bytes a = Pattern(2 * 2048 + 700, 1);
  const Bytes b = Pattern(1000, 2);
  std::unique_ptr<MountedBytes> mounted;
};

TEST_F(FatSaveTest, RenamesADuplicateAsCopyNOfItsName) {
  MountTwoFiles();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(FolderNames(out), (std::vector<std::u16string>{u"Copy (1 ) of a.txt", u"Copy (2 ) of a.txt", u"a.txt"}));
  for (const auto& name : FolderNames(out)) EXPECT_EQ(ReadAll(Out(name)), a);
  EXPECT_EQ(dialog.fileNames, (std::vector<std::u16string>{u"a.txt", u"Copy (1 ) of a.txt", u"Copy (2 ) of a.txt"}));
  EXPECT_EQ(dialog.paths.back(), Out(u"Copy (2 ) of a.txt"));
  EXPECT_EQ(dialog.totalFiles, u"3");
  EXPECT_EQ(SavedFileCount, 3u);
  EXPECT_EQ(SaveTally.saved, 3u);
}

TEST_F(FatSaveTest, OverwritesOrSkipsADuplicateAsTheSettingsSay) {
  MountTwoFiles();
  const Bytes older = Pattern(9000, 9);  // longer than a: what is overwritten must not keep its tail
  ASSERT_TRUE(WriteAll(Out(u"a.txt"), older));
  RecoverySettings.duplicatePolicy = 3;
  EXPECT_EQ(SaveA(), 0u);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), older);
  EXPECT_EQ(SavedFileCount, 0u);
  RecoverySettings.duplicatePolicy = 2;
  EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), a);
  EXPECT_EQ(FolderNames(out), std::vector<std::u16string>{u"a.txt"});
}

// Under Overwrite the file from before the save stays until the new one is whole: the new one is written beside it
// under a name of its own (never one that is there: a user's ~dorvane-1.partial is left as it was) and takes its
// place only then. Skip File, Stop and a disk that fills leave the old file as it was, and nothing beside it.
TEST_F(FatSaveTest, UnderOverwriteTheOldFileStaysUntilTheNewOneIsWhole) {
  MountTwoFiles();
  const Bytes older = Pattern(9000, 9), users = Text("a file of the user's");
  ASSERT_TRUE(WriteAll(Out(u"~dorvane-1.partial"), users));
  const std::vector<std::u16string> names{u"a.txt", u"~dorvane-1.partial"};
  struct WayOut {
    const char* what;
    std::function<void(uint32_t)> onProgress;
    bool fills;
  };
  const WayOut ways[] = {
      {"Skip File", [](uint32_t position) { if (position > 0) SkipCurrentFileFlag = 1; }, false},
      {"Stop", [](uint32_t position) { if (position > 0) SaveAbortFlag = 1; }, false},
#ifndef _WIN32
      {"the disk fills", nullptr, true},
#endif
  };
  RecoverySettings.duplicatePolicy = 2;
  messages.answer = 1;
  for (const WayOut& way : ways) {
    SCOPED_TRACE(way.what);
    ASSERT_TRUE(WriteAll(Out(u"a.txt"), older));
    BeginSave();
    dialog.onProgress = way.onProgress;
    {
#ifndef _WIN32
      std::optional<FullDiskPast> fills;
      if (way.fills) fills.emplace(3000);
#endif
      EXPECT_EQ(SaveA(), 0u);
    }
    EXPECT_EQ(ReadAll(Out(u"a.txt")), older);
    EXPECT_EQ(FolderNames(out), names);
    EXPECT_EQ(SaveTally.saved, 0u);
    EXPECT_EQ(dialog.paths.back(), Out(u"a.txt"));
  }
#ifndef _WIN32
  EXPECT_EQ(Questions(), std::vector<std::u16string>{u"Error writing file : " + Out(u"a.txt") + u".  Continue Recovery ? "});
#endif
  // Written whole, it replaces the old file; and as this save's own file it is never overwritten by the save.
  BeginSave();
  dialog.onProgress = nullptr;
  EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), a);
  EXPECT_EQ(ReadAll(Out(u"~dorvane-1.partial")), users);
  EXPECT_EQ(FolderNames(out), names);
  EXPECT_EQ(SaveFatItems(out, 1, 12, static_cast<uint32_t>(b.size()), u"a.txt", 0), 1u);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), a);
  EXPECT_EQ(ReadAll(Out(u"Copy (1 ) of a.txt")), b);
  EXPECT_EQ(SaveTally.saved, 2u);
}

TEST_F(FatSaveTest, DeletedFilePolicies) {
  MountTwoFiles();
  struct Case {
    uint16_t policy;
    bool live, deleted;
  };
  for (const Case& c : {Case{1, true, true}, Case{2, false, true}, Case{3, true, false}}) {
    ScratchFolder folder;
    BeginSave();
    RecoverySettings.deletedPolicy = c.policy;
    EXPECT_EQ(SaveFatItems(folder.path(), 1, 5, 100, u"live.txt", 0), c.live ? 1u : 0u) << c.policy;
    EXPECT_EQ(SaveFatItems(folder.path(), 1, 12, 100, u"xEAD.TXT", 1), c.deleted ? 1u : 0u) << c.policy;
    EXPECT_EQ(SavedFileCount, (c.live ? 1u : 0u) + (c.deleted ? 1u : 0u)) << c.policy;
  }
  // The preview's copy (userSave 0) knows no policy.
  RecoverySettings.deletedPolicy = 3;
  EXPECT_EQ(SaveFatItems(out, 0, 12, 100, u"xEAD.TXT", 1), 1u);
}

TEST_F(FatSaveTest, FiltersSaveMatchingNamesOnlyWhileFoldersAreStillMade) {
  volume.PutChained({5}, a);
  mounted = volume.Mount();
  ASSERT_TRUE(SetFileFilters({u"*.JPG"}));
  const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey photos = AddFatFolder(tree, u"Photos", 20, 0, top);
  AddFatFolder(tree, u"Empty", 21, 20, photos);
  AddFatFile(u"beach.jpg", 5, 20, 100);
  AddFatFile(u"SUNSET.JPG", 5, 20, 100);
  AddFatFile(u"notes.txt", 5, 20, 100);
  AddFatFile(u"jpg.txt", 5, 20, 100);
  SaveFatFolder(photos, 20, out, u"Photos");
  EXPECT_EQ(FolderNames(Out(u"Photos")), (std::vector<std::u16string>{u"Empty", u"SUNSET.JPG", u"beach.jpg"}));
  EXPECT_TRUE(FolderNames(Out(u"Photos\\Empty")).empty());
  // "Total Files" and the bar count what the save writes: the two pictures, though the texts come last.
  ScratchFolder again;
  BeginSave();
  list.saveFolderSet = {photos};
  SaveDestination = again.path();
  SaveSelected();
  EXPECT_EQ(dialog.totalFiles, u"2 of 2");
  EXPECT_EQ(dialog.positions.back(), 100u);
}

TEST_F(FatSaveTest, FollowsEitherTableOrTakesContiguousClusters) {
  const Bytes second = Pattern(3 * 2048, 3);
  volume.PutChained({20, 30, 25}, second, 2);  // only the second table has the chain
  const Bytes contiguous = Pattern(2 * 2048 + 1, 4);
  volume.Put(40, contiguous);                  // no chain at all: a deleted file
  MountTwoFiles();
  EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(SaveFatItems(out, 1, 20, static_cast<uint32_t>(second.size()), u"second.bin", 0), 1u);
  EXPECT_EQ(SaveFatItems(out, 1, 40, static_cast<uint32_t>(contiguous.size()), u"xELETED.BIN", 1), 1u);
  // A chain longer than the size says is not the file's: the clusters are taken as contiguous.
  EXPECT_EQ(SaveFatItems(out, 1, 5, 2048, u"short.bin", 0), 1u);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), a);
  EXPECT_EQ(ReadAll(Out(u"second.bin")), second);
  EXPECT_EQ(ReadAll(Out(u"xELETED.BIN")), contiguous);
  EXPECT_EQ(ReadAll(Out(u"short.bin")), Bytes(a.begin(), a.begin() + 2048));
  EXPECT_EQ(SaveTally.unreadable, 0u);
}

TEST_F(FatSaveTest, AnEmptyFileIsCreatedAndDated) {
  mounted = volume.Mount();
  SaveFileTime = kJuly4th2019;
  EXPECT_EQ(SaveFatItems(out, 1, 0, 0, u"empty.dat", 0), 1u);
  bool readable = false;
  EXPECT_TRUE(ReadAll(Out(u"empty.dat"), &readable).empty());
  EXPECT_TRUE(readable);
  const std::time_t stamp = static_cast<std::time_t>(ModificationTime(Out(u"empty.dat")));
  const std::tm* utc = std::gmtime(&stamp);
  ASSERT_NE(utc, nullptr);
  EXPECT_EQ(utc->tm_year + 1900, 2019);
  EXPECT_EQ(utc->tm_mon + 1, 7);
  EXPECT_EQ(utc->tm_mday, 4);
}

#ifndef _WIN32
// The entry's write date and time, creation and access dates are the volume's local time: in a zone 5 hours west
// of UTC, 2019-07-04 13:45:30 there is 18:45:30 UTC. Without the times (a snapshot that kept only the date) the
// file gets its date at midnight.
TEST_F(FatSaveTest, AFileGetsTheTimesItsEntryKeeps) {
  const char* zone = std::getenv("TZ");
  const std::string saved = zone != nullptr ? zone : "";
  setenv("TZ", "EST5", 1);
  tzset();
  mounted = volume.Mount();
  FatEntryRecord entry;
  entry.firstDateWord = kJuly4th2019;
  entry.secondDateWord = ((2020 - 1980) << 9) | (2 << 5) | 29;
  entry.times = {(13 << 11) | (45 << 5) | 15, ((2018 - 1980) << 9) | (1 << 5) | 2, 0, 0};
  SetFatSaveTimes(entry);
  EXPECT_EQ(SaveFatItems(out, 1, 0, 0, u"timed.dat", 0), 1u);
  EXPECT_EQ(ModificationTime(Out(u"timed.dat")), 1562265930);        // 2019-07-04 18:45:30 UTC
  EXPECT_EQ(ModificationTime(Out(u"timed.dat"), true), 1582952400);  // 2020-02-29 05:00:00 UTC
  SaveFileTime = kJuly4th2019;
  EXPECT_EQ(SaveFatItems(out, 1, 0, 0, u"dated.dat", 0), 1u);
  EXPECT_EQ(ModificationTime(Out(u"dated.dat")), 1562216400);        // 2019-07-04 05:00:00 UTC
  if (zone != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}
#endif

TEST_F(FatSaveTest, ADateThatNamesNoDayLeavesTheTimesAlone) {
  MountTwoFiles();
  const int64_t before = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
  const uint16_t badDates[] = {
      0,                                   // 1980-00-00
      ((2019 - 1980) << 9) | (13 << 5) | 4,  // month 13
      ((2019 - 1980) << 9) | (2 << 5) | 30,  // 30 February
      ((2019 - 1980) << 9) | (4 << 5) | 31,  // 31 April
      ((2019 - 1980) << 9) | (5 << 5) | 0,   // day 0
  };
  for (uint16_t date : badDates) {
    SaveFileTime = date;
    const std::u16string name = u"d" + os::FromAscii(std::to_string(date)) + u".txt";
    ASSERT_EQ(SaveFatItems(out, 1, 12, 10, name, 0), 1u);
    EXPECT_GE(ModificationTime(Out(name)), before - 5) << date;
  }
}

TEST_F(FatSaveTest, NamesFromTheImageNeverLeaveTheChosenFolder) {
  const std::u16string hostile[] = {u"..\\..\\x", u"../../y", u"a:b", u"CON", u"con.txt", u"name.", u"..",
                                    u".", u"tab\tname", u"trail ", u"NUL.txt", u"COM1", u"C:\\evil", u""};
  // Each file's bytes (b's) in a cluster of its own: files of other names claiming one cluster would not all be whole.
  for (uint32_t i = 0; i < std::size(hostile); ++i) {
    volume.PutChained({44 + i}, b);
    volume.PutChained({14 + i}, Pattern(10, 3));
  }
  MountTwoFiles();
  const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  uint32_t cluster = 30;
  for (const std::u16string& name : hostile) {
    const host::TreeKey node = AddFatFolder(tree, name, cluster, 0, top);
    AddFatFile(name, 44 + cluster - 30, cluster, static_cast<uint32_t>(b.size()));
    ++cluster;
    list.saveFolderSet.push_back(node);
  }
  cluster = 14;
  for (const std::u16string& name : hostile) list.saveFileSet.push_back(AddFatFile(name, cluster++, 0, 10));
  SaveDestination = out;
  SaveSelected();
  EXPECT_EQ(FolderNames(root.path()), std::vector<std::u16string>{u"inner"});
  EXPECT_EQ(FolderNames(root.path() + u"\\inner"), std::vector<std::u16string>{u"out"});
  const std::vector<std::u16string> safe = {u"_",        u"_CON",    u"_NUL.txt", u"_COM1",    u"_con.txt",
                                            u"__",       u".._.._x", u".._.._y",  u"C__evil",  u"a_b",
                                            u"name_",    u"tab_name", u"trail_"};
  // Each hostile name became one folder holding its file, and one file of the same safe name, which,
  // saved after the folder, was renamed. "." and "" both became "_": two folders, the second renamed, and
  // their two files after them.
  const std::vector<std::u16string> names = FolderNames(out);
  for (const std::u16string& name : safe) {
    EXPECT_TRUE(os::IsFolder(Out(name))) << os::ToUtf8(name);
    EXPECT_EQ(ReadAll(Out(name + u"\\" + name)), b) << os::ToUtf8(name);
    if (name != u"_") {
      EXPECT_EQ(ReadAll(Out(u"Copy (1 ) of " + name)).size(), 10u) << os::ToUtf8(name);
    }
  }
  EXPECT_EQ(ReadAll(Out(u"Copy (1 ) of _\\_")), b);
  EXPECT_EQ(ReadAll(Out(u"Copy (2 ) of _")).size(), 10u);
  EXPECT_EQ(ReadAll(Out(u"Copy (3 ) of _")).size(), 10u);
  EXPECT_EQ(names.size(), 2 * safe.size() + 2);
  EXPECT_EQ(SaveTally.unreadable + SaveTally.unwritten, 0u);
}

TEST_F(FatSaveTest, LongPathsAreWritten) {
  MountTwoFiles();
  std::u16string folder = out;
  for (char16_t c : std::u16string(u"PQR")) {
    folder += u"\\" + std::u16string(100, c);
    ASSERT_TRUE(os::CreateFolder(folder));
  }
  const std::u16string name = std::u16string(60, u'n') + u".bin";
  ASSERT_GT(folder.size() + 1 + name.size(), 300u);
  EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(SaveFatItems(folder, 1, 5, static_cast<uint32_t>(a.size()), name, 0), 1u);
  EXPECT_TRUE(os::FileExists(folder + u"\\" + name));
  EXPECT_EQ(ReadAll(folder + u"\\" + name), a);
  // A second save renames, which needs the long path's existence test.
  EXPECT_EQ(SaveFatItems(folder, 1, 5, static_cast<uint32_t>(a.size()), name, 0), 1u);
  EXPECT_EQ(ReadAll(folder + u"\\Copy (1 ) of " + name), a);
}

TEST_F(FatSaveTest, WithoutAnImageNothingIsWrittenAndTheUserIsTold) {
  volume.PutChained({5, 9, 7}, a);
  // No source at all, as after a snapshot load without its image.
  SourceKind = kSourceDisk;
  CurrentFileSystem.type = records::kFat16;
  CurrentFileSystem.sectorsPerCluster = 4;
  CurrentFileSystem.clusterBase = 2;
  CurrentFileSystem.firstFatSector = 8;
  CurrentFileSystem.secondFatSector = 9;
  CurrentFileSystem.sectorsPerFat = 1;
  const uint32_t first = AddFatFile(u"a.txt", 5, 0, static_cast<uint32_t>(a.size()));
  const uint32_t second = AddFatFile(u"b.txt", 12, 0, 10);
  for (bool found : {false, true}) {  // the results page's save, then the Find dialog's
    SCOPED_TRACE(found ? "SaveFileIds" : "SaveSelected");
    BeginSave();
    messages.shown.clear();
    list.saveFileSet = {first, second};
    SaveDestination = out;
    found ? SaveFileIds({first, second}) : SaveSelected();
    EXPECT_TRUE(FolderNames(out).empty());
    EXPECT_EQ(SavedFileCount, 0u);
    EXPECT_EQ(SaveTally.saved, 0u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, std::u16string(kImageNeededText));
    EXPECT_EQ(messages.shown[0].kind, host::kError);
    // Ended as a stopped save: no report of files saved follows, and the ticks stay for a save with the image.
    EXPECT_EQ(SaveAbortFlag, 1u);
    EXPECT_EQ(list.saveFileSet.size(), 2u);
  }
}

TEST_F(FatSaveTest, AUnitThatFailsIsWrittenAsZerosNotAsTheUnitBefore) {
  MountTwoFiles();
  // The source goes away while the second cluster is due.
  dialog.onProgress = [](uint32_t position) {
    if (position > 0) VolumeHandle.SetInvalid();
  };
  EXPECT_EQ(SaveA(), 1u);
  Bytes expected = a;
  std::fill(expected.begin() + 2048, expected.end(), 0);
  EXPECT_EQ(ReadAll(Out(u"a.txt")), expected);
  EXPECT_EQ(SaveTally.unreadable, 1u);
}

TEST_F(FatSaveTest, AStateWithoutClusterSizeOrOutsideTheDataAreaReadsNothing) {
  MountTwoFiles();
  // Cluster 1 lies before the data area; a cluster this high lies past the volume: no byte of it is read.
  EXPECT_EQ(SaveFatItems(out, 1, 1, 100, u"xOW.BIN", 1), 1u);
  EXPECT_EQ(ReadAll(Out(u"xOW.BIN")), Bytes(100, 0));
  EXPECT_EQ(SaveFatItems(out, 1, 0xFFFFFF00u, 100, u"xIGH.BIN", 1), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"xIGH.BIN")));
  EXPECT_EQ(SaveTally.unreadable, 2u);
  CurrentFileSystem.sectorsPerCluster = 0;
  EXPECT_EQ(SaveA(u"zero.txt"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"zero.txt")));
  EXPECT_EQ(SaveTally.unreadable, 3u);
}

TEST_F(FatSaveTest, AFileThatCannotBeCreatedAsksAndNoStopsTheSave) {
  MountTwoFiles();
  const std::u16string missing = Out(u"missing");
  messages.answer = 1;
  EXPECT_EQ(SaveFatItems(missing, 1, 5, 10, u"a.txt", 0), 0u);
  EXPECT_EQ(SaveAbortFlag, 0u);
  messages.answer = 2;
  EXPECT_EQ(SaveFatItems(missing, 1, 5, 10, u"b.txt", 0), 0u);
  EXPECT_EQ(SaveAbortFlag, 1u);
  EXPECT_EQ(SaveA(), 0u);  // stopped: nothing more is written or asked
  EXPECT_FALSE(os::FileExists(Out(u"a.txt")));
  const std::u16string separator(1, u'\\');
  EXPECT_EQ(Questions(), (std::vector<std::u16string>{
                             u"Error creating file : " + missing + separator + u"a.txt.  Continue Recovery ? ",
                             u"Error creating file : " + missing + separator + u"b.txt.  Continue Recovery ? "}));
  EXPECT_EQ(messages.shown.back().kind, host::kError);
  EXPECT_EQ(SaveTally.unwritten, 2u);
}

TEST_F(FatSaveTest, SkipAbandonsTheFileAndStopEndsTheSave) {
  MountTwoFiles();
  dialog.onProgress = [](uint32_t position) {
    if (position > 0) SkipCurrentFileFlag = 1;
  };
  EXPECT_EQ(SaveA(), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"a.txt")));
  EXPECT_EQ(SaveFatItems(out, 1, 12, static_cast<uint32_t>(b.size()), u"b.txt", 0), 1u);
  EXPECT_EQ(ReadAll(Out(u"b.txt")), b);
  dialog.onProgress = [](uint32_t position) {
    if (position > 0) SaveAbortFlag = 1;
  };
  EXPECT_EQ(SaveA(u"c.txt"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"c.txt")));
  EXPECT_EQ(SaveFatItems(out, 1, 12, static_cast<uint32_t>(b.size()), u"d.txt", 0), 0u);
  EXPECT_EQ(SaveTally.saved, 1u);
  EXPECT_EQ(SaveTally.unreadable + SaveTally.unwritten, 0u);
  // Stopped, a save leaves the ticks as they were, for a save of the rest.
  BeginSave();
  list.saveFileSet = {AddFatFile(u"e.txt", 5, 0, static_cast<uint32_t>(a.size()))};
  SaveDestination = out;
  SaveSelected();
  EXPECT_FALSE(os::FileExists(Out(u"e.txt")));
  EXPECT_EQ(list.emptyCheckSetsCount, 0u);
  EXPECT_TRUE(tree.clearedChecks.empty());
}

// Files ended with Skip File are reported as skipped: the filters are blamed only for what they held back.
TEST_F(FatSaveTest, FilesSkippedAreReportedAsSkippedNotAsHeldBack) {
  MountTwoFiles();
  dialog.onProgress = [](uint32_t position) {
    if (position > 0) SkipCurrentFileFlag = 1;
  };
  BeginSave();
  EXPECT_EQ(SaveA(), 0u);
  std::u16string text;
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  EXPECT_EQ(text, u"No file was saved.\r\nEvery file was skipped.");
  ASSERT_TRUE(SetFileFilters({u"*.JPG"}));
  EXPECT_EQ(SaveFatItems(out, 1, 12, static_cast<uint32_t>(b.size()), u"b.txt", 0), 0u);
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  EXPECT_EQ(text, u"No file was saved.\r\nFiles skipped: 1\r\nFiles the file filters and the recovery settings "
                  u"held back: 1");
  BeginSave();
  EXPECT_EQ(SaveFatItems(out, 1, 12, static_cast<uint32_t>(b.size()), u"b.txt", 0), 0u);
  SaveResultMessage(&text);
  EXPECT_EQ(text, u"No file was saved.\r\nThe ticked items held no file that the file filters and the recovery "
                  u"settings let through.");
}

// Links (symbolic links, junctions) hold no data: a save passes them over and its report counts them and names the
// first ten with where each points, as the image gives the names (escaped for the message's markup), after what
// the files came to; a save of links alone wrote no file.
TEST_F(FatSaveTest, LinksPassedOverAreNamedWithTheirTargets) {
  MountTwoFiles();
  BeginSave();
  save::CountLink(1, out + u"\\a&b.lnk", u"C:\\Users\\<Alice>");
  save::CountLink(0, out + u"\\preview.lnk", u"C:\\x");  // the preview's copy is no save
  std::u16string text;
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  const std::u16string links = u"Links not saved (a symbolic link or junction holds no data, only the place it points "
                               u"to): ";
  EXPECT_EQ(text, u"No file was saved.\r\n" + links + u"1\r\na&<>b.lnk points to C:\\Users\\<<Alice>");
  EXPECT_EQ(SaveA(), 1u);
  EXPECT_EQ(SaveResultMessage(&text), host::kInformation);
  EXPECT_EQ(text.rfind(u" Files Saved successfully.\r\n" + links + u"1\r\n", 0), 0u) << os::ToUtf8(text);
  for (int i = 0; i < 11; ++i) save::CountLink(1, out + u"\\l" + os::Decimal(i), u"");
  SaveResultMessage(&text);
  EXPECT_NE(text.find(links + u"12\r\na&<>b.lnk points to"), std::u16string::npos) << os::ToUtf8(text);
  EXPECT_NE(text.find(u"\r\nl8\r\n..."), std::u16string::npos) << os::ToUtf8(text);  // ten named
  EXPECT_EQ(text.find(u"\r\nl9"), std::u16string::npos);
}

// A disk that fills while a.txt is written: the Windows build's destination holds an a.txt that links to
// /dev/full, made before the program runs, where every write fails; natively the files may grow no longer than
// 3000 bytes.
TEST_F(FatSaveTest, AFullDiskIsReportedNeverShownAsSaved) {
  MountTwoFiles();
#ifdef _WIN32
  const std::u16string full = os::FromUtf8(DORVANE_FULL_DEVICE_FILE);
  const std::u16string destination = full.substr(0, full.rfind(u'/'));
  RecoverySettings.duplicatePolicy = 2;
#else
  const std::u16string destination = out;
  const FullDiskPast fills(3000);
#endif
  messages.answer = 1;
  EXPECT_EQ(SaveFatItems(destination, 1, 5, static_cast<uint32_t>(a.size()), u"a.txt", 0), 0u);
  EXPECT_EQ(Questions(),
            std::vector<std::u16string>{u"Error writing file : " + destination + u"\\a.txt.  Continue Recovery ? "});
  EXPECT_EQ(SaveTally.saved, 0u);
  EXPECT_EQ(SaveTally.unwritten, 1u);
  std::u16string text;
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  EXPECT_NE(text.find(u"Files that could not be written: 1"), std::u16string::npos) << os::ToUtf8(text);
}

TEST_F(FatSaveTest, SavesTickedFoldersWholeThenTickedFiles) {
  volume.Put(40, a);  // a deleted copy of a, its clusters free
  volume.PutChained({14}, b);
  MountTwoFiles();
  const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey docs = AddFatFolder(tree, u"Docs", 20, 0, top);
  AddFatFolder(tree, u"Old", 21, 20, docs);
  const host::TreeKey music = AddFatFolder(tree, u"Music", 22, 0, top);
  AddFatFile(u"doc.txt", 12, 20, static_cast<uint32_t>(b.size()));
  AddFatFile(u"old.txt", 40, 21, static_cast<uint32_t>(a.size()), 1);
  const uint32_t root = AddFatFile(u"root.txt", 14, 0, static_cast<uint32_t>(b.size()));
  list.saveFolderSet = {docs, music};
  list.saveFileSet = {root, 999};  // 999: no record has it
  SaveDestination = out;
  SaveSelected();
  EXPECT_EQ(FolderNames(out), (std::vector<std::u16string>{u"Docs", u"Music", u"root.txt"}));
  EXPECT_EQ(FolderNames(Out(u"Docs")), (std::vector<std::u16string>{u"Old", u"doc.txt"}));
  EXPECT_EQ(ReadAll(Out(u"Docs\\Old\\old.txt")), a);
  EXPECT_EQ(ReadAll(Out(u"root.txt")), b);
  // A folder's files before its subfolders.
  EXPECT_EQ(dialog.fileNames, (std::vector<std::u16string>{u"doc.txt", u"old.txt", u"root.txt"}));
  EXPECT_EQ(list.emptyCheckSetsCount, 1u);
  EXPECT_EQ(tree.clearedChecks, std::vector<host::TreeKey>{top});
  EXPECT_EQ(tree.restoredChecks, std::vector<host::TreeKey>{top});
  std::u16string text;
  EXPECT_EQ(SaveResultMessage(&text), host::kInformation);
  EXPECT_EQ(text, u" Files Saved successfully.");
}

// A deleted file and a live folder of one name in a folder saved whole: the folder keeps the name and its files,
// the file takes a "Copy (n ) of" name, under every duplicate-name policy (a folder is no earlier copy of it).
TEST_F(FatSaveTest, AFileOfASubfoldersNameTakesACopyName) {
  MountTwoFiles();
  const host::TreeKey top = tree.AddItem(u"C:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey docs = AddFatFolder(tree, u"Docs", 20, 0, top);
  AddFatFolder(tree, u"Report", 21, 20, docs);
  AddFatFile(u"Report", 12, 20, static_cast<uint32_t>(b.size()), 1);
  AddFatFile(u"inside.txt", 5, 21, static_cast<uint32_t>(a.size()));
  for (uint16_t policy : {1, 2, 3}) {
    SCOPED_TRACE(policy);
    ScratchFolder folder;
    BeginSave();
    RecoverySettings.duplicatePolicy = policy;
    SaveFatFolder(docs, 20, folder.path(), u"Docs");
    const std::u16string saved = folder.path() + u"\\Docs";
    EXPECT_EQ(FolderNames(saved), (std::vector<std::u16string>{u"Copy (1 ) of Report", u"Report"}));
    EXPECT_EQ(ReadAll(saved + u"\\Copy (1 ) of Report"), b);
    EXPECT_EQ(ReadAll(saved + u"\\Report\\inside.txt"), a);
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(SaveTally.saved, 2u);
  }
}

TEST_F(FatSaveTest, ASaveThatWroteNoFileIsNotASuccess) {
  MountTwoFiles();
  AddFatFile(u"a.txt", 5, 0, static_cast<uint32_t>(a.size()));
  std::u16string text;
  // Ids no record has (the lists were emptied since they were ticked), then a file the filters pass over.
  list.saveFileSet = {7, 999};
  SaveDestination = out;
  SaveSelected();
  EXPECT_TRUE(FolderNames(out).empty());
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
  EXPECT_EQ(text.find(u"successfully"), std::u16string::npos);
  EXPECT_EQ(text.rfind(u"No file was saved.", 0), 0u) << os::ToUtf8(text);
  ASSERT_TRUE(SetFileFilters({u"*.JPG"}));
  EXPECT_EQ(SaveFatItems(out, 1, 5, static_cast<uint32_t>(a.size()), u"a.txt", 0), 0u);
  EXPECT_EQ(SaveResultMessage(&text), host::kError);
}

}  // namespace
}  // namespace save_test
