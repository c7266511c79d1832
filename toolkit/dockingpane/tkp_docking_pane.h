// CTKPDockingPane: one pane, which shows one window of the application inside a tabbed container. It
// lives by reference count; a pane without a container is closed, its window hidden and kept by the
// manager's own window.
#pragma once

#include "toolkit/dockingpane/tkp_docking_pane_base.h"

class CTKPImageManagerIcon;

// Option bits; a pane's effective options add the manager's default options.
enum TKPDockingPaneOptions : DWORD {
  tkpPaneNoCloseable = 1,
  tkpPaneNoHideable = 2,
  tkpPaneNoFloatable = 4,
  tkpPaneNoCaption = 8,
  tkpPaneHasMenuButton = 16,
};

class CTKPDockingPane : public CCmdTarget, public CTKPDockingPaneBase {
 public:
  explicit CTKPDockingPane(CTKPDockingPaneLayout* pLayout);
  ~CTKPDockingPane() override;

  // ---- the pane's window, title and options ---------------------------------------------------------
  // The window shown in the pane (null detaches it; the old window is left where it is).
  void Attach(CWnd* pWnd);
  void Attach(HWND hWnd);
  HWND Detach();
  HWND GetChild() const { return m_hwndChild; }
  void SetID(UINT nID) { m_nID = nID; }
  UINT GetID() const { return m_nID; }
  // "Title\nTab caption"; without a line feed both are the whole text.
  void SetTitle(LPCTSTR lpszTitle);
  void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
  DWORD GetOptions() const;
  void SetMinTrackSize(CSize size) { m_ptMinTrackSize = POINT{size.cx, size.cy}; }
  void SetMaxTrackSize(CSize size) { m_ptMaxTrackSize = POINT{size.cx, size.cy}; }
  void SetIconID(int nIconID) { m_nIconID = nIconID; }
  int GetIconID() const { return m_nIconID; }

  virtual void SetFocus();
  virtual CString GetTitle() const;
  virtual CString GetTabCaption() const;
  // The image manager's icon of the icon id, or of the pane id when the icon id is -1.
  virtual CTKPImageManagerIcon* GetIcon(int nWidth) const;
  virtual COLORREF GetItemColor() const;
  virtual void Copy(const CTKPDockingPane* pPane);

  BOOL IsFocus() const;
  BOOL IsClosed() const { return m_pParentContainer == nullptr; }
  BOOL IsSelected() const;
  void Close();
  // Sends the pane (its group with the manager's hide-group flag) to the auto-hide panel of its side.
  void Hide();
  void Show(BOOL bShow);

  // ---- overrides of the base ------------------------------------------------------------------------
  void OnSizeParent(CWnd* pParent, CRect rect, AFX_SIZEPARENTPARAMS* lpLayout) override;
  void SetParentContainer(CTKPDockingPaneBase* pContainer) override;
  void OnIdleUpdate() override;
  void GetMinMaxInfo(MINMAXINFO* pMinMaxInfo) const override;
  BOOL IsHidden() const override;
  // A pane with the same id, title, options and sizes, without a window, tab colour or help id.
  CTKPDockingPaneBase* Clone(CTKPDockingPaneLayout* pLayout, CMapPtrToPtr* pMap, DWORD dwSkipOptions = 0) override;
  void SaveRecord(dock::ObjectRecord* pRecord) const override;
  void LoadRecord(const dock::ObjectRecord& record, const std::vector<CTKPDockingPaneBase*>& objects) override;

  DWORD m_dwData = 0;      // the application's value ("Tag")
  COLORREF m_clrItemTab = static_cast<COLORREF>(-1);
  DWORD m_nHelpId = 0;

 private:
  HWND ManagerHwnd() const;

  HWND m_hwndChild = nullptr;
  UINT m_nID = 0;
  int m_nIconID = -1;
  CString m_strTitle;
  DWORD m_dwOptions = 0;
  POINT m_ptMinTrackSize{0, 0};
  POINT m_ptMaxTrackSize{dock::kMaxTrack, dock::kMaxTrack};
};
