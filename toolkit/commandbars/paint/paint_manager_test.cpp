// The paint manager in a real DC: the theme factory and the process's theme, colours and fonts, and the
// shared drawing probed pixel by pixel (check marks, drop-down glyphs, split-button frames, the expand
// button, the size grip, captions with mnemonics, animations). A plain theme of the test draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"

namespace {

using tkptest::Canvas;
using tkptest::PlainTheme;
using tkptest::TestBar;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// ---- the factory and the process's theme ---------------------------------------------------------

TEST(PaintManagerThemes, SetThemeStoresTheIdItWasGivenEvenAnUnknownOne) {
  CTKPPaintManager::SetTheme(7);
  ASSERT_NE(CTKPPaintManager::GetCurrent(), nullptr);
  EXPECT_EQ(CTKPPaintManager::GetCurrent()->GetCurrentTheme(), 7);
  EXPECT_EQ(CTKPPaintManager::GetCurrent()->m_dwRef, 1);
}

TEST(PaintManagerThemes, ACustomThemeReadsFiveAndKeepsItsOwnBaseTheme) {
  PlainTheme* theme = new PlainTheme;
  CTKPPaintManager::SetCustomTheme(theme);
  EXPECT_EQ(CTKPPaintManager::GetCurrent(), theme);
  EXPECT_EQ(theme->GetCurrentTheme(), tkpThemeCustom);
  EXPECT_EQ(theme->BaseTheme(), tkpThemeFlat);
  EXPECT_EQ(theme->m_dwRef, 1);  // the caller's reference became the process's
  EXPECT_GT(theme->GetRowHeight(), 6);
}

TEST(PaintManagerThemes, InstallingTheCurrentThemeAgainKeepsItAlive) {
  CTKPPaintManager::SetTheme(0);
  CTKPPaintManager* current = CTKPPaintManager::GetCurrent();
  current->InternalAddRef();  // the caller's reference, passed on
  CTKPPaintManager::SetCustomTheme(current);
  EXPECT_EQ(CTKPPaintManager::GetCurrent(), current);
  EXPECT_EQ(current->m_dwRef, 1);
  EXPECT_EQ(current->GetCurrentTheme(), tkpThemeCustom);
}

TEST(PaintManagerThemes, AHolderKeepsAReplacedThemeUntilItLetsGo) {
  CTKPPaintManager::SetTheme(2);
  CTKPPaintManager* old = CTKPPaintManager::GetCurrent();
  old->InternalAddRef();  // a bar holds it as its own
  CTKPPaintManager::SetTheme(1);
  EXPECT_NE(CTKPPaintManager::GetCurrent(), old);
  EXPECT_EQ(old->m_dwRef, 1);
  EXPECT_EQ(old->GetCurrentTheme(), 2);
  old->InternalRelease();
}

// ---- colours and fonts ---------------------------------------------------------------------------

TEST(PaintManagerColors, IndexesAboveTheTableAreColoursAndCustomValuesWin) {
  PlainTheme theme;
  theme.RefreshMetrics();
  EXPECT_EQ(theme.GetPaintColor(62), 62u);
  EXPECT_EQ(theme.GetPaintColor(0x123456), 0x123456u);
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
  theme.SetCustomColor(COLOR_BTNFACE, RGB(1, 2, 3));
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNFACE), RGB(1, 2, 3));
  theme.RefreshMetrics();  // a refresh leaves custom values alone
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNFACE), RGB(1, 2, 3));
  const int index = COLOR_BTNSHADOW;
  const COLORREF colour = RGB(9, 8, 7);
  theme.SetColors(1, &index, &colour);
  EXPECT_EQ(theme.GetPaintColor(COLOR_BTNSHADOW), colour);
  EXPECT_EQ(theme.m_clrStatusTextColor, ::GetSysColor(COLOR_BTNTEXT));
}

TEST(PaintManagerColors, TheColourSchemeFollowsItsMode) {
  PlainTheme theme;
  theme.SetColorSchemeMode(2);
  EXPECT_EQ(theme.GetCurrentSystemTheme(), 2);
  theme.SetColorSchemeMode(4);
  EXPECT_EQ(theme.GetCurrentSystemTheme(), TKPColorManager()->GetSystemTheme());
  theme.SetColorSchemeMode(5);
  const int expected = TKPColorManager()->IsLunaColorsDisabled() ? 0 : TKPColorManager()->GetCurrentSystemTheme();
  EXPECT_EQ(theme.GetCurrentSystemTheme(), expected);
}

TEST(PaintManagerFonts, RowHeightIsABlankInTheRegularFontPlusSix) {
  PlainTheme theme;
  LOGFONTW log = {};
  log.lfHeight = -20;
  lstrcpyW(log.lfFaceName, L"Arial");
  theme.SetCommandBarsFontIndirect(&log, FALSE);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(screen, theme.RegularFont()->GetSafeHandle());
  SIZE blank = {};
  ::GetTextExtentPoint32W(screen, L" ", 1, &blank);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(theme.GetRowHeight(), blank.cy + 6);
  LOGFONTW vertical = {};
  theme.VerticalFont()->GetLogFont(&vertical);
  EXPECT_EQ(vertical.lfEscapement, 2700);
  EXPECT_EQ(vertical.lfOrientation, 900);
}

TEST(PaintManagerFonts, OnlyWesternFontsTurnToTahoma) {
  if (!CTKPDrawHelpers::FontExists(_T("Tahoma"))) GTEST_SKIP() << "no Tahoma on this system";
  PlainTheme theme;
  LOGFONTW log = {};
  log.lfHeight = -11;
  lstrcpyW(log.lfFaceName, L"Tahoma");
  theme.SetCommandBarsFontIndirect(&log, TRUE);  // Tahoma is in use from now on
  EXPECT_TRUE(theme.IsTahomaUsed());
  lstrcpyW(log.lfFaceName, L"Arial");
  log.lfCharSet = SHIFTJIS_CHARSET;
  theme.SetCommandBarsFontIndirect(&log, TRUE);
  LOGFONTW regular = {};
  theme.RegularFont()->GetLogFont(&regular);
  EXPECT_STREQ(regular.lfFaceName, L"Arial");
  log.lfCharSet = ANSI_CHARSET;
  theme.SetCommandBarsFontIndirect(&log, TRUE);
  theme.RegularFont()->GetLogFont(&regular);
  EXPECT_STREQ(regular.lfFaceName, L"Tahoma");
}

// ---- pixels --------------------------------------------------------------------------------------

TEST(PaintManagerDrawing, CheckMarkStrokesAndTheThickMark) {
  PlainTheme theme;
  Canvas canvas(40, 20);
  theme.DrawCheckMark(&canvas.dc, CRect(0, 0, 20, 16), kRed);  // centre (10, 8)
  for (POINT p : {POINT{6, 7}, POINT{7, 8}, POINT{9, 8}, POINT{12, 5}, POINT{6, 8}, POINT{7, 9}}) {
    EXPECT_EQ(canvas.Pixel(p.x, p.y), kRed) << p.x << "," << p.y;
  }
  EXPECT_EQ(canvas.Pixel(6, 9), kWhite);
  theme.m_bThickCheckMark = TRUE;
  theme.DrawCheckMark(&canvas.dc, CRect(20, 0, 40, 16), kRed);  // centre (30, 8)
  EXPECT_EQ(canvas.Pixel(26, 9), kRed);
  EXPECT_EQ(canvas.Pixel(26, 10), kWhite);
}

TEST(PaintManagerDrawing, RightToLeftCheckMarkIsMirrored) {
  PlainTheme theme;
  Canvas canvas(20, 16);
  theme.DrawCheckMark(&canvas.dc, CRect(0, 0, 20, 16), kRed, TRUE);
  EXPECT_EQ(canvas.Pixel(6, 5), kRed);
  EXPECT_EQ(canvas.Pixel(9, 8), kRed);
  EXPECT_EQ(canvas.Pixel(6, 7), kWhite);
}

TEST(PaintManagerDrawing, DropDownGlyphInASixPixelRectangleIsStillATriangle) {
  PlainTheme theme;
  Canvas canvas(6, 10);
  theme.DrawDropDownGlyph(&canvas.dc, CRect(0, 0, 6, 10), kRed);
  EXPECT_EQ(canvas.Pixel(1, 4), kRed);
  EXPECT_EQ(canvas.Pixel(5, 4), kRed);
  EXPECT_EQ(canvas.Pixel(3, 6), kRed);
  EXPECT_EQ(canvas.Pixel(3, 7), kWhite);
  EXPECT_EQ(canvas.Pixel(0, 4), kWhite);
}

TEST(PaintManagerDrawing, SelectedSplitButtonDrawsItsTwoPartsAndTheArrow) {
  PlainTheme theme;
  Canvas canvas(40, 22);
  CTKPControls* controls = new CTKPControls;
  CTKPControl* split = controls->Add(tkpControlSplitButtonPopup, 0);
  split->SetRect(CRect(0, 0, 40, 22));
  split->OnSetSelected(1);
  theme.DrawSplitButtonFrame(&canvas.dc, split, split->GetRect());
  ASSERT_EQ(theme.entries.size(), 2u);
  EXPECT_EQ(theme.entries[0].rc, CRect(0, 0, 29, 22));
  EXPECT_TRUE(theme.entries[0].selected);
  EXPECT_EQ(theme.entries[1].rc, CRect(28, 0, 40, 22));
  EXPECT_TRUE(theme.entries[1].selected && !theme.entries[1].pressed);
  // The arrow (31, 10), (35, 10), (33, 12) in the text colour over the highlight.
  EXPECT_EQ(canvas.Pixel(33, 11), PlainTheme::kText);
  EXPECT_EQ(canvas.Pixel(33, 13), PlainTheme::kHot);
  controls->InternalRelease();
}

TEST(PaintManagerDrawing, SplitButtonWithItsPopupOpenIsOneEntry) {
  PlainTheme theme;
  Canvas canvas(40, 22);
  TestBar* bar = new TestBar;
  CTKPControl* split = bar->GetControls()->Add(tkpControlSplitButtonPopup, 0);
  split->SetRect(CRect(0, 0, 40, 22));
  bar->SetPopuped(split->GetIndex());
  theme.DrawSplitButtonFrame(&canvas.dc, split, split->GetRect());
  ASSERT_EQ(theme.entries.size(), 1u);
  EXPECT_EQ(theme.entries[0].rc, CRect(0, 0, 40, 22));
  EXPECT_TRUE(theme.entries[0].popuped);
  EXPECT_EQ(canvas.Pixel(33, 11), PlainTheme::kText);
  bar->SetPopuped(-1);
  bar->InternalRelease();
}

TEST(PaintManagerDrawing, WithoutADeviceContextNothingIsDrawn) {
  PlainTheme theme;
  CTKPControls* controls = new CTKPControls;
  CTKPControl* split = controls->Add(tkpControlSplitButtonPopup, 0);
  split->SetRect(CRect(0, 0, 40, 22));
  theme.DrawControl(nullptr, split, TRUE);
  theme.DrawSpecialControl(nullptr, tkpSpecialFloatingClose, split, nullptr, TRUE, CSize());
  theme.DrawCheckMark(nullptr, CRect(0, 0, 10, 10), kRed);
  EXPECT_TRUE(theme.entries.empty());
  controls->InternalRelease();
}

TEST(PaintManagerDrawing, ExpandButtonShowsChevronsOnlyWhenControlsAreHidden) {
  PlainTheme theme;
  Canvas canvas(100, 26);
  TestBar* bar = new TestBar;
  CTKPControl* expand = bar->GetControls()->Add(tkpControlButton, 0);
  CTKPControl* other = bar->GetControls()->Add(tkpControlButton, 0);
  theme.DrawSpecialControl(&canvas.dc, tkpSpecialToolbarExpand, expand, bar, FALSE, CSize(100, 26));
  EXPECT_EQ(expand->GetRect(), CRect(87, 2, 98, 24));
  theme.DrawSpecialControl(&canvas.dc, tkpSpecialToolbarExpand, expand, bar, TRUE, CSize());
  EXPECT_EQ(canvas.Pixel(92, 18), PlainTheme::kText);  // the arrow below
  EXPECT_EQ(canvas.Pixel(90, 7), kWhite);
  other->SetHideFlags(tkpHideWrap);
  theme.DrawSpecialControl(&canvas.dc, tkpSpecialToolbarExpand, expand, bar, TRUE, CSize());
  EXPECT_EQ(canvas.Pixel(90, 7), PlainTheme::kText);
  EXPECT_EQ(theme.DrawSpecialControl(&canvas.dc, tkpSpecialPopupExpand, expand, bar, FALSE, CSize()), CSize(0, 12));
  bar->InternalRelease();
}

TEST(PaintManagerDrawing, SizeGripInShadowAndHighlightColours) {
  PlainTheme theme;
  theme.RefreshMetrics();
  Canvas canvas(100, 20);
  theme.DrawStatusBarGripper(&canvas.dc, CRect(0, 0, 100, 20));
  EXPECT_EQ(canvas.Pixel(98, 17), theme.GetPaintColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(96, 17), theme.GetPaintColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.Pixel(50, 10), kWhite);
}

TEST(PaintManagerText, MnemonicsLeaveTheMeasuredWidthAndUnderlineOnlyWithCues) {
  PlainTheme theme;
  theme.RefreshMetrics();
  Canvas canvas(120, 24);
  CFont* font = theme.RegularFont();
  CFont* old = canvas.dc.SelectObject(font);
  const CSize doubled = theme.DrawTextEx(&canvas.dc, CString(_T("&&Save")), CRect(), FALSE, FALSE, FALSE, FALSE);
  EXPECT_EQ(doubled.cx, canvas.dc.GetTextExtent(CString(_T("&Save"))).cx);
  const CSize single = theme.DrawTextEx(&canvas.dc, CString(_T("&Open")), CRect(), FALSE, FALSE, FALSE, FALSE);
  EXPECT_EQ(single.cx, canvas.dc.GetTextExtent(CString(_T("Open"))).cx);
  const CSize empty = theme.DrawTextEx(&canvas.dc, CString(), CRect(), FALSE, FALSE, FALSE, FALSE);
  EXPECT_EQ(empty, canvas.dc.GetTextExtent(CString(_T(" "))));
  const CSize triangle = theme.DrawTextEx(&canvas.dc, CString(_T("Open")), CRect(), FALSE, FALSE, FALSE, TRUE);
  EXPECT_EQ(triangle.cx, single.cx + 10);
  const CSize vertical = theme.DrawTextEx(&canvas.dc, CString(_T("Open")), CRect(), FALSE, TRUE, FALSE, FALSE);
  EXPECT_EQ(vertical, CSize(single.cy, single.cx));

  // "&Open" with cues underlines the O; without cues it draws as "Open".
  auto draw = [&](const TCHAR* text, BOOL cues) {
    canvas.Clear();
    theme.DrawTextEx(&canvas.dc, CString(text), CRect(0, 0, 120, 24), TRUE, FALSE, FALSE, FALSE, FALSE, cues);
    return canvas.Pixels();
  };
  const auto withCues = draw(_T("&Open"), TRUE);
  const auto withoutCues = draw(_T("&Open"), FALSE);
  EXPECT_NE(withCues, withoutCues);
  EXPECT_EQ(draw(_T("&&Open"), TRUE), draw(_T("&&Open"), FALSE));
  theme.m_nKeyboardCues = 0;  // the override wins over the caller
  EXPECT_EQ(draw(_T("&Open"), TRUE), withoutCues);
  canvas.dc.SelectObject(old);
}

TEST(PaintManagerAnimation, NoStepsDrawNothingAndASlideEndsOnTheSource) {
  PlainTheme theme;
  Canvas source(30, 20), target(30, 20);
  source.dc.FillSolidRect(CRect(0, 0, 30, 20), kRed);
  theme.m_nAnimationSteps = 0;
  theme.Animate(&target.dc, &source.dc, CRect(0, 0, 30, 20), tkpAnimateSlide);
  EXPECT_EQ(target.Pixel(15, 10), kWhite);
  theme.m_nAnimationSteps = 2;
  theme.m_nAnimationTime = 0;
  theme.Animate(&target.dc, &source.dc, CRect(0, 0, 30, 20), tkpAnimateSlide);
  EXPECT_EQ(target.Pixels(), source.Pixels());
  target.Clear();
  theme.Animate(&target.dc, &source.dc, CRect(0, 0, 30, 20), tkpAnimateFade);
  EXPECT_NE(target.Pixel(15, 10), kWhite);  // the frames before the last one are blends
}

}  // namespace
