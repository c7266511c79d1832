#include "ui/controls/shell_file_info.h"

#include <shellapi.h>

#include "platform/os/os.h"

namespace ui {
namespace {

UINT IconSizeFlag(bool small) { return small ? SHGFI_SMALLICON : SHGFI_LARGEICON; }

int IconIndex(LPCWSTR name, DWORD attributes, bool small) {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(name, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | IconSizeFlag(small))) {
    return -1;
  }
  return info.iIcon;
}

}  // namespace

HIMAGELIST ShellFileInfo::GetSystemImageList(bool small) const {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(L"c:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | IconSizeFlag(small)));
}

int ShellFileInfo::GetIconIndex(const CString& name, bool small) const {
  return IconIndex(name, FILE_ATTRIBUTE_NORMAL, small);
}

int ShellFileInfo::GetFolderIconIndex(bool small) const { return IconIndex(L"folder", FILE_ATTRIBUTE_DIRECTORY, small); }

CString ShellFileInfo::GetFileTypeName(const CString& name) const {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(name, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES)) {
    return CString();
  }
  return CString(info.szTypeName);
}

int TypeIcons::Of(const std::u16string& name, bool folder) {
  const std::u16string type = folder ? u"/" : os::FileTypeKey(name);
  const auto known = icons_.find(type);
  if (known != icons_.end()) return known->second;
  const int icon = folder ? shell_.GetFolderIconIndex(true) : shell_.GetIconIndex(CString::FromUtf16(name), true);
  icons_.emplace(type, icon);
  return icon;
}

}  // namespace ui
