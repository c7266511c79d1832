// The platform's own file dialog, driven as a user does: a file chosen in another folder comes back, and
// the current folder stays where it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/harness/modal_script.h"
#include "platform/seams/seams.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM out) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (!::IsWindowVisible(window) || ::lstrcmpW(name, L"#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

// A visible dialog box of this thread, or none.
HWND ThreadDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(PlatformFileDialogs, AFileChosenElsewhereLeavesTheCurrentFolderWhereItWas) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"dorvane_dialog_" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring image = folder + L"\\disk.vhd";
  HANDLE file = ::CreateFileW(image.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);
  const std::wstring before = CurrentFolder();

  harness::ModalScript script;
  script.Step("the open dialog", [] { return ThreadDialog() != nullptr; },
              [&image] {
                const HWND dialog = ThreadDialog();
                // The file name box of the dialog (a combo box on newer systems, an edit box on older ones).
                if (!::SetDlgItemTextW(dialog, 1148, image.c_str())) ::SetDlgItemTextW(dialog, 1152, image.c_str());
                ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
              });
  script.Start();
  seams::FileDialogRequest request;
  request.filter = u"vhd file (.vhd,.vhdx)|*.vhd?||";
  const seams::FileDialogResult result = seams::PlatformFileDialogs().ChooseFiles(request);
  const std::wstring after = CurrentFolder();
  ::DeleteFileW(image.c_str());
  ::RemoveDirectoryW(folder.c_str());

  EXPECT_TRUE(script.Finished()) << script.Failure();
  ASSERT_TRUE(result.ok);
  ASSERT_EQ(result.paths.size(), 1u);
  EXPECT_EQ(::lstrcmpiW(reinterpret_cast<const wchar_t*>(result.paths[0].c_str()), image.c_str()), 0);
  EXPECT_EQ(after, before);
}

}  // namespace
