#include "preview/html/html_layout_table.h"

#include <algorithm>
#include <climits>

namespace htmlview {
namespace {

// Cell fields as the parse pass fills them.
enum CellField { kRow = 0, kColumn, kColSpan, kRowSpan, kWidth, kTableWidth, kBorder, kHeight, kTableHeight,
                 kPadding, kSpacing };

int Field(const HtmlElement& e, CellField f) { return e.Container().cell[static_cast<size_t>(f)]; }

bool IsContainer(const HtmlElementList& list, size_t i) {
  return i < list.size() && list[i] && list[i]->kind == kContainer;
}

// The cells of the table starting at first: each continues its row at the next column, or starts a later
// row behind a break (the rows between start no cell: rowspans from above cover them).
std::vector<size_t> CollectCells(const HtmlElementList& list, size_t first) {
  std::vector<size_t> cells{first};
  size_t cur = first;
  while (true) {
    const HtmlElement& c = *list[cur];
    const long long nextColumn = static_cast<long long>(Field(c, kColumn)) + Field(c, kColSpan);
    if (IsContainer(list, cur + 1) && Field(*list[cur + 1], kRow) == Field(c, kRow) &&
        Field(*list[cur + 1], kColumn) == nextColumn) {
      cur += 1;
    } else if (cur + 1 < list.size() && list[cur + 1] && list[cur + 1]->kind == kRule && IsContainer(list, cur + 2) &&
               Field(*list[cur + 2], kColumn) == 0 &&
               Field(*list[cur + 2], kRow) > Field(c, kRow)) {
      cur += 2;
    } else {
      return cells;
    }
    cells.push_back(cur);
  }
}

// The extent of the visible children: white space only when kept (noWrap), breaks only before containers.
ContentExtent VisibleExtent(const HtmlElementList& children) {
  ContentExtent e;
  for (size_t i = 0; i < children.size(); ++i) {
    const HtmlElement* c = children[i].get();
    if (!c) continue;
    e.bottom = std::max(e.bottom, c->y + c->height);
    if (IsWhiteSpace(*c) && !c->tag) continue;
    if (c->kind == kRule && !IsContainer(children, i + 1)) continue;
    e.minX = std::min(e.minX, c->x);
    e.right = std::max(e.right, c->x + c->width);
  }
  return e;
}

// Gives amount pixels, one at a time in order, to the entries of sizes that eligible picks.
template <typename Eligible>
void Distribute(std::vector<int>& sizes, int begin, int end, long long amount, Eligible eligible) {
  if (amount <= 0) return;
  std::vector<int> picked;
  for (int k = begin; k <= end; ++k)
    if (eligible(k)) picked.push_back(k);
  if (picked.empty()) return;
  const long long n = static_cast<long long>(picked.size());
  for (long long j = 0; j < n; ++j) {
    const long long share = amount / n + (j < amount % n ? 1 : 0);
    int& size = sizes[static_cast<size_t>(picked[static_cast<size_t>(j)])];
    size = static_cast<int>(std::min<long long>(size + share, INT_MAX / 4));
  }
}

class TableSizer {
 public:
  TableSizer(HtmlLayoutPass& pass, HtmlElementList& list, const HtmlRect& rect, int depth)
      : pass_(pass), list_(list), rect_(rect), depth_(depth) {}

  TablePlan Run(size_t first, HtmlElement* frame) {
    plan_.frame = frame;
    const HtmlElement& head = *list_[first];
    plan_.border = Field(head, kBorder);
    plan_.padding = Field(head, kPadding);
    plan_.spacing = Field(head, kSpacing);
    AssignColumns(CollectCells(list_, first));
    if (pass_.Simple()) {
      ShareWidth(Field(head, kTableWidth));
    } else {
      MeasureColumns();
      FitWidth(Field(head, kTableWidth));
      // Fitting a table too wide for its room narrows fixed columns, spanned ones too: they take back
      // what their spanning cells need, or a picture or a line kept whole would run over the next cell.
      for (const auto& [cell, need] : spanNeeds_) WidenSpan(plan_.cells[cell], need);
    }
    SumColumns();
    SizeRows(Field(head, kTableHeight));
    Finish(head);
    return std::move(plan_);
  }

 private:
  HtmlElement& Cell(const TablePlan::Cell& c) { return *list_[c.index]; }
  int Between() const { return plan_.spacing + 2 * plan_.padding; }

  // Gives every cell its columns, passing over those that rowspans of earlier rows still occupy.
  void AssignColumns(const std::vector<size_t>& indices) {
    pass_.Spend(kUnitsPerCell * static_cast<long long>(indices.size()));
    plan_.cells.reserve(indices.size());
    const int firstRow = Field(*list_[indices[0]], kRow);
    int rows = 0;
    for (size_t index : indices) rows = std::max(rows, Field(*list_[index], kRow) - firstRow + 1);
    // The last row that a rowspan from an earlier row covers, by column: a span ends after its rows
    // whether or not a later cell lands on its column (a span in a row's last column often has none).
    std::vector<int> occupiedUntil;
    int row = -1, skip = 0;
    for (size_t index : indices) {
      const HtmlElement& e = *list_[index];
      TablePlan::Cell c;
      c.index = index;
      c.row = Field(e, kRow) - firstRow;
      if (c.row != row) {
        row = c.row;
        skip = 0;
      }
      int pos = static_cast<int>(std::min<long long>(static_cast<long long>(Field(e, kColumn)) + skip,
                                                     kMaxTableColumns - 1));
      while (pos < kMaxTableColumns - 1 && pos < static_cast<int>(occupiedUntil.size()) &&
             occupiedUntil[pos] >= c.row) {
        ++c.skipped;
        ++pos;
        ++skip;
      }
      c.firstColumn = pos;
      c.lastColumn = std::min(pos + Field(e, kColSpan) - 1, kMaxTableColumns - 1);
      c.lastRow = std::min(c.row + Field(e, kRowSpan) - 1, rows - 1);
      if (columnCount_ <= c.lastColumn) columnCount_ = c.lastColumn + 1;
      if (Field(e, kRowSpan) > 1) {
        if (static_cast<int>(occupiedUntil.size()) <= c.lastColumn)
          occupiedUntil.resize(static_cast<size_t>(c.lastColumn) + 1, -1);
        for (int k = c.firstColumn; k <= c.lastColumn; ++k) occupiedUntil[static_cast<size_t>(k)] = c.lastRow;
      }
      // Passing over occupied columns and marking spanned ones is work by the column.
      pass_.Spend(c.skipped + (Field(e, kRowSpan) > 1 ? c.lastColumn - c.firstColumn + 1 : 0));
      plan_.cells.push_back(std::move(c));
    }
    const size_t n = static_cast<size_t>(columnCount_);
    columns_.width.assign(n, 0);
    columns_.minimum.assign(n, 0);
    columns_.preferred.assign(n, 0);
    columns_.fixed.assign(n, 0);
    height_.assign(static_cast<size_t>(rows), 0);
    rowFixed_.assign(static_cast<size_t>(rows), 0);
  }

  // Lays out a cell's content in rect (left and top 0) and gives its extent. placing: the layout that
  // leaves the content where the page shows it, unless this whole table is only being measured.
  ContentExtent Measure(HtmlElement& e, HtmlRect rect, bool placing = false) {
    const bool measuring = !placing || pass_.Measuring();
    if (measuring) {
      if (const ContentExtent* kept = pass_.Measured(e, rect.right)) {
        pass_.Spend(1);
        return *kept;
      }
    }
    if (!placing) pass_.BeginMeasuring();
    pass_.LayoutChildren(rect, e, depth_ + 1);
    if (!placing) pass_.EndMeasuring();
    pass_.Spend(static_cast<long long>(e.children.size()));
    const ContentExtent extent = VisibleExtent(e.children);
    if (measuring && pass_.BudgetLeft()) pass_.KeepMeasure(e, rect.right, extent);
    return extent;
  }

  void Raise(int column, int width, int minimum, int preferred) {
    const size_t k = static_cast<size_t>(column);
    columns_.width[k] = std::max(columns_.width[k], width);
    columns_.minimum[k] = std::max(columns_.minimum[k], minimum);
    columns_.preferred[k] = std::max(columns_.preferred[k], preferred);
  }

  void MeasureColumns() {
    for (auto& c : plan_.cells) {
      HtmlElement& e = Cell(c);
      if (c.firstColumn != c.lastColumn) continue;
      const int attr = Field(e, kWidth);
      const std::array<int, 4>& cache = e.Container().layoutCache;
      if (cache[0] >= 0 && cache[3] == rect_.right) {
        Raise(c.firstColumn, cache[0], cache[1], cache[2]);
        if (attr) columns_.fixed[static_cast<size_t>(c.firstColumn)] = 1;
        continue;
      }
      const int minimum = Measure(e, {}).Right();
      Raise(c.firstColumn, minimum, minimum, 0);
      const size_t k = static_cast<size_t>(c.firstColumn);
      if (attr) {
        columns_.width[k] = std::max(columns_.width[k], attr);
        columns_.preferred[k] = std::max(columns_.preferred[k], columns_.width[k]);
        columns_.fixed[k] = 1;
      } else if (rect_.right != 0) {
        Raise(c.firstColumn, 0, 0, Measure(e, {0, 0, 2000, rect_.bottom}).Width());
      } else {
        Raise(c.firstColumn, 0, 0, columns_.width[k]);
      }
    }
    for (auto& c : plan_.cells) {
      HtmlElement& e = Cell(c);
      if (c.firstColumn != c.lastColumn) {
        const int need = std::max(Measure(e, {}).Width(), Field(e, kWidth));
        spanNeeds_.emplace_back(static_cast<size_t>(&c - plan_.cells.data()), need);
        WidenSpan(c, need);
      } else if (rect_.right != 0 && e.Container().layoutCache[0] < 0 && pass_.BudgetLeft()) {  // only whole measures
        const size_t k = static_cast<size_t>(c.firstColumn);
        e.MutableContainer().layoutCache = {columns_.width[k], columns_.minimum[k], columns_.preferred[k], rect_.right};
      }
    }
  }

  // Widens the columns a cell spans until they hold its content: a pixel at a time, in column order, to
  // every unfixed column that has a width; when none has one, the last column takes a pixel per unfixed
  // spanned column (and, unless fixed, has a width for the next round). Columns that are all fixed share
  // the pixels in the same way: a picture or a line kept whole would otherwise run over the next cell.
  void WidenSpan(const TablePlan::Cell& c, int need) {
    pass_.Spend(3LL * (c.lastColumn - c.firstColumn + 1));
    long long total = static_cast<long long>(Between()) * (c.lastColumn - c.firstColumn);
    for (int k = c.firstColumn; k <= c.lastColumn; ++k) total += columns_.width[static_cast<size_t>(k)];
    const size_t last = static_cast<size_t>(c.lastColumn);
    const auto eligible = [this](int k) { return !columns_.fixed[static_cast<size_t>(k)] && columns_.width[static_cast<size_t>(k)] > 0; };
    while (total < need) {
      int ready = 0, unfixed = 0;
      for (int k = c.firstColumn; k <= c.lastColumn; ++k) {
        if (!columns_.fixed[static_cast<size_t>(k)]) ++unfixed;
        if (eligible(k)) ++ready;
      }
      if (ready > 0) {
        Distribute(columns_.width, c.firstColumn, c.lastColumn, need - total, eligible);
        for (int k = c.firstColumn; k <= c.lastColumn; ++k) {
          const size_t u = static_cast<size_t>(k);
          columns_.preferred[u] = std::max(columns_.preferred[u], columns_.width[u]);
        }
        return;
      }
      if (unfixed == 0) {
        Distribute(columns_.width, c.firstColumn, c.lastColumn, need - total, [](int) { return true; });
        for (int k = c.firstColumn; k <= c.lastColumn; ++k) {
          const size_t u = static_cast<size_t>(k);
          columns_.preferred[u] = std::max(columns_.preferred[u], columns_.width[u]);
        }
        return;
      }
      // A fixed last column never becomes ready, so every round until the need is met goes the same way.
      const long long rounds = columns_.fixed[last] ? (need - total + unfixed - 1) / unfixed : 1;
      const int grow = static_cast<int>(std::min<long long>(rounds * unfixed, INT_MAX / 4));
      columns_.width[last] = std::min(columns_.width[last] + grow, INT_MAX / 4);
      columns_.minimum[last] = std::min(columns_.minimum[last] + grow, INT_MAX / 4);
      columns_.preferred[last] = std::min(columns_.preferred[last] + grow, INT_MAX / 4);
      total += grow;
    }
  }
  // Without measuring: the columns share the table's width evenly, each at least as wide as the widest
  // word or picture directly in its cells.
  void ShareWidth(int attribute) {
    long long target = attribute;
    if (attribute < 0) target = Room() * -static_cast<long long>(attribute) / 100;
    if (target == 0) target = Room();
    const long long n = static_cast<long long>(columns_.width.size());
    if (n == 0) return;
    const long long room = target - 2LL * plan_.border - plan_.spacing - n * Between();
    const int share = static_cast<int>(std::clamp<long long>(room / n, 0, INT_MAX / 4));
    std::fill(columns_.width.begin(), columns_.width.end(), share);
    for (const auto& c : plan_.cells) {
      if (c.firstColumn != c.lastColumn) continue;
      int& width = columns_.width[static_cast<size_t>(c.firstColumn)];
      for (const auto& child : Cell(c).children)
        if (child && child->kind != kContainer && child->kind != kRule && !IsWhiteSpace(*child)) width = std::max(width, child->width);
    }
  }

  long long TotalWidth() const {
    long long total = 2LL * plan_.border + plan_.spacing;
    for (int w : columns_.width) total += w + Between();
    return total;
  }

  // The width the table may take: what floats leave of the rectangle.
  long long Room() const { return std::max(0LL, static_cast<long long>(rect_.right) - rect_.left); }

  void FitWidth(int attribute) {
    long long target = attribute;
    if (attribute < 0) target = Room() * -static_cast<long long>(attribute) / 100;
    if (target == 0) target = Room();
    if (target <= 0) return;
    pass_.Spend(4 * static_cast<long long>(columns_.width.size()) + 1);
    FitColumns(columns_, TotalWidth(), target, attribute != 0);
  }

  // The columns' widths added up, from the left: columnEnd_[k] is the sum of the first k.
  void SumColumns() {
    columnEnd_.assign(columns_.width.size() + 1, 0);
    for (size_t k = 0; k < columns_.width.size(); ++k) columnEnd_[k + 1] = columnEnd_[k] + columns_.width[k];
  }
  long long ColumnsWidth(int first, int last) const {
    return columnEnd_[static_cast<size_t>(last) + 1] - columnEnd_[static_cast<size_t>(first)];
  }

  int CellWidth(const TablePlan::Cell& c) const {
    const long long w = ColumnsWidth(c.firstColumn, c.lastColumn) + static_cast<long long>(Between()) * (c.lastColumn - c.firstColumn);
    return static_cast<int>(std::min<long long>(w, INT_MAX / 4));
  }

  void SizeRows(int tableHeight) {
    for (auto& c : plan_.cells) {
      HtmlElement& e = Cell(c);
      c.contentHeight = Measure(e, {0, 0, CellWidth(c), 0}, true).bottom;
      const size_t r = static_cast<size_t>(c.row);
      if (c.lastRow == c.row) height_[r] = std::max(height_[r], c.contentHeight);
      if (Field(e, kHeight) && Field(e, kRowSpan) < 2) {
        height_[r] = std::max(height_[r], Field(e, kHeight));
        rowFixed_[r] = 1;
      }
    }
    SpanHeights rows(height_);
    std::vector<int> fixedFrom(height_.size() + 1, 0);  // rows a spanning cell with a height marks fixed
    bool spans = false;
    for (auto& c : plan_.cells) {
      const HtmlElement& e = Cell(c);
      if (Field(e, kRowSpan) < 2) continue;
      spans = true;
      const size_t first = static_cast<size_t>(c.row), last = static_cast<size_t>(c.lastRow);
      const long long between = static_cast<long long>(Between()) * (c.lastRow - c.row);
      rows.Share(first, last, c.contentHeight - (between + rows.Sum(first, last)));
      if (!Field(e, kHeight)) continue;
      ++fixedFrom[first];
      --fixedFrom[last + 1];
      rows.Share(first, last, Field(e, kHeight) - rows.Sum(first, last));
    }
    if (spans) {
      pass_.Spend(static_cast<long long>(height_.size()));
      int marks = 0;
      for (size_t r = 0; r < height_.size(); ++r) {
        height_[r] = rows.At(r);
        marks += fixedFrom[r];
        if (marks > 0) rowFixed_[r] = 1;
      }
    }
    long long sum = 0;
    for (int h : height_) sum += h;
    Distribute(height_, 0, static_cast<int>(height_.size()) - 1, tableHeight - sum,
               [this](int r) { return !rowFixed_[static_cast<size_t>(r)]; });
    rowEnd_.assign(height_.size() + 1, 0);
    for (size_t r = 0; r < height_.size(); ++r) rowEnd_[r + 1] = rowEnd_[r] + height_[r];
  }

  void Finish(const HtmlElement& head) {
    const int p = plan_.padding, s = plan_.spacing;
    int lastRow = -1;
    for (auto& c : plan_.cells) {
      if (c.row > lastRow + 1) {
        const long long empty = rowEnd_[static_cast<size_t>(c.row)] - rowEnd_[static_cast<size_t>(lastRow) + 1] +
                                static_cast<long long>(Between()) * (c.row - lastRow - 1);
        c.rowsBefore = static_cast<int>(std::min<long long>(empty, INT_MAX / 4));
      }
      lastRow = std::max(lastRow, c.row);
      const long long w = 2LL * p * (c.lastColumn - c.firstColumn + 1) +
                          static_cast<long long>(s) * (c.lastColumn - c.firstColumn) + ColumnsWidth(c.firstColumn, c.lastColumn);
      const long long h = 2LL * p + static_cast<long long>(Between()) * (c.lastRow - c.row) +
                          rowEnd_[static_cast<size_t>(c.lastRow) + 1] - rowEnd_[static_cast<size_t>(c.row)];
      c.width = static_cast<int>(std::min<long long>(w, INT_MAX / 4));
      c.height = static_cast<int>(std::min<long long>(h, INT_MAX / 4));
      c.rowHeight = static_cast<int>(std::min<long long>(2LL * p + height_[static_cast<size_t>(c.row)], INT_MAX / 4));
      const long long offset = c.skipped == 0 ? 0
                               : ColumnsWidth(c.firstColumn - c.skipped, c.firstColumn - 1) +
                                     static_cast<long long>(Between()) * c.skipped;
      c.skipOffset = static_cast<int>(std::min<long long>(offset, INT_MAX / 4));
    }
    if (!plan_.frame) return;
    HtmlElement& f = *plan_.frame;
    long long height = static_cast<long long>(s) + 2LL * plan_.border;
    for (int h : height_) height += h + Between();
    f.width = static_cast<int>(std::min<long long>(TotalWidth(), INT_MAX / 4));
    f.height = static_cast<int>(std::min<long long>(height, INT_MAX / 4));
    f.borderFlags = 15;
    f.borderColor = head.borderColor == kSunkenBorder ? kRaisedBorder : head.borderColor;
    f.borderWidth = plan_.border;
  }

  HtmlLayoutPass& pass_;
  HtmlElementList& list_;
  HtmlRect rect_;
  int depth_;
  TablePlan plan_;
  int columnCount_ = 0;
  TableColumns columns_;
  std::vector<long long> columnEnd_, rowEnd_;
  std::vector<int> height_, rowFixed_;
  std::vector<std::pair<size_t, int>> spanNeeds_;  // each cell spanning columns (its plan's index), its need
};

}  // namespace

namespace {

// The largest whole r in [low, high] for which grows(r) holds, grows holding at low and falling once.
template <typename Holds>
long long LastHolding(long long low, long long high, Holds holds) {
  while (low < high) {
    const long long middle = low + (high - low + 1) / 2;
    if (holds(middle)) low = middle;
    else high = middle - 1;
  }
  return low;
}

// Below the target: rounds of a pixel to each column below its preferred width, the last round cut short
// in column order when the target is reached.
long long GrowToPreferred(TableColumns& c, long long total, long long target) {
  const size_t n = c.width.size();
  const auto gap = [&c](size_t k) {
    return c.fixed[k] ? 0LL : std::max(0LL, static_cast<long long>(c.preferred[k]) - c.width[k]);
  };
  long long widest = 0;
  for (size_t k = 0; k < n; ++k) widest = std::max(widest, gap(k));
  const auto given = [&](long long rounds) {
    long long sum = 0;
    for (size_t k = 0; k < n; ++k) sum += std::min(gap(k), rounds);
    return sum;
  };
  const long long need = target - total;
  const long long rounds = LastHolding(0, widest, [&](long long r) { return given(r) <= need; });
  long long left = need - given(rounds);
  std::vector<long long> gaps(n);
  for (size_t k = 0; k < n; ++k) gaps[k] = gap(k);
  for (size_t k = 0; k < n; ++k) {
    long long add = std::min(gaps[k], rounds);
    if (left > 0 && gaps[k] > rounds) {
      ++add;
      --left;
    }
    c.width[k] = static_cast<int>(c.width[k] + add);
    total += add;
  }
  return total;
}

// Above the target: a pixel at a time from the widest fixed column that may still shrink (the first of
// equally wide ones), so the widest come down to a common level, each no lower than 10 or its minimum.
long long ShrinkFixed(TableColumns& c, long long total, long long target) {
  const size_t n = c.width.size();
  const auto floor = [&c](size_t k) { return std::max(10, c.minimum[k]); };
  const auto eligible = [&](size_t k) { return c.fixed[k] && c.width[k] > floor(k); };
  long long widest = 0;
  for (size_t k = 0; k < n; ++k)
    if (eligible(k)) widest = std::max<long long>(widest, c.width[k]);
  const auto taken = [&](long long level) {
    long long sum = 0;
    for (size_t k = 0; k < n; ++k)
      if (eligible(k)) sum += std::max(0LL, c.width[k] - std::max<long long>(level, floor(k)));
    return sum;
  };
  const long long excess = total - target;
  // The lowest level whose cut stays within the excess: levels fall, cuts grow.
  const long long level = widest - LastHolding(0, widest, [&](long long d) { return taken(widest - d) <= excess; });
  long long left = excess - taken(level);
  for (size_t k = 0; k < n; ++k) {
    if (!eligible(k)) continue;
    long long w = std::min<long long>(c.width[k], std::max<long long>(level, floor(k)));
    if (left > 0 && w == level && level > floor(k)) {
      --w;
      --left;
    }
    if (w != c.width[k]) {
      total -= c.width[k] - w;
      c.width[k] = static_cast<int>(w);
      c.preferred[k] = c.width[k];
    }
  }
  return total;
}

}  // namespace

long long FitColumns(TableColumns& c, long long total, long long target, bool widthAttribute) {
  if (total < target) total = GrowToPreferred(c, total, target);
  if (total < target && widthAttribute) {
    long long unfixed = 0;
    for (int f : c.fixed)
      if (!f) ++unfixed;
    // The last round stops at the target, in column order: a round given whole would leave a table of
    // width 100% up to a pixel a column wider than its room.
    if (unfixed > 0) {
      const long long need = target - total, rounds = need / unfixed;
      long long left = need % unfixed;
      for (size_t k = 0; k < c.width.size(); ++k) {
        if (c.fixed[k]) continue;
        const long long add = rounds + (left > 0 ? 1 : 0);
        if (left > 0) --left;
        const int grown = static_cast<int>(std::min<long long>(c.width[k] + add, INT_MAX / 4));
        total += grown - c.width[k];
        c.width[k] = grown;
      }
    }
  }
  if (total > target) total = ShrinkFixed(c, total, target);
  return total;
}

SpanHeights::SpanHeights(const std::vector<int>& heights) : n_(heights.size()), add_(n_ + 1, 0), addIndex_(n_ + 1, 0) {
  for (size_t r = 0; r < n_; ++r) Add(r, r, heights[r]);
}

void SpanHeights::Add(size_t first, size_t last, long long amount) {
  Point(first, amount);
  if (last + 1 < n_) Point(last + 1, -amount);
}

void SpanHeights::Share(size_t first, size_t last, long long amount) {
  if (amount <= 0) return;
  const long long n = static_cast<long long>(last - first + 1);
  Add(first, last, amount / n);
  if (amount % n) Add(first, first + static_cast<size_t>(amount % n) - 1, 1);
}

int SpanHeights::At(size_t r) const { return static_cast<int>(std::clamp<long long>(Sum(r, r), 0, INT_MAX / 4)); }

void SpanHeights::Point(size_t at, long long amount) {
  for (size_t i = at + 1; i <= n_; i += i & (~i + 1)) {
    add_[i] += amount;
    addIndex_[i] += amount * static_cast<long long>(at);
  }
}

long long SpanHeights::Prefix(size_t count) const {
  long long a = 0, b = 0;
  for (size_t i = count; i > 0; i -= i & (~i + 1)) {
    a += add_[i];
    b += addIndex_[i];
  }
  return a * static_cast<long long>(count) - b;
}

const TablePlan::Cell* TablePlan::Find(size_t i) {
  if (next > 0 && (next > cells.size() || cells[next - 1].index >= i)) next = 0;
  while (next < cells.size() && cells[next].index < i) ++next;
  return next < cells.size() && cells[next].index == i ? &cells[next] : nullptr;
}

TablePlan SizeTable(HtmlLayoutPass& pass, HtmlElementList& list, size_t first, HtmlElement* frame,
                    const HtmlRect& rect, int depth) {
  return TableSizer(pass, list, rect, depth).Run(first, frame);
}

}  // namespace htmlview
