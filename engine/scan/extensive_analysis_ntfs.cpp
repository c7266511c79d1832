// The Extensive Scan's NTFS analysis: folder records are placed by the geometry under which their index
// allocation begins with an index record, from the boot sectors found and then from pairs of folders.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "engine/host/host.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"
#include "engine/records/record_list.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/scan_end.h"

namespace {


// The first index records (number 0 in their index allocation) of each folder, by owner, in list order.
// Two volumes in the range have owners of the same numbers, so every record of an owner is kept.
class FirstIndexRecords {
 public:
  FirstIndexRecords() {
    records::GuardAllocation([&] {
      for (const IndexRecordCandidate& r : IndexRecordCandidateList) {
        if (r.number == 0 && r.mark == records::kNoFileSystemMark && r.sector != 0) byOwner_[r.owner].push_back(r.sector);
      }
    });
  }

  // The sectors of owner's records, in list order.
  const std::vector<uint32_t>& Sectors(uint32_t owner) const {
    static const std::vector<uint32_t> kNone;
    auto found = byOwner_.find(owner);
    return found == byOwner_.end() ? kNone : found->second;
  }

 private:
  std::map<uint32_t, std::vector<uint32_t>> byOwner_;
};

// A file system rebuilt without its boot sector reaches up to the next file system found after its base, or
// to the end of the range: it must not take the folders and files of a volume that follows it.
uint32_t RebuiltLastSector(uint32_t base) {
  uint32_t last = ScanRange.endSector;
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (fs.type == records::kNtfs && fs.clusterBase > base && fs.clusterBase - 1 < last) last = fs.clusterBase - 1;
  }
  return last;
}

// The geometry that two folders give through the sectors of their first index records; records it when
// it places folders.
void TryPair(const NtfsFolderCandidate& a, uint32_t aSector, const NtfsFolderCandidate& b, uint32_t bSector) {
  if (a.indexCluster == b.indexCluster || !extensive::CanNumberFileSystem()) return;
  const int64_t sectors = int64_t{bSector} - aSector;
  const int64_t clusters = int64_t{b.indexCluster} - a.indexCluster;
  if (sectors % clusters != 0) return;
  const int64_t spc = sectors / clusters;
  if (spc <= 0 || !IsValidSectorsPerCluster(static_cast<uint64_t>(spc))) return;
  const int64_t base = int64_t{aSector} - spc * a.indexCluster;
  if (base < 0) return;
  const uint32_t last = RebuiltLastSector(static_cast<uint32_t>(base));
  if (ClassifyIndexFolders(static_cast<uint32_t>(base), static_cast<uint32_t>(spc), last, 2) == 0) return;
  FileSystemRecord fs;
  fs.type = records::kNtfs;
  fs.sectorsPerCluster = static_cast<uint32_t>(spc);
  fs.clusterBase = static_cast<uint32_t>(base);
  fs.sectorsPerIndexRecord = kDefaultIndexSectors;
  fs.lastSector = last;
  extensive::RecordFileSystem(fs);
}

// The file systems rebuilt before the next one was found end before it now.
void EndRebuiltBeforeNext(size_t firstRebuilt) {
  for (size_t i = firstRebuilt; i < FoundFileSystemList.size(); ++i) {
    FileSystemRecord& fs = FoundFileSystemList[i];
    fs.lastSector = RebuiltLastSector(fs.clusterBase);
  }
}

// The number of the file system whose sectors hold sector; 0 when none does.
uint16_t FileSystemHolding(uint32_t sector) {
  for (size_t i = 0; i < FoundFileSystemList.size(); ++i) {
    const FileSystemRecord& fs = FoundFileSystemList[i];
    if (fs.type == records::kNtfs && SectorInFileSystem(sector, fs.clusterBase, fs.lastSector)) {
      return static_cast<uint16_t>(i + 1);
    }
  }
  return 0;
}

// The folder candidates that no geometry placed join the file system whose sectors hold them, else the file
// system of the candidate before them.
void JoinUnplacedFolders() {
  extensive::ShowStatus(u"Searching for unassigned entries...");
  const size_t count = NtfsFolderCandidateList.size();
  uint16_t previous = 1;
  for (size_t i = 0; i < count; ++i) {
    NtfsFolderCandidate& c = NtfsFolderCandidateList[i];
    if (c.mark == records::kNoFileSystemMark) {
      const uint16_t holder = FileSystemHolding(c.sector);
      c.mark = holder != 0 ? holder : previous;
    }
    previous = c.mark;
    extensive::ShowProgress(extensive::HeldPercent(i, count));
  }
}

void ShowStopButton(bool shown) {
  host::ScanPageHost* page = host::Current().scanPage;
  if (page == nullptr) return;
  if (shown) {
    page->ShowStopButton();
  } else {
    page->HideStopButton();
  }
}

}  // namespace

void AnalyzeNtfsSteps() {
  AssignMftNumbers();
  DeleteUnusedIndexRecords();
  ExtensiveCounters.assignedCount = 0;
  ScanThreadControl.stopFlag = 0;
  AnalyzeFoundNtfs();
  ShowStopButton(true);
  const size_t firstRebuilt = FoundFileSystemList.size();
  AnalyzeNtfsWithoutBoot();
  ShowStopButton(false);
  EndRebuiltBeforeNext(firstRebuilt);
  JoinUnplacedFolders();
  EndScanWorker();
}

void DeleteUnusedIndexRecords() {
  extensive::ShowStatus(u"Deleting unused index entries...");
  extensive::ShowProgress(0);
  const size_t count = IndexRecordCandidateList.size();
  size_t i = 0;
  const size_t removed = IndexRecordCandidateList.RemoveIf([&](const IndexRecordCandidate& r) {
    extensive::ShowProgress(extensive::HeldPercent(++i, count));
    return r.number != 0;
  });
  ScanCounters.indexRecordCount -= static_cast<uint32_t>(std::min<size_t>(removed, ScanCounters.indexRecordCount));
}

void AnalyzeFoundNtfs() {
  extensive::AddTopNode();
  for (size_t i = 0; i < BootSectorCandidateList.size(); ++i) {
    const uint32_t s = BootSectorCandidateList[i].sector;
    Sector boot;
    if (!ReadDiskSector(s, boot)) continue;
    const std::optional<NtfsBoot> fields = NtfsBootSectorFields(boot, RangeSectors{s, kLastSectorNumber});
    if (!fields || !extensive::CanNumberFileSystem()) continue;
    const uint32_t spc = fields->sectorsPerCluster;
    const uint32_t last = static_cast<uint32_t>(s + fields->totalSectors);
    if (ClassifyIndexFolders(s, spc, last, 1) == 0) continue;
    FileSystemRecord fs;
    fs.type = records::kNtfs;
    fs.sectorsPerCluster = spc;
    fs.clusterBase = s;
    // Inside the volume: the boot sector's fields were checked against its size.
    fs.mftSector = static_cast<uint32_t>(s + fields->mftCluster * spc);
    fs.mftMirrorSector = static_cast<uint32_t>(s + fields->mirrorCluster * spc);
    fs.sectorsPerIndexRecord = fields->indexSectors;
    fs.lastSector = last;
    extensive::RecordFileSystem(fs);
  }
  extensive::FinishBootSectorPass();
}

void AnalyzeNtfsWithoutBoot() {
  const FirstIndexRecords firstRecords;
  const size_t count = NtfsFolderCandidateList.size();
  bool stopped = false;
  for (size_t a = 0; a < count && !stopped; ++a) {
    NtfsFolderCandidate& first = NtfsFolderCandidateList[a];
    if (first.mark != 0) continue;
    const std::vector<uint32_t>& firstSectors =
        first.indexCluster != 0 ? firstRecords.Sectors(first.mftNumber) : std::vector<uint32_t>{};
    for (size_t b = a + 1; !firstSectors.empty() && b < count && first.mark == 0 && !stopped; ++b) {
      const NtfsFolderCandidate& second = NtfsFolderCandidateList[b];
      if (second.mark != 0 || second.indexCluster == 0) continue;
      for (size_t i = 0; i < firstSectors.size() && first.mark == 0; ++i) {
        for (uint32_t secondSector : firstRecords.Sectors(second.mftNumber)) {
          if (secondSector != firstSectors[i]) TryPair(first, firstSectors[i], second, secondSector);
          if (first.mark != 0) break;
        }
      }
      stopped = ScanStopRequested();
    }
    // Without an index record, or with none that a pair explained: the folder joins its neighbour later.
    if (!stopped && first.mark == 0) first.mark = records::kNoFileSystemMark;
  }
  extensive::FinishWithoutBootPass();
}

uint32_t ClassifyIndexFolders(uint32_t clusterBase, uint32_t sectorsPerCluster, uint32_t lastSector, uint32_t step) {
  const std::u16string status = step == 1 ? u"Analyzing Classification ( Step 1/2 ) - "
                                          : u"Analyzing Classification ( Step 2/2 ) - ";
  const uint16_t number = extensive::NextFileSystemNumber();
  const uint32_t total = static_cast<uint32_t>(NtfsFolderCandidateList.size());
  uint32_t placed = 0;
  for (size_t i = 0; i < NtfsFolderCandidateList.size() && !ScanStopRequested(); ++i) {
    NtfsFolderCandidate& c = NtfsFolderCandidateList[i];
    if (c.sector > lastSector) break;
    if (c.sector <= clusterBase || c.mark != 0 || c.indexCluster == 0) continue;
    const uint64_t lba = uint64_t{c.indexCluster} * sectorsPerCluster + clusterBase;
    Sector sector;
    if (lba > kLastSectorNumber || !ReadDiskSector(lba, sector) || std::memcmp(sector.data(), "INDX", 4) != 0) continue;
    c.mark = number;
    ++placed;
    extensive::CountAssigned(total);
    extensive::ShowStatus(status + extensive::Decimal(ExtensiveCounters.assignedCount) + u" \\ " +
                          extensive::Decimal(total));
  }
  return placed != 0 ? 1 : 0;
}
