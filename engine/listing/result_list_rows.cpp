#include "engine/listing/result_list_rows.h"

ResultListRows::ResultListRows() : list_(host::Current().resultList), shell_(host::Current().shellFileInfo) {
  if (list_ != nullptr) list_->DeleteAllItems();
}

void ResultListRows::AddFolder(const std::u16string& name, const std::vector<std::u16string>& columns) {
  Add(name, shell_ != nullptr ? shell_->GetFolderIconIndex(true) : 0, columns);
}

void ResultListRows::AddFile(const std::u16string& name, const std::vector<std::u16string>& columns) {
  Add(name, shell_ != nullptr ? shell_->GetIconIndex(name, true) : 0, columns);
}

std::u16string ResultListRows::FileType(const std::u16string& name, bool deleted) {
  std::u16string type = deleted ? u"Deleted " : u"";
  if (shell_ != nullptr) type += shell_->GetFileTypeName(name);
  return type;
}

void ResultListRows::CheckFirstRow() {
  if (list_ != nullptr) list_->CheckItem(0);
}

void ResultListRows::Add(const std::u16string& name, int32_t icon, const std::vector<std::u16string>& columns) {
  if (list_ == nullptr) return;
  const int32_t row = list_->InsertItem(next_, name, icon);
  if (row < 0) return;
  ++next_;
  for (size_t i = 0; i < columns.size(); ++i) {
    list_->SetItemText(static_cast<uint32_t>(row), static_cast<uint32_t>(i + 1), columns[i]);
  }
}
