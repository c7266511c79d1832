// The stored form of a window's placement: 48 little-endian bytes, a leading zero word, the length word,
// flags, show command, minimised and maximised positions and the normal rectangle.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tk {

struct WindowPosRecord {
  uint32_t length = 0;
  uint32_t flags = 0;
  uint32_t showCmd = 0;
  int32_t minX = 0, minY = 0;
  int32_t maxX = 0, maxY = 0;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

constexpr size_t kWindowPosBytes = 48;
constexpr uint32_t kShowMaximized = 3;
constexpr uint32_t kShowNormal = 1;

// Anything but maximised comes back normal, so a window closed while minimised reopens on screen.
uint32_t NormalizedShowCommand(uint32_t showCmd);

std::array<uint8_t, kWindowPosBytes> EncodeWindowPos(const WindowPosRecord& record);
// Nothing for a value shorter than the record; bytes beyond it are ignored, and so is the leading word.
std::optional<WindowPosRecord> DecodeWindowPos(const uint8_t* data, size_t size);

}  // namespace tk
