// What the engine needs of the shell's file information (ShellFileInfo): system icons and type names for
// the rows of the results list. The names are looked up by their type only; no file is touched.
#pragma once

#include <cstdint>
#include <string>

namespace host {

class ShellFileInfoHost {
 public:
  virtual ~ShellFileInfoHost() = default;
  // The index of the folder icon in the system image list (small or large icons).
  virtual int32_t GetFolderIconIndex(bool small) = 0;
  // The index of the icon of a file with this name, by its type.
  virtual int32_t GetIconIndex(const std::u16string& name, bool small) = 0;
  // The shell's type name for a file with this name ("Text Document").
  virtual std::u16string GetFileTypeName(const std::u16string& name) = 0;
};

}  // namespace host
