#include "ui/controls/link_status_bar.h"

#include "platform/seams/seams.h"

namespace ui {

const char16_t kSupportPage[] = u"https://www.dorvane.example/support/";

namespace {
constexpr UINT kLinkPaneId = 101;
constexpr int kLinkPane = 1;
const wchar_t kLinkText[] = L"Contact Support";
}  // namespace

BEGIN_MESSAGE_MAP(LinkStatusBar, CStatusBar)
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void LinkStatusBar::SetPaneWidths(int width) {
  UINT id = 0, style = 0;
  int old = 0;
  GetPaneInfo(0, id, style, old);
  SetPaneInfo(0, 0, style, width / 2 + 270);
  // Owner-drawn, so the link can be drawn in its own colour.
  SetPaneInfo(kLinkPane, kLinkPaneId, SBPS_STRETCH | SBPS_OWNERDRAW, 0);
}

void LinkStatusBar::DrawItem(LPDRAWITEMSTRUCT item) {
  if (item->itemID != kLinkPane) return;
  HDC dc = item->hDC;
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = ::SetTextColor(dc, 0xFF0000);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, kLinkText, lstrlenW(kLinkText), &size);
  m_linkSize = CSize(size.cx, size.cy);
  const RECT& r = item->rcItem;
  ::TextOutW(dc, r.left + 2, r.top + (r.bottom - r.top - size.cy) / 2, kLinkText, lstrlenW(kLinkText));
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
}

void LinkStatusBar::OnLButtonUp(UINT, CPoint point) {
  RECT link{};
  if (SendMessage(SB_GETRECT, kLinkPane, reinterpret_cast<LPARAM>(&link)) && ::PtInRect(&link, POINT{point.x, point.y})) {
    seams::ShellRequest request;
    request.owner = m_hWnd;
    request.verb = u"open";
    request.target = kSupportPage;
    request.show = SW_SHOWNORMAL;
    seams::Shell().Execute(request);
  }
  Default();
}

}  // namespace ui
