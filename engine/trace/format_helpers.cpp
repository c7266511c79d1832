// What the format readers share.
#include <algorithm>
#include <zlib.h>

#include "engine/trace/format_readers.h"

namespace trace {

std::optional<uint32_t> Crc32Of(HitBytes& b, uint64_t offset, uint64_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const Span span = b.At(offset);
    if (span.size == 0) return std::nullopt;
    const uInt take = static_cast<uInt>(std::min<uint64_t>({span.size, size, 1u << 30}));
    crc = crc32(crc, span.data, take);
    offset += take;
    size -= take;
  }
  return static_cast<uint32_t>(crc);
}

uint64_t LineEndAt(HitBytes& b, uint64_t offset) {
  uint8_t two[2] = {};
  if (b.Read(offset, two, 2) && two[0] == '\r' && two[1] == '\n') return 2;
  return b.Read(offset, two, 1) && (two[0] == '\n' || two[0] == '\r') ? 1 : 0;
}

Length Sum(uint64_t a, uint64_t b) {
  constexpr uint64_t kMost = uint64_t{1} << 62;
  if (a > kMost || b > kMost) return std::nullopt;
  return a + b;
}

uint64_t FindNoCase(HitBytes& b, uint64_t from, uint64_t to, std::string_view text) {
  if (text.empty() || text.size() > 64) return kNoOffset;
  auto lower = [](uint8_t c) { return static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  const uint8_t first = lower(static_cast<uint8_t>(text[0]));
  const bool letter = first >= 'a' && first <= 'z';
  to = std::min(to, b.limit());
  if (from >= to || to - from < text.size()) return kNoOffset;
  const uint64_t end = to - text.size() + 1;
  // The next place of each case of the first letter, each found again only once passed: linear.
  uint64_t small = b.FindByte(from, end, first);
  uint64_t capital = letter ? b.FindByte(from, end, static_cast<uint8_t>(first - 32)) : kNoOffset;
  while (small != kNoOffset || capital != kNoOffset) {
    const uint64_t at = std::min(small, capital);
    uint8_t bytes[64];
    if (!b.Read(at, bytes, text.size())) return kNoOffset;
    if (std::equal(text.begin(), text.end(), bytes,
                   [&](char t, uint8_t c) { return lower(static_cast<uint8_t>(t)) == lower(c); })) {
      return at;
    }
    if (at == small) small = b.FindByte(at + 1, end, first);
    if (at == capital) capital = b.FindByte(at + 1, end, static_cast<uint8_t>(first - 32));
  }
  return kNoOffset;
}

std::optional<Inflated> Inflate(HitBytes& b, uint64_t offset, int windowBits) {
  constexpr uint64_t kMostInflated = uint64_t{256} << 20;
  z_stream z{};
  if (inflateInit2(&z, windowBits) != Z_OK) return std::nullopt;
  Inflated result;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint8_t out[32768];
  uint64_t fed = offset;
  int status = Z_OK;
  while (status == Z_OK || status == Z_BUF_ERROR) {
    if (z.avail_in == 0) {
      const Span span = b.At(fed);
      if (span.size == 0) break;
      z.next_in = const_cast<Bytef*>(span.data);
      z.avail_in = static_cast<uInt>(std::min<size_t>(span.size, 1u << 30));
      fed += z.avail_in;
    }
    z.next_out = out;
    z.avail_out = sizeof out;
    const uInt before = z.avail_in;
    status = inflate(&z, Z_NO_FLUSH);
    const uInt produced = static_cast<uInt>(sizeof out - z.avail_out);
    crc = crc32(crc, out, produced);
    result.size += produced;
    if (result.size > kMostInflated || (status == Z_BUF_ERROR && produced == 0 && z.avail_in == before && before != 0)) {
      break;
    }
  }
  const bool ended = status == Z_STREAM_END;
  result.end = fed - z.avail_in;
  result.crc = static_cast<uint32_t>(crc);
  inflateEnd(&z);
  return ended ? std::optional<Inflated>(result) : std::nullopt;
}

uint64_t NextHitFrom(const LaterHits& hits, uint64_t offset) {
  const auto next = std::lower_bound(hits.begin(), hits.end(), offset);
  return next == hits.end() ? kNoOffset : *next;
}

}  // namespace trace
