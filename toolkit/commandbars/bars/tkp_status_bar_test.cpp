// The toolkit's status bar in a frame: panes from indicators, their parts and rectangles, texts kept and
// shown at the next paint, the window text of the message pane, a pane window placed over its pane, the
// idle update, and the screenshot status_dialog_bars.png.
#include "toolkit/commandbars/bars/tkp_status_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/tkp_image_manager.h"

namespace {

constexpr UINT kFilesPane = 201, kProgressPane = 202;

std::wstring PartText(CTKPStatusBar& bar, int part) {
  wchar_t text[128] = {};
  ::SendMessageW(bar.m_hWnd, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

std::vector<int> PartEdges(CTKPStatusBar& bar) {
  int edges[16] = {};
  auto count = static_cast<int>(::SendMessageW(bar.m_hWnd, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + count);
}

// The frame's update handlers for two panes.
class StatusFrame : public CFrameWnd {
 public:
  CTKPStatusBar bar;
  CString files = _T("1893 files");
  BOOL capsOn = FALSE;

  void OnUpdateFiles(CCmdUI* pCmdUI) { pCmdUI->SetText(files); }
  void OnUpdateCaps(CCmdUI* pCmdUI) { pCmdUI->Enable(capsOn); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
  ON_UPDATE_COMMAND_UI(kFilesPane, OnUpdateFiles)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateCaps)
END_MESSAGE_MAP()

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new StatusFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Status bar"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 640, 300}));
    ASSERT_TRUE(frame->bar.CreateEx(frame, SBARS_SIZEGRIP));
    static const UINT indicators[] = {ID_SEPARATOR, kFilesPane, kProgressPane, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    ASSERT_TRUE(frame->bar.SetIndicators(indicators, 5));
    frame->bar.SetPaneWidth(1, 90);
    frame->bar.SetPaneWidth(2, 120);
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  CTKPStatusBar& Bar() { return frame->bar; }
  StatusFrame* frame = nullptr;
};

TEST_F(StatusBarTest, PanesFromIndicatorsWithTheirParts) {
  EXPECT_EQ(Bar().GetPaneCount(), 5);
  EXPECT_EQ(Bar().GetVisiblePaneCount(), 5);
  EXPECT_EQ(Bar().CommandToIndex(ID_INDICATOR_NUM), 4);
  EXPECT_EQ(Bar().CommandToIndex(12345), -1);
  EXPECT_EQ(Bar().GetPane(5), nullptr);
  EXPECT_EQ(Bar().GetPane(0)->GetStyle(), TKP_SBPS_NOBORDERS | TKP_SBPS_STRETCH);
  EXPECT_EQ(PartText(Bar(), 3), L"CAP");

  // The stretch pane takes what the others leave; each other part is its text and 6 pixels wide.
  std::vector<int> edges = PartEdges(Bar());
  ASSERT_EQ(edges.size(), 5u);
  int border = 0;
  int borders[3] = {};
  Bar().SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  border = borders[2];
  EXPECT_EQ(edges[2] - edges[1], border + 120 + 6);
  EXPECT_EQ(edges[4] - edges[3], border + Bar().GetPane(4)->GetWidth() + 6);
  CRect client;
  Bar().GetClientRect(client);
  EXPECT_GT(edges[0], client.Width() / 3);
  EXPECT_LT(edges[4], client.right);  // the size grip keeps its room

  // The last pane ends three edges after its text.
  CRect last;
  Bar().GetItemRect(4, last);
  EXPECT_EQ(last.right, last.left + Bar().GetPane(4)->GetWidth() + 3 * ::GetSystemMetrics(SM_CXEDGE));
  CRect none;
  Bar().GetItemRect(9, none);
  EXPECT_TRUE(none.IsRectEmpty());
}

TEST_F(StatusBarTest, TextKeptWithoutUpdateIsShownAtTheNextPaint) {
  EXPECT_TRUE(Bar().SetPaneText(2, _T("Reading sectors"), FALSE));
  EXPECT_EQ(PartText(Bar(), 2), L"");
  Bar().Invalidate();
  Bar().UpdateWindow();
  EXPECT_EQ(PartText(Bar(), 2), L"Reading sectors");
  EXPECT_TRUE(Bar().SetPaneText(2, _T("Reading sectors")));  // unchanged: nothing to do
  EXPECT_FALSE(Bar().SetPaneText(7, _T("x")));
  Bar().SetPaneVisible(2, FALSE);
  EXPECT_EQ(Bar().GetVisiblePaneCount(), 4);
  EXPECT_EQ(PartEdges(Bar()).size(), 4u);
  EXPECT_FALSE(Bar().SetPaneText(2, _T("hidden")));
  EXPECT_EQ(Bar().GetPaneText(2), CString(_T("hidden")));
  Bar().SetPaneVisible(2, TRUE);
  EXPECT_EQ(PartText(Bar(), 2), L"hidden");
}

// A 16 x 16 icon of one colour.
HICON SolidIcon(COLORREF clr) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP color = ::CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, color);
  HBRUSH brush = ::CreateSolidBrush(clr);
  RECT all{0, 0, 16, 16};
  ::FillRect(dc, &all, brush);
  ::DeleteObject(brush);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  const WORD zeros[16] = {};
  HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, zeros);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(color);
  return icon;
}

int CountOnScreen(HWND hwnd, CRect area, COLORREF clr) {
  HDC dc = ::GetDC(hwnd);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += ::GetPixel(dc, x, y) == clr ? 1 : 0;
  }
  ::ReleaseDC(hwnd, dc);
  return count;
}

TEST_F(StatusBarTest, PanesDrawTheirIconAlignmentAndColoursAndGreyTextWhenDisabled) {
  constexpr UINT kIcon = 9991;
  constexpr COLORREF kRed = RGB(200, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(0, 0, 210);
  ASSERT_TRUE(TKPImageManager()->SetIcon(CTKPImageManagerIconHandle(SolidIcon(kBlue)), kIcon, CSize(16, 16)));
  CTKPStatusBar& bar = Bar();
  // Right-aligned red text behind an icon.
  bar.SetPaneText(1, _T("Files"));
  bar.SetPaneTextColor(1, kRed);
  bar.SetPaneTextAlignment(1, 2);
  bar.SetPaneIcon(1, kIcon);
  // A disabled pane on a green background.
  bar.SetPaneText(2, _T("Reading"));
  bar.SetPaneBackgroundColor(2, kGreen);
  bar.SetPaneStyle(2, bar.GetPane(2)->GetStyle() | TKP_SBPS_DISABLED);
  bar.Invalidate();
  bar.UpdateWindow();
  CRect files, reading;
  bar.GetItemRect(1, files);
  bar.GetItemRect(2, reading);
  const int third = files.Width() / 3;
  EXPECT_GT(CountOnScreen(bar.m_hWnd, CRect(files.right - 2 * third, files.top, files.right, files.bottom), kRed), 5);
  EXPECT_EQ(CountOnScreen(bar.m_hWnd, CRect(files.left, files.top, files.left + third, files.bottom), kRed), 0);
  // The icon stands just before the text.
  EXPECT_GT(CountOnScreen(bar.m_hWnd, files, kBlue), 100);
  EXPECT_EQ(CountOnScreen(bar.m_hWnd, CRect(files.left, files.top, files.left + 8, files.bottom), kBlue), 0);
  EXPECT_EQ(CountOnScreen(bar.m_hWnd, CRect(reading.left + 3, reading.top + 3, reading.left + 4, reading.top + 4), kGreen),
            1);
  EXPECT_GT(CountOnScreen(bar.m_hWnd, reading, ::GetSysColor(COLOR_GRAYTEXT)), 5);
}

TEST_F(StatusBarTest, WindowTextIsTheMessagePanes) {
  EXPECT_EQ(::SetWindowTextW(Bar().m_hWnd, L"Ready"), TRUE);
  EXPECT_EQ(PartText(Bar(), 0), L"Ready");
  wchar_t one[1] = {L'x'};
  EXPECT_EQ(Bar().SendMessage(WM_GETTEXT, 1, reinterpret_cast<LPARAM>(one)), 0);
  EXPECT_EQ(one[0], L'\0');
  wchar_t three[3] = {};
  EXPECT_EQ(Bar().SendMessage(WM_GETTEXT, 3, reinterpret_cast<LPARAM>(three)), 2);
  EXPECT_EQ(std::wstring(three), L"Re");
  EXPECT_EQ(Bar().SendMessage(WM_GETTEXTLENGTH), 5);
  wchar_t whole[16] = {};
  EXPECT_EQ(::GetWindowTextW(Bar().m_hWnd, whole, 16), 5);
  EXPECT_EQ(std::wstring(whole), L"Ready");
  Bar().RemoveIndicator(ID_SEPARATOR);
  EXPECT_FALSE(::SetWindowTextW(Bar().m_hWnd, L"x"));  // no message pane
  EXPECT_EQ(Bar().SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(StatusBarTest, IdleUpdateSetsTextsAndStates) {
  Bar().SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(Bar().GetPaneText(1), CString(_T("1893 files")));
  EXPECT_NE(Bar().GetPane(3)->GetStyle() & TKP_SBPS_DISABLED, 0u);
  EXPECT_EQ(PartText(Bar(), 3), L"");  // a disabled pane shows no text
  frame->capsOn = TRUE;
  Bar().SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(PartText(Bar(), 3), L"CAP");
}

TEST_F(StatusBarTest, APaneWindowLiesOverItsPane) {
  CTKPStatusBarPaneWnd pane;
  ASSERT_TRUE(pane.Create(_T("Scanning 42%"), &Bar()));
  EXPECT_EQ(pane.GetPaneText(), CString(_T("Scanning 42%")));
  Bar().SetPaneWindow(2, &pane);
  CRect item, placed;
  Bar().GetItemRect(2, item);
  pane.GetWindowRect(placed);
  Bar().ScreenToClient(placed);
  int edge = ::GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ(placed, CRect(item.left + edge, item.top + edge, item.right - edge, item.bottom - edge));
  // The frame grows: the window follows its pane.
  frame->MoveWindow(40, 40, 700, 260);
  frame->RecalcLayout();
  harness::PumpMessages();
  Bar().GetItemRect(2, item);
  pane.GetWindowRect(placed);
  Bar().ScreenToClient(placed);
  EXPECT_EQ(placed.left, item.left + edge);
  Bar().SetPaneText(0, _T("Ready"));
  Bar().SetPaneText(1, _T("1893 files"));
  harness::PumpFor(100);
  harness::CaptureWindow(frame->m_hWnd, "status_bar");
}

}  // namespace
