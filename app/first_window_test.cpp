// Starts the program, finds its main window by title, closes it and checks that the process ends cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Dorvane.exe";
}

HWND WaitForWindow(const wchar_t* title, DWORD processId, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    HWND found = ::FindWindowW(nullptr, title);
    DWORD owner = 0;
    if (found) ::GetWindowThreadProcessId(found, &owner);
    if (found && owner == processId && ::IsWindowVisible(found)) return found;
    ::Sleep(50);
  }
  return nullptr;
}

TEST(FirstWindow, OpensWithTitleAndClosesCleanly) {
  std::wstring command = L"\"" + ProgramPath() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND frame = WaitForWindow(L"Dorvane", pi.dwProcessId, 30000);
  ASSERT_NE(frame, nullptr);
  wchar_t title[64] = {};
  ::GetWindowTextW(frame, title, 64);
  EXPECT_STREQ(title, L"Dorvane");
  RECT rect;
  ::GetWindowRect(frame, &rect);
  EXPECT_GT(rect.right - rect.left, 100);
  ::PostMessageW(frame, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

}  // namespace
