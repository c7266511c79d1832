// The five command-bar themes in real DCs: the factory makes each by its id; pixel probes of a selected
// menu item, separators, check marks, the classic dither and the gradient toolbar body; the visual-styles
// theme without visual styles draws exactly as the classic theme; and a test frame showing the same bars
// in each theme (commandbars_themes.png: flat, gradient 2, gradient 4; commandbars_themes_0_3.png).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/paint/paint_test_support.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/paint/tkp_theme_gradient.h"
#include "toolkit/commandbars/paint/tkp_theme_visual_style.h"
#include "toolkit/commandbars/bars/toolbar_layout.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

using tkptest::Canvas;
using tkptest::Backdrop;
using tkptest::MakeBar;
using tkptest::MakeThemeColumn;
using tkptest::TestBar;

// A theme of the factory, refreshed, released at the end of the scope.
struct Theme {
  explicit Theme(int id) : p(CTKPPaintManager::CreateTheme(id)) { p->RefreshMetrics(); }
  ~Theme() { p->InternalRelease(); }
  Theme(const Theme&) = delete;
  Theme& operator=(const Theme&) = delete;
  CTKPPaintManager* operator->() const { return p; }
  CTKPPaintManager* p;
};

// A bar window of the given kind for the themes to measure against; the test owns its reference.
struct Bar {
  Bar(int type, int position, CRect rect) : p(new TestBar) {
    p->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), _T(""), WS_POPUP, rect, nullptr, 0);
    p->SetTypeForTest(type);
    p->SetPositionForTest(position);
  }
  ~Bar() {
    p->DestroyWindow();
    p->InternalRelease();
  }
  Bar(const Bar&) = delete;
  Bar& operator=(const Bar&) = delete;
  CTKPControl* Add(int type, const TCHAR* caption, CRect rect) {
    CTKPControl* control = p->GetControls()->Add(type, 0);
    control->SetCaption(CString(caption));
    control->SetRect(rect);
    return control;
  }
  TestBar* p;
};

int CountColor(const Canvas& canvas, CRect area, COLORREF clr) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += canvas.Pixel(x, y) == clr ? 1 : 0;
  }
  return count;
}

// ---- the factory ---------------------------------------------------------------------------------------

TEST(Themes, TheFactoryMakesEachThemeByItsId) {
  struct Case {
    int id;
    CRuntimeClass* cls;
    int base;
  };
  const Case cases[] = {{0, RUNTIME_CLASS(CTKPDefaultTheme), 0},  {1, RUNTIME_CLASS(CTKPFlatTheme), 1},
                        {2, RUNTIME_CLASS(CTKPGradientTheme), 2}, {3, RUNTIME_CLASS(CTKPNativeTheme), 3},
                        {4, RUNTIME_CLASS(CTKPSoftGradientTheme), 4}, {9, RUNTIME_CLASS(CTKPDefaultTheme), 0}};
  for (const Case& c : cases) {
    Theme theme(c.id);
    EXPECT_TRUE(theme->IsKindOf(c.cls)) << c.id;
    EXPECT_EQ(theme->BaseTheme(), c.base) << c.id;
    EXPECT_EQ(theme->GetCurrentTheme(), c.id);
  }
  // The soft theme is a gradient theme, the visual-styles theme a classic one.
  EXPECT_TRUE(Theme(4)->IsKindOf(RUNTIME_CLASS(CTKPGradientTheme)));
  EXPECT_TRUE(Theme(3)->IsKindOf(RUNTIME_CLASS(CTKPDefaultTheme)));
  EXPECT_TRUE(Theme(1)->IsShadowSupported());
  EXPECT_FALSE(Theme(0)->IsShadowSupported());
}

// ---- selected menu items, check marks and separators, theme by theme ----------------------------------

TEST(Themes, TheClassicSelectedMenuItemIsFilledUnderReadableText) {
  Theme theme(0);
  Bar popup(tkpBarTypePopup, tkpBarPopup, CRect(0, 0, 200, 60));
  CTKPControl* item = popup.Add(tkpControlButton, _T("&Recover"), CRect(3, 3, 197, 25));
  item->OnSetSelected(1);
  Canvas canvas(200, 60);
  theme->DrawControl(&canvas.dc, item, TRUE);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(canvas.Pixel(5, 5), highlight);
  EXPECT_EQ(canvas.Pixel(190, 22), highlight);
  // The caption is drawn in the highlight text colour over the fill.
  EXPECT_GT(CountColor(canvas, CRect(30, 3, 110, 25), ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
  // Not selected: no fill, text in the button text colour.
  item->OnSetSelected(0);
  canvas.Clear();
  theme->DrawControl(&canvas.dc, item, TRUE);
  EXPECT_EQ(canvas.Pixel(190, 22), RGB(255, 255, 255));
  EXPECT_GT(CountColor(canvas, CRect(30, 3, 110, 25), ::GetSysColor(COLOR_BTNTEXT)), 10);
}

TEST(Themes, FlatAndGradientMenuItemsHighlightAndCheck) {
  for (int id : {1, 2, 4}) {
    Theme theme(id);
    Bar popup(tkpBarTypePopup, tkpBarPopup, CRect(0, 0, 200, 60));
    CTKPControl* item = popup.Add(tkpControlButton, _T("Show &toolbar"), CRect(3, 3, 197, 25));
    item->OnSetSelected(1);
    Canvas canvas(200, 60);
    theme->DrawControl(&canvas.dc, item, TRUE);
    // A hot item: fill colour 31 inside a frame of colour 32.
    EXPECT_EQ(canvas.Pixel(180, 14), theme->GetPaintColor(31)) << id;
    EXPECT_EQ(canvas.Pixel(3, 3), theme->GetPaintColor(32)) << id;
    EXPECT_EQ(canvas.Pixel(196, 24), theme->GetPaintColor(32)) << id;
    // Checked, not selected, without an icon: the box framed 50 over 36 and a check mark in colour 40.
    item->OnSetSelected(0);
    item->SetChecked(TRUE);
    canvas.Clear();
    theme->DrawControl(&canvas.dc, item, TRUE);
    EXPECT_EQ(canvas.Pixel(3, 3), theme->GetPaintColor(50)) << id;
    const int column = std::max<int>(16 + 4, theme->GetRowHeight() + 4);
    const CPoint centre(3 + column / 2, 14);
    EXPECT_EQ(canvas.Pixel(centre.x - 2, centre.y + 1), theme->GetPaintColor(40)) << id;
    EXPECT_EQ(canvas.Pixel(centre.x + 2, centre.y - 3), theme->GetPaintColor(40)) << id;
  }
}

// A menu that shows check marks and icons in two columns: its icon column doubles, the checked item's
// icon moves to the second column in its checked box and the check mark shows beside it in the first.
TEST(Themes, TwoColumnMenusShowTheCheckMarkBesideTheIcon) {
  static const UINT kCommands[] = {ID_OPEN_IMAGE};
  for (int id : {0, 1}) {
    Theme theme(id);
    CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(nullptr);
    CTKPImageManager* images = new CTKPImageManager;
    images->SetIconsFromResource(IDR_MAINFRAME, kCommands, 1, CSize(32, 32));
    popup->SetImageManager(images);
    popup->SetIconSize(CSize(16, 16));
    CTKPControl* item = popup->GetControls()->Add(tkpControlButton, ID_OPEN_IMAGE);
    item->SetCaption(CString(_T("&Open")));
    item->SetChecked(TRUE);
    Canvas canvas(300, 60);
    const int column = std::max<int>(16 + 4, theme->GetRowHeight() + (id == 0 ? 0 : 4));
    const CSize one = theme->DrawControl(&canvas.dc, item, FALSE);
    popup->SetDoubleGripper(TRUE);
    const CSize two = theme->DrawControl(&canvas.dc, item, FALSE);
    EXPECT_EQ(two.cx - one.cx, column) << id;
    item->SetRect(CRect(3, 3, 3 + two.cx, 25));
    canvas.Clear();
    theme->DrawControl(&canvas.dc, item, TRUE);
    const COLORREF check = theme->GetPaintColor(id == 0 ? COLOR_BTNTEXT : 40);
    const CPoint centre(3 + column / 2, 14);
    EXPECT_EQ(canvas.Pixel(centre.x - 2, centre.y + 1), check) << id;
    EXPECT_EQ(canvas.Pixel(centre.x + 2, centre.y - 3), check) << id;
    // The checked box frames the second column: sunken in the classic theme, colour 50 in the flat one.
    EXPECT_EQ(canvas.Pixel(3 + column, 3), theme->GetPaintColor(id == 0 ? COLOR_BTNSHADOW : 50)) << id;
    const CRect second(3 + column + 2, 5, 3 + 2 * column - 2, 23);
    int icon = 0;
    for (int y = second.top; y < second.bottom; ++y) {
      for (int x = second.left; x < second.right; ++x) icon += canvas.Pixel(x, y) == check ? 0 : 1;
    }
    EXPECT_GT(icon, 20) << id;
    popup->InternalRelease();
  }
}

// A floating flat bar: two frames in colour 43 over colour 30, with the corner pixels at (2, 2),
// (right - 2, 2), (2, bottom - 2) and (right - 2, bottom - 2) in colour 43.
TEST(Themes, TheFloatingFlatBarsCornerPixels) {
  Theme theme(1);
  Bar floating(tkpBarTypeNormal, tkpBarFloating, CRect(0, 0, 100, 40));
  Canvas canvas(100, 40);
  theme->FillCommandBar(&canvas.dc, floating.p);
  const COLORREF frame = theme->GetPaintColor(43), fill = theme->GetPaintColor(30);
  EXPECT_EQ(canvas.Pixel(2, 2), frame);
  EXPECT_EQ(canvas.Pixel(98, 2), frame);
  EXPECT_EQ(canvas.Pixel(2, 38), frame);
  EXPECT_EQ(canvas.Pixel(98, 38), frame);
  EXPECT_EQ(canvas.Pixel(97, 2), fill);
  EXPECT_EQ(canvas.Pixel(2, 37), fill);
  EXPECT_EQ(canvas.Pixel(97, 37), fill);
  EXPECT_EQ(canvas.Pixel(50, 20), fill);
}

TEST(Themes, TheClassicCheckedButtonIsDitheredAndSunken) {
  Theme theme(0);
  Canvas canvas(40, 40);
  theme->DrawRectangle(&canvas.dc, CRect(4, 4, 28, 28), FALSE, FALSE, TRUE, TRUE, FALSE, TRUE, tkpBarTop);
  EXPECT_EQ(canvas.Pixel(4, 4), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(27, 27), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  // Neighbouring pixels of the dither alternate between face and highlight.
  const COLORREF a = canvas.Pixel(10, 10), b = canvas.Pixel(11, 10), c = canvas.Pixel(11, 11);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, c);
  EXPECT_TRUE(a == ::GetSysColor(COLOR_BTNFACE) || a == ::GetSysColor(COLOR_BTNHIGHLIGHT));
  // Hovering it draws it sunken without the dither.
  canvas.Clear();
  theme->DrawRectangle(&canvas.dc, CRect(4, 4, 28, 28), TRUE, FALSE, TRUE, TRUE, FALSE, TRUE, tkpBarTop);
  EXPECT_EQ(canvas.Pixel(4, 4), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.Pixel(10, 10), RGB(255, 255, 255));
}

TEST(Themes, SeparatorsOnToolbarsAndMenus) {
  Bar toolbar(tkpBarTypeNormal, tkpBarTop, CRect(0, 0, 200, 30));
  CTKPControl* control = toolbar.Add(tkpControlButton, _T("Find"), CRect(50, 3, 73, 26));
  Bar popup(tkpBarTypePopup, tkpBarPopup, CRect(0, 0, 200, 60));
  CTKPControl* item = popup.Add(tkpControlButton, _T("Exit"), CRect(3, 30, 197, 52));
  Canvas canvas(200, 60);
  {
    Theme flat(1);
    EXPECT_EQ(flat->DrawCommandBarSeparator(&canvas.dc, toolbar.p, control, FALSE), CSize(6, 6));
    EXPECT_EQ(flat->DrawCommandBarSeparator(&canvas.dc, popup.p, item, FALSE), CSize(3, 3));
    flat->DrawCommandBarSeparator(&canvas.dc, toolbar.p, control, TRUE);
    EXPECT_EQ(canvas.Pixel(46, 10), flat->GetPaintColor(39));
    EXPECT_EQ(canvas.Pixel(47, 10), RGB(255, 255, 255));
    flat->DrawCommandBarSeparator(&canvas.dc, popup.p, item, TRUE);
    EXPECT_EQ(canvas.Pixel(150, 28), flat->GetPaintColor(39));
  }
  for (int id : {2, 4}) {
    canvas.Clear();
    Theme theme(id);
    theme->DrawCommandBarSeparator(&canvas.dc, toolbar.p, control, TRUE);
    EXPECT_EQ(canvas.Pixel(46, 10), theme->GetPaintColor(39)) << id;
    // The light edge beside the line; the soft theme leaves it out between controls of one row.
    EXPECT_EQ(canvas.Pixel(47, 10), id == 2 ? theme->GetPaintColor(20) : RGB(255, 255, 255)) << id;
  }
  {
    canvas.Clear();
    Theme classic(0);
    EXPECT_EQ(classic->DrawCommandBarSeparator(&canvas.dc, popup.p, item, FALSE), CSize(8, 8));
    classic->DrawCommandBarSeparator(&canvas.dc, toolbar.p, control, TRUE);
    EXPECT_EQ(canvas.Pixel(46, 10), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.Pixel(47, 10), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

TEST(Themes, TheGradientToolbarBodyHasRoundedCornersAndAShadowLine) {
  Theme theme(2);
  auto* gradient = static_cast<CTKPGradientTheme*>(theme.p);
  Bar toolbar(tkpBarTypeNormal, tkpBarTop, CRect(0, 0, 200, 30));
  toolbar.Add(tkpControlButton, _T("Open"), CRect(8, 3, 60, 26));
  Canvas canvas(200, 30);
  theme->FillCommandBar(&canvas.dc, toolbar.p);
  EXPECT_EQ(canvas.Pixel(100, 28), static_cast<COLORREF>(gradient->m_clrShadowLine));
  // The corner of the body and the left strip show what lies behind the bar, not the body.
  EXPECT_NE(canvas.Pixel(3, 1), canvas.Pixel(4, 2));
  EXPECT_NE(canvas.Pixel(1, 15), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(100, 1), static_cast<COLORREF>(gradient->m_grcToolBar.clrLight));
}

// Around its rounded body a docked toolbar shows its dock bar's face: the dark end of the dock gradient on the
// right dock bar, the gradient on the others.
TEST(Themes, AGradientToolbarShowsItsDockBarsFaceAroundItsBody) {
  Theme theme(2);
  auto* gradient = static_cast<CTKPGradientTheme*>(theme.p);
  theme->SetColorSchemeMode(1);
  theme->RefreshMetrics();
  const COLORREF dark = gradient->m_grcDock.clrDark;
  CWnd host;
  host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), _T(""), WS_POPUP, CRect(0, 0, 300, 300),
                nullptr, 0);
  struct Dock {
    DWORD style;
    int position;
    bool solid;
  };
  for (const Dock& side : {Dock{CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT, tkpBarRight, true},
                           Dock{CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT, tkpBarLeft, false}}) {
    CTKPDockBar dock(nullptr);
    ASSERT_TRUE(dock.Create(&host, WS_CHILD, side.style, 59420));
    dock.MoveWindow(CRect(0, 0, 30, 300));
    TestBar* bar = MakeBar(&dock, CRect(0, 0, 30, 200), tkpBarTypeNormal, side.position, theme.p);
    Canvas canvas(30, 200);
    theme->FillCommandBar(&canvas.dc, bar);
    // The three rows above the body and the body's corner pixel.
    for (const CPoint pt : {CPoint(15, 0), CPoint(15, 2), CPoint(1, 3)}) {
      if (side.solid) {
        EXPECT_EQ(canvas.Pixel(pt.x, pt.y), dark) << side.position << " " << pt.x << "," << pt.y;
      } else {
        EXPECT_NE(canvas.Pixel(pt.x, pt.y), dark) << side.position << " " << pt.x << "," << pt.y;
      }
    }
    // The body itself is the bar gradient.
    EXPECT_NE(canvas.Pixel(15, 10), dark) << side.position;
    bar->DestroyWindow();
    bar->InternalRelease();
    dock.DestroyWindow();
  }
  host.DestroyWindow();
}

TEST(Themes, BordersGrippersAndTheExpandButtonMeasurePerTheme) {
  Bar toolbar(tkpBarTypeNormal, tkpBarTop, CRect(0, 0, 200, 30));
  Bar left(tkpBarTypeNormal, tkpBarLeft, CRect(0, 0, 30, 200));
  Bar popup(tkpBarTypePopup, tkpBarPopup, CRect(0, 0, 200, 60));
  Canvas canvas(200, 200);
  CTKPControl* expand = toolbar.Add(tkpControlButton, _T(""), CRect());
  for (int id : {0, 1, 2, 4}) {
    Theme theme(id);
    const bool gradient = id == 2 || id == 4;
    EXPECT_EQ(theme->GetCommandBarBorders(toolbar.p), gradient ? CRect(4, 2, 2, 2) : CRect(2, 2, 2, 2)) << id;
    EXPECT_EQ(theme->GetCommandBarBorders(popup.p), id == 0 ? CRect(3, 3, 3, 3) : CRect(2, 2, 2, 2)) << id;
    EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, toolbar.p, FALSE), CSize(6, 0)) << id;
    EXPECT_EQ(theme->DrawCommandBarGripper(&canvas.dc, left.p, FALSE), CSize(0, gradient ? 9 : 8)) << id;
    EXPECT_EQ(theme->DrawTearOffGripper(&canvas.dc, CRect(0, 0, 100, 9), FALSE, FALSE), CSize(0, id == 0 ? 8 : 9));
    // The expand button sits at the bar's right end: 12 pixels across in the gradient themes, else 13.
    theme->DrawSpecialControl(&canvas.dc, tkpSpecialToolbarExpand, expand, toolbar.p, FALSE, CSize(200, 30));
    EXPECT_EQ(expand->GetRect(), gradient ? CRect(188, 2, 198, 28) : CRect(187, 2, 198, 28)) << id;
    EXPECT_EQ(theme->DrawSpecialControl(&canvas.dc, tkpSpecialPopupExpand, expand, popup.p, FALSE, CSize()),
              gradient ? CSize(0, 18) : CSize(0, 12))
        << id;
  }
  // A dialog bar's gripper is taller than a row.
  Theme flat(1);
  EXPECT_EQ(flat->DrawDialogBarGripper(&canvas.dc, toolbar.p, FALSE).cy, std::max<int>(22, flat->GetRowHeight() + 4));
}

// ---- colour schemes --------------------------------------------------------------------------------------

TEST(Themes, TheGradientThemeTakesTheColoursOfItsScheme) {
  Theme theme(2);
  auto* gradient = static_cast<CTKPGradientTheme*>(theme.p);
  theme->SetColorSchemeMode(1);
  theme->RefreshMetrics();
  EXPECT_TRUE(gradient->AreSchemeColorsActive());
  EXPECT_EQ(theme->GetPaintColor(32), RGB(0, 0, 128));
  EXPECT_EQ(theme->GetPaintColor(35), RGB(141, 141, 141));
  theme->SetColorSchemeMode(3);
  theme->RefreshMetrics();
  EXPECT_EQ(theme->GetPaintColor(32), RGB(75, 75, 111));
  EXPECT_EQ(static_cast<COLORREF>(gradient->m_grcDock.clrLight), RGB(215, 215, 229));
  // Without a scheme: the system colours' defaults, and colour 35 stays the colour manager's.
  theme->SetColorSchemeMode(0);
  theme->RefreshMetrics();
  EXPECT_FALSE(gradient->AreSchemeColorsActive());
  Theme flat(1);
  EXPECT_EQ(theme->GetPaintColor(35), flat->GetPaintColor(35));
  EXPECT_EQ(static_cast<COLORREF>(gradient->m_grcDock.clrLight), ::GetSysColor(COLOR_BTNFACE));
  // A scheme's button highlights are gradients; without one they are the flat rectangles.
  Canvas canvas(40, 40);
  theme->DrawRectangle(&canvas.dc, CRect(4, 4, 28, 28), TRUE, FALSE, TRUE, FALSE, FALSE, TRUE, tkpBarTop);
  EXPECT_EQ(canvas.Pixel(10, 10), theme->GetPaintColor(31));
  theme->SetColorSchemeMode(1);
  theme->RefreshMetrics();
  canvas.Clear();
  theme->DrawRectangle(&canvas.dc, CRect(4, 4, 28, 28), TRUE, FALSE, TRUE, FALSE, FALSE, TRUE, tkpBarTop);
  EXPECT_EQ(canvas.Pixel(4, 4), RGB(0, 0, 128));
  EXPECT_NE(canvas.Pixel(10, 6), canvas.Pixel(10, 26));  // shaded top to bottom
}

// The soft theme takes the system scheme's colours, yet keeps the highlights of its own mode (no scheme):
// flat rectangles, not the gradient theme's shaded ones.
TEST(Themes, TheSoftThemeTakesTheSchemesColoursButNotItsHighlights) {
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeSilver);
  Theme theme(4);
  auto* soft = static_cast<CTKPGradientTheme*>(theme.p);
  theme->RefreshMetrics();
  EXPECT_EQ(static_cast<COLORREF>(soft->m_grcDock.clrLight), RGB(215, 215, 229));
  EXPECT_EQ(theme->GetPaintColor(32), RGB(75, 75, 111));
  EXPECT_FALSE(soft->AreSchemeColorsActive());
  Canvas canvas(40, 40);
  theme->DrawRectangle(&canvas.dc, CRect(4, 4, 28, 28), TRUE, FALSE, TRUE, FALSE, FALSE, TRUE, tkpBarTop);
  EXPECT_EQ(canvas.Pixel(10, 6), canvas.Pixel(10, 26));  // one colour, not shaded
  EXPECT_EQ(canvas.Pixel(10, 10), theme->GetPaintColor(31));
  TKPColorManager()->Table().SetForcedScheme(kTKPSchemeAuto);
}

// ---- the visual-styles theme without visual styles -------------------------------------------------------

TEST(Themes, WithoutVisualStylesTheNativeThemeDrawsAsTheClassicOne) {
  TKPSetThemeLibraryMissingForTesting(true);
  Theme native(3);
  Theme classic(0);
  auto* pNative = static_cast<CTKPNativeTheme*>(native.p);
  EXPECT_FALSE(pNative->IsToolbarThemed());
  EXPECT_FALSE(pNative->IsRebarThemed());
  Bar toolbar(tkpBarTypeNormal, tkpBarTop, CRect(0, 0, 120, 30));
  Canvas a(120, 40), b(120, 40);
  const BOOL states[][4] = {{0, 0, 1, 0}, {1, 0, 1, 0}, {1, 1, 1, 0}, {0, 0, 1, 1}, {0, 0, 0, 1}, {2, 0, 0, 0}};
  for (const auto& s : states) {
    a.Clear();
    b.Clear();
    native->DrawRectangle(&a.dc, CRect(4, 4, 40, 30), s[0], s[1], s[2], s[3], FALSE, TRUE, tkpBarTop);
    classic->DrawRectangle(&b.dc, CRect(4, 4, 40, 30), s[0], s[1], s[2], s[3], FALSE, TRUE, tkpBarTop);
    EXPECT_EQ(a.Pixels(), b.Pixels());
  }
  a.Clear();
  b.Clear();
  native->FillCommandBar(&a.dc, toolbar.p);
  classic->FillCommandBar(&b.dc, toolbar.p);
  EXPECT_EQ(a.Pixels(), b.Pixels());
  EXPECT_EQ(native->DrawCommandBarGripper(&a.dc, toolbar.p, FALSE),
            classic->DrawCommandBarGripper(&b.dc, toolbar.p, FALSE));
  // Only the menu text differs: the menu text colour.
  EXPECT_EQ(pNative->m_nPopupTextColor, COLOR_MENUTEXT);
  TKPSetThemeLibraryMissingForTesting(false);
}

// ---- the themes side by side -----------------------------------------------------------------------------

// One column of the gallery: a toolbar on its backdrop and an open menu below it, in one theme.
struct Column {
  Backdrop* backdrop = nullptr;
  TestBar* toolbar = nullptr;
  TestBar* menu = nullptr;
};

Column MakeColumn(CWnd* frame, int left, CTKPPaintManager* paint, const TCHAR* title) {
  Column c;
  c.backdrop = MakeThemeColumn(frame, CRect(left, 0, left + 250, 300), paint, title);
  c.toolbar = MakeBar(c.backdrop, CRect(4, 28, 246, 58), tkpBarTypeNormal, tkpBarTop, paint);
  CTKPControls* tools = c.toolbar->GetControls();
  for (UINT id : {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_FIND_FILES, ID_SETTINGS, ID_HELP}) {
    CTKPControl* control = tools->Add(id == ID_SETTINGS ? tkpControlSplitButtonPopup : tkpControlButton,
                                      static_cast<int>(id));
    control->SetBeginGroup(id == ID_SAVE_SNAPSHOT || id == ID_FIND_FILES);
  }
  tools->GetAt(0)->SetCaption(CString(_T("&Open")));
  tools->GetAt(0)->SetStyle(tkpButtonIconAndCaption);
  tools->GetAt(1)->SetEnabled(FALSE);
  tools->GetAt(3)->SetChecked(TRUE);
  {
    CClientDC dc(c.toolbar);
    c.toolbar->GetControls()->CalcDynamicSize(&dc, 242, kTKPLayoutHorzDock | kTKPLayoutHorizontal | kTKPLayoutCommit,
                                              paint->GetCommandBarBorders(c.toolbar));
  }
  tools->GetAt(5)->OnSetSelected(1);

  c.menu = MakeBar(c.backdrop, CRect(10, 70, 230, 290), tkpBarTypePopup, tkpBarPopup, paint);
  struct Item {
    const TCHAR* caption;
    const TCHAR* keys;
    int type;
    UINT icon;
  };
  const Item items[] = {{_T("&Open Image..."), _T("Ctrl+O"), tkpControlButton, ID_OPEN_IMAGE},
                        {_T("&Recover"), _T("Ctrl+R"), tkpControlButton, ID_RECOVER_SELECTED},
                        {_T("Show &Toolbar"), _T(""), tkpControlButton, 0},
                        {_T("Show &Status Bar"), _T(""), tkpControlButton, 0},
                        {_T("&Find Files..."), _T("Ctrl+F"), tkpControlButton, ID_FIND_FILES},
                        {_T("Recent &Images"), _T(""), tkpControlPopup, 0},
                        {_T("E&xit"), _T("Alt+F4"), tkpControlButton, 0}};
  const int height = std::max<int>(22, paint->GetRowHeight());
  int y = 3;
  int index = 0;
  for (const Item& item : items) {
    CTKPControl* control = c.menu->GetControls()->Add(item.type, static_cast<int>(item.icon));
    control->SetCaption(CString(item.caption));
    control->SetShortcutText(CString(item.keys));
    const bool group = index == 4 || index == 6;
    if (group) {
      control->SetBeginGroup(TRUE);
      y += paint->DrawCommandBarSeparator(nullptr, c.menu, control, FALSE).cy + 5;
    }
    control->SetRect(CRect(3, y, 217, y + height));
    y += height;
    ++index;
  }
  CTKPControls* menu = c.menu->GetControls();
  menu->GetAt(1)->OnSetSelected(1);
  menu->GetAt(2)->SetChecked(TRUE);
  menu->GetAt(3)->SetChecked(TRUE);
  menu->GetAt(4)->SetEnabled(FALSE);
  c.menu->MoveWindow(CRect(10, 70, 230, 70 + y + 3));
  return c;
}

struct GalleryTheme {
  int id;
  const TCHAR* title;
  bool withoutStyles;  // refreshed as on a system without visual styles
  int scheme;          // the colour scheme the theme follows; -1 its own choice
};

void ShowGallery(std::initializer_list<GalleryTheme> themes, const char* shot) {
  CFrameWnd* frame = new CFrameWnd;
  const int width = static_cast<int>(themes.size()) * 256 + 10;
  ASSERT_TRUE(frame->Create(nullptr, _T("Command bar themes"), WS_OVERLAPPEDWINDOW, CRect(20, 20, 20 + width, 370)));
  std::vector<Column> columns;
  std::vector<CTKPPaintManager*> paints;
  int left = 2;
  for (const auto& t : themes) {
    CTKPPaintManager* paint = CTKPPaintManager::CreateTheme(t.id);
    if (t.scheme >= 0) paint->SetColorSchemeMode(t.scheme);
    // The bars refresh their theme when they take it: both happen as on a system without visual styles.
    TKPSetThemeLibraryMissingForTesting(t.withoutStyles);
    paint->RefreshMetrics();
    paints.push_back(paint);
    columns.push_back(MakeColumn(frame, left, paint, t.title));
    TKPSetThemeLibraryMissingForTesting(false);
    left += 256;
  }
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  harness::PumpFor(300);
  EXPECT_FALSE(harness::CaptureWindow(frame->GetSafeHwnd(), shot).empty());
  // Whatever colours a theme picks, its selected menu item stands out from the one above it.
  for (size_t i = 0; i < columns.size(); ++i) {
    const Column& c = columns[i];
    CTKPControls* menu = c.menu->GetControls();
    EXPECT_NE(harness::CommonColour(c.menu->m_hWnd, menu->GetAt(1)->GetRect()),
              harness::CommonColour(c.menu->m_hWnd, menu->GetAt(0)->GetRect()))
        << "column " << i << ": the selected menu item looks like the others";
  }
  for (Column& c : columns) {
    c.toolbar->InternalRelease();
    c.menu->InternalRelease();
  }
  frame->DestroyWindow();
  for (CTKPPaintManager* paint : paints) paint->InternalRelease();
}

TEST(ThemeGallery, FlatAndGradientThemesSideBySide) {
  ShowGallery({{1, _T("Flat (1)"), false, -1},
               {2, _T("Gradient (2)"), false, -1},
               {4, _T("Soft gradient (4)"), false, -1},
               {2, _T("Gradient (2), blue scheme"), false, 1}},
              "commandbars_themes");
}

TEST(ThemeGallery, ClassicAndVisualStylesThemesSideBySide) {
  ShowGallery({{0, _T("Classic (0)"), false, -1},
               {3, _T("Visual styles (3)"), false, -1},
               {3, _T("Visual styles (3) without styles"), true, -1}},
              "commandbars_themes_0_3");
}

}  // namespace
