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
    if (lba > kMaxSector32) continue;
    ReadDiskSector(lba, boot);
    if (HasBootSignature(boot)) {
      *where = lba;
      return true;
    }
  }
  return false;
}

// Looks at one cylinder; false when the table is full.
bool SearchCylinder(uint64_t cylinderStart, uint32_t sectorsPerTrack) {
  Sector boot;
  uint64_t first = 0;
  if (!ReadCylinderBootSector(cylinderStart, sectorsPerTrack, boot, &first)) return true;
  const uint16_t code = SearchMark(boot);
  if (code == 0 || HasPartitionStartingAt(static_cast<uint32_t>(first))) return true;
  const uint32_t index = PartitionCount;
  if (!AppendPartition({static_cast<uint32_t>(first), BootSectorCount(boot, code), code})) return false;
  AddPartitionNode(index);
  return !PartitionTableFull();
}

void WalkCylinders(const SearchGeometry& geometry, Progress& progress) {
  const uint64_t cylinderSectors = uint64_t{geometry.heads} * geometry.sectorsPerTrack;
  if (cylinderSectors == 0) return;
  for (uint64_t k = 0; k < geometry.cylinders; ++k) {
    if (StopWanted()) return;
    progress.Set(static_cast<uint32_t>(std::min<uint64_t>(99, k * 100 / geometry.cylinders)));
    if (PartitionSearchWanted != 1) continue;
    // Entries hold 32-bit sectors: nothing further on could be recorded.
    const uint64_t cylinderStart = k * cylinderSectors;
    if (cylinderStart > kMaxSector32) return;
    if (!SearchCylinder(cylinderStart, geometry.sectorsPerTrack)) return;
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
  WalkCylinders(geometry, progress);
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
