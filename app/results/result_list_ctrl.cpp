#include "app/results/result_list_ctrl.h"

#include <commctrl.h>

#include "app/results/result_columns.h"

IMPLEMENT_DYNAMIC(ResultListCtrl, CTKListCtrl)

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

void ResultListCtrl::SetColumnsFor(uint32_t mode) {
  while (CListCtrl::DeleteColumn(0)) {
  }
  int index = 0;
  for (const results::ResultColumn& c : results::ResultColumnsFor(mode)) {
    CListCtrl::InsertColumn(index++, reinterpret_cast<const wchar_t*>(c.title), LVCFMT_LEFT, c.width);
  }
}

void ResultListCtrl::ForgetPreviewTempFiles() {
  m_previewTempFiles.clear();
  m_lastPreviewPath.clear();
  m_lastPreviewId = 0;
}

void ResultListCtrl::SetReportView() { ModifyStyle(0x3, 0x101); }

void ResultListCtrl::DeleteAllItems() { CListCtrl::DeleteAllItems(); }

int32_t ResultListCtrl::InsertItem(uint32_t row, const std::u16string& text, int32_t icon) {
  return CListCtrl::InsertItem(static_cast<int>(row), reinterpret_cast<const wchar_t*>(text.c_str()), icon);
}

void ResultListCtrl::SetItemText(uint32_t row, uint32_t column, const std::u16string& text) {
  CListCtrl::SetItemText(static_cast<int>(row), static_cast<int>(column), reinterpret_cast<const wchar_t*>(text.c_str()));
}

void ResultListCtrl::CheckItem(uint32_t row) {
  SetItemState(static_cast<int>(row), INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
}

uint32_t ResultListCtrl::GetItemCount() { return static_cast<uint32_t>(CListCtrl::GetItemCount()); }

std::u16string ResultListCtrl::GetItemText(uint32_t row, uint32_t column) {
  return CListCtrl::GetItemText(static_cast<int>(row), static_cast<int>(column)).ToUtf16();
}

std::vector<std::u16string> ResultListCtrl::PreviewTempFiles() {
  std::vector<std::u16string> paths;
  for (const auto& entry : m_previewTempFiles) paths.push_back(entry.second);
  return paths;
}

std::vector<host::TreeKey> ResultListCtrl::SaveFolderSet() { return {m_saveFolderSet.begin(), m_saveFolderSet.end()}; }

std::vector<uint32_t> ResultListCtrl::SaveFileSet() { return {m_saveFileSet.begin(), m_saveFileSet.end()}; }

void ResultListCtrl::EmptyCheckSets() {
  m_saveFolderSet.clear();
  m_saveFileSet.clear();
}
