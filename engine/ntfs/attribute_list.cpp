#include "engine/ntfs/attribute_list.h"

#include "engine/image/byte_order.h"

AttributeListRecordTable AttributeListRecords;

bool AttributeListRecordTable::Add(uint32_t recordNumber) {
  if (count >= kMaxAttributeListRecords) return false;
  records[count++] = recordNumber;
  return true;
}

bool AttributeListRecordTable::AddOnce(uint32_t recordNumber) {
  for (uint16_t i = 0; i < count && i < kMaxAttributeListRecords; ++i) {
    if (records[i] == recordNumber) return true;
  }
  return Add(recordNumber);
}

namespace ntfs {

bool AttributeListEntryFits(const uint8_t* bytes, uint64_t position, uint32_t size, uint32_t* type,
                            uint32_t* length, uint32_t* recordNumber) {
  constexpr uint32_t kFieldsUsed = 20;  // type, length, and the record number at byte 16
  if (position + kFieldsUsed > size) return false;
  const uint8_t* entry = bytes + position;
  *type = LoadLe32(entry);
  *length = LoadLe16(entry + 4);
  *recordNumber = LoadLe32(entry + 16);
  return true;
}

}  // namespace ntfs
