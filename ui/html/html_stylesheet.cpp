#include "ui/html/html_stylesheet.h"

#include <algorithm>

namespace html {
namespace {

constexpr std::u16string_view kDefaultRules[] = {
    u"body {font-size: 10pt; color:black; font-family:Verdana}",
    u"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}",
    u"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}",
    u"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}",
    u"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}",
    u"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}",
    u"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}",
    u"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}",
    u"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}",
    u"code {color:#990000; font-family:Arial}",
    u"a:link {text-decoration:none; color:blue}",
    u"a:hover {text-decoration:underline; color:blue}",
    u"sub {font-size:65%; vertical-align:bottom}",
    u"sup {font-size:65%; vertical-align:top}",
    u"big {font-size:125%}",
    u"small {font-size:75%}",
    u".cpp-comment {color:green; font-style:italic}",
};

constexpr size_t npos = std::u16string_view::npos;

// Where a selector or a property name may start.
bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.';
}

size_t SkipToName(std::u16string_view text, size_t i) {
  while (i < text.size() && !IsNameStart(text[i])) ++i;
  return i;
}

// From i to the first blank or stop character.
size_t NameEnd(std::u16string_view text, size_t i, char16_t stop) {
  while (i < text.size() && !IsBlank(text[i]) && text[i] != stop) ++i;
  return i;
}

std::u16string_view Trim(std::u16string_view v) {
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
  return v;
}

// The words of a value, each given to visit; words are separated by blanks or commas.
template <typename Visit>
void ForEachWord(std::u16string_view value, Visit visit) {
  size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && (IsBlank(value[i]) || value[i] == u',')) ++i;
    size_t start = i;
    while (i < value.size() && !IsBlank(value[i]) && value[i] != u',') ++i;
    if (i > start) visit(value.substr(start, i - start));
  }
}

struct Keyword {
  std::u16string_view word;
  int value;
};

// The value of the keyword; empty gives emptyValue; anything else keeps current.
template <size_t N>
int ReadKeyword(std::u16string_view value, const Keyword (&keywords)[N], int emptyValue, int current) {
  if (value.empty()) return emptyValue;
  for (const Keyword& k : keywords) {
    if (value == k.word) return k.value;
  }
  return current;
}

constexpr Keyword kFontStyles[] = {{u"normal", 0}, {u"italic", 1}, {u"oblique", 1}};
constexpr Keyword kTextAligns[] = {{u"left", kHtmlAlignLeft}, {u"center", kHtmlAlignCenter},
                                   {u"right", kHtmlAlignRight}};
constexpr Keyword kTransforms[] = {{u"none", kHtmlTransformNone}, {u"uppercase", kHtmlTransformUpper},
                                   {u"lowercase", kHtmlTransformLower},
                                   {u"capitalize", kHtmlTransformCapitalize}};
constexpr Keyword kVerticalAligns[] = {{u"baseline", kHtmlVAlignBaseline}, {u"middle", kHtmlVAlignCenter},
                                       {u"vcenter", kHtmlVAlignCenter},     {u"top", kHtmlVAlignTop},
                                       {u"bottom", kHtmlVAlignBottom}};
constexpr Keyword kBorderStyles[] = {{u"none", draw::kFrameNone},  {u"solid", draw::kFrameSolid},
                                     {u"dotted", draw::kFrameDot}, {u"dashed", draw::kFrameDash},
                                     {u"double", draw::kFrameDouble}};

void ApplyDecoration(std::u16string_view value, HtmlStyle& style) {
  ForEachWord(value, [&style](std::u16string_view word) {
    if (word == u"none") style.underline = style.strikeout = style.overline = false;
    else if (word == u"underline") style.underline = true;
    else if (word == u"line-through") style.strikeout = true;
    else if (word == u"overline") style.overline = true;
  });
}

void ApplyBorderWidth(std::u16string_view value, HtmlStyle& style, const HtmlStyleContext& context) {
  int width = style.borderWidth;
  if (value == u"thin") width = context.Size(u"75%", width);
  else if (value == u"thick") width = context.Size(u"125%", width);
  else if (value != u"medium") width = context.Size(value, width);
  style.borderWidth = std::max(width, 0);
  if (style.borderWidth == 0) style.borderStyle = draw::kFrameNone;
  else if (style.borderStyle == draw::kFrameNone) style.borderStyle = draw::kFrameSolid;
}

void ApplyBorderStyle(std::u16string_view value, HtmlStyle& style) {
  style.borderStyle = static_cast<draw::FrameStyle>(ReadKeyword(value, kBorderStyles, style.borderStyle,
                                                                style.borderStyle));
  if (style.borderStyle != draw::kFrameNone && style.borderWidth == 0) style.borderWidth = 1;
}

// The properties of fonts and text; false when the name is none of them.
bool ApplyTextProperty(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                       const HtmlStyleContext& context) {
  if (name == u"font-size") style.fontSize = context.Size(value, style.fontSize, true);
  else if (name == u"font-family") style.fontFace = value.empty() ? style.fontFace : std::u16string(value);
  else if (name == u"font-style") style.italic = ReadKeyword(value, kFontStyles, 0, style.italic) != 0;
  else if (name == u"font-weight") style.fontWeight = ReadFontWeight(value);
  else if (name == u"text-align")
    style.textAlign = static_cast<HtmlTextAlign>(ReadKeyword(value, kTextAligns, kHtmlAlignLeft, style.textAlign));
  else if (name == u"text-transform")
    style.textTransform = static_cast<HtmlTextTransform>(
        ReadKeyword(value, kTransforms, kHtmlTransformNone, style.textTransform));
  else if (name == u"color") style.textColour = context.Colour(value, style.textColour);
  else if (name == u"text-decoration") ApplyDecoration(value, style);
  else if (name == u"vertical-align")
    style.verticalAlign = static_cast<HtmlVerticalAlign>(
        ReadKeyword(value, kVerticalAligns, kHtmlVAlignBaseline, style.verticalAlign));
  else return false;
  return true;
}

// The properties of backgrounds, borders and spacing.
void ApplyBoxProperty(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                      const HtmlStyleContext& context) {
  if (name == u"background-color") {
    ApplyBackground(value, style, context);
  } else if (name == u"border-color") {
    style.frameLightColour = context.Colour(value, style.frameLightColour);
    style.frameDarkColour = context.Colour(value, style.frameDarkColour);
  } else if (name == u"border-width" || name == u"size") {
    ApplyBorderWidth(value, style, context);
  } else if (name == u"border-style") {
    ApplyBorderStyle(value, style);
  } else if (name == u"margin") {
    style.margin = context.Size(value, style.margin);
  } else if (name == u"padding") {
    style.padding = context.Size(value, style.padding);
  }
}

// Reads the value that starts after the colon at i; returns where the next declaration may start.
size_t ReadValue(std::u16string_view text, size_t i, std::u16string_view& value) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  size_t end = npos;
  if (i < text.size() && text[i] == u'"') {
    size_t close = text.find(u'"', i + 1);
    value = text.substr(i + 1, (close == npos ? text.size() : close) - i - 1);
    end = close == npos ? npos : text.find(u';', close);
  } else {
    end = text.find(u';', i);
    value = Trim(text.substr(i, (end == npos ? text.size() : end) - i));
  }
  return end == npos ? text.size() : end + 1;
}

}  // namespace

const std::u16string& DefaultStyleSheetText() {
  static const std::u16string text = [] {
    std::u16string joined;
    for (std::u16string_view rule : kDefaultRules) {
      joined.append(rule);
      joined.append(u"\r\n");
    }
    return joined;
  }();
  return text;
}

void HtmlStyleSheet::LoadDefault() { Load(DefaultStyleSheetText()); }

void HtmlStyleSheet::Load(std::u16string_view text) {
  rules_.clear();
  size_t i = SkipToName(text, 0);
  while (i < text.size()) {
    size_t end = NameEnd(text, i, u'{');
    std::u16string selector = LowerAscii(text.substr(i, end - i));
    size_t open = text.find(u'{', end);
    if (open == npos) break;
    size_t close = text.find(u'}', open + 1);
    size_t stop = close == npos ? text.size() : close;
    rules_[selector] = std::u16string(text.substr(open + 1, stop - open - 1));
    i = SkipToName(text, close == npos ? text.size() : close + 1);
  }
}

const std::u16string* HtmlStyleSheet::Find(std::u16string_view selector) const {
  auto it = rules_.find(LowerAscii(selector));
  return it == rules_.end() ? nullptr : &it->second;
}

void ApplyDeclarations(std::u16string_view declarations, HtmlStyle& style, const HtmlStyleContext& context) {
  const std::u16string text = LowerAscii(declarations);
  size_t i = SkipToName(text, 0);
  while (i < text.size()) {
    size_t end = NameEnd(text, i, u':');
    std::u16string_view name = std::u16string_view(text).substr(i, end - i);
    size_t colon = text.find(u':', end);
    if (colon == npos) break;
    std::u16string_view value;
    i = SkipToName(text, ReadValue(text, colon + 1, value));
    if (!ApplyTextProperty(name, value, style, context)) ApplyBoxProperty(name, value, style, context);
  }
}

bool ApplyStyleRule(const HtmlStyleSheet& sheet, std::u16string_view selector, HtmlStyle& style,
                    const HtmlStyleContext& context) {
  const std::u16string* declarations = sheet.Find(selector);
  if (declarations == nullptr) return false;
  ApplyDeclarations(*declarations, style, context);
  return true;
}

void ApplyFontAttribute(std::u16string_view name, std::u16string_view value, HtmlStyle& style,
                        const HtmlStyleContext& context) {
  if (name == u"face") {
    if (!value.empty()) style.fontFace = std::u16string(value);
  } else if (name == u"size") {
    style.fontSize = context.Size(value, style.fontSize, true);
  } else if (name == u"color") {
    style.textColour = context.Colour(value, style.textColour);
  } else if (name == u"style") {
    ApplyFontLetters(value, style);
  } else if (name == u"weight") {
    style.fontWeight = ReadFontWeight(value);
  } else if (name == u"bkgnd") {
    ApplyBackground(value, style, context);
  }
}

}  // namespace html
