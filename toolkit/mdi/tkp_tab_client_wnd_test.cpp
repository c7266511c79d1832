// The MDI tab client over a real MDI frame: six documents as tabs with the icons their frames give, groups
// made by the workspace commands (which reach the client through the frame's own routing), tabs dragged,
// the splitter between groups dragged, documents closed; the screenshot mdi_tabs.png.
#include "toolkit/mdi/tkp_tab_client_wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "res/resource.h"
#include "res/toolkit_resource.h"
#include "toolkit/tabmanager/tkp_tab_color_set.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

constexpr UINT kPrev = 9420, kNext = 9421, kNewHorz = 9422, kNewVert = 9423;

LPARAM At(CPoint pt) { return MAKELPARAM(pt.x, pt.y); }

// The test's MDI frame: a plain one, whose commands reach its tab client without its help.
class TabsFrame : public CMDIFrameWnd {
 public:
  CTKPTabClientWnd tabs;
};

// A document's frame that answers the tab client's request for the icon of its tab.
class IconChild : public CMDIChildWnd {
 public:
  HICON icon = nullptr;
  int asked = 0;

 protected:
  afx_msg LRESULT OnTabIcon(WPARAM, LPARAM) {
    ++asked;
    return reinterpret_cast<LRESULT>(icon);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IconChild, CMDIChildWnd)
  ON_MESSAGE(0x2860, OnTabIcon)
END_MESSAGE_MAP()

HICON ProgramIcon(int id) {
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_SHARED));
}

// An opaque 16 x 16 icon of one colour.
HICON SolidIcon(COLORREF colour) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP face = ::CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, face);
  HBRUSH brush = ::CreateSolidBrush(colour);
  RECT all{0, 0, 16, 16};
  ::FillRect(dc, &all, brush);
  ::DeleteObject(brush);
  ::SelectObject(dc, mask);
  ::PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ICONINFO info{TRUE, 0, 0, mask, face};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(face);
  ::DeleteObject(mask);
  return icon;
}

// Records what an update handler said.
class RecordingCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    enabled = bOn;
    m_bEnableChanged = TRUE;
  }
  BOOL enabled = -1;
};

struct Document {
  LPCTSTR title;
  LPCWSTR text;
  int icon;
};

const Document kDocuments[] = {
    {_T("Disk.vhdx"), L"Dynamic VHDX, 8 GB\r\nMBR with three partitions\r\nSector size 512 bytes", IDI_TREE_VIRTUAL_DISK},
    {_T("Partition 1 (FAT16)"), L"Start sector 2048\r\n131072 sectors\r\n214 files, 12 deleted", IDI_TREE_FIXED_DISK},
    {_T("Partition 2 (FAT32)"), L"Start sector 133120\r\n4194304 sectors\r\n1893 files, 47 deleted", IDI_TREE_FIXED_DISK},
    {_T("Partition 3 (NTFS)"), L"Start sector 4327424\r\n12449792 sectors\r\n5120 files, 301 deleted", IDI_TREE_FIXED_DISK},
    {_T("Lost folders"), L"$LostFolder1\r\n$LostFolder2\r\n$LostFolder3", IDI_TREE_FOLDER},
    {_T("Saved files.log"), L"Saved 58 files to D:\\Recovered\r\nNone damaged", IDI_TOOL_RECOVER},
};

class MdiTabClient : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new TabsFrame;
    ASSERT_TRUE(
        frame->Create(nullptr, _T("Recovered documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{30, 30, 790, 530}));
    ASSERT_TRUE(frame->tabs.Attach(frame, TRUE));
    EXPECT_FALSE(frame->tabs.Attach(frame, TRUE));  // once only
    for (const Document& doc : kDocuments) AddDocument(doc);
    harness::PumpMessages();
  }
  void TearDown() override {
    if (frame != nullptr) frame->DestroyWindow();
    harness::PumpMessages();
  }

  HWND AddDocument(const Document& doc, HICON icon = nullptr) {
    auto* child = new IconChild;
    child->icon = icon != nullptr ? icon : doc.icon != 0 ? ProgramIcon(doc.icon) : nullptr;
    EXPECT_TRUE(
        child->Create(nullptr, doc.title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    HWND hEdit =
        ::CreateWindowExW(0, L"EDIT", doc.text, WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 10, 10, child->m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr, nullptr);
    ::SendMessageW(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SendMessageW(hEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(6, 6));
    child->RecalcLayout();
    child->ActivateFrame();
    return child->m_hWnd;
  }

  CTKPTabClientWnd& tabs() { return frame->tabs; }
  HWND Client() const { return frame->m_hWndMDIClient; }
  HWND Active() const { return reinterpret_cast<HWND>(::SendMessageW(Client(), WM_MDIGETACTIVE, 0, 0)); }
  HWND WindowOf(int group, int tab) { return reinterpret_cast<HWND>(tabs().GetGroup(group)->GetItem(tab)->GetData()); }
  CString CaptionOf(int group, int tab) { return tabs().GetGroup(group)->GetItem(tab)->GetCaption(); }
  void Command(UINT id) { ::SendMessageW(frame->m_hWnd, WM_COMMAND, id, 0); }
  CRect PlaceOf(HWND hWnd) {
    CRect rc;
    ::GetWindowRect(hWnd, rc);
    ::MapWindowPoints(nullptr, Client(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  BOOL UpdateState(UINT id) {
    RecordingCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(frame, FALSE);
    return ui.enabled;
  }
  // Presses on a tab and lets the script move and release the mouse; `more` adds steps to the script.
  void Drag(int group, int tab, const std::vector<CPoint>& path, bool escape = false,
            const std::function<void(harness::ModalScript&)>& more = nullptr) {
    const CPoint start = tabs().GetGroup(group)->GetItem(tab)->GetRect().CenterPoint();
    harness::ModalScript script;
    script.Step(
        "moves", [] { return ::GetCapture() != nullptr; },
        [&] {
          for (CPoint pt : path) ::PostMessageW(Client(), WM_MOUSEMOVE, MK_LBUTTON, At(pt));
          if (escape) {
            ::PostMessageW(Client(), WM_KEYDOWN, VK_ESCAPE, 0);
          } else {
            ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(path.back()));
          }
        });
    if (more) more(script);
    script.Start();
    ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(::GetCapture(), nullptr);
  }

  // Drags a tab along the path and lets go; TRUE when a menu showed at the release (it is closed then).
  bool ReleaseShowsMenu(int group, int tab, const std::vector<CPoint>& path) {
    const CPoint start = tabs().GetGroup(group)->GetItem(tab)->GetRect().CenterPoint();
    bool shown = false;
    harness::ModalScript script;
    script.Step(
        "moves", [] { return ::GetCapture() != nullptr; },
        [&] {
          for (CPoint pt : path) ::PostMessageW(Client(), WM_MOUSEMOVE, MK_LBUTTON, At(pt));
          ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(path.back()));
        });
    // Only a menu that opens ends this step: without one, the release returns before it.
    script.Step(
        "menu", [] { return ::IsWindowVisible(::FindWindowW(L"#32768", nullptr)) != FALSE; },
        [&shown] {
          shown = true;
          ::EndMenu();
        });
    script.Start();
    ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    harness::PumpMessages();
    EXPECT_EQ(::GetCapture(), nullptr);
    return shown;
  }

  TabsFrame* frame = nullptr;
};

TEST_F(MdiTabClient, SixDocumentsStandAsTabsOfOneGroupWithoutTheirOwnFrames) {
  ASSERT_EQ(tabs().GetGroupCount(), 1);
  CTKPTabClientGroup* group = tabs().GetGroup(0);
  ASSERT_EQ(group->GetItemCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(CaptionOf(0, i), CString(kDocuments[i].title)) << i;
  EXPECT_EQ(WindowOf(0, 5), Active());
  EXPECT_EQ(group->GetSelectedItem(), group->GetItem(5));
  const CRect area = group->GetClientRect();
  EXPECT_FALSE(group->GetHeaderRect().IsRectEmpty());
  EXPECT_GT(area.top, group->GetHeaderRect().top);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(::GetWindowLongW(WindowOf(0, i), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << i;
    EXPECT_EQ(PlaceOf(WindowOf(0, i)), area) << i;
  }
  EXPECT_EQ(::GetWindow(Client(), GW_CHILD), Active());  // the selected document on top
  // A click on a tab activates its document; a title change reaches the tab.
  const CPoint onSecond = group->GetItem(1)->GetRect().CenterPoint();
  Drag(0, 1, {onSecond});
  EXPECT_EQ(Active(), WindowOf(0, 1));
  EXPECT_EQ(group->GetSelectedItem(), group->GetItem(1));
  EXPECT_EQ(::GetWindow(Client(), GW_CHILD), WindowOf(0, 1));
  ::SetWindowTextW(WindowOf(0, 1), L"Partition 1 (FAT16) *");
  tabs().Refresh(TRUE);
  EXPECT_EQ(CaptionOf(0, 1), CString(_T("Partition 1 (FAT16) *")));
  // The commands' texts.
  CString text;
  ASSERT_TRUE(text.LoadString(kNewVert));
  EXPECT_EQ(text, CString(_T("\nNew &Vertical Tab Group")));
  ASSERT_TRUE(text.LoadString(9424));
  EXPECT_EQ(text, CString(_T("C&ancel")));
}

TEST_F(MdiTabClient, WorkspaceCommandsMoveTheActiveTabBetweenGroups) {
  // One group of six: both new groups apply, no move does.
  EXPECT_TRUE(tabs().IsWorkspaceCommandEnabled(kNewHorz));
  EXPECT_TRUE(tabs().IsWorkspaceCommandEnabled(kNewVert));
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kPrev));
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kNext));
  EXPECT_FALSE(UpdateState(kPrev));
  EXPECT_TRUE(UpdateState(kNewVert));

  CRect whole;
  ::GetClientRect(Client(), whole);
  HWND moved = Active();
  Command(kNewVert);
  ASSERT_EQ(tabs().GetGroupCount(), 2);
  EXPECT_FALSE(tabs().IsHorizontal());
  EXPECT_EQ(tabs().GetGroup(0)->GetItemCount(), 5);
  ASSERT_EQ(tabs().GetGroup(1)->GetItemCount(), 1);
  EXPECT_EQ(WindowOf(1, 0), moved);
  EXPECT_EQ(Active(), moved);
  const CRect left = tabs().GetGroup(0)->m_rcGroup;
  const CRect right = tabs().GetGroup(1)->m_rcGroup;
  EXPECT_EQ(left.left, whole.left);
  EXPECT_EQ(right.right, whole.right);
  EXPECT_EQ(right.left - left.right, tabs().GetSplitterWidth());
  EXPECT_LE(std::abs(left.Width() - right.Width()), 1);
  EXPECT_EQ(PlaceOf(moved), tabs().GetGroup(1)->GetClientRect());
  // Two groups side by side: no stacked group, and from the last group only back.
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kNewHorz));
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kNewVert));  // one tab in its group
  EXPECT_TRUE(tabs().IsWorkspaceCommandEnabled(kPrev));
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kNext));
  EXPECT_FALSE(UpdateState(kNext));
  EXPECT_TRUE(UpdateState(kPrev));

  // Back to the first group: the emptied group goes.
  Command(kPrev);
  ASSERT_EQ(tabs().GetGroupCount(), 1);
  EXPECT_EQ(tabs().GetGroup(0)->GetItemCount(), 6);
  EXPECT_EQ(WindowOf(0, 5), moved);
  EXPECT_EQ(Active(), moved);
  EXPECT_EQ(tabs().GetGroup(0)->m_rcGroup, whole);

  // Stacked groups: only further stacked groups apply.
  Command(kNewHorz);
  ASSERT_EQ(tabs().GetGroupCount(), 2);
  EXPECT_TRUE(tabs().IsHorizontal());
  const CRect top = tabs().GetGroup(0)->m_rcGroup;
  const CRect bottom = tabs().GetGroup(1)->m_rcGroup;
  EXPECT_EQ(bottom.top - top.bottom, tabs().GetSplitterWidth());
  EXPECT_EQ(top.Width(), whole.Width());
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 0)));
  EXPECT_EQ(Active(), WindowOf(0, 0));
  EXPECT_TRUE(tabs().IsWorkspaceCommandEnabled(kNewHorz));
  EXPECT_FALSE(tabs().IsWorkspaceCommandEnabled(kNewVert));
  EXPECT_TRUE(tabs().IsWorkspaceCommandEnabled(kNext));
  Command(kNewVert);  // does not apply: nothing moves
  EXPECT_EQ(tabs().GetGroupCount(), 2);
  Command(kNext);
  EXPECT_EQ(tabs().GetGroup(0)->GetItemCount(), 4);
  EXPECT_EQ(tabs().GetGroup(1)->GetItemCount(), 2);
  EXPECT_EQ(WindowOf(1, 1), Active());
}

// Let go outside its strip, a tab's document comes forward and nothing else happens: the workspace
// commands move it.
TEST_F(MdiTabClient, ATabReleasedOutsideItsStripOnlyBringsItsDocumentForward) {
  CTKPTabClientGroup* first = tabs().GetGroup(0);
  const CRect area = first->m_rcGroup;
  HWND dragged = WindowOf(0, 2);
  EXPECT_FALSE(ReleaseShowsMenu(0, 2, {CPoint(area.CenterPoint().x, area.bottom - 10)}));
  EXPECT_EQ(tabs().GetGroupCount(), 1);
  EXPECT_EQ(first->GetItemCount(), 6);
  EXPECT_EQ(Active(), dragged);
  Command(kNewVert);
  ASSERT_EQ(tabs().GetGroupCount(), 2);
  EXPECT_EQ(WindowOf(1, 0), dragged);
  EXPECT_EQ(first->GetItemCount(), 5);
  // Released over the other group, the tab stays in its own.
  const CPoint intoSecond = tabs().GetGroup(1)->GetClientRect().CenterPoint();
  EXPECT_FALSE(ReleaseShowsMenu(0, 0, {intoSecond}));
  EXPECT_EQ(first->GetItemCount(), 5);
  EXPECT_EQ(tabs().GetGroup(1)->GetItemCount(), 1);

  // Esc ends a drag where it stands.
  Drag(0, 0, {intoSecond}, true);
  EXPECT_EQ(first->GetItemCount(), 5);

  // The first tabs in view again: five tabs do not fit the group's strip.
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 0)));
  harness::PumpMessages();

  // A document that closes while its tab is dragged ends the drag; nothing moves.
  {
    HWND closing = WindowOf(0, 1);
    const CPoint outside(area.right - 20, area.top + 120);
    harness::ModalScript script;
    script.Step(
        "close and release", [] { return ::GetCapture() != nullptr; },
        [&] {
          ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(closing), 0);
          ::PostMessageW(Client(), WM_MOUSEMOVE, MK_LBUTTON, At(outside));
          ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(outside));
        });
    script.Start();
    ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(first->GetItem(1)->GetRect().CenterPoint()));
    EXPECT_TRUE(script.Finished()) << script.Failure();
    harness::PumpMessages();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(tabs().GetGroupCount(), 2);
    EXPECT_EQ(first->GetItemCount(), 4);
    EXPECT_EQ(tabs().FindItem(closing), nullptr);
  }

  // Within its strip the tab only changes places.
  const CString firstCaption = CaptionOf(0, 0);
  Drag(0, 0, {first->GetItem(1)->GetRect().CenterPoint()});
  EXPECT_EQ(tabs().GetGroupCount(), 2);
  EXPECT_EQ(CaptionOf(0, 1), firstCaption);
}

TEST_F(MdiTabClient, TheSplitterSharesTheTwoGroupsRoomAndClosedDocumentsLeaveTheirGroups) {
  Command(kNewVert);
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 4)));
  Command(kNext);
  ASSERT_EQ(tabs().GetGroup(1)->GetItemCount(), 2);
  CTKPTabClientGroup* first = tabs().GetGroup(0);
  CTKPTabClientGroup* second = tabs().GetGroup(1);
  const CRect splitter = first->m_rcSplitter;
  ASSERT_FALSE(splitter.IsRectEmpty());
  const int outer = second->m_rcGroup.right;
  // Over the splitter between groups side by side, the cursor that moves left and right.
  CPoint onSplitter = splitter.CenterPoint();
  ::ClientToScreen(Client(), onSplitter);
  ::SetCursorPos(onSplitter.x, onSplitter.y);
  EXPECT_TRUE(
      ::SendMessageW(Client(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Client()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_TK_SPLIT_HORZ)));
  // A live drag 100 pixels to the left.
  const CPoint start = splitter.CenterPoint();
  harness::ModalScript script;
  script.Step(
      "drag", [] { return ::GetCapture() != nullptr; },
      [&] {
        ::PostMessageW(Client(), WM_MOUSEMOVE, MK_LBUTTON, At(CPoint(start.x - 100, start.y + 40)));
        ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(CPoint(start.x - 100, start.y + 40)));
      });
  script.Start();
  ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(start));
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(first->m_rcSplitter.CenterPoint().x, start.x - 100);
  EXPECT_EQ(first->m_rcSplitter.top, splitter.top);
  EXPECT_EQ(second->m_rcGroup.right, outer);
  EXPECT_EQ(PlaceOf(WindowOf(1, 0)), second->GetClientRect());

  // Dragged as an outline, the groups change once, on release; Esc leaves them as they were.
  tabs().SetOutlineTracking(TRUE);
  const auto outlineDrag = [&](CPoint to, bool escape) {
    const CPoint from = first->m_rcSplitter.CenterPoint();
    harness::ModalScript outline;
    outline.Step(
        "drag", [] { return ::GetCapture() != nullptr; },
        [&] {
          ::PostMessageW(Client(), WM_MOUSEMOVE, MK_LBUTTON, At(to));
          if (escape) {
            ::PostMessageW(Client(), WM_KEYDOWN, VK_ESCAPE, 0);
          } else {
            ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(to));
          }
        });
    outline.Start();
    ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(from));
    EXPECT_TRUE(outline.Finished()) << outline.Failure();
  };
  const CRect before = first->m_rcSplitter;
  outlineDrag(CPoint(before.CenterPoint().x + 150, before.top + 10), true);
  EXPECT_EQ(first->m_rcSplitter, before);
  outlineDrag(CPoint(before.CenterPoint().x + 150, before.top + 10), false);
  EXPECT_EQ(first->m_rcSplitter.CenterPoint().x, before.CenterPoint().x + 150);
  EXPECT_EQ(second->m_rcGroup.right, outer);

  // Closing the selected last tab of a group brings the tab before it forward.
  HWND last = WindowOf(1, 1);
  HWND previous = WindowOf(1, 0);
  ASSERT_EQ(Active(), last);
  ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(last), 0);
  EXPECT_EQ(Active(), previous);
  ASSERT_EQ(second->GetItemCount(), 1);
  EXPECT_EQ(second->GetSelectedItem(), second->GetItem(0));
  // Closing a document behind the shown one also brings the tab after it forward.
  HWND shown = WindowOf(0, 0);
  frame->MDIActivate(CWnd::FromHandle(shown));
  frame->MDIActivate(CWnd::FromHandle(previous));
  ASSERT_GT(first->GetItemCount(), 2);
  HWND neighbour = WindowOf(0, 2);
  ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(WindowOf(0, 1)), 0);
  EXPECT_EQ(Active(), neighbour);
  EXPECT_EQ(WindowOf(0, 0), shown);
  EXPECT_EQ(first->GetSelectedItem(), first->GetItem(1));
  EXPECT_EQ(WindowOf(0, 1), neighbour);
  frame->MDIActivate(CWnd::FromHandle(previous));
  // Closing a group's only document removes the group; the other takes the whole client.
  ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(previous), 0);
  ASSERT_EQ(tabs().GetGroupCount(), 1);
  CRect whole;
  ::GetClientRect(Client(), whole);
  EXPECT_EQ(tabs().GetGroup(0)->m_rcGroup, whole);
  EXPECT_EQ(tabs().GetItemCount(), 3);
}

// WM_SETREDRAW messages the MDI client receives while a hook counts them.
int g_redrawsToClient = 0;
HWND g_countedClient = nullptr;
LRESULT CALLBACK CountRedraws(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && msg->hwnd == g_countedClient && msg->message == WM_SETREDRAW) ++g_redrawsToClient;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// One tab strip for all documents: an activation repaints the client at once, except while every
// document is closing.
TEST_F(MdiTabClient, WithoutGroupsActivationRepaintsUnlessEveryDocumentIsClosing) {
  tabs().Detach();
  ASSERT_TRUE(tabs().Attach(frame, FALSE));
  harness::PumpMessages();
  g_countedClient = Client();
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountRedraws, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  g_redrawsToClient = 0;
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 1)));
  EXPECT_EQ(g_redrawsToClient, 2) << "redrawing off and on again";
  tabs().SetClosing(TRUE);
  g_redrawsToClient = 0;
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 2)));
  EXPECT_EQ(g_redrawsToClient, 0);
  EXPECT_EQ(Active(), WindowOf(0, 2));
  EXPECT_EQ(tabs().GetGroup(0)->GetSelectedItem(), tabs().GetGroup(0)->GetItem(2));
  tabs().SetClosing(FALSE);
  ::UnhookWindowsHookEx(hook);
  // Closing a document behind the active one brings the tab after it to the top.
  ASSERT_EQ(::GetWindow(Client(), GW_CHILD), WindowOf(0, 2));
  HWND neighbour = WindowOf(0, 4);
  ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(WindowOf(0, 3)), 0);
  EXPECT_EQ(::GetWindow(Client(), GW_CHILD), neighbour);
  // Not while every document is closing.
  tabs().SetClosing(TRUE);
  HWND top = ::GetWindow(Client(), GW_CHILD);
  ::SendMessageW(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(WindowOf(0, 0)), 0);
  EXPECT_EQ(::GetWindow(Client(), GW_CHILD), top);
  tabs().SetClosing(FALSE);
}

TEST_F(MdiTabClient, APressInsideADocumentOfAnotherGroupMakesThatGroupActive) {
  Command(kNewVert);
  CTKPTabClientGroup* first = tabs().GetGroup(0);
  ASSERT_FALSE(first->IsActive());
  HWND target = WindowOf(0, first->GetSelectedItem()->GetIndex());
  ::SetForegroundWindow(frame->m_hWnd);
  CRect rc;
  ::GetWindowRect(target, rc);
  ::SetCursorPos(rc.CenterPoint().x, rc.CenterPoint().y);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, press, sizeof(INPUT));
  EXPECT_TRUE(harness::WaitUntil([&] { return Active() == target; }));
  harness::PumpMessages();
  EXPECT_TRUE(first->IsActive());
  EXPECT_FALSE(tabs().GetGroup(1)->IsActive());
}

TEST(MdiTabClientWithoutGroups, TabsForDocumentsThatKeepTheirFramesAndNoWorkspaceCommand) {
  auto* frame = new TabsFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 640, 440}));
  auto* early = new CMDIChildWnd;  // there before the tab client
  ASSERT_TRUE(early->Create(nullptr, _T("Disk.vhd"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                            CFrameWnd::rectDefault, frame));
  ASSERT_TRUE(frame->tabs.Attach(frame, FALSE));
  auto* later = new CMDIChildWnd;
  ASSERT_TRUE(later->Create(nullptr, _T("Report.txt"), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                            CFrameWnd::rectDefault, frame));
  later->ActivateFrame();
  CTKPTabClientGroup* group = frame->tabs.GetGroup(0);
  ASSERT_EQ(group->GetItemCount(), 2);
  EXPECT_EQ(group->GetItem(0)->GetCaption(), CString(_T("Disk.vhd")));
  EXPECT_EQ(group->GetSelectedItem(), group->GetItem(1));
  EXPECT_NE(::GetWindowLongW(later->m_hWnd, GWL_STYLE) & WS_CAPTION, 0);
  for (UINT id = kPrev; id <= kNewVert; ++id) EXPECT_FALSE(frame->tabs.IsWorkspaceCommandEnabled(id)) << id;
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, kNewVert, 0);
  EXPECT_EQ(frame->tabs.GetGroupCount(), 1);
  frame->MDIActivate(early);
  EXPECT_EQ(group->GetSelectedItem(), group->GetItem(0));
  frame->DestroyWindow();
  harness::PumpMessages();
}

// Without groups a tab is dragged by the strip's own loop. A document closed during the drag ends it, and
// a selection that went meanwhile is not given back: the strip holds only live tabs after either (it used
// the freed tab and the freed selection).
TEST(MdiTabClientWithoutGroups, DocumentsClosedWhileATabIsDraggedLeaveOnlyLiveTabs) {
  auto* frame = new TabsFrame;
  ASSERT_TRUE(frame->Create(nullptr, _T("Documents"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{40, 40, 640, 440}));
  ASSERT_TRUE(frame->tabs.Attach(frame, FALSE));
  std::vector<HWND> documents;
  for (LPCTSTR title : {_T("One.txt"), _T("Two.txt"), _T("Three.txt"), _T("Four.txt")}) {
    auto* child = new CMDIChildWnd;
    ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    child->ActivateFrame();
    documents.push_back(child->m_hWnd);
  }
  harness::PumpMessages();
  CTKPTabClientGroup* group = frame->tabs.GetGroup(0);
  ASSERT_EQ(group->GetItemCount(), 4);
  const HWND client = frame->m_hWndMDIClient;
  // Closes `closing` once the drag holds the mouse, moves and releases; the drag starts on tab `index`.
  const auto dragWhileClosing = [&](int index, HWND closing) {
    const CPoint start = group->GetItem(index)->GetRect().CenterPoint();
    const CPoint away(start.x + 30, start.y);
    harness::ModalScript script;
    script.Step(
        "close and release", [] { return ::GetCapture() != nullptr; },
        [&] {
          ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(closing), 0);
          ::PostMessageW(client, WM_MOUSEMOVE, MK_LBUTTON, At(away));
          ::PostMessageW(client, WM_LBUTTONUP, 0, At(away));
        });
    script.Start();
    ::SendMessageW(client, WM_LBUTTONDOWN, MK_LBUTTON, At(start));
    EXPECT_TRUE(script.Finished()) << script.Failure();
    harness::PumpMessages();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(frame->tabs.FindItem(closing), nullptr);
    const auto live = [&](CTKPTabManagerItem* item) {
      for (int i = 0; i < group->GetItemCount(); ++i) {
        if (group->GetItem(i) == item) return true;
      }
      return false;
    };
    EXPECT_TRUE(live(group->GetSelectedItem()));
  };
  dragWhileClosing(1, documents[1]);  // the dragged tab's own document
  ASSERT_EQ(group->GetItemCount(), 3);
  CTKPTabManagerItem* selected = group->GetSelectedItem();
  ASSERT_NE(selected, nullptr);
  // The selected one, while another tab is dragged.
  dragWhileClosing(selected->GetIndex() == 0 ? 1 : 0, reinterpret_cast<HWND>(selected->GetData()));
  EXPECT_EQ(group->GetItemCount(), 2);
  frame->DestroyWindow();
  harness::PumpMessages();
}

// Whether the tab of hWnd stands wholly inside its strip's header, between the scroll arrows.
::testing::AssertionResult TabInView(CTKPTabClientWnd& tabs, HWND hWnd) {
  int group = -1;
  CTKPTabManagerItem* item = tabs.FindItem(hWnd, &group);
  if (item == nullptr) return ::testing::AssertionFailure() << "no tab";
  const CRect tab = item->GetRect(), header = tabs.GetGroup(group)->GetHeaderRect();
  if (!tab.IsRectEmpty() && tab.left >= header.left && tab.right <= header.right) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "tab " << tab.left << ".." << tab.right << " outside the header "
                                       << header.left << ".." << header.right << " (scrolled by "
                                       << tabs.GetGroup(group)->GetScrollOffset() << ")";
}

TEST_F(MdiTabClient, TheActiveDocumentsTabIsKeptInViewOfAStripTooShortForAllTabs) {
  CTKPTabClientGroup* group = tabs().GetGroup(0);
  HWND seventh = AddDocument({_T("Carved.jpg"), L"JPEG, 2.1 MB", IDI_TREE_FOLDER});
  EXPECT_TRUE(TabInView(tabs(), seventh));  // a new document
  HWND eighth = AddDocument({_T("Notes.txt"), L"Plain text", IDI_TREE_FOLDER});
  harness::PumpMessages();
  ASSERT_EQ(group->GetItemCount(), 8);
  ASSERT_LT(group->GetHeaderRect().Width(), group->GetItemsLength());  // the strip scrolls
  EXPECT_TRUE(TabInView(tabs(), eighth));
  HWND first = WindowOf(0, 0);
  frame->MDIActivate(CWnd::FromHandle(first));
  EXPECT_TRUE(TabInView(tabs(), first));
  frame->MDIActivate(CWnd::FromHandle(eighth));
  EXPECT_TRUE(TabInView(tabs(), eighth));
  // Ctrl+Tab: the MDI client switches on its own.
  ::SendMessageW(Client(), WM_MDINEXT, 0, FALSE);
  harness::PumpMessages();
  ASSERT_NE(Active(), eighth);
  EXPECT_TRUE(TabInView(tabs(), Active()));
  // The frame made narrower: the strip is laid out anew around the active tab.
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 4)));
  frame->SetWindowPos(nullptr, 0, 0, 560, 500, SWP_NOMOVE | SWP_NOZORDER);
  harness::PumpMessages();
  EXPECT_TRUE(TabInView(tabs(), WindowOf(0, 4)));

  // The user's own scrolling with the arrows stays where it was put, through idle updates.
  frame->MDIActivate(CWnd::FromHandle(first));
  const int shown = group->GetScrollOffset();
  CTKPTabManagerNavigateButton* forward = group->FindNavigateButton(1);
  ASSERT_FALSE(forward->GetRect().IsRectEmpty());
  uint32_t ticks = 0;
  group->SetClock([&ticks] { return ticks += 25; });  // a step due at every turn of the press loop
  harness::ModalScript script;
  script.Step(
      "release", [] { return ::GetCapture() != nullptr; },
      [&] { ::PostMessageW(Client(), WM_LBUTTONUP, 0, At(forward->GetRect().CenterPoint())); });
  script.Start();
  ::SendMessageW(Client(), WM_LBUTTONDOWN, MK_LBUTTON, At(forward->GetRect().CenterPoint()));
  EXPECT_TRUE(script.Finished()) << script.Failure();
  const int scrolled = group->GetScrollOffset();
  EXPECT_LT(scrolled, shown);
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  harness::PumpMessages();
  EXPECT_EQ(group->GetScrollOffset(), scrolled);
  EXPECT_EQ(Active(), first);
  // Another document made active brings its tab back into view.
  frame->MDIActivate(CWnd::FromHandle(eighth));
  EXPECT_TRUE(TabInView(tabs(), eighth));
}

// How many pixels of the client's area on the screen inside rc (client coordinates) have that colour.
int PixelsOf(HWND client, CRect rc, COLORREF colour) {
  ::MapWindowPoints(client, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  const std::vector<uint8_t> pixels = harness::ScreenPixels(rc.left, rc.top, rc.Width(), rc.Height());
  int count = 0;
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    count += RGB(pixels[i], pixels[i + 1], pixels[i + 2]) == colour ? 1 : 0;
  }
  return count;
}

// The splitter between groups side by side is the client frame's right edge: its face with a line of the
// frame's border colour on its right; the client's border is the frame's too, one pixel at the top.
TEST_F(MdiTabClient, TheSplitterAndTheBorderAreDrawnAsTheClientFrame) {
  Command(kNewVert);
  ASSERT_EQ(tabs().GetGroupCount(), 2);
  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  harness::PumpFor(100);
  const CTKPTabColorSet* colors = tabs().GetPaintManager()->GetColorSet();
  const CRect splitter = tabs().GetGroup(0)->m_rcSplitter;
  ASSERT_GE(splitter.Width(), 3);
  const int y = splitter.top + splitter.Height() / 2;
  EXPECT_EQ(PixelsOf(Client(), CRect(splitter.right - 1, y, splitter.right, y + 20), colors->m_clrFrameBorder), 20);
  EXPECT_EQ(PixelsOf(Client(), CRect(splitter.left, y, splitter.right - 1, y + 20), colors->m_clrFrameFace),
            20 * (splitter.Width() - 1));
  CRect window, client;
  ::GetWindowRect(Client(), window);
  ::GetClientRect(Client(), client);
  ::MapWindowPoints(Client(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(client.left - window.left, 2);
  EXPECT_EQ(client.top - window.top, 1);
  const std::vector<uint8_t> corner = harness::ScreenPixels(window.left, window.top + 5, 1, 1);
  ASSERT_EQ(corner.size(), 4u);
  EXPECT_EQ(RGB(corner[0], corner[1], corner[2]), colors->m_clrFrameBorder);
}

TEST_F(MdiTabClient, ATabShowsTheIconItsDocumentsFrameGivesElseTheWindowsOwn) {
  const COLORREF green = RGB(0, 200, 0), magenta = RGB(230, 0, 230);
  HICON answered = SolidIcon(green), own = SolidIcon(magenta);
  HWND asked = AddDocument({_T("Carved.jpg"), L"JPEG, 2.1 MB", 0}, answered);
  HWND plain = AddDocument({_T("Notes.txt"), L"Plain text", 0});
  ::SendMessageW(plain, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own));
  // Each tab as drawn while its document is the active one (and its tab so in view).
  const auto shownTab = [&](HWND hWnd) {
    frame->MDIActivate(CWnd::FromHandle(hWnd));
    ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    harness::PumpFor(100);
    EXPECT_TRUE(TabInView(tabs(), hWnd));
    return tabs().FindItem(hWnd)->GetRect();
  };
  const CRect askedTab = shownTab(asked);
  EXPECT_GT(static_cast<IconChild*>(CWnd::FromHandle(asked))->asked, 0);
  EXPECT_GE(PixelsOf(Client(), askedTab, green), 100);  // most of a 16 x 16 icon
  EXPECT_EQ(PixelsOf(Client(), askedTab, magenta), 0);
  const CRect plainTab = shownTab(plain);
  EXPECT_GE(PixelsOf(Client(), plainTab, magenta), 100);
  EXPECT_EQ(PixelsOf(Client(), plainTab, green), 0);
  frame->DestroyWindow();
  frame = nullptr;
  ::DestroyIcon(answered);
  ::DestroyIcon(own);
}

// A maximized document lies in its group's client rectangle below the tabs, whichever way it was maximized
// and after the frame is resized; the strip and its tabs stay.
TEST_F(MdiTabClient, AMaximizedDocumentStaysBelowItsGroupsTabs) {
  Command(kNewVert);  // two groups: the active document alone on the right
  harness::PumpMessages();
  ASSERT_EQ(tabs().GetGroupCount(), 2);
  const HWND active = Active();
  CTKPTabClientGroup* group = tabs().GetGroup(1);
  ASSERT_EQ(WindowOf(1, 0), active);
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"by the frame", [&] { frame->MDIMaximize(CWnd::FromHandle(active)); }},
      {"by its system command", [&] { ::SendMessageW(active, WM_SYSCOMMAND, SC_MAXIMIZE, 0); }},
      {"shown maximized", [&] { ::ShowWindow(active, SW_SHOWMAXIMIZED); }},
  };
  int size = 0;
  for (const auto& way : ways) {
    ::SendMessageW(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
    harness::PumpMessages();
    way.second();
    harness::PumpMessages();
    EXPECT_EQ(PlaceOf(active), group->GetClientRect()) << way.first;
    EXPECT_FALSE(group->GetHeaderRect().IsRectEmpty()) << way.first;
    EXPECT_EQ(PlaceOf(WindowOf(0, 0)), tabs().GetGroup(0)->GetClientRect()) << way.first;
    frame->SetWindowPos(nullptr, 0, 0, 820 + 40 * size++, 520, SWP_NOMOVE | SWP_NOZORDER);
    harness::PumpMessages();
    EXPECT_EQ(PlaceOf(active), group->GetClientRect()) << way.first << ", resized";
  }
  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(200);
  harness::CaptureWindow(frame->m_hWnd, "mdi_tabs_maximized");
  // The strip stays drawn above it: its tab's text is inked over the strip's face.
  CRect header = group->GetHeaderRect();
  HDC dc = ::GetDC(Client());
  std::map<COLORREF, int> colours;
  for (int y = header.top; y < header.bottom; ++y) {
    for (int x = header.left; x < header.right; ++x) ++colours[::GetPixel(dc, x, y)];
  }
  ::ReleaseDC(Client(), dc);
  EXPECT_GE(colours.size(), 3u);
}

TEST_F(MdiTabClient, Screenshot) {
  // Four documents on the left, two on the right, the frame resized once, wide enough for every tab.
  Command(kNewVert);
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 1)));
  Command(kNext);
  frame->MDIActivate(CWnd::FromHandle(WindowOf(0, 2)));
  frame->SetWindowPos(nullptr, 0, 0, 1000, 480, SWP_NOMOVE | SWP_NOZORDER);
  harness::PumpMessages();
  EXPECT_EQ(tabs().GetGroup(0)->GetItemCount(), 4);
  EXPECT_EQ(tabs().GetGroup(1)->GetItemCount(), 2);
  CRect whole;
  ::GetClientRect(Client(), whole);
  EXPECT_EQ(tabs().GetGroup(1)->m_rcGroup.right, whole.right);
  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  harness::PumpFor(200);
  harness::CaptureWindow(frame->m_hWnd, "mdi_tabs");
}

}  // namespace
