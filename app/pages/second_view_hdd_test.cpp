// Page 2 in a real window under Wine, on the generated disks: each recovery mode from Next to the page that
// follows it, with the results the engine gives for the same scan without windows; Stop answered No and
// Yes; Next's refusals; a worker that cannot scan leaving the page idle; the panel's setters from another
// thread while a modal dialog runs. Screenshots page2_quick.png, page2_extensive.png and page2_trace.png
// are taken while the worker is held inside the panel's progress setter.
#include "app/pages/second_view_hdd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/dialogs/file_types_dialog.h"
#include "engine/host/fakes.h"
#include "engine/host/file_system_tree_fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_records.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/file_trace.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/selected_signatures.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/seam_test.h"
#include "platform/os/os.h"
#include "res/resource.h"
#include "app/message_host.h"

namespace {

const std::string kImages = DORVANE_SHARED_IMAGES;
constexpr wchar_t kRawDatFolder[] = L"" DORVANE_RAW_DAT_FOLDER;
const char16_t kAdvice[] =
    u"If you don't find the required file(s) and folder(s) here then please go back \r\nto the first step and select "
    u"Extensive Scan for recovery.";

// The panel as the workers see it, able to hold a worker inside the progress setter (once, at a position of
// at least 1) until the test lets it go: the screenshots show a scan under way.
class HeldPanel : public host::SecondDisplayHost {
 public:
  explicit HeldPanel(CSecondDisplay* panel) : panel_(panel) {}
  void SetProgressPos(uint32_t position) override {
    panel_->SetProgressPos(position);
    if (!armed || position < 1 || held.exchange(true)) return;
    reached = true;
    while (!released) ::Sleep(5);
  }
  void SetStatusText(const std::u16string& text) override { panel_->SetStatusText(text); }
  void SetCounterLabels() override { panel_->SetCounterLabels(); }
  void ShowProgressBar() override { panel_->ShowProgressBar(); }
  void HideProgressBar() override { panel_->HideProgressBar(); }
  void ShowStatusText() override { panel_->ShowStatusText(); }
  void HideStatusText() override { panel_->HideStatusText(); }
  void SetRowValue(host::SecondDisplayRow row, const std::u16string& text) override { panel_->SetRowValue(row, text); }

  std::atomic<bool> armed{false}, held{false}, reached{false}, released{false};

 private:
  CSecondDisplay* panel_;
};

class TestScanPage : public CSecondView_HDD {
 public:
  HeldPanel held{&Panel()};

 protected:
  host::SecondDisplayHost* ProgressHost() override { return &held; }
};

std::vector<std::u16string> Paths(const host::RecordingResultTree& tree) {
  std::vector<std::u16string> paths;
  for (host::TreeKey key = 1; key <= tree.nodes.size(); ++key) paths.push_back(tree.Path(key));
  return paths;
}

bool Contains(const std::vector<std::u16string>& list, const std::u16string& item) {
  for (const auto& entry : list) {
    if (entry == item) return true;
  }
  return false;
}

class ScanPageTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    harness::SeamTest::SetUp();
    saved_ = host::Current();
    const wchar_t* frameClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(frame_.CreateEx(0, frameClass, L"Page 2", WS_POPUP | WS_VISIBLE, 20, 20, 960, 640, nullptr, nullptr));
    page_ = new TestScanPage;
    ASSERT_TRUE(page_->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 960, 640), &frame_,
                              AFX_IDW_PANE_FIRST));
    ScanPageLinks links;
    links.showPage = [this](int page) { pagesShown_.push_back(page); };
    links.selectStage = [this](int stage) { stages_.push_back(stage); };
    links.setScanFinished = [this](bool finished) { scanFinished_ = finished; };
    links.selectedPartition = [this] { return selected_; };
    links.programFolder = [] { return CString(kRawDatFolder); };
    // Page 3's tree stands in as the engine's recording tree (page 3 has its own tests).
    links.fileSystemTree = [this]() -> host::FileSystemTreeHost* { return &fileSystems_; };
    links.fileSystemTreeEmpty = [this] { return fileSystems_.nodes.size() == 1; };
    links.setFileSystemNote = [this](const CString& note) { fileSystemNote_ = note; };
    links.summaryText = [this] { return summary_; };
    links.setSummaryText = [this](const CString& text) { summary_ = text; };
    page_->SetLinks(links);

    msgbox::InstallProgramMessages(frame_.GetSafeHwnd());
    host::Hosts& hosts = host::Current();
    hosts.resultTree = &results_;
    hosts.resultList = &list_;
    harness::PumpFor(50);
  }

  void TearDown() override {
    page_->held.released = true;
    ScanPauseGate.Open();
    harness::WaitUntil([this] { return !page_->WorkerRunning(); }, 30000);
    harness::PumpFor(100);
    msgbox::RemoveProgramMessages();
    frame_.DestroyWindow();
    harness::PumpMessages();
    host::Current() = saved_;
    FreeExtensiveScanLists();
    FreeScanRecordLists();
    FreeFileTraceSignatureList();
    SetCurrentDiskImage(nullptr);
    SourceKind = kSourceNothing;
    ScanRange = ScanRangeRecord{};
    harness::SeamTest::TearDown();
  }

  // The image opened as page 0 opens it, its partitions read as page 1 reads them.
  void Open(const std::string& name) {
    const bool vhdx = name.find(".vhdx") != std::string::npos;
    image_.CreateReader(vhdx ? kImageVhdx : kImageVhd);
    ASSERT_EQ(image_.Open(os::FromUtf8(kImages + "/" + name)), 1) << name << ": run the native images fixture";
    ImageFormat = vhdx ? 1 : 0;
    SourceKind = kSourceDisk;
    SetCurrentDiskImage(&image_);
    DetectPartitions(0);
    // The tree as the partition search leaves it.
    host::SourceTreeHost& tree = page_->SourceTree();
    for (uint32_t i = 0; i < PartitionCount.load(); ++i) {
      tree.AddFoundPartition(u"Virtual Hard Disk ", u"Partition " + os::FromAscii(std::to_string(i)));
    }
    tree.ExpandRoot();
  }

  // The partition chosen in the tree, as page 1's selection leaves it for page 2.
  void ChoosePartition(int index) {
    ScanRange = ScanRangeOfPartition(static_cast<uint32_t>(index));
    selected_ = index;
    page_->Panel().ShowPartitionInfo(index);
  }

  // The whole disk for an Extensive Scan of a file system, as page 1's Next sets it (its end not yet known
  // on a VHDX).
  void ChooseWholeDisk(uint16_t code) {
    ScanRange = ScanRangeRecord{};
    ScanRange.fileSystemCode = code;
    selected_ = -1;
    RecoveryMode = records::kExtensiveScan;
    page_->PrepareForPartitionSearch();
    page_->EnterAfterSearch();
    page_->Panel().FileSystemList().SetCurSel(code == records::kNtfs ? 0 : code == records::kFat32 ? 1 : 2);
  }

  void Press(UINT id) {
    HWND button = page_->Button(id).GetSafeHwnd();
    harness::PostCommand(page_->GetSafeHwnd(), static_cast<int>(id), BN_CLICKED, button);
  }

  bool Reached(int page) const { return !pagesShown_.empty() && pagesShown_.back() == page; }
  bool Shown(UINT id) { return page_->Button(id).IsWindowVisible() != FALSE; }
  // The worker, started with the gate closed, waits at its first test of the stop flag: a Stop pressed now
  // finds it running, whatever the machine's load.
  bool HeldAtTheGate() { return page_->WorkerRunning() && Shown(IDC_STOP) && ScanPauseGate.Waiting() > 0; }

  // Waits for the held worker, takes the screenshot and lets the worker go on.
  void ScreenshotMidScan(const char* name) {
    ASSERT_TRUE(harness::WaitUntil([this] { return page_->held.reached.load(); }, 30000)) << name;
    EXPECT_TRUE(page_->WorkerRunning());
    EXPECT_FALSE(Shown(IDC_NEXT));
    EXPECT_TRUE(page_->Panel().ProgressBar().IsWindowVisible());
    frame_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    harness::PumpFor(200);
    EXPECT_FALSE(harness::CaptureWindow(frame_.GetSafeHwnd(), name).empty());
    page_->held.released = true;
  }

  // The same scan by the engine alone, with recording windows: the tree of results it builds.
  std::vector<std::u16string> EngineAlone(uint32_t (*scan)(), std::vector<std::wstring>* fileSystemItems = nullptr) {
    host::RecordingResultTree tree;
    host::RecordingResultList list;
    host::RecordingSecondDisplay panel;
    host::RecordingScanPage page;
    host::RecordingMessages messages;
    host::RecordingFileSystemTree fileSystems;
    host::Hosts hosts;
    hosts.resultTree = &tree;
    hosts.resultList = &list;
    hosts.secondDisplay = &panel;
    hosts.scanPage = &page;
    hosts.messages = &messages;
    hosts.fileSystemTree = &fileSystems;
    host::ScopedHosts engineOnly(hosts);
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    std::thread worker([scan] { scan(); });
    worker.join();
    if (fileSystemItems != nullptr) {
      for (const auto& node : fileSystems.nodes) fileSystemItems->push_back(std::wstring(node.text.begin(), node.text.end()));
    }
    return Paths(tree);
  }

  // The Extensive Scan of the same range by the engine alone lists the same file systems.
  void ExpectTheEngineAloneFinds(const std::vector<std::wstring>& items) {
    FreeExtensiveScanLists();
    std::vector<std::wstring> alone;
    EngineAlone(ExtensiveScanThread, &alone);
    EXPECT_EQ(items, alone);
  }

  std::vector<std::wstring> FileSystemItems() {
    std::vector<std::wstring> texts;
    for (const auto& node : fileSystems_.nodes) texts.push_back(std::wstring(node.text.begin(), node.text.end()));
    return texts;
  }

  DiskImage image_;
  CWnd frame_;
  TestScanPage* page_ = nullptr;            // deletes itself with its window
  host::RecordingFileSystemTree fileSystems_;
  host::Hosts saved_;
  host::RecordingResultTree results_;
  host::RecordingResultList list_;
  std::vector<int> pagesShown_;
  std::vector<int> stages_;
  bool scanFinished_ = true;
  int selected_ = -2;
  CString summary_;
  CString fileSystemNote_;
};

// ---- Quick Scan --------------------------------------------------------------------------------------------

struct QuickCase {
  const char* image;
  int partition;
  uint16_t code;
  const char16_t* folder;  // a folder the volume holds
};

class QuickScanPageTest : public ScanPageTest, public ::testing::WithParamInterface<QuickCase> {};

TEST_P(QuickScanPageTest, NextScansThePartitionAndShowsTheEnginesResultsOnPage4) {
  const QuickCase& c = GetParam();
  Open(c.image);
  RecoveryMode = records::kQuickScan;
  ChoosePartition(c.partition);
  ASSERT_EQ(ScanRange.fileSystemCode, c.code);
  const bool screenshot = c.code == records::kNtfs && std::string(c.image).find(".vhdx") == std::string::npos;
  page_->held.armed = screenshot;
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  if (screenshot) ScreenshotMidScan("page2_quick");
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(4); }, 60000));
  EXPECT_EQ(page_->Panel().Title(), CString(L"Searching for lost data. Please wait..."));
  EXPECT_EQ(summary_, CString(L"Selected Mode : Quick Scan \r\nDrive Type        : Virtual Hard Disk"));
  // The scan has ended: a partition picked in the tree from now on sets the range the next Next scans.
  EXPECT_TRUE(scanFinished_);
  ASSERT_FALSE(stages_.empty());
  EXPECT_EQ(stages_.back(), 3);
  EXPECT_FALSE(page_->Busy());
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, kAdvice);
  const std::vector<std::u16string> shown = Paths(results_);
  EXPECT_TRUE(Contains(shown, std::u16string(u"Root/") + c.folder)) << os::ToUtf8(c.folder);

  FreeScanRecordLists();
  EXPECT_EQ(shown, EngineAlone(QuickScanThread));
}

INSTANTIATE_TEST_SUITE_P(
    Disks, QuickScanPageTest,
    ::testing::Values(QuickCase{"mbr_primary.fixed.vhd", 0, records::kFat16, u"Documents/Reports"},
                      QuickCase{"mbr_primary.fixed.vhd", 1, records::kFat32, u"Documents/Reports"},
                      QuickCase{"mbr_primary.fixed.vhd", 2, records::kNtfs, u"Documents/Reports"},
                      QuickCase{"mbr_primary.8m.vhdx", 0, records::kFat16, u"Photos"},
                      QuickCase{"mbr_primary.8m.vhdx", 2, records::kNtfs, u"Documents/Reports"}));

TEST_F(ScanPageTest, AQuickScanThatFindsNoPartitionParametersLeavesThePageIdleWithoutMovingOn) {
  Open("mbr_primary.fixed.vhd");
  RecoveryMode = records::kQuickScan;
  // The blank Linux partition at 247808 taken for NTFS: no boot sector and nothing the search accepts.
  ScanRange = ScanRangeRecord{};
  ScanRange.fileSystemCode = records::kNtfs;
  ScanRange.startSector = 247808;
  ScanRange.sectorCount = 2048;
  selected_ = 3;
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return seams.boxes.Log().size() == 1 && !page_->WorkerRunning(); }, 30000));
  harness::PumpFor(2500);  // two ticks of the timer, had it not gone
  EXPECT_EQ(seams.boxes.Log()[0].text, kPartitionParametersNotFound);
  EXPECT_TRUE(pagesShown_.empty());
  EXPECT_TRUE(Shown(IDC_NEXT));
  EXPECT_TRUE(Shown(IDC_BACK));
  EXPECT_FALSE(Shown(IDC_STOP));
  EXPECT_FALSE(page_->Panel().ProgressBar().IsWindowVisible());
  EXPECT_TRUE(page_->SourceTree().IsWindowEnabled());
  // Idle as before Next: the prompt instead of the searching line, no Hide Progress, and the scan counted
  // as ended so that another partition can be picked.
  EXPECT_EQ(page_->Panel().Title(),
            CString(L"Please Select a Partition From The Left Panel and press [Next] to continue with recovery."));
  EXPECT_FALSE(page_->Panel().HideProgressButton().IsWindowVisible());
  EXPECT_EQ(harness::Text(page_->Panel().HideProgressButton().m_hWnd), L"Hide Progress");
  EXPECT_TRUE(scanFinished_);
}

// The panel's title line is black, as its status line.
TEST_F(ScanPageTest, TheTitleLineIsBlackOnWhite) {
  Open("mbr_primary.fixed.vhd");
  CSecondDisplay& panel = page_->Panel();
  const auto colourOf = [&panel](UINT id) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    const HWND control = ::GetDlgItem(panel.m_hWnd, static_cast<int>(id));
    panel.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const COLORREF text = ::GetTextColor(dc);
    ::DeleteDC(dc);
    return text;
  };
  EXPECT_EQ(colourOf(IDC_TITLE_LINE), RGB(0, 0, 0));
}

TEST_F(ScanPageTest, TheSplitterHoldingTreeAndPanelHasABorder) {
  Open("mbr_primary.fixed.vhd");
  CWnd* splitter = page_->SourceTree().GetParent();
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(page_->Panel().GetParent(), splitter);
  EXPECT_NE(splitter->GetStyle() & WS_BORDER, 0u);
}

TEST_F(ScanPageTest, NextWithoutAPartitionAsksForOneAndStartsNothing) {
  Open("mbr_primary.fixed.vhd");
  RecoveryMode = records::kQuickScan;
  selected_ = -1;
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  harness::PumpFor(100);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"Please select the partition that you want to recover \r\nfrom the left panel and click [Next].");
  EXPECT_FALSE(page_->WorkerRunning());
  EXPECT_TRUE(Shown(IDC_NEXT));
}

// Tab from the tree highlights Next, then Back, then gives the tree the focus again; Enter presses the
// highlighted Next (here refused: no partition is chosen), which then shows plain again.
TEST_F(ScanPageTest, TabHighlightsNextAndBackInTurnAndEnterPressesNext) {
  Open("mbr_primary.fixed.vhd");
  RecoveryMode = records::kQuickScan;
  selected_ = -1;
  CTreeCtrl& tree = page_->SourceTree();
  CRect row;
  tree.GetItemRect(tree.GetRootItem(), row, TRUE);
  const CPoint centre = row.CenterPoint();
  harness::Click(tree.m_hWnd, POINT{centre.x, centre.y});
  ASSERT_EQ(::GetFocus(), tree.m_hWnd);
  const auto pushed = [this](UINT id) { return (page_->Button(id).SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; };
  const auto focusIsTree = [&tree] { return ::GetFocus() == tree.m_hWnd; };
  std::vector<std::string> steps;
  for (int step = 0; step < 4; ++step) {
    harness::PressKey(::GetFocus(), VK_TAB);
    steps.push_back(std::to_string(pushed(IDC_NEXT)) + std::to_string(pushed(IDC_BACK)) +
                    std::to_string(focusIsTree()));
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"100", "010", "001", "100"}));
  seams.boxes.Answer(seams::kOk);
  harness::PressKey(::GetFocus(), VK_RETURN);
  harness::PumpFor(100);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"Please select the partition that you want to recover \r\nfrom the left panel and click [Next].");
  EXPECT_FALSE(pushed(IDC_NEXT));
}

// "Hide Progress" clicked while a scan runs: the button offers "Show Progress" and the scan goes on to its end
// without touching the counters (the bar and the status of each phase are still shown); a second click
// offers "Hide Progress" again.
TEST_F(ScanPageTest, HideProgressLeavesThePanelAsItWasWhileTheScanGoesOn) {
  Open("mbr_primary.fixed.vhd");
  RecoveryMode = records::kQuickScan;
  ChoosePartition(2);
  page_->held.armed = true;
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return page_->held.reached.load(); }, 30000));
  CSecondDisplay& panel = page_->Panel();
  CWnd& button = panel.HideProgressButton();
  ASSERT_TRUE(button.IsWindowVisible());
  harness::ClickCentre(button.m_hWnd);
  EXPECT_EQ(harness::Text(button.m_hWnd), L"Show Progress");
  EXPECT_EQ(ShowScanProgress.load(), 0u);
  harness::PumpFor(100);
  std::vector<CString> before;
  for (int row = 0; row < CSecondDisplay::kRows; ++row) before.push_back(panel.RowValue(row));
  page_->held.released = true;
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(4); }, 60000));
  for (int row = 0; row < CSecondDisplay::kRows; ++row) EXPECT_EQ(panel.RowValue(row), before[row]) << row;
  // The scan itself went to its end.
  EXPECT_FALSE(Paths(results_).empty());
  harness::ClickCentre(button.m_hWnd);
  EXPECT_EQ(ShowScanProgress.load(), 1u);
  EXPECT_EQ(harness::Text(button.m_hWnd), L"Hide Progress");
}

// ---- Extensive Scan --------------------------------------------------------------------------------------

TEST_F(ScanPageTest, AnExtensiveScanOfAVhdReadsTheTypedRangeAndListsTheFileSystemsOnPage3) {
  Open("mbr_primary.fixed.vhd");
  ChooseWholeDisk(records::kNtfs);
  EXPECT_TRUE(page_->Panel().StartEdit().IsWindowVisible());
  EXPECT_TRUE(page_->Panel().FileSystemList().IsWindowVisible());
  page_->Panel().StartEdit().SetWindowText(L"200000");
  page_->Panel().EndEdit().SetWindowText(L"262143");
  page_->held.armed = true;
  Press(IDC_NEXT);
  ScreenshotMidScan("page2_extensive");
  EXPECT_EQ(ScanRange.startSector, 200000u);
  EXPECT_EQ(ScanRange.endSector, 262143u);
  EXPECT_EQ(ScanRange.sectorCount, 62144u);
  EXPECT_FALSE(page_->Panel().FileSystemList().IsWindowVisible());
  EXPECT_EQ(page_->Panel().RowCaption(1), CString(L"Index Entries Found   :"));
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(3); }, 120000));
  // Page 3 lists file systems, no file's results yet: the results stage, whose flag an Extensive Scan's
  // commands do not read.
  ASSERT_FALSE(stages_.empty());
  EXPECT_EQ(stages_.back(), 3);
  EXPECT_EQ(summary_, CString(L"Selected Mode : Extensive Scan \r\nDrive Type        : Virtual Hard Disk"));
  EXPECT_EQ(BootSectorPassDone.load(), 0u);
  EXPECT_EQ(ShowScanProgress.load(), 1u);
  EXPECT_FALSE(page_->Panel().HideProgressButton().IsWindowVisible());
  const std::vector<std::wstring> items = FileSystemItems();
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[1], L"NTFS @215040");
  EXPECT_TRUE(seams.boxes.Log().empty());
  ExpectTheEngineAloneFinds(items);
}

TEST_F(ScanPageTest, AnExtensiveScanOfAVhdxTakesItsSizeAsTheEnd) {
  Open("mbr_primary.8m.vhdx");
  ChooseWholeDisk(records::kFat32);
  // The range fields stay hidden on a VHDX.
  EXPECT_FALSE(page_->Panel().StartEdit().IsWindowVisible());
  EXPECT_TRUE(page_->Panel().FileSystemList().IsWindowVisible());
  page_->Panel().StartEdit().SetWindowText(L"0");
  page_->Panel().EndEdit().SetWindowText(L"");
  ScanRange.endSector = 0;
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(3); }, 120000));
  EXPECT_EQ(ScanRange.fileSystemCode, records::kFat32);
  EXPECT_EQ(ScanRange.startSector, 0u);
  EXPECT_EQ(ScanRange.sectorCount, static_cast<uint32_t>(image_.GetDiskSize() / 512));
  EXPECT_EQ(ScanRange.endSector, ScanRange.sectorCount - 1);
  const std::vector<std::wstring> items = FileSystemItems();
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[0], L"File System");
  ExpectTheEngineAloneFinds(items);
}

TEST_F(ScanPageTest, ARangeWithNothingInItEndsWithTheUnableToIdentifyReport) {
  Open("mbr_primary.fixed.vhd");
  ChooseWholeDisk(records::kNtfs);
  // The blank partition: no NTFS record in it.
  page_->Panel().StartEdit().SetWindowText(L"247808");
  page_->Panel().EndEdit().SetWindowText(L"249855");
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(3) && seams.boxes.Log().size() == 1; }, 60000));
  EXPECT_EQ(fileSystemNote_, CString(L"Dorvane was unable to identify a file system in the selected sector range."));
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"Dorvane was unable to identify a file system in the selected sector range.\r\nPlease make sure that you "
            u"made appropriate selections on the previous step.\r\nPlease go back to the previous step and select "
            u"VHD \\ VHDX for full scan.");
}

TEST_F(ScanPageTest, BadSectorFieldsAreRefusedAndNothingStarts) {
  Open("mbr_primary.fixed.vhd");
  ChooseWholeDisk(records::kNtfs);
  struct Case {
    const wchar_t *start, *end;
    const char16_t* message;
  };
  for (const Case& c : {Case{L"100", L"100", u"End sector should be bigger than start sector"},
                        Case{L"", L"100", u"Start sector value is not valid, It should be a positive number"},
                        Case{L"4294967296", L"4294967300",
                             u"Start sector 4294967296 lies past sector 4294967295. \r\nDorvane scans only the first "
                             u"2 TiB of a disk (sectors 0 to 4294967295)."}}) {
    seams.boxes.Answer(seams::kOk);
    page_->Panel().StartEdit().SetWindowText(c.start);
    page_->Panel().EndEdit().SetWindowText(c.end);
    Press(IDC_NEXT);
    harness::PumpFor(100);
    ASSERT_FALSE(seams.boxes.Log().empty());
    EXPECT_EQ(seams.boxes.Log().back().text, c.message);
    EXPECT_FALSE(page_->WorkerRunning());
    EXPECT_TRUE(Shown(IDC_NEXT));
  }
}

// A partition past sector 2^32 - 1 (here the 2.2 TiB NTFS volume of a GPT disk, as the partition search lists it)
// is shown as the table holds it, and Next refuses it by name at once: nothing starts.
TEST_F(ScanPageTest, APartitionPastTheEnginesReachIsShownWholeAndRefusedByName) {
  Open("mbr_primary.8m.vhdx");
  RecoveryMode = records::kQuickScan;
  ASSERT_TRUE(AppendPartition({2048, 4823449598, records::kNtfs}));
  ChoosePartition(static_cast<int>(PartitionsInUse() - 1));
  CSecondDisplay& panel = page_->Panel();
  EXPECT_EQ(panel.RowValue(1), CString(L"2048"));
  EXPECT_EQ(panel.RowValue(2), CString(L"4823451645"));
  EXPECT_EQ(panel.RowValue(3), CString(L"2355199 MB (Approx)"));
  seams.boxes.Answer(seams::kOk);
  Press(IDC_NEXT);
  harness::PumpFor(100);
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"The NTFS volume at sector 2048 holds 4823449598 sectors (2355199 MB), up to sector 4823451645. \r\n"
            u"Dorvane reads volumes that lie within the first 2 TiB of a disk (sectors 0 to 4294967295): this volume "
            u"cannot be scanned.");
  EXPECT_FALSE(page_->WorkerRunning());
  EXPECT_TRUE(Shown(IDC_NEXT));
}

// ---- File Trace ------------------------------------------------------------------------------------------

TEST_F(ScanPageTest, AFileTraceAsksForTheTypesFirstThenShowsTheHitsOnPage4) {
  Open("carving.fixed.vhd");
  RecoveryMode = records::kFileTrace;
  ScanRange = ScanRangeRecord{};
  ScanRange.fileSystemCode = records::kFat32;
  ScanRange.sectorCount = static_cast<uint32_t>(image_.GetDiskSize() / 512);
  ScanRange.endSector = ScanRange.sectorCount - 1;
  selected_ = 0;
  page_->held.armed = true;
  harness::ModalScript script;
  script.OnWindow(L"File Types", [](HWND window) { harness::PostCommand(window, IDOK); });
  script.Start();
  Press(IDC_NEXT);
  ScreenshotMidScan("page2_trace");
  EXPECT_TRUE(script.Finished()) << script.Failure();
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(4); }, 60000))
      << (seams.boxes.Log().empty() ? std::string("no box") : os::ToUtf8(seams.boxes.Log()[0].text)) << " running "
      << page_->WorkerRunning() << " flags " << int(ScanThreadControl.runningFlag) << int(ScanThreadControl.stopFlag)
      << " stop " << Shown(IDC_STOP) << " pages " << pagesShown_.size() << " hits " << FileTraceHitList.size() << " status " << os::ToUtf8(page_->Panel().StatusText().ToUtf16())
      << " pos " << page_->Panel().ProgressBar().GetPos() << " reached " << page_->held.reached << " held " << page_->held.held;
  EXPECT_EQ(summary_, CString(L"Selected Mode : File Trace \r\nDrive Type        : Virtual Hard Disk"));
  EXPECT_EQ(stages_.back(), 3);
  EXPECT_TRUE(seams.boxes.Log().empty());
  const std::vector<std::u16string> shown = Paths(results_);
  EXPECT_FALSE(FileTraceHitList.empty());
  EXPECT_GT(shown.size(), 1u);
  FreeScanRecordLists();
  EXPECT_EQ(shown, EngineAlone(FileTraceThread));
}

TEST_F(ScanPageTest, AFileTraceWhoseTypesAreCancelledStartsNothing) {
  Open("carving.fixed.vhd");
  RecoveryMode = records::kFileTrace;
  selected_ = 0;
  harness::ModalScript script;
  script.OnWindow(L"File Types", [](HWND window) { harness::PostCommand(window, IDCANCEL); });
  script.Start();
  Press(IDC_NEXT);
  EXPECT_TRUE(harness::WaitUntil([&script] { return script.Finished() || !script.Failure().empty(); }) &&
              script.Finished())
      << script.Failure();
  EXPECT_FALSE(page_->WorkerRunning());
  EXPECT_TRUE(Shown(IDC_NEXT));
  EXPECT_TRUE(pagesShown_.empty());
}

// ---- Stop ------------------------------------------------------------------------------------------------

TEST_F(ScanPageTest, StopAnsweredNoScansOnAndYesEndsWithWhatWasFound) {
  Open("mbr_primary.fixed.vhd");
  RecoveryMode = records::kQuickScan;
  ChoosePartition(2);
  // No: the worker, held at its gate while the question is up, goes on to the whole tree.
  ScanPauseGate.Close();
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return HeldAtTheGate(); })) << "the worker never waited at its gate";
  // The answers go in before Stop: once the question is answered the worker may end and the page show its
  // advice at any moment.
  seams.boxes.Answer(seams::kNo);
  seams.boxes.Answer(seams::kOk);  // the advice
  Press(IDC_STOP);
  harness::PumpFor(100);
  ScanPauseGate.Open();
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(4); }, 60000));
  ASSERT_EQ(seams.boxes.Log().size(), 2u);
  EXPECT_EQ(seams.boxes.Log()[0].text,
            u"Do you want to stop file searching? This may result in incomplete \r\nrecovery and you will need to "
            u"restart the process again.");
  const size_t whole = results_.nodes.size();
  EXPECT_TRUE(Contains(Paths(results_), u"Root/Documents/Reports"));

  // Yes: the worker stops at its next test and the page still moves on with what was found.
  page_->RestoreBeforeScan();
  pagesShown_.clear();
  results_.nodes.clear();
  FreeScanRecordLists();
  ScanPauseGate.Close();
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return HeldAtTheGate(); })) << "the worker never waited at its gate";
  seams.boxes.Answer(seams::kYes);
  seams.boxes.Answer(seams::kOk);  // the advice, which may come as soon as Yes opens the gate
  Press(IDC_STOP);
  EXPECT_FALSE(Shown(IDC_STOP));
  EXPECT_FALSE(page_->Panel().HideProgressButton().IsWindowVisible());
  EXPECT_TRUE(page_->Panel().StatusLine().IsWindowVisible());
  ScanPauseGate.Open();
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(4); }, 60000));
  EXPECT_LT(results_.nodes.size(), whole);
}

TEST_F(ScanPageTest, StopAnsweredYesDuringAnExtensiveScanGoesToPage3) {
  Open("mbr_primary.fixed.vhd");
  ChooseWholeDisk(records::kNtfs);
  page_->Panel().StartEdit().SetWindowText(L"0");
  page_->Panel().EndEdit().SetWindowText(L"262143");
  ScanPauseGate.Close();
  Press(IDC_NEXT);
  ASSERT_TRUE(harness::WaitUntil([this] { return HeldAtTheGate(); })) << "the worker never waited at its gate";
  seams.boxes.Answer(seams::kYes);
  seams.boxes.Answer(seams::kOk);  // nothing was found before the stop
  Press(IDC_STOP);
  ScanPauseGate.Open();
  ASSERT_TRUE(harness::WaitUntil([this] { return Reached(3); }, 60000));
  harness::PumpFor(100);
  EXPECT_EQ(seams.boxes.Log().size(), 2u);
}

// ---- the panel from another thread -----------------------------------------------------------------------

TEST_F(ScanPageTest, SettersFromAWorkerUpdateThePanelWhileAModalDialogRuns) {
  CSecondDisplay& panel = page_->Panel();
  panel.SetCounterLabels();
  panel.ShowProgressBar();
  panel.ShowStatusText();
  std::atomic<bool> done{false};
  std::thread worker;
  harness::ModalScript script;
  script.OnWindow(L"File Types", [&](HWND) {
         worker = std::thread([&] {
           for (uint32_t i = 0; i <= 100; ++i) {
             panel.SetProgressPos(i);
             panel.SetRowValue(host::kCurrentSectorRow, u"Sector " + std::u16string(1, u'0' + i % 10));
             panel.SetStatusText(u"Reading Sector " + std::u16string(1, u'0' + i % 10) + u" Of 9");
           }
           done = true;
         });
       })
      .Step("the worker is through", [&] { return done.load(); },
            [&] { harness::PostCommand(::GetActiveWindow(), IDCANCEL); }, 20000);
  script.Start();
  FileTypesDialog dialog(kRawDatFolder, page_);
  dialog.DoModal();
  if (worker.joinable()) worker.join();
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(panel.ProgressBar().GetPos(), 100);
  EXPECT_EQ(panel.RowValue(2), CString(L"Sector 0"));
  EXPECT_EQ(panel.StatusText(), CString(L"Reading Sector 0 Of 9"));
  EXPECT_EQ(panel.RowCaption(0), CString(L"Folder(s) Found  :"));
}

}  // namespace
