// Programs, fonts and other binary formats: where Windows and ELF programs, TrueType and OpenType fonts (single
// and collections), Flash movies and Blender scenes end, and whether a Windows program is a library.
#include <algorithm>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

constexpr uint32_t kLibraryFlag = 0x2000;

// The offset of the PE header ("PE\0\0"), or 0 for a DOS program.
uint64_t PeHeader(HitBytes& b) {
  bool ok = true;
  const uint32_t offset = b.Le32(0x3C, ok);
  return ok && offset >= 0x40 && offset < (1u << 20) && b.Holds(offset, std::string_view("PE\0\0", 4)) ? offset : 0;
}

// The DOS header's own size of the program: pages of 512 bytes, the last one in part.
Length DosProgramEnd(HitBytes& b) {
  bool ok = true;
  const uint16_t lastPage = b.Le16(2, ok), pages = b.Le16(4, ok), headerParagraphs = b.Le16(8, ok);
  if (!ok || lastPage >= 512 || pages == 0 || headerParagraphs < 2 || uint64_t{headerParagraphs} * 16 > pages * 512ull) {
    return std::nullopt;
  }
  return (pages - 1) * 512ull + (lastPage == 0 ? 512 : lastPage);
}

// The farthest table of an sfnt font whose directory lies at base, with the padding to 4 bytes after it.
Length SfntEnd(HitBytes& b, uint64_t base) {
  bool ok = true;
  const uint16_t tables = b.Be16(base + 4, ok);
  if (!ok || tables == 0 || tables > 256) return std::nullopt;
  uint64_t end = base + 12 + 16ull * tables;
  for (uint16_t i = 0; ok && i < tables; ++i) {
    const uint64_t record = base + 12 + 16ull * i;
    end = std::max(end, uint64_t{b.Be32(record + 8, ok)} + b.Be32(record + 12, ok));
  }
  return ok ? Length(end) : std::nullopt;
}

}  // namespace

// A PE header where the DOS header points, or a DOS header of sound sizes.
bool PeStart(HitBytes& b) { return PeHeader(b) != 0 || DosProgramEnd(b).has_value(); }

// The farthest section's raw data, the headers' size and the signature's place; a DOS program by its pages.
Length PeEnd(HitBytes& b, const LaterHits&) {
  const uint64_t pe = PeHeader(b);
  if (pe == 0) return DosProgramEnd(b);
  bool ok = true;
  const uint16_t sections = b.Le16(pe + 6, ok), optionalSize = b.Le16(pe + 20, ok);
  const uint64_t optional = pe + 24;
  const uint16_t magic = b.Le16(optional, ok);
  if (!ok || sections == 0 || sections > 96 || (magic != 0x10B && magic != 0x20B)) return std::nullopt;
  uint64_t end = b.Le32(optional + 60, ok);  // the headers' size
  const uint64_t directories = optional + (magic == 0x10B ? 96 : 112);
  const uint32_t directoryCount = b.Le32(directories - 4, ok);
  if (directoryCount > 4 && directories - optional + 40 <= optionalSize) {  // the certificates, at a file offset
    end = std::max(end, uint64_t{b.Le32(directories + 32, ok)} + b.Le32(directories + 36, ok));
  }
  const uint32_t symbols = b.Le32(pe + 12, ok), symbolCount = b.Le32(pe + 16, ok);
  if (symbols != 0) {  // a symbol table and the string table after it, whose size it begins with
    const uint64_t strings = symbols + 18ull * symbolCount;
    end = std::max(end, strings + b.Le32(strings, ok));
  }
  for (uint16_t i = 0; ok && i < sections; ++i) {
    const uint64_t section = optional + optionalSize + 40ull * i;
    const uint32_t size = b.Le32(section + 16, ok), offset = b.Le32(section + 20, ok);
    if (size != 0) end = std::max(end, uint64_t{offset} + size);
  }
  return ok ? Length(end) : std::nullopt;
}

std::u16string PeKind(HitBytes& b) {
  const uint64_t pe = PeHeader(b);
  if (pe == 0) return {};
  bool ok = true;
  const uint16_t flags = b.Le16(pe + 22, ok);
  return !ok ? u"" : (flags & kLibraryFlag) ? u".dll" : u".exe";
}

// The farthest of the section and program header tables and of what each section and segment holds.
Length ElfEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint8_t width = b.U8(4, ok), order = b.U8(5, ok);
  if (!ok || (width != 1 && width != 2) || (order != 1 && order != 2)) return std::nullopt;
  const bool wide = width == 2, little = order == 1;
  auto u16 = [&](uint64_t at) { return little ? b.Le16(at, ok) : b.Be16(at, ok); };
  auto u32 = [&](uint64_t at) { return little ? b.Le32(at, ok) : b.Be32(at, ok); };
  auto word = [&](uint64_t at) { return wide ? (little ? b.Le64(at, ok) : b.Be64(at, ok)) : uint64_t{u32(at)}; };
  const uint64_t programs = word(wide ? 32 : 28), sections = word(wide ? 40 : 32);
  const uint16_t programSize = u16(wide ? 54 : 42), programCount = u16(wide ? 56 : 44);
  const uint16_t sectionSize = u16(wide ? 58 : 46), sectionCount = u16(wide ? 60 : 48);
  if (!ok) return std::nullopt;
  uint64_t end = wide ? 64 : 52;
  auto reach = [&](uint64_t offset, uint64_t size) {
    if (const Length e = Sum(offset, size)) end = std::max(end, *e);
  };
  reach(programs, uint64_t{programSize} * programCount);
  reach(sections, uint64_t{sectionSize} * sectionCount);
  for (uint16_t i = 0; ok && i < programCount; ++i) {
    const uint64_t p = programs + uint64_t{programSize} * i;
    reach(word(p + (wide ? 8 : 4)), word(p + (wide ? 32 : 16)));
  }
  for (uint16_t i = 0; ok && i < sectionCount; ++i) {
    const uint64_t s = sections + uint64_t{sectionSize} * i;
    if (u32(s + 4) != 8) reach(word(s + (wide ? 24 : 16)), word(s + (wide ? 32 : 20)));  // 8: no bytes in the file
  }
  return ok ? Length(end) : std::nullopt;
}

// A table count and the search range the directory's header derives from it.
bool FontStart(HitBytes& b) {
  bool ok = true;
  const uint16_t tables = b.Be16(4, ok), range = b.Be16(6, ok);
  if (!ok || tables == 0 || tables > 256) return false;
  uint16_t power = 1;
  while (power * 2 <= tables) power *= 2;
  return range == power * 16;
}

Length FontEnd(HitBytes& b, const LaterHits&) { return SfntEnd(b, 0); }

// Every font of the collection: the farthest table of any.
Length FontCollectionEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t fonts = b.Be32(8, ok);
  if (!ok || fonts == 0 || fonts > 4096) return std::nullopt;
  uint64_t end = 12 + 4ull * fonts;
  for (uint32_t i = 0; i < fonts; ++i) {
    const Length font = SfntEnd(b, b.Be32(12 + 4ull * i, ok));
    if (!ok || !font) return std::nullopt;
    end = std::max(end, *font);
  }
  return end;
}

// An uncompressed movie states its length; a zlib one ends with its stream, which must give that length; an
// LZMA one states its compressed length.
Length SwfEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t length = b.Le32(4, ok);
  if (!ok) return std::nullopt;
  if (b.Holds(0, "FWS")) return length;
  if (b.Holds(0, "ZWS")) {
    const uint32_t packed = b.Le32(8, ok);
    return ok ? Length(17 + uint64_t{packed}) : std::nullopt;
  }
  const std::optional<Inflated> stream = Inflate(b, 8, 15);
  return stream && stream->size + 8 == length ? Length(stream->end) : std::nullopt;
}

// Blocks of a code, a size and a header of the pointer width; the block "ENDB" ends the file.
Length BlendEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint8_t width = b.U8(7, ok), order = b.U8(8, ok);
  if (!ok || (width != '_' && width != '-') || (order != 'v' && order != 'V')) return std::nullopt;
  const uint64_t header = width == '_' ? 20 : 24;
  uint64_t at = 12;
  while (ok && at < b.limit()) {
    const uint32_t size = order == 'v' ? b.Le32(at + 4, ok) : b.Be32(at + 4, ok);
    const bool last = b.Holds(at, "ENDB");
    at += header + size;
    if (last) return ok ? Length(at) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace trace
