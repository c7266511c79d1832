#include "ui/skin/transparent_controls.h"

#include "platform/classlib/win/cdc.h"

namespace skin {
namespace {

HBRUSH Hollow(CDC* dc) {
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

}  // namespace

BEGIN_MESSAGE_MAP(CTransparentStatic, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

HBRUSH CTransparentStatic::CtlColor(CDC* dc, UINT) { return Hollow(dc); }

LRESULT CTransparentStatic::OnSetText(WPARAM, LPARAM) {
  LRESULT result = Default();
  CWnd* parent = GetParent();
  if (parent != nullptr) {
    CRect area;
    GetWindowRect(area);
    parent->ScreenToClient(area);
    parent->InvalidateRect(area, TRUE);
    parent->UpdateWindow();
  }
  return result;
}

BEGIN_MESSAGE_MAP(CTransparentButtonCtrl, CButton)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

HBRUSH CTransparentButtonCtrl::CtlColor(CDC* dc, UINT) { return Hollow(dc); }

BOOL CTransparentButtonCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

}  // namespace skin
