// What the hyperlink control says and how it sizes itself, apart from its window.
#pragma once

#include <string>

namespace ui {

// "Unable to open hyperlink:\n\n" and the text for the open's result.
std::u16string HyperlinkErrorText(int result);

enum class LinkAlign { kLeft, kCentre, kRight };

struct LinkRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The control's new rectangle around text of the given size (borders included): it keeps its centre,
// its right edge or its left edge as aligned, and its vertical centre or its top.
LinkRect FitLinkToText(const LinkRect& current, int width, int height, LinkAlign align, bool centreVertically);

}  // namespace ui
