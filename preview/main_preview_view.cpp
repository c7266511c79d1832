#include "preview/main_preview_view.h"

#include <windows.h>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cframewnd.h"
#include "preview/dxf/dxf_view.h"
#include "preview/html/custom_html_viewer.h"
#include "preview/html/html_browser_view.h"
#include "preview/placeholder_views.h"
#include "preview/preview_host.h"
#include "preview/viewers/media_views.h"
#include "preview/viewers/office_automation.h"
#include "preview/viewers/psd_view.h"
#include "preview/viewers/viewer_standins.h"
#if DORVANE_PICTURE_VIEWS
#include "preview/viewers/image_view.h"
#include "preview/viewers/text_view.h"
#include "preview/viewers/thumb_view.h"
#endif
#if DORVANE_ARCHIVE_VIEW
#include "preview/archive/archive_list_view.h"
#endif
#if DORVANE_DOCUMENT_VIEW
#include "preview/viewers/document_view.h"
#endif

IMPLEMENT_DYNCREATE(CMainPreviewView, CView)

BEGIN_MESSAGE_MAP(CMainPreviewView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CRuntimeClass* PreviewViewerClasses[kPreviewSlotCount];

void ResetPreviewViewerClasses() {
  auto set = [](PreviewSlot slot, CRuntimeClass* viewer) { PreviewViewerClasses[static_cast<int>(slot)] = viewer; };
  for (CRuntimeClass*& viewer : PreviewViewerClasses) viewer = RUNTIME_CLASS(CPendingViewerView);
#if DORVANE_PICTURE_VIEWS
  set(PreviewSlot::kImage, RUNTIME_CLASS(CImage_View));
  set(PreviewSlot::kThumb, RUNTIME_CLASS(CThumbView));
  set(PreviewSlot::kPicture, RUNTIME_CLASS(CTextView));
#endif
#if DORVANE_ARCHIVE_VIEW
  set(PreviewSlot::kArchive, RUNTIME_CLASS(CMyListCtrl));
#endif
#if DORVANE_DOCUMENT_VIEW
  set(PreviewSlot::kDocument, RUNTIME_CLASS(CAdobeReaderView));
#endif
  set(PreviewSlot::kHtml, RUNTIME_CLASS(CHtml_View));
  set(PreviewSlot::kAvi, RUNTIME_CLASS(CAviView));
  set(PreviewSlot::kMedia, RUNTIME_CLASS(CMyMedia));
  set(PreviewSlot::kDbf, RUNTIME_CLASS(CDBF_View));
  set(PreviewSlot::kMdb, RUNTIME_CLASS(CMDB_View));
  set(PreviewSlot::kNoPreview, RUNTIME_CLASS(CCorrupted_NoPreview_View));
  set(PreviewSlot::kCustomHtml, RUNTIME_CLASS(CCustomHTMLViewer));
  set(PreviewSlot::kDxf, RUNTIME_CLASS(CDFXView));
  set(PreviewSlot::kPsd, RUNTIME_CLASS(CPSDViewView));
  set(PreviewSlot::kLargeFile, RUNTIME_CLASS(CLargeFileView));
}

namespace {

constexpr UINT kViewerId = 0xE900;

PreviewDocument* ActiveStyleDocument() { return CurrentPreviewDocument(); }

// The text after the path's last ".", with its "." and lower-cased.
CString ExtensionOf(const CString& path) {
  const int dot = path.ReverseFind(_T('.'));
  CString extension = dot >= 0 ? path.Mid(dot) : CString();
  extension.MakeLower();
  return extension;
}

}  // namespace

CMainPreviewView::CMainPreviewView() : m_strCaption(_T("Preview:")) {
  if (PreviewViewerClasses[0] == nullptr) ResetPreviewViewerClasses();
}

CWnd*& CMainPreviewView::Slot(PreviewSlot slot) {
  switch (slot) {
    case PreviewSlot::kImage: return m_pImageView;
    case PreviewSlot::kHtml: return m_pHtmlView;
    case PreviewSlot::kDocument: return m_pDocumentView;
    case PreviewSlot::kArchive: return m_pArchiveView;
    case PreviewSlot::kAvi: return m_pAviView;
    case PreviewSlot::kMedia: return m_pMediaView;
    case PreviewSlot::kThumb: return m_pThumbView;
    case PreviewSlot::kDbf: return m_pDbfView;
    case PreviewSlot::kMdb: return m_pMdbView;
    case PreviewSlot::kNoPreview: return m_pNoPreviewView;
    case PreviewSlot::kCustomHtml: return m_pCustomHtmlView;
    case PreviewSlot::kDxf: return m_pDxfView;
    case PreviewSlot::kPsd: return m_pPsdView;
    case PreviewSlot::kLargeFile: return m_pLargeFileView;
    case PreviewSlot::kPicture: break;
  }
  return m_pPictureView;
}

CWnd* CMainPreviewView::SlotView(PreviewSlot slot) { return LiveView(slot); }

int CMainPreviewView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  if (PreviewHost* host = CurrentPreviewHost()) host->m_pPreviewView = this;
  ShowPreviewForFile(_T("fileName"), _T("fileType"));
  return 0;
}

void CMainPreviewView::OnLButtonDblClk(UINT, CPoint) { Default(); }

// ---- dispatch ------------------------------------------------------------------------------------------

void CMainPreviewView::ShowPreviewForFile(CString path, CString extension) {
  m_shownPath = path;
  m_shownExtension = extension;
  PreviewHost* host = CurrentPreviewHost();
  if (host == nullptr) return;
  host->m_bPreviewOk = 0;
  host->m_bComponentMissing = 0;
  host->m_bImageNeeded = 0;
  path.MakeLower();
  extension.MakeLower();
  host->m_bPreviewSupported = IsPreviewableExtension(path.ToUtf16(), extension.ToUtf16());
  host->m_bPreviewOk = 1;
  if (extension.ToUtf16() == kImageNeededExtension) {
    ShowImageNeededView();
    Invalidate(TRUE);
    return;
  }
  const PreviewAction action = PreviewActionFor(extension.ToUtf16());
  if (action == PreviewAction::kNone) {
    ShowNoPreviewView();
    Invalidate(TRUE);
    return;
  }
  RunAction(action, path);
  // Every group falls back alike: a viewer that could not show its file is never left looking like one
  // that did. The failed viewer stays in its slot until the next file.
  if (host->m_bPreviewOk == 0) {
    ShowMissingComponentAsNoViewer();
    ShowNoPreviewView();
  }
  Invalidate(TRUE);
  host->FocusResultList();
}

void CMainPreviewView::RunAction(PreviewAction action, const CString& path) {
  PreviewHost* host = CurrentPreviewHost();
  switch (action) {
    case PreviewAction::kImage: ShowImageView(path); break;
    case PreviewAction::kPicture: ShowPictureView(path); break;
    case PreviewAction::kHtml: ShowHtmlView(path); break;
    case PreviewAction::kCustomHtml: ShowCustomHtmlView(path); break;
    case PreviewAction::kDocument: ShowDocumentView(path); break;
    case PreviewAction::kArchive: ShowArchiveView(path); break;
    case PreviewAction::kPsd: ShowPsdView(path); break;
    case PreviewAction::kAvi: ShowAviView(path); break;
    case PreviewAction::kMedia: ShowMediaView(path); break;
    case PreviewAction::kDbf: ShowDbfView(path); break;
    case PreviewAction::kMdb: host->m_bPreviewOk = static_cast<uint32_t>(ShowMdbView(path)); break;
    case PreviewAction::kDxf: ShowDxfView(path); break;
    case PreviewAction::kLargeFile: ShowLargeFileView(); break;
    case PreviewAction::kSlides:
      host->m_bPreviewOk = static_cast<uint32_t>(ExportSlideAsGif(path));
      if (host->m_bPreviewOk == 0) {
        host->m_bPreviewOk = 1;
        ShowMissingComponentAsNoViewer();
        ShowNoPreviewView();
      }
      break;
    case PreviewAction::kNone: break;
  }
}

void CMainPreviewView::ShowMissingComponentAsNoViewer() {
  PreviewHost* host = CurrentPreviewHost();
  if (host == nullptr || host->m_bComponentMissing == 0) return;
  // A sound file whose viewer's component is not installed is not damaged: the no-preview view says the
  // type cannot be previewed, as for a type without a viewer.
  host->m_bPreviewSupported = 0;
  host->m_bPreviewOk = 1;
}

// ---- creating viewers ----------------------------------------------------------------------------------

CWnd* CMainPreviewView::CreateViewer(PreviewSlot slot, const CString* path) {
  PreviewHost* host = CurrentPreviewHost();
  if (host == nullptr) return nullptr;
  CWnd* view = nullptr;
  PreviewDocument* document = CurrentPreviewDocument();
  if (path == nullptr || document != nullptr) {
    if (path != nullptr) document->m_previewPath = *path;
    CCreateContext context;
    context.m_pNewViewClass = PreviewViewerClasses[static_cast<int>(slot)];
    context.m_pCurrentDoc = GetDocument();
    // A viewer that throws while it is made is a viewer that could not be made.
    try {
      view = CFrameWnd::CreateView(this, &context, kViewerId);
    } catch (CException* e) {
      e->Delete();
      view = nullptr;
    } catch (...) {
      view = nullptr;
    }
  }
  if (view == nullptr) host->m_bPreviewOk = 0;
  return view;
}

void CMainPreviewView::SetSlot(PreviewSlot slot, CWnd* view) {
  Slot(slot) = view;
  m_slotWindows[static_cast<int>(slot)] = view != nullptr ? view->m_hWnd : nullptr;
}

CWnd* CMainPreviewView::LiveView(PreviewSlot slot) {
  CWnd*& view = Slot(slot);
  HWND window = m_slotWindows[static_cast<int>(slot)];
  // A viewer deletes itself with its window: a slot whose window went is forgotten, never touched.
  if (view != nullptr && (window == nullptr || CWnd::FromHandlePermanent(window) != view)) SetSlot(slot, nullptr);
  return view;
}

void CMainPreviewView::ShowViewer(PreviewSlot slot, CWnd* view) {
  SetSlot(slot, view);
  view->ShowWindow(SW_SHOW);
  SendMessage(WM_SIZE, 0, 0);
}

bool CMainPreviewView::ShowSimpleView(PreviewSlot slot, const CString& path) {
  CWnd* view = CreateViewer(slot, &path);
  if (view == nullptr) return false;
  ShowViewer(slot, view);
  return true;
}

void CMainPreviewView::ShowImageView(const CString& path) { ShowSimpleView(PreviewSlot::kImage, path); }
void CMainPreviewView::ShowPictureView(const CString& path) { ShowSimpleView(PreviewSlot::kPicture, path); }
void CMainPreviewView::ShowCustomHtmlView(const CString& path) { ShowSimpleView(PreviewSlot::kCustomHtml, path); }
void CMainPreviewView::ShowDocumentView(const CString& path) { ShowSimpleView(PreviewSlot::kDocument, path); }
void CMainPreviewView::ShowArchiveView(const CString& path) { ShowSimpleView(PreviewSlot::kArchive, path); }
void CMainPreviewView::ShowAviView(const CString& path) { ShowSimpleView(PreviewSlot::kAvi, path); }
void CMainPreviewView::ShowMediaView(const CString& path) { ShowSimpleView(PreviewSlot::kMedia, path); }
void CMainPreviewView::ShowDbfView(const CString& path) { ShowSimpleView(PreviewSlot::kDbf, path); }
void CMainPreviewView::ShowDxfView(const CString& path) { ShowSimpleView(PreviewSlot::kDxf, path); }
void CMainPreviewView::ShowPsdView(const CString& path) { ShowSimpleView(PreviewSlot::kPsd, path); }

void CMainPreviewView::ShowHtmlView(const CString& path) {
  CWnd* view = CreateViewer(PreviewSlot::kHtml, &path);
  if (view == nullptr) return;
  if (auto* navigable = dynamic_cast<PreviewNavigable*>(view)) navigable->Navigate2(path);
  // The browser control takes a moment to place a spreadsheet.
  const CString extension = ExtensionOf(path);
  if (extension == _T(".xls") || extension == _T(".xlsx")) ::Sleep(100);
  ShowViewer(PreviewSlot::kHtml, view);
}

int CMainPreviewView::ShowMdbView(const CString& path) {
  CWnd* view = CreateViewer(PreviewSlot::kMdb, &path);
  if (view == nullptr) return 0;
  SetSlot(PreviewSlot::kMdb, view);
  PreviewDocument* document = ActiveStyleDocument();
  if (document == nullptr || !document->OpenDatabase(path)) return 0;
  ShowViewer(PreviewSlot::kMdb, view);
  return 1;
}

void CMainPreviewView::ShowPlaceholderView(PreviewSlot slot) {
  if (CWnd* view = CreateViewer(slot, nullptr)) ShowViewer(slot, view);
}

void CMainPreviewView::ShowNoPreviewView() {
  PreviewItemPath.clear();
  ShowPlaceholderView(PreviewSlot::kNoPreview);
}

void CMainPreviewView::ShowLargeFileView() { ShowPlaceholderView(PreviewSlot::kLargeFile); }

void CMainPreviewView::ShowImageNeededView() {
  // The band keeps naming the file, as for a file too large: the user sees which file needs the image.
  if (PreviewHost* host = CurrentPreviewHost()) host->m_bImageNeeded = 1;
  ShowPlaceholderView(PreviewSlot::kNoPreview);
}

void CMainPreviewView::ShowSlideThumbnails(const CString& folder) {
  CWnd* view = CreateViewer(PreviewSlot::kThumb, &folder);
  PreviewDocument* document = ActiveStyleDocument();
  if (view != nullptr) {
    SetSlot(PreviewSlot::kThumb, view);
    if (document != nullptr) document->LoadThumbnailFolder(folder);
    ShowViewer(PreviewSlot::kThumb, view);
    ::Sleep(500);
  }
  // The pictures live on in the view; the folder goes either way.
  if (document != nullptr) document->EmptyThumbnailFolder(folder);
  if (!folder.IsEmpty()) ::RemoveDirectoryW(folder);
}

int CMainPreviewView::ExportSlideAsGif(const CString& path) {
  CString folder;
  if (ExportPresentationSlides(path, &folder) == 0) return 0;
  ShowSlideThumbnails(folder);
  return m_pThumbView != nullptr ? 1 : 0;
}

// ---- closing and sizing --------------------------------------------------------------------------------

void CMainPreviewView::ClosePreviewViews() {
  for (PreviewSlot slot : kPreviewSlotOrder) {
    CWnd* view = LiveView(slot);
    if (view == nullptr) continue;
    view->SendMessage(WM_CLOSE, 0, 0);
    SetSlot(slot, nullptr);
  }
}

void CMainPreviewView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  CRect client;
  GetClientRect(client);
  client.top += kViewerTop;
  for (PreviewSlot slot : kPreviewSlotOrder) {
    CWnd* view = LiveView(slot);
    if (view == nullptr) continue;
    view->MoveWindow(client.left, client.top, client.Width(), client.Height() > 0 ? client.Height() : 0, TRUE);
  }
}
