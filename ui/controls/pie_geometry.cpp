#include "ui/controls/pie_geometry.h"

#include <algorithm>
#include <cmath>

namespace pie {

CPoint BoundaryPoint(int percent, int cx, int cy, int rx, int ry) {
  if (rx <= 0) return CPoint(cx, cy);
  int p = std::clamp(percent, 0, 100);
  int d = p <= 25 ? 4 * p : p <= 50 ? 4 * (50 - p) : p <= 75 ? 4 * (p - 50) : 4 * (100 - p);
  int dx = static_cast<int>(static_cast<int64_t>(d) * rx / 100);
  double across = std::sqrt(static_cast<double>(rx) * rx - static_cast<double>(dx) * dx);
  int dy = static_cast<int>(ry * across / rx);
  int x = p <= 50 ? cx - dx : cx + dx;
  int y = p > 25 && p <= 75 ? cy - dy : cy + dy;
  return CPoint(x, y);
}

int UsedPercent(uint64_t used, uint64_t total) {
  if (total == 0) return 0;
  uint64_t whole = used / total;
  if (whole >= 10) return 1000;  // far outside the pie's range; the exact figure does not matter
  // trunc(rest × 100 / total) without the product, which could overflow: rest is added 100 times,
  // counting each time the sum passes the total.
  uint64_t rest = used % total, hundredths = 0, sum = 0;
  for (int k = 0; k < 100; ++k) {
    uint64_t room = total - sum;
    if (rest >= room) {
      sum = rest - room;
      ++hundredths;
    } else {
      sum += rest;
    }
  }
  return static_cast<int>(whole * 100 + hundredths);
}

PieLayout LayoutPie(const CRect& client) {
  PieLayout layout;
  layout.box = CRect(client.right - 300, client.top + 40, client.right, client.bottom - 10);
  layout.cx = (layout.box.left + layout.box.right) / 2;
  layout.rx = static_cast<int>(0.3 * layout.box.Width());
  // Flattened as a disk seen from above, and short enough that the rim stays inside the box.
  layout.ry = std::max(0, std::min(layout.rx / 2, (layout.box.Height() - kRimDepth) / 2));
  layout.cy = layout.box.top + (layout.box.Height() - kRimDepth) / 2;
  return layout;
}

std::vector<RimRun> RimRuns(int usedPercent, int cx, int rx) {
  int used = std::clamp(usedPercent, 0, 100);
  // Left quarter of the front: shares 25 (left edge) down to 0 (centre); right quarter: 75 (right
  // edge) up to 100 (centre). A column shows the used colour when its share lies below the used share.
  int leftSplit = BoundaryPoint(std::min(used, 25), cx, 0, rx, 0).x;
  int rightSplit = used > 75 ? BoundaryPoint(used, cx, 0, rx, 0).x : cx + rx;
  std::vector<RimRun> runs = {{cx - rx, leftSplit, false}, {leftSplit, cx, true},
                              {cx, rightSplit, false}, {rightSplit, cx + rx, true}};
  std::vector<RimRun> merged;
  for (const RimRun& run : runs) {
    if (run.right <= run.left) continue;
    if (!merged.empty() && merged.back().used == run.used) {
      merged.back().right = run.right;
    } else {
      merged.push_back(run);
    }
  }
  return merged;
}

CString SpaceLine(LPCTSTR label, uint64_t bytes) {
  CString line;
  if (bytes > 1073741824ull) {
    line.Format(_T("%s: %2.2f GB"), label, static_cast<double>(bytes) / 1073741824.0);
  } else if (bytes > 1048576ull) {
    line.Format(_T("%s: %2.2f MB"), label, static_cast<double>(bytes) / 1048576.0);
  } else {
    line.Format(_T("%s: %2.2f KB"), label, static_cast<double>(bytes) / 1024.0);
  }
  return line;
}

}  // namespace pie
