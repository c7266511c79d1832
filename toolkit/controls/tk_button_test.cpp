// The themed button in real windows: owner-drawn from creation, hot tracking, pressing, the focus
// rectangle, private themes by style, a bitmap that does not load, and a gallery of every theme in its
// states (screenshots/toolkit_buttons_edits.png).
#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/controls/tk_button.h"
#include "toolkit/controls/tk_gallery_test_support.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ToolkitControls")) {}
};
TestApp theApp;

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, _T("Buttons"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200,
                                nullptr, nullptr));
  }
  void TearDown() override { m_host.DestroyWindow(); }
  CWnd m_host;
};

HICON SampleIcon() {
  return static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32516), IMAGE_ICON, 16, 16, LR_SHARED));
}

TEST_F(ButtonTest, IsOwnerDrawnFromCreationAndTracksTheMouse) {
  CTKButton button;
  ASSERT_TRUE(button.Create(_T("Browse"), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), &m_host, 5));
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(button.GetTKStyle(), tkbutton::kStyleFlat);
  ASSERT_TRUE(button.HasTheme());
  EXPECT_EQ(button.GetTheme()->m_nTheme, 0);

  CRect r;
  button.GetWindowRect(r);
  ::SetCursorPos(r.CenterPoint().x, r.CenterPoint().y);
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
  EXPECT_TRUE(button.IsHot());
  // Held down, the hot look ends at the next step; released and moved off, it stays off.
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
  EXPECT_TRUE(button.IsPressed());
  EXPECT_TRUE(harness::WaitUntil([&] { return !button.IsHot(); }, 2000));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
  EXPECT_FALSE(button.IsPressed());
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
  EXPECT_TRUE(button.IsHot());
  ::SetCursorPos(r.right + 100, r.bottom + 100);
  EXPECT_TRUE(harness::WaitUntil([&] { return !button.IsHot(); }, 2000));  // A double click presses the button again, as a second click.
  button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 15));
  EXPECT_TRUE(button.IsPressed());
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
  EXPECT_FALSE(button.IsPressed());
}

TEST_F(ButtonTest, PlainStyleDoesNotHotTrackAndFocusRectIsDrawn) {
  CTKButton button;
  ASSERT_TRUE(button.Create(_T("OK"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &m_host, 5));
  button.SetTKStyle(tkbutton::kStyleFocusRect);
  EXPECT_FALSE(button.GetTheme()->CanHotTrack(&button));
  CRect r;
  button.GetWindowRect(r);
  ::SetCursorPos(r.CenterPoint().x, r.CenterPoint().y);
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
  EXPECT_FALSE(button.IsHot());

  const COLORREF face = TKPColorManager()->GetColor(COLOR_BTNFACE);
  const auto focusPixels = [&](UINT state) {
    tkgallery::Canvas canvas(100, 30);
    DRAWITEMSTRUCT dis{};
    dis.hDC = canvas.DC();
    dis.rcItem = {0, 0, 100, 30};
    dis.itemState = state;
    button.DrawItem(&dis);
    int changed = 0;
    for (int x = 3; x < 97; ++x) changed += ::GetPixel(canvas.DC(), x, 2) != face;
    return changed;
  };
  EXPECT_EQ(focusPixels(0), 0);
  EXPECT_GT(focusPixels(ODS_FOCUS), 20);
}

TEST_F(ButtonTest, StyleBitsGivePrivateThemes) {
  CTKButton a, b;
  ASSERT_TRUE(a.Create(_T("A"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &m_host, 5));
  ASSERT_TRUE(b.Create(_T("B"), WS_CHILD | WS_VISIBLE, CRect(70, 10, 120, 40), &m_host, 6));
  EXPECT_EQ(a.GetTheme(), b.GetTheme());
  EXPECT_EQ(a.SetTKStyle(tkbutton::kStyleFlatTheme), tkbutton::kStyleFlat);
  ASSERT_TRUE(a.HasTheme());
  EXPECT_EQ(a.GetTheme()->m_nTheme, 1);
  EXPECT_NE(a.GetTheme(), b.GetTheme());
  EXPECT_TRUE(a.GetTheme()->CanHotTrack(&a));
  a.SetFlatColors(RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
  EXPECT_EQ(static_cast<CTKButtonThemeFlat*>(a.GetTheme())->m_clrHotFace, RGB(4, 5, 6));
  a.SetTKStyle(0);
  EXPECT_EQ(a.GetTheme(), b.GetTheme());
}

TEST_F(ButtonTest, IconsTakeTheirOwnSizeAndABadBitmapKeepsTheOldOne) {
  CTKButton button;
  ASSERT_TRUE(button.Create(_T("Go"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &m_host, 5));
  button.SetIcon(SampleIcon());
  ASSERT_NE(button.GetIcon(), nullptr);
  EXPECT_EQ(button.GetImageSize(), CSize(16, 16));
  CTKPImageManagerIcon* pBefore = button.GetIcon();
  EXPECT_FALSE(button.SetBitmap(CSize(16, 16), 0x7FF0));
  EXPECT_EQ(button.GetIcon(), pBefore);
  EXPECT_FALSE(button.SetIconFromResource(16, 16, 0x7FF1));
  EXPECT_EQ(button.GetIcon(), pBefore);
  EXPECT_TRUE(button.SetBitmap(CSize(0, 0), IDB_TREE_STATE_IMAGES));
  EXPECT_NE(button.GetIcon(), nullptr);
  EXPECT_EQ(button.GetImageSize().cy, 16);
}

TEST_F(ButtonTest, ImagePositionIsAtTheBorderGapOrCentredAboveAndCentredDown) {
  CTKButton button;
  ASSERT_TRUE(button.Create(_T("Go"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &m_host, 6));
  CTKButtonTheme* pTheme = button.GetTheme();
  ASSERT_NE(pTheme, nullptr);
  EXPECT_EQ(pTheme->CalcImagePosition(16, 16, &button), CPoint(4, 7));  // 100 x 30 client, border gap 4
  EXPECT_EQ(pTheme->CalcImagePosition(16, 40, &button), CPoint(4, 0));  // taller than the button: at the top
  button.SetTKStyle(tkbutton::kStyleImageAbove);
  EXPECT_EQ(button.GetTheme()->CalcImagePosition(16, 16, &button), CPoint(42, 7));
  EXPECT_EQ(button.GetTheme()->CalcImagePosition(120, 16, &button), CPoint(0, 7));
}

// A derived theme replaces any step of the drawing: the button's painting asks it for the font, the
// visual-style background and the text's place.
class CountingTheme : public CTKButtonTheme {
 public:
  mutable int fonts = 0;
  int backgrounds = 0, texts = 0;
  CFont* GetThemeFont(CTKButton* pButton) const override {
    ++fonts;
    return CTKButtonTheme::GetThemeFont(pButton);
  }
  BOOL DrawVisualStyleBackground(LPDRAWITEMSTRUCT lpDIS, CTKButton* pButton) override {
    ++backgrounds;
    return CTKButtonTheme::DrawVisualStyleBackground(lpDIS, pButton);
  }
  CPoint CalcTextPosition(UINT nState, const CRect& rcItem, CSize szText, CTKButton* pButton) override {
    ++texts;
    return CTKButtonTheme::CalcTextPosition(nState, rcItem, szText, pButton);
  }
};

TEST_F(ButtonTest, ADerivedThemeReplacesTheStepsOfTheDrawing) {
  CTKButton button;
  ASSERT_TRUE(button.Create(_T("Scan"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &m_host, 7));
  auto* theme = new CountingTheme;
  button.ThemeHost().SetTheme(theme);
  button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(theme->fonts, 0);
  EXPECT_GT(theme->backgrounds, 0);
  EXPECT_GT(theme->texts, 0);
}

TEST(ThemeSnapShot, TransparentControlsShowTheParentsClientArea) {
  HBRUSH red = ::CreateSolidBrush(RGB(200, 0, 0));
  CWnd parent;
  LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), red);
  ASSERT_TRUE(parent.CreateEx(0, cls, _T("Snapshot"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 120, nullptr,
                              nullptr));
  parent.UpdateWindow();
  harness::PumpFor(50);
  CWnd opaque, transparent;
  ASSERT_TRUE(opaque.CreateEx(0, _T("STATIC"), _T(""), WS_CHILD, CRect(10, 10, 60, 40), &parent, 1));
  ASSERT_TRUE(transparent.CreateEx(WS_EX_TRANSPARENT, _T("STATIC"), _T(""), WS_CHILD, CRect(10, 10, 60, 40), &parent, 2));
  CTKButtonTheme theme;
  tkgallery::Canvas canvas(50, 30);
  CDC* pDC = CDC::FromHandle(canvas.DC());
  EXPECT_FALSE(theme.DrawTransparentBack(pDC, &opaque));
  EXPECT_EQ(::GetPixel(canvas.DC(), 1, 1), RGB(255, 255, 255));
  EXPECT_TRUE(theme.DrawTransparentBack(pDC, &transparent));
  // From the client area: the caption and frame above and left of it do not show.
  EXPECT_EQ(::GetPixel(canvas.DC(), 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(::GetPixel(canvas.DC(), 49, 29), RGB(200, 0, 0));
  parent.DestroyWindow();
  ::DeleteObject(red);
}

}  // namespace
