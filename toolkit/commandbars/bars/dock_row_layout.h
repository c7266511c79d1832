// The rows of a dock bar and the place of each bar in its row. The rows are one list of bars in which a
// null entry ends a row (the list starts with one null entry). Rows are worked on in horizontal form:
// a vertical dock bar swaps x and y before and after, so that everything here runs along x.
// Portable: the dock bar measures its bars and hands the numbers in.
#pragma once

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "platform/classlib/crect.h"

namespace tkpdock {

// One bar of the row being laid out.
struct RowBar {
  CRect rect;         // where it goes along the row (x) and across it (y)
  int mruOffset = 0;  // where the user last put it along the row
  int index = 0;      // its place in the row's entries: the lower one keeps its place in a tie
  int minLength = 0;  // the shortest it may become (the row's length for a bar that cannot shrink)
  int minBefore = 0;  // out: the sum of the minimal lengths of the bars left of it
};

// Sorts the row by left edge (stable: bars at the same place keep their order), pushes overlapping
// bars apart, keeps every bar inside [0, length] and shrinks bars towards their minimal lengths when
// the row is too short. False when a row of more than one bar still does not fit: *pNotFit is then the
// index of the rightmost bar, which should move to a row of its own.
bool ArrangeRow(std::vector<RowBar>& bars, int length, int* pNotFit);

// ---- the list of rows -------------------------------------------------------------------------------

// The far edge across the rows of a shown bar (bottom, or right on a vertical dock bar); INT_MIN for a
// bar that is not shown.
template <class T>
using FarEdgeFn = std::function<int(T*)>;

// Puts the bar into the row under the centre's coordinate across the rows: at the start of that row,
// or in a new row of its own when the coordinate is above the first row or exactly on the edge between
// two rows; a coordinate below every row makes a new last row. Returns the bar's index.
template <class T>
int InsertIntoRows(std::vector<T*>& rows, T* bar, int centre, const FarEdgeFn<T>& farEdge) {
  if (rows.empty()) rows.push_back(nullptr);
  int rowFar = 0;
  int previousFar = INT_MIN;
  int rowStart = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] != nullptr) {
      rowFar = std::max(rowFar, farEdge(rows[i]));
      continue;
    }
    if (centre < rowFar) {
      const bool realRow = i > 0;
      if (realRow && centre != previousFar) {
        rows.insert(rows.begin() + rowStart, bar);
        return rowStart;
      }
      // A row of its own before this one (after the leading null entry for the first row).
      const int at = realRow ? rowStart : 1;
      rows.insert(rows.begin() + at, {bar, nullptr});
      return at;
    }
    previousFar = rowFar;
    rowStart = static_cast<int>(i) + 1;
  }
  rows.push_back(bar);
  rows.push_back(nullptr);
  return static_cast<int>(rows.size()) - 2;
}

// Removes the entry; a row left empty goes with it.
template <class T>
void RemoveFromRows(std::vector<T*>& rows, int index) {
  if (index < 0 || index >= static_cast<int>(rows.size())) return;
  rows.erase(rows.begin() + index);
  const int at = std::min(index, static_cast<int>(rows.size()) - 1);
  if (at >= 1 && rows[at] == nullptr && rows[at - 1] == nullptr) rows.erase(rows.begin() + at);
  if (rows.empty()) rows.push_back(nullptr);
}

// Keeps every stretched bar alone in its row.
template <class T>
void NormaliseRows(std::vector<T*>& rows, const std::function<bool(T*)>& stretched) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == nullptr || !stretched(rows[i])) continue;
    if (i > 0 && rows[i - 1] != nullptr) {
      rows.insert(rows.begin() + i, nullptr);
      ++i;
    }
    if (i + 1 < rows.size() && rows[i + 1] != nullptr) rows.insert(rows.begin() + i + 1, nullptr);
  }
}

// The entries of the row that holds index: [first, last) of its bars.
template <class T>
void RowBounds(const std::vector<T*>& rows, int index, int* pFirst, int* pLast) {
  int first = std::max(0, std::min(index, static_cast<int>(rows.size())));
  while (first > 0 && rows[first - 1] != nullptr) --first;
  int last = first;
  while (last < static_cast<int>(rows.size()) && rows[last] != nullptr) ++last;
  *pFirst = first;
  *pLast = last;
}

}  // namespace tkpdock
