// Sound and video: where RIFF and IFF files, MP3 and AAC streams, Ogg, MIDI, Sun audio, ASF, Matroska, Flash
// video, MPEG-4 (and the JPEG 2000 and JPEG XL boxes), MPEG program streams, Creative Voice, DSD and WavPack
// files end, and which kind of RIFF, ASF or MPEG-4 file they are.
#include <algorithm>
#include <set>

#include "engine/trace/format_readers.h"

namespace trace {

namespace {

bool Printable(HitBytes& b, uint64_t at, size_t count) {
  uint8_t bytes[8];
  return count <= sizeof bytes && b.Read(at, bytes, count) &&
         std::all_of(bytes, bytes + count, [](uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// A RIFF or IFF container: a size that holds at least its form, and a form type of printable characters.
bool FormStart(HitBytes& b, bool bigEndian) {
  bool ok = true;
  const uint32_t size = bigEndian ? b.Be32(4, ok) : b.Le32(4, ok);
  return ok && size >= 4 && Printable(b, 8, 4);
}

// The chunks from at up to end, one after another: a printable id, a size and that many bytes padded to an even
// length, and a list's own chunks in turn (an AVI's frames in its "movi" list). False when they do not lead to
// end: bytes that are not the file's lie in the way. Nothing at or past the limit is looked at.
bool ChunksLeadTo(HitBytes& b, uint64_t at, uint64_t end, int depth) {
  while (at < end) {
    bool ok = true;
    const uint32_t size = b.Le32(at + 4, ok);
    if (!ok) return true;  // past the limit, or unreadable: the save tells
    if (!Printable(b, at, 4)) return false;
    const uint64_t next = at + 8 + uint64_t{size} + (size & 1);
    if (next > end + (size & 1)) return false;
    const bool list = b.Holds(at, "LIST") || b.Holds(at, "RIFF");
    if (list && depth < 4 && size >= 4 && !ChunksLeadTo(b, at + 12, at + 8 + uint64_t{size}, depth + 1)) return false;
    at = next;
  }
  return true;
}

// ---- MPEG audio

// The length of the frame whose 4-byte header this is, 0 when it is none.
uint32_t MpegAudioFrameLength(uint32_t header) {
  static constexpr uint16_t kRates[5][15] = {
      {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // version 1, layer I
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // version 1, layer II
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // version 1, layer III
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // version 2, layer I
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // version 2, layers II and III
  };
  static constexpr uint32_t kSampleRates[3] = {44100, 48000, 32000};
  if ((header >> 21) != 0x7FF) return 0;
  const uint32_t version = (header >> 19) & 3, layer = (header >> 17) & 3;
  const uint32_t rateIndex = (header >> 12) & 15, sampleIndex = (header >> 10) & 3, padding = (header >> 9) & 1;
  if (version == 1 || layer == 0 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3) return 0;
  const bool first = version == 3;
  const uint32_t sampleRate = kSampleRates[sampleIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
  const int table = first ? 3 - static_cast<int>(layer) : (layer == 3 ? 3 : 4);
  const uint32_t bitrate = kRates[table][rateIndex] * 1000u;
  if (layer == 3) return (12 * bitrate / sampleRate + padding) * 4;
  if (layer == 1 && !first) return 72 * bitrate / sampleRate + padding;
  return 144 * bitrate / sampleRate + padding;
}

// The fields every frame of one stream shares: sync, version, layer and sample rate.
constexpr uint32_t kSameStream = 0xFFFE0C00u;

// The frames a stream's first frame counts in its Info (Xing) or VBRI header (encoders write it so that players know
// the song's length): the stream's frames with that one, and the fewest that may follow without a break (a VBRI
// count may or may not hold its own frame). None when there is no such header.
struct CountedFrames {
  uint64_t frames = ~uint64_t{0};
  uint64_t least = 0;
};
CountedFrames CountOf(HitBytes& b, uint64_t frame, uint32_t header) {
  const bool layer3 = ((header >> 17) & 3) == 1, first = ((header >> 19) & 3) == 3, mono = ((header >> 6) & 3) == 3;
  if (!layer3) return {};
  const uint64_t info = frame + 4 + (first ? (mono ? 17 : 32) : (mono ? 9 : 17));
  bool ok = true;
  if (b.Holds(info, "Xing") || b.Holds(info, "Info")) {
    const uint32_t flags = b.Be32(info + 4, ok), frames = b.Be32(info + 8, ok);
    return ok && (flags & 1) && frames != 0 ? CountedFrames{uint64_t{frames} + 1, uint64_t{frames} + 1} : CountedFrames{};
  }
  const uint32_t frames = b.Holds(frame + 36, "VBRI") ? b.Be32(frame + 36 + 14, ok) : 0;
  return ok && frames != 0 ? CountedFrames{uint64_t{frames} + 1, frames} : CountedFrames{};
}

// Past the frames from offset that belong to the stream of the first (each noted); 0 frames gives nothing. A
// stream whose first frame counts its frames ends after them, and is broken off when fewer follow.
Length MpegAudioFramesEnd(HitBytes& b, uint64_t at) {
  bool ok = true;
  const uint32_t first = b.Be32(at, ok);
  if (!ok || MpegAudioFrameLength(first) == 0) return std::nullopt;
  const CountedFrames counted = CountOf(b, at, first);
  uint64_t seen = 0;
  for (; seen < counted.frames; ++seen) {
    bool read = true;
    const uint32_t header = b.Be32(at, read);
    if (!read) return RunsOn(b);
    const uint32_t length = MpegAudioFrameLength(header);
    if (length == 0 || (header & kSameStream) != (first & kSameStream)) break;
    b.NoteUnit(at);
    at += length;
  }
  if (seen < counted.least) b.NoteBreak();
  if (b.Holds(at, "APETAGEX")) {
    const uint32_t size = b.Le32(at + 12, ok);
    if (ok) at += 32 + uint64_t{size};
  }
  if (b.Holds(at, "TAG")) at += 128;
  return at;
}

uint64_t Id3Size(HitBytes& b) {
  bool ok = true;
  uint64_t size = 0;
  for (int i = 6; i < 10; ++i) size = size << 7 | (b.U8(i, ok) & 0x7F);
  const bool footer = b.U8(5, ok) & 0x10;
  return 10 + size + (footer ? 10 : 0);
}

// ---- AAC in ADTS frames

uint32_t AdtsFrameLength(HitBytes& b, uint64_t at, uint8_t* sampling) {
  uint8_t h[6];
  if (!b.Read(at, h, sizeof h) || h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) return 0;
  const uint8_t index = (h[2] >> 2) & 15;
  const uint32_t length = (h[3] & 3u) << 11 | h[4] << 3 | h[5] >> 5;
  if (index >= 13 || length < 7 || (*sampling != 0xFF && index != *sampling)) return 0;
  *sampling = index;
  return length;
}

// ---- ASF

constexpr char kFileProperties[] = "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65";
constexpr char kStreamProperties[] = "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65";
constexpr char kVideoStream[] = "\xC0\xEF\x19\xBC\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B";

// The header object's objects: calls visit(offset of the object) for each, within the header.
template <typename Visit>
bool AsfHeaderObjects(HitBytes& b, Visit visit) {
  bool ok = true;
  const uint64_t size = b.Le64(16, ok);
  const uint32_t count = b.Le32(24, ok);
  uint64_t at = 30;
  for (uint32_t i = 0; ok && i < count && at + 24 <= size; ++i) {
    const uint64_t objectSize = b.Le64(at + 16, ok);
    if (!ok || objectSize < 24) return false;
    visit(at);
    at += objectSize;
  }
  return ok;
}

// ---- Matroska

// An EBML number at offset: its length in bytes (1 to 8) and its value (the marker bit taken off), or
// nothing. allOnes tells a size of "unknown".
struct EbmlNumber {
  uint32_t length = 0;
  uint64_t value = 0;
  bool allOnes = false;
};
std::optional<EbmlNumber> ReadEbmlNumber(HitBytes& b, uint64_t at) {
  bool ok = true;
  const uint8_t first = b.U8(at, ok);
  if (!ok || first == 0) return std::nullopt;
  EbmlNumber n;
  n.length = 1;
  while (!(first & (0x80 >> (n.length - 1)))) ++n.length;
  n.value = first & (0xFF >> n.length);
  uint64_t ones = n.value == (0xFFu >> n.length);
  for (uint32_t i = 1; ok && i < n.length; ++i) {
    const uint8_t byte = b.U8(at + i, ok);
    n.value = n.value << 8 | byte;
    ones = ones && byte == 0xFF;
  }
  n.allOnes = ones;
  return ok ? std::optional<EbmlNumber>(n) : std::nullopt;
}

// Past the element at offset whose id (with its marker) is id; nothing when it is another or its size
// is unknown.
Length PastEbmlElement(HitBytes& b, uint64_t at, std::string_view id) {
  if (!b.Holds(at, id)) return std::nullopt;
  const std::optional<EbmlNumber> size = ReadEbmlNumber(b, at + id.size());
  if (!size || size->allOnes) return std::nullopt;
  return Sum(at + id.size() + size->length, size->value);
}

// ---- MPEG-4 and other box files

bool KnownTopBox(const char* type) {
  static constexpr const char* kBoxes[] = {"ftyp", "moov", "mdat", "free", "skip", "wide", "uuid", "pdin", "moof",
                                           "mfra", "meta", "styp", "sidx", "ssix", "prft", "emsg", "pnot", "jP  ",
                                           "jp2h", "jp2c", "jp2i", "xml ", "uinf", "res ", "JXL ", "jxlc", "jxlp",
                                           "jxll", "jxli", "jbrd", "Exif", "brob", "jumb"};
  return std::any_of(std::begin(kBoxes), std::end(kBoxes), [&](const char* k) { return std::equal(k, k + 4, type); });
}

// ---- MPEG program and video streams

// The length of a pack header (MPEG-2: 14 bytes and its stuffing; MPEG-1: 12), 0 when it is none.
uint64_t PackLength(const uint8_t* head) {
  if ((head[4] & 0xC0) == 0x40) return 14 + (head[13] & 7);
  return (head[4] & 0xF0) == 0x20 ? 12 : 0;
}

// A pack header's system clock reference (its 33-bit base, 90 kHz), with a bit above it that tells MPEG-2 from
// MPEG-1: within one stream it only grows.
uint64_t PackClock(const uint8_t* h) {
  auto bits = [](uint8_t byte, uint8_t mask, int shift) { return uint64_t{static_cast<uint8_t>(byte & mask)} << shift; };
  if ((h[4] & 0xC0) == 0x40) {
    return uint64_t{1} << 40 | bits(h[4], 0x38, 27) | bits(h[4], 3, 28) | bits(h[5], 0xFF, 20) | bits(h[6], 0xF8, 12) |
           bits(h[6], 3, 13) | bits(h[7], 0xFF, 5) | h[8] >> 3;
  }
  return bits(h[4], 0x0E, 29) | bits(h[5], 0xFF, 22) | bits(h[6], 0xFE, 14) | bits(h[7], 0xFF, 7) | h[8] >> 1;
}

// A program stream: packs and the packets in them one after another, each noted. It ends where they stop following
// one another (after its end code when one was written: DVD video and most writers end a stream without it), or at
// a pack whose clock goes back or that is of the other MPEG: another stream written right after it. A stream of
// no packet is none.
Length ProgramStreamEnd(HitBytes& b) {
  uint64_t at = 0, clock = 0;
  bool packets = false;
  while (true) {
    uint8_t head[14];
    if (!b.Read(at, head, 6)) return packets ? RunsOn(b) : std::nullopt;
    if (head[0] != 0 || head[1] != 0 || head[2] != 1 || head[3] < 0xB9) break;
    uint64_t length = 4;
    if (head[3] == 0xBA) {
      if (!b.Read(at, head, sizeof head)) return packets ? RunsOn(b) : std::nullopt;
      length = PackLength(head);
      const uint64_t packClock = PackClock(head);
      if (length == 0 || packClock < clock || (clock != 0 && packClock >> 40 != clock >> 40)) break;
      clock = packClock;
    } else if (head[3] != 0xB9) {
      length = 6 + (uint64_t{head[4]} << 8 | head[5]);
      packets = packets || head[3] != 0xBB;
    }
    b.NoteUnit(at);
    at += length;
    if (head[3] == 0xB9) break;
  }
  return packets ? Length(at) : std::nullopt;
}

// A video stream: until its end code, its sequence headers noted.
Length VideoStreamEnd(HitBytes& b) {
  constexpr std::string_view kEnd("\x00\x00\x01\xB7", 4), kSequence("\x00\x00\x01\xB3", 4);
  const uint64_t end = b.Find(4, b.limit(), kEnd);
  if (end == kNoOffset) return std::nullopt;
  for (uint64_t at = b.Find(4, end, kSequence); at != kNoOffset; at = b.Find(at + 4, end, kSequence)) b.NoteUnit(at);
  return end + 4;
}

}  // namespace

// A size, or 0 for a recording cut off before its writer could fill the size in, whose first chunk follows.
bool RiffStart(HitBytes& b) {
  bool ok = true;
  if (b.Le32(4, ok) == 0 && ok) return Printable(b, 8, 4) && Printable(b, 12, 4);
  return FormStart(b, false);
}

// The RIFF size, and an AVI's extension files (RIFF AVIX) that follow it, each a unit; their chunks must lead from
// one to the next up to each size. A size of 0 tells nothing: the file ends at the next hit, else at the limit.
Length RiffEnd(HitBytes& b, const LaterHits& hits) {
  bool ok = true;
  const uint32_t size = b.Le32(4, ok);
  if (!ok) return std::nullopt;
  if (size == 0) {
    b.NoteBreak();
    const uint64_t next = NextHitFrom(hits, 1);
    return next == kNoOffset ? std::nullopt : Length(next);
  }
  if (!ChunksLeadTo(b, 12, 8 + uint64_t{size}, 0)) b.NoteBreak();
  uint64_t end = 8 + uint64_t{size} + (size & 1);
  while (ok && end < b.limit() && b.Holds(end, "RIFF") && b.Holds(end + 8, "AVIX")) {
    const uint32_t more = b.Le32(end + 4, ok);
    if (!ok) break;
    b.NoteUnit(end);
    if (!ChunksLeadTo(b, end + 12, end + 8 + more, 0)) b.NoteBreak();
    end += 8 + uint64_t{more} + (more & 1);
  }
  return end;
}

std::u16string RiffKind(HitBytes& b) { return b.Holds(8, "WAVE") ? u".wav" : b.Holds(8, "AVI ") ? u".avi" : u""; }

bool IffStart(HitBytes& b) { return FormStart(b, true); }

Length IffEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t size = b.Be32(4, ok);
  return ok ? Length(8 + uint64_t{size} + (size & 1)) : std::nullopt;
}

// A tag's version and size, or a frame header followed by a frame of the same stream.
bool Mp3Start(HitBytes& b) {
  bool ok = true;
  if (b.Holds(0, "ID3")) {
    const uint8_t version = b.U8(3, ok), revision = b.U8(4, ok);
    uint8_t size[4];
    return ok && version >= 2 && version <= 4 && revision != 0xFF && b.Read(6, size, 4) &&
           std::all_of(size, size + 4, [](uint8_t c) { return c < 0x80; });
  }
  const uint32_t first = b.Be32(0, ok);
  const uint32_t length = MpegAudioFrameLength(first);
  const uint32_t second = b.Be32(length, ok);
  return ok && length != 0 && MpegAudioFrameLength(second) != 0 && (second & kSameStream) == (first & kSameStream);
}

// A tag, the frames of one stream, then the tags that may close a stream.
Length Mp3End(HitBytes& b, const LaterHits&) { return MpegAudioFramesEnd(b, b.Holds(0, "ID3") ? Id3Size(b) : 0); }

bool AdtsStart(HitBytes& b) {
  uint8_t sampling = 0xFF;
  const uint32_t length = AdtsFrameLength(b, 0, &sampling);
  return length != 0 && AdtsFrameLength(b, length, &sampling) != 0;
}

// Frames one after another, each noted.
Length AdtsEnd(HitBytes& b, const LaterHits&) {
  uint8_t sampling = 0xFF;
  uint64_t at = 0;
  for (uint32_t length = AdtsFrameLength(b, 0, &sampling); length != 0; length = AdtsFrameLength(b, at, &sampling)) {
    b.NoteUnit(at);
    at += length;
  }
  if (at != 0 && at + 7 > b.limit()) return RunsOn(b);
  return at == 0 ? std::nullopt : Length(at);
}

// Pages until every logical stream begun has ended.
Length OggEnd(HitBytes& b, const LaterHits&) {
  std::set<uint32_t> open;
  uint64_t at = 0;
  bool ok = true;
  while (ok && b.Holds(at, "OggS")) {
    b.NoteUnit(at);
    const uint8_t type = b.U8(at + 5, ok), segments = b.U8(at + 26, ok);
    const uint32_t serial = b.Le32(at + 14, ok);
    uint8_t table[255];
    if (!ok || b.U8(at + 4, ok) != 0 || !b.Read(at + 27, table, segments)) return std::nullopt;
    uint64_t body = 0;
    for (uint8_t i = 0; i < segments; ++i) body += table[i];
    if (type & 2) open.insert(serial);
    at += 27 + segments + body;
    if (type & 4) {
      open.erase(serial);
      if (open.empty()) return at;
    }
    if (open.size() > 1024) return std::nullopt;
  }
  return ok && at + 4 > b.limit() ? RunsOn(b) : std::nullopt;
}

// The header chunk, then chunks until the tracks it counts are all there.
Length MidiEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint16_t tracks = b.Be16(10, ok);
  uint64_t at = 14;
  for (uint32_t seen = 0; ok && seen < tracks;) {
    const uint32_t size = b.Be32(at + 4, ok);
    if (!ok || !Printable(b, at, 4)) return std::nullopt;
    if (b.Holds(at, "MTrk")) ++seen;
    at += 8 + uint64_t{size};
  }
  return ok && tracks > 0 ? Length(at) : std::nullopt;
}

Length SunAudioEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint32_t offset = b.Be32(4, ok), size = b.Be32(8, ok);
  return ok && offset >= 24 && size != 0xFFFFFFFFu ? Length(uint64_t{offset} + size) : std::nullopt;
}

// The file properties object holds the file's size (unless the file was a broadcast's).
Length AsfEnd(HitBytes& b, const LaterHits&) {
  Length end;
  const bool sound = AsfHeaderObjects(b, [&](uint64_t object) {
    if (!b.Holds(object, std::string_view(kFileProperties, 16))) return;
    bool ok = true;
    const uint64_t size = b.Le64(object + 40, ok);
    const uint32_t flags = b.Le32(object + 88, ok);
    if (ok && !(flags & 1) && size > 30) end = size;
  });
  return sound ? end : std::nullopt;
}

std::u16string AsfKind(HitBytes& b) {
  bool video = false, any = false;
  AsfHeaderObjects(b, [&](uint64_t object) {
    if (!b.Holds(object, std::string_view(kStreamProperties, 16))) return;
    any = true;
    video = video || b.Holds(object + 24, std::string_view(kVideoStream, 16));
  });
  return !any ? u"" : video ? u".wmv" : u".wma";
}

// The EBML header, then the segment, whose size ends the file.
Length MatroskaEnd(HitBytes& b, const LaterHits&) {
  const Length header = PastEbmlElement(b, 0, "\x1A\x45\xDF\xA3");
  return header ? PastEbmlElement(b, *header, "\x18\x53\x80\x67") : std::nullopt;
}

// Tags, each followed by its own size: the file ends after the last tag whose size follows it.
Length FlvEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  uint64_t at = b.Be32(5, ok) + uint64_t{4};
  uint64_t end = 0;
  while (ok) {
    const uint8_t type = b.U8(at, ok) & 0x1F;
    const uint32_t size = (b.Be32(at, ok) & 0xFFFFFF);
    if (!ok || (type != 8 && type != 9 && type != 18)) break;
    const uint32_t previous = b.Be32(at + 11 + size, ok);
    if (!ok || previous != 11 + size) break;
    at += 11 + uint64_t{size} + 4;
    end = at;
  }
  return end == 0 ? std::nullopt : Length(end);
}

// Top-level boxes of known types; the file ends at the first that is none. A movie needs its "moov", a
// JPEG 2000 picture its code stream and a JPEG XL one its code stream boxes.
Length BoxesEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 0;
  bool ok = true, movie = false, code = false, picture = b.Holds(4, "jP  ") || b.Holds(4, "JXL ");
  while (ok && at < b.limit()) {
    char type[4];
    const uint32_t size = b.Be32(at, ok);
    if (!ok || !b.Read(at + 4, type, 4) || !KnownTopBox(type)) break;
    uint64_t length = size;
    if (size == 1) length = b.Be64(at + 8, ok);
    if (size == 0 || length < 8) return std::nullopt;  // to the end of a file whose end is not known
    movie = movie || std::equal(type, type + 4, "moov") || std::equal(type, type + 4, "moof");
    code = code || std::equal(type, type + 4, "jp2c") || std::equal(type, type + 4, "jxlc") ||
           std::equal(type, type + 4, "jxlp");
    const Length next = Sum(at, length);
    if (!next) return std::nullopt;
    at = *next;
  }
  return (picture ? code : movie) && at > 0 ? Length(at) : std::nullopt;
}

// By the major brand of the file-type box.
std::u16string BoxesKind(HitBytes& b) {
  if (!b.Holds(4, "ftyp")) return {};
  if (b.Holds(8, "qt  ")) return u".mov";
  if (b.Holds(8, "3gp") || b.Holds(8, "3g2")) return u".3gp";
  if (b.Holds(8, "M4A ") || b.Holds(8, "M4B ")) return u".m4a";
  return {};
}

// A pack header of MPEG-1 or MPEG-2, or a sequence header of a real size and frame rate.
bool MpegStart(HitBytes& b) {
  bool ok = true;
  const uint8_t next = b.U8(4, ok);
  if (!ok) return false;
  if (b.Holds(3, "\xBA")) return (next & 0xC4) == 0x44 || (next & 0xF1) == 0x21;
  const uint32_t size = b.Be32(4, ok);
  const uint32_t width = size >> 20, height = (size >> 8) & 0xFFF, rate = size & 15;
  return ok && width != 0 && height != 0 && rate >= 1 && rate <= 8;
}

Length MpegEnd(HitBytes& b, const LaterHits&) { return b.Holds(3, "\xB3") ? VideoStreamEnd(b) : ProgramStreamEnd(b); }

// Blocks of a type and a 24-bit size until the terminator block.
Length VocEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  uint64_t at = b.Le16(20, ok);
  while (ok && at < b.limit()) {
    const uint8_t type = b.U8(at, ok);
    if (!ok) break;
    if (type == 0) return at + 1;
    if (type > 9) return std::nullopt;
    at += 4 + uint64_t{b.Le32(at, ok) >> 8};
  }
  return std::nullopt;
}

Length DsfEnd(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint64_t header = b.Le64(4, ok), size = b.Le64(12, ok);
  return ok && header == 28 && size > 28 ? Length(size) : std::nullopt;
}

// Blocks, each its own size; the file ends after the last.
Length WavPackEnd(HitBytes& b, const LaterHits&) {
  uint64_t at = 0;
  bool ok = true;
  while (ok && b.Holds(at, "wvpk")) {
    b.NoteUnit(at);
    const uint32_t size = b.Le32(at + 4, ok);
    if (!ok || size < 24) return std::nullopt;
    at += 8 + uint64_t{size};
  }
  if (at != 0 && at + 4 > b.limit()) return RunsOn(b);
  return at == 0 ? std::nullopt : Length(at);
}

}  // namespace trace
