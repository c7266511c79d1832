#include "toolkit/commandbars/bars/toolbar_layout.h"

#include <algorithm>

namespace tkplayout {
namespace {

typedef std::vector<TKPLayoutRecord> Records;

bool Shown(const TKPLayoutRecord& r) { return r.visible && !r.hidden; }

CRect Transposed(const CRect& r) { return CRect(r.top, r.left, r.bottom, r.right); }
CSize Transposed(const CSize& s) { return CSize(s.cy, s.cx); }

// Vertical bars are laid out as horizontal ones with x and y swapped.
void Transpose(Records& records) {
  for (TKPLayoutRecord& r : records) {
    r.rect = Transposed(r.rect);
    r.rowRect = Transposed(r.rowRect);
    r.size = Transposed(r.size);
  }
}

int LengthOf(const TKPLayoutRecord& r, bool vertical) { return vertical ? r.size.cy : r.size.cx; }

// Rows from (0, 0): a row start moves down by the row's height (plus the separator before a group),
// a group start inside a row moves right by the separator. Each row is centred on its height.
CSize PlaceRows(Records& records, CSize separator) {
  CSize extent;
  int x = 0, y = 0, rowHeight = 0;
  bool first = true, rowFirst = true;
  std::vector<size_t> row;
  auto closeRow = [&]() {
    for (size_t i : row) {
      TKPLayoutRecord& r = records[i];
      r.rowRect = CRect(0, y, 0, y + rowHeight);
      r.rect.OffsetRect(0, (rowHeight - r.rect.Height()) / 2);
    }
    row.clear();
  };
  for (size_t i = 0; i < records.size(); ++i) {
    TKPLayoutRecord& r = records[i];
    if (!Shown(r)) continue;
    if (!first && r.wrap) {
      closeRow();
      y += rowHeight + (r.beginGroup ? separator.cy : 0);
      x = 0;
      rowHeight = 0;
      rowFirst = true;
    }
    if (!rowFirst && r.beginGroup) x += separator.cx;
    r.rect = CRect(CPoint(x, y), r.size);
    x += r.size.cx;
    rowHeight = std::max<int>(rowHeight, r.size.cy);
    extent.cx = std::max<int>(extent.cx, x);
    first = rowFirst = false;
    row.push_back(i);
  }
  closeRow();
  extent.cy = first ? 0 : y + rowHeight;
  for (TKPLayoutRecord& r : records) {
    if (Shown(r)) r.rowRect.right = extent.cx;
  }
  return extent;
}

CSize WrappedSize(Records& records, int width, CSize separator, DWORD mode, int* rows = nullptr) {
  const int count = Wrap(records, width, mode);
  if (rows != nullptr) *rows = count;
  return CalcSize(records, separator, (mode & kTKPLayoutVertDock) != 0);
}

// The smallest width in [low, high] for which fits() holds (high when none does); leaves the records
// wrapped at it.
template <typename Fits>
CSize SmallestFitting(Records& records, int low, int high, CSize separator, DWORD mode, Fits fits) {
  while (low < high) {
    const int mid = low + (high - low) / 2;
    int rows = 0;
    const CSize size = WrappedSize(records, mid, separator, mode, &rows);
    if (fits(size, rows)) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return WrappedSize(records, low, separator, mode);
}

// The indexes of the shown records, one list per row (rows found by their row rectangles).
std::vector<std::vector<size_t>> Rows(const Records& records) {
  std::vector<std::vector<size_t>> rows;
  bool first = true;
  for (size_t i = 0; i < records.size(); ++i) {
    if (!Shown(records[i])) continue;
    if (first || records[i].wrap) rows.emplace_back();
    rows.back().push_back(i);
    first = false;
  }
  return rows;
}

// Far-end controls packed against the row's end, then the free room shared by the stretched ones.
void ApplyFarEndAndStretch(Records& records) {
  for (const std::vector<size_t>& row : Rows(records)) {
    int end = records[row.front()].rowRect.right;
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
      TKPLayoutRecord& r = records[*it];
      const int left = end - r.rect.Width();
      if (!r.farEnd || left < r.rect.left) break;
      r.rect.MoveToX(left);
      end = left;
    }
    int used = 0, stretched = 0;
    for (size_t i : row) {
      if (records[i].farEnd) continue;
      used = std::max<int>(used, records[i].rect.right);
      stretched += records[i].stretch ? 1 : 0;
    }
    int room = end - used, given = 0;
    if (room <= 0) continue;
    for (size_t i : row) {
      TKPLayoutRecord& r = records[i];
      if (r.farEnd) continue;
      r.rect.OffsetRect(given, 0);
      if (!r.stretch) continue;
      const int share = room / stretched--;
      r.rect.right += share;
      given += share;
      room -= share;
    }
  }
}

}  // namespace

int Wrap(Records& records, int width, DWORD mode, bool* wrapped) {
  const bool vertical = (mode & kTKPLayoutVertDock) != 0;
  for (TKPLayoutRecord& r : records) r.wrap = r.hidden = false;
  bool didWrap = false;
  int breaks = 0, running = 0;
  int rowStart = -1;
  const int n = static_cast<int>(records.size());
  for (int i = 0; i < n; ++i) {
    TKPLayoutRecord& r = records[i];
    if (!r.visible) continue;
    if (rowStart < 0) {
      rowStart = i;
      running = LengthOf(r, vertical);
      continue;
    }
    running += LengthOf(r, vertical) + (r.beginGroup ? kGroupGap : 0);
    if (running <= width && !((mode & kTKPLayoutPopupWrap) && r.beginGroup)) continue;
    didWrap = true;
    if (mode & kTKPLayoutNoWrap) {
      for (int j = i; j < n; ++j) records[j].hidden = true;
      break;
    }
    // Break at the last group start of this row, so that a group stays together when it can.
    int at = i;
    for (int j = i; j > rowStart; --j) {
      if (records[j].visible && records[j].beginGroup) {
        at = j;
        break;
      }
    }
    records[at].wrap = true;
    ++breaks;
    rowStart = i = at;
    running = LengthOf(records[at], vertical);
  }
  if (wrapped != nullptr) *wrapped = didWrap;
  return breaks + 1;
}

CSize CalcSize(Records& records, CSize separator, bool vertical) {
  if (!vertical) return PlaceRows(records, separator);
  Transpose(records);
  const CSize extent = Transposed(PlaceRows(records, Transposed(separator)));
  Transpose(records);
  // Columns grow to the left of the first one.
  for (TKPLayoutRecord& r : records) {
    if (!Shown(r)) continue;
    r.rect.MoveToX(extent.cx - r.rect.right);
    r.rowRect.MoveToX(extent.cx - r.rowRect.right);
  }
  return extent;
}

CSize SizeToolBar(Records& records, CSize separator, DWORD mode) {
  mode &= ~static_cast<DWORD>(kTKPLayoutPopupWrap);  // the shape is free to change here
  int low = WrappedSize(records, 0, separator, mode).cx;
  int high = WrappedSize(records, kNoMRUWidth, separator, mode).cx;
  CSize previous(-1, -1);
  while (low < high) {
    const int mid = low + (high - low) / 2;
    const CSize size = WrappedSize(records, mid, separator, mode);
    if (size == previous || size.cx == size.cy) return size;
    previous = size;
    if (size.cy > size.cx) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return WrappedSize(records, low, separator, mode);
}

CSize FitFloating(Records& records, int length, CSize separator, DWORD mode) {
  const int narrowest = WrappedSize(records, 0, separator, mode).cx;
  if (mode & kTKPLayoutLengthIsHeight) {
    const int widest = WrappedSize(records, kNoMRUWidth, separator, mode).cx;
    return SmallestFitting(records, narrowest, widest, separator, mode,
                           [length](const CSize& size, int) { return size.cy <= length; });
  }
  int rows = 0;
  const CSize atLength = WrappedSize(records, length, separator, mode, &rows);
  if (length <= narrowest) return atLength;
  return SmallestFitting(records, narrowest, length, separator, mode,
                         [rows](const CSize&, int count) { return count <= rows; });
}

CSize CalcDynamicSize(Records& records, const TKPLayoutRequest& request) {
  const DWORD mode = request.mode;
  const CRect& b = request.borders;
  const bool vertical = (mode & kTKPLayoutVertDock) != 0;
  const int alongBorders = vertical ? b.top + b.bottom : b.left + b.right;
  const bool anyVisible = std::any_of(records.begin(), records.end(),
                                      [](const TKPLayoutRecord& r) { return r.visible; });
  if (!anyVisible) {
    CSize size(b.left + b.right + 23, b.top + b.bottom + 22);
    LONG& along = vertical ? size.cy : size.cx;
    along = std::max<LONG>(along, request.minLength);
    return size;
  }

  const int length = (mode & kTKPLayoutMRUWidth) ? request.mruWidth : request.length;
  CSize size;
  if (mode & kTKPLayoutPopupWrap) {
    size = WrappedSize(records, request.mruWidth, request.separator, mode);
    if (size.cy > 3 * size.cx && request.mruWidth == kNoMRUWidth) {
      size = SizeToolBar(records, request.separator, mode);
    }
  } else if (mode & (kTKPLayoutHorzDock | kTKPLayoutVertDock)) {
    size = WrappedSize(records, length - alongBorders, request.separator, mode);
  } else {
    const int floatingBorders = (mode & kTKPLayoutLengthIsHeight) ? b.top + b.bottom : b.left + b.right;
    size = FitFloating(records, length - floatingBorders, request.separator, mode);
  }

  LONG& along = vertical ? size.cy : size.cx;
  along = std::max<LONG>(along, request.minLength - alongBorders);
  if (mode & kTKPLayoutStretch) along = std::max<LONG>(along, length - alongBorders);
  for (TKPLayoutRecord& r : records) {
    if (!Shown(r)) continue;
    (vertical ? r.rowRect.bottom : r.rowRect.right) = along;
  }
  if (mode & kTKPLayoutCommit) {
    if (vertical) Transpose(records);
    ApplyFarEndAndStretch(records);
    if (vertical) Transpose(records);
  }
  for (TKPLayoutRecord& r : records) {
    if (!Shown(r)) continue;
    r.rect.OffsetRect(b.left, b.top);
    r.rowRect.OffsetRect(b.left, b.top);
  }
  return CSize(size.cx + b.left + b.right, size.cy + b.top + b.bottom);
}

}  // namespace tkplayout
