// The real program, started as the user starts it: the main frame with its bars and page 0, a second copy
// refused by the single-instance mutex, Exit answered No, and Close answered Yes ending the process with
// code 0 after it kept its window position and command-bar state.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  // Spreadsheets open inside the preview pane: set for the current user, which needs no administrator.
  DWORD flags = 0, size = sizeof flags;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\Excel.Sheet.8", L"EditFlags", RRF_RT_REG_DWORD,
                           nullptr, &flags, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(flags, 0x00010000u);

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

}  // namespace
