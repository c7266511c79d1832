#include "platform/classlib/crect.h"

#include <gtest/gtest.h>

namespace {

TEST(CRectTest, SizesPointsAndOffsets) {
  const CPoint p(10, 20);
  EXPECT_EQ(p + CSize(1, 2), CPoint(11, 22));
  EXPECT_EQ(p - CPoint(4, 5), CSize(6, 15));
  EXPECT_EQ(p - CSize(10, 10), CPoint(0, 10));
  EXPECT_EQ(-p, CPoint(-10, -20));
  CPoint q = p;
  q += CSize(5, 5);
  q.Offset(-5, 0);
  EXPECT_EQ(q, CPoint(10, 25));
  EXPECT_EQ(CSize(3, 4) + CSize(1, 1), CSize(4, 5));

  const CRect r(CPoint(10, 20), CSize(30, 40));
  EXPECT_EQ(r, CRect(10, 20, 40, 60));
  EXPECT_EQ(r.Width(), 30);
  EXPECT_EQ(r.Height(), 40);
  EXPECT_EQ(r.Size(), CSize(30, 40));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(40, 60));
  EXPECT_EQ(r.CenterPoint(), CPoint(25, 40));
  EXPECT_EQ(r + CPoint(1, 1), CRect(11, 21, 41, 61));
  EXPECT_EQ(r - CSize(10, 20), CRect(0, 0, 30, 40));
  EXPECT_EQ(r + CRect(1, 2, 3, 4), CRect(9, 18, 43, 64));
}

TEST(CRectTest, EmptinessAndHitTesting) {
  EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 4, 10).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 6, 6).IsRectEmpty());
  EXPECT_TRUE(CRect().IsRectNull());
  const CRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
  EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
  EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));
  EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));
}

TEST(CRectTest, IntersectionUnionAndResizing) {
  CRect r;
  EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
  EXPECT_EQ(r, CRect(5, 5, 10, 10));
  EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
  EXPECT_TRUE(r.IsRectNull());
  EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 30)));
  EXPECT_EQ(r, CRect(0, 0, 20, 30));
  EXPECT_TRUE(r.UnionRect(CRect(), CRect(1, 2, 3, 4)));
  EXPECT_EQ(r, CRect(1, 2, 3, 4));
  EXPECT_FALSE(r.UnionRect(CRect(), CRect(5, 5, 5, 5)));
  EXPECT_EQ((CRect(0, 0, 10, 10) & CRect(2, 2, 4, 4)), CRect(2, 2, 4, 4));
  EXPECT_EQ((CRect(0, 0, 1, 1) | CRect(2, 2, 4, 4)), CRect(0, 0, 4, 4));

  CRect n(10, 20, 0, 5);
  n.NormalizeRect();
  EXPECT_EQ(n, CRect(0, 5, 10, 20));
  n.InflateRect(1, 2);
  EXPECT_EQ(n, CRect(-1, 3, 11, 22));
  n.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(n, CRect(0, 5, 8, 18));
  n.OffsetRect(CSize(2, -5));
  EXPECT_EQ(n, CRect(2, 0, 10, 13));
  n.MoveToXY(100, 200);
  EXPECT_EQ(n, CRect(100, 200, 108, 213));
}

}  // namespace
