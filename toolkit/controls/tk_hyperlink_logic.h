// The hyperlink's decisions that need no window: which part of the control its text covers, which colour
// it shows, and which message names a failed open.
#pragma once

#include <cstdint>

namespace tk {

enum class LinkAlign { kLeft, kCenter, kRight };

struct LinkSpan {
  int left = 0;
  int right = 0;  // exclusive
};

// The text's horizontal span inside a control of the given width (both from the control's left edge).
LinkSpan LinkTextSpan(LinkAlign align, int controlWidth, int textWidth);

struct LinkColors {
  uint32_t link = 0xFF0000;
  uint32_t visited = 0x800080;
  uint32_t hover = 0x0000FF;
};

uint32_t LinkTextColor(const LinkColors& colors, bool hover, bool visited);

// The string resource that explains a shell failure (an unknown number gets the last, formatted one).
unsigned LinkErrorStringId(intptr_t code);
constexpr unsigned kLinkErrorFirst = 9037;
constexpr unsigned kLinkErrorUnknown = 9050;

}  // namespace tk
