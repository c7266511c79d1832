// What the archive tests share: the fixture folder and a fresh working folder per test.
#pragma once

#include <string>
#include <vector>

#include "platform/os/os.h"

namespace archive_test {

inline std::u16string Fixture(const char* name) {
  return os::FromUtf8(std::string(DORVANE_ARCHIVE_FIXTURES "/") + name);
}

inline std::vector<uint8_t> ReadAll(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(path) || !file.Size(&size)) return bytes;
  bytes.resize(static_cast<size_t>(size));
  uint32_t got = 0;
  if (size > 0 && !file.Read(bytes.data(), static_cast<uint32_t>(size), &got)) bytes.clear();
  return bytes;
}

}  // namespace archive_test
