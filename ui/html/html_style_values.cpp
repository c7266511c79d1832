#include "ui/html/html_style_values.h"

#include <algorithm>
#include <climits>

namespace html {
namespace {

constexpr uint64_t kSaturated = 0xFFFFFFFFu;

int DigitValue(char16_t c, int base) {
  int d = -1;
  if (c >= u'0' && c <= u'9') d = c - u'0';
  else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
  return d < base ? d : -1;
}

// The leading digits: decimal, or hexadecimal after "0x" when hex is allowed. Saturates at the limit
// (2^32 - 1 by default).
uint64_t ReadDigits(std::u16string_view v, bool hex, uint64_t limit = kSaturated) {
  int base = 10;
  size_t i = 0;
  if (hex && v.size() >= 2 && v[0] == u'0' && (v[1] == u'x' || v[1] == u'X')) {
    base = 16;
    i = 2;
  }
  uint64_t n = 0;
  for (; i < v.size(); ++i) {
    int d = DigitValue(v[i], base);
    if (d < 0) break;
    n = std::min(n * static_cast<uint64_t>(base) + static_cast<uint64_t>(d), limit);
  }
  return n;
}

std::u16string_view DropSign(std::u16string_view v) {
  if (!v.empty() && (v[0] == u'+' || v[0] == u'-')) v.remove_prefix(1);
  return v;
}

int ClampSize(int64_t size) { return static_cast<int>(std::clamp<int64_t>(size, -kMaxHtmlSize, kMaxHtmlSize)); }
int ClampSize(double size) {
  return static_cast<int>(std::clamp(size, -static_cast<double>(kMaxHtmlSize), static_cast<double>(kMaxHtmlSize)));
}

// a * b / c rounded half away from zero (c > 0).
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
  int64_t p = a * b;
  return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

int FontScale(int size) {
  static constexpr int kScale[] = {8, 10, 12, 14, 18, 24, 36};
  return size >= 1 && size <= 7 ? kScale[size - 1] : size;
}

int64_t SizeInUnit(std::u16string_view unit, int64_t n, const HtmlUnitMetrics& units, bool& known) {
  known = true;
  const int64_t ppi = units.PixelsPerInch();
  if (unit == u"px") return n;
  if (unit == u"em") return n * units.FontHeight();
  if (unit == u"ex") return n * units.XHeight();
  if (unit == u"in") return n * ppi;
  if (unit == u"cm") return ClampSize(static_cast<double>(n * ppi) * 0.3937);
  if (unit == u"mm") return ClampSize(static_cast<double>(n * ppi) * 0.03937);
  if (unit == u"pt") return n * ppi / 72;
  if (unit == u"pc") return n * ppi / 6;
  known = false;
  return 0;
}

int HexPair(std::u16string_view v, size_t at) {
  int high = DigitValue(v[at], 16);
  int low = DigitValue(v[at + 1], 16);
  return high < 0 || low < 0 ? -1 : high * 16 + low;
}

struct FillName {
  std::u16string_view name;
  int kind;
};
constexpr FillName kFillNames[] = {
    {u"transparent", -1}, {u"solid", 0},     {u"hgradient", 1},   {u"vgradient", 2},   {u"hcgradient", 3},
    {u"vcgradient", 4},   {u"3hgradient", 5}, {u"3vgradient", 6}, {u"noise", 7},       {u"diagshade", 8},
    {u"hshade", 9},       {u"vshade", 10},   {u"hbump", 11},      {u"vbump", 12},      {u"softbump", 13},
    {u"hardbump", 14},    {u"metal", 15},
};

}  // namespace

std::u16string LowerAscii(std::u16string_view value) {
  std::u16string lower(value);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return lower;
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int ReadStyleNumber(std::u16string_view value) {
  bool negative = !value.empty() && value[0] == u'-';
  int64_t n = static_cast<int64_t>(ReadDigits(DropSign(value), true));
  return static_cast<int>(std::clamp<int64_t>(negative ? -n : n, INT_MIN, INT_MAX));
}

uint32_t ReadHandleNumber(std::u16string_view value) {
  const bool negative = !value.empty() && value[0] == u'-';
  // Read past 2^32 - 1, so that a number out of range is told from the largest handle: it names none.
  const uint64_t n = ReadDigits(DropSign(value), true, kSaturated + 1);
  if (negative) return n <= (uint64_t{1} << 31) ? static_cast<uint32_t>(0 - n) : 0;
  return n <= UINT32_MAX ? static_cast<uint32_t>(n) : 0;
}

int ReadSize(std::u16string_view value, int current, bool fontScale, const HtmlUnitMetrics& units) {
  if (value.empty()) return current;
  std::u16string_view v = DropSign(value);
  int64_t n = static_cast<int64_t>(ReadDigits(v, false));
  if (value.back() == u'%') return ClampSize(MulDivRound(current, n, 100));
  if (v.size() >= 2) {
    bool known = false;
    int64_t size = SizeInUnit(v.substr(v.size() - 2), n, units, known);
    if (known) return ClampSize(size);
  }
  int number = ReadStyleNumber(v);
  return ClampSize(static_cast<int64_t>(fontScale ? FontScale(number) : number));
}

bool ParseColour(std::u16string_view value, const HtmlColourTable& colours, uint32_t& colour) {
  if (value.empty()) return false;
  if (value[0] == u'#') {
    if (value.size() != 7) return false;
    int red = HexPair(value, 1), green = HexPair(value, 3), blue = HexPair(value, 5);
    if (red < 0 || green < 0 || blue < 0) return false;
    colour = static_cast<uint32_t>(red | (green << 8) | (blue << 16));
    return true;
  }
  if (value[0] >= u'0' && value[0] <= u'9') {
    colour = static_cast<uint32_t>(ReadDigits(value, true));
    return true;
  }
  return colours.Find(value, colour);
}

uint32_t ReadColour(std::u16string_view value, uint32_t current, const HtmlColourTable& colours) {
  uint32_t colour = current;
  return ParseColour(value, colours, colour) ? colour : current;
}

draw::FillKind ReadFill(std::u16string_view value, draw::FillKind current, const HtmlUnitMetrics& units) {
  for (const FillName& fill : kFillNames) {
    if (value == fill.name) return static_cast<draw::FillKind>(fill.kind);
  }
  return static_cast<draw::FillKind>(ReadSize(value, current, false, units));
}

uint32_t ReadEffectLetters(std::u16string_view letters, const HtmlShadow& shadow) {
  uint32_t effect = draw::kEffectNone;
  for (char16_t c : letters) {
    if (c == u'd') effect |= draw::kEffectDarken;
    else if (c == u'g') effect |= draw::kEffectGray;
    else if (c == u'l') effect |= draw::kEffectLighten;
    else if (c == u's' && (shadow.offsetX != 0 || shadow.offsetY != 0))
      effect |= shadow.gradient ? draw::kEffectGradientShadow : draw::kEffectShadow;
  }
  return effect;
}

void ApplyFontLetters(std::u16string_view letters, HtmlStyle& style) {
  bool on = true;  // for the next letter: "-" right before it switches it off
  for (char16_t c : letters) {
    if (c == u'-' || c == u'+') {
      on = c == u'+';
      continue;
    }
    if (c == u'b') style.fontWeight = on ? kHtmlBoldWeight : kHtmlNormalWeight;
    else if (c == u'i') style.italic = on;
    else if (c == u'u') style.underline = on;
    else if (c == u's') style.strikeout = on;
    else if (c == u'o') style.overline = on;
    on = true;
  }
}

int ReadFontWeight(std::u16string_view value) {
  if (value.empty() || value == u"normal") return kHtmlNormalWeight;
  if (value == u"bold") return kHtmlBoldWeight;
  if (value == u"bolder") return 900;
  if (value == u"lighter") return 100;
  return std::clamp(ReadStyleNumber(value), 0, 1000);
}

uint32_t HtmlStyleContext::Colour(std::u16string_view value, uint32_t current) const {
  return coloursEnabled ? ReadColour(value, current, colours) : disabledColour;
}

void ApplyBackground(std::u16string_view value, HtmlStyle& style, const HtmlStyleContext& context) {
  uint32_t colour = 0;
  if (!context.coloursEnabled || value.empty() || value == u"transparent") {
    style.backgroundMode = kHtmlTransparent;
  } else if (ParseColour(value, context.colours, colour)) {
    style.backgroundColour = colour;
    style.backgroundMode = kHtmlOpaque;
  }
}

}  // namespace html
