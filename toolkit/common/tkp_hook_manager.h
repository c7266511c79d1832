// CTKPHookManager: subclasses a window on behalf of one or more hook clients, which see its messages
// before the window does. A client answers 0 (not handled: offer it to the next), 1 (handled: the result
// is returned, nothing further sees it) or 2 (not handled, stop offering).
#pragma once

#include <windows.h>

#include <map>
#include <vector>

class CTKPHookClient {
 public:
  virtual ~CTKPHookClient() = default;
  virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;
};

class CTKPHookManager {
 public:
  CTKPHookManager() = default;
  ~CTKPHookManager();
  CTKPHookManager(const CTKPHookManager&) = delete;
  CTKPHookManager& operator=(const CTKPHookManager&) = delete;

  void SetHook(HWND hWnd, CTKPHookClient* pClient);
  void RemoveHook(HWND hWnd, CTKPHookClient* pClient);
  void RemoveAll(CTKPHookClient* pClient);

  BOOL IsHooked(HWND hWnd) const { return m_records.count(hWnd) != 0; }
  int GetClientCount(HWND hWnd) const;

 private:
  struct Record {
    std::vector<CTKPHookClient*> clients;  // not owned; asked from the last added to the first
    WNDPROC previous = nullptr;
  };
  static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
  void Unsubclass(HWND hWnd);
  bool HasClient(HWND hWnd, CTKPHookClient* pClient) const;

  std::map<HWND, Record> m_records;
};

CTKPHookManager* TKPHookManager();
