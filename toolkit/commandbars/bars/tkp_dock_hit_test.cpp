// The docking distance of a dragged bar: 19 pixels outside a dock bar docks there, 20 does not; the dock
// bar a bar is in keeps it while the point is near.
#include "toolkit/commandbars/bars/tkp_dock_hit.h"

#include <gtest/gtest.h>

namespace {

TEST(DockHit, NineteenPixelsOutsideDocksTwentyDoNot) {
  const CRect top(0, 0, 600, 40);
  EXPECT_TRUE(TKPDockAccepts(top, CPoint(300, 20)));
  EXPECT_TRUE(TKPDockAccepts(top, CPoint(300, 40 + 19)));
  EXPECT_FALSE(TKPDockAccepts(top, CPoint(300, 40 + 20)));
  EXPECT_TRUE(TKPDockAccepts(top, CPoint(-19, 10)));
  EXPECT_FALSE(TKPDockAccepts(top, CPoint(-20, 10)));
  EXPECT_TRUE(TKPDockAccepts(top, CPoint(600 + 19, 10)));
  EXPECT_FALSE(TKPDockAccepts(top, CPoint(600 + 20, 10)));
  // An empty dock bar still takes points near its line.
  const CRect emptyBottom(0, 400, 600, 400);
  EXPECT_TRUE(TKPDockAccepts(emptyBottom, CPoint(10, 381)));
  EXPECT_FALSE(TKPDockAccepts(emptyBottom, CPoint(10, 380)));
}

TEST(DockHit, TheCurrentDockBarIsAskedFirst) {
  // Top and left overlap in the corner: a point there goes to the current one, else to top.
  const CRect rects[4] = {CRect(0, 0, 600, 40), CRect(0, 400, 600, 430), CRect(0, 40, 30, 400),
                          CRect(570, 40, 600, 400)};
  const bool exists[4] = {true, true, true, true};
  EXPECT_EQ(TKPChooseDock(rects, exists, 4, -1, CPoint(10, 45)), 0);
  EXPECT_EQ(TKPChooseDock(rects, exists, 4, 2, CPoint(10, 45)), 2);
  EXPECT_EQ(TKPChooseDock(rects, exists, 4, 1, CPoint(300, 200)), -1);
  const bool noTop[4] = {false, true, true, true};
  EXPECT_EQ(TKPChooseDock(rects, noTop, 4, 0, CPoint(10, 45)), 2);
}

}  // namespace
