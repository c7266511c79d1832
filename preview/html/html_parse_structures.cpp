// The parse pass's structures that put their content into containers: tables, preformatted text, lists
// and quotations.
#include <algorithm>

#include "preview/html/html_color.h"
#include "preview/html/html_parse_pass.h"
#include "preview/html/html_parse_scan.h"
#include "preview/html/html_url.h"

namespace htmlview {
namespace {

struct TableLook {
  uint32_t backColor = kNoColour, borderColor = kNoColour;
  int width = 0, height = 0, border = 0, padding = 4, spacing = 4, backImage = -1, side = -1;
};

// Registers a background image and returns its index in the image table, or -1 when there is none.
int BackgroundImage(HtmlImageTable& images, const TagAttributes& attrs, const ParseState& s) {
  const std::u16string value = attrs.Value(u"background");
  if (value.empty()) return -1;
  const std::u16string address = ResolveUrl(value, s.url);
  return CreateImageElement(address.c_str(), 0, 0, 0, 0, images, 0, s.noWrap, 1, 0)->imageIndex;
}

bool IsCellBoundary(std::u16string_view t, size_t p) {
  return TagAt(t, p, u"<td") || TagAt(t, p, u"</td") || TagAt(t, p, u"<th") || TagAt(t, p, u"</th") ||
         TagAt(t, p, u"</tr") || TagAt(t, p, u"<tr");
}

// The end of a cell's content: the first cell or row tag outside nested tables, or the table's end.
size_t CellEnd(std::u16string_view t, size_t from, size_t tableEnd) {
  int nesting = 0;
  for (size_t p = from; p < tableEnd; ++p) {
    if (t[p] != u'<') continue;
    if (TagAt(t, p, u"<table")) ++nesting;
    else if (TagAt(t, p, u"</table") && nesting > 0) --nesting;
    else if (nesting == 0 && IsCellBoundary(t, p)) return p;
  }
  return tableEnd;
}

}  // namespace

size_t HtmlParsePass::Table(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const TagAttributes attrs(t, pos);
  TableLook look;
  if (attrs.Has(u"bgcolor")) look.backColor = ParseColor(attrs.Value(u"bgcolor"), look.backColor);
  if (attrs.Has(u"bordercolor")) look.borderColor = ParseColor(attrs.Value(u"bordercolor"), look.borderColor);
  const std::u16string width = attrs.Value(u"width"), height = attrs.Value(u"height");
  look.width = width.find(u'%') != std::u16string::npos ? -PixelSize(width) : PixelSize(width);
  if (height.find(u'%') == std::u16string::npos) look.height = PixelSize(height);
  look.border = std::clamp(ParseInteger(attrs.Value(u"border")), 0, 100);
  if (attrs.Has(u"cellpadding")) look.padding = std::clamp(ParseInteger(attrs.Value(u"cellpadding")), 0, 1000);
  if (attrs.Has(u"cellspacing")) look.spacing = std::clamp(ParseInteger(attrs.Value(u"cellspacing")), 0, 1000);
  look.backImage = BackgroundImage(doc_.images, attrs, s);
  const int savedCentre = s.centre, savedAlign = s.align;
  if (attrs.Is(u"align", u"center") || attrs.Is(u"align", u"middle")) {
    s.centre = 1;
    s.align = 2;
  } else if (attrs.Is(u"align", u"right")) {
    s.align = 1;
    look.side = 1;
  } else if (attrs.Is(u"align", u"left")) {
    s.align = 0;
    look.side = 0;
  }
  auto frame = CreateRuleElement(0, 0, s.LineAlign(), 0);
  frame->backImageIndex = look.backImage;
  frame->backColor = look.backColor;
  Add(s, std::move(frame));

  const size_t start = AfterTag(t, pos);
  const size_t tableEnd = FindMatchingClose(t, start, u"<table", u"</table");
  int row = 0, column = 0, cells = 0, rowAlign = 0;
  int spannedTo = -1;     // the last row that a rowspan reaches
  bool rowOpen = false;   // a "<tr" began the row
  uint32_t rowColor = kNoColour;
  // A row that starts no cell is a row still when rowspans from above cover it: the rows after it keep
  // their places below the spanning cells.
  auto endRow = [&](size_t at) {
    if (cells > 0) {
      AddBreak(s, s.LineAlign());
      Progress(s, at);
      ++row;
    } else if (rowOpen && row <= spannedTo) {
      ++row;
    }
    cells = 0;
    column = 0;
    rowOpen = false;
  };
  size_t p = start;
  while (p < tableEnd && !doc_.Full()) {
    if (t[p] != u'<') {
      ++p;
    } else if (cells == 0 && TagAt(t, p, u"<form")) {
      p = Form(s, p);
    } else if (cells == 0 && TagAt(t, p, u"</form")) {
      formIndex = -1;
      p = AfterTag(t, p);
    } else if (TagAt(t, p, u"<tr") || TagAt(t, p, u"</tr")) {
      endRow(p);
      rowColor = kNoColour;
      if (TagAt(t, p, u"<tr")) {
        rowOpen = true;
        const TagAttributes rowAttrs(t, p);
        if (rowAttrs.Has(u"bgcolor")) rowColor = ParseColor(rowAttrs.Value(u"bgcolor"), kNoColour);
        if (rowAttrs.Is(u"align", u"center") || rowAttrs.Is(u"align", u"middle")) rowAlign = 2;
        if (rowAttrs.Is(u"align", u"right")) rowAlign = 1;
        if (rowAttrs.Is(u"align", u"justify")) rowAlign = 3;
      }
      p = AfterTag(t, p);
    } else if (TagAt(t, p, u"<td") || TagAt(t, p, u"<th")) {
      const TagAttributes cellAttrs(t, p);
      const bool header = TagAt(t, p, u"<th");
      int cellAlign = header ? 2 : rowAlign, valign = 0;
      if (cellAttrs.Is(u"align", u"right")) cellAlign = 1;
      if (cellAttrs.Is(u"align", u"center") || cellAttrs.Is(u"align", u"middle")) cellAlign = 2;
      if (cellAttrs.Is(u"align", u"justify")) cellAlign = 3;
      if (cellAttrs.Is(u"valign", u"bottom")) valign = 1;
      if (cellAttrs.Is(u"valign", u"center") || cellAttrs.Is(u"valign", u"middle")) valign = 2;
      const std::u16string w = cellAttrs.Value(u"width"), h = cellAttrs.Value(u"height");
      int cellWidth = 0;
      if (w.find(u'%') == std::u16string::npos) cellWidth = PixelSize(w);
      else if (look.width > 0) cellWidth = static_cast<int>(static_cast<long long>(PixelSize(w)) * look.width / 100);
      const int cellHeight = h.find(u'%') == std::u16string::npos ? PixelSize(h) : 0;
      const uint32_t colour = ParseColor(cellAttrs.Value(u"bgcolor"), rowColor);
      // Spans beyond the factory's limit still advance the column, so the layout sees the table end there.
      const int colspan = std::clamp(ParseInteger(cellAttrs.Value(u"colspan")), 0, 1001);
      const int rowspan = ParseInteger(cellAttrs.Value(u"rowspan"));
      if (rowspan > 1) {
        const long long reach = std::min(static_cast<long long>(row) + rowspan - 1, 1LL << 30);
        spannedTo = std::max(spannedTo, static_cast<int>(reach));
      }
      const int noWrap = (cellAttrs.Has(u"nobreak") || cellAttrs.Has(u"nowrap")) ? 1 : 0;
      const int backImage = BackgroundImage(doc_.images, cellAttrs, s);
      const size_t contentStart = SkipSpaces(t, AfterTag(t, p));
      if (contentStart >= tableEnd) break;
      const size_t contentEnd = CellEnd(t, contentStart, tableEnd);
      auto cell = CreateCellElement(row, column, cellWidth, s.LineAlign(), valign, colour, look.border, colspan,
                                    rowspan, look.padding, look.spacing, look.width, backImage, cellHeight,
                                    look.height, look.borderColor, look.side);
      // A cell starts from what the table's surroundings inherited: a font tag around the table stays outside.
      const int height = std::min(s.inheritedHeight + (header ? 4 : 0), kMaxFontHeight);
      Nested(s, contentStart, contentEnd, cell->children, s.inheritedFace, height, s.inheritedColor, cellAlign,
             noWrap);
      Add(s, std::move(cell));
      Progress(s, p);
      column += 1 + (colspan > 0 ? colspan - 1 : 0);
      ++cells;
      p = contentEnd;
    } else {
      ++p;
    }
  }
  if (doc_.Full() && p < tableEnd) doc_.cut = true;
  endRow(tableEnd);
  s.centre = savedCentre;
  s.align = savedAlign;
  AddBreak(s, s.LineAlign());
  Progress(s, tableEnd);
  return SkipSpaces(t, AfterTag(t, tableEnd));
}

size_t HtmlParsePass::Preformatted(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const size_t start = AfterTag(t, pos);
  const size_t end = FindMatchingClose(t, start, u"<pre", u"</pre");
  AddBreak(s, s.LineAlign());
  auto box = CreateCellElement(0, 0, 0, 0, 0, kNoColour, 0, 1, 1, 0, 0, 0, -1, 0, 0, 0, -1);
  Nested(s, start, end, box->children, u"Courier New", s.inheritedHeight, s.inheritedColor, 0, 1);
  Add(s, std::move(box));
  AddBreak(s, s.LineAlign());
  return SkipSpaces(t, AfterTag(t, end));
}

size_t HtmlParsePass::List(ParseState& s, size_t pos, bool ordered) {
  const std::u16string_view t = s.text;
  const std::u16string_view open = ordered ? u"<ol" : u"<ul", close = ordered ? u"</ol" : u"</ul";
  AddBreak(s, s.LineAlign());
  const size_t start = AfterTag(t, pos);
  const size_t end = FindMatchingClose(t, start, open, close);
  // Items start at "<li" tags that are not inside a nested list.
  auto nextItem = [&](size_t from) {
    int nesting = 0;
    for (size_t p = from; p < end; ++p) {
      if (t[p] != u'<') continue;
      if (TagAt(t, p, u"<ul") || TagAt(t, p, u"<ol")) ++nesting;
      else if ((TagAt(t, p, u"</ul") || TagAt(t, p, u"</ol")) && nesting > 0) --nesting;
      else if (nesting == 0 && TagAt(t, p, u"<li")) return p;
    }
    return end;
  };
  int n = 0;
  size_t item = nextItem(start);
  for (; item < end && !doc_.Full(); ++n) {
    const size_t contentStart = AfterTag(t, item);
    const size_t contentEnd = nextItem(contentStart);
    std::u16string marker;
    if (!ordered) {
      marker = listLevel % 2 == 0 ? u" l " : u" m ";
    } else {
      marker = u"   ";
      if (listLevel % 2 == 0) {
        for (char c : std::to_string(n + 1)) marker += static_cast<char16_t>(c);
      } else {
        marker += static_cast<char16_t>(u'a' + n % 26);
      }
      marker += u".    ";
    }
    auto markerBox = CreateCellElement(n, 0, 0, 0, 0, kNoColour, 0, 1, 1, 2, 0, 0, -1, 0, 0, kSunkenBorder, -1);
    if (s.depth < kMaxParseDepth)
      ParseRange(marker, markerBox->children, ordered ? s.inheritedFace : u"Wingdings", s.inheritedHeight,
                 s.inheritedColor, s.url, s.depth + 1, 0, 1);
    Add(s, std::move(markerBox));
    ++listLevel;
    auto content = CreateCellElement(n, 1, 0, 0, 0, kNoColour, 0, 1, 1, 2, 0, 0, -1, 0, 0, kSunkenBorder, -1);
    Nested(s, contentStart, contentEnd, content->children, s.inheritedFace, s.inheritedHeight, s.inheritedColor,
           s.align, s.noWrap);
    Add(s, std::move(content));
    AddBreak(s, s.LineAlign());
    s.textSeen = 0;
    --listLevel;
    item = contentEnd;
  }
  if (item < end) doc_.cut = true;
  return end;
}

size_t HtmlParsePass::Quotation(ParseState& s, size_t pos) {
  const std::u16string_view t = s.text;
  const size_t start = AfterTag(t, pos);
  const size_t end = FindTag(t, start, u"</blockquote");
  AddBreak(s, s.LineAlign());
  auto box = CreateCellElement(0, 0, 0, s.LineAlign(), 0, kNoColour, 0, 1, 1, 15, 0, 0, -1, 0, 0, kSunkenBorder, -1);
  Nested(s, start, end, box->children, s.inheritedFace, s.inheritedHeight, s.inheritedColor, s.align, s.noWrap);
  Add(s, std::move(box));
  AddBreak(s, s.LineAlign());
  s.textSeen = 0;
  return end;
}

}  // namespace htmlview
