#include "preview/html/html_browser_view.h"

#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "preview/viewers/control_site.h"

IMPLEMENT_DYNCREATE(CHtml_View, CView)

BEGIN_MESSAGE_MAP(CHtml_View, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

INT_PTR CALLBACK OverlayProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

// The overlay: an empty transparent child dialog 339 x 108 dialog units in "MS Sans Serif" 8.
std::vector<WORD> OverlayTemplate() {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_MODALFRAME | DS_SETFONT;
  header.dwExtendedStyle = WS_EX_TRANSPARENT;
  header.cx = 339;
  header.cy = 108;
  std::memcpy(t.data(), &header, sizeof header);
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard class
  t.push_back(0);  // no title
  t.push_back(8);  // point size
  for (const wchar_t* c = L"MS Sans Serif"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  return t;
}

}  // namespace

CHtml_View::~CHtml_View() { ReleaseBrowser(); }

int CHtml_View::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  // No browser control on this system: the view stays blank.
  if (!CreateBrowser()) ReleaseBrowser();
  const std::vector<WORD> overlay = OverlayTemplate();
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
  void* object = nullptr;
  if (FAILED(m_pBrowser->QueryInterface(IID_IOleObject, &object)) || object == nullptr) return false;
  m_pObject = static_cast<IOleObject*>(object);
  m_pSite = new InPlaceControlSite(m_hWnd);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  return SUCCEEDED(m_pObject->SetClientSite(m_pSite)) &&
         SUCCEEDED(m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, m_hWnd, &client));
}

void CHtml_View::ReleaseBrowser() {
  if (m_pObject != nullptr) {
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pObject->SetClientSite(nullptr);
    m_pObject->Release();
    m_pObject = nullptr;
  }
  if (m_pSite != nullptr) m_pSite->Release();
  m_pSite = nullptr;
  if (m_pBrowser != nullptr) m_pBrowser->Release();
  m_pBrowser = nullptr;
}

void CHtml_View::Navigate2(const CString& url) {
  if (m_pBrowser == nullptr) return;
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocString(url);
  VARIANT empty;
  VariantInit(&empty);
  m_pBrowser->Navigate2(&target, &empty, &empty, &empty, &empty);
  VariantClear(&target);
}

void CHtml_View::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  IOleInPlaceObject* inPlace = nullptr;
  if (m_pObject != nullptr &&
      SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
    const RECT place{0, 0, cx, cy};
    inPlace->SetObjectRects(&place, &place);
    inPlace->Release();
  }
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
