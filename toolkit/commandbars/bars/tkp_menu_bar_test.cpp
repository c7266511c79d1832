// The menu bar in real frames: it takes the frame's menu, the menu key alone starts its keyboard
// tracking, and in an MDI frame a maximized child brings its system menu and its buttons to the bar.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "toolkit/commandbars/frame/frame_test_support.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/frame/tkp_frame_wnd.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("Dorvane Menu Bar Test")) {}
  // Message boxes are answered as set (Cancel unless a test says otherwise) and remembered.
  int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override {
    asked.push_back(lpszPrompt);
    styles.push_back(nType);
    return answer;
  }
  int answer = IDCANCEL;
  std::vector<CString> asked;
  std::vector<UINT> styles;
};
TestApp theApp;

constexpr UINT kMenu = 901;  // tkp_menu_bar_test.rc

class MenuFrame : public CTKPFrameWnd {
 public:
  CTKPCommandBars* Bars() const { return m_pCommandBars; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTKPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pCommandBars = tkptest::MakeCommandBars(this);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuFrame, CTKPFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// An MDI frame with its own manager (the toolkit's frame base is not an MDI frame).
class MdiMenuFrame : public CMDIFrameWnd {
 public:
  CTKPCommandBars* bars = nullptr;
  ~MdiMenuFrame() override {
    if (bars != nullptr) bars->InternalRelease();
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    bars = tkptest::MakeCommandBars(this);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MdiMenuFrame, CMDIFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// The controls of the menu and the child's buttons, not the bar's own expand button.
int MenuControls(CTKPMenuBar* bar) {
  int count = 0;
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    const int id = bar->GetControl(i)->GetID();
    count += !bar->GetControl(i)->IsTemporary() || (id >= TKP_ID_MENUBAR_CLOSE && id <= TKP_ID_MENUBAR_SYSMENU);
  }
  return count;
}

// A shown frame with the test menu on its menu bar; NULL when either fails.
CTKPMenuBar* OpenMenuFrame(MenuFrame* frame) {
  if (!frame->Create(nullptr, _T("Menu"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 500, 300))) return nullptr;
  CTKPMenuBar* bar = frame->Bars()->SetMenu(_T("Menu Bar"), kMenu);
  if (bar == nullptr) return nullptr;
  frame->RecalcLayout();
  harness::PumpMessages();
  return bar;
}

// An MDI frame whose menu bar shows a maximized child's system menu, with one child open (not maximized).
CTKPMenuBar* OpenMdiFrame(MdiMenuFrame* frame, CMDIChildWnd* child) {
  if (!frame->Create(nullptr, _T("MDI Menu"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 640, 480})) return nullptr;
  CTKPMenuBar* bar = frame->bars->SetMenu(_T("Menu Bar"), kMenu);
  if (bar == nullptr) return nullptr;
  bar->SetFlags(bar->GetFlags() | TKP_MENUBAR_SHOW_SYSMENU);
  frame->RecalcLayout();
  if (!child->Create(nullptr, _T("Child"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame,
                     nullptr)) {
    return nullptr;
  }
  harness::PumpMessages();
  return bar;
}

TEST(MenuBar, TakesTheFramesMenu) {
  auto* frame = new MenuFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Menu"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 500, 300)));
  EXPECT_EQ(frame->Bars()->SetMenu(_T("Menu Bar"), 4711), nullptr);  // no such menu: nothing made
  CTKPMenuBar* bar = frame->Bars()->SetMenu(_T("Menu Bar"), kMenu);
  ASSERT_NE(bar, nullptr);
  frame->RecalcLayout();
  harness::PumpMessages();
  EXPECT_EQ(frame->Bars()->GetMenuBar(), bar);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
  EXPECT_EQ(bar->GetBarID(), 1u);
  EXPECT_EQ(bar->GetPosition(), tkpBarTop);
  ASSERT_EQ(MenuControls(bar), 2);
  EXPECT_EQ(bar->GetControl(0)->GetCaption(), CString(_T("&File")));
  EXPECT_EQ(bar->GetControl(1)->GetCaption(), CString(_T("&Edit")));
  EXPECT_EQ(bar->GetDefaultMenuID(), kMenu);
  EXPECT_NE(bar->GetControls()->GetOriginalControls(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(bar->m_hWnd));

  // A menu title is its caption, the room of its drop-down arrow and its margins; the arrow is drawn
  // after the text in the text's colour.
  CClientDC dc(bar);
  CTKPPaintManager* paint = bar->GetPaintManager();
  CFont* old = dc.SelectObject(paint->GetRegularFont(bar));
  const CSize text = dc.GetTextExtent(_T("File"));
  dc.SelectObject(old);
  EXPECT_EQ(paint->DrawControl(&dc, bar->GetControl(0), FALSE).cx, text.cx + 10 + 6);
  bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  harness::PumpMessages();
  const CRect file = bar->GetControl(0)->GetRect();
  // The arrow's tip and its top row lie right of the centred text, which stands (text + 5) wide.
  const int left = file.left + (file.Width() - (text.cx + 5)) / 2;
  const int x = left + text.cx + 5;
  const int y = file.CenterPoint().y;
  HDC screen = ::GetDC(bar->m_hWnd);
  const COLORREF face = ::GetPixel(screen, file.right - 1, y);
  int inked = 0;
  for (int dx = -2; dx <= 2; ++dx) inked += ::GetPixel(screen, x + dx, y - 1) != face ? 1 : 0;
  const bool tip = ::GetPixel(screen, x, y) != face;
  ::ReleaseDC(bar->m_hWnd, screen);
  EXPECT_GE(inked, 3);
  EXPECT_TRUE(tip);
  harness::CaptureWindow(frame->m_hWnd, "menu_bar_titles");
  frame->DestroyWindow();
}

// The bars each dock bar holds in its rows.
int DockedBars(CTKPDockBar* dock) {
  int count = 0;
  for (int i = 0; i < dock->GetCount(); ++i) count += dock->GetAt(i) != nullptr;
  return count;
}

// A bar whose window goes, by a failed menu or otherwise, leaves its dock bar's rows with it: the next
// layout and the saved state must not reach it.
TEST(MenuBar, ABarWhoseWindowGoesLeavesItsDockBar) {
  auto* frame = new MenuFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Menu"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 500, 300)));
  CTKPDockBar* top = frame->Bars()->GetDockBar(tkpBarTop);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(frame->Bars()->SetMenu(_T("Menu Bar"), 4711), nullptr);  // no such menu
  EXPECT_EQ(DockedBars(top), 0);
  EXPECT_EQ(frame->Bars()->GetCount(), 0);
  CTKPToolBar* bar = frame->Bars()->Add(_T("Standard"), tkpBarTop);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(DockedBars(top), 1);
  bar->DestroyWindow();
  EXPECT_EQ(DockedBars(top), 0);
  EXPECT_EQ(bar->GetDockBar(), nullptr);
  frame->DestroyWindow();
}

TEST(MenuBar, TheMenuKeyAloneStartsKeyboardTracking) {
  auto* frame = new MenuFrame;
  CTKPMenuBar* bar = OpenMenuFrame(frame);
  ASSERT_NE(bar, nullptr);
  // Shift+F10 is the context menu's key: the bar stays out of it.
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  // (Asked directly: a key the bar leaves goes on to the system's own menu loop.)
  WPARAM command = SC_KEYMENU;
  LPARAM alone = 0, letter = 'f';
  LRESULT result = 0;
  EXPECT_EQ(bar->OnHookMessage(frame->m_hWnd, WM_SYSCOMMAND, command, alone, result), 0);
  EXPECT_FALSE(bar->IsTrackingMode());
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(bar->OnHookMessage(frame->m_hWnd, WM_SYSCOMMAND, command, letter, result), 0);  // a mnemonic
  EXPECT_FALSE(bar->IsTrackingMode());
  frame->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(bar->IsTrackingMode());
  bar->SetTrackingMode(0);
  frame->DestroyWindow();
}

int IndexOf(CTKPMenuBar* bar, int id) {
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    if (bar->GetControl(i)->GetID() == id) return i;
  }
  return -1;
}

TEST(MenuBar, AMaximizedMdiChildBringsItsButtons) {
  auto* frame = new MdiMenuFrame;
  auto* child = new CMDIChildWnd;
  CTKPMenuBar* bar = OpenMdiFrame(frame, child);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetActiveMdiChild(), child->m_hWnd);
  EXPECT_EQ(MenuControls(bar), 2);

  ::EnableMenuItem(::GetSystemMenu(child->m_hWnd, FALSE), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  frame->MDIMaximize(child);
  harness::PumpMessages();
  ASSERT_EQ(MenuControls(bar), 6);
  EXPECT_EQ(IndexOf(bar, TKP_ID_MENUBAR_SYSMENU), 0);
  // After the menu's controls, in this order.
  EXPECT_GE(IndexOf(bar, TKP_ID_MENUBAR_MINIMIZE), 3);
  EXPECT_LT(IndexOf(bar, TKP_ID_MENUBAR_MINIMIZE), IndexOf(bar, TKP_ID_MENUBAR_RESTORE));
  EXPECT_LT(IndexOf(bar, TKP_ID_MENUBAR_RESTORE), IndexOf(bar, TKP_ID_MENUBAR_CLOSE));
  EXPECT_TRUE(bar->GetControl(IndexOf(bar, TKP_ID_MENUBAR_CLOSE))->IsTemporary());
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);  // no system caption buttons come back with the maximized child
  CTKPControl* sysMenu = bar->GetControl(0);
  ASSERT_NE(sysMenu->GetCommandBar(), nullptr);
  // The child's system commands as buttons that keep the menu's states; Close is the default item.
  CTKPControl* close = sysMenu->GetCommandBar()->GetControls()->FindControl(SC_CLOSE);
  ASSERT_NE(close, nullptr);
  EXPECT_NE(close->GetFlags() & tkpFlagManualUpdate, 0u);
  EXPECT_TRUE(close->GetDefaultItem());
  EXPECT_TRUE(close->GetBeginGroup());
  CTKPControl* size = sysMenu->GetCommandBar()->GetControls()->FindControl(SC_SIZE);
  ASSERT_NE(size, nullptr);
  EXPECT_FALSE(size->GetEnabled());  // grayed in the child's menu

  // The close button closes the child's window through its system command.
  frame->MDIRestore(child);
  harness::PumpMessages();
  EXPECT_EQ(MenuControls(bar), 2);

  // A child without a minimize box gets no minimize button.
  child->ModifyStyle(WS_MINIMIZEBOX, 0);
  frame->MDIMaximize(child);
  harness::PumpMessages();
  EXPECT_EQ(IndexOf(bar, TKP_ID_MENUBAR_MINIMIZE), -1);
  EXPECT_NE(IndexOf(bar, TKP_ID_MENUBAR_RESTORE), -1);
  bar->GetControl(IndexOf(bar, TKP_ID_MENUBAR_CLOSE))->OnExecute();
  harness::PumpMessages();
  EXPECT_EQ(bar->GetActiveMdiChild(), nullptr);
  EXPECT_EQ(MenuControls(bar), 2);
  frame->DestroyWindow();
}

// Opening the maximized child's system menu with a click on its icon: the menu drops from the icon with
// a one-pixel gap on every side of it, so the icon stays whole beside the open menu.
TEST(MenuBar, TheChildsSystemMenuOpensClearOfItsIcon) {
  auto* frame = new MdiMenuFrame;
  auto* child = new CMDIChildWnd;
  CTKPMenuBar* bar = OpenMdiFrame(frame, child);
  ASSERT_NE(bar, nullptr);
  frame->MDIMaximize(child);
  harness::PumpMessages();
  ASSERT_EQ(IndexOf(bar, TKP_ID_MENUBAR_SYSMENU), 0);
  CTKPControl* icon = bar->GetControl(0);
  CTKPCommandBar* menu = icon->GetCommandBar();
  ASSERT_NE(menu, nullptr);
  const CRect rc = icon->GetRect();
  ASSERT_FALSE(rc.IsRectEmpty());
  const LPARAM centre = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(bar->m_hWnd, WM_MOUSEMOVE, 0, centre);
  ::PostMessageW(bar->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  ASSERT_TRUE(harness::WaitUntil([&] { return menu->GetSafeHwnd() != nullptr && ::IsWindowVisible(menu->m_hWnd); }));
  CRect screen = rc;
  bar->ClientToScreen(screen);
  CRect placed;
  menu->GetWindowRect(placed);
  EXPECT_EQ(placed.left, screen.left - 1);
  EXPECT_EQ(placed.top, screen.bottom + 1);
  ::PostMessageW(bar->m_hWnd, WM_LBUTTONUP, 0, centre);
  harness::PumpMessages();
  TKPMouseManager()->SendTrackLost();
  harness::PumpMessages();
  frame->DestroyWindow();
}

// With the flag that leaves the MDI menu alone, the MDI client's menu change reaches the frame.
TEST(MenuBar, TheFlagThatIgnoresTheMdiMenuLetsItThrough) {
  auto* frame = new MdiMenuFrame;
  auto* child = new CMDIChildWnd;
  CTKPMenuBar* bar = OpenMdiFrame(frame, child);
  ASSERT_NE(bar, nullptr);
  HMENU other = ::CreateMenu();
  ::AppendMenuW(other, MF_STRING, 32810, L"&Other");
  ::SendMessageW(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);  // taken by the bar
  bar->SetFlags(bar->GetFlags() | TKP_MENUBAR_IGNORE_SETMENU);
  ::SendMessageW(frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), other);
  ::SetMenu(frame->m_hWnd, nullptr);
  ::DestroyMenu(other);
  frame->DestroyWindow();
}

// Bars laid out again bring the MDI frame's document tabs up to date with their windows.
TEST(MenuBar, RelaidBarsRefreshTheDocumentTabs) {
  auto* frame = new MdiMenuFrame;
  auto* child = new CMDIChildWnd;
  ASSERT_NE(OpenMdiFrame(frame, child), nullptr);
  CTKPTabClientWnd tabs;
  ASSERT_TRUE(tabs.Attach(frame));
  harness::PumpMessages();
  ASSERT_NE(tabs.FindItem(child->m_hWnd), nullptr);
  ::SetWindowTextW(child->m_hWnd, L"Renamed");
  frame->bars->RecalcCommandBarsLayout();
  ASSERT_NE(tabs.FindItem(child->m_hWnd), nullptr);
  EXPECT_EQ(tabs.FindItem(child->m_hWnd)->GetCaption(), CString(_T("Renamed")));
  frame->DestroyWindow();
}

// Resetting a menu bar that has no original controls to go back to reloads its menu, once the user agrees
// to the program's question; Cancel leaves the bar as it is.
TEST(MenuBar, ResetAsksTheProgramsQuestionFirst) {
  auto* frame = new MenuFrame;
  CTKPMenuBar* bar = OpenMenuFrame(frame);
  ASSERT_NE(bar, nullptr);
  bar->GetControls()->ReleaseOriginalControls();
  bar->GetControls()->Remove(1);
  ASSERT_EQ(MenuControls(bar), 1);
  theApp.asked.clear();
  theApp.styles.clear();
  bar->ResetToolBar();
  ASSERT_EQ(theApp.asked.size(), 1u);
  EXPECT_STREQ(theApp.asked[0].GetString(), _T("Undo every change to 'Menu Bar'?"));
  EXPECT_EQ(theApp.styles[0], static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
  EXPECT_EQ(MenuControls(bar), 1);
  frame->DestroyWindow();
}

// A menu changed after a reset is the user's own: its originals stay as loaded, so that it is saved as
// changed and a second reset brings the loaded menu back again.
TEST(MenuBar, AResetLeavesTheOriginalMenusForTheNextReset) {
  auto* frame = new MenuFrame;
  CTKPMenuBar* bar = OpenMenuFrame(frame);
  ASSERT_NE(bar, nullptr);
  theApp.answer = IDOK;
  const auto fileItems = [bar] { return bar->GetControl(0)->GetCommandBar()->GetControlCount(); };
  ASSERT_EQ(fileItems(), 2);
  for (int round = 0; round < 2; ++round) {
    bar->GetControl(0)->GetCommandBar()->GetControls()->Remove(0);
    ASSERT_EQ(fileItems(), 1);
    EXPECT_TRUE(bar->GetControls()->IsChanged()) << round;
    bar->ResetToolBar();
    EXPECT_EQ(fileItems(), 2) << round;
    EXPECT_FALSE(bar->GetControls()->IsChanged()) << round;
  }
  theApp.answer = IDCANCEL;
  frame->DestroyWindow();
}

}  // namespace
