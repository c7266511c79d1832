// One parsed page: its element tree in document coordinates, its images and links, the background, the
// link under the mouse and the selection. It reaches its host only through HtmlBrowserCallbacks, which
// may be null.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>

#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_element.h"
#include "preview/html/html_hit_index.h"
#include "preview/html/html_image_table.h"
#include "preview/html/string_table.h"

namespace htmlview {

// The most elements (words, spaces, breaks, pictures, cells, controls) one page makes. Within the preview's
// 5 MiB a page of prose makes 1.9 million, a long table fewer, a hex dump in preformatted text 3.3 million;
// a page built to make more (a space and a break for every byte) is read up to the bound, and `cut` says
// so. It keeps the largest page's memory well inside what the program may have (about 500 MB), and its
// reading and layout short.
constexpr int kMaxPageElements = 4000000;
// Once reading stops, the structures it was in still end (a cell is added with what it holds, a table
// with its closing break), a few elements for each level of nesting; nothing is added beyond this many.
constexpr int kClosingElements = 1000;

class HtmlDocument {
 public:
  HtmlDocument(HtmlBrowserCallbacks* callbacks, int option);
  // The elements go first: they refer to links and images.
  ~HtmlDocument() { elements.clear(); }
  HtmlDocument(const HtmlDocument&) = delete;
  HtmlDocument& operator=(const HtmlDocument&) = delete;

  // Appends a null slot to list (count follows it) and counts an item. When memory runs out the list and
  // count stay as they were, allocationFailed is told (the window side beeps) and the result is false;
  // likewise kClosingElements items past maxElements (cut is then set).
  bool AppendElementSlot(HtmlElementList& list, int& count);
  // The page has maxElements items: the parse pass reads no further (and sets cut when text is left).
  bool Full() const { return itemCount >= maxElements; }

  // Lays the page out in rect (narrowed by 2 at the right); rect's right and bottom come back as the
  // content's extent.
  void Layout(HtmlRect& rect);
  void OnMouseMove(int x, int y);
  void OnClick(int x, int y);
  void SetSelection(const HtmlRect& sel);
  void InvalidateImage(int index);
  // One repaint of the rectangle around every element of the link (from the boxes of the last layout),
  // however many elements it has and wherever they are.
  void InvalidateLink(int linkIndex);
  void InvalidateLinkUrl(const char16_t* url);
  void GetStatistics(int& items, int& images, int& linkCount, int& depth) const;
  int IsBusy() const { return busy; }

  int itemCount = 0;
  int level = 0;
  HtmlElementList elements;
  int elementCount = 0;
  HtmlBrowserCallbacks* callbacks;
  HtmlImageTable images;
  StringTable links;  // row 0: one cell per link, its absolute URL
  uint32_t pageBackColor = kNoColour;
  int pageBackImage = -1;
  int hoverLink = -1;
  int passState = 0;
  int passIndex = -1;
  int busy = 0;
  int option;
  int maxElements = kMaxPageElements;
  bool cut = false;  // reading stopped at maxElements items: what the page holds after them is not shown
  bool nestedCut = false;  // content nested past the parse pass's depth cap is not shown; the rest is
  // The drop-down lists cut at kMaxListOptions: the options they show, and the options they had.
  long long cutListsShown = 0, cutListsOptions = 0;
  int controlCount = 0;  // the form controls the page has asked its host for (at most kMaxFormControls)

  // The layout pass over the top-level elements; none set lays nothing out.
  std::function<void(HtmlElementList&, HtmlRect&)> layoutPass;
  std::function<void()> allocationFailed;

 private:
  void ResetLayout();
  // The boxes of the last layout, taken anew when the page has changed.
  HtmlHitIndex& HitBoxes();
  // The link under (x, y).
  int HitLink(int x, int y) { return HitBoxes().Hit(x, y); }
  // The first link of row 0 of links whose URL is url exactly, or -1.
  int LinkOfUrl(const char16_t* url);

  HtmlHitIndex hits_;
  bool hitsValid_ = false;
  int hitsItems_ = 0;  // the page's item count when the boxes were taken
  size_t hitsElements_ = 0;
  // Row 0 of links by URL, for its first linksIndexed_ cells (emptied with the boxes).
  std::unordered_map<std::u16string, int> linkByUrl_;
  int linksIndexed_ = 0;

 public:
  // The boxes the last hit test looked at.
  size_t HitBoxesExamined() const { return hits_.examined; }
  // The page's elements were replaced: the boxes are taken anew at the next hit test.
  void ForgetHitBoxes() {
    hitsValid_ = false;
    linkByUrl_.clear();
    linksIndexed_ = 0;
  }
};

// The link a host last showed under the mouse, and the repaints a report of the mouse asks for: a link
// the mouse has left, and the link under it, each one rectangle.
class HtmlLinkHover {
 public:
  // overLink non-zero: the mouse is over url; zero: over no link (url "").
  void Report(HtmlDocument& doc, int overLink, const char16_t* url);
  const std::u16string& Url() const { return url_; }

 private:
  std::u16string url_;
  bool has_ = false;
};

}  // namespace htmlview
