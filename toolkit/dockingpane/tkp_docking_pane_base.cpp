#include "toolkit/dockingpane/tkp_docking_pane_base.h"

#include "toolkit/dockingpane/tkp_docking_pane_layout.h"
#include "toolkit/dockingpane/tkp_docking_pane_manager.h"

BOOL CTKPDockingPaneCaptionButton::IsVisible() { return m_pOwner->IsCaptionButtonVisible(this); }

void CTKPDockingPaneCaptionButton::SetRect(const CRect& rc) {
  if (rc == m_rcButton) return;
  m_rcButton = rc;
  if (m_pOwner != nullptr) m_pOwner->OnCaptionButtonRectChanged(this);
}

CTKPDockingPaneBase::CTKPDockingPaneBase(int nType, CTKPDockingPaneLayout* pLayout)
    : m_pLayout(pLayout), m_nType(nType) {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  m_pDockingSite = manager != nullptr ? manager->GetSite() : nullptr;
  if (m_pLayout != nullptr) m_pLayout->AddObject(this);
}

CTKPDockingPaneBase::~CTKPDockingPaneBase() {
  for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) delete button;
  if (m_pLayout != nullptr) m_pLayout->RemoveObject(this);
}

CTKPDockingPaneManager* CTKPDockingPaneBase::GetDockingPaneManager() const {
  return m_pLayout != nullptr ? m_pLayout->GetManager() : nullptr;
}

CTKPDockingPanePaintManager* CTKPDockingPaneBase::GetPaintManager() const {
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  return manager != nullptr ? manager->GetPaintManager() : nullptr;
}

void CTKPDockingPaneBase::RedrawPane() {
  if (HWND hWnd = GetPaneHwnd()) ::InvalidateRect(hWnd, nullptr, FALSE);
}

void CTKPDockingPaneBase::FindPane(int nType, std::vector<CTKPDockingPaneBase*>* pList) {
  if (m_nType == nType) pList->push_back(this);
}

void CTKPDockingPaneBase::GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const {
  *pMinMaxInfo = MINMAXINFO{};
  pMinMaxInfo->ptMaxTrackSize = {dock::kMaxTrack, dock::kMaxTrack};
}

void CTKPDockingPaneBase::OnSizeParent(CWnd*, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) {
  m_rcWindow = rect;
  if (lpLayout != nullptr) lpLayout->rect = rect;
}

void CTKPDockingPaneBase::OnPaneChanged(BOOL bRelayout) {
  if (m_pParentContainer != nullptr) m_pParentContainer->OnPaneChanged(bRelayout);
}

void CTKPDockingPaneBase::SaveRecord(dock::ObjectRecord* pRecord) const {
  pRecord->type = m_nType;
  pRecord->dockingCx = m_nDockingCX;
  pRecord->dockingCy = m_nDockingCY;
}

void CTKPDockingPaneBase::LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>&) {
  m_nDockingCX = record.dockingCx;
  m_nDockingCY = record.dockingCy;
}

BOOL CTKPDockingPaneBase::IsEmpty() const {
  if (m_nType != dock::kClientContainer) return FALSE;
  CTKPDockingPaneManager* manager = GetDockingPaneManager();
  return manager != nullptr && manager->IsClientHidden();
}

CRect CTKPDockingPaneBase::GetWindowRect() const {
  CRect rect = m_rcWindow;
  if (m_pDockingSite != nullptr && m_pDockingSite->GetSafeHwnd() != nullptr && m_nType != dock::kMiniFrame) {
    ::MapWindowPoints(m_pDockingSite->GetSafeHwnd(), nullptr, reinterpret_cast<LPPOINT>(&rect), 2);
  }
  return rect;
}

CTKPDockingPaneCaptionButton* CTKPDockingPaneBase::FindCaptionButton(UINT nID) const {
  for (CTKPDockingPaneCaptionButton* button : m_arrCaptionButtons) {
    if (button->GetID() == nID) return button;
  }
  return nullptr;
}

CTKPDockingPaneBase* CTKPDockingPaneBase::NewObject(CTKPDockingPaneLayout* pLayout, int nType) {
  CTKPDockingPaneManager* manager = pLayout != nullptr ? pLayout->GetManager() : nullptr;
  return manager != nullptr ? manager->CreatePaneObject(nType, pLayout) : nullptr;
}

void CTKPDockingPaneBase::RecordClone(CMapPtrToPtr* pMap, const CTKPDockingPaneBase* pObject,
                                      CTKPDockingPaneBase* pClone) {
  if (pMap != nullptr && pClone != nullptr) pMap->SetAt(const_cast<CTKPDockingPaneBase*>(pObject), pClone);
}

CTKPDockingPaneBase* CTKPDockingPaneBase::LookupClone(const CMapPtrToPtr* pMap, const CTKPDockingPaneBase* pObject) {
  void* clone = nullptr;
  if (pMap == nullptr || pObject == nullptr || !pMap->Lookup(const_cast<CTKPDockingPaneBase*>(pObject), clone)) {
    return nullptr;
  }
  return static_cast<CTKPDockingPaneBase*>(clone);
}

CTKPDockingPaneBase* CTKPDockingPaneBase::Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD) {
  CTKPDockingPaneBase* clone = NewObject(pLayout, m_nType);
  RecordClone(pMap, this, clone);
  return clone;
}
