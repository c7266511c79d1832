// Pages 0 and 1 in the real application, in a process of this test program with scripted seams: each
// scenario starts the application once, in a child process of its own (this program started again with
// the scenario in DORVANE_SOURCE_SCENARIO), drives the pages on generated images and writes what it saw,
// one line each, to the file in DORVANE_SOURCE_REPORT. The tests read those lines.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/ex_style_app.h"
#include "app/instance_mutex.h"
#include "app/main_frame.h"
#include "app/pages/ex_style_view.h"
#include "app/pages/first_view_hdd.h"
#include "app/pages/second_view_hdd.h"
#include "app/pages/source_wizard.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "engine/image/source_values.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/quick_scan.h"
#include "platform/harness/child_scenario.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "res/resource.h"

CEx_StyleApp theApp;

namespace {

// Passes each box on to the scripted boxes, keeping the fill of its background.
class FillRecorder : public seams::MessageBoxSeam {
 public:
  explicit FillRecorder(seams::MessageBoxSeam& inner) : inner_(inner) { previous_ = seams::InstallMessageBoxes(this); }
  ~FillRecorder() override { seams::InstallMessageBoxes(previous_); }
  int Show(const seams::MessageBoxRequest& request) override {
    fills.push_back(request.backgroundFill);
    return inner_.Show(request);
  }
  std::vector<int32_t> fills;

 private:
  seams::MessageBoxSeam& inner_;
  seams::MessageBoxSeam* previous_ = nullptr;
};

std::string Utf8(const CString& text) { return os::ToUtf8(text.ToUtf16()); }

std::u16string Image(const std::string& name) { return os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/" + name); }

// ---- the child's side ------------------------------------------------------------------------------

int ListColumns() {
  auto* page = static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]);
  HWND header = page != nullptr ? ListView_GetHeader(page->ResultList().m_hWnd) : nullptr;
  return header != nullptr ? Header_GetItemCount(header) : -1;
}

CEx_StyleView* Page0() { return static_cast<CEx_StyleView*>(theApp.PageViews[kPageImage]); }
CFirstView_HDD* Page1() { return static_cast<CFirstView_HDD*>(theApp.PageViews[kPageSource]); }

void Click(CWnd* page, UINT id) { page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Page 2's tree, as the scan page holds it; made here when the scan page has none of its own yet.
SourceTreeCtrl g_scanTree;
HWND ScanTree() {
  SourceTreeCtrl* tree = source::Wizard()->ScanTree();
  if (tree == nullptr) {
    g_scanTree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                      CRect(5, 45, 300, 400), theApp.PageViews[kPageScan], IDC_SOURCE_TREE);
    g_scanTree.LoadImages();
    tree = &g_scanTree;
  }
  return tree->m_hWnd;
}

void ReportTree(harness::ScenarioReport& report, const std::string& key, HWND tree) {
  for (const harness::TreeNode& node : harness::TreeNodes(tree)) {
    std::string line = std::to_string(node.depth) + " " + os::ToUtf8(std::u16string(node.text.begin(), node.text.end()));
    if (node.selected) line += " (selected)";
    if (node.stateImage == 2) line += " (checked)";
    if (node.bold) line += " (bold)";
    report.Line(key, line);
  }
}

void ReportPage1(harness::ScenarioReport& report) {
  CFirstView_HDD* page = Page1();
  ReportTree(report, "tree", page->Tree().m_hWnd);
  for (int row = 0; row < CFirstDisplay::kRows; ++row) {
    report.Line("value" + std::to_string(row), Utf8(page->Panel().ValueText(row)));
  }
  CPieChart& pie = page->Panel().Pie();
  for (int i = 0; i < pie.GetSliceCount(); ++i) {
    report.Line("slice", Utf8(pie.GetSlice(i)->m_strDescription) + " " + std::to_string(pie.GetSlice(i)->m_nPercent));
  }
  report.Line("pie_shown", page->Panel().PieShown());
  std::string modeText = Utf8(SelectedModeText);
  for (size_t at = modeText.find("\r\n"); at != std::string::npos; at = modeText.find("\r\n", at)) {
    modeText.replace(at, 2, "\\r\\n");
  }
  report.Line("mode_text", modeText);
  report.Line("source_kind", SourceKind.load());
  report.Line("selected", theApp.GetMainFrame()->SelectedPartition);
}

// Page 1's panel, tree and buttons as they stand.
// Shown by its own style, whether its page shows or not.
int Shown(CWnd& window) { return (window.GetStyle() & WS_VISIBLE) != 0 ? 1 : 0; }

void ReportSourceControls(harness::ScenarioReport& report, const std::string& when) {
  CFirstView_HDD* page = Page1();
  CFirstDisplay& panel = page->Panel();
  report.Line(when + "_bar", std::to_string(Shown(panel.Progress())) + " " +
                                 std::to_string(panel.Progress().SendMessage(PBM_GETPOS)));
  report.Line(when + "_status", Utf8(panel.StatusText()));
  report.Line(when + "_tree_enabled", page->Tree().IsWindowEnabled());
  std::string buttons;
  for (UINT id : {IDC_NEXT, IDC_BACK, IDC_HOME, IDC_STOP}) {
    buttons += std::to_string(Shown(page->Button(id))) + std::to_string(page->Button(id).IsWindowEnabled());
  }
  report.Line(when + "_buttons", buttons);  // Next, Back, Home, Stop: shown and enabled
}

// The preview's clearing asked of the results list, and carried out when page 4 paints its list.
void ReportPreviewClear(harness::ScenarioReport& report) {
  auto* results = static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]);
  report.Line("preview_clear_pending", results->ResultList().PreviewClearPending());
  const UINT shown = theApp.CurrentPage;
  theApp.SwitchView(kPageResults);
  results->ResultList().UpdateWindow();
  report.Line("preview_clear_pending_after_paint", results->ResultList().PreviewClearPending());
  report.Line("last_preview_after_paint", os::ToUtf8(LastPreview.text));
  theApp.SwitchView(shown);
}

// Next, then pumping until page 2 shows (the timer moves on once the worker has ended).
void NextToPage2(harness::ScenarioReport& report, harness::ModalScript* choice) {
  if (choice != nullptr) choice->Start();
  Click(Page1(), IDC_NEXT);
  report.Line("stop_shown", Page1()->Button(IDC_STOP).IsWindowVisible());
  report.Line("next_shown", Page1()->Button(IDC_NEXT).IsWindowVisible());
  report.Line("reached_page2", harness::WaitUntil([] { return theApp.CurrentPage == kPageScan; }, 60000));
  report.Line("worker_running", Page1()->WorkerRunning());
  report.Line("status", Utf8(Page1()->Panel().StatusText()));
  report.Line("partitions", PartitionCount.load());
  report.Line("stage_scan", theApp.GetMainFrame()->AtScanStage);
  ReportTree(report, "scan_tree", ScanTree());
}

// Pixels of the description line that are clearly red, as page 0 shows it now.
int RedDescriptionPixels() {
  CEx_StyleView* page = Page0();
  page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect client;
  page->GetClientRect(client);
  const int x = client.Width() / 2;
  const int y = client.Height() / 2;
  HDC dc = ::GetDC(page->m_hWnd);
  int red = 0;
  for (int px = x - 380; px < x + 360; px += 2) {
    for (int py = y + 140; py < y + 162; ++py) {
      const COLORREF c = ::GetPixel(dc, px, py);
      if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
    }
  }
  ::ReleaseDC(page->m_hWnd, dc);
  return red;
}

// The mouse resting on a mode button and leaving it again.
void RunHover(harness::ScenarioReport& report) {
  report.Line("red_before", RedDescriptionPixels() > 0);
  for (UINT id : {IDC_QUICK_SCAN, IDC_FILE_TRACE, IDC_EXTENSIVE_SCAN}) {
    CWnd& button = Page0()->ModeButton(id);
    button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    report.Line("hovered", ui::HoveredModeButton);
    report.Line("red_hovered", RedDescriptionPixels() > 0);
    button.SendMessage(WM_MOUSELEAVE);
  }
  report.Line("hovered_after", ui::HoveredModeButton);
  report.Line("red_after", RedDescriptionPixels() > 0);
}

// Drive Information opened from the frame: each label and value on a line named line.
void ReadDriveInformation(harness::ScenarioReport& report, const std::string& line, const char* shot) {
  harness::ModalScript script;
  script.OnWindow(L"Drive Information", [&](HWND dialog) {
    for (int i = 0; i < 8; ++i) {
      const std::wstring label = harness::Text(harness::Control(dialog, IDC_DRIVE_LABEL_1 + i));
      const std::wstring value = harness::Text(harness::Control(dialog, IDC_DRIVE_VALUE_1 + i));
      report.Line(line, os::ToUtf8(std::u16string(label.begin(), label.end())) + " " +
                            os::ToUtf8(std::u16string(value.begin(), value.end())));
    }
    if (shot != nullptr) report.Line("screenshot_info", !harness::CaptureWindow(dialog, shot).empty());
    harness::PostCommand(dialog, IDOK);
  });
  script.Start();
  theApp.GetMainFrame()->SendMessage(WM_COMMAND, ID_DRIVE_INFORMATION);
  report.Line("script", script.Finished() ? "done" : script.Failure());
}

void RunDriveInformation(harness::ScenarioReport& report) {
  // A Quick Scan of the first partition (FAT16) run here, as page 2 runs it on its worker.
  ScanRange = ScanRangeOfPartition(0);
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  report.Line("quick_scan", QuickScanThread());
  ReadDriveInformation(report, "info", "drive_info");
  // Page 0 again and File Trace chosen: no trace has read a file system yet.
  theApp.SwitchView(kPageImage);
  Click(Page0(), IDC_FILE_TRACE);
  harness::PumpMessages();
  report.Line("trace_mode", RecoveryMode);
  ReadDriveInformation(report, "trace_info", nullptr);
}

// Keys pressed on the control that has the focus, carried through the program's own message loop (its
// pre-translation included) as the running program does.
void PressOnFocus(UINT key) {
  const HWND focus = ::GetFocus();
  const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  ::PostMessageW(focus, WM_KEYDOWN, key, down);
  ::PostMessageW(focus, WM_KEYUP, key, down | (1 << 30) | (1u << 31));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) theApp.PumpMessage();
  harness::PumpMessages();
}

std::string FocusName() {
  const HWND focus = ::GetFocus();
  if (focus == Page1()->Tree().m_hWnd) return "tree";
  if (focus == Page1()->Button(IDC_NEXT).m_hWnd) return "next";
  if (focus == Page1()->Button(IDC_BACK).m_hWnd) return "back";
  return "other";
}

std::vector<COLORREF> ButtonPixels(UINT id) {
  CWnd& button = Page1()->Button(id);
  button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect client;
  button.GetClientRect(client);
  return harness::ClientPixels(button.m_hWnd, client);
}

// Tab from the tree through Next, Back and the tree again; Enter on the highlighted Next.
void RunKeys(harness::ScenarioReport& report) {
  CFirstView_HDD* page = Page1();
  CTreeCtrl& tree = page->Tree();
  CRect row;
  tree.GetItemRect(tree.GetSelectedItem(), row, TRUE);
  const CPoint centre = row.CenterPoint();
  harness::Click(tree.m_hWnd, POINT{centre.x, centre.y});
  report.Line("focus", FocusName());
  const std::vector<COLORREF> nextPlain = ButtonPixels(IDC_NEXT);
  const std::vector<COLORREF> backPlain = ButtonPixels(IDC_BACK);
  for (int step = 0; step < 4; ++step) {
    PressOnFocus(VK_TAB);
    const bool nextPushed = (page->Button(IDC_NEXT).SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    const bool backPushed = (page->Button(IDC_BACK).SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    report.Line("tab", FocusName() + " next_pushed=" + std::to_string(nextPushed) +
                           " back_pushed=" + std::to_string(backPushed) +
                           " next_drawn_lit=" + std::to_string(ButtonPixels(IDC_NEXT) != nextPlain) +
                           " back_drawn_lit=" + std::to_string(ButtonPixels(IDC_BACK) != backPlain));
  }
  harness::ModalScript choice;
  choice.OnWindow(L"Please Select", [](HWND dialog) { harness::PostCommand(dialog, IDOK); }, 20000);
  choice.Start();
  PressOnFocus(VK_RETURN);
  report.Line("reached_page2", harness::WaitUntil([] { return theApp.CurrentPage == kPageScan; }, 60000));
  report.Line("choice", choice.Finished() ? "done" : choice.Failure());
}

// A click on the item of the tree with that text, as the user picks it.
bool ClickItem(HWND tree, const std::wstring& text) {
  std::vector<HTREEITEM> open{TreeView_GetRoot(tree)};
  while (!open.empty()) {
    HTREEITEM item = open.back();
    open.pop_back();
    if (item == nullptr) continue;
    wchar_t buffer[128] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = 128;
    TreeView_GetItem(tree, &data);
    if (text == buffer) {
      RECT row{};
      TreeView_GetItemRect(tree, item, &row, TRUE);
      harness::Click(tree, POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
      harness::PumpMessages();
      return true;
    }
    open.push_back(TreeView_GetNextSibling(tree, item));
    open.push_back(TreeView_GetChild(tree, item));
  }
  return false;
}

CSecondView_HDD* Page2() { return static_cast<CSecondView_HDD*>(theApp.PageViews[kPageScan]); }
CThirdView_HDD* Page4() { return static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]); }

// Page 1's Next, Back from page 2, Next again: the search runs as the first time. Then Back again with
// "Physical Devices" picked: Next names what is missing and changes nothing.
void RunNextAgain(harness::ScenarioReport& report) {
  CMainFrame* frame = theApp.GetMainFrame();
  for (int round = 0; round < 2; ++round) {
    harness::ModalScript choice;
    choice.OnWindow(L"Please Select", [](HWND dialog) { harness::PostCommand(dialog, IDOK); }, 20000);
    choice.Start();
    Click(Page1(), IDC_NEXT);
    report.Line("reached_page2", harness::WaitUntil([] { return theApp.CurrentPage == kPageScan; }, 60000));
    report.Line("choice", choice.Finished() ? "done" : choice.Failure());
    // A partition picked on page 2 writes the frame's selection too.
    report.Line("picked", ClickItem(ScanTree(), L"Partition 1"));
    harness::ClickCentre(Page2()->Button(IDC_BACK).m_hWnd);
    harness::PumpMessages();
    report.Line("back_page", theApp.CurrentPage);
  }
  report.Line("picked_devices", ClickItem(Page1()->Tree().m_hWnd, L"Physical Devices"));
  report.Line("load_before", frame->SnapshotLoadEnabled);
  Click(Page1(), IDC_NEXT);
  harness::PumpFor(300);
  report.Line("devices_page", theApp.CurrentPage);
  report.Line("devices_worker", Page1()->WorkerRunning());
  report.Line("load_after", frame->SnapshotLoadEnabled);
}

// Waits for page 4 after page 2's Next and notes the range the scan read.
void ScanToResults(harness::ScenarioReport& report) {
  Click(Page2(), IDC_NEXT);
  const bool reached = harness::WaitUntil(
      [] { return theApp.CurrentPage == kPageResults && !Page2()->WorkerRunning() && !Page2()->Busy(); }, 60000);
  harness::PumpFor(700);
  report.Line("results", reached);
  report.Line("scan_start", ScanRange.startSector);
}

// A Quick Scan of partition 0, Back from page 4, partition 1 picked, Next: the second scan reads partition 1.
void RunRescan(harness::ScenarioReport& report) {
  harness::ModalScript choice;
  choice.OnWindow(L"Please Select", [](HWND dialog) { harness::PostCommand(dialog, IDOK); }, 20000);
  choice.Start();
  Click(Page1(), IDC_NEXT);
  report.Line("reached_page2", harness::WaitUntil([] { return theApp.CurrentPage == kPageScan; }, 60000));
  for (int partition = 0; partition < 2; ++partition) {
    report.Line("partition_start", PartitionTable[partition].firstSector);
    const std::wstring name = L"Partition " + std::to_wstring(partition);
    report.Line("picked", ClickItem(ScanTree(), name));
    ScanToResults(report);
    harness::ClickCentre(Page4()->Button(IDC_BACK).m_hWnd);
    harness::PumpMessages();
    report.Line("back_page", theApp.CurrentPage);
  }
}

// ---- image files as users bring them ------------------------------------------------------------------

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

// The file offset of a VHDX's Logical Sector Size value, by its region and metadata tables; 0 when not found.
size_t LogicalSectorSizeAt(const std::vector<uint8_t>& file) {
  static const uint8_t kMetadata[] = {0x06, 0xA2, 0x7C, 0x8B, 0x90, 0x47, 0x9A, 0x4B,
                                      0xB8, 0xFE, 0x57, 0x5F, 0x05, 0x0F, 0x88, 0x6E};
  static const uint8_t kSectorSize[] = {0x1D, 0xBF, 0x41, 0x81, 0x6F, 0xA9, 0x09, 0x47,
                                        0xBA, 0x47, 0xF2, 0x33, 0xA8, 0xFA, 0xAB, 0x5F};
  const size_t regions = 0x30000;
  for (uint32_t i = 0; i < Le32(file, regions + 8) && i < 2047; ++i) {
    const size_t entry = regions + 16 + 32 * size_t{i};
    if (std::memcmp(&file[entry], kMetadata, 16) != 0) continue;
    const size_t metadata = Le32(file, entry + 16);  // below 4 GiB in these images
    for (uint32_t k = 0; k < static_cast<uint32_t>(file[metadata + 10] | file[metadata + 11] << 8); ++k) {
      const size_t item = metadata + 32 + 32 * size_t{k};
      if (std::memcmp(&file[item], kSectorSize, 16) == 0) return metadata + Le32(file, item + 16);
    }
  }
  return 0;
}

// A copy of the shared image under a name of the temporary folder, changed by change; its path.
std::u16string CopiedImage(const std::string& image, const wchar_t* name,
                           const std::function<void(std::vector<uint8_t>&)>& change) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring copy = std::wstring(folder) + name;
  os::File from;
  uint64_t size = 0;
  std::vector<uint8_t> bytes;
  uint32_t got = 0;
  if (from.OpenRead(Image(image)) && from.Size(&size)) {
    bytes.resize(static_cast<size_t>(size));
    from.Read(bytes.data(), static_cast<uint32_t>(size), &got);
  }
  if (change) change(bytes);
  const std::u16string path(copy.begin(), copy.end());
  os::File to;
  if (to.OpenWrite(path)) to.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return path;
}

// The copies the image scenarios open: the image's bytes say what it is, whatever its name.
std::u16string ImageOfScenario(const std::string& name, const std::string& image) {
  if (name == "capitals") return CopiedImage(image, L"DORVANE DISK.VHD", nullptr);
  if (name == "vhdx-named-vhd") return CopiedImage(image, L"DORVANE DISK.vhd", nullptr);
  if (name == "log-unread") {
    // Both headers damaged: whether the log holds changes cannot be known.
    return CopiedImage(image, L"DORVANE LOG.vhdx", [](std::vector<uint8_t>& b) {
      b[0x10000 + 100] ^= 0xFF;
      b[0x20000 + 100] ^= 0xFF;
    });
  }
  if (name == "sectors-4k") {
    return CopiedImage(image, L"DORVANE 4K.vhdx", [](std::vector<uint8_t>& b) {
      if (const size_t at = LogicalSectorSizeAt(b)) b[at + 1] = 0x10;  // 512 -> 4096
    });
  }
  return Image(image);
}

int RunScenario(const std::string& name, harness::ScenarioReport& report) {
  harness::ScopedSeams seams;
  static std::wstring commandLine;
  commandLine.clear();
  theApp.SetStartup(::GetModuleHandleW(nullptr), &commandLine[0], SW_SHOW);
  theApp.InitApplication();
  CreateInstanceMutex();
  const std::string image = harness::EnvironmentText("DORVANE_SOURCE_IMAGE");
  // The Browse that ends the start-up gets the image; of several chosen files the last one counts.
  if (name == "page0") {
    seams.dialogs.Choose({Image("fat16.fixed.vhd"), Image(image)});
  } else if (!image.empty()) {
    seams.dialogs.Choose({ImageOfScenario(name, image)});
  }
  if (!theApp.InitInstance()) return 1;
  CMainFrame* frame = theApp.GetMainFrame();
  frame->MoveWindow(0, 0, 1000, 720);
  ScanTree();
  harness::PumpMessages();
  report.Line("path", Utf8([] {
    CString text;
    Page0()->PathBox().GetWindowText(text);
    return text;
  }()));
  if (name == "page0") {
    report.Line("screenshot", !harness::CaptureWindow(frame->m_hWnd, "page0").empty());
    // Browse and the path box are the toolkit's own controls: the themed, owner-drawn button and the edit.
    HWND browse = ::GetDlgItem(Page0()->m_hWnd, IDC_BROWSE);
    CWnd* button = CWnd::FromHandlePermanent(browse);
    report.Line("toolkit_browse", button != nullptr && button->IsKindOf(RUNTIME_CLASS(CTKButton)) &&
                                      (::GetWindowLongW(browse, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
    report.Line("toolkit_path", Page0()->PathBox().IsKindOf(RUNTIME_CLASS(CTKEdit)));
    RunHover(report);
  }

  const UINT mode = name == "extensive" || name == "stop" ? IDC_EXTENSIVE_SCAN : IDC_QUICK_SCAN;
  Click(Page0(), mode);
  harness::PumpMessages();
  report.Line("page", theApp.CurrentPage);
  report.Line("stage_source", frame->AtSourceStage);
  report.Line("columns", ListColumns());
  report.Line("mode", RecoveryMode);
  if (theApp.CurrentPage == kPageSource) {
    ReportPage1(report);
    if (name == "page1") {
      report.Line("screenshot", !harness::CaptureWindow(frame->m_hWnd, "page1").empty());
      // The disk panel is pane 0xE901 of the page, inside the splitter, which has a border.
      const HWND splitter = ::GetDlgItem(Page1()->m_hWnd, IDC_SOURCE_SPLITTER);
      report.Line("splitter_border", splitter != nullptr && (::GetWindowLongW(splitter, GWL_STYLE) & WS_BORDER) != 0);
      report.Line("panel_id", Page1()->Panel().GetDlgCtrlID());
    }
  }

  if (name == "next-mbr") {
    // Partitions are known from the table: the search asks whether to use them.
    harness::ModalScript choice;
    choice.OnWindow(L"Please Select", [&report](HWND dialog) {
      report.Line("choice_checked", ::IsDlgButtonChecked(dialog, IDC_USE_EXISTING_PARTITIONS));
      report.Line("screenshot_choice", !harness::CaptureWindow(dialog, "partition_choice").empty());
      harness::PostCommand(dialog, IDOK);
    }, 20000);
    NextToPage2(report, &choice);
    report.Line("choice", choice.Finished() ? "done" : choice.Failure());
  } else if (name == "next-notable" || name == "extensive") {
    NextToPage2(report, nullptr);
    report.Line("range", std::to_string(ScanRange.fileSystemCode) + " " + std::to_string(ScanRange.startSector) +
                             " " + std::to_string(ScanRange.sectorCount));
  } else if (name == "stop" || name == "stop-quick") {
    // Every box of the program has the protocol's background fill.
    FillRecorder fills(seams::MessageBoxes());
    Click(Page1(), IDC_NEXT);
    if (name == "stop") {
      // The search's progress while it runs.
      harness::PumpFor(1500);
      report.Line("screenshot", !harness::CaptureWindow(frame->m_hWnd, "page1_search").empty());
    }
    seams.boxes.Answer(seams::kYes);
    Click(Page1(), IDC_STOP);
    report.Line("stop_flag", ScanThreadControl.stopFlag.load());
    // Quick Scan without partitions advises the Extensive Scan and starts again at page 0.
    harness::WaitUntil([&seams] { return theApp.CurrentPage == kPageScan || seams.boxes.Log().size() >= 2; }, 60000);
    harness::PumpMessages();
    report.Line("page_after", theApp.CurrentPage);
    report.Line("worker_running", Page1()->WorkerRunning());
    for (int32_t fill : fills.fills) report.Line("box_fill", fill);
  } else if (name == "back") {
    // A file the preview was given: Back deletes it and the table forgets it.
    const std::u16string previewed = os::TempFolderPath() + MakePreviewTempName(u"dorvane-back.txt");
    if (FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(previewed.c_str()), L"wb")) {
      std::fputs("preview", file);
      std::fclose(file);
    }
    RememberPreviewTempFile(previewed);
    report.Line("preview_file_before", os::FileExists(previewed));
    LastPreview.text = u"shown before";
    harness::ClickCentre(Page1()->Button(IDC_BACK).m_hWnd);
    harness::PumpMessages();
    report.Line("preview_file_after", os::FileExists(previewed));
    report.Line("preview_table_after", PreviewTempFileTable.size());
    report.Line("page_after", theApp.CurrentPage);
    report.Line("columns_after", ListColumns());
    report.Line("stage_after", frame->AtSourceStage);
    report.Line("source_kind_after", SourceKind.load());
    ReportPreviewClear(report);
    // A mode button again adds the columns once.
    Click(Page0(), IDC_QUICK_SCAN);
    report.Line("columns_again", ListColumns());
  } else if (name == "back-from-scan") {
    // A search, Next, then page 2's Back: page 1 as before its search.
    harness::ModalScript choice;
    choice.OnWindow(L"Please Select", [](HWND dialog) { harness::PostCommand(dialog, IDOK); }, 20000);
    NextToPage2(report, &choice);
    ReportSourceControls(report, "on_page2");
    LastPreview.text = u"shown before";
    auto* scan = static_cast<CSecondView_HDD*>(theApp.PageViews[kPageScan]);
    harness::ClickCentre(scan->Button(IDC_BACK).m_hWnd);
    harness::PumpMessages();
    report.Line("page_after", theApp.CurrentPage);
    ReportSourceControls(report, "back");
    ReportPreviewClear(report);
  } else if (name == "drive-info") {
    RunDriveInformation(report);
  } else if (name == "keys") {
    RunKeys(report);
  } else if (name == "next-again") {
    RunNextAgain(report);
  } else if (name == "rescan") {
    RunRescan(report);
  }
  report.Boxes(seams.boxes);
  return 0;
}

TEST(Scenario, Run) {
  const std::string name = harness::EnvironmentText("DORVANE_SOURCE_SCENARIO");
  if (name.empty()) GTEST_SKIP() << "runs only as a scenario's child process";
  int code = 0;
  {
    harness::ScenarioReport report(harness::EnvironmentText("DORVANE_SOURCE_REPORT"));
    code = RunScenario(name, report);
  }
  ::ExitProcess(static_cast<UINT>(code));
}

// ---- the tests' side -------------------------------------------------------------------------------

using Lines = std::vector<std::string>;
using Outcome = harness::ScenarioOutcome;

Outcome RunChild(const std::string& scenario, const std::string& image) {
  return harness::RunScenarioChild("DORVANE_SOURCE", scenario, {{"DORVANE_SOURCE_IMAGE", image}});
}

TEST(SourcePages, EmptyPathAsksForAnImageAndStays) {
  const Outcome o = RunChild("empty", "");
  EXPECT_TRUE(o.Has("path=")) << o.Text();
  EXPECT_TRUE(o.Has("page=0")) << o.Text();
  EXPECT_TRUE(o.Has("stage_source=1")) << o.Text();
  EXPECT_TRUE(o.Has("columns=0")) << o.Text();
  EXPECT_TRUE(o.Has("box=0 Please select VHD or VHDX file...")) << o.Text();
}

TEST(SourcePages, PageZeroWithTheImageChosen) {
  const Outcome o = RunChild("page0", "mbr_primary.fixed.vhd");
  EXPECT_EQ(o.All("path").size(), 1u);
  EXPECT_NE(o.All("path")[0].find("mbr_primary.fixed.vhd"), std::string::npos) << o.Text();
  EXPECT_TRUE(o.Has("screenshot=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolkit_browse=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolkit_path=1")) << o.Text();
  // The description follows the hovered mode; with none it asks in red for a choice.
  EXPECT_TRUE(o.Has("red_before=1")) << o.Text();
  EXPECT_EQ(o.All("hovered"), (Lines{"1", "2", "3"})) << o.Text();
  EXPECT_EQ(o.All("red_hovered"), (Lines{"0", "0", "0"})) << o.Text();
  EXPECT_TRUE(o.Has("hovered_after=0")) << o.Text();
  EXPECT_TRUE(o.Has("red_after=1")) << o.Text();
}

TEST(SourcePages, VhdOpensPageOneWithItsDiskSelected) {
  const Outcome o = RunChild("page1", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("page=1")) << o.Text();
  EXPECT_TRUE(o.Has("columns=6")) << o.Text();
  EXPECT_TRUE(o.Has("mode=2")) << o.Text();
  EXPECT_EQ(o.All("tree"), (Lines{"0 My Computer", "1 Physical Devices", "2 Virtual Hard Disk 0  (selected)"}))
      << o.Text();
  EXPECT_TRUE(o.Has("selected=1")) << o.Text();
  EXPECT_TRUE(o.Has("source_kind=1")) << o.Text();
  EXPECT_TRUE(o.Has("value0=Virtual Hard Disk")) << o.Text();
  // 247808 + 2048 sectors of the generated disk; the footer's geometry for that size.
  EXPECT_TRUE(o.Has("value1=123 MB (Approx)")) << o.Text();
  EXPECT_TRUE(o.Has("value2=987")) << o.Text();
  EXPECT_TRUE(o.Has("value3=15")) << o.Text();
  EXPECT_TRUE(o.Has("value4=17")) << o.Text();
  // The table names FAT16, FAT32 and NTFS (the Linux partition is not listed).
  const Lines slices = o.All("slice");
  ASSERT_EQ(slices.size(), 4u) << o.Text();
  EXPECT_EQ(slices[0].rfind("FAT16 ", 0), 0u);
  EXPECT_EQ(slices[1].rfind("FAT32 ", 0), 0u);
  EXPECT_EQ(slices[2].rfind("NTFS ", 0), 0u);
  EXPECT_EQ(slices[3].rfind("FREE ", 0), 0u);
  EXPECT_TRUE(o.Has("pie_shown=1")) << o.Text();
  // The mode button writes its own line after the image was listed.
  EXPECT_TRUE(o.Has("mode_text=Selected Mode : Quick Scan")) << o.Text();
  EXPECT_TRUE(o.Has("screenshot=1")) << o.Text();
  EXPECT_TRUE(o.Has("splitter_border=1")) << o.Text();
  EXPECT_TRUE(o.Has("panel_id=" + std::to_string(0xE901))) << o.Text();
}

void DeleteTemporaryCopy(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  ::DeleteFileW((std::wstring(folder) + name).c_str());
}

TEST(SourcePages, AnExtensionInCapitalsStillOpensAsAVhd) {
  const Outcome o = RunChild("capitals", "fat16.fixed.vhd");
  DeleteTemporaryCopy(L"DORVANE DISK.VHD");
  EXPECT_TRUE(o.Has("page=1")) << o.Text();
  EXPECT_TRUE(o.All("box").empty()) << o.Text();
  // The VHD reader gave the footer's geometry (a VHDX has none).
  ASSERT_EQ(o.All("value2").size(), 1u) << o.Text();
  EXPECT_NE(o.All("value2")[0], "") << o.Text();
  EXPECT_NE(o.All("value1")[0].find("MB (Approx)"), std::string::npos) << o.Text();
}

// The file's bytes say what it is: a VHDX named .vhd is read as the VHDX it is (no geometry, its disk's size), and
// its partition table is found on its disk, not in the file's first bytes.
TEST(SourcePages, AVhdxNamedVhdOpensAsTheVhdxItIs) {
  const Outcome o = RunChild("vhdx-named-vhd", "notable.8m.vhdx");
  DeleteTemporaryCopy(L"DORVANE DISK.vhd");
  EXPECT_TRUE(o.Has("page=1")) << o.Text();
  EXPECT_TRUE(o.All("box").empty()) << o.Text();
  EXPECT_TRUE(o.Has("value1=157 MB ")) << o.Text();
  EXPECT_TRUE(o.Has("value2=")) << o.Text();
  EXPECT_TRUE(o.Has("value4=")) << o.Text();
}

// A VHDX whose log cannot be read (both headers damaged: whether it holds the disk's last changes is not known) is
// opened, and the user is told; one of 4096-byte sectors is refused by name, and the page stays.
TEST(SourcePages, WhatAVhdxCannotGiveIsSaidWhenItOpens) {
  const Outcome log = RunChild("log-unread", "notable.8m.vhdx");
  DeleteTemporaryCopy(L"DORVANE LOG.vhdx");
  const Lines boxes = log.All("box");
  ASSERT_EQ(boxes.size(), 1u) << log.Text();
  EXPECT_EQ(boxes[0].rfind("1 The log of ", 0), 0u) << log.Text();
  EXPECT_NE(boxes[0].find("DORVANE LOG.vhdx cannot be read.  If the disk was not closed properly, what was written to "
                          "it last may be missing from the files recovered, or older."),
            std::string::npos)
      << log.Text();
  EXPECT_TRUE(log.Has("page=1")) << log.Text();

  const Outcome large = RunChild("sectors-4k", "notable.8m.vhdx");
  DeleteTemporaryCopy(L"DORVANE 4K.vhdx");
  const Lines refused = large.All("box");
  ASSERT_EQ(refused.size(), 1u) << large.Text();
  EXPECT_NE(refused[0].find("DORVANE 4K.vhdx is a VHDX file of 4096-byte sectors, and only disks of 512-byte sectors "
                            "can be read.  Please select another file to recover."),
            std::string::npos)
      << large.Text();
  EXPECT_TRUE(large.Has("page=0")) << large.Text();
}

TEST(SourcePages, NextOnADiskWithATableListsItsPartitions) {
  const Outcome o = RunChild("next-mbr", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("choice_checked=1")) << o.Text();
  EXPECT_TRUE(o.Has("choice=done")) << o.Text();
  // The partitions of the table were kept: no walk of the disk.
  EXPECT_TRUE(o.Has("status=Please wait...")) << o.Text();
  EXPECT_TRUE(o.Has("stop_shown=1")) << o.Text();
  EXPECT_TRUE(o.Has("next_shown=0")) << o.Text();
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  EXPECT_TRUE(o.Has("worker_running=0")) << o.Text();
  EXPECT_TRUE(o.Has("partitions=3")) << o.Text();
  EXPECT_TRUE(o.Has("stage_scan=1")) << o.Text();
  EXPECT_EQ(o.All("scan_tree"), (Lines{"0 Virtual Hard Disk  (checked) (bold)", "1 Partition 0", "1 Partition 1",
                                       "1 Partition 2"}))
      << o.Text();
}

TEST(SourcePages, NextOnADiskWithoutATableDetectsThenSearches) {
  const Outcome o = RunChild("next-notable", "notable.fixed.vhd");
  EXPECT_TRUE(o.Has("page=1")) << o.Text();
  // Detection on the selection finds no table: the pie is all free.
  EXPECT_EQ(o.All("slice"), (Lines{"FREE 100"})) << o.Text();
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  // With no table the search walked the disk without asking, and found the three volumes.
  EXPECT_TRUE(o.Has("status=Please wait, searching for Partition...")) << o.Text();
  EXPECT_TRUE(o.Has("partitions=3")) << o.Text();
  EXPECT_EQ(o.All("scan_tree"), (Lines{"0 Virtual Hard Disk  (checked) (bold)", "1 Partition 0", "1 Partition 1",
                                       "1 Partition 2"}))
      << o.Text();
  EXPECT_TRUE(o.All("box").empty()) << "partitions were found: no advice\n" << o.Text();
}

TEST(SourcePages, ExtensiveScanTakesTheWholeVhdxDisk) {
  const Outcome o = RunChild("extensive", "notable.8m.vhdx");
  EXPECT_TRUE(o.Has("mode=0")) << o.Text();
  // A VHDX has no geometry; its capacity is its size rounded up to whole MB.
  EXPECT_TRUE(o.Has("value1=157 MB ")) << o.Text();
  EXPECT_TRUE(o.Has("value2=")) << o.Text();
  EXPECT_TRUE(o.Has("value3=")) << o.Text();
  EXPECT_TRUE(o.Has("value4=")) << o.Text();
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  EXPECT_TRUE(o.Has("partitions=3")) << o.Text();
  EXPECT_TRUE(o.Has("range=300 0 321300")) << o.Text();
}

TEST(SourcePages, StopAnsweredYesStillReachesPageTwo) {
  // A VHDX disk's search first moves its bar through for about ten seconds: Stop comes while it runs.
  const Outcome o = RunChild("stop", "notable.8m.vhdx");
  EXPECT_TRUE(o.Has("box=3 Do you want to stop partition searching ?")) << o.Text();
  EXPECT_TRUE(o.Has("stop_flag=1")) << o.Text();
  EXPECT_TRUE(o.Has("page_after=2")) << o.Text();
  EXPECT_TRUE(o.Has("worker_running=0")) << o.Text();

  // In Quick Scan the stopped search found nothing: the advice, then page 0 again.
  const Outcome quick = RunChild("stop-quick", "notable.8m.vhdx");
  EXPECT_TRUE(quick.Has("stop_flag=1")) << quick.Text();
  EXPECT_TRUE(quick.Has("box=1 It is recommended to use extensive scan to recover data.")) << quick.Text();
  EXPECT_TRUE(quick.Has("page_after=0")) << quick.Text();
  EXPECT_EQ(quick.All("box_fill"), (std::vector<std::string>{"12", "12"})) << quick.Text();
}

// Back asked the results list to clear the preview, and its next paint did.
void ExpectPreviewClearedAtNextPaint(const Outcome& o) {
  EXPECT_TRUE(o.Has("preview_clear_pending=1")) << o.Text();
  EXPECT_TRUE(o.Has("preview_clear_pending_after_paint=0")) << o.Text();
  EXPECT_TRUE(o.Has("last_preview_after_paint=")) << o.Text();
}

TEST(SourcePages, BackClearsTheResultColumns) {
  const Outcome o = RunChild("back", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("columns=6")) << o.Text();
  EXPECT_TRUE(o.Has("page_after=0")) << o.Text();
  EXPECT_TRUE(o.Has("columns_after=0")) << o.Text();
  EXPECT_TRUE(o.Has("stage_after=1")) << o.Text();
  EXPECT_TRUE(o.Has("source_kind_after=3")) << o.Text();
  EXPECT_TRUE(o.Has("columns_again=6")) << o.Text();
  EXPECT_TRUE(o.Has("preview_file_before=1")) << o.Text();
  EXPECT_TRUE(o.Has("preview_file_after=0")) << o.Text();
  EXPECT_TRUE(o.Has("preview_table_after=0")) << o.Text();
  ExpectPreviewClearedAtNextPaint(o);
}

TEST(SourcePages, BackFromTheScanPageRestoresPageOneAsBeforeItsSearch) {
  const Outcome o = RunChild("back-from-scan", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  // The search left its bar and status line showing.
  ASSERT_EQ(o.All("on_page2_bar").size(), 1u) << o.Text();
  EXPECT_EQ(o.All("on_page2_bar")[0].rfind("1 ", 0), 0u) << o.Text();
  EXPECT_TRUE(o.Has("page_after=1")) << o.Text();
  EXPECT_TRUE(o.Has("back_bar=0 0")) << o.Text();
  EXPECT_TRUE(o.Has("back_status= Please select the Virtual Hard Disk ( VHD\\VHDX ) that contains data from left "
                    "panel and click [Next] to continue with recovery."))
      << o.Text();
  EXPECT_TRUE(o.Has("back_tree_enabled=1")) << o.Text();
  EXPECT_TRUE(o.Has("back_buttons=11111100")) << o.Text();
  ExpectPreviewClearedAtNextPaint(o);
}

TEST(SourcePages, NextAfterBackFromTheScanPageSearchesAgainAndAsksWithoutADisk) {
  const Outcome o = RunChild("next-again", "mbr_primary.fixed.vhd");
  EXPECT_EQ(o.All("reached_page2"), (Lines{"1", "1"})) << o.Text();
  EXPECT_EQ(o.All("choice"), (Lines{"done", "done"})) << o.Text();
  EXPECT_EQ(o.All("picked"), (Lines{"1", "1"})) << o.Text();
  EXPECT_EQ(o.All("back_page"), (Lines{"1", "1"})) << o.Text();
  // "Physical Devices" picked: Next names what is missing, stays on page 1 and keeps Load enabled.
  for (const char* line : {"picked_devices=1", "devices_page=1", "devices_worker=0", "load_before=1", "load_after=1",
                           "box=2 Please select the drive that contain the lost data \\r\\nfrom the left panel and "
                           "click [Next]."}) {
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.Text();
  }
}

TEST(SourcePages, APartitionPickedAfterAQuickScanIsTheOneTheNextScanReads) {
  const Outcome o = RunChild("rescan", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  EXPECT_EQ(o.All("picked"), (Lines{"1", "1"})) << o.Text();
  EXPECT_EQ(o.All("results"), (Lines{"1", "1"})) << o.Text();
  const Lines starts = o.All("partition_start");
  ASSERT_EQ(starts.size(), 2u) << o.Text();
  EXPECT_NE(starts[0], starts[1]);
  EXPECT_EQ(o.All("scan_start"), starts) << o.Text();
  EXPECT_EQ(o.All("back_page"), (Lines{"2", "2"})) << o.Text();
}

TEST(SourcePages, DriveInformationAfterAQuickScan) {
  const Outcome o = RunChild("drive-info", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("quick_scan=1")) << o.Text();
  EXPECT_TRUE(o.Has("info=File System : FAT16")) << o.Text();
  EXPECT_TRUE(o.Has("info=Start Sector : 2048")) << o.Text();
  EXPECT_TRUE(o.Has("info=MFT Start : N/A")) << o.Text();
  EXPECT_TRUE(o.Has("screenshot_info=1")) << o.Text();
  EXPECT_TRUE(o.Has("script=done")) << o.Text();
  // File Trace chosen afterwards shows nothing of the Quick Scan's file system before its trace.
  EXPECT_TRUE(o.Has("trace_mode=1")) << o.Text();
  EXPECT_TRUE(o.Has("trace_info=File System : ")) << o.Text();
  EXPECT_TRUE(o.Has("trace_info=Start Sector : ")) << o.Text();
  EXPECT_TRUE(o.Has("trace_info=MFT Start : ")) << o.Text();
  EXPECT_EQ(o.All("script"), (Lines{"done", "done"})) << o.Text();
}

TEST(SourcePages, TabHighlightsNextThenBackThenTheTreeAndEnterPressesTheHighlightedButton) {
  const Outcome o = RunChild("keys", "mbr_primary.fixed.vhd");
  EXPECT_TRUE(o.Has("focus=tree")) << o.Text();
  // A highlighted button shows pushed, in its lit picture; the other one plain.
  EXPECT_EQ(o.All("tab"), (Lines{"next next_pushed=1 back_pushed=0 next_drawn_lit=1 back_drawn_lit=0",
                                 "back next_pushed=0 back_pushed=1 next_drawn_lit=0 back_drawn_lit=1",
                                 "tree next_pushed=0 back_pushed=0 next_drawn_lit=0 back_drawn_lit=0",
                                 "next next_pushed=1 back_pushed=0 next_drawn_lit=1 back_drawn_lit=0"}))
      << o.Text();
  EXPECT_TRUE(o.Has("reached_page2=1")) << o.Text();
  EXPECT_TRUE(o.Has("choice=done")) << o.Text();
}

}  // namespace
