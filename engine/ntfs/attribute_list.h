// The attribute list of an MFT record: which records hold the rest of a file's attributes.
#pragma once

#include <cstdint>

#include "engine/image/byte_order.h"

constexpr uint16_t kMaxAttributeListRecords = 50;

// Record numbers named by an attribute list, at most kMaxAttributeListRecords. Quick Scan puts the
// record's own number first and lets ntfs::AddListedRecords add the others.
struct AttributeListRecordTable {
  uint32_t records[kMaxAttributeListRecords] = {};
  uint16_t count = 0;

  void Clear() { count = 0; }
  // False when the table is full.
  bool Add(uint32_t recordNumber);
  // Adds the number unless the table holds it already; false when it is not there and the table is full.
  bool AddOnce(uint32_t recordNumber);
};

extern AttributeListRecordTable AttributeListRecords;

namespace ntfs {

// The fields of one attribute-list entry that the readers use.
struct AttributeListEntry {
  uint32_t type = 0;
  uint8_t nameLength = 0;     // in UTF-16 units; 0 for an unnamed attribute
  uint64_t startingVcn = 0;   // the first cluster of the attribute's value that this record's part holds
  uint32_t recordNumber = 0;  // low 32 bits of the reference of the record that holds it
};

// Walks the attribute-list entries in bytes[0, size) by their u16 length at entry byte 4, calling
// visit(entry type, record number) for each; visit returns false to stop. The walk also ends at an entry
// of type 0 or 0xFFFFFFFF, a length of 0 or above 1023, or an entry whose fields do not fit in size.
template <typename Visit>
void WalkAttributeListEntries(const uint8_t* bytes, uint32_t size, Visit&& visit);

// The same walk, giving visit the whole AttributeListEntry.
template <typename Visit>
void WalkAttributeListEntryFields(const uint8_t* bytes, uint32_t size, Visit&& visit);

// True when the entry's fields up to byte 20 lie in bytes[0, size); they are then read into the outputs.
bool AttributeListEntryFits(const uint8_t* bytes, uint64_t position, uint32_t size, uint32_t* type,
                            uint32_t* length, uint32_t* recordNumber);

template <typename Visit>
void WalkAttributeListEntryFields(const uint8_t* bytes, uint32_t size, Visit&& visit) {
  uint64_t position = 0;
  uint32_t length = 0;
  AttributeListEntry entry;
  while (AttributeListEntryFits(bytes, position, size, &entry.type, &length, &entry.recordNumber)) {
    if (entry.type == 0 || entry.type == 0xFFFFFFFF || length == 0 || length > 1023) return;
    // Bytes 6 and 8 .. 15 lie below byte 20, which AttributeListEntryFits has checked.
    entry.nameLength = bytes[position + 6];
    entry.startingVcn = LoadLe64(bytes + position + 8);
    if (!visit(static_cast<const AttributeListEntry&>(entry))) return;
    position += length;
  }
}

template <typename Visit>
void WalkAttributeListEntries(const uint8_t* bytes, uint32_t size, Visit&& visit) {
  WalkAttributeListEntryFields(bytes, size,
                               [&](const AttributeListEntry& entry) { return visit(entry.type, entry.recordNumber); });
}

}  // namespace ntfs
