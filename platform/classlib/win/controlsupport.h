// What the control wrappers share: loading the common-control classes, typed temporary wrappers of
// control windows, and owner drawing handed back to the control by its parent.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/win/cwnd.h"

// Registers the common-control window classes of the ICC_ bits (once per class; cheap after that).
void AfxInitCommonControls(DWORD dwClasses);
// Creates pWnd's window: a child control of a common-control class, registered first.
BOOL AfxCreateControl(CWnd* pWnd, DWORD dwClasses, LPCTSTR lpszClassName, DWORD dwExStyle, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID);

// The control object of a window when it is of class T, else a temporary T wrapper of the thread.
template <class T>
T* AfxControlFromHandle(HWND hWnd) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd != nullptr && pWnd->IsKindOf(T::GetThisClass())) return static_cast<T*>(pWnd);
  return CHandleMap<T, HWND>::FromHandle(hWnd);
}

// FromHandle and the temporary wrappers of a control class that members of other classes hand out.
#define CLASSLIB_CONTROL_HANDLE(theClass)                                                 \
 public:                                                                                  \
  static theClass* FromHandle(HWND hWnd) { return AfxControlFromHandle<theClass>(hWnd); } \
  static theClass* NewTemporary(HWND hWnd) {                                              \
    auto* p = new theClass;                                                               \
    p->m_hWnd = hWnd;                                                                     \
    return p;                                                                             \
  }                                                                                       \
  static void DeleteTemporary(theClass* p) {                                              \
    p->m_hWnd = nullptr;                                                                  \
    delete p;                                                                             \
  }

// The fields that list-view and tree-view item records share (LVITEMW, TVITEMW), filled from a member's
// arguments; the caller adds the item's place.
template <class Item>
Item AfxMakeItem(UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask, LPARAM lParam) {
  Item item{};
  item.mask = nMask;
  item.pszText = const_cast<LPTSTR>(lpszItem);
  item.iImage = nImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return item;
}

// A reflected WM_DRAWITEM goes to the control's DrawItem (answered TRUE); FALSE for other messages.
template <class Control>
BOOL AfxReflectDrawItem(Control* pControl, UINT message, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return FALSE;
  pControl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult != nullptr) *pResult = TRUE;
  return TRUE;
}

// The four owner-draw messages of list boxes and combo boxes, to the control's virtual handlers.
template <class Control>
BOOL AfxReflectOwnerDrawItems(Control* pControl, UINT message, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  if (pResult == nullptr) pResult = &ignored;
  switch (message) {
    case WM_DRAWITEM:
      return AfxReflectDrawItem(pControl, message, lParam, pResult);
    case WM_MEASUREITEM:
      pControl->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      *pResult = TRUE;
      return TRUE;
    case WM_COMPAREITEM:
      *pResult = pControl->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      return TRUE;
    case WM_DELETEITEM:
      pControl->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      *pResult = TRUE;
      return TRUE;
    default:
      return FALSE;
  }
}
