// The real program, started as the user starts it: the main frame with its bars and page 0, a second copy
// refused by the single-instance mutex, Exit answered No, and Close answered Yes ending the process with
// code 0 after it kept its window position and command-bar state; a snapshot opened through the shell
// while it runs.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/snapshot_test_files.h"
#include "platform/harness/shell_open.h"
#include "res/resource.h"

namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Dorvane.exe";
}

struct Program {
  PROCESS_INFORMATION pi{};
  bool Start() {
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != FALSE;
  }
  bool Ended(DWORD waitMs) const { return ::WaitForSingleObject(pi.hProcess, waitMs) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  ~Program() {
    if (pi.hProcess == nullptr) return;
    if (!Ended(0)) ::TerminateProcess(pi.hProcess, 99);  // only after a failed expectation
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
};

struct Search {
  DWORD process;
  bool wantFrame;  // the frame holds the pages; the boxes hold none
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !::IsWindowVisible(window)) return TRUE;
  if ((::GetDlgItem(window, 0xE900) != nullptr) != search->wantFrame) return TRUE;
  // Boxes and the frame have captions; a tooltip or a popup's shadow that shows meanwhile has none.
  if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
  search->found = window;
  return FALSE;
}

HWND WaitForWindow(DWORD process, bool frame, DWORD timeoutMs = 30000) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    Search search{process, frame, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    ::Sleep(50);
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

// The texts of a box's children (the plain box shows its message in a static).
std::wstring ChildTexts(HWND box) {
  std::wstring all;
  for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    all += WindowText(child) + L"|";
  }
  return all;
}

DWORD ProfileValueType(const wchar_t* section, const wchar_t* value) {
  const std::wstring key = std::wstring(L"Software\\Local AppWizard-Generated Applications\\Dorvane\\") + section;
  DWORD type = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_ANY, &type, nullptr, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  return type;
}

void DeleteProfileSection(const wchar_t* section) {
  const std::wstring key = std::wstring(L"Software\\Local AppWizard-Generated Applications\\Dorvane\\") + section;
  ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST(DorvaneProgram, MainFrameSecondCopyAndExit) {
  // Earlier versions made the spreadsheet keys for the user.
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Excel.Sheet.8");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Excel.Sheet.12");
  DeleteProfileSection(L"Settings");
  DeleteProfileSection(L"CommandBars-Summary");
  Program first;
  ASSERT_TRUE(first.Start());
  HWND frame = WaitForWindow(first.pi.dwProcessId, true);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(WindowText(frame), L"Dorvane");
  // The frame shows before the application has made the other pages and opened its start document.
  for (int i = 0; i < 600 && ::GetDlgItem(frame, 0xE904) == nullptr; ++i) ::Sleep(50);
  // Start-up ends with page 0 asking for the image; the user cancels.
  HWND browse = WaitForWindow(first.pi.dwProcessId, false);
  ASSERT_NE(browse, nullptr);
  ::PostMessageW(browse, WM_COMMAND, IDCANCEL, 0);
  for (int i = 0; i < 200 && ::IsWindowVisible(browse); ++i) ::Sleep(50);
  ASSERT_FALSE(::IsWindowVisible(browse));
  ::Sleep(500);

  // The chrome: the menu bar in place of a window menu, the toolbar under it, the status bar, page 0 in front.
  EXPECT_EQ(::GetMenu(frame), nullptr);
  HWND topDock = ::GetDlgItem(frame, 59419);
  ASSERT_NE(topDock, nullptr);
  EXPECT_NE(::GetWindow(topDock, GW_CHILD), nullptr);
  HWND page0 = ::GetDlgItem(frame, 0xE900);
  HWND status = ::GetDlgItem(frame, 0xE801);
  HWND toolbar = ::GetDlgItem(frame, 0xE81B);
  ASSERT_NE(page0, nullptr);
  ASSERT_NE(status, nullptr);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_TRUE(::IsWindowVisible(page0) && ::IsWindowVisible(status) && ::IsWindowVisible(toolbar));
  for (int id = 0xE901; id <= 0xE904; ++id) {
    HWND page = ::GetDlgItem(frame, id);
    ASSERT_NE(page, nullptr) << id;
    EXPECT_FALSE(::IsWindowVisible(page)) << id;
  }
  RECT bar, pageRect, statusRect, window;
  ::GetWindowRect(toolbar, &bar);
  ::GetWindowRect(page0, &pageRect);
  ::GetWindowRect(status, &statusRect);
  ::GetWindowRect(frame, &window);
  EXPECT_GE(bar.bottom - bar.top, 71);  // the banner's 51 pixels from y 20
  EXPECT_LE(bar.bottom, pageRect.top);
  EXPECT_LE(pageRect.bottom, statusRect.top);
  EXPECT_GE(window.right - window.left, 875);
  EXPECT_GE(window.bottom - window.top, 690);
  // Without the spreadsheet program its class keys are not made, for the user or the machine.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const wchar_t* key : {L"Software\\Classes\\Excel.Sheet.8", L"Software\\Classes\\Excel.Sheet.12"}) {
      HKEY opened = nullptr;
      EXPECT_NE(::RegOpenKeyExW(root, key, 0, KEY_READ, &opened), ERROR_SUCCESS) << key;
      if (opened != nullptr) ::RegCloseKey(opened);
    }
  }

  // A second copy says so and ends.
  {
    Program second;
    ASSERT_TRUE(second.Start());
    HWND box = WaitForWindow(second.pi.dwProcessId, false);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(ChildTexts(box).find(L"Another instance of the application is already running."), std::wstring::npos)
        << ChildTexts(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.Ended(30000));
    EXPECT_EQ(WindowText(frame), L"Dorvane");  // the first copy is untouched
  }

  // Exit, answered No: the program keeps running.
  ::PostMessageW(frame, WM_COMMAND, ID_EXIT, 0);
  HWND question = WaitForWindow(first.pi.dwProcessId, false);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(WindowText(question), L"Dorvane");
  ::PostMessageW(question, WM_COMMAND, IDNO, 0);
  for (int i = 0; i < 100 && ::IsWindowVisible(question); ++i) ::Sleep(50);
  EXPECT_FALSE(first.Ended(1000));
  EXPECT_TRUE(::IsWindowVisible(frame));
  EXPECT_EQ(ProfileValueType(L"Settings", L"Window Position"), 0u);  // nothing saved on No

  // Close, answered Yes: the state is kept and the process ends with code 0.
  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  question = WaitForWindow(first.pi.dwProcessId, false);
  ASSERT_NE(question, nullptr);
  ::PostMessageW(question, WM_COMMAND, IDYES, 0);
  ASSERT_TRUE(first.Ended(30000));
  EXPECT_EQ(first.ExitCode(), 0u);
  EXPECT_EQ(ProfileValueType(L"Settings", L"Window Position"), static_cast<DWORD>(REG_BINARY));  // the 48-byte placement record
  EXPECT_EQ(ProfileValueType(L"CommandBars-Summary", L"Bars"), static_cast<DWORD>(REG_DWORD));
}

// The results page's tree: the tree control among the page's descendants.
BOOL CALLBACK FindTree(HWND window, LPARAM parameter) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring(name) != L"SysTreeView32") return TRUE;
  *reinterpret_cast<HWND*>(parameter) = window;
  return FALSE;
}

// Starts the program and cancels page 0's question for the image; its frame, or null.
HWND StartAndCancelBrowse(Program& program) {
  if (!program.Start()) return nullptr;
  HWND frame = WaitForWindow(program.pi.dwProcessId, true);
  if (frame == nullptr) return nullptr;
  for (int i = 0; i < 600 && ::GetDlgItem(frame, 0xE904) == nullptr; ++i) ::Sleep(50);
  HWND browse = WaitForWindow(program.pi.dwProcessId, false);
  if (browse == nullptr) return nullptr;
  ::PostMessageW(browse, WM_COMMAND, IDCANCEL, 0);
  for (int i = 0; i < 200 && ::IsWindowVisible(browse); ++i) ::Sleep(50);
  return frame;
}

void CloseAnsweringYes(Program& program, HWND frame) {
  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND question = WaitForWindow(program.pi.dwProcessId, false);
  ASSERT_NE(question, nullptr);
  ::PostMessageW(question, WM_COMMAND, IDYES, 0);
  ASSERT_TRUE(program.Ended(30000));
}

// A snapshot file in the temporary folder, and the program's registration of its type where this Wine's
// shell looks (harness/shell_open.h).
class ShellOpenFixture {
 public:
  ShellOpenFixture() {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    // Small letters: the program opens a snapshot by its name in small letters.
    file_ = std::wstring(folder) + L"shell open.vsnp";
    const std::string bytes = SnapshotBytesFromTestData("quick_fat.vsnp.hex");
    HANDLE out = ::CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD count = 0;
    if (out != INVALID_HANDLE_VALUE) ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    ::CloseHandle(out);
  }
  ~ShellOpenFixture() { ::DeleteFileW(file_.c_str()); }
  // Mirrors the type the program registered; false when it registered none.
  bool MirrorRegistration() const { return mirror_.Mirror(); }
  // Opens the file as a double click does; the process the shell started, if any.
  HANDLE Open() const {
    HANDLE started = harness::OpenAsShellDoes(file_);
    EXPECT_NE(started, INVALID_HANDLE_VALUE) << ::GetLastError();
    return started == INVALID_HANDLE_VALUE ? nullptr : started;
  }

 private:
  harness::ShellTypeMirror mirror_{{L"Vantor.Document", L".vsnp"}};
  std::wstring file_;
};

// The copy shows the snapshot's results: page 4 carries the first-view id and its tree holds the folders.
void ExpectResultsShown(HWND results) {
  // The page takes the first-view id before it is shown: wait for both.
  for (int i = 0; i < 400 && (::GetDlgCtrlID(results) != 0xE900 || !::IsWindowVisible(results)); ++i) ::Sleep(50);
  EXPECT_EQ(::GetDlgCtrlID(results), 0xE900);
  EXPECT_TRUE(::IsWindowVisible(results));
  HWND tree = nullptr;
  ::EnumChildWindows(results, FindTree, reinterpret_cast<LPARAM>(&tree));
  ASSERT_NE(tree, nullptr);
  EXPECT_GE(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 2);  // "Root" and the snapshot's folder
}

TEST(DorvaneProgram, ASnapshotOpenedThroughTheShellGoesToTheRunningCopyOrStartsOne) {
  ShellOpenFixture snapshot;
  {
    Program running;
    HWND frame = StartAndCancelBrowse(running);
    ASSERT_NE(frame, nullptr);
    HWND results = ::GetDlgItem(frame, 0xE904);
    ASSERT_NE(results, nullptr);
    ASSERT_TRUE(snapshot.MirrorRegistration());
    HANDLE second = snapshot.Open();
    EXPECT_EQ(second, nullptr);  // no second copy
    if (second != nullptr) {
      ::TerminateProcess(second, 99);  // it would wait on "already running"
      ::CloseHandle(second);
    }
    ExpectResultsShown(results);
    CloseAnsweringYes(running, frame);
  }
  // Without a running copy the shell starts one, which takes the snapshot from the shell and asks nothing.
  Program started;
  started.pi.hProcess = snapshot.Open();
  ASSERT_NE(started.pi.hProcess, nullptr);
  started.pi.dwProcessId = ::GetProcessId(started.pi.hProcess);
  HWND frame = WaitForWindow(started.pi.dwProcessId, true);
  ASSERT_NE(frame, nullptr);
  for (int i = 0; i < 600 && ::GetDlgItem(frame, 0xE904) == nullptr && ::GetDlgItem(frame, 0xE900) == nullptr; ++i) {
    ::Sleep(50);
  }
  HWND results = nullptr;
  for (int i = 0; i < 400 && results == nullptr; ++i) {
    HWND candidate = ::GetDlgItem(frame, 0xE900);
    HWND tree = nullptr;
    if (candidate != nullptr) ::EnumChildWindows(candidate, FindTree, reinterpret_cast<LPARAM>(&tree));
    if (tree != nullptr && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) >= 2) results = candidate;
    if (results == nullptr) ::Sleep(50);
  }
  ASSERT_NE(results, nullptr);
  ExpectResultsShown(results);
  EXPECT_EQ(WaitForWindow(started.pi.dwProcessId, false, 1000), nullptr);  // no open dialog
  CloseAnsweringYes(started, frame);
}

}  // namespace
