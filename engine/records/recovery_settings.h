// The settings the "Recovery Settings" dialog edits: process-wide values that the engine reads while
// scanning and saving.
#pragma once

#include <cstdint>

struct RecoverySettingsRecord {
  // Sectors the Extensive Scan's sector search reads in one attempt; the dialog offers 1 to 100, and the
  // search clamps whatever it finds here to that range.
  uint32_t sectorsPerRead = 60;
  uint16_t duplicatePolicy = 1;  // 1 rename ("Copy (n ) of ..."), 2 overwrite, 3 skip
  uint16_t deletedPolicy = 1;    // 1 include deleted files, 2 only deleted files, 3 exclude them
  uint16_t badSectorRetries = 3; // 1 to 10; kept for the dialog only: no read is retried
};

// Set to the defaults above whenever the source page lists the disks.
extern RecoverySettingsRecord RecoverySettings;
