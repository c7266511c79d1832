// Sorting the results list by a clicked column header and regrouping it afterwards: folders stay above
// files, each group in the sorted order, and the "Parent..." row stays first.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace results {

// The comparison type of a column (ui::SortType): text for the name and type, integers for the size
// and the id, dates for the two times; 0 (not sorted) for any other column.
int ColumnSortType(int column);

struct SortOrder {
  int column = 1;
  bool ascending = true;
};
// A click on column: the same column again turns the direction; another column starts in the header's
// default direction.
SortOrder NextSortOrder(SortOrder current, int column, bool defaultAscending);
// The order a column click asks for, given the arrow the page showed last and the one the header shows
// now. The header's Sort Ascending and Sort Descending commands set its arrow before the list hears of
// the click: an arrow on the clicked column other than the one shown is the order to take. Any other
// click turns or starts the order as NextSortOrder does (a new column ascending).
SortOrder SortForColumnClick(SortOrder current, SortOrder shown, SortOrder header, int column);

struct RowNameType {
  std::u16string name;  // column 0
  std::u16string type;  // column 1
  bool parent = false;  // the lister's "Parent..." row
};
// The rows' new order (indexes into rows): "Parent..." first, then the folder and deleted-folder rows,
// then the others, each group in the order it had.
std::vector<size_t> RegroupOrder(const std::vector<RowNameType>& rows);

}  // namespace results
