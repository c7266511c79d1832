#include <vector>

#include "platform/standins/picture/raster_decoders.h"

namespace picture {
namespace {

struct TgaHeader {
  uint8_t idLength = 0, mapType = 0, imageType = 0, mapBits = 0, depth = 0, descriptor = 0;
  uint32_t mapFirst = 0, mapLength = 0, width = 0, height = 0;
};

bool ReadHeader(ByteReader& in, TgaHeader& h) {
  uint32_t ignored = 0;
  return in.U8(h.idLength) && in.U8(h.mapType) && in.U8(h.imageType) && in.U16LE(h.mapFirst) &&
         in.U16LE(h.mapLength) && in.U8(h.mapBits) && in.U16LE(ignored) && in.U16LE(ignored) &&
         in.U16LE(h.width) && in.U16LE(h.height) && in.U8(h.depth) && in.U8(h.descriptor);
}

// One colour of `bytes` bytes (15/16-bit, 24-bit BGR or 32-bit BGRA); alpha only when the file has any.
uint32_t ColourOf(const uint8_t* p, unsigned bytes, bool alpha) {
  if (bytes == 2) {
    const uint32_t v = p[0] | (uint32_t{p[1]} << 8);
    return Rgb(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
  }
  if (bytes == 4 && alpha) return OverWhite(p[2], p[1], p[0], p[3]);
  return Rgb(p[2], p[1], p[0]);
}

bool ValidColourBits(unsigned bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

// Turns the bytes of one pixel into its colour.
struct PixelReader {
  unsigned base;  // 1 mapped, 2 true colour, 3 grey
  unsigned bytes;
  bool alpha;
  const std::vector<uint32_t>* palette;
  uint32_t mapFirst;

  bool Colour(const uint8_t* p, uint32_t& colour) const {
    if (base == 3) {
      colour = Rgb(p[0], p[0], p[0]);
    } else if (base == 2) {
      colour = ColourOf(p, bytes, alpha);
    } else {
      const uint32_t index = bytes == 1 ? p[0] : p[0] | (uint32_t{p[1]} << 8);
      if (index < mapFirst || index - mapFirst >= palette->size()) return false;
      colour = (*palette)[index - mapFirst];
    }
    return true;
  }
};

// Puts the n-th pixel of the file's order where the descriptor's origin places it.
void Place(RasterPicture& out, uint64_t n, uint32_t colour, bool topDown, bool rightToLeft) {
  const uint32_t row = static_cast<uint32_t>(n / out.width), column = static_cast<uint32_t>(n % out.width);
  const uint32_t y = topDown ? row : out.height - 1 - row;
  const uint32_t x = rightToLeft ? out.width - 1 - column : column;
  out.pixels[static_cast<size_t>(y) * out.width + x] = colour;
}

}  // namespace

DecodeError DecodeTga(const uint8_t* data, size_t size, RasterPicture& out) {
  ByteReader in(data, size);
  TgaHeader h;
  if (!ReadHeader(in, h)) return "The Targa header is cut short.";
  const unsigned base = h.imageType & 7u;
  const bool rle = (h.imageType & 8u) != 0;
  if ((h.imageType & ~11u) != 0 || base == 0) return "This kind of Targa picture is not read.";
  if (h.mapType > 1 || (base == 1 && h.mapType != 1)) return "The Targa colour map is not valid.";
  if ((base == 1 && h.depth != 8 && h.depth != 16) || (base == 2 && !ValidColourBits(h.depth)) ||
      (base == 3 && h.depth != 8)) {
    return "The Targa pixel depth is not valid.";
  }
  if (!in.Skip(h.idLength)) return "The Targa file is cut short.";
  std::vector<uint32_t> palette;
  if (h.mapType == 1) {
    if (!ValidColourBits(h.mapBits)) return "The Targa colour map is not valid.";
    const unsigned entryBytes = (h.mapBits + 7u) / 8u;
    const uint8_t* entries = nullptr;
    if (!in.Bytes(uint64_t{h.mapLength} * entryBytes, entries)) return "The Targa file is cut short.";
    for (uint32_t i = 0; i < h.mapLength; ++i) palette.push_back(ColourOf(entries + i * entryBytes, entryBytes, true));
  }
  const unsigned bytes = (h.depth + 7u) / 8u;
  const uint64_t count = uint64_t{h.width} * h.height;
  // Each pixel needs its bytes, or a run packet of up to 128 pixels needs one more: a file too short for
  // its size is refused before anything is allocated.
  const uint64_t atLeast = rle ? (count + 127) / 128 * (bytes + 1) : count * bytes;
  if (count != 0 && in.Remaining() < atLeast) return "The Targa file is cut short.";
  if (DecodeError e = AllocatePicture(h.width, h.height, out)) return e;
  const PixelReader pixel{base, bytes, (h.descriptor & 0x0F) != 0, &palette, h.mapFirst};
  const bool topDown = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
  uint64_t n = 0;
  while (n < count) {
    uint8_t packet = 0;
    uint64_t run = 1;
    bool repeat = false;
    if (rle) {
      if (!in.U8(packet)) return "The Targa file is cut short.";
      run = (packet & 0x7Fu) + 1u;
      repeat = (packet & 0x80u) != 0;
      if (run > count - n) return "A Targa run goes past the picture's end.";
    }
    const uint8_t* p = nullptr;
    uint32_t colour = 0;
    for (uint64_t i = 0; i < run; ++i, ++n) {
      if (i == 0 || !repeat) {
        if (!in.Bytes(bytes, p)) return "The Targa file is cut short.";
        if (!pixel.Colour(p, colour)) return "A Targa colour index lies outside the colour map.";
      }
      Place(out, n, colour, topDown, rightToLeft);
    }
  }
  return nullptr;
}

}  // namespace picture
