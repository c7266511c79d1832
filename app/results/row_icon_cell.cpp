#include "app/results/row_icon_cell.h"

namespace results {
namespace {

bool HasAlpha(const IconPixels& icon) {
  for (uint32_t pixel : icon.colour) {
    if ((pixel >> 24) != 0) return true;
  }
  return false;
}

}  // namespace

IconPixels CentreInCell(const IconPixels& icon, int cell) {
  IconPixels out;
  out.width = out.height = cell;
  out.colour.assign(static_cast<size_t>(cell) * cell, 0);
  out.transparent.assign(static_cast<size_t>(cell) * cell, true);
  const size_t pixels = static_cast<size_t>(icon.width > 0 ? icon.width : 0) * (icon.height > 0 ? icon.height : 0);
  if (pixels == 0 || icon.colour.size() < pixels || icon.transparent.size() < pixels) return out;
  const bool alpha = HasAlpha(icon);
  const int left = (cell - icon.width) / 2, top = (cell - icon.height) / 2;
  for (int y = 0; y < icon.height; ++y) {
    for (int x = 0; x < icon.width; ++x) {
      const int cx = x + left, cy = y + top;
      if (cx < 0 || cy < 0 || cx >= cell || cy >= cell) continue;
      const size_t from = static_cast<size_t>(y) * icon.width + x;
      const uint32_t pixel = alpha ? icon.colour[from] : icon.transparent[from] ? 0 : icon.colour[from] | 0xFF000000;
      const size_t to = static_cast<size_t>(cy) * cell + cx;
      const bool clear = (pixel >> 24) == 0;
      out.colour[to] = clear ? 0 : pixel;  // black under the mask, as masked drawing needs
      out.transparent[to] = clear;
    }
  }
  return out;
}

}  // namespace results
