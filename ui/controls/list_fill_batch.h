// Rows added to a report list in one batch: the list neither repaints nor grows its store after each row
// (tens of thousands of rows otherwise take a minute under some list controls); it is drawn once when the
// batch ends.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/classlib/win/clistctrl.h"

namespace ui {

class ListFillBatch {
 public:
  ListFillBatch(CListCtrl* list, size_t rows) : list_(list) {
    list_->SetRedraw(FALSE);
    list_->SetItemCount(static_cast<int>(rows < INT32_MAX ? rows : INT32_MAX));
  }
  ~ListFillBatch() {
    list_->SetRedraw(TRUE);
    list_->Invalidate();
  }
  ListFillBatch(const ListFillBatch&) = delete;
  ListFillBatch& operator=(const ListFillBatch&) = delete;

 private:
  CListCtrl* list_;
};

}  // namespace ui
