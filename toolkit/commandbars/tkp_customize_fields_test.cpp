// Customize mode on a toolbar holding a field: the size cursor over a field's side edge, the edge dragged
// to a new width (never below the field's least width, Escape keeps the old one).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/frame_test_support.h"
#include "toolkit/commandbars/tkp_command_bars.h"
#include "toolkit/commandbars/tkp_control.h"
#include "toolkit/commandbars/tkp_control_edit.h"
#include "toolkit/commandbars/tkp_controls.h"
#include "toolkit/commandbars/tkp_edit_window.h"
#include "toolkit/commandbars/tkp_frame_wnd.h"
#include "toolkit/commandbars/tkp_tool_bar.h"
#include "toolkit/common/resource_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Customize Fields Test")) {}
};
TestApp theApp;

class FieldFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() {
    if (m_pCommandBars == nullptr) m_pCommandBars = tkptest::MakeCommandBars(this);
    return m_pCommandBars;
  }
};

class CustomizeFields : public testing::Test {
 protected:
  void SetUp() override {
    frame = new FieldFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Fields"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 300)));
    bar = frame->Bars()->Add(_T("Search"), tkpBarTop);
    ASSERT_NE(bar, nullptr);
    bar->GetControls()->Add(tkpControlButton, ID_FIND_FILES);
    edit = static_cast<CTKPControlEdit*>(bar->GetControls()->Add(tkpControlEdit, ID_FIND_FILES + 1));
    edit->SetCaption(CString(_T("Find")));
    edit->SetWidth(120);
    frame->RecalcLayout();
    harness::PumpMessages();
    ASSERT_NE(edit->GetEditCtrl(), nullptr);
    frame->Bars()->SetCustomizeMode(TRUE);
    harness::PumpMessages();
  }
  void TearDown() override {
    frame->Bars()->SetCustomizeMode(FALSE);
    frame->DestroyWindow();
    harness::PumpMessages();
  }
  LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  // Presses the field's right edge with the moves and the ending message already queued for the loop.
  void DragRightEdge(int dx, UINT end, WPARAM endParam = 0) {
    const CRect rc = edit->GetRect();
    const int y = (rc.top + rc.bottom) / 2;
    frame->Bars()->SetDragControl(edit);
    ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(rc.right - 1 + dx / 2, y));
    ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, At(rc.right - 1 + dx, y));
    ::PostMessageW(bar->m_hWnd, end, endParam, end == WM_LBUTTONUP ? At(rc.right - 1 + dx, y) : 0);
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(rc.right - 1, y));
    harness::PumpMessages();
  }
  FieldFrame* frame = nullptr;
  CTKPToolBar* bar = nullptr;
  CTKPControlEdit* edit = nullptr;
};

TEST_F(CustomizeFields, TheSizeCursorShowsOverAFieldsSideEdgeOnly) {
  const CRect rc = edit->GetRect();
  const int y = (rc.top + rc.bottom) / 2;
  HCURSOR size = TKPResourceManager()->LoadCursor(IDC_TK_CUSTOMIZE_RESIZE);
  ASSERT_NE(size, nullptr);
  ::SetCursor(nullptr);
  CPoint edge(rc.right - 1, y);
  bar->ClientToScreen(edge);
  ::SetCursorPos(edge.x, edge.y);
  EXPECT_TRUE(bar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), size);
  // In the middle of the field (over the bar beside its window) nothing is set.
  ::SetCursor(nullptr);
  CPoint middle(rc.left + 3, y);
  bar->ClientToScreen(middle);
  ::SetCursorPos(middle.x, middle.y);
  bar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), size);
}

TEST_F(CustomizeFields, DraggingTheSelectedFieldsEdgeSetsItsWidth) {
  const int before = edit->GetRect().Width();
  DragRightEdge(40, WM_LBUTTONUP);
  EXPECT_EQ(edit->GetWidth(), 160);
  EXPECT_EQ(frame->Bars()->GetDragControl(), edit);
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_EQ(edit->GetRect().Width(), before + 40);

  // Escape keeps the width.
  DragRightEdge(30, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(edit->GetWidth(), 160);

  // Never narrower than the field's least width.
  DragRightEdge(-400, WM_LBUTTONUP);
  EXPECT_EQ(edit->GetWidth(), 160 + edit->GetCustomizeMinWidth() - (before + 40));
}

}  // namespace
