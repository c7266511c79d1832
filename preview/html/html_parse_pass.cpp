#include "preview/html/html_parse_pass.h"

#include <algorithm>
#include <functional>

#include "preview/html/html_color.h"
#include "preview/html/html_entities.h"
#include "preview/html/html_parse_scan.h"
#include "preview/html/html_url.h"

namespace htmlview {
namespace {

int ClampHeight(long long h) { return static_cast<int>(std::clamp<long long>(h, 1, kMaxFontHeight)); }

bool IsWordEnd(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'<' || c == 0; }

bool OneOf(std::u16string_view tag, std::initializer_list<std::u16string_view> names) {
  return std::find(names.begin(), names.end(), tag) != names.end();
}

}  // namespace

int ParseInteger(std::u16string_view text) {
  size_t p = 0;
  while (p < text.size() && text[p] == u' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) negative = text[p++] == u'-';
  long long value = 0;
  for (; p < text.size() && text[p] >= u'0' && text[p] <= u'9'; ++p)
    value = std::min<long long>(value * 10 + (text[p] - u'0'), 1000000000);
  return static_cast<int>(negative ? -value : value);
}

int PixelSize(std::u16string_view text) { return std::clamp(ParseInteger(text), 0, kMaxPixelSize); }

namespace {

// True when text holds something a reader would see: a character outside the tags other than a space,
// or a picture, a rule or a form field. The tags that only open or close structures show nothing alone.
bool ShowsSomething(std::u16string_view text) {
  for (size_t p = 0; p < text.size() && text[p] != 0;) {
    if (text[p] != u'<') {
      if (text[p] != u' ') return true;
      ++p;
      continue;
    }
    if (KnownTagIndexAt(text, p) < 0) return true;  // a "<" of the text itself
    for (std::u16string_view shown : {u"<img", u"<hr", u"<input", u"<select", u"<textarea"})
      if (TagAt(text, p, shown)) return true;
    p = AfterTag(text, p);
  }
  return false;
}

}  // namespace

void HtmlParsePass::ParseRange(std::u16string_view text, HtmlElementList& list, std::u16string_view face,
                               int fontHeight, uint32_t textColor, std::u16string_view url, int depth, int align,
                               int noWrap) {
  if (depth > kMaxParseDepth) {
    // Content nested past the cap is not shown: the page says so, as at the element bound.
    if (ShowsSomething(text)) doc_.nestedCut = true;
    return;
  }
  if (depth > doc_.level) doc_.level = depth;
  if (depth == 0) {
    rootText_ = text;
    rootBlockEnds_.reset();
  }
  ParseState s;
  s.text = text;
  s.list = &list;
  s.face = std::u16string(face.substr(0, kFontFaceCapacity - 1));
  s.inheritedFace = face;
  s.fontHeight = s.inheritedHeight = ClampHeight(fontHeight);
  s.textColor = s.inheritedColor = textColor;
  s.url = url;
  s.depth = depth;
  s.align = align;
  s.noWrap = noWrap;
  size_t pos = SkipSpaces(text, 0);
  // A page at its element bound is read no further.
  while (pos < text.size() && text[pos] != 0 && !doc_.Full()) {
    Progress(s, pos);
    const size_t next = Step(s, pos);
    pos = std::max(next, pos + 1);  // every step advances
  }
  if (pos < text.size() && text[pos] != 0) doc_.cut = true;
  Progress(s, text.size());
  if (depth == 0) {  // the text is the caller's: nothing may point into it once it is read
    rootText_ = {};
    rootBlockEnds_.reset();
  }
}

size_t HtmlParsePass::Step(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  if (t[pos] != u'<') return Word(s, pos);
  const int index = KnownTagIndexAt(t, pos);
  if (index < 0) return pos + 1;
  const std::u16string_view tag = kKnownTags[index];
  const bool spaced = pos + tag.size() < t.size() && t[pos + tag.size()] == u' ';
  if ((tag == u"<div" || tag == u"<p") && spaced) return AttributedBlock(s, pos, tag == u"<div");
  if (tag == u"<pre") return Preformatted(s, pos);
  if (tag == u"<table") return Table(s, pos);
  return Tag(s, pos, index);
}

size_t HtmlParsePass::Word(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const char16_t c = t[pos];
  if (c == u'\t') {
    const size_t sum = TextRunLength(*s.list);
    const size_t pad = 5 - sum % 5;
    AddText(s, std::u16string(pad, u' '));
    tabRun_ = {s.list, s.list->size(), s.list->empty() ? nullptr : s.list->back().get(), sum + pad};
    return pos + 1;
  }
  if (c == u' ' || c == u'\r' || c == u'\n') {
    if (s.textSeen || s.noWrap) AddText(s, u" ");
    if (c == u' ') return pos + 1;
    AddBreak(s, s.align);
    if (c == u'\r' && pos + 1 < t.size() && t[pos + 1] == u'\n') return pos + 2;
    return pos + 1;
  }
  size_t end = pos;
  while (end < t.size() && !IsWordEnd(t[end])) ++end;
  AddText(s, t.substr(pos, end - pos));
  s.textSeen = 1;
  return end;
}

size_t HtmlParsePass::TextRunLength(const HtmlElementList& list) const {
  // Summed back to the first element that is not a text run, or to the last tab's element of the same
  // list, whose sum is kept: a line of tabs costs one step per tab, not one per tab before it.
  const bool resumable = tabRun_.list == &list && tabRun_.count <= list.size() && tabRun_.count > 0 &&
                         list[tabRun_.count - 1].get() == tabRun_.last;
  size_t sum = 0;
  for (size_t i = list.size(); i > 0; --i) {
    if (resumable && i == tabRun_.count) return sum + tabRun_.sum;
    const HtmlElement* e = list[i - 1].get();
    if (!e || e->kind != kTextRun) break;
    sum += e->text.size();
  }
  return sum;
}

void HtmlParsePass::AddText(ParseState& s, std::u16string_view text) {
  const bool underlined = s.inLink || s.underline;
  const int height = s.sub ? ClampHeight(2LL * s.fontHeight / 3) : s.fontHeight;
  const std::u16string word(text);
  auto e = CreateTextElement(measurer_, word.c_str(), underlined ? 8 : 0, underlined ? 1 : 0,
                             s.inLink ? 0xFF0000 : 0, s.face.c_str(), height, s.bold, s.italic,
                             s.inLink ? 0xFF0000 : s.textColor, kNoColour, s.LineAlign(), 0, s.linkIndex, s.noWrap);
  if (s.sup) e->fontHeight = ClampHeight(2LL * s.fontHeight / 3);
  if (s.strike) {
    e->borderFlags |= 16;
    e->borderWidth = 1;
  }
  Add(s, std::move(e));
}

void HtmlParsePass::AddBreak(ParseState& s, int align, int clear) { Add(s, CreateRuleElement(0, 0, align, clear)); }

void HtmlParsePass::Add(ParseState& s, std::unique_ptr<HtmlElement> e) { Add(*s.list, std::move(e)); }

void HtmlParsePass::Add(HtmlElementList& list, std::unique_ptr<HtmlElement> e) {
  int count = static_cast<int>(list.size());
  if (doc_.AppendElementSlot(list, count)) list.back() = std::move(e);
}

void HtmlParsePass::Progress(ParseState& s, size_t pos) {
  if (s.depth == 0 && doc_.callbacks)
    doc_.callbacks->OnParseProgress(0, static_cast<int>(pos), static_cast<int>(s.text.size()));
}

void HtmlParsePass::Nested(ParseState& s, size_t begin, size_t end, HtmlElementList& list,
                           std::u16string_view face, int fontHeight, uint32_t textColor, int align, int noWrap) {
  end = std::min(end, s.text.size());
  if (begin >= end) return;
  ParseRange(s.text.substr(begin, end - begin), list, face, fontHeight, textColor, s.url, s.depth + 1, align,
             noWrap);
}

namespace {

// Links are told apart without regard to the case of ASCII letters.
std::u16string LinkKey(std::u16string_view url) {
  std::u16string key(url.substr(0, url.find(u'\0')));
  for (char16_t& c : key)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return key;
}

}  // namespace

int HtmlParsePass::LinkIndex(const std::u16string& url) {
  if (doc_.links.RowCount() == 0) doc_.links.AddRow();
  // Looked up by name: a page of many links costs one step per link, not one per link before it.
  const StringList& row = doc_.links.GetRow(0);
  if (row.Count() < linksIndexed_) {
    linkIndex_.clear();
    linksIndexed_ = 0;
  }
  for (; linksIndexed_ < row.Count(); ++linksIndexed_)
    linkIndex_.emplace(LinkKey(row.GetText(linksIndexed_)), linksIndexed_);
  const auto found = linkIndex_.find(LinkKey(url));
  if (found != linkIndex_.end()) return found->second;
  doc_.links.AddCell(0, url.c_str());
  return doc_.links.GetRow(0).Count() - 1;
}

size_t HtmlParsePass::Tag(ParseState& s, size_t pos, int index) {
  const std::u16string_view tag = kKnownTags[index];
  const std::u16string_view t = s.text;
  const size_t next = AfterTag(t, pos);
  if (OneOf(tag, {u"<br", u"<center", u"</center", u"<p", u"<h1", u"</h1", u"<div", u"</div", u"<hr", u"<h2",
                  u"</h2", u"<h3", u"</h3"}))
    return BlockBreak(s, pos, index);
  if (tag == u"<i" || tag == u"</i") s.italic = tag == u"<i";
  if (OneOf(tag, {u"<b", u"<strong"})) s.bold = 1;
  if (OneOf(tag, {u"</b", u"</strong"})) s.bold = 0;
  if (tag == u"<u" || tag == u"</u") s.underline = tag == u"<u";
  if (tag == u"<sub" || tag == u"</sub") s.sub = tag == u"<sub";
  if (tag == u"<sup" || tag == u"</sup") s.sup = tag == u"<sup";
  if (tag == u"<strike" || tag == u"</strike") s.strike = tag == u"<strike";
  if (tag == u"<small") s.fontHeight = ClampHeight(s.fontHeight - s.fontHeight / 3);
  if (tag == u"<big") s.fontHeight = ClampHeight(s.fontHeight + s.fontHeight / 3);
  if (tag == u"</small" || tag == u"</big") s.fontHeight = s.inheritedHeight;
  if (tag == u"<a") {
    // A link has an address; an anchor that only names a place in the page is none.
    TagAttributes attrs(t, pos);
    s.inLink = attrs.Has(u"href") ? 1 : 0;
    s.linkIndex = s.inLink ? LinkIndex(ResolveUrl(attrs.Value(u"href"), s.url)) : -1;
  }
  if (tag == u"</a") {
    s.inLink = 0;
    s.linkIndex = -1;
  }
  if (tag == u"<font") {
    TagAttributes attrs(t, pos);
    if (attrs.Has(u"face")) s.face = attrs.Value(u"face").substr(0, kFontFaceCapacity - 1);
    if (attrs.Has(u"color")) s.textColor = ParseColor(attrs.Value(u"color"), s.textColor);
    const std::u16string size = attrs.Value(u"size");
    const int n = ParseInteger(size);
    if (n != 0) {
      const bool relative = !size.empty() && (size[0] == u'+' || size[0] == u'-');
      s.fontHeight = ClampHeight(relative ? static_cast<long long>(s.inheritedHeight) + n : n * 4LL + 8);
    }
  }
  if (tag == u"</font") {
    s.face = std::u16string(s.inheritedFace.substr(0, kFontFaceCapacity - 1));
    s.fontHeight = s.inheritedHeight;
    s.textColor = s.inheritedColor;
  }
  if (tag == u"<img") return Image(s, pos);
  if (tag == u"<ul" || tag == u"<ol") return List(s, pos, tag == u"<ol");
  if (tag == u"<blockquote") return Quotation(s, pos);
  if (tag == u"<form") return Form(s, pos);
  if (tag == u"</form") formIndex = -1;
  if (tag == u"<input") return Input(s, pos);
  if (tag == u"<select") return Select(s, pos);
  if (tag == u"<textarea") return TextArea(s, pos);
  return next;
}

size_t HtmlParsePass::BlockBreak(ParseState& s, size_t pos, int index) {
  const std::u16string_view tag = kKnownTags[index];
  int clear = 0;
  if (tag == u"<br") clear = TagAttributes(s.text, pos).Has(u"clear") ? 1 : 0;
  if (tag == u"<center" || tag == u"</center") s.centre = tag == u"<center";
  const bool heading = OneOf(tag, {u"<h1", u"<h2", u"<h3"});
  if (heading) {
    s.bold = 1;
    const long long h = s.fontHeight;
    s.fontHeight = ClampHeight(tag == u"<h1" ? h * 2 : tag == u"<h2" ? h + h / 2 : h + h / 3);
  }
  if (OneOf(tag, {u"</h1", u"</h2", u"</h3"})) {
    s.fontHeight = s.inheritedHeight;
    s.bold = 0;
  }
  const int a = s.LineAlign();
  if (heading) {
    AddText(s, u" ");
    AddBreak(s, a);
    AddText(s, u" ");
  }
  const int textSeen = s.textSeen;
  if (textSeen || tag == u"<br") AddText(s, u" ");
  if (tag == u"<hr") {
    Add(s, CreateRuleElement(2, 1, a, 0));
  } else {
    AddBreak(s, a, clear);
  }
  if ((tag == u"<p" && textSeen) || tag == u"<hr") {
    AddText(s, u" ");
    AddBreak(s, a);
  }
  Progress(s, pos);
  if (!s.noWrap && (tag == u"<br" || tag == u"<p")) s.textSeen = 0;
  return AfterTag(s.text, pos);
}

size_t HtmlParsePass::AttributedBlock(ParseState& s, size_t pos, bool div) {
  const std::u16string_view t = s.text;
  const TagAttributes attrs(t, pos);
  int blockAlign = s.LineAlign();
  if (attrs.Is(u"align", u"left")) blockAlign = 0;
  if (attrs.Is(u"align", u"right")) blockAlign = 1;
  if (attrs.Is(u"align", u"center") || attrs.Is(u"align", u"middle")) blockAlign = 2;
  if (attrs.Is(u"align", u"justify")) blockAlign = 3;
  const size_t start = AfterTag(t, pos);
  if (blockAlign == s.align && (!s.centre || blockAlign == 2))
    return BlockBreak(s, pos, div ? 23 : 17);  // "<div" / "<p" without attributes
  const size_t end = BlockEnd(s, pos);
  AddBreak(s, blockAlign);
  if (!div) AddBreak(s, blockAlign);
  Nested(s, start, end, *s.list, s.face, s.fontHeight, s.textColor, blockAlign, s.noWrap);
  AddBreak(s, s.LineAlign());
  if (end < t.size() && TagAt(t, end, div ? u"</div" : u"</p")) return AfterTag(t, end);
  return end;
}

size_t HtmlParsePass::BlockEnd(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const std::less<const char16_t*> before;
  const bool inRoot = !before(t.data(), rootText_.data()) &&
                      !before(rootText_.data() + rootText_.size(), t.data() + t.size());
  if (!inRoot) {
    // A text of its own (a floating picture's tag): swept for itself.
    if (!s.blockEnds) {
      s.blockEnds = std::make_unique<HtmlBlockEnds>(t);
      blockEndsSwept += t.size();
    }
    return s.blockEnds->End(pos);
  }
  if (!rootBlockEnds_) {
    rootBlockEnds_ = std::make_unique<HtmlBlockEnds>(rootText_);
    blockEndsSwept += rootText_.size();
  }
  const size_t offset = static_cast<size_t>(t.data() - rootText_.data());
  return rootBlockEnds_->End(offset + pos, offset + t.size()) - offset;
}

size_t HtmlParsePass::Image(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const TagAttributes attrs(t, pos);
  const std::u16string width = attrs.Value(u"width"), height = attrs.Value(u"height");
  const int side = attrs.Is(u"align", u"left") ? 0 : attrs.Is(u"align", u"right") ? 1 : -1;
  const bool zeroSize = (attrs.Has(u"width") && ParseInteger(width) == 0) ||
                        (attrs.Has(u"height") && ParseInteger(height) == 0);
  if (side >= 0 && !zeroSize && s.depth < kMaxParseDepth) {
    AddBreak(s, side);
    auto box = CreateCellElement(0, 0, 0, side, 0, kNoColour, 0, 1, 1, 4, 0, 0, -1, 0, 0, kSunkenBorder, side);
    // The image inside the box is inline: its "align" is spelled out of the tag, however it is written, or
    // the image would float again inside its own box.
    std::u16string own = attrs.Raw() + u">";
    for (size_t p = 0; p + 5 <= own.size(); ++p)
      if (EqualsNoCase(std::u16string_view(own).substr(p, 5), u"align")) own[p] = u'_';
    ParseRange(own, box->children, s.inheritedFace, s.inheritedHeight, s.inheritedColor, s.url, s.depth + 1, s.align,
               s.noWrap);
    // The picture belongs to the link its tag stands in, as an inline one does; the box's own parse starts
    // outside any link.
    for (auto& child : box->children)
      if (child && child->kind == kImage) child->linkIndex = s.linkIndex;
    Add(s, std::move(box));
    AddBreak(s, s.LineAlign());
    AddBreak(s, s.LineAlign());
    Progress(s, pos);
    return AfterTag(t, pos);
  }
  if (!attrs.Has(u"src")) return AfterTag(t, pos);
  const std::u16string address = ResolveUrl(attrs.Value(u"src"), s.url);
  auto e = CreateImageElement(address.c_str(), 0, 0, 0, s.LineAlign(), doc_.images, s.linkIndex, s.noWrap, 0,
                              ParseInteger(attrs.Value(u"border")));
  if (width.find(u'%') == std::u16string::npos && ParseInteger(width) != 0) e->width = PixelSize(width);
  if (height.find(u'%') == std::u16string::npos && ParseInteger(height) != 0) e->height = PixelSize(height);
  Add(s, std::move(e));
  Progress(s, pos);
  return AfterTag(t, pos);
}

}  // namespace htmlview
