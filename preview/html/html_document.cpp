#include "preview/html/html_document.h"

#include <algorithm>
#include <new>

namespace htmlview {
namespace {

// Calls visit(element, list, index) for every element at any depth, parents first; nesting beyond
// kMaxElementDepth is not walked.
template <typename Visit>
void Walk(HtmlElementList& list, Visit&& visit, int depth = 0) {
  if (depth >= kMaxElementDepth) return;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i]) continue;
    visit(*list[i], list, i);
    Walk(list[i]->children, visit, depth + 1);
  }
}

// Asks for a repaint of every element that matches; a container that does not match is searched inside.
template <typename Match>
void InvalidateMatching(HtmlBrowserCallbacks& host, const HtmlElementList& list, Match&& match, int depth = 0) {
  if (depth >= kMaxElementDepth) return;
  for (const auto& e : list) {
    if (!e) continue;
    if (match(*e)) {
      host.InvalidateDocumentRect(e->Rect());
    } else if (!e->children.empty()) {
      InvalidateMatching(host, e->children, match, depth + 1);
    }
  }
}

bool TakesPartInSelection(const HtmlElementList& list, size_t i) {
  const HtmlElement& e = *list[i];
  if (e.kind == kTextRun) return true;
  if (e.kind != kRule) return false;
  // A rule that opens a table is part of the table, not of the text.
  return !(i + 1 < list.size() && list[i + 1] && list[i + 1]->kind == kContainer);
}

bool Selects(const HtmlRect& sel, const HtmlElement& e) {
  const int right = e.x + e.width, bottom = e.y + e.height;
  if (sel.top < e.y && sel.bottom >= e.y && sel.right > e.x) return true;
  if (sel.top < bottom && sel.bottom >= bottom && sel.left < e.x) return true;
  return e.x <= sel.right && right >= sel.left && e.y <= sel.bottom && bottom >= sel.top;
}

}  // namespace

HtmlDocument::HtmlDocument(HtmlBrowserCallbacks* host, int opt) : callbacks(host), images(host), option(opt) {}

bool HtmlDocument::AppendElementSlot(HtmlElementList& list, int& count) {
  if (static_cast<long long>(itemCount) - maxElements >= kClosingElements) {
    cut = true;
    return false;
  }
  try {
    list.resize(static_cast<size_t>(count) + 1);
  } catch (const std::bad_alloc&) {
    if (allocationFailed) allocationFailed();
    return false;
  }
  ++count;
  ++itemCount;
  return true;
}

void HtmlDocument::ResetLayout() {
  Walk(elements, [this](HtmlElement& e, HtmlElementList&, size_t) {
    if (e.container) e.container->layoutCache.fill(-1);
    if (e.controlWindow != kNoControl && callbacks) callbacks->PlaceControl(e.controlWindow, e.x, e.y);
  });
}

void HtmlDocument::Layout(HtmlRect& rect) {
  rect.right -= 2;
  ResetLayout();
  if (layoutPass) layoutPass(elements, rect);
  int right = 0, bottom = 0;
  for (const auto& e : elements) {
    if (!e || (e->kind == kTextRun && e->text == u" ")) continue;
    right = std::max(right, e->x + e->width);
    bottom = std::max(bottom, e->y + e->height);
  }
  rect.right = right;
  rect.bottom = bottom;
  ResetLayout();
  hitsValid_ = false;
}

HtmlHitIndex& HtmlDocument::HitBoxes() {
  if (!hitsValid_ || hitsItems_ != itemCount || hitsElements_ != elements.size()) {
    hits_.Build(elements);
    hitsValid_ = true;
    hitsItems_ = itemCount;
    hitsElements_ = elements.size();
  }
  return hits_;
}

int HtmlDocument::LinkOfUrl(const char16_t* url) {
  const StringList& row = links.GetRow(0);
  if (linksIndexed_ > row.Count()) {  // the links were replaced
    linkByUrl_.clear();
    linksIndexed_ = 0;
  }
  for (; linksIndexed_ < row.Count(); ++linksIndexed_) linkByUrl_.emplace(row.GetText(linksIndexed_), linksIndexed_);
  const auto found = linkByUrl_.find(url);
  return found == linkByUrl_.end() ? -1 : found->second;
}

void HtmlDocument::OnMouseMove(int x, int y) {
  if (!callbacks) return;
  hoverLink = HitLink(x, y);
  if (hoverLink >= 0) {
    callbacks->OnLinkHover(1, links.GetCell(0, hoverLink));
  } else {
    callbacks->OnLinkHover(0, u"");
  }
}

void HtmlDocument::OnClick(int x, int y) {
  if (!callbacks) return;
  hoverLink = HitLink(x, y);
  if (hoverLink >= 0) callbacks->Navigate(links.GetCell(0, hoverLink));
}

void HtmlDocument::SetSelection(const HtmlRect& sel) {
  Walk(elements, [&sel](HtmlElement& e, HtmlElementList& list, size_t i) {
    if (TakesPartInSelection(list, i)) e.selected = Selects(sel, e) ? 1 : 0;
  });
}

void HtmlDocument::InvalidateImage(int index) {
  if (!callbacks) return;
  InvalidateMatching(*callbacks, elements,
                     [index](const HtmlElement& e) { return e.kind == kImage && e.imageIndex == index; });
}

void HtmlDocument::InvalidateLink(int linkIndex) {
  if (!callbacks || linkIndex < 0) return;
  const HtmlRect bounds = HitBoxes().LinkBounds(linkIndex);
  if (bounds.right > bounds.left && bounds.bottom > bounds.top) callbacks->InvalidateDocumentRect(bounds);
}

void HtmlDocument::InvalidateLinkUrl(const char16_t* url) {
  if (url) InvalidateLink(LinkOfUrl(url));
}

void HtmlLinkHover::Report(HtmlDocument& doc, int overLink, const char16_t* url) {
  const std::u16string_view now = url ? url : u"";
  if (!has_ || url_ != now) {
    if (has_) doc.InvalidateLinkUrl(url_.c_str());
    url_ = now;
    has_ = true;
  }
  if (overLink != 0) doc.InvalidateLinkUrl(url_.c_str());
}

void HtmlDocument::GetStatistics(int& items, int& imageCount, int& linkCount, int& depth) const {
  items = itemCount;
  imageCount = images.Count();
  linkCount = links.GetRow(0).Count();
  depth = level;
}

}  // namespace htmlview
