#include "preview/viewers/media_views.h"

#include <ole2.h>
#include <vfw.h>
#include <wmp.h>

#include <string>
#include <vector>

#include "platform/classlib/win/coleexception.h"
#include "preview/media_playlist.h"
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

// A playlist by its extension or its first bytes.
bool IsPlaylistFile(const CString& path) {
  const std::u16string name = path.ToUtf16();
  const size_t dot = name.rfind(u'.');
  const size_t slash = name.find_last_of(u"\\/");
  std::u16string extension = dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)
                                 ? std::u16string() : name.substr(dot);
  for (char16_t& c : extension) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  std::vector<uint8_t> head(preview::kPlaylistHeadBytes);
  DWORD got = 0;
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    if (!::ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr)) got = 0;
    ::CloseHandle(file);
  }
  return preview::IsMediaPlaylist(extension, head.data(), got);
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
  void* player = nullptr;
  const bool made = SUCCEEDED(::CoCreateInstance(ControlClsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, &object));
  // The site holds its own reference to the control; this one only lasts for the start.
  IUnknown* control = static_cast<IUnknown*>(object);
  const bool started = made && m_inPlace.Activate(control, m_hWnd) && m_inPlace.IsActive() &&
                       SUCCEEDED(control->QueryInterface(kPlayer4Iid, &player));
  if (control != nullptr) control->Release();
  if (!started) {
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

void CWMPPlayer4::SetInvokeURLs(bool invoke) {
  IWMPSettings* settings = nullptr;
  Check(Player().get_settings(&settings));
  if (settings == nullptr) AfxThrowOleException(E_POINTER);
  const HRESULT hr = settings->put_invokeURLs(invoke ? VARIANT_TRUE : VARIANT_FALSE);
  settings->Release();
  Check(hr);
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
  m_inPlace.Place(cx, cy);
}

void CWMPPlayer4::OnDestroy() {
  Release();
  CWnd::OnDestroy();
}

void CWMPPlayer4::Release() {
  if (m_player != nullptr) m_player->Release();
  m_player = nullptr;
  m_inPlace.Release();
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
  // The player would follow a playlist's entries wherever they point, the network and shares included: a
  // recovered playlist is not played. It is no damaged file either.
  if (IsPlaylistFile(document->m_previewPath)) {
    ReportPreviewComponentMissing();
    return 1;
  }
  try {
    // Script commands inside a ".wmv", ".wma" or ".asf" file may name addresses for the player to open: a
    // recovered file opens none. A player that cannot be told so is not given the file.
    m_player.SetInvokeURLs(false);
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
