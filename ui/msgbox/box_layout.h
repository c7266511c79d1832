// The geometry of the HTML message box, from measured sizes: the heights of its areas, the common size of
// its buttons, the box's outer size, and where the buttons and the checkbox go. Pure arithmetic, so that
// the Windows box and the tests share it.
#pragma once

#include <vector>

namespace msgbox {

// Pixels.
constexpr int kTextMargin = 14;       // around every text area
constexpr int kCellPadding = 5;       // around the icon; also the inset of a separator and its caption gap
constexpr int kButtonGap = 11;        // between buttons and below the last row
constexpr int kCheckboxSize = 13;
constexpr int kCheckboxLeft = 10;
constexpr int kCheckboxLabelOffset = 19;  // from the checkbox's left edge to its label
constexpr int kMinButtonWidth = 80;
constexpr int kMinButtonHeight = 23;

struct Extent {
  int cx = 0;
  int cy = 0;
  bool operator==(const Extent& o) const { return cx == o.cx && cy == o.cy; }
};

struct LayoutInput {
  int headerHeight = 0;           // the parameter block's header height (0: no header)
  Extent headerText;              // measured header text (0 by 0 when empty)
  int headerCaptionWidth = -1;    // the header separator's caption width; -1 without a separator
  Extent messageText;             // measured message (0 by 0 when empty)
  Extent detailsText;             // measured details (0 by 0 without details)
  bool buttonAreaFilled = false;  // the button-area style has a fill or a separator
  int buttonCaptionWidth = -1;    // the button-area separator's caption width; -1 without a separator
  bool checkbox = false;
  int checkboxLabelWidth = 0;
  std::vector<Extent> buttonTexts;  // each button's measured caption
  // The window's frame and caption, from the system metrics.
  int frameWidth = 0;
  int frameHeight = 0;
  int captionHeight = 0;
};

struct BoxLayout {
  int headerHeight = 0;
  int messageHeight = 0;
  int buttonAreaHeight = 0;  // without the buttons' own height
  int detailsHeight = 0;
  Extent button;             // every button's size
  int width = 0;             // the box's outer size with the details closed
  int height = 0;

  // Client-area tops of the areas.
  int MessageTop() const { return headerHeight; }
  int ButtonAreaTop() const { return headerHeight + messageHeight; }
  int DetailsTop() const { return ButtonAreaTop() + buttonAreaHeight + button.cy; }
};

// A button's size from its caption's measured size (width × 80 / 45, height × 23 / 13, rounded).
Extent ButtonExtent(Extent text);
BoxLayout ComputeLayout(const LayoutInput& input);

struct ButtonPlacement {
  int x = 0;  // the first button's left edge; each next one is button width + 11 further
  int y = 0;
  int step = 0;
};
// alignment: 0 left, 1 right, 2 centre.
ButtonPlacement PlaceButtons(int clientWidth, int clientBottom, int count, Extent button, unsigned alignment,
                             bool checkboxBelow);
// The checkbox's top edge.
int CheckboxTop(int clientBottom, Extent button, bool checkboxBelow);

}  // namespace msgbox
