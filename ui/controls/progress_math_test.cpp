#include "ui/controls/progress_math.h"

#include <gtest/gtest.h>

namespace progress {
namespace {

TEST(ProgressMath, AColourPairThreeApartIsThreeBandsOverTwoHundredPixels) {
  std::vector<Band> bands = SegmentBands({0, 200}, 200, 0x000000, 0x030000, false);
  std::vector<Band> expected = {{{0, 66}, 0x000000}, {{66, 133}, 0x010000}, {{133, 200}, 0x020000}};
  EXPECT_EQ(bands, expected);
  EXPECT_EQ(StepCount(0x000000, 0x030000, 200, false), 3);
  EXPECT_EQ(StepCount(0x000000, 0x0000FF, 40, false), 40);  // at most the width
  EXPECT_EQ(StepCount(0x123456, 0x123456, 40, false), 1);   // at least one
  EXPECT_EQ(StepCount(0x000000, 0xFFFFFF, 200, true), 1);   // a low-colour device: one step
}

TEST(ProgressMath, StepColoursMoveEachChannelTowardTheEnd) {
  EXPECT_EQ(StepColour(0xFF0000, 0xA00000, 0, 95), 0xFF0000u);
  EXPECT_EQ(StepColour(0xFF0000, 0xA00000, 94, 95), 0xA10000u);  // 255 − 94 × 95 / 95
  EXPECT_EQ(StepColour(0x0000FF, 0x00FF00, 1, 2), 0x007F80u);    // red falls, green rises, truncated
}

TEST(ProgressMath, TheRampIsLaidOverTheWholeWidthWhateverIsDone) {
  const std::vector<Colour> pages = {0xFF0000, 0xA00000};
  std::vector<Band> full = GradientBands(pages, {0, 190}, 190, false);
  std::vector<Band> half = GradientBands(pages, {0, 190}, 96, false);
  ASSERT_EQ(full.size(), 95u);  // 95 steps of 2 pixels
  ASSERT_EQ(half.size(), 48u);
  // The done half shows exactly the first half of the full ramp, not the ramp squeezed into it.
  EXPECT_EQ(std::vector<Band>(full.begin(), full.begin() + 48), half);
  EXPECT_EQ(half.back().colour, 0xD00000u);
  EXPECT_EQ(GradientBands(pages, {0, 190}, 95, false).back(), (Band{{94, 95}, 0xD00000}));
}

TEST(ProgressMath, SegmentsSplitTheWidthEquallyAndTheLastEndsAtTheEdge) {
  EXPECT_EQ(EqualPart(10, 110, 0, 3), (Span{10, 43}));
  EXPECT_EQ(EqualPart(10, 110, 1, 3), (Span{43, 76}));
  EXPECT_EQ(EqualPart(10, 110, 2, 3), (Span{76, 110}));
  std::vector<Band> three = GradientBands({0x000000, 0x000002, 0x000004}, {0, 100}, 60, false);
  std::vector<Band> expected = {{{0, 25}, 0x000000}, {{25, 50}, 0x000001}, {{50, 60}, 0x000002}};
  EXPECT_EQ(three, expected);
  EXPECT_TRUE(GradientBands({}, {0, 100}, 100, false).empty());
  EXPECT_EQ(GradientBands({0x123456}, {0, 100}, 40, false), (std::vector<Band>{{{0, 40}, 0x123456}}));
}

TEST(ProgressMath, EqualBoundsAndPositionsOutsideTheRangeGiveAnEmptyBar) {
  EXPECT_EQ(BarLength(0, 100, 37, 200), 74);
  EXPECT_EQ(BarLength(0, 100, 100, 200), 200);
  EXPECT_EQ(BarLength(50, 50, 50, 200), 0);
  EXPECT_EQ(BarLength(0, 100, 101, 200), 0);
  EXPECT_EQ(BarLength(0, 100, -1, 200), 0);
  EXPECT_EQ(Percent(0, 100, 37), 37);
  EXPECT_EQ(Percent(0, 3, 1), 33);
  EXPECT_EQ(Percent(7, 7, 7), 0);
  EXPECT_EQ(Share(7, 7, 7, 200), 0);
  EXPECT_EQ(Share(9, 7, 8, 200), 0);
  EXPECT_EQ(Share(0, 100, 37, 200), 74);
  EXPECT_EQ(Share(0, 100, 37, 100), 37);
  EXPECT_EQ(Share(-100, 100, 0, 100), 50);
}

TEST(ProgressMath, TheDialogPercentKeepsAHundredAndWrapsBeyondIt) {
  EXPECT_EQ(DialogPercentText(0, 100, 0), CString(_T("0%")));
  EXPECT_EQ(DialogPercentText(0, 100, 37), CString(_T("37%")));
  EXPECT_EQ(DialogPercentText(0, 100, 100), CString(_T("100%")));
  EXPECT_EQ(DialogPercentText(0, 100, 150), CString(_T("50%")));
  EXPECT_EQ(DialogPercentText(5, 5, 5), CString(_T("0%")));
}

TEST(ProgressMath, TheBarTextShowsTheValueOnlyThroughIntegerConversions) {
  EXPECT_EQ(BarText(_T("%d%%"), 37), CString(_T("37%")));
  EXPECT_EQ(BarText(_T("%d%%"), 0), CString(_T("0%")));
  EXPECT_EQ(BarText(_T("Step %3d of 100"), 5), CString(_T("Step   5 of 100")));
  EXPECT_EQ(BarText(_T("%s %n %"), 5), CString(_T("%s %n %")));
  EXPECT_EQ(BarText(_T("%d/%i"), 2), CString(_T("2/2")));
}

}  // namespace
}  // namespace progress
