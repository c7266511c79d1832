// The paint manager's options on the real system: fonts, appearances with their colour sets, strip
// depths, the stacked bars, tooltips of cut captions.
#include <gtest/gtest.h>

#include "platform/harness/driver.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/tabmanager/tab_strip_test_support.h"
#include "toolkit/tabmanager/tkp_tab_appearance.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"

namespace {

using tabtest::StripManager;
using tabtest::StripWnd;

LONG FontHeight(CFont& font) {
  LOGFONT lf = {};
  ::GetObjectW(font.GetSafeHandle(), sizeof lf, &lf);
  return lf.lfHeight;
}

TEST(TabPaintManager, SmallFontsAreReadableWhenTurned) {
  auto* pPaintManager = new CTKPTabPaintManager;
  LOGFONT lf = {};
  lf.lfHeight = -8;
  ::lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  pPaintManager->SetFontIndirect(&lf);
  EXPECT_FALSE(pPaintManager->UseSystemFont);
  EXPECT_EQ(FontHeight(pPaintManager->m_fntNormal), -8);
  EXPECT_EQ(FontHeight(pPaintManager->m_fntVertical), -11);
  EXPECT_EQ(FontHeight(pPaintManager->m_fntVerticalBold), -11);
  lf.lfHeight = -12;
  pPaintManager->SetFontIndirect(&lf);
  EXPECT_EQ(FontHeight(pPaintManager->m_fntVertical), -12);
  pPaintManager->SetFontIndirect(nullptr, TRUE);  // keeps the fonts
  EXPECT_EQ(FontHeight(pPaintManager->m_fntNormal), -12);
  pPaintManager->InternalRelease();
}

// A turned caption is as long as its text in the turned font, whose face and least height differ from
// the upright font's: measured in the upright one it would be cut.
TEST(TabPaintManager, TurnedCaptionsAreMeasuredInTheTurnedFont) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(120, 400));
  CTKPTabPaintManager* pm = strip.PaintManager();
  LOGFONT lf = {};
  lf.lfHeight = -8;
  ::lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  pm->SetFontIndirect(&lf);
  pm->SetPosition(1);
  const CString caption = _T("Deleted files and folders");
  CTKPTabManagerItem* pItem = strip.Manager().InsertItem(-1, caption);
  // The text measured upright in the turned font's face and height.
  LOGFONT turned = {};
  ::GetObjectW(pm->m_fntVertical.GetSafeHandle(), sizeof turned, &turned);
  turned.lfEscapement = turned.lfOrientation = 0;
  HFONT hFont = ::CreateFontIndirectW(&turned);
  HDC hScreen = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hScreen, hFont);
  SIZE size = {};
  ::GetTextExtentPoint32W(hScreen, caption, caption.GetLength(), &size);
  ::SelectObject(hScreen, hOld);
  ::ReleaseDC(nullptr, hScreen);
  ::DeleteObject(hFont);
  EXPECT_EQ(pItem->GetFullLength(), size.cx + 12);
  EXPECT_EQ(pItem->GetRect().Height(), size.cx + 12);
}

TEST(TabPaintManager, EachAppearanceBringsItsColourSet) {
  auto* pPaintManager = new CTKPTabPaintManager;
  EXPECT_EQ(pPaintManager->GetAppearance(), 0);
  EXPECT_EQ(pPaintManager->GetColor(), 1);
  const int defaults[10] = {1, 1, 1, 4, 2, 2, 2, 2, 1, 4};
  for (int id = 0; id < 10; ++id) {
    pPaintManager->SetAppearance(id);
    EXPECT_EQ(pPaintManager->GetColor(), defaults[id]) << id;
    EXPECT_NE(pPaintManager->GetAppearanceObject()->GetSupportedColorSets() & defaults[id], 0) << id;
  }
  pPaintManager->SetAppearance(42);
  EXPECT_EQ(pPaintManager->GetAppearance(), 0);
  pPaintManager->SetColor(3);  // not a set of its own: the default one
  EXPECT_NE(dynamic_cast<CTKPTabColorSetDefault*>(pPaintManager->GetColorSet()), nullptr);
  pPaintManager->InternalRelease();
}

// The luna palettes follow the visual style's colour scheme; without one, or with luna colours
// disabled, the sets fall back to the toolkit's colours.
class ColourSchemes : public ::testing::Test {
 protected:
  void TearDown() override { Force(kTKPSchemeAuto); }
  static void Force(int scheme) {
    TKPColorManager()->Table().SetForcedScheme(scheme);
    TKPColorManager()->RefreshColors();
  }
};

TEST_F(ColourSchemes, TheLunaSetTakesTheSchemesPalette) {
  auto* pm = new CTKPTabPaintManager;
  Force(kTKPSchemeOlive);
  auto* pLuna = static_cast<CTKPTabColorSetLuna*>(pm->SetColor(4));
  EXPECT_EQ(static_cast<COLORREF>(pLuna->m_clrFrameBorder), RGB(96, 128, 88));
  EXPECT_EQ(static_cast<COLORREF>(pLuna->m_clrNormalFace), RGB(208, 222, 170));
  EXPECT_EQ(static_cast<COLORREF>(pLuna->m_clrSelectedOutline[0]), RGB(96, 128, 88));
  EXPECT_EQ(static_cast<COLORREF>(pLuna->m_clrSelectedOutline[3]), kTKPNoColor);
  EXPECT_TRUE(pLuna->m_bLunaColors);
  pm->DisableLunaColors = TRUE;
  pLuna->RefreshMetrics();
  EXPECT_FALSE(pLuna->m_bLunaColors);
  EXPECT_EQ(static_cast<COLORREF>(pLuna->m_clrSelectedFace), TKPColorManager()->GetColor(36));
  // The light set with luna colours disabled: a plain strip and gradient tabs under the blue scheme.
  Force(kTKPSchemeBlue);
  auto* pLight = static_cast<CTKPTabColorSetLight*>(pm->SetColor(16));
  EXPECT_EQ(static_cast<COLORREF>(pLight->m_grcHeader.clrLight), RGB(228, 226, 213));
  EXPECT_TRUE(pLight->m_bGradientTabs);
  EXPECT_EQ(static_cast<COLORREF>(pLight->m_clrSelectedFace), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(pLight->m_clrFrameBorder), TKPColorManager()->GetColor(57));
  // Allowed again, it refreshes as the luna set.
  pm->DisableLunaColors = FALSE;
  pLight->RefreshMetrics();
  EXPECT_EQ(static_cast<COLORREF>(pLight->m_clrSelectedFace), RGB(255, 194, 115));
  EXPECT_FALSE(pLight->m_bGradientTabs);
  // The state buttons keep a plain strip.
  pm->SetAppearance(4);
  pm->SetColor(4);
  EXPECT_EQ(static_cast<COLORREF>(pm->GetColorSet()->m_grcHeader.clrDark), TKPColorManager()->GetColor(COLOR_BTNFACE));
  pm->InternalRelease();
}

TEST(TabPaintManager, AnOptionChangeLaysTheObserversOutAgain) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(300, 100));
  StripManager& m = strip.Manager();
  m.InsertItem(-1, _T("Partitions"));
  m.InsertItem(-1, _T("Files"));
  const CRect top = m.GetHeaderRect();
  // The classic strip: one row and its margin (3 above the tabs, none below).
  EXPECT_EQ(top.Height(), strip.PaintManager()->GetAppearanceObject()->GetButtonHeight(&m) + 3);
  EXPECT_EQ(top.top, 0);
  strip.PaintManager()->SetPosition(2);
  EXPECT_EQ(m.GetHeaderRect().bottom, 100);
  EXPECT_LT(m.GetClientRect().bottom, m.GetHeaderRect().top + 1);
}

TEST(TabPaintManager, StackedBarsFrameTheClientBetweenTheSelectedBarAndTheNext) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(200, 240));
  strip.PaintManager()->SetAppearance(8);
  StripManager& m = strip.Manager();
  for (LPCTSTR caption : {_T("Disk"), _T("Partitions"), _T("Files"), _T("Lost")}) m.InsertItem(-1, caption);
  m.SetCurSel(1);
  const int h = m.GetItem(0)->GetRect().Height();
  EXPECT_EQ(m.GetItem(0)->GetRect().top, 1);
  EXPECT_EQ(m.GetItem(1)->GetRect().top, 1 + h);
  EXPECT_EQ(m.GetItem(3)->GetRect().bottom, 240);
  EXPECT_EQ(m.GetItem(2)->GetRect().top, 240 - 2 * h);
  EXPECT_EQ(m.GetClientRect(), CRect(1, 1 + 2 * h, 199, 240 - 2 * h));
  EXPECT_TRUE(m.GetHeaderRect().IsRectEmpty());
  EXPECT_EQ(m.HitTest(CPoint(100, 240 - h / 2)), m.GetItem(3));
}

// A container measures its client area on a spare rectangle before (or without) laying its tabs out there:
// the bars must give the same client area as a layout in that rectangle would, not one taken from the
// bars' last places.
TEST(TabPaintManager, StackedBarsMeasureTheClientOfASpareRectangle) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(200, 120));
  strip.PaintManager()->SetAppearance(8);
  StripManager& m = strip.Manager();
  for (LPCTSTR caption : {_T("Disk"), _T("Partitions"), _T("Files")}) m.InsertItem(-1, caption);
  m.SetCurSel(0);
  const int h = m.GetItem(0)->GetRect().Height();
  const CRect spare(10, 20, 410, 1020);
  CRect measured = spare;
  strip.PaintManager()->AdjustClientRect(&m, measured);
  EXPECT_EQ(measured, CRect(11, 21 + h, 409, 1020 - 2 * h));
  CClientDC dc(&strip);
  strip.PaintManager()->RepositionTabControl(&m, &dc, spare);
  EXPECT_EQ(m.GetClientRect(), measured);
  EXPECT_EQ(m.GetItem(1)->GetRect().top, measured.bottom);
  m.SetCurSel(2);  // the last bar selected: the client runs to the bottom
  measured = spare;
  strip.PaintManager()->AdjustClientRect(&m, measured);
  EXPECT_EQ(measured, CRect(11, 21 + 3 * h, 409, 1020));
}

TEST(TabPaintManager, OnlyACutCaptionGetsATip) {
  StripWnd strip;
  ASSERT_TRUE(strip.Create(160, 80));
  StripManager& m = strip.Manager();
  CTKPTabManagerItem* pShort = m.InsertItem(-1, _T("Disk"));
  CTKPTabManagerItem* pLong = m.InsertItem(-1, _T("Deleted files and folders"));
  pShort->SetTooltip(_T("The whole disk"));
  pLong->SetTooltip(_T("Deleted files and folders"));
  strip.PaintManager()->SetLayout(1);
  ASSERT_LT(pLong->GetLength(), pLong->GetFullLength());
  TOOLINFO ti = {};
  ti.cbSize = sizeof ti;
  EXPECT_EQ(m.FillToolTipInfo(strip.m_hWnd, pShort, &ti), -1);
  EXPECT_EQ(m.FillToolTipInfo(strip.m_hWnd, pLong, &ti), 1);
  EXPECT_EQ(CRect(ti.rect), pLong->GetRect());
  EXPECT_EQ(std::wstring(ti.lpszText), L"Deleted files and folders");
  delete[] ti.lpszText;
  strip.PaintManager()->ToolTipMode = 1;
  ti = {};
  ti.cbSize = sizeof ti;
  EXPECT_EQ(m.FillToolTipInfo(strip.m_hWnd, pShort, &ti), 0);
  delete[] ti.lpszText;
  strip.PaintManager()->ToolTipMode = 0;
  EXPECT_EQ(m.FillToolTipInfo(strip.m_hWnd, pLong, &ti), -1);
  EXPECT_EQ(m.FillToolTipInfo(strip.m_hWnd, nullptr, &ti), -1);
}

}  // namespace
