// The sectors that ScanRange covers, as the parameter code and the Quick Scan bound what they read and
// what they accept from a boot sector.
#pragma once

#include <cstdint>

struct RangeSectors {
  uint64_t first = 0;
  uint64_t end = 0;  // one past the last sector

  // True when the count sectors from lba all lie inside.
  bool Holds(uint64_t lba, uint64_t count = 1) const { return lba >= first && lba <= end && count <= end - lba; }
};

// ScanRange's start and count; a count of 0 (not known) reaches to the last 32-bit sector number, the
// last one the engine's records can hold.
RangeSectors CurrentRangeSectors();
