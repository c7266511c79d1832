#include "toolkit/common/tkp_tooltip_context.h"

#include <shlwapi.h>

#include <cwchar>

#include "platform/classlib/win/crichedit.h"
#include "toolkit/common/tkp_tooltip_rich_wnd.h"


namespace {

constexpr DWORD kFlagsKept = 0x3FFFFFFF;  // the two top flag bits are the owner's own
constexpr size_t kMaxText = 4096;

DWORD ComCtlVersion() {
  // The program imports the library: this is the copy already loaded (the one its manifest chose), and
  // no folder is searched.
  HMODULE module = ::LoadLibraryW(L"COMCTL32.DLL");
  if (module == nullptr) return 0;
  DWORD version = 0;
  using GetVersionFn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
  auto fn = reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (fn != nullptr && SUCCEEDED(fn(&info))) version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
  ::FreeLibrary(module);
  return version;
}

wchar_t* Copy(const CString& text) {
  const size_t n = wcsnlen(text.GetString(), kMaxText);
  auto* copy = new wchar_t[n + 1];
  wmemcpy(copy, text.GetString(), n);
  copy[n] = L'\0';
  return copy;
}

bool IsMouseMoveKind(UINT m) {
  return m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE || m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP;
}

bool CancelsTips(UINT m) {
  return (m >= WM_KEYFIRST && m <= WM_SYSDEADCHAR) || m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDOWN || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDOWN || m == WM_MBUTTONDBLCLK ||
         m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONDBLCLK || m == WM_NCRBUTTONDOWN || m == WM_NCRBUTTONDBLCLK ||
         m == WM_NCMBUTTONDOWN || m == WM_NCMBUTTONDBLCLK;
}

HWND ParentOwner(HWND hWnd) {
  HWND top = hWnd;
  while ((::GetWindowLongW(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top) != nullptr) top = ::GetParent(top);
  return top;
}

}  // namespace

LRESULT CTKPToolTipCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CToolTipCtrl::WindowProc(message, wParam, lParam);
  if (message == TTM_WINDOWFROMPOINT && result != 0) {
    HWND hit = reinterpret_cast<HWND>(result);
    if ((::GetWindowLongW(hit, GWL_STYLE) & WS_CHILD) && ::SendMessageW(hit, TKP_WM_ISBARCHILD, 0, 0) == 1) {
      result = reinterpret_cast<LRESULT>(::GetParent(hit));
    }
  }
  return result;
}

CTKPToolTipContext::CTKPToolTipContext()
    : m_dwComCtlVersion(ComCtlVersion()), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2) {
  AfxInitRichEdit();  // for the rich-text tips
}

CTKPToolTipContext::~CTKPToolTipContext() { DeleteToolTip(); }

void CTKPToolTipContext::DeleteToolTip() {
  if (m_pToolTip == nullptr) return;
  if (m_pToolTip->m_hWnd != nullptr) m_pToolTip->DestroyWindow();
  delete m_pToolTip;
  m_pToolTip = nullptr;
  m_lastTool = TOOLINFO{};
  m_nLastHit = -1;
}

void CTKPToolTipContext::FillInToolInfo(TOOLINFO* pToolInfo, HWND hWnd, CRect rect, INT_PTR nHit,
                                        const CString& strToolTip, const CString& strTitle,
                                        const CString& strDescription) {
  if (pToolInfo == nullptr || pToolInfo->cbSize < TTTOOLINFOW_V1_SIZE) return;
  pToolInfo->hwnd = hWnd;
  pToolInfo->rect = rect;
  pToolInfo->uId = static_cast<UINT_PTR>(nHit);
  pToolInfo->lpszText = Copy(strToolTip);
  if (pToolInfo->cbSize >= TTTOOLINFOW_V2_SIZE && !strTitle.IsEmpty() && !strDescription.IsEmpty()) {
    auto** pair = reinterpret_cast<wchar_t**>(pToolInfo->lParam);
    if (pair != nullptr) {
      pair[kDescription] = Copy(strDescription);
      pair[kTitle] = Copy(strTitle);
    }
  }
}

void CTKPToolTipContext::FreeStrings(TOOLINFO& ti) {
  if (ti.lpszText != LPSTR_TEXTCALLBACKW && ti.hinst == nullptr && !IS_INTRESOURCE(ti.lpszText)) delete[] ti.lpszText;
  ti.lpszText = nullptr;
  if (ti.cbSize >= TTTOOLINFOW_V2_SIZE && ti.lParam != 0) {
    auto** pair = reinterpret_cast<wchar_t**>(ti.lParam);
    delete[] pair[kDescription];
    delete[] pair[kTitle];
    pair[kDescription] = pair[kTitle] = nullptr;
  }
}

void CTKPToolTipContext::CancelToolTips() {
  if (m_pToolTip != nullptr && m_pToolTip->m_hWnd != nullptr) m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
}

void CTKPToolTipContext::ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd) {
  const DWORD style = (m_dwControlStyle | dwAdd) & ~dwRemove;
  if (style == m_dwControlStyle) return;
  m_dwControlStyle = style;
  DeleteToolTip();
}

CWnd* CTKPToolTipContext::CreateToolTip(CWnd* pParent) {
  const DWORD style = m_dwControlStyle | TTS_ALWAYSTIP;
  if (m_nStyle == 0 || m_nStyle == 1) {
    auto* tip = new CTKPToolTipCtrlEx;
    if (!tip->Create(pParent, style | (m_nStyle == 1 ? TTS_BALLOON : 0))) {
      delete tip;
      return nullptr;
    }
    return tip;
  }
  CTKPToolTipWnd* tip = m_nStyle == 3   ? new CTKPToolTipRichWnd
                        : m_nStyle == 4 ? static_cast<CTKPToolTipWnd*>(new CTKPToolTipGradientWnd)
                                        : new CTKPToolTipWnd;
  tip->SetContext(this);
  const BOOL shadow = m_dwComCtlVersion >= 0x60000 && !(style & 0x2000);
  if (!tip->Create(pParent, style, shadow)) {
    delete tip;
    return nullptr;
  }
  return tip;
}

void CTKPToolTipContext::SetUpNewTip() {
  CWnd* tip = m_pToolTip;
  tip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
  RECT margin = m_rcMargin;
  tip->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  if (m_clrBack != static_cast<COLORREF>(-1)) tip->SendMessage(TTM_SETTIPBKCOLOR, m_clrBack);
  if (m_clrText != static_cast<COLORREF>(-1)) tip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrText);
  if (m_nReshowDelay != -1) tip->SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, m_nReshowDelay);
  if (m_nInitialDelay != -1) tip->SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, m_nInitialDelay);
  if (m_nAutoPopDelay != -1) tip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, m_nAutoPopDelay);
  tip->SendMessage(TTM_ACTIVATE, FALSE);
}

void CTKPToolTipContext::RelayToolTipMessage(const MSG& msg) {
  MSG copy = msg;
  POINT pt = msg.pt;
  copy.hwnd = reinterpret_cast<HWND>(m_pToolTip->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&pt)));
  if (copy.message >= WM_MOUSEFIRST && copy.message <= WM_MBUTTONDBLCLK && copy.hwnd != nullptr) {
    ::ScreenToClient(copy.hwnd, &pt);
    copy.lParam = MAKELPARAM(pt.x, pt.y);
  }
  m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

void CTKPToolTipContext::FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam) {
  if (pOwner == nullptr || pOwner->m_hWnd == nullptr) return;
  MSG msg{};
  msg.hwnd = pOwner->m_hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  ::GetCursorPos(&msg.pt);
  FilterToolTipMessageCore(pOwner, msg);
}

void CTKPToolTipContext::FilterToolTipMessageCore(CWnd* pOwner, const MSG& msg) {
  const UINT message = msg.message;
  const bool buttonDown =
      (::GetKeyState(VK_LBUTTON) | ::GetKeyState(VK_RBUTTON) | ::GetKeyState(VK_MBUTTON)) & 0x8000;
  if (!IsMouseMoveKind(message) || buttonDown) {
    if (CancelsTips(message)) CancelToolTips();
    return;
  }
  HWND top = ParentOwner(pOwner->m_hWnd);
  // A popup (a menu, a toolbar's drop-down) is active with the frame that owns it.
  HWND root = ::GetAncestor(pOwner->m_hWnd, GA_ROOTOWNER);
  const bool active = ::GetForegroundWindow() == ::GetLastActivePopup(root != nullptr ? root : top);
  if (m_pToolTip != nullptr && m_pToolTip->IsWindowVisible() && !active) {
    m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
    return;
  }
  if (m_pToolTip != nullptr && ::GetWindow(m_pToolTip->m_hWnd, GW_OWNER) != top) DeleteToolTip();
  if (m_pToolTip == nullptr) {
    m_pToolTip = CreateToolTip(CWnd::FromHandle(top));
    if (m_pToolTip == nullptr) return;
    SetUpNewTip();
  }

  wchar_t* pair[2] = {nullptr, nullptr};
  TOOLINFO hit{};
  hit.cbSize = m_bShowTitle ? TTTOOLINFOW_V2_SIZE : TTTOOLINFOW_V1_SIZE;
  if (m_bShowTitle) hit.lParam = reinterpret_cast<LPARAM>(pair);
  POINT client = msg.pt;
  ::ScreenToClient(pOwner->m_hWnd, &client);
  const CPoint point(client.x, client.y);
  const INT_PTR id = pOwner->OnToolHitTest(point, &hit);
  // A miss after a miss is the same "tool" too: the tip is already off and nothing is relayed.
  const bool sameTool = id == m_nLastHit && hit.hwnd == m_lastTool.hwnd;
  if (sameTool && ::EqualRect(&hit.rect, &m_lastTool.rect)) {
    if (id != -1) RelayToolTipMessage(msg);
    FreeStrings(hit);
    return;
  }
  if (sameTool) m_pToolTip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&m_lastTool));
  if (id != -1) {
    TOOLINFO added = hit;
    added.uFlags &= kFlagsKept;
    m_pToolTip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&added));
    if (m_nStyle != 3 && (m_dwComCtlVersion >= 0x50050 || m_nStyle != 0)) {
      if (m_bShowTitle && pair[kTitle] != nullptr && pair[kTitle][0] != L'\0') {
        m_pToolTip->SendMessage(TTM_SETTITLEW, m_nTitleIcon, reinterpret_cast<LPARAM>(pair[kTitle]));
        TOOLINFO described = added;
        described.lpszText = pair[kDescription];
        m_pToolTip->SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&described));
      } else {
        m_pToolTip->SendMessage(TTM_SETTITLEW, 0, 0);
      }
    }
    if ((hit.uFlags & 0x40000000) || active) {
      m_pToolTip->SendMessage(TTM_ACTIVATE, TRUE);
      ::SetWindowPos(m_pToolTip->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
  } else {
    m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
  }
  RelayToolTipMessage(msg);
  if (!sameTool && m_lastTool.cbSize >= TTTOOLINFOW_V1_SIZE) {
    m_pToolTip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&m_lastTool));
  }
  m_lastTool = hit;
  m_nLastHit = id;
  m_lastTool.lpszText = nullptr;  // the tip keeps its own copy
  m_lastTool.lParam = 0;
  FreeStrings(hit);
}
