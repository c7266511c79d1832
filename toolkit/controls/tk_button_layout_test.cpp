#include "toolkit/controls/tk_button_layout.h"

#include <gtest/gtest.h>

namespace tkbutton {
namespace {

Layout Button(unsigned tkStyle, unsigned windowStyle, bool hasText = true) {
  Layout l;
  l.client = l.item = Box{0, 0, 100, 40};
  l.tkStyle = tkStyle;
  l.windowStyle = windowStyle;
  l.image = Size{16, 16};
  l.hasText = hasText;
  return l;
}

constexpr Size kText{40, 14};

TEST(ButtonLayout, ImageBesideTheTextInEveryAlignment) {
  struct Case { unsigned align; Point text; } cases[] = {
      {0, {44, 13}}, {kAlignCenter, {44, 13}}, {kAlignLeft, {30, 13}}, {kAlignRight, {54, 13}}};
  for (const Case& c : cases) {
    const Layout l = Button(0, c.align);
    EXPECT_EQ(l.IconPosition(kText), (Point{4, 12})) << c.align;
    EXPECT_EQ(l.TextPosition(kText), c.text) << c.align;
  }
}

TEST(ButtonLayout, ImageAboveTheTextInEveryAlignment) {
  struct Case { unsigned align; Point icon, text; } cases[] = {{0, {42, 1}, {30, 25}},
                                                              {kAlignCenter, {42, 1}, {30, 25}},
                                                              {kAlignLeft, {42, 1}, {6, 25}},
                                                              {kAlignRight, {80, 1}, {54, 25}}};
  for (const Case& c : cases) {
    const Layout l = Button(kStyleImageAbove, c.align);
    EXPECT_EQ(l.IconPosition(kText), c.icon) << c.align;
    EXPECT_EQ(l.TextPosition(kText), c.text) << c.align;
  }
}

TEST(ButtonLayout, ImageAloneIsCentredOnlyWhenAsked) {
  EXPECT_EQ(Button(0, kAlignCenter | kAlignVCenter, false).IconPosition({}), (Point{42, 12}));
  EXPECT_EQ(Button(0, 0, false).IconPosition({}), (Point{4, 12}));
  // Above, with no text, the image keeps the middle.
  EXPECT_EQ(Button(kStyleImageAbove, 0, false).IconPosition({}), (Point{42, 12}));
  // An image taller than the button starts at the top.
  Layout tall = Button(0, kAlignCenter | kAlignVCenter, false);
  tall.image = Size{16, 50};
  EXPECT_EQ(tall.IconPosition({}), (Point{42, 0}));
}

TEST(ButtonLayout, TextWithoutImageLeavesNoGapForIt) {
  Layout l = Button(0, 0);
  l.image = Size{};
  EXPECT_EQ(l.TextPosition(kText), (Point{32, 13}));
  l.windowStyle = kAlignLeft;
  EXPECT_EQ(l.TextPosition(kText), (Point{6, 13}));
  // Text wider than the button is not pushed past its left edge on the right alignment's account.
  l.windowStyle = kAlignRight;
  EXPECT_EQ(l.TextPosition(Size{120, 14}), (Point{-26, 13}));
}

}  // namespace
}  // namespace tkbutton
