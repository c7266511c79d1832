// The file dialog and the folder browser as the program's code calls them, so that a test can answer
// them from presets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace seams {

struct FileDialogRequest {
  void* owner = nullptr;          // the owner window's handle, or none
  bool open = true;               // open dialog; false: save dialog
  std::u16string title;           // empty: the platform's title
  std::u16string filter;          // pairs separated by '|', as "vhd file (.vhd,.vhdx)|*.vhd?||"
  std::u16string defaultExtension;
  std::u16string initialName;
  uint32_t flags = 0;             // the platform's dialog flags, as the caller gives them
};

struct FileDialogResult {
  bool ok = false;                   // false: the user cancelled
  std::vector<std::u16string> paths; // full paths; several with a multiple selection
};

struct FolderRequest {
  void* owner = nullptr;
  std::u16string title;
};

class FileDialogSeam {
 public:
  virtual ~FileDialogSeam() = default;
  virtual FileDialogResult ChooseFiles(const FileDialogRequest& request) = 0;
  // The chosen folder's path, or empty when the user cancelled.
  virtual std::u16string ChooseFolder(const FolderRequest& request) = 0;
};

}  // namespace seams
