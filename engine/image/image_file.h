// The file under an image reader: an open-for-reading file with 64-bit positioning. Reads never leave
// stale bytes: whatever the file could not supply is zeroed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os/os.h"

class ImageFile {
 public:
  ImageFile() = default;
  virtual ~ImageFile();
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  // Opens an existing file for reading with the given sharing; 1 when it opened.
  uint32_t Open(const std::u16string& path, os::Share share);
  // Opens for reading, others may only read.
  uint32_t OpenForReading(const std::u16string& path);
  // 1 when an open file was closed, 0 when none was open.
  uint32_t Close();
  bool IsOpen() const { return file_.IsOpen(); }

  // origin 0: from the start; 1: from the current position; 2: from the end. direction 1 adds the
  // offset, 0 subtracts it (origins 1 and 2). Returns the new position, or -1 when it cannot be reached.
  int64_t Seek(uint64_t offset, uint32_t origin, uint32_t direction);
  uint32_t SeekFromStart(uint64_t offset);
  // Moves to size - offset.
  uint32_t SeekFromEnd(uint64_t offset);

  // Reads length bytes at the current position. 1 when the system read succeeded, also when the file
  // ended first; the bytes it did not supply are zeroed (all of them on failure). *got: bytes from the file.
  uint32_t Read(void* buffer, uint32_t length, uint32_t* got = nullptr);
  // SeekFromStart(offset), then Read; a failed seek zeroes the buffer and gives 0.
  uint32_t ReadAt(void* buffer, uint64_t offset, uint32_t length, uint32_t* got = nullptr);
  // ReadAt that succeeds only when the file held every byte (what it did not hold is zeroed).
  bool ReadWhole(uint64_t offset, void* buffer, uint32_t length);

  // The current position (0 when closed).
  uint64_t Tell();
  // The file size (0 when closed or unknown).
  uint64_t Size() const;
  const std::u16string& Path() const { return path_; }

 private:
  std::u16string path_;
  os::File file_;
};

// Reads up to length bytes at the file's position, zeroing what the file did not supply (all of it when
// the system read fails); *got receives how many bytes came from the file. true when the read succeeded.
bool ReadZeroFilled(os::File& file, void* buffer, uint32_t length, uint32_t* got);

// 1 when path names an existing file or folder.
uint32_t FileExists(const std::u16string& path);
