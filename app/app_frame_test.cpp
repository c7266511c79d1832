// The application in a process of this test program with scripted seams: each scenario starts the
// application once, in a child process of its own (harness/child_scenario.h, variables DORVANE_APP_...), and
// reports what it saw; the tests read the lines.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_rules.h"
#include "app/ex_style_app.h"
#include "app/instance_mutex.h"
#include "app/main_frame.h"
#include "app/pages/ex_style_view.h"
#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "app/snapshot_open.h"
#include "app/snapshot_test_files.h"
#include "engine/host/host.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "platform/harness/child_scenario.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/classlib/win/ccreatecontext.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "preview/main_preview_view.h"
#include "platform/harness/scripted_seams.h"
#include "platform/os/os.h"
#include "res/resource.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tk_window_pos.h"
#include "toolkit/common/tkp_image_manager.h"
#include "ui/controls/splitter_ctrl.h"
#include "ui/controls/splitter_layout.h"

CEx_StyleApp theApp;

namespace {

using harness::EnvironmentText;
using harness::ScenarioOutcome;
using harness::ScenarioReport;

std::wstring Wide(const std::string& utf8) { return harness::WideFromUtf8(utf8); }

int ListColumns(CEx_StyleApp& app) {
  auto* page = static_cast<CThirdView_HDD*>(app.PageViews[kPageResults]);
  HWND header = page != nullptr ? ListView_GetHeader(page->ResultList().m_hWnd) : nullptr;
  return header != nullptr ? Header_GetItemCount(header) : -1;
}

// A worker as the scans are written: it tests its stop flag between sectors and, as its last act, writes
// running 0 and stop 1.
std::atomic<int> g_workerEnded{0};
void ScanLikeWorker() {
  while (ScanThreadControl.stopFlag.load() == 0) ::Sleep(5);
  ::Sleep(100);  // the pass it was in finishes
  g_workerEnded = 1;
  ScanThreadControl.runningFlag = 0;
  ScanThreadControl.stopFlag = 1;
}

// The size of the main window's stored placement; 0 when none is stored.
long long StoredPositionBytes() {
  BYTE* data = nullptr;
  UINT size = 0;
  theApp.GetProfileBinary(_T("Settings"), _T("Window Position"), &data, &size);
  delete[] data;
  return size;
}

// The command bars' saved layout under the application's key, written as a user (or a damaged disk)
// could leave it: value name and number, by section.
void WriteBarsValues(const std::vector<std::pair<std::wstring, std::pair<std::wstring, DWORD>>>& values) {
  const std::wstring app = std::wstring(L"Software\\Local AppWizard-Generated Applications\\") + theApp.m_pszAppName;
  for (const auto& v : values) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, (app + L"\\" + v.first).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
      continue;
    }
    ::RegSetValueExW(key, v.second.first.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.second.second),
                     sizeof(DWORD));
    ::RegCloseKey(key);
  }
}

// The saved layout goes, so that the scenarios after this one start with the frame's own.
void ForgetBarsLayout() {
  for (const TCHAR* section : {_T("CommandBars-Summary"), _T("CommandBars-Bar0"), _T("CommandBars-Bar1"),
                               _T("CommandBars-DockBar0"),
                               _T("CommandBars-DockBar1"), _T("CommandBars-DockBar2"), _T("CommandBars-DockBar3")}) {
    theApp.WriteProfileString(section, nullptr, nullptr);
  }
}

// Where the standard toolbar stands: shown, and the dock bar it is in (-1 none).
void ReportToolBarPlace(CMainFrame* frame, ScenarioReport& report) {
  CTKPToolBar* bar = frame->StandardToolBar();
  report.Line("toolbar_visible", bar->IsVisible());
  report.Line("toolbar_window", ::IsWindowVisible(bar->m_hWnd));
  report.Line("toolbar_position", bar->GetPosition());
  report.Line("toolbar_docked", bar->GetDockBar() != nullptr);
}

BOOL CALLBACK FindVisibleDialog(HWND hwnd, LPARAM out) {
  wchar_t name[16] = {};
  ::GetClassNameW(hwnd, name, 16);
  if (!::IsWindowVisible(hwnd) || std::wstring(name) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(out) = hwnd;
  return FALSE;
}

// The dialog this thread shows (the platform's file dialog), or null.
HWND ThreadDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Start-up's file dialog shown for real (the platform's): while it is open, the pixels of the frame's toolbar
// as drawn and a picture of the screen; then it is cancelled.
class RealStartDialog : public seams::FileDialogSeam {
 public:
  RealStartDialog() { previous_ = seams::InstallFileDialogs(this); }
  ~RealStartDialog() override { seams::InstallFileDialogs(previous_); }

  seams::FileDialogResult ChooseFiles(const seams::FileDialogRequest& request) override {
    harness::ModalScript script;
    script.Step("open dialog", [] { return ThreadDialog() != nullptr; },
                [this] {
                  HWND dialog = ThreadDialog();
                  strip = TopStrip();
                  labelRowCovered = LabelRowCovered();
                  shot = !harness::CaptureThreadWindows("startup_open_dialog").empty();
                  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                },
                20000);
    script.Start();
    const seams::FileDialogResult result = seams::PlatformFileDialogs().ChooseFiles(request);
    outcome = script.Finished() ? "done" : script.Failure();
    return result;
  }
  std::u16string ChooseFolder(const seams::FolderRequest& request) override { return previous_->ChooseFolder(request); }

  // The frame's client area from its top, as many rows as the toolbar and what follows it need.
  static std::vector<COLORREF> TopStrip() {
    CRect client;
    theApp.GetMainFrame()->GetClientRect(client);
    return harness::ClientPixels(theApp.GetMainFrame()->m_hWnd, RECT{0, 0, client.right, kStripRows});
  }
  static constexpr int kStripRows = 200;

  // How many pixels of the row of the toolbar's labels (its lowest 16 rows) the screen shows otherwise than
  // the frame draws them: what lies over them.
  static int LabelRowCovered() {
    CMainFrame* frame = theApp.GetMainFrame();
    CRect bar;
    frame->StandardToolBar()->GetWindowRect(bar);
    const CRect row(bar.left, bar.bottom - 16, bar.right, bar.bottom);
    const std::vector<uint8_t> screen = harness::ScreenPixels(row.left, row.top, row.Width(), row.Height());
    CRect inFrame = row;
    frame->ScreenToClient(inFrame);
    const std::vector<COLORREF> drawn = harness::ClientPixels(frame->m_hWnd, inFrame);
    if (screen.size() != drawn.size() * 4 || drawn.empty()) return -1;
    int covered = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
      covered += screen[i * 4] != GetRValue(drawn[i]) || screen[i * 4 + 1] != GetGValue(drawn[i]) ||
                 screen[i * 4 + 2] != GetBValue(drawn[i]);
    }
    return covered;
  }

  std::vector<COLORREF> strip;
  int labelRowCovered = -1;
  bool shot = false;
  std::string outcome = "not shown";

 private:
  seams::FileDialogSeam* previous_ = nullptr;
};

// The platform's open dialog shown for real, a name typed into its file name box and OK pressed, as a user
// does; it notes the type list's first entry.
class TypingFileDialog : public seams::FileDialogSeam {
 public:
  explicit TypingFileDialog(std::wstring typed) : typed_(std::move(typed)) { previous_ = seams::InstallFileDialogs(this); }
  ~TypingFileDialog() override { seams::InstallFileDialogs(previous_); }

  seams::FileDialogResult ChooseFiles(const seams::FileDialogRequest& request) override {
    filter = request.filter;
    extension = request.defaultExtension;
    harness::ModalScript script;
    script.Step("open dialog", [] { return ThreadDialog() != nullptr; },
                [this] {
                  HWND dialog = ThreadDialog();
                  HWND types = ::GetDlgItem(dialog, cmb1);
                  wchar_t first[64] = {};
                  if (types != nullptr && ::SendMessageW(types, CB_GETLBTEXTLEN, 0, 0) < 64) {
                    ::SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
                  }
                  typeShown = first;
                  HWND name = ::GetDlgItem(dialog, cmb13);
                  if (name == nullptr) name = ::GetDlgItem(dialog, edt1);
                  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed_.c_str()));
                  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
                },
                20000);
    script.Start();
    const seams::FileDialogResult result = seams::PlatformFileDialogs().ChooseFiles(request);
    outcome = script.Finished() ? "done" : script.Failure();
    if (!result.paths.empty()) chosen = result.paths.back();
    return result;
  }
  std::u16string ChooseFolder(const seams::FolderRequest& request) override { return previous_->ChooseFolder(request); }

  std::wstring typeShown;
  std::u16string chosen, filter, extension;
  std::string outcome = "not shown";

 private:
  std::wstring typed_;
  seams::FileDialogSeam* previous_ = nullptr;
};

// How many pixels of the toolbar's rectangle differ between two pictures of the top strip.
int ToolbarPixelsChanged(const std::vector<COLORREF>& before, const std::vector<COLORREF>& after, const CRect& bar,
                         int width) {
  if (before.size() != after.size() || before.empty()) return -1;
  int changed = 0;
  for (int y = bar.top; y < bar.bottom && y < RealStartDialog::kStripRows; ++y) {
    for (int x = bar.left; x < bar.right && x < width; ++x) {
      const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      changed += before[at] != after[at];
    }
  }
  return changed;
}

// What a timer saw of the progress dialog while a snapshot loaded: it fires only when the load lets the
// window answer.
struct ProgressWatch {
  CMainFrame* frame = nullptr;
  int seen = 0;
  int ownerDisabled = 0;
  std::string lastPercent;
  bool captured = false;
};
ProgressWatch g_watch;

void CALLBACK WatchProgress(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = g_watch.frame != nullptr ? g_watch.frame->ProgressWindow : nullptr;
  if (dialog == nullptr || !::IsWindowVisible(dialog)) return;
  ++g_watch.seen;
  g_watch.ownerDisabled = !::IsWindowEnabled(g_watch.frame->m_hWnd);
  const std::wstring percent = harness::Text(::GetDlgItem(dialog, IDC_PROGRESS_PERCENT));
  g_watch.lastPercent = os::ToUtf8(std::u16string(percent.begin(), percent.end()));
  if (!g_watch.captured) g_watch.captured = !harness::CaptureWindow(dialog, "snapshot_load_progress").empty();
}

// Every host the engine reaches, set (1) or not (0).
void ReportHosts(ScenarioReport& report) {
  const host::Hosts& h = host::Current();
  const std::pair<const char*, const void*> hosts[] = {
      {"messages", h.messages},           {"firstDisplay", h.firstDisplay},     {"sourceTree", h.sourceTree},
      {"partitionChoice", h.partitionChoice}, {"diskTable", h.diskTable},   {"secondDisplay", h.secondDisplay},
      {"scanPage", h.scanPage},           {"resultTree", h.resultTree},         {"resultList", h.resultList},
      {"progressDialog", h.progressDialog}, {"snapshotFrame", h.snapshotFrame}, {"shellFileInfo", h.shellFileInfo},
      {"document", h.document},           {"fileSystemTree", h.fileSystemTree}, {"fileSystemForm", h.fileSystemForm},
      {"fileSystemView", h.fileSystemView}, {"saveProgress", h.saveProgress}};
  for (const auto& host : hosts) report.Line(std::string("host ") + host.first, host.second != nullptr);
}

// What a loaded snapshot leaves: the results commands by the update rules (Recover Selected, Save
// Recovery Snapshot, the three views, File Filters, Find Files, Drive Information), page 4's Back, and the
// stages (source, scan, results, file-system results).
void ReportLoadedState(ScenarioReport& report, CMainFrame* frame, const std::string& prefix) {
  std::string enabled;
  for (uint32_t id : {ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_VIEW_ICONS, ID_VIEW_LIST, ID_VIEW_DETAILS,
                      ID_FILE_FILTERS, ID_FIND_FILES, ID_DRIVE_INFORMATION}) {
    enabled += app::IsCommandEnabled(id, RecoveryMode, frame->CommandState()) ? '1' : '0';
  }
  report.Line(prefix + "_commands", enabled);
  auto* results = static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]);
  CWnd& back = results->Button(IDC_BACK);
  report.Line(prefix + "_back", back.IsWindowVisible() || back.IsWindowEnabled());
  report.Line(prefix + "_stages", std::to_string(frame->AtSourceStage) + std::to_string(frame->AtScanStage) +
                                      std::to_string(frame->ResultsReady) +
                                      std::to_string(frame->FileSystemResultsReady));
  report.Line(prefix + "_page", theApp.CurrentPage);
}

// The Load command, then the same snapshot opened by the shell while page 2 is shown after a scan whose
// results had left page 4's Back showing.
void RunShellLoad(ScenarioReport& report, CMainFrame* frame, harness::ScopedSeams& seams) {
  const std::string path = EnvironmentText("DORVANE_APP_LOAD");
  seams.dialogs.Choose({os::FromUtf8(path)});
  frame->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
  ReportLoadedState(report, frame, "load");
  auto* results = static_cast<CThirdView_HDD*>(theApp.PageViews[kPageResults]);
  results->Button(IDC_BACK).ShowWindow(SW_SHOW);
  results->Button(IDC_BACK).EnableWindow(TRUE);
  theApp.SwitchView(kPageScan);
  frame->AtSourceStage = frame->ResultsReady = frame->FileSystemResultsReady = 0;
  frame->AtScanStage = 1;
  const std::u16string text = u"[open(\"" + os::FromUtf8(path) + u"\")]";
  std::wstring command(text.begin(), text.end());
  report.Line("shell_open", theApp.OnDDECommand(&command[0]));
  ReportLoadedState(report, frame, "shell");
}

// The window's normal place: left, top, right, bottom.
std::string Placed(CMainFrame* frame) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  ::GetWindowPlacement(frame->m_hWnd, &placement);
  const RECT& r = placement.rcNormalPosition;
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// The splitters of a page, as the page made them.
std::vector<SplitterCtrl*> Splitters(CView* page) {
  std::vector<SplitterCtrl*> found;
  std::vector<HWND> children;
  ::EnumChildWindows(page->m_hWnd, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    CWnd* window = CWnd::FromHandlePermanent(child);
    if (window != nullptr && window->IsKindOf(RUNTIME_CLASS(SplitterCtrl))) found.push_back(static_cast<SplitterCtrl*>(window));
  }
  return found;
}

// Every page's splitters: the profile section each keeps its bar in; then the user moves the side-by-side
// bar of each page to a place of its own and the pages go (their bars are written as the windows go): each
// page's section holds its own place.
void RunSplits(ScenarioReport& report) {
  for (UINT number = kPageSource; number < kPageCount; ++number) {
    theApp.SwitchView(number);
    harness::PumpFor(50);
    for (SplitterCtrl* bar : Splitters(theApp.PageViews[number])) {
      const bool vertical = (bar->GetStyle() & SplitterCtrl::kVertical) != 0;
      const UINT id = static_cast<UINT>(bar->GetDlgCtrlID());
      const CString section = vertical ? splitter::VerticalSection(id) : splitter::HorizontalSection(id);
      report.Line("section", std::to_string(number) + " " + os::ToUtf8(section.ToUtf16()));
      if (!vertical) continue;
      theApp.WriteProfileString(section, nullptr, nullptr);
      // Pages 1 to 4 drag their bars to 130, 150, 170 and 190.
      const int from = bar->GetLeftPaneWidth() + splitter::kHalfBar;
      const int to = 110 + 20 * static_cast<int>(number);
      for (UINT message : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}) {
        const int x = message == WM_LBUTTONDOWN ? from : to;
        bar->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 100));
      }
      report.Line("dragged", std::to_string(number) + " " + std::to_string(bar->GetLeftPaneWidth()));
    }
  }
  // Destroyed in page order, as the frame's windows go at the end; then what each page reads at its next start.
  std::vector<std::pair<UINT, UINT>> bars;  // page, splitter id
  for (UINT number = kPageSource; number < kPageCount; ++number) {
    for (SplitterCtrl* bar : Splitters(theApp.PageViews[number])) {
      if ((bar->GetStyle() & SplitterCtrl::kVertical) != 0) bars.emplace_back(number, bar->GetDlgCtrlID());
      bar->DestroyWindow();
    }
  }
  for (const auto& [number, id] : bars) {
    const UINT kept = theApp.GetProfileInt(splitter::VerticalSection(id), splitter::kVerticalValue, -1);
    report.Line("kept", std::to_string(number) + " " + std::to_string(kept));
  }
}

constexpr DWORD kStoredSplit = 800, kStoredPreview = 500;

// The panes of a splitter as it shows them: the first's and the second's width beside a vertical bar
// (height above a horizontal one), and the splitter's client width (height).
std::string ShownPanes(SplitterCtrl* bar) {
  const bool vertical = (bar->GetStyle() & SplitterCtrl::kVertical) != 0;
  std::vector<CRect> panes;
  for (HWND child = ::GetWindow(bar->m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    CRect r;
    ::GetWindowRect(child, r);
    bar->ScreenToClient(r);
    panes.push_back(r);
  }
  std::sort(panes.begin(), panes.end(), [vertical](const CRect& a, const CRect& b) {
    return vertical ? a.left < b.left : a.top < b.top;
  });
  CRect client;
  bar->GetClientRect(client);
  std::string line = std::to_string(bar->GetDlgCtrlID()) + (vertical ? " v" : " h");
  for (const CRect& r : panes) line += " " + std::to_string(vertical ? r.Width() : r.Height());
  return line + " of " + std::to_string(vertical ? client.Width() : client.Height());
}

// The splits stored in a large window, in a window of 760 x 560: every page's panes (page 4's screenshot
// page4_small_split.png); then in a window the size of the screen; then what each splitter keeps.
void RunSmallSplits(CMainFrame* frame, ScenarioReport& report) {
  frame->ShowWindow(SW_RESTORE);
  for (const char* size : {"small", "large"}) {
    if (std::string(size) == "small") {
      frame->MoveWindow(20, 20, 760, 560);
    } else {
      frame->MoveWindow(0, 0, 1280, 1024);
    }
    for (UINT number = kPageSource; number < kPageCount; ++number) {
      theApp.SwitchView(number);
      harness::PumpFor(50);
      for (SplitterCtrl* bar : Splitters(theApp.PageViews[number])) {
        report.Line(std::string(size), std::to_string(number) + " " + ShownPanes(bar));
      }
      if (number + 1 == kPageCount && std::string(size) == "small") {
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        harness::PumpFor(200);
        report.Line("screenshot", !harness::CaptureWindow(frame->m_hWnd, "page4_small_split").empty());
      }
    }
  }
  // The splitters go in the small window, as the frame's windows go at the end (page 4's inner one with its
  // outer one).
  frame->MoveWindow(20, 20, 760, 560);
  std::vector<std::pair<bool, UINT>> bars;  // vertical, id
  for (UINT number = kPageSource; number < kPageCount; ++number) {
    for (SplitterCtrl* bar : Splitters(theApp.PageViews[number])) {
      bars.emplace_back((bar->GetStyle() & SplitterCtrl::kVertical) != 0, static_cast<UINT>(bar->GetDlgCtrlID()));
    }
    for (SplitterCtrl* bar : Splitters(theApp.PageViews[number])) bar->DestroyWindow();
  }
  for (const auto& [vertical, id] : bars) {
    const CString section = vertical ? splitter::VerticalSection(id) : splitter::HorizontalSection(id);
    const UINT kept = theApp.GetProfileInt(section, vertical ? splitter::kVerticalValue : splitter::kHorizontalValue, 0);
    report.Line("kept", std::to_string(id) + " " + std::to_string(kept));
    // The scenarios after this one start with the pages' own splits.
    theApp.WriteProfileString(section, nullptr, nullptr);
  }
}

int RunScenario(const std::string& name, ScenarioReport& report) {
  harness::ScopedSeams seams;
  static std::wstring commandLine;
  commandLine = Wide(EnvironmentText("DORVANE_APP_ARGS"));
  theApp.SetStartup(::GetModuleHandleW(nullptr), &commandLine[0], SW_SHOW);
  theApp.InitApplication();
  CreateInstanceMutex();
  if (name == "second") CreateInstanceMutex();  // as a second copy finds it
  // Start-up ends with page 0 asking for the image: the load scenario cancels it; elsewhere no preset
  // cancels it too.
  if (name == "load" || name == "big-load" || name == "shell-load" || name == "load-typed") {
    seams.dialogs.CancelFiles();
  }
  if (name == "exit-no") seams.boxes.Answer(seams::kNo);
  if (name == "exit-yes" || name == "place-save" || name == "bars-hide") seams.boxes.Answer(seams::kYes);
  if (name == "split-small") {
    // Splits stored while the window was maximised on a large screen: the tree wide on every page, the
    // preview tall below the list of page 4.
    std::vector<std::pair<std::wstring, std::pair<std::wstring, DWORD>>> splits;
    for (UINT id : {IDC_SOURCE_SPLITTER, IDC_SCAN_PAGE_SPLITTER, IDC_FILE_SYSTEMS_SPLITTER, IDC_SCAN_SPLITTER}) {
      splits.push_back({static_cast<LPCTSTR>(splitter::VerticalSection(id)), {splitter::kVerticalValue, kStoredSplit}});
    }
    splits.push_back({static_cast<LPCTSTR>(splitter::HorizontalSection(IDC_INNER_SPLITTER)),
                      {splitter::kHorizontalValue, kStoredPreview}});
    WriteBarsValues(splits);
  }
  if (name == "bars-damaged") {
    // Counts no save writes and a row naming a bar twice, with a record of a bar no program has.
    WriteBarsValues({{L"CommandBars-Summary", {L"Bars", 0x7FFFFFF0}},
                     {L"CommandBars-Bar0", {L"BarID", 0xFFFFFFF9}},
                     {L"CommandBars-Bar0", {L"Visible", 0}},
                     {L"CommandBars-DockBar0", {L"Bars", 0x10000000}}});
  }

  std::unique_ptr<RealStartDialog> realDialog;
  if (name == "start-dialog") {
    // The mouse away from the bars, so that no tool is drawn hot.
    ::SetCursorPos(1270, 1010);
    realDialog = std::make_unique<RealStartDialog>();
  }

  if (name == "excel") {
    // The spreadsheet program's sheet class of one version is there, the other's is not.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      ::RegDeleteTreeW(root, L"Software\\Classes\\Excel.Sheet.8");
      ::RegDeleteTreeW(root, L"Software\\Classes\\Excel.Sheet.12");
    }
    HKEY sheet = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Excel.Sheet.8", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &sheet, nullptr);
    ::RegCloseKey(sheet);
  }

  const BOOL started = theApp.InitInstance();
  report.Line("started", started);
  CMainFrame* frame = theApp.GetMainFrame();
  if (started && frame != nullptr) {
    report.Line("page", theApp.CurrentPage);
    report.Line("columns", ListColumns(theApp));
    report.Line("mode", RecoveryMode);
    report.Line("file_dialogs", static_cast<long long>(seams.dialogs.FileRequests().size()));
    if (name == "snapshot") ReportLoadedState(report, frame, "snapshot");
    if (name == "snapshot") report.Line("placed", Placed(frame));
    report.Line("load_flag", frame->SnapshotLoadEnabled);
    report.Line("open_flag", frame->OpenEnabled);
  }
  int code = 0;
  if (name == "start-dialog") {
    report.Line("dialog", realDialog->outcome);
    report.Line("startup_shot", realDialog->shot);
    report.Line("label_row_covered", realDialog->labelRowCovered);
    // The layout the idle turns and a resize settle on: the toolbar drawn while the dialog was open is the same.
    theApp.OnIdle(0);
    theApp.OnIdle(1);
    CRect placed;
    frame->GetWindowRect(placed);
    frame->MoveWindow(placed.left, placed.top, placed.Width() + 1, placed.Height());
    frame->MoveWindow(placed);
    harness::PumpFor(300);
    CTKPToolBar* bar = frame->StandardToolBar();
    CRect rect;
    bar->GetWindowRect(rect);
    frame->ScreenToClient(rect);
    CRect client;
    frame->GetClientRect(client);
    report.Line("toolbar_pixels_changed",
                ToolbarPixelsChanged(realDialog->strip, RealStartDialog::TopStrip(), rect, client.Width()));
  } else if (name == "frame") {
    // The idle turn sets the bars' states from the update rules, as the loop does.
    theApp.OnIdle(0);
    harness::PumpMessages();
    CTKPToolBar* bar = frame->StandardToolBar();
    int icons = 0;  // the tools whose icon the image manager holds
    for (int i = 0; i < bar->GetControlCount(); ++i) {
      const CTKPControl* control = bar->GetControl(i);
      if (control->IsTemporary()) continue;  // the toolbar's own expand and close buttons
      CString caption = control->GetCaption();
      caption.TrimLeft();  // the strings' second lines start with a space
      report.Line("tool " + os::ToUtf8(caption.ToUtf16()), control->GetEnabled());
      icons += frame->GetCommandBars()->GetImageManager()->GetImage(control->GetID(), 32) != nullptr;
    }
    report.Line("icons", icons);
    report.Line("screenshot", !harness::CaptureWindow(frame->m_hWnd, "main_frame").empty());
    // The program as it starts: menu bar, toolbar with its banner, status bar, page 0.
    report.Line("themed", !harness::CaptureWindow(frame->m_hWnd, "main_frame_themed").empty());
    report.Line("menu_bar", frame->GetCommandBars()->GetMenuBar() != nullptr && ::GetMenu(frame->m_hWnd) == nullptr);
    // The toolkit's hyperlink and caption live with the frame, constructed but never shown.
    report.Line("link_and_caption", frame->HyperLink().m_hWnd == nullptr && frame->Caption().m_hWnd == nullptr &&
                                        frame->HyperLink().GetLinkColor() == RGB(0, 0, 255));
  } else if (name == "load") {
    // A name typed without its extension, then a name that does not exist.
    const std::string typed = EnvironmentText("DORVANE_APP_LOAD");
    seams.dialogs.Choose({os::FromUtf8(typed)});
    seams.dialogs.Choose({os::FromUtf8(typed + "-missing")});
    frame->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
    report.Line("loaded_page", theApp.CurrentPage);
    report.Line("loaded_mode", RecoveryMode);
    report.Line("results_ready", frame->ResultsReady);
    report.Line("loaded_columns", ListColumns(theApp));
    frame->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
  } else if (name == "load-typed") {
    // The real dialog: the snapshot's path typed without its extension.
    TypingFileDialog dialog(Wide(EnvironmentText("DORVANE_APP_LOAD")));
    frame->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
    report.Line("dialog", dialog.outcome);
    report.Line("type_shown", os::ToUtf8(std::u16string(dialog.typeShown.begin(), dialog.typeShown.end())));
    report.Line("chosen", os::ToUtf8(dialog.chosen));
    report.Line("filter", os::ToUtf8(dialog.filter));
    report.Line("extension", os::ToUtf8(dialog.extension));
    report.Line("loaded_page", theApp.CurrentPage);
    report.Line("loaded_mode", RecoveryMode);
  } else if (name == "shell-load") {
    RunShellLoad(report, frame, seams);
  } else if (name == "excel") {
    for (const auto& value : {std::make_pair(HKEY_LOCAL_MACHINE, L"Excel.Sheet.8|EditFlags"),
                              std::make_pair(HKEY_LOCAL_MACHINE, L"Excel.Sheet.8|BrowserFlags"),
                              std::make_pair(HKEY_LOCAL_MACHINE, L"Excel.Sheet.12|BrowserFlags"),
                              std::make_pair(HKEY_CURRENT_USER, L"Excel.Sheet.8|EditFlags"),
                              std::make_pair(HKEY_CURRENT_USER, L"Excel.Sheet.12|BrowserFlags")}) {
      const std::wstring text(value.second);
      const std::wstring key = L"Software\\Classes\\" + text.substr(0, text.find('|'));
      DWORD data = 0, size = sizeof data;
      const bool found = ::RegGetValueW(value.first, key.c_str(), text.substr(text.find('|') + 1).c_str(), RRF_RT_REG_DWORD,
                                        nullptr, &data, &size) == ERROR_SUCCESS;
      HKEY opened = nullptr;
      const bool keyThere = ::RegOpenKeyExW(value.first, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
      if (opened != nullptr) ::RegCloseKey(opened);
      report.Line(std::string(value.first == HKEY_LOCAL_MACHINE ? "machine " : "user ") +
                      os::ToUtf8(std::u16string(text.begin(), text.end())),
                  found ? static_cast<long long>(data) : (keyThere ? -1 : -2));
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Excel.Sheet.8");
  } else if (name == "hosts") {
    ReportHosts(report);
  } else if (name == "big-load") {
    seams.dialogs.Choose({os::FromUtf8(EnvironmentText("DORVANE_APP_LOAD"))});
    g_watch.frame = frame;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, WatchProgress);
    frame->SendMessage(WM_COMMAND, ID_LOAD_SNAPSHOT);
    ::KillTimer(nullptr, timer);
    report.Line("loaded_page", theApp.CurrentPage);
    report.Line("progress_seen", g_watch.seen > 0);
    report.Line("owner_disabled", g_watch.ownerDisabled);
    report.Line("progress_captured", g_watch.captured);
    report.Line("progress_percent_seen", !g_watch.lastPercent.empty());
    report.Line("progress_window_after", frame->ProgressWindow != nullptr);
    report.Line("frame_enabled_after", ::IsWindowEnabled(frame->m_hWnd));
  } else if (name == "snapshot-restart") {
    // Page 1's "use extensive scan" answer starts the wizard again after a snapshot named on the command line.
    seams.boxes.Answer(seams::kOk);
    theApp.RestartWizard();
    report.Line("restart_page", theApp.CurrentPage);
    report.Line("restart_results_ready", frame->ResultsReady);
  } else if (name == "snapshot-open") {
    // Open on the results of a snapshot named on the command line: the image chosen, page 0 shows it.
    const std::u16string image = os::FromUtf8(EnvironmentText("DORVANE_APP_LOAD"));
    seams.dialogs.Choose({image});
    frame->SendMessage(WM_COMMAND, ID_OPEN_IMAGE);
    auto* imagePage = static_cast<CEx_StyleView*>(theApp.PageViews[kPageImage]);
    CString shown;
    imagePage->PathBox().GetWindowText(shown);
    report.Line("open_page", theApp.CurrentPage);
    report.Line("open_path", os::ToUtf8(shown.ToUtf16()));
    report.Line("open_path_visible", ::IsWindowVisible(imagePage->PathBox().m_hWnd));
  } else if (name == "restart") {
    theApp.SwitchView(kPageScan);
    report.Line("before", theApp.CurrentPage);
    theApp.RestartWizard();
    report.Line("after", theApp.CurrentPage);
    report.Line("shown", ::IsWindowVisible(theApp.PageViews[kPageImage]->m_hWnd) &&
                             !::IsWindowVisible(theApp.PageViews[kPageScan]->m_hWnd));
    report.Line("first_view_id", ::GetDlgCtrlID(theApp.PageViews[kPageImage]->m_hWnd));
  } else if (name == "banner") {
    // A click on the banner near the toolbar's right end opens the product's page.
    // (Points of the frame's client area, as the toolbar under the menu bar receives them.)
    CRect client;
    frame->GetClientRect(client);
    MSG click{};
    click.hwnd = frame->StandardToolBar()->m_hWnd;
    click.message = WM_LBUTTONDOWN;
    for (int x : {client.right - 100, client.right - 300}) {  // on the banner, then beside it: nothing
      POINT at{x, 40};
      ::MapWindowPoints(frame->m_hWnd, click.hwnd, &at, 1);
      click.lParam = MAKELPARAM(at.x, at.y);
      frame->PreTranslateMessage(&click);
    }
    for (const auto& executed : seams.shell.Executed()) {
      report.Line("opened", os::ToUtf8(executed.verb) + " " + os::ToUtf8(executed.target));
    }
  } else if (name == "about") {
    harness::ModalScript script;
    script.OnWindow(L"About Dorvane", [&](HWND box) {
      const std::wstring product = harness::Text(::GetDlgItem(box, IDC_ABOUT_PRODUCT));
      report.Line("product", os::ToUtf8(std::u16string(product.begin(), product.end())));
      report.Line("captured", !harness::CaptureWindow(box, "about").empty());
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    script.Start();
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    report.Line("script", script.Finished());
  } else if (name == "preview") {
    // The results page's preview view, as page 4 makes it, shown a file through the frame.
    auto* preview = new CMainPreviewView;
    CCreateContext context;
    context.m_pCurrentDoc = frame->GetActiveDocument();
    preview->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, RECT{0, 0, 200, 100}, theApp.PageViews[kPageResults],
                    0xE901, &context);
    frame->PreviewView = preview;
    frame->ShowPreview(_T("C:\\temp\\tmp3.txt"), _T(".txt"));
    report.Line("preview_path", os::ToUtf8(preview->GetShownPath().ToUtf16()));
    report.Line("preview_extension", os::ToUtf8(preview->GetShownExtension().ToUtf16()));
    report.Line("preview_active", frame->GetActiveView() == preview);
  } else if (name == "recover" || name == "help" || name == "help-missing") {
    // Without the help: a folder where the program and its help are not.
    if (name == "help-missing") wcscpy(ProgramFolder, Wide(os::ToUtf8(os::TempFolderPath())).c_str());
    frame->SendMessage(WM_COMMAND, name == "recover" ? ID_RECOVER_SELECTED : ID_HELP);
    report.Line("folders", static_cast<long long>(seams.dialogs.FolderRequests().size()));
    report.Line("shell", static_cast<long long>(seams.shell.Executed().size()));
    for (const auto& executed : seams.shell.Executed()) {
      report.Line("opened", os::ToUtf8(executed.verb) + " " + os::ToUtf8(executed.target) + " " +
                                std::to_string(executed.show));
    }
    report.Line("program_folder", os::ToUtf8(std::u16string(ProgramFolder, ProgramFolder + wcslen(ProgramFolder))));
  } else if (name == "exit-no") {
    // A file shown in the preview: its temporary file and the record of it.
    const std::u16string temp = os::TempFolderPath() + MakePreviewTempName(u"a.txt");
    { std::ofstream(os::ToUtf8(temp)) << "shown"; }
    RememberPreviewTempFile(temp);
    LastPreview.text = u"c:\\folder\\a.txt";
    LastPreview.id = 7;
    // A slide show's pictures in the thumbnail folder, and a folder of its own there.
    const std::string thumbs = os::ToUtf8(os::TempFolderPath()) + "ssss";
    ::CreateDirectoryW(Wide(thumbs).c_str(), nullptr);
    ::CreateDirectoryW(Wide(thumbs + "\\kept").c_str(), nullptr);
    { std::ofstream(thumbs + "\\slide.jpg") << "picture"; }
    frame->SendMessage(WM_COMMAND, ID_EXIT);
    report.Line("thumb_exists", ::GetFileAttributesW(Wide(thumbs + "\\slide.jpg").c_str()) != INVALID_FILE_ATTRIBUTES);
    report.Line("thumb_subfolder", ::GetFileAttributesW(Wide(thumbs + "\\kept").c_str()) != INVALID_FILE_ATTRIBUTES);
    // The thumbnail folder is the prefix's, shared with other tests: leave nothing of this one's behind.
    ::DeleteFileW(Wide(thumbs + "\\slide.jpg").c_str());
    ::RemoveDirectoryW(Wide(thumbs + "\\kept").c_str());
    ::RemoveDirectoryW(Wide(thumbs).c_str());
    report.Line("temp_exists", ::GetFileAttributesW(Wide(os::ToUtf8(temp)).c_str()) != INVALID_FILE_ATTRIBUTES);
    report.Line("temp_table", static_cast<long long>(PreviewTempFileTable.size()));
    report.Line("last_preview", os::ToUtf8(LastPreview.text) + " " + std::to_string(LastPreview.id));
    MSG quit;
    report.Line("frame", ::IsWindow(frame->m_hWnd) && ::IsWindowVisible(frame->m_hWnd));
    report.Line("quit", ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    report.Line("position", StoredPositionBytes());
  } else if (name == "place-save") {
    // The user moves the window and ends the program.
    frame->ShowWindow(SW_RESTORE);
    frame->MoveWindow(10, 20, 900, 720);
    frame->PostMessage(WM_COMMAND, ID_EXIT);
    code = theApp.Run();
    report.Line("position", StoredPositionBytes());
  } else if (name == "place-read") {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(frame->m_hWnd, &placement);
    const RECT& r = placement.rcNormalPosition;
    report.Line("placed", std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                              std::to_string(r.bottom));
    report.Line("visible", ::IsWindowVisible(frame->m_hWnd));
  } else if (name == "modes") {
    // Each mode with its results shown and a snapshot loadable: the idle turn sets the tools' states.
    frame->ResultsReady = 1;
    frame->FileSystemResultsReady = 1;
    frame->SnapshotLoadEnabled = 1;
    frame->OpenEnabled = 0;
    for (uint32_t mode : {0u, 1u, 2u}) {
      RecoveryMode = mode;
      theApp.OnIdle(0);
      harness::PumpMessages();
      CTKPToolBar* bar = frame->StandardToolBar();
      for (int i = 0; i < bar->GetControlCount(); ++i) {
        const CTKPControl* control = bar->GetControl(i);
        if (control->IsTemporary()) continue;
        report.Line("m" + std::to_string(mode) + " " + std::to_string(control->GetID()), control->GetEnabled());
      }
    }
  } else if (name == "splits") {
    RunSplits(report);
  } else if (name == "split-small") {
    RunSmallSplits(frame, report);
  } else if (name == "shell-invalid") {
    // The window's saved place, then the user moves the running window elsewhere; the shell opens a file
    // that is no snapshot.
    seams.boxes.Answer(seams::kOk);
    frame->ShowWindow(SW_RESTORE);
    frame->MoveWindow(10, 20, 900, 720);
    CTKWindowPos saved;
    saved.SaveWindowPos(frame);
    frame->MoveWindow(60, 70, 950, 730);
    const std::u16string text = u"[open(\"" + os::FromUtf8(EnvironmentText("DORVANE_APP_LOAD")) + u"\")]";
    std::wstring command(text.begin(), text.end());
    report.Line("shell_open", theApp.OnDDECommand(&command[0]));
    report.Line("placed", Placed(frame));
    report.Line("page_after", theApp.CurrentPage);
  } else if (name == "bars-hide") {
    // The user hides the toolbar and ends the program.
    ReportToolBarPlace(frame, report);
    frame->StandardToolBar()->SetVisible(FALSE);
    frame->PostMessage(WM_COMMAND, ID_EXIT);
    code = theApp.Run();
    report.Line("saved_bars", static_cast<long long>(theApp.GetProfileInt(_T("CommandBars-Summary"), _T("Bars"), -1)));
  } else if (name == "bars-read" || name == "bars-damaged") {
    ReportToolBarPlace(frame, report);
    ForgetBarsLayout();
  } else if (name == "exit-yes") {
    // A splitter on page 0 keeps its position in the profile when its window goes.
    const CString section = splitter::VerticalSection(IDC_SOURCE_SPLITTER);
    theApp.WriteProfileString(section, nullptr, nullptr);
    CStatic left, right;
    SplitterCtrl bar;
    left.Create(_T(""), WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, theApp.PageViews[kPageImage], 11);
    right.Create(_T(""), WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, theApp.PageViews[kPageImage], 12);
    bar.Create(WS_CHILD | WS_VISIBLE | SplitterCtrl::kVertical, theApp.PageViews[kPageImage], &left, &right,
               IDC_SOURCE_SPLITTER, RECT{0, 0, 600, 300}, 50, 50);
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    std::thread worker(ScanLikeWorker);
    frame->PostMessage(WM_COMMAND, ID_EXIT);
    code = theApp.Run();
    report.Line("worker_ended", g_workerEnded.load());
    report.Line("running", ScanThreadControl.runningFlag.load());
    report.Line("main_window", theApp.m_pMainWnd != nullptr);
    report.Line("splitter", static_cast<long long>(theApp.GetProfileInt(section, splitter::kVerticalValue, -1)));
    report.Line("position", StoredPositionBytes());
    report.Line("code", code);
    worker.join();
  }
  report.Boxes(seams.boxes);
  return code;
}

TEST(Scenario, Run) {
  const std::string name = EnvironmentText("DORVANE_APP_SCENARIO");
  if (name.empty()) GTEST_SKIP() << "runs only as a scenario's child process";
  int code = 0;
  {
    ScenarioReport report(EnvironmentText("DORVANE_APP_REPORT"));
    code = RunScenario(name, report);
  }
  ::ExitProcess(static_cast<UINT>(code));
}

// ---- the tests' side -------------------------------------------------------------------------------

std::string TempPath(const std::string& name) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring wide(folder);
  return os::ToUtf8(std::u16string(wide.begin(), wide.end())) + name;
}

ScenarioOutcome RunChild(const std::string& scenario, const std::string& args = "") {
  return harness::RunScenarioChild("DORVANE_APP", scenario, {{"DORVANE_APP_ARGS", args}});
}

std::string WriteSnapshot(const std::string& name, const std::string& bytes) {
  const std::string path = TempPath(name);
  ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

// A snapshot of the engine's test data written as a file.
std::string SnapshotFromTestData(const std::string& hexName, const std::string& name) {
  return WriteSnapshot(name, SnapshotBytesFromTestData(hexName));
}

// A Quick Scan snapshot of a FAT volume with the given number of folders under the root (the header and
// parameters of the engine's test snapshot).
std::string BigSnapshot(const std::string& name, uint32_t folders) {
  std::ifstream small(SnapshotFromTestData("quick_fat.vsnp.hex", name), std::ios::binary);
  std::string bytes(80, '\0');
  small.read(&bytes[0], 80);
  small.close();
  auto u16 = [&](uint32_t v) { bytes += static_cast<char>(v & 0xFF); bytes += static_cast<char>(v >> 8 & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  u32(folders);
  for (uint32_t i = 0; i < folders; ++i) {
    const std::string folder = "F" + std::to_string(100000 + i);
    u16(static_cast<uint32_t>(2 * folder.size() + 17));
    for (char c : folder) u16(static_cast<unsigned char>(c));
    u16(0);
    u32(3 + i);           // first cluster
    u32(0);               // parent: the root
    u16(0x5A21);
    u16(0x5A22);
    bytes += '\0';       // present
    u16(0);
  }
  u32(0);  // no entries
  u16(0);  // drive index
  u16(1);  // source kind
  return WriteSnapshot(name, bytes);
}

TEST(Application, SpreadsheetsPreviewInThePaneOnlyWhereTheSpreadsheetProgramIsInstalled) {
  const ScenarioOutcome o = RunChild("excel");
  // Values go into the sheet class that is there; no key is made for the one that is not, nor for the user.
  for (const char* line : {"machine Excel.Sheet.8|EditFlags=65536", "machine Excel.Sheet.8|BrowserFlags=0",
                           "machine Excel.Sheet.12|BrowserFlags=-2", "user Excel.Sheet.8|EditFlags=-2",
                           "user Excel.Sheet.12|BrowserFlags=-2"}) {
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.Text();
  }
}

TEST(Application, TheFrameInstallsEveryHostTheEngineReachesAtAnyTime) {
  const ScenarioOutcome o = RunChild("hosts");
  // The hosts the engine may call at any time; the others stand for a window while it works (the partition
  // search, the reading of a file system, page 3's tree during an Extensive Scan, the saving dialog).
  for (const char* line : {"host messages=1", "host diskTable=1", "host secondDisplay=1", "host scanPage=1",
                           "host resultTree=1", "host resultList=1", "host progressDialog=1", "host snapshotFrame=1",
                           "host shellFileInfo=1", "host document=1"}) {
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.Text();
  }
}

TEST(Application, ALargeSnapshotLoadShowsItsProgressAndKeepsTheWindowAnswering) {
  const std::string file = BigSnapshot("big.vsnp", 3000);
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(file).c_str());
  const ScenarioOutcome o = RunChild("big-load");
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", nullptr);
  for (const char* line : {"loaded_page=4", "progress_seen=1", "owner_disabled=1", "progress_captured=1",
                           "progress_percent_seen=1", "progress_window_after=0", "frame_enabled_after=1"}) {
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.Text();
  }
}

TEST(Application, FrameAtStartEnablesOnlyWhatPageZeroAllows) {
  const ScenarioOutcome o = RunChild("frame");
  EXPECT_TRUE(o.Has("started=1")) << o.Text();
  EXPECT_TRUE(o.Has("page=0")) << o.Text();
  // At start: Open, Settings and Help; the results' commands wait for results, Load for a mode.
  for (const char* line : {"tool Open=1", "tool Recover=0", "tool Save Snapshot=0", "tool Load Snapshot=0",
                           "tool Find=0", "tool Setting=1", "tool Help=1", "icons=7", "screenshot=1", "themed=1",
                           "menu_bar=1", "link_and_caption=1"}) {
    EXPECT_TRUE(o.Has(line)) << line << "\n" << o.Text();
  }
}

// Behind the open dialog of start-up the frame is laid out already, and the dialog leaves the toolbar's labels
// whole.
TEST(Application, TheStartDialogLeavesTheToolbarsLabelsToBeSeen) {
  const ScenarioOutcome o = RunChild("start-dialog");
  EXPECT_TRUE(o.Has("dialog=done")) << o.Text();
  EXPECT_TRUE(o.Has("startup_shot=1")) << o.Text();
  // Laid out as it stays, and the dialog leaves the row of the labels to be seen.
  EXPECT_TRUE(o.Has("toolbar_pixels_changed=0")) << o.Text();
  EXPECT_TRUE(o.Has("label_row_covered=0")) << o.Text();
}

TEST(Application, TheAccessPreviewReadsTheApplicationsDatabaseSettings) {
  EXPECT_EQ(&DatabaseSettings(), static_cast<DatabaseViewSettings*>(&theApp));
  EXPECT_EQ(theApp.m_bShowSystemObjects, 0u);
  EXPECT_EQ(theApp.m_bConfirmDelete, 1u);
  EXPECT_EQ(theApp.m_nMaxRecords, 10000);
}

TEST(Application, AboutBoxShowsTheProduct) {
  const ScenarioOutcome o = RunChild("about");
  EXPECT_TRUE(o.Has("product=Dorvane")) << o.Text();
  EXPECT_TRUE(o.Has("captured=1")) << o.Text();
  EXPECT_TRUE(o.Has("script=1")) << o.Text();
}

TEST(Application, ShowPreviewHandsTheFileToThePreviewView) {
  const ScenarioOutcome o = RunChild("preview");
  EXPECT_TRUE(o.Has("preview_path=C:\\temp\\tmp3.txt")) << o.Text();
  EXPECT_TRUE(o.Has("preview_extension=.txt")) << o.Text();
  EXPECT_TRUE(o.Has("preview_active=1")) << o.Text();
}

TEST(Application, SecondCopyIsRefused) {
  const ScenarioOutcome o = RunChild("second");
  EXPECT_TRUE(o.Has("started=0")) << o.Text();
  EXPECT_TRUE(o.Has("box=0 Another instance of the application is already running.")) << o.Text();
}

TEST(Application, CommandLineSnapshotChoosesTheColumnsByItsLetter) {
  // Each is loaded before any image is open: reads from the source give nothing, and nothing crashes.
  // A read-only snapshot loads: it is only ever opened for reading.
  const std::string quickFile = SnapshotFromTestData("quick_fat.vsnp.hex", "Quick FAT.VSNP");
  ASSERT_TRUE(::SetFileAttributesW(Wide(quickFile).c_str(), FILE_ATTRIBUTE_READONLY));
  const ScenarioOutcome quick = RunChild("snapshot", "\"" + quickFile + "\"");
  EXPECT_TRUE(quick.Has("started=1")) << quick.Text();
  EXPECT_TRUE(quick.Has("columns=6")) << quick.Text();
  EXPECT_TRUE(quick.Has("mode=2")) << quick.Text();
  EXPECT_TRUE(quick.Has("page=4")) << quick.Text();  // its folders come from the snapshot alone

  // An NTFS snapshot needs the source's MFT: without an image it is refused, the image asked for.
  const ScenarioOutcome extensive = RunChild("snapshot", SnapshotFromTestData("extensive_ntfs.vsnp.hex", "ntfs.vsnp"));
  EXPECT_TRUE(extensive.Has("started=1")) << extensive.Text();
  EXPECT_TRUE(extensive.Has("columns=6")) << extensive.Text();
  EXPECT_TRUE(extensive.Has("mode=0")) << extensive.Text();
  EXPECT_TRUE(extensive.Has("box=0 " + os::ToUtf8(kSnapshotImageNeededText))) << extensive.Text();

  const ScenarioOutcome trace = RunChild("snapshot", SnapshotFromTestData("file_trace.vsnp.hex", "trace.vsnp"));
  EXPECT_TRUE(trace.Has("columns=3")) << trace.Text();
  EXPECT_TRUE(trace.Has("mode=1")) << trace.Text();

  const ScenarioOutcome unknown = RunChild("snapshot", WriteSnapshot("unknown.vsnp", std::string("X\0s\0n\0", 6)));
  EXPECT_TRUE(unknown.Has("started=1")) << unknown.Text();
  EXPECT_TRUE(unknown.Has("page=0")) << unknown.Text();
  EXPECT_TRUE(unknown.Has("columns=0")) << unknown.Text();
  EXPECT_TRUE(unknown.Has("box=3 Invalid File.")) << unknown.Text();
  // The program then waits on page 0: no open dialog comes after the message.
  EXPECT_TRUE(unknown.Has("file_dialogs=0")) << unknown.Text();
  // Over a snapshot's results no image is asked for (it would fill page 0's box behind them); a snapshot refused
  // leaves page 0, which asks for it.
  EXPECT_TRUE(quick.Has("file_dialogs=0")) << quick.Text();
  EXPECT_TRUE(trace.Has("file_dialogs=0")) << trace.Text();
  EXPECT_TRUE(extensive.Has("file_dialogs=1")) << extensive.Text();
}

// A snapshot named on the command line: opened once (a restart of the wizard does not bring it back over what
// the user did since), one that cannot be opened said as the Load command says it, Load offered on its
// results, and Open there goes to page 0 with the image chosen.
TEST(Application, ACommandLineSnapshotIsOpenedOnceAndLeavesItsCommandsWorking) {
  const std::string file = SnapshotFromTestData("quick_fat.vsnp.hex", "start once.vsnp");
  const ScenarioOutcome opened = RunChild("snapshot", "\"" + file + "\"");
  EXPECT_TRUE(opened.Has("page=4")) << opened.Text();
  EXPECT_TRUE(opened.Has("load_flag=1")) << opened.Text();

  const std::string missing = file.substr(0, file.size() - 5) + " gone.vsnp";
  const ScenarioOutcome gone = RunChild("snapshot", "\"" + missing + "\"");
  EXPECT_TRUE(gone.Has("page=0")) << gone.Text();
  EXPECT_TRUE(gone.Has("box=3 " + os::ToUtf8(app::CommandLineSnapshotPath(os::FromUtf8(missing))) + " does not exists."))
      << gone.Text();
  EXPECT_TRUE(gone.Has("file_dialogs=0")) << gone.Text();
  EXPECT_TRUE(gone.Has("load_flag=0")) << gone.Text();

  const ScenarioOutcome restarted = RunChild("snapshot-restart", "\"" + file + "\"");
  EXPECT_TRUE(restarted.Has("page=4")) << restarted.Text();
  EXPECT_TRUE(restarted.Has("restart_page=0")) << restarted.Text();
  EXPECT_TRUE(restarted.Has("restart_results_ready=0")) << restarted.Text();
  EXPECT_TRUE(restarted.All("box").empty()) << restarted.Text();

  const std::string image = SnapshotFromTestData("quick_fat.vsnp.hex", "an image.vhd");
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(image).c_str());
  const ScenarioOutcome open = RunChild("snapshot-open", "\"" + file + "\"");
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", nullptr);
  EXPECT_TRUE(open.Has("open_flag=1")) << open.Text();
  EXPECT_TRUE(open.Has("open_page=0")) << open.Text();
  EXPECT_TRUE(open.Has("open_path=" + image)) << open.Text();
  EXPECT_TRUE(open.Has("open_path_visible=1")) << open.Text();
}

TEST(Application, LoadSnapshotAppendsTheExtensionAndReportsAMissingFile) {
  const std::string file = SnapshotFromTestData("quick_fat.vsnp.hex", "typed.vsnp");
  const std::string typed = file.substr(0, file.size() - 5);
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(typed).c_str());
  const ScenarioOutcome o = RunChild("load");
  EXPECT_TRUE(o.Has("loaded_page=4")) << o.Text();
  EXPECT_TRUE(o.Has("loaded_mode=2")) << o.Text();
  EXPECT_TRUE(o.Has("results_ready=1")) << o.Text();
  EXPECT_TRUE(o.Has("loaded_columns=6")) << o.Text();
  EXPECT_TRUE(o.Has("box=3 " + typed + "-missing.vsnp does not exists.")) << o.Text();
}

// An Extensive Scan snapshot of a FAT volume: the Quick Scan one with the Extensive Scan's letter.
std::string ExtensiveFatSnapshot(const std::string& name) {
  std::string bytes = SnapshotBytesFromTestData("quick_fat.vsnp.hex");
  bytes[0] = 'A';
  return WriteSnapshot(name, bytes);
}

TEST(Application, ALoadedSnapshotEnablesWhatItsResultsEnableHoweverItIsOpened) {
  const std::string file = ExtensiveFatSnapshot("extensive fat.vsnp");
  const ScenarioOutcome line = RunChild("snapshot", "\"" + file + "\"");
  EXPECT_TRUE(line.Has("mode=0")) << line.Text();
  EXPECT_TRUE(line.Has("page=4")) << line.Text();
  EXPECT_TRUE(line.Has("snapshot_commands=11111111")) << line.Text();
  EXPECT_TRUE(line.Has("snapshot_back=0")) << line.Text();
  EXPECT_TRUE(line.Has("snapshot_stages=0001")) << line.Text();

  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(file).c_str());
  const ScenarioOutcome o = RunChild("shell-load");
  for (const std::string how : {"load", "shell"}) {
    EXPECT_TRUE(o.Has(how + "_commands=11111111")) << how << "\n" << o.Text();
    EXPECT_TRUE(o.Has(how + "_back=0")) << how << "\n" << o.Text();
    EXPECT_TRUE(o.Has(how + "_stages=0001")) << how << "\n" << o.Text();
    EXPECT_TRUE(o.Has(how + "_page=4")) << how << "\n" << o.Text();
  }
  EXPECT_TRUE(o.Has("shell_open=1")) << o.Text();
  EXPECT_TRUE(o.All("box").empty()) << o.Text();
}

TEST(Application, TheRealLoadDialogTakesANameTypedWithoutItsExtension) {
  const std::string file = SnapshotFromTestData("quick_fat.vsnp.hex", "typed real.vsnp");
  const std::string typed = file.substr(0, file.size() - 5);
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(typed).c_str());
  const ScenarioOutcome o = RunChild("load-typed");
  EXPECT_TRUE(o.Has("dialog=done")) << o.Text();
  // The save dialog's description and pattern, and an extension without a wildcard.
  EXPECT_TRUE(o.Has("filter=*.vsnp|*.vsnp||")) << o.Text();
  EXPECT_TRUE(o.Has("extension=vsnp")) << o.Text();
  EXPECT_TRUE(o.Has("type_shown=*.vsnp")) << o.Text();
  ASSERT_EQ(o.All("chosen").size(), 1u) << o.Text();
  EXPECT_EQ(os::ToUtf8(app::SnapshotLoadPath(os::FromUtf8(o.All("chosen")[0]))),
            os::ToUtf8(app::SnapshotLoadPath(os::FromUtf8(file))))
      << o.Text();
  EXPECT_TRUE(o.Has("loaded_page=4")) << o.Text();
  EXPECT_TRUE(o.Has("loaded_mode=2")) << o.Text();
  EXPECT_TRUE(o.All("box").empty()) << o.Text();
}

// Each page keeps its split under a profile section of its own: the bar a user moved on one page is the bar
// that page shows after a restart, whatever another page's bar did.
TEST(Application, EveryPageKeepsItsOwnSplit) {
  const ScenarioOutcome o = RunChild("splits");
  const std::vector<std::string> sections = o.All("section");
  EXPECT_EQ(sections.size(), 5u) << o.Text();  // pages 1 to 3 one each, page 4 two
  std::set<std::string> names;
  for (const std::string& line : sections) names.insert(line.substr(line.find(' ') + 1));
  EXPECT_EQ(names.size(), sections.size()) << o.Text();
  for (int page = 1; page <= 4; ++page) {
    const std::string place = std::to_string(110 + 20 * page - splitter::kHalfBar);
    EXPECT_TRUE(o.Has("dragged=" + std::to_string(page) + " " + place)) << page << "\n" << o.Text();
    EXPECT_TRUE(o.Has("kept=" + std::to_string(page) + " " + place)) << page << "\n" << o.Text();
  }
}

// Splits stored while the window was maximised on a large screen, and a start in a small window: beside every
// bar of every page both panes keep a usable share (the list and preview of page 4 too); in a window as
// large as the screen the stored splits come back exactly, and they stay stored as they were.
TEST(Application, StoredSplitsLeaveEveryPaneAShareOfASmallWindow) {
  const ScenarioOutcome o = RunChild("split-small");
  EXPECT_TRUE(o.Has("screenshot=1")) << o.Text();
  const std::vector<std::string> small = o.All("small"), large = o.All("large");
  for (const std::string& line : small) std::printf("small window: page %s\n", line.c_str());
  ASSERT_EQ(small.size(), 5u) << o.Text();
  ASSERT_EQ(large.size(), 5u) << o.Text();
  for (const std::string& line : small) {
    std::istringstream in(line);
    int page = 0, id = 0, first = 0, second = 0, extent = 0;
    std::string kind, of;
    in >> page >> id >> kind >> first >> second >> of >> extent;
    EXPECT_EQ(first + splitter::kBarWidth + second, extent) << line;
    EXPECT_GE(second, 100) << line;  // the list, the preview, the disk panel: none squeezed to nothing
    EXPECT_GE(first, 100) << line;
  }
  for (const std::string& line : large) {
    std::istringstream in(line);
    int page = 0, id = 0, first = 0, second = 0;
    std::string kind;
    in >> page >> id >> kind >> first >> second;
    EXPECT_EQ(kind == "v" ? first : second, static_cast<int>(kind == "v" ? kStoredSplit : kStoredPreview)) << line;
  }
  const std::vector<std::string> kept = o.All("kept");
  ASSERT_EQ(kept.size(), 5u) << o.Text();
  for (const std::string& line : kept) {
    const bool preview = line.rfind(std::to_string(IDC_INNER_SPLITTER) + " ", 0) == 0;
    EXPECT_EQ(line.substr(line.find(' ') + 1), std::to_string(preview ? kStoredPreview : kStoredSplit)) << line;
  }
}

// "Invalid File." from the shell's open leaves the running window where the user has it; at start the window
// takes its saved place.
TEST(Application, AnInvalidFileFromTheShellLeavesTheWindowWhereItIs) {
  const std::string file = WriteSnapshot("shell invalid.vsnp", std::string("X\0s\0n\0", 6));
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", Wide(file).c_str());
  const ScenarioOutcome o = RunChild("shell-invalid");
  ::SetEnvironmentVariableW(L"DORVANE_APP_LOAD", nullptr);
  EXPECT_TRUE(o.Has("box=3 Invalid File.")) << o.Text();
  EXPECT_TRUE(o.Has("shell_open=0")) << o.Text();
  EXPECT_TRUE(o.Has("placed=60,70,1010,800")) << o.Text();
  EXPECT_TRUE(o.Has("page_after=0")) << o.Text();
  const ScenarioOutcome start = RunChild("snapshot", "\"" + file + "\"");
  EXPECT_TRUE(start.Has("box=3 Invalid File.")) << start.Text();
  EXPECT_TRUE(start.Has("placed=10,20,910,740")) << start.Text();
}

TEST(Application, RestartWizardComesBackToPageZero) {
  const ScenarioOutcome o = RunChild("restart");
  EXPECT_TRUE(o.Has("before=2")) << o.Text();
  EXPECT_TRUE(o.Has("after=0")) << o.Text();
  EXPECT_TRUE(o.Has("shown=1")) << o.Text();
  EXPECT_TRUE(o.Has("first_view_id=59648")) << o.Text();  // the page shown carries the first-view id
}

TEST(Application, BannerOpensTheProductPage) {
  const ScenarioOutcome o = RunChild("banner");
  EXPECT_TRUE(o.Has("opened=open https://www.dorvane.example")) << o.Text();
  int opened = 0;
  for (const std::string& line : o.lines) opened += line.rfind("opened=", 0) == 0;
  EXPECT_EQ(opened, 1) << o.Text();
}

TEST(Application, RecoverSelectedWithNothingTickedAsksToTick) {
  const ScenarioOutcome o = RunChild("recover");
  EXPECT_TRUE(o.Has("box=1 Please mark the file(s) and folder(s) that you want to save\\r\\nby clicking on check box."))
      << o.Text();
  EXPECT_TRUE(o.Has("folders=0")) << o.Text();
}

TEST(Application, HelpOpensTheCompiledHelpBesideTheProgram) {
  const ScenarioOutcome o = RunChild("help");
  const std::vector<std::string> folder = o.All("program_folder");
  ASSERT_EQ(folder.size(), 1u) << o.Text();
  const std::string help = folder[0] + "Dorvane.chm";
  EXPECT_TRUE(o.Has("shell=1")) << o.Text();
  EXPECT_TRUE(o.Has("opened=open " + help + " 1")) << o.Text();
  // The build compiled it there: a compiled help file.
  std::ifstream file(help, std::ios::binary);
  char magic[4] = {};
  file.read(magic, 4);
  EXPECT_EQ(std::string(magic, 4), "ITSF") << help;

  const ScenarioOutcome missing = RunChild("help-missing");
  EXPECT_TRUE(missing.Has("box=2 Dorvane.chm not found")) << missing.Text();
  EXPECT_TRUE(missing.Has("shell=0")) << missing.Text();
}

TEST(Application, ExitAnsweredNoKeepsRunning) {
  const ScenarioOutcome o = RunChild("exit-no");
  EXPECT_TRUE(o.Has("box=3 Do you really want to exit ?")) << o.Text();
  EXPECT_TRUE(o.Has("frame=1")) << o.Text();
  EXPECT_TRUE(o.Has("quit=0")) << o.Text();
  // The preview's temporary file went before the question, and the record of it with it.
  EXPECT_TRUE(o.Has("temp_exists=0")) << o.Text();
  EXPECT_TRUE(o.Has("temp_table=0")) << o.Text();
  EXPECT_TRUE(o.Has("last_preview=PAth 0")) << o.Text();
  // The document emptied the thumbnail folder: its files go, its folders stay.
  EXPECT_TRUE(o.Has("thumb_exists=0")) << o.Text();
  EXPECT_TRUE(o.Has("thumb_subfolder=1")) << o.Text();
}

TEST(Application, ExitAnsweredYesStopsTheScanAndEndsWithCodeZero) {
  const ScenarioOutcome o = RunChild("exit-yes");
  EXPECT_EQ(o.exitCode, 0u) << o.Text();
  EXPECT_TRUE(o.Has("code=0")) << o.Text();
  EXPECT_TRUE(o.Has("worker_ended=1")) << o.Text();
  EXPECT_TRUE(o.Has("running=0")) << o.Text();
  EXPECT_TRUE(o.Has("main_window=0")) << o.Text();
  EXPECT_FALSE(o.Has("splitter=-1")) << o.Text();  // written when its window went with the frame
  EXPECT_FALSE(o.Has("position=0")) << o.Text();
}

TEST(Application, MainWindowComesBackWhereItWasLeftAfterARestart) {
  const ScenarioOutcome saved = RunChild("place-save");
  EXPECT_EQ(saved.exitCode, 0u) << saved.Text();
  EXPECT_TRUE(saved.Has("position=48")) << saved.Text();
  const ScenarioOutcome read = RunChild("place-read");
  EXPECT_TRUE(read.Has("placed=10,20,910,740")) << read.Text();
  EXPECT_TRUE(read.Has("visible=1")) << read.Text();
}

TEST(Application, TheToolsFollowTheEnableRulesInEveryMode) {
  const ScenarioOutcome o = RunChild("modes");
  app::CommandFlags flags;
  flags.resultsReady = flags.fileSystemResultsReady = flags.snapshotLoadEnabled = 1;
  flags.openEnabled = 0;
  int checked = 0;
  for (uint32_t mode : {0u, 1u, 2u}) {
    for (uint32_t id : {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_LOAD_SNAPSHOT, ID_FIND_FILES,
                        ID_SETTINGS, ID_HELP}) {
      const std::string prefix = "m" + std::to_string(mode) + " " + std::to_string(id) + "=";
      if (!o.Has(prefix + "0") && !o.Has(prefix + "1")) continue;  // not a tool of the toolbar
      ++checked;
      EXPECT_TRUE(o.Has(prefix + (app::IsCommandEnabled(id, mode, flags) ? "1" : "0"))) << prefix << "\n" << o.Text();
    }
  }
  EXPECT_EQ(checked, 21) << o.Text();
  // File Trace finds nothing and has no settings; the other two modes do.
  EXPECT_TRUE(o.Has("m1 " + std::to_string(ID_FIND_FILES) + "=0")) << o.Text();
  EXPECT_TRUE(o.Has("m2 " + std::to_string(ID_FIND_FILES) + "=1")) << o.Text();
  EXPECT_TRUE(o.Has("m1 " + std::to_string(ID_SETTINGS) + "=0")) << o.Text();
  EXPECT_TRUE(o.Has("m0 " + std::to_string(ID_OPEN_IMAGE) + "=0")) << o.Text();
}

TEST(Application, AToolbarHiddenAtExitStaysHiddenAfterARestart) {
  const ScenarioOutcome hidden = RunChild("bars-hide");
  EXPECT_EQ(hidden.exitCode, 0u) << hidden.Text();
  EXPECT_TRUE(hidden.Has("toolbar_visible=1")) << hidden.Text();
  EXPECT_TRUE(hidden.Has("saved_bars=2")) << hidden.Text();  // the menu bar and the toolbar
  const ScenarioOutcome read = RunChild("bars-read");
  EXPECT_TRUE(read.Has("toolbar_visible=0")) << read.Text();
  EXPECT_TRUE(read.Has("toolbar_window=0")) << read.Text();
  EXPECT_TRUE(read.Has("toolbar_docked=1")) << read.Text();
  EXPECT_TRUE(read.Has("toolbar_position=0")) << read.Text();
}

TEST(Application, ADamagedSavedLayoutStartsWithTheDefaultLayout) {
  const ScenarioOutcome o = RunChild("bars-damaged");
  EXPECT_TRUE(o.Has("started=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolbar_visible=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolbar_window=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolbar_docked=1")) << o.Text();
  EXPECT_TRUE(o.Has("toolbar_position=0")) << o.Text();
}

}  // namespace
