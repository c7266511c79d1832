// The layout pass: gives every element of a list its document position inside a rectangle. Elements
// between two breaks form a line, which is aligned and bottom-aligned when it ends; floating boxes narrow
// the lines beside them; runs of containers are tables, sized from their cells' contents.
#pragma once

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <utility>
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

// Where the visible content of a cell ended up: its leftmost and rightmost pixel and its bottom.
struct ContentExtent {
  int minX = INT_MAX, right = INT_MIN, bottom = 0;
  int Width() const { return right == INT_MIN ? 0 : right - std::min(minX, right); }
  int Right() const { return right == INT_MIN ? 0 : right; }
};

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

  // While a table measures its cells, the positions its layouts give are thrown away: only the extent
  // counts, and a cell's content laid out again in a rectangle of the same width ends the same way. So
  // the extent is kept, and each cell's content is laid out once per width however deep the tables nest
  // (the rectangle's bottom moves nothing). The layouts that place the page's content are always done.
  bool Measuring() const { return measuring_ > 0; }
  void BeginMeasuring() { ++measuring_; }
  void EndMeasuring() { --measuring_; }
  const ContentExtent* Measured(const HtmlElement& cell, int width) const;
  void KeepMeasure(const HtmlElement& cell, int width, const ContentExtent& extent);

  bool keepMeasures = true;
  long long workFloor = kLayoutWorkFloor;
  long long workCap = kLayoutWorkCap;

 private:
  // Makes the moves the containers of list still owe, parents before their children.
  void SettleMoves(HtmlElementList& list);

  HtmlDocument& doc_;
  HtmlImageSizes* sizes_;
  std::unordered_map<const HtmlElement*, std::vector<std::pair<int, ContentExtent>>> measured_;
  int measuring_ = 0;
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
