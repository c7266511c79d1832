#include "preview/viewers/media_views.h"

#include <ole2.h>
#include <vfw.h>
#include <wmp.h>

#include "platform/classlib/win/coleexception.h"
#include "preview/preview_host.h"

IMPLEMENT_DYNCREATE(CAviView, CView)
IMPLEMENT_DYNCREATE(CWMPPlayer4, CWnd)
IMPLEMENT_DYNCREATE(CMyMedia, CView)

BEGIN_MESSAGE_MAP(CAviView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CWMPPlayer4, CWnd)
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMyMedia, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr GUID kPlayerClsid = {0x6bf52a52, 0x394a, 0x11d3, {0xb1, 0x53, 0x00, 0xc0, 0x4f, 0x79, 0xfa, 0xa6}};
constexpr GUID kPlayer4Iid = {0x6c497d62, 0x8919, 0x413c, {0x82, 0xdb, 0xe9, 0x35, 0xfb, 0x3e, 0xc5, 0x84}};

void Check(HRESULT hr) {
  if (FAILED(hr)) AfxThrowOleException(hr);
}

// A state the control does not report is read as unknown: only a failure of the control is one.
void CheckQuery(HRESULT hr) {
  if (hr != E_NOTIMPL) Check(hr);
}

}  // namespace

// ---- the MCI window -----------------------------------------------------------------------------------

int CAviView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewHost* host = CurrentPreviewHost();
  PreviewDocument* document = CurrentPreviewDocument();
  if (host == nullptr || document == nullptr) return 0;
  // A file MCI cannot open is reported to the pane, never by a message box of MCI's own.
  m_hMCIWnd = ::MCIWndCreateW(m_hWnd, ::GetModuleHandleW(nullptr),
                              WS_CHILD | WS_VISIBLE | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG, document->m_previewPath);
  if (m_hMCIWnd == nullptr || MCIWndGetDeviceID(m_hMCIWnd) == 0 || MCIWndGetError(m_hMCIWnd, nullptr, 0) != 0) {
    host->m_bPreviewOk = 0;
    return 1;
  }
  ::SendMessageW(m_hMCIWnd, MCI_PLAY, 0, 0);
  return 1;
}

// The MCI window keeps the size and place it gave itself.
void CAviView::OnSize(UINT, int, int) { Default(); }

void CAviView::OnDestroy() {
  if (m_hMCIWnd != nullptr && ::IsWindow(m_hMCIWnd)) {
    ::SendMessageW(m_hMCIWnd, MCI_STOP, 0, 0);
    ::SendMessageW(m_hMCIWnd, WM_CLOSE, 0, 0);
  }
  m_hMCIWnd = nullptr;
  CView::OnDestroy();
}

// ---- the media player control's site ----------------------------------------------------------------------

// What an in-place control asks of its container: the window it lives in and where it is placed. Some
// controls activate only in a site that answers IOleInPlaceSiteEx.
class MediaControlSite final : public IOleClientSite, public IOleInPlaceSiteEx {
 public:
  explicit MediaControlSite(HWND window) : m_window(window) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *ppv = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx) {
      *ppv = static_cast<IOleInPlaceSiteEx*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG refs = --m_refs;
    if (refs == 0) delete this;
    return refs;
  }
  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceSite
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = m_window;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = nullptr;
    *document = nullptr;
    ::GetClientRect(m_window, position);
    ::GetClientRect(m_window, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(m_window, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
  // IOleInPlaceSiteEx
  STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override {
    if (noRedraw != nullptr) *noRedraw = FALSE;
    return S_OK;
  }
  STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
  STDMETHODIMP RequestUIActivate() override { return S_OK; }

 private:
  ULONG m_refs = 1;
  HWND m_window;
};

// ---- the media player control ---------------------------------------------------------------------------

const CLSID& CWMPPlayer4::GetClsid() { return kPlayerClsid; }

CLSID& CWMPPlayer4::ControlClsid() {
  static CLSID clsid = kPlayerClsid;
  return clsid;
}

CWMPPlayer4::~CWMPPlayer4() { Release(); }

BOOL CWMPPlayer4::Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!CWnd::Create(CView::FrameOrViewClassName(), lpszWindowName, dwStyle, rect, pParentWnd, nID)) return FALSE;
  m_comStarted = SUCCEEDED(::CoInitialize(nullptr));
  void* object = nullptr;
  if (FAILED(::CoCreateInstance(ControlClsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, &object))) {
    DestroyWindow();
    return FALSE;
  }
  m_object = static_cast<IOleObject*>(object);
  m_site = new MediaControlSite(m_hWnd);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  void* player = nullptr;
  if (FAILED(m_object->SetClientSite(m_site)) ||
      FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site, 0, m_hWnd, &client)) ||
      FAILED(m_object->QueryInterface(kPlayer4Iid, &player))) {
    DestroyWindow();
    return FALSE;
  }
  m_player = static_cast<IWMPPlayer4*>(player);
  return TRUE;
}

IWMPPlayer4& CWMPPlayer4::Player() {
  if (m_player == nullptr) AfxThrowOleException(E_POINTER);
  return *m_player;
}

void CWMPPlayer4::SetURL(LPCTSTR url) {
  BSTR text = ::SysAllocString(url);
  const HRESULT hr = Player().put_URL(text);
  ::SysFreeString(text);
  Check(hr);
}

long CWMPPlayer4::GetOpenState() {
  WMPOpenState state = wmposUndefined;
  CheckQuery(Player().get_openState(&state));
  return state;
}

long CWMPPlayer4::GetPlayState() {
  WMPPlayState state = wmppsUndefined;
  CheckQuery(Player().get_playState(&state));
  return state;
}

CString CWMPPlayer4::GetStatus() {
  BSTR text = nullptr;
  CheckQuery(Player().get_status(&text));
  CString status(text != nullptr ? text : L"");
  ::SysFreeString(text);
  return status;
}

void CWMPPlayer4::Close() { Check(Player().close()); }

void CWMPPlayer4::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_object == nullptr) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  const RECT place{0, 0, cx, cy};
  inPlace->SetObjectRects(&place, &place);
  inPlace->Release();
}

void CWMPPlayer4::OnDestroy() {
  Release();
  CWnd::OnDestroy();
}

void CWMPPlayer4::Release() {
  if (m_player != nullptr) m_player->Release();
  m_player = nullptr;
  if (m_object != nullptr) {
    m_object->Close(OLECLOSE_NOSAVE);
    m_object->SetClientSite(nullptr);
    m_object->Release();
  }
  m_object = nullptr;
  if (m_site != nullptr) m_site->Release();
  m_site = nullptr;
  if (m_comStarted) ::CoUninitialize();
  m_comStarted = false;
}

// ---- the media view --------------------------------------------------------------------------------------

int CMyMedia::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  const BOOL created = m_player.Create(_T("aa"), WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{40, 200, 100, 200}, this,
                                       kPlayerId);
  PreviewHost* host = CurrentPreviewHost();
  PreviewDocument* document = CurrentPreviewDocument();
  if (host == nullptr || document == nullptr) return 0;
  // Without the control (not installed, or it would not start) nothing is wrong with the file: the pane
  // says that this type cannot be previewed here.
  if (!created) {
    ReportPreviewComponentMissing();
    return 1;
  }
  try {
    m_player.SetURL(document->m_previewPath);
    m_player.GetOpenState();
    m_player.GetPlayState();
    m_player.GetStatus();
  } catch (CException* e) {
    e->Delete();
    host->m_bPreviewOk = 0;
  } catch (...) {
    host->m_bPreviewOk = 0;
  }
  return 1;
}

void CMyMedia::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_player.GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  m_player.MoveWindow(client, TRUE);
}

void CMyMedia::OnDestroy() {
  if (m_player.GetSafeHwnd() != nullptr) {
    try {
      m_player.Close();
    } catch (CException* e) {
      e->Delete();  // a player that cannot close is destroyed all the same
    }
    m_player.DestroyWindow();
  }
  CView::OnDestroy();
}
