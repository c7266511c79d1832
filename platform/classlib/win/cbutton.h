// CButton: a push button, check box, radio button or group box; CBitmapButton: an owner-drawn button
// showing one bitmap per state. Owner-drawn buttons (BS_OWNERDRAW) get their parent's WM_DRAWITEM
// in DrawItem.
#pragma once

#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cwnd.h"

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  CButton() = default;
  virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int nCheck);
  // The check state with BST_PUSHED and BST_FOCUS.
  UINT GetState() const;
  void SetState(BOOL bHighlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
  // Each answers the image shown before (the button does not destroy images it is given).
  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP hBitmap);
  HBITMAP GetBitmap() const;

  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CBitmapButton : public CButton {
  DECLARE_DYNAMIC(CBitmapButton)

 public:
  CBitmapButton() = default;

  // Resource ids of the bitmaps for up, selected (pushed), focused and disabled; 0 leaves one out
  // (the up bitmap stands in for it). FALSE when the up bitmap does not load.
  BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0,
                   UINT nIDBitmapResourceDisabled = 0);
  BOOL LoadBitmaps(LPCTSTR lpszBitmapResource, LPCTSTR lpszBitmapResourceSel = nullptr,
                   LPCTSTR lpszBitmapResourceFocus = nullptr, LPCTSTR lpszBitmapResourceDisabled = nullptr);
  // Sizes the window to the up bitmap.
  void SizeToContent();

  // Copies the bitmap of the item's state to the item's top-left corner, clipped to the item.
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  CBitmap m_bitmap;
  CBitmap m_bitmapSel;
  CBitmap m_bitmapFocus;
  CBitmap m_bitmapDisabled;
};
