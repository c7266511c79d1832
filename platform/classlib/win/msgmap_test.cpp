// Message-map dispatch in a real window: each kind of row gets its message cracked into the handler's
// arguments and its answer returned; commands, ranges, state requests and notifications find their
// rows; a derived class's row wins over its base's.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/classlib/win/win_test_support.h"

using cltest::calls;
using cltest::Record;

namespace {

const UINT kRegistered = ::RegisterWindowMessageW(L"ClassLibTest.Registered");
constexpr UINT kAppMessage = WM_APP + 1;

class Probe : public CWnd {
 public:
  BOOL rangeExAnswer = TRUE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    Record("OnCreate %ls", cs->lpszName);
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnSize(UINT type, int cx, int cy) { Record("OnSize %u %d %d", type, cx, cy); }
  afx_msg void OnLButtonDown(UINT flags, CPoint point) { Record("OnLButtonDown %u %ld %ld", flags, point.x, point.y); }
  afx_msg void OnNcLButtonDown(UINT hit, CPoint point) { Record("OnNcLButtonDown %u %ld %ld", hit, point.x, point.y); }
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point) {
    Record("OnMouseWheel %u %d %ld %ld", flags, delta, point.x, point.y);
    return TRUE;
  }
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags) { Record("OnKeyDown %u %u %x", key, repeat, flags); }
  afx_msg void OnChar(UINT ch, UINT repeat, UINT) { Record("OnChar %u %u", ch, repeat); }
  afx_msg void OnTimer(UINT_PTR id) { Record("OnTimer %u", static_cast<unsigned>(id)); }
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT hit, UINT message) {
    Record("OnSetCursor %d %u %x", pWnd == this, hit, message);
    return TRUE;
  }
  afx_msg LRESULT OnNcHitTest(CPoint point) {
    Record("OnNcHitTest %ld %ld", point.x, point.y);
    return HTCAPTION;
  }
  afx_msg UINT OnGetDlgCode() {
    Record("OnGetDlgCode");
    return DLGC_WANTALLKEYS;
  }
  afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
    Record("OnEraseBkgnd %d", pDC->m_hDC == reinterpret_cast<HDC>(0x1234));
    return TRUE;
  }
  afx_msg void OnSettingChange(UINT flags, LPCTSTR section) { Record("OnSettingChange %u %ls", flags, section); }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info) {
    Record("OnGetMinMaxInfo");
    info->ptMinTrackSize.x = 875;
  }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point) {
    Record("OnContextMenu %d %ld %ld", pWnd == this, point.x, point.y);
  }
  afx_msg void OnShowWindow(BOOL show, UINT status) { Record("OnShowWindow %d %u", show, status); }
  afx_msg void OnActivateApp(BOOL active, DWORD thread) { Record("OnActivateApp %d %lu", active, thread); }
  afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
    Record("OnCtlColor %u", nCtlColor);
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  }
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* pBar) {
    Record("OnHScroll %u %u %d", code, pos, pBar == nullptr);
  }
  afx_msg LRESULT OnAppMessage(WPARAM wParam, LPARAM lParam) {
    Record("OnAppMessage");
    return static_cast<LRESULT>(wParam + lParam);
  }
  afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    Record("OnRegistered %u", static_cast<unsigned>(wParam));
    return 42;
  }
  afx_msg void OnCommand100() { Record("command 100"); }
  afx_msg void OnCommandRange(UINT id) { Record("range %u", id); }
  afx_msg BOOL OnCommandEx(UINT id) {
    Record("ex %u", id);
    return rangeExAnswer;
  }
  afx_msg void OnUpdate100(CCmdUI* pCmdUI) {
    Record("update %u", pCmdUI->m_nID);
    pCmdUI->Enable(FALSE);
  }
  afx_msg void OnEditChange() { Record("EN_CHANGE 400"); }
  afx_msg void OnNotifyClick(NMHDR* header, LRESULT* result) {
    Record("NM_CLICK %u", static_cast<unsigned>(header->idFrom));
    *result = 5;
  }
  afx_msg void OnNotifyRange(UINT id, NMHDR*, LRESULT*) { Record("NM_DBLCLK range %u", id); }
  afx_msg BOOL OnNotifyEx(UINT id, NMHDR*, LRESULT* result) {
    Record("NM_RCLICK ex %u", id);
    *result = 9;
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Probe, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_TIMER()
  ON_WM_SETCURSOR()
  ON_WM_NCHITTEST()
  ON_WM_GETDLGCODE()
  ON_WM_ERASEBKGND()
  ON_WM_SETTINGCHANGE()
  ON_WM_GETMINMAXINFO()
  ON_WM_CONTEXTMENU()
  ON_WM_SHOWWINDOW()
  ON_WM_ACTIVATEAPP()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_MESSAGE(kAppMessage, OnAppMessage)
  ON_REGISTERED_MESSAGE(kRegistered, OnRegistered)
  ON_COMMAND(100, OnCommand100)
  ON_UPDATE_COMMAND_UI(100, OnUpdate100)
  ON_COMMAND_RANGE(200, 210, OnCommandRange)
  ON_COMMAND_EX(300, OnCommandEx)
  ON_EN_CHANGE(400, OnEditChange)
  ON_NOTIFY(NM_CLICK, 500, OnNotifyClick)
  ON_NOTIFY_RANGE(NM_DBLCLK, 600, 610, OnNotifyRange)
  ON_NOTIFY_EX(NM_RCLICK, 700, OnNotifyEx)
END_MESSAGE_MAP()

// A derived class's row comes before its base's for the same message.
class DerivedProbe : public Probe {
 protected:
  afx_msg void OnSize(UINT, int cx, int) { Record("derived OnSize %d", cx); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedProbe, Probe)
  ON_WM_SIZE()
END_MESSAGE_MAP()

class MessageMapTest : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(cltest::CreateTopLevel(probe, _T("probe"), WS_OVERLAPPEDWINDOW));
    calls.clear();
  }
  void TearDown() override { probe.DestroyWindow(); }

  Probe probe;
};

TEST_F(MessageMapTest, CreationRunsOnCreateWithTheCreateStruct) {
  Probe other;
  ASSERT_TRUE(cltest::CreateTopLevel(other, _T("second"), WS_OVERLAPPEDWINDOW));
  EXPECT_NE(std::find(calls.begin(), calls.end(), "OnCreate second"), calls.end());
  other.DestroyWindow();
}

struct Case {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* call;
  LRESULT result;
};

TEST_F(MessageMapTest, EachWindowMessageIsCrackedIntoItsHandler) {
  static const wchar_t section[] = L"intl";
  const Case cases[] = {
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200), "OnSize 2 300 200", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7), "OnLButtonDown 1 -5 7", 0},
      {WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(10, 20), "OnNcLButtonDown 2 10 20", 0},
      {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), MAKELPARAM(3, 4),
       "OnMouseWheel 4 -120 3 4", TRUE},
      {WM_KEYDOWN, VK_F2, MAKELPARAM(3, 0x1234), "OnKeyDown 113 3 1234", 0},
      {WM_CHAR, 'a', MAKELPARAM(1, 0), "OnChar 97 1", 0},
      {WM_TIMER, 77, 0, "OnTimer 77", 0},
      {WM_NCHITTEST, 0, MAKELPARAM(100, 110), "OnNcHitTest 100 110", HTCAPTION},
      {WM_GETDLGCODE, 0, 0, "OnGetDlgCode", DLGC_WANTALLKEYS},
      {WM_ERASEBKGND, 0x1234, 0, "OnEraseBkgnd 1", TRUE},
      {WM_SETTINGCHANGE, 47, reinterpret_cast<LPARAM>(section), "OnSettingChange 47 intl", 0},
      {WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, "OnShowWindow 1 3", 0},
      {WM_ACTIVATEAPP, FALSE, 1234, "OnActivateApp 0 1234", 0},
      {WM_CTLCOLORSTATIC, 0, 0, "OnCtlColor 6", reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH))},
      {WM_CTLCOLOREDIT, 0, 0, "OnCtlColor 1", reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH))},
      {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000), 0, "OnHScroll 5 40000 1", 0},
      {kAppMessage, 30, 12, "OnAppMessage", 42},
      {kRegistered, 8, 0, "OnRegistered 8", 42},
  };
  for (const Case& c : cases) {
    calls.clear();
    LRESULT result = probe.SendMessage(c.message, c.wParam, c.lParam);
    EXPECT_EQ(calls, std::vector<std::string>{c.call}) << "message " << std::hex << c.message;
    EXPECT_EQ(result, c.result) << c.call;
  }
}

TEST_F(MessageMapTest, HandlersGetTheWindowObjectsAndCanChangeTheMessagesData) {
  probe.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(probe.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  probe.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(probe.m_hWnd), MAKELPARAM(-1, -1));
  EXPECT_EQ(calls, (std::vector<std::string>{"OnSetCursor 1 1 200", "OnContextMenu 1 -1 -1"}));
  MINMAXINFO info{};
  probe.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 875);
}

TEST_F(MessageMapTest, RealInputReachesTheHandlers) {
  probe.ShowWindow(SW_SHOW);
  probe.SetTimer(9, 10);
  UINT_PTR seen = 0;
  MSG msg;
  for (int i = 0; i < 200 && seen == 0; ++i) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    for (const std::string& call : calls) {
      if (call == "OnTimer 9") seen = 9;
    }
    ::Sleep(5);
  }
  probe.KillTimer(9);
  EXPECT_EQ(seen, 9u);
  calls.clear();
  probe.MoveWindow(0, 0, 200, 150);
  CRect client;
  probe.GetClientRect(client);
  char expected[64];
  std::snprintf(expected, sizeof expected, "OnSize 0 %d %d", client.Width(), client.Height());
  EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end());
}

TEST_F(MessageMapTest, CommandsFindTheirRowsByIdAndRange) {
  probe.SendMessage(WM_COMMAND, 100, 0);
  probe.SendMessage(WM_COMMAND, 205, 0);
  probe.SendMessage(WM_COMMAND, 211, 0);  // past the range: nobody
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, probe.m_hWnd,
                                reinterpret_cast<HMENU>(400), nullptr, nullptr);
  probe.SendMessage(WM_COMMAND, MAKEWPARAM(400, EN_UPDATE), reinterpret_cast<LPARAM>(edit));  // no row
  ::SetWindowTextW(edit, L"changed");  // the edit's own EN_CHANGE
  EXPECT_EQ(calls, (std::vector<std::string>{"command 100", "range 205", "EN_CHANGE 400"}));
}

TEST_F(MessageMapTest, AnExHandlerDecidesWhetherItHandled) {
  AFX_CMDHANDLERINFO info{};
  EXPECT_TRUE(probe.OnCmdMsg(300, CN_COMMAND, nullptr, &info));  // only looked up
  EXPECT_EQ(info.pTarget, &probe);
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(probe.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
  probe.rangeExAnswer = FALSE;
  EXPECT_FALSE(probe.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
  EXPECT_EQ(calls, (std::vector<std::string>{"ex 300", "ex 300"}));
}

TEST_F(MessageMapTest, StateRequestsReachTheUpdateHandler) {
  CCmdUI state;
  state.m_nID = 100;
  state.m_bEnableChanged = FALSE;
  EXPECT_TRUE(probe.OnCmdMsg(100, CN_UPDATE_COMMAND_UI, &state, nullptr));
  EXPECT_TRUE(state.m_bEnableChanged);
  EXPECT_FALSE(probe.OnCmdMsg(101, CN_UPDATE_COMMAND_UI, &state, nullptr));
  EXPECT_EQ(calls, std::vector<std::string>{"update 100"});
}

TEST_F(MessageMapTest, NotificationsFindTheirRowsAndSetTheResult) {
  NMHDR header{nullptr, 500, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(probe.SendMessage(WM_NOTIFY, 500, reinterpret_cast<LPARAM>(&header)), 5);
  header = NMHDR{nullptr, 607, static_cast<UINT>(NM_DBLCLK)};
  probe.SendMessage(WM_NOTIFY, 607, reinterpret_cast<LPARAM>(&header));
  header = NMHDR{nullptr, 700, static_cast<UINT>(NM_RCLICK)};
  EXPECT_EQ(probe.SendMessage(WM_NOTIFY, 700, reinterpret_cast<LPARAM>(&header)), 9);
  header = NMHDR{nullptr, 500, static_cast<UINT>(NM_DBLCLK)};  // no row for this code and id
  EXPECT_EQ(probe.SendMessage(WM_NOTIFY, 500, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"NM_CLICK 500", "NM_DBLCLK range 607", "NM_RCLICK ex 700"}));
}

TEST_F(MessageMapTest, TheToolkitsNotificationThroughOnCmdMsgReachesOnNotifyRows) {
  NMHDR header{nullptr, 500, static_cast<UINT>(NM_CLICK)};
  LRESULT result = 0;
  AFX_NOTIFY notify{&result, &header};
  EXPECT_TRUE(probe.OnCmdMsg(500, static_cast<int>(MAKELONG(NM_CLICK, WM_NOTIFY)), &notify, nullptr));
  EXPECT_EQ(result, 5);
}

TEST_F(MessageMapTest, ADerivedRowWinsAndTheBaseRowsStillWork) {
  DerivedProbe derived;
  ASSERT_TRUE(cltest::CreateTopLevel(derived, _T("derived"), WS_OVERLAPPEDWINDOW));
  calls.clear();
  derived.SendMessage(WM_SIZE, 0, MAKELPARAM(33, 44));
  derived.SendMessage(WM_TIMER, 5, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"derived OnSize 33", "OnTimer 5"}));
  derived.DestroyWindow();
}

TEST_F(MessageMapTest, AMessageWithoutARowGetsTheWindowsOwnAnswer) {
  probe.SetWindowText(_T("changed"));
  CString text;
  probe.GetWindowText(text);
  EXPECT_EQ(text, _T("changed"));
  EXPECT_TRUE(calls.empty());
}

}  // namespace
