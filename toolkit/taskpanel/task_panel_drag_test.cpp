// Moving the task panel's elements in a real window: an item dragged by OLE drag and drop onto another
// group; the drop rules (a foreign drag without text refused, Ctrl copies, the lower half of the last
// item appends, a closed group opens when held, leaving clears the target); a group dragged by its
// caption into another's place; renaming ended by Enter, by focus loss and by Escape, each heard once at
// most; a screen reader's client reading the panel's elements. The screenshot task_panel_rename.png.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/taskpanel/task_panel_checks.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_edit.h"
#include "toolkit/taskpanel/tkp_task_panel_ole.h"
#include "toolkit/taskpanel/tkp_task_panel_transfer.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("TaskPanelDragTest")) {}
};
TestApp theApp;

class ManualTimers : public CTKPTaskPanelTimers {
 public:
  void Start(HWND, UINT_PTR nID, UINT nElapse) override { started.emplace_back(nID, nElapse); }
  void Stop(HWND, UINT_PTR nID) override { stopped.push_back(nID); }
  std::vector<std::pair<UINT_PTR, UINT>> started;
  std::vector<UINT_PTR> stopped;
};

// The owner: logs each notification (with the text of a rename); may keep an old caption.
class Host : public CWnd {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> notes;
  std::vector<std::wstring> renames;
  bool keepOldCaption = false;

  int Count(WPARAM code) const {
    int n = 0;
    for (const auto& note : notes) n += note.first == code;
    return n;
  }

 protected:
  afx_msg LRESULT OnPanelNotify(WPARAM wParam, LPARAM lParam) {
    notes.emplace_back(wParam, lParam);
    if (wParam != NotifyEndLabelEdit) return 0;
    renames.emplace_back(reinterpret_cast<const wchar_t*>(lParam));
    return keepOldCaption ? 1 : 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, CWnd)
  ON_MESSAGE(TKPWM_TASKPANEL_NOTIFY, OnPanelNotify)
END_MESSAGE_MAP()

CPoint Centre(const CRect& rc) { return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2); }

std::vector<std::wstring> Captions(CTKPTaskPanelGroup* group) {
  std::vector<std::wstring> captions;
  for (int i = 0; i < group->GetItemCount(); ++i) {
    captions.emplace_back(reinterpret_cast<const wchar_t*>(static_cast<LPCTSTR>(group->GetAt(i)->GetCaption())));
  }
  return captions;
}

class TaskPanelMoves : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                              _T("Recovery tasks"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                              300, 460, nullptr, nullptr));
    panel.SetTimers(&timers);
    ASSERT_TRUE(panel.Create(WS_VISIBLE, CRect(0, 0, 284, 420), &host, 100));
    panel.SetWindowText(_T("Recovery tasks"));
    ::SetCursorPos(2, 2);
    panel.GetImageManager()->SetIconsFromToolBar(IDR_MAINFRAME);
    panel.SetAnimation(1);
    panel.SetLockRedraw(TRUE);
    tasks = panel.AddGroup(1);
    tasks->SetCaption(_T("Recovery Tasks"));
    tasks->SetSpecialGroup(TRUE);
    open = Link(tasks, ID_OPEN_IMAGE, _T("Open a disk image"));
    recover = Link(tasks, ID_RECOVER_SELECTED, _T("Recover the selected files"));
    details = panel.AddGroup(2);
    details->SetCaption(_T("Scan Options"));
    find = Link(details, ID_FIND_FILES, _T("Find files by name"));
    snapshot = Link(details, ID_SAVE_SNAPSHOT, _T("Save a scan snapshot"));
    places = panel.AddGroup(3);
    places->SetCaption(_T("Other Places"));
    Link(places, ID_LOAD_SNAPSHOT, _T("Load a scan snapshot"));
    places->SetExpanded(FALSE);
    panel.SetLockRedraw(FALSE);
    harness::PumpMessages();
    host.notes.clear();
  }
  void TearDown() override { host.DestroyWindow(); }

  CTKPTaskPanelGroupItem* Link(CTKPTaskPanelGroup* group, UINT id, LPCTSTR caption) {
    CTKPTaskPanelGroupItem* item = group->AddLinkItem(id, static_cast<int>(id));
    item->SetCaption(caption);
    return item;
  }
  CPoint At(CTKPTaskPanelItem* item) const { return Centre(item->GetHitTestRect()); }
  void Press(CPoint pt) { panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
  void PullTo(CPoint pt) { panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }

  // Data as another panel would offer it: the element's record, and its text when it has drag text.
  static void Offer(CTKPTaskPanelDataSource& data, const CString& caption, const CString& dragText) {
    CTKPTaskPanelGroupItem item;
    item.SetCaption(caption);
    item.SetDragText(dragText);
    item.SetAllowDrag(0x88);
    data.CacheGlobalData(static_cast<CLIPFORMAT>(CTKPTaskPanel::GetClipboardFormat()), taskpanel::ElementRecordBlock(&item));
    if (HGLOBAL text = taskpanel::ElementTextBlock(&item)) data.CacheGlobalData(CF_TEXT, text);
  }

  Host host;
  ManualTimers timers;
  CTKPTaskPanel panel;
  CTKPTaskPanelGroup* tasks = nullptr;
  CTKPTaskPanelGroup* details = nullptr;
  CTKPTaskPanelGroup* places = nullptr;
  CTKPTaskPanelGroupItem* open = nullptr;
  CTKPTaskPanelGroupItem* recover = nullptr;
  CTKPTaskPanelGroupItem* find = nullptr;
  CTKPTaskPanelGroupItem* snapshot = nullptr;
};

// ---- dragging items ----

TEST_F(TaskPanelMoves, AnItemDraggedOntoAnotherGroupMovesThere) {
  ::SetForegroundWindow(host.m_hWnd);
  // Without the panel's permission nothing is dragged.
  Press(At(open));
  PullTo(At(open) + CPoint(0, 10));
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(At(open).x, At(open).y + 10));
  EXPECT_EQ(host.Count(NotifyStartDrag), 0);
  EXPECT_EQ(tasks->GetItemCount(), 2);

  panel.SetAllowDrag(1);
  // The mouse rests over the other group's caption with its button up: the drag drops there at once.
  const CPoint centre = Centre(details->GetHitTestRect());
  POINT target{centre.x, centre.y};
  panel.ClientToScreen(&target);
  ::SetCursorPos(target.x, target.y);
  Press(At(open));
  PullTo(At(open) + CPoint(0, 10));
  harness::PumpMessages();
  EXPECT_EQ(host.Count(NotifyStartDrag), 1);
  ASSERT_EQ(host.Count(NotifyItemDrop), 1);
  EXPECT_EQ(Captions(tasks), std::vector<std::wstring>{L"Recover the selected files"});
  EXPECT_EQ(Captions(details),
            (std::vector<std::wstring>{L"Find files by name", L"Save a scan snapshot", L"Open a disk image"}));
  CTKPTaskPanelGroupItem* moved = details->GetAt(2);
  EXPECT_EQ(reinterpret_cast<LPARAM>(moved), host.notes.back().second);
  EXPECT_EQ(moved->GetID(), static_cast<UINT>(ID_OPEN_IMAGE));
  EXPECT_EQ(panel.GetFocusedItem(), moved);
  EXPECT_EQ(panel.GetDraggedItem(), nullptr);
  EXPECT_EQ(panel.GetDropTarget(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  ::SetCursorPos(2, 2);
}

TEST_F(TaskPanelMoves, DropsFollowTheRulesOfThePlace) {
  // From another panel, an item without drag text offers no text form (not even its caption): refused.
  CTKPTaskPanelDataSource bare;
  Offer(bare, _T("Carved pictures"), CString());
  EXPECT_EQ(panel.OnDragOver(&bare, 0, At(find)), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(panel.GetDropTarget(), nullptr);

  CTKPTaskPanelDataSource data;
  Offer(data, _T("Carved pictures"), _T("Carved pictures"));
  // The upper half of an item: before it; a move, or a copy with Ctrl.
  const CRect rcFind = find->GetHitTestRect();
  EXPECT_EQ(panel.OnDragOver(&data, 0, CPoint(rcFind.left + 4, rcFind.top + 1)), static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(panel.GetDropTarget(), find);
  EXPECT_EQ(panel.OnDragOver(&data, MK_CONTROL, CPoint(rcFind.left + 4, rcFind.top + 1)),
            static_cast<DWORD>(DROPEFFECT_COPY));
  // The body's margin below its items takes nothing.
  const CRect body = details->GetClientRect();
  EXPECT_EQ(panel.OnDragOver(&data, 0, CPoint(body.left + 4, body.bottom - 2)), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(panel.GetDropTarget(), nullptr);
  // The lower half of the last item stands for the group's end.
  const CRect rcLast = snapshot->GetHitTestRect();
  const CPoint lower(rcLast.left + 4, rcLast.bottom - 2);
  EXPECT_EQ(panel.OnDragOver(&data, 0, lower), static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(panel.GetDropTarget(), details);
  panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // the marker draws
  EXPECT_TRUE(panel.OnDrop(&data, DROPEFFECT_MOVE, lower));
  EXPECT_EQ(Captions(details),
            (std::vector<std::wstring>{L"Find files by name", L"Save a scan snapshot", L"Carved pictures"}));
  EXPECT_EQ(panel.GetDropTarget(), nullptr);
  EXPECT_EQ(host.Count(NotifyItemDrop), 1);
  // A drop on an item lands before it.
  panel.OnDragOver(&data, 0, CPoint(rcFind.left + 4, rcFind.top + 1));
  EXPECT_TRUE(panel.OnDrop(&data, DROPEFFECT_COPY, CPoint()));
  EXPECT_EQ(Captions(details).front(), L"Carved pictures");
  // A drop with no target, or with no readable element, changes nothing.
  EXPECT_FALSE(panel.OnDrop(&data, DROPEFFECT_MOVE, CPoint()));
  panel.OnDragOver(&data, 0, At(find));
  CTKPTaskPanelDataSource empty;
  EXPECT_FALSE(panel.OnDrop(&empty, DROPEFFECT_MOVE, CPoint()));
  EXPECT_EQ(details->GetItemCount(), 4);
}

TEST_F(TaskPanelMoves, AClosedGroupHeldUnderADragOpensAndLeavingClearsTheTarget) {
  CTKPTaskPanelDataSource data;
  Offer(data, _T("Carved pictures"), _T("Carved pictures"));
  const CPoint caption = At(places);
  EXPECT_EQ(panel.OnDragOver(&data, 0, caption), static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(panel.GetDropTarget(), places);
  ASSERT_EQ(timers.started.size(), 1u);
  EXPECT_EQ(timers.started[0].first, kTaskPanelHoverExpandTimer);
  UINT hover = 0;
  ::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hover, 0);
  EXPECT_EQ(timers.started[0].second, hover);
  // Held there, the drag keeps reporting; the timer is not started again.
  panel.OnDragOver(&data, 0, caption);
  EXPECT_EQ(timers.started.size(), 1u);
  panel.SendMessage(WM_TIMER, kTaskPanelHoverExpandTimer);
  EXPECT_TRUE(places->IsExpanded());
  EXPECT_FALSE(panel.IsHoverExpandTimerRunning());

  // Over another closed group, then out of the window: the target goes and so does the timer.
  places->SetExpanded(FALSE);
  panel.OnDragOver(&data, 0, At(places));
  EXPECT_TRUE(panel.IsHoverExpandTimerRunning());
  panel.OnDragOver(nullptr, 0, CPoint(-1, -1));
  EXPECT_EQ(panel.GetDropTarget(), nullptr);
  EXPECT_FALSE(panel.IsHoverExpandTimerRunning());
  EXPECT_EQ(timers.stopped.back(), kTaskPanelHoverExpandTimer);
}

// ---- dragging groups ----

TEST_F(TaskPanelMoves, AGroupDraggedByItsCaptionTakesAnotherGroupsPlace) {
  // Not allowed by default: the group stays, and the press ends as a click.
  Press(At(places));
  PullTo(At(places) + CPoint(0, -10));
  panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(At(places).x, At(places).y - 10));
  EXPECT_EQ(panel.GetAt(2), places);

  panel.SetAllowDrag(1);
  places->SetExpanded(FALSE);
  const CPoint onTasks = At(tasks);
  Press(At(places));
  // What the loop will find in the queue: the mouse over the first caption, then the button up.
  panel.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(onTasks.x, onTasks.y));
  panel.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(onTasks.x, onTasks.y));
  PullTo(At(places) + CPoint(0, -10));
  EXPECT_EQ(panel.GetAt(0), places);
  EXPECT_EQ(panel.GetAt(1), tasks);
  EXPECT_EQ(panel.GetAt(2), details);
  EXPECT_FALSE(places->IsExpanded());  // the button-up ended the drag, not a click
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(panel.GetDraggedItem(), nullptr);
  EXPECT_LT(places->GetCaptionRect().top, tasks->GetCaptionRect().top);
}

// ---- renaming ----

TEST_F(TaskPanelMoves, ARenameEndedByEnterIsHeardOnce) {
  panel.RenameItem(recover);
  CTKPTaskPanelEditItem* edit = panel.GetRenameEdit();
  ASSERT_NE(edit, nullptr);
  const HWND hEdit = edit->m_hWnd;
  EXPECT_EQ(::GetFocus(), hEdit);
  EXPECT_EQ(harness::Text(hEdit), L"Recover the selected files");
  EXPECT_EQ(edit->SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTALLKEYS));
  ::SetWindowTextW(hEdit, L"Recover the ticked files");
  harness::PressKey(hEdit, VK_RETURN);
  harness::PumpMessages();
  // The edit closed (losing the focus on the way) and the owner heard the rename once.
  EXPECT_FALSE(::IsWindow(hEdit));
  EXPECT_EQ(host.Count(NotifyEndLabelEdit), 1);
  EXPECT_EQ(host.renames, std::vector<std::wstring>{L"Recover the ticked files"});
  EXPECT_EQ(recover->GetCaption(), CString(_T("Recover the ticked files")));
  EXPECT_EQ(panel.GetRenameEdit(), nullptr);
}

TEST_F(TaskPanelMoves, ARenameEndedByLosingTheFocusIsHeardOnce) {
  panel.RenameItem(details);
  CTKPTaskPanelEditItem* edit = panel.GetRenameEdit();
  ASSERT_NE(edit, nullptr);
  const HWND hEdit = edit->m_hWnd;
  ::SetWindowTextW(hEdit, L"Scan Settings");
  panel.SetFocus();
  harness::PumpMessages();
  EXPECT_FALSE(::IsWindow(hEdit));
  EXPECT_EQ(host.Count(NotifyEndLabelEdit), 1);
  EXPECT_EQ(details->GetCaption(), CString(_T("Scan Settings")));
}

TEST_F(TaskPanelMoves, EscapeAnEmptyTextOrTheOwnersNoKeepsTheCaption) {
  panel.RenameItem(open);
  HWND hEdit = panel.GetRenameEdit()->m_hWnd;
  ::SetWindowTextW(hEdit, L"Something else");
  harness::PressKey(hEdit, VK_ESCAPE);
  harness::PumpMessages();
  EXPECT_FALSE(::IsWindow(hEdit));
  panel.RenameItem(open);
  hEdit = panel.GetRenameEdit()->m_hWnd;
  ::SetWindowTextW(hEdit, L"");
  harness::PressKey(hEdit, VK_RETURN);
  harness::PumpMessages();
  EXPECT_EQ(host.Count(NotifyEndLabelEdit), 0);
  host.keepOldCaption = true;
  panel.RenameItem(open);
  ::SetWindowTextW(panel.GetRenameEdit()->m_hWnd, L"Open an image");
  panel.SetFocus();
  harness::PumpMessages();
  EXPECT_EQ(host.Count(NotifyEndLabelEdit), 1);
  EXPECT_EQ(open->GetCaption(), CString(_T("Open a disk image")));
}

TEST_F(TaskPanelMoves, RenameScreenshot) {
  ::SetForegroundWindow(host.m_hWnd);
  panel.RenameItem(recover);
  ASSERT_NE(panel.GetRenameEdit(), nullptr);
  ::SetWindowTextW(panel.GetRenameEdit()->m_hWnd, L"Recover the ticked files");
  panel.GetRenameEdit()->SetSel(0, -1);
  harness::PumpMessages();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::PumpMessages();
  EXPECT_FALSE(harness::CaptureWindow(host.m_hWnd, "task_panel_rename").empty());
  // The edit lies over the item it renames and shows its text selected.
  HWND edit = panel.GetRenameEdit()->m_hWnd;
  CRect shown;
  ::GetWindowRect(edit, shown);
  panel.ScreenToClient(shown);
  CRect overlap;
  EXPECT_TRUE(overlap.IntersectRect(shown, taskpanel_checks::ItemRect(tasks, recover))) << "the edit is elsewhere";
  CRect inside;
  ::GetClientRect(edit, inside);
  EXPECT_GT(harness::CountPixels(edit, inside, ::GetSysColor(COLOR_HIGHLIGHT)), 50) << "no selected text shows";
}

// ---- accessibility ----

VARIANT Child(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring NameOf(IAccessible* acc) {
  BSTR name = nullptr;
  if (acc->get_accName(Child(CHILDID_SELF), &name) != S_OK || name == nullptr) return L"?";
  std::wstring text(name);
  ::SysFreeString(name);
  return text;
}

std::wstring NameOf(IDispatch* dispatch) {
  IAccessible* acc = nullptr;
  if (dispatch == nullptr || FAILED(dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&acc)))) {
    return L"?";
  }
  std::wstring text = NameOf(acc);
  acc->Release();
  return text;
}

TEST_F(TaskPanelMoves, AScreenReaderReadsThePanelsElements) {
  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  IAccessible* client = nullptr;
  ASSERT_EQ(CTKPAccessible::AccessibleObjectFromWindow(panel.m_hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&client)),
            S_OK);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(NameOf(client), L"Recovery tasks");
  VARIANT role;
  ASSERT_EQ(client->get_accRole(Child(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_OUTLINE);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 8);
  std::vector<std::wstring> names;
  for (long id = 1; id <= count; ++id) {
    IDispatch* child = nullptr;
    ASSERT_EQ(client->get_accChild(Child(id), &child), S_OK) << id;
    names.push_back(NameOf(child));
    child->Release();
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Recovery Tasks", L"Open a disk image", L"Recover the selected files",
                                              L"Scan Options", L"Find files by name", L"Save a scan snapshot",
                                              L"Other Places", L"Load a scan snapshot"}));
  IDispatch* none = nullptr;
  EXPECT_EQ(client->get_accChild(Child(9), &none), E_INVALIDARG);
  BSTR name = nullptr;
  EXPECT_EQ(client->get_accName(Child(-3), &name), E_INVALIDARG);
  // Where the third child stands, and what stands under its middle.
  long x = 0, y = 0, cx = 0, cy = 0;
  ASSERT_EQ(client->accLocation(&x, &y, &cx, &cy, Child(3)), S_OK);
  CRect expected = recover->GetHitTestRect();
  panel.ClientToScreen(expected);
  EXPECT_EQ(CRect(x, y, x + cx, y + cy), expected);
  VARIANT hit;
  ASSERT_EQ(client->accHitTest(x + cx / 2, y + cy / 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  EXPECT_EQ(NameOf(hit.pdispVal), L"Recover the selected files");
  hit.pdispVal->Release();
  CRect window;
  panel.GetWindowRect(window);
  ASSERT_EQ(client->accHitTest(window.left + 2, window.bottom - 3, &hit), S_OK);  // empty panel below the groups
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, CHILDID_SELF);
  EXPECT_EQ(client->accHitTest(window.right + 5, window.top, &hit), S_FALSE);
  client->Release();
  ::CoUninitialize();
}

}  // namespace
