// Fuzz input as an image file. The input describes a sparse file, so that structures far into an image
// (the VHDX region table at 192 KiB, a VHD footer at the end of a large file) are reached by small inputs:
//   u32 file size (little-endian, modulo 64 MiB), then pieces of u32 offset, u16 length and that many
//   bytes, each written at its offset (cut at the end of the file). A truncated piece keeps what is there.
// The file is written to the temporary folder, one per process, and read by the readers as any image.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz_image {

inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

inline const std::string& FilePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    return std::string(dir) + "/dorvane_fuzz_" + std::to_string(getpid()) + ".img";
  }();
  return path;
}

// Writes the file the input describes; its path, or an empty string when it could not be written.
inline std::string WriteImageFile(const uint8_t* data, size_t size) {
  constexpr uint32_t kMaxFile = 64u << 20;
  if (size < 4) return {};
  const uint32_t fileSize = Le32(data) % kMaxFile;
  const int fd = open(FilePath().c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return {};
  bool ok = ftruncate(fd, fileSize) == 0;
  for (size_t at = 4; ok && at + 6 <= size;) {
    const uint32_t offset = Le32(data + at);
    const size_t length = static_cast<size_t>(data[at + 4] | data[at + 5] << 8);
    at += 6;
    size_t n = length < size - at ? length : size - at;
    if (offset < fileSize) {
      if (n > fileSize - offset) n = fileSize - offset;
      ok = pwrite(fd, data + at, n, offset) == static_cast<ssize_t>(n);
    }
    at += length < size - at ? length : size - at;
  }
  close(fd);
  return ok ? FilePath() : std::string();
}

}  // namespace fuzz_image
