// Pictures: where JPEG, PNG (and MNG, JNG), GIF, icon, TIFF, Photoshop and metafile pictures end, and the bytes
// after the signatures of JPEG, GIF, BMP, icon and PCX pictures.
#include <algorithm>
#include <set>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

// ---- JPEG

// The offset of the marker that ends the entropy-coded data from offset on (its 0xFF), else kNoOffset. In
// the data a 0xFF is followed by 0x00 (a stuffed byte) or a restart marker; more 0xFF are fill before a marker.
uint64_t EntropyEnd(HitBytes& b, uint64_t offset) {
  while (true) {
    const uint64_t at = b.FindByte(offset, b.limit(), 0xFF);
    if (at == kNoOffset) return kNoOffset;
    bool ok = true;
    const uint8_t next = b.U8(at + 1, ok);
    if (!ok) return kNoOffset;
    if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
      offset = at + 2;
    } else if (next == 0xFF) {
      offset = at + 1;
    } else {
      return at;
    }
  }
}

// The end of the pictures a multi-picture APP2 segment (at offset, "MPF\0" and a TIFF header) lists after
// the first, else 0. Cameras append their previews after the first picture's end.
uint64_t MultiPictureEnd(HitBytes& b, uint64_t segment, uint64_t segmentEnd) {
  const uint64_t base = segment + 4;
  bool ok = true;
  const bool little = b.Holds(base, "II*\0");
  if (!little && !b.Holds(base, "MM\0*")) return 0;
  auto u16 = [&](uint64_t at) { return little ? b.Le16(at, ok) : b.Be16(at, ok); };
  auto u32 = [&](uint64_t at) { return little ? b.Le32(at, ok) : b.Be32(at, ok); };
  const uint64_t ifd = base + u32(base + 4);
  const uint32_t entries = u16(ifd);
  uint64_t end = 0;
  for (uint32_t i = 0; ok && i < entries && ifd + 2 + 12 * (i + 1) <= segmentEnd; ++i) {
    const uint64_t entry = ifd + 2 + 12 * i;
    if (u16(entry) != 0xB002) continue;  // the picture list
    const uint32_t bytes = u32(entry + 4);
    const uint64_t list = base + u32(entry + 8);
    for (uint32_t p = 0; ok && p < bytes / 16 && list + 16 * (p + 1) <= segmentEnd; ++p) {
      const uint32_t size = u32(list + 16 * p + 4);
      const uint32_t offset = u32(list + 16 * p + 8);
      if (offset == 0 || size == 0) continue;  // the first picture: this one
      if (b.Holds(base + offset, "\xFF\xD8")) {
        b.NoteUnit(base + offset);
        end = std::max(end, base + offset + size);
      }
    }
  }
  return ok ? end : 0;
}

// ---- PNG and its relatives

bool IsChunkType(const uint8_t* t) {
  return std::all_of(t, t + 4, [](uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// Chunks from offset 8 until the chunk of type last, each checked against its CRC.
Length ChunksEnd(HitBytes& b, std::string_view last) {
  uint64_t at = 8;
  while (true) {
    uint8_t head[8];
    if (!b.Read(at, head, 8) || !IsChunkType(head + 4)) return std::nullopt;
    const uint32_t length = static_cast<uint32_t>(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3];
    if (length > 0x7FFFFFFFu) return std::nullopt;
    bool ok = true;
    const uint32_t stored = b.Be32(at + 8 + length, ok);
    const std::optional<uint32_t> crc = Crc32Of(b, at + 4, uint64_t{length} + 4);
    if (!ok || !crc || *crc != stored) return std::nullopt;
    at += 12 + uint64_t{length};
    if (std::string_view(reinterpret_cast<const char*>(head + 4), 4) == last) return at;
  }
}

// ---- GIF

// Past the data sub-blocks from offset (each a length byte and that many bytes, ended by a zero length).
Length SubBlocksEnd(HitBytes& b, uint64_t at) {
  bool ok = true;
  while (true) {
    const uint8_t size = b.U8(at, ok);
    if (!ok) return std::nullopt;
    ++at;
    if (size == 0) return at;
    at += size;
  }
}

uint64_t ColourTableBytes(uint8_t flags) { return (flags & 0x80) ? 3ull << ((flags & 7) + 1) : 0; }

// ---- BMP

bool KnownBitmapHeader(uint32_t size) {
  for (uint32_t known : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    if (size == known) return true;
  }
  return false;
}

bool KnownBitDepth(uint16_t bits) {
  for (uint16_t known : {1, 2, 4, 8, 16, 24, 32}) {
    if (bits == known) return true;
  }
  return false;
}

// ---- icons and cursors

struct IconEntry {
  uint32_t size = 0;
  uint32_t offset = 0;
};

// The directory's entries, when every one is sound: its picture lies after the directory and begins with
// a bitmap header or a PNG signature; an icon's planes are 0 or 1 and its bit depth a real one (a cursor
// keeps its hot spot there).
bool IconEntries(HitBytes& b, std::vector<IconEntry>* out) {
  bool ok = true;
  const uint16_t type = b.Le16(2, ok);
  const uint16_t count = b.Le16(4, ok);
  if (!ok || count == 0 || count > 256) return false;
  const uint32_t directoryEnd = 6 + 16u * count;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t e = 6 + 16u * i;
    const uint8_t reserved = b.U8(e + 3, ok);
    const uint16_t planes = b.Le16(e + 4, ok);
    const uint16_t bits = b.Le16(e + 6, ok);
    IconEntry entry{b.Le32(e + 8, ok), b.Le32(e + 12, ok)};
    if (!ok || reserved != 0 || entry.size < 16 || entry.offset < directoryEnd) return false;
    if (type == 1 && (planes > 1 || (bits != 0 && !KnownBitDepth(bits)))) return false;
    const bool bitmap = b.Le32(entry.offset, ok) == 40;
    if (!ok || !(bitmap || b.Holds(entry.offset, "\x89PNG\r\n\x1A\n"))) return false;
    out->push_back(entry);
  }
  return true;
}

// ---- TIFF

struct TiffWalk {
  explicit TiffWalk(HitBytes& bytes) : b(bytes) {}
  HitBytes& b;
  bool little = true;
  bool ok = true;
  uint64_t end = 8;
  std::vector<uint64_t> pending;
  std::set<uint64_t> seen;
  uint32_t budget = 1u << 20;  // entries and pieces looked at, in all: a hostile file gets no more

  bool Spend() {
    if (budget == 0) ok = false;
    if (ok) --budget;
    return ok;
  }

  uint16_t U16(uint64_t at) { return little ? b.Le16(at, ok) : b.Be16(at, ok); }
  uint32_t U32(uint64_t at) { return little ? b.Le32(at, ok) : b.Be32(at, ok); }
  void Reach(uint64_t offset, uint64_t size) {
    if (const Length e = Sum(offset, size)) end = std::max(end, *e);
  }
};

uint32_t TiffTypeSize(uint16_t type) {
  static constexpr uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
  return type < sizeof kSizes ? kSizes[type] : 0;
}

// The value of an entry: count values of the type, in the entry itself when they fit in 4 bytes.
uint64_t TiffValueOffset(TiffWalk& w, uint64_t entry, uint64_t bytes) { return bytes <= 4 ? entry + 8 : w.U32(entry + 8); }

uint32_t TiffValue(TiffWalk& w, uint16_t type, uint64_t at) { return type == 3 ? w.U16(at) : w.U32(at); }

// The pieces an IFD's offsets and byte counts name (strips, tiles, a JPEG preview): each reaches the end.
void TiffPieces(TiffWalk& w, uint64_t offsets, uint64_t counts, uint16_t offsetType, uint16_t countType,
                uint32_t n) {
  for (uint32_t i = 0; w.ok && i < n && w.Spend(); ++i) {
    const uint32_t offset = TiffValue(w, offsetType, offsets + uint64_t{i} * TiffTypeSize(offsetType));
    const uint32_t count = TiffValue(w, countType, counts + uint64_t{i} * TiffTypeSize(countType));
    w.Reach(offset, count);
  }
}

void TiffDirectory(TiffWalk& w, uint64_t ifd) {
  const uint32_t entries = w.U16(ifd);
  if (!w.ok || entries == 0) {
    w.ok = false;
    return;
  }
  w.Reach(ifd, 2 + 12ull * entries + 4);
  struct Pair {
    uint64_t at = 0;
    uint16_t type = 0;
    uint32_t count = 0;
  } offsets[3], counts[3];  // strips, tiles, JPEG preview
  for (uint32_t i = 0; w.ok && i < entries && w.Spend(); ++i) {
    const uint64_t entry = ifd + 2 + 12ull * i;
    const uint16_t tag = w.U16(entry), type = w.U16(entry + 2);
    const uint32_t count = w.U32(entry + 4);
    const uint64_t bytes = uint64_t{count} * TiffTypeSize(type);
    const uint64_t value = TiffValueOffset(w, entry, bytes);
    if (bytes > 4) w.Reach(value, bytes);
    const Pair pair{value, type, count};
    switch (tag) {
      case 273: offsets[0] = pair; break;
      case 279: counts[0] = pair; break;
      case 324: offsets[1] = pair; break;
      case 325: counts[1] = pair; break;
      case 513: offsets[2] = pair; break;
      case 514: counts[2] = pair; break;
      case 330:  // sub-IFDs
        for (uint32_t s = 0; w.ok && s < count && s < 64; ++s) w.pending.push_back(w.U32(value + 4ull * s));
        break;
      case 34665: case 34853: case 40965:  // Exif, GPS, interoperability IFDs
        w.pending.push_back(w.U32(value));
        break;
      default: break;
    }
  }
  for (int p = 0; p < 3 && w.ok; ++p) {
    const uint32_t n = std::min(offsets[p].count, counts[p].count);
    if (n == 0) continue;
    if ((offsets[p].type != 3 && offsets[p].type != 4) || (counts[p].type != 3 && counts[p].type != 4)) continue;
    TiffPieces(w, offsets[p].at, counts[p].at, offsets[p].type, counts[p].type, n);
  }
  const uint32_t next = w.U32(ifd + 2 + 12ull * entries);
  if (next != 0) w.pending.push_back(next);
}

// ---- Photoshop

// Past a section of a 4-byte (8 in a large document) big-endian length and its bytes.
Length PastSection(HitBytes& b, uint64_t at, bool large, bool& ok) {
  const uint64_t size = large ? b.Be64(at, ok) : b.Be32(at, ok);
  return ok ? Sum(at + (large ? 8 : 4), size) : std::nullopt;
}

}  // namespace

bool JpegStart(HitBytes& b) {
  bool ok = true;
  const uint8_t marker = b.U8(3, ok);
  const uint16_t length = b.Be16(4, ok);
  return ok && marker >= 0xC0 && marker != 0xD8 && marker != 0xD9 && !(marker >= 0xD0 && marker <= 0xD7) &&
         length >= 2;
}

// Segments from the start of image, each a marker and a length, until the end of image; after a start of
// scan the entropy-coded data runs to the next marker. The pictures a multi-picture segment lists after
// this one belong to the file too.
Length JpegEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 2, more = 0;
  bool ok = true;
  while (true) {
    if (b.U8(at, ok) != 0xFF || !ok) return std::nullopt;
    uint8_t marker = b.U8(at + 1, ok);
    while (ok && marker == 0xFF) marker = b.U8(++at + 1, ok);
    if (!ok) return std::nullopt;
    if (marker == 0xD9) return std::max(at + 2, more);
    if (marker >= 0xD0 && marker <= 0xD7) {
      at += 2;
      continue;
    }
    if (marker < 0xC0 || marker == 0xD8) return std::nullopt;
    const uint16_t length = b.Be16(at + 2, ok);
    if (!ok || length < 2) return std::nullopt;
    const uint64_t next = at + 2 + length;
    if (marker == 0xE2 && length >= 14 && b.Holds(at + 4, std::string_view("MPF\0", 4))) {
      more = std::max(more, MultiPictureEnd(b, at + 4, next));
    }
    at = next;
    if (marker == 0xDA && (at = EntropyEnd(b, at)) == kNoOffset) return std::nullopt;
  }
}

// The pictures a multi-picture segment lists after this one, read from the segments before the first scan: their
// end, or nothing when there are none.
Length JpegUnits(HitBytes& b, const LaterHits&) {
  uint64_t at = 2;
  bool ok = true;
  while (b.U8(at, ok) == 0xFF && ok) {
    const uint8_t marker = b.U8(at + 1, ok);
    const uint16_t length = b.Be16(at + 2, ok);
    if (!ok || marker < 0xC0 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA || length < 2) break;
    const uint64_t next = at + 2 + length;
    if (marker == 0xE2 && length >= 14 && b.Holds(at + 4, std::string_view("MPF\0", 4))) {
      const uint64_t end = MultiPictureEnd(b, at + 4, next);
      return end != 0 ? Length(end) : std::nullopt;
    }
    at = next;
  }
  return std::nullopt;
}

Length PngEnd(HitBytes& b, const LaterHits&) { return ChunksEnd(b, "IEND"); }

Length MngEnd(HitBytes& b, const LaterHits&) { return ChunksEnd(b, b.Holds(1, "MNG") ? "MEND" : "IEND"); }

bool GifStart(HitBytes& b) {
  bool ok = true;
  const uint16_t width = b.Le16(6, ok), height = b.Le16(8, ok);
  return ok && width > 0 && height > 0;
}

// The header and colour table, then extensions and pictures until the trailer byte.
Length GifEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  uint64_t at = 13 + ColourTableBytes(b.U8(10, ok));
  while (ok) {
    const uint8_t introducer = b.U8(at, ok);
    if (!ok) break;
    if (introducer == 0x3B) return at + 1;
    if (introducer == 0x21) {
      const Length end = SubBlocksEnd(b, at + 2);
      if (!end) return std::nullopt;
      at = *end;
    } else if (introducer == 0x2C) {
      const uint8_t flags = b.U8(at + 9, ok);
      const Length end = SubBlocksEnd(b, at + 10 + ColourTableBytes(flags) + 1);
      if (!ok || !end) return std::nullopt;
      at = *end;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// The file's size, the reserved fields, the header's size, the data's place, one plane and a real depth.
bool BmpStart(HitBytes& b) {
  bool ok = true;
  const uint32_t size = b.Le32(2, ok), reserved = b.Le32(6, ok), data = b.Le32(10, ok), header = b.Le32(14, ok);
  if (!ok || size < 26 || reserved != 0 || !KnownBitmapHeader(header) || data < 14 + header || data > size) {
    return false;
  }
  const uint64_t planes = header == 12 ? 22 : 26;
  return b.Le16(planes, ok) == 1 && KnownBitDepth(b.Le16(planes + 2, ok)) && ok;
}

bool IconStart(HitBytes& b) {
  std::vector<IconEntry> entries;
  return IconEntries(b, &entries);
}

Length IconEnd(HitBytes& b, const LaterHits&) {
  std::vector<IconEntry> entries;
  if (!IconEntries(b, &entries)) return std::nullopt;
  uint64_t end = 0;
  for (const IconEntry& e : entries) end = std::max(end, uint64_t{e.offset} + e.size);
  return end;
}

// Version, run-length encoding, depth, a window whose corners are in order, the reserved byte.
bool PcxStart(HitBytes& b) {
  bool ok = true;
  const uint8_t bits = b.U8(3, ok);
  const uint16_t left = b.Le16(4, ok), top = b.Le16(6, ok), right = b.Le16(8, ok), bottom = b.Le16(10, ok);
  const uint8_t reserved = b.U8(64, ok);
  return ok && (bits == 1 || bits == 2 || bits == 4 || bits == 8) && left <= right && top <= bottom && reserved == 0;
}

// The farthest byte any IFD, value, strip, tile or preview reaches, through every IFD chained or named.
Length TiffEnd(HitBytes& b, const LaterHits&) {
  TiffWalk w(b);
  w.little = b.Holds(0, "II");
  if (!w.little && !b.Holds(0, "MM")) return std::nullopt;
  w.pending.push_back(w.U32(4));
  constexpr size_t kMostDirectories = 256;
  while (w.ok && !w.pending.empty()) {
    const uint64_t ifd = w.pending.back();
    w.pending.pop_back();
    if (ifd < 8 || w.seen.count(ifd) != 0) continue;
    if (w.seen.size() == kMostDirectories) return std::nullopt;
    w.seen.insert(ifd);
    TiffDirectory(w, ifd);
  }
  if (!w.ok || w.seen.empty()) return std::nullopt;
  return w.end;
}

// The header, then four sections each of its length; then the picture: raw (channels x rows x row bytes) or
// run-length encoded (a table of the rows' byte counts, then the rows).
Length PsdEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t version = b.Be16(4, ok), channels = b.Be16(12, ok), depth = b.Be16(22, ok);
  const uint32_t rows = b.Be32(14, ok), columns = b.Be32(18, ok);
  const bool large = version == 2;
  if (!ok || (version != 1 && version != 2) || channels == 0 || channels > 56 || rows == 0 || columns == 0 ||
      (depth != 1 && depth != 8 && depth != 16 && depth != 32)) {
    return std::nullopt;
  }
  Length at = PastSection(b, 26, false, ok);  // colour mode data
  if (at) at = PastSection(b, *at, false, ok);  // image resources
  if (at) at = PastSection(b, *at, large, ok);  // layers and masks
  if (!at) return std::nullopt;
  const uint16_t compression = b.Be16(*at, ok);
  const uint64_t lines = uint64_t{channels} * rows;
  if (!ok) return std::nullopt;
  if (compression == 0) return Sum(*at + 2, lines * ((uint64_t{columns} * depth + 7) / 8));
  if (compression != 1 || lines > (1u << 24)) return std::nullopt;
  uint64_t data = 0;
  const uint64_t table = *at + 2, entry = large ? 4 : 2;
  if (table + lines * entry > b.limit()) return std::nullopt;
  for (uint64_t i = 0; ok && i < lines; ++i) data += large ? b.Be32(table + i * entry, ok) : b.Be16(table + i * entry, ok);
  return ok ? Sum(table + lines * entry, data) : std::nullopt;
}

// A placeable metafile: its 22-byte header, then the metafile, whose size in 16-bit words its header holds.
Length WmfEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t type = b.Le16(22, ok), header = b.Le16(24, ok);
  const uint32_t words = b.Le32(28, ok);
  if (!ok || (type != 1 && type != 2) || header != 9) return std::nullopt;
  return 22 + uint64_t{words} * 2;
}

}  // namespace trace
