// CTKPDialogBar: a toolbar that hosts one child window below a caption row and that the user resizes,
// by any edge while it floats and by its inner edge while it is docked. The caption row shows the
// caption (the bar's title when it has none) and a close button; the bar keeps one client size docked
// and one floating.
#pragma once

#include "toolkit/commandbars/bars/dialog_bar_geometry.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"

// The caption control of a dialog bar.
constexpr int TKP_ID_DIALOGBAR_CAPTION = 9399;
constexpr int TKP_CONTROL_TYPE_CAPTION = 30;

class CTKPPopupBar;

class CTKPDialogBar : public CTKPToolBar {
  DECLARE_SERIAL(CTKPDialogBar)

 public:
  CTKPDialogBar();
  ~CTKPDialogBar() override;

  void SetChild(CWnd* pWnd);
  HWND GetChild() const { return m_hwndChild; }
  void SetCaption(LPCTSTR lpszCaption);
  // The caption, or the title when the caption is empty.
  CString GetCaptionText() const;
  void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
  BOOL IsResizable() const { return m_bResizable; }
  void ShowCaption(BOOL bShow);
  BOOL IsCaptionVisible() const { return m_bCaptionVisible; }
  void SetCaptionPopup(BOOL bPopup) { m_bCaptionPopup = bPopup; }
  // The menu the caption opens (made on first use; null without a manager).
  CTKPPopupBar* GetCaptionPopup();
  // The caption shows a drop-down arrow and opens its menu: the popup is on and has controls.
  BOOL HasCaptionMenu() const;
  // The caption menu is showing.
  BOOL IsCaptionMenuOpen() const;
  void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
  // Whether the caption was last drawn popped.
  BOOL m_bCaptionDrawnOpen = FALSE;
  void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }

  CSize GetDockedClientSize() const { return m_sizes.docked; }
  CSize GetFloatingClientSize() const { return m_sizes.floating; }
  void SetDockedClientSize(CSize size) { m_sizes.docked = size; }
  void SetFloatingClientSize(CSize size) { m_sizes.floating = size; }
  CSize GetMinimumClientSize() const { return m_szMinClient; }
  void SetMinimumClientSize(CSize size) { m_szMinClient = size; }

  // The space around the child window: the borders, the caption row counted in the top.
  void GetBorders(CRect& rcBorders) const;
  // The window resized to a screen rectangle by the edge nHitTest (a drag of that edge); a client
  // smaller than the minimum is refused.
  void ResizeToRect(CRect rcScreen, int nHitTest);

  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
  BOOL IsDialogBar() const override { return TRUE; }
  // Clicks in the caption row keep popups tracked; those in the hosted window count as elsewhere.
  int HitTestTracking(CPoint ptScreen) const override;
  void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
  // A clone (Clone makes one of this class) takes the caption, sizes and flags too.
  void Copy(CTKPCommandBar* pSource, BOOL bRecursive = FALSE) override;

 protected:
  CSize CalcLayout(int nLength, DWORD dwMode, CSize szClient);
  // The child window over the client area less the borders.
  void PlaceChild();

  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  CRect m_rcBorders{3, 3, 3, 3};
  BOOL m_bResizable = TRUE;
  CSize m_szMinClient{50, 50};
  BOOL m_bCaptionVisible = TRUE;
  BOOL m_bCaptionPopup = TRUE;
  int m_nCaptionHeight = 0;
  tkp_dialog_bar::ClientSizes m_sizes;
  HWND m_hwndChild = nullptr;
  CString m_strCaption;
  CTKPPopupBar* m_pCaptionPopup = nullptr;  // one reference held
};
