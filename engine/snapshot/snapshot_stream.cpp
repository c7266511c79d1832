#include "engine/snapshot/snapshot_stream.h"

#include <algorithm>
#include <cstring>

#include "engine/image/byte_order.h"
#include "engine/records/record_list.h"

namespace snapshot {

namespace {

constexpr size_t kChunk = 64 * 1024;

}  // namespace

void SnapshotOutput::U16(uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  Put(bytes, sizeof bytes);
}

void SnapshotOutput::U32(uint32_t value) {
  U16(static_cast<uint16_t>(value));
  U16(static_cast<uint16_t>(value >> 16));
}

void SnapshotOutput::U64(uint64_t value) {
  U32(static_cast<uint32_t>(value));
  U32(static_cast<uint32_t>(value >> 32));
}

void SnapshotOutput::Zeros(size_t count) {
  for (size_t i = 0; i < count; ++i) U8(0);
}

void SnapshotOutput::Text16(std::u16string_view text) {
  for (char16_t c : text) U16(c);
  U16(0);
}

void SnapshotOutput::Put(const void* data, size_t size) {
  if (failed_) return;
  const auto* bytes = static_cast<const uint8_t*>(data);
  records::GuardAllocation([&] { buffer_.insert(buffer_.end(), bytes, bytes + size); });
  if (buffer_.size() >= kChunk) Flush();
}

bool SnapshotOutput::Flush() {
  if (!failed_ && !buffer_.empty()) {
    failed_ = !file_.Write(buffer_.data(), static_cast<uint32_t>(buffer_.size()));
  }
  buffer_.clear();
  return !failed_;
}

bool SnapshotInput::Fill(size_t size) {
  if (size > remaining_) return false;
  if (file_ == nullptr || buffer_.size() - start_ >= size) return true;
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(remaining_, std::max(size, kChunk)));
  const size_t have = buffer_.size();
  records::GuardAllocation([&] { buffer_.resize(want); });
  uint32_t got = 0;
  const bool read = file_->Read(buffer_.data() + have, static_cast<uint32_t>(want - have), &got);
  buffer_.resize(have + got);
  return read && buffer_.size() >= size;
}

bool SnapshotInput::Bytes(void* out, size_t size) {
  if (!Fill(size)) return false;
  const uint8_t* from = file_ != nullptr ? buffer_.data() + start_ : data_;
  if (size > 0) std::memcpy(out, from, size);
  return Skip(size);
}

bool SnapshotInput::Skip(size_t size) {
  if (!Fill(size)) return false;
  if (file_ != nullptr) {
    start_ += size;
  } else {
    data_ += size;
  }
  remaining_ -= size;
  return true;
}

bool SnapshotInput::U8(uint8_t* value) { return Bytes(value, 1); }

bool SnapshotInput::U16(uint16_t* value) {
  uint8_t bytes[2];
  if (!Bytes(bytes, sizeof bytes)) return false;
  *value = LoadLe16(bytes);
  return true;
}

bool SnapshotInput::U32(uint32_t* value) {
  uint8_t bytes[4];
  if (!Bytes(bytes, sizeof bytes)) return false;
  *value = LoadLe32(bytes);
  return true;
}

bool SnapshotInput::U64(uint64_t* value) {
  uint8_t bytes[8];
  if (!Bytes(bytes, sizeof bytes)) return false;
  *value = LoadLe64(bytes);
  return true;
}

}  // namespace snapshot
