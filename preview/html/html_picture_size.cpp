#include "preview/html/html_picture_size.h"

#include <algorithm>
#include <cstring>

namespace htmlview {
namespace {

unsigned Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
unsigned Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint32_t Be32(const uint8_t* p) { return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

bool Starts(const uint8_t* data, size_t size, const char* magic, size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

// Passes a run of data sub-blocks starting at p; the position after its terminator, or size.
size_t SkipSubBlocks(const uint8_t* data, size_t size, size_t p) {
  while (p < size && data[p] != 0) p += 1 + data[p];
  return p < size ? p + 1 : size;
}

bool GifSize(const uint8_t* data, size_t size, long long& width, long long& height) {
  if (size < 13) return false;
  width = Le16(data + 6);
  height = Le16(data + 8);
  size_t p = 13;
  if (data[10] & 0x80) p += 3u * (2u << (data[10] & 7));
  while (p < size) {
    if (data[p] == 0x2C) {  // a frame
      if (size - p < 10) break;
      width = std::max<long long>(width, Le16(data + p + 1) + Le16(data + p + 5));
      height = std::max<long long>(height, Le16(data + p + 3) + Le16(data + p + 7));
      const uint8_t flags = data[p + 9];
      p += 10;
      if (flags & 0x80) p += 3u * (2u << (flags & 7));
      p = SkipSubBlocks(data, size, p + 1);  // past the code size byte and the picture's data
    } else if (data[p] == 0x21) {  // an extension
      p = SkipSubBlocks(data, size, p + 2);
    } else {
      break;  // the trailer, or damage: what was read so far stands
    }
  }
  return true;
}

bool BmpSize(const uint8_t* data, size_t size, long long& width, long long& height) {
  if (size < 26) return false;
  if (Le32(data + 14) == 12) {
    width = Le16(data + 18);
    height = Le16(data + 20);
  } else {
    width = static_cast<int32_t>(Le32(data + 18));
    height = static_cast<int32_t>(Le32(data + 22));
  }
  width = width < 0 ? -width : width;
  height = height < 0 ? -height : height;
  return true;
}

bool JpegSize(const uint8_t* data, size_t size, long long& width, long long& height) {
  size_t p = 2;
  while (p + 4 <= size) {
    if (data[p] != 0xFF) return false;
    const uint8_t marker = data[p + 1];
    if (marker == 0xFF) {  // fill byte
      ++p;
      continue;
    }
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (p + 9 > size) return false;
      height = Be16(data + p + 5);
      width = Be16(data + p + 7);
      return true;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      p += 2;  // markers without a length
      continue;
    }
    p += 2 + Be16(data + p + 2);
  }
  return false;
}

}  // namespace

bool DeclaredPictureSize(const uint8_t* data, size_t size, long long& width, long long& height) {
  if (data == nullptr) return false;
  if (Starts(data, size, "GIF8", 4)) return GifSize(data, size, width, height);
  if (Starts(data, size, "BM", 2)) return BmpSize(data, size, width, height);
  if (Starts(data, size, "\xFF\xD8", 2)) return JpegSize(data, size, width, height);
  if (Starts(data, size, "\x89PNG\r\n\x1A\n", 8) && size >= 24) {
    width = Be32(data + 16);
    height = Be32(data + 20);
    return true;
  }
  return false;
}

}  // namespace htmlview
