// MDI frames and mini frames in real windows: the client is the frame's first pane; children come, go
// and become active through the client (which a tab client subclasses and watches); commands reach the
// active child's view and document. A mini frame pop-up follows its frame; a child mini frame lays out
// its own pane.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/frame_test_support.h"
#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/driver.h"

using cltest::FixedBar;
using cltest::PlaceOf;
using cltest::SampleDoc;
using cltest::SampleView;

namespace {

// Stands in for the tab client: it subclasses the MDI client and records the MDI messages.
class ClientWatcher : public CWnd {
 public:
  std::vector<UINT> seen;

 protected:
  afx_msg LRESULT OnMdiMessage(WPARAM, LPARAM) {
    seen.push_back(GetCurrentMessage()->message);
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ClientWatcher, CWnd)
  ON_MESSAGE(WM_MDICREATE, OnMdiMessage)
  ON_MESSAGE(WM_MDIDESTROY, OnMdiMessage)
  ON_MESSAGE(WM_MDIACTIVATE, OnMdiMessage)
END_MESSAGE_MAP()

size_t Count(const std::vector<UINT>& seen, UINT message) {
  size_t n = 0;
  for (UINT m : seen) n += m == message ? 1 : 0;
  return n;
}

TEST(MdiFrame, ChildrenComeGoAndBecomeActiveThroughTheClient) {
  auto* frame = new CMDIFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, _T("MDI Sample"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 600, 440}));
  HWND hWndFrame = frame->m_hWnd;
  ASSERT_NE(frame->m_hWndMDIClient, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(frame->m_hWndMDIClient), AFX_IDW_PANE_FIRST);
  FixedBar bar(20);
  ASSERT_TRUE(bar.Create(frame, CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
  frame->RecalcLayout();
  CRect client;
  frame->GetClientRect(client);
  CRect area;
  ::GetWindowRect(frame->m_hWndMDIClient, area);
  frame->ScreenToClient(area);
  EXPECT_EQ(area, CRect(0, 0, client.right, PlaceOf(bar).top));

  ClientWatcher watcher;
  ASSERT_TRUE(watcher.SubclassWindow(frame->m_hWndMDIClient));
  auto* doc = new SampleDoc;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(SampleView);
  context.m_pCurrentDoc = doc;
  auto* first = new CMDIChildWnd;
  ASSERT_TRUE(first->Create(nullptr, _T("First"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                            frame, &context));
  first->InitialUpdateFrame(doc, TRUE);
  auto* second = new CMDIChildWnd;
  ASSERT_TRUE(second->Create(nullptr, _T("Second"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                             CFrameWnd::rectDefault, frame, &context));
  second->InitialUpdateFrame(doc, TRUE);
  EXPECT_EQ(Count(watcher.seen, WM_MDICREATE), 2u);
  EXPECT_EQ(first->GetMDIFrame(), frame);
  EXPECT_EQ(frame->MDIGetActive(), second);
  EXPECT_EQ(frame->GetActiveFrame(), second);
  ASSERT_NE(second->GetActiveView(), nullptr);
  EXPECT_EQ(second->GetActiveDocument(), doc);

  // A command to the MDI frame reaches the active child's view and document.
  harness::PostCommand(hWndFrame, ID_SAMPLE_COMMAND);
  EXPECT_EQ(doc->commands, 1);

  watcher.seen.clear();
  frame->MDIActivate(first);
  EXPECT_EQ(frame->MDIGetActive(), first);
  EXPECT_EQ(Count(watcher.seen, WM_MDIACTIVATE), 1u);
  BOOL maximized = FALSE;
  first->MDIMaximize();
  EXPECT_EQ(frame->MDIGetActive(&maximized), first);
  EXPECT_TRUE(maximized);
  first->MDIRestore();
  frame->MDIGetActive(&maximized);
  EXPECT_FALSE(maximized);

  // Closing a child that shares its document with another goes through the client.
  HWND hWndFirst = first->m_hWnd;
  first->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWndFirst));
  EXPECT_EQ(Count(watcher.seen, WM_MDIDESTROY), 1u);
  EXPECT_EQ(frame->MDIGetActive(), second);
  POSITION pos = doc->GetFirstViewPosition();
  EXPECT_EQ(doc->GetNextView(pos), second->GetActiveView());
  EXPECT_EQ(pos, nullptr);

  frame->DestroyWindow();  // the second child, its view and the document go with it
  EXPECT_FALSE(::IsWindow(hWndFrame));
  EXPECT_EQ(watcher.m_hWnd, nullptr);
}

TEST(MdiFrame, AMultipleDocumentTemplateMakesADocumentAndAChildEachTime) {
  auto* frame = new CMDIFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, _T("MDI Documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 600, 440}));
  HWND hWndFrame = frame->m_hWnd;
  CWinApp& app = cltest::App();
  app.m_pMainWnd = frame;
  {
    CMultiDocTemplate docTemplate(IDR_MDI_CHILD, RUNTIME_CLASS(SampleDoc), RUNTIME_CLASS(CMDIChildWnd),
                                  RUNTIME_CLASS(SampleView));
    CDocument* first = docTemplate.OpenDocumentFile(nullptr);
    CDocument* second = docTemplate.OpenDocumentFile(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->GetTitle(), _T("Note1"));
    EXPECT_EQ(second->GetTitle(), _T("Note2"));
    CMDIChildWnd* active = frame->MDIGetActive();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->GetActiveDocument(), second);
    EXPECT_EQ(harness::Text(active->m_hWnd), L"Note2");  // the resource's window title is empty
    POSITION pos = docTemplate.GetFirstDocPosition();
    EXPECT_EQ(docTemplate.GetNextDoc(pos), first);
    EXPECT_EQ(docTemplate.GetNextDoc(pos), second);
    // Closing a child closes its document (its only frame).
    active->SendMessage(WM_CLOSE);
    pos = docTemplate.GetFirstDocPosition();
    EXPECT_EQ(docTemplate.GetNextDoc(pos), first);
    EXPECT_EQ(pos, nullptr);
    docTemplate.CloseAllDocuments(FALSE);
    EXPECT_EQ(docTemplate.GetFirstDocPosition(), nullptr);
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
  }
  app.m_pMainWnd = nullptr;
  frame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(hWndFrame));
}

// A pop-up owned by a frame that records what the frame tells its floating windows.
class FloatRecorder : public CWnd {
 public:
  std::vector<WPARAM> seen;

 protected:
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM) {
    seen.push_back(wParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FloatRecorder, CWnd)
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

TEST(MiniFrame, APopupFollowsItsFrame) {
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, _T("Owner Frame"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 450, 350}));
  HWND hWndFrame = frame->m_hWnd;
  auto* mini = new CMiniFrameWnd;
  ASSERT_TRUE(mini->Create(nullptr, _T("Floating"),
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | MFS_SYNCACTIVE | MFS_THICKFRAME |
                               MFS_BLOCKSYSMENU,
                           RECT{100, 100, 300, 250}, frame));
  EXPECT_EQ(::GetWindow(mini->m_hWnd, GW_OWNER), hWndFrame);
  EXPECT_NE(mini->GetExStyle() & WS_EX_TOOLWINDOW, 0u);
  EXPECT_NE(mini->GetStyle() & WS_THICKFRAME, 0u);
  EXPECT_EQ(mini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE), 1);
  EXPECT_TRUE(mini->IsFrameWnd());

  FloatRecorder recorder;
  ASSERT_TRUE(recorder.CreateEx(0, nullptr, _T("recorder"), WS_POPUP, 0, 0, 10, 10, hWndFrame, nullptr));
  frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_FALSE(recorder.seen.empty());
  EXPECT_EQ(recorder.seen.back(), FS_ACTIVATE);
  recorder.seen.clear();
  frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(mini->m_hWnd));  // to its own float
  EXPECT_TRUE(recorder.seen.empty());
  frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(recorder.seen, std::vector<WPARAM>{FS_DEACTIVATE});

  // The frame hidden, disabled, shown and enabled again: the floating frame follows.
  frame->ShowWindow(SW_HIDE);
  EXPECT_FALSE(mini->IsWindowVisible());
  frame->ShowWindow(SW_SHOW);
  EXPECT_TRUE(mini->IsWindowVisible());
  frame->EnableWindow(FALSE);
  EXPECT_FALSE(mini->IsWindowEnabled());
  frame->EnableWindow(TRUE);
  EXPECT_TRUE(mini->IsWindowEnabled());
  recorder.DestroyWindow();

  // As a child: a panel with its own first pane.
  auto* panel = new CMiniFrameWnd;
  ASSERT_TRUE(panel->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, RECT{10, 10, 130, 210}, frame,
                            0x1234));
  EXPECT_EQ(panel->GetParent(), frame);
  EXPECT_EQ(panel->GetDlgCtrlID(), 0x1234);
  EXPECT_EQ(panel->GetExStyle() & WS_EX_TOOLWINDOW, 0u);
  EXPECT_EQ(panel->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE), 0);
  CWnd pane;
  ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, RECT{0, 0, 0, 0}, panel, AFX_IDW_PANE_FIRST));
  panel->RecalcLayout();
  EXPECT_EQ(PlaceOf(pane), CRect(0, 0, 120, 200));
  EXPECT_EQ(panel->GetParentFrame(), frame);
  EXPECT_EQ(pane.GetTopLevelFrame(), frame);

  frame->DestroyWindow();  // the pop-up it owns and the child go with it
  EXPECT_FALSE(::IsWindow(hWndFrame));
  EXPECT_EQ(pane.m_hWnd, nullptr);
  cltest::Pump();
}

}  // namespace
