#include "app/logic/thumbnail_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end(), applogic::ThumbnailNameLess);
  return names;
}

TEST(ThumbnailOrder, SlidesFollowTheirNumbers) {
  std::vector<std::u16string> slides;
  for (int i = 12; i >= 1; --i) {
    const std::string n = std::to_string(i);
    slides.push_back(u"slide" + std::u16string(n.begin(), n.end()) + u".gif");
  }
  const auto sorted = Sorted(slides);
  EXPECT_EQ(sorted[0], u"slide1.gif");
  EXPECT_EQ(sorted[1], u"slide2.gif");
  EXPECT_EQ(sorted[8], u"slide9.gif");
  EXPECT_EQ(sorted[9], u"slide10.gif");
  EXPECT_EQ(sorted[11], u"slide12.gif");
}

TEST(ThumbnailOrder, TextByCodeUnitLeadingZerosAndLongRuns) {
  EXPECT_EQ(Sorted({u"b.png", u"a.jpg", u"a10.jpg", u"a9.jpg", u"a.gif"}),
            (std::vector<std::u16string>{u"a.gif", u"a.jpg", u"a9.jpg", u"a10.jpg", u"b.png"}));
  EXPECT_EQ(Sorted({u"s10.gif", u"s010.gif", u"s9.gif"}),
            (std::vector<std::u16string>{u"s9.gif", u"s10.gif", u"s010.gif"}));
  // Runs longer than any integer still compare by value.
  EXPECT_TRUE(applogic::ThumbnailNameLess(u"s99999999999999999999999.gif", u"s100000000000000000000000.gif"));
  EXPECT_FALSE(applogic::ThumbnailNameLess(u"s1.gif", u"s1.gif"));
  EXPECT_TRUE(applogic::ThumbnailNameLess(u"s1", u"s1.gif"));
}

}  // namespace
