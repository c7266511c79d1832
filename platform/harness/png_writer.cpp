#include "png_writer.h"

#include <zlib.h>

#include "platform/os/os.h"

namespace harness {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
  PutU32(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels) {
  const uint64_t row = uint64_t{width} * 4;
  if (width == 0 || height == 0 || row * height != pixels.size() || row * height > (1u << 30)) return {};
  // Each row starts with filter type 0 (none).
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>((row + 1) * height));
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    const uint8_t* line = pixels.data() + y * row;
    raw.insert(raw.end(), line, line + row);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return {};
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  PutU32(header, width);
  PutU32(header, height);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::u16string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> png = EncodePng(width, height, pixels);
  if (png.empty()) return false;
  os::File file;
  if (!file.OpenWrite(path)) return false;
  bool written = file.Write(png.data(), static_cast<uint32_t>(png.size()));
  return file.Close() && written;
}

}  // namespace harness
