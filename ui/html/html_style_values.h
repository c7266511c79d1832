// Readers of the property values of marked-up text and its style sheet: sizes with their units, colours,
// fill names, image effect letters, font letters and font weights. Every value is outside text: numbers
// saturate, sizes are held to +-kMaxHtmlSize, and nothing reads outside the value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/draw/draw_types.h"
#include "ui/html/html_colors.h"
#include "ui/html/html_style.h"

namespace html {

// What sizes in em, ex and the absolute units are measured against.
class HtmlUnitMetrics {
 public:
  virtual ~HtmlUnitMetrics() = default;
  virtual int FontHeight() const = 0;      // of the current font
  virtual int XHeight() const = 0;         // height of the text "x" in the current font
  virtual int PixelsPerInch() const = 0;   // the device's vertical pixels per inch
};

// Fixed answers, for tests and for reading without a device.
class FixedUnitMetrics : public HtmlUnitMetrics {
 public:
  int FontHeight() const override { return fontHeight; }
  int XHeight() const override { return xHeight; }
  int PixelsPerInch() const override { return pixelsPerInch; }
  int fontHeight = 16;
  int xHeight = 16;
  int pixelsPerInch = 96;
};

// The largest size a value gives (pixels, in either direction): keeps the layout's sums far from overflow.
constexpr int kMaxHtmlSize = 32767;

// The value with A to Z made lower case (other characters as they are).
std::u16string LowerAscii(std::u16string_view value);
bool IsBlank(char16_t c);  // space, tab, carriage return, line feed, vertical tab, form feed

// A number as markup writes it: an optional sign, then decimal digits or "0x" and hexadecimal digits;
// only the leading digits count, 0 when there are none; saturates at the int range.
int ReadStyleNumber(std::u16string_view value);
// A caller's bitmap or icon handle, written as ReadStyleNumber reads numbers: the whole unsigned 32-bit
// range (a negative number as its 32-bit two's complement); 0, no handle, for a number outside it.
uint32_t ReadHandleNumber(std::u16string_view value);

// A size: empty gives current; "N%" current * N / 100 rounded; a leading sign is dropped; the units px, em,
// ex, in, cm, mm, pt and pc (the last two characters); without a unit the whole value as a number, and with
// fontScale the sizes 1 to 7 of the font scale give 8, 10, 12, 14, 18, 24 and 36.
int ReadSize(std::u16string_view value, int current, bool fontScale, const HtmlUnitMetrics& units);

// A colour: empty gives current; "#rrggbb" (exactly six hexadecimal digits, anything else after "#" gives
// current); a value that starts with a digit is a number used as the colour value as it stands; otherwise a
// name of the colour table (current when it is not there).
uint32_t ReadColour(std::u16string_view value, uint32_t current, const HtmlColourTable& colours);
// The same, telling whether the value named a colour (false: empty, unknown name or a bad "#" form).
bool ParseColour(std::u16string_view value, const HtmlColourTable& colours, uint32_t& colour);

// A fill name (transparent -1, solid 0, hgradient 1 ... metal 15); any other value is read as a size;
// empty gives current.
draw::FillKind ReadFill(std::u16string_view value, draw::FillKind current, const HtmlUnitMetrics& units);

// Image effect letters: d darken, g gray, l lighten, s the shadow (gradient or plain as the settings say;
// none when both offsets are 0); other characters are ignored. Returns draw::ImageEffect bits.
uint32_t ReadEffectLetters(std::u16string_view letters, const HtmlShadow& shadow);

// Font letters: b bold (700, or 400 when off), i italic, u underline, s strikeout, o overline; a letter
// switches its property on, or off with "-" right before it ("+" is allowed); other characters are skipped.
void ApplyFontLetters(std::u16string_view letters, HtmlStyle& style);

// normal 400, bold 700, bolder 900, lighter 100, empty 400, otherwise the number (other text 0); held to
// 0 to 1000, the range of font weights.
int ReadFontWeight(std::u16string_view value);

// What reading values of a style needs besides the value: the colour names, the units, and whether colours
// are enabled (when not, every colour read gives the disabled colour and backgrounds stay transparent).
struct HtmlStyleContext {
  const HtmlColourTable& colours;
  const HtmlUnitMetrics& units;
  bool coloursEnabled = true;
  uint32_t disabledColour = 0x808080;

  // ReadColour, or the disabled colour when colours are disabled.
  uint32_t Colour(std::u16string_view value, uint32_t current) const;
  int Size(std::u16string_view value, int current, bool fontScale = false) const {
    return ReadSize(value, current, fontScale, units);
  }
};

// A background value: "transparent" or empty sets the transparent mode; a colour sets the background
// colour and the opaque mode (colours disabled: always transparent); a name not in the table changes nothing.
void ApplyBackground(std::u16string_view value, HtmlStyle& style, const HtmlStyleContext& context);

}  // namespace html
