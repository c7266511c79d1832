// RichEditPreviewCtrl: the read-only text surface of the document view. It streams RTF files in and
// gives the embedded objects of RTF their storages through RichEditOleCallback: sub-storages
// "REOLEStorage<n>" of one temporary compound file, which goes with the callback. Of the objects, only
// static pictures are let in: any other would start its server on a file from an untrusted disk.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/crichedit.h"

class RichEditOleCallback : public IRichEditOleCallback {
 public:
  // Creates the temporary compound file; raises COleException when it cannot.
  RichEditOleCallback();
  RichEditOleCallback(const RichEditOleCallback&) = delete;
  RichEditOleCallback& operator=(const RichEditOleCallback&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) override;
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                              LPOLEINPLACEFRAMEINFO) override;
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL) override;
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID, LPSTORAGE, LONG) override;
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT) override;
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) override;
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL, DWORD, LPDWORD) override;
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) override;

  IStorage* Root() const { return m_root; }

 private:
  virtual ~RichEditOleCallback();

  LONG m_storageCount = 0;
  IStorage* m_root = nullptr;
  ULONG m_references = 0;
};

class RichEditPreviewCtrl : public CRichEditCtrl {
 public:
  // Text files up to the preview's size limit and more fit.
  static constexpr long kTextLimit = 0x7FFFFFFE;

  RichEditPreviewCtrl() = default;
  // The UTF-16 rich-edit class, so that text outside the code page shows.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  // Loads the RTF file over a regular default format; the frame's preview flag says whether it gave any
  // text. The file must open (CFileException otherwise).
  void StreamInRtfFile(const CString& path);
  static DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read);
  // Replaces the text with plain UTF-16 text, streamed in: the control takes a large text far sooner
  // this way than as its window text.
  void StreamInText(const CString& text);

 protected:
  void PreSubclassWindow() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  DECLARE_MESSAGE_MAP()

 private:
  // Regular 12-point Arial in the text's own colour, as default and for what is there.
  void SetRegularDefaultFormat();

  RichEditOleCallback* m_pCallback = nullptr;  // released by the rich-edit window
  BOOL m_bCallbackSet = FALSE;
};
