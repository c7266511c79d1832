#include "engine/partitions/search_geometry.h"

#include <limits>

#include "engine/host/host.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"

namespace {

constexpr uint32_t kTranslatedHeads = 255;
constexpr uint32_t kTranslatedSectorsPerTrack = 63;
constexpr uint64_t kTranslatedCylinderSectors = uint64_t{kTranslatedHeads} * kTranslatedSectorsPerTrack;  // 16065

uint64_t SaturatingProduct(uint64_t a, uint64_t b) {
  if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a) return std::numeric_limits<uint64_t>::max();
  return a * b;
}

}  // namespace

SearchGeometry TranslateGeometry(const host::DiskGeometry& disk) {
  if (disk.sectorsPerTrack == kTranslatedSectorsPerTrack) return {disk.cylinders, disk.heads, disk.sectorsPerTrack};
  const uint64_t sectors =
      SaturatingProduct(disk.cylinders, uint64_t{disk.heads} * disk.sectorsPerTrack);
  return {sectors / kTranslatedCylinderSectors, kTranslatedHeads, kTranslatedSectorsPerTrack};
}

SearchGeometry GeometryFromVirtualSize(uint64_t bytes) {
  return {bytes / (kTranslatedCylinderSectors * 512), kTranslatedHeads, kTranslatedSectorsPerTrack};
}

SearchGeometry CurrentSearchGeometry() {
  if (ImageFormat == kImageFormatVhdx) {
    const DiskImage* image = CurrentDiskImage();
    return image ? GeometryFromVirtualSize(image->GetVirtualDiskSize()) : SearchGeometry{};
  }
  host::DiskTableHost* table = host::Current().diskTable;
  return table ? TranslateGeometry(table->GetDiskGeometry(CurrentDriveIndex)) : SearchGeometry{};
}

uint64_t CurrentDiskSectors() {
  const DiskImage* image = CurrentDiskImage();
  return image ? image->GetDiskSize() / 512 : 0;
}
