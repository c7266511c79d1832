// What the task panel tells screen readers: the panel is an outline whose children, numbered from 1, are
// each group followed by its items; each element answers for itself (CHILDID_SELF) through its own object.
#include "toolkit/taskpanel/tkp_task_panel.h"

namespace {

bool IsSelf(const VARIANT& varChild) { return CTKPAccessible::GetChildIndex(&varChild) == CHILDID_SELF; }

HRESULT Text(const CString& text, BSTR* pszText) {
  if (pszText == nullptr) return E_POINTER;
  *pszText = ::SysAllocString(reinterpret_cast<const wchar_t*>(static_cast<LPCTSTR>(text)));
  return *pszText ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(long value, VARIANT* pvar) {
  if (pvar == nullptr) return E_POINTER;
  ::VariantInit(pvar);
  pvar->vt = VT_I4;
  pvar->lVal = value;
  return S_OK;
}

// The element's IDispatch, counted for the caller.
HRESULT Dispatch(CTKPTaskPanelItem* pItem, VARIANT* pvar) {
  IDispatch* pDispatch = nullptr;
  const HRESULT hr = static_cast<IAccessible*>(pItem)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch));
  if (FAILED(hr)) return hr;
  ::VariantInit(pvar);
  pvar->vt = VT_DISPATCH;
  pvar->pdispVal = pDispatch;
  return S_OK;
}

}  // namespace

long CTKPTaskPanelItem::GetAccessibleState() const {
  long state = STATE_SYSTEM_FOCUSABLE;
  if (IsItemFocused()) state |= STATE_SYSTEM_FOCUSED;
  if (!IsVisible()) state |= STATE_SYSTEM_INVISIBLE;
  if (!GetEnabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  return state;
}

HRESULT CTKPTaskPanelItem::AccGetName(VARIANT varChild, BSTR* pszName) {
  return IsSelf(varChild) ? Text(GetCaption(), pszName) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelItem::AccGetDescription(VARIANT varChild, BSTR* pszDescription) {
  return IsSelf(varChild) ? Text(GetTooltip(), pszDescription) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelItem::AccGetRole(VARIANT varChild, VARIANT* pvarRole) {
  return IsSelf(varChild) ? Number(ROLE_SYSTEM_LISTITEM, pvarRole) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelItem::AccGetState(VARIANT varChild, VARIANT* pvarState) {
  return IsSelf(varChild) ? Number(GetAccessibleState(), pvarState) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelItem::AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
  CRect rc = GetHitTestRect();
  if (m_pPanel && m_pPanel->GetSafeHwnd()) m_pPanel->ClientToScreen(rc);
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.Width();
  *pcyHeight = rc.Height();
  return S_OK;
}

HRESULT CTKPTaskPanelItem::AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_POINTER;
  ::VariantInit(pvarChild);
  if (m_pPanel == nullptr || m_pPanel->GetSafeHwnd() == nullptr) return S_FALSE;
  POINT pt{xLeft, yTop};
  m_pPanel->ScreenToClient(&pt);
  if (!GetHitTestRect().PtInRect(CPoint(pt.x, pt.y))) return S_FALSE;
  return Number(CHILDID_SELF, pvarChild);
}

HRESULT CTKPTaskPanelItem::AccDoDefaultAction(VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  if (m_pPanel) m_pPanel->SetFocusedItem(this);
  return S_OK;
}

// ---- groups ----

long CTKPTaskPanelGroup::GetAccessibleState() const {
  return CTKPTaskPanelItem::GetAccessibleState() | (IsExpanded() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
}

HRESULT CTKPTaskPanelGroup::AccGetDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
  return IsSelf(varChild) ? Text(_T("Expand"), pszDefaultAction) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelGroup::AccDoDefaultAction(VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  SetExpanded(!IsExpanded());
  return S_OK;
}

// ---- items of a group ----

long CTKPTaskPanelGroupItem::GetAccessibleState() const {
  long state = CTKPTaskPanelItem::GetAccessibleState() | STATE_SYSTEM_SELECTABLE;
  if (IsItemSelected()) state |= STATE_SYSTEM_SELECTED;
  if (IsVisible() && GetHitTestRect().IsRectEmpty()) state |= STATE_SYSTEM_INVISIBLE;  // scrolled out
  return state;
}

HRESULT CTKPTaskPanelGroupItem::AccGetDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
  return IsSelf(varChild) ? Text(_T("Click"), pszDefaultAction) : E_INVALIDARG;
}

HRESULT CTKPTaskPanelGroupItem::AccDoDefaultAction(VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  if (m_pPanel == nullptr) return S_OK;
  if (IsAcceptFocus()) m_pPanel->SetFocusedItem(this);
  m_pPanel->OnClick(this);
  return S_OK;
}

HRESULT CTKPTaskPanelGroupItem::AccSelect(long flagsSelect, VARIANT varChild) {
  if (!IsSelf(varChild)) return E_INVALIDARG;
  if (m_pPanel && (flagsSelect & SELFLAG_TAKEFOCUS)) m_pPanel->SetFocusedItem(this);
  if (flagsSelect & SELFLAG_TAKESELECTION) SetItemSelected(TRUE);
  return S_OK;
}

// ---- the panel ----

CTKPTaskPanelItem* CTKPTaskPanel::AccessibleChild(const VARIANT& varChild, bool* pbSelf) const {
  const long nChild = GetChildIndex(&varChild);
  *pbSelf = nChild == CHILDID_SELF;
  long id = 0;
  for (int i = 0; nChild > 0 && i < GetGroupCount(); ++i) {
    CTKPTaskPanelGroup* pGroup = GetAt(i);
    if (++id == nChild) return pGroup;
    if (nChild - id <= pGroup->GetItemCount()) return pGroup->GetAt(static_cast<int>(nChild - id - 1));
    id += pGroup->GetItemCount();
  }
  return nullptr;
}

HRESULT CTKPTaskPanel::AccGetChildCount(long* pcountChildren) {
  if (pcountChildren == nullptr) return E_POINTER;
  long count = 0;
  for (int i = 0; i < GetGroupCount(); ++i) count += 1 + GetAt(i)->GetItemCount();
  *pcountChildren = count;
  return S_OK;
}

HRESULT CTKPTaskPanel::AccGetChild(VARIANT varChild, IDispatch** ppdispChild) {
  if (ppdispChild == nullptr) return E_POINTER;
  *ppdispChild = nullptr;
  bool self = false;
  CTKPTaskPanelItem* pItem = AccessibleChild(varChild, &self);
  if (pItem == nullptr) return E_INVALIDARG;
  return static_cast<IAccessible*>(pItem)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispChild));
}

HRESULT CTKPTaskPanel::AccGetName(VARIANT varChild, BSTR* pszName) {
  if (pszName == nullptr) return E_POINTER;
  *pszName = nullptr;
  bool self = false;
  if (AccessibleChild(varChild, &self) != nullptr) return S_FALSE;  // a child's own object names it
  if (!self) return E_INVALIDARG;
  CString text;
  GetWindowText(text);
  return Text(text, pszName);
}

HRESULT CTKPTaskPanel::AccGetRole(VARIANT varChild, VARIANT* pvarRole) {
  bool self = false;
  if (AccessibleChild(varChild, &self) == nullptr && !self) return E_INVALIDARG;
  return Number(ROLE_SYSTEM_OUTLINE, pvarRole);
}

HRESULT CTKPTaskPanel::AccGetState(VARIANT varChild, VARIANT* pvarState) {
  bool self = false;
  if (AccessibleChild(varChild, &self) == nullptr && !self) return E_INVALIDARG;
  return Number(STATE_SYSTEM_FOCUSABLE, pvarState);
}

HRESULT CTKPTaskPanel::AccLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) {
  if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
  bool self = false;
  CTKPTaskPanelItem* pItem = AccessibleChild(varChild, &self);
  if (pItem == nullptr && !self) return E_INVALIDARG;
  CRect rc;
  if (pItem) {
    rc = pItem->GetHitTestRect();
    ClientToScreen(rc);
  } else {
    GetWindowRect(rc);
  }
  *pxLeft = rc.left;
  *pyTop = rc.top;
  *pcxWidth = rc.Width();
  *pcyHeight = rc.Height();
  return S_OK;
}

HRESULT CTKPTaskPanel::AccHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
  if (pvarChild == nullptr) return E_POINTER;
  ::VariantInit(pvarChild);
  POINT pt{xLeft, yTop};
  CRect window;
  GetWindowRect(window);
  if (!window.PtInRect(CPoint(pt.x, pt.y))) return S_FALSE;
  ScreenToClient(&pt);
  if (CTKPTaskPanelItem* pItem = HitTest(CPoint(pt.x, pt.y))) return Dispatch(pItem, pvarChild);
  return Number(CHILDID_SELF, pvarChild);
}
