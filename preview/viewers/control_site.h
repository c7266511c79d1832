// What an in-place ActiveX control asks of its container: the window it lives in and where it is placed.
// Some controls activate only in a site that answers IOleInPlaceSiteEx. Reference-counted; starts at 1.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

class InPlaceControlSite final : public IOleClientSite, public IOleInPlaceSiteEx {
 public:
  explicit InPlaceControlSite(HWND window) : m_window(window) {}

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

 private:
  ULONG m_refs = 1;
  HWND m_window;
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
  bool Activate(IUnknown* control, HWND window);
  // Gives the control the rectangle (0, 0, cx, cy).
  void Place(int cx, int cy);
  void Release();
  bool IsActive() const { return m_pObject != nullptr; }

 private:
  IOleObject* m_pObject = nullptr;
  InPlaceControlSite* m_pSite = nullptr;
};
