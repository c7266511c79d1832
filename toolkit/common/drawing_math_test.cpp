// Gradient geometry, the splitter tracker's moves, mnemonics and font choices.
#include <gtest/gtest.h>

#include "toolkit/common/font_choice.h"
#include "toolkit/common/gradient_math.h"
#include "toolkit/common/text_mnemonics.h"
#include "toolkit/common/tracker_math.h"

TEST(GradientMath, BandsRunFromTheFirstColourAndSurviveAZeroLength) {
  EXPECT_EQ(GradientBandColor(0x0000FF, 0x000000, 10, 10, 100), 0x0000FFu);
  EXPECT_EQ(GradientBandColor(0x0000FF, 0x000000, 60, 10, 100), 0x00007Fu);
  EXPECT_EQ(GradientBandColor(0x0000FF, 0x000000, 5, 5, 0), 0x0000FFu);  // a zero length counts as one
}

TEST(GradientMath, AClippedGradientKeepsTheColoursOfTheFullOneAtItsCuts) {
  TKGradientPart part;
  // Horizontal 0..100 from white to black; the clip keeps x 25..75 and y 10..20.
  ASSERT_TRUE(ClipGradient(CRect(0, 0, 100, 50), 0xFFFFFF, 0x000000, true, CRect(25, 10, 75, 20), &part));
  EXPECT_EQ(part.rect, CRect(25, 10, 75, 20));
  EXPECT_EQ(part.from, 0xBFBFBFu);  // 75 % of the way back from black
  EXPECT_EQ(part.to, 0x3F3F3Fu);
  // Vertical, a clip reaching past both ends: nothing cut along the axis.
  ASSERT_TRUE(ClipGradient(CRect(0, 0, 10, 40), 0x0000FF, 0xFF0000, false, CRect(-5, -5, 5, 99), &part));
  EXPECT_EQ(part.rect, CRect(0, 0, 5, 40));
  EXPECT_EQ(part.from, 0x0000FFu);
  EXPECT_EQ(part.to, 0xFF0000u);
  // Beside it, or an empty rectangle: nothing to draw.
  EXPECT_FALSE(ClipGradient(CRect(0, 0, 100, 50), 0, 0, true, CRect(100, 0, 120, 50), &part));
  EXPECT_FALSE(ClipGradient(CRect(0, 0, 100, 50), 0, 0, true, CRect(10, 50, 20, 60), &part));
  EXPECT_FALSE(ClipGradient(CRect(5, 0, 5, 50), 0, 0, true, CRect(0, 0, 100, 100), &part));
}

TEST(GradientMath, AFactorOtherThanAHalfSplitsAtTheMiddleColour) {
  auto one = SplitGradient(CRect(0, 0, 11, 4), 0xFFFFFF, 0x000000, 0.5f, true);
  ASSERT_EQ(one.size(), 1u);
  auto two = SplitGradient(CRect(0, 0, 11, 4), 0xFFFFFF, 0x000000, 0.75f, true);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].rect, CRect(0, 0, 6, 4));  // 11 - 11 / 2
  EXPECT_EQ(two[1].rect, CRect(6, 0, 11, 4));
  EXPECT_EQ(two[0].to, 0xBFBFBFu);
  EXPECT_EQ(two[1].from, 0xBFBFBFu);
  auto vertical = SplitGradient(CRect(0, 10, 4, 20), 0xFFFFFF, 0x000000, 0.3f, false);
  EXPECT_EQ(vertical[0].rect, CRect(0, 10, 4, 15));
}

TEST(TrackerMath, TheTrackerMovesAlongItsAxisAndStopsAtTheAllowedEdges) {
  const CRect allowed(100, 50, 400, 300);
  CRect tracker(200, 50, 204, 300);
  EXPECT_TRUE(MoveTracker(&tracker, allowed, CPoint(250, 999), -2, true));
  EXPECT_EQ(tracker, CRect(248, 50, 252, 300));  // y of the mouse plays no part
  EXPECT_FALSE(MoveTracker(&tracker, allowed, CPoint(250, 0), -2, true));
  EXPECT_TRUE(MoveTracker(&tracker, allowed, CPoint(900, 0), 0, true));
  EXPECT_EQ(tracker.left, 400);
  CRect row(100, 150, 400, 154);
  EXPECT_TRUE(MoveTracker(&row, allowed, CPoint(0, 1000), 0, false));
  EXPECT_EQ(row, CRect(100, 300, 400, 304));  // beyond the bottom: at the bottom
  EXPECT_TRUE(MoveTracker(&row, allowed, CPoint(0, -50), 0, false));
  EXPECT_EQ(row.top, 50);
}

TEST(Mnemonics, StripAndRemoveTreatDoubledAndTrailingAmpersandsDifferently) {
  EXPECT_EQ(StripMnemonics(_T("&File")), CString(_T("File")));
  EXPECT_EQ(StripMnemonics(_T("Fish && Chips")), CString(_T("Fish & Chips")));
  EXPECT_EQ(StripMnemonics(_T("Save&")), CString(_T("Save")));
  EXPECT_EQ(StripMnemonics(_T("&&&x")), CString(_T("&x")));
  EXPECT_EQ(RemoveAmpersands(_T("&File")), CString(_T("File")));
  EXPECT_EQ(RemoveAmpersands(_T("Fish && Chips")), CString(_T("Fish && Chips")));
  EXPECT_EQ(RemoveAmpersands(_T("Save&")), CString(_T("Save&")));
  EXPECT_EQ(RemoveAmpersands(_T("")), CString(_T("")));
  EXPECT_EQ(RemoveAmpersands(_T("&")), CString(_T("&")));
}

TEST(FontChoice, TheDefaultFaceFollowsTheGuiFontOnlyWhereArialWouldNotServe) {
  TKFontFacts facts;
  facts.guiFace = _T("MS Shell Dlg");
  EXPECT_EQ(ChooseDefaultFontName(facts, false), CString(_T("Arial")));
  EXPECT_EQ(ChooseDefaultFontName(facts, true), CString(_T("Arial")));  // Tahoma not installed
  facts.tahomaInstalled = true;
  EXPECT_EQ(ChooseDefaultFontName(facts, true), CString(_T("Tahoma")));
  facts.guiCharset = 128;  // a far-eastern set
  EXPECT_EQ(ChooseDefaultFontName(facts, true), CString(_T("Tahoma")));  // not on Windows 9x
  facts.nt5OrLater = true;
  EXPECT_EQ(ChooseDefaultFontName(facts, true), CString(_T("MS Shell Dlg")));
  facts.guiCharset = 0;
  facts.arialInstalled = false;
  EXPECT_EQ(ChooseDefaultFontName(facts, false), CString(_T("MS Shell Dlg")));
  EXPECT_EQ(ChooseVerticalFontFace(_T("Segoe UI"), true), CString(_T("Arial")));
  EXPECT_EQ(ChooseVerticalFontFace(_T("tahoma"), true), CString(_T("tahoma")));
  EXPECT_EQ(ChooseVerticalFontFace(_T("Segoe UI"), false), CString(_T("Segoe UI")));
}
