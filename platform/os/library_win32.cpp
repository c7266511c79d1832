#include "platform/os/library_win32.h"

#include <string>

namespace os {
namespace {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

}  // namespace

HMODULE LoadProgramOrSystemLibrary(const wchar_t* fileName) {
  if (fileName == nullptr || fileName[0] == L'\0' || std::wstring(fileName).find_first_of(L"\\/:") != std::wstring::npos)
    return nullptr;
  HMODULE module =
      ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // A system that does not know the search flags: each folder by its full path.
  for (const std::wstring& folder : {ProgramFolder(), SystemFolder()}) {
    if (folder.empty()) continue;
    module = ::LoadLibraryExW((folder + L"\\" + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module != nullptr) return module;
  }
  return nullptr;
}

void KeepCurrentFolderOutOfLibrarySearch() {
  // Any folder given here takes the current folder's place in the search; the program's own folder is
  // searched first anyway. (An empty one means the same to some systems, nothing to others.)
  const std::wstring folder = ProgramFolder();
  ::SetDllDirectoryW(folder.empty() ? L"" : folder.c_str());
}

}  // namespace os
