// A stand-in media player control for the tests: an in-process object answering IOleObject, the
// player's typed interface and its settings for the members the media view uses. It keeps a log of the calls (read
// through the export FakeMediaPlayerLog); a URL holding "fail" is refused. FakeMediaPlayerFollow asks its
// site's security manager about an address, as the player does before it opens a playlist's entry. Only the members the view
// calls are filled in; the others stay empty, as nothing calls them. Built for the tests only.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>
#include <servprov.h>
#include <urlmon.h>
#include <wmp.h>

#include <string>

namespace {

// {8E6F2D41-5C3B-4A7E-9D12-6B4A3C2E1F70}
const CLSID kFakeClsid = {0x8E6F2D41, 0x5C3B, 0x4A7E, {0x9D, 0x12, 0x6B, 0x4A, 0x3C, 0x2E, 0x1F, 0x70}};
const IID kPlayer4Iid = {0x6c497d62, 0x8919, 0x413c, {0x82, 0xdb, 0xe9, 0x35, 0xfb, 0x3e, 0xc5, 0x84}};
const IID kSettingsIid = {0x9104d1ab, 0x80c9, 0x4fed, {0xab, 0xf0, 0x2e, 0x64, 0x17, 0xa6, 0xdf, 0x14}};

std::wstring g_log;
struct FakePlayer;
FakePlayer* g_current = nullptr;  // the player made last, while it lives

struct FakePlayer {
  IOleObject ole;
  IWMPPlayer4 player;
  IWMPSettings settings;
  LONG refs;
  IOleClientSite* site;
};

FakePlayer* FromOle(IOleObject* p) { return reinterpret_cast<FakePlayer*>(p); }
FakePlayer* FromPlayer(IWMPPlayer4* p) {
  return reinterpret_cast<FakePlayer*>(reinterpret_cast<char*>(p) - offsetof(FakePlayer, player));
}

HRESULT Query(FakePlayer* self, REFIID riid, void** out) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject)) {
    *out = &self->ole;
  } else if (IsEqualIID(riid, kPlayer4Iid)) {
    *out = &self->player;
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  InterlockedIncrement(&self->refs);
  return S_OK;
}

ULONG Drop(FakePlayer* self) {
  const LONG refs = InterlockedDecrement(&self->refs);
  if (refs == 0) {
    if (self->site != nullptr) self->site->lpVtbl->Release(self->site);
    if (g_current == self) g_current = nullptr;
    delete self;
  }
  return static_cast<ULONG>(refs);
}

// ---- IOleObject --------------------------------------------------------------------------------------------
HRESULT STDMETHODCALLTYPE OleQuery(IOleObject* p, REFIID riid, void** out) { return Query(FromOle(p), riid, out); }
ULONG STDMETHODCALLTYPE OleAddRef(IOleObject* p) { return static_cast<ULONG>(InterlockedIncrement(&FromOle(p)->refs)); }
ULONG STDMETHODCALLTYPE OleRelease(IOleObject* p) { return Drop(FromOle(p)); }
HRESULT STDMETHODCALLTYPE SetClientSite(IOleObject* p, IOleClientSite* site) {
  FakePlayer* self = FromOle(p);
  if (site != nullptr) site->lpVtbl->AddRef(site);
  if (self->site != nullptr) self->site->lpVtbl->Release(self->site);
  self->site = site;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleClose(IOleObject*, DWORD) { return S_OK; }
HRESULT STDMETHODCALLTYPE DoVerb(IOleObject*, LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT) {
  g_log += L"DoVerb " + std::to_wstring(verb) + (::IsWindow(parent) ? L" in a window\n" : L" without a window\n");
  return S_OK;
}

// ---- IWMPPlayer4 ---------------------------------------------------------------------------------------------
HRESULT STDMETHODCALLTYPE PlayerQuery(IWMPPlayer4* p, REFIID riid, void** out) { return Query(FromPlayer(p), riid, out); }
ULONG STDMETHODCALLTYPE PlayerAddRef(IWMPPlayer4* p) {
  return static_cast<ULONG>(InterlockedIncrement(&FromPlayer(p)->refs));
}
ULONG STDMETHODCALLTYPE PlayerRelease(IWMPPlayer4* p) { return Drop(FromPlayer(p)); }
HRESULT STDMETHODCALLTYPE PutUrl(IWMPPlayer4*, BSTR url) {
  const std::wstring text = url != nullptr ? url : L"";
  g_log += L"put_URL " + text + L"\n";
  return text.find(L"fail") == std::wstring::npos ? S_OK : E_FAIL;
}
HRESULT STDMETHODCALLTYPE GetOpenState(IWMPPlayer4*, WMPOpenState* state) {
  g_log += L"get_openState\n";
  *state = wmposMediaOpen;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE GetPlayState(IWMPPlayer4*, WMPPlayState* state) {
  g_log += L"get_playState\n";
  *state = wmppsPlaying;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE GetStatus(IWMPPlayer4*, BSTR* status) {
  g_log += L"get_status\n";
  *status = ::SysAllocString(L"Playing");
  return S_OK;
}
HRESULT STDMETHODCALLTYPE PlayerClose(IWMPPlayer4*) {
  g_log += L"close\n";
  return S_OK;
}

// ---- IWMPSettings: one object per player, living with it -----------------------------------------------
FakePlayer* FromSettings(IWMPSettings* p) {
  return reinterpret_cast<FakePlayer*>(reinterpret_cast<char*>(p) - offsetof(FakePlayer, settings));
}
HRESULT STDMETHODCALLTYPE SettingsQuery(IWMPSettings* p, REFIID riid, void** out) {
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, kSettingsIid)) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = p;
  InterlockedIncrement(&FromSettings(p)->refs);
  return S_OK;
}
ULONG STDMETHODCALLTYPE SettingsAddRef(IWMPSettings* p) {
  return static_cast<ULONG>(InterlockedIncrement(&FromSettings(p)->refs));
}
ULONG STDMETHODCALLTYPE SettingsRelease(IWMPSettings* p) { return Drop(FromSettings(p)); }
HRESULT STDMETHODCALLTYPE PutInvokeUrls(IWMPSettings*, VARIANT_BOOL invoke) {
  g_log += std::wstring(L"put_invokeURLs ") + (invoke != VARIANT_FALSE ? L"1" : L"0") + L"\n";
  return S_OK;
}
HRESULT STDMETHODCALLTYPE GetSettings(IWMPPlayer4* p, IWMPSettings** settings) {
  FakePlayer* self = FromPlayer(p);
  InterlockedIncrement(&self->refs);
  *settings = &self->settings;
  return S_OK;
}

IOleObjectVtbl g_oleVtbl;
IWMPPlayer4Vtbl g_playerVtbl;
IWMPSettingsVtbl g_settingsVtbl;

void FillVtables() {
  g_oleVtbl.QueryInterface = OleQuery;
  g_oleVtbl.AddRef = OleAddRef;
  g_oleVtbl.Release = OleRelease;
  g_oleVtbl.SetClientSite = SetClientSite;
  g_oleVtbl.Close = OleClose;
  g_oleVtbl.DoVerb = DoVerb;
  g_playerVtbl.QueryInterface = PlayerQuery;
  g_playerVtbl.AddRef = PlayerAddRef;
  g_playerVtbl.Release = PlayerRelease;
  g_playerVtbl.put_URL = PutUrl;
  g_playerVtbl.get_openState = GetOpenState;
  g_playerVtbl.get_playState = GetPlayState;
  g_playerVtbl.get_status = GetStatus;
  g_playerVtbl.close = PlayerClose;
  g_playerVtbl.get_settings = GetSettings;
  g_settingsVtbl.QueryInterface = SettingsQuery;
  g_settingsVtbl.AddRef = SettingsAddRef;
  g_settingsVtbl.Release = SettingsRelease;
  g_settingsVtbl.put_invokeURLs = PutInvokeUrls;
}

// ---- the class factory -------------------------------------------------------------------------------------
HRESULT STDMETHODCALLTYPE FactoryQuery(IClassFactory* p, REFIID riid, void** out) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *out = p;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) { return 2; }
ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) { return 1; }
HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory*, IUnknown* outer, REFIID riid, void** out) {
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  auto* self = new FakePlayer{{&g_oleVtbl}, {&g_playerVtbl}, {&g_settingsVtbl}, 1, nullptr};
  g_current = self;
  g_log += L"created\n";
  const HRESULT hr = Query(self, riid, out);
  Drop(self);
  return hr;
}
HRESULT STDMETHODCALLTYPE LockServer(IClassFactory*, BOOL) { return S_OK; }

IClassFactoryVtbl g_factoryVtbl = {FactoryQuery, FactoryAddRef, FactoryRelease, CreateInstance, LockServer};
IClassFactory g_factory = {&g_factoryVtbl};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  FillVtables();
  if (!IsEqualCLSID(clsid, kFakeClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return FactoryQuery(&g_factory, riid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

// The calls so far, one a line; cleared by every read.
extern "C" __declspec(dllexport) const wchar_t* FakeMediaPlayerLog() {
  static std::wstring copy;
  copy = g_log;
  g_log.clear();
  return copy.c_str();
}

// What the site's security manager answers for an action on url: 3 disallowed, 0 allowed, 1 left to the
// system; -1 without a player, a site or a manager.
extern "C" __declspec(dllexport) int FakeMediaPlayerFollow(const wchar_t* url) {
  if (g_current == nullptr || g_current->site == nullptr) return -1;
  IServiceProvider* services = nullptr;
  if (FAILED(g_current->site->lpVtbl->QueryInterface(g_current->site, IID_IServiceProvider,
                                                     reinterpret_cast<void**>(&services))))
    return -1;
  IInternetSecurityManager* manager = nullptr;
  HRESULT hr = services->lpVtbl->QueryService(services, SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                              reinterpret_cast<void**>(&manager));
  services->lpVtbl->Release(services);
  if (FAILED(hr) || manager == nullptr) return -1;
  DWORD policy = URLPOLICY_ALLOW;
  hr = manager->lpVtbl->ProcessUrlAction(manager, url, URLACTION_HTML_SUBFRAME_NAVIGATE, reinterpret_cast<BYTE*>(&policy),
                                         sizeof policy, nullptr, 0, PUAF_DEFAULT, 0);
  manager->lpVtbl->Release(manager);
  if (hr == INET_E_DEFAULT_ACTION) return 1;
  return static_cast<int>(policy);
}
