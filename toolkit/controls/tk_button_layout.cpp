#include "toolkit/controls/tk_button_layout.h"

#include <algorithm>

namespace tkbutton {

Point Layout::ImagePosition(int cx, int cy) const {
  Point pt;
  pt.x = Above() ? std::max(0, (client.Width() - cx) / 2) : borderGap;
  pt.y = std::max(0, (client.Height() - cy) / 2);
  return pt;
}

Point Layout::TextPosition(Size text) const {
  // The item narrowed by 2 on each side; without an image there is no gap to leave for it.
  const int left = item.left + 2, right = item.right - 2;
  const int imageWidth = HasImage() ? image.cx + imageGap : 0;
  Point pt = ImagePosition(text.cx, text.cy);
  pt.x = left + borderGap;
  if (Above() && HasImage()) pt.y += imageGap / 2 + image.cy / 2;
  switch (HorzAlign()) {
    case kAlignLeft:
      if (!Above()) pt.x += imageWidth;
      break;
    case kAlignRight:
      pt.x = right - borderGap - text.cx;
      break;
    default:
      if (Above()) {
        pt.x = left + (right - left - text.cx) / 2;
      } else {
        const int from = pt.x + imageWidth;
        pt.x = from + (right - from - text.cx) / 2;
      }
      break;
  }
  return pt;
}

Point Layout::IconPosition(Size text) const {
  Point pt = ImagePosition(image.cx, image.cy);
  if (!Above()) {
    if (!hasText) {
      if (HorzAlign() == kAlignCenter) pt.x = item.left + std::max(0, (item.Width() - image.cx) / 2);
      if ((windowStyle & kAlignVCenter) == kAlignVCenter && image.cy <= item.Height())
        pt.y = item.top + (item.Height() - image.cy) / 2;
    }
    return pt;
  }
  if (hasText) pt.y -= text.cy / 2 + imageGap / 2;
  switch (HorzAlign()) {
    case kAlignLeft:
      break;
    case kAlignRight:
      pt.x = item.right - borderGap - image.cx;
      break;
    default:
      pt.x = item.left + std::max(0, (item.Width() - image.cx) / 2);
      break;
  }
  return pt;
}

}  // namespace tkbutton
