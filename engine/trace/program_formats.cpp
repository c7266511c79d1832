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

// A program's headers as the checks of its later parts need them.
struct PeLayout {
  uint64_t pe = 0, optional = 0, sectionTable = 0, directories = 0;
  uint32_t sections = 0, directoryCount = 0;
};

// The file offset of an address of the loaded image, through the section that holds it; nothing outside them.
std::optional<uint64_t> PeFileOffset(HitBytes& b, const PeLayout& p, uint32_t rva) {
  bool ok = true;
  for (uint32_t i = 0; i < p.sections; ++i) {
    const uint64_t section = p.sectionTable + 40ull * i;
    const uint32_t virtualSize = b.Le32(section + 8, ok), address = b.Le32(section + 12, ok);
    const uint32_t rawSize = b.Le32(section + 16, ok), raw = b.Le32(section + 20, ok);
    if (ok && rva >= address && rva - address < std::max(virtualSize, rawSize) && rva - address < rawSize) {
      return uint64_t{raw} + (rva - address);
    }
  }
  return std::nullopt;
}

// A data directory's place in the file and its size; nothing when it is empty or lies outside the sections.
std::optional<std::pair<uint64_t, uint32_t>> PeDirectory(HitBytes& b, const PeLayout& p, uint32_t index) {
  bool ok = true;
  if (index >= p.directoryCount) return std::nullopt;
  const uint32_t rva = b.Le32(p.directories + 8ull * index, ok), size = b.Le32(p.directories + 8ull * index + 4, ok);
  if (!ok || rva == 0 || size == 0) return std::nullopt;
  const std::optional<uint64_t> at = PeFileOffset(b, p, rva);
  return at ? std::optional<std::pair<uint64_t, uint32_t>>({*at, size}) : std::nullopt;
}

// Whether the parts of a program that its headers point into hold what the headers say they do: the imported
// libraries' names, the relocation blocks to the directory's size, the resource tree's first level, the
// certificates' header. A part read from another file's bytes (the program broken off before it) does not. Parts
// past the limit are not looked at. (The header's checksum would tell more, but linkers and tools leave it stale.)
bool PePartsHold(HitBytes& b, const PeLayout& p) {
  bool ok = true;
  auto readable = [&](uint64_t at, uint64_t size) { return at + size <= b.limit(); };
  if (const auto imports = PeDirectory(b, p, 1)) {
    const uint64_t stop = imports->first + std::min<uint32_t>(imports->second, 20 * 4096);  // no program imports more
    for (uint64_t d = imports->first; d + 20 <= stop && readable(d, 20); d += 20) {
      const uint32_t name = b.Le32(d + 12, ok);
      if (name == 0) break;  // the closing descriptor
      const std::optional<uint64_t> text = PeFileOffset(b, p, name);
      if (!text) return false;
      char chars[8] = {};
      if (!readable(*text, 2)) continue;
      b.Read(*text, chars, static_cast<size_t>(std::min<uint64_t>(sizeof chars, b.limit() - *text)));
      if (!std::all_of(chars, chars + 2, [](char c) { return c >= 0x20 && c < 0x7F; })) return false;
    }
  }
  if (const auto relocations = PeDirectory(b, p, 5)) {
    uint64_t at = relocations->first;
    const uint64_t stop = at + relocations->second;
    while (at + 8 <= stop && readable(at, 8)) {
      const uint32_t page = b.Le32(at, ok), size = b.Le32(at + 4, ok);
      if (page % 4096 != 0 || size < 8 || size % 2 != 0 || at + size > stop) return false;
      at += size;
    }
  }
  if (const auto resources = PeDirectory(b, p, 2); resources && readable(resources->first, 16)) {
    const uint64_t root = resources->first;
    const uint32_t characteristics = b.Le32(root, ok);
    const uint32_t entries = uint32_t{b.Le16(root + 12, ok)} + b.Le16(root + 14, ok);
    if (characteristics != 0 || 16 + 8ull * entries > resources->second) return false;
    for (uint32_t i = 0; i < entries && readable(root + 16 + 8ull * (i + 1), 0); ++i) {
      if ((b.Le32(root + 16 + 8ull * i + 4, ok) & 0x7FFFFFFF) >= resources->second) return false;
    }
  }
  bool certificatesOk = true;
  if (p.directoryCount > 4) {
    const uint32_t at = b.Le32(p.directories + 32, ok), size = b.Le32(p.directories + 36, ok);
    if (at != 0 && size >= 8 && readable(at, 8)) {
      const uint32_t length = b.Le32(at, ok);
      const uint16_t revision = b.Le16(at + 4, ok), type = b.Le16(at + 6, ok);
      certificatesOk = length >= 8 && length <= size && (revision == 0x100 || revision == 0x200) && type >= 1 && type <= 4;
    }
  }
  return certificatesOk;
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
  if (!ok) return std::nullopt;
  const PeLayout layout{pe, optional, optional + optionalSize, directories, sections,
                        directories - optional + 8ull * directoryCount <= optionalSize ? directoryCount : 0};
  if (!PePartsHold(b, layout)) b.NoteBreak();
  return end;
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
