#include "toolkit/commandbars/bars/dock_row_layout.h"

namespace tkpdock {

namespace {

void MoveTo(RowBar& bar, int left) { bar.rect.MoveToX(left); }

// Left to right: a bar that starts inside the one before it moves to its right edge. With bKeepTies a
// bar stays put when the one before it did not move and comes later in the row: the pair is settled
// by the pass from the right.
void PushRight(std::vector<RowBar>& bars, bool bKeepTies) {
  std::vector<bool> moved(bars.size(), false);
  for (size_t i = 1; i < bars.size(); ++i) {
    const RowBar& before = bars[i - 1];
    if (bars[i].rect.left >= before.rect.right) continue;
    if (bKeepTies && !moved[i - 1] && before.index >= bars[i].index) continue;
    MoveTo(bars[i], before.rect.right);
    moved[i] = true;
  }
}

// Right to left: a bar that passes the limit (the row's end, then the left edge of the bar after it)
// moves left to it, never past the row's start.
void PushLeft(std::vector<RowBar>& bars, int length) {
  std::vector<bool> moved(bars.size(), false);
  int limit = length;
  for (size_t n = bars.size(); n-- > 0;) {
    RowBar& bar = bars[n];
    const bool keep = n + 1 < bars.size() && !moved[n + 1] && bars[n + 1].index >= bar.index;
    if (bar.rect.right > limit && !keep) {
      MoveTo(bar, std::max(0, limit - bar.rect.Width()));
      moved[n] = true;
    }
    limit = bar.rect.left;
  }
}

// The row is too long: from the right, each bar gives up room down to its minimal length.
bool Squeeze(std::vector<RowBar>& bars, int length, int* pNotFit) {
  int sum = 0;
  for (RowBar& bar : bars) {
    bar.minBefore = sum;
    sum += bar.minLength;
  }
  int limit = length;
  for (size_t n = bars.size(); n-- > 0;) {
    RowBar& bar = bars[n];
    int left = std::min(bar.mruOffset, static_cast<int>(bar.rect.left));
    left = std::max(left, limit - bar.rect.Width());
    left = std::max(left, bar.minBefore);
    if (limit - left < bar.minLength) left = limit - bar.minLength;
    if ((limit - left < bar.minLength || left < bar.minBefore) && bars.size() > 1) {
      *pNotFit = bars.back().index;
      return false;
    }
    bar.rect.left = std::max(0, left);
    bar.rect.right = std::max(static_cast<int>(bar.rect.left), limit);
    limit = bar.rect.left;
  }
  return true;
}

}  // namespace

bool ArrangeRow(std::vector<RowBar>& bars, int length, int* pNotFit) {
  if (pNotFit != nullptr) *pNotFit = -1;
  // Equal edges compare equal and the sort is stable, so bars at one place stay in row order.
  std::stable_sort(bars.begin(), bars.end(),
                   [](const RowBar& a, const RowBar& b) { return a.rect.left < b.rect.left; });
  for (RowBar& bar : bars) {
    if (bar.rect.left < 0) MoveTo(bar, 0);
  }
  PushRight(bars, true);
  PushLeft(bars, length);
  PushRight(bars, false);
  if (bars.empty() || bars.back().rect.right <= length) return true;
  int notFit = -1;
  const bool fits = Squeeze(bars, length, &notFit);
  if (pNotFit != nullptr) *pNotFit = notFit;
  return fits;
}

}  // namespace tkpdock
