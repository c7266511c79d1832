// A small Photoshop file writer for tests: raw or PackBits image data at 8 or 16 bits, any colour mode,
// with optional colour-mode data and resource blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PsdTestImage {
  uint16_t mode = 3;
  uint16_t depth = 8;
  uint32_t rows = 1;
  uint32_t columns = 1;
  bool packBits = false;
  // One vector per channel: its samples left to right, top to bottom (8- or 16-bit values).
  std::vector<std::vector<uint16_t>> channels;
  std::string colourData;
  std::string resources;  // the resource section's blocks (see PsdResource)
};

// One "8BIM" resource block with an empty name.
std::string PsdResource(uint16_t id, const std::string& data);
std::string PsdBigEndian(uint64_t value, int bytes);
std::string WritePsd(const PsdTestImage& image);
