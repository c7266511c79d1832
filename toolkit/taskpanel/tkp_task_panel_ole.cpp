#include "toolkit/taskpanel/tkp_task_panel_ole.h"

#include <shlobj.h>

#include <cstring>

#include "toolkit/taskpanel/tkp_task_panel.h"

namespace {

HGLOBAL CopyBlock(HGLOBAL hSource) {
  const SIZE_T size = ::GlobalSize(hSource);
  HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (hCopy == nullptr) return nullptr;
  void* to = ::GlobalLock(hCopy);
  const void* from = ::GlobalLock(hSource);
  if (to && from) std::memcpy(to, from, size);
  if (from) ::GlobalUnlock(hSource);
  if (to) ::GlobalUnlock(hCopy);
  if (to == nullptr || from == nullptr) {
    ::GlobalFree(hCopy);
    return nullptr;
  }
  return hCopy;
}

template <typename Interface>
HRESULT Answer(Interface* self, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != __uuidof(Interface)) return E_NOINTERFACE;
  *ppv = self;
  self->AddRef();
  return S_OK;
}

}  // namespace

bool HasGlobalFormat(IDataObject* pData, CLIPFORMAT cfFormat) {
  if (pData == nullptr) return false;
  FORMATETC format{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return pData->QueryGetData(&format) == S_OK;
}

// ---- the data an item carries ----

CTKPTaskPanelDataSource::~CTKPTaskPanelDataSource() {
  for (auto& block : m_blocks) ::GlobalFree(block.second);
}

void CTKPTaskPanelDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal) {
  if (hGlobal) m_blocks.emplace_back(cfFormat, hGlobal);
}

HGLOBAL CTKPTaskPanelDataSource::Find(const FORMATETC* pFormat) const {
  if (pFormat == nullptr || (pFormat->tymed & TYMED_HGLOBAL) == 0 || pFormat->dwAspect != DVASPECT_CONTENT) {
    return nullptr;
  }
  for (const auto& block : m_blocks) {
    if (block.first == pFormat->cfFormat) return block.second;
  }
  return nullptr;
}

STDMETHODIMP CTKPTaskPanelDataSource::QueryInterface(REFIID riid, void** ppv) {
  return Answer<IDataObject>(this, riid, ppv);
}
STDMETHODIMP_(ULONG) CTKPTaskPanelDataSource::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs)); }
STDMETHODIMP_(ULONG) CTKPTaskPanelDataSource::Release() {
  const LONG left = ::InterlockedDecrement(&m_nRefs);
  return static_cast<ULONG>(left > 0 ? left : 0);
}

STDMETHODIMP CTKPTaskPanelDataSource::GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) {
  if (pMedium == nullptr) return E_POINTER;
  HGLOBAL hBlock = Find(pFormat);
  if (hBlock == nullptr) return DV_E_FORMATETC;
  HGLOBAL hCopy = CopyBlock(hBlock);
  if (hCopy == nullptr) return E_OUTOFMEMORY;
  pMedium->tymed = TYMED_HGLOBAL;
  pMedium->hGlobal = hCopy;
  pMedium->pUnkForRelease = nullptr;
  return S_OK;
}

STDMETHODIMP CTKPTaskPanelDataSource::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

STDMETHODIMP CTKPTaskPanelDataSource::QueryGetData(FORMATETC* pFormat) {
  return Find(pFormat) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP CTKPTaskPanelDataSource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) {
  if (pOut) pOut->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP CTKPTaskPanelDataSource::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CTKPTaskPanelDataSource::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) {
  if (ppEnum == nullptr) return E_POINTER;
  *ppEnum = nullptr;
  if (dwDirection != DATADIR_GET) return E_NOTIMPL;
  std::vector<FORMATETC> formats;
  for (const auto& block : m_blocks) formats.push_back({block.first, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
  return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), ppEnum);
}

STDMETHODIMP CTKPTaskPanelDataSource::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
  return OLE_E_ADVISENOTSUPPORTED;
}
STDMETHODIMP CTKPTaskPanelDataSource::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP CTKPTaskPanelDataSource::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// ---- the drag's source ----

STDMETHODIMP CTKPTaskPanelDropSource::QueryInterface(REFIID riid, void** ppv) {
  return Answer<IDropSource>(this, riid, ppv);
}

STDMETHODIMP CTKPTaskPanelDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) {
  if (fEscapePressed) return DRAGDROP_S_CANCEL;
  if ((grfKeyState & (MK_LBUTTON | MK_RBUTTON)) == 0) return DRAGDROP_S_DROP;
  return S_OK;
}

STDMETHODIMP CTKPTaskPanelDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- the panel's drop target ----

BOOL CTKPTaskPanelDropTarget::Register(HWND hWnd) {
  if (FAILED(::RegisterDragDrop(hWnd, this))) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

void CTKPTaskPanelDropTarget::Revoke() {
  if (m_hWnd) ::RevokeDragDrop(m_hWnd);
  m_hWnd = nullptr;
  if (m_pData) m_pData->Release();
  m_pData = nullptr;
}

STDMETHODIMP CTKPTaskPanelDropTarget::QueryInterface(REFIID riid, void** ppv) {
  return Answer<IDropTarget>(this, riid, ppv);
}

CPoint CTKPTaskPanelDropTarget::ClientPoint(POINTL pt) const {
  POINT client{pt.x, pt.y};
  if (m_hWnd) ::ScreenToClient(m_hWnd, &client);
  return CPoint(client.x, client.y);
}

STDMETHODIMP CTKPTaskPanelDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  if (pdwEffect == nullptr) return E_INVALIDARG;
  if (pDataObj) pDataObj->AddRef();
  if (m_pData) m_pData->Release();
  m_pData = pDataObj;
  return DragOver(grfKeyState, pt, pdwEffect);
}

STDMETHODIMP CTKPTaskPanelDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  if (pdwEffect == nullptr) return E_INVALIDARG;
  // The panel's answer within what the source offers.
  *pdwEffect &= m_pPanel->OnDragOver(m_pData, grfKeyState, ClientPoint(pt));
  return S_OK;
}

STDMETHODIMP CTKPTaskPanelDropTarget::DragLeave() {
  m_pPanel->OnDragOver(nullptr, 0, CPoint(-1, -1));
  if (m_pData) m_pData->Release();
  m_pData = nullptr;
  return S_OK;
}

STDMETHODIMP CTKPTaskPanelDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  if (pdwEffect == nullptr) return E_INVALIDARG;
  const CPoint point = ClientPoint(pt);
  const DWORD effect = *pdwEffect & m_pPanel->OnDragOver(pDataObj, grfKeyState, point);
  *pdwEffect = m_pPanel->OnDrop(pDataObj, effect, point) ? effect : DROPEFFECT_NONE;
  if (m_pData) m_pData->Release();
  m_pData = nullptr;
  return S_OK;
}
