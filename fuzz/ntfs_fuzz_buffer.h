// The NTFS fuzz targets' input as a record of a fixed size: an exactly sized heap copy (a read past its end
// lands outside the allocation), padded with zeros or cut.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

inline std::unique_ptr<uint8_t[]> FuzzRecord(const uint8_t* data, size_t size, size_t recordSize) {
  std::unique_ptr<uint8_t[]> record(new uint8_t[recordSize]);
  std::memset(record.get(), 0, recordSize);
  if (size != 0) std::memcpy(record.get(), data, std::min(size, recordSize));
  return record;
}
