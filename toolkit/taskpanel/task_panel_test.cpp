// The task panel in a real window: groups of links, a text and a control laid out with the theme's margins; a
// group collapsed and expanded again on an injected clock; the owner's notifications and its veto; keyboard
// navigation; clicks (on empty space right after another control: only the panel takes the focus; a double
// click on a scroll button scrolls twice); hit tests by group and by element; an item copied to the clipboard
// and pasted back, a foreign or damaged clipboard object refused, and a record whose type belies its class;
// saved groups loaded back open as they were, through the owner; removing a group clears every pointer into
// it; an icon grid framed cell by cell. The screenshots task_panel.png and task_panel_icon_grid.png.
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"
#include "toolkit/taskpanel/task_panel_checks.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"
#include "toolkit/taskpanel/tp_clip_record.h"
#include "toolkit/taskpanel/tp_props.h"

// A serialisable class that is no element of the panel, as another program might put on the clipboard.
class ForeignRecord : public CObject {
  DECLARE_SERIAL(ForeignRecord)
};
IMPLEMENT_SERIAL(ForeignRecord, CObject, 16)

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("TaskPanelTest")) {}
};
TestApp theApp;

// Timers that only record: the test delivers the animation's ticks itself.
class ManualTimers : public CTKPTaskPanelTimers {
 public:
  void Start(HWND, UINT_PTR nID, UINT nElapse) override { started.emplace_back(nID, nElapse); running = true; }
  void Stop(HWND, UINT_PTR) override { running = false; }
  std::vector<std::pair<UINT_PTR, UINT>> started;
  bool running = false;
};

// The panel's owner: logs every notification; can refuse an expansion.
class Host : public CWnd {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> notes;
  bool refuseExpanding = false;

  std::vector<WPARAM> Codes() const {
    std::vector<WPARAM> codes;
    for (const auto& n : notes) codes.push_back(n.first);
    return codes;
  }

 protected:
  afx_msg LRESULT OnPanelNotify(WPARAM wParam, LPARAM lParam) {
    notes.emplace_back(wParam, lParam);
    return wParam == NotifyGroupExpanding && refuseExpanding ? -1 : 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, CWnd)
  ON_MESSAGE(TKPWM_TASKPANEL_NOTIFY, OnPanelNotify)
END_MESSAGE_MAP()

CPoint Centre(const CRect& rc) { return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2); }

class TaskPanel : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                              _T("Recovery tasks"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                              300, 560, nullptr, nullptr));
    panel.SetTimers(&timers);
    ASSERT_TRUE(panel.Create(WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 284, 520), &host, 100));
    ::SetCursorPos(2, 2);  // away from the panel, so that no real mouse move makes an item hot
    panel.GetImageManager()->SetIconsFromToolBar(IDR_MAINFRAME);
    panel.SetLockRedraw(TRUE);
    tasks = panel.AddGroup(1);
    tasks->SetCaption(_T("Recovery Tasks"));
    tasks->SetSpecialGroup(TRUE);
    open = Link(tasks, ID_OPEN_IMAGE, _T("Open a disk image"));
    recover = Link(tasks, ID_RECOVER_SELECTED, _T("Recover the selected files"));
    note = tasks->AddTextItem(_T("Ticked files are saved to the folder you choose; the image is only read."));
    snapshot = Link(tasks, ID_SAVE_SNAPSHOT, _T("Save a scan snapshot"));

    details = panel.AddGroup(2);
    details->SetCaption(_T("Scan Options"));
    details->AddTextItem(_T("Look only for files whose names match:"));
    edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"*.jpg; *.docx; *.pdf", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL,
                              0, 0, 180, 22, panel.m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    control = details->AddControlItem(edit);
    control->SetSize(CSize(180, 22));
    find = Link(details, ID_FIND_FILES, _T("Find files by name"));

    places = panel.AddGroup(3);
    places->SetCaption(_T("Other Places"));
    Link(places, ID_LOAD_SNAPSHOT, _T("Load a scan snapshot"));
    Link(places, ID_SETTINGS, _T("Settings"));
    places->SetExpanded(FALSE);
    panel.SetLockRedraw(FALSE);
    host.notes.clear();
    harness::PumpMessages();
  }
  void TearDown() override { host.DestroyWindow(); }

  // Links "Recovered folder 1" ... n in the places group.
  void AddFolders(UINT n) {
    for (UINT i = 0; i < n; ++i) {
      CString caption;
      caption.Format(_T("Recovered folder %u"), i + 1);
      places->AddLinkItem(5000 + i, ID_LOAD_SNAPSHOT)->SetCaption(caption);
    }
  }
  CTKPTaskPanelGroupItem* Link(CTKPTaskPanelGroup* group, UINT id, LPCTSTR caption) {
    CTKPTaskPanelGroupItem* item = group->AddLinkItem(id, static_cast<int>(id));
    item->SetCaption(caption);
    return item;
  }

  // The point in the panel's client area at the middle of an element.
  CPoint At(CTKPTaskPanelItem* item) const { return Centre(item->GetHitTestRect()); }
  void Key(UINT vk) { panel.SendMessage(WM_KEYDOWN, vk, 1); }
  void Click(CTKPTaskPanelItem* item) {
    const CPoint pt = At(item);
    panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  int Tick() { return static_cast<int>(panel.SendMessage(WM_TIMER, kTaskPanelAnimationTimer)); }
  CRect ControlRect() const {
    CRect rc;
    ::GetWindowRect(edit, rc);
    panel.ScreenToClient(rc);
    return rc;
  }

  Host host;
  ManualTimers timers;
  CTKPTaskPanel panel;
  CTKPTaskPanelGroup* tasks = nullptr;
  CTKPTaskPanelGroup* details = nullptr;
  CTKPTaskPanelGroup* places = nullptr;
  CTKPTaskPanelGroupItem* open = nullptr;
  CTKPTaskPanelGroupItem* recover = nullptr;
  CTKPTaskPanelGroupItem* note = nullptr;
  CTKPTaskPanelGroupItem* snapshot = nullptr;
  CTKPTaskPanelGroupItem* control = nullptr;
  CTKPTaskPanelGroupItem* find = nullptr;
  HWND edit = nullptr;
};

TEST_F(TaskPanel, GroupsStackWithTheThemeMarginsAndItemsFollowEachOther) {
  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  const int caption = paint->GetCaptionHeight();
  EXPECT_GE(caption, 25);
  EXPECT_EQ(tasks->GetCaptionRect(), CRect(12, 12, 272, 12 + caption));
  EXPECT_EQ(details->GetCaptionRect().top, tasks->GetTargetRect().bottom + 15);
  EXPECT_EQ(places->GetTargetRect().Height(), caption);  // collapsed: its caption only
  EXPECT_EQ(panel.GetClientHeight(), places->GetTargetRect().bottom + 12);
  // Items: 11 pixels in, one under the other, the text between the links.
  EXPECT_EQ(open->GetItemRect().left, 23);
  EXPECT_EQ(open->GetItemRect().top, 8);
  EXPECT_EQ(recover->GetItemRect().top, open->GetItemRect().bottom);
  EXPECT_EQ(note->GetItemRect().top, recover->GetItemRect().bottom);
  EXPECT_GT(note->GetItemRect().Height(), recover->GetItemRect().Height());  // the long text wraps
  EXPECT_EQ(tasks->GetBodyHeight(), snapshot->GetItemRect().bottom + 8);
  // The control's window stands where its item is.
  EXPECT_TRUE(::IsWindowVisible(edit));
  EXPECT_EQ(ControlRect(), control->GetHitTestRect());
  EXPECT_EQ(ControlRect().Size(), CSize(180, 22));
  // Hit tests: a link, a caption, the empty body; by group (with the caption flag) and by element.
  BOOL onCaption = TRUE;
  EXPECT_EQ(panel.HitTest(At(recover)), recover);
  EXPECT_EQ(panel.HitTest(At(recover), &onCaption), tasks);
  EXPECT_FALSE(onCaption);
  EXPECT_EQ(panel.HitTest(At(details), &onCaption), details);
  EXPECT_TRUE(onCaption);
  EXPECT_EQ(panel.HitTest(At(details)), details);
  const CRect body = tasks->GetClientRect();
  const CPoint empty(body.right - 3, body.bottom - 3);
  EXPECT_EQ(panel.HitTest(empty), nullptr);
  onCaption = TRUE;
  EXPECT_EQ(panel.HitTest(empty, &onCaption), tasks);
  EXPECT_FALSE(onCaption);
  EXPECT_EQ(panel.HitTest(CPoint(body.left + 2, body.bottom + 200), &onCaption), nullptr);
  EXPECT_FALSE(note->IsAcceptFocus());
  EXPECT_TRUE(recover->IsAcceptFocus());
}

TEST_F(TaskPanel, ACollapseAnimatesOnTheInjectedClockAndTheOwnerHearsOfIt) {
  const int caption = details->GetCaptionRect().Height();
  const CRect expanded = details->GetTargetRect();
  Click(details);  // a click on the caption toggles the group
  ASSERT_EQ(host.Codes(), std::vector<WPARAM>({NotifyFocusChanged, NotifyGroupExpanding}));
  EXPECT_FALSE(details->IsExpanded());
  ASSERT_EQ(timers.started.size(), 1u);
  EXPECT_EQ(timers.started[0], std::make_pair(kTaskPanelAnimationTimer, 30u));
  EXPECT_EQ(details->GetCurrentRect(), expanded);  // nothing moved before the first tick
  EXPECT_FALSE(::IsWindowVisible(edit));          // hidden while the body moves
  std::vector<int> heights;
  for (int i = 0; i < 10; ++i) {
    Tick();
    heights.push_back(details->GetCurrentRect().Height());
  }
  for (size_t i = 1; i < heights.size(); ++i) EXPECT_LT(heights[i], heights[i - 1]) << i;
  EXPECT_EQ(heights.back(), caption);
  EXPECT_EQ(host.Codes().back(), static_cast<WPARAM>(NotifyGroupExpanded));
  EXPECT_EQ(host.notes.back().second, reinterpret_cast<LPARAM>(details));
  EXPECT_TRUE(timers.running);
  Tick();  // nothing left to move: the timer stops
  EXPECT_FALSE(timers.running);
  // The group below followed it up.
  EXPECT_EQ(places->GetCurrentRect().top, details->GetCurrentRect().bottom + 15);
  EXPECT_FALSE(::IsWindowVisible(edit));

  // Expanding again: the control comes back where it was once the body has settled.
  host.notes.clear();
  panel.SetFocus();
  details->SetExpanded(TRUE);
  for (int i = 0; i < 11; ++i) Tick();
  EXPECT_EQ(details->GetCurrentRect(), expanded);
  EXPECT_FALSE(timers.running);
  EXPECT_TRUE(::IsWindowVisible(edit));
  EXPECT_EQ(ControlRect(), control->GetHitTestRect());
  EXPECT_EQ(host.Codes(), std::vector<WPARAM>({NotifyGroupExpanding, NotifyGroupExpanded}));
}

TEST_F(TaskPanel, TheOwnerCanRefuseAndAnimationModeOneJumps) {
  host.refuseExpanding = true;
  places->SetExpanded(TRUE);
  EXPECT_FALSE(places->IsExpanded());
  EXPECT_TRUE(timers.started.empty());
  host.refuseExpanding = false;
  panel.SetAnimation(1);
  tasks->SetExpanded(FALSE);
  EXPECT_TRUE(timers.started.empty());
  EXPECT_EQ(tasks->GetCurrentRect(), tasks->GetTargetRect());
  EXPECT_EQ(host.Codes().back(), static_cast<WPARAM>(NotifyGroupExpanded));
}

TEST_F(TaskPanel, TheKeyboardWalksGroupsAndLinksAndActsOnThem) {
  panel.SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(panel.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
  Key(VK_TAB);
  EXPECT_EQ(panel.GetFocusedItem(), tasks);
  EXPECT_TRUE(panel.IsDrawFocusRect());
  Key(VK_TAB);
  EXPECT_EQ(panel.GetFocusedItem(), open);
  Key(VK_DOWN);
  EXPECT_EQ(panel.GetFocusedItem(), recover);
  Key(VK_DOWN);  // the text is passed over
  EXPECT_EQ(panel.GetFocusedItem(), snapshot);
  Key(VK_DOWN);
  EXPECT_EQ(panel.GetFocusedItem(), details);
  Key(VK_RIGHT);
  EXPECT_EQ(panel.GetFocusedItem(), find);  // the text and the control take no focus
  Key(VK_LEFT);
  EXPECT_EQ(panel.GetFocusedItem(), details);
  Key(VK_UP);
  EXPECT_EQ(panel.GetFocusedItem(), snapshot);
  Key(VK_HOME);
  EXPECT_EQ(panel.GetFocusedItem(), open);
  Key(VK_END);
  EXPECT_EQ(panel.GetFocusedItem(), snapshot);
  host.notes.clear();
  Key(VK_RETURN);
  ASSERT_EQ(host.notes.size(), 1u);
  EXPECT_EQ(host.notes[0], std::make_pair(static_cast<WPARAM>(NotifyItemClick), reinterpret_cast<LPARAM>(snapshot)));
  // The collapsed group's links are skipped; Space opens it.
  Key(VK_TAB);
  Key(VK_TAB);
  EXPECT_EQ(panel.GetFocusedItem(), places);
  Key(VK_TAB);
  EXPECT_EQ(panel.GetFocusedItem(), places);  // nothing after it inside the panel
  Key(VK_SPACE);
  EXPECT_TRUE(places->IsExpanded());
  Key(VK_DOWN);
  EXPECT_EQ(panel.GetFocusedItem(), places->GetAt(0));
}

TEST_F(TaskPanel, AClickOnALinkTellsTheOwnerAndAClickOnEmptyBodyFocusesNothing) {
  Click(recover);
  ASSERT_FALSE(host.notes.empty());
  EXPECT_EQ(host.notes.back(), std::make_pair(static_cast<WPARAM>(NotifyItemClick), reinterpret_cast<LPARAM>(recover)));
  EXPECT_EQ(panel.GetFocusedItem(), recover);
  EXPECT_EQ(panel.GetPressedItem(), nullptr);
  host.notes.clear();
  const CRect body = tasks->GetClientRect();
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(body.right - 3, body.bottom - 3));
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(body.right - 3, body.bottom - 3));
  EXPECT_TRUE(host.notes.empty());
  EXPECT_EQ(panel.GetFocusedItem(), recover);
  EXPECT_EQ(::GetFocus(), panel.m_hWnd);
  // A right click focuses and reports; a text item does neither.
  const CPoint pt = At(find);
  panel.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(panel.GetFocusedItem(), find);
  EXPECT_EQ(host.Codes().back(), static_cast<WPARAM>(NotifyItemRightClick));
}

TEST_F(TaskPanel, AClickOnEmptySpaceRightAfterAnotherControlFocusesOnlyThePanel) {
  // An edit before the panel in the tab order holds the focus.
  HWND before = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, host.m_hWnd,
                                  nullptr, nullptr, nullptr);
  ::SetWindowPos(before, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  panel.ModifyStyle(0, WS_TABSTOP);
  ::SetFocus(before);
  ASSERT_EQ(::GetFocus(), before);
  const CRect body = tasks->GetClientRect();
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(body.right - 3, body.bottom - 3));
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(body.right - 3, body.bottom - 3));
  EXPECT_EQ(::GetFocus(), panel.m_hWnd);
  EXPECT_EQ(panel.GetFocusedItem(), nullptr);
  // Tabbing in from it still enters at the first element.
  ::SetFocus(before);
  ::SetFocus(panel.m_hWnd);
  EXPECT_EQ(panel.GetFocusedItem(), tasks);
  ::DestroyWindow(before);
}

TEST_F(TaskPanel, AShortPanelScrollsAndBringsTheFocusedItemIntoView) {
  EXPECT_FALSE(panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0));  // no bar: nothing to do
  panel.MoveWindow(0, 0, 284, 160);
  CRect client;
  panel.GetClientRect(client);
  EXPECT_LT(client.Width(), 284);  // the scroll bar took its room
  EXPECT_EQ(panel.GetScrollOffset(), 0);
  const int limit = panel.GetClientHeight() - client.Height();
  panel.SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(panel.GetScrollOffset(), 6);
  panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(panel.GetScrollOffset(), 16);
  panel.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(panel.GetScrollOffset(), limit);
  panel.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(panel.GetScrollOffset(), limit);
  panel.SendMessage(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(panel.GetScrollOffset(), 0);
  // Hit tests and the control's window follow the scrolled content.
  panel.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(panel.HitTest(At(find)), find);
  EXPECT_EQ(ControlRect(), control->GetHitTestRect());
  // Focusing the last link brings it into view.
  panel.SendMessage(WM_VSCROLL, SB_TOP);
  panel.SetFocusedItem(find, TRUE);
  const CRect rc = find->GetHitTestRect();
  EXPECT_GE(rc.top, 0);
  EXPECT_LE(rc.bottom, client.Height());
  EXPECT_GT(panel.GetScrollOffset(), 0);
}

VARIANT Self() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

std::wstring Name(IAccessible* acc) {
  BSTR name = nullptr;
  if (FAILED(acc->get_accName(Self(), &name)) || name == nullptr) return L"?";
  std::wstring text(name);
  ::SysFreeString(name);
  return text;
}

long State(IAccessible* acc) {
  VARIANT state;
  return SUCCEEDED(acc->get_accState(Self(), &state)) ? state.lVal : -1;
}

TEST_F(TaskPanel, ElementsAnswerScreenReadersForThemselves) {
  recover->SetTooltip(_T("Saves every ticked file"));
  IAccessible* link = recover;
  EXPECT_EQ(Name(link), L"Recover the selected files");
  BSTR text = nullptr;
  ASSERT_EQ(link->get_accDescription(Self(), &text), S_OK);
  EXPECT_EQ(std::wstring(text), L"Saves every ticked file");
  ::SysFreeString(text);
  VARIANT role;
  ASSERT_EQ(link->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
  VARIANT other = Self();
  other.lVal = 3;
  EXPECT_EQ(link->get_accName(other, &text), E_INVALIDARG);
  EXPECT_EQ(State(link), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE);
  // The location is the hit-test rectangle on the screen; a point inside hits the element itself.
  long x = 0, y = 0, cx = 0, cy = 0;
  ASSERT_EQ(link->accLocation(&x, &y, &cx, &cy, Self()), S_OK);
  CRect rc = recover->GetHitTestRect();
  panel.ClientToScreen(rc);
  EXPECT_EQ(CRect(x, y, x + cx, y + cy), rc);
  VARIANT hit;
  EXPECT_EQ(link->accHitTest(x + 1, y + 1, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(link->accHitTest(x - 5, y - 5, &hit), S_FALSE);
  // The default actions: a link is clicked (and focused), a group opens or closes.
  ASSERT_EQ(link->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(host.notes.back(), std::make_pair(static_cast<WPARAM>(NotifyItemClick), reinterpret_cast<LPARAM>(recover)));
  EXPECT_EQ(State(link) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  IAccessible* group = places;
  EXPECT_EQ(State(group) & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED), STATE_SYSTEM_COLLAPSED);
  ASSERT_EQ(group->get_accDefaultAction(Self(), &text), S_OK);
  EXPECT_EQ(std::wstring(text), L"Expand");
  ::SysFreeString(text);
  ASSERT_EQ(group->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(places->IsExpanded());
  // Selecting takes the selection (and the focus when asked).
  IAccessible* other_link = snapshot;
  ASSERT_EQ(other_link->accSelect(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS, Self()), S_OK);
  EXPECT_TRUE(snapshot->IsItemSelected());
  EXPECT_EQ(panel.GetFocusedItem(), snapshot);
}

TEST_F(TaskPanel, TheHotItemWithATooltipIsTheTool) {
  recover->SetTooltip(_T("Saves every ticked file"));
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  EXPECT_EQ(panel.OnToolHitTest(At(recover), &ti), -1);  // not hot yet
  panel.SetHotItem(recover);
  ASSERT_EQ(panel.OnToolHitTest(At(recover), &ti), static_cast<INT_PTR>(ID_RECOVER_SELECTED));
  EXPECT_EQ(CRect(ti.rect), recover->GetHitTestRect());
  EXPECT_EQ(ti.hwnd, panel.m_hWnd);
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_EQ(std::wstring(ti.lpszText), L"Saves every ticked file");
  delete[] ti.lpszText;
  panel.SetHotItem(open);  // a link without a tooltip is no tool
  EXPECT_EQ(panel.OnToolHitTest(At(open), &ti), -1);
}

// While a drag loop holds the mouse (the mouse manager's lock count) nothing turns hot and no tip shows.
TEST_F(TaskPanel, ADragLoopHoldingTheMouseStopsHoverAndTips) {
  recover->SetTooltip(_T("Saves every ticked file"));
  ::SetForegroundWindow(host.m_hWnd);
  harness::PumpMessages();
  const CPoint pt = At(recover);
  CTKPMouseManager* mouse = TKPMouseManager();
  ++mouse->m_nLockButtonUp;
  panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(panel.GetHotItem(), nullptr) << "no hover while the mouse is held";
  panel.SetHotItem(recover);
  TOOLINFO ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  EXPECT_EQ(panel.OnToolHitTest(pt, &ti), -1) << "no tip while the mouse is held";
  --mouse->m_nLockButtonUp;
  panel.SetHotItem(nullptr);
  panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(panel.GetHotItem(), recover) << "hover again once the loop ends";
  ASSERT_EQ(panel.OnToolHitTest(pt, &ti), static_cast<INT_PTR>(ID_RECOVER_SELECTED));
  delete[] ti.lpszText;
}

TEST_F(TaskPanel, AnItemGoesToTheClipboardAndComesBackAsANewItem) {
  recover->SetBold(TRUE);
  recover->SetTooltip(_T("Saves every ticked file"));
  recover->SetAllowDrag(0x08);  // may leave the panel: a text copy goes with it
  recover->SetDragText(_T("Recover files \u00e9t\u00e9"));
  ASSERT_TRUE(panel.CopyToClipboard(recover));
  ASSERT_TRUE(::OpenClipboard(host.m_hWnd));
  HGLOBAL text = ::GetClipboardData(CF_TEXT);
  ASSERT_NE(text, nullptr);
  const std::string ansi(static_cast<const char*>(::GlobalLock(text)));
  ::GlobalUnlock(text);
  ::CloseClipboard();
  EXPECT_EQ(ansi, "Recover files \xe9t\xe9");  // code page 1252

  CTKPTaskPanelItem* pasted = panel.PasteFromClipboard();
  ASSERT_NE(pasted, nullptr);
  auto* item = dynamic_cast<CTKPTaskPanelGroupItem*>(pasted);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetCaption(), CString(_T("Recover the selected files")));
  EXPECT_EQ(item->GetTooltip(), CString(_T("Saves every ticked file")));
  EXPECT_EQ(item->GetID(), static_cast<UINT>(ID_RECOVER_SELECTED));
  EXPECT_EQ(item->GetType(), taskpanel::kTypeLink);
  EXPECT_TRUE(item->IsBold());
  EXPECT_EQ(item->GetTaskPanel(), nullptr);  // it joins the panel when added
  places->GetItems()->Add(item);
  EXPECT_EQ(item->GetTaskPanel(), &panel);
  EXPECT_EQ(places->GetItemCount(), 3);

  // A whole group with its items.
  ASSERT_TRUE(panel.CopyToClipboard(details));
  auto* group = dynamic_cast<CTKPTaskPanelGroup*>(panel.PasteFromClipboard());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetCaption(), CString(_T("Scan Options")));
  ASSERT_EQ(group->GetItemCount(), 3);
  EXPECT_EQ(group->GetAt(2)->GetCaption(), CString(_T("Find files by name")));
  group->InternalRelease();
}

// Puts raw bytes on the clipboard under the panel's format.
void PutRecord(HWND owner, const std::vector<BYTE>& bytes) {
  ASSERT_TRUE(::OpenClipboard(owner));
  ::EmptyClipboard();
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
  if (!bytes.empty()) std::memcpy(::GlobalLock(h), bytes.data(), bytes.size());
  ::GlobalUnlock(h);
  ::SetClipboardData(CTKPTaskPanel::GetClipboardFormat(), h);
  ::CloseClipboard();
}

TEST_F(TaskPanel, AForeignOrDamagedClipboardObjectGivesNoElement) {
  ForeignRecord foreign;
  PutRecord(host.m_hWnd, taskpanel::StoreRecord(&foreign, [](CObject*, CTKPPropExchange*) {}));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  std::vector<BYTE> record = taskpanel::StoreRecord(recover, [](CObject* p, CTKPPropExchange* px) {
    static_cast<CTKPTaskPanelItem*>(p)->DoPropExchange(px);
  });
  ASSERT_FALSE(record.empty());
  // Cut short, and with an absurd caption length: refused.
  PutRecord(host.m_hWnd, std::vector<BYTE>(record.begin(), record.begin() + static_cast<long>(record.size() / 2)));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  // The class record (0xFFFF, schema, name length, the name), then a caption of 0x7FFFFFFF units.
  std::vector<BYTE> huge(record.begin(), record.begin() + 6 + std::strlen("CTKPTaskPanelGroupItem"));
  const BYTE length[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
  huge.insert(huge.end(), length, length + sizeof length);
  PutRecord(host.m_hWnd, huge);
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  PutRecord(host.m_hWnd, {});
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  // The whole record still reads.
  PutRecord(host.m_hWnd, record);
  CTKPTaskPanelItem* item = panel.PasteFromClipboard();
  ASSERT_NE(item, nullptr);
  item->InternalRelease();
}

// An element record whose stored type says another kind of element than its class.
std::vector<BYTE> MislabelledRecord(CTKPTaskPanelItem* pItem, LONG type) {
  return taskpanel::StoreRecord(pItem, [type](CObject* p, CTKPPropExchange* px) {
    auto* item = static_cast<CTKPTaskPanelItem*>(p);
    const int own = item->GetType();
    item->SetType(type);
    item->DoPropExchange(px);
    item->SetType(own);
  });
}

TEST_F(TaskPanel, ARecordWhoseTypeBeliesItsClassGivesNoElement) {
  // An item calling itself a group, and a group calling itself a link or a text.
  PutRecord(host.m_hWnd, MislabelledRecord(recover, taskpanel::kTypeGroup));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  PutRecord(host.m_hWnd, MislabelledRecord(places, taskpanel::kTypeLink));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  PutRecord(host.m_hWnd, MislabelledRecord(places, taskpanel::kTypeText));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  PutRecord(host.m_hWnd, MislabelledRecord(recover, 7));
  EXPECT_EQ(panel.PasteFromClipboard(), nullptr);
  // Saved groups whose first group says it is a link: the load fails as damage, no element is made of it,
  // and the panel keeps the groups it had.
  const std::vector<CTKPTaskPanelGroup*> before = {panel.GetAt(0), panel.GetAt(1), panel.GetAt(2)};
  const std::vector<BYTE> saved = TKPArchiveStore([&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    tasks->SetType(taskpanel::kTypeLink);
    panel.GetGroups()->DoPropExchange(&px);
    tasks->SetType(taskpanel::kTypeGroup);
  });
  CMemFile file(const_cast<BYTE*>(saved.data()), static_cast<UINT>(saved.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  bool refused = false;
  try {
    panel.GetGroups()->DoPropExchange(&px);
  } catch (CArchiveException* e) {
    e->Delete();
    refused = true;
  }
  EXPECT_TRUE(refused);
  ASSERT_EQ(panel.GetGroupCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(panel.GetAt(i), before[static_cast<size_t>(i)]);
    EXPECT_TRUE(panel.GetAt(i)->IsGroup());
  }
  EXPECT_GT(places->GetItemCount(), 0);
}

// The panel's groups saved and loaded back into it.
void ReloadGroups(CTKPTaskPanel& panel) {
  const std::vector<BYTE> saved = TKPArchiveStore([&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    panel.GetGroups()->DoPropExchange(&px);
  });
  CMemFile file(const_cast<BYTE*>(saved.data()), static_cast<UINT>(saved.size()));
  CArchive ar(&file, CArchive::load);
  CTKPPropExchangeArchive px(ar);
  panel.GetGroups()->DoPropExchange(&px);
}

TEST_F(TaskPanel, LoadedGroupsOpenAsSavedAndTheOwnerIsAsked) {
  // A toolbox group that cannot close or open keeps the state it was saved in.
  places->SetExpandable(FALSE);  // closed since it was set up
  panel.SetBehaviour(CTKPTaskPanel::kToolbox);
  ASSERT_FALSE(places->IsExpanded());
  ReloadGroups(panel);
  EXPECT_FALSE(panel.GetAt(2)->IsExpanded());
  // A toolbox comes back with the group that was open.
  panel.GetAt(2)->SetExpandable(TRUE);
  panel.GetAt(2)->SetExpanded(TRUE);
  ASSERT_EQ(panel.GetActiveGroup(), panel.GetAt(2));
  ReloadGroups(panel);
  ASSERT_EQ(panel.GetGroupCount(), 3);
  EXPECT_EQ(panel.GetActiveGroup(), panel.GetAt(2));
  EXPECT_TRUE(panel.GetAt(2)->IsExpanded());
  EXPECT_FALSE(panel.GetAt(0)->IsExpanded());

  // In explorer behaviour each loaded group's state goes through the owner, who may keep a group open.
  panel.SetBehaviour(CTKPTaskPanel::kExplorer);
  panel.GetAt(2)->SetExpanded(FALSE);
  for (int i = 0; i < 11; ++i) Tick();
  host.notes.clear();
  host.refuseExpanding = true;
  ReloadGroups(panel);
  const std::vector<WPARAM> codes = host.Codes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<WPARAM>(NotifyGroupExpanding)), 3);
  EXPECT_TRUE(panel.GetAt(2)->IsExpanded());  // its closing refused
  host.refuseExpanding = false;
  panel.GetAt(2)->SetExpanded(FALSE);
  for (int i = 0; i < 11; ++i) Tick();
  host.notes.clear();
  ReloadGroups(panel);
  for (int i = 0; i < 11; ++i) Tick();
  EXPECT_FALSE(panel.GetAt(2)->IsExpanded());
  EXPECT_TRUE(panel.GetAt(0)->IsExpanded());
  const std::vector<WPARAM> told = host.Codes();
  EXPECT_EQ(std::count(told.begin(), told.end(), static_cast<WPARAM>(NotifyGroupExpanded)), 3);
}

// A single-selection panel focuses the item saved as selected once its load has been taken whole, and
// leaves the keyboard focus where it was; a refused load leaves the focused item as it was (it was the
// loaded copy, in no group of the panel, with the keyboard focus taken).
TEST_F(TaskPanel, ASingleSelectionLoadFocusesTheSavedItemOnlyWhenTakenWhole) {
  panel.SetSingleSelection(TRUE);
  panel.SetFocusedItem(find);
  ASSERT_TRUE(find->IsItemSelected());
  const auto store = [&] {
    return TKPArchiveStore([&](CArchive& ar) {
      CTKPPropExchangeArchive px(ar);
      panel.GetGroups()->DoPropExchange(&px);
    });
  };
  const auto load = [&](const std::vector<BYTE>& saved) {
    CMemFile file(const_cast<BYTE*>(saved.data()), static_cast<UINT>(saved.size()));
    CArchive ar(&file, CArchive::load);
    CTKPPropExchangeArchive px(ar);
    try {
      panel.GetGroups()->DoPropExchange(&px);
    } catch (CArchiveException* e) {
      e->Delete();
      return false;
    }
    return true;
  };
  places->SetType(taskpanel::kTypeLink);  // damage after the selected item
  const std::vector<BYTE> damaged = store();
  places->SetType(taskpanel::kTypeGroup);
  const std::vector<BYTE> whole = store();

  ::SetFocus(host.m_hWnd);
  ASSERT_EQ(::GetFocus(), host.m_hWnd);
  EXPECT_FALSE(load(damaged));
  EXPECT_EQ(panel.GetFocusedItem(), find);
  EXPECT_EQ(panel.GetAt(1), details);
  EXPECT_EQ(::GetFocus(), host.m_hWnd);

  const int index = find->GetIndex();
  ASSERT_TRUE(load(whole));  // the fixture's elements go
  ASSERT_EQ(panel.GetGroupCount(), 3);
  CTKPTaskPanelGroupItem* loadedFind = panel.GetAt(1)->GetAt(index);
  ASSERT_NE(loadedFind, nullptr);
  EXPECT_EQ(panel.GetFocusedItem(), loadedFind);
  EXPECT_TRUE(loadedFind->IsItemSelected());
  EXPECT_EQ(loadedFind->GetItemGroup(), panel.GetAt(1));
  EXPECT_EQ(::GetFocus(), host.m_hWnd);
}

TEST_F(TaskPanel, RemovingAGroupClearsEveryPointerIntoIt) {
  Click(find);
  ASSERT_EQ(panel.GetFocusedItem(), find);
  const CPoint pt = At(find);
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ASSERT_EQ(panel.GetPressedItem(), find);
  ASSERT_EQ(panel.GetHotItem(), find);
  details->InternalAddRef();  // someone else still holds the group
  details->Remove();
  EXPECT_EQ(details->GetTaskPanel(), nullptr);
  EXPECT_EQ(control->GetTaskPanel(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(edit));  // its item hid it on the way out
  details->InternalRelease();
  EXPECT_EQ(panel.GetPressedItem(), nullptr);
  EXPECT_EQ(panel.GetHotItem(), nullptr);
  EXPECT_EQ(panel.GetFocusedItem(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));  // nothing pressed any more
  EXPECT_EQ(panel.GetGroupCount(), 2);
  EXPECT_EQ(places->GetCaptionRect().top, tasks->GetTargetRect().bottom + 15);
}

TEST_F(TaskPanel, AListOpensOneGroupThatFillsThePanelAndScrollsItsItems) {
  panel.SetLockRedraw(TRUE);
  AddFolders(30);
  control->SetAutoHeight(TRUE);
  panel.SetBehaviour(CTKPTaskPanel::kList);
  panel.SetLockRedraw(FALSE);
  EXPECT_EQ(panel.GetActiveGroup(), nullptr);
  EXPECT_FALSE(tasks->IsExpanded());  // in a list only the open group shows its items
  host.notes.clear();
  Click(places);
  EXPECT_EQ(panel.GetActiveGroup(), places);
  for (int i = 0; i < 11; ++i) Tick();
  EXPECT_FALSE(timers.running);
  EXPECT_TRUE(places->IsExpanded());
  EXPECT_EQ(host.Codes(), std::vector<WPARAM>({NotifyFocusChanged, NotifyGroupExpanding, NotifyGroupExpanded}));
  // The open group takes what the captions leave; its items scroll inside it.
  EXPECT_EQ(places->GetTargetRect().bottom, 520 - 12);
  EXPECT_EQ(places->GetFirstVisibleItemIndex(), 0);
  const CTKPTaskPanelScrollButton& up = panel.GetScrollButton(TRUE);
  const CTKPTaskPanelScrollButton& down = panel.GetScrollButton(FALSE);
  EXPECT_FALSE(up.IsVisible());  // nothing above to scroll to
  ASSERT_TRUE(down.IsVisible());
  EXPECT_EQ(panel.HitTest(Centre(down.rcButton)), nullptr);
  // Pressing the down button scrolls a row at once and one more at each tick until it is released.
  panel.PostMessage(WM_TIMER, kTaskPanelScrollTimer);
  panel.PostMessage(WM_TIMER, kTaskPanelScrollTimer);
  const CPoint pt = Centre(down.rcButton);
  panel.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(places->GetFirstVisibleItemIndex(), 3);
  EXPECT_FALSE(down.bPressed);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(up.IsVisible());
  EXPECT_TRUE(places->GetAt(0)->GetHitTestRect().IsRectEmpty());  // scrolled away
  EXPECT_EQ(places->GetAt(3)->GetHitTestRect().top, places->GetClientRect().top + 8);
  // The wheel scrolls up to three rows back.
  panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(places->GetFirstVisibleItemIndex(), 0);
  // A double click on the down button scrolls a row for each of its two presses.
  panel.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  panel.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  panel.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(places->GetFirstVisibleItemIndex(), 2);
  EXPECT_EQ(::GetCapture(), nullptr);
  panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(places->GetFirstVisibleItemIndex(), 0);
  // Focusing an item below the body scrolls it into view.
  panel.SetFocusedItem(places->GetAt(31), TRUE);
  EXPECT_FALSE(places->GetAt(31)->GetHitTestRect().IsRectEmpty());
  EXPECT_LE(places->GetAt(31)->GetHitTestRect().bottom, places->GetTargetRect().bottom);
  EXPECT_FALSE(panel.GetScrollButton(FALSE).IsVisible());
  // Ctrl+Up opens the group before it.
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  Key(VK_UP);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(panel.GetActiveGroup(), details);
  EXPECT_EQ(panel.GetFocusedItem(), details);
  for (int i = 0; i < 11; ++i) Tick();
  EXPECT_FALSE(places->IsExpanded());
  EXPECT_EQ(places->GetTargetRect().Height(), places->GetCaptionRect().Height());
  // The control of automatic height takes the spare height of the open group; its window follows.
  EXPECT_GT(control->GetItemRect().Height(), 22);
  EXPECT_EQ(find->GetItemRect().bottom + 8, details->GetTargetClientRect().Height());
  EXPECT_EQ(ControlRect(), control->GetHitTestRect());
  // Removing the open group leaves no button or active group behind.
  details->Remove();
  EXPECT_EQ(panel.GetActiveGroup(), nullptr);
  EXPECT_EQ(panel.GetScrollButton(TRUE).pGroupScroll, nullptr);
  EXPECT_EQ(panel.GetScrollButton(FALSE).pGroupScroll, nullptr);
}

TEST_F(TaskPanel, WithSelectOnFocusTheOpenGroupKeepsItsFirstSelectedItemInView) {
  panel.SetLockRedraw(TRUE);
  AddFolders(30);
  panel.SetBehaviour(CTKPTaskPanel::kList);
  panel.SetSelectItemOnFocus(TRUE);
  panel.SetLockRedraw(FALSE);
  Click(places);
  for (int i = 0; i < 11; ++i) Tick();
  ASSERT_EQ(places->GetFirstVisibleItemIndex(), 0);
  CTKPTaskPanelGroupItem* below = places->GetAt(26);
  below->SetItemSelected(TRUE);
  places->GetAt(28)->SetItemSelected(TRUE);
  panel.Reposition(FALSE);
  EXPECT_GT(places->GetFirstVisibleItemIndex(), 0);
  EXPECT_FALSE(below->GetHitTestRect().IsRectEmpty());
  EXPECT_LE(below->GetHitTestRect().bottom, places->GetTargetRect().bottom);
  EXPECT_EQ(panel.GetFocusedItem(), places);  // the focus stays on the caption
}

TEST_F(TaskPanel, ScrollButtonsCanStandInTheCaptions) {
  panel.SetBehaviour(CTKPTaskPanel::kToolbox);
  panel.SetAnimation(1);
  panel.GetPaintManager()->m_bCaptionScrollButton = TRUE;
  details->SetExpanded(TRUE);
  ASSERT_EQ(panel.GetActiveGroup(), details);
  const CTKPTaskPanelScrollButton& up = panel.GetScrollButton(TRUE);
  const CTKPTaskPanelScrollButton& down = panel.GetScrollButton(FALSE);
  CRect client;
  panel.GetClientRect(client);
  const CRect caption = details->GetTargetCaptionRect();
  EXPECT_EQ(up.rcButton, CRect(client.right - 12 - caption.Height(), caption.top, client.right - 12, caption.bottom));
  EXPECT_TRUE(up.IsVisible());  // shown though there is nothing to scroll
  EXPECT_FALSE(up.bEnabled);
  EXPECT_EQ(up.pGroupCaption, details);
  EXPECT_EQ(down.pGroupCaption, places);  // the next group's caption
  EXPECT_EQ(down.rcButton.top, places->GetTargetCaptionRect().top);
  // The captions stop short of their buttons by the group spacing and a pixel.
  EXPECT_EQ(details->GetCaptionRect().right, up.rcButton.left - 15 - 1);
  EXPECT_EQ(places->GetCaptionRect().right, down.rcButton.left - 15 - 1);
  EXPECT_EQ(tasks->GetCaptionRect().right, client.right - 12);
  // With the last group open the down button stands at the bottom of the panel.
  places->SetExpanded(TRUE);
  EXPECT_EQ(down.pGroupCaption, places);
  EXPECT_EQ(down.rcButton.bottom, std::max(static_cast<int>(client.bottom), panel.GetClientHeight()) - 12);
  EXPECT_EQ(down.rcButton.left, up.rcButton.left);
}

TEST_F(TaskPanel, WithoutTheVisualStylesPicturesTheExpandButtonIsTheProgramsPictureRecoloured) {
  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  paint->m_nCaptionButtonStyle = 1;
  paint->LoadExplorerBitmaps();
  EXPECT_FALSE(paint->m_bExplorerBitmaps);  // no visual-style scheme here
  EXPECT_NE(paint->m_hExpandIcon, nullptr);  // so the program's own pictures, recoloured
  EXPECT_NE(paint->m_hExpandIconSpecial, nullptr);
  EXPECT_EQ(paint->GetCaptionButtonWidth(details, details->GetCaptionRect()), 23);
  EXPECT_EQ(paint->GetCaptionButtonWidth(details, CRect(0, 0, 25, 25)), 0);  // too narrow for a button
  panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The caption shows its button with the chevron in the caption's text colour.
  const CRect caption = details->GetCaptionRect();
  const COLORREF text = static_cast<COLORREF>(static_cast<tkcolor::Color>(paint->GetGroupColors(details)->clrHeadTextNormal));
  CClientDC dc(&panel);
  int dark = 0;
  for (int x = caption.right - 23; x < caption.right; ++x) {
    for (int y = caption.top; y < caption.bottom; ++y) {
      if (dc.GetPixel(x, y) == text) ++dark;
    }
  }
  EXPECT_GT(dark, 10);
}

// In an icon grid each item is its cell: a selected or hot item's frame fills the cell and its icon stands
// at the cell's top-left plus the image margins. The screenshot task_panel_icon_grid.png.
TEST_F(TaskPanel, AnIconGridFramesEachCellAroundItsIcon) {
  panel.SetHotTrackStyle(CTKPTaskPanel::kHotTrackFrame);
  panel.SetAnimation(1);
  places->SetItemLayout(taskpanel::kLayoutImage);
  std::vector<CTKPTaskPanelGroupItem*> cells;
  for (UINT id : {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_FIND_FILES, ID_SETTINGS}) {
    cells.push_back(places->AddLinkItem(id, static_cast<int>(id)));
  }
  places->SetExpanded(TRUE);
  cells[1]->SetItemSelected(TRUE);
  panel.SetHotItem(cells[3]);
  harness::PumpMessages();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, "task_panel_icon_grid").empty());

  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  const COLORREF border = taskpanel_checks::Shown(paint->m_grcButtonBorder.clrLight);
  const CRect margins = paint->GetImageMargins();
  const CSize icon = places->GetIconSize();
  for (auto [item, fill] : {std::pair(cells[1], paint->m_clrButtonSelected), std::pair(cells[3], paint->m_clrButtonHot)}) {
    const CRect cell = taskpanel_checks::ItemRect(places, item);
    ASSERT_EQ(cell.Width(), icon.cx + margins.left + margins.right);
    const CPoint mid = Centre(cell);
    EXPECT_EQ(harness::ClientPixel(panel.m_hWnd, cell.left, mid.y), border) << "the frame's left edge";
    EXPECT_EQ(harness::ClientPixel(panel.m_hWnd, cell.right - 1, mid.y), border) << "the frame's right edge";
    EXPECT_EQ(harness::ClientPixel(panel.m_hWnd, mid.x, cell.top), border) << "the frame's top edge";
    EXPECT_EQ(harness::ClientPixel(panel.m_hWnd, mid.x, cell.bottom - 1), border) << "the frame's bottom edge";
    // Everything of the cell that is neither fill nor frame is the icon, inside its place.
    const CRect place(cell.TopLeft() + CPoint(margins.left, margins.top), icon);
    const std::vector<COLORREF> pixels = harness::ClientPixels(panel.m_hWnd, cell);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(cell.Width() * cell.Height()));
    int inside = 0, outside = 0;
    for (int y = 0; y < cell.Height(); ++y) {
      for (int x = 0; x < cell.Width(); ++x) {
        const COLORREF c = pixels[static_cast<size_t>(y * cell.Width() + x)];
        if (c == border || c == taskpanel_checks::Shown(fill)) continue;
        (place.PtInRect(CPoint(cell.left + x, cell.top + y)) ? inside : outside)++;
      }
    }
    EXPECT_GT(inside, icon.cx * icon.cy / 4) << "the icon is drawn in its place";
    EXPECT_EQ(outside, 0) << "nothing of the icon strays out of its place";
  }
}

// A pressed link is lit only while the mouse is over it: pulled off it, short of a drag, it shows no fill,
// since releasing there does nothing; back over it, it shows pressed again.
TEST_F(TaskPanel, APressedLinkTheMouseHasLeftIsNotLit) {
  panel.SetHotTrackStyle(CTKPTaskPanel::kHotTrackFrame);
  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  ASSERT_NE(paint->m_nColorMode, 0);
  const CRect item = open->GetHitTestRect();
  const int x = Centre(item).x;
  auto count = [&](const CTKPColorValue& fill) {
    host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return harness::CountPixels(panel.m_hWnd, item, taskpanel_checks::Shown(fill));
  };
  const CPoint on(x, item.bottom - 1), off(x, item.bottom + 2);
  panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
  ASSERT_EQ(panel.GetPressedItem(), open);
  EXPECT_GT(count(paint->m_clrButtonPressed), item.Width()) << "pressed under the mouse";
  panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(off.x, off.y));
  ASSERT_EQ(panel.GetPressedItem(), open) << "no drag began";
  EXPECT_EQ(count(paint->m_clrButtonHot), 0);
  EXPECT_EQ(count(paint->m_clrButtonPressed), 0);
  EXPECT_EQ(count(paint->m_clrButtonSelected), 0);
  panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(on.x, on.y));
  EXPECT_GT(count(paint->m_clrButtonPressed), item.Width()) << "back over it";
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
}

// A 19 by 19 picture of one opaque colour, as the visual style's expand pictures are (32 bits a pixel).
HBITMAP SolidPicture(COLORREF colour) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 19;
  bi.bmiHeader.biHeight = -19;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  const DWORD pixel = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  if (bits) std::fill_n(static_cast<DWORD*>(bits), 19 * 19, pixel);
  return bitmap;
}

TEST_F(TaskPanel, ExpandPicturesShowWithoutAlphaBlendAndAHiddenCaptionLeavesTheBodyInTheBorderColour) {
  CTKPTaskPanelPaintManager* paint = panel.GetPaintManager();
  const COLORREF red = RGB(200, 16, 16);
  for (HBITMAP& picture : paint->m_hExplorerBitmaps) {
    if (picture) ::DeleteObject(picture);
    picture = SolidPicture(red);
  }
  paint->m_bExplorerBitmaps = TRUE;
  paint->m_nCaptionButtonStyle = 1;
  paint->m_pfnAlphaBlend = nullptr;  // as where msimg32.dll is missing
  panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const CRect caption = details->GetCaptionRect();
  EXPECT_GE(harness::CountPixels(panel.m_hWnd, CRect(caption.right - 23, caption.top, caption.right, caption.bottom), red),
            19 * 19)
      << "the expand picture is shown";

  const CTKPTaskPanelGroupColors* colours = paint->GetGroupColors(details);
  const COLORREF border = taskpanel_checks::Shown(colours->clrClientBorder);
  ASSERT_NE(border, taskpanel_checks::Shown(colours->clrClient.clrDark));
  details->SetCaptionVisible(FALSE);
  harness::PumpMessages();
  panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(details->GetCaptionRect().IsRectEmpty() || details->GetCaptionRect().Height() == 0);
  CRect body = details->GetClientRect();
  body.DeflateRect(2, 2);
  EXPECT_EQ(harness::CommonColour(panel.m_hWnd, body), border) << "the body in the border colour";
}

// A body far taller than the panel (a hundred items of the largest stored height) is painted through
// what shows: the paint takes no memory of the body's size, and the part in view shows the body.
TEST_F(TaskPanel, ATallBodyIsPaintedThroughWhatShows) {
  PROCESS_MEMORY_COUNTERS before{}, after{};
  ASSERT_TRUE(::K32GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before));
  panel.SetAnimation(1);
  for (UINT i = 0; i < 100; ++i) Link(places, 6000 + i, _T("Tall"))->SetSize(CSize(100, taskpanel::kMaxLoadedExtent));
  places->SetExpanded(TRUE);
  panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(::K32GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after));
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, SIZE_T{64} << 20);
  CRect body = places->GetClientRect();
  ASSERT_LT(body.top + 40, 500);
  const CRect right(body.right - 40, body.top + 10, body.right - 10, body.top + 40);  // beside the items
  EXPECT_EQ(harness::CommonColour(panel.m_hWnd, right),
            taskpanel_checks::Shown(panel.GetPaintManager()->GetGroupColors(places)->clrClient.clrDark));
}

TEST_F(TaskPanel, ListScreenshot) {
  AddFolders(24);
  panel.SetBehaviour(CTKPTaskPanel::kList);
  panel.SetAnimation(1);
  places->SetExpanded(TRUE);
  places->Scroll(2);
  harness::PumpMessages();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, "task_panel_list").empty());
  for (CTKPTaskPanelGroup* group : {tasks, details, places}) {
    taskpanel_checks::ExpectCaptionText(panel, group, "task_panel_list");
  }
}

TEST_F(TaskPanel, Screenshot) {
  ::SetForegroundWindow(host.m_hWnd);
  panel.SetFocus();
  Key(VK_TAB);
  Key(VK_TAB);  // the focus rectangle on the first link
  panel.SetHotItem(recover);
  harness::PumpMessages();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, "task_panel").empty());
  taskpanel_checks::ExpectCaptionText(panel, tasks, "task_panel");
  taskpanel_checks::ExpectItemText(panel, tasks, recover,
                                   taskpanel_checks::Shown(panel.GetPaintManager()->GetGroupColors(tasks)->clrClientLinkHot),
                                   "task_panel, the hot link");
}

}  // namespace
