// The OLE objects of the task panel's drag and drop: the data an item carries, the source that ends the
// drag when the button goes up, and the drop target that hands drags over the panel to it. They live as
// long as their owner keeps them; their reference counts do not end them. Windows build only.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "platform/classlib/crect.h"

#include <utility>
#include <vector>

class CTKPTaskPanel;

// Memory blocks by clipboard format, handed out as copies.
class CTKPTaskPanelDataSource : public IDataObject {
 public:
  CTKPTaskPanelDataSource() = default;
  ~CTKPTaskPanelDataSource();
  CTKPTaskPanelDataSource(const CTKPTaskPanelDataSource&) = delete;
  CTKPTaskPanelDataSource& operator=(const CTKPTaskPanelDataSource&) = delete;

  // Takes the block over; a null block is ignored.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
  bool IsEmpty() const { return m_blocks.empty(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override;
  STDMETHODIMP GetDataHere(FORMATETC* pFormat, STGMEDIUM* pMedium) override;
  STDMETHODIMP QueryGetData(FORMATETC* pFormat) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* pIn, FORMATETC* pOut) override;
  STDMETHODIMP SetData(FORMATETC* pFormat, STGMEDIUM* pMedium, BOOL fRelease) override;
  STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override;
  STDMETHODIMP DAdvise(FORMATETC* pFormat, DWORD advf, IAdviseSink* pSink, DWORD* pdwConnection) override;
  STDMETHODIMP DUnadvise(DWORD dwConnection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** ppEnum) override;

 private:
  HGLOBAL Find(const FORMATETC* pFormat) const;

  std::vector<std::pair<CLIPFORMAT, HGLOBAL>> m_blocks;
  LONG m_nRefs = 1;
};

// Drops when the mouse buttons are up, cancels on Escape.
class CTKPTaskPanelDropSource : public IDropSource {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override;
  STDMETHODIMP GiveFeedback(DWORD dwEffect) override;
};

// Registered for the panel's window; forwards to the panel in client coordinates.
class CTKPTaskPanelDropTarget : public IDropTarget {
 public:
  explicit CTKPTaskPanelDropTarget(CTKPTaskPanel* pPanel) : m_pPanel(pPanel) {}
  BOOL Register(HWND hWnd);
  void Revoke();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  STDMETHODIMP DragLeave() override;
  STDMETHODIMP Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

 private:
  CPoint ClientPoint(POINTL pt) const;

  CTKPTaskPanel* m_pPanel;
  HWND m_hWnd = nullptr;
  IDataObject* m_pData = nullptr;  // held between enter and leave or drop
};

// Whether the data offers the format as a memory block.
bool HasGlobalFormat(IDataObject* pData, CLIPFORMAT cfFormat);
