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
// The work one layout may do (element placements and pixel sweeps): a floor, and so much per element of
// the page, up to a cap that keeps the largest page's layout short. Real pages, long tables inside layout
// tables included, stay far below it; only pathological nesting (where every level measures its cells
// again) reaches it. The page is then laid out again with tables sized from the room they have, each cell
// measured once, so every element still gets its place.
constexpr long long kLayoutWorkFloor = 4000000;
constexpr long long kLayoutWorkPerElement = 300;
constexpr long long kLayoutWorkCap = 16000000;

class HtmlLayoutPass {
 public:
  HtmlLayoutPass(HtmlDocument& doc, HtmlImageSizes* sizes) : doc_(doc), sizes_(sizes) {}

  // The whole page: sets the budget from the page's size and lays list out in rect; when the budget runs
  // out, lays it out again the simple way.
  void Layout(HtmlElementList& list, HtmlRect& rect);
  void LayoutRange(HtmlRect rect, HtmlElementList& list, int depth);
  // Lays out a container's children in rect; they take their places anew, so the move they owed goes.
  void LayoutChildren(HtmlRect rect, HtmlElement& container, int depth);

  // Moves every descendant of element (as OffsetChildren). The move is kept in the container and made
  // when the layout ends: a cell nested in n tables would otherwise move its content n times.
  void MoveChildren(HtmlElement& element, int dx, int dy);

  // True while tables are sized from their contents; false once the budget is spent, and during the
  // simple layout that follows.
  bool BudgetLeft() const { return !simple_ && budget_ > 0; }
  // True during the layout that sizes tables from their room alone.
  bool Simple() const { return simple_; }
  // Takes units of work from the budget; false once it is spent.
  bool Spend(long long units) {
    budget_ -= units;
    work_ += units;
    return BudgetLeft();
  }
  // The work of the last Layout, both layouts counted.
  long long Work() const { return work_; }

  long long workCap = kLayoutWorkCap;

 private:
  // Makes the moves the containers of list still owe, parents before their children.
  void SettleMoves(HtmlElementList& list);

  HtmlDocument& doc_;
  HtmlImageSizes* sizes_;
  long long budget_ = kLayoutWorkFloor;
  long long work_ = 0;
  bool simple_ = false;
};

// The number of elements in list and below it.
size_t CountElements(const HtmlElementList& list);

// True for a text element that is a single space.
inline bool IsWhiteSpace(const HtmlElement& e) {
  return e.kind == kTextRun && e.text.size() == 1 && e.text[0] == u' ';
}

}  // namespace htmlview
