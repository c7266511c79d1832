// The dialog bar's edges and its resizing by rectangle.
#include "toolkit/commandbars/bars/dialog_bar_geometry.h"

namespace tkp_dialog_bar {

int EdgeAt(const CRect& window, CPoint pt, int position, bool stretched) {
  CRect inner(window);
  inner.DeflateRect(kGrabWidth, kGrabWidth);
  const bool left = pt.x < inner.left, right = pt.x >= inner.right;
  const bool top = pt.y < inner.top, bottom = pt.y >= inner.bottom;
  switch (position) {
    case 4:
      if (top) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
      if (bottom) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
      if (left) return kHitLeft;
      if (right) return kHitRight;
      return kHitNowhere;
    case 1: return top ? kHitTop : kHitNowhere;
    case 0: return bottom && !stretched ? kHitBottom : kHitNowhere;
    case 2: return right && !stretched ? kHitRight : kHitNowhere;
    case 3: return left ? kHitLeft : kHitNowhere;
    default: return kHitNowhere;
  }
}

CRect DraggedRect(const CRect& start, int hitTest, CSize delta) {
  CRect rect(start);
  if (hitTest == kHitLeft || hitTest == kHitTopLeft || hitTest == kHitBottomLeft) rect.left += delta.cx;
  if (hitTest == kHitRight || hitTest == kHitTopRight || hitTest == kHitBottomRight) rect.right += delta.cx;
  if (hitTest == kHitTop || hitTest == kHitTopLeft || hitTest == kHitTopRight) rect.top += delta.cy;
  if (hitTest == kHitBottom || hitTest == kHitBottomLeft || hitTest == kHitBottomRight) rect.bottom += delta.cy;
  return rect;
}

bool ResizeTo(const CRect& rect, int hitTest, const CRect& borders, CSize minimum, bool floating, ClientSizes& sizes) {
  CSize client(rect.Width() - borders.left - borders.right, rect.Height() - borders.top - borders.bottom);
  if (client.cx < minimum.cx || client.cy < minimum.cy) return false;
  if (floating) {
    sizes.floating = client;
  } else if (hitTest == kHitLeft || hitTest == kHitRight) {
    sizes.docked.cx = client.cx;
  } else {
    sizes.docked.cy = client.cy;
  }
  return true;
}

}  // namespace tkp_dialog_bar
