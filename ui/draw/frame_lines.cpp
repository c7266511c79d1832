#include "ui/draw/frame_lines.h"

namespace draw {

PenKind PenKindOf(int style) {
  switch (style) {
    case kFrameDash: return kPenDash;
    case kFrameDot: return kPenDot;
    case kFrameDashDot: return kPenDashDot;
    case kFrameDashDotDot: return kPenDashDotDot;
    default: return kPenSolid;
  }
}

std::vector<StyledPath> FramePaths(const DrawRect& rect, int style, int width) {
  if (style == kFrameNone || width < 1) return {};
  const int h = width / 2, w2 = 2 * width;
  const int l = rect.left + h, t = rect.top + h, r = rect.right - h, b = rect.bottom - h;
  std::vector<StyledPath> paths;
  paths.push_back({0, {{l, b}, {l, t}, {r, t}}});
  if (style == kFrameDouble) paths.push_back({0, {{l + w2, b - w2}, {l + w2, t + w2}, {r - w2, t + w2}}});
  paths.push_back({1, {{r, t}, {r, b}, {l, b}}});
  if (style == kFrameDouble) paths.push_back({1, {{r - w2, t + w2}, {r - w2, b - w2}, {l + w2, b - w2}}});
  return paths;
}

std::vector<StyledPath> StyledLinePaths(int x1, int y1, int x2, int y2, int style, int width) {
  if (style == kFrameNone || width < 1) return {};
  std::vector<StyledPath> paths{{0, {{x1, y1}, {x2, y2}}}};
  if (style == kFrameDouble) {
    int down = x1 != x2 ? 2 * width : 0, right = y1 != y2 ? 2 * width : 0;
    paths.push_back({0, {{x1 + right, y1 + down}, {x2 + right, y2 + down}}});
  }
  return paths;
}

}  // namespace draw
