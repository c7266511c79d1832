#include "preview/html/html_color.h"

#include <string>

#include "ui/html/html_colors.h"
#include "platform/os/os.h"

namespace htmlview {
namespace {

// The page viewer's colour names. Their values are the shared named colours, except three of our own.
constexpr const char16_t* kColourNames[140] = {
    u"AliceBlue", u"AntiqueWhite", u"Aqua", u"Aquamarine", u"Azure", u"Beige", u"Bisque", u"Black",
    u"BlanchedAlmond", u"Blue", u"BlueViolet", u"Brown", u"Burlywood", u"CadetBlue", u"Chartreuse", u"Chocolate",
    u"Coral", u"CornflowerBlue", u"Cornsilk", u"Crimson", u"Cyan", u"DarkBlue", u"DarkCyan", u"DarkGoldenRod",
    u"DarkGray", u"DarkGreen", u"DarkKhaki", u"DarkMagenta", u"DarkOliveGreen", u"DarkOrange", u"DarkOrchid",
    u"DarkRed", u"DarkSalmon", u"DarkSeaGreen", u"DarkSlateBlue", u"DarkSlateGray", u"DarkTurquoise",
    u"DarkViolet", u"DeepPink", u"DeepSkyBlue", u"DimGray", u"DodgerBlue", u"FireBrick", u"FloralWhite",
    u"ForestGreen", u"Fuchsia", u"Gainsboro", u"GhostWhite", u"Gold", u"GoldenRod", u"Gray", u"Green",
    u"GreenYellow", u"HoneyDew", u"HotPink", u"IndianRed", u"Indigo", u"Ivory", u"Khaki", u"Lavender",
    u"LavenderBlush", u"Lawngreen", u"LemonChiffon", u"LightBlue", u"LightCoral", u"LightCyan",
    u"LightGoldenRodYellow", u"LightGreen", u"LightGrey", u"LightPink", u"LightSalmon", u"LightSeaGreen",
    u"LightSkyBlue", u"LightSlateGray", u"LightSteelBlue", u"LightYellow", u"Lime", u"LimeGreen", u"Linen",
    u"Magenta", u"Maroon", u"MediumAquamarine", u"MediumBlue", u"MediumOrchid", u"MediumPurple",
    u"MediumSeaGreen", u"MediumSlateBlue", u"MediumSpringGreen", u"MediumTurquoise", u"MediumVioletRed",
    u"MidnightBlue", u"MintCream", u"MistyRose", u"Moccasin", u"NavajoWhite", u"Navy", u"OldLace", u"Olive",
    u"OliveDrab", u"Orange", u"OrangeRed", u"Orchid", u"PaleGoldenRod", u"PaleGreen", u"PaleTurquoise",
    u"PaleVioletRed", u"PapayaWhip", u"PeachPuff", u"Peru", u"Pink", u"Plum", u"PowderBlue", u"Purple", u"Red",
    u"RosyBrown", u"RoyalBlue", u"SaddleBrown", u"Salmon", u"SandyBrown", u"SeaGreen", u"SeaShell", u"Sienna",
    u"Silver", u"SkyBlue", u"SlateBlue", u"SlateGray", u"Snow", u"SpringGreen", u"SteelBlue", u"Tan", u"Teal",
    u"Thistle", u"Tomato", u"Turquoise", u"Violet", u"Wheat", u"White", u"WhiteSmoke", u"Yellow", u"YellowGreen",
};

struct OwnValue {
  const char16_t* name;
  uint32_t colour;  // 0x00BBGGRR
};
constexpr OwnValue kOwnValues[] = {
    {u"blanchedalmond", 0xCDFFFF}, {u"gray", 0x7F7F7F}, {u"yellowgreen", 0x32CD8B}};


bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (os::AsciiLower(a[i]) != os::AsciiLower(b[i])) return false;
  return true;
}

bool FindColourName(std::u16string_view text, uint32_t& colour) {
  for (const char16_t* name : kColourNames) {
    if (!SameName(text, name)) continue;
    for (const OwnValue& own : kOwnValues) {
      if (SameName(text, own.name)) {
        colour = own.colour;
        return true;
      }
    }
    return html::FindNamedColour(name, colour);
  }
  return false;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool AllHex(std::u16string_view text) {
  for (char16_t c : text)
    if (HexDigit(c) < 0) return false;
  return true;
}

uint32_t FromRgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16;
}

}  // namespace

uint32_t ParseColor(std::u16string_view text, uint32_t otherwise) {
  // Most cells and rows have no colour: they are spared the look through the names.
  if (text.empty()) return otherwise;
  uint32_t colour = 0;
  if (FindColourName(text, colour)) return colour;
  if (!text.empty() && text[0] == u'#') text.remove_prefix(1);
  if (text.size() >= 6 && AllHex(text.substr(0, 6))) {
    auto pair = [&](size_t i) { return HexDigit(text[i]) * 16 + HexDigit(text[i + 1]); };
    return FromRgb(pair(0), pair(2), pair(4));
  }
  if (text.size() == 3 && AllHex(text))
    return FromRgb(HexDigit(text[0]) * 17, HexDigit(text[1]) * 17, HexDigit(text[2]) * 17);
  return otherwise;
}

}  // namespace htmlview
