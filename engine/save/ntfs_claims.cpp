#include "engine/save/ntfs_claims.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/standard_information.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/save/reach_tree.h"
#include "engine/save/save_state.h"

namespace save {

namespace {

// Of two claims the one of the higher standing stands, whatever else each record shows.
enum Standing : size_t { kEarlierDeleted, kEarlierInUse, kPresent, kStandings };

// What shows how lately a record was written, each larger when later: the log sequence number of its last logged
// change (0 where its writer keeps no log), the change journal's number of its standard information (0 without a
// journal) and the later of its creation and change times. Its last write time is not among them: a copy keeps its
// source's.
using Signs = std::array<uint64_t, 3>;
constexpr uint32_t kLogSequenceOffset = 8;

// Whether a is the newer: newer on one sign and older on none.
bool Newer(const Signs& a, const Signs& b) {
  bool newer = false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (a[k] < b[k]) return false;
    newer = newer || a[k] > b[k];
  }
  return newer;
}

// The most runs of other records of its standing that a file's clusters may meet.
constexpr size_t kMostMeetings = 4096;

struct ClaimedRun {
  uint64_t first = 0;
  uint64_t end = 0;
  size_t claimant = 0;
};

// The runs of one standing by first sector (from the volume's cluster base), with how far they reach.
struct Layer {
  std::vector<ClaimedRun> runs;
  ReachTree reach;
};

class NtfsClaimsState {
 public:
  // Gathers the claims again when the save, the file system or the mode changed.
  void Refresh() {
    const FileSystemRecord& fs = CurrentFileSystem;
    if (built_ && SaveGeneration() == generation_ && fs.id == fsId_ && fs.clusterBase == clusterBase_ &&
        RecoveryMode == mode_) {
      return;
    }
    records::GuardAllocation([&] { Gather(); });
    built_ = true;
    generation_ = SaveGeneration();
    fsId_ = fs.id;
    clusterBase_ = fs.clusterBase;
    mode_ = RecoveryMode;
  }

  bool GivesWay(uint32_t sector, uint64_t bytes, uint32_t perCluster) const {
    const auto found = bySector_.find(sector);
    if (found == bySector_.end()) return false;
    const size_t me = found->second;
    const size_t mine = standing_[me];
    size_t meetings = 0;
    bool lost = false;
    AnyClusterHeld(bytes, perCluster, [&](uint64_t firstCluster, uint64_t clusters) {
      const uint64_t first = firstCluster * perCluster;
      const uint64_t count = clusters * perCluster;
      // Weaker claims give way to the file's whatever they show: only its own standing and higher ones are asked.
      for (size_t s = mine; s < kStandings && !lost; ++s) {
        const Layer& layer = layers_[s];
        const auto before = std::lower_bound(layer.runs.begin(), layer.runs.end(), first + count,
                                             [](const ClaimedRun& run, uint64_t end) { return run.first < end; });
        layer.reach.Over(static_cast<size_t>(before - layer.runs.begin()), first, [&](size_t i) {
          const size_t rival = layer.runs[i].claimant;
          if (rival == me) return true;
          lost = s > mine || ++meetings > kMostMeetings || !Newer(signs_[me], signs_[rival]);
          return !lost;
        });
      }
      return lost;
    });
    return lost;
  }

 private:
  void Gather() {
    bySector_.clear();
    signs_.clear();
    standing_.clear();
    for (Layer& layer : layers_) layer.runs.clear();
    if (RecoveryMode == records::kExtensiveScan) {
      for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
        if ((entry.deleted != 0 || entry.earlier) && InChosenFileSystem(entry)) Add(entry.id, entry.earlier);
      }
    } else {
      for (const NtfsEntryRecord& entry : NtfsEntryList) {
        if (entry.deleted != 0 || entry.earlier) Add(entry.id, entry.earlier);
      }
    }
    // A deleted folder's index held its entries where a deleted file's bytes had been.
    for (const NtfsFolderRecord& folder : NtfsFolderList) {
      uint32_t sector = 0;
      if (folder.deleted != 0 && MftRecordToSector(folder.recordNumber, sector) == 1) Add(sector, false);
    }
    for (Layer& layer : layers_) {
      std::sort(layer.runs.begin(), layer.runs.end(),
                [](const ClaimedRun& a, const ClaimedRun& b) { return a.first < b.first; });
      std::vector<uint64_t> ends(layer.runs.size());
      std::transform(layer.runs.begin(), layer.runs.end(), ends.begin(), [](const ClaimedRun& r) { return r.end; });
      layer.reach.Build(ends);
    }
  }

  // The record at sector, once: its standing, what shows how lately it was written, and the clusters of its
  // non-resident attributes. A record now in use is the present MFT's file, whose clusters $Bitmap holds.
  void Add(uint32_t sector, bool earlier) {
    if (bySector_.count(sector) != 0) return;
    uint8_t record[ntfs::kMaxMftRecordSize] = {};
    bool intact = false;
    if (ReadMftRecordAtSector(ntfs::CurrentDevicePath(), sector, record, &intact) != 1 || !intact ||
        !ntfs::IsFileRecord(record)) {
      return;
    }
    const bool inUse = (ntfs::RecordFlags(record) & ntfs::kFileInUse) != 0;
    if (inUse && !earlier) return;
    const size_t me = signs_.size();
    bySector_.emplace(sector, me);
    standing_.push_back(!earlier ? kPresent : inUse ? kEarlierInUse : kEarlierDeleted);
    ntfs::StandardTimes times;
    if (!ntfs::ReadStandardTimes(record, &times)) times = {};
    signs_.push_back({LoadLe64(record + kLogSequenceOffset), times.usn, std::max(times.creation, times.change)});
    Layer& layer = layers_[standing_.back()];
    std::vector<DataRun> runs;
    ntfs::Attribute unused;
    ntfs::WalkAttributes(
        record, ntfs::WalkLimit::kRecord,
        [&](const uint8_t* bytes, uint32_t offset, uint32_t) {
          ntfs::Attribute a;
          if (ntfs::ReadAttribute(bytes, offset, &a) && a.nonResident) {
            const uint64_t perCluster = AttributeClusterSectors(bytes, a, earlier);
            runs.clear();
            ntfs::DecodeRunList(bytes, a.runListStart, a.End(), runs);
            for (const DataRun& run : runs) {
              if (!run.sparse && run.length != 0) {
                layer.runs.push_back({run.startCluster * perCluster, (run.startCluster + run.length) * perCluster, me});
              }
            }
          }
          return ntfs::Verdict::kSkip;
        },
        &unused);
  }

  bool built_ = false;
  uint64_t generation_ = 0;
  uint32_t fsId_ = 0;
  uint64_t clusterBase_ = 0;
  uint32_t mode_ = 0;
  std::unordered_map<uint32_t, size_t> bySector_;
  std::vector<Signs> signs_;
  std::vector<size_t> standing_;
  Layer layers_[kStandings];
};

std::mutex ntfsClaimsMutex;
NtfsClaimsState ntfsClaims;

}  // namespace

uint32_t AttributeClusterSectors(const uint8_t* record, const ntfs::Attribute& attribute, bool earlier) {
  constexpr uint32_t kLastVcnOffset = 24;
  constexpr uint32_t kMostClusterSectors = 128;  // the largest clusters a boot sector may give, as the scans take them
  const uint32_t own = CurrentFileSystem.sectorsPerCluster;
  if (!earlier || !attribute.nonResident || attribute.offset + kLastVcnOffset + 8 > attribute.recordSize ||
      LoadLe64(record + attribute.offset + ntfs::kStartingVcnOffset) != 0) {
    return own;
  }
  const uint64_t lastVcn = LoadLe64(record + attribute.offset + kLastVcnOffset);
  if (lastVcn == UINT64_MAX || attribute.allocatedSize % (lastVcn + 1) != 0) return own;
  const uint64_t bytes = attribute.allocatedSize / (lastVcn + 1);
  const uint64_t sectors = bytes / kSectorSize;
  const bool clusterSize = bytes % kSectorSize == 0 && sectors >= 1 && sectors <= kMostClusterSectors &&
                           (sectors & (sectors - 1)) == 0;
  return clusterSize ? static_cast<uint32_t>(sectors) : own;
}

bool NtfsFileGivesWay(uint32_t mftSector, uint64_t bytes, uint32_t perCluster) {
  std::lock_guard<std::mutex> lock(ntfsClaimsMutex);
  ntfsClaims.Refresh();
  return ntfsClaims.GivesWay(mftSector, bytes, perCluster);
}

}  // namespace save
