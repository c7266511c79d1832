#include "ui/controls/list_column_sorter.h"

#include <algorithm>

#include "platform/classlib/win/clistctrl.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace ui {

ListColumnSorter::ListColumnSorter(CListCtrl* list, int column) : list_(list) {
  const int count = list_->GetItemCount();
  records_.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int item = 0; item < count; ++item) {
    CString text = list_->GetItemText(item, column);
    auto record = std::make_unique<Record>();
    record->data = list_->GetItemData(item);
    const auto* chars = reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(text));
    record->text.assign(chars, static_cast<size_t>(text.GetLength()));
    list_->SetItemData(item, reinterpret_cast<DWORD_PTR>(record.get()));
    records_.push_back(std::move(record));
  }
}

ListColumnSorter::~ListColumnSorter() {
  // Rows move while sorting: each row finds its own data through the record it points at.
  std::vector<const Record*> ours;
  for (const auto& record : records_) ours.push_back(record.get());
  std::sort(ours.begin(), ours.end());
  const int count = list_->GetItemCount();
  for (int item = 0; item < count; ++item) {
    auto* record = reinterpret_cast<const Record*>(list_->GetItemData(item));
    if (std::binary_search(ours.begin(), ours.end(), record)) list_->SetItemData(item, record->data);
  }
}

void ListColumnSorter::Sort(bool ascending, int type) {
  // The selection mark is the row Space, F2 and the context menu act on: it moves with its row, as the
  // highlight does, never staying at an index that now holds another row.
  const int mark = list_->GetSelectionMark();
  const DWORD_PTR marked = mark >= 0 && mark < list_->GetItemCount() ? list_->GetItemData(mark) : 0;
  list_->SortItems(CompareItems, static_cast<DWORD_PTR>(ascending ? type : -type));
  if (marked == 0) return;
  const int count = list_->GetItemCount();
  for (int item = 0; item < count; ++item) {
    if (list_->GetItemData(item) == marked) {
      list_->SetSelectionMark(item);
      return;
    }
  }
}

int CALLBACK CompareItems(LPARAM record1, LPARAM record2, LPARAM parameter) {
  const auto* first = reinterpret_cast<const ListColumnSorter::Record*>(record1);
  const auto* second = reinterpret_cast<const ListColumnSorter::Record*>(record2);
  if (first == nullptr || second == nullptr) return 0;
  return CompareSortTexts(first->text, second->text, static_cast<int>(parameter), ParseListDate);
}

}  // namespace ui
