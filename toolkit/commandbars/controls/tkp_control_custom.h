// CTKPControlCustom: any window of the application on a command bar. The control reserves the window's
// size plus borders, makes the window a child of the bar and keeps it over its rectangle; while the
// window is missing or hidden the control is a plain button. After loading, the window is found again
// by its control id, among the windows the program's own custom controls host. The window is not owned.
#pragma once

#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/common/tkp_hook_manager.h"

class CTKPControlCustom : public CTKPControlButton, public CTKPHookClient {
  DECLARE_SERIAL(CTKPControlCustom)

 public:
  CTKPControlCustom();
  ~CTKPControlCustom() override;

  // The hosted window (null: none); its control id is kept to find it after loading.
  void SetControl(CWnd* pWnd);
  HWND GetControl() const { return m_hwndControl; }
  void SetSize(CSize size) { m_szControl = size; }
  CSize GetControlSize() const { return m_szControl; }
  void SetBorders(CRect rcBorders) { m_rcBorders = rcBorders; }
  CRect GetBorders() const { return m_rcBorders; }
  // 0 hidden while docked vertically, 1 kept as it is, 2 the window hidden while docked vertically.
  void SetVerticalPositionOption(int nOption) { m_nVerticalOptions = nOption; }
  int GetControlId() const { return m_nControlId; }

  CSize GetSize(CDC* pDC) override;
  void SetRect(CRect rc) override;
  void SetEnabled(BOOL bEnabled) override;
  void SetHideFlags(DWORD dwFlags) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void Copy(CTKPControl* pSource, BOOL bRecursive) override;
  void Draw(CDC* pDC) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint()) override;
  BOOL IsCustomizeDragOverAvail(CTKPCommandBar* pBar, CPoint, int& nEffect) override {
    return DropOnPopupBarsOnly(pBar, nEffect);
  }
  void DoPropExchange(CTKPPropExchange* pPX) override;
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

 private:
  BOOL HasWindow() const { return m_hwndControl != nullptr && ::IsWindow(m_hwndControl); }
  BOOL IsWindowShown() const { return HasWindow() && ::IsWindowVisible(m_hwndControl); }
  // Shows the window when the control is shown in this orientation and not hidden, else hides it.
  void ApplyVisibility();
  void Hook();
  // The window with the control id: a child of the site, else of one of the manager's bars, that a custom
  // control of the manager's bars hosts already. Any other child (the frame's view, its status bar, a dock
  // bar) is no window a stored control may take onto a bar.
  void FindWindowById();

  HWND m_hwndControl = nullptr;
  HWND m_hwndHooked = nullptr;
  CRect m_rcBorders;
  BOOL m_bControlVisible = TRUE;
  CSize m_szControl;
  int m_nVerticalOptions = 0;
  int m_nControlId = 0;
};
