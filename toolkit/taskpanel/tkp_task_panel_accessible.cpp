// What the task panel tells screen readers about itself: an outline whose children, numbered from 1, are
// each group followed by its items; each child answers through its own object.
#include "toolkit/taskpanel/tkp_task_panel.h"

namespace {

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
  *pszName = ::SysAllocString(reinterpret_cast<const wchar_t*>(static_cast<LPCTSTR>(text)));
  return *pszName ? S_OK : E_OUTOFMEMORY;
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
