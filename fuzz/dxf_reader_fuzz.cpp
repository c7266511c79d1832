// The DXF reader over arbitrary bytes: a damaged drawing keeps nothing, the limits hold, every kept
// number is finite, every entity flattens at the fitted view's scale, and the view maths over what was read
// stay usable.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "preview/dxf/dxf_curves.h"
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
  for (const auto& e : drawing.entities)
    for (const auto& p : dxf::Outline(e, dxf::ScreenScale(view)))
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
  dxf::ParagraphLines(std::string_view(text, size < 4096 ? size : 4096));
  dxf::ZoomAboutCentre(view, 1.5);
  dxf::Pan(view, 3, -7);
  return 0;
}
