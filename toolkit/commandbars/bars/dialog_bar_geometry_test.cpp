// The dialog bar's grabbed edges and its resizing by rectangle.
#include "toolkit/commandbars/bars/dialog_bar_geometry.h"

#include <gtest/gtest.h>

namespace tkp_dialog_bar {
namespace {

const CRect kWindow(100, 100, 300, 400);

TEST(DialogBarGeometry, FloatingBarIsGrabbedByEveryEdgeAndCornerFirst) {
  EXPECT_EQ(EdgeAt(kWindow, CPoint(101, 101), 4, false), kHitTopLeft);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(298, 101), 4, false), kHitTopRight);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(101, 399), 4, false), kHitBottomLeft);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(299, 398), 4, false), kHitBottomRight);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 102), 4, false), kHitTop);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 397), 4, false), kHitBottom);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(102, 200), 4, false), kHitLeft);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(297, 200), 4, false), kHitRight);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(103, 103), 4, false), kHitNowhere);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(296, 396), 4, false), kHitNowhere);
}

TEST(DialogBarGeometry, DockedBarIsGrabbedByItsInnerEdgeOnly) {
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 101), 1, false), kHitTop);       // docked at the bottom
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 398), 1, false), kHitNowhere);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 398), 0, false), kHitBottom);    // at the top
  EXPECT_EQ(EdgeAt(kWindow, CPoint(200, 398), 0, true), kHitNowhere);    // stretched: not at all
  EXPECT_EQ(EdgeAt(kWindow, CPoint(298, 200), 2, false), kHitRight);     // on the left
  EXPECT_EQ(EdgeAt(kWindow, CPoint(298, 200), 2, true), kHitNowhere);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(101, 101), 2, false), kHitNowhere);
  EXPECT_EQ(EdgeAt(kWindow, CPoint(101, 200), 3, false), kHitLeft);      // on the right
}

TEST(DialogBarGeometry, RightEdgeOfABarDockedLeftChangesOnlyItsDockedWidth) {
  ClientSizes sizes;
  const CRect borders(3, 23, 3, 3);
  EXPECT_TRUE(ResizeTo(CRect(0, 0, 256, 300), kHitRight, borders, CSize(50, 50), false, sizes));
  EXPECT_EQ(sizes.docked, CSize(250, 200));
  EXPECT_EQ(sizes.floating, CSize(200, 200));
  EXPECT_TRUE(ResizeTo(CRect(0, 0, 100, 126), kHitTop, borders, CSize(50, 50), false, sizes));
  EXPECT_EQ(sizes.docked, CSize(250, 100));
  EXPECT_TRUE(ResizeTo(CRect(10, 10, 130, 136), kHitBottomRight, borders, CSize(50, 50), true, sizes));
  EXPECT_EQ(sizes.floating, CSize(114, 100));
}

TEST(DialogBarGeometry, ADragMovesOnlyTheGrabbedEdges) {
  EXPECT_EQ(DraggedRect(kWindow, kHitRight, CSize(30, 40)), CRect(100, 100, 330, 400));
  EXPECT_EQ(DraggedRect(kWindow, kHitTop, CSize(30, -40)), CRect(100, 60, 300, 400));
  EXPECT_EQ(DraggedRect(kWindow, kHitTopLeft, CSize(-5, 5)), CRect(95, 105, 300, 400));
  EXPECT_EQ(DraggedRect(kWindow, kHitBottomRight, CSize(7, 9)), CRect(100, 100, 307, 409));
  EXPECT_EQ(DraggedRect(kWindow, kHitNowhere, CSize(7, 9)), kWindow);
}

TEST(DialogBarGeometry, AResizeBelowTheMinimumIsIgnored) {
  ClientSizes sizes;
  const CRect borders(3, 23, 3, 3);
  EXPECT_FALSE(ResizeTo(CRect(0, 0, 55, 300), kHitRight, borders, CSize(50, 50), false, sizes));
  EXPECT_FALSE(ResizeTo(CRect(0, 0, 300, 75), kHitBottom, borders, CSize(50, 50), true, sizes));
  EXPECT_EQ(sizes.docked, CSize(200, 200));
  EXPECT_EQ(sizes.floating, CSize(200, 200));
  EXPECT_TRUE(ResizeTo(CRect(0, 0, 56, 76), kHitBottom, borders, CSize(50, 50), true, sizes));  // exactly 50
}

}  // namespace
}  // namespace tkp_dialog_bar
