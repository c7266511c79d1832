// Table sizing for the layout pass: a run of containers whose row and column fields follow each other is
// sized from its cells' contents, and each cell gets its place relative to the pen.
#pragma once

#include <vector>

#include "preview/html/html_layout_pass.h"

namespace htmlview {

// Planning, sizing and placing a cell costs about as much as placing ten elements: a table of many cells,
// sized again at every level of nesting, is paid for by the cell.
constexpr long long kUnitsPerCell = 10;

struct TablePlan {
  struct Cell {
    size_t index = 0;  // in the list
    int row = 0;       // within the table
    int firstColumn = 0, lastColumn = 0, lastRow = 0;
    int skipped = 0;     // columns that rowspans from above occupy just before the cell (up to firstColumn)
    int skipOffset = 0;  // their width, padding and spacing
    int width = 0, height = 0, contentHeight = 0;
    int rowHeight = 0;  // the sized height of the cell's first row, with the padding above and below it
    // For the first cell of a row: the height of the rows before it that start no cell (rowspans from above
    // cover them), with their padding and spacing.
    int rowsBefore = 0;
  };
  std::vector<Cell> cells;
  HtmlElement* frame = nullptr;
  int border = 0, padding = 0, spacing = 0;
  size_t next = 0;  // the first cell Find has not passed
  // The plan of the cell at list index i, or null when i is not one of the table's cells. The layout asks
  // for the elements in order, so the search goes on from where the last one ended.
  const Cell* Find(size_t i);
  size_t LastIndex() const { return cells.empty() ? 0 : cells.back().index; }
};

// Columns of a table being fitted to its target width.
struct TableColumns {
  std::vector<int> width, minimum, preferred, fixed;
};

// Fits the columns, whose total with padding, spacing and borders is total, to target, as a pixel at a
// time would: while below the target, a pixel to each unfixed column below its preferred width, in column
// order, round after round; then, for a table with a width attribute, a pixel to every unfixed column a
// round (each round, as the first phase's, cut short in column order at the target); above the target, a
// pixel from the widest fixed column wider than 10 and than its minimum (the first of equally wide ones;
// its preferred follows). Each phase is worked out at once rather than by the pixel, so a table fitted to
// thousands of pixels costs its columns, not its pixels. Returns the new total.
long long FitColumns(TableColumns& columns, long long total, long long target, bool widthAttribute);

// Row heights while rowspans share out their content: a share added to a run of rows, and the sum of a
// run, each in steps of the logarithm of the rows rather than of the span, so a table of long spans costs
// its cells, not their rows.
class SpanHeights {
 public:
  explicit SpanHeights(const std::vector<int>& heights);
  // Adds amount to each of rows first..last.
  void Add(size_t first, size_t last, long long amount);
  long long Sum(size_t first, size_t last) const { return Prefix(last + 1) - Prefix(first); }
  // Shares amount (nothing when not above 0) over rows first..last a pixel at a time, in row order.
  void Share(size_t first, size_t last, long long amount);
  int At(size_t r) const;

 private:
  // Two trees of differences: the sum of the first count rows is count * (add_ so far) - (addIndex_ so far).
  void Point(size_t at, long long amount);
  long long Prefix(size_t count) const;
  size_t n_;
  std::vector<long long> add_, addIndex_;
};

// Sizes the table whose first cell is list[first]; frame (may be null) is the break before it. rect is
// the rectangle the table is laid out in.
TablePlan SizeTable(HtmlLayoutPass& pass, HtmlElementList& list, size_t first, HtmlElement* frame,
                    const HtmlRect& rect, int depth);

}  // namespace htmlview
