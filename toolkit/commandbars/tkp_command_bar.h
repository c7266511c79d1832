// CTKPCommandBar: a bar of command buttons along an edge of the frame, painted by a paint manager (its own
// or the process's). Each button shows its command's icon from the image manager and, with text below
// icons, its command's short name (the second line of the command's string). Clicks send the command to
// the bar's owner; the enabled state comes from the commands' update handlers at each idle turn.
// CTKPToolBar loads its buttons from a toolbar resource.
#pragma once

#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/msgmap.h"

class CTKPCommandBars;
class CTKPPaintManager;

class CTKPCommandBar : public CControlBar {
  DECLARE_DYNAMIC(CTKPCommandBar)

 public:
  CTKPCommandBar() = default;
  ~CTKPCommandBar() override;

  // Creates the bar's window, docked along the top of the parent frame.
  BOOL Create(CWnd* pParentWnd, UINT nID, CTKPCommandBars* pCommandBars);

  void ShowTextBelowIcons(BOOL bShow = TRUE);
  // The bar's own theme, deleted with the bar; null: the process's theme.
  void SetPaintManager(CTKPPaintManager* pTheme);
  CTKPPaintManager* GetPaintManager() const;

  // Buttons, in order; id 0 is a separator.
  void SetButtons(const UINT* ids, int nCount);
  int GetCount() const { return static_cast<int>(m_items.size()); }
  UINT GetItemID(int nIndex) const;
  BOOL IsItemEnabled(int nIndex) const;
  CString GetItemText(int nIndex) const;
  // The button's rectangle in client coordinates (empty for an index outside the bar).
  CRect GetItemRect(int nIndex) const;
  void EnableItem(int nIndex, BOOL bEnable);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

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

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  std::vector<Item> m_items;
  CTKPCommandBars* m_pCommandBars = nullptr;
  CTKPPaintManager* m_pTheme = nullptr;
  BOOL m_bTextBelow = FALSE;
  int m_nHot = -1;
  int m_nPressed = -1;
  BOOL m_bTracking = FALSE;
  CFont m_font;
};

class CTKPToolBar : public CTKPCommandBar {
  DECLARE_DYNAMIC(CTKPToolBar)

 public:
  // The buttons of the toolbar resource (type 241: version, width, height, count, then the commands).
  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE);
};
