// The page's linked elements by position, for the mouse: a move over a page of millions of elements looks
// at the few boxes that reach the pointer's height, not at every element of the page; and the box around
// all of a link's elements, which the link repaints when the mouse enters or leaves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/html/html_element.h"

namespace htmlview {

class HtmlHitIndex {
 public:
  // Takes the boxes of the linked elements of list, in the order a walk of the page meets them (a
  // container's children before the container, nesting deeper than kMaxElementDepth left out).
  void Build(const HtmlElementList& list);
  void Clear() {
    boxes_.clear();
    tree_.clear();
    bounds_.clear();
  }
  // The link of the first linked element (in that order) whose box holds (x, y), or -1.
  int Hit(int x, int y);
  // The smallest rectangle holding every box of the link; empty (all 0) when it has none.
  HtmlRect LinkBounds(int link) const;
  // The boxes the last Hit looked at.
  size_t examined = 0;

 private:
  struct Box {
    long long top, bottom, left, right;
    uint32_t order;
    int link;
  };
  void Collect(const HtmlElementList& list, int depth, uint32_t& order);

  std::vector<Box> boxes_;      // by top
  std::vector<long long> tree_;  // the lowest bottom of each range of boxes, a tree over boxes_ (leaves at size)
  size_t leaves_ = 0;
  std::vector<HtmlRect> bounds_;  // by link
};

}  // namespace htmlview
