// CTKPMouseManager (one per user-interface thread): follows the popup bars being tracked, closes them on
// a click elsewhere, passes mouse movement to them and emulates mouse-leave notifications with a timer.
// CTKPKeyboardManager (one per thread): gives keystrokes to keyboard hook clients while a popup is open
// and closes popups when the application loses activation.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/common/tkp_hook_manager.h"
#include "toolkit/common/tkp_tracked_bar.h"

class CTKPMouseManager {
 public:
  static constexpr UINT_PTR kLeaveTimer = 113341;
  static constexpr UINT kLeavePeriod = 50;

  CTKPMouseManager();
  ~CTKPMouseManager();
  CTKPMouseManager(const CTKPMouseManager&) = delete;
  CTKPMouseManager& operator=(const CTKPMouseManager&) = delete;

  void SetTrack(CTKPTrackedBar* pBar);
  void RemoveTrack(CTKPTrackedBar* pBar);
  void SendTrackLost();
  void SendTrackLostRecurse();
  void LockTrackRecurse(BOOL bLock);
  BOOL IsTrackedLock(const CTKPTrackedBar* pBar = nullptr) const;
  void AddSafeWnd(HWND hWnd);
  void RemoveSafeWnd(HWND hWnd);
  void TrackMouseLeave(HWND hWnd);
  BOOL IsTracked() const { return !m_tracked.empty(); }
  int GetTrackedCount() const { return static_cast<int>(m_tracked.size()); }
  // A drag loop (the lock count) or an open popup holds the mouse: hover states and tips wait.
  BOOL IsMouseHeld() const { return m_nLockButtonUp > 0 || IsTracked(); }

  // A mouse message the hook saw while bars are tracked (public for the keyboard manager and tests).
  void ExamineTrackedMessage(UINT message, POINT screen);

  int m_nLockButtonUp = 0;
  CTKPTrackedBar* m_pTrackModeBar = nullptr;
  BOOL m_bSwallowButtonUp = FALSE;

 private:
  static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK LeaveTimer(HWND hWnd, UINT, UINT_PTR, DWORD);
  bool InSafeWindow(POINT screen) const;

  std::vector<CTKPTrackedBar*> m_tracked;
  std::vector<HWND> m_safe;
  HHOOK m_hHook = nullptr;
  HWND m_hLeaveWnd = nullptr;
  POINT m_lastPoint{0, 0};
};

CTKPMouseManager* TKPMouseManager();

class CTKPKeyboardManager {
 public:
  CTKPKeyboardManager() = default;
  ~CTKPKeyboardManager();
  CTKPKeyboardManager(const CTKPKeyboardManager&) = delete;
  CTKPKeyboardManager& operator=(const CTKPKeyboardManager&) = delete;

  void HookKeyboard(CTKPHookClient* pClient);
  void UnhookKeyboard(CTKPHookClient* pClient);
  // Offered from the last client to the first: FALSE as soon as one answers 2, TRUE as soon as one
  // answers 1 (or any other non-zero), TRUE when all answered 0.
  BOOL ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam = 0);
  BOOL IsKeyboardHooked() const { return m_hKeyboardHook != nullptr; }
  // TRUE, once, for the key message the thread's hook has just offered to the clients and passed on:
  // a loop that offers posted keys itself must not offer that one again.
  BOOL TakeHookedKey(const MSG& msg);

 private:
  static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

  HHOOK m_hKeyboardHook = nullptr;
  HHOOK m_hCallWndHook = nullptr;
  // The last key the hook passed on (virtual key and key data), while it waits to be taken.
  BOOL m_bPassedKey = FALSE;
  WPARAM m_passedKey = 0;
  LPARAM m_passedData = 0;
  std::vector<CTKPHookClient*> m_clients;
};

CTKPKeyboardManager* TKPKeyboardManager();
