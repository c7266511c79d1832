#include "engine/image/vhdx_log.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <unordered_map>

#include "engine/image/byte_order.h"
#include "engine/image/crc32c.h"

namespace {

constexpr uint64_t kPage = 4096;
constexpr uint64_t kLogUnit = 1024 * 1024;  // a log's place and length are whole MiB
constexpr uint64_t kHeaderOffsets[] = {64 * 1024, 128 * 1024};
constexpr uint32_t kEntryHeaderBytes = 64;
constexpr uint32_t kDescriptorBytes = 32;

bool Signed(const uint8_t* p, const char* signature) { return std::memcmp(p, signature, 4) == 0; }

bool IsZeroGuid(const uint8_t* guid) {
  return std::all_of(guid, guid + 16, [](uint8_t b) { return b == 0; });
}

// The page of the log at position (a multiple of 4 KiB), the log being a ring.
const uint8_t* PageAt(const std::vector<uint8_t>& log, uint64_t position) { return &log[position % log.size()]; }

// The current header: of the two that are whole (signature and checksum), the one written last.
bool CurrentHeader(ImageFile& file, uint8_t* out) {
  bool found = false;
  uint64_t best = 0;
  for (uint64_t at : kHeaderOffsets) {
    uint8_t header[kPage];
    uint32_t got = 0;
    if (!file.ReadAt(header, at, kPage, &got) || got != kPage || !Signed(header, "head")) continue;
    if (Crc32cWithoutField(header, kPage, 4) != LoadLe32(header + 4)) continue;
    const uint64_t sequence = LoadLe64(header + 8);
    if (!found || sequence > best) {
      std::memcpy(out, header, kPage);
      best = sequence;
      found = true;
    }
  }
  return found;
}

}  // namespace

void VhdxLog::Clear() {
  state_ = VhdxLogState::kEmpty;
  pieces_.clear();
  data_.clear();
}

VhdxLogState VhdxLog::Load(ImageFile& file) {
  Clear();
  uint8_t header[kPage];
  if (!CurrentHeader(file, header)) return state_ = VhdxLogState::kNotRead;
  const uint8_t* guid = header + 48;
  if (IsZeroGuid(guid)) return state_ = VhdxLogState::kEmpty;
  const uint16_t logVersion = LoadLe16(header + 64);
  const uint64_t length = LoadLe32(header + 68);
  const uint64_t offset = LoadLe64(header + 72);
  const uint64_t fileSize = file.Size();
  if (logVersion != 0 || length == 0 || length % kLogUnit != 0 || offset % kLogUnit != 0 || offset < kLogUnit ||
      length > kMaxLogBytes || offset > fileSize || length > fileSize - offset) {
    return state_ = VhdxLogState::kNotRead;
  }
  try {
    std::vector<uint8_t> log(static_cast<size_t>(length));
    uint32_t got = 0;
    if (!file.ReadAt(log.data(), offset, static_cast<uint32_t>(length), &got) || got != length) {
      return state_ = VhdxLogState::kNotRead;
    }
    state_ = FindAndKeep(log, guid);
  } catch (const std::bad_alloc&) {
    Clear();
    state_ = VhdxLogState::kNotRead;
  } catch (const std::length_error&) {
    Clear();
    state_ = VhdxLogState::kNotRead;
  }
  return state_;
}

// An entry is whole when its header, every descriptor and every data page carry their signatures and the
// entry's sequence number, and its checksum is right. The pages after an entry's first begin with a descriptor
// or a data page, never with an entry's signature: so the entries tried never overlap, and the work stays
// linear in the log's size.
bool VhdxLog::EntryAt(const std::vector<uint8_t>& log, uint64_t position, const uint8_t* guid, Entry* out) const {
  const uint64_t logBytes = log.size();
  const uint8_t* head = PageAt(log, position);
  if (!Signed(head, "loge") || std::memcmp(head + 32, guid, 16) != 0) return false;
  const uint64_t length = LoadLe32(head + 8);
  const uint64_t tail = LoadLe32(head + 12);
  const uint64_t sequence = LoadLe64(head + 16);
  const uint64_t descriptors = LoadLe32(head + 24);
  if (length == 0 || length % kPage != 0 || length > logBytes || tail % kPage != 0 || tail >= logBytes ||
      sequence == 0) {
    return false;
  }
  const uint64_t descriptorPages = (kEntryHeaderBytes + descriptors * kDescriptorBytes + kPage - 1) / kPage;
  if (descriptorPages > length / kPage) return false;
  uint64_t dataPages = 0;
  for (uint64_t i = 0; i < descriptors; ++i) {
    const uint64_t at = kEntryHeaderBytes + i * kDescriptorBytes;
    const uint8_t* d = PageAt(log, position + at / kPage * kPage) + at % kPage;
    const uint64_t fileOffset = LoadLe64(d + 16);
    if (LoadLe64(d + 24) != sequence || fileOffset % kPage != 0) return false;
    if (Signed(d, "desc")) {
      ++dataPages;
    } else if (!Signed(d, "zero") || LoadLe64(d + 8) % kPage != 0 || LoadLe64(d + 8) > ~uint64_t{0} - fileOffset) {
      return false;
    }
  }
  if (descriptorPages + dataPages != length / kPage) return false;
  for (uint64_t k = 0; k < dataPages; ++k) {
    const uint8_t* page = PageAt(log, position + (descriptorPages + k) * kPage);
    if (!Signed(page, "data") || LoadLe32(page + 4) != static_cast<uint32_t>(sequence >> 32) ||
        LoadLe32(page + kPage - 4) != static_cast<uint32_t>(sequence)) {
      return false;
    }
  }
  uint32_t crc = 0;
  for (uint64_t k = 0; k < length / kPage; ++k) {
    const uint8_t* page = PageAt(log, position + k * kPage);
    if (k == 0) {
      uint8_t first[kPage];
      std::memcpy(first, page, kPage);
      std::memset(first + 4, 0, 4);
      crc = Crc32c(first, kPage, crc);
    } else {
      crc = Crc32c(page, kPage, crc);
    }
  }
  if (crc != LoadLe32(head + 4)) return false;
  *out = Entry{position, length, sequence, tail};
  return true;
}

// The active sequence is the run of consecutive entries (each beginning where the one before ends, its sequence
// number one more) from the entry its last one names as its tail to that last one; of such runs, the one whose
// last entry was written last.
VhdxLogState VhdxLog::FindAndKeep(const std::vector<uint8_t>& log, const uint8_t* guid) {
  const uint64_t logBytes = log.size();
  std::vector<Entry> entries;
  std::unordered_map<uint64_t, size_t> at;  // position -> entry
  for (uint64_t position = 0; position < logBytes;) {
    Entry e;
    if (EntryAt(log, position, guid, &e)) {
      at[e.position] = entries.size();
      entries.push_back(e);
      position += e.length;
    } else {
      position += kPage;
    }
  }
  const size_t none = entries.size();
  std::vector<size_t> next(entries.size(), none);
  std::vector<bool> hasPrevious(entries.size(), false);
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto found = at.find((entries[i].position + entries[i].length) % logBytes);
    if (found != at.end() && found->second != i && entries[found->second].sequence == entries[i].sequence + 1) {
      next[i] = found->second;
      hasPrevious[found->second] = true;
    }
  }
  // Each run numbered, and each entry's place in its run (sequence numbers only grow along a run: no loops).
  std::vector<size_t> run(entries.size(), none), place(entries.size(), 0);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (hasPrevious[i]) continue;
    size_t n = 0;
    for (size_t e = i; e != none && run[e] == none; e = next[e]) {
      run[e] = i;
      place[e] = n++;
    }
  }
  size_t head = none;
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto tail = at.find(entries[i].tail);
    if (tail == at.end() || run[tail->second] != run[i] || run[i] == none || place[tail->second] > place[i]) continue;
    if (head == none || entries[i].sequence > entries[head].sequence) head = i;
  }
  if (head == none) return VhdxLogState::kEmpty;
  for (size_t e = at.find(entries[head].tail)->second;; e = next[e]) {
    Keep(log, entries[e]);
    if (e == head) break;
  }
  return VhdxLogState::kReplayed;
}

void VhdxLog::Keep(const std::vector<uint8_t>& log, const Entry& entry) {
  const uint8_t* head = PageAt(log, entry.position);
  const uint64_t descriptors = LoadLe32(head + 24);
  const uint64_t descriptorPages = (kEntryHeaderBytes + descriptors * kDescriptorBytes + kPage - 1) / kPage;
  uint64_t dataPage = 0;
  for (uint64_t i = 0; i < descriptors; ++i) {
    const uint64_t at = kEntryHeaderBytes + i * kDescriptorBytes;
    const uint8_t* d = PageAt(log, entry.position + at / kPage * kPage) + at % kPage;
    const uint64_t fileOffset = LoadLe64(d + 16);
    if (Signed(d, "zero")) {
      if (LoadLe64(d + 8) > 0) Put(fileOffset, fileOffset + LoadLe64(d + 8), kZeros);
      continue;
    }
    // A data page's first 8 and last 4 bytes are kept in its descriptor (their place holds the page's marks).
    const uint8_t* page = PageAt(log, entry.position + (descriptorPages + dataPage++) * kPage);
    const uint64_t start = data_.size();
    data_.resize(start + kPage);
    std::memcpy(&data_[start], d + 8, 8);
    std::memcpy(&data_[start + 8], page + 8, kPage - 12);
    std::memcpy(&data_[start + kPage - 4], d + 4, 4);
    if (fileOffset <= ~uint64_t{0} - kPage) Put(fileOffset, fileOffset + kPage, start);
  }
}

// Lays a change over those before it: the pieces it covers are cut back or dropped.
void VhdxLog::Put(uint64_t start, uint64_t end, uint64_t data) {
  auto it = pieces_.lower_bound(start);
  if (it != pieces_.begin()) {
    auto before = std::prev(it);
    if (before->second.end > start) {
      const Piece whole = before->second;
      before->second.end = start;
      if (whole.end > end) {
        pieces_[end] = Piece{whole.end, whole.data == kZeros ? kZeros : whole.data + (end - before->first)};
      }
    }
  }
  while (it != pieces_.end() && it->first < end) {
    if (it->second.end > end) {
      const Piece rest{it->second.end, it->second.data == kZeros ? kZeros : it->second.data + (end - it->first)};
      pieces_.erase(it);
      pieces_[end] = rest;
      break;
    }
    it = pieces_.erase(it);
  }
  pieces_[start] = Piece{end, data};
}

void VhdxLog::Overlay(uint64_t offset, uint8_t* bytes, uint32_t length) const {
  if (pieces_.empty() || length == 0) return;
  const uint64_t end = offset > ~uint64_t{0} - length ? ~uint64_t{0} : offset + length;
  auto it = pieces_.upper_bound(offset);
  if (it != pieces_.begin()) --it;
  for (; it != pieces_.end() && it->first < end; ++it) {
    const uint64_t from = std::max(offset, it->first);
    const uint64_t to = std::min(end, it->second.end);
    if (from >= to) continue;
    uint8_t* into = bytes + (from - offset);
    if (it->second.data == kZeros) {
      std::memset(into, 0, to - from);
    } else {
      std::memcpy(into, &data_[it->second.data + (from - it->first)], to - from);
    }
  }
}
