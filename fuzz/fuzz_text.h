// Shared by the fuzz targets of text readers: arbitrary bytes as UTF-16 text. The first byte chooses how:
// even, one unit a byte (keywords are found quickly); odd, little-endian pairs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline std::u16string FuzzText(const uint8_t* data, size_t size) {
  std::u16string text;
  if (size == 0) return text;
  if (data[0] % 2 == 0) {
    for (size_t i = 1; i < size; ++i) text.push_back(data[i]);
  } else {
    for (size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  return text;
}
