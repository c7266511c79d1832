// A command bar's idle update in a real frame: the frame's update handlers set its controls' states,
// a manual control keeps its own, customizing enables everything, the selected control's description
// shows in the status bar and goes again, the help id under a point, and what a screen reader learns.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cstatusbar.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/messages.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/bars/tkp_command_bar_accessible.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Bar Update Test")) {}
};
TestApp theApp;

constexpr UINT kDisabled = 100, kChecked = 101, kUnhandled = 102, kManual = 103, kCaption = 104;
const UINT kIndicators[] = {ID_SEPARATOR};

class UpdateFrame : public CTKPFrameWnd {
 public:
  CStatusBar status;
  CTKPCommandBars* Bars() const { return m_pCommandBars; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!status.Create(this) || !status.SetIndicators(kIndicators, 1)) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this, false);
    return 0;
  }
  afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  afx_msg void OnUpdateManual(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnUpdateCaption(CCmdUI* pCmdUI) { pCmdUI->SetText(_T("Renamed")); }
  afx_msg void OnCommand() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdateFrame, CTKPFrameWnd)
  ON_WM_CREATE()
  ON_UPDATE_COMMAND_UI(kDisabled, OnUpdateDisabled)
  ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
  ON_UPDATE_COMMAND_UI(kManual, OnUpdateManual)
  ON_UPDATE_COMMAND_UI(kCaption, OnUpdateCaption)
  ON_COMMAND(kChecked, OnCommand)
END_MESSAGE_MAP()

// A plain bar of five buttons in a row.
class PlainBar : public CTKPCommandBar {
 public:
  BOOL Create(CWnd* pParent) {
    return CWnd::Create(AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), _T("Plain"), WS_CHILD | WS_VISIBLE,
                        CRect(0, 0, 300, 30), pParent, 0xE830);
  }
  void Place() {
    for (int i = 0; i < GetControlCount(); ++i) GetControl(i)->SetRect(CRect(i * 40, 2, i * 40 + 38, 26));
  }
};

class BarUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new UpdateFrame;
    ASSERT_TRUE(frame->Create(nullptr, _T("Update"), WS_OVERLAPPEDWINDOW, CRect(40, 40, 500, 300)));
    frame->ShowWindow(SW_SHOW);
    bar = new PlainBar;
    bar->SetCommandBars(frame->Bars());
    ASSERT_TRUE(bar->Create(frame));
    for (UINT id : {kDisabled, kChecked, kUnhandled, kManual, kCaption}) {
      CTKPControl* control = bar->GetControls()->Add(1, static_cast<int>(id));
      control->SetDescription(_T("Does thing ") + CString(static_cast<TCHAR>(_T('0') + id % 10)));
    }
    bar->GetControl(3)->SetFlags(bar->GetControl(3)->GetFlags() | tkpFlagManualUpdate);
    bar->Place();
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  void TearDown() override {
    bar->DestroyWindow();
    bar->InternalRelease();
    frame->DestroyWindow();
  }
  UpdateFrame* frame = nullptr;
  PlainBar* bar = nullptr;
};

TEST_F(BarUpdate, TheFramesHandlersSetTheControlsStates) {
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_FALSE(bar->GetControl(0)->GetEnabled());
  EXPECT_TRUE(bar->GetControl(1)->GetChecked());
  EXPECT_TRUE(bar->GetControl(1)->GetEnabled());
  EXPECT_FALSE(bar->GetControl(2)->GetEnabled());  // no handler, none to run either
  EXPECT_TRUE(bar->GetControl(3)->GetEnabled());   // manual: its handler is not asked
  EXPECT_EQ(bar->GetControl(4)->GetCaption(), CString(_T("Renamed")));
  // A hidden bar is left alone.
  bar->GetControl(0)->SetEnabled(TRUE);
  bar->ShowWindow(SW_HIDE);
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_TRUE(bar->GetControl(0)->GetEnabled());
}

TEST_F(BarUpdate, CustomizingEnablesEveryControl) {
  bar->GetControl(1)->SetChecked(TRUE);
  frame->Bars()->SetCustomizeMode(TRUE);
  bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  frame->Bars()->SetCustomizeMode(FALSE);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(bar->GetControl(i)->GetEnabled()) << i;
}

TEST_F(BarUpdate, TheStatusBarShowsTheSelectedControlsDescription) {
  bar->OnControlSelected(TRUE, bar->GetControl(1));
  EXPECT_EQ(frame->status.GetPaneText(0), CString(_T("Does thing 1")));
  bar->OnControlSelected(FALSE, bar->GetControl(1));
  EXPECT_NE(frame->status.GetPaneText(0), CString(_T("Does thing 1")));
  frame->Bars()->GetOptions()->bShowControlDescriptions = FALSE;
  bar->OnControlSelected(TRUE, bar->GetControl(2));
  EXPECT_NE(frame->status.GetPaneText(0), CString(_T("Does thing 2")));
}

// After a click the bar remembers the clicked control by its id: selected again at once, it does not put
// its description back, while another control still shows its own (the bar remembered the click's index
// and compared it with ids).
TEST_F(BarUpdate, AClickedControlsDescriptionIsNotShownAgainAtOnce) {
  CTKPControl* clicked = bar->GetControl(1);
  ::PostMessageW(bar->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(clicked->GetRect().CenterPoint().x, clicked->GetRect().CenterPoint().y));
  clicked->ClickToolBarButton(CRect());
  harness::PumpMessages();
  frame->status.SetPaneText(0, _T("Ready"));
  bar->OnControlSelected(TRUE, clicked);
  EXPECT_EQ(frame->status.GetPaneText(0), CString(_T("Ready")));
  bar->OnControlSelected(FALSE, clicked);
  bar->OnControlSelected(TRUE, bar->GetControl(4));
  EXPECT_EQ(frame->status.GetPaneText(0), CString(_T("Does thing 4")));
  bar->OnControlSelected(FALSE, bar->GetControl(4));
  bar->OnControlSelected(TRUE, clicked);
  EXPECT_EQ(frame->status.GetPaneText(0), CString(_T("Does thing 1")));
}

TEST_F(BarUpdate, HelpNamesTheCommandUnderThePoint) {
  EXPECT_EQ(bar->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(45, 10)), 0x10000 + static_cast<LRESULT>(kChecked));
  EXPECT_EQ(bar->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(290, 10)), 0x50000 + 0xE830);
}

TEST_F(BarUpdate, AScreenReaderSeesTheBarAndItsControls) {
  bar->SetTitle(_T("Plain"));
  bar->GetControl(1)->SetCaption(_T("&Check\tCtrl+K"));
  IAccessible* acc = nullptr;
  ASSERT_EQ(CTKPAccessible::AccessibleObjectFromWindow(bar->m_hWnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                       reinterpret_cast<void**>(&acc)),
            S_OK);
  ASSERT_NE(acc, nullptr);
  long count = 0;
  EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 5);
  VARIANT self{}, second{}, beyond{};
  self.vt = second.vt = beyond.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  second.lVal = 2;
  beyond.lVal = 6;
  BSTR name = nullptr;
  ASSERT_EQ(acc->get_accName(self, &name), S_OK);
  EXPECT_STREQ(name, L"Plain");
  ::SysFreeString(name);
  ASSERT_EQ(acc->get_accName(second, &name), S_OK);
  EXPECT_STREQ(name, L"Check\tCtrl+K");  // no table: the caption's own shortcut
  ::SysFreeString(name);
  EXPECT_EQ(acc->get_accName(beyond, &name), E_INVALIDARG);
  VARIANT role{};
  ASSERT_EQ(acc->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TOOLBAR);
  ASSERT_EQ(acc->get_accRole(second, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUITEM);
  long x = 0, y = 0, cx = 0, cy = 0;
  ASSERT_EQ(acc->accLocation(&x, &y, &cx, &cy, second), S_OK);
  EXPECT_EQ(cx, 38);
  VARIANT hit{};
  ASSERT_EQ(acc->accHitTest(x + 5, y + 5, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  EXPECT_EQ(hit.pdispVal, static_cast<IDispatch*>(static_cast<IAccessible*>(bar->GetControl(1))));
  hit.pdispVal->Release();
  EXPECT_EQ(acc->accHitTest(-5000, -5000, &hit), S_FALSE);
  acc->Release();
}

}  // namespace
