// Sorting a list control by one column's texts as integers, text, dates or decimal numbers. While the
// sorter lives, each row's item data points at a record of the sorter holding the row's own data and the
// column's text; destroying the sorter puts every row's own data back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/sort_compare.h"

class CListCtrl;

namespace ui {

class ListColumnSorter {
 public:
  ListColumnSorter(CListCtrl* list, int column);
  ~ListColumnSorter();
  ListColumnSorter(const ListColumnSorter&) = delete;
  ListColumnSorter& operator=(const ListColumnSorter&) = delete;

  // type: one of SortType; the list sorts itself with CompareItems. The selection mark stays on its row.
  void Sort(bool ascending, int type);

  struct Record {
    DWORD_PTR data;
    std::u16string text;
  };

 private:
  CListCtrl* list_;
  std::vector<std::unique_ptr<Record>> records_;
};

// The list's comparison: two records of a ListColumnSorter and the sort parameter (the type, negative
// for descending order). Dates are read as the lists write them (ParseListDate), whatever the user's
// locale says of dates.
int CALLBACK CompareItems(LPARAM record1, LPARAM record2, LPARAM parameter);

}  // namespace ui
