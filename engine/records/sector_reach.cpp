#include "engine/records/sector_reach.h"

#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

bool WithinSectorReach(uint64_t first, uint64_t count) {
  if (count == 0) return first <= kLastReachableSector;
  return count <= kLastReachableSector && first <= kLastReachableSector - (count - 1);
}

std::u16string BeyondReachMessage(uint16_t code, uint64_t first, uint64_t count) {
  const char16_t* name = code == records::kFat16   ? u"FAT16 "
                         : code == records::kFat32 ? u"FAT32 "
                         : code == records::kNtfs  ? u"NTFS "
                                                   : u"";
  const uint64_t last = count == 0 ? first : first + (count - 1);
  return u"The " + std::u16string(name) + u"volume at sector " + os::Decimal(first) + u" holds " +
         os::Decimal(count) + u" sectors (" + os::Decimal(count >> 11) + u" MB), up to sector " + os::Decimal(last) +
         u". \r\nDorvane reads volumes that lie within the first 2 TiB of a disk (sectors 0 to " +
         os::Decimal(kLastReachableSector) + u"): this volume cannot be scanned.";
}
