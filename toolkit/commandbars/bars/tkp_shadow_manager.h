// The soft shadow that popup bars (and toolbar controls whose popup is open) cast to their right and
// below: two small top-most tool windows per popup, per-pixel alpha layered windows when the system
// offers UpdateLayeredWindow, else opaque strips. One process-wide manager makes them, keeps them with
// the window that casts them (hidden and destroyed with it) and removes them.
#pragma once

#include <windows.h>

#include <list>

#include "platform/classlib/win/classlib_win.h"
#include "toolkit/common/tkp_hook_manager.h"

class CTKPCommandBar;
class CTKPControlPopup;

class CTKPShadowWnd : public CWnd, public CTKPHookClient {
 public:
  CTKPShadowWnd(BOOL bHorizontal, BOOL bThemeShadow, CTKPCommandBar* pOwner)
      : m_bHorizontal(bHorizontal), m_bThemeShadow(bThemeShadow), m_pOwner(pOwner) {}

  BOOL IsHorizontal() const { return m_bHorizontal; }
  CTKPCommandBar* GetOwnerBar() const { return m_pOwner; }
  void Detach() { m_pOwner = nullptr; }
  // The window's region is its client area less the part under the screen rectangle.
  void ExcludeRect(const CRect& rcScreen);
  // Hands the strip's alpha picture to the system.
  void UpdateLayered();
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bHorizontal;
  BOOL m_bThemeShadow;
  CTKPCommandBar* m_pOwner;
};

class CTKPShadowsManager {
 public:
  CTKPShadowsManager();
  ~CTKPShadowsManager();
  CTKPShadowsManager(const CTKPShadowsManager&) = delete;
  CTKPShadowsManager& operator=(const CTKPShadowsManager&) = delete;

  // The shadow of a popup bar; rcExclude is the screen rectangle of the control that opened it.
  void SetShadow(CTKPCommandBar* pBar, const CRect& rcExclude);
  // The shadow of a toolbar control whose popup is open, owned by that popup.
  void SetShadow(CTKPControlPopup* pControl);
  // Every shadow the bar casts goes.
  void RemoveShadow(CTKPCommandBar* pBar);

  BOOL IsLayered() const { return m_pUpdateLayeredWindow != nullptr; }
  // The shadows alive, for the bar (or all with null).
  int GetShadowCount(const CTKPCommandBar* pBar = nullptr) const;
  CTKPShadowWnd* GetShadow(const CTKPCommandBar* pBar, BOOL bHorizontal) const;

  using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                DWORD);
  UpdateLayeredWindowProc GetUpdateLayeredWindow() const { return m_pUpdateLayeredWindow; }

 private:
  void CreateShadow(BOOL bHorizontal, const CRect& rc, const CRect& rcExclude, CTKPCommandBar* pOwner);
  void DestroyShadow(CTKPShadowWnd* pShadow);
  friend class CTKPShadowWnd;

  UpdateLayeredWindowProc m_pUpdateLayeredWindow = nullptr;
  std::list<CTKPShadowWnd*> m_shadows;
};

CTKPShadowsManager* TKPShadowsManager();
