#include "ui/msgbox/box_layout.h"

#include <algorithm>

namespace msgbox {
namespace {

// a × b / c rounded to the nearest, as the platform's MulDiv does for positive values.
int MulDivRound(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  return static_cast<int>((product + c / 2) / c);
}

int TextAreaHeight(Extent text) { return text.cy > 0 ? text.cy + 2 * kTextMargin : 0; }

}  // namespace

Extent ButtonExtent(Extent text) { return {MulDivRound(text.cx, 80, 45), MulDivRound(text.cy, 23, 13)}; }

BoxLayout ComputeLayout(const LayoutInput& in) {
  BoxLayout layout;
  int width = 0;
  auto candidate = [&width](int w) { width = std::max(width, w); };

  if (in.headerHeight != 0) {
    layout.headerHeight = in.headerHeight;
    if (in.headerText.cy > 0) {
      layout.headerHeight = std::max(in.headerHeight, in.headerText.cy + 2 * kTextMargin);
      candidate(in.headerText.cx + 2 * kTextMargin);
    }
    if (in.headerCaptionWidth >= 0) candidate(in.headerCaptionWidth + 10);
  }
  layout.messageHeight = TextAreaHeight(in.messageText);
  if (layout.messageHeight > 0) candidate(in.messageText.cx + 2 * kTextMargin);
  layout.detailsHeight = TextAreaHeight(in.detailsText);
  if (layout.detailsHeight > 0) candidate(in.detailsText.cx + 2 * kTextMargin);

  layout.buttonAreaHeight = in.buttonAreaFilled || in.buttonCaptionWidth >= 0 ? 2 * kButtonGap : kButtonGap;
  if (in.buttonCaptionWidth >= 0) candidate(in.buttonCaptionWidth + 10);
  if (in.checkbox) {
    layout.buttonAreaHeight += kCheckboxSize + kButtonGap;
    candidate(in.checkboxLabelWidth + 20 + 20);
  }

  layout.button = {kMinButtonWidth, kMinButtonHeight};
  for (Extent text : in.buttonTexts) {
    const Extent size = ButtonExtent(text);
    layout.button.cx = std::max(layout.button.cx, size.cx);
    layout.button.cy = std::max(layout.button.cy, size.cy);
  }
  const int count = static_cast<int>(in.buttonTexts.size());
  candidate(count * (layout.button.cx + kButtonGap) + kButtonGap);

  layout.width = width + 2 * in.frameWidth;
  layout.height = layout.headerHeight + layout.messageHeight + layout.buttonAreaHeight + layout.button.cy +
                  in.captionHeight + 2 * in.frameHeight;
  return layout;
}

ButtonPlacement PlaceButtons(int clientWidth, int clientBottom, int count, Extent button, unsigned alignment,
                             bool checkboxBelow) {
  ButtonPlacement place;
  place.step = button.cx + kButtonGap;
  const int rowWidth = count * place.step - kButtonGap;
  if (alignment == 0) {
    place.x = kButtonGap;
  } else if (alignment == 1) {
    place.x = clientWidth - kButtonGap - rowWidth;
  } else {
    place.x = (clientWidth - rowWidth) / 2;
  }
  place.y = clientBottom - kButtonGap - button.cy;
  if (checkboxBelow) place.y -= kCheckboxSize + kButtonGap;
  return place;
}

int CheckboxTop(int clientBottom, Extent button, bool checkboxBelow) {
  const int bottom = checkboxBelow ? clientBottom - kButtonGap : clientBottom - kButtonGap - kButtonGap - button.cy;
  return bottom - kCheckboxSize;
}

}  // namespace msgbox
