#include "toolkit/common/tkp_hook_manager.h"

#include <algorithm>

#include "platform/classlib/win/threadstate.h"

CTKPHookManager* TKPHookManager() {
  static CTKPHookManager manager;
  return &manager;
}

CTKPHookManager::~CTKPHookManager() {
  while (!m_records.empty()) Unsubclass(m_records.begin()->first);
}

int CTKPHookManager::GetClientCount(HWND hWnd) const {
  auto it = m_records.find(hWnd);
  return it != m_records.end() ? static_cast<int>(it->second.clients.size()) : 0;
}

bool CTKPHookManager::HasClient(HWND hWnd, CTKPHookClient* pClient) const {
  auto it = m_records.find(hWnd);
  if (it == m_records.end()) return false;
  const auto& clients = it->second.clients;
  return std::find(clients.begin(), clients.end(), pClient) != clients.end();
}

void CTKPHookManager::SetHook(HWND hWnd, CTKPHookClient* pClient) {
  if (hWnd == nullptr || pClient == nullptr || !::IsWindow(hWnd)) return;
  auto it = m_records.find(hWnd);
  if (it == m_records.end()) {
    Record record;
    record.previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CTKPHookManager::HookWndProc)));
    if (record.previous == nullptr) return;
    it = m_records.emplace(hWnd, record).first;
  }
  if (!HasClient(hWnd, pClient)) it->second.clients.push_back(pClient);
}

void CTKPHookManager::RemoveHook(HWND hWnd, CTKPHookClient* pClient) {
  auto it = m_records.find(hWnd);
  if (it == m_records.end()) return;
  auto& clients = it->second.clients;
  clients.erase(std::remove(clients.begin(), clients.end(), pClient), clients.end());
  if (clients.empty()) Unsubclass(hWnd);
}

void CTKPHookManager::RemoveAll(CTKPHookClient* pClient) {
  std::vector<HWND> windows;
  for (const auto& entry : m_records) windows.push_back(entry.first);
  for (HWND hWnd : windows) RemoveHook(hWnd, pClient);
}

// The old procedure goes back only while ours is still the window's: a later subclass keeps ours as its
// previous one, and replacing it would cut that subclass out. Then the record stays, without clients,
// passing everything on until the window dies.
void CTKPHookManager::Unsubclass(HWND hWnd) {
  auto it = m_records.find(hWnd);
  if (it == m_records.end()) return;
  const bool ours = ::IsWindow(hWnd) && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) ==
                                            &CTKPHookManager::HookWndProc;
  if (ours) {
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
  } else if (::IsWindow(hWnd)) {
    return;
  }
  m_records.erase(it);
}

LRESULT CALLBACK CTKPHookManager::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  return TKPHookManager()->Dispatch(hWnd, nMessage, wParam, lParam);
}

namespace {

// While the clients and the previous procedure run, the thread's current message is this one, so that a
// client calling Default() passes on what it was given; the outer message comes back afterwards.
class CurrentMessage {
 public:
  CurrentMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
      : m_state(AfxGetThreadState()), m_saved(m_state->m_lastSentMsg) {
    m_state->m_lastSentMsg.hwnd = hWnd;
    m_state->m_lastSentMsg.message = nMessage;
    m_state->m_lastSentMsg.wParam = wParam;
    m_state->m_lastSentMsg.lParam = lParam;
  }
  ~CurrentMessage() { m_state->m_lastSentMsg = m_saved; }
  CurrentMessage(const CurrentMessage&) = delete;
  CurrentMessage& operator=(const CurrentMessage&) = delete;

 private:
  AFX_THREAD_STATE* m_state;
  MSG m_saved;
};

}  // namespace

LRESULT CTKPHookManager::Dispatch(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  const CurrentMessage current(hWnd, nMessage, wParam, lParam);
  auto it = m_records.find(hWnd);
  if (it == m_records.end()) return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
  const WNDPROC previous = it->second.previous;
  if (nMessage == WM_NCDESTROY) {
    m_records.erase(it);  // the window is going: the record with it, whoever subclassed on top
    return ::CallWindowProcW(previous, hWnd, nMessage, wParam, lParam);
  }
  // A client may remove clients or destroy the window while it is asked: walk a copy and ask only those
  // still registered.
  const std::vector<CTKPHookClient*> clients = it->second.clients;
  for (auto client = clients.rbegin(); client != clients.rend(); ++client) {
    if (!HasClient(hWnd, *client)) {
      if (!IsHooked(hWnd)) break;
      continue;
    }
    LRESULT result = 0;
    const int answer = (*client)->OnHookMessage(hWnd, nMessage, wParam, lParam, result);
    if (answer == 1) return result;
    if (answer == 2) break;
  }
  return ::CallWindowProcW(previous, hWnd, nMessage, wParam, lParam);
}
