#include "preview/viewers/control_site.h"

STDMETHODIMP InPlaceControlSite::QueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
    *ppv = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx) {
    *ppv = static_cast<IOleInPlaceSiteEx*>(this);
  } else if (riid == IID_IDispatch && m_downloadControl != 0) {
    *ppv = static_cast<IDispatch*>(this);
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
