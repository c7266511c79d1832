// The standard information attribute of an MFT record: the file's own times, as Windows shows them (the
// file-name attribute's copies are those of the moment the name was last written).
#pragma once

#include <cstdint>

namespace ntfs {

constexpr uint32_t kStandardInformation = 0x10;

// File times (UTC, 100 ns since 1601).
struct StandardTimes {
  uint64_t creation = 0;
  uint64_t modification = 0;
  uint64_t change = 0;  // of the MFT record
  uint64_t access = 0;
  // The change journal's number of the file's last change (NTFS 3.0 and later, while a journal is kept); 0 when
  // the value is too short to hold it.
  uint64_t usn = 0;
};

// The times (and the journal number) of the record's unnamed, resident standard information attribute; false when
// it has none that holds the times.
bool ReadStandardTimes(const uint8_t* record, StandardTimes* out);

}  // namespace ntfs
