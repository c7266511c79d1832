// The bytes of a file File Trace found, from its first sector on, as the format readers look at them
// (trace_formats.h). Nothing at or past the limit (the size a hit is saved with) is ever read, so that no
// reader does more work than the file it may end up saving.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace trace {

struct Span {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

inline constexpr uint64_t kNoOffset = ~uint64_t{0};

class HitBytes {
 public:
  explicit HitBytes(uint64_t limit) : limit_(limit) {}
  virtual ~HitBytes() = default;
  HitBytes(const HitBytes&) = delete;
  HitBytes& operator=(const HitBytes&) = delete;

  uint64_t limit() const { return limit_; }
  // The bytes from offset on, as far as one piece of the source reaches (at least one byte, never past the
  // limit); empty at or past the limit, or where the source cannot be read.
  Span At(uint64_t offset) {
    if (offset >= reach_) reach_ = offset + 1;
    return SpanAt(offset);
  }
  // Past the farthest offset asked for since the notes were cleared: how far a reader looked.
  uint64_t reach() const { return reach_; }

  // Copies size bytes from offset; false when any of them cannot be had.
  bool Read(uint64_t offset, void* out, size_t size);
  // Little- and big-endian fields; a field that cannot be read clears ok (and reads as 0).
  uint8_t U8(uint64_t offset, bool& ok);
  uint16_t Le16(uint64_t offset, bool& ok);
  uint32_t Le32(uint64_t offset, bool& ok);
  uint64_t Le64(uint64_t offset, bool& ok);
  uint16_t Be16(uint64_t offset, bool& ok);
  uint32_t Be32(uint64_t offset, bool& ok);
  uint64_t Be64(uint64_t offset, bool& ok);
  // Whether the bytes at offset are these.
  bool Holds(uint64_t offset, std::string_view bytes);
  // The first offset in [from, to) where pattern begins (wholly before to), else kNoOffset.
  uint64_t Find(uint64_t from, uint64_t to, std::string_view pattern);
  // The first offset in [from, to) holding the byte, else kNoOffset.
  uint64_t FindByte(uint64_t from, uint64_t to, uint8_t byte);

  // What a reader notes on its way to the file's end besides the length. A unit: the file's own structure
  // begins a piece of it here (a pack, a frame, a member, a picture it lists); only those at a sector start
  // inside the limit are kept, in ascending order, since a signature can be found only there. A break: the
  // reader's checks saw the file's bytes broken off by other bytes before its end.
  void NoteUnit(uint64_t offset);
  void NoteBreak() { broken_ = true; }
  const std::vector<uint64_t>& units() const { return units_; }
  bool broken() const { return broken_; }
  void ClearNotes();

 protected:
  virtual Span SpanAt(uint64_t offset) = 0;

 private:
  uint64_t limit_;
  uint64_t reach_ = 0;
  std::vector<uint64_t> units_;
  bool broken_ = false;
};

// A file held in memory (tests, fuzzing): its limit is its size unless a smaller one is given.
class MemoryBytes : public HitBytes {
 public:
  MemoryBytes(const uint8_t* data, size_t size, uint64_t limit = kNoOffset);

 protected:
  Span SpanAt(uint64_t offset) override;

 private:
  const uint8_t* data_;
};

// A file on the source: read(first sector, count, buffer) reads count 512-byte sectors (false when it could
// not); pieces of kPieceSectors are read as they are asked for, the last few kept (a piece that cannot be read
// whole, as far as its sectors can). The first bytes can be handed over already read (the search's block).
class SourceBytes : public HitBytes {
 public:
  using SectorReader = std::function<bool(uint64_t first, uint32_t count, uint8_t* buffer)>;
  static constexpr uint32_t kPieceSectors = 128;

  SourceBytes(uint64_t startSector, uint64_t limit, SectorReader read, const uint8_t* head = nullptr,
              size_t headSize = 0);

 protected:
  Span SpanAt(uint64_t offset) override;

 private:
  struct Piece {
    uint64_t index = kNoOffset;
    size_t readable = 0;  // bytes read from its start
    std::vector<uint8_t> bytes;
  };
  const Piece& Fetch(uint64_t index);

  uint64_t startSector_;
  SectorReader read_;
  const uint8_t* head_;
  size_t headSize_;
  Piece pieces_[4];
  size_t next_ = 0;
};

}  // namespace trace
