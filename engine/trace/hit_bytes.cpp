#include "engine/trace/hit_bytes.h"

#include <algorithm>
#include <cstring>

#include "engine/image/byte_order.h"

namespace trace {

namespace {

constexpr size_t kSectorBytes = 512;
constexpr size_t kPieceBytes = SourceBytes::kPieceSectors * kSectorBytes;

}  // namespace

bool HitBytes::Read(uint64_t offset, void* out, size_t size) {
  uint8_t* to = static_cast<uint8_t*>(out);
  while (size > 0) {
    const Span span = At(offset);
    if (span.size == 0) return false;
    const size_t take = std::min(span.size, size);
    std::memcpy(to, span.data, take);
    to += take;
    offset += take;
    size -= take;
  }
  return true;
}

uint8_t HitBytes::U8(uint64_t offset, bool& ok) {
  uint8_t b = 0;
  if (!ok || !Read(offset, &b, 1)) ok = false;
  return ok ? b : 0;
}

#define DORVANE_TRACE_FIELD(name, type, load)          \
  type HitBytes::name(uint64_t offset, bool& ok) {     \
    uint8_t b[sizeof(type)] = {};                      \
    if (!ok || !Read(offset, b, sizeof b)) ok = false; \
    return ok ? load(b) : 0;                           \
  }
DORVANE_TRACE_FIELD(Le16, uint16_t, LoadLe16)
DORVANE_TRACE_FIELD(Le32, uint32_t, LoadLe32)
DORVANE_TRACE_FIELD(Le64, uint64_t, LoadLe64)
DORVANE_TRACE_FIELD(Be16, uint16_t, LoadBe16)
DORVANE_TRACE_FIELD(Be32, uint32_t, LoadBe32)
DORVANE_TRACE_FIELD(Be64, uint64_t, LoadBe64)
#undef DORVANE_TRACE_FIELD

bool HitBytes::Holds(uint64_t offset, std::string_view bytes) {
  uint8_t buffer[64];
  if (bytes.size() > sizeof buffer || !Read(offset, buffer, bytes.size())) return false;
  return std::memcmp(buffer, bytes.data(), bytes.size()) == 0;
}

uint64_t HitBytes::FindByte(uint64_t from, uint64_t to, uint8_t byte) {
  to = std::min(to, limit_);
  while (from < to) {
    const Span span = At(from);
    if (span.size == 0) return kNoOffset;
    const size_t size = static_cast<size_t>(std::min<uint64_t>(span.size, to - from));
    if (const void* hit = std::memchr(span.data, byte, size)) {
      return from + static_cast<size_t>(static_cast<const uint8_t*>(hit) - span.data);
    }
    from += size;
  }
  return kNoOffset;
}

uint64_t HitBytes::Find(uint64_t from, uint64_t to, std::string_view pattern) {
  if (pattern.empty() || pattern.size() > 64) return kNoOffset;
  to = std::min(to, limit_);
  const uint8_t first = static_cast<uint8_t>(pattern[0]);
  while (from < to && to - from >= pattern.size()) {
    const uint64_t at = FindByte(from, to - pattern.size() + 1, first);
    if (at == kNoOffset) return kNoOffset;
    if (Holds(at, pattern)) return at;
    from = at + 1;
  }
  return kNoOffset;
}

void HitBytes::NoteUnit(uint64_t offset) {
  if (offset == 0 || offset >= limit_ || offset % kSectorBytes != 0) return;
  if (units_.empty() || offset > units_.back()) units_.push_back(offset);
}

void HitBytes::ClearNotes() {
  units_.clear();
  broken_ = false;
  reach_ = 0;
}

MemoryBytes::MemoryBytes(const uint8_t* data, size_t size, uint64_t limit)
    : HitBytes(std::min<uint64_t>(size, limit)), data_(data) {}

Span MemoryBytes::SpanAt(uint64_t offset) {
  if (offset >= limit()) return {};
  return {data_ + offset, static_cast<size_t>(limit() - offset)};
}

SourceBytes::SourceBytes(uint64_t startSector, uint64_t limit, SectorReader read, const uint8_t* head,
                         size_t headSize)
    : HitBytes(limit), startSector_(startSector), read_(std::move(read)), head_(head), headSize_(headSize) {}

const SourceBytes::Piece& SourceBytes::Fetch(uint64_t index) {
  for (const Piece& piece : pieces_) {
    if (piece.index == index) return piece;
  }
  Piece& piece = pieces_[next_];
  next_ = (next_ + 1) % (sizeof pieces_ / sizeof pieces_[0]);
  piece.index = index;
  piece.bytes.resize(kPieceBytes);
  const uint64_t first = startSector_ + index * kPieceSectors;
  piece.readable = kPieceBytes;
  if (!read_(first, kPieceSectors, piece.bytes.data())) {
    // A piece that runs past the source's end: its sectors up to there, one by one.
    uint32_t sector = 0;
    while (sector < kPieceSectors && read_(first + sector, 1, piece.bytes.data() + size_t{sector} * kSectorBytes)) {
      ++sector;
    }
    piece.readable = size_t{sector} * kSectorBytes;
  }
  return piece;
}

Span SourceBytes::SpanAt(uint64_t offset) {
  if (offset >= limit()) return {};
  const uint64_t room = limit() - offset;
  if (offset < headSize_) {
    return {head_ + offset, static_cast<size_t>(std::min<uint64_t>(headSize_ - offset, room))};
  }
  const Piece& piece = Fetch(offset / kPieceBytes);
  const size_t within = static_cast<size_t>(offset % kPieceBytes);
  if (within >= piece.readable) return {};
  return {piece.bytes.data() + within, static_cast<size_t>(std::min<uint64_t>(piece.readable - within, room))};
}

}  // namespace trace
