#include "engine/partitions/search_partitions.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>

#include "engine/host/host.h"
#include "engine/image/source_values.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/search_geometry.h"
#include "engine/records/sector_reach.h"
#include "engine/records/pause_gate.h"
#include "engine/records/scan_control.h"
#include "platform/os/os.h"

namespace {

constexpr char16_t kGroupLabel[] = u"Virtual Hard Disk ";

bool StopWanted() {
  ScanPauseGate.Pass();
  return ScanThreadControl.stopFlag != 0;
}

void SetStatusText(const std::u16string& text) {
  if (host::FirstDisplayHost* panel = host::Current().firstDisplay) panel->SetStatusText(text);
}

void SetButtonText(const std::u16string& text) {
  if (host::FirstDisplayHost* panel = host::Current().firstDisplay) panel->SetButtonText(text);
}

// Sets the panel's progress when it changed: a cylinder is far shorter than a repaint.
class Progress {
 public:
  void Set(uint32_t position) {
    if (position == last_) return;
    last_ = position;
    if (host::FirstDisplayHost* panel = host::Current().firstDisplay) panel->SetProgressPos(position);
  }

 private:
  uint32_t last_ = std::numeric_limits<uint32_t>::max();
};

// Partition nodes carry the entry's index in the table, the same for those known before and found.
void AddPartitionNode(uint32_t index) {
  if (host::SourceTreeHost* tree = host::Current().sourceTree) {
    tree->AddFoundPartition(kGroupLabel, u"Partition " + os::FromAscii(std::to_string(index)));
  }
}

void ExpandRoot() {
  if (host::SourceTreeHost* tree = host::Current().sourceTree) tree->ExpandRoot();
}

// With partitions known already the user chooses; without an answer they are kept.
void DecideWhetherToSearch() {
  if (PartitionCount == 0) {
    PartitionSearchWanted = 1;
    return;
  }
  host::PartitionChoiceHost* choice = host::Current().partitionChoice;
  const host::PartitionChoice answer = choice ? choice->PartitionChoiceDialog() : host::kPartitionChoiceCancelled;
  if (answer == host::kSearchPartition) PartitionSearchWanted = 1;
  if (answer == host::kUseExistingPartitions) PartitionSearchWanted = 0;
}

// A VHDX disk's panel moves its progress bar once through before the walk.
void RunVhdxProgress(Progress& progress) {
  for (uint32_t position = 0; position <= 100 && !StopWanted(); ++position) {
    progress.Set(position);
    os::SleepMs(100);
  }
}

// The boot sector of a cylinder: head 1's first sector, else head 0's, whichever ends in 55 AA.
bool ReadCylinderBootSector(uint64_t cylinderStart, uint32_t sectorsPerTrack, Sector& boot, uint64_t* where) {
  for (const uint64_t lba : {cylinderStart + sectorsPerTrack, cylinderStart}) {
    ReadDiskSector(lba, boot);
    if (HasBootSignature(boot)) {
      *where = lba;
      return true;
    }
  }
  return false;
}

// Enters the volume whose boot sector was read at first, unless it is known already or has no mark; false
// when the table is full.
bool EnterBootSector(uint64_t first, const Sector& boot) {
  const uint16_t code = SearchMark(boot);
  if (code == 0 || HasPartitionStartingAt(first)) return true;
  const uint32_t index = PartitionCount;
  if (!AppendPartition({first, BootSectorCount(boot, code), code})) return false;
  AddPartitionNode(index);
  return !PartitionTableFull();
}

// Partitioning tools since the cylinder-aligned ones start every partition on a 1 MiB boundary, which
// seldom falls on a cylinder: those sectors are looked at too.
constexpr uint64_t kAlignmentSectors = 2048;

// Looks at the sectors of one stretch [start, end): its cylinder's boot sector when it is a cylinder of the
// geometry, and every 1 MiB boundary in it, in sector order; false when the table is full.
bool SearchStretch(uint64_t start, uint64_t end, bool cylinder, uint32_t sectorsPerTrack) {
  Sector boot;
  uint64_t cylinderBoot = 0;
  const bool cylinderFound = cylinder && ReadCylinderBootSector(start, sectorsPerTrack, boot, &cylinderBoot);
  uint64_t boundary = (start + kAlignmentSectors - 1) / kAlignmentSectors * kAlignmentSectors;
  bool cylinderDone = !cylinderFound;
  for (;; boundary += kAlignmentSectors) {
    const bool boundaryLeft = boundary < end;
    // The cylinder's boot sector in its place among the boundaries, read once when it is one of them.
    if (!cylinderDone && (!boundaryLeft || cylinderBoot <= boundary)) {
      cylinderDone = true;
      if (!EnterBootSector(cylinderBoot, boot)) return false;
      if (cylinderBoot == boundary) continue;
    }
    if (!boundaryLeft) return true;
    Sector aligned;
    if (ReadDiskSector(boundary, aligned) && HasBootSignature(aligned) && !EnterBootSector(boundary, aligned)) {
      return false;
    }
  }
}

// The sectors the walk covers: the geometry's cylinders, and the whole disk where its size is known (a
// disk's geometry may stop short of its end; a VHDX may reach past the engine's reach, and what lies there is
// listed to be refused by name). A geometry alone never takes the walk past what a VHD footer can give.
uint64_t WalkEnd(const SearchGeometry& geometry, uint64_t cylinderSectors) {
  const uint64_t cylinders = geometry.cylinders > (kLastReachableSector + 1) / cylinderSectors
                                 ? kLastReachableSector + 1
                                 : geometry.cylinders * cylinderSectors;
  return std::max(cylinders, CurrentDiskSectors());
}

// One cylinder at a time (a stretch of a cylinder's length past the geometry's last), testing the stop
// flag and moving the progress before each. The walk reads at most two sectors a cylinder and one a
// megabyte: linear in the disk's size.
void WalkDisk(const SearchGeometry& geometry, Progress& progress) {
  const uint64_t cylinderSectors = uint64_t{geometry.heads} * geometry.sectorsPerTrack;
  if (cylinderSectors == 0) return;
  const uint64_t end = WalkEnd(geometry, cylinderSectors);
  for (uint64_t k = 0, start = 0; start < end; ++k, start += cylinderSectors) {
    if (StopWanted()) return;
    progress.Set(static_cast<uint32_t>(std::min<uint64_t>(99, start * 100 / end)));
    if (PartitionSearchWanted != 1) continue;
    const uint64_t stretchEnd = std::min(end, start + cylinderSectors);
    if (!SearchStretch(start, stretchEnd, k < geometry.cylinders, geometry.sectorsPerTrack)) return;
  }
}

}  // namespace

void SearchPartitions() {
  DecideWhetherToSearch();
  if (PartitionSearchWanted == 1) {
    SetStatusText(u"Please wait, searching for Partition...");
    SetButtonText(u"Please wait...");
  }
  const SearchGeometry geometry = CurrentSearchGeometry();
  for (uint32_t i = 0; i < PartitionsInUse(); ++i) {
    AddPartitionNode(i);
    ExpandRoot();
  }
  Progress progress;
  if (ImageFormat == kImageFormatVhdx) RunVhdxProgress(progress);
  WalkDisk(geometry, progress);
  ExpandRoot();
}

void PartitionSearchThread() {
  try {
    SearchPartitions();
  } catch (const std::bad_alloc&) {
    os::OutOfMemory();
  }
  ScanThreadControl.runningFlag = 0;
  ScanThreadControl.stopFlag = 1;
}
