// Saving File Trace hits, the preview's copy of one, and asking where to save.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/records/file_trace_hits.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "engine/scan/selected_signatures.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

constexpr size_t kMegabyte = 1 << 20;

class FileTraceSaveTest : public SaveTest {
 protected:
  FileTraceSaveTest() {
    // 3 MiB of volume: a hit at sector 100 reads 1 MiB from byte 51200.
    disk = Pattern(3 * kMegabyte, 7);
    mounted = std::make_unique<MountedBytes>(disk);
    RecoveryMode = records::kFileTrace;
    LargeFileSize = 1;
  }
  Bytes From(size_t sector, size_t bytes) const {
    return Bytes(disk.begin() + static_cast<std::ptrdiff_t>(sector * 512),
                 disk.begin() + static_cast<std::ptrdiff_t>(sector * 512 + bytes));
  }
  Bytes disk;
  std::unique_ptr<MountedBytes> mounted;
};

// A bitmap's header states its size: the file ends there, unless that lies past the size chosen (1 MB), where it
// is cut and counted as not read whole, like a file whose end its format does not show (a JPEG start over other
// bytes, running past the volume: zeros there).
TEST_F(FileTraceSaveTest, EachHitEndsWhereItsFormatSaysAtMostTheChosenSize) {
  auto bitmap = [&](size_t sector, uint32_t size) {
    const uint8_t header[] = {'B', 'M', static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                              static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    std::copy(std::begin(header), std::end(header), disk.begin() + static_cast<std::ptrdiff_t>(sector * 512));
  };
  bitmap(100, 3000);
  bitmap(3000, 2 << 20);
  bitmap(6138, 3000);  // ends 72 bytes before the volume's end
  mounted.reset();
  mounted = std::make_unique<MountedBytes>(disk);
  AppendFileTraceHit(u"1.bmp", u".bmp", u"Graphics", 1, 100);
  AppendFileTraceHit(u"2.bmp", u".bmp", u"Graphics", 2, 3000);
  AppendFileTraceHit(u"3.jpg", u".jpg", u"Graphics", 3, 5000);
  AppendFileTraceHit(u"4.bmp", u".bmp", u"Graphics", 4, 6138);
  list.saveFileSet = {2, 7, 1, 3, 4};
  SaveDestination = out;
  BeginSave();
  SaveSelected();
  EXPECT_EQ(ReadAll(Out(u"1.bmp")), From(100, 3000));
  EXPECT_EQ(ReadAll(Out(u"2.bmp")), From(3000, kMegabyte));
  Bytes tail = From(5000, disk.size() - 5000 * 512);
  tail.resize(kMegabyte, 0);
  EXPECT_EQ(ReadAll(Out(u"3.jpg")), tail);
  EXPECT_EQ(ReadAll(Out(u"4.bmp")), From(6138, 3000));
  EXPECT_EQ(SaveTally.saved, 4u);
  EXPECT_EQ(SaveTally.unreadable, 2u);
  std::u16string report;
  EXPECT_EQ(SaveResultMessage(&report), host::kError);
  EXPECT_EQ(report,
            u"Files saved: 4\r\nFiles that could not be read whole: 2\r\n" + std::u16string(kUnreadableTraceText));
  // The hits go in the order of their ids (whichever was ticked first); the bar never back, to its end.
  EXPECT_EQ(dialog.fileNames, (std::vector<std::u16string>{u"1.bmp", u"2.bmp", u"3.jpg", u"4.bmp"}));
  EXPECT_TRUE(std::is_sorted(dialog.positions.begin(), dialog.positions.end()));
  EXPECT_EQ(dialog.positions.back(), 100u);
  EXPECT_EQ(list.emptyCheckSetsCount, 1u);
  // File Trace knows no deleted-file policy; the duplicate policy holds. The preview's copy ends alike.
  RecoverySettings.deletedPolicy = 2;
  EXPECT_EQ(SaveFileTraceItem(out, 1, 100, u"1.bmp"), 1u);
  EXPECT_EQ(ReadAll(Out(u"Copy (1 ) of 1.bmp")), From(100, 3000));
  EXPECT_EQ(SaveLargeFile(out, u"tmp1.bmp", 100), 1u);
  EXPECT_EQ(ReadAll(Out(u"tmp1.bmp")), From(100, 3000));
}

TEST_F(FileTraceSaveTest, SkipAbandonsAHit) {
  dialog.onProgress = [](uint32_t) { SkipCurrentFileFlag = 1; };
  EXPECT_EQ(SaveFileTraceItem(out, 1, 100, u"1.jpg"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"1.jpg")));
  std::u16string text;
  SaveResultMessage(&text);
  EXPECT_EQ(text, u"No file was saved.\r\nEvery file was skipped.");
  // Under Overwrite, a file from before the save at the name is left as it was, with nothing beside it.
  RecoverySettings.duplicatePolicy = 2;
  ASSERT_TRUE(WriteAll(Out(u"2.jpg"), Text("old")));
  EXPECT_EQ(SaveFileTraceItem(out, 1, 100, u"2.jpg"), 0u);
  EXPECT_EQ(ReadAll(Out(u"2.jpg")), Text("old"));
  EXPECT_EQ(FolderNames(out), std::vector<std::u16string>{u"2.jpg"});
}

TEST_F(FileTraceSaveTest, ThePreviewCopyReplacesWithoutAskingOrCounting) {
  ASSERT_TRUE(WriteAll(Out(u"tmp1.jpg"), Text("old")));
  SaveAbortFlag = 1;  // a stopped save does not hold the preview back
  EXPECT_EQ(SaveLargeFile(out, u"tmp1.jpg", 200), 1u);
  EXPECT_EQ(ReadAll(Out(u"tmp1.jpg")), From(200, kMegabyte));
  EXPECT_EQ(SaveLargeFile(Out(u"missing"), u"tmp2.jpg", 200), 0u);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(dialog.fileNames.empty());
  EXPECT_EQ(SavedFileCount, 0u);
}

TEST_F(FileTraceSaveTest, WithoutASizeNothingIsWrittenAndTheSaveIsNotReportedAsASuccess) {
  LargeFileSize = 0;  // as at start and after Back or Home
  AppendFileTraceHit(u"1.jpg", u".jpg", u"Graphics", 1, 100);
  AppendFileTraceHit(u"2.doc", u".doc", u"Documents", 2, 3000);
  list.saveFileSet = {1, 2};
  SaveDestination = out;
  BeginSave();
  SaveSelected();
  EXPECT_FALSE(os::FileExists(Out(u"1.jpg")));
  EXPECT_FALSE(os::FileExists(Out(u"2.doc")));
  EXPECT_EQ(SaveTally.saved, 0u);
  EXPECT_EQ(SaveTally.unwritten, 2u);
  std::u16string report;
  EXPECT_EQ(SaveResultMessage(&report), host::kError);
  EXPECT_EQ(report, u"Files saved: 0\r\nFiles that could not be read whole: 0\r\nFiles that could not be written: 2");
  // Nor does the preview get an empty copy.
  EXPECT_EQ(SaveLargeFile(out, u"tmp1.jpg", 100), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"tmp1.jpg")));
  EXPECT_EQ(SaveTally.unwritten, 2u);
}

TEST(BrowseForSaveFolder, TakesTheChosenFolderOrNothing) {
  harness::ScopedSeams seams;
  SaveDestination = u"old";
  seams.dialogs.ChooseFolderPath(u"C:\\Recovered");
  int owner = 0;
  BrowseForSaveFolder(&owner);
  EXPECT_EQ(SaveDestination, u"C:\\Recovered");
  ASSERT_EQ(seams.dialogs.FolderRequests().size(), 1u);
  EXPECT_EQ(seams.dialogs.FolderRequests()[0].title, u"Please select the path to save the data");
  EXPECT_EQ(seams.dialogs.FolderRequests()[0].owner, &owner);
  seams.dialogs.ChooseFolderPath(u"");
  BrowseForSaveFolder();
  EXPECT_TRUE(SaveDestination.empty());
}

}  // namespace
}  // namespace save_test
