// The command route and the idle update of command states. The frame, view and document here stand
// in for the document/view classes and route as they do: a frame asks its active view (which asks its
// document), then its own map, then the application.
#include <gtest/gtest.h>

#include "platform/classlib/win/win_test_support.h"

using cltest::calls;
using cltest::Record;

namespace {

constexpr UINT kViewOnly = 1001;
constexpr UINT kDocumentOnly = 1002;
constexpr UINT kFrameOnly = 1003;
constexpr UINT kEverywhere = 1005;
constexpr UINT kNoHandler = 1007;
constexpr UINT kEditBox = 1008;
constexpr UINT kSave = 2001;
constexpr UINT kChecked = 2002;

class Document : public CCmdTarget {
 public:
  BOOL saveEnabled = FALSE;

 protected:
  afx_msg void OnDocumentOnly() { Record("document"); }
  afx_msg void OnEverywhere() { Record("document everywhere"); }
  afx_msg void OnSave() { Record("save"); }
  afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(saveEnabled); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Document, CCmdTarget)
  ON_COMMAND(kDocumentOnly, OnDocumentOnly)
  ON_COMMAND(kEverywhere, OnEverywhere)
  ON_COMMAND(kSave, OnSave)
  ON_UPDATE_COMMAND_UI(kSave, OnUpdateSave)
END_MESSAGE_MAP()

class View : public CWnd {
 public:
  Document* document = nullptr;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return document != nullptr && document->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }

 protected:
  afx_msg void OnViewOnly() { Record("view"); }
  afx_msg void OnEverywhere() { Record("view everywhere"); }
  afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) {
    Record("view passes the check on");
    pCmdUI->ContinueRouting();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(View, CWnd)
  ON_COMMAND(kViewOnly, OnViewOnly)
  ON_COMMAND(kEverywhere, OnEverywhere)
  ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
END_MESSAGE_MAP()

class Frame : public CWnd {
 public:
  View* activeView = nullptr;
  bool routingWhileHandling = false;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    CPushRoutingFrame push(this);
    if (activeView != nullptr && activeView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return AfxGetApp()->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }

 protected:
  afx_msg void OnFrameOnly() {
    routingWhileHandling = AfxGetThreadState()->m_pRoutingFrame == this;
    Record("frame");
  }
  afx_msg void OnEverywhere() { Record("frame everywhere"); }
  afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) {
    Record("frame checks");
    pCmdUI->SetCheck(1);
  }
  afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) {
    Record("frame idle update");
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CWnd)
  ON_COMMAND(kFrameOnly, OnFrameOnly)
  ON_COMMAND(kEverywhere, OnEverywhere)
  ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A bar of buttons: at idle time it sets each button from the frame's route.
class Bar : public CWnd {
 public:
  int updates = 0;
  int quitAfter = 0;  // posts WM_QUIT (code 7) after that many updates

 protected:
  afx_msg LRESULT OnIdleUpdate(WPARAM wParam, LPARAM) {
    ++updates;
    UpdateDialogControls(GetParent(), static_cast<BOOL>(wParam));
    if (updates == quitAfter) AfxPostQuitMessage(7);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Bar, CWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class RoutingTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cltest::CreateTopLevel(frame, _T("frame")));
    ASSERT_TRUE(cltest::CreateChild(view, frame, 0xE900, RECT{0, 40, 300, 200}));
    ASSERT_TRUE(cltest::CreateChild(bar, frame, 0xE800, RECT{0, 0, 300, 40}));
    view.document = &document;
    frame.activeView = &view;
    const UINT ids[] = {kViewOnly, kNoHandler, kSave, kChecked};
    for (int i = 0; i < 4; ++i) {
      ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | (ids[i] == kChecked ? BS_CHECKBOX : 0), i * 60, 0,
                        50, 30, bar.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ids[i])), nullptr, nullptr);
    }
    ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 240, 0, 50, 30, bar.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditBox)), nullptr, nullptr);
    cltest::App().m_pMainWnd = &frame;
    calls.clear();
  }
  void TearDown() override {
    cltest::App().m_pMainWnd = nullptr;
    frame.DestroyWindow();
  }

  bool Enabled(UINT id) { return ::IsWindowEnabled(::GetDlgItem(bar.m_hWnd, static_cast<int>(id))) != FALSE; }

  Document document;
  View view;
  Frame frame;
  Bar bar;
};

TEST_F(RoutingTest, AMenuCommandGoesToTheActiveViewThenTheDocumentThenTheFrameThenTheApplication) {
  const UINT ids[] = {kViewOnly, kDocumentOnly, kFrameOnly, cltest::kAppCommand, kEverywhere};
  for (UINT id : ids) frame.SendMessage(WM_COMMAND, id, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"view", "document", "frame", "app", "view everywhere"}));
  EXPECT_TRUE(frame.routingWhileHandling);  // message boxes meanwhile belong to the frame
  EXPECT_EQ(AfxGetThreadState()->m_pRoutingFrame, nullptr);
}

TEST_F(RoutingTest, WithoutAnActiveViewTheFrameComesFirst) {
  frame.activeView = nullptr;
  frame.SendMessage(WM_COMMAND, kEverywhere, 0);
  frame.SendMessage(WM_COMMAND, kDocumentOnly, 0);  // the document is reached through its view only
  EXPECT_EQ(calls, std::vector<std::string>{"frame everywhere"});
}

TEST_F(RoutingTest, IdleUpdateEnablesHandledCommandsAndDisablesTheOthers) {
  ASSERT_TRUE(cltest::App().OnIdle(0));
  EXPECT_EQ(bar.updates, 1);
  EXPECT_EQ(calls.front(), "frame idle update");
  EXPECT_TRUE(Enabled(kViewOnly));    // a command handler in the view
  EXPECT_FALSE(Enabled(kNoHandler));  // no handler anywhere
  EXPECT_FALSE(Enabled(kSave));       // the document's update handler says no
  EXPECT_TRUE(Enabled(kEditBox));     // not a command: left alone
  document.saveEnabled = TRUE;
  cltest::App().OnIdle(0);
  EXPECT_TRUE(Enabled(kSave));
  frame.activeView = nullptr;  // the view's command is gone with the view
  cltest::App().OnIdle(0);
  EXPECT_FALSE(Enabled(kViewOnly));
  EXPECT_FALSE(Enabled(kSave));
}

TEST_F(RoutingTest, AnUpdateHandlerCanPassTheRequestOnAlongTheRoute) {
  cltest::App().OnIdle(0);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "view passes the check on"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "frame checks"), calls.end());
  EXPECT_EQ(::SendDlgItemMessageW(bar.m_hWnd, kChecked, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(RoutingTest, AHiddenMainWindowGetsNoIdleUpdate) {
  frame.ShowWindow(SW_HIDE);
  cltest::App().OnIdle(0);
  EXPECT_EQ(bar.updates, 0);
}

TEST_F(RoutingTest, TheMessageLoopUpdatesWhenItGoesIdleAndEndsOnQuit) {
  bar.quitAfter = 1;
  EXPECT_EQ(cltest::App().Run(), 7);
  EXPECT_EQ(bar.updates, 1);
  EXPECT_FALSE(Enabled(kNoHandler));
}

}  // namespace
