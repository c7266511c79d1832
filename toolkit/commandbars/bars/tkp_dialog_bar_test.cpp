// A dialog bar docked on the left of a frame with the toolkit's status bar: its hosted list placed below
// the caption row, its inner edge grabbed, resized by rectangle (docked and floating, never below its
// least size), its caption and close button, and the screenshot status_dialog_bars.png.
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/bars/tkp_dialog_bar.h"

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_rebar.h"
#include "toolkit/commandbars/bars/tkp_status_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

constexpr UINT kFilesPane = 201;

class DialogBarFrame : public CTKPFrameWnd {
 public:
  CTKPStatusBar status;
  CTKPCommandBars* Bars() const { return m_pCommandBars; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, kFilesPane, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    if (!status.CreateEx(this, SBARS_SIZEGRIP) || !status.SetIndicators(indicators, 4)) return -1;
    status.SetPaneWidth(1, 110);
    m_pCommandBars = tkptest::MakeCommandBars(this);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DialogBarFrame, CTKPFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

class DialogBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new DialogBarFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Recovered files"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{30, 30, 670, 430}));
    bar = static_cast<CTKPDialogBar*>(frame->Bars()->Add(_T("Folders"), tkpBarLeft, RUNTIME_CLASS(CTKPDialogBar)));
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(list.CreateEx(WS_EX_CLIENTEDGE, _T("LISTBOX"), nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT,
                              CRect(0, 0, 10, 10), bar, 300));
    for (LPCTSTR item : {_T("Partition 1 (FAT16)"), _T("Partition 2 (FAT32)"), _T("Partition 3 (NTFS)"),
                         _T("$LostFolder1"), _T("$LostFolder2")}) {
      list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
    bar->SetChild(&list);
    bar->SetDockedClientSize(CSize(200, 300));  // the frame's height, below the caption
    frame->status.SetPaneText(0, _T("Ready"));
    frame->status.SetPaneText(1, _T("5 folders"));
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  CRect BarWindow() const {
    CRect window;
    bar->GetWindowRect(window);
    return window;
  }
  DialogBarFrame* frame = nullptr;
  CTKPDialogBar* bar = nullptr;
  CWnd list;
};

TEST_F(DialogBarTest, DockedBarHostsItsWindowBelowTheCaption) {
  EXPECT_TRUE(bar->IsDialogBar());
  EXPECT_FALSE(bar->IsCustomizable());
  EXPECT_EQ(bar->GetPosition(), tkpBarLeft);
  CRect borders;
  bar->GetBorders(borders);
  EXPECT_GT(borders.top, 3 + 15);  // the caption row is counted in the top
  EXPECT_EQ(BarWindow().Width(), 200 + borders.left + borders.right);
  CRect placed, client;
  list.GetWindowRect(placed);
  bar->ScreenToClient(placed);
  bar->GetClientRect(client);
  EXPECT_EQ(placed.left, borders.left);
  EXPECT_EQ(placed.top, borders.top);
  EXPECT_EQ(placed.right, client.right - borders.right);
  EXPECT_EQ(bar->GetCaptionText(), CString(_T("Folders")));  // no caption: the title
  bar->SetCaption(_T("Recovered folders"));
  EXPECT_EQ(bar->GetCaptionText(), CString(_T("Recovered folders")));
  CTKPControl* caption = bar->GetControls()->FindControl(TKP_ID_DIALOGBAR_CAPTION);
  ASSERT_NE(caption, nullptr);
  EXPECT_TRUE(caption->IsVisible());
  EXPECT_EQ(caption->GetRect().top, 3);
  EXPECT_NE(bar->GetControls()->FindControl(TKP_ID_TOOLBAR_CLOSE), nullptr);
}

TEST_F(DialogBarTest, OnlyTheInnerEdgeOfADockedBarIsGrabbed) {
  CRect window = BarWindow();
  CPoint mid = window.CenterPoint();
  EXPECT_EQ(bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.right - 1, mid.y)), HTRIGHT);
  EXPECT_NE(bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 1, mid.y)), HTLEFT);
  bar->SetResizable(FALSE);
  EXPECT_NE(bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.right - 1, mid.y)), HTRIGHT);
}

TEST_F(DialogBarTest, ResizingTheRightEdgeChangesOnlyTheDockedWidth) {
  CRect window = BarWindow();
  CRect borders;
  bar->GetBorders(borders);
  bar->ResizeToRect(CRect(window.left, window.top, window.left + 256, window.bottom), HTRIGHT);
  harness::PumpMessages();
  EXPECT_EQ(bar->GetDockedClientSize().cx, 256 - borders.left - borders.right);
  EXPECT_EQ(bar->GetFloatingClientSize(), CSize(200, 200));
  EXPECT_EQ(BarWindow().Width(), 256);
  CRect placed;
  list.GetWindowRect(placed);
  EXPECT_EQ(placed.Width(), 256 - borders.left - borders.right);

  // Below the least client width: nothing changes.
  bar->ResizeToRect(CRect(window.left, window.top, window.left + 40, window.bottom), HTRIGHT);
  harness::PumpMessages();
  EXPECT_EQ(BarWindow().Width(), 256);
  frame->status.SetPaneText(0, _T("Ready"));
  bar->GetCaptionPopup()->GetControls()->Add(tkpControlButton, ID_FILE_NEW);  // the caption's arrow
  bar->Invalidate();
  harness::PumpFor(100);
  harness::CaptureWindow(frame->m_hWnd, "status_dialog_bars");
}

TEST_F(DialogBarTest, DraggingTheInnerEdgeResizesTheDockedBar) {
  CRect window = BarWindow();
  CPoint edge(window.right - 1, window.CenterPoint().y);
  // The moves and the release wait in the queue for the drag loop the press starts.
  CPoint to = edge + CPoint(60, 0);
  bar->ScreenToClient(to);
  bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  bar->SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(edge.x, edge.y));
  harness::PumpMessages();
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(BarWindow().Width(), window.Width() + 60);
  EXPECT_EQ(bar->GetFloatingClientSize(), CSize(200, 200));
}

// Drags an edge of the bar by the offset through the bar's own drag loop.
void DragEdge(CTKPDialogBar* bar, UINT hitTest, CPoint edge, CPoint offset) {
  CPoint to = edge + offset;
  bar->ScreenToClient(to);
  bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  bar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  bar->SendMessage(WM_NCLBUTTONDOWN, hitTest, MAKELPARAM(edge.x, edge.y));
  harness::PumpMessages();
}

// A floating bar follows its dragged edge, but not off every screen, where it could not be reached again.
TEST_F(DialogBarTest, AFloatingBarResizesByItsEdgeButNotOffTheScreen) {
  ASSERT_TRUE(frame->Bars()->FloatCommandBar(bar));
  bar->SetWindowPos(nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect window = BarWindow();
  DragEdge(bar, HTRIGHT, CPoint(window.right - 1, window.CenterPoint().y), CPoint(40, 0));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(BarWindow().Width(), window.Width() + 40);
  // Mostly off the left of the screen, the right edge dragged past the screen's edge: nothing changes.
  const CRect work = CTKPDrawHelpers::GetWorkAreaFromWindow(bar->m_hWnd);
  window = BarWindow();
  bar->SetWindowPos(nullptr, work.left - window.Width() + 10, window.top, 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  window = BarWindow();
  DragEdge(bar, HTRIGHT, CPoint(window.right - 1, window.CenterPoint().y), CPoint(-30, 0));
  EXPECT_EQ(BarWindow().Width(), window.Width());
  EXPECT_EQ(BarWindow().left, window.left);
}

TEST_F(DialogBarTest, TheCaptionMenuShowsOnlyWithControls) {
  EXPECT_FALSE(bar->HasCaptionMenu());
  CTKPPopupBar* menu = bar->GetCaptionPopup();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(bar->GetCaptionPopup(), menu);
  EXPECT_FALSE(bar->HasCaptionMenu());  // no controls: no arrow, and a press drags the bar
  menu->GetControls()->Add(tkpControlButton, ID_FILE_NEW);
  EXPECT_TRUE(bar->HasCaptionMenu());
  bar->SetCaptionPopup(FALSE);
  EXPECT_FALSE(bar->HasCaptionMenu());
  // A bar without a manager has its caption menu as well.
  auto* alone = new CTKPDialogBar;
  ASSERT_NE(alone->GetCaptionPopup(), nullptr);
  alone->GetCaptionPopup()->GetControls()->Add(tkpControlButton, ID_FILE_NEW);
  EXPECT_TRUE(alone->HasCaptionMenu());
  alone->InternalRelease();
}

TEST_F(DialogBarTest, TheCaptionIsDrawnPoppedWhileItsMenuShows) {
  bar->GetCaptionPopup()->GetControls()->Add(tkpControlButton, ID_FILE_NEW)->SetCaption(CString(_T("&New")));
  CTKPControl* caption = nullptr;
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    if (bar->GetControl(i)->GetType() == TKP_CONTROL_TYPE_CAPTION) caption = bar->GetControl(i);
  }
  ASSERT_NE(caption, nullptr);
  auto pixel = [this](int x, int y) {
    HDC dc = ::GetDC(bar->m_hWnd);
    const COLORREF clr = ::GetPixel(dc, x, y);
    ::ReleaseDC(bar->m_hWnd, dc);
    return clr;
  };
  const CRect rc = caption->GetRect();
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  bar->UpdateWindow();
  EXPECT_NE(pixel(rc.left, rc.top), shadow);
  caption->OnClick(FALSE, rc.CenterPoint());
  ASSERT_TRUE(bar->IsCaptionMenuOpen());
  bar->UpdateWindow();
  // The classic look: sunken while popped.
  EXPECT_EQ(pixel(rc.left, rc.top), shadow);
  EXPECT_EQ(pixel(rc.right - 1, rc.bottom - 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  TKPMouseManager()->SendTrackLost();
  harness::PumpMessages();
  EXPECT_FALSE(bar->IsCaptionMenuOpen());
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  bar->UpdateWindow();
  EXPECT_NE(pixel(rc.left, rc.top), shadow);
}

// Near the bottom of the screen the caption's menu opens above the caption, never over it.
TEST_F(DialogBarTest, NearTheScreensBottomTheCaptionMenuOpensAboveTheCaption) {
  CTKPPopupBar* menu = bar->GetCaptionPopup();
  for (UINT id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_APP_ABOUT, ID_HELP}) {
    menu->GetControls()->Add(tkpControlButton, id)->SetCaption(CString(_T("Command")));
  }
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  frame->SetWindowPos(nullptr, 60, work.bottom - 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  frame->RecalcLayout();
  harness::PumpMessages();
  CTKPControl* caption = bar->GetControls()->FindControl(TKP_ID_DIALOGBAR_CAPTION);
  ASSERT_NE(caption, nullptr);
  CRect rc = caption->GetRect();
  bar->ClientToScreen(rc);
  ASSERT_LT(rc.bottom, work.bottom);
  caption->OnClick(FALSE, caption->GetRect().CenterPoint());
  ASSERT_TRUE(bar->IsCaptionMenuOpen());
  CRect placed;
  menu->GetWindowRect(placed);
  EXPECT_GT(placed.Height(), work.bottom - rc.bottom);  // it cannot drop below
  EXPECT_EQ(placed.bottom, rc.top);
  EXPECT_EQ(placed.left, rc.left);
  TKPMouseManager()->SendTrackLost();
  harness::PumpMessages();
}

TEST_F(DialogBarTest, ACloneIsADialogBarWithTheSameSizesAndCaption) {
  bar->SetCaption(_T("Recovered folders"));
  bar->SetFloatingClientSize(CSize(320, 180));
  bar->SetResizable(FALSE);
  CTKPCommandBar* clone = bar->Clone();
  ASSERT_NE(clone, nullptr);
  ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(CTKPDialogBar)));
  auto* copy = static_cast<CTKPDialogBar*>(clone);
  EXPECT_EQ(copy->GetCaptionText(), CString(_T("Recovered folders")));
  EXPECT_EQ(copy->GetFloatingClientSize(), CSize(320, 180));
  EXPECT_EQ(copy->GetDockedClientSize(), CSize(200, 300));
  EXPECT_FALSE(copy->IsResizable());
  clone->InternalRelease();
}

TEST_F(DialogBarTest, ClicksInTheHostedWindowCountAsElsewhere) {
  CRect window = BarWindow();
  CRect borders;
  bar->GetBorders(borders);
  EXPECT_EQ(bar->HitTestTracking(CPoint(window.left + 40, window.top + 5)), 1);
  EXPECT_EQ(bar->HitTestTracking(CPoint(window.left + 40, window.top + borders.top + 20)), -2);
}

TEST_F(DialogBarTest, ABarThatIsNotCloseableHasNoCloseButton) {
  auto* other =
      static_cast<CTKPDialogBar*>(frame->Bars()->Add(_T("Details"), tkpBarRight, RUNTIME_CLASS(CTKPDialogBar)));
  ASSERT_NE(other, nullptr);
  other->SetCloseable(FALSE);
  other->OnRecalcLayout();
  harness::PumpMessages();
  CTKPControl* close = other->GetControls()->FindControl(TKP_ID_TOOLBAR_CLOSE);
  EXPECT_TRUE(close == nullptr || !close->IsVisible());
}

}  // namespace

namespace {

// The rebar host: a toolbar of the frame moved into a band and out again.
TEST(ReBarHost, AToolBarBecomesABandAndLeavesItsDockBar) {
  auto* frame = new DialogBarFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Rebar"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 600, 300}));
  CTKPToolBar* bar = frame->Bars()->Add(_T("Standard"), tkpBarTop);
  ASSERT_NE(bar, nullptr);
  static const UINT buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE};
  bar->SetButtons(buttons, 3);
  bar->SetBarID(0xE800);
  frame->RecalcLayout();
  ASSERT_NE(bar->GetDockBar(), nullptr);

  CTKPReBar rebar;
  ASSERT_TRUE(rebar.Create(frame));
  ASSERT_TRUE(rebar.AddToolBar(bar));
  EXPECT_EQ(rebar.GetBandCount(), 1);
  EXPECT_EQ(rebar.GetToolBar(0), bar);
  EXPECT_EQ(rebar.GetToolBar(3), nullptr);
  EXPECT_EQ(bar->GetDockBar(), nullptr);
  EXPECT_EQ(bar->GetFlags(), 0u);
  EXPECT_EQ(bar->GetBarStyle() & TKP_BAR_GRIPPER, 0u);
  EXPECT_EQ(::GetParent(bar->m_hWnd), rebar.m_hWnd);
  REBARBANDINFOW band{};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_ID | RBBIM_STYLE;
  rebar.SendMessage(RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
  EXPECT_EQ(band.wID, 0xE800u);
  EXPECT_NE(band.fStyle & RBBS_BREAK, 0u);

  frame->RecalcLayout();
  harness::PumpMessages();
  CRect strip;
  rebar.GetWindowRect(strip);
  EXPECT_GT(strip.Height(), 0);
  EXPECT_GT(strip.Width(), 400);  // the frame's width

  rebar.RemoveToolBar(bar);
  EXPECT_EQ(rebar.GetBandCount(), 0);
  frame->DestroyWindow();
  harness::PumpMessages();
}

}  // namespace
