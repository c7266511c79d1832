// The scenario runner: starts the real program, drives its windows as a user does and answers its dialogs
// through the program's seams (app/scenario_seams.h), then prints the results tree as the window shows it,
// in the format of enginectl's tree listing. It makes no engine call of its own.
//   ui_scenario --program EXE --image IMAGE (--mode quick|extensive|trace | --snapshot-load FILE) ...
// A step that fails ends the run with "ui-scenario: <reason>" and exit code 1.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/scenario_seams.h"
#include "platform/harness/driver.h"
#include "platform/harness/png_writer.h"
#include "platform/harness/shell_open.h"
#include "res/resource.h"
#include "tools/ui_scenario/preview_probe.h"
#include "tools/ui_scenario/remote_controls.h"
#include "tools/ui_scenario/scenario_options.h"
#include "tools/ui_scenario/tree_printer.h"

namespace scenario {
namespace {

Options g_options;
PROCESS_INFORMATION g_program{};
HWND g_frame = nullptr;
std::string g_failure;
std::wstring g_replyPath;
// What the program asked through its seams: "box", "open", "save", "folder", "shell" in order.
std::vector<std::string> g_requests;
// Set by the step that expects a question: the answer it gives.
int g_questionAnswer = 0;
// While a file is previewed, the messages it brings are noted and closed, not failures: the preview step
// reports them.
bool g_previewing = false;
std::vector<std::string> g_previewBoxes;
std::set<HWND> g_dialogsHandled;

void Fail(const std::string& reason) {
  if (g_failure.empty()) g_failure = reason;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size);
  return out;
}

// ---- the seams' requests ------------------------------------------------------------------------------

std::vector<std::wstring> SplitLines(const wchar_t* data, size_t chars) {
  std::vector<std::wstring> lines(1);
  for (size_t i = 0; i < chars; ++i) {
    if (data[i] == L'\n') {
      lines.emplace_back();
    } else {
      lines.back() += data[i];
    }
  }
  return lines;
}

LRESULT Reply(const std::vector<std::wstring>& paths) {
  FILE* out = _wfopen(g_replyPath.c_str(), L"wb");
  if (out == nullptr) return 0;
  for (const std::wstring& path : paths) std::fprintf(out, "%s\n", Utf8(path).c_str());
  std::fclose(out);
  return paths.empty() ? 0 : 1;
}

// Boxes answered as expected (--expect-box: not a failure, a question answered No), in the order they came.
std::vector<std::string> g_expectedBoxesSeen;

bool ExpectedBox(const std::string& text) {
  for (const std::string& expected : g_options.expectedBoxes) {
    if (text.compare(0, expected.size(), expected) == 0) return true;
  }
  return false;
}

LRESULT AnswerBox(const std::vector<std::wstring>& lines) {
  const unsigned style = lines.size() > 1 ? static_cast<unsigned>(std::wcstoul(lines[1].c_str(), nullptr, 10)) : 0;
  const std::wstring text = lines.size() > 4 ? lines[4] : L"";
  std::fprintf(stderr, "ui-scenario: box: %s\n", Utf8(text).c_str());
  // With steps, each box is part of what they show: one line each, among their own.
  if (!g_options.steps.empty()) {
    std::printf("box\t%s\n", Utf8(text).c_str());
    std::fflush(stdout);
  }
  const unsigned buttons = style & 0xF;
  if (g_previewing) {
    g_previewBoxes.push_back(Utf8(text));
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
  }
  if (ExpectedBox(Utf8(text))) {
    g_expectedBoxesSeen.push_back(Utf8(text));
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : buttons == MB_OKCANCEL ? IDCANCEL : IDOK;
  }
  if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL || buttons == MB_OKCANCEL) {
    if (g_questionAnswer != 0) return g_questionAnswer;
    Fail("unexpected question: " + Utf8(text));
    return buttons == MB_OKCANCEL ? IDCANCEL : IDNO;
  }
  if ((style & 0xF0) == MB_ICONERROR) Fail("error box: " + Utf8(text));
  return IDOK;
}

LRESULT AnswerRequest(const COPYDATASTRUCT& data) {
  const auto lines = SplitLines(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  const std::string kind = Utf8(lines[0]);
  g_requests.push_back(kind);
  const std::wstring filter = lines.size() > 2 ? lines[2] : L"";
  const bool snapshot = filter.find(L"vsnp") != std::wstring::npos;
  if (kind == "box") return AnswerBox(lines);
  if (kind == "open") {
    if (snapshot) return Reply({Wide(g_options.snapshotLoad)});
    return Reply({Wide(g_options.image)});
  }
  if (kind == "save") {
    if (!snapshot || g_options.snapshotSave.empty()) Fail("unexpected save dialog");
    return Reply({Wide(g_options.snapshotSave)});
  }
  if (kind == "folder") {
    if (g_options.saveDir.empty()) Fail("unexpected folder browser");
    return Reply({Wide(g_options.saveDir)});
  }
  return 1;  // shell verbs and processes: noted, not run
}

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data != nullptr && data->dwData == 0x44534352) return AnswerRequest(*data);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeRunnerWindow() {
  WNDCLASSW type{};
  type.lpfnWndProc = RunnerProc;
  type.hInstance = ::GetModuleHandleW(nullptr);
  type.lpszClassName = L"DorvaneScenarioRunner";
  ::RegisterClassW(&type);
  return ::CreateWindowW(type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr);
}

// ---- the program's windows ----------------------------------------------------------------------------

struct WindowSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && ::IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> ProgramWindows() {
  WindowSearch search{g_program.dwProcessId, {}};
  ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ProgramEnded() { return ::WaitForSingleObject(g_program.hProcess, 0) == WAIT_OBJECT_0; }

void Pump(DWORD ms);

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

// The File Types dialog: the types of --types ticked, every other type not (the groups follow their types).
void TickTypes(HWND dialog) {
  if (g_options.types.empty()) return;
  std::set<std::wstring> wanted;
  std::wstring list = Lower(Wide(g_options.types)) + L",";
  for (size_t at = list.find(L','); at != std::wstring::npos; list.erase(0, at + 1), at = list.find(L',')) {
    if (at > 0) wanted.insert(list.substr(0, at));
  }
  HWND tree = FindDescendant(dialog, WC_TREEVIEWW);
  if (tree == nullptr) return Fail("the File Types dialog shows no types");
  std::vector<HTREEITEM> types;
  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM parent, int depth) {
    for (HTREEITEM node = FirstChild(tree, parent); node != nullptr; node = NextSibling(tree, node)) {
      ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
      if (FirstChild(tree, node) == nullptr && depth >= 2) types.push_back(node);
      walk(node, depth + 1);
    }
  };
  walk(nullptr, 0);
  size_t found = 0;
  for (int pass = 0; pass < 3; ++pass) {
    found = 0;
    for (HTREEITEM node : types) {
      std::wstring text = Lower(NodeText(g_program.hProcess, tree, node));
      if (!text.empty() && text[0] == L'.') text.erase(0, 1);
      const bool want = wanted.count(text) != 0;
      found += want ? 1 : 0;
      const bool ticked = ((NodeState(g_program.hProcess, tree, node) & TVIS_STATEIMAGEMASK) >> 12) == 2;
      if (want == ticked) continue;
      ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
      POINT box{};
      if (!CheckBoxPoint(g_program.hProcess, tree, node, &box)) return Fail("a type in File Types has no check box");
      Click(tree, box);
      Pump(50);
    }
  }
  if (found != wanted.size()) Fail("the File Types dialog lacks some of the types " + g_options.types);
}

// The visible drop-down list of a combo box of the program, or null.
HWND DroppedList() {
  for (HWND window : ProgramWindows()) {
    if (ClassName(window) == L"ComboLBox") return window;
  }
  return nullptr;
}

// The File Types dialog's size, "N MB" of --file-size, picked as a user picks it: a click drops the list,
// a click on the item takes it.
void ChooseFileSize(HWND dialog) {
  if (g_options.fileSize == 0) return;
  HWND combo = FindDescendantById(dialog, IDC_FILE_SIZE_LIST);
  if (combo == nullptr) return Fail("the File Types dialog shows no size list");
  const int index = static_cast<int>(g_options.fileSize) - 1;  // the list runs from "1 MB"
  ClickCentre(combo);
  HWND list = nullptr;
  for (int wait = 0; wait < 100 && (list = DroppedList()) == nullptr; ++wait) Pump(20);
  if (list == nullptr) return Fail("the File Types dialog's size list does not drop down");
  const int top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  ::GetClientRect(list, &client);
  const int y = (index - top) * height + height / 2;
  if (height <= 0 || y < 0 || y >= client.bottom) return Fail("the size " + std::to_string(g_options.fileSize) + " MB is not in sight");
  Click(list, POINT{client.right / 2, y});
  for (int wait = 0; wait < 100 && DroppedList() != nullptr; ++wait) Pump(20);
  wchar_t text[32] = {};
  ::SendMessageW(combo, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
  const std::wstring wanted = std::to_wstring(g_options.fileSize) + L" MB";
  if (::SendMessageW(combo, CB_GETCURSEL, 0, 0) != index || wanted != text) {
    Fail("the File Types dialog shows the size " + Utf8(text) + ", not " + Utf8(wanted));
  }
}

// The dialogs a user answers in the window itself (not through a seam): the choice of the partitions the
// table lists, the file types of a File Trace.
void AnswerDialogs() {
  for (HWND window : ProgramWindows()) {
    if (window == g_frame || g_dialogsHandled.count(window) != 0) continue;
    if (ClassName(window) != L"#32770") continue;
    const std::wstring caption = WindowText(window);
    // A dialog is seen once it shows: before that its controls may not all be made yet.
    if (g_previewing && !::IsWindowVisible(window)) continue;
    if (g_previewing && FindDescendant(window, PROGRESS_CLASSW) != nullptr) continue;  // closes by itself
    if (g_previewing) {
      // A message shown by the system's own box rather than through the seam: its text, then OK.
      g_dialogsHandled.insert(window);
      std::wstring text;
      for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static" && !WindowText(child).empty()) text += WindowText(child);
      }
      g_previewBoxes.push_back(Utf8(text.empty() ? caption : text));
      std::fprintf(stderr, "ui-scenario: dialog \"%s\": %s\n", Utf8(caption).c_str(), g_previewBoxes.back().c_str());
      HWND ok = FindDescendantById(window, IDOK);
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(ok != nullptr ? IDOK : IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ok != nullptr ? ok : FindDescendantById(window, IDCANCEL)));
      continue;
    }
    if (caption == L"Please Select" || caption.find(L"File Type") != std::wstring::npos) {
      g_dialogsHandled.insert(window);
      if (caption.find(L"File Type") != std::wstring::npos) {
        TickTypes(window);
        ChooseFileSize(window);
      }
      std::fprintf(stderr, "ui-scenario: dialog \"%s\": OK\n", Utf8(caption).c_str());
      // OK as the default button gives it, on Enter.
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(FindDescendantById(window, IDOK)));
    }
  }
}

// Handles the runner's own messages (the seams' requests) for a while.
void Pump(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    const DWORD now = ::GetTickCount();
    if (static_cast<int>(end - now) <= 0) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(end - now, 20), QS_ALLINPUT);
  }
}

// The worst time the program's user-interface thread took to answer a message while WaitUntil polled.
DWORD g_worstDelayMs = 0;
bool g_measureDelay = false;

void MeasureDelay() {
  if (!g_measureDelay || g_frame == nullptr) return;
  const DWORD start = ::GetTickCount();
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(g_frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  g_worstDelayMs = std::max(g_worstDelayMs, ::GetTickCount() - start);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, const std::string& what) {
  const DWORD start = ::GetTickCount();
  while (g_failure.empty()) {
    AnswerDialogs();
    MeasureDelay();
    if (done()) return true;
    if (ProgramEnded()) {
      Fail("the program ended while waiting for " + what);
      return false;
    }
    if (::GetTickCount() - start > timeoutMs) {
      for (HWND window : ProgramWindows()) {
        std::fprintf(stderr, "ui-scenario: shown: [%s] \"%s\"\n", Utf8(ClassName(window)).c_str(),
                     Utf8(WindowText(window)).c_str());
      }
      Fail("time-out waiting for " + what);
      return false;
    }
    Pump(20);
  }
  return false;
}

// The pages as the program made them (page N with id 0xE900 + N); the page shown takes 0xE900 later.
HWND g_pages[5] = {};
HWND Page(int page) {
  if (page != 4 || g_frame == nullptr) return g_pages[page];
  // The results page is the one with the results list, whatever its id now (a snapshot on the command
  // line shows it before the runner looks).
  for (int id = 0xE900; id <= 0xE904; ++id) {
    HWND candidate = ::GetDlgItem(g_frame, id);
    if (candidate != nullptr && FindDescendant(candidate, WC_LISTVIEWW) != nullptr) return candidate;
  }
  return nullptr;
}
bool TakePages() {
  for (int page = 0; page < 5; ++page) g_pages[page] = ::GetDlgItem(g_frame, 0xE900 + page);
  return std::all_of(std::begin(g_pages), std::end(g_pages), [](HWND page) { return page != nullptr; });
}
bool PageShown(int page) { return Page(page) != nullptr && ::IsWindowVisible(Page(page)); }

// The program answers a message and shows nothing but its main window.
bool Idle() {
  DWORD_PTR ignored = 0;
  if (!::SendMessageTimeoutW(g_frame, WM_NULL, 0, 0, SMTO_NORMAL, 200, &ignored)) return false;
  for (HWND window : ProgramWindows()) {
    if (window != g_frame && ::GetWindow(window, GW_OWNER) != nullptr) return false;
  }
  return true;
}

bool WaitIdle(DWORD settleMs, DWORD timeoutMs, const std::string& what) {
  DWORD idleSince = 0;
  return WaitUntil([&] {
    if (!Idle()) {
      idleSince = 0;
      return false;
    }
    if (idleSince == 0) idleSince = ::GetTickCount();
    return ::GetTickCount() - idleSince >= settleMs;
  }, timeoutMs, what);
}

bool WaitPage(int page, DWORD timeoutMs) {
  return WaitUntil([page] { return PageShown(page); }, timeoutMs, "page " + std::to_string(page));
}

bool ClickButton(int page, int id, const std::string& name) {
  HWND button = FindDescendantById(Page(page), id);
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) {
    Fail("page " + std::to_string(page) + " has no " + name + " button to press");
    return false;
  }
  ClickCentre(button);
  return true;
}

// The window as the screen shows it, into a PNG file.
void WindowShot(HWND window, const std::wstring& path) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const std::vector<uint8_t> rgba = harness::ScreenPixels(r.left, r.top, width, height);
  if (rgba.empty() || !harness::WritePng(std::u16string(path.begin(), path.end()), static_cast<uint32_t>(width),
                                         static_cast<uint32_t>(height), rgba)) {
    Fail("cannot write the screenshot " + Utf8(path));
  }
}

// The main window as the screen shows it, into SHOTS_DIR\<name>.png.
void Screenshot(const std::string& name) {
  if (g_options.shots.empty() || g_frame == nullptr) return;
  Pump(300);
  ::RedrawWindow(g_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  WindowShot(g_frame, Wide(g_options.shots) + L"\\" + Wide(name) + L".png");
}

// SHOTS_DIR\pageN.png: one folder per run, so a caller keeps each mode's pages apart.
void PageShot(int page) { Screenshot("page" + std::to_string(page)); }

// ---- the commands ---------------------------------------------------------------------------------------

// The commands whose menu item or button can show greyed, as the menu and the toolbar name them; the
// "commands" step prints them in this order.
struct NamedCommand {
  UINT id;
  const char* name;
};
const NamedCommand kCommands[] = {{ID_OPEN_IMAGE, "Open"},
                                  {ID_RECOVER_SELECTED, "Recover Selected"},
                                  {ID_SAVE_SNAPSHOT, "Save Recovery Snapshot"},
                                  {ID_LOAD_SNAPSHOT, "Load Recovery Snapshot"},
                                  {ID_VIEW_ICONS, "Icons"},
                                  {ID_VIEW_LIST, "List"},
                                  {ID_VIEW_DETAILS, "Details"},
                                  {ID_FILE_FILTERS, "File Filters"},
                                  {ID_SAVE_ALL, "Save All"},
                                  {ID_DRIVE_INFORMATION, "Drive Information"},
                                  {ID_FIND_FILES, "Find Files"},
                                  {ID_SETTINGS, "Settings"}};

std::string CommandName(UINT id) {
  for (const NamedCommand& c : kCommands) {
    if (c.id == id) return c.name;
  }
  return "command " + std::to_string(id);
}

// 1 when the command shows enabled, 0 greyed, -1 when the program does not answer.
int CommandEnabled(UINT id) {
  static const UINT query = ::RegisterWindowMessageW(kCommandStateMessage);
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(g_frame, query, id, 0, SMTO_NORMAL, 10000, &answer) || (answer != 1 && answer != 2)) {
    return -1;
  }
  return answer == 2 ? 1 : 0;
}

// The command as a user's click runs it: only while its menu item or button shows enabled. A click waits in
// the window's queue behind what the window was posted before it, where a sent question would jump ahead: the
// state is asked once the window is idle.
bool UseCommand(UINT id) {
  if (!WaitIdle(100, 60000, "the window before " + CommandName(id))) return false;
  const int enabled = CommandEnabled(id);
  if (enabled < 0) return Fail("the program does not tell whether " + CommandName(id) + " is enabled"), false;
  if (enabled == 0) return Fail(CommandName(id) + " is greyed"), false;
  ::PostMessageW(g_frame, WM_COMMAND, id, 0);
  return true;
}

// The page shown, or -1.
int ShownPage() {
  for (int page = 0; page < 5; ++page) {
    if (PageShown(page)) return page;
  }
  return -1;
}

// commands <TAB> page N <TAB> Open=0 <TAB> Recover Selected=1 ...: the page shown and its commands.
void PrintCommands() {
  std::string line = "commands\tpage " + std::to_string(ShownPage());
  for (const NamedCommand& c : kCommands) {
    const int enabled = CommandEnabled(c.id);
    if (enabled < 0) return Fail("the program does not tell whether " + std::string(c.name) + " is enabled");
    line += "\t" + std::string(c.name) + "=" + std::to_string(enabled);
  }
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// ---- the steps ----------------------------------------------------------------------------------------

bool Start(HWND runner) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  g_replyPath = std::wstring(temp) + L"dorvane-scenario-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
  ::SetEnvironmentVariableW(L"DORVANE_SCENARIO_RUNNER",
                            std::to_wstring(reinterpret_cast<uintptr_t>(runner)).c_str());
  ::SetEnvironmentVariableW(L"DORVANE_SCENARIO_REPLY", g_replyPath.c_str());
  std::wstring command = L"\"" + Wide(g_options.program) + L"\"";
  if (!g_options.commandLine.empty()) command += L" \"" + Wide(g_options.commandLine) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &g_program)) {
    Fail("cannot start " + g_options.program);
    return false;
  }
  // The main window is the program's top-level window that holds the five pages (its menu is a command
  // bar, not a Windows menu).
  return WaitUntil([] {
    for (HWND window : ProgramWindows()) {
      if (::GetWindow(window, GW_OWNER) != nullptr || ClassName(window) == L"#32770") continue;
      g_frame = window;
      if (TakePages()) return true;
    }
    g_frame = nullptr;
    return false;
  }, 60000, "the main window");
}

int ModeButton() {
  if (g_options.mode == "extensive") return IDC_EXTENSIVE_SCAN;
  if (g_options.mode == "trace") return IDC_FILE_TRACE;
  return IDC_QUICK_SCAN;
}

HTREEITEM FindChildNamed(HWND tree, HTREEITEM parent, const std::wstring& text) {
  for (HTREEITEM node = FirstChild(tree, parent); node != nullptr; node = NextSibling(tree, node)) {
    if (NodeText(g_program.hProcess, tree, node) == text) return node;
  }
  return nullptr;
}

bool ClickNode(HWND tree, HTREEITEM node) {
  RECT text{};
  if (!NodeTextRect(g_program.hProcess, tree, node, &text)) return false;
  Click(tree, POINT{(text.left + text.right) / 2, (text.top + text.bottom) / 2});
  Pump(100);
  return true;
}

// Page 2's "Partition N" under the disk, or null (with what page 2 lists written to stderr).
HTREEITEM PartitionNode(HWND tree, int partition) {
  HTREEITEM node = nullptr;
  const std::wstring name = L"Partition " + std::to_wstring(partition);
  WaitUntil([&] { return (node = FindChildNamed(tree, FirstChild(tree, nullptr), name)) != nullptr; }, 10000,
            "partition " + std::to_string(partition) + " on page 2");
  if (node == nullptr) {
    for (HTREEITEM n = FirstChild(tree, FirstChild(tree, nullptr)); n != nullptr; n = NextSibling(tree, n)) {
      std::fprintf(stderr, "ui-scenario: page 2 lists \"%s\"\n", Utf8(NodeText(g_program.hProcess, tree, n)).c_str());
    }
  }
  return node;
}

// Page 2's file system and sector range, as the user picks and types them.
bool TypeRange(unsigned code, unsigned long long first, unsigned long long count) {
  HWND panel = Page(2);
  HWND list = FindDescendantById(panel, IDC_FILE_SYSTEM_LIST);
  HWND start = FindDescendantById(panel, IDC_START_SECTOR);
  HWND end = FindDescendantById(panel, IDC_END_SECTOR);
  if (list == nullptr || start == nullptr || end == nullptr) return Fail("page 2 has no range fields"), false;
  const int item = code == 300 ? 0 : code == 200 ? 1 : 2;
  ::SendMessageW(list, CB_SETCURSEL, item, 0);
  ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_FILE_SYSTEM_LIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  ::SendMessageW(start, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(first).c_str()));
  ::SendMessageW(end, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(first + count - 1).c_str()));
  return true;
}

// Page 2: the partition or the whole disk with its range, then Next.
bool ChooseSource() {
  HWND tree = FindDescendant(Page(2), WC_TREEVIEWW);
  if (tree == nullptr) return Fail("page 2 shows no source tree"), false;
  HTREEITEM node = FirstChild(tree, nullptr);
  if (g_options.partition >= 0 && (node = PartitionNode(tree, g_options.partition)) == nullptr) return false;
  if (node == nullptr || !ClickNode(tree, node)) return Fail("cannot click the source on page 2"), false;
  return g_options.rangeCode == 0 || TypeRange(g_options.rangeCode, g_options.rangeStart, g_options.rangeCount);
}

HWND ResultsTree() { return FindDescendant(Page(4), WC_TREEVIEWW); }
HWND ResultsList() { return FindDescendant(Page(4), WC_LISTVIEWW); }

// Page 4 shows the results: its tree has its top node (File Trace: its list has rows) and the program is
// idle again.
bool WaitResults(DWORD timeoutMs) {
  return WaitUntil([] {
    if (!PageShown(4)) return false;
    HWND tree = ResultsTree();
    const bool listed = (tree != nullptr && FirstChild(tree, nullptr) != nullptr) ||
                        (ResultsList() != nullptr && RowCount(ResultsList()) > 0);
    return listed && Idle();
  }, timeoutMs, "the results on page 4");
}

// Page 3: the K-th file system the Extensive Scan found (from 1, in the tree's order), clicked.
bool PickFileSystem(int k) {
  HWND tree = FindDescendant(Page(3), WC_TREEVIEWW);
  if (tree == nullptr) return Fail("page 3 shows no file systems"), false;
  std::vector<HTREEITEM> found;
  std::function<void(HTREEITEM)> walk = [&](HTREEITEM parent) {
    for (HTREEITEM node = FirstChild(tree, parent); node != nullptr; node = NextSibling(tree, node)) {
      if (FirstChild(tree, node) == nullptr && parent != nullptr) found.push_back(node);
      walk(node);
    }
  };
  walk(nullptr);
  if (k < 1 || static_cast<size_t>(k) > found.size()) {
    return Fail("page 3 lists " + std::to_string(found.size()) + " file systems, not " + std::to_string(k)), false;
  }
  if (!ClickNode(tree, found[static_cast<size_t>(k - 1)])) return Fail("cannot click a file system on page 3"), false;
  Pump(300);
  return true;
}

// Page 3: the file system of --choose (the first by default), then Next.
bool ChooseFileSystem() {
  if (!PickFileSystem(g_options.choose > 0 ? g_options.choose : 1)) return false;
  PageShot(3);  // with the chosen file system's parameters in the form
  return ClickButton(3, IDC_NEXT, "Next");
}

// Page 0 with the image the start-up's file dialog was given, a mode chosen, page 1.
bool ToPageOne() {
  if (!WaitPage(0, 60000)) return false;
  WaitUntil([] { return std::count(g_requests.begin(), g_requests.end(), "open") > 0 && Idle(); }, 60000,
            "the image to be chosen");
  if (!g_failure.empty()) return false;
  PageShot(0);
  if (!ClickButton(0, ModeButton(), "mode")) return false;
  if (!WaitPage(1, 60000)) return false;
  WaitIdle(300, 60000, "page 1");
  PageShot(1);
  return g_failure.empty();
}

// The image opened, a mode chosen, then Load Snapshot: the snapshot is read over the image that is open.
bool LoadSnapshot() {
  if (!ToPageOne()) return false;
  if (!UseCommand(ID_LOAD_SNAPSHOT)) return false;
  return WaitResults(static_cast<DWORD>(g_options.timeoutSeconds) * 1000);
}

bool Scan() {
  if (!ToPageOne()) return false;
  if (!ClickButton(1, IDC_NEXT, "Next")) return false;
  if (!WaitPage(2, 120000) || !WaitIdle(300, 120000, "page 2")) return false;
  if (!ChooseSource()) return false;
  PageShot(2);
  if (!ClickButton(2, IDC_NEXT, "Next")) return false;
  const DWORD start = ::GetTickCount();
  g_measureDelay = g_options.timing;
  const DWORD limit = static_cast<DWORD>(g_options.timeoutSeconds) * 1000;
  if (g_options.mode == "extensive") {
    if (!WaitPage(3, limit) || !WaitIdle(500, limit, "page 3")) return false;
    if (!ChooseFileSystem()) return false;
  }
  if (!WaitResults(limit)) return false;
  g_measureDelay = false;
  if (g_options.timing) {
    std::printf("window_seconds=%.3f\nworst_ui_delay_ms=%lu\n", (::GetTickCount() - start) / 1000.0,
                static_cast<unsigned long>(g_worstDelayMs));
  }
  return true;
}

bool SaveSnapshot() {
  const size_t before = std::count(g_requests.begin(), g_requests.end(), "save");
  if (!UseCommand(ID_SAVE_SNAPSHOT)) return false;
  if (!WaitUntil([before] { return static_cast<size_t>(std::count(g_requests.begin(), g_requests.end(), "save")) > before; },
                 30000, "the snapshot's save dialog")) {
    return false;
  }
  return WaitIdle(500, 120000, "the snapshot to be saved");
}

// One click on the node's box in the results tree, awaited: the node is scrolled into view first (a volume
// may have hundreds of folders in its root), and the box's change is awaited before the next click, which
// would otherwise land where the tree has scrolled meanwhile.
bool ClickNodeBox(HWND tree, HTREEITEM node) {
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  const UINT before = NodeState(g_program.hProcess, tree, node) & TVIS_STATEIMAGEMASK;
  const std::string name = Utf8(NodeText(g_program.hProcess, tree, node));
  POINT box{};
  if (!CheckBoxPoint(g_program.hProcess, tree, node, &box)) {
    return Fail("the results tree shows no check box for \"" + name + "\""), false;
  }
  Click(tree, box);
  return WaitUntil([&] { return (NodeState(g_program.hProcess, tree, node) & TVIS_STATEIMAGEMASK) != before; },
                   10000, "the tick of \"" + name + "\"");
}

bool ApplyTicks();

bool TickAllAndSave() {
  HWND tree = ResultsTree();
  if (g_options.tickAll && tree != nullptr) {
    for (HTREEITEM node = FirstChild(tree, nullptr); node != nullptr; node = NextSibling(tree, node)) {
      if (!ClickNodeBox(tree, node)) return false;
    }
    WaitIdle(300, 30000, "the ticks");
  }
  if (!ApplyTicks()) return false;
  if (g_options.saveDir.empty()) return g_failure.empty();
  const size_t before = std::count(g_requests.begin(), g_requests.end(), "folder");
  if (!UseCommand(ID_RECOVER_SELECTED)) return false;
  if (!WaitUntil([before] { return static_cast<size_t>(std::count(g_requests.begin(), g_requests.end(), "folder")) > before; },
                 30000, "the folder browser of Recover")) {
    return false;
  }
  return WaitIdle(1000, static_cast<DWORD>(g_options.timeoutSeconds) * 1000, "the files to be saved");
}

// ---- previews ------------------------------------------------------------------------------------------

constexpr int kPreviewPaneId = 0xE901;
constexpr double kPreviewSettleSeconds = 0.2;
// The probe's 4,000 characters whole, three bytes each at most: a text whose first cluster a save wrote as zeros
// shows its words after 2,048 blanks.
constexpr size_t kMostDetailBytes = 12000;

double Seconds() {
  LARGE_INTEGER now{}, frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Control characters (the fields' tabs and the lines' ends among them) become spaces; a long text keeps
// its first kMostDetailBytes (whole characters).
std::string OneLine(std::string text) {
  if (text.size() > kMostDetailBytes) {
    size_t cut = kMostDetailBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

// The folder's node in the results tree, from the volume's root node ("/A/B" is A, then B under it).
HTREEITEM FolderNode(HWND tree, const std::vector<std::wstring>& folders) {
  HTREEITEM node = FirstChild(tree, nullptr);
  for (const std::wstring& folder : folders) {
    if (node == nullptr) return nullptr;
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    HTREEITEM parent = node;
    node = nullptr;
    WaitUntil([&] { return (node = FindChildNamed(tree, parent, folder)) != nullptr; }, 10000,
              "the folder " + Utf8(folder) + " in the results tree");
  }
  return node;
}

int FindRow(HWND list, const std::wstring& name) {
  for (int row = 0; row < RowCount(list); ++row) {
    if (RowText(g_program.hProcess, list, row, 0) == name) return row;
  }
  return -1;
}

// "/A/B/c.txt" as A, B, c.txt.
std::vector<std::wstring> PathParts(const std::string& text) {
  std::vector<std::wstring> parts;
  const std::wstring path = Wide(text);
  for (size_t at = 0; at != std::wstring::npos && at < path.size();) {
    const size_t next = path.find(L'/', at + 1);
    const std::wstring part = path.substr(at + 1, next == std::wstring::npos ? std::wstring::npos : next - at - 1);
    if (!part.empty()) parts.push_back(part);
    at = next;
  }
  return parts;
}

// The row of the file name in the folder's listing, scrolled into view; -1 (the run failed) when there is
// none. The folder's node is clicked as the user does when the tree shows another, or when the list lacks the
// row (a click on a node's box selects it without listing it).
int ListedRow(HWND tree, HWND list, const std::vector<std::wstring>& folders, const std::wstring& name,
              const std::string& path) {
  HTREEITEM folder = FolderNode(tree, folders);
  if (folder == nullptr) return Fail("no folder in the results tree for " + path), -1;
  ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(folder));
  if (::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != reinterpret_cast<LPARAM>(folder) ||
      FindRow(list, name) < 0) {
    if (!ClickNode(tree, folder) || !WaitIdle(100, 60000, "the rows of " + path)) return -1;
  }
  int row = -1;
  WaitUntil([&] { return (row = FindRow(list, name)) >= 0; }, 10000, "the row of " + path);
  if (row >= 0) ::SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
  return row;
}

// Clicks the file's row as the user does and waits until the pane has painted what it shows for it; prints
//   preview <TAB> PATH <TAB> VIEW <TAB> DETAIL <TAB> MESSAGES <TAB> SECONDS
// (seconds from the click to the painted preview).
bool PreviewOne(const PreviewRequest& request, HWND tree, HWND list, HWND pane,
                const PlaceholderPictures& placeholders) {
  std::vector<std::wstring> parts = PathParts(request.path);
  if (parts.empty()) return Fail("nothing to preview in " + request.path), false;
  const std::wstring name = parts.back();
  parts.pop_back();
  const int row = ListedRow(tree, list, parts, name, request.path);
  if (row < 0) return false;
  RECT label{};
  if (!RowLabelRect(g_program.hProcess, list, row, &label)) return Fail("the row of " + request.path + " has no place"), false;
  g_previewBoxes.clear();
  g_previewing = true;
  HWND before = TopViewer(pane);
  const double start = Seconds();
  Click(list, POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2});
  // The pane shows a new viewer (a row the pane refuses changes only the picture of the one it has), has
  // painted it, and still shows the same a moment later: a viewer that asks something first is followed
  // by another. The time is that of the first look that saw it.
  double shown = 0;
  HWND seen = nullptr;
  WaitUntil([&] {
    HWND top = TopViewer(pane);
    const double now = Seconds();
    const bool ready = Idle() && top != nullptr && PanePainted(pane) && (top != before || now - start > 1.0);
    if (!ready || top != seen) {
      seen = ready ? top : nullptr;
      shown = now;
      return false;
    }
    return now - shown >= kPreviewSettleSeconds;
  }, static_cast<DWORD>(g_options.timeoutSeconds) * 1000, "the preview of " + request.path);
  g_previewing = false;
  if (!g_failure.empty()) return false;
  const PreviewShown what = DescribePreview(g_program.hProcess, pane, placeholders);
  std::string boxes;
  for (const std::string& box : g_previewBoxes) boxes += (boxes.empty() ? "" : " | ") + box;
  std::printf("preview\t%s\t%s\t%s\t%s\t%.3f\n", request.path.c_str(), what.view.c_str(), OneLine(what.detail).c_str(),
              OneLine(boxes).c_str(), shown - start);
  std::fflush(stdout);
  if (!request.shot.empty()) WindowShot(pane, Wide(request.shot));
  return g_failure.empty();
}

bool PreviewFiles() {
  HWND tree = ResultsTree();
  HWND list = ResultsList();
  HWND pane = FindDescendantById(Page(4), kPreviewPaneId);
  if (tree == nullptr || list == nullptr || pane == nullptr) return Fail("page 4 shows no results or preview pane"), false;
  const PlaceholderPictures placeholders(Wide(g_options.program));
  for (const PreviewRequest& request : g_options.previews) {
    if (!PreviewOne(request, tree, list, pane, placeholders)) return false;
  }
  return true;
}

// ---- ticks ---------------------------------------------------------------------------------------------

// The node's or row's box, clicked until it shows what the request asks: ticked (2) or unticked (1); a half
// ticked box takes a click or two, as it does for the user.
bool BoxTo(const TickRequest& request, const std::function<int()>& state, const std::function<bool()>& click) {
  const int wanted = request.tick ? 2 : 1;
  for (int clicks = 0; clicks < 3; ++clicks) {
    if (state() == wanted) return WaitIdle(100, 30000, "the tick of " + request.path);
    if (!click()) return false;
  }
  return Fail("the box of " + request.path + " does not show " + (request.tick ? "ticked" : "unticked")), false;
}

bool TickRow(HWND list, int row, const TickRequest& request) {
  return BoxTo(request, [&] { return RowCheck(list, row); }, [&] {
    const int before = RowCheck(list, row);
    POINT box{};
    if (!RowCheckBoxPoint(g_program.hProcess, list, row, &box)) return Fail("the row of " + request.path + " has no check box"), false;
    Click(list, box);
    return WaitUntil([&] { return RowCheck(list, row) != before; }, 10000, "the tick of " + request.path);
  });
}

// --tick and --untick: a folder by its box in the tree, a file by its box on its folder's list.
bool ApplyTick(HWND tree, HWND list, const TickRequest& request) {
  std::vector<std::wstring> parts = PathParts(request.path);
  const std::wstring name = parts.empty() ? L"" : parts.back();
  if (!parts.empty()) parts.pop_back();
  HTREEITEM folder = FolderNode(tree, parts);
  if (folder == nullptr) return Fail("no folder in the results tree for " + request.path), false;
  HTREEITEM node = folder;
  if (!name.empty()) {
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    node = FindChildNamed(tree, folder, name);
  }
  if (node != nullptr) {
    return BoxTo(request, [&] { return static_cast<int>((NodeState(g_program.hProcess, tree, node) & TVIS_STATEIMAGEMASK) >> 12); },
                 [&] { return ClickNodeBox(tree, node); });
  }
  const int row = ListedRow(tree, list, parts, name, request.path);
  return row >= 0 && TickRow(list, row, request);
}

HWND FileFiltersDialog() {
  for (HWND window : ProgramWindows()) {
    if (ClassName(window) == L"#32770" && WindowText(window) == L"File Filters") return window;
  }
  return nullptr;
}

// --filters: File Filters opened as a user opens it, every row removed, the patterns added one by one,
// then Close (which lists the root again).
bool SetFilters(const std::string& patterns) {
  if (!UseCommand(ID_FILE_FILTERS)) return false;
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = FileFiltersDialog()) != nullptr; }, 30000, "the File Filters dialog")) return false;
  g_dialogsHandled.insert(dialog);
  HWND list = FindDescendantById(dialog, IDC_FILTER_LIST);
  HWND edit = FindDescendantById(dialog, IDC_FILTER_EDIT);
  if (list == nullptr || edit == nullptr) return Fail("the File Filters dialog shows no list or edit"), false;
  auto press = [&](int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(FindDescendantById(dialog, id)));
  };
  for (LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0); count > 0; --count) {
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    press(IDC_FILTER_REMOVE);
  }
  std::wstring rest = Wide(patterns);
  while (!rest.empty()) {
    const size_t comma = rest.find(L',');
    const std::wstring pattern = rest.substr(0, comma);
    rest = comma == std::wstring::npos ? L"" : rest.substr(comma + 1);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pattern.c_str()));
    press(IDOK);
  }
  const LRESULT rows = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(FindDescendantById(dialog, IDCANCEL)));
  if (!WaitUntil([] { return FileFiltersDialog() == nullptr; }, 30000, "the File Filters dialog's Close")) return false;
  std::fprintf(stderr, "ui-scenario: filters \"%s\": %ld rows\n", patterns.c_str(), static_cast<long>(rows));
  return WaitIdle(100, 30000, "the listing after the filters");
}

bool ApplyTicks() {
  if (g_options.ticks.empty()) return true;
  HWND tree = ResultsTree();
  HWND list = ResultsList();
  if (tree == nullptr || list == nullptr) return Fail("page 4 shows no results tree and list"), false;
  for (const TickRequest& request : g_options.ticks) {
    if (!(request.filters ? SetFilters(request.path) : ApplyTick(tree, list, request))) return false;
  }
  return true;
}

// The results tree as page 4 shows it, in enginectl's listing.
void PrintResults() {
  HWND tree = ResultsTree();
  HWND list = ResultsList();
  if (tree == nullptr || list == nullptr) return Fail("page 4 shows no results tree and list");
  PrintTree(g_program.hProcess, tree, list, g_options.mode == "trace", [] {
    return WaitIdle(100, 60000, "a folder's rows");
  });
}

bool WaitRecoverButton() {
  return WaitUntil([] {
    HWND save = FindDescendantById(Page(4), IDC_NEXT);
    return save != nullptr && ::IsWindowVisible(save) && ::IsWindowEnabled(save);
  }, 30000, "page 4's Recover button");
}

// --rescan-partition N: page 4's Back, page 2's "Partition N" picked, Next; the new results are printed
// after a line "# rescan partition N" and are what the ticks and the save then take.
bool Rescan() {
  if (!ClickButton(4, IDC_BACK, "Back")) return false;
  if (!WaitPage(2, 60000) || !WaitIdle(300, 60000, "page 2 after Back")) return false;
  HWND tree = FindDescendant(Page(2), WC_TREEVIEWW);
  if (tree == nullptr) return Fail("page 2 shows no source tree"), false;
  HTREEITEM node = PartitionNode(tree, g_options.rescanPartition);
  if (node == nullptr) return false;
  if (!ClickNode(tree, node)) return Fail("cannot click the partition on page 2"), false;
  Screenshot("page2-rescan");
  if (!ClickButton(2, IDC_NEXT, "Next")) return false;
  if (!WaitResults(static_cast<DWORD>(g_options.timeoutSeconds) * 1000) || !WaitRecoverButton()) return false;
  Screenshot("page4-rescan");
  if (g_options.printTree) {
    std::printf("# rescan partition %d\n", g_options.rescanPartition);
    PrintResults();
  }
  return g_failure.empty();
}

// ---- steps after the results -----------------------------------------------------------------------

// The shown page's button as the user presses it: a click on it; Home, which pages 1, 2 and 4 keep at no
// size, by the command its click sends.
bool PressPageButton(UINT id, const std::string& name) {
  const int page = ShownPage();
  HWND button = page >= 0 ? FindDescendantById(Page(page), static_cast<int>(id)) : nullptr;
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) {
    return Fail("page " + std::to_string(page) + " has no " + name + " button to press"), false;
  }
  RECT client{};
  ::GetClientRect(button, &client);
  if (client.right > 0 && client.bottom > 0) {
    ClickCentre(button);
  } else {
    ::PostMessageW(Page(page), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  return true;
}

// After a step that moves on: another page shown and the program idle, or an expected box answered where the
// page stays.
bool WaitMovedOn(int from, size_t boxesBefore, const std::string& what) {
  const DWORD limit = static_cast<DWORD>(g_options.timeoutSeconds) * 1000;
  if (!WaitUntil([&] { return (ShownPage() != from && ShownPage() >= 0) || g_expectedBoxesSeen.size() > boxesBefore; },
                 limit, what)) {
    return false;
  }
  if (ShownPage() == 4 && g_expectedBoxesSeen.size() == boxesBefore && !WaitResults(limit)) return false;
  return WaitIdle(500, limit, what);
}

// Next, then Stop as soon as the page shows it while the work runs, the question answered Yes. Work that
// ends before the click moves on as Next does: the page Stop leads to is the one the end leads to.
bool NextAndStop(int from, const std::string& what) {
  if (!PressPageButton(IDC_NEXT, "Next")) return false;
  HWND stop = FindDescendantById(Page(from), IDC_STOP);
  const DWORD limit = static_cast<DWORD>(g_options.timeoutSeconds) * 1000;
  if (stop == nullptr) return Fail("page " + std::to_string(from) + " has no Stop button"), false;
  if (!WaitUntil([&] { return ::IsWindowVisible(stop) || ShownPage() != from; }, limit, "Stop to show")) return false;
  g_questionAnswer = IDYES;
  if (ShownPage() == from && ::IsWindowVisible(stop)) {
    ::PostMessageW(Page(from), WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED), reinterpret_cast<LPARAM>(stop));
  }
  // Stopped at once, a scan may have found nothing: page 4 is awaited, not its results.
  const bool moved =
      WaitUntil([&] { return ShownPage() != from && ShownPage() >= 0; }, limit, what) && WaitIdle(500, limit, what);
  g_questionAnswer = 0;
  return moved;
}

// Opens the file as a double click in the shell does (harness/shell_open.h): in the running copy.
bool ShellOpen(const std::string& file) {
  const harness::ShellTypeMirror mirror({L"Vantor.Document", L".vsnp"});
  if (!mirror.Mirror()) return Fail("the program registered no snapshot type"), false;
  HANDLE started = harness::OpenAsShellDoes(Wide(file));
  if (started == INVALID_HANDLE_VALUE) return Fail("the shell does not open " + file), false;
  if (started != nullptr) {
    // The shell started another copy instead of handing the file to this one.
    ::TerminateProcess(started, 99);
    ::CloseHandle(started);
    return Fail("the shell started a second copy for " + file), false;
  }
  return true;
}

// Keys as the user presses them: to the window of the program that has the focus.
bool PressKeys(const std::string& list) {
  std::string rest = list + ",";
  for (size_t at = rest.find(','); at != std::string::npos; rest.erase(0, at + 1), at = rest.find(',')) {
    const std::string name = rest.substr(0, at);
    const UINT key = name == "tab" ? VK_TAB : name == "enter" ? VK_RETURN : 0;
    if (key == 0) return Fail("no key " + name), false;
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    if (!::GetGUIThreadInfo(g_program.dwThreadId, &focus) || focus.hwndFocus == nullptr) {
      return Fail("no window of the program has the focus"), false;
    }
    const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
    ::PostMessageW(focus.hwndFocus, WM_KEYDOWN, key, down);
    ::PostMessageW(focus.hwndFocus, WM_KEYUP, key, down | (1 << 30) | (1u << 31));
    if (!WaitIdle(200, 30000, "the key " + name)) return false;
  }
  return true;
}

// fs-roots <TAB> ...: the top nodes of page 3's tree.
void PrintFileSystemRoots() {
  HWND tree = FindDescendant(Page(3), WC_TREEVIEWW);
  std::string line = "fs-roots";
  for (HTREEITEM node = tree != nullptr ? FirstChild(tree, nullptr) : nullptr; node != nullptr;
       node = NextSibling(tree, node)) {
    line += "\t" + Utf8(NodeText(g_program.hProcess, tree, node));
  }
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

bool RunStep(const Step& step) {
  const int from = ShownPage();
  const size_t boxes = g_expectedBoxesSeen.size();
  const std::string& a = step.action;
  const std::string what = "the step " + a;
  const unsigned long long number = step.args.empty() ? 0 : std::strtoull(step.args[0].c_str(), nullptr, 10);
  if (a == "mode") {
    g_options.mode = step.args[0];
    if (!ClickButton(0, ModeButton(), "mode")) return false;
    return WaitPage(1, 60000) && WaitIdle(300, 60000, "page 1");
  }
  if (a == "next" || a == "back" || a == "home") {
    const UINT id = a == "next" ? IDC_NEXT : a == "back" ? IDC_BACK : IDC_HOME;
    const std::string name = a == "next" ? "Next" : a == "back" ? "Back" : "Home";
    return PressPageButton(id, name) && WaitMovedOn(from, boxes, what);
  }
  if (a == "stop") return NextAndStop(from, what);
  if (a == "pick") {
    HWND tree = FindDescendant(Page(2), WC_TREEVIEWW);
    if (tree == nullptr || from != 2) return Fail("page 2 is not shown to pick on"), false;
    HTREEITEM node = step.args[0] == "-1" ? FirstChild(tree, nullptr) : PartitionNode(tree, static_cast<int>(number));
    if (node == nullptr || !ClickNode(tree, node)) return Fail("cannot pick " + step.args[0] + " on page 2"), false;
    return WaitIdle(300, 30000, what);
  }
  if (a == "range") {
    return TypeRange(static_cast<unsigned>(number), std::strtoull(step.args[1].c_str(), nullptr, 10),
                     std::strtoull(step.args[2].c_str(), nullptr, 10));
  }
  if (a == "choose") return PickFileSystem(static_cast<int>(number)) && WaitIdle(300, 30000, what);
  if (a == "load" || a == "shell") {
    g_options.snapshotLoad = step.args[0];
    if (a == "load" ? !UseCommand(ID_LOAD_SNAPSHOT) : !ShellOpen(step.args[0])) return false;
    const DWORD limit = static_cast<DWORD>(g_options.timeoutSeconds) * 1000;
    // Loaded: page 4 shows the results; refused: the box says so.
    return WaitUntil([&] { return (PageShown(4) && Idle()) || g_expectedBoxesSeen.size() > boxes; }, limit, what) &&
           WaitIdle(500, limit, what);
  }
  if (a == "tick-all") {
    HWND tree = ResultsTree();
    for (HTREEITEM node = tree != nullptr ? FirstChild(tree, nullptr) : nullptr; node != nullptr;
         node = NextSibling(tree, node)) {
      if (!ClickNodeBox(tree, node)) return false;
    }
    return WaitIdle(300, 30000, what);
  }
  if (a == "save") {
    const size_t asked = g_requests.size();
    if (!UseCommand(ID_RECOVER_SELECTED)) return false;
    // A folder asked for (the saving follows), or a box instead.
    return WaitUntil([&] { return g_requests.size() > asked; }, 30000, "Recover Selected to ask") &&
           WaitIdle(1000, static_cast<DWORD>(g_options.timeoutSeconds) * 1000, what);
  }
  if (a == "keys") return PressKeys(step.args[0]);
  if (a == "commands") {
    PrintCommands();
    return g_failure.empty();
  }
  if (a == "fs-roots") {
    PrintFileSystemRoots();
    return true;
  }
  if (a == "shot") {
    Screenshot(step.args[0]);
    return g_failure.empty();
  }
  return Fail("no step " + a), false;
}

bool RunSteps() {
  for (const Step& step : g_options.steps) {
    if (!RunStep(step)) return false;
  }
  return g_failure.empty();
}

// Started with a snapshot on its command line: its results on page 4, or page 0 when it was refused (an
// expected box said so); then the start-up's own question for the image.
bool WaitCommandLine() {
  const DWORD limit = static_cast<DWORD>(g_options.timeoutSeconds) * 1000;
  if (!WaitUntil([] { return (PageShown(4) && Idle()) || (!g_expectedBoxesSeen.empty() && PageShown(0)); }, limit,
                 "the snapshot of the command line")) {
    return false;
  }
  // Its results shown, nothing more comes; refused, it leaves page 0 asking for the image.
  if (PageShown(4)) return WaitIdle(500, limit, "the start");
  return WaitUntil([] { return std::count(g_requests.begin(), g_requests.end(), "open") > 0; }, 60000,
                   "the image to be asked for") &&
         WaitIdle(500, limit, "the start");
}

bool Exit() {
  g_questionAnswer = IDYES;
  ::PostMessageW(g_frame, WM_CLOSE, 0, 0);
  const DWORD start = ::GetTickCount();
  while (!ProgramEnded()) {
    Pump(50);
    if (::GetTickCount() - start > 60000) return Fail("the program did not end after Exit"), false;
  }
  DWORD code = 1;
  ::GetExitCodeProcess(g_program.hProcess, &code);
  if (code != 0) Fail("the program ended with code " + std::to_string(code));
  return g_failure.empty();
}

// --temp-unchanged: what the program wrote there (the preview's copies) is gone once it has ended.
void CheckTempFolder(const std::set<std::wstring>& before) {
  std::string left;
  for (const std::wstring& name : harness::TempFolderNames()) {
    if (before.count(name) == 0) left += (left.empty() ? "" : ", ") + Utf8(name);
  }
  if (!left.empty()) Fail("left in the temporary folder: " + left);
}

int Run() {
  const std::set<std::wstring> tempBefore = g_options.tempUnchanged ? harness::TempFolderNames() : std::set<std::wstring>{};
  HWND runner = MakeRunnerWindow();
  if (runner == nullptr || !Start(runner)) return 1;
  ::MoveWindow(g_frame, 0, 0, 1000, 740, TRUE);
  bool ok;
  // Results first (a scan, Load, or the command line), unless the steps are all there is to do.
  const bool results = g_options.modeGiven || !g_options.snapshotLoad.empty() || g_options.steps.empty();
  if (!g_options.commandLine.empty()) {
    ok = WaitCommandLine();
  } else if (!g_options.snapshotLoad.empty()) {
    ok = LoadSnapshot();
  } else if (results) {
    ok = Scan();
  } else {
    ok = WaitPage(0, 60000) &&
         WaitUntil([] { return std::count(g_requests.begin(), g_requests.end(), "open") > 0 && Idle(); }, 60000,
                   "the image to be chosen");
  }
  // Page 4 offers Recover once its results are there, after every mode and after a loaded snapshot.
  const bool shown = results && PageShown(4);
  if (ok && shown) ok = WaitRecoverButton();
  if (ok && shown) {
    PageShot(4);
    if (g_options.printTree) PrintResults();
  }
  if (ok && g_failure.empty() && !g_options.previews.empty()) ok = PreviewFiles();
  if (ok && g_failure.empty() && !g_options.snapshotSave.empty()) ok = SaveSnapshot();
  if (ok && g_failure.empty() && g_options.rescanPartition >= 0) ok = Rescan();
  if (ok && g_failure.empty()) ok = TickAllAndSave();
  if (ok && g_failure.empty()) ok = RunSteps();
  if (ok && g_failure.empty()) Exit();
  if (!g_failure.empty() && !ProgramEnded()) {
    const std::string reason = g_failure;
    Screenshot("failure");
    g_failure = reason;
  }
  if (!ProgramEnded()) ::TerminateProcess(g_program.hProcess, 99);
  ::DeleteFileW(g_replyPath.c_str());  // the runner's own answers
  if (g_failure.empty() && g_options.tempUnchanged) CheckTempFolder(tempBefore);
  if (!g_failure.empty()) {
    std::fflush(stdout);
    std::fprintf(stderr, "ui-scenario: %s\n", g_failure.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace scenario

int wmain(int argc, wchar_t** argv) {
  std::string error;
  if (!scenario::ParseOptions(argc, argv, &scenario::g_options, &error)) {
    std::fprintf(stderr, "ui-scenario: %s\n%s", error.c_str(), scenario::Usage());
    return 2;
  }
  return scenario::Run();
}
