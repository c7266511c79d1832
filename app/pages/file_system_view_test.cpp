// Page 3 in a real window under Wine, on a generated disk whose boot sectors are all lost: an Extensive
// Scan fills the tree, a choice fills the form, Next reads the chosen file system and moves on to the
// results (page 4 stands in as the engine's recording tree and list), Stop asks while the worker waits,
// and the results are saved through the saving dialog exactly as the engine's own save writes them.
#include "app/pages/file_system_view.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/dialogs/save_progress_dialog.h"
#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/save_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/fat_records.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/extensive_scan.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/seam_test.h"
#include "platform/os/os.h"
#include "res/resource.h"
#include "app/message_host.h"

namespace {

namespace fs = std::filesystem;

const char kDisk[] = DORVANE_EXTENSIVE_DISKS "/mixed_noboot.fixed.vhd";
constexpr uint32_t kDiskSectors = 188416;
const char16_t kSaved[] = u" Files Saved successfully.";

// The texts of a recording tree's nodes, as paths from its top node.
std::vector<std::u16string> Paths(const host::RecordingResultTree& tree) {
  std::vector<std::u16string> paths;
  for (host::TreeKey key = 1; key <= tree.nodes.size(); ++key) paths.push_back(tree.Path(key));
  return paths;
}

// The saving dialog has reported and ended: what a script waits for before its dialog may go, however long a
// loaded machine takes to save. The bound only turns a save that never ends into a failure.
bool SaveEnded() { return CurrentSave.dialog.load() == nullptr; }
constexpr unsigned kSaveEndMs = 300000;

// A script's last step that waits for the save's end runs from the dialog's loop, or, when the dialog ended
// first, from the test's own pumping here.
void FinishScript(const harness::ModalScript& script) {
  harness::WaitUntil([&] { return script.Finished() || !script.Failure().empty(); }, kSaveEndMs);
}

bool Contains(const std::vector<std::u16string>& list, const std::u16string& item) {
  for (const auto& entry : list) {
    if (entry == item) return true;
  }
  return false;
}

// Every file under a folder: its path below the folder and its bytes.
std::map<std::wstring, std::string> FilesUnder(const fs::path& folder) {
  std::map<std::wstring, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::wstring relative = fs::relative(entry.path(), folder).wstring();
    if (entry.is_directory()) {
      files[relative + L"\\"] = "";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      files[relative] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return files;
}

class FileSystemPageTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    harness::SeamTest::SetUp();
    image_.CreateReader(kImageVhd);
    ASSERT_EQ(image_.Open(os::FromUtf8(kDisk)), 1) << "run the native build's extensive.disks fixture first";
    ImageFormat = 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);

    const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(frame_.CreateEx(0, frameClass, L"Page 3", WS_POPUP | WS_VISIBLE, 40, 40, 900, 600, nullptr, nullptr));
    view_ = new CFileSystemView;
    ASSERT_TRUE(view_->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 900, 600}, &frame_,
                              AFX_IDW_PANE_FIRST + 3));
    FileSystemPageLinks links;
    links.showPage = [this](int page) { pagesShown_.push_back(page); };
    links.recordActiveView = [this] { ++activeViewsRecorded_; };
    links.selectStage = [this](int stage) { stages_.push_back(stage); };
    links.summaryText = [] { return CString(L"Selected Mode : Extensive Scan \r\nDrive Type        : Virtual Hard Disk"); };
    view_->SetLinks(links);

    saved_ = host::Current();
    msgbox::InstallProgramMessages(frame_.GetSafeHwnd());
    host::Hosts& hosts = host::Current();
    hosts.fileSystemTree = &view_->Tree();
    hosts.resultTree = &results_;
    hosts.resultList = &list_;
    harness::PumpFor(50);
  }

  void TearDown() override {
    harness::WaitUntil([] { return ScanThreadControl.runningFlag == 0; }, 20000);
    harness::PumpFor(100);
    msgbox::RemoveProgramMessages();
    host::Current() = saved_;
    frame_.DestroyWindow();
    harness::PumpMessages();
    FreeExtensiveScanLists();
    FreeScanRecordLists();
    SetCurrentDiskImage(nullptr);
    SourceKind = kSourceNothing;
    harness::SeamTest::TearDown();
  }

  // The Extensive Scan of the whole disk for the file-system code, run as page 2 runs it.
  void ExtensiveScan(uint16_t code) {
    RecoveryMode = records::kExtensiveScan;
    ScanRange = ScanRangeRecord{};
    ScanRange.fileSystemCode = code;
    ScanRange.sectorCount = kDiskSectors;
    ScanRange.endSector = kDiskSectors;
    FreeExtensiveScanLists();
    view_->Tree().DeleteAllItems();
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    std::thread worker([] { ExtensiveScanThread(); });
    // The tree's inserts are messages to this thread: pump while waiting.
    const bool ended = harness::WaitUntil([] {
      return ScanThreadControl.runningFlag == 0 && ScanThreadControl.stopFlag == 1 && BootSectorPassDone != 0 &&
             WithoutBootPassDone != 0;
    }, 60000);
    worker.join();
    ASSERT_TRUE(ended);
    view_->Form().SetFatCaptions();
    if (code == records::kNtfs) view_->Form().SetNtfsCaptions();
    harness::PumpFor(50);
  }

  std::vector<std::wstring> TreeTexts() {
    std::vector<std::wstring> texts;
    for (const auto& node : harness::TreeNodes(view_->Tree().GetSafeHwnd())) {
      texts.push_back(std::wstring(node.depth * 2, L' ') + node.text);
    }
    return texts;
  }

  HTREEITEM FindItem(const wchar_t* text) {
    FileSystemTreeCtrl& tree = view_->Tree();
    for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextVisibleItem(item)) {
      if (tree.GetItemText(item) == text) return item;
    }
    return nullptr;
  }

  // A click on the item's label, as the user chooses it.
  void ClickItem(HTREEITEM item) {
    RECT r{};
    ASSERT_TRUE(view_->Tree().GetItemRect(item, &r, TRUE));
    harness::Click(view_->Tree().GetSafeHwnd(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    harness::PumpFor(50);
  }

  void Press(UINT id) {
    HWND button = view_->Button(id).GetSafeHwnd();
    harness::PostCommand(view_->GetSafeHwnd(), static_cast<int>(id), BN_CLICKED, button);
  }

  // Chooses NTFS @2048 after the NTFS scan and reads it to the results.
  void ReadNtfs() {
    ExtensiveScan(records::kNtfs);
    ClickItem(FindItem(L"NTFS @2048"));
    Press(IDC_NEXT);
    ASSERT_TRUE(harness::WaitUntil([this] { return ReachedResults(); }, 30000));
  }

  // The whole tree ticked, as the top node's check box leaves the list's sets.
  void TickAll() {
    list_.saveFolderSet = results_.Children(results_.GetRootItem());
    list_.saveFileSet.clear();
    for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
      if (entry.parentId == records::kNtfsRootRecord && InChosenFileSystem(entry)) list_.saveFileSet.push_back(entry.id);
    }
  }

  fs::path Scratch(const char* name) {
    const fs::path folder = fs::current_path() / "test-scratch" / "page3_save" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
  }

  bool ReachedResults() const { return !pagesShown_.empty() && pagesShown_.back() == 4; }
  bool ButtonShown(UINT id) { return view_->Button(id).IsWindowVisible() != FALSE; }

  DiskImage image_;
  CWnd frame_;
  CFileSystemView* view_ = nullptr;  // deletes itself with its window
  host::Hosts saved_;
  host::RecordingResultTree results_;
  host::RecordingResultList list_;
  std::vector<int> pagesShown_;
  std::vector<int> stages_;
  int activeViewsRecorded_ = 0;
};

TEST_F(FileSystemPageTest, AnExtensiveScanListsTheFileSystemsItRebuiltWithoutBootSectors) {
  ExtensiveScan(records::kFat32);
  // A scan for FAT32 finds the FAT16 volume too, rebuilt as FAT16: its tables' first sector says so.
  const std::vector<std::wstring> fat = {L"File System", L"  FAT16 @37020", L"  FAT32 @105738"};
  EXPECT_EQ(TreeTexts(), fat);

  // The top item changes the captions only; a FAT file system without a last sector has no known size.
  ClickItem(FindItem(L"File System"));
  EXPECT_EQ(view_->Form().RowCaption(1), CString(L"File System Start    :"));
  EXPECT_EQ(view_->Form().RowValue(1), CString(L""));
  ClickItem(FindItem(L"FAT32 @105738"));
  EXPECT_EQ(CurrentFileSystem.id, 2u);
  EXPECT_FALSE(view_->Form().RowValueVisible(0));
  EXPECT_EQ(view_->Form().RowValue(1), CString(L"105738"));
  EXPECT_EQ(view_->Form().RowValue(3), CString(L"Unknown"));

  ExtensiveScan(records::kNtfs);
  const std::vector<std::wstring> ntfs = {L"File System", L"  NTFS @2048"};
  EXPECT_EQ(TreeTexts(), ntfs);
  ClickItem(FindItem(L"NTFS @2048"));
  EXPECT_EQ(view_->Form().RowCaption(2), CString(L"MFT Start               :"));
  EXPECT_EQ(view_->Form().RowValue(0), CString(L"2048"));
  // TSK's fsstat on the volume before its boot sectors were zeroed: sectors 2048 to 34807, so (34807 - 2048) >> 11.
  // Without its boot sector the volume is bounded by its own $BadClus and $Bitmap, not by the next volume found.
  EXPECT_EQ(std::wstring(view_->Form().RowValue(4).GetString()), L"15 MB");
  frame_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(200);
  EXPECT_FALSE(harness::CaptureWindow(frame_.GetSafeHwnd(), "page3").empty());
}

TEST_F(FileSystemPageTest, TheSplitterHoldingTreeAndFormHasABorder) {
  CWnd* splitter = view_->Tree().GetParent();
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(view_->Form().GetParent(), splitter);
  EXPECT_NE(splitter->GetStyle() & WS_BORDER, 0u);
}

TEST_F(FileSystemPageTest, NextWithoutAChoiceAsksForOne) {
  ExtensiveScan(records::kNtfs);
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  harness::PumpFor(100);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"Please select a File System from the left panel and then click [Next] to continue with recovery.");
  EXPECT_FALSE(view_->WorkerRunning());
  EXPECT_EQ(activeViewsRecorded_, 0);
}

TEST_F(FileSystemPageTest, NextReadsTheChosenFileSystemAndShowsItsFoldersThenTheyAreSavedAsTheEngineSavesThem) {
  ExtensiveScan(records::kNtfs);
  ClickItem(FindItem(L"NTFS @2048"));
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return view_->WorkerRunning(); }, 30000));
  EXPECT_EQ(activeViewsRecorded_, 1);
  EXPECT_FALSE(ButtonShown(IDC_NEXT));
  EXPECT_FALSE(view_->Tree().IsWindowEnabled());
  ASSERT_TRUE(harness::WaitUntil([this] { return ReachedResults(); }, 30000));
  EXPECT_EQ(stages_.back(), 4);
  EXPECT_FALSE(ButtonShown(IDC_STOP));
  const std::vector<std::u16string> paths = Paths(results_);
  for (const char16_t* folder : {u"Root/First big folder", u"Root/Second big folder", u"Root/Small folder"}) {
    EXPECT_TRUE(Contains(paths, folder)) << os::ToUtf8(folder);
  }

  // The whole tree ticked, as the top node's check box leaves the list's sets, and saved through the
  // saving dialog; then the same through the engine alone.
  const fs::path byDialog = Scratch("dialog");
  const fs::path byEngine = Scratch("engine");
  TickAll();
  ASSERT_FALSE(list_.saveFolderSet.empty());
  SaveDestination = os::FromUtf8(byDialog.string());
  seams.boxes.Answer(seams::kOk);
  bool ownerDisabled = false;
  bool sawAFile = false;
  harness::ModalScript script;
  script.Step("the dialog is up", [] { return CurrentSave.dialog.load() != nullptr; },
              [&] { ownerDisabled = !frame_.IsWindowEnabled(); })
      .Step("the save ended", SaveEnded, [] {}, kSaveEndMs);
  script.Start();
  SaveProgressDialog dialog(&frame_);
  dialog.DoModal();
  FinishScript(script);
  sawAFile = FilesUnder(byDialog).size() > 3;
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(frame_.IsWindowEnabled());
  EXPECT_FALSE(dialog.Stopped());
  EXPECT_TRUE(sawAFile);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, kSaved);

  TickAll();
  host::RecordingMessages messages;
  host::RecordingSaveProgress progress;
  {
    host::Hosts hosts = host::Current();
    hosts.messages = &messages;
    hosts.saveProgress = &progress;
    host::ScopedHosts engineOnly(hosts);
    SaveDestination = os::FromUtf8(byEngine.string());
    BeginSave();
    SaveSelected();
    ReportSaveResult();
  }
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaved);
  EXPECT_EQ(FilesUnder(byDialog), FilesUnder(byEngine));
}

TEST_F(FileSystemPageTest, StopAnsweredYesShowsTheFoldersReadSoFar) {
  ExtensiveScan(records::kNtfs);
  ClickItem(FindItem(L"NTFS @2048"));
  // The worker waits at its first test of the stop flag until Stop has been answered.
  ScanPauseGate.Close();
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return view_->WorkerRunning() && ButtonShown(IDC_STOP); }, 30000));
  seams.boxes.Answer(seams::kYes);
  const size_t stagesBefore = stages_.size();
  Press(IDC_STOP);
  // The answer selects its stage before the gate opens; the timer's end may follow at once on a loaded
  // machine, so the stage the answer chose is the first after Next's.
  ASSERT_TRUE(harness::WaitUntil([&] { return stages_.size() > stagesBefore; }, 30000));
  ScanPauseGate.Open();
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Do you want to stop file searching ?");
  EXPECT_FALSE(ButtonShown(IDC_STOP));
  EXPECT_FALSE(view_->Form().ProgressBar().IsWindowVisible());
  EXPECT_EQ(stages_[stagesBefore], 3);
  ASSERT_TRUE(harness::WaitUntil([this] { return ReachedResults(); }, 30000));
  // Nothing was read but the top of the tree.
  ASSERT_FALSE(results_.nodes.empty());
  EXPECT_EQ(results_.nodes[0].text, u"Root");
  EXPECT_FALSE(Contains(Paths(results_), u"Root/First big folder"));
}

TEST_F(FileSystemPageTest, StopAnsweredNoReadsOn) {
  ExtensiveScan(records::kNtfs);
  ClickItem(FindItem(L"NTFS @2048"));
  ScanPauseGate.Close();
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return view_->WorkerRunning() && ButtonShown(IDC_STOP); }, 30000));
  seams.boxes.Answer(seams::kNo);
  Press(IDC_STOP);
  EXPECT_TRUE(harness::WaitUntil([&] { return seams.boxes.Log().size() == 1; }, 30000));
  ScanPauseGate.Open();
  EXPECT_EQ(seams.boxes.Log().size(), 1u);
  ASSERT_TRUE(harness::WaitUntil([this] { return ReachedResults(); }, 30000));
  EXPECT_TRUE(Contains(Paths(results_), u"Root/First big folder"));
}

TEST_F(FileSystemPageTest, APageClosedWhileItReadsLetsItsWorkerEnd) {
  ExtensiveScan(records::kNtfs);
  ClickItem(FindItem(L"NTFS @2048"));
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return view_->WorkerRunning(); }, 30000));
  frame_.DestroyWindow();  // the view goes with it, while its worker may be sending to it
  EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
  EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
}

// The saving dialog holds the bar still while the screenshot is taken: the worker waits inside the
// dialog's setter until the test lets it go.
class HeldSaveDialog : public SaveProgressDialog {
 public:
  using SaveProgressDialog::SaveProgressDialog;
  void SetProgressPos(uint32_t position) override {
    SaveProgressDialog::SetProgressPos(position);
    if (position < 40 || held_.exchange(true)) return;
    reached_ = true;
    while (!released_) ::Sleep(5);
  }
  std::atomic<bool> held_{false}, reached_{false}, released_{false};
};

TEST_F(FileSystemPageTest, TheSavingDialogShowsWhatIsBeingSavedAndStopSavingAnsweredYesEndsWithoutTheReport) {
  ReadNtfs();
  TickAll();
  SaveDestination = os::FromUtf8(Scratch("stopped").string());
  HeldSaveDialog dialog(&frame_);
  seams.boxes.Answer(seams::kYes);
  std::wstring path, name;
  bool textBar = false;
  COLORREF barStart = 0;
  harness::ModalScript script;
  script.Step("a file half written", [&] { return dialog.reached_.load(); },
              [&] {
                harness::PumpFor(100);
                path = harness::Text(harness::Control(dialog.GetSafeHwnd(), IDC_SAVE_PATH));
                name = harness::Text(harness::Control(dialog.GetSafeHwnd(), IDC_ITEM_NAME));
                // The bar is the flat two-colour bar with its percentage.
                const HWND bar = harness::Control(dialog.GetSafeHwnd(), IDC_SAVE_PROGRESS);
                CWnd* barWnd = CWnd::FromHandlePermanent(bar);
                textBar = barWnd != nullptr && barWnd->IsKindOf(RUNTIME_CLASS(TextProgressCtrl));
                HDC dc = ::GetDC(bar);
                barStart = ::GetPixel(dc, 2, 3);
                ::ReleaseDC(bar, dc);
                harness::CaptureWindow(dialog.GetSafeHwnd(), "saving");
                // Stop while the worker is held in the setter; the answer comes before it goes on.
                harness::PostCommand(dialog.GetSafeHwnd(), IDOK, BN_CLICKED,
                                     harness::Control(dialog.GetSafeHwnd(), IDOK));
              })
      .Step("asked", [&] { return seams.boxes.Log().size() == 1; }, [&] { dialog.released_ = true; }, 10000)
      .Step("the save ended", SaveEnded, [] {}, kSaveEndMs);
  script.Start();
  dialog.DoModal();
  FinishScript(script);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_FALSE(path.empty());
  EXPECT_FALSE(name.empty());
  EXPECT_TRUE(textBar);
  EXPECT_EQ(barStart, TextProgressCtrl::kBarColour);
  EXPECT_TRUE(dialog.Stopped());
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Do you want to stop the saving process?");
  EXPECT_EQ(SaveAbortFlag.load(), 0u);
  EXPECT_TRUE(frame_.IsWindowEnabled());
}

TEST_F(FileSystemPageTest, ClosingTheSavingDialogIsRefusedWhileItSaves) {
  ReadNtfs();
  TickAll();
  SaveDestination = os::FromUtf8(Scratch("closed").string());
  SaveProgressDialog dialog(&frame_);
  seams.boxes.Answer(seams::kOk);   // "Please Stop the Saving process first."
  seams.boxes.Answer(seams::kOk);   // the end report
  SavePauseGate.Close();
  harness::ModalScript script;
  // Closed once the user sees it: the dialog shows itself when its loop is first idle, which on a loaded
  // machine comes after the script's first tick.
  script.Step("up", [&] { return CurrentSave.dialog.load() != nullptr && dialog.IsWindowVisible(); },
              [&] { dialog.SendMessage(WM_CLOSE); })
      .Step("still up", [] { return true; },
            [&] {
              EXPECT_TRUE(dialog.IsWindowVisible());
              SavePauseGate.Open();
            })
      .Step("the save ended", SaveEnded, [] {}, kSaveEndMs);
  script.Start();
  dialog.DoModal();
  FinishScript(script);
  SavePauseGate.Open();
  EXPECT_TRUE(script.Finished()) << script.Failure();
  ASSERT_EQ(seams.boxes.Log().size(), 2u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Please Stop the Saving process first.");
  EXPECT_EQ(seams.boxes.Log()[1].text, kSaved);
}

// The page made and destroyed in a frame again and again in one process, as a test fixture does: its
// tree, form, splitter, buttons and font must leave nothing behind that a later page trips over.
TEST(FileSystemPageLifetime, ThirtyPagesMadeAndDestroyedInOneProcess) {
  const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
  for (int cycle = 0; cycle < 30; ++cycle) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, frameClass, L"Page 3", WS_POPUP, 40, 40, 900, 600, nullptr, nullptr)) << cycle;
    auto* view = new CFileSystemView;  // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 900, 600}, &frame,
                             AFX_IDW_PANE_FIRST + 3)) << cycle;
    view->UpdateWindow();
    harness::PumpMessages();
    frame.DestroyWindow();
    harness::PumpMessages();
    EXPECT_EQ(::GetObjectType(::GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT)) << cycle;
  }
}

}  // namespace
