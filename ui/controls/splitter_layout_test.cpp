#include "ui/controls/splitter_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace splitter {
namespace {

TEST(SplitterLayout, AVerticalBarSplitsTheClientAreaIntoLeftBarAndRight) {
  Placement p = PlaceVertical(CRect(0, 0, 600, 300), 202);
  EXPECT_EQ(p.hit, CRect(200, 0, 204, 300));
  EXPECT_EQ(p.first, CRect(0, 0, 200, 300));
  EXPECT_EQ(p.second, CRect(205, 0, 600, 300));
}

TEST(SplitterLayout, AHorizontalBarSplitsTheClientAreaIntoTopBarAndBottom) {
  // A bottom pane of 100 in a client 300 high: the bar at 300 − 2 − 100.
  Placement p = PlaceHorizontal(CRect(0, 0, 600, 300), 198);
  EXPECT_EQ(p.hit, CRect(0, 196, 600, 200));
  EXPECT_EQ(p.second, CRect(0, 200, 600, 300));
  EXPECT_EQ(p.first, CRect(0, 0, 600, 195));
}

TEST(SplitterLayout, ABarIsHeldInsideTheClientAreaSoNoPaneGetsANegativeSize) {
  EXPECT_EQ(ClampBar(-50, 0, 600), 3);
  EXPECT_EQ(ClampBar(900, 0, 600), 597);
  EXPECT_EQ(ClampBar(250, 0, 600), 250);
  EXPECT_EQ(ClampBar(1, 0, 4), 3);  // a client narrower than the bar
  for (int at : {ClampBar(-50, 0, 600), ClampBar(900, 0, 600)}) {
    Placement v = PlaceVertical(CRect(0, 0, 600, 300), at);
    EXPECT_GE(v.first.Width(), 0);
    EXPECT_GE(v.second.Width(), 0);
    Placement h = PlaceHorizontal(CRect(0, 0, 300, 600), at);
    EXPECT_GE(h.first.Height(), 0);
    EXPECT_GE(h.second.Height(), 0);
  }
}

// A split kept from a large window: in a window too small for it the other pane keeps a usable size, or a
// third of the room in a very small one, and the kept pane shows its own size again when there is room.
TEST(SplitterLayout, AKeptPaneGivesWayForTheOtherInASmallWindowOnly) {
  struct Case {
    int kept, extent, shown, other;
  };
  const Case cases[] = {
      {1500, 1920, 1500, 415},  // the window it was stored in
      {1500, 1508, 1263, 240},  // a little smaller: the other pane keeps a usable size
      {1500, 760, 515, 240},
      {1500, 605, 400, 200},    // smaller still: a third of the room
      {1500, 100, 64, 31},
      {200, 600, 200, 395},     // a kept pane that fits is left alone
      {1, 400, 1, 394},         // and one the user made narrow stays narrow
      {0, 300, 0, 295},
      {300, 5, 0, 0},           // no room beside the bar
      {300, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownKeptPane(c.kept, c.extent), c.shown) << c.kept << " in " << c.extent;
    EXPECT_EQ(std::max(0, c.extent - kBarWidth - c.shown), c.other);
  }
}

TEST(SplitterLayout, SectionNamesCarryTheFixedUnitsTheLayoutAndTheId) {
  const TCHAR vertical[] = {0x7073, 0x746C, 0x695C, 0x696E, 0x5F74, 'v', 'H', 'o', 'r', 'i', 'z', 'S', 'p', 'l',
                            'i',    't',    'P',    'o',    's',    '1', '5', '7', 0};
  EXPECT_EQ(VerticalSection(157), CString(vertical));
  CString horizontal = HorizontalSection(4000);
  EXPECT_EQ(horizontal.Mid(5), CString(_T("hVertSplitPos4000")));
  EXPECT_EQ(horizontal.Left(5), CString(vertical).Left(5));
}

}  // namespace
}  // namespace splitter
