#include "ui/msgbox/box_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace msgbox {
namespace {

// A fixed-width font: 7 pixels a character, 13 pixels high (the message font's size in the test prefix).
Extent Measure(const std::u16string& text) { return {static_cast<int>(text.size()) * 7, 13}; }

LayoutInput Input() {
  LayoutInput in;
  in.frameWidth = 3;
  in.frameHeight = 3;
  in.captionHeight = 18;
  return in;
}

TEST(BoxLayout, ButtonsTakeTheirScaledTextSizeAndAtLeast80By23) {
  EXPECT_EQ(ButtonExtent(Measure(u"OK")), (Extent{25, 23}));
  EXPECT_EQ(ButtonExtent(Measure(u"Yes to all please")), (Extent{212, 23}));  // 119 × 80 / 45 = 211.6
  LayoutInput in = Input();
  in.buttonTexts = {Measure(u"OK"), Measure(u"Cancel")};
  EXPECT_EQ(ComputeLayout(in).button, (Extent{80, 23}));
  in.buttonTexts.push_back({119, 20});
  EXPECT_EQ(ComputeLayout(in).button, (Extent{212, 35}));
}

TEST(BoxLayout, MessageBoxOfOneLineAndOneButton) {
  LayoutInput in = Input();
  in.messageText = Measure(u"The image could not be opened.");  // 210 by 13
  in.buttonTexts = {Measure(u"OK")};
  const BoxLayout layout = ComputeLayout(in);
  EXPECT_EQ(layout.headerHeight, 0);
  EXPECT_EQ(layout.messageHeight, 13 + 28);
  EXPECT_EQ(layout.buttonAreaHeight, 11);
  EXPECT_EQ(layout.width, 210 + 28 + 6);
  EXPECT_EQ(layout.height, 41 + 11 + 23 + 18 + 6);
  EXPECT_EQ(layout.DetailsTop(), 41 + 11 + 23);
}

TEST(BoxLayout, TheButtonRowWidensANarrowBox) {
  LayoutInput in = Input();
  in.messageText = Measure(u"Stop?");
  in.buttonTexts = {Measure(u"Yes"), Measure(u"No"), Measure(u"Cancel")};
  EXPECT_EQ(ComputeLayout(in).width, 3 * (80 + 11) + 11 + 6);
}

TEST(BoxLayout, EmptyMessageLeavesTheIconlessAreaOut) {
  LayoutInput in = Input();
  in.buttonTexts = {Measure(u"OK")};
  const BoxLayout layout = ComputeLayout(in);
  EXPECT_EQ(layout.messageHeight, 0);
  EXPECT_EQ(layout.height, 11 + 23 + 18 + 6);
}

TEST(BoxLayout, HeaderDetailsCheckboxAndSeparators) {
  LayoutInput in = Input();
  in.headerHeight = 50;
  in.headerText = {100, 13};  // 13 + 28 < 50: the least height holds
  in.headerCaptionWidth = 300;
  in.messageText = {120, 26};
  in.detailsText = {400, 39};
  in.buttonAreaFilled = true;
  in.checkbox = true;
  in.checkboxLabelWidth = 112;
  in.buttonTexts = {Measure(u"OK"), Measure(u"More >>")};
  const BoxLayout layout = ComputeLayout(in);
  EXPECT_EQ(layout.headerHeight, 50);
  EXPECT_EQ(layout.messageHeight, 54);
  EXPECT_EQ(layout.detailsHeight, 67);
  EXPECT_EQ(layout.buttonAreaHeight, 22 + 13 + 11);
  EXPECT_EQ(layout.width, 400 + 28 + 6);  // the details are the widest
  EXPECT_EQ(layout.height, 50 + 54 + 46 + 23 + 18 + 6);
  EXPECT_EQ(layout.MessageTop(), 50);
  EXPECT_EQ(layout.ButtonAreaTop(), 104);

  in.headerText = {500, 40};
  EXPECT_EQ(ComputeLayout(in).headerHeight, 68);
  EXPECT_EQ(ComputeLayout(in).width, 528 + 6);
  in.buttonCaptionWidth = 700;
  EXPECT_EQ(ComputeLayout(in).width, 710 + 6);
}

TEST(BoxLayout, ButtonPlacementByAlignmentAndCheckbox) {
  const Extent button{80, 23};
  // Row of two: 2 × 91 − 11 = 171 wide.
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 0, false).x, 11);
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 1, false).x, 300 - 11 - 171);
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 2, false).x, (300 - 171) / 2);
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 2, false).y, 200 - 11 - 23);
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 2, false).step, 91);
  EXPECT_EQ(PlaceButtons(300, 200, 2, button, 2, true).y, 200 - 11 - 23 - 24);
  EXPECT_EQ(CheckboxTop(200, button, true), 200 - 11 - 13);
  EXPECT_EQ(CheckboxTop(200, button, false), 200 - 22 - 23 - 13);
}

}  // namespace
}  // namespace msgbox
