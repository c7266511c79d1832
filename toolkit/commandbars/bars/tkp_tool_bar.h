// CTKPToolBar: the command bar that docks in one of the frame's dock bars or floats in a small popup
// window of its own, is dragged between those places, resized while it floats, hidden and reset. Its
// controls come from a toolbar resource; the expand button at its far end collects the controls that
// do not fit, and a floating bar carries a close button in its title row.
#pragma once

#include "toolkit/commandbars/bars/tkp_command_bar.h"

class CTKPDockBar;
class CTKPDockContext;
class CTKPPopupBar;

// The toolkit's own controls on a toolbar.
constexpr int TKP_ID_TOOLBAR_EXPAND = 9400;
constexpr int TKP_ID_TOOLBAR_CLOSE = 9401;
constexpr int TKP_CONTROL_TYPE_CLOSE = 26;
constexpr int TKP_CONTROL_TYPE_EXPAND = 28;
// The site hears that a bar was shown or hidden (wParam the bar, lParam the new state).
constexpr UINT TKP_WM_BARVISIBLECHANGED = 10325;
// The hide-wrap layout mode: controls that do not fit are hidden instead of wrapped.
constexpr DWORD TKP_LM_HIDEWRAP = 0x80;

class CTKPToolBar : public CTKPCommandBar {
  DECLARE_SERIAL(CTKPToolBar)

 public:
  CTKPToolBar();
  ~CTKPToolBar() override;

  // The window at the position (0 to 3 docked into that dock bar, 4 floating); FALSE when it failed.
  BOOL Create(CWnd* pParentWnd, int nPosition);
  // The docking flags (TKP_DOCK_*); the docking context is made on first use.
  void EnableDocking(DWORD dwFlags);

  // The buttons of the toolbar resource (type 241: version, width, height, count, then the commands;
  // 0 starts a group) and, with bLoadIcons, their icons from the bitmap of the same id.
  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) override;
  BOOL SetButtons(const UINT* ids, int nCount);

  // The size docked at the length (LM_ modes, plus TKP_LM_HIDEWRAP).
  virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
  // Back to the original controls, when the user agrees.
  virtual void ResetToolBar();
  // Asks whether this bar's changes are to be undone; TRUE on OK.
  BOOL ConfirmReset() const;
  // The expand menu's "Add or Remove Buttons" list of this bar (tkp_tool_bar_add_remove.cpp).
  void BuildAddOrRemoveList(CTKPPopupBar* pPopup);
  // Creates the window when there is none, and makes it a floating popup owned by the site or a child.
  virtual BOOL Attach(CWnd* pSite, BOOL bFloating);

  void DoPropExchange(CTKPPropExchange* pPX) override;
  void SetVisible(BOOL bVisible) override;
  BOOL IsVisible() const override;
  BOOL SetPosition(int nPosition) override;
  void OnRecalcLayout() override;
  // The floating size (borders and the title row included).
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;
  // Hidden for a print preview and shown again as it was.
  // Print preview: a visible bar hides (and counts as hidden) until the preview ends.
  void SetPreviewMode(BOOL bPreview);
  // Tab in a bar inside a dialog moves the focus on to the dialog's next (Shift: previous) tab stop.
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;

  CTKPDockBar* GetDockBar() const { return m_pDockBar; }
  void SetDockBar(CTKPDockBar* pDockBar) { m_pDockBar = pDockBar; }
  CTKPDockContext* GetDockContext() const { return m_pDockContext; }
  BOOL IsBuiltIn() const { return m_bBuiltIn; }
  BOOL IsTearOff() const { return m_bTearOff; }
  void SetBuiltIn(BOOL b) { m_bBuiltIn = b; }
  void SetTearOff(BOOL b) { m_bTearOff = b; }
  void ShowExpandButton(BOOL bShow) { m_bShowExpandButton = bShow; }
  // The expand and close buttons (made on first use).
  CTKPControl* GetExpandButton();
  CTKPControl* GetCloseButton();

 protected:
  void RefreshSiteMenu();
  int AskOnSite(LPCTSTR lpszText, UINT nType) const;
  // The controls laid out inside the borders (at least nWidth wide), the expand button placed; the
  // bar's size.
  CSize LayoutControls(CDC* pDC, int nLength, DWORD dwMode, CRect rcBorders, BOOL bFloating, int nWidth);
  // The caption row of a floating bar, from the paint manager.
  int CaptionHeight(CDC* pDC);
  BOOL IsOverControl(CPoint point) const;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  // A bar inside a dialog (no docking context) takes the focus by tracking from its first control. Once
  // the focus has left the bar and its fields, it tracks no longer (its keys would be lost to the window
  // that has the focus).
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  // A bar that is a direct child of a frame (no dock bar) takes the top of the frame's free room.
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CTKPDockBar* m_pDockBar = nullptr;
  CTKPDockContext* m_pDockContext = nullptr;
  BOOL m_bBuiltIn = TRUE;
  BOOL m_bTearOff = FALSE;
  BOOL m_bPreviewVisible = FALSE;
  BOOL m_bPreview = FALSE;
  BOOL m_bShowExpandButton = TRUE;
};
