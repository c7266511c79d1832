// What an in-place ActiveX control asks of its container: the window it lives in and where it is placed.
// Some controls activate only in a site that answers IOleInPlaceSiteEx. Reference-counted; starts at 1.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <urlmon.h>

// The security manager a control finds through its site: every URL action on an address that leaves the
// machine (a network protocol, a share, a device) is disallowed and such an address is in the restricted
// zone; every other question gets the system's own answer. A file from a damaged disk is no file the user
// chose to trust: a page, a playlist or a document must not make the program reach out. Reference-counted;
// starts at 1.
class LocalOnlySecurityManager final : public IInternetSecurityManager {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP SetSecuritySite(IInternetSecurityMgrSite*) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetSecuritySite(IInternetSecurityMgrSite** site) override;
  STDMETHODIMP MapUrlToZone(LPCWSTR url, DWORD* zone, DWORD flags) override;
  STDMETHODIMP GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policy, DWORD policySize, BYTE* context,
                                DWORD contextSize, DWORD flags, DWORD reserved) override;
  STDMETHODIMP QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD, DWORD) override {
    return INET_E_DEFAULT_ACTION;
  }
  STDMETHODIMP SetZoneMapping(DWORD, LPCWSTR, DWORD) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetZoneMappings(DWORD, IEnumString**, DWORD) override { return INET_E_DEFAULT_ACTION; }

 private:
  ULONG m_refs = 1;
};

// A site given download-control flags also answers the ambient property that web-browser controls read
// them from (through IDispatch); any other site has no IDispatch. Every site offers its control the
// LocalOnlySecurityManager as a service.
class InPlaceControlSite final : public IOleClientSite, public IOleInPlaceSiteEx, public IDispatch,
                                 public IServiceProvider {
 public:
  explicit InPlaceControlSite(HWND window, DWORD downloadControl = 0)
      : m_window(window), m_downloadControl(downloadControl) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override;
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
  // IOleInPlaceSiteEx
  STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override;
  STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
  STDMETHODIMP RequestUIActivate() override { return S_OK; }
  // IDispatch: the ambient properties; only the download-control one is answered.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // IServiceProvider: the security manager.
  STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** ppv) override;

 private:
  ULONG m_refs = 1;
  HWND m_window;
  DWORD m_downloadControl;
};

// A control activated in place in a window: its embedded object and the site it was given, released
// together (the object closed first).
class InPlaceControl {
 public:
  InPlaceControl() = default;
  ~InPlaceControl() { Release(); }
  InPlaceControl(const InPlaceControl&) = delete;
  InPlaceControl& operator=(const InPlaceControl&) = delete;

  // Activates control over the window's client area. A control that is no embeddable object holds
  // nothing and counts as done (automation only); false when activation failed.
  bool Activate(IUnknown* control, HWND window, DWORD downloadControl = 0);
  // The site the control was given (null before Activate); the control holds its own reference.
  InPlaceControlSite* Site() const { return m_pSite; }
  // Gives the control the rectangle (0, 0, cx, cy).
  void Place(int cx, int cy);
  void Release();
  bool IsActive() const { return m_pObject != nullptr; }

 private:
  IOleObject* m_pObject = nullptr;
  InPlaceControlSite* m_pSite = nullptr;
};
