#include "engine/save/fat_claims.h"

#include <algorithm>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/image/read_sectors.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/save/cluster_runs.h"
#include "engine/save/reach_tree.h"
#include "engine/save/save_state.h"

namespace save {

namespace {

// How a file claims a cluster it reads, weakest first.
enum class Claim { kConsecutive, kChainRunsOn, kChainExact, kFirst };

// A file that claims more clusters than these of others' of its own standing has no claim that stands: so many
// files cannot all be wrong, and the questions stay short whatever a damaged volume lists. Claims that give way to
// the file's whatever they claim (deleted files' against a live one, files of a folder from before a quick format
// against one the tables hold) are not counted: a new file written over hundreds of small old ones is still whole.
constexpr size_t kMostRivals = 64;

struct Claimant {
  uint32_t first = 0;
  uint32_t size = 0;
  uint64_t end = 0;  // one past the last cluster a reading of consecutive clusters takes
  uint32_t clusters = 0;
  uint16_t date = 0;     // the last write date: with the first cluster and size, what tells a file listed twice
  uint64_t created = 0;  // CreationStamp
  bool deleted = false;
  bool consecutive = false;  // read without a chain: deleted, or no table chains it
  bool held = false;         // its folder's clusters are the tables' (live files only)
  const std::u16string* name = nullptr;
};

// An entry's creation date, time and hundredths as one number in their order; 0 where the entry keeps no creation
// date (its writer left none) or one that names no day.
uint64_t CreationStamp(const FatEntryTimes& t) {
  const unsigned month = (t.creationDate >> 5) & 15u, day = t.creationDate & 31u;
  if (month == 0 || month > 12 || day == 0) return 0;
  return uint64_t{t.creationDate} << 24 | uint64_t{t.creationTime} << 8 | t.creationHundredths;
}

// Entries of one first cluster, size, deleted mark and date are one file listed more than once (a folder read
// along another's chain, a rename that left the old entry): the claimants are sorted so that they lie together.
auto FileKey(const Claimant& c) { return std::make_tuple(c.first, c.size, c.deleted, c.date); }
auto ClaimKey(const Claimant& c) { return std::make_tuple(c.first, c.size, c.deleted, c.date, c.held); }
bool ByClaimThenName(const Claimant& a, const Claimant& b) {
  return ClaimKey(a) != ClaimKey(b) ? ClaimKey(a) < ClaimKey(b) : *a.name < *b.name;
}

// Whether a's claim gives way to b's (the order FatFileGivesWay gives).
bool Yields(const Claimant& a, Claim aClaim, const Claimant& b, Claim bClaim) {
  if (a.deleted != b.deleted) return a.deleted;
  if (!a.deleted) {
    if (a.held != b.held) return !a.held;
    if (aClaim != bClaim) return aClaim < bClaim;
  }
  // The newer by its creation: a copy keeps its source's last write time and gets a creation time of its own.
  if (a.created != b.created && a.created != 0 && b.created != 0) return a.created < b.created;
  return true;
}

class FatClaimsState {
 public:
  // Builds the view again when the save, the file system or the limit changed.
  void Refresh(uint64_t limit) {
    const FileSystemRecord& fs = CurrentFileSystem;
    if (built_ && SaveGeneration() == generation_ && fs.firstFatSector == fs_.firstFatSector &&
        fs.secondFatSector == fs_.secondFatSector && fs.sectorsPerFat == fs_.sectorsPerFat && fs.type == fs_.type &&
        fs.clusterBase == fs_.clusterBase && fs.sectorsPerCluster == fs_.sectorsPerCluster && limit == limit_) {
      return;
    }
    records::GuardAllocation([&] { Build(limit); });
    built_ = true;
    generation_ = SaveGeneration();
    fs_ = fs;
    limit_ = limit;
  }

  // The claimants of one kind (live, or deleted) by first cluster, with where the entries of one claim end among
  // them, and those read without a chain with how far they reach: a live file's claim stands before every deleted
  // one's, so it is weighed against live ones alone, and what a file is asked grows with its rivals, not with the
  // files listed.
  struct Group {
    std::vector<size_t> byFirst;
    std::vector<size_t> claimEnd;  // for each place in byFirst, the first place after the entries of its claim
    std::vector<size_t> consecutive;
    ReachTree reach;
  };

  std::vector<FatLinkedClusters> tables;
  std::vector<Claimant> claimants;  // by first cluster
  Group groups[2];                  // live, deleted
  save::ClusterRuns unchainedLive;  // the clusters of live files whose first cluster both tables leave free
  std::vector<std::pair<uint32_t, size_t>> firstLinks[2];  // (where a live file's first cluster links, claimant)

 private:
  bool Chained(FatTableCopy* copies, uint32_t first) {
    for (uint32_t c = 0; c < 2; ++c) {
      if (copies[c].Known() && copies[c].InUse(first) && !tables[c].Linked(first)) return true;
    }
    return false;
  }

  bool FolderHeld(FatTableCopy* copies, uint32_t folder) {
    if (folder == records::kFatRootId) return true;
    if (folder == records::kLostDirId) return false;
    const auto known = held_.find(folder);
    if (known != held_.end()) return known->second;
    const bool held = copies[0].InUse(folder) || copies[1].InUse(folder);
    held_.emplace(folder, held);
    return held;
  }

  // Whether a folder's first cluster still begins with its own "." entry (one naming that cluster). A folder the
  // tables no longer hold may be known only from its subfolders' ".." entries, its own cluster written by a file
  // since; a deleted folder's cluster may have been written since as well.
  static bool BeginsFolder(uint32_t cluster, uint64_t limit) {
    if (cluster < 2 || cluster >= limit) return false;
    const FileSystemRecord& fs = CurrentFileSystem;
    const uint64_t lba = fs.clusterBase + uint64_t{cluster} * fs.sectorsPerCluster;
    uint8_t sector[kSectorSize];
    if (ReadSectors(CurrentFatDevice(), static_cast<uint32_t>(lba), static_cast<uint32_t>(lba >> 32), 1, sector) == 0) {
      return false;
    }
    return sector[0] == '.' && sector[1] == ' ' && (sector[11] & 0x10) != 0 &&
           FatDotCluster(sector, static_cast<uint16_t>(fs.type)) == cluster;
  }

  // Folders claim their first clusters (a FAT32 root its own): a file that begins there holds a folder's entries,
  // not its bytes. A live folder's claim is a live file's, a deleted one's a deleted file's; a folder keeps no
  // creation time, so of a file and a folder on one cluster nothing makes the file the newer. A cluster the tables
  // leave free is a folder's only while it begins with the folder's "." entry: a file written there since holds
  // other bytes.
  void AddFolders(FatTableCopy* copies, uint64_t limit) {
    const FileSystemRecord& fs = CurrentFileSystem;
    static const std::u16string kNoName;
    const auto add = [&](uint32_t first, uint16_t date, bool deleted, bool held, const std::u16string& name) {
      if (first < 2 || first >= limit) return;
      Claimant c;
      c.first = first;
      c.end = uint64_t{first} + 1;
      c.clusters = 1;
      c.date = date;
      c.deleted = deleted;
      c.held = held;
      c.name = &name;
      claimants.push_back(c);
    };
    if (fs.type == records::kFat32) add(fs.rootDirectory, 0, false, true, kNoName);
    for (const FatFolderRecord& folder : FatFolderList) {
      const uint32_t first = folder.firstCluster;
      if (first == records::kLostDirId) continue;
      const bool deleted = folder.deleted != 0;
      const bool free = first < limit && !copies[0].InUse(first) && !copies[1].InUse(first);
      if ((deleted || free) && !BeginsFolder(first, limit)) continue;
      add(first, folder.firstDateWord, deleted, !deleted && FolderHeld(copies, folder.parentId), folder.name);
    }
  }

  void Build(uint64_t limit) {
    const FileSystemRecord& fs = CurrentFileSystem;
    tables.clear();
    for (uint32_t c = 1; c <= 2; ++c) tables.emplace_back(fs, CurrentFatDevice(), c, limit);
    FatTableCopy copies[2] = {FatTableCopy(fs, CurrentFatDevice(), 1), FatTableCopy(fs, CurrentFatDevice(), 2)};
    held_.clear();
    claimants.clear();
    const uint64_t clusterBytes = uint64_t{fs.sectorsPerCluster} * kSectorSize;
    for (const FatEntryRecord& entry : FatEntryList) {
      if (entry.size == 0 || entry.firstCluster < 2 || entry.firstCluster >= limit || clusterBytes == 0) continue;
      Claimant c;
      c.first = entry.firstCluster;
      c.size = entry.size;
      c.clusters = static_cast<uint32_t>((uint64_t{entry.size} + clusterBytes - 1) / clusterBytes);
      c.end = std::min<uint64_t>(uint64_t{c.first} + c.clusters, limit);
      c.date = entry.firstDateWord;
      c.created = CreationStamp(entry.times);
      c.deleted = entry.deleted != 0;
      c.consecutive = c.deleted || !Chained(copies, c.first);
      // A deleted file's consecutive clusters are its own at most up to the first a table gives to a chain: a reading
      // that meets one is not whole, and claims nothing past it. (A live file read so was there until new tables
      // were written: what they give out since lies over it.)
      if (c.deleted) {
        for (const FatLinkedClusters& table : tables) c.end = table.NextInUse(uint64_t{c.first} + 1, c.end);
      }
      c.held = !c.deleted && FolderHeld(copies, entry.parentId);
      c.name = &entry.name;
      claimants.push_back(c);
    }
    AddFolders(copies, limit);
    std::sort(claimants.begin(), claimants.end(), ByClaimThenName);
    std::vector<uint64_t> ends[2];
    unchainedLive.Clear();
    for (Group& group : groups) group = Group{};
    for (size_t i = 0; i < claimants.size(); ++i) {
      const Claimant& c = claimants[i];
      if (!c.deleted && !copies[0].InUse(c.first) && !copies[1].InUse(c.first)) unchainedLive.Add(c.first, c.end);
      Group& group = groups[c.deleted ? 1 : 0];
      group.byFirst.push_back(i);
      if (!c.consecutive) continue;
      group.consecutive.push_back(i);
      ends[c.deleted ? 1 : 0].push_back(c.end);
    }
    unchainedLive.Seal();
    for (size_t g = 0; g < 2; ++g) {
      Group& group = groups[g];
      group.reach.Build(ends[g]);
      group.claimEnd.assign(group.byFirst.size(), group.byFirst.size());
      for (size_t k = group.byFirst.size(); k-- > 1;) {
        const bool same = ClaimKey(claimants[group.byFirst[k - 1]]) == ClaimKey(claimants[group.byFirst[k]]);
        group.claimEnd[k - 1] = same ? group.claimEnd[k] : k;
      }
    }
    // One entry of each claim (its first cluster links where all of them do).
    for (uint32_t c = 0; c < 2; ++c) {
      firstLinks[c].clear();
      if (!tables[c].AnyShared()) continue;
      for (size_t i = 0; i < claimants.size(); ++i) {
        uint32_t next = 0;
        if (claimants[i].consecutive || (i > 0 && ClaimKey(claimants[i - 1]) == ClaimKey(claimants[i]))) continue;
        if (copies[c].Entry(claimants[i].first, &next) && copies[c].Links(next)) firstLinks[c].emplace_back(next, i);
      }
      std::sort(firstLinks[c].begin(), firstLinks[c].end());
    }
  }

  bool built_ = false;
  uint64_t generation_ = 0;
  FileSystemRecord fs_;
  uint64_t limit_ = 0;
  std::unordered_map<uint32_t, bool> held_;
};

// The questions of one file against the claimants: each rival claim met is weighed as it comes, and the first
// that the file's claim gives way to ends them.
class Contest {
 public:
  // The file is found among the claimants by its first cluster, size, mark, date and name; its folder is held
  // when the tables hold the folder of any entry it is listed by.
  Contest(const FatClaimsState& state, const FatFileRead& file) : state_(state) {
    Claimant key;
    key.first = file.first;
    key.size = file.size;
    key.deleted = file.deleted;
    key.date = file.date;
    key.name = file.name;
    for (const bool held : {false, true}) {
      key.held = held;
      const auto at = std::lower_bound(state.claimants.begin(), state.claimants.end(), key, ByClaimThenName);
      if (at == state.claimants.end() || ByClaimThenName(key, *at)) continue;
      me_ = *at;
      known_ = true;
    }
  }

  bool Known() const { return known_; }
  // Where the file's consecutive clusters end.
  uint64_t End() const { return me_.end; }
  bool Lost() const { return lost_; }

  // Weighs a rival claim on one of the file's clusters, where the file's own claim is mine.
  void Meet(const Claimant& rival, Claim rivalClaim, Claim mine) {
    if (lost_ || OneFile(rival) || Outranked(rival)) return;
    if (++met_ > kMostRivals || Yields(me_, mine, rival, rivalClaim)) lost_ = true;
  }

  // The rivals whose first cluster lies in [from, to), where the file's claim is mine.
  void FirstsIn(uint64_t from, uint64_t to, Claim mine) {
    for (const FatClaimsState::Group* group : Rivals()) {
      const std::vector<size_t>& byFirst = group->byFirst;
      auto k = static_cast<size_t>(
          std::lower_bound(byFirst.begin(), byFirst.end(), from,
                           [&](size_t i, uint64_t v) { return state_.claimants[i].first < v; }) -
          byFirst.begin());
      // The entries of one claim are weighed once.
      for (; !lost_ && k < byFirst.size() && state_.claimants[byFirst[k]].first < to; k = group->claimEnd[k]) {
        Meet(state_.claimants[byFirst[k]], Claim::kFirst, mine);
      }
    }
  }

  // The rivals read as consecutive clusters across the file's first cluster.
  void ConsecutiveOver(uint32_t cluster) {
    for (const FatClaimsState::Group* group : Rivals()) {
      const std::vector<size_t>& runs = group->consecutive;
      // Those that begin before it (one beginning there is weighed by its first cluster).
      const auto before = std::lower_bound(runs.begin(), runs.end(), cluster,
                                           [&](size_t i, uint32_t c) { return state_.claimants[i].first < c; });
      group->reach.Over(static_cast<size_t>(before - runs.begin()), cluster, [&](size_t k) {
        Meet(state_.claimants[runs[k]], Claim::kConsecutive, Claim::kFirst);
        return !lost_;
      });
    }
  }

 private:
  // The groups whose claims can stand before the file's: live files' always, deleted ones' against a deleted file.
  std::vector<const FatClaimsState::Group*> Rivals() const {
    if (!me_.deleted) return {&state_.groups[0]};
    return {&state_.groups[0], &state_.groups[1]};
  }

  // Whether the rival is the file under another entry: listed again (a folder read along another's chain), or an
  // entry a rename or a move left behind, of its first cluster, size and date; live entries only where the tables
  // hold both or neither of their folders.
  bool OneFile(const Claimant& rival) const {
    return FileKey(rival) == FileKey(me_) && (rival.deleted || rival.held == me_.held);
  }

  // Whether the rival's claim gives way to the file's whatever each claims (the first two rules of Yields).
  bool Outranked(const Claimant& rival) const {
    if (me_.deleted) return false;
    return rival.deleted || (me_.held && !rival.held);
  }

  const FatClaimsState& state_;
  Claimant me_;
  bool known_ = false;
  bool lost_ = false;
  size_t met_ = 0;
};

// How the chain of rival, through copy, claims its clusters: exactly its own, or running on (or ending early).
Claim ChainClaim(const Claimant& rival, uint32_t copy) {
  const std::vector<uint32_t> chain =
      FatChainOf(CurrentFileSystem, CurrentFatDevice(), rival.first, uint64_t{rival.clusters} + 1, copy);
  return chain.size() == rival.clusters ? Claim::kChainExact : Claim::kChainRunsOn;
}

std::mutex claimsMutex;
FatClaimsState claimsState;

}  // namespace

bool FatTableLinks(uint32_t copy, uint32_t cluster, uint64_t limit) {
  std::lock_guard<std::mutex> lock(claimsMutex);
  claimsState.Refresh(limit);
  return claimsState.tables[copy - 1].Linked(cluster);
}

bool FatChainMeetsAnother(uint32_t copy, size_t count, uint64_t limit) {
  std::lock_guard<std::mutex> lock(claimsMutex);
  claimsState.Refresh(limit);
  const FatLinkedClusters& table = claimsState.tables[copy - 1];
  for (size_t i = 1; i < std::min(count, ClusterList.size()); ++i) {
    if (table.Shared(ClusterList[i].cluster)) return true;
  }
  return false;
}

bool FatClusterOfUnchainedLive(uint64_t cluster, uint64_t limit) {
  std::lock_guard<std::mutex> lock(claimsMutex);
  claimsState.Refresh(limit);
  return claimsState.unchainedLive.Meets(cluster, 1);
}

bool FatFileGivesWay(const FatFileRead& file, uint64_t limit) {
  std::lock_guard<std::mutex> lock(claimsMutex);
  claimsState.Refresh(limit);
  Contest contest(claimsState, file);
  if (!contest.Known()) return false;
  const Claim mine = !file.chained ? Claim::kConsecutive : file.exact ? Claim::kChainExact : Claim::kChainRunsOn;
  // Another entry that begins where the file does.
  contest.FirstsIn(file.first, uint64_t{file.first} + 1, Claim::kFirst);
  contest.ConsecutiveOver(file.first);
  const size_t read = file.chained ? std::min<size_t>(ClusterList.size(), file.clusters) : 0;
  if (!file.chained) {
    contest.FirstsIn(uint64_t{file.first} + 1, contest.End(), mine);
    return contest.Lost();
  }
  // The chain, a run of consecutive clusters at a time.
  for (size_t i = 1; i < read && !contest.Lost();) {
    size_t j = i + 1;
    while (j < read && ClusterList[j].cluster == ClusterList[j - 1].cluster + 1) ++j;
    contest.FirstsIn(ClusterList[i].cluster, uint64_t{ClusterList[j - 1].cluster} + 1, mine);
    i = j;
  }
  // Where another chain meets the file's: the files whose first cluster links there are its rivals; a meeting no
  // listed file's first link explains leaves nothing to tell which chain is right.
  const FatLinkedClusters& table = claimsState.tables[file.copy - 1];
  const auto& links = claimsState.firstLinks[file.copy - 1];
  for (size_t i = 1; i < read && !contest.Lost(); ++i) {
    const uint32_t cluster = ClusterList[i].cluster;
    if (!table.Shared(cluster)) continue;
    bool explained = false;
    for (auto it = std::lower_bound(links.begin(), links.end(), std::make_pair(cluster, size_t{0}));
         it != links.end() && it->first == cluster && !contest.Lost(); ++it) {
      const Claimant& rival = claimsState.claimants[it->second];
      if (rival.first == file.first || rival.first == ClusterList[i - 1].cluster) continue;
      explained = true;
      contest.Meet(rival, ChainClaim(rival, file.copy), mine);
    }
    if (!explained) return true;
  }
  return contest.Lost();
}

}  // namespace save
