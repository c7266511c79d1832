#include "toolkit/commandbars/customize/tkp_customize_logic.h"

#include <gtest/gtest.h>

using namespace tkpcust;

namespace {

// A row of 24-pixel buttons from x = 2, a second row below from index `secondRow` on.
std::vector<DropItem> Row(int count, int secondRow = -1) {
  std::vector<DropItem> items;
  for (int i = 0; i < count; ++i) {
    const bool below = secondRow >= 0 && i >= secondRow;
    const int col = below ? i - secondRow : i;
    DropItem item;
    item.rect = CRect(2 + 24 * col, below ? 26 : 2, 26 + 24 * col, below ? 48 : 24);
    item.beginGroup = below && i == secondRow;
    item.wrap = item.beginGroup;
    items.push_back(item);
  }
  return items;
}

const CRect kClient(0, 0, 200, 26);

}  // namespace

TEST(CustomizeDrop, EmptyBarMarksItsLeftEdge) {
  const DropPlace p = FindDropPlace({}, CPoint(50, 10), false, kClient, -1);
  EXPECT_EQ(p.index, -1);
  EXPECT_EQ(p.marker, CRect(2, 2, 8, 24));
  EXPECT_EQ(InsertionFor({}, p, false).index, 0);
}

TEST(CustomizeDrop, NearestCentreDecidesBeforeOrAfter) {
  const auto items = Row(3);  // centres 14, 38, 62
  DropPlace p = FindDropPlace(items, CPoint(33, 10), false, kClient, -1);
  EXPECT_EQ(p.index, 1);
  EXPECT_TRUE(p.before);
  EXPECT_EQ(p.marker, CRect(26, 2, 32, 24));
  EXPECT_EQ(InsertionFor(items, p, false).index, 1);
  // After the middle one the mark sits at the next button's left edge.
  p = FindDropPlace(items, CPoint(44, 10), false, kClient, -1);
  EXPECT_FALSE(p.before);
  EXPECT_EQ(p.marker, CRect(50, 2, 56, 24));
  EXPECT_EQ(InsertionFor(items, p, false).index, 2);
  // After the last one: at its right edge less the mark's width.
  p = FindDropPlace(items, CPoint(150, 10), false, kClient, -1);
  EXPECT_EQ(p.index, 2);
  EXPECT_EQ(p.marker, CRect(68, 2, 74, 24));
}

TEST(CustomizeDrop, SecondRowWinsOnlyBelowItsTop) {
  const auto items = Row(5, 3);
  // In the first row, over the first button column: the search stops at the second row.
  DropPlace p = FindDropPlace(items, CPoint(10, 10), false, kClient, -1);
  EXPECT_EQ(p.index, 0);
  // In the second row the nearer first-row button loses to the row the point is in.
  p = FindDropPlace(items, CPoint(10, 30), false, kClient, -1);
  EXPECT_EQ(p.index, 3);
  EXPECT_TRUE(p.before);
  const Insertion ins = InsertionFor(items, p, false);
  EXPECT_EQ(ins.index, 3);
  EXPECT_TRUE(ins.beginGroup);  // it takes the group of the control it goes before
  EXPECT_TRUE(ins.clearGroupOfNext);
}

TEST(CustomizeDrop, SeparatorInARowDoesNotHideEarlierButtons) {
  auto items = Row(4);
  items[2].beginGroup = true;  // a separator in the same row
  const DropPlace p = FindDropPlace(items, CPoint(14, 10), false, kClient, -1);
  EXPECT_EQ(p.index, 0);
}

TEST(CustomizeDrop, VerticalBarAndHiddenOrFixedControls) {
  std::vector<DropItem> items(3);
  for (int i = 0; i < 3; ++i) items[i].rect = CRect(2, 2 + 22 * i, 100, 24 + 22 * i);
  items[1].visible = false;
  DropPlace p = FindDropPlace(items, CPoint(50, 30), true, CRect(0, 0, 102, 80), -1);
  EXPECT_EQ(p.index, 0);  // the hidden middle one is skipped
  EXPECT_FALSE(p.before);
  EXPECT_EQ(p.marker, CRect(2, 18, 100, 24));
  items[1].visible = true;
  items[1].fixed = true;
  p = FindDropPlace(items, CPoint(50, 40), true, CRect(0, 0, 102, 80), -1);
  EXPECT_NE(p.index, 1);
}

TEST(CustomizeDrop, OverTheDraggedControlNoMark) {
  const auto items = Row(3);
  const DropPlace p = FindDropPlace(items, CPoint(40, 10), false, kClient, 1);
  EXPECT_TRUE(p.onDragged);
  EXPECT_TRUE(p.marker.IsRectEmpty());
}

TEST(CustomizeDrop, DroppedOntoItself) {
  EXPECT_FALSE(GroupAfterDropOntoSelf(CSize(3, 0), true, false, false));   // 3 pixels: unchanged
  EXPECT_TRUE(GroupAfterDropOntoSelf(CSize(3, 1), false, false, true));
  EXPECT_TRUE(GroupAfterDropOntoSelf(CSize(10, 0), true, false, false));   // 10 to the right: a group
  EXPECT_FALSE(GroupAfterDropOntoSelf(CSize(10, 0), true, true, false));   // never the first control
  EXPECT_FALSE(GroupAfterDropOntoSelf(CSize(-10, 0), false, false, true)); // before itself: no group
}

TEST(CustomizeDrag, CursorsAndResults) {
  EXPECT_EQ(DragCursor(false, true, false), kCursorNone);
  EXPECT_EQ(DragCursor(true, true, false), kCursorMove);
  EXPECT_EQ(DragCursor(true, false, false), kCursorCopy);  // Ctrl held
  EXPECT_EQ(DragCursor(true, true, true), kCursorCopy);    // from the dialog
  EXPECT_EQ(DropResult(true, false, true), kDragCancel);   // no move yet
  EXPECT_EQ(DropResult(false, true, true), kDragNone);
  EXPECT_EQ(DropResult(true, true, true), kDragMove);
  EXPECT_EQ(DropResult(true, true, false), kDragCopy);
}

TEST(CustomizeDrag, OriginalGoesOnlyWhenItMovedOrWasDraggedOff) {
  EXPECT_TRUE(RemovesOriginal(kDragMove, true, true, false));
  EXPECT_TRUE(RemovesOriginal(kDragNone, true, true, false));    // off every bar: deleted
  EXPECT_FALSE(RemovesOriginal(kDragNone, false, true, false));  // a copy dropped nowhere
  EXPECT_FALSE(RemovesOriginal(kDragCancel, true, true, false)); // dropped back onto itself
  EXPECT_FALSE(RemovesOriginal(kDragCopy, false, true, false));
  EXPECT_FALSE(RemovesOriginal(kDragMove, true, false, true));   // from the commands list
}

TEST(CustomizeToolbars, NamesIdsAndChecks) {
  EXPECT_EQ(NewToolbarName(u"Custom %d", {u"Standard"}), u"Custom 1");
  EXPECT_EQ(NewToolbarName(u"Custom %d", {u"Custom 2", u"Custom 1"}), u"Custom 3");
  EXPECT_EQ(NewToolbarId({1, 0xE800, 0xE802, 0xE801}), 0xE803u);
  std::vector<unsigned> full;
  for (unsigned id = 0xE800; id < 0xE8FF; ++id) full.push_back(id);
  EXPECT_EQ(NewToolbarId(full), 0u);
  EXPECT_EQ(CheckToolbarName(u"", {}), kNameBlank);
  EXPECT_EQ(CheckToolbarName(u"Standard", {u"Menu Bar", u"Standard"}), kNameTaken);
  EXPECT_EQ(CheckToolbarName(u"Mine", {u"Standard"}), kNameOk);
  const ToolbarButtons builtIn = ToolbarButtonsFor(true, true);
  EXPECT_TRUE(builtIn.reset);
  EXPECT_FALSE(builtIn.rename || builtIn.remove);
  const ToolbarButtons custom = ToolbarButtonsFor(true, false);
  EXPECT_FALSE(custom.reset);
  EXPECT_TRUE(custom.rename && custom.remove);
  const ToolbarButtons none = ToolbarButtonsFor(false, false);
  EXPECT_FALSE(none.reset || none.rename || none.remove);
}

TEST(CustomizeMisc, PickerKeyboardListAndCaptions) {
  EXPECT_EQ(PickerWidth(16), 98);
  EXPECT_EQ(PickerWidth(17), 98);
  EXPECT_EQ(PickerWidth(1), 29);
  EXPECT_TRUE(KeyboardListsCommand(100, 1));
  EXPECT_FALSE(KeyboardListsCommand(0, 1));
  EXPECT_FALSE(KeyboardListsCommand(100, 2));
  EXPECT_FALSE(KeyboardListsCommand(100, 4));
  EXPECT_FALSE(KeyboardListsCommand(0xE110, 1));
  EXPECT_FALSE(KeyboardListsCommand(0xE11F, 1));
  EXPECT_TRUE(KeyboardListsCommand(0xE120, 1));
  EXPECT_EQ(CaptionWithoutAmpersands(u"&Open && Save"), u"Open  Save");
}

