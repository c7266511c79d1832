// The DXF reader over arbitrary bytes: a damaged drawing keeps nothing, the limits hold (block references
// included), every kept number is finite, one paint at the fitted view's scale draws finite points within
// its budget, and the view maths over what was read stay usable.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "preview/dxf/dxf_paint_budget.h"
#include "preview/dxf/dxf_reader.h"
#include "preview/dxf/dxf_text.h"
#include "preview/dxf/dxf_view_maths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  dxf::LooksLikeDrawing(text, size);
  const dxf::Drawing drawing = dxf::ReadDrawing(text, size);
  if (drawing.status == dxf::ReadStatus::kDamaged && !drawing.entities.empty()) std::abort();
  if (drawing.entities.size() > dxf::kMaxEntities) std::abort();
  for (const auto& e : drawing.entities) {
    if (e.points.empty() || e.points.size() > dxf::kMaxVertices || e.text.size() > dxf::kMaxTextLength) std::abort();
    for (const auto& p : e.points)
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
  }
  dxf::ViewProperties view;
  view.right = 640;
  view.bottom = 480;
  dxf::ZoomToExtents(view, drawing.extents);
  if (!dxf::IsUsableView(view)) std::abort();
  // One paint as the library does it: every point it draws finite, and no more of them than its budget
  // and one curve's worth.
  struct Finite : dxf::PaintSink {
    void Mark(const dxf::Entity&) override {}
    void Dot(const dxf::Entity&, dxf::PixelPoint at) override {
      if (!std::isfinite(at.x) || !std::isfinite(at.y)) std::abort();
    }
    void Outline(const dxf::Entity&, const std::vector<dxf::Point>& points) override {
      drawn += points.size();
      for (const auto& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
    }
    size_t drawn = 0;
  } finite;
  if (dxf::PaintWithinBudget(drawing.entities, view, 2, finite).used < finite.drawn) std::abort();
  if (finite.drawn > dxf::kMaxPaintPoints + 1024) std::abort();
  if (drawing.blockReferences > dxf::kMaxBlockReferences) std::abort();
  dxf::ParagraphLines(std::string_view(text, size < 4096 ? size : 4096));
  dxf::ZoomAboutCentre(view, 1.5);
  dxf::Pan(view, 3, -7);
  return 0;
}
