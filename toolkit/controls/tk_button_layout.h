// Where a themed button puts its image and its text: beside each other or the image above, aligned by the
// window's BS_LEFT / BS_RIGHT / BS_CENTER / BS_VCENTER bits. Portable, so every alignment is tested natively.
#pragma once

namespace tkbutton {

// The toolkit's own style bits of a button.
constexpr unsigned kStyleFlat = 0x0001;
constexpr unsigned kStyleSemiFlat = 0x0002;
constexpr unsigned kStyleImageAbove = 0x0004;
constexpr unsigned kStyleFocusRect = 0x0010;
constexpr unsigned kStyleDitherPressed = 0x0020;
constexpr unsigned kStyleFlatTheme = 0x0040;
constexpr unsigned kStyleVisualStyle = 0x1000;

// The window style's alignment bits (as the system numbers them).
constexpr unsigned kAlignLeft = 0x0100;
constexpr unsigned kAlignRight = 0x0200;
constexpr unsigned kAlignCenter = 0x0300;
constexpr unsigned kAlignVCenter = 0x0C00;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};
struct Size {
  int cx = 0;
  int cy = 0;
};
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct Layout {
  Box client;               // the button's client rectangle
  Box item;                 // the rectangle being drawn
  unsigned tkStyle = 0;     // kStyle... bits
  unsigned windowStyle = 0; // the window's style (alignment bits)
  Size image;               // (0, 0) without an image shown
  int borderGap = 4;
  int imageGap = 8;
  bool hasText = false;

  bool Above() const { return (tkStyle & kStyleImageAbove) != 0; }
  bool HasImage() const { return image.cx > 0 && image.cy > 0; }
  unsigned HorzAlign() const { return windowStyle & kAlignCenter; }

  // A box of cx x cy at the border gap (centred when the image is above), centred vertically.
  Point ImagePosition(int cx, int cy) const;
  Point TextPosition(Size text) const;
  Point IconPosition(Size text) const;
};

}  // namespace tkbutton
