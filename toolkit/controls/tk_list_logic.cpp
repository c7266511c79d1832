#include "toolkit/controls/tk_list_logic.h"

#include <algorithm>

#include "toolkit/common/color_math.h"

namespace tklist {

int DistributedWidth(int total, int columnCount) {
  if (columnCount <= 0 || total <= 0) return 0;
  return total / columnCount;
}

int FittedTotal(int width, int headerWidth, bool hasVerticalScrollBar, int scrollBarWidth) {
  int total = width < 1 ? headerWidth : width;
  if (hasVerticalScrollBar) total -= scrollBarWidth;
  return total;
}

std::u16string FormatColumnInfo(const std::vector<int>& widthsInDisplayOrder) {
  std::u16string text;
  for (int width : widthsInDisplayOrder) {
    const std::string digits = std::to_string(width);
    text.append(digits.begin(), digits.end());
    text.push_back(u',');
  }
  return text;
}

std::optional<int> ColumnInfoField(const std::u16string& text, int n) {
  if (n < 0) return std::nullopt;
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const size_t comma = text.find(u',', start);
    if (comma == std::u16string::npos) return std::nullopt;
    start = comma + 1;
  }
  size_t end = text.find(u',', start);
  if (end == std::u16string::npos) end = text.size();
  size_t pos = start;
  while (pos < end && text[pos] == u' ') ++pos;
  if (pos == end) return std::nullopt;
  long value = 0;
  for (; pos < end; ++pos) {
    const char16_t c = text[pos];
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > 0xFFFF) return std::nullopt;
  }
  return static_cast<int>(value);
}

std::optional<SortState> SortAfterHeaderClick(SortState current, int column, int button, bool headerAscending) {
  if (column < 0) return std::nullopt;
  if (button == kLeftButton) {
    const bool ascending = column == current.column ? !current.ascending : true;
    return SortState{column, ascending};
  }
  if (button == kRightButton) return SortState{column, headerAscending};
  return std::nullopt;
}

int ColumnAtX(const std::vector<int>& widths, const std::vector<int>& order, int rowLeft, int x) {
  int left = rowLeft;
  for (int column : order) {
    if (column < 0 || static_cast<size_t>(column) >= widths.size()) continue;
    const int width = widths[static_cast<size_t>(column)];
    if (x >= left && x <= left + width) return column;
    left += width;
  }
  return -1;
}

int AutoSizeWidth(int contentWidth, int headingTextWidth, bool sortedWithArrow, int minimum, int maximum) {
  int heading = headingTextWidth + 12;
  if (sortedWithArrow) heading += 24;
  int width = std::max(contentWidth, heading);
  width = std::max(width, minimum);
  return std::min(width, maximum);
}

int CopiedRowSource(int from, int to) {
  if (from == to || from < 0 || to < 0) return -1;
  return from > to ? from + 1 : from;
}

int IndexAfterInsert(int index, int at) { return index >= at ? index + 1 : index; }

int IndexAfterRemove(int index, int at) {
  if (index == at) return -1;
  return index > at ? index - 1 : index;
}

std::uint32_t TowardShadow(std::uint32_t face, std::uint32_t shadow, int percent) {
  auto channel = [&](int f, int s) { return f - (f - s) * percent / 100; };
  return tkcolor::MakeColor(channel(tkcolor::RedOf(face), tkcolor::RedOf(shadow)),
                            channel(tkcolor::GreenOf(face), tkcolor::GreenOf(shadow)),
                            channel(tkcolor::BlueOf(face), tkcolor::BlueOf(shadow)));
}

}  // namespace tklist
