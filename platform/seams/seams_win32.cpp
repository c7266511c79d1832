// The platform's message box, common file dialogs, folder browser, shell verbs and WinExec.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "file_selection.h"
#include "open_address.h"
#include "platform/os/win32.h"
#include "seams.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace seams {
namespace {

using os::Wide;
const wchar_t* WideOrNull(const std::u16string& text) { return text.empty() ? nullptr : Wide(text); }
std::u16string FromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

class PlatformBoxes : public MessageBoxSeam {
 public:
  int Show(const MessageBoxRequest& request) override {
    return ::MessageBoxW(static_cast<HWND>(request.owner), Wide(request.text), Wide(request.caption),
                         request.style);
  }
};

// The buffer up to its closing double zero, walked as an explorer-style selection.
std::vector<std::u16string> SplitSelection(const std::vector<wchar_t>& buffer) {
  size_t end = 0;
  while (end + 1 < buffer.size() && (buffer[end] != 0 || buffer[end + 1] != 0)) ++end;
  return SelectionPaths(std::u16string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(end + 1)), true);
}

// The system puts a file dialog at its owner's top left, over the owner's menu and tool bars: while one
// runs, the first dialog activated on this thread is moved to the centre of the owner's window instead.
struct Centring {
  HHOOK hook = nullptr;
  HWND over = nullptr;
};
thread_local Centring g_centring;

void CentreOver(HWND dialog, HWND owner) {
  RECT d{}, o{};
  if (!::GetWindowRect(dialog, &d) || !::GetWindowRect(owner, &o)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  const LONG width = d.right - d.left;
  const LONG height = d.bottom - d.top;
  // Inside the work area, its top left corner first.
  const LONG x = std::max(area.left, std::min(o.left + (o.right - o.left - width) / 2, area.right - width));
  const LONG y = std::max(area.top, std::min(o.top + (o.bottom - o.top - height) / 2, area.bottom - height));
  ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK CentreOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_centring.over != nullptr) {
    const HWND dialog = reinterpret_cast<HWND>(wParam);
    wchar_t name[8] = {};
    ::GetClassNameW(dialog, name, 8);
    if (::lstrcmpW(name, L"#32770") == 0) {
      CentreOver(dialog, g_centring.over);
      g_centring.over = nullptr;
    }
  }
  return ::CallNextHookEx(g_centring.hook, code, wParam, lParam);
}

class ScopedCentring {
 public:
  explicit ScopedCentring(HWND owner) {
    const HWND root = owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    if (root == nullptr || g_centring.hook != nullptr) return;
    g_centring.over = root;
    g_centring.hook = ::SetWindowsHookExW(WH_CBT, CentreOnActivate, nullptr, ::GetCurrentThreadId());
    mine_ = g_centring.hook != nullptr;
  }
  ~ScopedCentring() {
    if (!mine_) return;
    ::UnhookWindowsHookEx(g_centring.hook);
    g_centring = Centring{};
  }
  ScopedCentring(const ScopedCentring&) = delete;
  ScopedCentring& operator=(const ScopedCentring&) = delete;

 private:
  bool mine_ = false;
};

class PlatformDialogs : public FileDialogSeam {
 public:
  FileDialogResult ChooseFiles(const FileDialogRequest& request) override {
    std::u16string filter = request.filter;
    for (char16_t& c : filter) {
      if (c == u'|') c = 0;
    }
    filter.push_back(0);
    // Room for a long multiple selection, not only for one path.
    std::vector<wchar_t> buffer(32768, 0);
    request.initialName.copy(reinterpret_cast<char16_t*>(buffer.data()), buffer.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = static_cast<HWND>(request.owner);
    ofn.lpstrFilter = filter.size() > 1 ? Wide(filter) : nullptr;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = WideOrNull(request.title);
    ofn.lpstrDefExt = WideOrNull(request.defaultExtension);
    // The current folder stays where it was: a dialog that moved it to the image's folder would put the
    // user's files among the folders searched for libraries and for relative names.
    ofn.Flags = request.flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    ScopedCentring centred(ofn.hwndOwner);
    BOOL ok = request.open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    FileDialogResult result;
    if (!ok) return result;
    result.ok = true;
    result.paths = SplitSelection(buffer);
    return result;
  }

  std::u16string ChooseFolder(const FolderRequest& request) override {
    BROWSEINFOW info{};
    info.hwndOwner = static_cast<HWND>(request.owner);
    info.lpszTitle = WideOrNull(request.title);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    bool ok = ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    return ok ? FromWide(path) : std::u16string();
  }
};

class PlatformShellSeam : public ShellSeam {
 public:
  intptr_t Execute(const ShellRequest& request) override {
    HINSTANCE result = ::ShellExecuteW(static_cast<HWND>(request.owner), WideOrNull(request.verb),
                                       Wide(request.target), WideOrNull(request.parameters),
                                       WideOrNull(request.directory), request.show);
    return reinterpret_cast<intptr_t>(result);
  }

  // Started in UTF-16, so names outside the ANSI code page survive; the result is numbered as
  // WinExec numbers it (above 31 success, else 0, 2, 3 or 11, or another small error number).
  uint32_t StartProcess(const std::u16string& commandLine, int show) override {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      DWORD error = ::GetLastError();
      if (error == ERROR_BAD_EXE_FORMAT) return ERROR_BAD_FORMAT;
      return error > 0 && error < 32 ? error : 0;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 33;
  }
};

// The default value of a key under HKEY_CLASSES_ROOT (at most MAX_PATH characters); empty when missing.
std::u16string ClassesRootValue(const std::u16string& key) {
  wchar_t value[MAX_PATH + 1] = {};
  LONG size = sizeof value - sizeof value[0];
  if (::RegQueryValueW(HKEY_CLASSES_ROOT, Wide(key), value, &size) != ERROR_SUCCESS) return {};
  return FromWide(value);
}

}  // namespace

std::u16string RegisteredBrowserCommand() {
  std::u16string type = ClassesRootValue(u".htm");
  if (type.empty()) return {};
  return ClassesRootValue(type + u"\\shell\\open\\command");
}

MessageBoxSeam& PlatformMessageBoxes() {
  static PlatformBoxes seam;
  return seam;
}
FileDialogSeam& PlatformFileDialogs() {
  static PlatformDialogs seam;
  return seam;
}
ShellSeam& PlatformShell() {
  static PlatformShellSeam seam;
  return seam;
}

}  // namespace seams
