#include "toolkit/controls/tk_caption_popup.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/resource_manager.h"

IMPLEMENT_DYNAMIC(CTKCaptionPopupWnd, CWnd)

namespace {

constexpr UINT_PTR kFocusTimer = 1;
constexpr wchar_t kClassName[] = L"TKCaptionPopupWnd";
constexpr int kCaptionHeight = 19;
constexpr int kPinWidth = 16;

bool RegisterPopupClass() {
  WNDCLASSW existing{};
  if (::GetClassInfoW(AfxGetInstanceHandle(), kClassName, &existing)) return true;
  WNDCLASSW wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
  wc.lpszClassName = kClassName;
  return ::RegisterClassW(&wc) != 0;
}

}  // namespace

CTKCaptionPopupWnd::~CTKCaptionPopupWnd() { DestroyWindow(); }

BOOL CTKCaptionPopupWnd::Create(const CRect& rect, CTKCaption* pOwnerCaption, CWnd* pChild) {
  if (!TKIsWindowObject(pOwnerCaption) || !TKIsWindowObject(pChild)) return FALSE;
  // A class that cannot be registered leaves the child where it is.
  if (!RegisterPopupClass()) return FALSE;
  m_pOwnerCaption = pOwnerCaption;
  m_pChild = pChild;
  const DWORD style = WS_POPUP | WS_VISIBLE | WS_DLGFRAME;
  if (!CreateEx(WS_EX_TOOLWINDOW, kClassName, _T(""), style, rect, nullptr, 0)) return FALSE;
  m_hPrevParent = ::GetParent(pChild->m_hWnd);
  pChild->SetParent(this);

  CString text;
  TKPResourceManager()->LoadString(&text, IDS_TK_PUSH_PIN_TIP);
  m_caption.Create(this, text, kTKCaptionSunken, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER, CRect(0, 0, 0, 0),
                   0xFFFF);
  m_caption.m_bTextButton = FALSE;

  m_pin.Create(_T(""), WS_CHILD | 0x10000F4B, CRect(0, 0, 0, 0), this, ID_TK_CAPTION_BUTTON);
  m_pin.m_pCaption = &m_caption;
  CImageList images;
  CBitmap bitmap;
  if (images.Create(16, 15, ILC_COLOR8 | ILC_MASK, 0, 1) &&
      TKPResourceManager()->LoadBitmap(&bitmap, IDB_TK_CAPTION_BUTTONS) && images.Add(&bitmap, RGB(255, 0, 255)) >= 0) {
    m_iconIn.SetIcon(images.ExtractIcon(0));
    m_iconOut.SetIcon(images.ExtractIcon(1));
    m_pin.SetIconFromHICON(CSize(16, 15), m_iconOut, m_iconIn);
  }
  SetTimer(kFocusTimer, 10, nullptr);
  return TRUE;
}

void CTKCaptionPopupWnd::RecalcLayout() {
  if (m_hWnd == nullptr) return;
  CRect rc;
  GetClientRect(rc);
  rc.DeflateRect(2, 2);
  const CRect strip(rc.left, rc.top, rc.right, rc.top + kCaptionHeight);
  if (m_caption.m_hWnd != nullptr) m_caption.MoveWindow(strip);
  if (TKIsWindowObject(m_pChild)) m_pChild->MoveWindow(CRect(rc.left, strip.bottom, rc.right, rc.bottom));
  if (m_pin.m_hWnd != nullptr)
    m_pin.MoveWindow(CRect(strip.right - 2 - kPinWidth, strip.top + 2, strip.right - 2, strip.bottom - 2));
}

void CTKCaptionPopupWnd::RestoreChild() {
  if (TKIsWindowObject(m_pChild) && ::IsWindow(m_hPrevParent)) ::SetParent(m_pChild->m_hWnd, m_hPrevParent);
}

void CTKCaptionPopupWnd::TellOwner(UINT message) {
  if (m_bToldOwner || !TKIsWindowObject(m_pOwnerCaption)) return;
  m_bToldOwner = true;
  KillTimer(kFocusTimer);
  m_pOwnerCaption->PostMessage(message, 0, 0);
}

void CTKCaptionPopupWnd::CheckFocus() {
  HWND focus = ::GetFocus();
  if (focus != nullptr) {
    if (focus == m_hWnd || focus == m_caption.m_hWnd || focus == m_pin.m_hWnd) return;
    if (TKIsWindowObject(m_pChild) && (focus == m_pChild->m_hWnd || ::IsChild(m_pChild->m_hWnd, focus))) return;
  }
  TellOwner(kTKCaptionPopupClosed);
}

LRESULT CTKCaptionPopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      CRect rc;
      GetClientRect(rc);
      rc.DeflateRect(1, 1);
      dc.Draw3dRect(rc, TKPColorManager()->GetColor(COLOR_BTNSHADOW), TKPColorManager()->GetColor(COLOR_BTNHIGHLIGHT));
      if (m_caption.m_hWnd != nullptr) m_caption.Invalidate();
      return 0;
    }
    case WM_TIMER:
      if (wParam != kFocusTimer) break;
      CheckFocus();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) != ID_TK_CAPTION_BUTTON) break;
      TellOwner(kTKCaptionChildBack);
      return 0;
    case WM_DESTROY:
      RestoreChild();
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
