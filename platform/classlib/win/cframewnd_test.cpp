// Frames in real windows: a frame with a view, a status bar and a bar along the top lays them out
// and again when it is resized; children with id 0 take part; the measuring pass moves nothing;
// delayed layout and delayed show and hide wait for the idle turn; the active view and its document
// get commands before the frame and the application; status texts and key indicators; closing.
#include <gtest/gtest.h>

#include "platform/classlib/win/frame_test_support.h"
#include "platform/classlib/win/win_test_support.h"
#include "platform/harness/driver.h"
#include "platform/harness/scripted_seams.h"

using cltest::FixedBar;
using cltest::PlaceOf;
using cltest::SampleDoc;
using cltest::SampleFrame;
using cltest::SampleView;

namespace {

// A child without an id that takes a strip along the left edge, as the docking panes do.
class LeftPanel : public CWnd {
 public:
  int width = 50;
  int measured = 0;

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (layout->hDWP == nullptr) ++measured;
    CRect strip(layout->rect);
    strip.right = strip.left + width;
    layout->rect.left += width;
    layout->sizeTotal.cx += width;
    if (layout->hDWP != nullptr) AfxRepositionWindow(layout, m_hWnd, strip);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LeftPanel, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class FrameTest : public testing::Test {
 protected:
  void SetUp() override {
    document = new SampleDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(SampleView);
    context.m_pCurrentDoc = document;
    frame = new SampleFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_SAMPLE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
    hWnd = frame->m_hWnd;
    frame->InitialUpdateFrame(document, TRUE);
    SetClientSize(480, 320);
    view = static_cast<SampleView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(hWnd)) frame->DestroyWindow();  // the view goes, and the document with it
    cltest::Pump();
    cltest::TakeQuit();
  }
  void SetClientSize(int cx, int cy) {
    CRect rect(0, 0, cx, cy);
    ::AdjustWindowRectEx(rect, frame->GetStyle(), ::GetMenu(hWnd) != nullptr, frame->GetExStyle());
    frame->SetWindowPos(nullptr, 60, 60, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CRect Client() const {
    CRect client;
    frame->GetClientRect(client);
    return client;
  }

  SampleDoc* document = nullptr;
  SampleFrame* frame = nullptr;
  SampleView* view = nullptr;
  HWND hWnd = nullptr;
};

TEST_F(FrameTest, TheBarsTakeTheirEdgesAndTheFirstPaneTheRest) {
  CRect client = Client();
  CRect top = PlaceOf(frame->toolbar);
  CRect bottom = PlaceOf(frame->status);
  CRect pane = PlaceOf(*view);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(top, CRect(0, 0, client.right, frame->toolbar.CalcFixedLayout(FALSE, TRUE).cy));
  EXPECT_EQ(top.Height(), 28 + 1);  // its thickness and the bottom edge of CBRS_TOP
  EXPECT_EQ(bottom.bottom, client.bottom);
  EXPECT_EQ(bottom.Width(), client.Width());
  EXPECT_EQ(bottom.Height(), frame->status.CalcFixedLayout(TRUE, TRUE).cy);
  EXPECT_EQ(pane, CRect(0, top.bottom, client.right, bottom.top));

  // A new size lays them out again.
  SetClientSize(620, 400);
  client = Client();
  EXPECT_EQ(client.Width(), 620);
  EXPECT_EQ(PlaceOf(frame->toolbar).Width(), 620);
  EXPECT_EQ(PlaceOf(frame->status).bottom, 400);
  EXPECT_EQ(PlaceOf(*view), CRect(0, top.bottom, 620, PlaceOf(frame->status).top));
}

TEST_F(FrameTest, AChildWithoutAnIdTakesItsStripAndTheMeasuringPassMovesNothing) {
  LeftPanel panel;
  ASSERT_TRUE(panel.Create(nullptr, nullptr, WS_VISIBLE, RECT{0, 0, 0, 0}, frame, 0));
  frame->RecalcLayout();
  CRect top = PlaceOf(frame->toolbar);
  CRect bottom = PlaceOf(frame->status);
  EXPECT_EQ(PlaceOf(panel), CRect(0, top.bottom, 50, bottom.top));
  EXPECT_EQ(PlaceOf(*view), CRect(50, top.bottom, Client().right, bottom.top));

  // Measuring: what is left, or the sizes taken; no window moves.
  panel.width = 80;
  CRect rest;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, rest);
  EXPECT_EQ(rest, CRect(80, top.bottom, Client().right, bottom.top));
  EXPECT_EQ(panel.measured, 1);
  CRect taken;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, taken, nullptr, FALSE);
  EXPECT_GE(taken.right, 80);  // the widest of the panel and the bars' own widths
  EXPECT_EQ(taken.bottom, top.Height() + bottom.Height());
  EXPECT_EQ(PlaceOf(panel).Width(), 50);
  // Room kept free around the first pane.
  frame->m_rectBorder = CRect(4, 5, 6, 7);
  frame->RecalcLayout();
  EXPECT_EQ(PlaceOf(*view), CRect(84, top.bottom + 5, Client().right - 6, bottom.top - 7));
  panel.DestroyWindow();
}

TEST_F(FrameTest, DelayedLayoutAndDelayedHidingWaitForTheIdleTurn) {
  CRect before = PlaceOf(*view);
  frame->toolbar.SetBarStyle(CBRS_LEFT);
  frame->DelayRecalcLayout();
  EXPECT_EQ(PlaceOf(*view), before);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(frame->m_nIdleFlags, 0u);
  CRect left = PlaceOf(frame->toolbar);
  EXPECT_EQ(left.left, 0);
  EXPECT_EQ(left.Width(), 28 + 1);
  EXPECT_EQ(PlaceOf(*view).left, left.right);
  EXPECT_EQ(PlaceOf(*view).top, 0);

  EXPECT_EQ(frame->GetControlBar(AFX_IDW_STATUS_BAR), &frame->status);
  EXPECT_EQ(frame->GetControlBar(AFX_IDW_TOOLBAR), &frame->toolbar);
  frame->ShowControlBar(&frame->status, FALSE, TRUE);
  EXPECT_FALSE(frame->status.IsVisible());
  EXPECT_TRUE(frame->status.IsWindowVisible());  // not yet
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(frame->status.IsWindowVisible());
  EXPECT_EQ(PlaceOf(*view).bottom, Client().bottom);
  frame->ShowControlBar(&frame->status, TRUE, FALSE);
  EXPECT_TRUE(frame->status.IsWindowVisible());
  EXPECT_EQ(PlaceOf(*view).bottom, PlaceOf(frame->status).top);
}

TEST_F(FrameTest, TheIdleTurnUpdatesTheBarsFromTheFrame) {
  frame->toolbar.updates = 0;
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_EQ(frame->toolbar.updates, 1);
  EXPECT_EQ(frame->toolbar.lastTarget, frame);
  // A hidden bar is left alone.
  frame->ShowControlBar(&frame->toolbar, FALSE, FALSE);
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_EQ(frame->toolbar.updates, 1);
}

TEST_F(FrameTest, TheActiveViewAndItsDocumentTakeCommandsBeforeTheApplication) {
  EXPECT_EQ(frame->GetActiveDocument(), document);
  EXPECT_EQ(view->GetDocument(), document);
  EXPECT_EQ(view->initialUpdates, 1);
  EXPECT_EQ(view->GetParentFrame(), frame);
  EXPECT_EQ(frame->GetActiveFrame(), frame);
  harness::PostCommand(hWnd, ID_SAMPLE_COMMAND);
  EXPECT_EQ(document->commands, 1);
  // The command's update goes the same way: the document's handler exists, so it is enabled.
  AFX_CMDHANDLERINFO info{};
  EXPECT_TRUE(frame->OnCmdMsg(ID_SAMPLE_COMMAND, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, document);
  // The application ends the route.
  int before = cltest::App().appCommands;
  harness::PostCommand(hWnd, cltest::kAppCommand);
  EXPECT_EQ(cltest::App().appCommands, before + 1);
  // Without an active view the document is out of the route.
  frame->SetActiveView(nullptr);
  harness::PostCommand(hWnd, ID_SAMPLE_COMMAND);
  EXPECT_EQ(document->commands, 1);
  frame->SetActiveView(view);
  // The frame's accelerators (Ctrl+K) reach the document through the loop's pre-translation.
  frame->SetForegroundWindow();
  view->SetFocus();
  MSG keys[] = {{view->m_hWnd, WM_KEYDOWN, VK_CONTROL, 0, 0, {}}, {view->m_hWnd, WM_KEYDOWN, 'K', 0, 0, {}}};
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(hWnd, &keys[1]));
  state[VK_CONTROL] = 0;
  ::SetKeyboardState(state);
  EXPECT_EQ(document->commands, 2);
}

TEST_F(FrameTest, StatusTextsAndTheKeyIndicators) {
  cltest::Pump();  // the idle prompt posted at creation
  EXPECT_EQ(harness::Text(frame->status.m_hWnd), L"Ready");
  frame->SetMessageText(ID_SAMPLE_COMMAND);  // the prompt before the line feed
  EXPECT_EQ(harness::Text(frame->status.m_hWnd), L"Runs the sample command");
  frame->SetMessageText(_T("Scanning"));
  EXPECT_EQ(harness::Text(frame->status.m_hWnd), L"Scanning");
  frame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  EXPECT_EQ(harness::Text(frame->status.m_hWnd), L"Ready");

  // The panes of the key indicators follow the keys' toggled states.
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  BYTE saved = state[VK_CAPITAL];
  for (BYTE toggled : {BYTE{1}, BYTE{0}}) {
    state[VK_CAPITAL] = toggled;
    ::SetKeyboardState(state);
    frame->status.OnUpdateCmdUI(frame, TRUE);
    EXPECT_EQ((frame->status.GetPaneStyle(1) & SBPS_DISABLED) != 0, toggled == 0);
  }
  state[VK_CAPITAL] = saved;
  ::SetKeyboardState(state);
}

TEST_F(FrameTest, TheTitleShowsTheDocumentAndClosingEndsFrameViewAndDocument) {
  document->SetTitle(_T("disk.vsnp"));
  EXPECT_EQ(harness::Text(hWnd), L"disk.vsnp - Sample");
  EXPECT_EQ(frame->GetTitle(), _T("Sample"));
  EXPECT_NE(::GetMenu(hWnd), nullptr);  // the menu of the frame's resources
  EXPECT_NE(frame->m_hAccelTable, nullptr);

  // A changed document asks first; Cancel keeps everything.
  harness::ScopedSeams seams;
  document->SetModifiedFlag();
  seams.boxes.Answer(IDCANCEL);
  frame->SendMessage(WM_CLOSE);
  ASSERT_TRUE(::IsWindow(hWnd));
  ASSERT_EQ(seams.boxes.Log().size(), 1u);
  EXPECT_EQ(seams.boxes.Log()[0].text, u"Save changes to disk.vsnp?");
  // No: the frame, its view and the document end.
  seams.boxes.Answer(IDNO);
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
