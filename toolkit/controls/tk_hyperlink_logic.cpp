#include "toolkit/controls/tk_hyperlink_logic.h"

namespace tk {

LinkSpan LinkTextSpan(LinkAlign align, int controlWidth, int textWidth) {
  switch (align) {
    case LinkAlign::kCenter: {
      const int left = (controlWidth - textWidth) / 2;
      return {left, left + textWidth};
    }
    case LinkAlign::kRight:
      return {controlWidth - textWidth, controlWidth};
    case LinkAlign::kLeft:
    default:
      return {0, textWidth};
  }
}

uint32_t LinkTextColor(const LinkColors& colors, bool hover, bool visited) {
  if (hover) return colors.hover;
  return visited ? colors.visited : colors.link;
}

unsigned LinkErrorStringId(intptr_t code) {
  static const intptr_t kKnown[] = {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32};
  for (unsigned i = 0; i < sizeof kKnown / sizeof kKnown[0]; ++i) {
    if (kKnown[i] == code) return kLinkErrorFirst + i;
  }
  return kLinkErrorUnknown;
}

}  // namespace tk
