#include "ui/skin/skin_region.h"

#include <vector>

#include "ui/draw/gdi_pixels.h"
#include "ui/skin/key_color_runs.h"

namespace skin {
namespace {

// One block of rectangles as region data (the system takes at most a few thousand at once).
HRGN RegionOfBlock(const RectBlock& block) {
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + block.rects.size() * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(block.rects.size());
  region->rdh.nRgnSize = 0;
  region->rdh.rcBound = RECT{block.bounds.left, block.bounds.top, block.bounds.right, block.bounds.bottom};
  auto* rects = reinterpret_cast<RECT*>(region->Buffer);
  for (size_t i = 0; i < block.rects.size(); ++i) {
    const Rect& r = block.rects[i];
    rects[i] = RECT{r.left, r.top, r.right, r.bottom};
  }
  return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
}

}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key, BOOL collectOutside) {
  if (!bitmap) return nullptr;
  // One top-down 32-bit copy of the pixels.
  const draw::PixelBuffer pixels = draw::ReadBitmap(bitmap);
  if (pixels.Empty()) return nullptr;
  const int width = pixels.Width(), height = pixels.Height();
  const PixelView view{pixels.Data(), width, height, static_cast<size_t>(width)};
  HRGN result = ::CreateRectRgn(0, 0, 0, 0);
  if (!result) return nullptr;
  for (const RectBlock& block : CollectKeyRuns(view, key, collectOutside != FALSE)) {
    HRGN part = RegionOfBlock(block);
    if (!part) {
      ::DeleteObject(result);
      return nullptr;
    }
    ::CombineRgn(result, result, part, RGN_OR);
    ::DeleteObject(part);
  }
  if (!collectOutside) {
    HRGN whole = ::CreateRectRgn(0, 0, width, height);
    if (!whole) {
      ::DeleteObject(result);
      return nullptr;
    }
    ::CombineRgn(result, result, whole, RGN_XOR);
    ::DeleteObject(whole);
  }
  return result;
}

}  // namespace skin
