// Documents and data files: where compound files (Office, Outlook), PDF and PostScript, RTF, HTML, XML and
// other text formats, and a few databases and help files end.
#include <algorithm>
#include <cctype>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

constexpr uint32_t kLastRegularSector = 0xFFFFFFF9u;
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFatSectorMark = 0xFFFFFFFDu;
constexpr uint32_t kListSectorMark = 0xFFFFFFFCu;

// A compound file's sector n lies after the header, which takes the first sector's room.
uint64_t SectorOffset(uint32_t sector, uint32_t size) { return (uint64_t{sector} + 1) * size; }

// The allocation table's sectors: 109 in the header, the rest in the chain of list sectors.
bool FatSectors(HitBytes& b, uint32_t size, std::vector<uint32_t>* fat, std::vector<uint32_t>* lists) {
  bool ok = true;
  const uint32_t count = b.Le32(44, ok), listCount = b.Le32(72, ok);
  const uint64_t most = b.limit() / size;
  if (!ok || count == 0 || count > most || listCount > most) return false;
  for (uint32_t i = 0; ok && i < 109 && fat->size() < count; ++i) fat->push_back(b.Le32(76 + 4 * i, ok));
  uint32_t list = b.Le32(68, ok);
  const uint32_t perList = size / 4 - 1;
  for (uint32_t n = 0; ok && n < listCount && fat->size() < count; ++n) {
    if (list > kLastRegularSector) return false;
    lists->push_back(list);
    for (uint32_t i = 0; ok && i < perList && fat->size() < count; ++i) fat->push_back(b.Le32(SectorOffset(list, size) + 4 * i, ok));
    list = b.Le32(SectorOffset(list, size) + 4 * perList, ok);
  }
  return ok && fat->size() == count;
}

uint32_t LoadLe32Bytes(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The sectors of the chain at start through the allocation table, each marked in seen: nothing when the chain
// leaves the file's sectors, meets a sector of another chain, or does not end with its end mark.
std::optional<uint64_t> ChainLength(const std::vector<uint32_t>& fat, uint32_t start, uint64_t sectors,
                                    std::vector<bool>& seen) {
  uint64_t length = 0;
  for (uint32_t at = start; at != kEndOfChain; at = fat[at], ++length) {
    if (at >= sectors || at >= fat.size() || seen[at]) return std::nullopt;
    seen[at] = true;
  }
  return length;
}

// Whether the directory, and the chains of its streams and of the mini allocation table, lie in the file as its
// allocation table says: the directory's entries are of known kinds with names of a sound length and links inside
// it, each chain ends with its mark inside the file's sectors and holds its stream's bytes, and no sector is in two
// chains. The table may stand where the file was written whole while a later piece of it holds other bytes; the
// directory read from there does not hold. Nothing past the limit is looked at.
bool CompoundChainsHold(HitBytes& b, uint32_t size, const std::vector<uint32_t>& fat, uint64_t sectors) {
  bool ok = true;
  const uint32_t cutoff = b.Le32(0x38, ok), miniStart = b.Le32(0x3C, ok), directoryStart = b.Le32(0x30, ok);
  if (!ok) return true;
  std::vector<bool> seen(static_cast<size_t>(std::min<uint64_t>(sectors, fat.size())), false);
  std::vector<uint32_t> directory;
  for (uint32_t at = directoryStart; at != kEndOfChain; at = fat[at]) {
    if (at >= seen.size() || seen[at]) return false;
    seen[at] = true;
    directory.push_back(at);
  }
  if (miniStart != kEndOfChain && !ChainLength(fat, miniStart, sectors, seen)) return false;
  const uint64_t count = uint64_t{directory.size()} * (size / 128);
  std::vector<uint8_t> entry(128);
  for (uint64_t i = 0; i < count; ++i) {
    if (!b.Read(SectorOffset(directory[i / (size / 128)], size) + 128 * (i % (size / 128)), entry.data(), 128)) {
      return true;  // past the limit: the save cuts the file there
    }
    const uint8_t kind = entry[0x42];
    const uint32_t nameLength = entry[0x40] | entry[0x41] << 8;
    if (i == 0 ? kind != 5 : kind != 0 && kind != 1 && kind != 2) return false;  // the root first, then storages and streams
    if (kind == 0) continue;
    if (nameLength < 2 || nameLength > 64 || nameLength % 2 != 0) return false;
    for (size_t link = 0x44; link < 0x50; link += 4) {
      const uint32_t to = LoadLe32Bytes(entry.data() + link);
      if (to != 0xFFFFFFFFu && to >= count) return false;
    }
    const uint32_t start = LoadLe32Bytes(entry.data() + 0x74), length = LoadLe32Bytes(entry.data() + 0x78);
    if (kind == 1 || length == 0 || (kind == 2 && length < cutoff)) continue;  // no chain, or in the mini stream
    const std::optional<uint64_t> chain = ChainLength(fat, start, sectors, seen);
    if (!chain || *chain < (uint64_t{length} + size - 1) / size) return false;
  }
  return true;
}

// Where the text marker ends (with the line end after it): the first at or after from, else nothing.
Length AfterMarker(HitBytes& b, uint64_t from, std::string_view marker) {
  const uint64_t at = b.Find(from, b.limit(), marker);
  if (at == kNoOffset) return std::nullopt;
  return at + marker.size() + LineEndAt(b, at + marker.size());
}

// A decimal number at offset, after any white space; nothing when there are no digits.
std::optional<uint64_t> NumberAt(HitBytes& b, uint64_t offset) {
  Cursor c(b, offset);
  int byte = c.Next();
  for (int space = 0; space < 64 && (byte == ' ' || byte == '\r' || byte == '\n' || byte == '\t'); ++space) byte = c.Next();
  uint64_t value = 0;
  int digits = 0;
  for (; std::isdigit(byte) && digits < 12; ++digits, byte = c.Next()) value = value * 10 + (byte - '0');
  return digits > 0 ? std::optional<uint64_t>(value) : std::nullopt;
}

// Where the "startxref" just before an "%%EOF" at eof points, when that is a cross-reference section or stream of
// this file (a section's "xref", or an object's "N G obj"): an end whose pointer lands elsewhere is another file's,
// or bytes of this one are missing before it.
std::optional<uint64_t> CrossReferenceOf(HitBytes& b, uint64_t eof) {
  const uint64_t look = eof > 48 ? eof - 48 : 0;
  const uint64_t word = b.Find(look, eof, "startxref");
  if (word == kNoOffset) return std::nullopt;
  const std::optional<uint64_t> offset = NumberAt(b, word + 9);
  if (!offset || *offset >= eof) return std::nullopt;
  if (b.Holds(*offset, "xref")) return offset;
  // An object's header: its number, its generation, "obj".
  Cursor c(b, *offset);
  int byte = c.Next();
  for (int field = 0; field < 2; ++field) {
    int digits = 0;
    for (; std::isdigit(byte) && digits < 12; ++digits) byte = c.Next();
    if (digits == 0 || (byte != ' ' && byte != '\r' && byte != '\n')) return std::nullopt;
    for (int space = 0; space < 64 && (byte == ' ' || byte == '\r' || byte == '\n'); ++space) byte = c.Next();
  }
  return byte == 'o' && c.Next() == 'b' && c.Next() == 'j' ? offset : std::nullopt;
}

// The earlier cross-reference the one at xref names ("/Prev" in its trailer, or in its stream's dictionary).
std::optional<uint64_t> PreviousCrossReference(HitBytes& b, uint64_t xref, uint64_t eof) {
  const uint64_t stop = b.Holds(xref, "xref") ? eof : b.Find(xref, eof, "stream");
  const uint64_t prev = b.Find(xref, stop == kNoOffset ? eof : stop, "/Prev");
  return prev == kNoOffset ? std::nullopt : NumberAt(b, prev + 5);
}

// The last "%%EOF" (with its line end) of the stretch before the first later hit that follows one; a hit
// before any is a file inside this one.
Length LastEndOfFile(HitBytes& b, const LaterHits& hits) {
  uint64_t from = 5;
  while (from < b.limit()) {
    const uint64_t boundary = std::min(NextHitFrom(hits, from + 1), b.limit());
    Length last;
    for (uint64_t at = b.Find(from, boundary + 4, "%%EOF"); at != kNoOffset && at < boundary;
         at = b.Find(at + 5, boundary + 4, "%%EOF")) {
      last = at + 5 + LineEndAt(b, at + 5);
    }
    if (last) return last;
    from = boundary;
  }
  return std::nullopt;
}

// The text after the first "<" that opens an element (not "<?", "<!"), up to the characters a name holds.
std::string XmlRootName(HitBytes& b) {
  for (uint64_t at = b.FindByte(0, 4096, '<'); at != kNoOffset; at = b.FindByte(at + 1, 4096, '<')) {
    char name[64];
    size_t n = 0;
    bool ok = true;
    for (uint8_t c = b.U8(at + 1, ok); ok && n < sizeof name; c = b.U8(at + 1 + n, ok)) {
      if (!(std::isalnum(c) || c == '_' || c == '-' || c == ':' || c == '.')) break;
      name[n++] = static_cast<char>(c);
    }
    if (!ok) return {};
    if (n > 0) return std::string(name, n);
  }
  return {};
}

}  // namespace

bool CompoundStart(HitBytes& b) {
  bool ok = true;
  const uint16_t version = b.Le16(26, ok), order = b.Le16(28, ok), shift = b.Le16(30, ok), mini = b.Le16(32, ok);
  return ok && order == 0xFFFE && mini == 6 && ((version == 3 && shift == 9) || (version == 4 && shift == 12));
}

// The last sector the allocation table uses (or that holds the table itself): the file's sector count.
Length CompoundEnd(HitBytes& b, const LaterHits&) {
  if (!CompoundStart(b)) return std::nullopt;
  bool ok = true;
  const uint32_t size = 1u << b.Le16(30, ok);
  std::vector<uint32_t> fat, lists;
  if (!ok || !FatSectors(b, size, &fat, &lists)) return std::nullopt;
  uint64_t sectors = 0;
  for (uint32_t list : lists) sectors = std::max<uint64_t>(sectors, uint64_t{list} + 1);
  std::vector<uint8_t> table(size);
  std::vector<uint32_t> entries;  // the whole allocation table
  const uint32_t perSector = size / 4;
  // The table marks its own sectors (and those of its list) as such: bytes that are not this file's do not.
  auto entryOf = [&](uint32_t sector) {
    bool ok = true;
    const uint64_t where = sector / perSector < fat.size() ? SectorOffset(fat[sector / perSector], size) : kNoOffset;
    return where == kNoOffset ? 0u : b.Le32(where + 4ull * (sector % perSector), ok);
  };
  for (uint32_t sector : fat) {
    if (sector > kLastRegularSector || entryOf(sector) != kFatSectorMark) return std::nullopt;
  }
  for (uint32_t list : lists) {
    if (entryOf(list) != kListSectorMark) return std::nullopt;
  }
  for (size_t i = 0; i < fat.size(); ++i) {
    if (!b.Read(SectorOffset(fat[i], size), table.data(), size)) return std::nullopt;
    for (uint32_t j = 0; j < perSector; ++j) entries.push_back(LoadLe32Bytes(table.data() + 4 * j));
    sectors = std::max<uint64_t>(sectors, uint64_t{fat[i]} + 1);
    for (uint32_t j = perSector; j > 0; --j) {
      const uint8_t* e = table.data() + 4 * (j - 1);
      if ((e[0] & e[1] & e[2] & e[3]) != 0xFF) {
        sectors = std::max<uint64_t>(sectors, uint64_t{i} * perSector + j);
        break;
      }
    }
  }
  sectors = std::min<uint64_t>(sectors, 0xFFFFFFFFu);
  if (!CompoundChainsHold(b, size, entries, sectors)) b.NoteBreak();
  return SectorOffset(static_cast<uint32_t>(sectors), size);
}

// The number after the last "/Prev" before an offset, found going forward: each byte is looked at once however many
// offsets are asked for.
class LastPrevious {
 public:
  LastPrevious(HitBytes& b, uint64_t from) : b_(b), next_(b.Find(from, b.limit(), "/Prev")) {}
  std::optional<uint64_t> Before(uint64_t to) {
    for (; next_ != kNoOffset && next_ + 5 <= to; next_ = b_.Find(next_ + 5, b_.limit(), "/Prev")) {
      last_ = NumberAt(b_, next_ + 5);
    }
    return last_;
  }

 private:
  HitBytes& b_;
  uint64_t next_;
  std::optional<uint64_t> last_;
};

// The first "%%EOF" whose pointer leads to its cross-reference ends the first edition; each update saved after it
// adds an edition whose cross-reference names the one before (its "/Prev"), and the next end whose pointer leads
// elsewhere is another file's (an older, longer document of which this one took the place). An update that names
// this file's last cross-reference while its own pointer leads nowhere has other bytes before it: the file goes on
// to its end, broken.
Length PdfEnd(HitBytes& b, const LaterHits&) {
  Length end;
  std::optional<uint64_t> xref;
  std::optional<LastPrevious> previous;  // of the updates after the last edition followed
  for (uint64_t at = b.Find(5, b.limit(), "%%EOF"); at != kNoOffset; at = b.Find(at + 5, b.limit(), "%%EOF")) {
    const std::optional<uint64_t> points = CrossReferenceOf(b, at);
    if (end && !points && previous->Before(at) == xref) {
      b.NoteBreak();
      return at + 5 + LineEndAt(b, at + 5);
    }
    if (!points) continue;
    if (end && (*points < *end || PreviousCrossReference(b, *points, at) != xref)) break;
    end = at + 5 + LineEndAt(b, at + 5);
    xref = points;
    previous.emplace(b, *end);
  }
  return end;
}

Length PostScriptEnd(HitBytes& b, const LaterHits& hits) { return LastEndOfFile(b, hits); }

// Groups counted from the first "{" to the "}" that closes it; an escaped brace is text, and binary data
// (\binN) is passed over whole. A zero byte is no RTF, but the rich edit control (WordPad's) ends what it writes
// with one after the closing brace and its line end.
Length RtfEnd(HitBytes& b, const LaterHits&) {
  Cursor c(b, 0);
  int64_t depth = 0;
  int held = -1;  // a control word's delimiter that is not a space: read again as the next byte
  bool richEdit = false;
  while (true) {
    const int byte = held >= 0 ? held : c.Next();
    const uint64_t after = c.offset();
    held = -1;
    if (byte <= 0) return std::nullopt;
    if (byte == '{') {
      ++depth;
    } else if (byte == '}') {
      if (--depth == 0) {
        const uint64_t end = after + LineEndAt(b, after);
        return end + (richEdit && b.Holds(end, std::string_view("\0", 1)) ? 1 : 0);
      }
      if (depth < 0) return std::nullopt;
    } else if (byte == '\\') {
      int next = c.Next();
      if (!std::isalpha(next)) continue;  // a control symbol: \{ \} \\ among them
      char word[8] = {};
      size_t n = 0;
      for (; std::isalpha(next); next = c.Next()) {
        if (n < sizeof word - 1) word[n++] = static_cast<char>(next);
      }
      const bool negative = next == '-';
      if (negative) next = c.Next();
      uint64_t value = 0;
      for (; std::isdigit(next) && value < (uint64_t{1} << 40); next = c.Next()) value = value * 10 + (next - '0');
      if (next < 0) return std::nullopt;
      if (std::string_view(word) == "generat" && next == ' ') {
        richEdit = richEdit || b.Holds(c.offset(), "Riched20") || b.Holds(c.offset(), "Msftedit");
      }
      if (std::string_view(word) == "bin" && !negative && value > 0) {
        if (next != ' ') return std::nullopt;  // the binary data follows its control word's space
        c.Skip(value);
      } else if (next != ' ') {
        held = next;
      }
    }
  }
}

// The first closing tag of the page, with the line end after it.
Length HtmlEnd(HitBytes& b, const LaterHits&) {
  for (uint64_t at = FindNoCase(b, 0, b.limit(), "</html"); at != kNoOffset; at = FindNoCase(b, at + 1, b.limit(), "</html")) {
    const uint64_t close = b.FindByte(at + 6, at + 64, '>');
    bool ok = true;
    const uint8_t after = b.U8(at + 6, ok);
    if (ok && close != kNoOffset && (after == '>' || after == ' ' || after == '\t' || after == '\r' || after == '\n')) {
      return close + 1 + LineEndAt(b, close + 1);
    }
  }
  return std::nullopt;
}

// The first closing tag of the root element, with the line end after it.
Length XmlEnd(HitBytes& b, const LaterHits&) {
  const std::string root = XmlRootName(b);
  if (root.empty()) return std::nullopt;
  const std::string close = "</" + root;
  for (uint64_t at = b.Find(0, b.limit(), close); at != kNoOffset; at = b.Find(at + 1, b.limit(), close)) {
    uint64_t after = at + close.size();
    bool ok = true;
    uint8_t c = b.U8(after, ok);
    while (ok && (c == ' ' || c == '\t' || c == '\r' || c == '\n') && after < at + 64) c = b.U8(++after, ok);
    if (ok && c == '>') return after + 1 + LineEndAt(b, after + 1);
  }
  return std::nullopt;
}

// Card after card, each ended by its END line; the file ends after the last card of the run.
Length VcardEnd(HitBytes& b, const LaterHits&) {
  Length end = AfterMarker(b, 0, "END:VCARD");
  for (int cards = 0; end && cards < 1 << 20 && b.Holds(*end, "BEGIN:VCARD"); ++cards) {
    b.NoteUnit(*end);
    const Length next = AfterMarker(b, *end, "END:VCARD");
    if (!next) break;
    end = next;
  }
  return end;
}

Length CalendarEnd(HitBytes& b, const LaterHits&) { return AfterMarker(b, 0, "END:VCALENDAR"); }

Length StepEnd(HitBytes& b, const LaterHits&) { return AfterMarker(b, 0, "END-ISO-10303-21;"); }

// A text drawing ends with the group code 0 and the value EOF.
Length DxfEnd(HitBytes& b, const LaterHits&) {
  if (!b.Holds(0, " ")) return std::nullopt;  // binary drawings keep no end
  for (uint64_t at = b.Find(0, b.limit(), "\nEOF"); at != kNoOffset; at = b.Find(at + 1, b.limit(), "\nEOF")) {
    const uint64_t line = LineEndAt(b, at + 4);
    if (line != 0) return at + 4 + line;
  }
  return std::nullopt;
}

// The header names the PostScript, metafile and TIFF parts: the file ends with the farthest.
Length EpsEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  uint64_t end = 30;
  for (uint64_t field = 4; field < 28; field += 8) {
    const uint32_t offset = b.Le32(field, ok), size = b.Le32(field + 4, ok);
    if (offset != 0) end = std::max(end, uint64_t{offset} + size);
  }
  return ok ? Length(end) : std::nullopt;
}

// The header's page count, in pages of 128 bytes.
Length WriteEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t pages = b.Le16(96, ok);
  return ok && pages > 1 ? Length(uint64_t{pages} * 128) : std::nullopt;
}

// The first header section holds the file's size.
Length ChmEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint64_t section = b.Le64(0x38, ok);
  if (!ok || section < 0x58 || !b.Holds(section, "\xFE\x01")) return std::nullopt;
  const uint64_t size = b.Le64(section + 8, ok);
  return ok && size > section ? Length(size) : std::nullopt;
}

// Records of an opcode and a length until the end-of-file record.
Length LotusEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 0;
  bool ok = true;
  while (ok && at < b.limit()) {
    const uint16_t opcode = b.Le16(at, ok), length = b.Le16(at + 2, ok);
    if (!ok) break;
    at += 4 + uint64_t{length};
    if (opcode == 1 && length == 0) return at;
  }
  return std::nullopt;
}

// The page size times the page count, when the header's count is the current one.
Length SqliteEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t field = b.Be16(16, ok);
  const uint32_t changes = b.Be32(24, ok), pages = b.Be32(28, ok), valid = b.Be32(92, ok);
  const uint32_t size = field == 1 ? 65536 : field;
  if (!ok || size < 512 || (size & (size - 1)) != 0 || pages == 0 || changes != valid) return std::nullopt;
  return uint64_t{size} * pages;
}

// The header's end-of-file offset: 32 bits in the old format, 64 in the Unicode one.
Length PstEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t version = b.Le16(10, ok);
  const uint64_t end = version >= 23 ? b.Le64(0xB8, ok) : (version == 14 || version == 15) ? b.Le32(0xA8, ok) : 0;
  return ok && end > 0x200 ? Length(end) : std::nullopt;
}

std::u16string PstKind(HitBytes& b) { return b.Holds(8, "SO") ? u".ost" : b.Holds(8, "SM") ? u".pst" : u""; }

// The header block, then the chunks the header counts, 64 KiB each.
Length EvtxEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t block = b.Le16(40, ok), chunks = b.Le16(42, ok);
  return ok && block == 4096 && chunks > 0 ? Length(4096 + uint64_t{chunks} * 65536) : std::nullopt;
}

// A multi-stream file: its block size times its block count.
Length MsfEnd(HitBytes& b, const LaterHits&) {
  if (!b.Holds(0, "Microsoft C/C++ MSF 7.00\r\n\x1A" "DS\0\0\0")) return std::nullopt;
  bool ok = true;
  const uint32_t block = b.Le32(32, ok), blocks = b.Le32(40, ok);
  if (!ok || (block != 512 && block != 1024 && block != 2048 && block != 4096) || blocks == 0) return std::nullopt;
  return uint64_t{block} * blocks;
}

// Bencoding from its outer dictionary to the "e" that closes it.
Length TorrentEnd(HitBytes& b, const LaterHits&) {
  Cursor c(b, 0);
  uint64_t depth = 0;
  for (int byte = c.Next(); byte >= 0; byte = c.Next()) {
    if (byte == 'd' || byte == 'l') {
      ++depth;
    } else if (byte == 'e') {
      if (depth == 0) return std::nullopt;
      if (--depth == 0) return c.offset();
    } else if (byte == 'i') {
      do byte = c.Next();
      while (byte == '-' || std::isdigit(byte));
      if (byte != 'e') return std::nullopt;
    } else if (std::isdigit(byte)) {
      uint64_t length = static_cast<uint64_t>(byte - '0');
      for (byte = c.Next(); std::isdigit(byte) && length < (uint64_t{1} << 40); byte = c.Next()) length = length * 10 + (byte - '0');
      if (byte != ':') return std::nullopt;
      c.Skip(length);
    } else {
      return std::nullopt;
    }
    if (depth == 0) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace trace
