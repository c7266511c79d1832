// CToolBar: a control bar over the common toolbar window. Its buttons carry command ids (0 for a
// separator) and images of one image list; it sends WM_COMMAND to its owner when a button is clicked,
// and sets its buttons' enabled and checked states from their update handlers when the thread goes
// idle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/classlib/win/ccontrolbar.h"

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)

 public:
  CToolBar() = default;

  // dwCtrlStyle: the toolbar window's styles (TBSTYLE_FLAT, TBSTYLE_TOOLTIPS, TBSTYLE_WRAPABLE);
  // dwStyle: window styles and CBRS_ bar styles.
  virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = AFX_IDW_TOOLBAR);
  using CWnd::CreateEx;

  // The buttons' size and their images' size (before any button is added).
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  // The image list the buttons draw from; the bar does not own it.
  void SetImageList(HIMAGELIST hImageList);
  // Replaces the buttons: button i takes lpIDArray[i] and image i (a 0 id is a separator); with
  // lpImages, button i takes image lpImages[i] instead. FALSE when the bar has no window.
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount, const int* lpImages = nullptr);
  int GetCount() const;
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  // A button that ends its row: the next one starts the next row.
  void SetWrap(int nIndex, BOOL bWrap);
  // The size of all rows of buttons, as the toolbar lays them out.
  CSize GetButtonsSize() const;

  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
};
