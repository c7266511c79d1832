#include "engine/snapshot/snapshot_source.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "engine/fat/fat_chain.h"
#include "engine/fat/fat_directory.h"
#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/records/file_names.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot_mft.h"

namespace snapshot {

namespace {

constexpr size_t kPlacesChecked = 16;

bool ReadOneSector(const char* devicePath, uint64_t sector, uint8_t* buffer) {
  return ReadSectors(devicePath, static_cast<uint32_t>(sector), static_cast<uint32_t>(sector >> 32), 1, buffer) == 1;
}

// The media byte (0xF0 or above), then the rest of entry 0 and the first byte of entry 1, all ones.
bool BeginsTable(const uint8_t* sector) { return sector[0] >= 0xF0 && sector[1] == 0xFF && sector[2] == 0xFF; }

bool TableInPlace(const FileSystemRecord& fs, const char* devicePath) {
  if (fs.firstFatSector == 0 && fs.secondFatSector == 0) return true;  // a file system rebuilt without them
  uint8_t sector[kSectorSize];
  for (uint32_t at : {fs.firstFatSector, fs.secondFatSector}) {
    if (at != 0 && ReadOneSector(devicePath, at, sector) && BeginsTable(sector)) return true;
  }
  return false;
}

// A directory entry named "." or ".." (dots, then blanks), marked as a folder.
bool IsDotEntry(const uint8_t* entry, size_t dots) {
  for (size_t i = 0; i < 11; ++i) {
    if (entry[i] != (i < dots ? '.' : ' ')) return false;
  }
  return (entry[11] & 0x10) != 0;
}

uint32_t EntryCluster(const uint8_t* entry, bool fat32) {
  return LoadLe16(entry + 26) | (fat32 ? uint32_t{LoadLe16(entry + 20)} << 16 : 0);
}

// A live folder the scans found through its parent's directory (not "Lost Dir", nor a parent known only
// from a lost folder's "..").
bool IsCheckedFolder(const FatFolderRecord& f) {
  return f.deleted == 0 && f.firstCluster >= 2 && f.firstCluster != records::kLostDirId &&
         f.parentId != records::kLostDirId;
}

// ---- FAT folders and files: each sampled file's entry in its folder's directory names its first cluster, its size
// and the name the scan found it under.

// A folder holds at most 65536 entries (4096 sectors); the scans read up to 100 clusters of a deleted folder.
constexpr uint64_t kMostDirectorySectors = 4096;
constexpr uint64_t kMostDeletedFolderClusters = 100;
// The file system an Extensive Scan found reads 32 sectors of a FAT16 root; a Quick Scan reads as many as the
// boot sector says.
constexpr uint32_t kFat16RootSectorsRead = 32;
constexpr uint32_t kDefaultFat32RootCluster = 2;

// A directory entry as the scans list it: first cluster, size, name.
using ListedEntry = std::tuple<uint32_t, uint32_t, std::u16string>;

bool IsClusterSize(uint32_t sectors) { return sectors >= 1 && sectors <= 128 && (sectors & (sectors - 1)) == 0; }

// Where a FAT32 root may begin: the cluster the boot sector names (the one before the tables, or its copy six
// sectors on), and cluster 2, which the scans take when no boot sector gives it.
std::vector<uint32_t> Fat32RootClusters(const FileSystemRecord& fs, const char* devicePath) {
  std::vector<uint32_t> clusters;
  if (fs.firstFatSector > fs.reservedSectors) {
    uint8_t boot[kSectorSize];
    for (uint64_t at : {uint64_t{fs.firstFatSector - fs.reservedSectors}, uint64_t{fs.firstFatSector - fs.reservedSectors} + 6}) {
      if (!ReadOneSector(devicePath, at, boot) || boot[510] != 0x55 || boot[511] != 0xAA) continue;
      if (LoadLe32(boot + 44) >= 2) clusters.push_back(LoadLe32(boot + 44));
      break;
    }
  }
  if (std::find(clusters.begin(), clusters.end(), kDefaultFat32RootCluster) == clusters.end()) {
    clusters.push_back(kDefaultFat32RootCluster);
  }
  return clusters;
}

// Where the scans read a FAT16 root: right after the second table. Where one table's first sector served as both
// copies (its partner's first sector lost, the rest of both blank), the scans could not tell which copy it was, and
// placed the root right before the data area, its stored size long.
std::optional<uint64_t> Fat16RootSector(const FileSystemRecord& fs) {
  if (fs.secondFatSector == 0 || fs.sectorsPerFat == 0) return std::nullopt;  // no place is known
  const uint64_t dataStart = uint64_t{fs.clusterBase} + 2 * uint64_t{fs.sectorsPerCluster};
  if (fs.firstFatSector == fs.secondFatSector && fs.rootDirectorySectors != 0) {
    if (dataStart <= fs.secondFatSector || dataStart - fs.secondFatSector <= fs.rootDirectorySectors) {
      return std::nullopt;
    }
    return dataStart - fs.rootDirectorySectors;
  }
  return uint64_t{fs.secondFatSector} + fs.sectorsPerFat;
}

// The sectors of the directory of the folder whose first cluster is `cluster` (0: the FAT16 root), at most
// kMostDirectorySectors, or all a deleted folder's read covers, along its chain through table copy fatCopy.
std::vector<uint64_t> DirectorySectors(const FileSystemRecord& fs, const char* devicePath, uint32_t cluster,
                                       uint32_t fatCopy) {
  std::vector<uint64_t> sectors;
  if (cluster == records::kFatRootId) {
    const std::optional<uint64_t> first = Fat16RootSector(fs);
    if (!first) return sectors;
    const uint64_t count = std::min<uint64_t>(std::max(fs.rootDirectorySectors, kFat16RootSectorsRead),
                                              kMostDirectorySectors);
    for (uint64_t i = 0; i < count; ++i) sectors.push_back(*first + i);
    return sectors;
  }
  const uint64_t perCluster = fs.sectorsPerCluster;
  const uint64_t most = std::max(kMostDeletedFolderClusters, kMostDirectorySectors / perCluster);
  for (uint32_t c : FatChainOf(fs, devicePath, cluster, most, fatCopy)) {
    for (uint64_t j = 0; j < perCluster; ++j) sectors.push_back(fs.clusterBase + uint64_t{c} * perCluster + j);
  }
  return sectors;
}

// The entries of a directory as the scans decode them, up to its end, along its chain through table copy fatCopy.
void ReadDirectoryEntries(const FileSystemRecord& fs, const char* devicePath, uint32_t cluster, uint32_t fatCopy,
                          std::set<ListedEntry>* entries) {
  FatSectorHistory history;
  uint8_t sector[kSectorSize];
  for (uint64_t lba : DirectorySectors(fs, devicePath, cluster, fatCopy)) {
    // The scan read on past a sector it could not read; so does the check, with no names joined across it.
    if (!ReadOneSector(devicePath, lba, sector)) {
      history = FatSectorHistory();
      continue;
    }
    for (uint32_t index = 0; index < kFatEntriesPerSector; ++index) {
      FatDirectoryEntry entry;
      const FatEntryKind kind = DecodeFatEntry(sector, index, fs.type, 0, &entry, history.Before());
      if (kind == FatEntryKind::kEnd) return;
      if (kind != FatEntryKind::kListed) continue;
      // A snapshot written before the case flags were honoured names the file as its bytes do; one written before
      // the code page was, with a character per byte; one written before the system's own code page was, in 850.
      if (!entry.nameOnDisk.empty()) entries->insert({entry.firstCluster, entry.size, entry.nameOnDisk});
      for (std::u16string& former : entry.formerNames) {
        entries->insert({entry.firstCluster, entry.size, std::move(former)});
      }
      entries->insert({entry.firstCluster, entry.size, std::move(entry.name)});
    }
    history.Keep(sector, 1);
  }
}

// A directory's entries along its chain through each table copy: the scans follow a folder through either where
// one is lost or the two lead apart. The FAT16 root lies apart from the tables, and is read once.
void ReadDirectoryEntries(const FileSystemRecord& fs, const char* devicePath, uint32_t cluster,
                          std::set<ListedEntry>* entries) {
  const uint32_t copies = cluster == records::kFatRootId ? 1 : 2;
  for (uint32_t copy = 1; copy <= copies; ++copy) ReadDirectoryEntries(fs, devicePath, cluster, copy, entries);
}

// The directories of one FAT snapshot's folders as the source lists them, each read once.
class ListedDirectories {
 public:
  ListedDirectories(const FileSystemRecord& fs, const char* devicePath) : fs_(fs), devicePath_(devicePath) {}

  const std::set<ListedEntry>& Of(uint32_t folder) {
    auto read = directories_.find(folder);
    if (read != directories_.end()) return read->second;
    std::set<ListedEntry>& entries = directories_[folder];
    const bool fat32Root = fs_.type == records::kFat32 && folder == records::kFatRootId;
    for (uint32_t cluster : fat32Root ? Fat32RootClusters(fs_, devicePath_) : std::vector<uint32_t>{folder}) {
      ReadDirectoryEntries(fs_, devicePath_, cluster, &entries);
    }
    return entries;
  }

  // Whether the directory of folder lists an entry of firstCluster under name, whatever its size.
  bool Lists(uint32_t folder, uint32_t firstCluster, const std::u16string& name) {
    const std::set<ListedEntry>& entries = Of(folder);
    for (auto at = entries.lower_bound({firstCluster, 0, std::u16string()});
         at != entries.end() && std::get<0>(*at) == firstCluster; ++at) {
      if (std::get<2>(*at) == name) return true;
    }
    return false;
  }

 private:
  const FileSystemRecord& fs_;
  const char* devicePath_;
  std::map<uint32_t, std::set<ListedEntry>> directories_;
};

// The folder begins, at its first cluster, with "." naming that cluster, and lies where the snapshot puts it:
// ".." names the stored parent, or the parent's directory lists the folder there. A folder chain that one table
// runs on into another folder's clusters lists that folder's later entries as its own, and the scans keep a
// subfolder met there under the folder they met it in, whose cluster its ".." does not name.
bool FolderInPlace(const FatFolderRecord& f, const FileSystemRecord& fs, const char* devicePath,
                   ListedDirectories& directories) {
  const bool fat32 = fs.type == records::kFat32;
  uint8_t sector[kSectorSize];
  const uint64_t first = fs.clusterBase + uint64_t{f.firstCluster} * fs.sectorsPerCluster;
  // A sector the image no longer holds (a copy cut short) says nothing of whose folder this is: the scan listed
  // the folder from its parent's entry all the same.
  if (!ReadOneSector(devicePath, first, sector)) return true;
  const uint8_t* dot = sector;
  const uint8_t* dotDot = sector + 32;
  if (!IsDotEntry(dot, 1) || !IsDotEntry(dotDot, 2) || EntryCluster(dot, fat32) != f.firstCluster) return false;
  // On FAT32 some writers let ".." of a folder under the root name the root's own cluster, which a
  // snapshot does not keep.
  const uint32_t parent = EntryCluster(dotDot, fat32);
  if (parent == f.parentId || (fat32 && f.parentId == records::kFatRootId)) return true;
  return IsClusterSize(fs.sectorsPerCluster) && directories.Lists(f.parentId, f.firstCluster, f.name);
}

// A sample of the files, each with an entry in its folder's directory as the snapshot has it. Files whose folder
// is neither the root nor one of the snapshot's folders say nothing of where they lie, and are not sampled.
bool FilesInPlace(const LoadedSnapshot& loaded, ListedDirectories& directories) {
  const FileSystemRecord& fs = loaded.fileSystem;
  std::set<uint32_t> folders;
  for (const FatFolderRecord& f : loaded.fatFolders) {
    if (f.firstCluster >= 2 && f.firstCluster != records::kLostDirId) folders.insert(f.firstCluster);
  }
  std::vector<const FatEntryRecord*> files;
  for (const FatEntryRecord& e : loaded.fatEntries) {
    if (e.parentId == records::kFatRootId || folders.count(e.parentId) != 0) files.push_back(&e);
  }
  if (files.empty()) return true;
  if (!IsClusterSize(fs.sectorsPerCluster)) return false;  // no scan reads a folder then
  for (size_t place : CheckedPlaces(files.size())) {
    const FatEntryRecord& file = *files[place];
    if (directories.Of(file.parentId).count({file.firstCluster, file.size, records::NameOnDisk(file)}) == 0) {
      return false;
    }
  }
  return true;
}

bool FatSourceMatches(const LoadedSnapshot& loaded, const char* devicePath) {
  const FileSystemRecord& fs = loaded.fileSystem;
  if (!TableInPlace(fs, devicePath)) return false;
  ListedDirectories directories(fs, devicePath);
  std::vector<const FatFolderRecord*> folders;
  for (const FatFolderRecord& f : loaded.fatFolders) {
    if (IsCheckedFolder(f)) folders.push_back(&f);
  }
  for (size_t place : CheckedPlaces(folders.size())) {
    if (!FolderInPlace(*folders[place], fs, devicePath, directories)) return false;
  }
  return FilesInPlace(loaded, directories);
}

// Each hit was found where a sector begins with one of the selected signatures.
bool HitInPlace(const FileTraceHit& hit, const std::vector<StoredSignature>& signatures, const char* devicePath) {
  uint8_t sector[kSectorSize];
  if (!ReadOneSector(devicePath, hit.startSector, sector)) return false;
  for (const StoredSignature& s : signatures) {
    if (BeginsWithSignature(sector, sizeof sector, s.length, s.signatureHex)) return true;
  }
  return false;
}

bool FileTraceSourceMatches(const LoadedSnapshot& loaded, const char* devicePath) {
  for (size_t place : CheckedPlaces(loaded.hits.size())) {
    if (!HitInPlace(loaded.hits[place], loaded.signatures, devicePath)) return false;
  }
  return true;
}

}  // namespace

std::vector<size_t> CheckedPlaces(size_t count) {
  std::vector<size_t> places;
  const size_t checked = count < kPlacesChecked ? count : kPlacesChecked;
  for (size_t i = 0; i < checked; ++i) places.push_back(checked == 1 ? 0 : i * (count - 1) / (checked - 1));
  return places;
}

bool SourceMatchesSnapshot(const LoadedSnapshot& loaded, const char* devicePath) {
  if (loaded.letter == kFileTraceLetter) return !SourceReadable() || FileTraceSourceMatches(loaded, devicePath);
  if (loaded.fileSystem.type == records::kNtfs) return MapSnapshotMft(loaded, devicePath);
  return !SourceReadable() || FatSourceMatches(loaded, devicePath);
}

}  // namespace snapshot
