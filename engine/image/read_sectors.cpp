#include "engine/image/read_sectors.h"

#include <atomic>
#include <cstring>
#include <limits>

#include "engine/image/disk_image.h"
#include "engine/image/image_file.h"

namespace {

constexpr uint32_t kMaxCount = std::numeric_limits<uint32_t>::max() / kSectorSize;

// The byte offset of a sector, false when it does not fit in a signed 64-bit file position.
bool SectorOffset(uint32_t lbaLow, uint32_t lbaHigh, uint64_t* offset) {
  const uint64_t lba = uint64_t{lbaHigh} << 32 | lbaLow;
  if (lba > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) / kSectorSize) return false;
  *offset = lba * kSectorSize;
  return true;
}

uint32_t Zeroed(void* buffer, uint32_t bytes) {
  if (bytes > 0) std::memset(buffer, 0, bytes);
  return 0;
}

uint32_t ReadFromImage(uint32_t lbaLow, uint32_t lbaHigh, uint32_t count, void* buffer) {
  const uint32_t bytes = count * kSectorSize;
  DiskImage* image = CurrentDiskImage();
  uint64_t offset = 0;
  if (!image || !SectorOffset(lbaLow, lbaHigh, &offset)) return Zeroed(buffer, bytes);
  // A failed seek would read from the previous position: its bytes are not the wanted ones. A failed read keeps
  // what the reader could read before it failed (zeros after it): a read that straddles the disk's end keeps
  // its part inside.
  if (!image->Seek(offset)) return Zeroed(buffer, bytes);
  return image->Read(buffer, bytes) ? 1 : 0;
}

std::atomic<SectorReadObserver> readObserver{nullptr};

}  // namespace

void SetSectorReadObserver(SectorReadObserver observer) { readObserver = observer; }

bool SourceReadable() {
  if (SourceKind == kSourceLogicalDrive) return VolumeHandle.IsOpen();
  // The frame keeps its DiskImage from the start: only an opened image knows its size.
  const DiskImage* image = CurrentDiskImage();
  return image != nullptr && image->GetDiskSize() > 0;
}

uint32_t ReadSectors(const char*, uint32_t lbaLow, uint32_t lbaHigh, uint32_t count, void* buffer) {
  if (count > kMaxCount) return 0;
  if (const SectorReadObserver observer = readObserver) observer(uint64_t{lbaHigh} << 32 | lbaLow, count);
  if (SourceKind == kSourceLogicalDrive) {
    const uint32_t count16 = count & 0xFFFF;
    const uint32_t result = ReadVolumeSectors(lbaLow, lbaHigh, count16, buffer);
    // Sectors above the low 16 bits of count are never read: they must not keep old bytes either.
    Zeroed(static_cast<uint8_t*>(buffer) + count16 * kSectorSize, (count - count16) * kSectorSize);
    return result;
  }
  // DeviceHandle is deliberately not consulted: the physical drive's handle is only a gate the program
  // opens, and a failed open (no administrator rights) must not stop reading the opened image.
  return ReadFromImage(lbaLow, lbaHigh, count, buffer);
}

uint32_t ReadReadableSectors(const char* devicePath, uint64_t first, uint32_t count, void* buffer) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  auto read = [&](uint64_t sector, uint32_t n, uint8_t* into) {
    return ReadSectors(devicePath, static_cast<uint32_t>(sector), static_cast<uint32_t>(sector >> 32), n, into) == 1;
  };
  if (count == 0 || read(first, count, bytes)) return count;
  uint32_t n = 0;
  while (n < count && read(first + n, 1, bytes + size_t{n} * kSectorSize)) ++n;
  return n;
}

uint32_t ReadVolumeSectors(uint32_t lbaLow, uint32_t lbaHigh, uint32_t count16, void* buffer) {
  const uint32_t bytes = (count16 & 0xFFFF) * kSectorSize;
  uint64_t offset = 0;
  if (!SectorOffset(lbaLow, lbaHigh, &offset) ||
      SeekVolume(VolumeHandle, static_cast<uint32_t>(offset), static_cast<uint32_t>(offset >> 32), 0) < 0) {
    return Zeroed(buffer, bytes);
  }
  // Bytes past the drive's end cannot be read: zeros there would pass for the drive's bytes.
  uint32_t got = 0;
  return ReadZeroFilled(VolumeHandle.File(), buffer, bytes, &got) && got == bytes ? 1 : 0;
}

int64_t SeekVolume(SourceHandle& handle, uint32_t offsetLow, uint32_t offsetHigh, uint32_t origin) {
  if (!handle.IsOpen()) return -1;
  const auto offset = static_cast<int64_t>(uint64_t{offsetHigh} << 32 | offsetLow);
  const os::Origin from = origin == 0 ? os::Origin::Begin : origin == 1 ? os::Origin::Current : os::Origin::End;
  uint64_t at = 0;
  if (!handle.File().Seek(offset, from, &at)) return -1;
  return static_cast<int64_t>(at);
}
