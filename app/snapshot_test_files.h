// Test helper: the bytes of a snapshot of the engine's test data (hex bytes with "#" comments), for the
// tests that hand the program a snapshot file.
#pragma once

#include <cctype>
#include <fstream>
#include <string>

inline std::string SnapshotBytesFromTestData(const std::string& hexName) {
  std::ifstream in(std::string(DORVANE_SNAPSHOT_TESTDATA) + "/" + hexName);
  std::string bytes;
  for (std::string line; std::getline(in, line);) {
    line = line.substr(0, line.find('#'));
    for (size_t at = 0; at + 1 < line.size();) {
      if (isxdigit(static_cast<unsigned char>(line[at])) && isxdigit(static_cast<unsigned char>(line[at + 1]))) {
        bytes += static_cast<char>(std::stoi(line.substr(at, 2), nullptr, 16));
        at += 2;
      } else {
        ++at;
      }
    }
  }
  return bytes;
}
