#include <memory>

#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/records/record_list.h"
#include "engine/scan/compound_file.h"

std::u16string ClassifyCompoundFile(uint32_t sector) {
  constexpr size_t kPassBytes = size_t{kCompoundReadSectors} * kSectorSize;
  constexpr size_t kWindowBytes = kCompoundReadPasses * kPassBytes;
  // Not cleared first: ReadSectors writes every byte of each pass, zeros where it could not read (a File
  // Trace classifies every compound file it finds, so clearing would double the work of each).
  std::unique_ptr<uint8_t[]> window;
  records::GuardAllocation([&] { window.reset(new uint8_t[kWindowBytes]); });
  for (uint32_t pass = 0; pass < kCompoundReadPasses; ++pass) {
    const uint64_t first = uint64_t{sector} + uint64_t{pass} * kCompoundReadSectors;
    // A failed read leaves its part zero, as if the file ended there.
    ReadSectors(DevicePathTable[CurrentDriveIndex.load() % kDevicePathRows], static_cast<uint32_t>(first),
                static_cast<uint32_t>(first >> 32), kCompoundReadSectors, window.get() + pass * kPassBytes);
  }
  return ClassifyCompoundFile(window.get(), kWindowBytes);
}
