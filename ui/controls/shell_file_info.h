// The shell's system icons and type names, asked by file type only (no file is touched).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "platform/classlib/cstring.h"

namespace ui {

class ShellFileInfo {
 public:
  // The system image list of small or large icons.
  HIMAGELIST GetSystemImageList(bool small) const;
  // The system icon index of a file of that name's type.
  int GetIconIndex(const CString& name, bool small) const;
  int GetFolderIconIndex(bool small) const;
  // The shell's name of the type ("Text Document"); empty when the shell has none.
  CString GetFileTypeName(const CString& name) const;
};

// The small icons of names, one look-up per type: a name's icon comes from its type alone (the name is
// looked up without a file), and a list of many rows would otherwise ask the shell once per row.
class TypeIcons {
 public:
  int Of(const std::u16string& name, bool folder);

 private:
  ShellFileInfo shell_;
  std::map<std::u16string, int> icons_;  // by lower-cased extension ("/" for folders)
};

}  // namespace ui
