// What the image fuzz targets do with a file: open it as an image of the kind and read it through
// ReadSectors at the start, across the edges of blocks of every size and near its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/image/disk_image.h"
#include "engine/image/read_sectors.h"
#include "platform/os/os.h"

namespace fuzz_image {

inline void OpenAndRead(const std::string& path, uint32_t kind) {
  DiskImage image;
  image.CreateReader(kind);
  if (!image.Open(os::FromUtf8(path))) return;
  SetCurrentDiskImage(&image);
  SourceKind = kSourceDisk;
  image.GetCylinders();
  image.GetHeads();
  image.GetSectorsPerTrack();
  const uint64_t sectors = image.GetVirtualDiskSize() / kSectorSize;
  struct Read {
    uint64_t lba;
    uint32_t count;
  };
  const Read reads[] = {
      {0, 130},          {2040, 4100},  // across 1 MiB and 2 MiB edges in one read
      {4095, 2},         {16383, 2},        {65535, 2}, {uint64_t{1} << 23, 8},
      {sectors / 2, 64}, {sectors - 1, 2},  {sectors, 1},
  };
  static std::vector<uint8_t> buffer(4100 * kSectorSize);
  for (const Read& r : reads) {
    ReadSectors(DevicePathTable[0], static_cast<uint32_t>(r.lba), static_cast<uint32_t>(r.lba >> 32), r.count,
                buffer.data());
  }
  SetCurrentDiskImage(nullptr);
}

}  // namespace fuzz_image
