#include "preview/html/html_browser_view.h"

#include <exdisp.h>
#include <mshtmdid.h>
#include <ocidl.h>
#include <oleidl.h>

#include <algorithm>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "preview/html/empty_dialog_template.h"
#include "preview/preview_host.h"

IMPLEMENT_DYNCREATE(CHtml_View, CView)

BEGIN_MESSAGE_MAP(CHtml_View, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// What the browser control may do with a recovered page: show its text, pictures, videos and sounds, but
// run none of its scripts, ActiveX controls, Java or behaviours, follow no refresh to another address, and
// go to no network (a page from a damaged disk is no page the user chose to trust, and it is read from the
// local disk). The site's security manager refuses every action on an address that leaves the machine.
constexpr DWORD kPreviewDownloadControl = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_NO_SCRIPTS |
                                          DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_DLACTIVEXCTLS |
                                          DLCTL_NO_BEHAVIORS | DLCTL_NO_CLIENTPULL | DLCTL_FORCEOFFLINE;

INT_PTR CALLBACK OverlayProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

}  // namespace

CHtml_View::~CHtml_View() { ReleaseBrowser(); }

int CHtml_View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  // No browser control on this system: the view stays blank.
  if (!CreateBrowser()) ReleaseBrowser();
  // The overlay: an empty transparent child dialog 339 x 108 dialog units.
  const std::vector<WORD> overlay = htmlview::EmptyDialogTemplate(
      WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_MODALFRAME, WS_EX_TRANSPARENT, 339, 108);
  m_hOverlay = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(overlay.data()),
                                          m_hWnd, OverlayProc, 0);
  if (m_hOverlay) ::ShowWindow(m_hOverlay, SW_SHOW);
  return 0;
}

bool CHtml_View::CreateBrowser() {
  void* browser = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2, &browser)) ||
      browser == nullptr)
    return false;
  m_pBrowser = static_cast<IWebBrowser2*>(browser);
  return m_inPlace.Activate(m_pBrowser, m_hWnd, kPreviewDownloadControl);
}

void CHtml_View::ReleaseBrowser() {
  m_inPlace.Release();
  if (m_pBrowser != nullptr) m_pBrowser->Release();
  m_pBrowser = nullptr;
}

void CHtml_View::Navigate2(const CString& url) {
  if (m_pBrowser == nullptr) {
    ReportPreviewComponentMissing();  // no browser control on this machine
    return;
  }
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocString(url);
  VARIANT empty;
  VariantInit(&empty);
  m_pBrowser->Navigate2(&target, &empty, &empty, &empty, &empty);
  VariantClear(&target);
  if (!HasDocument()) ReportPreviewComponentMissing();
}

bool CHtml_View::HasDocument() const {
  // A control still busy with the page may yet make its document: only one that has stopped without one
  // says it has no engine to show pages with.
  VARIANT_BOOL busy = VARIANT_FALSE;
  if (SUCCEEDED(m_pBrowser->get_Busy(&busy)) && busy != VARIANT_FALSE) return true;
  IDispatch* document = nullptr;
  const HRESULT hr = m_pBrowser->get_Document(&document);
  if (document != nullptr) document->Release();
  return SUCCEEDED(hr) && document != nullptr;
}

void CHtml_View::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  m_inPlace.Place(cx, cy);
  if (m_hOverlay) {
    ::MoveWindow(m_hOverlay, 0, 0, std::max(cx - kOverlayMargin, 0), std::max(cy - kOverlayMargin, 0), TRUE);
    ::SetFocus(m_hOverlay);
  }
}

void CHtml_View::OnDestroy() {
  ReleaseBrowser();
  CView::OnDestroy();
}

BOOL CHtml_View::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(client);
  pDC->FillSolidRect(client, RGB(255, 255, 255));
  return TRUE;
}
