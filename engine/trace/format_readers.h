// The readers behind trace_formats.h, one family of formats to a file. Each end reader gives the length of
// the file its bytes begin (which may lie past the limit: the file is then cut there), or nothing when the
// end cannot be found below the limit; each start check whether the bytes after the signature are what the
// format fixes; each kind reader the extension of what the file is, or none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/trace/hit_bytes.h"

namespace trace {

using Length = std::optional<uint64_t>;
// The offsets of the hits that follow this one, ascending.
using LaterHits = std::vector<uint64_t>;

// ---- helpers shared by the readers
// Reads the bytes one after another, a piece of the source at a time.
class Cursor {
 public:
  Cursor(HitBytes& b, uint64_t offset) : b_(b), offset_(offset) {}
  // The next byte, or -1 at the limit or where the source cannot be read.
  int Next() {
    if (at_ == span_.size && !Refill()) return -1;
    ++offset_;
    return span_.data[at_++];
  }
  uint64_t offset() const { return offset_; }
  void Skip(uint64_t count) {
    offset_ += count;
    span_ = {};
    at_ = 0;
  }

 private:
  bool Refill() {
    span_ = b_.At(offset_);
    at_ = 0;
    return span_.size != 0;
  }
  HitBytes& b_;
  uint64_t offset_;
  Span span_;
  size_t at_ = 0;
};

// The CRC-32 of size bytes from offset (the ZIP and PNG polynomial); nothing when they cannot be read.
std::optional<uint32_t> Crc32Of(HitBytes& b, uint64_t offset, uint64_t size);
// The length of a run of line-end bytes ("\r\n", "\n" or "\r") at offset: 0, 1 or 2.
uint64_t LineEndAt(HitBytes& b, uint64_t offset);
// a + b, or nothing when it does not fit in 63 bits (no real file is that long).
Length Sum(uint64_t a, uint64_t b);
// The length of a file whose structure still goes on where the bytes that can be looked at stop (the limit, or
// bytes that cannot be read): past the limit, so that it is cut there and not counted whole.
inline Length RunsOn(HitBytes& b) { return b.limit() + 1; }
// The first offset at or after from where text (ASCII letters compared without case) begins, before to.
uint64_t FindNoCase(HitBytes& b, uint64_t from, uint64_t to, std::string_view text);
// A deflate stream from offset (raw with windowBits -15, with its zlib header with 15), inflated to learn
// where it ends: what it gives is counted and checked, not kept. A stream that would give more than 256 MiB
// is refused, so that a bomb costs no more than about a second.
struct Inflated {
  uint64_t end = 0;   // past the stream's last byte
  uint32_t crc = 0;   // of what it gives
  uint64_t size = 0;  // bytes it gives
};
std::optional<Inflated> Inflate(HitBytes& b, uint64_t offset, int windowBits);
// The size a header states: kWidth bytes (4 or 8) at kOffset, big-endian when kBig, and kPlus bytes before them;
// nothing when below kLeast (no file of the format is that short).
template <uint32_t kOffset, int kWidth, bool kBig, uint32_t kPlus, uint32_t kLeast>
Length StatedSize(HitBytes& b, const LaterHits&) {
  bool ok = true;
  const uint64_t size = kWidth == 8 ? (kBig ? b.Be64(kOffset, ok) : b.Le64(kOffset, ok))
                                    : (kBig ? b.Be32(kOffset, ok) : b.Le32(kOffset, ok));
  return ok && size >= kLeast ? Sum(size, kPlus) : std::nullopt;
}
// The first hit at or after offset (kNoOffset when none).
uint64_t NextHitFrom(const LaterHits& hits, uint64_t offset);

// ---- pictures (picture_formats.cpp)
bool JpegStart(HitBytes& b);
Length JpegEnd(HitBytes& b, const LaterHits&);
Length JpegUnits(HitBytes& b, const LaterHits&);
Length PngEnd(HitBytes& b, const LaterHits&);
Length MngEnd(HitBytes& b, const LaterHits&);
bool GifStart(HitBytes& b);
Length GifEnd(HitBytes& b, const LaterHits&);
bool BmpStart(HitBytes& b);
bool IconStart(HitBytes& b);
Length IconEnd(HitBytes& b, const LaterHits&);
bool PcxStart(HitBytes& b);
Length TiffEnd(HitBytes& b, const LaterHits&);
Length PsdEnd(HitBytes& b, const LaterHits&);
Length WmfEnd(HitBytes& b, const LaterHits&);

// ---- archives (archive_formats.cpp)
bool ZipStart(HitBytes& b);
Length ZipEnd(HitBytes& b, const LaterHits&);
std::u16string ZipKind(HitBytes& b);
Length SevenZipEnd(HitBytes& b, const LaterHits&);
Length CabEnd(HitBytes& b, const LaterHits&);
bool GzipStart(HitBytes& b);
Length GzipEnd(HitBytes& b, const LaterHits&);
bool Bzip2Start(HitBytes& b);
Length Bzip2End(HitBytes& b, const LaterHits&);
Length XzEnd(HitBytes& b, const LaterHits&);
Length ZstdEnd(HitBytes& b, const LaterHits&);
Length LzipEnd(HitBytes& b, const LaterHits&);
bool CompressStart(HitBytes& b);
bool ArjStart(HitBytes& b);
Length ArjEnd(HitBytes& b, const LaterHits&);
Length ArEnd(HitBytes& b, const LaterHits&);

// ---- documents (document_formats.cpp)
bool CompoundStart(HitBytes& b);
Length CompoundEnd(HitBytes& b, const LaterHits&);
Length PdfEnd(HitBytes& b, const LaterHits& hits);
Length PostScriptEnd(HitBytes& b, const LaterHits& hits);
Length RtfEnd(HitBytes& b, const LaterHits&);
Length HtmlEnd(HitBytes& b, const LaterHits&);
Length XmlEnd(HitBytes& b, const LaterHits&);
Length VcardEnd(HitBytes& b, const LaterHits& hits);
Length CalendarEnd(HitBytes& b, const LaterHits& hits);
Length StepEnd(HitBytes& b, const LaterHits&);
Length DxfEnd(HitBytes& b, const LaterHits&);
Length EpsEnd(HitBytes& b, const LaterHits&);
Length WriteEnd(HitBytes& b, const LaterHits&);
Length ChmEnd(HitBytes& b, const LaterHits&);
Length LotusEnd(HitBytes& b, const LaterHits&);
Length SqliteEnd(HitBytes& b, const LaterHits&);
Length PstEnd(HitBytes& b, const LaterHits&);
std::u16string PstKind(HitBytes& b);
Length EvtxEnd(HitBytes& b, const LaterHits&);
Length MsfEnd(HitBytes& b, const LaterHits&);
Length TorrentEnd(HitBytes& b, const LaterHits&);

// ---- sound and video (media_formats.cpp)
bool RiffStart(HitBytes& b);
Length RiffEnd(HitBytes& b, const LaterHits&);
std::u16string RiffKind(HitBytes& b);
bool IffStart(HitBytes& b);
Length IffEnd(HitBytes& b, const LaterHits&);
bool Mp3Start(HitBytes& b);
Length Mp3End(HitBytes& b, const LaterHits&);
bool AdtsStart(HitBytes& b);
Length AdtsEnd(HitBytes& b, const LaterHits&);
Length OggEnd(HitBytes& b, const LaterHits&);
Length MidiEnd(HitBytes& b, const LaterHits&);
Length SunAudioEnd(HitBytes& b, const LaterHits&);
Length AsfEnd(HitBytes& b, const LaterHits&);
std::u16string AsfKind(HitBytes& b);
Length MatroskaEnd(HitBytes& b, const LaterHits&);
Length FlvEnd(HitBytes& b, const LaterHits&);
Length BoxesEnd(HitBytes& b, const LaterHits&);
std::u16string BoxesKind(HitBytes& b);
bool MpegStart(HitBytes& b);
Length MpegEnd(HitBytes& b, const LaterHits&);
Length VocEnd(HitBytes& b, const LaterHits&);
Length DsfEnd(HitBytes& b, const LaterHits&);
Length WavPackEnd(HitBytes& b, const LaterHits&);

// ---- programs, fonts and the rest (program_formats.cpp)
bool PeStart(HitBytes& b);
Length PeEnd(HitBytes& b, const LaterHits&);
std::u16string PeKind(HitBytes& b);
Length ElfEnd(HitBytes& b, const LaterHits&);
bool FontStart(HitBytes& b);
Length FontEnd(HitBytes& b, const LaterHits&);
Length FontCollectionEnd(HitBytes& b, const LaterHits&);
Length SwfEnd(HitBytes& b, const LaterHits&);
Length BlendEnd(HitBytes& b, const LaterHits&);

}  // namespace trace
