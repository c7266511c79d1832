#include "toolkit/common/tkp_tooltip_wnd.h"

#include <cwchar>

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/text_mnemonics.h"
#include "toolkit/common/tkp_tooltip_context.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr int kCursorGap = 21;  // the tip sits this far below the cursor's hot spot
constexpr size_t kMaxOwnerText = 4096;  // an owner's own buffer is read no further
const wchar_t kClassName[] = L"TKPToolTipWnd";
const wchar_t kShadowClassName[] = L"TKPToolTipWndShadow";

// The one drawn tip that owns the thread's mouse hook, and the hook.
CTKPToolTipWnd* g_hookOwner = nullptr;
HHOOK g_mouseHook = nullptr;

bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

bool AnyButtonDown() {
  return (::GetKeyState(VK_LBUTTON) | ::GetKeyState(VK_RBUTTON) | ::GetKeyState(VK_MBUTTON)) & 0x8000;
}

std::wstring StripIfPrefixes(const std::wstring& text, DWORD style) {
  if (style & TTS_NOPREFIX) return text;
  const CString stripped = StripMnemonics(CString(text.c_str()));
  return std::wstring(stripped.GetString(), static_cast<size_t>(stripped.GetLength()));
}

// A string resource, read in place.
std::wstring ResourceText(HINSTANCE hinst, const wchar_t* id) {
  const wchar_t* resource = nullptr;
  const int n = ::LoadStringW(hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(id)),
                              reinterpret_cast<LPWSTR>(&resource), 0);
  return n > 0 ? std::wstring(resource, static_cast<size_t>(n)) : std::wstring();
}

// A tool's text as a TOOLINFO gives it: inline, a string resource of its instance, or none (a callback
// tool's is asked for when shown).
void TakeToolText(TKPToolTipTool& tool, const TTTOOLINFOW& info) {
  tool.callback = info.lpszText == LPSTR_TEXTCALLBACKW;
  tool.hinst = info.hinst;
  if (tool.callback || info.lpszText == nullptr) {
    tool.text.clear();
  } else if (IS_INTRESOURCE(info.lpszText)) {
    tool.text = ResourceText(info.hinst, info.lpszText);
  } else {
    tool.text.assign(info.lpszText, wcsnlen(info.lpszText, kMaxOwnerText));
  }
}

}  // namespace

CTKPToolTipWnd::CTKPToolTipWnd() : m_clock([] { return static_cast<uint32_t>(::GetTickCount()); }) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    m_hFont = ::CreateFontIndirectW(&metrics.lfStatusFont);
  }
}

CTKPToolTipWnd::~CTKPToolTipWnd() {
  RemoveMouseHook();
  if (m_hWnd != nullptr) DestroyWindow();
  if (m_hFont != nullptr) ::DeleteObject(m_hFont);
}

BOOL CTKPToolTipWnd::Create(CWnd* pParent, DWORD dwStyle, BOOL bDropShadow) {
  const wchar_t* className = bDropShadow ? kShadowClassName : kClassName;
  WNDCLASSW wc{};
  if (!::GetClassInfoW(::GetModuleHandleW(nullptr), className, &wc)) {
    wc.style = CS_SAVEBITS | CS_OWNDC | (bDropShadow ? CS_DROPSHADOW : 0);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = className;
    if (!::RegisterClassW(&wc)) return FALSE;
  }
  return CreateEx(WS_EX_TOOLWINDOW, className, _T(""), WS_POPUP | dwStyle | TTS_ALWAYSTIP, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParent != nullptr ? pParent->m_hWnd : nullptr, nullptr);
}

// The hook must not outlive its window: a dying tip takes it along.
void CTKPToolTipWnd::PostNcDestroy() {
  RemoveMouseHook();
  if (m_nTimer != 0) m_nTimer = 0;
  CWnd::PostNcDestroy();
}

// Read afresh each time: the owners change the context's fields whenever they like.
TKPToolTipLook CTKPToolTipWnd::Look() const {
  TKPToolTipLook look;
  if (m_pContext == nullptr) return look;
  look.margin = m_pContext->m_rcMargin;
  look.maxTipWidth = m_pContext->m_nMaxTipWidth;
  look.background = m_pContext->m_clrBack;
  look.text = m_pContext->m_clrText;
  return look;
}

COLORREF CTKPToolTipWnd::BackColor() const {
  const COLORREF back = Look().background;
  return back != static_cast<COLORREF>(-1) ? back : TKPColorManager()->GetColor(24);
}

COLORREF CTKPToolTipWnd::TextColor() const {
  const COLORREF text = Look().text;
  return text != static_cast<COLORREF>(-1) ? text : TKPColorManager()->GetColor(23);
}

const TKPToolTipTool* CTKPToolTipWnd::GetShownTool() const {
  for (const auto& tool : m_tools) {
    if (tool->key == m_schedule.shown()) return tool.get();
  }
  return nullptr;
}

TKPToolTipTool* CTKPToolTipWnd::Find(HWND hwnd, UINT_PTR id) {
  for (auto& tool : m_tools) {
    if (tool->hwnd == hwnd && tool->id == id) return tool.get();
  }
  return nullptr;
}

TKPToolTipTool* CTKPToolTipWnd::FindKey(int key) {
  for (auto& tool : m_tools) {
    if (tool->key == key) return tool.get();
  }
  return nullptr;
}

// A child that answers the private message stands for its parent (the command bars' windows do).
HWND CTKPToolTipWnd::WindowFromPoint(POINT screen) const {
  HWND hit = ::WindowFromPoint(screen);
  if (hit != nullptr && (::GetWindowLongW(hit, GWL_STYLE) & WS_CHILD) && ::SendMessageW(hit, TKP_WM_ISBARCHILD, 0, 0) == 1) {
    hit = ::GetParent(hit);
  }
  return hit;
}

TKPToolTipTool* CTKPToolTipWnd::ToolUnderCursor(bool buttonDown) {
  if (buttonDown) return nullptr;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const HWND under = WindowFromPoint(cursor);
  for (auto& tool : m_tools) {
    if (!::IsWindow(tool->hwnd)) continue;
    RECT r{};
    if (tool->flags & TTF_IDISHWND) {
      ::GetWindowRect(reinterpret_cast<HWND>(tool->id), &r);
    } else {
      r = tool->rect;
      ::MapWindowPoints(tool->hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    if (!::PtInRect(&r, cursor)) continue;
    if (!(tool->flags & TTF_IDISHWND) && under != tool->hwnd) continue;
    return tool.get();
  }
  return nullptr;
}

// A callback tool asks its owner; the answer may be the inline buffer, the owner's own buffer or a string
// resource, and each is read within its bounds.
std::wstring CTKPToolTipWnd::GetToolText(TKPToolTipTool* pTool) {
  if (pTool->callback) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = pTool->id;
    info.hdr.code = TTN_NEEDTEXTW;
    info.uFlags = pTool->flags;
    info.lpszText = info.szText;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner == nullptr) owner = ::GetParent(m_hWnd);
    if (owner != nullptr) ::SendMessageW(owner, WM_NOTIFY, pTool->id, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText == info.szText) {
      pTool->text.assign(info.szText, wcsnlen(info.szText, sizeof info.szText / sizeof info.szText[0]));
    } else if (info.lpszText != nullptr && IS_INTRESOURCE(info.lpszText)) {
      pTool->text = ResourceText(info.hinst, info.lpszText);
    } else if (info.lpszText != nullptr) {
      pTool->text.assign(info.lpszText, wcsnlen(info.lpszText, kMaxOwnerText));
    }
  }
  return StripIfPrefixes(pTool->text, GetStyle());
}

CSize CTKPToolTipWnd::CalcToolSize(TKPToolTipTool* pTool) {
  const std::wstring text = GetToolText(pTool);
  if (text.empty()) return CSize(0, 0);
  const TKPToolTipLook look = Look();
  CClientDC dc(this);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, m_hFont);
  RECT r{0, 0, look.maxTipWidth, 0};
  ::DrawTextW(dc.m_hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (!m_title.empty()) {
    RECT t{0, 0, 0, 0};
    ::DrawTextW(dc.m_hDC, m_title.c_str(), static_cast<int>(m_title.size()), &t, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    r.bottom += t.bottom - t.top + 8;
    if (t.right - t.left > r.right - r.left) r.right = r.left + (t.right - t.left);
  }
  ::SelectObject(dc.m_hDC, old);
  return CSize(r.right - r.left + look.margin.left + look.margin.right + 6,
               r.bottom - r.top + look.margin.top + look.margin.bottom + 6);
}

void CTKPToolTipWnd::DrawBackground(CDC* pDC, CRect rc) {
  pDC->FillSolidRect(rc, BackColor());
  const COLORREF topLeft = (GetStyle() & 0x1000) ? ::GetSysColor(COLOR_3DFACE) : RGB(0, 0, 0);
  pDC->Draw3dRect(rc, topLeft, RGB(0, 0, 0));
}

void CTKPToolTipWnd::DrawToolText(CDC* pDC, TKPToolTipTool* pTool, CRect rc) {
  const RECT margin = Look().margin;
  rc.left += margin.left + 3;
  rc.top += margin.top + 3;
  rc.right -= margin.right + 3;
  rc.bottom -= margin.bottom + 3;
  if (!m_title.empty()) {
    RECT t = rc;
    const int height = ::DrawTextW(pDC->m_hDC, m_title.c_str(), static_cast<int>(m_title.size()), &t,
                                   DT_NOPREFIX | DT_SINGLELINE);
    pDC->FillSolidRect(rc.left, rc.top + height + 4, rc.Width(), 1, RGB(0, 0, 0));
    rc.top += height + 8;
  }
  const std::wstring text = StripIfPrefixes(pTool->text, GetStyle());
  RECT body = rc;
  ::DrawTextW(pDC->m_hDC, text.c_str(), static_cast<int>(text.size()), &body, DT_NOPREFIX | DT_WORDBREAK);
}

void CTKPToolTipWnd::OnPaintTip() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CDC* dc = CDC::FromHandle(hdc);
  CRect client;
  GetClientRect(client);
  DrawBackground(dc, client);
  TKPToolTipTool* tool = FindKey(m_schedule.shown());
  if (tool != nullptr) {
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, TextColor());
    HGDIOBJ old = ::SelectObject(hdc, m_hFont);
    DrawToolText(dc, tool, client);
    ::SelectObject(hdc, old);
  }
  ::EndPaint(m_hWnd, &ps);
}

void CTKPToolTipWnd::ShowTool(TKPToolTipTool* pTool) {
  const int key = pTool != nullptr ? pTool->key : -1;
  if (key == m_schedule.shown()) return;
  const CSize size = pTool != nullptr ? CalcToolSize(pTool) : CSize(0, 0);
  if (size.cx == 0 || size.cy == 0) pTool = nullptr;
  if (pTool == nullptr && m_schedule.shown() == -1) return;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if (pTool != nullptr) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SetWindowPos(m_hWnd, HWND_TOP, cursor.x, cursor.y + kCursorGap, size.cx, size.cy,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    InstallMouseHook();
    m_schedule.Shown(pTool->key, m_clock());
  } else {
    RemoveMouseHook();
    m_schedule.Hidden(m_clock());
  }
}

void CTKPToolTipWnd::Apply(const tk::TipScheduler::Step& step) {
  if (step.stopTimer && m_nTimer != 0) {
    KillTimer(m_nTimer);
    m_nTimer = 0;
  }
  switch (step.action) {
    case tk::TipScheduler::Action::kShow: ShowTool(FindKey(step.tool)); break;
    case tk::TipScheduler::Action::kStartTimer: m_nTimer = SetTimer(kShowTimer, tk::TipScheduler::kInitialDelay); break;
    case tk::TipScheduler::Action::kHide: ShowTool(nullptr); break;
    case tk::TipScheduler::Action::kNothing: break;
  }
}

void CTKPToolTipWnd::Relay(const MSG* pMsg) {
  if (!m_bActive || pMsg == nullptr || !IsMouseMessage(pMsg->message)) return;
  TKPToolTipTool* tool = ToolUnderCursor(AnyButtonDown());
  Apply(m_schedule.Relay(tool != nullptr ? tool->key : -1, pMsg->message == WM_LBUTTONDOWN, m_clock()));
}

void CTKPToolTipWnd::InstallMouseHook() {
  if (g_mouseHook != nullptr) return;
  g_mouseHook = ::SetWindowsHookExW(WH_MOUSE, &CTKPToolTipWnd::MouseHook, nullptr, ::GetCurrentThreadId());
  if (g_mouseHook != nullptr) g_hookOwner = this;
}

void CTKPToolTipWnd::RemoveMouseHook() {
  if (g_hookOwner != this) return;  // a window removes only its own hook
  ::UnhookWindowsHookEx(g_mouseHook);
  g_mouseHook = nullptr;
  g_hookOwner = nullptr;
}

LRESULT CALLBACK CTKPToolTipWnd::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  CTKPToolTipWnd* owner = g_hookOwner;
  if (code == HC_ACTION && owner != nullptr && owner->m_hWnd != nullptr) {
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const TKPToolTipTool* shown = owner->GetShownTool();
    if (shown != nullptr && owner->WindowFromPoint(info->pt) != shown->hwnd) {
      MSG moved{};
      moved.message = WM_MOUSEMOVE;
      moved.pt = info->pt;
      owner->Relay(&moved);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CTKPToolTipWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TTM_ADDTOOLW: {
      const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
      if (info == nullptr || info->cbSize < TTTOOLINFOW_V1_SIZE) return 0;
      auto tool = std::make_unique<TKPToolTipTool>();
      TakeToolText(*tool, *info);
      tool->flags = info->uFlags;
      tool->rect = info->rect;
      tool->hwnd = info->hwnd;
      tool->id = info->uId;
      tool->key = m_nextKey++;
      m_tools.push_back(std::move(tool));
      return 1;
    }
    case TTM_DELTOOLW: {
      const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
      if (info == nullptr) return 0;
      TKPToolTipTool* tool = Find(info->hwnd, info->uId);
      if (tool == nullptr) return 0;
      if (tool->key == m_schedule.shown()) ShowTool(nullptr);
      m_schedule.Forget(tool->key);
      for (auto it = m_tools.begin(); it != m_tools.end(); ++it) {
        if (it->get() == tool) {
          m_tools.erase(it);
          break;
        }
      }
      return 0;
    }
    case TTM_UPDATETIPTEXTW: {
      const auto* info = reinterpret_cast<const TTTOOLINFOW*>(lParam);
      TKPToolTipTool* tool = info != nullptr ? Find(info->hwnd, info->uId) : nullptr;
      if (tool == nullptr) return 0;
      TakeToolText(*tool, *info);
      return 0;
    }
    case TTM_SETTITLEW: {
      const auto* title = reinterpret_cast<const wchar_t*>(lParam);
      m_title = StripIfPrefixes(title != nullptr ? std::wstring(title, wcsnlen(title, kMaxOwnerText)) : std::wstring(),
                                GetStyle());
      return 0;
    }
    case TTM_ACTIVATE:
      m_bActive = wParam != 0;
      if (!m_bActive) {
        if (m_nTimer != 0) KillTimer(m_nTimer);
        m_nTimer = 0;
        m_schedule.Deactivate();
        ShowTool(nullptr);
      }
      return 0;
    case TTM_RELAYEVENT:
      Relay(reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_WINDOWFROMPOINT: {
      const auto* pt = reinterpret_cast<const POINT*>(lParam);
      return pt != nullptr ? reinterpret_cast<LRESULT>(WindowFromPoint(*pt)) : 0;
    }
    case WM_PAINT:
      OnPaintTip();
      return 0;
    case WM_MOUSEMOVE:
      ShowTool(nullptr);
      return 0;
    case WM_TIMER:
      if (wParam == kShowTimer) {
        TKPToolTipTool* tool = ToolUnderCursor(AnyButtonDown());
        const tk::TipScheduler::Step step = m_schedule.Timer(tool != nullptr ? tool->key : -1);
        Apply(step);
        if (m_nTimer != 0) KillTimer(m_nTimer);
        m_nTimer = 0;
        return 0;
      }
      break;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CTKPToolTipGradientWnd::DrawBackground(CDC* pDC, CRect rc) {
  COLORREF from = BackColor(), to = RGB(255, 255, 255), frame = RGB(0, 0, 0);
  switch (TKPColorManager()->GetCurrentSystemTheme()) {
    case 1: from = 0x97D4FF; to = 0xC8F2FF; frame = 0x800000; break;
    case 2: from = 0x97D4FF; to = 0xC8F2FF; frame = 0x385D3F; break;
    case 3: from = 0x97D4FF; to = 0xC8F2FF; frame = 0x6F4B4B; break;
    default: break;
  }
  TKPDrawHelpers()->GradientFill(pDC, rc, from, to, FALSE);
  pDC->Draw3dRect(rc, frame, frame);
}
