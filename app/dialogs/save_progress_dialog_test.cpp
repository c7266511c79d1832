// The saving dialog under Wine, with a stand-in save run by its worker: "Stop Saving" clicked while the
// save runs, answered No (the save goes on to its report) or answered Yes only after the worker has passed
// its last test of the stop flag (the save is whole: its report follows the question and nothing is left
// stopped). And real saves of many files, whose bar and "Total Files" the dialog shows as it goes: FAT files in a
// folder and on their own, and NTFS files of two names each.
#include "app/dialogs/save_progress_dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"
#include "res/resource.h"

namespace {

const char16_t kStopQuestion[] = u"Do you want to stop the saving process?";
const char16_t kSaved[] = u" Files Saved successfully.";

// Scripted boxes that, while the stop question stands, do what the test says (as a real box's message
// loop would let the program's other messages through meanwhile).
class QuestionBoxes : public harness::ScriptedMessageBoxes {
 public:
  int Show(const seams::MessageBoxRequest& request) override {
    if (request.text.find(kStopQuestion) != std::u16string::npos && whileAsked) whileAsked();
    return ScriptedMessageBoxes::Show(request);
  }
  std::function<void()> whileAsked;
};

class SaveProgressDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = seams::InstallMessageBoxes(&boxes);
    host::Hosts hosts;
    hosts.messages = &messages;
    installed_ = std::make_unique<host::ScopedHosts>(hosts);
    const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(frame.CreateEx(0, frameClass, L"Owner", WS_POPUP | WS_VISIBLE, 40, 40, 600, 400, nullptr, nullptr));
    SaveAbortFlag = 0;
    release = false;
  }
  void TearDown() override {
    release = true;
    CurrentSave.findSave = 0;
    CurrentSave.findSaver = nullptr;
    frame.DestroyWindow();
    harness::PumpMessages();
    installed_.reset();
    seams::InstallMessageBoxes(previous_);
    EXPECT_EQ(boxes.Pending(), 0u);
    EXPECT_EQ(boxes.Unscripted(), 0u);
  }

  // The stand-in save the dialog's worker runs; it ends once the test releases it, having written one file
  // (a save that writes none is not reported as a success).
  void SaveWith(std::function<void()> saver) {
    CurrentSave.findSaver = [saver = std::move(saver)] {
      saver();
      ++SaveTally.saved;
    };
    CurrentSave.findSave = 1;
  }

  // Runs the dialog, clicking "Stop Saving" once it is up; answer: the box's. whenAnswered, if any, runs
  // in the dialog once the question has been answered.
  void RunAndClickStop(SaveProgressDialog& dialog, int answer, const std::function<void()>& whenAnswered) {
    boxes.Answer(answer);
    harness::ModalScript script;
    script.Step("up", [] { return CurrentSave.dialog.load() != nullptr; },
                [&] { harness::ClickCentre(harness::Control(dialog.GetSafeHwnd(), IDOK)); });
    if (whenAnswered) script.Step("answered", [&] { return boxes.Log().size() == 1; }, whenAnswered, 10000);
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished()) << script.Failure();
  }

  QuestionBoxes boxes;
  host::RecordingMessages messages;
  CWnd frame;
  std::atomic<bool> release{false};

 private:
  seams::MessageBoxSeam* previous_ = nullptr;
  std::unique_ptr<host::ScopedHosts> installed_;
};

TEST_F(SaveProgressDialogTest, StopAnsweredNoKeepsTheSaveRunningWithTheButtonEnabled) {
  // A saver that tests the stop flag as the real ones do, between its steps.
  SaveWith([this] {
    while (!release) {
      if (SaveStopRequested()) return;
      ::Sleep(5);
    }
  });
  SaveProgressDialog dialog(&frame);
  bool enabledAfterNo = false, runningAfterNo = false;
  RunAndClickStop(dialog, seams::kNo, [&] {
    harness::PumpFor(100);
    const HWND stop = harness::Control(dialog.GetSafeHwnd(), IDOK);
    enabledAfterNo = ::IsWindowEnabled(stop) != FALSE && harness::Text(stop) == L"&Stop Saving";
    runningAfterNo = CurrentSave.finished == 0 && SaveAbortFlag == 0;
    release = true;
  });
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, kStopQuestion);
  EXPECT_TRUE(enabledAfterNo);
  EXPECT_TRUE(runningAfterNo);
  EXPECT_FALSE(dialog.Stopped());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaved);
}

TEST_F(SaveProgressDialogTest, AYesAfterTheLastFileLeavesTheSaveWholeAndItsReportFollowsTheQuestion) {
  // A saver past its last test of the stop flag: the question cannot hold it any more.
  SaveWith([this] {
    while (!release) ::Sleep(1);
  });
  bool reportedWhileAsked = false;
  boxes.whileAsked = [&] {
    release = true;
    // The worker has ended once it says so, or once the dialog has already shown its end.
    EXPECT_TRUE(harness::WaitUntil(
        [] { return CurrentSave.finished.load() != 0 || CurrentSave.dialog.load() == nullptr; }, 10000));
    harness::PumpFor(200);
    reportedWhileAsked = !messages.shown.empty();
  };
  SaveProgressDialog dialog(&frame);
  RunAndClickStop(dialog, seams::kYes, nullptr);
  EXPECT_FALSE(reportedWhileAsked) << "the end report stood over the stop question";
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaved);
  EXPECT_FALSE(dialog.Stopped());
  EXPECT_EQ(SaveAbortFlag.load(), 0u) << "a late Yes outlived the save";
  EXPECT_EQ(CurrentSave.dialog.load(), nullptr);
  EXPECT_TRUE(frame.IsWindowEnabled());
}

// What the dialog showed as each file of a save was finished: its bar and "Total Files", read from the
// window by the save's worker (the dialog's thread answers).
struct Shown {
  uint32_t bar;
  std::wstring totalFiles;
};
std::vector<Shown> shownAtEachFile;

void ReadTheDialog(const std::u16string&, bool) {
  const HWND dialog = CurrentSave.dialog.load()->GetSafeHwnd();
  const auto bar = static_cast<uint32_t>(::SendMessageW(harness::Control(dialog, IDC_SAVE_PROGRESS), PBM_GETPOS, 0, 0));
  shownAtEachFile.push_back({bar, harness::Text(harness::Control(dialog, IDC_TOTAL_FILES))});
  if (shownAtEachFile.size() == 200) harness::CaptureWindow(dialog, "saving_progress");
}

// The results page as the save finds it: its tree with a top node and a folder Docs below it, and its list's save
// sets; the record lists empty, from a Quick Scan.
struct ResultsPage {
  explicit ResultsPage(const char16_t* top) {
    host::Hosts hosts = host::Current();
    hosts.resultTree = &tree;
    hosts.resultList = &list;
    installed = std::make_unique<host::ScopedHosts>(hosts);
    FreeScanRecordLists();
    RecoveryMode = records::kQuickScan;
    folder = tree.AddItem(u"Docs", tree.AddItem(top, host::kNoTreeKey, host::TreeImage::kDrive, false),
                          host::TreeImage::kFolder, false);
  }
  ~ResultsPage() {
    FreeScanRecordLists();
    CurrentFileSystem = FileSystemRecord{};
  }
  host::RecordingResultTree tree;
  host::RecordingResultList list;
  std::unique_ptr<host::ScopedHosts> installed;
  host::TreeKey folder = host::kNoTreeKey;
};

// Runs the dialog over the save sets of list: as the k-th of files is finished the bar shows the files before it,
// (k - 1) x 100 / files, and "Total Files" its place, "k of files"; the save is a success.
void ExpectTheDialogFollowsTheSelection(CWnd& frame, host::RecordingMessages& messages, uint32_t files) {
  save_test::ScratchFolder out;
  SaveDestination = out.path();
  shownAtEachFile.clear();
  save::SetFinishedFileObserver(ReadTheDialog);
  SaveProgressDialog dialog(&frame);
  dialog.DoModal();
  save::SetFinishedFileObserver(nullptr);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaved);
  ASSERT_EQ(shownAtEachFile.size(), files);
  for (uint32_t k = 1; k <= files; ++k) {
    EXPECT_EQ(shownAtEachFile[k - 1].bar, (k - 1) * 100 / files) << k;
    EXPECT_EQ(shownAtEachFile[k - 1].totalFiles, std::to_wstring(k) + L" of " + std::to_wstring(files)) << k;
  }
}

// 300 files of one cluster each saved through the dialog, 250 of them in a ticked folder and 50 ticked one by
// one.
TEST_F(SaveProgressDialogTest, TheBarAndTotalFilesFollowTheWholeSelectionWhileItIsSaved) {
  constexpr uint32_t kFiles = 300, kInFolder = 250;
  save_test::FatVolume volume;
  volume.PutChained({5}, save_test::Pattern(1000, 1));
  volume.PutChained({30}, save_test::Pattern(512, 2));  // the folder's cluster, in use as the tables say
  std::unique_ptr<save_test::MountedBytes> mounted = volume.Mount();
  ResultsPage page(u"C:");
  AppendFatFolder(u"Docs", 30, 0, 0, 0, page.folder, 0);
  page.list.saveFolderSet = {page.folder};
  for (uint32_t i = 0; i < kFiles; ++i) {
    const uint32_t id = AppendFatEntry(u"f" + os::Decimal(i) + u".txt", 5, i < kInFolder ? 30 : 0, 0, 0, 1000, 0).id;
    ++ScanCounters.entryCount;
    if (i >= kInFolder) page.list.saveFileSet.push_back(id);
  }
  ExpectTheDialogFollowsTheSelection(frame, messages, kFiles);
}

// NTFS files of two names each (hard links), one in a folder and one in the root, all ticked with the top node:
// the folder is saved whole and the root's files one by one, each name written once and counted once.
TEST_F(SaveProgressDialogTest, TotalFilesCountsEachNameOfAFileOnce) {
  constexpr uint32_t kLinked = 10;
  save_test::NtfsVolume volume;
  std::vector<uint32_t> sectors;
  for (uint32_t i = 0; i < kLinked; ++i) {
    ntfs_test::RecordBuilder record;
    record.AddFileName(64, u"in folder " + os::Decimal(i) + u".txt", 1);
    record.AddFileName(5, u"in root " + os::Decimal(i) + u".txt", 1);
    record.AddResident(0x80, u"", save_test::Pattern(100, static_cast<uint8_t>(i)));
    sectors.push_back(volume.PutRecord(i, record.Protected()));
  }
  std::unique_ptr<save_test::MountedBytes> mounted = volume.Mount();
  ResultsPage page(u"D:");
  AppendNtfsFolder(u"Docs", 64, 5, 0, 0, page.folder, 0);
  for (uint32_t i = 0; i < kLinked; ++i) {
    AppendNtfsEntry(sectors[i], u"in folder " + os::Decimal(i) + u".txt", i, 64, 0, 0, 0, 100).linked = true;
    AppendNtfsEntry(sectors[i], u"in root " + os::Decimal(i) + u".txt", i, 5, 0, 0, 0, 100).linked = true;
    ScanCounters.entryCount += 2;
    page.list.saveFileSet.push_back(sectors[i]);
  }
  page.list.saveFolderSet = {page.folder};
  ExpectTheDialogFollowsTheSelection(frame, messages, 2 * kLinked);
}

}  // namespace
