// The results list as a lister fills it: emptied first, then rows appended in order, each with its icon
// (the shell's, through host::ShellFileInfoHost) and the texts of its columns. Nothing happens where nobody
// listens; a row the list refuses gets no column texts. The list is drawn once, when the listing ends.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/host/result_tree_host.h"
#include "engine/host/shell_file_info_host.h"

class ResultListRows {
 public:
  ResultListRows();
  ~ResultListRows();
  ResultListRows(const ResultListRows&) = delete;
  ResultListRows& operator=(const ResultListRows&) = delete;

  // A row with the folder icon, then the texts of columns 1, 2, ...
  void AddFolder(const std::u16string& name, const std::vector<std::u16string>& columns);
  // The "Parent..." row that goes up a folder, with the folder icon.
  void AddParentRow();
  // A row with the icon of the file's type, then the texts of columns 1, 2, ...
  void AddFile(const std::u16string& name, const std::vector<std::u16string>& columns);

  // "Deleted " for a deleted file, then the shell's type name of its name.
  std::u16string FileType(const std::u16string& name, bool deleted);

  void CheckFirstRow();

 private:
  // What the shell said of one type: it is asked once per type and listing, not once per row.
  struct TypeInfo {
    int32_t icon = 0;
    bool iconKnown = false;
    std::u16string name;
    bool nameKnown = false;
  };
  TypeInfo& Type(const std::u16string& name);
  // The row it got, or -1.
  int32_t Add(const std::u16string& name, int32_t icon, const std::vector<std::u16string>& columns);
  int32_t FolderIcon();

  host::ResultListHost* list_;
  host::ShellFileInfoHost* shell_;
  uint32_t next_ = 0;
  int32_t folderIcon_ = -1;
  bool folderIconKnown_ = false;
  std::unordered_map<std::u16string, TypeInfo> types_;
};
