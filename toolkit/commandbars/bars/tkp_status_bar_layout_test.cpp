// The toolkit status bar's part edges, last pane and window text.
#include "toolkit/commandbars/bars/tkp_status_bar_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace tkp_status_bar {
namespace {

TEST(StatusBarLayout, StretchPanesShareTheFreeWidthEqually) {
  // 400 wide: 3 panes take 10+6+2, 20+6+2, 30+6+2 = 84; 316 left for two stretch panes.
  std::vector<int> edges = PartEdges({{10, true}, {20, false}, {30, true}}, 0, 400, 2);
  EXPECT_EQ(edges, (std::vector<int>{16 + 158, 174 + 2 + 26, 202 + 2 + 36 + 158}));
}

TEST(StatusBarLayout, NothingLeftMeansNoShareAndAnOddRemainderGoesToTheLast) {
  EXPECT_EQ(PartEdges({{100, true}, {100, false}}, 5, 150, 2), (std::vector<int>{111, 219}));
  EXPECT_EQ(PartEdges({{0, true}, {0, true}}, 0, 31, 0), (std::vector<int>{15, 31}));  // 19 free: 9 then 10
  EXPECT_TRUE(PartEdges({}, 0, 100, 2).empty());
}

TEST(StatusBarLayout, LastPaneEndsThreeEdgesAfterItsTextOrAtTheGrip) {
  EXPECT_EQ(LastPaneRight(100, 40, false, 500, true, 2, 16), 146);
  EXPECT_EQ(LastPaneRight(100, 40, true, 500, true, 2, 16), 482);
  EXPECT_EQ(LastPaneRight(100, 40, true, 500, false, 2, 16), 500);
}

TEST(StatusBarLayout, WindowTextIsCutToTheBufferAndCountedWithoutItsTerminator) {
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(CopyWindowText(u"Ready", buffer, 4), 3u);
  EXPECT_EQ(std::u16string(buffer), u"Rea");
  EXPECT_EQ(CopyWindowText(u"Ready", buffer, 1), 0u);
  EXPECT_EQ(buffer[0], u'\0');
  EXPECT_EQ(CopyWindowText(u"Ready", buffer, 0), 0u);
  EXPECT_EQ(CopyWindowText(u"", buffer, 4), 0u);
}

}  // namespace
}  // namespace tkp_status_bar
