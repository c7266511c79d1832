#include "engine/ntfs/reparse_point.h"

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_record.h"

namespace ntfs {

bool ReadReparseTag(const uint8_t* record, uint32_t* tag) {
  Attribute point;
  if (!FindAttribute(record, kReparsePointAttribute, "", &point) || point.nonResident || point.valueLength < 4) {
    return false;
  }
  *tag = LoadLe32(record + point.valueStart);
  return true;
}

}  // namespace ntfs
