#include "ui/html/html_links.h"

#include <gtest/gtest.h>

#include "ui/html/html_layout_fixture.h"

namespace html {
namespace {

using HtmlLinksTest = HtmlLayoutFixture;

TEST_F(HtmlLinksTest, BothPartsOfASplitLinkHoverTheSameLink) {
  HtmlLinkTracker links;
  links.SetAreas(Lay(u"<a href=x>aaa bbb</a> plain", 45, true).hotAreas);
  EXPECT_TRUE(links.HoverAt(5, 5));
  EXPECT_EQ(links.Hovered(), 0);
  EXPECT_FALSE(links.HoverAt(25, 35));  // the second line: the same link
  EXPECT_EQ(links.AreaAt(25, 35)->target, u"x");
  EXPECT_EQ(links.AreaAt(30, 5), nullptr);  // the right edge is outside
  EXPECT_TRUE(links.HoverAt(5, 45));        // "plain"
  EXPECT_EQ(links.Hovered(), kNoLink);
  EXPECT_FALSE(links.HoverAt(500, 500));
}

}  // namespace
}  // namespace html
