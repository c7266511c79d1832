#include "toolkit/commandbars/controls/tkp_controls.h"

#include <algorithm>

#include <vector>

#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_control_factory.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/toolbar_layout.h"

IMPLEMENT_DYNCREATE(CTKPControls, CCmdTarget)

CTKPControls::CTKPControls() = default;

CTKPControls::~CTKPControls() {
  RemoveAll();
  ReleaseOriginalControls();
}

// ---- adding --------------------------------------------------------------------------------------

void CTKPControls::InsertAt(CTKPControl* pControl, int nBefore) {
  if (nBefore < 0 || nBefore >= GetCount()) {
    m_arrControls.Add(pControl);
  } else {
    m_arrControls.InsertAt(nBefore, pControl);
  }
  RefreshIndexes();
}

CTKPControl* CTKPControls::Add(CTKPControl* pControl, int nId, const CString& strParameter, int nBefore,
                               BOOL bTemporary) {
  if (pControl == nullptr) return nullptr;
  pControl->m_strParameter = strParameter;
  pControl->m_bTemporary = bTemporary;
  pControl->SetID(nId);
  InsertAt(pControl, nBefore);
  return pControl;
}

CTKPControl* CTKPControls::CreateByType(int nType, int nId) {
  CTKPControl* pControl = TKPCreateControl(nType, nId, GetCommandBars(), GetOwner());
  pControl->m_controlType = nType;
  return pControl;
}

CTKPControl* CTKPControls::Add(int nType, int nId, const CString& strParameter, int nBefore, BOOL bTemporary) {
  return Add(CreateByType(nType, nId), nId, strParameter, nBefore, bTemporary);
}

CTKPControl* CTKPControls::AddClone(CTKPControl* pClone, int nBefore, BOOL bRecursive) {
  if (pClone == nullptr) return nullptr;
  CTKPControl* pControl = pClone->Clone(bRecursive);
  if (pControl == nullptr) return nullptr;
  InsertAt(pControl, nBefore);
  return pControl;
}

CWnd* CTKPControls::GetOwner() const {
  if (m_pParent != nullptr) return m_pParent->GetSite();
  CTKPCommandBars* pCommandBars = GetCommandBars();
  return pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;
}

CTKPControl* CTKPControls::AddMenuItem(CMenu* pMenu, int nIndex) {
  HMENU hMenu = pMenu != nullptr ? pMenu->GetSafeHmenu() : nullptr;
  if (hMenu == nullptr || !::IsMenu(hMenu) || nIndex < 0 || nIndex >= ::GetMenuItemCount(hMenu)) return nullptr;
  const UINT id = ::GetMenuItemID(hMenu, nIndex);
  HMENU hSubMenu = ::GetSubMenu(hMenu, nIndex);
  const BOOL isDefault = ::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED) == static_cast<UINT>(nIndex);
  WCHAR text[256] = {};
  ::GetMenuStringW(hMenu, static_cast<UINT>(nIndex), text, 256, MF_BYPOSITION);
  if (id == 0xFF00) return nullptr;
  const int commandId = hSubMenu != nullptr ? 0 : static_cast<int>(id);

  TKP_CREATE_CONTROL create = {commandId, nullptr, FALSE, nIndex, pMenu, m_pParent, CString(text),
                               hSubMenu != nullptr ? tkpControlPopup : tkpControlButton, tkpButtonAutomatic};
  CWnd* pOwner = GetOwner();
  if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr) {
    const LRESULT answer = pOwner->SendMessage(TKP_WM_BEFORE_CREATE_CONTROL, 0, reinterpret_cast<LPARAM>(&create));
    if (answer == 0) create.pControl = nullptr;
  }
  CTKPControl* pControl = create.pControl;
  if (pControl == nullptr && create.controlType == tkpControlButton && create.nID == TKP_ID_FILE_MRU_FIRST) {
    // A menu's first recent-file item stands for the whole list.
    pControl = new CTKPControlRecentFileList;
  }
  if (pControl == nullptr && create.controlType == tkpControlButton && create.nID == TKP_ID_OLE_VERB_FIRST &&
      create.strCaption == _T("<<OLE VERBS GO HERE>>")) {
    // The place a container's menu keeps for the selected object's verbs; the id alone is a plain button.
    pControl = new CTKPControlOleItems;
  }
  if (pControl == nullptr) {
    pControl = CreateByType(create.controlType == tkpControlPopup ? tkpControlPopup : create.controlType, create.nID);
    if (create.controlType == tkpControlPopup) {
      TKPAttachSubMenu(pControl, hSubMenu != nullptr ? CMenu::FromHandle(hSubMenu) : nullptr, id, GetCommandBars(), pOwner);
    }
  }
  pControl->m_controlType = create.controlType;
  pControl->m_nStyle = create.buttonStyle;
  if (m_pParent != nullptr) m_pParent->m_dwState |= CTKPCommandBar::stateLayoutPending;

  pControl->SetID(create.nID);
  pControl->SetCaption(create.strCaption);
  pControl->SetDefaultItem(isDefault);
  m_arrControls.Add(pControl);
  RefreshIndexes();
  create.pControl = pControl;
  if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr) {
    pOwner->SendMessage(TKP_WM_AFTER_CREATE_CONTROL, 0, reinterpret_cast<LPARAM>(&create));
  }
  return pControl;
}

// ---- removing ------------------------------------------------------------------------------------

void CTKPControls::Remove(CTKPControl* pControl) {
  for (int i = 0; pControl != nullptr && i < GetCount(); ++i) {
    if (m_arrControls[i] == pControl) {
      Remove(i);
      return;
    }
  }
}

void CTKPControls::Remove(int nIndex) {
  CTKPControl* pControl = GetAt(nIndex);
  if (pControl == nullptr) return;
  if (pControl->GetSelected() != 0 && m_pParent != nullptr) m_pParent->SetSelected(-1);
  m_arrControls.RemoveAt(nIndex);
  pControl->m_pControls = nullptr;
  pControl->SetParent(nullptr);
  pControl->InternalRelease();
  RefreshIndexes();
}

void CTKPControls::RemoveAll() {
  // Taken out first, so that a control released here finds no collection to come back to.
  std::vector<CTKPControl*> controls(m_arrControls.GetData(), m_arrControls.GetData() + GetCount());
  m_arrControls.RemoveAll();
  for (CTKPControl* pControl : controls) {
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
  }
}

// ---- finding -------------------------------------------------------------------------------------

CTKPControl* CTKPControls::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrControls[nIndex] : nullptr;
}

CTKPControl* CTKPControls::GetNext(CTKPControl* pControl) const {
  return pControl != nullptr && pControl->m_pControls == this ? GetAt(pControl->GetIndex() + 1) : nullptr;
}

CTKPControl* CTKPControls::FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const {
  for (int i = 0; i < GetCount(); ++i) {
    CTKPControl* pControl = m_arrControls[i];
    const bool typeMatches = nType == 0 || pControl->GetType() == nType;
    const bool shown = !bVisible || pControl->IsVisible();
    if (typeMatches && shown && (nId == -1 || pControl->GetID() == nId)) return pControl;
    const int type = pControl->GetType();
    if (!bRecursive || type < tkpControlPopup || type > tkpControlSplitButtonPopup) continue;
    CTKPCommandBar* pBar = pControl->GetCommandBar();
    CTKPControls* pInner = pBar != nullptr ? pBar->GetControls() : nullptr;
    if (pInner == nullptr || pInner == this) continue;
    if (CTKPControl* pFound = pInner->FindControl(nType, nId, bVisible, bRecursive)) return pFound;
  }
  return nullptr;
}

int CTKPControls::GetNext(int nIndex, int nDirection, BOOL bSkipNoFocus, BOOL bSkipTemporary,
                          BOOL bSkipExpandHidden) const {
  const int count = GetCount();
  if (count == 0 || nDirection == 0) return -1;
  int start = nIndex + nDirection;
  if (nIndex == -1 && nDirection < 0) start = count - 1;
  if (start == nIndex) return nIndex;
  const DWORD reachable = bSkipExpandHidden ? tkpHideScroll : (tkpHideScroll | tkpHideExpand);
  int wraps = 0;
  for (int i = start;; i += nDirection) {
    if (i >= count || i < 0) {
      // Running off the end of a walk that began outside the controls ends it.
      if (nIndex == -1 || ++wraps > 1) return -1;
      i = i >= count ? 0 : count - 1;
    }
    if (i == nIndex) return nIndex;
    const CTKPControl* pControl = m_arrControls[i];
    const bool skip = (pControl->GetHideFlags() & ~reachable) != 0 ||
                      (bSkipNoFocus && (pControl->GetFlags() & tkpFlagSkipFocus)) ||
                      (bSkipTemporary && pControl->IsTemporary());
    if (!skip) return i;
  }
}

CTKPControl* CTKPControls::HitTest(CPoint point) const {
  for (int i = 0; i < GetCount(); ++i) {
    CTKPControl* pControl = m_arrControls[i];
    if (pControl->IsVisible() && pControl->GetRect().PtInRect(point)) return pControl;
  }
  return nullptr;
}

int CTKPControls::GetVisibleCount(BOOL bStrict) const {
  int visible = 0;
  for (int i = 0; i < GetCount(); ++i) {
    DWORD hide = m_arrControls[i]->GetHideFlags();
    if (!bStrict) hide &= ~static_cast<DWORD>(tkpHideWrap);
    visible += hide == 0 ? 1 : 0;
  }
  return visible;
}

// ---- parent and manager --------------------------------------------------------------------------

void CTKPControls::SetParent(CTKPCommandBar* pParent) {
  m_pParent = pParent;
  if (GetCount() > 0) RefreshIndexes();
}

void CTKPControls::RefreshIndexes() {
  for (int i = 0; i < GetCount(); ++i) {
    CTKPControl* pControl = m_arrControls[i];
    pControl->m_nIndex = i;
    pControl->m_pControls = this;
    pControl->SetParent(m_pParent);
  }
  if (m_pParent != nullptr) m_pParent->DelayLayout();
}

CTKPCommandBars* CTKPControls::GetCommandBars() const {
  return m_pParent != nullptr ? m_pParent->GetCommandBars() : m_pCommandBars;
}

// ---- copies and originals ------------------------------------------------------------------------

CTKPControls* CTKPControls::Duplicate(BOOL bRecursive) {
  CTKPControls* pCopy = new CTKPControls;
  pCopy->m_pCommandBars = GetCommandBars();
  for (int i = 0; i < GetCount(); ++i) {
    if (!m_arrControls[i]->IsTemporary()) pCopy->AddClone(m_arrControls[i], -1, bRecursive);
  }
  if (m_pOriginalControls != nullptr) pCopy->m_pOriginalControls = m_pOriginalControls->Duplicate(bRecursive);
  return pCopy;
}

void CTKPControls::CreateOriginalControls() {
  ReleaseOriginalControls();
  m_pOriginalControls = Duplicate(TRUE);
}

void CTKPControls::ReleaseOriginalControls() {
  if (m_pOriginalControls == nullptr) return;
  CTKPControls* pOld = m_pOriginalControls;
  m_pOriginalControls = nullptr;
  pOld->InternalRelease();
}

void CTKPControls::SetOriginalControls(CTKPControls* pOriginal) {
  if (pOriginal == m_pOriginalControls) return;
  if (pOriginal != nullptr) pOriginal->InternalAddRef();
  ReleaseOriginalControls();
  m_pOriginalControls = pOriginal;
}

BOOL CTKPControls::Compare(CTKPControls* pOther) {
  if (pOther == nullptr) return FALSE;
  int i = 0, j = 0;
  for (;;) {
    while (i < GetCount() && m_arrControls[i]->IsTemporary()) ++i;
    while (j < pOther->GetCount() && pOther->m_arrControls[j]->IsTemporary()) ++j;
    if (i == GetCount() || j == pOther->GetCount()) return i == GetCount() && j == pOther->GetCount();
    if (!m_arrControls[i]->Compare(pOther->m_arrControls[j])) return FALSE;
    ++i;
    ++j;
  }
}

BOOL CTKPControls::IsChanged() { return m_pOriginalControls == nullptr || !Compare(m_pOriginalControls); }

// ---- the toolbar layout --------------------------------------------------------------------------

CSize CTKPControls::CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nWidth,
                                    BOOL* pWrapped) {
  CTKPPaintManager* pPaint = m_pParent != nullptr ? m_pParent->GetPaintManager() : CTKPPaintManager::GetCurrentOrDefault();
  TKPLayoutRequest request;
  request.length = nLength;
  request.mode = dwMode;
  request.borders = rcBorder;
  request.minLength = nWidth;
  request.mruWidth = m_pParent != nullptr ? m_pParent->GetMRUWidth() : tkplayout::kNoMRUWidth;
  request.separator = pPaint != nullptr ? pPaint->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE) : CSize(6, 6);
  for (int i = GetCount() - 1; i >= 0; --i) m_arrControls[i]->OnCalcDynamicSize(dwMode);

  std::vector<TKPLayoutRecord> records(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    CTKPControl* pControl = m_arrControls[i];
    TKPLayoutRecord& r = records[i];
    r.visible = (pControl->GetHideFlags() & ~static_cast<DWORD>(tkpHideWrap)) == 0;
    r.size = r.visible ? pControl->GetSize(pDC) : CSize();
    r.rect = pControl->GetRect();
    r.beginGroup = pControl->GetBeginGroup() != FALSE;
    r.farEnd = (pControl->GetFlags() & tkpFlagRightAlign) != 0;
    r.stretch = (pControl->GetFlags() & tkpFlagControlStretched) != 0;
  }
  const CSize size = tkplayout::CalcDynamicSize(records, request);
  if (pWrapped != nullptr) {
    *pWrapped = std::any_of(records.begin(), records.end(),
                            [](const TKPLayoutRecord& r) { return r.visible && (r.hidden || r.wrap); });
  }
  if (dwMode & kTKPLayoutCommit) {
    for (int i = 0; i < GetCount(); ++i) {
      CTKPControl* pControl = m_arrControls[i];
      const TKPLayoutRecord& r = records[i];
      const DWORD hide = pControl->GetHideFlags() & ~static_cast<DWORD>(tkpHideWrap);
      pControl->SetHideFlags(r.hidden ? (hide | tkpHideWrap) : hide);
      pControl->SetRowRect(r.rowRect);
      if (!r.hidden) pControl->SetRect(r.rect);
      pControl->SetWrap(r.wrap);
    }
  }
  return size;
}
