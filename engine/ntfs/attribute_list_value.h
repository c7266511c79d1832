// The value of an attribute list, from its record or, when it outgrew the record, from its clusters.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ntfs/mft_record.h"

namespace ntfs {

// An attribute list longer than this is not believed (real ones are a few KiB).
constexpr uint64_t kMaxAttributeListBytes = 256 * 1024;

// Where a volume's clusters lie on the source: cluster c at clusterBase + c x sectorsPerCluster. A cluster
// that reaches past endSector lies outside the volume and is not read.
struct ClusterSpace {
  const char* devicePath = nullptr;
  uint64_t clusterBase = 0;
  uint32_t sectorsPerCluster = 0;
  uint64_t endSector = UINT64_MAX;
};

// What a run without clusters (a hole) in the value is taken for.
enum class Holes { kZeros, kRefused };

// Reads the realSize bytes of the non-resident attribute's value along its run list into *value. False
// (value then holds nothing usable) when the value is above kMaxAttributeListBytes, compressed or
// encrypted, holds a hole that is refused, its runs end before realSize, a cluster cannot be read or lies
// past space.endSector, or a cluster is not 1 to 128 sectors.
bool ReadNonResidentValue(const uint8_t* record, const Attribute& attribute, const ClusterSpace& space, Holes holes,
                          std::vector<uint8_t>* value);

// The value of the record's unnamed attribute list (0x20) into *value: copied from the record when it is
// resident, else read as ReadNonResidentValue. False when the record has none or it cannot be had.
bool ReadAttributeListValue(const uint8_t* record, const ClusterSpace& space, Holes holes,
                            std::vector<uint8_t>* value);

// Adds to AttributeListRecords, each once, the record numbers that the record's attribute list names,
// the list read as ReadAttributeListValue reads it (a hole in it is damage, not entries), until the table
// is full. False when the record has no list or it cannot be had.
bool AddListedRecords(const uint8_t* record, const ClusterSpace& space);

}  // namespace ntfs
