#include "preview/archive/zip_source.h"

#include <cstring>

bool ZipSource::OpenFile(os::File* file) {
  Close();
  uint64_t position = 0;
  if (file == nullptr || !file->IsOpen() || !file->Seek(0, os::Origin::Current, &position)) return false;
  isFile_ = true;
  file_ = file;
  start_ = position;
  return true;
}

bool ZipSource::OpenName(const std::u16string& path) {
  Close();
  if (!ownFile_.OpenRead(path)) return false;
  isFile_ = true;
  file_ = &ownFile_;
  start_ = 0;
  return true;
}

void ZipSource::OpenMemory(const uint8_t* data, uint64_t length) {
  Close();
  memory_ = data;
  length_ = data != nullptr ? length : 0;
  position_ = 0;
}

void ZipSource::Close() {
  if (file_ == &ownFile_) ownFile_.Close();
  *this = ZipSource();
}

uint32_t ZipSource::Read(void* buffer, uint32_t size) {
  if (isFile_) {
    uint32_t got = 0;
    if (!file_->Read(buffer, size, &got)) error_ = true;
    return got;
  }
  const uint64_t left = position_ < length_ ? length_ - position_ : 0;
  const uint32_t n = left < size ? static_cast<uint32_t>(left) : size;
  if (n > 0) std::memcpy(buffer, memory_ + position_, n);
  position_ += n;
  return n;
}

bool ZipSource::Seek(uint64_t offset, Origin origin) {
  if (marked_ && origin == kFromStart) {
    marked_ = false;
    markedSeek_ = true;
    seekSinceMark_ = offset;
  }
  if (isFile_) {
    if (origin == kFromStart) {
      if (offset > UINT64_MAX / 2 - start_) return false;
      return file_->Seek(static_cast<int64_t>(start_ + offset), os::Origin::Begin);
    }
    const os::Origin from = origin == kFromCurrent ? os::Origin::Current : os::Origin::End;
    return file_->Seek(static_cast<int64_t>(offset), from);
  }
  const uint64_t base = origin == kFromStart ? 0 : origin == kFromCurrent ? position_ : length_;
  if (offset > length_ || base > length_ - offset) return false;
  position_ = base + offset;
  return true;
}

uint64_t ZipSource::Tell() const {
  if (!isFile_) return position_;
  uint64_t position = 0;
  if (!file_->Seek(0, os::Origin::Current, &position) || position < start_) return 0;
  return position - start_;
}
