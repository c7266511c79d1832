// Paints a drawing read by our reader into a device context, through the view record: black background,
// each entity in its colour, everything cut to the window first.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>

#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_view_maths.h"

// The fonts of a drawing's texts by height and angle, kept from one paint to the next: a zoom or a pan draws
// most labels again in the fonts it drew them in. At most kMostKeptFonts are kept.
class DxfFontCache {
 public:
  static constexpr size_t kMostKeptFonts = 1024;
  DxfFontCache() = default;
  ~DxfFontCache() { Clear(); }
  DxfFontCache(const DxfFontCache&) = delete;
  DxfFontCache& operator=(const DxfFontCache&) = delete;
  bool Has(const dxf::TextFont& key) const { return m_fonts.count(key) != 0; }
  bool Full() const { return m_fonts.size() >= kMostKeptFonts; }
  // The font, made on first use; null when the system refuses it. None of them may be selected into a
  // context when the cache is cleared.
  HFONT Get(const dxf::TextFont& key);
  void Clear();

 private:
  std::map<dxf::TextFont, HFONT> m_fonts;
};

// What one paint took: the points of its budget, the fonts it made, the entities it drew, and whether the
// budget ended it before everything in view was drawn.
struct DxfPaintReport {
  size_t budgetUsed = 0;
  size_t fontsMade = 0;
  size_t drawn = 0;
  bool simplified = false;
};

DxfPaintReport PaintDxfDrawing(HDC dc, const dxf::Drawing& drawing, const dxf::ViewProperties& view,
                               DxfFontCache& fonts);
