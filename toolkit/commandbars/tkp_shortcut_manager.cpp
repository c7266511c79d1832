#include "toolkit/commandbars/tkp_shortcut_manager.h"

#include <vector>

#include "platform/classlib/win/cwinapp.h"

namespace {

constexpr int kMostShortcuts = 1000;
const TCHAR kValue[] = _T("Accelerators");

CString ShortcutSection(LPCTSTR section) { return CString(section) + _T("-Shortcuts"); }

}  // namespace

CTKPShortcutManager::~CTKPShortcutManager() { Replace(nullptr); }

void CTKPShortcutManager::Replace(HACCEL table) {
  if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
  m_hAccel = table;
}

void CTKPShortcutManager::SetAccelerators(UINT nIDResource) {
  // Loaded tables belong to the module; a copy is ours to destroy.
  HACCEL loaded = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
  if (loaded == nullptr) {
    Replace(nullptr);
    return;
  }
  std::vector<ACCEL> keys(static_cast<size_t>(::CopyAcceleratorTableW(loaded, nullptr, 0)));
  if (!keys.empty()) ::CopyAcceleratorTableW(loaded, keys.data(), static_cast<int>(keys.size()));
  Replace(keys.empty() ? nullptr : ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
}

BOOL CTKPShortcutManager::TranslateAccelerator(HWND hWnd, MSG* pMsg) const {
  return m_hAccel != nullptr && hWnd != nullptr && ::TranslateAcceleratorW(hWnd, m_hAccel, pMsg) != 0;
}

int CTKPShortcutManager::GetCount() const {
  return m_hAccel != nullptr ? ::CopyAcceleratorTableW(m_hAccel, nullptr, 0) : 0;
}

void CTKPShortcutManager::LoadShortcuts(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  BYTE* data = nullptr;
  UINT bytes = 0;
  if (!app->GetProfileBinary(ShortcutSection(lpszSection), kValue, &data, &bytes) || data == nullptr) return;
  // What the profile holds is checked before it becomes a table: whole records, a bounded count.
  const UINT count = bytes / sizeof(ACCEL);
  if (bytes % sizeof(ACCEL) == 0 && count > 0 && count <= kMostShortcuts) {
    std::vector<ACCEL> keys(count);
    memcpy(keys.data(), data, bytes);
    Replace(::CreateAcceleratorTableW(keys.data(), static_cast<int>(count)));
  }
  delete[] data;
}

void CTKPShortcutManager::SaveShortcuts(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  std::vector<ACCEL> keys(static_cast<size_t>(GetCount()));
  if (keys.empty()) {
    app->WriteProfileString(ShortcutSection(lpszSection), kValue, nullptr);
    return;
  }
  ::CopyAcceleratorTableW(m_hAccel, keys.data(), static_cast<int>(keys.size()));
  app->WriteProfileBinary(ShortcutSection(lpszSection), kValue, reinterpret_cast<LPBYTE>(keys.data()),
                          static_cast<UINT>(keys.size() * sizeof(ACCEL)));
}
