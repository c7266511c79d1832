#include "toolkit/dockingpane/tkp_docking_pane_drop_target.h"

BOOL CTKPDockingPaneDropTarget::Register(HWND hWnd) {
  Revoke();
  if (hWnd == nullptr || FAILED(::RegisterDragDrop(hWnd, this))) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

void CTKPDockingPaneDropTarget::Revoke() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::RevokeDragDrop(m_hWnd);
  m_hWnd = nullptr;
}

STDMETHODIMP CTKPDockingPaneDropTarget::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDropTarget) {
    *ppv = static_cast<IDropTarget*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CTKPDockingPaneDropTarget::DragEnter(IDataObject*, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  return DragOver(grfKeyState, pt, pdwEffect);
}

STDMETHODIMP CTKPDockingPaneDropTarget::DragOver(DWORD, POINTL pt, DWORD* pdwEffect) {
  if (pdwEffect != nullptr) *pdwEffect = DROPEFFECT_NONE;
  if (m_hWnd != nullptr && m_onHover) {
    POINT client{pt.x, pt.y};
    ::ScreenToClient(m_hWnd, &client);
    m_onHover(client);
  }
  return S_OK;
}

STDMETHODIMP CTKPDockingPaneDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* pdwEffect) {
  if (pdwEffect != nullptr) *pdwEffect = DROPEFFECT_NONE;
  return S_OK;
}
