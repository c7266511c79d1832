#include "preview/dxf/dxf_gdi_painter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "preview/dxf/dxf_paint_budget.h"

namespace {

// Pens by colour, each made on first use, selected when used and freed with the painter, after the context's
// own is selected back.
template <typename Key, typename Handle>
class GdiCache {
 public:
  GdiCache(HDC dc, UINT kind, Handle (*make)(const Key&)) : m_dc(dc), m_old(::GetCurrentObject(dc, kind)), m_make(make) {}
  ~GdiCache() {
    ::SelectObject(m_dc, m_old);
    for (auto& entry : m_objects)
      if (entry.second != nullptr) ::DeleteObject(entry.second);
  }
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;
  bool Use(const Key& key) {
    Handle& object = m_objects[key];
    if (object == nullptr) object = m_make(key);
    return object != nullptr && ::SelectObject(m_dc, object) != nullptr;
  }

 private:
  HDC m_dc;
  HGDIOBJ m_old;
  Handle (*m_make)(const Key&);
  std::map<Key, Handle> m_objects;
};

HPEN MakePen(const uint32_t& colour) { return ::CreatePen(PS_SOLID, 1, colour); }

std::wstring Wide(const std::string& utf8) {
  static_assert(sizeof(wchar_t) == 2, "UTF-16 for the Win32 calls");
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
  return wide;
}

class Painter : public dxf::PaintSink {
 public:
  Painter(HDC dc, const dxf::ViewProperties& view, DxfFontCache& fonts)
      : m_dc(dc),
        m_view(view),
        m_pens(dc, OBJ_PEN, MakePen),
        m_fonts(fonts),
        m_oldFont(::GetCurrentObject(dc, OBJ_FONT)) {
    m_left = view.left - kSlack;
    m_top = view.top - kSlack;
    m_right = view.right + kSlack;
    m_bottom = view.bottom + kSlack;
  }

  void Mark(const dxf::Entity& e) override {
    Use(e.colour);
    if (e.kind == dxf::EntityKind::kPoint) Cross(e.points[0]);
    else Text(e);
  }
  void Dot(const dxf::Entity& e, dxf::PixelPoint at) override {
    ::SetPixel(m_dc, static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), e.colour);
  }
  void Outline(const dxf::Entity& e, const std::vector<dxf::Point>& points) override {
    Use(e.colour);
    if (e.kind == dxf::EntityKind::kSolid) Fill(e.points);
    Polyline(points);
  }

  ~Painter() override { ::SelectObject(m_dc, m_oldFont); }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool FontKept(const dxf::TextFont& font) const override { return m_fonts.Has(font); }
  size_t FontsMade() const { return m_fontsMade; }

  // Pixels of slack so that lines on the window's edge still show.
  static constexpr double kSlack = 2.0;

 private:
  void Use(uint32_t colour) {
    m_pens.Use(colour);
    m_colour = colour;
  }

  // Segments drawn whole one after the other go to GDI as one polyline; one cut by the window ends the run.
  void Polyline(const std::vector<dxf::Point>& points) {
    if (points.size() == 1) Cross(points[0]);
    m_run.clear();
    for (size_t i = 1; i < points.size(); ++i) {
      dxf::PixelPoint a = dxf::ToPixels(m_view, points[i - 1]), b = dxf::ToPixels(m_view, points[i]);
      if (!dxf::ClipSegment(a, b, m_left, m_top, m_right, m_bottom)) {
        Flush();
        continue;
      }
      const POINT from{static_cast<LONG>(std::lround(a.x)), static_cast<LONG>(std::lround(a.y))};
      if (m_run.empty() || m_run.back().x != from.x || m_run.back().y != from.y) {
        Flush();
        m_run.push_back(from);
      }
      m_run.push_back({static_cast<LONG>(std::lround(b.x)), static_cast<LONG>(std::lround(b.y))});
    }
    Flush();
  }

  void Flush() {
    if (m_run.size() >= 2) {
      ::Polyline(m_dc, m_run.data(), static_cast<int>(m_run.size()));
      ::SetPixel(m_dc, m_run.back().x, m_run.back().y, m_colour);  // a polyline leaves out its last pixel
    }
    m_run.clear();
  }

  // A filled polygon, cut to the window first (GDI takes no far coordinates).
  void Fill(const std::vector<dxf::Point>& corners) {
    std::vector<dxf::PixelPoint> pixels;
    for (dxf::Point p : corners) pixels.push_back(dxf::ToPixels(m_view, p));
    pixels = dxf::ClipPolygon(pixels, m_left, m_top, m_right, m_bottom);
    if (pixels.size() < 3) return;
    std::vector<POINT> points;
    for (const dxf::PixelPoint& p : pixels)
      points.push_back({static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))});
    HBRUSH brush = ::CreateSolidBrush(m_colour);
    if (brush == nullptr) return;
    HGDIOBJ old = ::SelectObject(m_dc, brush);
    ::Polygon(m_dc, points.data(), static_cast<int>(points.size()));
    ::SelectObject(m_dc, old);
    ::DeleteObject(brush);
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

  // The cache's font, selected. A full cache is emptied first: the texts come font by font, so the fonts
  // this paint has used it needs no more.
  bool UseFont(const dxf::TextFont& font) {
    if (!m_fonts.Has(font)) {
      if (m_fonts.Full()) {
        ::SelectObject(m_dc, m_oldFont);
        m_fonts.Clear();
      }
      ++m_fontsMade;
    }
    HFONT handle = m_fonts.Get(font);
    return handle != nullptr && ::SelectObject(m_dc, handle) != nullptr;
  }

  // The budget let the text through: it shows at a size that can be drawn and may reach the window.
  void Text(const dxf::Entity& e) {
    dxf::TextFont font;
    if (!dxf::TextFontAt(e, dxf::ScreenScale(m_view), &font)) return;
    const std::wstring text = Wide(e.text);
    if (text.empty() || !UseFont(font)) return;
    const dxf::PixelPoint at = dxf::ToPixels(m_view, e.points[0]);
    ::SetTextColor(m_dc, e.colour);
    ::SetBkMode(m_dc, TRANSPARENT);
    const UINT align = e.align == dxf::TextAlign::kCentre ? TA_CENTER : e.align == dxf::TextAlign::kRight ? TA_RIGHT : TA_LEFT;
    ::SetTextAlign(m_dc, align | TA_BASELINE | TA_NOUPDATECP);
    ::TextOutW(m_dc, static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)), text.data(),
               static_cast<int>(text.size()));
  }

  HDC m_dc;
  const dxf::ViewProperties& m_view;
  GdiCache<uint32_t, HPEN> m_pens;
  DxfFontCache& m_fonts;
  HGDIOBJ m_oldFont;
  size_t m_fontsMade = 0;
  std::vector<POINT> m_run;  // the polyline being gathered
  COLORREF m_colour = 0xFFFFFF;
  double m_left, m_top, m_right, m_bottom;
};

}  // namespace

HFONT DxfFontCache::Get(const dxf::TextFont& key) {
  HFONT& font = m_fonts[key];
  const int tenths = key.degrees * 10;
  if (font == nullptr)
    font = ::CreateFontW(-key.pixels, 0, tenths, tenths, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                         CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
  return font;
}

void DxfFontCache::Clear() {
  for (auto& entry : m_fonts)
    if (entry.second != nullptr) ::DeleteObject(entry.second);
  m_fonts.clear();
}

DxfPaintReport PaintDxfDrawing(HDC dc, const dxf::Drawing& drawing, const dxf::ViewProperties& view,
                               DxfFontCache& fonts) {
  DxfPaintReport report;
  const RECT window{view.left, view.top, view.right, view.bottom};
  ::FillRect(dc, &window, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (!dxf::IsUsableView(view)) return report;
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, view.left, view.top, view.right, view.bottom);
  {
    Painter painter(dc, view, fonts);
    const dxf::PaintTally tally = dxf::PaintWithinBudget(drawing.entities, view, Painter::kSlack, painter);
    report.budgetUsed = tally.used;
    report.drawn = tally.drawn;
    report.simplified = tally.simplified;
    report.fontsMade = painter.FontsMade();
  }
  ::RestoreDC(dc, saved);
  return report;
}
