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

// ---- JPEG: the entropy-coded data of a baseline scan, decoded as far as telling its end

// A Huffman table as the decoding procedure of the standard keeps it: for each code length, the largest code, the
// first code and where its values begin.
struct HuffmanTable {
  bool defined = false;
  int32_t maxCode[17] = {};
  int32_t minCode[17] = {};
  int32_t first[17] = {};
  uint8_t values[256] = {};
};

// The frame and the tables in force: what a scan needs to be decoded.
struct JpegFrame {
  bool baseline = false;  // a sequential Huffman frame of 8-bit samples: its scans can be decoded
  uint32_t width = 0, height = 0;
  uint32_t components = 0;
  uint8_t ids[4] = {}, h[4] = {}, v[4] = {};
  uint32_t restart = 0;
  HuffmanTable tables[2][4];  // DC, AC
};

// The tables a DHT segment (its body from at to end) defines.
bool ReadHuffmanTables(HitBytes& b, uint64_t at, uint64_t end, JpegFrame& f) {
  bool ok = true;
  while (ok && at + 17 <= end) {
    const uint8_t kind = b.U8(at, ok);
    if ((kind >> 4) > 1 || (kind & 15) > 3) return false;
    HuffmanTable& t = f.tables[kind >> 4][kind & 15];
    uint8_t counts[16];
    if (!b.Read(at + 1, counts, 16)) return false;
    uint32_t total = 0, code = 0;
    for (int length = 1; length <= 16; ++length) {
      const uint8_t count = counts[length - 1];
      t.first[length] = static_cast<int32_t>(total);
      t.minCode[length] = static_cast<int32_t>(code);
      t.maxCode[length] = count == 0 ? -1 : static_cast<int32_t>(code + count - 1);
      total += count;
      code = (code + count) << 1;
      if (total > 256 || code > (2u << length)) return false;
    }
    if (!b.Read(at + 17, t.values, total)) return false;
    t.defined = true;
    at += 17 + total;
  }
  return ok && at == end;
}

// Reads the entropy-coded data bit by bit: a stuffed zero after 0xFF is passed over; a marker ends the data.
class ScanBits {
 public:
  ScanBits(HitBytes& b, uint64_t at) : c_(b, at) {}
  // The next bit, -1 at a marker or where the bytes stop.
  int Bit() {
    if (left_ == 0) {
      if (marker_ != 0) return -1;
      int byte = c_.Next();
      if (byte == 0xFF) {
        const int next = c_.Next();
        if (next != 0x00) {
          marker_ = next < 0 ? 0x100 : next;
          return -1;
        }
      }
      if (byte < 0) {
        marker_ = 0x100;
        return -1;
      }
      byte_ = static_cast<uint8_t>(byte);
      left_ = 8;
    }
    --left_;
    return (byte_ >> left_) & 1;
  }
  int Bits(int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
      const int bit = Bit();
      if (bit < 0) return -1;
      value = value << 1 | bit;
    }
    return value;
  }
  // Passes over the rest of the byte and the restart marker expected next.
  bool Restart(uint32_t index) {
    left_ = 0;
    if (marker_ == 0) {
      const int byte = c_.Next();
      marker_ = byte == 0xFF ? c_.Next() : -2;
    }
    const bool expected = marker_ == static_cast<int>(0xD0 + index % 8);
    marker_ = 0;
    return expected;
  }
  // After the last block: only the padding of the last byte may be left before the marker that ends the data.
  bool AtEnd() {
    if (marker_ == 0) {
      const int byte = c_.Next();
      const int next = c_.Next();
      marker_ = byte == 0xFF && next != 0 ? next : -2;
    }
    return marker_ > 0 && marker_ != 0x100 && !(marker_ >= 0xD0 && marker_ <= 0xD7);
  }

 private:
  Cursor c_;
  uint8_t byte_ = 0;
  int left_ = 0;
  int marker_ = 0;  // the marker that ended the data (0x100: the bytes stopped), -2: none where one had to be
};

int DecodeSymbol(ScanBits& bits, const HuffmanTable& t) {
  int32_t code = 0;
  for (int length = 1; length <= 16; ++length) {
    const int bit = bits.Bit();
    if (bit < 0) return -1;
    code = code << 1 | bit;
    if (code <= t.maxCode[length]) return t.values[(t.first[length] + code - t.minCode[length]) & 255];
  }
  return -1;
}

// Whether the scan whose header is at sos (after its marker and length) decodes block after block to the number of
// blocks its frame holds and then ends: data that another file's bytes broke off decodes wrong or ends elsewhere.
bool ScanDecodes(HitBytes& b, uint64_t sos, uint64_t data, const JpegFrame& f) {
  bool ok = true;
  const uint32_t count = b.U8(sos, ok);
  if (!ok || count == 0 || count > f.components) return true;
  struct Part {
    const HuffmanTable* dc;
    const HuffmanTable* ac;
    uint32_t blocks;  // in one unit: the component's h x v in an interleaved scan, else 1
  } parts[4];
  uint32_t hMax = 1, vMax = 1;
  for (uint32_t i = 0; i < f.components; ++i) hMax = std::max<uint32_t>(hMax, f.h[i]), vMax = std::max<uint32_t>(vMax, f.v[i]);
  uint64_t units = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t id = b.U8(sos + 1 + 2 * i, ok), tables = b.U8(sos + 2 + 2 * i, ok);
    const uint8_t* c = std::find(f.ids, f.ids + f.components, id);
    if (!ok || c == f.ids + f.components || (tables >> 4) > 3 || (tables & 15) > 3) return true;
    const size_t k = static_cast<size_t>(c - f.ids);
    parts[i] = {&f.tables[0][tables >> 4], &f.tables[1][tables & 15], count == 1 ? 1u : uint32_t{f.h[k]} * f.v[k]};
    if (!parts[i].dc->defined || !parts[i].ac->defined) return true;
    if (count == 1) {
      const uint64_t columns = (uint64_t{f.width} * f.h[k] + 8 * hMax - 1) / (8 * hMax);
      units = columns * ((uint64_t{f.height} * f.v[k] + 8 * vMax - 1) / (8 * vMax));
    }
  }
  if (count > 1) units = ((f.width + 8 * hMax - 1) / (8 * hMax)) * uint64_t{(f.height + 8 * vMax - 1) / (8 * vMax)};
  if (b.U8(sos + 1 + 2 * count, ok) != 0 || b.U8(sos + 2 + 2 * count, ok) != 63 || !ok) return true;
  ScanBits bits(b, data);
  for (uint64_t unit = 0; unit < units; ++unit) {
    if (f.restart != 0 && unit != 0 && unit % f.restart == 0 && !bits.Restart(static_cast<uint32_t>(unit / f.restart - 1))) {
      return false;
    }
    for (uint32_t p = 0; p < count; ++p) {
      for (uint32_t block = 0; block < parts[p].blocks; ++block) {
        const int dc = DecodeSymbol(bits, *parts[p].dc);
        if (dc < 0 || dc > 11 || bits.Bits(dc) < 0) return false;
        for (int k = 1; k < 64;) {
          const int rs = DecodeSymbol(bits, *parts[p].ac);
          if (rs < 0) return false;
          if ((rs & 15) == 0) {
            if (rs != 0xF0) break;
            k += 16;
          } else {
            k += (rs >> 4) + 1;
            if (bits.Bits(rs & 15) < 0) return false;
          }
          if (k > 64) return false;
        }
      }
    }
  }
  return bits.AtEnd();
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

// What a segment (its body from at to end) tells of the frame: its size and components, the tables, the restart
// interval.
void ReadJpegSegment(HitBytes& b, uint8_t marker, uint64_t at, uint64_t end, JpegFrame& f) {
  bool ok = true;
  if (marker == 0xC0 || marker == 0xC1) {
    f.height = b.Be16(at + 1, ok);
    f.width = b.Be16(at + 3, ok);
    f.components = b.U8(at + 5, ok);
    f.baseline = ok && b.U8(at, ok) == 8 && f.components >= 1 && f.components <= 4 && f.width > 0 && f.height > 0;
    for (uint32_t i = 0; f.baseline && i < f.components; ++i) {
      f.ids[i] = b.U8(at + 6 + 3 * i, ok);
      const uint8_t factors = b.U8(at + 7 + 3 * i, ok);
      f.h[i] = factors >> 4;
      f.v[i] = factors & 15;
      f.baseline = ok && f.h[i] >= 1 && f.h[i] <= 4 && f.v[i] >= 1 && f.v[i] <= 4;
    }
  } else if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)) {
    f.baseline = false;  // progressive, lossless or arithmetic: not decoded here
  } else if (marker == 0xC4) {
    if (!ReadHuffmanTables(b, at, end, f)) f.baseline = false;
  } else if (marker == 0xDD) {
    f.restart = b.Be16(at, ok);
  }
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
// this one belong to the file too. A baseline scan is decoded: one whose blocks do not come out as its frame
// counts them, or whose restart markers are out of turn, holds bytes of something else.
Length JpegEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 2, more = 0;
  bool ok = true;
  JpegFrame frame;
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
    ReadJpegSegment(b, marker, at + 4, next, frame);
    if (marker == 0xDA && frame.baseline && !ScanDecodes(b, at + 4, next, frame)) b.NoteBreak();
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
