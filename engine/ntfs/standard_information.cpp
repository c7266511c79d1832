#include "engine/ntfs/standard_information.h"

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_record.h"

namespace ntfs {

namespace {
constexpr uint32_t kStandardUsnOffset = 0x40;
}  // namespace

bool ReadStandardTimes(const uint8_t* record, StandardTimes* out) {
  Attribute a;
  if (!FindAttribute(record, kStandardInformation, "", &a) || a.nonResident || a.valueLength < 32) return false;
  const uint8_t* value = record + a.valueStart;
  *out = {LoadLe64(value), LoadLe64(value + 8), LoadLe64(value + 16), LoadLe64(value + 24),
          a.valueLength >= kStandardUsnOffset + 8 ? LoadLe64(value + kStandardUsnOffset) : 0};
  return true;
}

}  // namespace ntfs
