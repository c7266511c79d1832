#include "toolkit/dockingpane/tkp_docking_pane.h"

#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"
#include "toolkit/dockingpane/tkp_docking_pane_tabbed.h"

// Asked of a pane's window for the colour of its tab; a non-zero answer replaces the automatic one.
constexpr UINT kGetItemColorMessage = 0x28B9;

CTKPDockingPane::CTKPDockingPane(CTKPDockingPaneLayout* pLayout) : CTKPDockingPaneBase(dock::kPane, pLayout) {
  if (pLayout != nullptr) pLayout->AddPaneRecord(this);
}

CTKPDockingPane::~CTKPDockingPane() {
  if (m_pLayout != nullptr) m_pLayout->RemovePaneRecord(this);
}

void CTKPDockingPane::Attach(CWnd* pWnd) { Attach(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr); }

void CTKPDockingPane::Attach(HWND hWnd) {
  m_hwndChild = hWnd;
  if (hWnd == nullptr) return;
  HWND holder = m_pParentContainer != nullptr ? m_pParentContainer->GetPaneHwnd() : nullptr;
  if (holder == nullptr) {
    ::ShowWindow(hWnd, SW_HIDE);
    holder = ManagerHwnd();
  }
  if (holder != nullptr && ::GetParent(hWnd) != holder) ::SetParent(hWnd, holder);
  OnPaneChanged(TRUE);
}

HWND CTKPDockingPane::Detach() {
  HWND hWnd = m_hwndChild;
  m_hwndChild = nullptr;
  return hWnd;
}

void CTKPDockingPane::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  OnPaneChanged(FALSE);
}

DWORD CTKPDockingPane::GetOptions() const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  return m_dwOptions | (manager != nullptr ? manager->GetDefaultPaneOptions() : 0);
}

HWND CTKPDockingPane::ManagerHwnd() const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  return manager != nullptr ? manager->GetSafeHwnd() : nullptr;
}

void CTKPDockingPane::SetFocus() {
  if (m_hwndChild != nullptr && !IsFocus()) ::SetFocus(m_hwndChild);
}

CString CTKPDockingPane::GetTitle() const {
  const int lineFeed = m_strTitle.Find(_T('\n'));
  return lineFeed < 0 ? m_strTitle : m_strTitle.Left(lineFeed);
}

CString CTKPDockingPane::GetTabCaption() const {
  const int lineFeed = m_strTitle.Find(_T('\n'));
  return lineFeed < 0 ? m_strTitle : m_strTitle.Mid(lineFeed + 1);
}

CTKPImageManagerIcon* CTKPDockingPane::GetIcon(int nWidth) const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (manager == nullptr) return nullptr;
  return manager->GetIcon(m_nIconID == -1 ? m_nID : static_cast<UINT>(m_nIconID), nWidth);
}

COLORREF CTKPDockingPane::GetItemColor() const {
  if (m_clrItemTab != static_cast<COLORREF>(-1)) return m_clrItemTab;
  if (m_hwndChild != nullptr) {
    if (LRESULT answer = ::SendMessageW(m_hwndChild, kGetItemColorMessage, 0, 0)) return static_cast<COLORREF>(answer);
  }
  const int id = static_cast<int>(m_nID);
  return 0x1000000 + static_cast<COLORREF>(((id % 8) + 8) % 8);
}

void CTKPDockingPane::Copy(const CTKPDockingPane* pPane) {
  m_nDockingCX = pPane->m_nDockingCX;
  m_nDockingCY = pPane->m_nDockingCY;
  m_strTitle = pPane->m_strTitle;
  m_nIconID = pPane->m_nIconID;
  m_dwOptions = pPane->m_dwOptions;
  m_dwData = pPane->m_dwData;
  m_nID = pPane->m_nID;
  m_ptMinTrackSize = pPane->m_ptMinTrackSize;
  m_ptMaxTrackSize = pPane->m_ptMaxTrackSize;
}

CTKPDockingPaneBase* CTKPDockingPane::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD) {
  auto* clone = static_cast<CTKPDockingPane*>(NewObject(pLayout, dock::kPane));
  if (clone == nullptr) return nullptr;
  clone->Copy(this);
  RecordClone(pMap, this, clone);
  return clone;
}

BOOL CTKPDockingPane::IsFocus() const {
  if (m_hwndChild == nullptr) return FALSE;
  HWND focus = ::GetFocus();
  return focus == m_hwndChild || ::IsChild(m_hwndChild, focus);
}

BOOL CTKPDockingPane::IsSelected() const {
  return m_pParentContainer != nullptr && m_pParentContainer->GetType() == dock::kTabbedContainer &&
         static_cast<CTKPDockingPaneTabbedContainer*>(m_pParentContainer)->GetSelected() == this;
}

void CTKPDockingPane::Close() {
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->ClosePane(this);
}

void CTKPDockingPane::Hide() {
  if (CTKPDockingPaneManager* manager = GetDockingPaneManager()) manager->HidePane(this);
}

void CTKPDockingPane::Show(BOOL bShow) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  if (bShow && manager != nullptr && manager->GetSite() != nullptr) {
    manager->GetSite()->SendMessage(TKP_DOCKINGPANE_NOTIFY, TKP_DPN_SHOWWINDOW,
                                    reinterpret_cast<LPARAM>(static_cast<CTKPDockingPaneBase*>(this)));
  }
  if (m_hwndChild != nullptr) ::ShowWindow(m_hwndChild, bShow ? SW_SHOW : SW_HIDE);
}

void CTKPDockingPane::OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  SetDockingSite(pParent);
  if (lpLayout != nullptr && lpLayout->hDWP == nullptr) return;  // only measuring
  m_rcWindow = rect;
  if (m_pParentContainer == nullptr || m_hwndChild == nullptr || pParent == nullptr) return;
  HWND holder = m_pParentContainer->GetPaneHwnd();
  if (holder == nullptr) return;
  if (::GetParent(m_hwndChild) != holder) ::SetParent(m_hwndChild, holder);
  // The container may still be on its way to its new place (a deferred move): its own rectangle says
  // where it goes.
  const CRect container = m_pParentContainer->GetPaneWindowRect();
  rect.OffsetRect(-container.left, -container.top);
  ::MoveWindow(m_hwndChild, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CTKPDockingPane::SetParentContainer(CTKPDockingPaneBase* pContainer) {
  m_pParentContainer = pContainer;
  if (m_hwndChild == nullptr) {
    if (pContainer == nullptr) m_pDockingSite = nullptr;
    return;
  }
  if (pContainer != nullptr) {
    if (HWND holder = pContainer->GetPaneHwnd()) ::SetParent(m_hwndChild, holder);
    return;
  }
  ::ShowWindow(m_hwndChild, SW_HIDE);
  if (HWND manager = ManagerHwnd()) ::SetParent(m_hwndChild, manager);
  m_pDockingSite = nullptr;
}

void CTKPDockingPane::OnIdleUpdate() {
  if (m_pParentContainer != nullptr) m_pParentContainer->OnIdleUpdate();
}

void CTKPDockingPane::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const {
  *pMinMaxInfo = MINMAXINFO{};
  pMinMaxInfo->ptMinTrackSize = m_ptMinTrackSize;
  pMinMaxInfo->ptMaxTrackSize = m_ptMaxTrackSize;
}

BOOL CTKPDockingPane::IsHidden() const { return m_pParentContainer != nullptr && m_pParentContainer->IsHidden(); }

void CTKPDockingPane::SaveRecord(dock::ObjectRecord* pRecord) const {
  CTKPDockingPaneBase::SaveRecord(pRecord);
  pRecord->title = m_strTitle;
  pRecord->id = static_cast<int>(m_nID);
  pRecord->iconId = m_nIconID;
  pRecord->options = static_cast<int>(m_dwOptions);
  pRecord->tag = static_cast<int>(m_dwData);
  pRecord->minTrackX = m_ptMinTrackSize.x;
  pRecord->minTrackY = m_ptMinTrackSize.y;
  pRecord->maxTrackX = m_ptMaxTrackSize.x;
  pRecord->maxTrackY = m_ptMaxTrackSize.y;
  pRecord->tabColor = static_cast<int>(m_clrItemTab);
  pRecord->helpId = static_cast<int>(m_nHelpId);
  if (const CTKPDockingPaneLayout::PaneRecord* record = m_pLayout->FindPaneRecord(this)) {
    pRecord->hasRecord = true;
    pRecord->dockingHolder = record->pDockingHolder != nullptr ? record->pDockingHolder->m_nIndex : 0;
    pRecord->floatingHolder = record->pFloatingHolder != nullptr ? record->pFloatingHolder->m_nIndex : 0;
    pRecord->lastHolder = record->pLastHolder != nullptr ? record->pLastHolder->m_nIndex : 0;
  }
}

void CTKPDockingPane::LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) {
  CTKPDockingPaneBase::LoadRecord(record, objects);
  m_strTitle = record.title;
  m_nID = static_cast<UINT>(record.id);
  m_nIconID = record.iconId;
  m_dwOptions = static_cast<DWORD>(record.options);
  m_dwData = static_cast<DWORD>(record.tag);
  m_ptMinTrackSize = POINT{record.minTrackX, record.minTrackY};
  m_ptMaxTrackSize = POINT{record.maxTrackX, record.maxTrackY};
  m_clrItemTab = static_cast<COLORREF>(record.tabColor);
  m_nHelpId = static_cast<DWORD>(record.helpId);
  auto at = [&objects](int index) { return index >= 1 ? objects[static_cast<size_t>(index) - 1] : nullptr; };
  if (CTKPDockingPaneLayout::PaneRecord* own = m_pLayout->FindPaneRecord(this)) {
    own->pDockingHolder = at(record.dockingHolder);
    own->pFloatingHolder = at(record.floatingHolder);
    own->pLastHolder = at(record.lastHolder);
  }
}
