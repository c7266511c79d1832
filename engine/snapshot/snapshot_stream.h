// Byte streams of a snapshot file: a writer that checks every write and remembers the first failure,
// and a reader that never reads past the end of its bytes and knows how many remain, so that every
// count and length read can be checked against what the file still holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/os.h"

namespace snapshot {

class SnapshotOutput {
 public:
  explicit SnapshotOutput(os::File& file) : file_(file) {}

  void U8(uint8_t value) { Put(&value, 1); }
  void U16(uint16_t value);
  void U32(uint32_t value);
  void U64(uint64_t value);
  void Bytes(const void* data, size_t size) { Put(data, size); }
  void Zeros(size_t count);
  // The text's UTF-16 code units, little-endian, then a zero terminator.
  void Text16(std::u16string_view text);
  // Writes what is buffered; false when this or any earlier write failed.
  bool Flush();
  bool Failed() const { return failed_; }

 private:
  void Put(const void* data, size_t size);

  os::File& file_;
  std::vector<uint8_t> buffer_;
  bool failed_ = false;
};

class SnapshotInput {
 public:
  // Reads the file from its current position; size is the number of bytes it holds from there.
  SnapshotInput(os::File& file, uint64_t size) : file_(&file), remaining_(size) {}
  // Reads bytes held in memory.
  SnapshotInput(const uint8_t* data, size_t size) : data_(data), remaining_(size) {}

  // Each is false, with nothing consumed, when fewer bytes remain than asked for (or a read fails).
  bool Bytes(void* out, size_t size);
  bool U8(uint8_t* value);
  bool U16(uint16_t* value);
  bool U32(uint32_t* value);
  bool U64(uint64_t* value);
  bool Skip(size_t size);

  uint64_t Remaining() const { return remaining_; }

 private:
  bool Fill(size_t size);

  os::File* file_ = nullptr;
  const uint8_t* data_ = nullptr;
  uint64_t remaining_ = 0;
  std::vector<uint8_t> buffer_;  // bytes read from the file and not yet consumed, from start_
  size_t start_ = 0;
};

}  // namespace snapshot
