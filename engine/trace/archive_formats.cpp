// Archives: where ZIP (and the Office documents written as ZIP), 7-Zip, cabinet, gzip, bzip2, xz, Zstandard,
// ARJ and ar archives end, and what a ZIP archive holds.
#include <algorithm>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

// ---- ZIP

struct ZipDirectory {
  uint64_t offset = 0;   // the central directory, from the archive's start
  uint64_t size = 0;
  uint64_t entries = 0;
  uint64_t end = 0;      // past the end record and its comment
};

// The end record at p, when it names a central directory that ends right before it (or, in a ZIP64
// archive, right before its ZIP64 end record): an archive stored inside this one has its own directory,
// counted from its own start, which does not.
std::optional<ZipDirectory> EndRecordAt(HitBytes& b, uint64_t p) {
  bool ok = true;
  const uint16_t disk = b.Le16(p + 4, ok), directoryDisk = b.Le16(p + 6, ok);
  const uint16_t here = b.Le16(p + 8, ok), entries = b.Le16(p + 10, ok), comment = b.Le16(p + 20, ok);
  const uint32_t size = b.Le32(p + 12, ok), offset = b.Le32(p + 16, ok);
  if (!ok || disk != 0 || directoryDisk != 0 || here != entries) return std::nullopt;
  ZipDirectory d{offset, size, entries, p + 22 + comment};
  if (offset == 0xFFFFFFFFu || size == 0xFFFFFFFFu || entries == 0xFFFF) {
    if (p < 20 || !b.Holds(p - 20, "PK\x06\x07")) return std::nullopt;
    const uint64_t record = b.Le64(p - 12, ok);
    if (!ok || !b.Holds(record, "PK\x06\x06")) return std::nullopt;
    d = {b.Le64(record + 48, ok), b.Le64(record + 40, ok), b.Le64(record + 32, ok), d.end};
    if (!ok || d.offset > record || record - d.offset != d.size) return std::nullopt;
  } else if (uint64_t{offset} + size != p) {
    return std::nullopt;
  }
  if (d.size != 0 && !b.Holds(d.offset, "PK\x01\x02")) return std::nullopt;
  return d;
}

std::optional<ZipDirectory> FindZipDirectory(HitBytes& b) {
  for (uint64_t from = 30;;) {
    const uint64_t p = b.Find(from, b.limit(), "PK\x05\x06");
    if (p == kNoOffset) return std::nullopt;
    if (const std::optional<ZipDirectory> d = EndRecordAt(b, p)) return d;
    from = p + 1;
  }
}

// What an Office Open XML package is, by the folder of its main part.
std::u16string OfficeKind(HitBytes& b, uint64_t name, uint16_t length) {
  for (const auto& [folder, extension] : {std::pair<std::string_view, const char16_t*>{"word/", u".docx"},
                                          {"xl/", u".xlsx"},
                                          {"ppt/", u".pptx"}}) {
    if (length > folder.size() && b.Holds(name, folder)) return extension;
  }
  return {};
}

// The members named by the central directory, else (the directory out of reach) by the local headers
// until one whose size follows its data.
std::u16string ZipMembersKind(HitBytes& b) {
  bool ok = true;
  if (const std::optional<ZipDirectory> d = FindZipDirectory(b)) {
    uint64_t at = d->offset;
    for (uint64_t i = 0; ok && i < d->entries && at + 46 <= d->offset + d->size && b.Holds(at, "PK\x01\x02"); ++i) {
      const uint16_t name = b.Le16(at + 28, ok), extra = b.Le16(at + 30, ok), comment = b.Le16(at + 32, ok);
      const std::u16string kind = OfficeKind(b, at + 46, name);
      if (!kind.empty()) return kind;
      at += 46ull + name + extra + comment;
    }
    return {};
  }
  uint64_t at = 0;
  for (int i = 0; ok && i < 1000 && b.Holds(at, "PK\x03\x04"); ++i) {
    const uint16_t flags = b.Le16(at + 6, ok), name = b.Le16(at + 26, ok), extra = b.Le16(at + 28, ok);
    const uint32_t size = b.Le32(at + 18, ok);
    const std::u16string kind = OfficeKind(b, at + 30, name);
    if (!kind.empty()) return kind;
    if (flags & 8) break;
    at += 30ull + name + extra + size;
  }
  return {};
}

// Past a gzip member's header (its optional extra field, name, comment and header CRC).
Length GzipHeaderEnd(HitBytes& b, uint64_t member) {
  bool ok = true;
  const uint8_t flags = b.U8(member + 3, ok);
  uint64_t at = member + 10;
  if (flags & 4) at += 2 + b.Le16(at, ok);
  for (uint8_t text : {uint8_t{8}, uint8_t{16}}) {
    if (!(flags & text)) continue;
    const uint64_t zero = b.FindByte(at, b.limit(), 0);
    if (zero == kNoOffset) return std::nullopt;
    at = zero + 1;
  }
  if (flags & 2) at += 2;
  return ok ? Length(at) : std::nullopt;
}

// ---- bzip2: the stream's end marker lies at any bit

constexpr uint64_t kBzipEndMagic = 0x177245385090ull;
constexpr uint64_t kBzipBlockMagic = 0x314159265359ull;

// Past the 32-bit CRC that follows the first end marker after offset, rounded up to a byte.
Length BzipStreamEnd(HitBytes& b, uint64_t offset) {
  uint64_t window = 0;
  uint64_t at = offset;
  for (Span span = b.At(at); span.size != 0; span = b.At(at)) {
    for (size_t i = 0; i < span.size; ++i) {
      window = window << 8 | span.data[i];
      for (int shift = 0; shift < 8; ++shift) {
        if (((window >> shift) & 0xFFFFFFFFFFFFull) == kBzipEndMagic && at + i + 1 >= offset + 6) {
          // The marker's last bit is `shift` bits before the end of this byte; the CRC's 32 bits follow.
          const uint64_t bitsAfter = 32 - static_cast<uint64_t>(shift);
          return at + i + 1 + (bitsAfter + 7) / 8;
        }
      }
    }
    at += span.size;
  }
  return std::nullopt;
}

// ---- ARJ

// The basic header at offset: its size (0 for the archive's end) and, when sound, its CRC checked.
std::optional<uint16_t> ArjHeader(HitBytes& b, uint64_t at) {
  bool ok = true;
  if (!b.Holds(at, "\x60\xEA")) return std::nullopt;
  const uint16_t size = b.Le16(at + 2, ok);
  if (!ok || size > 2600 || (size != 0 && size < 30)) return std::nullopt;
  if (size == 0) return size;
  const std::optional<uint32_t> crc = Crc32Of(b, at + 4, size);
  if (!crc || *crc != b.Le32(at + 4 + size, ok) || !ok) return std::nullopt;
  return size;
}

// Past the extended headers after a basic header's CRC (each a size, its bytes and a CRC; a zero size ends).
Length ArjExtendedEnd(HitBytes& b, uint64_t at) {
  bool ok = true;
  for (int i = 0; i < 64; ++i) {
    const uint16_t size = b.Le16(at, ok);
    if (!ok) return std::nullopt;
    at += 2;
    if (size == 0) return at;
    at += size + 4ull;
  }
  return std::nullopt;
}

}  // namespace

bool ZipStart(HitBytes& b) {
  bool ok = true;
  const uint16_t name = b.Le16(26, ok);
  return ok && name > 0;
}

// The end record after its directory; the members' local headers the directory names are noted.
Length ZipEnd(HitBytes& b, const LaterHits&) {
  const std::optional<ZipDirectory> d = FindZipDirectory(b);
  if (!d) return std::nullopt;
  bool ok = true;
  uint64_t at = d->offset;
  std::vector<uint64_t> locals;
  for (uint64_t i = 0; ok && i < d->entries && at + 46 <= d->offset + d->size && b.Holds(at, "PK\x01\x02"); ++i) {
    const uint16_t name = b.Le16(at + 28, ok), extra = b.Le16(at + 30, ok), comment = b.Le16(at + 32, ok);
    const uint32_t local = b.Le32(at + 42, ok);
    if (ok && local % 512 == 0 && local < d->offset) locals.push_back(local);
    at += 46ull + name + extra + comment;
  }
  std::sort(locals.begin(), locals.end());
  for (uint64_t local : locals) {
    if (b.Holds(local, "PK\x03\x04")) b.NoteUnit(local);
  }
  return d->end;
}

std::u16string ZipKind(HitBytes& b) { return ZipMembersKind(b); }

// The start header (its CRC checked) names the next header's place and size: the archive's last bytes.
Length SevenZipEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t crc = b.Le32(8, ok);
  const uint64_t offset = b.Le64(12, ok), size = b.Le64(20, ok);
  const std::optional<uint32_t> computed = Crc32Of(b, 12, 20);
  if (!ok || !computed || *computed != crc) return std::nullopt;
  const Length end = Sum(offset, size);
  return end ? Sum(32, *end) : std::nullopt;
}

Length CabEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t size = b.Le32(8, ok);
  const uint8_t minor = b.U8(24, ok), major = b.U8(25, ok);
  return ok && major == 1 && minor == 3 && size >= 36 ? Length(size) : std::nullopt;
}

bool GzipStart(HitBytes& b) {
  bool ok = true;
  return (b.U8(3, ok) & 0xE0) == 0 && ok;
}

// Member after member: header, deflate stream, then the CRC and size of what it gave, which must match.
Length GzipEnd(HitBytes& b, const LaterHits&) {
  uint64_t member = 0;
  for (int members = 0; members < 4096; ++members) {
    const Length data = GzipHeaderEnd(b, member);
    if (!data) return std::nullopt;
    const std::optional<Inflated> stream = Inflate(b, *data, -15);
    bool ok = true;
    if (!stream || b.Le32(stream->end, ok) != stream->crc || b.Le32(stream->end + 4, ok) != static_cast<uint32_t>(stream->size) ||
        !ok) {
      return std::nullopt;
    }
    member = stream->end + 8;
    if (!b.Holds(member, "\x1F\x8B\x08")) return member;
    b.NoteUnit(member);
  }
  return std::nullopt;
}

bool Bzip2Start(HitBytes& b) {
  bool ok = true;
  const uint8_t level = b.U8(3, ok);
  const uint64_t magic = (uint64_t{b.Be16(4, ok)} << 32) | b.Be32(6, ok);
  return ok && level >= '1' && level <= '9' && (magic == kBzipBlockMagic || magic == kBzipEndMagic);
}

// Stream after stream (parallel compressors write several).
Length Bzip2End(HitBytes& b, const LaterHits&) {
  uint64_t stream = 0;
  for (int streams = 0; streams < 4096; ++streams) {
    const Length end = BzipStreamEnd(b, stream + 4);
    if (!end) return std::nullopt;
    if (!b.Holds(*end, "BZh")) return end;
    stream = *end;
    b.NoteUnit(stream);
  }
  return std::nullopt;
}

// The stream footer: 4-byte aligned, its CRC sound, its flags those of the header, ending in "YZ".
Length XzEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t flags = b.Le16(6, ok);
  const std::optional<uint32_t> headerCrc = Crc32Of(b, 6, 2);
  if (!ok || !headerCrc || *headerCrc != b.Le32(8, ok)) return std::nullopt;
  for (uint64_t from = 12 + 10;;) {
    const uint64_t magic = b.Find(from, b.limit(), "YZ");
    if (magic == kNoOffset) return std::nullopt;
    const uint64_t footer = magic - 10;
    from = magic + 1;
    if (footer % 4 != 0 || b.Le16(footer + 8, ok) != flags || !ok) continue;
    const std::optional<uint32_t> crc = Crc32Of(b, footer + 4, 6);
    if (crc && *crc == b.Le32(footer, ok) && ok) return footer + 12;
  }
}

// Frames of blocks, each block's header giving its kind and size; the last block's flag ends the frame,
// and a checksum may follow.
Length ZstdEnd(HitBytes& b, const LaterHits&) {
  uint64_t frame = 0;
  bool ok = true;
  for (int frames = 0; frames < 4096 && b.Holds(frame, "\x28\xB5\x2F\xFD"); ++frames) {
    b.NoteUnit(frame);
    const uint8_t descriptor = b.U8(frame + 4, ok);
    if (!ok || (descriptor & 0x08)) return std::nullopt;
    const bool single = descriptor & 0x20;
    static constexpr uint8_t kDictionary[] = {0, 1, 2, 4};
    const uint8_t sizeFlag = descriptor >> 6;
    const uint64_t contentSize = sizeFlag == 0 ? (single ? 1 : 0) : (sizeFlag == 1 ? 2 : sizeFlag == 2 ? 4 : 8);
    uint64_t at = frame + 5 + (single ? 0 : 1) + kDictionary[descriptor & 3] + contentSize;
    while (true) {
      uint8_t h[3];
      if (!b.Read(at, h, 3)) return std::nullopt;
      const uint32_t header = h[0] | h[1] << 8 | h[2] << 16;
      const uint32_t type = (header >> 1) & 3, size = header >> 3;
      if (type == 3 || size > (128u << 10)) return std::nullopt;
      at += 3 + (type == 1 ? 1 : size);
      if (header & 1) break;
    }
    frame = at + ((descriptor & 0x04) ? 4 : 0);
  }
  return frame == 0 ? std::nullopt : Length(frame);
}

// The method's flags byte: three unused bits clear, a code width of 9 to 16 bits.
bool CompressStart(HitBytes& b) {
  bool ok = true;
  const uint8_t flags = b.U8(2, ok);
  return ok && (flags & 0x60) == 0 && (flags & 0x1F) >= 9 && (flags & 0x1F) <= 16;
}

// The main header: sound, its CRC right, its file type the archive's (2).
bool ArjStart(HitBytes& b) {
  bool ok = true;
  const std::optional<uint16_t> size = ArjHeader(b, 0);
  return size && *size != 0 && b.U8(10, ok) == 2 && ok;
}

// The main header, then each file's header and data, until a header of size 0.
Length ArjEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 0;
  bool ok = true;
  for (uint32_t n = 0; n < 65536; ++n) {
    const std::optional<uint16_t> size = ArjHeader(b, at);
    if (!size) return std::nullopt;
    if (*size == 0) return at + 4;
    const bool file = n > 0;
    const uint32_t packed = file ? b.Le32(at + 16, ok) : 0;
    const Length extended = ArjExtendedEnd(b, at + 4 + *size + 4);
    if (!ok || !extended) return std::nullopt;
    at = *extended + packed;
  }
  return std::nullopt;
}

// Members of 60-byte headers (the size in decimal at 48, "`\n" at 58), each padded to an even length; a
// Debian package ends with its data member.
Length ArEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 8;
  for (uint32_t n = 0; n < 65536; ++n) {
    char header[60];
    if (!b.Read(at, header, sizeof header) || header[58] != '`' || header[59] != '\n') return n > 0 ? Length(at) : std::nullopt;
    uint64_t size = 0;
    int digits = 0;
    for (int i = 48; i < 58 && header[i] >= '0' && header[i] <= '9'; ++i, ++digits) size = size * 10 + (header[i] - '0');
    if (digits == 0) return std::nullopt;
    at += 60 + size + (size & 1);
    if (std::string_view(header, 8) == "data.tar") return at;
  }
  return std::nullopt;
}

}  // namespace trace
