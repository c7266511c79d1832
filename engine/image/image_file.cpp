#include "engine/image/image_file.h"

#include <cstring>
#include <limits>

ImageFile::~ImageFile() { Close(); }

uint32_t ImageFile::Open(const std::u16string& path, os::Share share) {
  Close();
  path_ = path;
  return file_.OpenRead(path, share) ? 1 : 0;
}

uint32_t ImageFile::OpenForReading(const std::u16string& path) { return Open(path, os::Share::Read); }

uint32_t ImageFile::Close() {
  if (!file_.IsOpen()) return 0;
  return file_.Close() ? 1 : 0;
}

int64_t ImageFile::Seek(uint64_t offset, uint32_t origin, uint32_t direction) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t base = 0;
  if (origin == 1) {
    base = Tell();
  } else if (origin == 2) {
    base = Size();
  }
  uint64_t target = 0;
  if (origin == 0 || direction == 1) {
    if (offset > kMax - (origin == 0 ? 0 : base)) return -1;
    target = (origin == 0 ? 0 : base) + offset;
  } else {
    if (offset > base) return -1;  // before the start of the file
    target = base - offset;
  }
  uint64_t at = 0;
  if (!file_.Seek(static_cast<int64_t>(target), os::Origin::Begin, &at)) return -1;
  return static_cast<int64_t>(at);
}

uint32_t ImageFile::SeekFromStart(uint64_t offset) { return Seek(offset, 0, 1) >= 0 ? 1 : 0; }

uint32_t ImageFile::SeekFromEnd(uint64_t offset) { return Seek(offset, 2, 0) >= 0 ? 1 : 0; }

bool ReadZeroFilled(os::File& file, void* buffer, uint32_t length, uint32_t* got) {
  const bool ok = file.Read(buffer, length, got);
  if (!ok || *got > length) *got = 0;
  if (*got < length) std::memset(static_cast<uint8_t*>(buffer) + *got, 0, length - *got);
  return ok;
}

uint32_t ImageFile::Read(void* buffer, uint32_t length, uint32_t* got) {
  uint32_t n = 0;
  const bool ok = ReadZeroFilled(file_, buffer, length, &n);
  if (got) *got = n;
  return ok ? 1 : 0;
}

uint32_t ImageFile::ReadAt(void* buffer, uint64_t offset, uint32_t length, uint32_t* got) {
  if (!SeekFromStart(offset)) {
    if (length > 0) std::memset(buffer, 0, length);
    if (got) *got = 0;
    return 0;
  }
  return Read(buffer, length, got);
}

bool ImageFile::ReadWhole(uint64_t offset, void* buffer, uint32_t length) {
  uint32_t got = 0;
  return ReadAt(buffer, offset, length, &got) == 1 && got == length;
}

uint64_t ImageFile::Tell() {
  uint64_t at = 0;
  return file_.Seek(0, os::Origin::Current, &at) ? at : 0;
}

uint64_t ImageFile::Size() const {
  uint64_t size = 0;
  return file_.Size(&size) ? size : 0;
}

uint32_t FileExists(const std::u16string& path) { return os::FileExists(path) ? 1 : 0; }
