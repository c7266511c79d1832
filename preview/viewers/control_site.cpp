#include "preview/viewers/control_site.h"

#include <cstring>

#include "preview/address_reach.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");

namespace {

bool LeavesMachine(LPCWSTR url) {
  return url != nullptr && preview::ReachesOutside(reinterpret_cast<const char16_t*>(url));
}

}  // namespace

STDMETHODIMP LocalOnlySecurityManager::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IInternetSecurityManager) {
    *ppv = static_cast<IInternetSecurityManager*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) LocalOnlySecurityManager::Release() {
  const ULONG refs = --m_refs;
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP LocalOnlySecurityManager::GetSecuritySite(IInternetSecurityMgrSite** site) {
  if (site != nullptr) *site = nullptr;
  return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP LocalOnlySecurityManager::MapUrlToZone(LPCWSTR url, DWORD* zone, DWORD) {
  if (!LeavesMachine(url)) return INET_E_DEFAULT_ACTION;
  if (zone == nullptr) return E_POINTER;
  *zone = URLZONE_UNTRUSTED;
  return S_OK;
}

STDMETHODIMP LocalOnlySecurityManager::ProcessUrlAction(LPCWSTR url, DWORD, BYTE* policy, DWORD policySize, BYTE*,
                                                        DWORD, DWORD, DWORD) {
  if (!LeavesMachine(url)) return INET_E_DEFAULT_ACTION;
  if (policy != nullptr && policySize >= sizeof(DWORD)) {
    const DWORD disallow = URLPOLICY_DISALLOW;
    std::memcpy(policy, &disallow, sizeof disallow);
  }
  return S_FALSE;  // the action is not allowed
}

STDMETHODIMP InPlaceControlSite::QueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
    *ppv = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx) {
    *ppv = static_cast<IOleInPlaceSiteEx*>(this);
  } else if (riid == IID_IDispatch && m_downloadControl != 0) {
    *ppv = static_cast<IDispatch*>(this);
  } else if (riid == IID_IServiceProvider) {
    *ppv = static_cast<IServiceProvider*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) InPlaceControlSite::Release() {
  const ULONG refs = --m_refs;
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP InPlaceControlSite::GetContainer(IOleContainer** container) {
  *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP InPlaceControlSite::GetWindow(HWND* window) {
  *window = m_window;
  return S_OK;
}

STDMETHODIMP InPlaceControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  *frame = nullptr;
  *document = nullptr;
  ::GetClientRect(m_window, position);
  ::GetClientRect(m_window, clip);
  info->fMDIApp = FALSE;
  info->hwndFrame = ::GetAncestor(m_window, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP InPlaceControlSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
  if (noRedraw != nullptr) *noRedraw = FALSE;
  return S_OK;
}

STDMETHODIMP InPlaceControlSite::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP InPlaceControlSite::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                        EXCEPINFO*, UINT*) {
  // The download-control ambient property of web-browser controls.
  constexpr DISPID kAmbientDownloadControl = -5512;
  if (member != kAmbientDownloadControl || (flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
  if (result == nullptr) return E_POINTER;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = static_cast<LONG>(m_downloadControl);
  return S_OK;
}

STDMETHODIMP InPlaceControlSite::QueryService(REFGUID service, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (service != SID_SInternetSecurityManager) return E_NOINTERFACE;
  auto* manager = new LocalOnlySecurityManager;
  const HRESULT hr = manager->QueryInterface(riid, ppv);
  manager->Release();
  return hr;
}

bool InPlaceControl::Activate(IUnknown* control, HWND window, DWORD downloadControl) {
  void* object = nullptr;
  if (FAILED(control->QueryInterface(IID_IOleObject, &object)) || object == nullptr) return true;
  m_pObject = static_cast<IOleObject*>(object);
  m_pSite = new InPlaceControlSite(window, downloadControl);
  RECT client{};
  ::GetClientRect(window, &client);
  return SUCCEEDED(m_pObject->SetClientSite(m_pSite)) &&
         SUCCEEDED(m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, window, &client));
}

void InPlaceControl::Place(int cx, int cy) {
  IOleInPlaceObject* inPlace = nullptr;
  if (m_pObject == nullptr ||
      FAILED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))))
    return;
  const RECT place{0, 0, cx, cy};
  inPlace->SetObjectRects(&place, &place);
  inPlace->Release();
}

void InPlaceControl::Release() {
  if (m_pObject != nullptr) {
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pObject->SetClientSite(nullptr);
    m_pObject->Release();
    m_pObject = nullptr;
  }
  if (m_pSite != nullptr) m_pSite->Release();
  m_pSite = nullptr;
}
