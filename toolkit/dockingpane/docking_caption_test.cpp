// The docking paint manager and the caption buttons under Wine: colours by index, the caption fonts'
// heights, buttons laid out from the caption's far end (invisible ones take no room), the modal press of
// a button (released outside, Escape, another window holding the capture), the tooltips of buttons and
// tabs, and the splitter styles.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/dockingpane/docking_test_frame.h"
#include "toolkit/dockingpane/tkp_docking_pane_paint_manager.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("DockingCaptionTest")) {}
};
TestApp theApp;

using namespace docktest;

class DockingCaptionTest : public DockingFrameTest {
 protected:
  CTKPDockingPaneTabbedContainer* Group(UINT id) const {
    return static_cast<CTKPDockingPaneTabbedContainer*>(frame->manager.FindPane(id)->GetContainer());
  }
  CTKPDockingPanePaintManager* Paint() const { return frame->manager.GetPaintManager(); }
};

TEST_F(DockingCaptionTest, ColoursFontsAndTheTabPaintManagersOfThePaintManager) {
  CTKPDockingPanePaintManager* paint = Paint();
  EXPECT_EQ(paint->GetColor(62), 62u);
  EXPECT_EQ(paint->GetColor(0x00336699), 0x00336699u);
  EXPECT_EQ(paint->GetColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
  const int index = 40;
  const COLORREF colour = RGB(1, 2, 3);
  paint->SetColors(1, &index, &colour);
  EXPECT_EQ(paint->GetColor(40), colour);
  // The groups' tabs lie along the bottom, the panels' tabs draw no frame lines.
  ASSERT_NE(paint->GetTabPaintManager(), nullptr);
  ASSERT_NE(paint->GetPanelPaintManager(), nullptr);
  EXPECT_EQ(paint->GetTabPaintManager()->GetPosition(), 2);
  EXPECT_EQ(paint->GetTabPaintManager()->GetLayout(), 1);
  EXPECT_EQ(paint->GetPanelPaintManager()->GetLayout(), 3);
  EXPECT_EQ(paint->GetPanelPaintManager()->ClientBorderStyle, 2);
  // A tiny caption font still gives a caption 13 pixels of text high; its vertical font is -11 high.
  LOGFONT lf{};
  lf.lfHeight = -5;
  lstrcpyW(lf.lfFaceName, L"Arial");
  paint->SetCaptionFont(&lf, FALSE);
  EXPECT_EQ(paint->m_nTitleHeight, 13 + paint->m_nTitleHeightOffset);
  LOGFONT vertical{};
  ::GetObjectW(paint->m_fntTitleVertical.GetSafeHandle(), sizeof(vertical), &vertical);
  EXPECT_EQ(vertical.lfHeight, -11);
  EXPECT_EQ(vertical.lfEscapement, 2700);
  EXPECT_FALSE(paint->m_bUseSystemFont);
  // A null font only records the choice.
  paint->SetCaptionFont(nullptr, TRUE);
  EXPECT_TRUE(paint->m_bUseSystemFont);
  EXPECT_EQ(paint->m_nTitleHeight, 13 + paint->m_nTitleHeightOffset);
}

TEST_F(DockingCaptionTest, ButtonsStandFromTheFarEndAndInvisibleOnesTakeNoRoom) {
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  CClientDC dc(bottom);
  const std::vector<CTKPDockingPaneCaptionButton*>& buttons = bottom->GetCaptionButtons();
  CRect rc(10, 0, 210, 20);
  Paint()->DrawCaptionButtons(&dc, buttons, rc, 0, 14, 2, FALSE);
  // Close first at the far end, then the pin; maximize, restore and menu are not shown.
  EXPECT_EQ(bottom->FindCaptionButton(TKP_IDC_DOCKING_CLOSE)->GetRect(), CRect(196, 3, 210, 17));
  EXPECT_EQ(bottom->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE)->GetRect(), CRect(180, 3, 194, 17));
  EXPECT_TRUE(bottom->FindCaptionButton(TKP_IDC_DOCKING_MENU)->GetRect().IsRectEmpty());
  EXPECT_TRUE(bottom->FindCaptionButton(TKP_IDC_DOCKING_MAXIMIZE)->GetRect().IsRectEmpty());
  EXPECT_EQ(rc.right, 178);  // the title stops at the next free slot's far edge
  // Vertical: from the bottom up.
  rc = CRect(0, 10, 20, 210);
  Paint()->DrawCaptionButtons(&dc, buttons, rc, 0, 14, 2, TRUE);
  EXPECT_EQ(bottom->FindCaptionButton(TKP_IDC_DOCKING_CLOSE)->GetRect(), CRect(3, 196, 17, 210));
  EXPECT_EQ(rc.bottom, 178);
  // No visible button: the caption keeps its far edge.
  for (CTKPDockingPane* pane : bottom->GetPanes()) pane->SetOptions(tkpPaneNoCloseable | tkpPaneNoHideable);
  rc = CRect(10, 0, 210, 20);
  Paint()->DrawCaptionButtons(&dc, buttons, rc, 0, 14, 2, FALSE);
  EXPECT_EQ(rc.right, 210);
  EXPECT_TRUE(bottom->FindCaptionButton(TKP_IDC_DOCKING_CLOSE)->GetRect().IsRectEmpty());
}

TEST_F(DockingCaptionTest, APressEndsTrueOnlyWhenReleasedOverTheButton) {
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CTKPDockingPaneCaptionButton* pin = bottom->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE);
  const CPoint centre = pin->GetRect().CenterPoint();
  bottom->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  EXPECT_TRUE(pin->Click(bottom, centre));
  EXPECT_FALSE(pin->m_bPressed);
  EXPECT_EQ(::GetCapture(), nullptr);
  bottom->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.x, centre.y + 40));
  bottom->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y + 40));
  EXPECT_FALSE(pin->Click(bottom, centre));
  bottom->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(pin->Click(bottom, centre));
  EXPECT_EQ(::GetCapture(), nullptr);
  // Another window holds the capture: the press is ignored at once.
  ::SetCapture(frame->GetSafeHwnd());
  EXPECT_FALSE(pin->Click(bottom, centre));
  EXPECT_EQ(::GetCapture(), frame->GetSafeHwnd());
  ::ReleaseCapture();
  // Hover: entering the button makes it hot, leaving it cools it.
  pin->CheckForMouseOver(CPoint(-1, -1));
  EXPECT_FALSE(pin->m_bHot);
  EXPECT_TRUE(pin->CheckForMouseOver(centre));
  EXPECT_TRUE(pin->m_bHot);
  EXPECT_FALSE(pin->CheckForMouseOver(centre + CPoint(0, 40)));
  EXPECT_FALSE(pin->m_bHot);
}

TEST_F(DockingCaptionTest, CaptionButtonsAndTabsHaveTheirTips) {
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  bottom->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  TOOLINFO ti{};
  ti.cbSize = sizeof(ti);
  const CPoint close = bottom->FindCaptionButton(TKP_IDC_DOCKING_CLOSE)->GetRect().CenterPoint();
  EXPECT_EQ(bottom->OnToolHitTest(close, &ti), static_cast<INT_PTR>(TKP_IDC_DOCKING_CLOSE));
  EXPECT_STREQ(ti.lpszText, L"Close");
  ::free(ti.lpszText);
  ti = TOOLINFO{};
  ti.cbSize = sizeof(ti);
  const CPoint pin = bottom->FindCaptionButton(TKP_IDC_DOCKING_AUTOHIDE)->GetRect().CenterPoint();
  EXPECT_EQ(bottom->OnToolHitTest(pin, &ti), static_cast<INT_PTR>(TKP_IDC_DOCKING_AUTOHIDE));
  EXPECT_STREQ(ti.lpszText, L"Auto Hide");
  ::free(ti.lpszText);
  ti = TOOLINFO{};
  ti.cbSize = sizeof(ti);
  const CPoint tab = bottom->GetItem(1)->GetRect().CenterPoint();
  EXPECT_EQ(bottom->OnToolHitTest(tab, &ti), 1);
  EXPECT_STREQ(ti.lpszText, L"Event log");
  ::free(ti.lpszText);
  // Over the pane's window itself there is no tip.
  ti = TOOLINFO{};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(bottom->OnToolHitTest(CPoint(60, 60), &ti), -1);
}

TEST_F(DockingCaptionTest, TheMenuButtonHasItsTipAndAPaneHidesItselfToItsSide) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* properties = m.FindPane(kProperties);
  properties->SetOptions(tkpPaneHasMenuButton);
  CTKPDockingPaneTabbedContainer* right = Group(kProperties);
  Relayout();
  right->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  CTKPDockingPaneCaptionButton* menu = right->FindCaptionButton(TKP_IDC_DOCKING_MENU);
  ASSERT_NE(menu, nullptr);
  ASSERT_FALSE(menu->GetRect().IsRectEmpty());
  TOOLINFO ti{};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(right->OnToolHitTest(menu->GetRect().CenterPoint(), &ti), static_cast<INT_PTR>(TKP_IDC_DOCKING_MENU));
  EXPECT_STREQ(ti.lpszText, L"Menu");
  ::free(ti.lpszText);

  properties->Hide();
  Relayout();
  EXPECT_TRUE(m.IsPaneHidden(properties));
}

// An owner that counts the moves of its buttons.
class ButtonOwner : public CTKPDockingPaneBase {
 public:
  ButtonOwner() : CTKPDockingPaneBase(dock::kPane, nullptr) {}
  int moved = 0;
  CTKPDockingPaneCaptionButton* last = nullptr;
  void OnCaptionButtonRectChanged(CTKPDockingPaneCaptionButton* pButton) override {
    ++moved;
    last = pButton;
  }
};

TEST_F(DockingCaptionTest, AButtonTellsItsOwnerWhenItMovesAndTheManagerKeepsItsFace) {
  ButtonOwner owner;
  CTKPDockingPaneCaptionButton button(TKP_IDC_DOCKING_CLOSE, &owner);
  button.SetRect(CRect(10, 2, 24, 16));
  EXPECT_EQ(owner.moved, 1);
  EXPECT_EQ(owner.last, &button);
  button.SetRect(CRect(10, 2, 24, 16));  // unchanged: nothing to reposition
  EXPECT_EQ(owner.moved, 1);
  button.SetRect(CRect());
  EXPECT_EQ(owner.moved, 2);
  EXPECT_EQ(button.GetRect(), CRect());
  EXPECT_EQ(Paint()->m_strFontFace, CString(_T("Tahoma")));
}

// A paint manager whose tab paint managers could not be made.
class NoTabPainters : public CTKPDockingPaneDefaultTheme {
 public:
  NoTabPainters() {
    m_pTabPaintManager->InternalRelease();
    m_pTabPaintManager = nullptr;
    m_pPanelPaintManager->InternalRelease();
    m_pPanelPaintManager = nullptr;
  }
};

TEST_F(DockingCaptionTest, WithoutTabPaintManagersNothingIsReachedThroughThem) {
  NoTabPainters* paint = new NoTabPainters();
  paint->RefreshMetrics();
  CTKPDockingPaneTabbedContainer* bottom = Group(kOutput);
  ASSERT_TRUE(bottom->IsTabsVisible());
  CRect rc(0, 0, 300, 200);
  paint->AdjustClientRect(bottom, rc, TRUE);
  EXPECT_EQ(rc, CRect(0, paint->GetCaptionHeight(), 300, 200));  // the caption's room only
  CClientDC dc(bottom);
  paint->DrawPane(&dc, bottom, CRect(0, 0, 300, 200));
  paint->InternalRelease();
}

TEST_F(DockingCaptionTest, AMaximizedGroupTakesItsRowAndRestoresIt) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneTabbedContainer* folders = Group(kFolders);
  folders->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(folders->FindCaptionButton(TKP_IDC_DOCKING_MAXIMIZE)->GetRect().IsRectEmpty());
  m.ShowMaximizeButton(TRUE);
  folders->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CTKPDockingPaneCaptionButton* maximize = folders->FindCaptionButton(TKP_IDC_DOCKING_MAXIMIZE);
  ASSERT_FALSE(maximize->GetRect().IsRectEmpty());
  const CPoint centre = maximize->GetRect().CenterPoint();
  folders->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  folders->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  Relayout();
  EXPECT_TRUE(folders->IsMaximized());
  EXPECT_EQ(Place(kProperties).Width(), 0);
  folders->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(folders->FindCaptionButton(TKP_IDC_DOCKING_MAXIMIZE)->GetRect().IsRectEmpty());
  EXPECT_FALSE(folders->FindCaptionButton(TKP_IDC_DOCKING_RESTORE)->GetRect().IsRectEmpty());
  folders->Restore();
  Relayout();
  EXPECT_EQ(Place(kProperties).Width(), 180);
}

// In a column the group a maximized neighbour collapses keeps its caption: its height is what the caption
// and frame take, and the caption is drawn there.
TEST_F(DockingCaptionTest, AMaximizedGroupOfAColumnLeavesItsNeighbourItsCaption) {
  CTKPDockingPaneManager& m = frame->manager;
  constexpr UINT kScanLog = 6;
  Add(m.CreatePane(kScanLog, CRect(0, 0, 200, 150), tkpPaneDockBottom, m.FindPane(kFolders)), _T("Scan log"),
      L"LISTBOX");
  m.ShowMaximizeButton(TRUE);
  Relayout();
  CTKPDockingPaneTabbedContainer* folders = Group(kFolders);
  CTKPDockingPaneTabbedContainer* scanLog = Group(kScanLog);
  ASSERT_EQ(scanLog->GetContainer(), folders->GetContainer());
  ASSERT_FALSE(static_cast<CTKPDockingPaneSplitterContainer*>(folders->GetContainer())->IsHorizontal());
  const int column = Place(kFolders).Height() + Place(kScanLog).Height();
  folders->Maximize();
  Relayout();
  CRect inner(0, 0, 1000, 1000);
  Paint()->AdjustClientRect(scanLog, inner, FALSE);
  const int overhead = 1000 - inner.Height();
  ASSERT_GT(overhead, 0);
  MINMAXINFO sizes{};
  scanLog->GetMinMaxInfo(&sizes);
  EXPECT_EQ(sizes.ptMaxTrackSize.y, overhead) << "at most its caption and frame along the column";
  EXPECT_EQ(Place(kScanLog).Height(), overhead) << "the collapsed group keeps its caption";
  EXPECT_EQ(Place(kFolders).Height(), column - overhead);
  scanLog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect client;
  ::GetClientRect(scanLog->m_hWnd, client);
  const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(harness::CountPixels(scanLog->m_hWnd, client, text, 40), 10) << "its caption's title is drawn";
  folders->Restore();
  Relayout();
  EXPECT_GT(Place(kScanLog).Height(), overhead);
}

TEST_F(DockingCaptionTest, SplitterStylesPaintTheirLinesAndGripper) {
  CTKPDockingPanePaintManager* paint = Paint();
  CClientDC screen(frame);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 100, 8);
  CGdiObject* old = dc.SelectObject(&bitmap);
  paint->m_nSplitterStyle = 1 | 0x200;
  paint->DrawSplitter(&dc, CRect(0, 0, 100, 8), TRUE);
  EXPECT_EQ(dc.GetPixel(10, 0), paint->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dc.GetPixel(10, 7), paint->GetColor(COLOR_BTNTEXT));
  EXPECT_EQ(dc.GetPixel(10, 3), static_cast<COLORREF>(paint->m_clrSplitter));
  // Gripper dots every 4 pixels from the centre, 32 pixels to each side at most: a light square with a
  // dark one a pixel up and left over it.
  EXPECT_EQ(dc.GetPixel(51, 5), paint->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dc.GetPixel(49, 3), static_cast<COLORREF>(paint->m_clrSplitterGripper));
  EXPECT_EQ(dc.GetPixel(50 + 32 + 1, 5), paint->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_NE(dc.GetPixel(50 + 36 + 1, 5), paint->GetColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dc.GetPixel(50 - 32 + 1, 5), paint->GetColor(COLOR_BTNHIGHLIGHT));
  dc.SelectObject(old);
}

}  // namespace
