// The platform's message box, common file dialogs, folder browser, shell verbs and WinExec.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "seams.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace seams {
namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
const wchar_t* WideOrNull(const std::u16string& text) { return text.empty() ? nullptr : Wide(text); }
std::u16string FromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

class PlatformBoxes : public MessageBoxSeam {
 public:
  int Show(const MessageBoxRequest& request) override {
    return ::MessageBoxW(static_cast<HWND>(request.owner), Wide(request.text), Wide(request.caption),
                         request.style);
  }
};

// A multiple selection comes back as the folder and then each name, every part ending with a zero.
std::vector<std::u16string> SplitSelection(const std::vector<wchar_t>& buffer) {
  std::vector<std::u16string> parts;
  const wchar_t* p = buffer.data();
  while (*p) {
    parts.push_back(FromWide(p));
    p += parts.back().size() + 1;
  }
  if (parts.size() <= 1) return parts;
  std::u16string folder = parts.front();
  if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
  std::vector<std::u16string> paths;
  for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
  return paths;
}

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
    ofn.Flags = request.flags | OFN_EXPLORER;
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

  uint32_t StartProcess(const std::u16string& commandLine, int show) override {
    // WinExec takes the command line in the ANSI code page.
    int length = ::WideCharToMultiByte(CP_ACP, 0, Wide(commandLine), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> line(length > 0 ? length : 1, 0);
    ::WideCharToMultiByte(CP_ACP, 0, Wide(commandLine), -1, line.data(), length, nullptr, nullptr);
    return ::WinExec(line.data(), static_cast<UINT>(show));
  }
};

}  // namespace

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
