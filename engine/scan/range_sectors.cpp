#include "engine/scan/range_sectors.h"

#include <algorithm>

#include "engine/records/scan_parameters.h"

RangeSectors CurrentRangeSectors() {
  constexpr uint64_t kSectorNumbers = uint64_t{1} << 32;
  RangeSectors range;
  range.first = ScanRange.startSector;
  range.end = ScanRange.sectorCount == 0 ? kSectorNumbers
                                         : std::min(kSectorNumbers, range.first + ScanRange.sectorCount);
  return range;
}
