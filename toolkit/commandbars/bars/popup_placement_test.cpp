// Where popups go against the work area: context menus at points, drop-downs under buttons, sub-menus
// beside their items, each edge, and work areas too small for the popup.
#include "toolkit/commandbars/bars/popup_placement.h"

#include <gtest/gtest.h>

namespace {

const CRect kScreen(0, 0, 800, 600);  // usable bottom 595

TKPPopupPlacement Place(CRect work, CRect exclude, CPoint position, CSize size, unsigned flags) {
  TKPPopupPlacementRequest request;
  request.work = work;
  request.exclude = exclude;
  request.position = position;
  request.size = size;
  request.flags = flags;
  return TKPPlacePopup(request);
}

TKPPopupPlacement AtPoint(CPoint point, CSize size, CRect work = kScreen) {
  return Place(work, CRect(), point, size, 0);
}

TKPPopupPlacement FromControl(CRect control, CSize size, unsigned flags, CRect work = kScreen) {
  return Place(work, control, TKPPopupOrigin(control, flags), size, flags);
}

TEST(PopupPlacement, ContextMenuThatFitsOpensDownAndRightOfThePoint) {
  const TKPPopupPlacement p = AtPoint(CPoint(100, 120), CSize(150, 200));
  EXPECT_EQ(p.rect, CRect(100, 120, 250, 320));
  EXPECT_EQ(p.flags, 0u);
  EXPECT_FALSE(p.cut);
}

TEST(PopupPlacement, ContextMenuNearTheBottomRightOpensUpAndEndsAtTheRightEdge) {
  const TKPPopupPlacement p = AtPoint(CPoint(780, 590), CSize(100, 200));
  EXPECT_EQ(p.rect, CRect(700, 390, 800, 590));
  EXPECT_EQ(p.flags, static_cast<unsigned>(kTKPPopupLeft));
  EXPECT_FALSE(p.cut);
}

TEST(PopupPlacement, ContextMenuBeyondTheRightEdgeOpensLeftOfThePoint) {
  EXPECT_EQ(AtPoint(CPoint(850, 100), CSize(100, 50)).rect, CRect(750, 100, 850, 150));
}

TEST(PopupPlacement, ContextMenuBelowTheUsableBottomOpensUpwards) {
  // 597 lies in the 5-pixel gap above the screen's edge: the menu ends at the point, cut to the gap.
  const TKPPopupPlacement p = AtPoint(CPoint(10, 597), CSize(100, 50));
  EXPECT_EQ(p.rect, CRect(10, 547, 110, 595));
  EXPECT_TRUE(p.cut);
}

TEST(PopupPlacement, TallContextMenuInTheUpperHalfEndsAtTheUsableBottom) {
  EXPECT_EQ(AtPoint(CPoint(10, 100), CSize(100, 550)).rect, CRect(10, 45, 110, 595));
}

TEST(PopupPlacement, MenuTallerThanTheScreenIsCutAndScrolls) {
  const TKPPopupPlacement p = AtPoint(CPoint(10, 100), CSize(100, 900));
  EXPECT_EQ(p.rect, CRect(10, 0, 110, 595));
  EXPECT_TRUE(p.cut);
}

TEST(PopupPlacement, ThePointAboveATopTaskbarIsMovedIntoTheWorkArea) {
  EXPECT_EQ(AtPoint(CPoint(100, 10), CSize(100, 50), CRect(0, 40, 800, 600)).rect, CRect(100, 40, 200, 90));
}

TEST(PopupPlacement, PointLeftOfALeftTaskbarOpeningLeftStartsAtTheWorkArea) {
  const CRect work(60, 0, 800, 600);
  EXPECT_EQ(Place(work, CRect(), CPoint(50, 100), CSize(100, 50), kTKPPopupLeft).rect, CRect(60, 100, 160, 150));
  EXPECT_EQ(Place(work, CRect(), CPoint(50, 100), CSize(100, 50), kTKPPopupLeft).flags, 0u);
}

TEST(PopupPlacement, DropDownOpensBelowItsButton) {
  const CRect button(100, 30, 124, 52);
  EXPECT_EQ(FromControl(button, CSize(120, 200), kTKPPopupDropDown).rect, CRect(100, 52, 220, 252));
}

TEST(PopupPlacement, DropDownNearTheBottomOpensAboveItsButton) {
  const CRect button(100, 500, 124, 522);
  const TKPPopupPlacement p = FromControl(button, CSize(120, 200), kTKPPopupDropDown);
  EXPECT_EQ(p.rect, CRect(100, 300, 220, 500));
  EXPECT_FALSE(p.cut);
}

TEST(PopupPlacement, DropDownThatFitsNeitherWayScrollsInTheLargerHalf) {
  const CRect work(0, 0, 800, 400);  // usable bottom 395, middle 200
  const TKPPopupPlacement upper = FromControl(CRect(100, 150, 124, 172), CSize(120, 300), kTKPPopupDropDown, work);
  EXPECT_EQ(upper.rect, CRect(100, 172, 220, 395));
  EXPECT_TRUE(upper.cut);
  const TKPPopupPlacement lower = FromControl(CRect(100, 250, 124, 272), CSize(120, 300), kTKPPopupDropDown, work);
  EXPECT_EQ(lower.rect, CRect(100, 0, 220, 250));
  EXPECT_TRUE(lower.cut);
}

TEST(PopupPlacement, DropDownAtTheRightEdgeEndsThereAndRightAlignedOneAtTheLeftEdgeStartsThere) {
  const TKPPopupPlacement right = FromControl(CRect(760, 30, 784, 52), CSize(120, 100), kTKPPopupDropDown);
  EXPECT_EQ(right.rect, CRect(680, 52, 800, 152));
  EXPECT_EQ(right.flags, static_cast<unsigned>(kTKPPopupDropDown | kTKPPopupLeft));
  const TKPPopupPlacement left =
      FromControl(CRect(10, 30, 30, 52), CSize(100, 100), kTKPPopupDropDown | kTKPPopupLeft);
  EXPECT_EQ(left.rect, CRect(0, 52, 100, 152));
  EXPECT_EQ(left.flags, static_cast<unsigned>(kTKPPopupDropDown));
}

TEST(PopupPlacement, SubMenuThatDoesNotFitRightOpensLeftAndItsOwnSubMenusFollow) {
  const CRect item(600, 100, 780, 120);
  const TKPPopupPlacement sub = FromControl(item, CSize(150, 100), 0);
  EXPECT_EQ(sub.rect, CRect(450, 100, 600, 200));
  ASSERT_EQ(sub.flags, static_cast<unsigned>(kTKPPopupLeft));
  // The next level opens to the left at once, beside its item in the first sub-menu.
  const CRect subItem(450, 120, 600, 140);
  EXPECT_EQ(FromControl(subItem, CSize(150, 100), sub.flags).rect, CRect(300, 120, 450, 220));
}

TEST(PopupPlacement, LeftOpeningSubMenuAtTheLeftEdgeFlipsToTheRight) {
  const TKPPopupPlacement p = FromControl(CRect(20, 100, 200, 120), CSize(150, 100), kTKPPopupLeft);
  EXPECT_EQ(p.rect, CRect(200, 100, 350, 200));
  EXPECT_EQ(p.flags, 0u);
}

TEST(PopupPlacement, TallSubMenuEndsAtTheUsableBottom) {
  EXPECT_EQ(FromControl(CRect(100, 500, 280, 520), CSize(150, 300), 0).rect, CRect(280, 295, 430, 595));
}

TEST(PopupPlacement, TinyWorkAreaCutsThePopupToWhatIsLeftAndNeverBelowNothing) {
  const TKPPopupPlacement small = AtPoint(CPoint(10, 0), CSize(100, 200), CRect(0, 0, 50, 8));
  EXPECT_EQ(small.rect, CRect(-50, 0, 50, 3));
  EXPECT_TRUE(small.cut);
  const TKPPopupPlacement none = AtPoint(CPoint(10, 0), CSize(100, 200), CRect(0, 0, 50, 3));
  EXPECT_EQ(none.rect.Height(), 0);
  EXPECT_TRUE(none.cut);
  const TKPPopupPlacement drop = FromControl(CRect(0, 0, 20, 2), CSize(40, 40), kTKPPopupDropDown, CRect(0, 0, 50, 4));
  EXPECT_GE(drop.rect.Height(), 0);
  EXPECT_TRUE(drop.cut);
}

}  // namespace
