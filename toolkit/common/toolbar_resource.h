// A toolbar resource (type 241): 16-bit little-endian words: version, button width, button height,
// item count, then a command id per item (0 for a separator, which has no image).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TKToolBarData {
  int width = 0;
  int height = 0;
  std::vector<unsigned> items;  // command ids, 0 for separators

  // The ids that own an image, in order.
  std::vector<unsigned> ImageIds() const;
};

// False when the data is shorter than its header or than the items it counts.
bool ParseToolBarResource(const std::uint8_t* data, std::size_t size, TKToolBarData* toolbar);
