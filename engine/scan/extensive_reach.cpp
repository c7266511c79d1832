// The volumes whose boot sectors the Extensive Scan met but which reach past the engine's reach: none can be
// rebuilt, so the user is told of each by name rather than finding nothing.
#include <string>

#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"
#include "engine/records/sector_reach.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/extensive_scan.h"

namespace {

constexpr size_t kMostTold = 3;
constexpr uint64_t kFat32BackupOffset = 6;

// A boot sector whose fields a formatter writes: 512-byte sectors, a valid cluster size, and an NTFS MFT or two
// FAT tables inside the volume. A torn or random one names no volume to tell of.
bool Plausible(const Sector& boot, uint16_t code, uint64_t count) {
  if (count == 0 || LoadLe16(boot.data() + 11) != 512 || !IsValidSectorsPerCluster(boot[13])) return false;
  if (code == records::kNtfs) return LoadLe64(boot.data() + 48) < count / boot[13];
  return LoadLe16(boot.data() + 14) != 0 && boot[16] == 2;
}

bool FoundAt(uint64_t sector) {
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (FileSystemFirstSector(fs) == sector) return true;
  }
  return false;
}

}  // namespace

void ReportVolumesBeyondReach() {
  std::u16string text;
  size_t told = 0;
  uint64_t lastTold = UINT64_MAX;
  for (const BootSectorCandidate& candidate : BootSectorCandidateList) {
    const uint64_t s = candidate.sector;
    Sector boot;
    if (told == kMostTold || !ReadDiskSector(s, boot)) continue;
    const uint16_t code = SearchMark(boot);
    const uint64_t count = code != 0 ? BootSectorCount(boot, code) : 0;
    // A boot sector that may be an NTFS volume's backup (in its last sector) or the FAT32 backup of one told
    // already describes no other volume.
    const bool backup = count <= s || (lastTold != UINT64_MAX && s - lastTold == kFat32BackupOffset);
    if (!Plausible(boot, code, count) || backup || WithinSectorReach(s, count) || FoundAt(s)) continue;
    text += (text.empty() ? u"" : u"\r\n\r\n") + BeyondReachMessage(code, s, count);
    lastTold = s;
    ++told;
  }
  if (text.empty()) return;
  if (host::MessageHost* messages = host::Current().messages) messages->MessageDialog(text, host::kInformation);
}
