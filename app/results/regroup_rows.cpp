#include "app/results/regroup_rows.h"

#include "app/results/result_rows.h"

namespace results {

int ColumnSortType(int column) {
  switch (column) {
    case 0:
    case 1:
      return 2;  // text
    case 2:
    case 5:
      return 1;  // integer
    case 3:
    case 4:
      return 3;  // date
    default:
      return 0;
  }
}

SortOrder NextSortOrder(SortOrder current, int column, bool defaultAscending) {
  if (column == current.column) return SortOrder{column, !current.ascending};
  return SortOrder{column, defaultAscending};
}

SortOrder SortForColumnClick(SortOrder current, SortOrder shown, SortOrder header, int column) {
  const bool headerMoved = header.column != shown.column || header.ascending != shown.ascending;
  const bool headerChose = header.column == column && headerMoved;
  return headerChose ? header : NextSortOrder(current, column, true);
}

std::vector<size_t> RegroupOrder(const std::vector<RowNameType>& rows) {
  std::vector<size_t> order;
  order.reserve(rows.size());
  for (RowKind wanted : {RowKind::kParent, RowKind::kFolder, RowKind::kFile}) {
    for (size_t i = 0; i < rows.size(); ++i) {
      if (ClassifyRow(rows[i].parent, rows[i].type) == wanted) order.push_back(i);
    }
  }
  return order;
}

}  // namespace results
