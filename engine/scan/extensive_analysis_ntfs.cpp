// The Extensive Scan's NTFS analysis: folder records are placed by the geometry under which their index
// allocation begins with an index record, from the boot sectors found and then from pairs of folders.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/volume_records.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/record_list.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/scan_end.h"

namespace {


// The first index records (number 0 in their index allocation) of each folder, by owner. Two volumes in the
// range have owners of the same numbers, so every record of an owner is kept; one that a file system already
// claimed (its mark) is another folder's and is passed over.
class FirstIndexRecords {
 public:
  FirstIndexRecords() {
    records::GuardAllocation([&] {
      for (size_t i = 0; i < IndexRecordCandidateList.size(); ++i) {
        const IndexRecordCandidate& r = IndexRecordCandidateList[i];
        if (r.number == 0 && r.sector != 0) byOwner_[r.owner].push_back(i);
      }
    });
  }

  // visit(sector) for each of owner's records that no file system has claimed yet, in list order (sector
  // order), until visit returns false. A claim made meanwhile is seen at once.
  template <typename Visit>
  void ForEachUnclaimed(uint32_t owner, Visit&& visit) const {
    auto found = byOwner_.find(owner);
    if (found == byOwner_.end()) return;
    for (size_t i : found->second) {
      const IndexRecordCandidate& r = IndexRecordCandidateList[i];
      if (r.mark == records::kNoFileSystemMark && !visit(r.sector)) return;
    }
  }

 private:
  std::map<uint32_t, std::vector<size_t>> byOwner_;
};

// The index record candidate at sector, so that a folder placed by a geometry claims the record its index
// begins with; null when none was found there. The search appends them in sector order.
IndexRecordCandidate* IndexRecordAt(uint64_t sector) {
  size_t low = 0, high = IndexRecordCandidateList.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (IndexRecordCandidateList[middle].sector < sector) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < IndexRecordCandidateList.size() && IndexRecordCandidateList[low].sector == sector
             ? &IndexRecordCandidateList[low]
             : nullptr;
}

// A file system rebuilt without its boot sector reaches up to the next file system found after its base, or
// to the end of the range: it must not take the folders and files of a volume that follows it.
uint32_t RebuiltLastSector(uint32_t base) {
  uint32_t last = ScanRange.endSector;
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (fs.type == records::kNtfs && fs.clusterBase > base && fs.clusterBase - 1 < last) last = fs.clusterBase - 1;
  }
  return last;
}

// True when a file system found already begins at base.
bool BaseFound(uint32_t base) {
  for (const FileSystemRecord& fs : FoundFileSystemList) {
    if (fs.type == records::kNtfs && fs.clusterBase == base) return true;
  }
  return false;
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
  // A volume is found once: its folders that an earlier pass left over join it by their sectors later.
  if (base < 0 || BaseFound(static_cast<uint32_t>(base))) return;
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

// The clusters of a volume rebuilt without its boot sector, as its own records tell them: through its MFT,
// mapped from the found record 0 ("$MFT") inside it whose data begins at its own sector, or else from its copy in
// the volume's mirror, from $BadClus and $Bitmap (ntfs::VolumeClusters). 0 when none tells. The map of the MFT is the chosen file system's; it is
// left as it was.
uint64_t OwnClusters(const FileSystemRecord& fs) {
  const char* device = ntfs::CurrentDevicePath();
  std::vector<MftExtent> kept;
  kept.swap(MftMap);
  const uint32_t keptRecordSectors = MftMapRecordSectors;
  uint64_t clusters = 0;
  for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
    if (entry.name != u"$MFT" || entry.parentId != records::kNtfsRootRecord ||
        !SectorInFileSystem(entry.id, uint64_t{fs.clusterBase} + 1, fs.lastSector)) {
      continue;
    }
    uint8_t record[ntfs::kMaxMftRecordSize];
    if (!ntfs::ReadMftRecord(device, entry.id, record) ||
        !(ntfs::IsOwnMftRecord(record, entry.id, fs.clusterBase, fs.sectorsPerCluster) ||
          ntfs::IsOwnMirrorCopy(device, entry.id, fs.clusterBase, fs.sectorsPerCluster)) ||
        LoadMftMap(fs.clusterBase, device, entry.id, fs.sectorsPerCluster, uint64_t{fs.lastSector} + 1) != 1) {
      continue;
    }
    clusters = ntfs::VolumeClusters(device, fs.sectorsPerCluster);
    if (clusters != 0) break;
  }
  MftMap.swap(kept);
  MftMapRecordSectors = keptRecordSectors;
  return clusters;
}

// The file systems rebuilt before the next one was found end before it now, and where their own records tell
// their size, at their last cluster: what lies after them (another volume, free space) is not theirs, whatever
// a damaged record of theirs points at there.
void EndRebuiltVolumes(size_t firstRebuilt) {
  for (size_t i = firstRebuilt; i < FoundFileSystemList.size(); ++i) {
    FileSystemRecord& fs = FoundFileSystemList[i];
    fs.lastSector = RebuiltLastSector(fs.clusterBase);
    const uint64_t clusters = OwnClusters(fs);
    if (clusters == 0 || clusters > (uint64_t{fs.lastSector} - fs.clusterBase + 1) / fs.sectorsPerCluster) continue;
    fs.lastSector = static_cast<uint32_t>(fs.clusterBase + clusters * fs.sectorsPerCluster - 1);
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

// A rebuilt file system took the folders its geometry explained up to the end of the range; now that it ends
// before the next one found, a folder past its end is given back, to join the file system that holds it.
void GiveBackFoldersPastTheirEnd() {
  for (NtfsFolderCandidate& c : NtfsFolderCandidateList) {
    if (c.mark == 0 || c.mark == records::kNoFileSystemMark || c.mark > FoundFileSystemList.size()) continue;
    const FileSystemRecord& fs = FoundFileSystemList[c.mark - 1u];
    if (!SectorInFileSystem(c.sector, fs.clusterBase, fs.lastSector)) c.mark = records::kNoFileSystemMark;
  }
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
  EndRebuiltVolumes(firstRebuilt);
  GiveBackFoldersPastTheirEnd();
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

namespace {

// The volume that a boot sector read at sector s describes, when it begins at base (s itself, or for the
// backup copy in the volume's last sector s - its size): recorded when its geometry places folders.
bool TryBootSector(uint32_t s, const Sector& boot, bool backup) {
  uint32_t base = s;
  if (backup) {
    const uint64_t total = LoadLe64(boot.data() + 40);
    if (total == 0 || total > s || BaseFound(static_cast<uint32_t>(s - total))) return false;
    base = static_cast<uint32_t>(s - total);
  }
  const std::optional<NtfsBoot> fields =
      NtfsBootSectorFields(boot, RangeSectors{base, backup ? uint64_t{s} : kLastSectorNumber});
  if (!fields || !extensive::CanNumberFileSystem()) return false;
  const uint32_t spc = fields->sectorsPerCluster;
  const uint32_t last = static_cast<uint32_t>(base + fields->totalSectors);
  if (ClassifyIndexFolders(base, spc, last, 1) == 0) return false;
  FileSystemRecord fs;
  fs.type = records::kNtfs;
  fs.sectorsPerCluster = spc;
  fs.clusterBase = base;
  // Inside the volume: the boot sector's fields were checked against its size.
  fs.mftSector = static_cast<uint32_t>(base + fields->mftCluster * spc);
  fs.mftMirrorSector = static_cast<uint32_t>(base + fields->mirrorCluster * spc);
  fs.sectorsPerIndexRecord = fields->indexSectors;
  fs.sectorsPerMftRecord = fields->recordSectors;
  fs.lastSector = last;
  extensive::RecordFileSystem(fs);
  return true;
}

}  // namespace

void AnalyzeFoundNtfs() {
  extensive::AddTopNode();
  for (size_t i = 0; i < BootSectorCandidateList.size(); ++i) {
    const uint32_t s = BootSectorCandidateList[i].sector;
    Sector boot;
    if (!ReadDiskSector(s, boot)) continue;
    // A volume whose first boot sector is lost keeps a copy in its last sector, which gives its place and end.
    if (!TryBootSector(s, boot, false)) TryBootSector(s, boot, true);
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
    for (size_t b = a + 1; first.indexCluster != 0 && b < count && first.mark == 0 && !stopped; ++b) {
      const NtfsFolderCandidate& second = NtfsFolderCandidateList[b];
      if (second.mark != 0 || second.indexCluster == 0) continue;
      firstRecords.ForEachUnclaimed(first.mftNumber, [&](uint32_t firstSector) {
        firstRecords.ForEachUnclaimed(second.mftNumber, [&](uint32_t secondSector) {
          if (secondSector != firstSector) TryPair(first, firstSector, second, secondSector);
          return first.mark == 0;
        });
        return first.mark == 0;
      });
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
    // Two volumes of one cluster size and layout put their folders' index records at the same clusters:
    // an index record a folder of another file system begins with is not this folder's.
    IndexRecordCandidate* index = IndexRecordAt(lba);
    if (index != nullptr && index->mark != records::kNoFileSystemMark) continue;
    Sector sector;
    if (lba > kLastSectorNumber || !ReadDiskSector(lba, sector) || std::memcmp(sector.data(), "INDX", 4) != 0) continue;
    if (index != nullptr) index->mark = number;
    c.mark = number;
    ++placed;
    extensive::CountAssigned(total);
    extensive::ShowStatus(status + extensive::Decimal(ExtensiveCounters.assignedCount) + u" \\ " +
                          extensive::Decimal(total));
  }
  return placed != 0 ? 1 : 0;
}
