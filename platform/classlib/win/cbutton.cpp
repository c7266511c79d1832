// CButton and CBitmapButton.
#include "platform/classlib/win/cbutton.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/controlsupport.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

// ---- CButton --------------------------------------------------------------------------------------

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(GetStyle()) & 0xFFFF; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  SendMessage(BM_SETSTYLE, static_cast<WPARAM>(static_cast<WORD>(nStyle)), bRedraw);
}
HICON CButton::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CButton::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP)); }

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return CWnd::OnChildNotify(message, wParam, lParam, pResult) || AfxReflectDrawItem(this, message, lParam, pResult);
}

// ---- CBitmapButton --------------------------------------------------------------------------------

namespace {
// Loads one state's bitmap; no name leaves the state without one.
BOOL LoadState(CBitmap& bitmap, LPCTSTR name) {
  bitmap.DeleteObject();
  return name == nullptr || bitmap.LoadBitmap(name);
}
LPCTSTR ResourceName(UINT nID) { return nID != 0 ? MAKEINTRESOURCEW(nID) : nullptr; }
}  // namespace

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus,
                                UINT nIDBitmapResourceDisabled) {
  return LoadBitmaps(ResourceName(nIDBitmapResource), ResourceName(nIDBitmapResourceSel),
                     ResourceName(nIDBitmapResourceFocus), ResourceName(nIDBitmapResourceDisabled));
}

BOOL CBitmapButton::LoadBitmaps(LPCTSTR lpszBitmapResource, LPCTSTR lpszBitmapResourceSel,
                                LPCTSTR lpszBitmapResourceFocus, LPCTSTR lpszBitmapResourceDisabled) {
  BOOL up = lpszBitmapResource != nullptr && LoadState(m_bitmap, lpszBitmapResource);
  BOOL others = LoadState(m_bitmapSel, lpszBitmapResourceSel) & LoadState(m_bitmapFocus, lpszBitmapResourceFocus) &
                LoadState(m_bitmapDisabled, lpszBitmapResourceDisabled);
  return up && others;
}

void CBitmapButton::SizeToContent() {
  BITMAP info{};
  if (m_bitmap.GetSafeHandle() == nullptr || m_bitmap.GetBitmap(&info) == 0) return;
  SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CBitmap* pBitmap = &m_bitmap;
  UINT state = lpDrawItemStruct->itemState;
  if ((state & ODS_SELECTED) != 0 && m_bitmapSel.GetSafeHandle() != nullptr) {
    pBitmap = &m_bitmapSel;
  } else if ((state & ODS_FOCUS) != 0 && m_bitmapFocus.GetSafeHandle() != nullptr) {
    pBitmap = &m_bitmapFocus;
  } else if ((state & ODS_DISABLED) != 0 && m_bitmapDisabled.GetSafeHandle() != nullptr) {
    pBitmap = &m_bitmapDisabled;
  }
  BITMAP info{};
  if (pBitmap->GetSafeHandle() == nullptr || pBitmap->GetBitmap(&info) == 0) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return;
  CBitmap* pOld = memDC.SelectObject(pBitmap);
  const RECT& rect = lpDrawItemStruct->rcItem;
  int width = std::min<int>(rect.right - rect.left, info.bmWidth);
  int height = std::min<int>(rect.bottom - rect.top, info.bmHeight);
  pDC->BitBlt(rect.left, rect.top, width, height, &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}
