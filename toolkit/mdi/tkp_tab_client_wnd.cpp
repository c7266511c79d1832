// The MDI tab client: the subclassed MDI client, its tab groups, their splitters and the workspace
// commands.
#include "toolkit/mdi/tkp_tab_client_wnd.h"

#include <algorithm>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "res/toolkit_resource.h"
#include "toolkit/mdi/tab_group_layout.h"
#include "toolkit/tabmanager/tkp_tab_paint_manager.h"

namespace {

constexpr DWORD kChildFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;  // 0xC70000
constexpr int kSplitterCursorHorz = IDC_TK_SPLIT_HORZ;
constexpr int kSplitterCursorVert = IDC_TK_SPLIT_VERT;

HCURSOR LoadSplitterCursor(int nId, LPCWSTR fallback) {
  HCURSOR hCursor = ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nId));
  return hCursor != nullptr ? hCursor : ::LoadCursorW(nullptr, fallback);
}

bool IsMDIChild(HWND hWnd) { return (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0; }

CString WindowText(HWND hWnd) {
  const int length = ::GetWindowTextLengthW(hWnd);
  std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
  ::GetWindowTextW(hWnd, text.data(), length + 1);
  return CString(text.c_str());
}

// Keeps contents updates away while a tab moves.
class UpdateLock {
 public:
  explicit UpdateLock(int& count) : m_count(count) { ++m_count; }
  ~UpdateLock() { --m_count; }
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  int& m_count;
};

}  // namespace

BEGIN_MESSAGE_MAP(CTKPTabClientWnd, CWnd)
ON_COMMAND_RANGE(tkmdi::kCmdPrevGroup, tkmdi::kCmdNewVertGroup, OnWorkspaceCommand)
ON_UPDATE_COMMAND_UI_RANGE(tkmdi::kCmdPrevGroup, tkmdi::kCmdNewVertGroup, OnUpdateWorkspaceCommand)
END_MESSAGE_MAP()

CTKPTabClientWnd::CTKPTabClientWnd() : m_pPaintManager(new CTKPTabPaintManager) {
  m_pPaintManager->BoldSelected = TRUE;
  m_pPaintManager->ShowClientFrame = TRUE;
  m_arrGroups.push_back(new CTKPTabClientGroup(this));
  m_pPaintManager->AddObserver(m_arrGroups.front());
  m_hCursorHorz = LoadSplitterCursor(kSplitterCursorVert, IDC_SIZENS);
  m_hCursorVert = LoadSplitterCursor(kSplitterCursorHorz, IDC_SIZEWE);
}

CTKPTabClientWnd::~CTKPTabClientWnd() {
  Detach();
  for (CTKPTabClientGroup* pGroup : m_arrGroups) delete pGroup;
  m_pPaintManager->InternalRelease();
}

BOOL CTKPTabClientWnd::Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups) {
  if (m_hWnd != nullptr || pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr) return FALSE;
  if (!SubclassWindow(pFrame->m_hWndMDIClient)) return FALSE;
  m_pMDIFrame = pFrame;
  m_bGrouping = bEnableGroups;
  if (m_bGrouping) {
    // The groups fill the client: it never scrolls and draws its own frame.
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
      if (IsMDIChild(hChild)) StripChildFrame(hChild);
    }
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  m_bDirty = TRUE;
  UpdateContents();
  return TRUE;
}

void CTKPTabClientWnd::Detach() {
  if (m_hWnd == nullptr) return;
  UnsubclassWindow();
  m_pMDIFrame = nullptr;
}

CTKPTabClientGroup* CTKPTabClientWnd::GetGroup(int nIndex) const {
  return nIndex >= 0 && nIndex < GetGroupCount() ? m_arrGroups[static_cast<size_t>(nIndex)] : nullptr;
}

int CTKPTabClientWnd::FindGroup(const CTKPTabManager* pGroup) const {
  for (int i = 0; i < GetGroupCount(); ++i) {
    if (m_arrGroups[static_cast<size_t>(i)] == pGroup) return i;
  }
  return -1;
}

CTKPTabManagerItem* CTKPTabClientWnd::FindItem(HWND hWndChild, int* pnGroup) const {
  for (int i = 0; i < GetGroupCount(); ++i) {
    if (CTKPTabManagerItem* pItem = m_arrGroups[static_cast<size_t>(i)]->FindItem(hWndChild)) {
      if (pnGroup != nullptr) *pnGroup = i;
      return pItem;
    }
  }
  if (pnGroup != nullptr) *pnGroup = -1;
  return nullptr;
}

int CTKPTabClientWnd::GetItemCount() const {
  int count = 0;
  for (const CTKPTabClientGroup* pGroup : m_arrGroups) count += pGroup->GetItemCount();
  return count;
}

// ---- contents ---------------------------------------------------------------------------------------

void CTKPTabClientWnd::UpdateContents() {
  if (m_hWnd == nullptr || m_pMDIFrame == nullptr || m_nLockUpdate > 0) return;
  UpdateLock lock(m_nLockUpdate);
  for (CTKPTabClientGroup* pGroup : m_arrGroups) {
    for (int i = pGroup->GetItemCount() - 1; i >= 0; --i) {
      auto hWnd = reinterpret_cast<HWND>(pGroup->GetItem(i)->GetData());
      if (!::IsWindow(hWnd) || ::GetParent(hWnd) != m_hWnd) pGroup->DeleteItem(i);
    }
  }
  RemoveEmptyGroups();
  m_nActiveGroup = std::clamp(m_nActiveGroup, 0, GetGroupCount() - 1);
  // From the bottom of the z-order up: the order in which the children came.
  for (HWND hChild = ::GetWindow(::GetWindow(m_hWnd, GW_CHILD), GW_HWNDLAST); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDPREV)) {
    if (!IsMDIChild(hChild) || FindItem(hChild) != nullptr) continue;
    m_arrGroups[static_cast<size_t>(m_nActiveGroup)]->InsertItem(-1)->SetData(reinterpret_cast<DWORD_PTR>(hChild));
  }
  for (CTKPTabClientGroup* pGroup : m_arrGroups) {
    for (int i = 0; i < pGroup->GetItemCount(); ++i) {
      CTKPTabManagerItem* pItem = pGroup->GetItem(i);
      const CString caption = WindowText(reinterpret_cast<HWND>(pItem->GetData()));
      if (caption == pItem->GetCaption()) continue;
      pItem->SetCaption(caption);
      pGroup->ShowSelectedAfterLayout();  // the tabs' lengths changed
    }
  }
  HWND hActive = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
  int nGroup = -1;
  if (CTKPTabManagerItem* pActive = FindItem(hActive, &nGroup)) {
    m_nActiveGroup = nGroup;
    m_arrGroups[static_cast<size_t>(nGroup)]->SetSelectedItem(pActive);
  }
  for (int i = 0; i < GetGroupCount(); ++i) {
    CTKPTabClientGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
    if (pGroup->IsActive() != (i == m_nActiveGroup ? TRUE : FALSE)) {
      pGroup->SetActive(i == m_nActiveGroup);
      pGroup->ShowSelectedAfterLayout();  // its selected tab's caption changes weight
    }
    if (pGroup->GetSelectedItem() == nullptr) pGroup->SetCurSel(0);
  }
  m_bDirty = FALSE;
  RecalcLayout();
}

void CTKPTabClientWnd::RemoveEmptyGroups() {
  if (GetGroupCount() < 2) return;
  std::vector<double> sizes = GroupSizes();
  for (int i = GetGroupCount() - 1; i >= 0 && GetGroupCount() > 1; --i) {
    CTKPTabClientGroup* pGroup = m_arrGroups[static_cast<size_t>(i)];
    if (pGroup->GetItemCount() > 0 || pGroup->InGesture()) continue;
    tkmdi::RemoveGroup(sizes, i, m_nSplitterWidth);
    m_arrGroups.erase(m_arrGroups.begin() + i);
    delete pGroup;
    if (m_nActiveGroup >= i && m_nActiveGroup > 0) --m_nActiveGroup;
  }
  SetGroupSizes(sizes);
}

void CTKPTabClientWnd::Refresh(BOOL bRecalcLayout) {
  if (m_pMDIFrame == nullptr || m_bRefreshing) return;
  m_bRefreshing = TRUE;
  UpdateContents();
  if (GetItemCount() > 0) {
    CPoint pt;
    ::GetCursorPos(pt);
    ScreenToClient(pt);
    for (CTKPTabClientGroup* pGroup : m_arrGroups) pGroup->PerformMouseMove(m_hWnd, pt);
  } else {
    Invalidate(FALSE);
  }
  if (bRecalcLayout && m_bGrouping) {
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (CFrameWnd* pFrame = GetRecalcFrame()) pFrame->RecalcLayout();
  }
  m_bRefreshing = FALSE;
}

// ---- layout -----------------------------------------------------------------------------------------

void CTKPTabClientWnd::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CRect rcClient;
  GetClientRect(rcClient);
  const std::vector<CRect> rects = tkmdi::GroupRects(rcClient, GroupSizes(), m_nSplitterWidth, m_bHorizontal != FALSE);
  CClientDC dc(this);
  for (size_t i = 0; i < m_arrGroups.size(); ++i) {
    CTKPTabClientGroup* pGroup = m_arrGroups[i];
    if (pGroup->m_rcGroup != rects[i]) pGroup->ShowSelectedAfterLayout();  // a strip of another length
    pGroup->m_rcGroup = rects[i];
    pGroup->m_rcSplitter =
        i + 1 < m_arrGroups.size() ? tkmdi::SplitterAfter(rects[i], m_nSplitterWidth, m_bHorizontal != FALSE) : CRect();
    pGroup->Layout(&dc);
  }
  Invalidate(FALSE);
}

BOOL CTKPTabClientWnd::ChildrenInPlace() const {
  for (const CTKPTabClientGroup* pGroup : m_arrGroups) {
    if (!pGroup->ChildrenInPlace()) return FALSE;
  }
  return TRUE;
}

void CTKPTabClientWnd::RepositionGroup(CTKPTabClientGroup* pGroup) {
  if (m_hWnd == nullptr || m_nLockUpdate > 0 || pGroup->m_rcGroup.IsRectEmpty()) return;
  CClientDC dc(this);
  pGroup->Layout(&dc);
  InvalidateRect(pGroup->m_rcGroup, FALSE);
}

void CTKPTabClientWnd::StoreSizes(BOOL bHorizontal) {
  std::vector<CRect> rects;
  for (const CTKPTabClientGroup* pGroup : m_arrGroups) rects.push_back(pGroup->m_rcGroup);
  SetGroupSizes(tkmdi::SizesOf(rects, bHorizontal != FALSE));
}

std::vector<double> CTKPTabClientWnd::GroupSizes() const {
  std::vector<double> sizes;
  for (const CTKPTabClientGroup* pGroup : m_arrGroups) sizes.push_back(pGroup->m_dSize);
  return sizes;
}

void CTKPTabClientWnd::SetGroupSizes(const std::vector<double>& sizes) {
  for (size_t i = 0; i < m_arrGroups.size() && i < sizes.size(); ++i) m_arrGroups[i]->m_dSize = sizes[i];
}

void CTKPTabClientWnd::StripChildFrame(HWND hWndChild) const {
  ::SetWindowLongW(hWndChild, GWL_STYLE,
                   ::GetWindowLongW(hWndChild, GWL_STYLE) & ~static_cast<LONG>(kChildFrameStyles));
  ::SetWindowLongW(hWndChild, GWL_EXSTYLE, ::GetWindowLongW(hWndChild, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  ::SetWindowPos(hWndChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CTKPTabClientWnd::ActivateChild(HWND hWndChild) {
  if (m_pMDIFrame != nullptr && ::IsWindow(hWndChild)) m_pMDIFrame->MDIActivate(CWnd::FromHandle(hWndChild));
}

// ---- workspace commands -----------------------------------------------------------------------------

tkmdi::WorkspaceState CTKPTabClientWnd::WorkspaceNow() const {
  tkmdi::WorkspaceState state;
  state.grouping = m_bGrouping != FALSE;
  state.groupCount = GetGroupCount();
  state.horizontal = m_bHorizontal != FALSE;
  if (m_hWnd != nullptr) {
    HWND hActive = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
    if (hActive != nullptr && FindItem(hActive, &state.activeGroup) != nullptr) {
      state.tabsInGroup = m_arrGroups[static_cast<size_t>(state.activeGroup)]->GetItemCount();
    }
  }
  return state;
}

BOOL CTKPTabClientWnd::IsWorkspaceCommandEnabled(UINT nID) const {
  return tkmdi::IsWorkspaceCommandEnabled(nID, WorkspaceNow());
}

BOOL CTKPTabClientWnd::ExecuteWorkspaceCommand(UINT nID) {
  if (nID < tkmdi::kCmdPrevGroup || nID > tkmdi::kCmdNewVertGroup || !IsWorkspaceCommandEnabled(nID)) return FALSE;
  int nGroup = -1;
  CTKPTabManagerItem* pItem = FindItem(reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0)), &nGroup);
  if (pItem == nullptr) return FALSE;
  if (nID == tkmdi::kCmdPrevGroup || nID == tkmdi::kCmdNextGroup) {
    MoveToGroup(pItem, nGroup, nID == tkmdi::kCmdPrevGroup ? nGroup - 1 : nGroup + 1);
  } else {
    NewGroup(pItem, nGroup, nID == tkmdi::kCmdNewHorzGroup);
  }
  return TRUE;
}

void CTKPTabClientWnd::OnWorkspaceCommand(UINT nID) { ExecuteWorkspaceCommand(nID); }

void CTKPTabClientWnd::OnUpdateWorkspaceCommand(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsWorkspaceCommandEnabled(pCmdUI->m_nID));
}

void CTKPTabClientWnd::MoveToGroup(CTKPTabManagerItem* pItem, int nFrom, int nTo) {
  CTKPTabClientGroup* pTo = GetGroup(nTo);
  if (pTo == nullptr || nFrom == nTo) return;
  {
    UpdateLock lock(m_nLockUpdate);
    TKPTransferTabItem(pItem, pTo, -1);
    pTo->SetSelectedItem(pItem);
    m_nActiveGroup = nTo;
  }
  m_bDirty = TRUE;
  UpdateContents();
}

void CTKPTabClientWnd::NewGroup(CTKPTabManagerItem* pItem, int nFrom, BOOL bHorizontal) {
  {
    UpdateLock lock(m_nLockUpdate);
    StoreSizes(bHorizontal);
    std::vector<double> sizes = GroupSizes();
    tkmdi::SplitGroup(sizes, nFrom, m_nSplitterWidth);
    auto* pGroup = new CTKPTabClientGroup(this);
    m_pPaintManager->AddObserver(pGroup);
    m_arrGroups.insert(m_arrGroups.begin() + nFrom + 1, pGroup);
    SetGroupSizes(sizes);
    m_bHorizontal = bHorizontal;
    TKPTransferTabItem(pItem, pGroup, -1);
    pGroup->SetSelectedItem(pItem);
    m_nActiveGroup = nFrom + 1;
  }
  m_bDirty = TRUE;
  UpdateContents();
}

