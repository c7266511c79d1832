#include "preview/viewers/document_view.h"

#include <memory>

#include "platform/classlib/cfile.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/coleexception.h"
#include "preview/preview_host.h"
#include "preview/viewers/control_site.h"
#include "preview/viewers/office_automation.h"
#include "preview/viewers/text_file_reader.h"
#include "preview/viewers/word_converter_host.h"
#include "ui/msgbox/message_dialogs.h"

IMPLEMENT_DYNCREATE(CWPViewPDFX, CWnd)
IMPLEMENT_DYNCREATE(CAdobeReaderView, CView)

BEGIN_MESSAGE_MAP(CAdobeReaderView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const CLSID kPdfControl = {0xD8D3A8F6, 0x46EF, 0x4424, {0xAE, 0x49, 0x43, 0x76, 0xF1, 0xFE, 0x1E, 0xB4}};
constexpr DISPID kOpenFile = 207;
constexpr DWORD kRichEditStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr LPARAM kNoWrap = 1;      // EM_SETTARGETDEVICE's line width for no wrapping
constexpr LPARAM kWrapAtEdge = 0;  // and for wrapping at the control's edge

void SetPreviewOk(uint32_t ok) {
  if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = ok;
}

// The text after the path's last "." with its ".", lower-cased; the whole path when it has no ".".
CString LowerExtension(const CString& path) {
  const int dot = path.ReverseFind(_T('.'));
  CString extension = _T(".") + (dot >= 0 ? path.Mid(dot + 1) : path);
  extension.MakeLower();
  return extension;
}

// The RTF that Word or the converters write, deleted on every way out.
class TemporaryRtf {
 public:
  explicit TemporaryRtf(CString path) : m_path(std::move(path)) { ::DeleteFileW(m_path); }
  ~TemporaryRtf() { ::DeleteFileW(m_path); }
  const CString& Path() const { return m_path; }

 private:
  CString m_path;
};

}  // namespace

// ---- the PDF viewer control -------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWPViewPDFX, CWnd)
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CWPViewPDFX::~CWPViewPDFX() { ReleaseControl(); }

BOOL CWPViewPDFX::Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  IDispatch* control = nullptr;
  m_bInstalled = FALSE;
  if (FAILED(::CoCreateInstance(kPdfControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&control))) ||
      control == nullptr)
    return FALSE;
  m_bInstalled = TRUE;
  m_pControl = control;
  if (!CWnd::Create(CView::FrameOrViewClassName(), lpszWindowName, dwStyle, rect, pParentWnd, nID) ||
      !m_inPlace.Activate(m_pControl, m_hWnd)) {
    if (GetSafeHwnd() != nullptr) DestroyWindow();
    ReleaseControl();
    return FALSE;
  }
  return TRUE;
}

void CWPViewPDFX::ReleaseControl() {
  m_inPlace.Release();
  if (m_pControl != nullptr) m_pControl->Release();
  m_pControl = nullptr;
}

void CWPViewPDFX::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  m_inPlace.Place(cx, cy);
}

void CWPViewPDFX::OnDestroy() {
  ReleaseControl();
  CWnd::OnDestroy();
}

BOOL CWPViewPDFX::OpenFile(LPCTSTR path) {
  if (m_pControl == nullptr) AfxThrowOleException(E_UNEXPECTED);
  VARIANT argument;
  ::VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = ::SysAllocString(path);
  DISPPARAMS params{&argument, nullptr, 1, 0};
  VARIANT result;
  ::VariantInit(&result);
  const HRESULT hr =
      m_pControl->Invoke(kOpenFile, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
  ::VariantClear(&argument);
  if (FAILED(hr)) AfxThrowOleException(hr);
  VARIANT asBool;
  ::VariantInit(&asBool);
  const BOOL opened = SUCCEEDED(::VariantChangeType(&asBool, &result, 0, VT_BOOL)) && asBool.boolVal != VARIANT_FALSE;
  ::VariantClear(&result);
  return opened;
}

// ---- the view -----------------------------------------------------------------------------------------

CAdobeReaderView::~CAdobeReaderView() { delete m_pFont; }

int CAdobeReaderView::ConvertWordToRtf(CString path) { return ::ConvertWordToRtf(path); }

void CAdobeReaderView::OnDraw(CDC*) {}  // the child control covers the client area

int CAdobeReaderView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewDocument* document = CurrentPreviewDocument();
  if (document == nullptr || CurrentPreviewHost() == nullptr) return 0;
  const CString path = document->m_previewPath;

  m_pFont = new CFont;
  m_pFont->CreateFont(15, 15, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, _T("Arial"));
  const CString extension = LowerExtension(path);
  SetPreviewOk(1);
  if (extension == _T(".pdf")) return ShowPdf(path);
  if (extension == _T(".rtf")) {
    ShowRtf(path);
    return 0;
  }
  if (extension == _T(".doc") || extension == _T(".docx")) {
    ShowWordDocument(path);
    return 0;
  }
  return ShowTextFile(path);
}

int CAdobeReaderView::ShowPdf(const CString& path) {
  try {
    if (!m_pdf.Create(_T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kPdfControlId)) {
      // Without the control on the machine there is nothing to report about the file: the pane says PDF
      // files cannot be previewed here, with no box at every click.
      if (!m_pdf.IsInstalled()) {
        ReportPreviewComponentMissing();
        return -1;
      }
      SetPreviewOk(0);  // the pane shows its corrupted-file picture after the box
      MessageText = u"Unable to open.";
      MessageKind = msgbox::kError;
      MessageDialog dialog;
      dialog.DoModal();
      return -1;
    }
    // The control's answer is the preview's outcome: a file it refuses is not shown as a success.
    SetPreviewOk(m_pdf.OpenFile(path) ? 1 : 0);
  } catch (CException* e) {
    e->Delete();
    SetPreviewOk(0);
  } catch (...) {
    SetPreviewOk(0);
  }
  return 0;
}

bool CAdobeReaderView::CreateRichEdit() {
  if (!m_richEdit.Create(kRichEditStyle, CRect(0, 0, 0, 0), this, kRichEditId)) return false;
  m_richEdit.LimitText(RichEditPreviewCtrl::kTextLimit);
  m_richEdit.SendMessage(EM_SETTARGETDEVICE, 0, kNoWrap);
  m_wrapWhenSized = true;
  return true;
}

void CAdobeReaderView::SetPlainTextFont() {
  // RTF keeps its own fonts: the view's font would flatten its bold, italics and faces.
  m_richEdit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_pFont != nullptr ? m_pFont->GetSafeHandle() : nullptr),
                         TRUE);
}

void CAdobeReaderView::FinishRichEdit() { m_richEdit.SetReadOnly(TRUE); }

void CAdobeReaderView::ShowRtf(const CString& path) {
  if (!CreateRichEdit()) {
    SetPreviewOk(0);
    return;
  }
  try {
    m_richEdit.StreamInRtfFile(path);
  } catch (CException* e) {  // the file would not open
    e->Delete();
    SetPreviewOk(0);
  }
  FinishRichEdit();
}

void CAdobeReaderView::ShowWordDocument(const CString& path) {
  // Word and spreadsheet programs the user has open are never ended, neither here before Word is started
  // nor when the view closes: that would lose their unsaved work. The conversion starts its own Word and
  // asks it to quit.
  // Without a temporary folder the RTF's name would be the current folder's "New.rtf", a file of the user's.
  if (PreviewTempFolder().IsEmpty()) {
    SetPreviewOk(0);
    return;
  }
  TemporaryRtf rtf(WordRtfPath());
  bool wordInstalled = false;
  if (::ConvertWordToRtf(path, &wordInstalled) != 0) {
    ShowRtf(rtf.Path());
    return;
  }
  // Without Word: the text converters, which take narrow paths.
  char narrowDocument[260];
  char narrowRtf[260];
  if (!NarrowPath(rtf.Path(), narrowRtf, sizeof narrowRtf) ||
      !NarrowPath(path, narrowDocument, sizeof narrowDocument)) {
    SetPreviewOk(0);
    return;
  }
  try {
    WordConverterHost host;
    host.Run("MSWord8", WordConverterHost::kKeepRtf, narrowDocument, narrowRtf);
    if (::GetFileAttributesW(rtf.Path()) == INVALID_FILE_ATTRIBUTES) {
      // Neither Word nor a converter for Word documents is on the machine: the file was never looked at.
      if (!wordInstalled && !host.ImportClassFound()) {
        ReportPreviewComponentMissing();
      } else {
        SetPreviewOk(0);  // no converter could read it
      }
      return;
    }
    ShowRtf(rtf.Path());
  } catch (CException* e) {
    e->Delete();
    SetPreviewOk(0);
  } catch (...) {
    SetPreviewOk(0);
  }
}

int CAdobeReaderView::ShowTextFile(const CString& path) {
  if (!CreateRichEdit()) {
    SetPreviewOk(0);
    return 1;
  }
  CWaitCursor wait;
  SetPlainTextFont();
  TextFileReader reader(path);
  if (!reader.IsOpen()) {
    SetPreviewOk(0);
    reader.Close();
    FinishRichEdit();
    return 1;
  }
  CString text;
  reader.Read(text, _T("\r\n"));
  m_richEdit.StreamInText(text);
  reader.Close();
  FinishRichEdit();
  return 0;
}

void CAdobeReaderView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  CRect client;
  GetClientRect(client);
  if (m_pdf.GetSafeHwnd() != nullptr) m_pdf.MoveWindow(client, TRUE);
  if (m_richEdit.GetSafeHwnd() != nullptr) {
    m_richEdit.MoveWindow(client, TRUE);
    if (m_wrapWhenSized && client.Width() > 0) {
      m_wrapWhenSized = false;
      m_richEdit.SendMessage(EM_SETTARGETDEVICE, 0, kWrapAtEdge);
    }
  }
}
