#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/records/record_list.h"
#include "engine/scan/compound_file.h"

std::u16string ClassifyCompoundFile(uint32_t sector) {
  std::vector<uint8_t> window;
  records::GuardAllocation([&] { window.assign(size_t{kCompoundReadPasses} * kCompoundReadSectors * kSectorSize, 0); });
  for (uint32_t pass = 0; pass < kCompoundReadPasses; ++pass) {
    const uint64_t first = uint64_t{sector} + uint64_t{pass} * kCompoundReadSectors;
    // A failed read leaves its part zero, as if the file ended there.
    ReadSectors(DevicePathTable[CurrentDriveIndex.load() % kDevicePathRows], static_cast<uint32_t>(first),
                static_cast<uint32_t>(first >> 32), kCompoundReadSectors,
                window.data() + size_t{pass} * kCompoundReadSectors * kSectorSize);
  }
  return ClassifyCompoundFile(window.data(), window.size());
}
