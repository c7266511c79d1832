// A shell with a small fixed table of file types, for tests and the headless driver.
#pragma once

#include <string>

#include "engine/host/shell_file_info_host.h"

namespace host {

// Types by extension (after the last ".", any case):
//   txt Text Document, jpg JPEG Image, png PNG Image, gif GIF Image, bmp Bitmap Image, pdf PDF Document,
//   zip Compressed Folder;
// any other extension X: "X File" with X in upper case, as the shell names unregistered types; a name
// without an extension: "File". Icons: the folder kFolderIcon, the types of the table kFirstTypeIcon
// onwards in table order, every other file kPlainFileIcon. Small and large icons share the indexes.
class FixedShellFileInfo : public ShellFileInfoHost {
 public:
  static constexpr int32_t kPlainFileIcon = 0;
  static constexpr int32_t kFolderIcon = 3;
  static constexpr int32_t kFirstTypeIcon = 10;

  int32_t GetFolderIconIndex(bool small) override;
  int32_t GetIconIndex(const std::u16string& name, bool small) override;
  std::u16string GetFileTypeName(const std::u16string& name) override;
};

}  // namespace host
