// ZipSource: the bytes of a ZIP archive as minizip reads them, from an open file (the caller's), a file
// opened here by name, or memory. Positions are relative to where the archive starts.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os/os.h"

class ZipSource {
 public:
  enum Origin { kFromStart, kFromCurrent, kFromEnd };

  // The caller's file, from its current position on; it must stay open until Close.
  bool OpenFile(os::File* file);
  bool OpenName(const std::u16string& path);
  void OpenMemory(const uint8_t* data, uint64_t length);
  void Close();

  // Bytes read (fewer at the end); a failed read sets the error flag.
  uint32_t Read(void* buffer, uint32_t size);
  // False when the position would fall outside the data (or before the start of a file).
  bool Seek(uint64_t offset, Origin origin);
  uint64_t Tell() const;
  bool HasError() const { return error_; }
  // Remembers the next seek from the start from now on; FirstSeekSinceMark gives where it went.
  void MarkSeeks() { marked_ = true, markedSeek_ = false; }
  bool FirstSeekSinceMark(uint64_t* offset) const {
    if (markedSeek_) *offset = seekSinceMark_;
    return markedSeek_;
  }

 private:
  bool isFile_ = false;
  os::File ownFile_;
  os::File* file_ = nullptr;
  bool error_ = false;
  uint64_t start_ = 0;
  const uint8_t* memory_ = nullptr;
  uint64_t length_ = 0;
  uint64_t position_ = 0;
  bool marked_ = false, markedSeek_ = false;
  uint64_t seekSinceMark_ = 0;
};
