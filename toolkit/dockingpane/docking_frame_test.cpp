// The docking panes in a frame of the test's own: panes on each side of the client area, two tabs in
// the bottom group, splitters dragged (live and with the tracker), the layout saved and loaded back
// equal through an archive, damaged layouts (cut short, with a container inside itself, with a wrong
// type, from the registry with an absurd count, naming a type the factory refuses) refused with the
// arrangement left as it was, closing and showing a pane, activation and the site's notifications; a layout
// copied with panes of its own; a floating group docked by its frame floating back into that frame; hidden
// groups and empty floating frames of a loaded or copied layout with windows of their own. The screenshot
// docking_panes.png.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "platform/classlib/classlib_testing.h"
#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "toolkit/common/tkp_prop_exchange_registry.h"
#include "toolkit/dockingpane/dock_layout_records.h"
#include "toolkit/dockingpane/docking_test_frame.h"
#include "toolkit/dockingpane/tkp_docking_pane_auto_hide.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_mini_wnd.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("DockingFrameTest")) {}
};
TestApp theApp;

using namespace docktest;

std::vector<BYTE> Saved(CTKPDockingPaneLayout* layout) {
  return Stored([layout](CArchive& ar) { layout->Serialize(ar); });
}

BOOL LoadFrom(CTKPDockingPaneLayout* layout, const std::vector<BYTE>& bytes) {
  BOOL loaded = FALSE;
  Loaded(bytes, [&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    loaded = layout->DoPropExchange(&px);
  });
  return loaded;
}

dock::LayoutRecords Records(const std::vector<BYTE>& bytes) {
  dock::LayoutRecords records;
  Loaded(bytes, [&](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    std::string reason;
    EXPECT_TRUE(dock::ReadLayout(&px, &records, &reason)) << reason;
  });
  return records;
}

std::vector<BYTE> Bytes(const dock::LayoutRecords& records) {
  return Stored([&records](CArchive& ar) {
    CTKPPropExchangeArchive px(ar);
    dock::WriteLayout(&px, records);
  });
}

TEST_F(DockingFrameTest, PanesLieOnEachSideOfTheClientArea) {
  const CRect client = ClientArea();
  const int s = frame->manager.GetPaintManager()->m_nSplitterSize;
  EXPECT_EQ(Place(kSearch), CRect(0, 0, client.right, 90));
  EXPECT_EQ(Place(kOutput), CRect(0, client.bottom - 130, client.right, client.bottom));
  EXPECT_EQ(Place(kLog), Place(kOutput));
  const int middleTop = 90 + s, middleBottom = client.bottom - 130 - s;
  EXPECT_EQ(Place(kFolders), CRect(0, middleTop, 200, middleBottom));
  EXPECT_EQ(Place(kProperties), CRect(client.right - 180, middleTop, client.right, middleBottom));
  CRect view;
  ::GetWindowRect(frame->view, view);
  frame->ScreenToClient(view);
  EXPECT_EQ(view, CRect(200 + s, middleTop, client.right - 180 - s, middleBottom));
  CTKPDockingPaneManager& m = frame->manager;
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kFolders)), 0);
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kProperties)), 1);
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kSearch)), 2);
  EXPECT_EQ(m.GetPaneDirection(m.FindPane(kLog)), 3);
  // The selected tab's window shows, the other waits hidden in the same container.
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kOutput)->GetChild()));
  EXPECT_FALSE(::IsWindowVisible(m.FindPane(kLog)->GetChild()));
  EXPECT_EQ(m.FindPane(kOutput)->GetTitle(), CString(_T("Output")));
  EXPECT_EQ(m.FindPane(kLog)->GetTabCaption(), CString(_T("Log")));
  EXPECT_EQ(m.FindPane(kLog)->GetItemColor(), 0x1000005u);
}

TEST_F(DockingFrameTest, DockingPreviewByTheSizingRule) {
  CTKPDockingPaneManager& m = frame->manager;
  const int s = m.GetPaintManager()->m_nSplitterSize;
  CTKPDockingPane* properties = m.FindPane(kProperties);
  CTKPDockingPane* folders = m.FindPane(kFolders);
  auto onScreen = [this](CRect r) {
    frame->ClientToScreen(r);
    return r;
  };
  // Beside Folders in its row: Properties keeps its 180 pixels, before Folders.
  const CRect row = Place(kFolders);
  EXPECT_EQ(m.CalcDockingRect(properties, tkpPaneDockLeft, folders), onScreen(CRect(0, row.top, 180, row.bottom)));
  EXPECT_EQ(m.CalcDockingRect(properties, tkpPaneDockRight, folders),
            onScreen(CRect(200 + s, row.top, 200 + s + 180, row.bottom)));
  // Below Folders: the column is shared by the two preferred heights (100 each).
  const CRect below = m.CalcDockingRect(properties, tkpPaneDockBottom, folders);
  const int share = (row.Height() - s) * 100 / 200;
  EXPECT_EQ(below, onScreen(CRect(0, row.top + share + s, 200, row.bottom)));
  // At the top of everything: above Search, across the whole width.
  const CRect top = m.CalcDockingRect(properties, tkpPaneDockTop);
  EXPECT_EQ(top.Width(), ClientArea().Width());
  EXPECT_EQ(top.Height(), 100);
  EXPECT_EQ(m.CalcDockingRect(nullptr, tkpPaneDockTop), CRect());
}

// The bars between side-by-side panes show the program's cursor 9970, those between stacked ones 9971.
TEST_F(DockingFrameTest, SplittersShowTheirResourceCursors) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneSplitterWnd* beside = SplitterAfter(m.FindPane(kFolders)->GetContainer());
  ASSERT_NE(beside, nullptr);
  CTKPDockingPaneBase* output = m.FindPane(kOutput)->GetContainer();
  CTKPDockingPaneSplitterWnd* above = nullptr;
  for (CTKPDockingPaneSplitterWnd* wnd : static_cast<CTKPDockingPaneSplitterContainer*>(output->GetContainer())->GetSplitters()) {
    if (wnd->GetSecond() == output) above = wnd;
  }
  ASSERT_NE(above, nullptr);
  const std::pair<CWnd*, UINT> bars[] = {{beside, 9970u}, {above, 9971u}};
  for (const auto& [bar, id] : bars) {
    CRect r;
    bar->GetWindowRect(r);
    ::SetCursorPos(r.CenterPoint().x, r.CenterPoint().y);
    EXPECT_TRUE(bar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id))) << id;
  }
}

// Closing the selected pane of a group selects the last one left and gives it the focus; closing the
// last pane ends the group's window; a pane added with selection takes the focus.
TEST_F(DockingFrameTest, ClosingTheSelectedPaneFocusesTheLastAndTheLastPaneEndsTheWindow) {
  CTKPDockingPaneManager& m = frame->manager;
  auto* group = static_cast<CTKPDockingPaneTabbedContainer*>(m.FindPane(kOutput)->GetContainer());
  const HWND window = group->GetSafeHwnd();
  ASSERT_TRUE(::IsWindow(window));
  m.ShowPane(m.FindPane(kOutput), TRUE);
  ::SetFocus(frame->m_hWnd);
  m.ClosePane(m.FindPane(kOutput));
  Relayout();
  EXPECT_TRUE(m.FindPane(kLog)->IsSelected());
  EXPECT_TRUE(m.FindPane(kLog)->IsFocus());
  m.ClosePane(m.FindPane(kLog));
  Relayout();
  EXPECT_FALSE(::IsWindow(window));
  // A pane added to a group with selection takes the focus.
  auto* left = static_cast<CTKPDockingPaneTabbedContainer*>(m.FindPane(kFolders)->GetContainer());
  ::SetFocus(frame->m_hWnd);
  left->AddPane(m.FindPane(kOutput), TRUE);
  Relayout();
  EXPECT_EQ(m.FindPane(kOutput)->GetContainer(), left);
  EXPECT_TRUE(m.FindPane(kOutput)->IsSelected());
  EXPECT_TRUE(m.FindPane(kOutput)->IsFocus());
  // Shown again, the pane gets a group window once more.
  m.ShowPane(m.FindPane(kLog), FALSE);
  Relayout();
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kLog)->GetChild()));
}

TEST_F(DockingFrameTest, SplittersDraggedLiveAndWithTheTracker) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneBase* folders = m.FindPane(kFolders)->GetContainer();
  m.UseSplitterTracker(FALSE);
  Drag(SplitterAfter(folders), 60);
  EXPECT_NEAR(Place(kFolders).Width(), 260, 1);
  // The leading edge keeps 22 pixels from the start of the two neighbours.
  Drag(SplitterAfter(folders), -500);
  EXPECT_NEAR(Place(kFolders).Width(), 22, 1);
  // Esc ends a live drag and keeps what the panes already took.
  CTKPDockingPaneSplitterWnd* bar = SplitterAfter(folders);
  bar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + 30, 10));
  bar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
  Relayout();
  EXPECT_NEAR(Place(kFolders).Width(), 52, 1);
  EXPECT_EQ(::GetCapture(), nullptr);
  m.UseSplitterTracker(TRUE);
  Drag(SplitterAfter(folders), 120);
  EXPECT_NEAR(Place(kFolders).Width(), 172, 1);
  // The bar above the bottom group: the group grows by the 40 pixels the bar moves up.
  CTKPDockingPaneBase* output = m.FindPane(kOutput)->GetContainer();
  auto* rows = static_cast<CTKPDockingPaneSplitterContainer*>(output->GetContainer());
  CTKPDockingPaneSplitterWnd* above = nullptr;
  for (CTKPDockingPaneSplitterWnd* wnd : rows->GetSplitters()) {
    if (wnd->GetSecond() == output) above = wnd;
  }
  ASSERT_NE(above, nullptr);
  above->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 - 40));
  above->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 2 - 40));
  above->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  Relayout();
  EXPECT_NEAR(Place(kOutput).Height(), 170, 1);
  // Locked splitters do not move.
  m.LockSplitters(TRUE);
  Drag(SplitterAfter(folders), 100);
  EXPECT_NEAR(Place(kFolders).Width(), 172, 1);
}

TEST_F(DockingFrameTest, LayoutSavedAndLoadedBackEqual) {
  CTKPDockingPaneLayout* layout = frame->manager.GetLayout();
  const std::vector<BYTE> saved = Saved(layout);
  // The empty container the Log pane left for the bottom group was pruned: client, two splitters, four
  // tabbed containers and five panes.
  const dock::LayoutRecords records = Records(saved);
  EXPECT_EQ(records.objects.size(), 12u);
  for (const dock::ObjectRecord& r : records.objects) EXPECT_FALSE(r.type == dock::kTabbedContainer && r.children.empty());
  const std::vector<CRect> before = Places();
  ASSERT_TRUE(LoadFrom(layout, saved)) << layout->GetLoadError();
  Relayout();
  EXPECT_EQ(Saved(layout), saved);
  EXPECT_EQ(Places(), before);
  // The windows went to the loaded panes of the same ids.
  EXPECT_TRUE(::IsWindowVisible(frame->manager.FindPane(kFolders)->GetChild()));
  EXPECT_EQ(::GetParent(frame->manager.FindPane(kFolders)->GetChild()),
            frame->manager.FindPane(kFolders)->GetContainer()->GetPaneHwnd());
  // A layout loaded into a second layout object reads the same.
  CTKPDockingPaneLayout* other = frame->manager.CreateLayout();
  ASSERT_TRUE(LoadFrom(other, saved));
  EXPECT_EQ(Saved(other), saved);
  delete other;
  // The pane with the focus shows an active caption.
  ::SetFocus(frame->manager.FindPane(kFolders)->GetChild());
  frame->manager.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  harness::PumpMessages();
  EXPECT_TRUE(static_cast<CTKPDockingPaneTabbedContainer*>(frame->manager.FindPane(kFolders)->GetContainer())->IsActive());
  harness::CaptureWindow(frame->GetSafeHwnd(), "docking_panes");
}

TEST_F(DockingFrameTest, DamagedLayoutsAreRefusedAndTheArrangementStays) {
  CTKPDockingPaneLayout* layout = frame->manager.GetLayout();
  const std::vector<BYTE> saved = Saved(layout);
  const std::vector<CRect> before = Places();
  const dock::LayoutRecords records = Records(saved);

  std::vector<std::pair<std::string, std::vector<BYTE>>> damaged;
  damaged.emplace_back("cut short", std::vector<BYTE>(saved.begin(), saved.begin() + saved.size() / 2));
  dock::LayoutRecords inside = records;  // the top splitter inside itself
  inside.objects[static_cast<size_t>(inside.topContainer) - 1].children.push_back(inside.topContainer);
  damaged.emplace_back("inside itself", Bytes(inside));
  dock::LayoutRecords wrong = records;  // a tabbed container that holds the top splitter
  for (dock::ObjectRecord& r : wrong.objects) {
    if (r.type == dock::kTabbedContainer) {
      r.children.push_back(wrong.topContainer);
      break;
    }
  }
  damaged.emplace_back("wrong type", Bytes(wrong));
  dock::LayoutRecords twice = records;  // one pane in two tabbed containers
  int tabs = 0;
  for (dock::ObjectRecord& r : twice.objects) {
    if (r.type == dock::kTabbedContainer && ++tabs == 2) r.children.push_back(records.objects[0].type == dock::kPane ? 1 : 2);
  }
  damaged.emplace_back("two parents", Bytes(twice));
  for (auto& [name, bytes] : damaged) {
    EXPECT_FALSE(LoadFrom(layout, bytes)) << name;
    EXPECT_FALSE(layout->GetLoadError().empty()) << name;
    Relayout();
    EXPECT_EQ(Places(), before) << name;
    EXPECT_TRUE(::IsWindowVisible(frame->manager.FindPane(kProperties)->GetChild())) << name;
  }
  EXPECT_EQ(Saved(layout), saved);
}

// A group whose saved selection names none of its panes shows its last pane, the one added last.
TEST_F(DockingFrameTest, AGroupSavedWithoutASelectionShowsItsLastPane) {
  CTKPDockingPaneLayout* layout = frame->manager.GetLayout();
  dock::LayoutRecords records = Records(Saved(layout));
  int groups = 0;
  for (dock::ObjectRecord& r : records.objects) {
    if (r.type != dock::kTabbedContainer || r.children.size() != 2) continue;
    ++groups;
    r.selected = 0;
  }
  ASSERT_EQ(groups, 1);
  ASSERT_TRUE(LoadFrom(layout, Bytes(records))) << layout->GetLoadError();
  Relayout();
  CTKPDockingPane* log = frame->manager.FindPane(kLog);
  EXPECT_TRUE(log->IsSelected());
  EXPECT_TRUE(::IsWindowVisible(log->GetChild()));
  EXPECT_FALSE(::IsWindowVisible(frame->manager.FindPane(kOutput)->GetChild()));
}

TEST_F(DockingFrameTest, RegistryLayoutWithAnAbsurdCountIsRefused) {
  CTKPDockingPaneLayout* layout = frame->manager.GetLayout();
  const std::vector<BYTE> saved = Saved(layout);
  HKEY root = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dorvane Tests\\Docking", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &root, nullptr),
            ERROR_SUCCESS);
  {
    CTKPPropExchangeRegistry px(FALSE, root, _T("Layout"));
    layout->DoPropExchange(&px);
  }
  {
    CTKPPropExchangeRegistry px(TRUE, root, _T("Layout"));
    EXPECT_TRUE(layout->DoPropExchange(&px)) << layout->GetLoadError();
  }
  EXPECT_EQ(Saved(layout), saved);
  HKEY summary = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(root, L"Layout\\Summary", 0, KEY_SET_VALUE, &summary), ERROR_SUCCESS);
  const DWORD absurd = 0x7FFFFFFF;
  ::RegSetValueExW(summary, L"Panes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&absurd), sizeof absurd);
  ::RegCloseKey(summary);
  {
    CTKPPropExchangeRegistry px(TRUE, root, _T("Layout"));
    EXPECT_FALSE(layout->DoPropExchange(&px));
  }
  EXPECT_EQ(layout->GetLoadError(), "the number of objects is absurd");
  EXPECT_EQ(Saved(layout), saved);
  ::RegCloseKey(root);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorvane Tests\\Docking");
}

// An application makes its panes and closes those it does not show at first, before the frame is laid
// out: showing one later docks it, at the left, though it never had a place of its own.
TEST_F(DockingFrameTest, APaneClosedBeforeItWasLaidOutShowsDockedAtTheLeft) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* tasks = m.CreatePane(6, CRect(0, 0, 150, 100), tkpPaneDockBottom);
  Add(tasks, _T("Tasks"), L"LISTBOX");
  m.ClosePane(tasks);
  Relayout();
  ASSERT_TRUE(m.IsPaneClosed(tasks));
  m.ShowPane(tasks, FALSE);
  Relayout();
  ASSERT_FALSE(m.IsPaneClosed(tasks));
  EXPECT_EQ(m.GetPaneDirection(tasks), tkpPaneDockLeft);
  EXPECT_TRUE(::IsWindowVisible(tasks->GetChild()));
  CRect shown;
  ::GetWindowRect(tasks->GetChild(), shown);
  frame->ScreenToClient(shown);
  EXPECT_EQ(Place(6).left, ClientArea().left);
  EXPECT_EQ(Place(6).Width(), 150);
  EXPECT_TRUE(Place(6).PtInRect(shown.CenterPoint()));
}

TEST_F(DockingFrameTest, ClosingAndShowingAPane) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* properties = m.FindPane(kProperties);
  frame->keepOpen = true;
  m.ClosePane(properties);
  EXPECT_FALSE(properties->IsClosed());
  frame->keepOpen = false;
  m.ClosePane(properties);
  EXPECT_TRUE(m.IsPaneClosed(properties));
  EXPECT_FALSE(::IsWindowVisible(properties->GetChild()));
  EXPECT_EQ(::GetParent(properties->GetChild()), m.GetSafeHwnd());
  Relayout();
  CRect view;
  ::GetWindowRect(frame->view, view);
  frame->ScreenToClient(view);
  EXPECT_EQ(view.right, ClientArea().right);  // the client area takes the room
  frame->notes.clear();
  m.ShowPane(properties, FALSE);
  Relayout();
  EXPECT_FALSE(properties->IsClosed());
  EXPECT_TRUE(::IsWindowVisible(properties->GetChild()));
  EXPECT_EQ(Place(kProperties).Width(), 180);
  ASSERT_FALSE(frame->notes.empty());
  EXPECT_EQ(frame->notes.front().first, TKP_DPN_SHOWWINDOW);
  m.ClosePane(nullptr);
  EXPECT_EQ(m.FindPane(4001), nullptr);
}

TEST_F(DockingFrameTest, AGroupAutoHidesAndDocksBackWhereItWas) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* output = m.FindPane(kOutput);
  CTKPDockingPane* log = m.FindPane(kLog);
  m.HidePane(output);  // the whole group goes
  Relayout();
  EXPECT_TRUE(m.IsPaneHidden(output));
  EXPECT_TRUE(m.IsPaneHidden(log));
  EXPECT_EQ(m.GetPaneDirection(log), 3);
  EXPECT_EQ(m.GetLayout()->GetPanel(3), output->GetContainer()->GetContainer());
  EXPECT_FALSE(::IsWindowVisible(output->GetChild()));
  // The middle row takes the room, down to the panel's strip of tabs.
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  ASSERT_NE(panel->GetSafeHwnd(), nullptr);
  CRect strip;
  panel->CWnd::GetWindowRect(strip);
  frame->ScreenToClient(strip);
  EXPECT_EQ(strip.bottom, ClientArea().bottom);
  EXPECT_GT(strip.Height(), 16);
  EXPECT_EQ(Place(kFolders).bottom, strip.top);
  // A layout with an auto-hide panel loads back equal.
  const std::vector<BYTE> saved = Saved(m.GetLayout());
  ASSERT_TRUE(LoadFrom(m.GetLayout(), saved)) << m.GetLayout()->GetLoadError();
  EXPECT_EQ(Saved(m.GetLayout()), saved);
  output = m.FindPane(kOutput);
  EXPECT_TRUE(m.IsPaneHidden(output));
  frame->notes.clear();
  // The hidden group docks back into the container it left, both panes, Output selected.
  m.ToggleDocking(output->GetContainer());
  Relayout();
  EXPECT_FALSE(m.IsPaneHidden(m.FindPane(kOutput)));
  EXPECT_EQ(m.FindPane(kOutput)->GetContainer(), m.FindPane(kLog)->GetContainer());
  EXPECT_EQ(Place(kOutput), CRect(0, ClientArea().bottom - 130, ClientArea().right, ClientArea().bottom));
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kOutput)->GetChild()));
  std::vector<int> actions;
  for (const auto& note : frame->notes) {
    if (note.first == TKP_DPN_ACTION) actions.push_back(note.second);
  }
  EXPECT_EQ(actions, (std::vector<int>{tkpPaneActionDocking, tkpPaneActionDocked, tkpPaneActionDocking,
                                        tkpPaneActionDocked}));
}

TEST_F(DockingFrameTest, APaneDockedWithAHiddenGroupJoinsItsTab) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* output = m.FindPane(kOutput);
  CTKPDockingPane* log = m.FindPane(kLog);
  log->SetOptions(tkpPaneNoHideable);  // stays docked when its group hides
  m.HidePane(output);
  Relayout();
  EXPECT_TRUE(m.IsPaneHidden(output));
  EXPECT_FALSE(m.IsPaneHidden(log));
  EXPECT_TRUE(::IsWindowVisible(log->GetChild()));
  log->SetOptions(0);
  m.HidePane(log);
  Relayout();
  EXPECT_EQ(log->GetContainer(), output->GetContainer());
  EXPECT_EQ(static_cast<CTKPDockingPaneBase*>(m.GetLayout()->GetPanel(3))->GetType(), dock::kAutoHidePanel);
}

CTKPDockingPane* PaneOf(CTKPDockingPaneLayout* layout, UINT id) {
  for (const CTKPDockingPaneLayout::PaneRecord& record : layout->GetPaneList()) {
    if (record.pPane->GetID() == id) return record.pPane;
  }
  return nullptr;
}

CTKPDockingPaneBase* FrameAround(const CTKPDockingPaneBase* object) {
  for (CTKPDockingPaneBase* p = object->GetContainer(); p != nullptr; p = p->GetContainer()) {
    if (p->GetType() == dock::kMiniFrame) return p;
  }
  return nullptr;
}

TEST_F(DockingFrameTest, ALayoutCopyHasPanesOfItsOwnInTheSameStateAndLoadsBackInPlace) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* folders = m.FindPane(kFolders);
  folders->SetOptions(tkpPaneHasMenuButton);
  folders->m_clrItemTab = RGB(200, 30, 30);
  folders->m_nHelpId = 77;
  m.FloatPane(m.FindPane(kProperties), CRect(300, 200, 520, 480));
  m.HidePane(m.FindPane(kOutput));  // the bottom group, both tabs
  m.ClosePane(m.FindPane(kSearch));
  Relayout();
  const CRect folderPlace = Place(kFolders), propertiesPlace = Place(kProperties);
  auto frameOf = [&m](UINT id) { return static_cast<CTKPDockingPaneMiniWnd*>(FrameAround(m.FindPane(id))); };
  CRect floating, reopened;
  frameOf(kProperties)->CWnd::GetWindowRect(floating);

  CTKPDockingPaneLayout* copy = m.CreateLayout();
  ASSERT_TRUE(copy->Copy(m.GetLayout()));
  for (UINT id : {kFolders, kProperties, kSearch, kOutput, kLog}) {
    CTKPDockingPane* live = m.FindPane(id);
    CTKPDockingPane* clone = PaneOf(copy, id);
    ASSERT_NE(clone, nullptr) << id;
    EXPECT_NE(clone, live);
    EXPECT_EQ(clone->GetTitle(), live->GetTitle());
    EXPECT_EQ(clone->GetOptions(), live->GetOptions());
    EXPECT_EQ(clone->m_nDockingCY, live->m_nDockingCY);
    EXPECT_EQ(clone->GetChild(), nullptr);  // the window stays with the live pane
    EXPECT_EQ(clone->IsClosed(), live->IsClosed());
    EXPECT_EQ(clone->IsHidden(), live->IsHidden());
    const CTKPDockingPaneBase* holder = copy->FindPaneRecord(clone)->pLastHolder;
    EXPECT_TRUE(holder == nullptr || holder->GetLayout() == copy) << id;
  }
  EXPECT_EQ(PaneOf(copy, kFolders)->m_clrItemTab, static_cast<COLORREF>(-1));
  EXPECT_EQ(PaneOf(copy, kFolders)->m_nHelpId, 0u);
  EXPECT_EQ(PaneOf(copy, kOutput)->GetContainer(), PaneOf(copy, kLog)->GetContainer());
  EXPECT_EQ(PaneOf(copy, kOutput)->GetContainer()->GetContainer(), copy->GetPanel(3));
  auto* frameCopy = static_cast<CTKPDockingPaneMiniWnd*>(FrameAround(PaneOf(copy, kProperties)));
  ASSERT_NE(frameCopy, nullptr);
  EXPECT_EQ(frameCopy->GetSafeHwnd(), nullptr);
  EXPECT_EQ(frameCopy->GetPaneWindowRect(), floating);
  EXPECT_TRUE(copy->GetTopPane()->ContainsPane(copy->GetClientPane()));
  EXPECT_FALSE(m.GetLayout()->Copy(m.GetLayout()));

  // The copy saved and loaded into the live layout puts every pane back where it was.
  const std::vector<BYTE> saved = Saved(copy);
  ASSERT_TRUE(LoadFrom(m.GetLayout(), saved)) << m.GetLayout()->GetLoadError();
  Relayout();
  EXPECT_EQ(Place(kFolders), folderPlace);
  EXPECT_EQ(Place(kProperties), propertiesPlace);
  EXPECT_TRUE(m.IsPaneHidden(m.FindPane(kLog)));
  EXPECT_TRUE(m.IsPaneClosed(m.FindPane(kSearch)));
  frameOf(kProperties)->CWnd::GetWindowRect(reopened);
  EXPECT_EQ(reopened, floating);
  // Copied straight into the live layout, the panes keep their windows and the frame opens again.
  ASSERT_TRUE(m.GetLayout()->Copy(copy));
  delete copy;
  Relayout();
  EXPECT_EQ(Place(kFolders), folderPlace);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kFolders)->GetChild()));
  ASSERT_NE(frameOf(kProperties)->GetSafeHwnd(), nullptr);
  frameOf(kProperties)->CWnd::GetWindowRect(reopened);
  EXPECT_EQ(reopened, floating);
  EXPECT_TRUE(::IsChild(frameOf(kProperties)->GetSafeHwnd(), m.FindPane(kProperties)->GetChild()));
}

TEST_F(DockingFrameTest, AFloatingGroupDockedByItsFrameFloatsBackIntoThatFrame) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPane* properties = m.FindPane(kProperties);
  m.ToggleDocking(properties);
  Relayout();
  auto* floating = static_cast<CTKPDockingPaneMiniWnd*>(FrameAround(properties));
  ASSERT_NE(floating, nullptr);
  CRect rc;
  floating->CWnd::GetWindowRect(rc);
  // Its system menu ends with the close item, named after what it does to the panes.
  HMENU system = ::GetSystemMenu(floating->GetSafeHwnd(), FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(::GetMenuItemID(system, ::GetMenuItemCount(system) - 1), static_cast<UINT>(SC_CLOSE));
  wchar_t text[32] = {};
  ::GetMenuStringW(system, SC_CLOSE, text, 32, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"&Hide");
  // The frame's content docked at the left, as a drag of its caption does: the panes move into a clone
  // of their group, and the emptied group stays in the frame, which hides.
  CTKPDockingPaneBase* floatingGroup = properties->GetContainer();
  m.DockPane(floating->GetTopPane(), tkpPaneDockLeft, nullptr);
  Relayout();
  EXPECT_EQ(FrameAround(properties), nullptr);
  EXPECT_NE(properties->GetContainer(), floatingGroup);
  EXPECT_TRUE(floatingGroup->IsEmpty());
  EXPECT_TRUE(floating->ContainsPane(floatingGroup));
  EXPECT_FALSE(floating->IsWindowVisible());
  EXPECT_EQ(m.GetPaneDirection(properties), 0);
  // Toggled, it floats again in that frame, at its place.
  m.ToggleDocking(properties);
  Relayout();
  EXPECT_EQ(properties->GetContainer(), floatingGroup);
  EXPECT_TRUE(floating->IsWindowVisible());
  CRect again;
  floating->CWnd::GetWindowRect(again);
  EXPECT_EQ(again, rc);
  // Its close item hides the pane.
  floating->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  Relayout();
  EXPECT_TRUE(properties->IsClosed());
  EXPECT_FALSE(floating->IsWindowVisible());
}

CTKPDockingPaneMiniWnd* OnlyFrame(CTKPDockingPaneLayout* layout) {
  for (CTKPDockingPaneBase* object : layout->GetObjects()) {
    if (object->GetType() == dock::kMiniFrame) return static_cast<CTKPDockingPaneMiniWnd*>(object);
  }
  return nullptr;
}

TEST_F(DockingFrameTest, HiddenGroupsAndEmptyFloatingFramesOfALoadedOrCopiedLayoutHaveWindows) {
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kOutput));
  m.ToggleDocking(m.FindPane(kProperties));
  Relayout();
  auto* floating = static_cast<CTKPDockingPaneMiniWnd*>(FrameAround(m.FindPane(kProperties)));
  ASSERT_NE(floating, nullptr);
  CRect floated;
  floating->CWnd::GetWindowRect(floated);
  // Docked by its frame: the frame stays, empty and hidden, as the place the pane floats back to.
  m.DockPane(floating->GetTopPane(), tkpPaneDockLeft, nullptr);
  Relayout();
  ASSERT_FALSE(floating->IsWindowVisible());
  auto checkLayout = [&](const char* how) {
    Relayout();
    CTKPDockingPane* output = m.FindPane(kOutput);
    ASSERT_TRUE(m.IsPaneHidden(output)) << how;
    HWND group = output->GetContainer()->GetPaneHwnd();
    ASSERT_NE(group, nullptr) << how;
    EXPECT_TRUE(::IsChild(group, output->GetChild())) << how;
    EXPECT_FALSE(::IsWindowVisible(group)) << how;
    CTKPDockingPaneMiniWnd* empty = OnlyFrame(m.GetLayout());
    ASSERT_NE(empty, nullptr) << how;
    ASSERT_NE(empty->GetSafeHwnd(), nullptr) << how;
    EXPECT_FALSE(empty->IsWindowVisible()) << how;
  };
  // Copied out and back into the live layout.
  CTKPDockingPaneLayout* copy = m.CreateLayout();
  ASSERT_TRUE(copy->Copy(m.GetLayout()));
  ASSERT_TRUE(m.GetLayout()->Copy(copy));
  delete copy;
  checkLayout("copied");
  // Saved and loaded back.
  ASSERT_TRUE(LoadFrom(m.GetLayout(), Saved(m.GetLayout()))) << m.GetLayout()->GetLoadError();
  checkLayout("loaded");
  // The hidden group slides out with its pane; the pane floats back into its frame and shows there.
  CTKPDockingPane* output = m.FindPane(kOutput);
  static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3))->ShowSlidingWindow(output, FALSE);
  harness::PumpMessages();
  EXPECT_TRUE(::IsWindowVisible(output->GetChild()));
  CTKPDockingPane* properties = m.FindPane(kProperties);
  m.ToggleDocking(properties);
  Relayout();
  CTKPDockingPaneMiniWnd* back = OnlyFrame(m.GetLayout());
  ASSERT_EQ(FrameAround(properties), back);
  EXPECT_TRUE(back->IsWindowVisible());
  EXPECT_TRUE(::IsChild(back->GetSafeHwnd(), properties->GetChild()));
  EXPECT_TRUE(::IsWindowVisible(properties->GetChild()));
  CRect rc;
  back->CWnd::GetWindowRect(rc);
  EXPECT_EQ(rc, floated);
}

TEST_F(DockingFrameTest, ALayoutNamingATypeTheFactoryRefusesLeavesTheArrangement) {
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kOutput));
  Relayout();
  const std::vector<BYTE> saved = Saved(m.GetLayout());
  const std::vector<CRect> before = Places();
  const size_t objects = m.GetLayout()->GetObjects().size();
  frame->manager.refuseTypes = {dock::kAutoHidePanel};
  EXPECT_FALSE(LoadFrom(m.GetLayout(), saved));
  EXPECT_FALSE(m.GetLayout()->GetLoadError().empty());
  frame->manager.refuseTypes.clear();
  Relayout();
  EXPECT_EQ(m.GetLayout()->GetObjects().size(), objects);
  EXPECT_EQ(Places(), before);
  EXPECT_TRUE(::IsWindowVisible(m.FindPane(kFolders)->GetChild()));
  EXPECT_TRUE(m.IsPaneHidden(m.FindPane(kOutput)));
  EXPECT_EQ(Saved(m.GetLayout()), saved);
}

// A factory that will not make a type an action needs refuses that action as a whole: the arrangement is
// either what the action makes with a willing factory, or what it was.
TEST_F(DockingFrameTest, AnActionTheFactoryCannotServeChangesNothing) {
  CTKPDockingPaneManager& m = frame->manager;
  CTKPDockingPaneLayout* layout = m.GetLayout();
  const std::vector<BYTE> start = Saved(layout);
  struct Action {
    const char* name;
    std::function<void()> run;
  };
  const std::vector<Action> actions = {
      {"pin", [&m] { m.HidePane(m.FindPane(kFolders)); }},
      {"pin group", [&m] { m.HidePane(m.FindPane(kOutput)->GetContainer()); }},
      {"dock", [&m] { m.DockPane(m.FindPane(kProperties), tkpPaneDockTop, m.FindPane(kFolders)); }},
      {"dock group", [&m] { m.DockPane(m.FindPane(kOutput)->GetContainer(), tkpPaneDockLeft, nullptr); }},
      {"float", [&m] { m.FloatPane(m.FindPane(kSearch), CRect(300, 200, 520, 400)); }},
      {"float group", [&m] { m.FloatPane(m.FindPane(kOutput)->GetContainer(), CRect(300, 200, 620, 400)); }},
      {"create", [&m] { m.CreatePane(9, CRect(0, 0, 150, 100), tkpPaneDockRight, m.FindPane(kFolders)); }},
      {"toggle", [&m] { m.ToggleDocking(m.FindPane(kFolders)); }},
  };
  for (const Action& action : actions) {
    ASSERT_TRUE(LoadFrom(layout, start));
    Relayout();
    action.run();
    Relayout();
    const std::vector<BYTE> done = Saved(layout);
    EXPECT_NE(done, start) << action.name;
    for (int type : {dock::kPane, dock::kTabbedContainer, dock::kSplitterContainer, dock::kMiniFrame,
                     dock::kAutoHidePanel}) {
      ASSERT_TRUE(LoadFrom(layout, start));
      Relayout();
      frame->manager.refuseTypes = {type};
      action.run();
      frame->manager.refuseTypes.clear();
      Relayout();
      const std::vector<BYTE> now = Saved(layout);
      EXPECT_TRUE(now == start || now == done) << action.name << ", type " << type << " refused";
      for (UINT id : {kFolders, kProperties, kSearch, kOutput, kLog}) {
        EXPECT_NE(m.FindPane(id), nullptr) << action.name << ", type " << type;
      }
    }
  }
  ASSERT_TRUE(LoadFrom(layout, start));
}

// The client area never moves, and nothing goes beside what it holds: the top with several groups docked
// anywhere, a splitter docked beside its own pane, the top or the client area floated. Each is refused
// and the arrangement can still be saved.
TEST_F(DockingFrameTest, NothingDocksIntoItselfAndTheClientAreaStays) {
  CTKPDockingPaneManager& m = frame->manager;
  m.DockPane(m.FindPane(kLog), tkpPaneDockRight, m.FindPane(kOutput));  // a splitter of two groups at the bottom
  Relayout();
  CTKPDockingPaneBase* bottom = m.FindPane(kLog)->GetContainer()->GetContainer();
  ASSERT_EQ(bottom->GetType(), dock::kSplitterContainer);
  ASSERT_FALSE(bottom->ContainsPane(m.GetClientPane()));
  const std::vector<BYTE> start = Saved(m.GetLayout());
  m.DockPane(m.GetTopPane(), tkpPaneDockLeft, nullptr);
  m.DockPane(m.GetTopPane(), tkpPaneDockTop, m.FindPane(kFolders));
  m.DockPane(bottom, tkpPaneDockTop, m.FindPane(kLog));
  m.FloatPane(m.GetTopPane(), CRect(300, 200, 620, 400));
  m.FloatPane(m.GetClientPane(), CRect(300, 200, 620, 400));
  m.HidePane(m.GetClientPane());
  Relayout();
  EXPECT_EQ(Saved(m.GetLayout()), start);
}

// A copy into the live layout is made whole before the arrangement goes, as a load is.
TEST_F(DockingFrameTest, ACopyTheFactoryCannotServeLeavesTheArrangement) {
  CTKPDockingPaneManager& m = frame->manager;
  m.HidePane(m.FindPane(kOutput));
  m.FloatPane(m.FindPane(kProperties), CRect(300, 200, 520, 480));
  Relayout();
  CTKPDockingPaneLayout* copy = m.CreateLayout();
  ASSERT_TRUE(copy->Copy(m.GetLayout()));
  const std::vector<BYTE> live = Saved(m.GetLayout()), copied = Saved(copy);
  const std::vector<CRect> before = Places();
  const size_t objects = m.GetLayout()->GetObjects().size();
  for (int type : {dock::kPane, dock::kTabbedContainer, dock::kSplitterContainer, dock::kMiniFrame,
                   dock::kClientContainer, dock::kAutoHidePanel}) {
    frame->manager.refuseTypes = {type};
    EXPECT_FALSE(m.GetLayout()->Copy(copy)) << type;
    EXPECT_FALSE(copy->Copy(m.GetLayout())) << type;
    frame->manager.refuseTypes.clear();
    Relayout();
    EXPECT_EQ(m.GetLayout()->GetObjects().size(), objects) << type;
    EXPECT_EQ(Places(), before) << type;
    EXPECT_TRUE(::IsWindowVisible(m.FindPane(kFolders)->GetChild())) << type;
    EXPECT_TRUE(::IsWindowVisible(m.FindPane(kProperties)->GetChild())) << type;
    EXPECT_EQ(Saved(m.GetLayout()), live) << type;
    EXPECT_EQ(Saved(copy), copied) << type;
  }
  delete copy;
}

// A maximized group whose last pane leaves gives its row back: the other groups are not left collapsed.
TEST_F(DockingFrameTest, AMaximizedGroupThatEmptiesGivesItsRowBack) {
  CTKPDockingPaneManager& m = frame->manager;
  m.ShowMaximizeButton(TRUE);
  for (const char* way : {"closed", "floated"}) {
    if (m.FindPane(kLog)->GetContainer() == m.FindPane(kOutput)->GetContainer()) {
      m.DockPane(m.FindPane(kLog), tkpPaneDockRight, m.FindPane(kOutput));
    }
    m.ShowPane(m.FindPane(kOutput), FALSE);
    Relayout();
    auto* output = static_cast<CTKPDockingPaneTabbedContainer*>(m.FindPane(kOutput)->GetContainer());
    ASSERT_EQ(output->GetContainer(), m.FindPane(kLog)->GetContainer()->GetContainer()) << way;
    const int row = Place(kOutput).Width() + Place(kLog).Width();
    output->Maximize();
    Relayout();
    ASSERT_TRUE(output->IsMaximized()) << way;
    EXPECT_LT(Place(kLog).Width(), 60) << way;  // collapsed to its frame
    if (std::string(way) == "closed") {
      m.ClosePane(m.FindPane(kOutput));
    } else {
      m.FloatPane(m.FindPane(kOutput), CRect(300, 200, 520, 400));
    }
    Relayout();
    EXPECT_TRUE(output->IsEmpty()) << way;
    EXPECT_FALSE(output->IsMaximized()) << way;
    EXPECT_GE(Place(kLog).Width(), row) << way;
    if (std::string(way) == "closed") harness::CaptureWindow(frame->GetSafeHwnd(), "docking_maximized_group_emptied");
  }
}

TEST_F(DockingFrameTest, AGroupWhosePanesMayNotAutoHideStaysDockedAndLeavesNoEmptyTab) {
  CTKPDockingPaneManager& m = frame->manager;
  m.FindPane(kOutput)->SetOptions(tkpPaneNoHideable);
  m.FindPane(kLog)->SetOptions(tkpPaneNoHideable);
  m.HidePane(m.FindPane(kOutput));
  Relayout();
  EXPECT_FALSE(m.IsPaneHidden(m.FindPane(kOutput)));
  EXPECT_EQ(m.FindPane(kOutput)->GetContainer(), m.FindPane(kLog)->GetContainer());
  auto* panel = static_cast<CTKPDockingPaneAutoHidePanel*>(m.GetLayout()->GetPanel(3));
  EXPECT_TRUE(panel == nullptr || panel->GetContainers().empty());
}

TEST_F(DockingFrameTest, HiddenClientAreaLeavesTheRowToThePanes) {
  CTKPDockingPaneManager& m = frame->manager;
  const int s = m.GetPaintManager()->m_nSplitterSize;
  m.HideClient(TRUE);
  Relayout();
  CRect view;
  ::GetWindowRect(frame->view, view);
  EXPECT_TRUE(view.IsRectEmpty());
  // Folders and Properties share the row in proportion to their 200 and 180 pixels.
  const int row = ClientArea().Width() - s;
  EXPECT_EQ(Place(kFolders), CRect(0, Place(kFolders).top, row * 200 / 380, Place(kFolders).bottom));
  EXPECT_EQ(Place(kProperties).left, Place(kFolders).right + s);
  EXPECT_EQ(Place(kProperties).right, ClientArea().right);
  m.HideClient(FALSE);
  Relayout();
  EXPECT_EQ(Place(kFolders).Width(), 200);
}

TEST_F(DockingFrameTest, ActivationTellsTheSite) {
  CTKPDockingPaneManager& m = frame->manager;
  frame->notes.clear();
  m.OnActivatePane(TRUE, m.FindPane(kFolders));
  // Nothing was active: only the activation is told.
  ASSERT_EQ(frame->notes.size(), 1u);
  EXPECT_EQ(frame->notes[0].second, tkpPaneActionActivated);
  m.OnActivatePane(TRUE, m.FindPane(kSearch));
  ASSERT_EQ(frame->notes.size(), 3u);
  EXPECT_EQ(frame->notes[1].second, tkpPaneActionDeactivated);
  EXPECT_EQ(frame->notes[2].second, tkpPaneActionActivated);
  EXPECT_EQ(m.GetActivePane(), m.FindPane(kSearch));
  m.OnActivatePane(FALSE, m.FindPane(kSearch));
  EXPECT_EQ(m.GetActivePane(), nullptr);
  // Focus in a pane's window activates its container at the next idle update.
  frame->notes.clear();
  ::SetFocus(m.FindPane(kProperties)->GetChild());
  m.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_EQ(m.GetActivePane(), m.FindPane(kProperties));
}

TEST_F(DockingFrameTest, ThemeIdsWithoutAThemeOfTheirOwnDrawWithTheDefault) {
  CTKPDockingPaneManager& m = frame->manager;
  for (int id : {0, 4, 10, -3}) {
    m.SetTheme(id);
    EXPECT_NE(dynamic_cast<CTKPDockingPaneDefaultTheme*>(m.GetPaintManager()), nullptr) << id;
    EXPECT_EQ(m.GetPaintManager()->GetThemeID(), id);
  }
  EXPECT_EQ(m.GetDockingGuideStyle(), 0);
  m.SetTheme(9);
  m.SetTheme(2);
  EXPECT_EQ(m.GetDockingGuideStyle(), 1);
  EXPECT_EQ(m.CreatePaneObject(6, m.GetLayout()), nullptr);
  EXPECT_EQ(m.CreatePane(0, CRect(0, 0, 10, 10), tkpPaneDockLeft), nullptr);
}

// OLE that the thread set up in another mode is left as it was when the manager goes.
DWORD WINAPI ManagerOnMultithreadedApartment(LPVOID seen) {
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  { CTKPDockingPaneManager manager; }
  // Still initialised: a second call answers S_FALSE.
  *static_cast<HRESULT*>(seen) = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ::CoUninitialize();
  ::CoUninitialize();
  return 0;
}

TEST(DockingPaneManagerOle, UninitialisesOnlyWhatItInitialised) {
  HRESULT seen = E_FAIL;
  HANDLE thread = ::CreateThread(nullptr, 0, ManagerOnMultithreadedApartment, &seen, 0, nullptr);
  ::WaitForSingleObject(thread, INFINITE);
  ::CloseHandle(thread);
  EXPECT_EQ(seen, S_FALSE);
}

}  // namespace
