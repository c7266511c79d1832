#include "toolkit/common/tkp_mouse_manager.h"

#include <algorithm>

#include "toolkit/common/draw_helpers.h"

namespace {

template <typename T>
void EraseValue(std::vector<T>& list, T value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

}  // namespace

CTKPMouseManager* TKPMouseManager() {
  static thread_local CTKPMouseManager manager;
  return &manager;
}

CTKPMouseManager::CTKPMouseManager() {
  m_hHook = ::SetWindowsHookExW(WH_MOUSE, &CTKPMouseManager::MouseHook, nullptr, ::GetCurrentThreadId());
}

CTKPMouseManager::~CTKPMouseManager() {
  if (m_hHook != nullptr) ::UnhookWindowsHookEx(m_hHook);
}

void CTKPMouseManager::SetTrack(CTKPTrackedBar* pBar) {
  if (pBar == nullptr) return;
  if (m_tracked.empty() && m_pTrackModeBar != nullptr && m_pTrackModeBar != pBar) m_pTrackModeBar->ClearSelection();
  if (std::find(m_tracked.begin(), m_tracked.end(), pBar) == m_tracked.end()) m_tracked.push_back(pBar);
}

void CTKPMouseManager::RemoveTrack(CTKPTrackedBar* pBar) {
  EraseValue(m_tracked, pBar);
  if (m_tracked.empty()) {
    POINT cursor{};
    if (::GetCursorPos(&cursor)) ::SetCursorPos(cursor.x, cursor.y);  // hover states refresh
  }
  m_bSwallowButtonUp = FALSE;
}

// A bar that does not take itself off the list when its tracking ends is taken off here, so the loop
// always ends.
void CTKPMouseManager::SendTrackLost() {
  while (!m_tracked.empty()) {
    CTKPTrackedBar* first = m_tracked.front();
    first->EndTracking();
    if (!m_tracked.empty() && m_tracked.front() == first) RemoveTrack(first);
  }
}

void CTKPMouseManager::SendTrackLostRecurse() {
  if (m_tracked.empty() || m_tracked.front()->m_nLockTrack < 1) return;
  const std::vector<CTKPTrackedBar*> bars = m_tracked;
  for (CTKPTrackedBar* bar : bars) {
    const bool stillTracked = std::find(m_tracked.begin(), m_tracked.end(), bar) != m_tracked.end();
    if (stillTracked && bar->m_nLockTrack == 0) {
      bar->EndTracking();
      EraseValue(m_tracked, bar);
    }
  }
}

void CTKPMouseManager::LockTrackRecurse(BOOL bLock) {
  for (CTKPTrackedBar* bar : m_tracked) bar->m_nLockTrack += bLock ? 1 : -1;
}

BOOL CTKPMouseManager::IsTrackedLock(const CTKPTrackedBar* pBar) const {
  if (m_tracked.empty()) return FALSE;
  if (pBar == nullptr || pBar->m_nLockTrack > 0) return TRUE;
  return std::find(m_tracked.begin(), m_tracked.end(), pBar) == m_tracked.end();
}

void CTKPMouseManager::AddSafeWnd(HWND hWnd) {
  if (std::find(m_safe.begin(), m_safe.end(), hWnd) == m_safe.end()) m_safe.push_back(hWnd);
}

void CTKPMouseManager::RemoveSafeWnd(HWND hWnd) { EraseValue(m_safe, hWnd); }

// The window left before gets its leave at once and loses its timer, so no stray leave follows.
void CTKPMouseManager::TrackMouseLeave(HWND hWnd) {
  if (hWnd == m_hLeaveWnd) return;
  if (m_hLeaveWnd != nullptr && ::IsWindow(m_hLeaveWnd)) {
    ::KillTimer(m_hLeaveWnd, kLeaveTimer);
    ::SendMessageW(m_hLeaveWnd, WM_MOUSELEAVE, 0, 0);
  }
  m_hLeaveWnd = hWnd;
  if (hWnd != nullptr) ::SetTimer(hWnd, kLeaveTimer, kLeavePeriod, &CTKPMouseManager::LeaveTimer);
}

void CALLBACK CTKPMouseManager::LeaveTimer(HWND hWnd, UINT, UINT_PTR, DWORD) {
  CTKPMouseManager* self = TKPMouseManager();
  if (::IsWindow(hWnd)) {
    RECT r{};
    POINT cursor{};
    ::GetWindowRect(hWnd, &r);
    ::GetCursorPos(&cursor);
    const bool active = ::GetParent(hWnd) == nullptr || (::GetWindowLongW(hWnd, GWL_STYLE) & WS_POPUP) ||
                        CTKPDrawHelpers::IsTopParentActive(hWnd);
    if (::PtInRect(&r, cursor) && active) return;
    ::KillTimer(hWnd, kLeaveTimer);
    if (self->m_hLeaveWnd == hWnd) self->m_hLeaveWnd = nullptr;
    ::PostMessageW(hWnd, WM_MOUSELEAVE, 0, 0);
  } else {
    ::KillTimer(hWnd, kLeaveTimer);
    if (self->m_hLeaveWnd == hWnd) self->m_hLeaveWnd = nullptr;
  }
}

bool CTKPMouseManager::InSafeWindow(POINT screen) const {
  for (HWND safe : m_safe) {
    RECT r{};
    if (::IsWindow(safe) && ::IsWindowVisible(safe) && ::GetWindowRect(safe, &r) && ::PtInRect(&r, screen)) return true;
  }
  return false;
}

void CTKPMouseManager::ExamineTrackedMessage(UINT message, POINT screen) {
  if (m_tracked.empty()) return;
  HWND under = ::WindowFromPoint(screen);
  for (auto it = m_tracked.rbegin(); it != m_tracked.rend(); ++it) {
    const int answer = (*it)->IsTrackedPoint(screen);
    if (answer == -2) continue;
    if (answer == 1 || (under != nullptr && ::IsChild((*it)->GetTrackedHwnd(), under))) {
      const bool move = message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE;
      if (move || (*it)->m_nLockTrack == 0 || m_bSwallowButtonUp) return;
      SendTrackLostRecurse();
      m_lastPoint = POINT{0, 0};
      return;
    }
  }
  if (InSafeWindow(screen)) return;
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      const std::vector<CTKPTrackedBar*> bars = m_tracked;
      for (CTKPTrackedBar* bar : bars) {
        if (bar->m_nLockTrack != 0 || !::IsWindow(bar->GetTrackedHwnd())) continue;
        POINT client = screen;
        ::ScreenToClient(bar->GetTrackedHwnd(), &client);
        bar->OnTrackedMouseMove(0, client);
      }
      break;
    }
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
      SendTrackLost();
      break;
    case WM_LBUTTONUP: case WM_NCLBUTTONUP:
      if (m_nLockButtonUp <= 0) SendTrackLost();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK CTKPMouseManager::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  CTKPMouseManager* self = TKPMouseManager();
  if (code != HC_ACTION) return ::CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  const UINT message = static_cast<UINT>(wParam);
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) self->m_bSwallowButtonUp = FALSE;
  if ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && self->m_bSwallowButtonUp) {
    self->m_bSwallowButtonUp = FALSE;
    return 1;
  }
  if ((message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) && self->IsTracked() &&
      info->pt.x == self->m_lastPoint.x && info->pt.y == self->m_lastPoint.y) {
    return 1;
  }
  self->m_lastPoint = info->pt;
  if (self->IsTracked()) self->ExamineTrackedMessage(message, info->pt);
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

CTKPKeyboardManager* TKPKeyboardManager() {
  static thread_local CTKPKeyboardManager manager;
  return &manager;
}

CTKPKeyboardManager::~CTKPKeyboardManager() {
  if (m_hKeyboardHook != nullptr) ::UnhookWindowsHookEx(m_hKeyboardHook);
  if (m_hCallWndHook != nullptr) ::UnhookWindowsHookEx(m_hCallWndHook);
}

void CTKPKeyboardManager::HookKeyboard(CTKPHookClient* pClient) {
  if (m_hKeyboardHook == nullptr) {
    m_hKeyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, &CTKPKeyboardManager::KeyboardHook, nullptr, ::GetCurrentThreadId());
    m_hCallWndHook =
        ::SetWindowsHookExW(WH_CALLWNDPROC, &CTKPKeyboardManager::CallWndProcHook, nullptr, ::GetCurrentThreadId());
  }
  if (pClient != nullptr && std::find(m_clients.begin(), m_clients.end(), pClient) == m_clients.end()) {
    m_clients.push_back(pClient);
  }
}

void CTKPKeyboardManager::UnhookKeyboard(CTKPHookClient* pClient) {
  EraseValue(m_clients, pClient);
  if (!m_clients.empty()) return;
  if (m_hKeyboardHook != nullptr) ::UnhookWindowsHookEx(m_hKeyboardHook);
  if (m_hCallWndHook != nullptr) ::UnhookWindowsHookEx(m_hCallWndHook);
  m_hKeyboardHook = m_hCallWndHook = nullptr;
}

BOOL CTKPKeyboardManager::ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam) {
  const std::vector<CTKPHookClient*> clients = m_clients;  // a client may unhook while asked
  for (auto it = clients.rbegin(); it != clients.rend(); ++it) {
    if (std::find(m_clients.begin(), m_clients.end(), *it) == m_clients.end()) continue;
    WPARAM w = wParam;
    LPARAM l = lParam;
    LRESULT result = 0;
    const int answer = (*it)->OnHookMessage(nullptr, message, w, l, result);
    if (answer == 2) return FALSE;
    if (answer != 0) return TRUE;
  }
  return TRUE;
}

LRESULT CALLBACK CTKPKeyboardManager::KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  CTKPKeyboardManager* self = TKPKeyboardManager();
  const bool keyDown = (lParam & 0x80000000) == 0;
  if (code == HC_ACTION && !self->m_clients.empty() && keyDown) {
    self->m_bPassedKey = FALSE;
    const bool altDown = (lParam & 0x20000000) != 0;
    if (altDown && wParam == VK_MENU && TKPMouseManager()->m_nLockButtonUp <= 0) {
      if (lParam & 0x40000000) return ::CallNextHookEx(nullptr, code, wParam, lParam);  // a repeat
      TKPMouseManager()->SendTrackLost();
      return 1;
    }
    if (self->ProcessKeyboardHooks(WM_KEYDOWN, wParam, lParam)) return 1;
    self->m_bPassedKey = TRUE;
    self->m_passedKey = wParam;
    self->m_passedData = lParam;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CTKPKeyboardManager::TakeHookedKey(const MSG& msg) {
  if (!m_bPassedKey || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return FALSE;
  if (msg.wParam != m_passedKey || msg.lParam != m_passedData) return FALSE;
  m_bPassedKey = FALSE;
  return TRUE;
}

LRESULT CALLBACK CTKPKeyboardManager::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent != nullptr && sent->message == WM_ACTIVATEAPP && sent->wParam == 0) {
    TKPMouseManager()->SendTrackLost();
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
