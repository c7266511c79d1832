// The arithmetic behind the toolkit's header and list controls, kept apart from the windows so that it
// is tested natively: sharing a width among columns, the stored "Column Info" text, which column and
// direction a header click sorts by, the cell under a point, auto-sized widths and the header's shaded
// colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tklist {

// Each column's share of the total; 0 (nothing to set) when there are no columns or no width to share.
int DistributedWidth(int total, int columnCount);

// What FitFieldsToClient shares: the given width, or the header's own when it is below 1, less the
// vertical scroll bar when the list shows one.
int FittedTotal(int width, int headerWidth, bool hasVerticalScrollBar, int scrollBarWidth);

// The stored column widths: one "%d," per column, in display order ("200,100,150,").
std::u16string FormatColumnInfo(const std::vector<int>& widthsInDisplayOrder);
// Field n (from 0) of a stored text as a width; none when the field is absent, empty, not a number or
// outside 0..65535 (such a column keeps the width it has).
std::optional<int> ColumnInfoField(const std::u16string& text, int n);

struct SortState {
  int column = -1;
  bool ascending = true;
};
// Header buttons of a click notification (NMHEADER::iButton).
enum : int { kLeftButton = 0, kRightButton = 1 };
// The sort after a click on a column: the left button turns the sorted column's direction and starts
// another column ascending; the right button (the header menu's Sort commands) takes the header's
// direction. Other buttons leave the sort alone (none).
std::optional<SortState> SortAfterHeaderClick(SortState current, int column, int button, bool headerAscending);

// The column whose span [left, left + width] holds x, walking the columns in display order from the
// row's left edge; -1 when none. widths are by column index, order lists column indexes by display position.
int ColumnAtX(const std::vector<int>& widths, const std::vector<int>& order, int rowLeft, int x);

// An auto-sized column: the larger of the list's own fit and the heading (plus 12, plus 24 for the sorted
// column when the header shows arrows), raised to the minimum and cut to the maximum.
int AutoSizeWidth(int contentWidth, int headingTextWidth, bool sortedWithArrow, int minimum, int maximum);

// The row a copy was made from, once the copy is inserted at `to`; -1 for equal or negative rows.
int CopiedRowSource(int from, int to);

// What a row's (or column's) index becomes once an item went in at `at`: it and those after it move on.
int IndexAfterInsert(int index, int at);
// ... once the item at `at` went: -1 for that one; those after it move back.
int IndexAfterRemove(int index, int at);

// A colour p percent of the way from face toward shadow, per channel, truncated.
std::uint32_t TowardShadow(std::uint32_t face, std::uint32_t shadow, int percent);

}  // namespace tklist
