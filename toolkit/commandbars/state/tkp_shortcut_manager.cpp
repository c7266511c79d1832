#include "toolkit/commandbars/state/tkp_shortcut_manager.h"

#include <string>
#include <vector>

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/state/key_names.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");
static_assert(sizeof(ACCEL) == tkpkeys::kRecordBytes, "the stored records are Win32's accelerator records");

namespace {

const TCHAR kValue[] = _T("Accelerators");
constexpr int kMostLayouts = 16;
constexpr int kKeyNameChars = 50;

std::vector<ACCEL> Entries(HACCEL table) {
  std::vector<ACCEL> keys(table != nullptr ? static_cast<size_t>(::CopyAcceleratorTableW(table, nullptr, 0)) : 0);
  if (!keys.empty()) ::CopyAcceleratorTableW(table, keys.data(), static_cast<int>(keys.size()));
  return keys;
}

tkpkeys::Accel ToAccel(const ACCEL& a) { return tkpkeys::Accel{a.fVirt, a.key, a.cmd}; }

// The keyboard driver's name of the key, read as "Ctrl" rather than "CTRL".
CString SystemKeyName(UINT vk) {
  if (vk == VK_CANCEL) return CString();
  const UINT scan = ::MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
  LONG lParam = static_cast<LONG>(scan << 16) | 1;
  if (vk >= VK_PRIOR && vk <= VK_HELP) lParam |= 1 << 24;  // the extended keys
  wchar_t name[kKeyNameChars] = {};
  const int length = ::GetKeyNameTextW(lParam, name, kKeyNameChars);
  if (length <= 0) return CString();
  return CString::FromUtf16(tkpkeys::CapitaliseSystemName(std::u16string(reinterpret_cast<const char16_t*>(name), length)));
}

}  // namespace

HACCEL TKPCopyAccelTable(HACCEL table) {
  const std::vector<ACCEL> keys = Entries(table);
  return keys.empty() ? nullptr : ::CreateAcceleratorTableW(const_cast<ACCEL*>(keys.data()), static_cast<int>(keys.size()));
}

CTKPShortcutManager::CTKPShortcutManager(CTKPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CTKPShortcutManager::~CTKPShortcutManager() {
  Destroy(m_hAccelTable);
  Destroy(m_hOriginalAccelTable);
}

void CTKPShortcutManager::Destroy(HACCEL& table) {
  if (table != nullptr) ::DestroyAcceleratorTable(table);
  table = nullptr;
}

void CTKPShortcutManager::SetAccelerators(UINT nIDResource) {
  Destroy(m_hAccelTable);
  Destroy(m_hOriginalAccelTable);
  // A loaded table belongs to its module; the copies are ours to destroy.
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_ACCELERATOR);
  HACCEL loaded = module != nullptr ? ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(nIDResource)) : nullptr;
  if (loaded == nullptr) return;
  m_hOriginalAccelTable = TKPCopyAccelTable(loaded);
  m_hAccelTable = TKPCopyAccelTable(loaded);
}

BOOL CTKPShortcutManager::SetAccelerators(const ACCEL* pEntries, int nCount) {
  if (nCount == 0) {
    // The user removed the last shortcut: no table in use, the resource copy kept for resetting.
    Destroy(m_hAccelTable);
    return TRUE;
  }
  if (pEntries == nullptr || nCount < 0 || nCount > static_cast<int>(tkpkeys::kMostRecords)) return FALSE;
  HACCEL table = ::CreateAcceleratorTableW(const_cast<ACCEL*>(pEntries), nCount);
  if (table == nullptr) return FALSE;
  Destroy(m_hAccelTable);
  m_hAccelTable = table;
  return TRUE;
}

void CTKPShortcutManager::Reset() {
  Destroy(m_hAccelTable);
  m_hAccelTable = TKPCopyAccelTable(m_hOriginalAccelTable);
}

BOOL CTKPShortcutManager::TranslateAccelerator(HWND hWnd, MSG* pMsg) const {
  if (m_nDisableShortcuts > 0 || m_hAccelTable == nullptr || hWnd == nullptr) return FALSE;
  return ::TranslateAcceleratorW(hWnd, m_hAccelTable, pMsg) != 0;
}

int CTKPShortcutManager::GetCount() const {
  return m_hAccelTable != nullptr ? ::CopyAcceleratorTableW(m_hAccelTable, nullptr, 0) : 0;
}

void CTKPShortcutManager::LoadShortcuts(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || m_hOriginalAccelTable == nullptr) return;
  BYTE* data = nullptr;
  UINT bytes = 0;
  if (!app->GetProfileBinary(lpszSection, kValue, &data, &bytes) || data == nullptr) return;
  // An empty stored table is the user's: every shortcut was removed.
  if (bytes == 0) {
    delete[] data;
    SetAccelerators(nullptr, 0);
    return;
  }
  // The profile can be edited by anyone: a table that is not whole and sound leaves ours as it is.
  std::vector<tkpkeys::Accel> read;
  const bool sound = tkpkeys::ParseAccelTable(data, bytes, read);
  delete[] data;
  if (!sound) return;
  std::vector<ACCEL> keys;
  for (const tkpkeys::Accel& a : read) keys.push_back(ACCEL{a.flags, a.key, a.command});
  SetAccelerators(keys.data(), static_cast<int>(keys.size()));
}

void CTKPShortcutManager::SaveShortcuts(LPCTSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || m_hOriginalAccelTable == nullptr) return;
  std::vector<tkpkeys::Accel> table;
  for (const ACCEL& a : Entries(m_hAccelTable)) table.push_back(ToAccel(a));
  // An empty table is stored as an empty value, so that the next run does not take ours back.
  std::vector<uint8_t> bytes = tkpkeys::SerialiseAccelTable(table);
  app->WriteProfileBinary(lpszSection, kValue, bytes.data(), static_cast<UINT>(bytes.size()));
}

CString CTKPShortcutManager::GetKeyNameText(UINT uiVirtKey) {
  CString name;
  if (m_bUseSystemKeyNameText) name = SystemKeyName(uiVirtKey);
  if (name.IsEmpty()) name = CString::FromUtf16(tkpkeys::BuiltInKeyName(uiVirtKey));
  if (name.IsEmpty() && !m_bUseSystemKeyNameText) name = SystemKeyName(uiVirtKey);
  return name;
}

CString CTKPShortcutManager::Format(const ACCEL* pAccel, int* pPriority) {
  if (pAccel == nullptr) return CString();
  return CString::FromUtf16(tkpkeys::FormatShortcut(
      ToAccel(*pAccel), [this](unsigned vk) { return GetKeyNameText(vk).ToUtf16(); }, pPriority));
}

BOOL CTKPShortcutManager::IsAccelAllowed(ACCEL accel) {
  return tkpkeys::IsAccelAllowed(ToAccel(accel), m_bAllowEscapeShortcut != FALSE);
}

HACCEL CTKPShortcutManager::LookupTable() const {
  if (m_hAccelTable != nullptr) return m_hAccelTable;
  if (m_hOriginalAccelTable != nullptr || m_pCommandBars == nullptr) return nullptr;
  CWnd* site = m_pCommandBars->GetSite();
  if (site == nullptr || !site->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return nullptr;
  return static_cast<CFrameWnd*>(site)->m_hAccelTable;
}

BOOL CTKPShortcutManager::FindDefaultAccelerator(int nCommand, CString& strText) {
  HACCEL table = LookupTable();
  if (table == nullptr || nCommand <= 0 || nCommand > 0xFFFF) return FALSE;
  std::vector<tkpkeys::Accel> entries;
  for (const ACCEL& a : Entries(table)) entries.push_back(ToAccel(a));
  std::u16string text = strText.ToUtf16();
  const bool found = tkpkeys::PreferredShortcut(
      entries, static_cast<unsigned>(nCommand), [this](unsigned vk) { return GetKeyNameText(vk).ToUtf16(); }, text);
  strText = CString::FromUtf16(text);
  return found;
}

BOOL CTKPShortcutManager::GetMenuShortcut(int nCommand, CString& strText) {
  // An emptied table still rules the menus: they show no shortcut rather than their tab texts.
  if (!m_bShowMenuShortcutsFromAccelerators || (LookupTable() == nullptr && m_hOriginalAccelTable == nullptr)) {
    return FALSE;
  }
  if (!FindDefaultAccelerator(nCommand, strText)) strText.Empty();
  return TRUE;
}

BOOL CTKPShortcutManager::CompareAccelKey(WCHAR chAccel, UINT wParam) {
  if (::MapVirtualKeyW(wParam, MAPVK_VK_TO_CHAR) == 0) return FALSE;
  const auto upper = [](WCHAR c) { return static_cast<WCHAR>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c))))); };
  if (chAccel == wParam || upper(chAccel) == wParam) return TRUE;
  HKL layouts[kMostLayouts] = {};
  const int count = ::GetKeyboardLayoutList(kMostLayouts, layouts);
  if (count < 2) return FALSE;
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  for (int i = 0; i < count; ++i) {
    wchar_t produced[4] = {};
    const UINT scan = ::MapVirtualKeyExW(wParam, MAPVK_VK_TO_VSC, layouts[i]);
    if (::ToUnicodeEx(wParam, scan, state, produced, 4, 0, layouts[i]) == 1 &&
        (produced[0] == chAccel || upper(produced[0]) == upper(chAccel))) {
      return TRUE;
    }
  }
  return FALSE;
}
