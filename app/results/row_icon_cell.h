// A row icon of the results list: the shell's small icon set in the middle of the list's larger cell, so
// that it keeps its own pixels (no blurring) and the rows get the cell's height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace results {

constexpr int kRowIconCell = 20;

// An icon as the system hands it over: top-down rows of 0xAARRGGBB pixels and its mask (true where the
// background shows through). Icons without an alpha channel have every alpha 0 and rely on the mask.
struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> colour;
  std::vector<bool> transparent;
};

// The cell, always with an alpha channel: an icon with one keeps its pixels as they are (its soft edges
// too); one without shows opaque where its mask says so. Around the icon the cell is clear (0, masked). A
// larger icon keeps its middle.
IconPixels CentreInCell(const IconPixels& icon, int cell = kRowIconCell);

}  // namespace results
