// How far the engine reads: its record lists and snapshot files hold sector numbers and counts in 32 bits, so
// it scans what lies in the first 2^32 sectors of a disk (2 TiB of 512-byte sectors). A volume that reaches past
// them is refused by name, never read with its numbers wrapped.
#pragma once

#include <cstdint>
#include <string>

// The last sector a record can name.
constexpr uint64_t kLastReachableSector = 0xFFFFFFFF;

// True when the count sectors from first (first alone when count is 0) all lie within reach, and the count
// fits in 32 bits.
bool WithinSectorReach(uint64_t first, uint64_t count);

// What the user is told of the volume of file-system code (records::kFat16, kFat32, kNtfs, or another for a
// volume of no known file system) of count sectors from first that reaches past the last reachable sector.
std::u16string BeyondReachMessage(uint16_t code, uint64_t first, uint64_t count);
