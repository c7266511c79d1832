#include "preview/dxf/dxf_gdi_painter.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// One pen per colour, made on first use and freed with the painter.
class PenCache {
 public:
  explicit PenCache(HDC dc) : m_dc(dc), m_old(::GetCurrentObject(dc, OBJ_PEN)) {}
  ~PenCache() {
    ::SelectObject(m_dc, m_old);
    for (auto& entry : m_pens) ::DeleteObject(entry.second);
  }
  PenCache(const PenCache&) = delete;
  PenCache& operator=(const PenCache&) = delete;
  void Use(uint32_t colour) {
    HPEN& pen = m_pens[colour];
    if (pen == nullptr) pen = ::CreatePen(PS_SOLID, 1, colour);
    if (pen != nullptr) ::SelectObject(m_dc, pen);
  }

 private:
  HDC m_dc;
  HGDIOBJ m_old;
  std::map<uint32_t, HPEN> m_pens;
};

class Painter {
 public:
  Painter(HDC dc, const dxf::ViewProperties& view) : m_dc(dc), m_view(view), m_pens(dc) {
    // A pixel of slack so that lines on the window's edge still show.
    m_left = view.left - 2.0;
    m_top = view.top - 2.0;
    m_right = view.right + 2.0;
    m_bottom = view.bottom + 2.0;
  }

  void Paint(const dxf::Entity& e) {
    m_pens.Use(e.colour);
    m_colour = e.colour;
    switch (e.kind) {
      case dxf::EntityKind::kLine:
      case dxf::EntityKind::kPolyline: Polyline(e.points, e.closed); break;
      case dxf::EntityKind::kCircle:
      case dxf::EntityKind::kArc: {
        const double pixels = e.radius * dxf::ScreenScale(m_view);
        const bool whole = e.kind == dxf::EntityKind::kCircle;
        Polyline(dxf::ArcPoints(e.points[0], e.radius, e.startAngle, e.endAngle, whole, pixels), false);
        break;
      }
      case dxf::EntityKind::kPoint: Cross(e.points[0]); break;
      case dxf::EntityKind::kText: Text(e); break;
    }
  }

 private:
  void Segment(dxf::Point from, dxf::Point to) {
    dxf::PixelPoint a = dxf::ToPixels(m_view, from), b = dxf::ToPixels(m_view, to);
    if (!dxf::ClipSegment(a, b, m_left, m_top, m_right, m_bottom)) return;
    const int ax = static_cast<int>(std::lround(a.x)), ay = static_cast<int>(std::lround(a.y));
    const int bx = static_cast<int>(std::lround(b.x)), by = static_cast<int>(std::lround(b.y));
    ::MoveToEx(m_dc, ax, ay, nullptr);
    ::LineTo(m_dc, bx, by);
    ::SetPixel(m_dc, bx, by, m_colour);  // LineTo leaves out the last pixel
  }

  void Polyline(const std::vector<dxf::Point>& points, bool closed) {
    for (size_t i = 1; i < points.size(); ++i) Segment(points[i - 1], points[i]);
    if (closed && points.size() > 2) Segment(points.back(), points.front());
    if (points.size() == 1) Cross(points[0]);
  }

  void Cross(dxf::Point p) {
    const dxf::PixelPoint at = dxf::ToPixels(m_view, p);
    if (at.x < m_left || at.x > m_right || at.y < m_top || at.y > m_bottom) return;
    const int x = static_cast<int>(std::lround(at.x)), y = static_cast<int>(std::lround(at.y));
    ::MoveToEx(m_dc, x - 2, y, nullptr);
    ::LineTo(m_dc, x + 3, y);
    ::MoveToEx(m_dc, x, y - 2, nullptr);
    ::LineTo(m_dc, x, y + 3);
  }

  void Text(const dxf::Entity& e) {
    const double pixels = e.height * dxf::ScreenScale(m_view);
    if (!(pixels >= 4) || pixels > 2000) return;  // unreadable, or larger than any window
    const dxf::PixelPoint at = dxf::ToPixels(m_view, e.points[0]);
    const double reach = pixels * (static_cast<double>(e.text.size()) + 1);
    if (at.x < m_left - reach || at.x > m_right + reach || at.y < m_top - reach || at.y > m_bottom + reach) return;
    const int tenths = static_cast<int>(std::lround(std::fmod(e.rotation, 360.0) * 10));
    HFONT font = ::CreateFontW(-static_cast<int>(std::lround(pixels)), 0, tenths, tenths, FW_NORMAL, FALSE, FALSE,
                               FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               VARIABLE_PITCH | FF_SWISS, L"Arial");
    if (font == nullptr) return;
    HGDIOBJ old = ::SelectObject(m_dc, font);
    ::SetTextColor(m_dc, e.colour);
    ::SetBkMode(m_dc, TRANSPARENT);
    ::SetTextAlign(m_dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    ::TextOutA(m_dc, static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), e.text.data(),
               static_cast<int>(e.text.size()));
    ::SelectObject(m_dc, old);
    ::DeleteObject(font);
  }

  HDC m_dc;
  const dxf::ViewProperties& m_view;
  PenCache m_pens;
  COLORREF m_colour = 0xFFFFFF;
  double m_left, m_top, m_right, m_bottom;
};

}  // namespace

void PaintDxfDrawing(HDC dc, const dxf::Drawing& drawing, const dxf::ViewProperties& view) {
  const RECT window{view.left, view.top, view.right, view.bottom};
  ::FillRect(dc, &window, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (!dxf::IsUsableView(view)) return;
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, view.left, view.top, view.right, view.bottom);
  {
    Painter painter(dc, view);
    for (const dxf::Entity& e : drawing.entities) painter.Paint(e);
  }
  ::RestoreDC(dc, saved);
}
