// The shapes the paint manager draws, as points: check marks, drop-down glyphs and arrows, the
// chevrons of the expand buttons, the size grip; and the numbers behind its fonts and animations.
// Portable, so that each rule is checked without a screen.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/classlib/crect.h"

namespace tkppaint {

typedef std::array<CPoint, 3> Polyline3;
typedef std::array<CPoint, 3> Triangle3;

// The two parallel strokes of a check mark centred in rc (mirrored for right-to-left layouts).
std::array<Polyline3, 2> CheckMark(const CRect& rc, bool rightToLeft);
// A down-pointing triangle centred in rc, at least 2 pixels from its tip to each side.
Triangle3 DropDownGlyph(const CRect& rc);
// The small arrow of a drop-down part whose right edge is right, centred on y.
Triangle3 SmallArrow(int right, int y);
// The arrow that follows a caption: horizontal text (x just behind the text, y its centre) or vertical.
Triangle3 CaptionTriangle(int x, int y, bool vertical);
// The expand button of a toolbar: the arrow, and the double chevrons shown when controls are hidden.
Triangle3 ToolbarExpandArrow(const CRect& rc, bool vertical);
std::vector<Polyline3> ToolbarExpandChevrons(const CRect& rc, bool vertical);
// The expand button at the bottom of a popup: two downward double chevrons.
std::vector<Polyline3> PopupExpandChevrons(const CRect& rc);
// The options button of a floating bar.
Triangle3 OptionsArrow(const CRect& rc);
// The size grip: lines in the shadow colour, then lines in the highlight colour (from, to pairs).
struct GripperLines {
  std::vector<std::array<CPoint, 2>> shadow;
  std::vector<std::array<CPoint, 2>> light;
};
GripperLines StatusBarGripper(int width, int height);

// The menu font's height for the bars: a positive height stays; a negative one is at most -11.
int MenuFontHeight(int menuHeight);
// The font height (negative: the character height) of the glyphs on the 16 x 16 buttons of a maximized
// MDI child: 8 points at 96 dots an inch whatever the device's vertical resolution, so they fit.
int MdiGlyphFontHeight(int logPixelsY);
// One colour channel of a fade frame: the new value over the old at alpha (0 to 255).
std::uint8_t BlendChannel(std::uint8_t newValue, std::uint8_t oldValue, int alpha);
// Blends whole 32-bit pixels (the fourth byte is left as it is in out).
void BlendPixels(const std::uint8_t* newPixels, const std::uint8_t* oldPixels, std::uint8_t* out, std::size_t count,
                 int alpha);
// The part of the source copied in frame step (1..steps) of the unfold and slide animations: the source
// rectangle, relative to the animated rectangle's origin; the destination is its size at (0, 0).
CRect UnfoldSource(CSize size, int step, int steps);
CRect SlideSource(CSize size, int step, int steps);

}  // namespace tkppaint
