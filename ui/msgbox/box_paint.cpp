// Painting the box: the background of every area is painted once into a cached bitmap as large as the
// open box; each paint copies it, draws the texts through their drawers and copies the result out.
#include <string>

#include "ui/msgbox/box_dialog.h"

namespace msgbox {
namespace {

COLORREF Resolve(uint32_t colour) { return colour == kButtonFaceColour ? ::GetSysColor(COLOR_BTNFACE) : colour; }

RECT Inset(const RECT& rect, int by) { return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by}; }

}  // namespace

BOOL BoxDialog::OnEraseBkgnd(CDC*) { return TRUE; }  // the paint covers everything

void BoxDialog::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintInto(dc, paint.rcPaint);
  ::EndPaint(m_hWnd, &paint);
}

void BoxDialog::PaintInto(HDC dc, const RECT& clip) {
  if (background_ == nullptr) BuildBackground(dc);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  HDC cache = ::CreateCompatibleDC(dc);
  HDC work = ::CreateCompatibleDC(dc);
  HBITMAP workBitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (cache == nullptr || work == nullptr || workBitmap == nullptr) {
    if (workBitmap != nullptr) ::DeleteObject(workBitmap);
    if (cache != nullptr) ::DeleteDC(cache);
    if (work != nullptr) ::DeleteDC(work);
    return;
  }
  HGDIOBJ oldCache = ::SelectObject(cache, background_);
  HGDIOBJ oldWork = ::SelectObject(work, workBitmap);
  ::BitBlt(work, 0, 0, client.right, client.bottom, cache, 0, 0, SRCCOPY);
  for (Area* area : {&header_, &message_, &details_}) {
    if (!::IsRectEmpty(&area->rect)) area->drawer.Draw(work, Inset(area->rect, kTextMargin));
  }
  ::BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, work, clip.left, clip.top,
           SRCCOPY);
  ::SelectObject(work, oldWork);
  ::SelectObject(cache, oldCache);
  ::DeleteObject(workBitmap);
  ::DeleteDC(work);
  ::DeleteDC(cache);
}

void BoxDialog::BuildBackground(HDC dc) {
  const int width = clientWidth_;
  const int height = closedClientHeight_ + layout_.detailsHeight;
  background_ = ::CreateCompatibleBitmap(dc, width, height);
  HDC cache = ::CreateCompatibleDC(dc);
  if (background_ == nullptr || cache == nullptr) {
    if (cache != nullptr) ::DeleteDC(cache);
    return;
  }
  HGDIOBJ old = ::SelectObject(cache, background_);
  FillAreaStyle(cache, params_.background, {0, 0, width, height});
  if (layout_.headerHeight > 0) {
    FillAreaStyle(cache, params_.headerStyle, {0, 0, width, layout_.headerHeight});
    DrawSeparator(cache, params_.headerStyle, headerCaption_, 0, width, layout_.headerHeight - 2);
  }
  const int buttonTop = layout_.ButtonAreaTop();
  FillAreaStyle(cache, params_.buttonStyle, {0, buttonTop, width, layout_.DetailsTop()});
  DrawSeparator(cache, params_.buttonStyle, buttonCaption_, 0, width, buttonTop);
  if (layout_.detailsHeight > 0) {
    FillAreaStyle(cache, params_.detailsStyle, {0, layout_.DetailsTop(), width, height});
    DrawSeparator(cache, params_.detailsStyle, detailsCaption_, 0, width, layout_.DetailsTop());
  }
  ::SelectObject(cache, old);
  ::DeleteDC(cache);
}

// The whole box is always filled (button face below 0); the other areas only when their style has a fill.
void BoxDialog::FillAreaStyle(HDC dc, const MessageBoxAreaStyle& style, const RECT& rect) {
  if (::IsRectEmpty(&rect)) return;
  if (style.HasFill()) {
    draw_.FillArea(dc, style.fill, rect, Resolve(style.colour1), Resolve(style.colour2), Resolve(style.colour3), 0, 0);
  } else if (&style == &params_.background) {
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
  }
}

void BoxDialog::DrawSeparator(HDC dc, const MessageBoxAreaStyle& style, const std::u16string& caption, int left,
                              int right, int y) {
  if (style.separator == MessageBoxAreaStyle::kNone) return;
  const int from = left + kCellPadding;
  const int to = right - kCellPadding;
  auto line = [&](int x1, int x2) {
    if (x2 <= x1) return;
    if (style.separator == MessageBoxAreaStyle::kEtched) {
      RECT edge{x1, y, x2, y + 2};
      ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_TOP);
    } else {
      const COLORREF colour = style.separator == MessageBoxAreaStyle::kDark ? 0x000000 : 0xFFFFFF;
      draw_.DrawStyledLine(dc, x1, y, x2, y, colour, draw::kFrameSolid, 1);
    }
  };
  if (caption.empty()) {
    line(from, to);
    return;
  }
  HGDIOBJ oldFont = ::SelectObject(dc, font_);
  const auto* text = reinterpret_cast<const wchar_t*>(caption.c_str());
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(dc, text, static_cast<int>(caption.size()), &size);
  int x = from;
  if (style.captionAlign == MessageBoxAreaStyle::kRight) x = to - size.cx;
  if (style.captionAlign == MessageBoxAreaStyle::kCentre) x = left + (right - left - size.cx) / 2;
  ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(caption.size()), x,
               y - size.cy / 2, size.cx, size.cy, DST_TEXT | DSS_DISABLED);
  ::SelectObject(dc, oldFont);
  line(from, x - kCellPadding);
  line(x + size.cx + kCellPadding, to);
}

}  // namespace msgbox
