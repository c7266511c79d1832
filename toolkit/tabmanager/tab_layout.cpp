#include "toolkit/tabmanager/tab_layout.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_set>

namespace tktab {

namespace {

// Along: the direction in which a row runs; across: from the strip's outer edge towards the client.
int AlongStart(const CRect& r, int position) { return IsHorizontal(position) ? r.left : r.top; }
int AlongEnd(const CRect& r, int position) { return IsHorizontal(position) ? r.right : r.bottom; }
int AlongLength(const CRect& r, int position) { return AlongEnd(r, position) - AlongStart(r, position); }

CRect MakeRect(int position, int alongStart, int alongEnd, int acrossStart, int acrossEnd) {
  if (IsHorizontal(position)) return CRect(alongStart, acrossStart, alongEnd, acrossEnd);
  return CRect(acrossStart, alongStart, acrossEnd, alongEnd);
}

// The across extent [start, end) of row k (0 next to the client) of a strip of `rows` rows.
void RowExtent(const TabStripParams& p, const CRect& header, int rows, int k, int* start, int* end) {
  const int distance = p.headerMargin.top + (rows - 1 - k) * (p.buttonHeight + p.rowSpacing);
  switch (p.position) {
    case kLeft: *start = header.left + distance; *end = *start + p.buttonHeight; break;
    case kBottom: *end = header.bottom - distance; *start = *end - p.buttonHeight; break;
    case kRight: *end = header.right - distance; *start = *end - p.buttonHeight; break;
    default: *start = header.top + distance; *end = *start + p.buttonHeight; break;
  }
}

// A rotated tab stands on the strip's edge that faces the client, `length` deep.
void RotatedExtent(const TabStripParams& p, const CRect& header, int length, int* start, int* end) {
  const int inner = p.headerMargin.bottom;
  switch (p.position) {
    case kLeft: *end = header.right - inner; *start = *end - length; break;
    case kBottom: *start = header.top + inner; *end = *start + length; break;
    case kRight: *start = header.left + inner; *end = *start + length; break;
    default: *end = header.bottom - inner; *start = *end - length; break;
  }
}

int ButtonExtent(int position) { return IsHorizontal(position) ? kButtonWidth : kButtonHeight; }

bool ShownByBaseRule(const NavButton& b) {
  return b.showMode == kShowAlways || (b.showMode == kShowWhenNeeded && b.wanted);
}

// Takes the button's space off the row before the tabs are placed.
void AdjustWidth(const NavButton& b, int position, int* rowLength) {
  const bool takes = b.id == kButtonClose ? ShownByBaseRule(b) : b.showMode == kShowAlways;
  if (takes) *rowLength -= ButtonExtent(position);
}

// Places the button at the end of `rect` and takes its space off, or empties it.
void PlaceButton(NavButton& b, bool show, int position, CRect* rect) {
  if (!show) {
    b.rect.SetRectEmpty();
    return;
  }
  if (IsHorizontal(position)) {
    const int cy = (rect->top + rect->bottom) / 2;
    b.rect = CRect(rect->right - kButtonWidth, cy - 8, rect->right, cy + 7);
    rect->right -= kButtonWidth;
  } else {
    const int cx = (rect->left + rect->right) / 2;
    b.rect = CRect(cx - 7, rect->bottom - kButtonHeight, cx + 7, rect->bottom);
    rect->bottom -= kButtonHeight;
  }
}

bool ArrowsHidden(const NavButton& b, int layout, bool fits, int scrollOffset) {
  if (layout == kMultiRow) return true;
  if (b.showMode != kShowWhenNeeded) return false;
  return layout == kCompressed || (fits && scrollOffset == 0);
}

// The buttons from the close button outward, inside the header's end; the header then ends where they
// begin. `space` is what the tabs may use when both arrows show.
void PlaceButtons(const TabStripParams& p, TabStripState& s, int itemsLength, int rowLength, int space) {
  CRect area = s.header;
  const CRect& m = p.headerMargin;
  if (IsHorizontal(p.position)) {
    area.left += m.left + m.right;
    area.right -= 1;
  } else {
    area.top += m.left + m.right;
    area.bottom -= 1;
  }
  const bool fits = itemsLength <= rowLength;
  for (int i = static_cast<int>(s.buttons.size()) - 1; i >= 0; --i) {
    NavButton& b = s.buttons[i];
    bool show = ShownByBaseRule(b);
    if (b.id == kButtonBack || b.id == kButtonForward) {
      b.enabled = b.id == kButtonBack ? s.scrollOffset < 0 : itemsLength + s.scrollOffset > space;
      if (ArrowsHidden(b, p.layout, fits, s.scrollOffset)) show = false;
    }
    PlaceButton(b, show, p.position, &area);
  }
  if (IsHorizontal(p.position)) {
    s.header.right = area.right;
  } else {
    s.header.bottom = area.bottom;
  }
}

// The row's tabs one after the other from `along`; with `stretch`, widened so that the row ends flush.
void PlaceRow(const TabStripParams& p, TabStripState& s, const std::vector<int>& indices, int along,
              int acrossStart, int acrossEnd, int rowLength, bool stretch) {
  int remainingLength = rowLength;
  int remainingTabs = 0;
  int remainingCount = 0;
  for (int i : indices) {
    remainingTabs += s.slots[i].length;
    if (s.slots[i].length > 0) ++remainingCount;
  }
  for (int i : indices) {
    TabSlot& slot = s.slots[i];
    if (stretch && slot.length > 0) {
      const int grown = slot.length + (remainingLength - remainingTabs) / remainingCount;
      remainingTabs -= slot.length;
      remainingLength -= grown;
      --remainingCount;
      slot.length = grown;
    }
    slot.rect = MakeRect(p.position, along, along + slot.length, acrossStart, acrossEnd);
    along += slot.length;
  }
}

void MeasureAll(TabMeasurer& measurer, TabStripState& s) {
  s.slots.assign(static_cast<size_t>(std::max(0, measurer.Count())), TabSlot());
  for (size_t i = 0; i < s.slots.size(); ++i) {
    const int index = static_cast<int>(i);
    const int length = measurer.IsVisible(index) ? std::max(0, measurer.Measure(index)) : 0;
    s.slots[i].length = s.slots[i].fullLength = length;
  }
}

int Longest(const TabStripState& s) {
  int longest = 0;
  for (const TabSlot& slot : s.slots) longest = std::max(longest, slot.length);
  return longest;
}

void SetRowTable(TabStripState& s, const std::vector<int>& rowOf, int rows) {
  s.rows.assign(static_cast<size_t>(rows), RowRange{0, -1});
  std::vector<bool> seen(static_cast<size_t>(rows), false);
  for (size_t i = 0; i < rowOf.size(); ++i) {
    RowRange& range = s.rows[static_cast<size_t>(rowOf[i])];
    if (!seen[static_cast<size_t>(rowOf[i])]) range.first = static_cast<int>(i);
    seen[static_cast<size_t>(rowOf[i])] = true;
    range.last = static_cast<int>(i);
    s.slots[i].row = rowOf[i];
  }
}

void EmptyButtons(TabStripState& s) {
  for (NavButton& b : s.buttons) b.rect.SetRectEmpty();
}

void LayoutMultiRow(const TabStripParams& p, TabMeasurer& measurer, TabStripState& s) {
  s.scrollOffset = 0;
  MeasureAll(measurer, s);
  s.header = HeaderRectAt(p.rect, p.position, HeaderDepth(p, 1, 0));
  if (s.slots.empty()) {
    EmptyButtons(s);
    return;
  }
  int rowLength = AlongLength(s.header, p.position) - p.headerMargin.left - p.headerMargin.right;
  for (int i = static_cast<int>(s.buttons.size()) - 1; i >= 0; --i) AdjustWidth(s.buttons[i], p.position, &rowLength);

  std::vector<int> lengths;
  for (const TabSlot& slot : s.slots) lengths.push_back(slot.length);
  std::vector<int> rowOf = BreakRows(lengths, rowLength);
  const int rows = rowOf.empty() ? 1 : rowOf.back() + 1;
  if (rows > 1) rowOf = BalanceRows(lengths, rows, rowLength, p.fillRows);
  SetRowTable(s, rowOf, rows);

  if (!p.keepRowOrder && p.selected >= 0 && p.selected < static_cast<int>(s.slots.size())) {
    const int selectedRow = s.slots[static_cast<size_t>(p.selected)].row;
    if (selectedRow != 0) {
      for (TabSlot& slot : s.slots) {
        if (slot.row == selectedRow) slot.row = 0;
        else if (slot.row == 0) slot.row = selectedRow;
      }
      std::swap(s.rows[0], s.rows[static_cast<size_t>(selectedRow)]);
    }
  }

  s.header = HeaderRectAt(p.rect, p.position, HeaderDepth(p, rows, 0));
  const int start = AlongStart(s.header, p.position) + p.headerMargin.left;
  for (int r = 0; r < rows; ++r) {
    std::vector<int> indices;
    for (size_t i = 0; i < s.slots.size(); ++i) {
      if (s.slots[i].row == r) indices.push_back(static_cast<int>(i));
    }
    int acrossStart = 0, acrossEnd = 0;
    RowExtent(p, s.header, rows, r, &acrossStart, &acrossEnd);
    PlaceRow(p, s, indices, start, acrossStart, acrossEnd, rowLength, p.fillRows && rows > 1);
  }
  PlaceButtons(p, s, s.ItemsLength(p.layout, p.buttonHeight), rowLength, rowLength);
}

}  // namespace

void InflateRectByPosition(CRect& rect, int left, int top, int right, int bottom, int position) {
  switch (position) {
    case kTop: rect.InflateRect(left, top, right, bottom); break;
    case kLeft: rect.InflateRect(top, left, bottom, right); break;
    case kBottom: rect.InflateRect(left, bottom, right, top); break;
    case kRight: rect.InflateRect(bottom, left, top, right); break;
    default: break;
  }
}

void DeflateRectByPosition(CRect& rect, int left, int top, int right, int bottom, int position) {
  InflateRectByPosition(rect, -left, -top, -right, -bottom, position);
}

CRect HeaderRectAt(const CRect& r, int position, int depth) {
  switch (position) {
    case kLeft: return CRect(r.left, r.top, r.left + depth, r.bottom);
    case kBottom: return CRect(r.left, r.bottom - depth, r.right, r.bottom);
    case kRight: return CRect(r.right - depth, r.top, r.right, r.bottom);
    default: return CRect(r.left, r.top, r.right, r.top + depth);
  }
}

CRect ClientRectOutside(const CRect& r, const CRect& header, int position) {
  switch (position) {
    case kLeft: return CRect(header.right - 1, r.top, r.right, r.bottom);
    case kBottom: return CRect(r.left, r.top, r.right, header.top + 1);
    case kRight: return CRect(r.left, r.top, header.left + 1, r.bottom);
    default: return CRect(r.left, header.bottom - 1, r.right, r.bottom);
  }
}

void CompressLengths(std::vector<int>& lengths, int rowLength) {
  const int total = std::accumulate(lengths.begin(), lengths.end(), 0);
  if (lengths.empty() || total <= rowLength) return;
  if (lengths.size() == 1) {
    lengths[0] = rowLength;
    return;
  }
  std::vector<size_t> order(lengths.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return lengths[a] > lengths[b]; });
  int excess = total - rowLength;
  size_t group = 1;
  for (;;) {
    const int greatest = lengths[order[0]];
    while (group < order.size() && lengths[order[group]] == greatest) ++group;
    if (group == order.size()) break;
    const int next = lengths[order[group]];
    const int n = static_cast<int>(group);
    if ((greatest - next) * n >= excess) {
      for (size_t i = 0; i < group; ++i) lengths[order[i]] -= excess / n;
      return;
    }
    for (size_t i = 0; i < group; ++i) lengths[order[i]] = next;
    excess -= (greatest - next) * n;
  }
  const int each = std::max(0, rowLength) / static_cast<int>(lengths.size());
  for (int& length : lengths) length = each;
}

std::vector<int> BreakRows(const std::vector<int>& lengths, int rowLength) {
  std::vector<int> rowOf(lengths.size(), 0);
  int row = 0, sum = 0;
  for (size_t i = 0; i < lengths.size(); ++i) {
    if (sum > 0 && sum + lengths[i] > rowLength) {
      ++row;
      sum = 0;
    }
    sum += lengths[i];
    rowOf[i] = row;
  }
  return rowOf;
}

namespace {

// The balancing search: rows are filled up to a target each, and where a row must break is tried from
// the earliest place on. Whether rows r.. can hold the tabs from `first` on depends on nothing else, so
// a start that failed once is not tried again. The rows being filled are kept on a list of their own
// rather than on the call stack: a strip may have as many rows as tabs.
class RowBalancer {
 public:
  RowBalancer(const std::vector<int>& lengths, int rows, int rowLength, bool fill)
      : lengths_(lengths), rows_(rows), rowLength_(rowLength), fill_(fill),
        count_(static_cast<int>(lengths.size())), suffix_(lengths.size() + 1, 0), rowOf_(lengths.size(), 0) {
    for (int i = count_ - 1; i >= 0; --i) suffix_[i] = suffix_[i + 1] + lengths_[i];
  }
  bool Run() {
    std::vector<Row> open;
    Step step = Enter(0, 0, open);
    while (step != Step::kHolds && !open.empty()) step = Resume(open);
    return step == Step::kHolds;
  }
  const std::vector<int>& rowOf() const { return rowOf_; }

 private:
  // A row being filled: its tabs from `first` up to `next`, their length `sum`; `triedBelow` once the
  // rows below were tried from `next` and failed.
  struct Row {
    int row, first, next, sum, target;
    bool triedBelow;
  };
  enum class Step { kOpened, kHolds, kFails };

  int Target(int r, int first) const {
    if (!fill_) return rowLength_;
    return std::min(rowLength_, suffix_[first] / (rows_ - r));
  }
  std::uint64_t Key(int r, int first) const {
    return static_cast<std::uint64_t>(r) * (lengths_.size() + 1) + static_cast<std::uint64_t>(first);
  }
  // Row r from tab `first`: answered at once (the last row, or a start that failed before), or opened.
  Step Enter(int r, int first, std::vector<Row>& open) {
    if (failed_.count(Key(r, first)) != 0) return Step::kFails;
    const int target = Target(r, first);
    if (r == rows_ - 1) {
      if (suffix_[first] > target) {
        failed_.insert(Key(r, first));
        return Step::kFails;
      }
      for (int i = first; i < count_; ++i) rowOf_[i] = r;
      return Step::kHolds;
    }
    open.push_back(Row{r, first, first, 0, target, false});
    return Step::kOpened;
  }
  // Goes on with the last open row: kOpened when it opened the row below, kFails when it failed (and
  // left the list), kHolds when the rows below took the rest.
  Step Resume(std::vector<Row>& open) {
    Row& row = open.back();
    for (; row.next < count_; ++row.next) {
      const int i = row.next;
      if (row.sum > 0 && lengths_[i] > 0 && row.sum + lengths_[i] > row.target) {
        if (!row.triedBelow) {
          row.triedBelow = true;
          const Step below = Enter(row.row + 1, i, open);
          if (below != Step::kFails) return below;  // `row` is not touched again after a new row opened
        }
        row.triedBelow = false;
        if (row.sum + lengths_[i] > rowLength_) break;
      }
      row.sum += lengths_[i];
      rowOf_[i] = row.row;
    }
    // No break place held, or no tabs left for the rows below.
    failed_.insert(Key(row.row, row.first));
    open.pop_back();
    return Step::kFails;
  }

  const std::vector<int>& lengths_;
  const int rows_, rowLength_;
  const bool fill_;
  const int count_;
  std::vector<int> suffix_;
  std::unordered_set<std::uint64_t> failed_;
  std::vector<int> rowOf_;
};

}  // namespace

std::vector<int> BalanceRows(const std::vector<int>& lengths, int rows, int rowLength, bool fillRows) {
  if (rows <= 1 || lengths.empty()) return std::vector<int>(lengths.size(), 0);
  RowBalancer balancer(lengths, rows, rowLength, fillRows);
  // Without a balanced answer (a tab longer than a row in the last row) the plain breaking stands.
  return balancer.Run() ? balancer.rowOf() : BreakRows(lengths, rowLength);
}

int TabStripState::ItemsLength(int layout, int buttonHeight) const {
  if (layout == kRotated) return buttonHeight * static_cast<int>(slots.size());
  int total = 0;
  for (const TabSlot& slot : slots) total += slot.length;
  return total;
}

int HeaderDepth(const TabStripParams& p, int rows, int longestLength) {
  int depth = p.buttonHeight * rows + (rows - 1) * p.rowSpacing;
  if (p.layout == kRotated) depth = std::max(depth, longestLength);
  return depth + p.headerMargin.top + p.headerMargin.bottom;
}

void LayoutTabStrip(const TabStripParams& p, TabMeasurer& measurer, TabStripState& s) {
  if (p.layout == kMultiRow) {
    LayoutMultiRow(p, measurer, s);
    return;
  }
  MeasureAll(measurer, s);
  s.rows.assign(1, RowRange{0, static_cast<int>(s.slots.size()) - 1});
  s.header = HeaderRectAt(p.rect, p.position, HeaderDepth(p, 1, Longest(s)));
  if (s.slots.empty()) {
    EmptyButtons(s);
    return;
  }
  int acrossStart = 0, acrossEnd = 0;
  RowExtent(p, s.header, 1, 0, &acrossStart, &acrossEnd);
  int rowLength = AlongLength(s.header, p.position) - p.headerMargin.left - p.headerMargin.right;
  for (int i = static_cast<int>(s.buttons.size()) - 1; i >= 0; --i) AdjustWidth(s.buttons[i], p.position, &rowLength);

  if (p.layout == kCompressed) {
    std::vector<int> lengths;
    for (const TabSlot& slot : s.slots) lengths.push_back(slot.length);
    CompressLengths(lengths, rowLength);
    for (size_t i = 0; i < lengths.size(); ++i) s.slots[i].length = lengths[i];
  }

  // The room the tabs have while both arrows show (arrows that are always shown took theirs already).
  int space = rowLength;
  for (const NavButton& b : s.buttons) {
    if (b.id != kButtonClose && b.showMode == kShowWhenNeeded && p.layout != kCompressed) {
      space -= ButtonExtent(p.position);
    }
  }
  const int total = s.ItemsLength(p.layout, p.buttonHeight);
  if (s.scrollOffset > 0) s.scrollOffset = 0;
  if (s.scrollOffset < 0 && total + s.scrollOffset < space) s.scrollOffset = std::min(0, space - total);

  int along = AlongStart(s.header, p.position) + p.headerMargin.left + s.scrollOffset;
  for (TabSlot& slot : s.slots) {
    if (p.layout == kRotated) {
      int start = 0, end = 0;
      RotatedExtent(p, s.header, slot.length, &start, &end);
      slot.rect = MakeRect(p.position, along, along + p.buttonHeight, start, end);
      along += p.buttonHeight;
    } else {
      slot.rect = MakeRect(p.position, along, along + slot.length, acrossStart, acrossEnd);
      along += slot.length;
    }
  }
  PlaceButtons(p, s, total, rowLength, space);
}

int ScrollToShow(const CRect& header, const CRect& rect, int leadingMargin, int position, int scrollOffset) {
  if (header.IsRectEmpty() || rect.IsRectEmpty()) return scrollOffset;
  const int headerStart = AlongStart(header, position), headerEnd = AlongEnd(header, position);
  const int start = AlongStart(rect, position), end = AlongEnd(rect, position);
  if (start < headerStart) return scrollOffset + (headerStart - start) + leadingMargin;
  if (end > headerEnd) return scrollOffset - (end - headerEnd);
  return scrollOffset;
}

}  // namespace tktab
