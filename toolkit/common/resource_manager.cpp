#include "toolkit/common/resource_manager.h"

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cwinapp.h"

namespace {

HINSTANCE g_toolkitModule = nullptr;
HINSTANCE g_toolkitInstance = nullptr;

const LPCWSTR kToolBarType = MAKEINTRESOURCEW(241);

bool InToolkitModule(LPCWSTR name, LPCWSTR type) {
  return g_toolkitModule && ::FindResourceW(g_toolkitModule, name, type);
}

// The resource's bytes in the module, or null.
const BYTE* ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, DWORD* size) {
  HRSRC info = ::FindResourceW(module, name, type);
  if (!info) return nullptr;
  HGLOBAL data = ::LoadResource(module, info);
  *size = ::SizeofResource(module, info);
  return data ? static_cast<const BYTE*>(::LockResource(data)) : nullptr;
}

// Runs the load from the toolkit's module when it holds the resource, else (or when that failed) from
// the program's.
template <class Load>
auto LoadFromEither(LPCWSTR name, LPCWSTR type, Load load) {
  if (InToolkitModule(name, type)) {
    CTKPResourceSwitch in;
    if (auto result = load()) return result;
  }
  return load();
}

}  // namespace

void TKPSetResourceModule(HINSTANCE hModule, HINSTANCE hInstance) {
  g_toolkitModule = hModule;
  g_toolkitInstance = hInstance;
}

HINSTANCE TKPGetResourceModule() { return g_toolkitModule; }

// An application that has no instance handle of its own borrows the module's companion meanwhile.
CTKPResourceSwitch::CTKPResourceSwitch() {
  if (!g_toolkitModule) return;
  m_hPrevious = AfxGetResourceHandle();
  AfxSetResourceHandle(g_toolkitModule);
  m_switched = true;
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_hInstance == nullptr && g_toolkitInstance != nullptr) {
    app->m_hInstance = g_toolkitInstance;
    m_instanceSwitched = true;
  }
}

CTKPResourceSwitch::~CTKPResourceSwitch() {
  if (m_switched) AfxSetResourceHandle(m_hPrevious);
  CWinApp* app = AfxGetApp();
  if (m_instanceSwitched && app != nullptr) app->m_hInstance = nullptr;
}

CTKPResourceManager::~CTKPResourceManager() { FreeResourceDll(); }

BOOL CTKPResourceManager::LoadString(CString* pString, UINT nIDResource) {
  // Strings are filed in blocks of sixteen.
  LPCWSTR block = MAKEINTRESOURCEW(nIDResource / 16 + 1);
  return LoadFromEither(block, RT_STRING, [&] { return pString->LoadString(nIDResource); });
}

BOOL CTKPResourceManager::LoadMenu(CMenu* pMenu, UINT nIDResource) {
  return LoadFromEither(MAKEINTRESOURCEW(nIDResource), RT_MENU, [&] { return pMenu->LoadMenu(nIDResource); });
}

BOOL CTKPResourceManager::LoadToolBar(CTKPToolBarResource* pToolBar, UINT nIDResource) {
  CTKPResourceSwitch in;
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  HINSTANCE module = AfxFindResourceHandle(name, kToolBarType);
  DWORD size = 0;
  const BYTE* bytes = ResourceBytes(module, name, kToolBarType, &size);
  if (!bytes || !ParseToolBarResource(bytes, size, &pToolBar->m_data)) return FALSE;
  pToolBar->m_bitmap.DeleteObject();
  return pToolBar->m_bitmap.LoadBitmap(nIDResource);
}

BOOL CTKPResourceManager::LoadBitmap(CBitmap* pBitmap, UINT nIDResource) {
  return LoadFromEither(MAKEINTRESOURCEW(nIDResource), RT_BITMAP, [&] {
    pBitmap->DeleteObject();
    return pBitmap->LoadBitmap(nIDResource);
  });
}

HCURSOR CTKPResourceManager::LoadCursor(UINT nIDResource) {
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  return LoadFromEither(name, RT_GROUP_CURSOR, [&] { return ::LoadCursorW(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name); });
}

LPCDLGTEMPLATE CTKPResourceManager::LoadDialogTemplate(UINT nIDResource) {
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  DWORD size = 0;
  HMODULE first = g_toolkitModule ? g_toolkitModule : ::GetModuleHandleW(nullptr);
  const BYTE* bytes = ResourceBytes(first, name, RT_DIALOG, &size);
  if (!bytes) bytes = ResourceBytes(AfxFindResourceHandle(name, RT_DIALOG), name, RT_DIALOG, &size);
  return reinterpret_cast<LPCDLGTEMPLATE>(bytes);
}

void CTKPResourceManager::FreeResourceDll() {
  if (m_hResourceFile) ::FreeLibrary(m_hResourceFile);
  m_hResourceFile = nullptr;
}

int CTKPResourceManager::ShowMessageBox(UINT nIDPrompt, UINT nType) {
  CString text;
  LoadString(&text, nIDPrompt);
  return AfxMessageBox(text, nType);
}

CTKPResourceManager* TKPResourceManager() {
  static CTKPResourceManager manager;
  return &manager;
}
