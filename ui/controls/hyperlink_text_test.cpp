#include "ui/controls/hyperlink_text.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(HyperlinkText, ErrorTexts) {
  EXPECT_EQ(HyperlinkErrorText(2), u"Unable to open hyperlink:\n\nThe specified file was not found.");
  EXPECT_EQ(HyperlinkErrorText(31),
            u"Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_EQ(HyperlinkErrorText(1), u"Unable to open hyperlink:\n\nUnknown Error (1) occurred.");
  EXPECT_EQ(HyperlinkErrorText(-5), u"Unable to open hyperlink:\n\nUnknown Error (-5) occurred.");
}

TEST(HyperlinkText, FitKeepsTheAlignedEdgeOrCentre) {
  const LinkRect box{100, 50, 300, 90};
  LinkRect left = FitLinkToText(box, 80, 16, LinkAlign::kLeft, false);
  EXPECT_EQ(left.left, 100);
  EXPECT_EQ(left.top, 50);
  EXPECT_EQ(left.right, 180);
  EXPECT_EQ(left.bottom, 66);
  LinkRect right = FitLinkToText(box, 80, 16, LinkAlign::kRight, true);
  EXPECT_EQ(right.left, 220);
  EXPECT_EQ(right.right, 300);
  EXPECT_EQ(right.top, 62);
  LinkRect centre = FitLinkToText(box, 80, 16, LinkAlign::kCentre, false);
  EXPECT_EQ(centre.left, 160);
  EXPECT_EQ(centre.right, 240);
}

}  // namespace
}  // namespace ui
