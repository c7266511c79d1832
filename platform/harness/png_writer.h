// A small PNG encoder for screenshots: 8-bit RGBA, one IDAT chunk compressed by zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace harness {

// pixels: width * height * 4 bytes, rows from the top, each pixel red, green, blue, alpha.
// Returns the file's bytes, or an empty vector when the sizes do not match.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels);

// Encodes and writes the file; false when it cannot be written.
bool WritePng(const std::u16string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels);

}  // namespace harness
