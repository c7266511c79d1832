// CTKPDockingPaneDropTarget: while something is dragged with OLE over a group's tabs or an auto-hide
// panel's tabs, the tab under the cursor opens its pane; nothing is ever dropped.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <functional>

class CTKPDockingPaneDropTarget : public IDropTarget {
 public:
  // onHover gets the cursor in the window's client coordinates.
  explicit CTKPDockingPaneDropTarget(std::function<void(POINT)> onHover) : m_onHover(std::move(onHover)) {}
  ~CTKPDockingPaneDropTarget() { Revoke(); }
  CTKPDockingPaneDropTarget(const CTKPDockingPaneDropTarget&) = delete;
  CTKPDockingPaneDropTarget& operator=(const CTKPDockingPaneDropTarget&) = delete;

  BOOL Register(HWND hWnd);
  void Revoke();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  // The owner keeps the object as long as its window is registered.
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHODIMP DragLeave() override { return S_OK; }
  STDMETHODIMP Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

 private:
  std::function<void(POINT)> m_onHover;
  HWND m_hWnd = nullptr;
};
