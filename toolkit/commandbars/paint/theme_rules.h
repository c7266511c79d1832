// The state rules of the command-bar themes as plain numbers: which colours frame and fill a control's
// highlight, which colour its text takes, how the classic theme shades it and which visual-style state
// draws it. Portable, so that every row of each rule is checked without a screen.
#pragma once

#include <array>
#include <cstdint>

namespace tkptheme {

// The gradient themes' 16 x 16 expand glyph: a double chevron pointing down.
constexpr int kGlyphSize = 16;
constexpr std::uint32_t kGlyphMask = 0x00FF00;  // RGB(0, 255, 0) in COLORREF order
// Intensity of each pixel, row by row: 0 the glyph's full light colour, towards the dark colour as it
// grows, 255 transparent.
const std::array<std::uint8_t, kGlyphSize * kGlyphSize>& GlyphIntensities();
// The glyph's pixels (COLORREF values) between the two colours: each channel light - intensity x (light -
// dark) / 255; transparent pixels take the mask colour.
std::array<std::uint32_t, kGlyphSize * kGlyphSize> GlyphPixels(std::uint32_t light, std::uint32_t dark);

// A control's state as the themes receive it; pressed is 0, 1 (by the mouse) or 2 (by the keyboard), and so
// is selected.
struct ControlState {
  bool enabled = true;
  int selected = 0;
  int pressed = 0;
  bool checked = false;
  bool popuped = false;
};

// A frame colour over a fill colour; -1 leaves that part undrawn.
struct BorderFill {
  int border = -1;
  int fill = -1;
  bool operator==(const BorderFill& o) const { return border == o.border && fill == o.fill; }
};

constexpr int kBarPopup = 5;

// The flat look: the highlight of a control by its state (nothing drawn: both -1).
BorderFill FlatHighlight(const ControlState& s, int barPosition);
// The flat look's text colour of a control on a bar (popup position 5 or any other).
int FlatEntryText(const ControlState& s, int barPosition);
// The flat look's text colour of a menu item.
int FlatMenuItemText(const ControlState& s);

// The classic look of a control's highlight.
enum class Shade { kNone, kRaised, kSunken, kDither };
Shade ClassicShade(const ControlState& s);
// The classic look's text colour: grey when disabled, the popup text colour on popups, else button text.
int ClassicEntryText(const ControlState& s, int barPosition, int popupTextIndex);
// The classic menu item's text: grey when disabled, highlight text when selected, else the popup text.
int ClassicMenuItemText(const ControlState& s, int popupTextIndex);

// The visual-style toolbar button state (TS_NORMAL 1, TS_HOT 2, TS_PRESSED 3, TS_DISABLED 4, TS_CHECKED 5,
// TS_HOTCHECKED 6) of a control.
int VisualStyleButtonState(const ControlState& s);

// The gradient look's highlight of a control on a bar with the colour scheme's colours.
enum class GradientKind { kFlat, kPopuped, kHot, kPressed, kChecked };
struct GradientHighlight {
  GradientKind kind = GradientKind::kFlat;
  int border = -1;
};
GradientHighlight GradientBarHighlight(const ControlState& s);

}  // namespace tkptheme
