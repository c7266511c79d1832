// A dragged bar's floating rectangle and a floating bar resized by its edges.
#include "toolkit/commandbars/bars/dock_drag_geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace tkpdock;

TEST(DockDragGeometry, TheFloatRectangleMovesTheLeastToHoldThePoint) {
  const CRect rc(100, 100, 200, 150);
  EXPECT_EQ(ContainPoint(rc, CPoint(150, 120)), rc);        // inside: stays
  EXPECT_EQ(ContainPoint(rc, CPoint(90, 120)), CRect(90, 100, 190, 150));
  EXPECT_EQ(ContainPoint(rc, CPoint(200, 150)), CRect(101, 101, 201, 151));  // right and bottom are outside
  EXPECT_EQ(ContainPoint(rc, CPoint(40, 20)), CRect(40, 20, 140, 70));
}

TEST(DockDragGeometry, ResizingKeepsTheEdgeOppositeTheDraggedOne) {
  const CRect window(100, 100, 300, 160);
  // By the left edge: 30 pixels to the right make it 30 narrower; its right edge stays.
  EXPECT_EQ(ResizedLength(window, kEdgeLeft, CPoint(30, 5)), 170);
  EXPECT_EQ(ResizedRect(window, kEdgeLeft, CSize(150, 90)), CRect(150, 100, 300, 190));
  // By the right edge and the bottom: the top-left stays.
  EXPECT_EQ(ResizedLength(window, kEdgeRight, CPoint(-20, 0)), 180);
  EXPECT_EQ(ResizedRect(window, kEdgeRight, CSize(150, 90)), CRect(100, 100, 250, 190));
  EXPECT_EQ(ResizedLength(window, kEdgeBottom, CPoint(0, 15)), 75);
  // By the top: its bottom stays.
  EXPECT_EQ(ResizedLength(window, kEdgeTop, CPoint(0, 10)), 50);
  EXPECT_EQ(ResizedRect(window, kEdgeTop, CSize(200, 40)), CRect(100, 120, 300, 160));
  // A corner changes the width; no length is negative.
  EXPECT_TRUE(ResizesWidth(kEdgeBottomLeft));
  EXPECT_FALSE(ResizesWidth(kEdgeBottom));
  EXPECT_EQ(ResizedLength(window, kEdgeRight, CPoint(-500, 0)), 0);
}

}  // namespace
