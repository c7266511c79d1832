// The drawn tooltip in real windows with an injected clock: a tool's tip appears after the delay and
// hides on leave, an owner's text from its own buffer or a resource, the hook gone with the window; and
// the screenshot toolkit_tooltips.png with each style of tip.
#include "toolkit/common/tkp_tooltip_wnd.h"

#include "toolkit/common/tkp_tooltip_rich_wnd.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"

namespace {

uint32_t g_now = 100000;

// An owner with two tools side by side; tool 2 answers its text through the notification.
class Owner : public CWnd {
 public:
  const wchar_t* ownBuffer = L"Text from the owner's own buffer";
  UINT resourceId = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      if (info->hdr.code == TTN_NEEDTEXTW) {
        if (resourceId != 0) {
          info->hinst = ::GetModuleHandleW(nullptr);
          info->lpszText = MAKEINTRESOURCEW(resourceId);
        } else {
          info->lpszText = const_cast<wchar_t*>(ownBuffer);
        }
        return 0;
      }
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ToolTips : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.CreateEx(0, nullptr, _T("Tools"), WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 300, 100, nullptr,
                               nullptr));
    ASSERT_TRUE(tip.Create(&owner, TTS_NOPREFIX));
    tip.SetClock([] { return g_now; });
    AddTool(1, CRect(0, 0, 100, 100), const_cast<wchar_t*>(L"Open an image"));
    AddTool(2, CRect(100, 0, 200, 100), LPSTR_TEXTCALLBACKW);
    tip.SendMessage(TTM_ACTIVATE, TRUE);
    harness::PumpMessages();
  }
  void TearDown() override {
    if (tip.m_hWnd != nullptr) tip.DestroyWindow();
    owner.DestroyWindow();
  }
  void AddTool(UINT_PTR id, CRect r, wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner.m_hWnd;
    info.uId = id;
    info.rect = r;
    info.lpszText = text;
    ASSERT_EQ(tip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)), 1);
  }
  void MoveTo(int x, int y) {
    ::SetCursorPos(100 + x, 100 + y);
    MSG msg{};
    msg.hwnd = owner.m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  }
  UINT_PTR ShownId() const {
    const TKPToolTipTool* shown = tip.GetShownTool();
    return shown != nullptr ? shown->id : 0;
  }

  Owner owner;
  CTKPToolTipWnd tip;
};

TEST_F(ToolTips, ATipAppearsAfterTheDelayAndHidesOnLeave) {
  MoveTo(50, 50);
  EXPECT_FALSE(tip.IsWindowVisible());  // waiting for the delay
  g_now += 500;
  tip.SendMessage(WM_TIMER, 1);
  EXPECT_TRUE(tip.IsWindowVisible());
  EXPECT_EQ(ShownId(), 1u);
  g_now += 100;
  MoveTo(150, 50);  // the next tool within the reshow time: at once, text from the owner's buffer
  EXPECT_EQ(ShownId(), 2u);
  CRect size;
  tip.GetWindowRect(size);
  EXPECT_GT(size.Width(), 100);
  g_now += 1000;
  ::SetCursorPos(50, 400);  // off the owner
  MSG leave{};
  leave.message = WM_MOUSEMOVE;
  tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&leave));
  EXPECT_FALSE(tip.IsWindowVisible());
  EXPECT_EQ(ShownId(), 0u);
}

TEST_F(ToolTips, AResourceTextIsHonouredAndAnEmptyTextShowsNothing) {
  owner.resourceId = 9038;
  MoveTo(150, 50);
  g_now += 600;
  tip.SendMessage(WM_TIMER, 1);
  EXPECT_EQ(ShownId(), 2u);
  CRect r;
  tip.GetWindowRect(r);
  EXPECT_GT(r.Width(), 6);
  tip.SendMessage(TTM_ACTIVATE, FALSE);
  EXPECT_FALSE(tip.IsWindowVisible());
  owner.resourceId = 0;
  owner.ownBuffer = L"";
  tip.SendMessage(TTM_ACTIVATE, TRUE);
  g_now += 1000;
  MoveTo(150, 60);
  g_now += 600;
  tip.SendMessage(WM_TIMER, 1);
  EXPECT_FALSE(tip.IsWindowVisible());  // an empty text is 0 x 0: nothing shows
}

// A tool's text given again as a string resource is read from the resource, as when it was added (it
// was emptied, and the tip then showed nothing).
TEST_F(ToolTips, AResourceTextGivenAgainIsRead) {
  wchar_t expected[256] = {};
  ASSERT_GT(::LoadStringW(::GetModuleHandleW(nullptr), 9038, expected, 256), 0);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner.m_hWnd;
  info.uId = 1;
  info.hinst = ::GetModuleHandleW(nullptr);
  info.lpszText = MAKEINTRESOURCEW(9038);
  tip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  MoveTo(50, 50);
  g_now += 600;
  tip.SendMessage(WM_TIMER, 1);
  ASSERT_EQ(ShownId(), 1u);
  EXPECT_EQ(tip.GetShownTool()->text, std::wstring(expected));
}

// One tool of id 1 over rect of the owner, the cursor put at the screen point, relayed and timed out.
void ShowOneTool(CTKPToolTipWnd& tip, CWnd& owner, RECT rect, const wchar_t* text, CPoint cursor) {
  tip.SetClock([] { return g_now; });
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner.m_hWnd;
  info.uId = 1;
  info.rect = rect;
  info.lpszText = const_cast<wchar_t*>(text);
  ASSERT_EQ(tip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)), 1);
  tip.SendMessage(TTM_ACTIVATE, TRUE);
  g_now += 1000;
  ::SetCursorPos(cursor.x, cursor.y);
  POINT local{cursor.x, cursor.y};
  ::ScreenToClient(owner.m_hWnd, &local);
  MSG move{};
  move.hwnd = owner.m_hWnd;
  move.message = WM_MOUSEMOVE;
  move.lParam = MAKELPARAM(local.x, local.y);
  tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  g_now += 600;
  tip.SendMessage(WM_TIMER, 1);
}

TEST_F(ToolTips, TheMouseHookGoesWithTheWindow) {
  MoveTo(50, 50);
  g_now += 600;
  tip.SendMessage(WM_TIMER, 1);
  ASSERT_TRUE(tip.IsWindowVisible());
  const HWND shown = tip.m_hWnd;
  tip.DestroyWindow();  // while shown
  EXPECT_FALSE(::IsWindow(shown));
  ::SetCursorPos(400, 400);  // a hook left behind would run on a dead window here
  harness::PumpMessages();
  // The hook went with its window: a new tip on the same owner takes the thread's hook and shows.
  CTKPToolTipWnd again;
  ASSERT_TRUE(again.Create(&owner, TTS_NOPREFIX));
  ShowOneTool(again, owner, RECT{0, 0, 100, 100}, L"Open an image", CPoint(150, 150));
  EXPECT_TRUE(again.IsWindowVisible());
  again.DestroyWindow();
}

// A rich tip that tells what its rich edit asked for.
class MeasuredRichTip : public CTKPToolTipRichWnd {
 public:
  CSize Requested() const { return m_requested; }
};

// The rich tip is as wide as the rich edit's request + 2 + 4, and the mouse over its text belongs to the
// tip (which hides on a move), not to a rich-edit child.
TEST_F(ToolTips, ARichTipIsSizedToItsTextAndTheMouseOverItIsTheTips) {
  MeasuredRichTip rich;
  ASSERT_TRUE(rich.Create(&owner, TTS_NOPREFIX, FALSE));
  ShowOneTool(rich, owner, RECT{0, 0, 300, 100}, L"{\\rtf1 Recovers the {\\b ticked} files}", CPoint(110, 110));
  ASSERT_TRUE(rich.IsWindowVisible());
  rich.UpdateWindow();
  harness::PumpMessages();
  CRect window;
  rich.GetWindowRect(window);
  ASSERT_GT(rich.Requested().cx, 0);
  EXPECT_EQ(window.Width(), rich.Requested().cx + 2 + 4);
  EXPECT_EQ(window.Height(), rich.Requested().cy + 2 + 2);
  CRect client;
  rich.GetClientRect(client);
  EXPECT_GT(harness::CountPixels(rich.m_hWnd, client, RGB(0, 0, 0), 80), 30) << "no text on the rich tip";
  const CPoint centre = window.CenterPoint();
  const POINT onText{centre.x, centre.y};
  EXPECT_EQ(::WindowFromPoint(onText), rich.m_hWnd);
  rich.DestroyWindow();
}

void ShowSystemTip(CWnd& owner, HWND& tipOut, DWORD style, const wchar_t* text, int x, int y, const wchar_t* title) {
  HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | style,
                               0, 0, 0, 0, owner.m_hWnd, nullptr, nullptr, nullptr);
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  info.hwnd = owner.m_hWnd;
  info.uId = 1;
  info.lpszText = const_cast<wchar_t*>(text);
  ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (title != nullptr) ::SendMessageW(tip, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(title));
  ::SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
  ::SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  tipOut = tip;
}

TEST(ToolTipGallery, EachStyleOfTip) {
  CWnd board;
  ASSERT_TRUE(board.CreateEx(0, _T("STATIC"), _T(""), WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 760, 260, nullptr, nullptr));
  HWND plain = nullptr, balloon = nullptr;
  ShowSystemTip(board, plain, 0, L"System tooltip: Open an image", 20, 20, nullptr);
  ShowSystemTip(board, balloon, TTS_BALLOON, L"Scans the image for deleted files", 300, 20, L"Balloon");
  Owner owner;
  ASSERT_TRUE(owner.CreateEx(0, _T("STATIC"), _T(""), WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 120, 760, 140, board.m_hWnd, nullptr));
  CTKPToolTipWnd drawn;
  CTKPToolTipGradientWnd gradient;
  CTKPToolTipRichWnd rich;
  struct Item {
    CTKPToolTipWnd* tip;
    int x;
    const wchar_t* text;
    const wchar_t* title;
  } items[] = {{&drawn, 20, L"Drawn tip: Save the ticked files", L"Recover"},
               {&gradient, 300, L"Gradient tip: Stop the scan", nullptr},
               {&rich, 520, L"{\\rtf1 {\\b Rich} tip: caf\u00E9 \u0416\u0443\u043A and \\i italic\\i0}", nullptr}};
  for (auto& item : items) {
    ASSERT_TRUE(item.tip->Create(&owner, TTS_NOPREFIX));
    item.tip->SetClock([] { return g_now; });
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner.m_hWnd;
    info.uId = 1;
    info.rect = RECT{0, 0, 760, 140};
    info.lpszText = const_cast<wchar_t*>(item.text);
    item.tip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (item.title != nullptr) item.tip->SendMessage(TTM_SETTITLEW, 1, reinterpret_cast<LPARAM>(item.title));
    item.tip->SendMessage(TTM_ACTIVATE, TRUE);
    ::SetCursorPos(item.x + 10, 140);
    MSG move{};
    move.hwnd = owner.m_hWnd;
    move.message = WM_MOUSEMOVE;
    item.tip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    g_now += 600;
    item.tip->SendMessage(WM_TIMER, 1);
    EXPECT_TRUE(item.tip->IsWindowVisible());
  }
  // The rich tip keeps what lies outside the code page.
  wchar_t shown[128] = {};
  GETTEXTEX get{sizeof shown, GT_DEFAULT, 1200, nullptr, nullptr};  // as UTF-16
  ::SendMessageW(::GetDlgItem(rich.m_hWnd, 1), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                 reinterpret_cast<LPARAM>(shown));
  EXPECT_NE(std::wstring(shown).find(L"caf\u00E9 \u0416\u0443\u043A"), std::wstring::npos) << shown;
  ::SetCursorPos(740, 250);
  harness::PumpMessages();
  ::Sleep(200);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureThreadWindows("toolkit_tooltips").empty());
  // Each drawn tip shows its text in dark strokes.
  for (auto& item : items) {
    CRect inside;
    item.tip->GetClientRect(inside);
    EXPECT_GT(harness::CountPixels(item.tip->m_hWnd, inside, RGB(0, 0, 0), 80), 30) << "no text on the tip at " << item.x;
  }

  ::DestroyWindow(plain);
  ::DestroyWindow(balloon);
  drawn.DestroyWindow();
  gradient.DestroyWindow();
  rich.DestroyWindow();
  board.DestroyWindow();
}

}  // namespace
