#include "engine/listing/result_list_rows.h"

#include "platform/os/os.h"

ResultListRows::ResultListRows() : list_(host::Current().resultList), shell_(host::Current().shellFileInfo) {
  if (list_ == nullptr) return;
  list_->BeginRows();
  list_->DeleteAllItems();
}

ResultListRows::~ResultListRows() {
  if (list_ != nullptr) list_->EndRows();
}

ResultListRows::TypeInfo& ResultListRows::Type(const std::u16string& name) { return types_[os::FileTypeKey(name)]; }

int32_t ResultListRows::FolderIcon() {
  if (shell_ == nullptr) return 0;
  if (!folderIconKnown_) {
    folderIcon_ = shell_->GetFolderIconIndex(true);
    folderIconKnown_ = true;
  }
  return folderIcon_;
}

void ResultListRows::AddFolder(const std::u16string& name, const std::vector<std::u16string>& columns) {
  Add(name, FolderIcon(), columns);
}

void ResultListRows::AddParentRow() {
  const int32_t row = Add(u"Parent...", FolderIcon(), {});
  if (row >= 0) list_->SetParentRow(static_cast<uint32_t>(row));
}

void ResultListRows::AddFile(const std::u16string& name, const std::vector<std::u16string>& columns) {
  if (shell_ == nullptr) {
    Add(name, 0, columns);
    return;
  }
  TypeInfo& type = Type(name);
  if (!type.iconKnown) {
    type.icon = shell_->GetIconIndex(name, true);
    type.iconKnown = true;
  }
  Add(name, type.icon, columns);
}

std::u16string ResultListRows::FileType(const std::u16string& name, bool deleted) {
  std::u16string text = deleted ? u"Deleted " : u"";
  if (shell_ == nullptr) return text;
  TypeInfo& type = Type(name);
  if (!type.nameKnown) {
    type.name = shell_->GetFileTypeName(name);
    type.nameKnown = true;
  }
  return text + type.name;
}

void ResultListRows::CheckFirstRow() {
  if (list_ != nullptr) list_->CheckItem(0);
}

int32_t ResultListRows::Add(const std::u16string& name, int32_t icon, const std::vector<std::u16string>& columns) {
  if (list_ == nullptr) return -1;
  const int32_t row = list_->InsertItem(next_, name, icon);
  if (row < 0) return -1;
  ++next_;
  for (size_t i = 0; i < columns.size(); ++i) {
    list_->SetItemText(static_cast<uint32_t>(row), static_cast<uint32_t>(i + 1), columns[i]);
  }
  return row;
}
