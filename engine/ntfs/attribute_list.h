// The attribute list of an MFT record: which records hold the rest of a file's attributes.
#pragma once

#include <cstdint>

constexpr uint16_t kMaxAttributeListRecords = 50;

// Record numbers named by an attribute list, at most kMaxAttributeListRecords. The scans put the
// record's own number first and let ReadAttributeList add the others.
struct AttributeListRecordTable {
  uint32_t records[kMaxAttributeListRecords] = {};
  uint16_t count = 0;

  void Clear() { count = 0; }
  // False when the table is full.
  bool Add(uint32_t recordNumber);
};

extern AttributeListRecordTable AttributeListRecords;

// Finds the first resident attribute list (0x20) of a 1024-byte record and adds the record number of
// each of its entries (u32 at entry byte 16) to AttributeListRecords, until an entry of type 0 or
// 0xFFFFFFFF, a length of 0 or above 1023, an entry that does not fit in the list's value, or a full
// table. 1 when the record has such a list, else 0.
uint32_t ReadAttributeList(const uint8_t* record);

namespace ntfs {

// Walks the attribute-list entries in bytes[0, size) by their u16 length at entry byte 4, calling
// visit(entry type, record number) for each; visit returns false to stop. Ends as ReadAttributeList.
template <typename Visit>
void WalkAttributeListEntries(const uint8_t* bytes, uint32_t size, Visit&& visit);

bool AttributeListEntryFits(const uint8_t* bytes, uint64_t position, uint32_t size, uint32_t* type,
                            uint32_t* length, uint32_t* recordNumber);

template <typename Visit>
void WalkAttributeListEntries(const uint8_t* bytes, uint32_t size, Visit&& visit) {
  uint64_t position = 0;
  uint32_t type = 0, length = 0, recordNumber = 0;
  while (AttributeListEntryFits(bytes, position, size, &type, &length, &recordNumber)) {
    if (type == 0 || type == 0xFFFFFFFF || length == 0 || length > 1023) return;
    if (!visit(type, recordNumber)) return;
    position += length;
  }
}

}  // namespace ntfs
