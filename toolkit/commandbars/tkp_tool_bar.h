// CTKPToolBar: a bar of command buttons loaded from a toolbar resource, on the command bar base. Until
// the toolbar's controls and its row layout are built it keeps its buttons itself: each shows its
// command's icon from the image manager and, with text below icons, its command's short name (the
// second line of the command's string). Clicks send the command to the bar's owner; the enabled state
// comes from the commands' update handlers at each idle turn.
#pragma once

#include <vector>

#include "platform/classlib/win/cgdiobject.h"
#include "toolkit/commandbars/tkp_command_bar.h"

class CTKPToolBar : public CTKPCommandBar {
  DECLARE_DYNCREATE(CTKPToolBar)

 public:
  CTKPToolBar();

  // The bar's window, a child of pParentWnd (a dock bar) at the position; FALSE when it failed.
  BOOL Create(CWnd* pParentWnd, int nPosition);

  // The buttons of the toolbar resource (type 241: version, width, height, count, then the commands).
  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) override;
  // Buttons, in order; id 0 is a separator.
  void SetButtons(const UINT* ids, int nCount);
  int GetCount() const { return static_cast<int>(m_items.size()); }
  UINT GetItemID(int nIndex) const;
  BOOL IsItemEnabled(int nIndex) const;
  CString GetItemText(int nIndex) const;
  // The button's rectangle in client coordinates (empty for an index outside the bar).
  CRect GetItemRect(int nIndex) const;
  void EnableItem(int nIndex, BOOL bEnable);

  void SetVisible(BOOL bVisible) override;
  BOOL IsVisible() const override;
  BOOL SetPosition(int nPosition) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
  void OnRecalcLayout() override { Relayout(); }

 protected:
  struct Item {
    UINT id = 0;
    CString text;
    BOOL enabled = TRUE;
    CRect rect;
  };
  void Relayout();
  int HitTest(CPoint point) const;
  void DrawItem(CDC* pDC, CTKPPaintManager* pTheme, int nIndex);

  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  std::vector<Item> m_items;
  int m_nHot = -1;
  int m_nPressed = -1;
  BOOL m_bLeaveTracked = FALSE;
  CFont m_font;
};
