#include "ui/controls/splitter_layout.h"

#include <gtest/gtest.h>

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
