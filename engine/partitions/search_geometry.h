// The geometry the partition search walks: cylinders of heads x sectors per track sectors.
#pragma once

#include <cstdint>

#include "engine/host/partition_host.h"

struct SearchGeometry {
  uint64_t cylinders = 0;
  uint32_t heads = 0;
  uint32_t sectorsPerTrack = 0;
};

// The disk table's geometry; with sectors per track other than 63, the translated one of 255 heads and
// 63 sectors per track over the same sectors. Products in 64 bits (saturating).
SearchGeometry TranslateGeometry(const host::DiskGeometry& disk);
// A VHDX disk has no geometry of its own: 255 heads, 63 sectors per track, as many cylinders as fit.
SearchGeometry GeometryFromVirtualSize(uint64_t bytes);
// The geometry of the current disk: from its virtual size for a VHDX image, else from the disk table
// (host::Current().diskTable, row CurrentDriveIndex); none without a table.
SearchGeometry CurrentSearchGeometry();
// The current disk image's size in sectors (its VHD footer's or VHDX's virtual size); 0 without an image.
uint64_t CurrentDiskSectors();
