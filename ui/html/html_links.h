// The hot areas of the links of drawn text and the hovered link.
#pragma once

#include <vector>

#include "ui/html/html_layout.h"

namespace html {

constexpr int kNoLink = -2;

class HtmlLinkTracker {
 public:
  void SetAreas(std::vector<HtmlHotArea> areas) { areas_ = std::move(areas); }
  const std::vector<HtmlHotArea>& Areas() const { return areas_; }
  // The hot area under the point (right and bottom edges excluded), or null.
  const HtmlHotArea* AreaAt(int x, int y) const;
  // Hovers the link under the point (kNoLink when none); true when the hovered link changed.
  bool HoverAt(int x, int y);
  int Hovered() const { return hovered_; }

 private:
  std::vector<HtmlHotArea> areas_;
  int hovered_ = kNoLink;
};

}  // namespace html
