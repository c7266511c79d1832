#include "toolkit/common/tkp_tooltip_rich_wnd.h"

#include <richedit.h>

#include <commctrl.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/crichedit.h"
#include "toolkit/common/rtf_escape.h"

namespace {

struct StreamSource {
  const char* data;
  size_t size;
  size_t at;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const size_t n = std::min(static_cast<size_t>(wanted > 0 ? wanted : 0), source->size - source->at);
  memcpy(buffer, source->data + source->at, n);
  source->at += n;
  *given = static_cast<LONG>(n);
  return 0;
}

LRESULT StreamIn(HWND rich, UINT format, const void* data, size_t size) {
  StreamSource source{static_cast<const char*>(data), size, 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadStream;
  return ::SendMessageW(rich, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

HWND CreateRichChild(HWND parent) {
  AfxInitRichEdit();
  return ::CreateWindowExW(0, L"RICHEDIT", L"", WS_CHILD | ES_READONLY | ES_MULTILINE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(1), nullptr, nullptr);
}

// Renders the whole text of the rich edit into rc (pixels of dc), then frees its format cache.
void FormatRange(HWND rich, HDC dc, const RECT& rc) {
  const int dpiX = ::GetDeviceCaps(dc, LOGPIXELSX), dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
  FORMATRANGE range{};
  range.hdc = dc;
  range.hdcTarget = dc;
  range.rc = RECT{::MulDiv(rc.left, 1440, dpiX), ::MulDiv(rc.top, 1440, dpiY), ::MulDiv(rc.right, 1440, dpiX),
                  ::MulDiv(rc.bottom, 1440, dpiY)};
  range.rcPage = range.rc;
  range.chrg.cpMin = 0;
  range.chrg.cpMax = -1;
  ::SendMessageW(rich, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  ::SendMessageW(rich, EM_FORMATRANGE, FALSE, 0);
}

// Some rich-edit builds lay text out but draw nothing through EM_FORMATRANGE; asked once, by drawing a
// word onto white and looking for ink.
bool RichEditDrawsFormatRange(HWND tip) {
  static const bool draws = [tip] {
    HWND probe = CreateRichChild(tip);
    if (probe == nullptr) return false;
    ::SetWindowTextW(probe, L"WWWW");
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 96, 48);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all{0, 0, 96, 48};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    FormatRange(probe, dc, all);
    bool ink = false;
    for (int y = 0; y < 48 && !ink; ++y) {
      for (int x = 0; x < 96 && !ink; ++x) ink = ::GetPixel(dc, x, y) != RGB(255, 255, 255);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DestroyWindow(probe);
    return ink;
  }();
  return draws;
}

// Over text shown by the live child, the mouse belongs to the tip, which hides on a move.
LRESULT CALLBACK SeeThroughChild(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CTKPToolTipRichWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const LRESULT result = CTKPToolTipWnd::WindowProc(message, wParam, lParam);
    m_hRich = CreateRichChild(m_hWnd);
    if (m_hRich != nullptr) ::SetWindowSubclass(m_hRich, SeeThroughChild, 0, 0);
    return result;
  }
  if (message == WM_NOTIFY && lParam != 0 && reinterpret_cast<NMHDR*>(lParam)->code == EN_REQUESTRESIZE) {
    const RECT& r = reinterpret_cast<REQRESIZE*>(lParam)->rc;
    m_requested = CSize(r.right - r.left, r.bottom - r.top);
    return 0;
  }
  return CTKPToolTipWnd::WindowProc(message, wParam, lParam);
}

// Text outside the code page is kept: markup is escaped as RTF wants, plain text goes in as UTF-16.
void CTKPToolTipRichWnd::SetRichText(const std::wstring& text) {
  const std::u16string wide = U16(text);
  LRESULT read = 0;
  if (tk::LooksLikeRtf(wide)) {
    const std::string rtf = tk::EscapeRtfText(wide);
    read = StreamIn(m_hRich, SF_RTF, rtf.data(), rtf.size());
  }
  if (read == 0) StreamIn(m_hRich, SF_TEXT | SF_UNICODE, text.data(), text.size() * sizeof(wchar_t));
}

CSize CTKPToolTipRichWnd::Probe(int width) {
  m_requested = CSize(0, 0);
  ::MoveWindow(m_hRich, 0, 0, width, 1, FALSE);
  RECT r{0, 0, width, 1};
  ::SendMessageW(m_hRich, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  ::SendMessageW(m_hRich, EM_REQUESTRESIZE, 0, 0);
  return m_requested;
}

CSize CTKPToolTipRichWnd::BestSize() {
  ::ShowWindow(m_hRich, SW_SHOWNA);
  ::SendMessageW(m_hRich, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  int low = 0;
  int high = 2 * (Look().maxTipWidth >= 0 ? Look().maxTipWidth : ::GetSystemMetrics(SM_CXSCREEN));
  int reference = -1;
  CSize last(0, 0);
  while (low < high) {
    const int mid = (low + high) / 2;
    last = Probe(mid);
    if (reference < 0) reference = last.cy;
    if (last.cy <= reference) {
      high = mid - 1;
    } else {
      low = mid + 1;
    }
  }
  if (last.cy > reference) last = Probe(high + 1);
  const CSize size(last.cx + 2, last.cy + 2);
  ::MoveWindow(m_hRich, 0, 0, size.cx, size.cy, FALSE);
  ::ShowWindow(m_hRich, SW_HIDE);
  return size;
}

CSize CTKPToolTipRichWnd::CalcToolSize(TKPToolTipTool* pTool) {
  if (m_hRich == nullptr) return CSize(0, 0);
  ::SendMessageW(m_hRich, EM_SETBKGNDCOLOR, 0, BackColor());
  ::SetWindowTextW(m_hRich, L"");
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_COLOR;
  format.crTextColor = TextColor();
  ::SendMessageW(m_hRich, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  ::SendMessageW(m_hRich, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
  const std::wstring text = GetToolText(pTool);
  if (text.empty()) return CSize(0, 0);
  SetRichText(text);
  CSize size = BestSize();
  const TKPToolTipLook look = Look();
  size.cx += look.margin.left + look.margin.right + 4;
  size.cy += look.margin.top + look.margin.bottom + 2;
  if (tk::HasCentredOrRightParagraph(U16(text))) size.cx += 5;
  return size;
}

// The text is drawn into the tip; where the rich edit draws nothing that way, its child shows it instead.
void CTKPToolTipRichWnd::DrawToolText(CDC* pDC, TKPToolTipTool*, CRect rc) {
  if (m_hRich == nullptr) return;
  const TKPToolTipLook look = Look();
  rc.left += look.margin.left + 3;
  rc.top += look.margin.top + 2;
  rc.right -= 1;
  rc.bottom -= 1;
  if (RichEditDrawsFormatRange(m_hWnd)) {
    ::ShowWindow(m_hRich, SW_HIDE);
    FormatRange(m_hRich, pDC->m_hDC, rc);
    return;
  }
  ::SendMessageW(m_hRich, EM_SETEVENTMASK, 0, 0);
  ::MoveWindow(m_hRich, rc.left, rc.top, rc.Width(), rc.Height(), FALSE);
  RECT inner{0, 0, rc.Width(), rc.Height()};
  ::SendMessageW(m_hRich, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&inner));
  ::ShowWindow(m_hRich, SW_SHOWNA);
}
