// The layout pass: gives every element of a list its document position inside a rectangle. Elements
// between two breaks form a line, which is aligned and bottom-aligned when it ends; floating boxes narrow
// the lines beside them; runs of containers are tables, sized from their cells' contents.
#pragma once

#include <vector>

#include "preview/html/html_document.h"

namespace htmlview {

// The natural size of the page's pictures, by image-table index.
class HtmlImageSizes {
 public:
  virtual ~HtmlImageSizes() = default;
  // False while the picture's size is not known; wait is the document's option.
  virtual bool NaturalSize(int imageIndex, int wait, int& width, int& height) = 0;
};

// Completes a requested width and height (0: not given) from the picture's own size, keeping its shape.
void ScaleToImage(int imageWidth, int imageHeight, int& width, int& height);

// Tables wider than this many columns are cut there; their further cells share the last column.
constexpr int kMaxTableColumns = 256;
// The work one layout may do (element placements and pixel sweeps); beyond it the rest keeps its
// positions, so nested tables can never make a layout take long.
constexpr long long kLayoutBudget = 2000000;

class HtmlLayoutPass {
 public:
  HtmlLayoutPass(HtmlDocument& doc, HtmlImageSizes* sizes) : doc_(doc), sizes_(sizes) {}

  // The whole page: resets the budget, then lays list out in rect.
  void Layout(HtmlElementList& list, HtmlRect& rect);
  void LayoutRange(HtmlRect rect, HtmlElementList& list, int depth);

  // Moves every descendant of element (as OffsetChildren), paying for each from the budget.
  void MoveChildren(HtmlElement& element, int dx, int dy);

  bool BudgetLeft() const { return budget_ > 0; }
  // Takes units of work from the budget; false once it is spent.
  bool Spend(long long units) {
    budget_ -= units;
    return budget_ > 0;
  }

 private:
  HtmlDocument& doc_;
  HtmlImageSizes* sizes_;
  long long budget_ = kLayoutBudget;
};

// True for a text element that is a single space.
bool IsWhiteSpace(const HtmlElement& e);

}  // namespace htmlview
