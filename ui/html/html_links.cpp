#include "ui/html/html_links.h"

namespace html {

const HtmlHotArea* HtmlLinkTracker::AreaAt(int x, int y) const {
  for (const HtmlHotArea& area : areas_)
    if (x >= area.rect.left && x < area.rect.right && y >= area.rect.top && y < area.rect.bottom) return &area;
  return nullptr;
}

bool HtmlLinkTracker::HoverAt(int x, int y) {
  const HtmlHotArea* area = AreaAt(x, y);
  int link = area ? area->link : kNoLink;
  if (link == hovered_) return false;
  hovered_ = link;
  return true;
}

}  // namespace html
