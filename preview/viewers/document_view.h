// CAdobeReaderView: the preview of PDF files (through the PDF viewer control), RTF files, Word documents
// (Word itself through automation, else the text converters on the machine, both to RTF) and text and
// source files (TextFileReader). Everything happens while the view is created; the frame's preview flag
// tells the pane whether the file could be shown.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cview.h"
#include "preview/viewers/control_site.h"
#include "preview/viewers/rich_edit_preview_ctrl.h"

class CFont;

// The PDF viewer control {D8D3A8F6-46EF-4424-AE49-4376F1FE1EB4}: made by its class identifier, activated in
// place in a child window of its own (when it is an embeddable object) and asked to open one file.
class CWPViewPDFX : public CWnd {
  DECLARE_DYNCREATE(CWPViewPDFX)

 public:
  CWPViewPDFX() = default;
  ~CWPViewPDFX() override;
  // FALSE when the control is not on the machine or its window cannot be made.
  virtual BOOL Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // Dispatch id 207; raises COleException when the control fails the call.
  BOOL OpenFile(LPCTSTR path);
  // The control is an embedded object active in place in the window.
  bool IsInPlaceActive() const { return m_inPlace.IsActive(); }
  // Whether the last Create could make the control at all (FALSE: it is not on the machine).
  BOOL IsInstalled() const { return m_bInstalled; }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void ReleaseControl();

  IDispatch* m_pControl = nullptr;
  BOOL m_bInstalled = FALSE;
  InPlaceControl m_inPlace;  // holds nothing for a control that is not an embeddable object
};

class CAdobeReaderView : public CView {
  DECLARE_DYNCREATE(CAdobeReaderView)

 public:
  static constexpr UINT kPdfControlId = 182;
  static constexpr UINT kRichEditId = 183;

  CAdobeReaderView() = default;
  ~CAdobeReaderView() override;
  // 1 when Word saved the file as RTF at the Word RTF path (temporary-files folder + "New.rtf"), else 0.
  static int ConvertWordToRtf(CString path);

  CWPViewPDFX m_pdf;
  RichEditPreviewCtrl m_richEdit;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  int ShowPdf(const CString& path);
  void ShowRtf(const CString& path);
  void ShowWordDocument(const CString& path);
  int ShowTextFile(const CString& path);
  // Creates the rich-edit control; false when it cannot be made. It has no width until the pane sizes the
  // view, so it does not wrap lines until then: wrapping a large file one character to a line, and again
  // at every later change, would hold the program for minutes.
  bool CreateRichEdit();
  // The view's font for plain text, given before the text so that the text is laid out once.
  void SetPlainTextFont();
  // Read-only once the control is filled.
  void FinishRichEdit();

  CFont* m_pFont = nullptr;  // owned
  bool m_wrapWhenSized = false;  // lines wrap at the control's edge once it has a width
};
