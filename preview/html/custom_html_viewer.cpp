#include "preview/html/custom_html_viewer.h"

#include <commctrl.h>

#include <vector>

#include "preview/html/empty_dialog_template.h"
#include "preview/html/html_browser_win32.h"
#include "preview/html/scroll_manager.h"
#include "preview/preview_host.h"

IMPLEMENT_DYNCREATE(CCustomHTMLViewer, CView)

BEGIN_MESSAGE_MAP(CCustomHTMLViewer, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// The state of the one view there is.
HWND g_canvas = nullptr;
HWND g_status = nullptr;
htmlview::HtmlBrowser* g_browser = nullptr;

INT_PTR CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_browser == nullptr) return 0;
  try {
    const LRESULT result = g_browser->WindowProc(window, message, wParam, lParam);
    // The scroll requests' answers (positions, maxima) and the key code reach the sender only through
    // the dialog's message result.
    if ((message >= htmlview::scrollmsg::kSetContentSize && message <= htmlview::scrollmsg::kScrollMoved) ||
        message == WM_GETDLGCODE) {
      SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
      return TRUE;
    }
    return static_cast<INT_PTR>(result);
  } catch (...) {
    return 0;
  }
}

}  // namespace

htmlview::HtmlBrowser* CCustomHTMLViewer::Browser() { return g_browser; }
HWND CCustomHTMLViewer::Canvas() { return g_canvas; }
HWND CCustomHTMLViewer::Status() { return g_status; }

int CCustomHTMLViewer::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  g_canvas = nullptr;
  g_status = nullptr;
  PreviewDocument* document = CurrentPreviewDocument();
  if (document == nullptr) return 0;
  const CString url = CString(_T("file://")) + document->m_previewPath;
  // The canvas: an empty child dialog 252 x 139 dialog units.
  const std::vector<WORD> canvasTemplate = htmlview::EmptyDialogTemplate(WS_CHILD | DS_CONTROL, 0, 252, 139);
  g_canvas = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                        reinterpret_cast<const DLGTEMPLATE*>(canvasTemplate.data()), m_hWnd,
                                        CanvasProc, 0);
  if (g_canvas == nullptr) return 0;
  ::ShowWindow(g_canvas, SW_SHOW);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  g_status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                             0, 0, 0, m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  g_browser = new htmlview::HtmlBrowser(g_canvas, m_hWnd, g_status, nullptr, nullptr);
  CRect client;
  GetClientRect(client);
  OnSize(SIZE_RESTORED, client.Width(), client.Height());
  g_browser->Navigate(reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(url)));
  // A file that could not be read shows nothing: the pane puts its placeholder up instead.
  if (g_browser->History().RowCount() == 0) {
    if (PreviewHost* host = CurrentPreviewHost()) host->m_bPreviewOk = 0;
  }
  return 0;
}

void CCustomHTMLViewer::OnSize(UINT nType, int cx, int cy) {
  CRect client;
  GetClientRect(client);
  if (g_status) {
    ::MoveWindow(g_status, 0, client.bottom - kStatusHeight, client.Width(), kStatusHeight, TRUE);
    ::InvalidateRect(g_status, nullptr, TRUE);
  }
  if (g_canvas) ::MoveWindow(g_canvas, 0, 0, client.Width(), std::max<LONG>(client.Height() - kStatusHeight, 0), TRUE);
  CView::OnSize(nType, cx, cy);
}

void CCustomHTMLViewer::OnDestroy() {
  // The controls first, while their windows still hold the option values they own.
  if (g_browser) g_browser->DestroyControls();
  if (g_canvas) ::DestroyWindow(g_canvas);
  g_canvas = nullptr;
  htmlview::HtmlBrowser* browser = g_browser;
  g_browser = nullptr;
  delete browser;  // waits for its image fetches
  g_status = nullptr;
  CView::OnDestroy();
}

BOOL CCustomHTMLViewer::OnEraseBkgnd(CDC*) { return TRUE; }
