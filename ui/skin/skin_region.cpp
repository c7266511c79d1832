#include "ui/skin/skin_region.h"

#include <vector>

#include "ui/skin/key_color_runs.h"

namespace skin {
namespace {

// A memory DC, freed with the scope.
struct MemoryDc {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ~MemoryDc() {
    if (dc) ::DeleteDC(dc);
  }
};

// The bitmap's pixels as a top-down 32-bit copy (rows of width pixels); false when it cannot be made.
bool CopyPixels(HBITMAP bitmap, std::vector<uint32_t>* pixels, int* width, int* height) {
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  MemoryDc source, target;
  if (!source.dc || !target.dc) return false;
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = info.bmWidth;
  header.bmiHeader.biHeight = info.bmHeight;  // bottom-up, as the system keeps it
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(target.dc, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) return false;
  HGDIOBJ oldSource = ::SelectObject(source.dc, bitmap);
  HGDIOBJ oldTarget = ::SelectObject(target.dc, section);
  ::BitBlt(target.dc, 0, 0, info.bmWidth, info.bmHeight, source.dc, 0, 0, SRCCOPY);
  ::GdiFlush();
  // 32-bit rows are always whole multiples of 4 bytes; turn the rows top-down.
  const size_t rowPixels = static_cast<size_t>(info.bmWidth);
  pixels->resize(rowPixels * static_cast<size_t>(info.bmHeight));
  const auto* rows = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < info.bmHeight; ++y) {
    const uint32_t* row = rows + rowPixels * static_cast<size_t>(info.bmHeight - 1 - y);
    std::copy(row, row + rowPixels, pixels->begin() + static_cast<ptrdiff_t>(rowPixels * static_cast<size_t>(y)));
  }
  ::SelectObject(target.dc, oldTarget);
  ::SelectObject(source.dc, oldSource);
  ::DeleteObject(section);
  *width = info.bmWidth;
  *height = info.bmHeight;
  return true;
}

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
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!CopyPixels(bitmap, &pixels, &width, &height)) return nullptr;
  const PixelView view{pixels.data(), width, height, static_cast<size_t>(width)};
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
