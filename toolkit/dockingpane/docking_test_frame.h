// The docking test frame shared by the docking tests under Wine: a frame of the tests' own with its
// docking-pane manager, five panes (Folders left, Properties right, Search top, Output and Event log as
// two tabs at the bottom) and the site's notifications recorded. Each test program includes it once.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_splitter.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

namespace docktest {

enum PaneId : UINT { kFolders = 1, kProperties = 2, kSearch = 3, kOutput = 4, kLog = 5 };

inline HWND Child(HWND parent, LPCWSTR cls, LPCWSTR text, DWORD style, UINT id = 0) {
  HWND child = ::CreateWindowExW(WS_EX_CLIENTEDGE, cls, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  // The panes' contents in the dialog font, as the program's own views show them (not the system font).
  ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

// The manager with a factory that can be told to refuse types, as a derived one may.
class TestManager : public CTKPDockingPaneManager {
 public:
  std::vector<int> refuseTypes;
  int objectsLeft = -1;  // how many more objects it makes before it refuses all; -1: no end
  CTKPDockingPaneBase* CreatePaneObject(int nType, CTKPDockingPaneLayout* pLayout) override {
    if (std::find(refuseTypes.begin(), refuseTypes.end(), nType) != refuseTypes.end()) return nullptr;
    if (objectsLeft == 0) return nullptr;
    if (objectsLeft > 0) --objectsLeft;
    return CTKPDockingPaneManager::CreatePaneObject(nType, pLayout);
  }
};

class DockingFrame : public CFrameWnd {
 public:
  TestManager manager;
  std::vector<std::pair<WPARAM, int>> notes;  // wParam, and the action code for TKP_DPN_ACTION
  bool keepOpen = false;
  std::vector<int> refuse;  // actions the site refuses
  HWND view = nullptr;
  int layouts = 0;  // how often the frame was laid out
  void RecalcLayout(BOOL bNotify = TRUE) override {
    ++layouts;
    CFrameWnd::RecalcLayout(bNotify);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    view = Child(m_hWnd, L"EDIT", L"The client area: the view of the frame lies here.",
                 WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY, AFX_IDW_PANE_FIRST);
    manager.InstallOnFrame(this);
    manager.SetTheme(2);
    return 0;
  }
  afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam) {
    int action = -1;
    if (wParam == TKP_DPN_ACTION) {
      auto* record = reinterpret_cast<TKP_DOCKINGPANE_ACTION*>(lParam);
      action = record->action;
      if (std::find(refuse.begin(), refuse.end(), action) != refuse.end()) record->result = 1;
    }
    notes.emplace_back(wParam, action);
    return wParam == TKP_DPN_CLOSEPANE && keepOpen ? -1 : 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DockingFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_MESSAGE(TKP_DOCKINGPANE_NOTIFY, OnDockingPaneNotify)
END_MESSAGE_MAP()

class DockingFrameTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new DockingFrame();
    ASSERT_TRUE(frame->Create(nullptr, _T("Docking panes"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 940, 660)));
    CTKPDockingPaneManager& m = frame->manager;
    Add(m.CreatePane(kFolders, CRect(0, 0, 200, 100), tkpPaneDockLeft), _T("Folders"), L"SysTreeView32");
    Add(m.CreatePane(kProperties, CRect(0, 0, 180, 100), tkpPaneDockRight), _T("Properties"), L"LISTBOX");
    Add(m.CreatePane(kSearch, CRect(0, 0, 100, 90), tkpPaneDockTop), _T("Search"), L"EDIT");
    Add(m.CreatePane(kOutput, CRect(0, 0, 100, 130), tkpPaneDockBottom), _T("Output\nOutput"), L"EDIT");
    CTKPDockingPane* log = m.CreatePane(kLog, CRect(0, 0, 100, 130), tkpPaneDockBottom);
    Add(log, _T("Event log\nLog"), L"LISTBOX");
    m.AttachPane(log, m.FindPane(kOutput));
    m.ShowPane(m.FindPane(kOutput), FALSE);
    // The panes' icons (by pane id) from a strip of the program's own, so that icon tabs show them.
    const UINT icons[] = {0, 0, kProperties, kFolders, 0, 0, 0, 0, kLog, 0, kOutput, kSearch};
    m.GetImageManager()->SetIconsFromResource(IDB_DATABASE_TREE, icons, 12, CSize(16, 16));
    Relayout();
  }
  void TearDown() override {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
  }

  void Add(CTKPDockingPane* pane, LPCTSTR title, LPCWSTR cls) {
    ASSERT_NE(pane, nullptr);
    pane->SetTitle(title);
    const std::wstring kind = cls;
    DWORD style = WS_VISIBLE;
    if (kind == L"LISTBOX") style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    if (kind == L"EDIT") style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (kind == L"SysTreeView32") style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
    HWND wnd = Child(frame->GetSafeHwnd(), cls, L"", style);
    if (kind == L"LISTBOX") {
      for (LPCWSTR line : {L"FAT32 at sector 2048", L"NTFS at sector 6144",
                           L"Folder \\DCIM restored", L"412 files found"}) {
        ::SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
      }
    } else if (kind == L"EDIT") {
      ::SetWindowTextW(wnd, pane->GetID() == kSearch ? L"*.jpg; *.docx" : L"Quick Scan finished: 412 files.");
    } else {
      HTREEITEM parent = TVI_ROOT;
      for (LPCWSTR name : {L"Partition 1 (FAT32)", L"DCIM", L"100CANON"}) {
        TVINSERTSTRUCTW item{};
        item.hParent = parent;
        item.hInsertAfter = TVI_LAST;
        item.item.mask = TVIF_TEXT;
        item.item.pszText = const_cast<LPWSTR>(name);
        HTREEITEM added = reinterpret_cast<HTREEITEM>(::SendMessageW(wnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (parent != TVI_ROOT) ::SendMessageW(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        parent = added;
      }
    }
    pane->Attach(wnd);
  }
  void Relayout() {
    frame->RecalcLayout();
    harness::PumpMessages();
  }
  CRect Place(UINT id) const {
    CTKPDockingPane* pane = frame->manager.FindPane(id);
    return pane != nullptr && pane->GetContainer() != nullptr ? pane->GetContainer()->GetPaneWindowRect() : CRect();
  }
  CRect ClientArea() const {
    CRect client;
    frame->GetClientRect(client);
    return client;
  }
  // The splitter window whose first neighbour holds the pane.
  CTKPDockingPaneSplitterWnd* SplitterAfter(CTKPDockingPaneBase* first) const {
    auto* splitter = static_cast<CTKPDockingPaneSplitterContainer*>(first->GetContainer());
    for (CTKPDockingPaneSplitterWnd* wnd : splitter->GetSplitters()) {
      if (wnd->GetFirst() == first) return wnd;
    }
    return nullptr;
  }
  // Presses the splitter, moves the mouse by dx and lets go; the moves are waiting when the drag starts.
  void Drag(CWnd* splitter, int dx) {
    splitter->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + dx, 10));
    splitter->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(2 + dx, 10));
    splitter->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    Relayout();
  }
  std::vector<CRect> Places() const {
    std::vector<CRect> places;
    for (UINT id : {kFolders, kProperties, kSearch, kOutput, kLog}) places.push_back(Place(id));
    return places;
  }

  DockingFrame* frame = nullptr;
};

}  // namespace docktest
