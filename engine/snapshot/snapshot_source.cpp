#include "engine/snapshot/snapshot_source.h"

#include <cstring>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
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

bool FolderInPlace(const FatFolderRecord& f, const FileSystemRecord& fs, const char* devicePath) {
  const bool fat32 = fs.type == records::kFat32;
  uint8_t sector[kSectorSize];
  const uint64_t first = fs.clusterBase + uint64_t{f.firstCluster} * fs.sectorsPerCluster;
  if (!ReadOneSector(devicePath, first, sector)) return false;
  const uint8_t* dot = sector;
  const uint8_t* dotDot = sector + 32;
  if (!IsDotEntry(dot, 1) || !IsDotEntry(dotDot, 2) || EntryCluster(dot, fat32) != f.firstCluster) return false;
  // On FAT32 some writers let ".." of a folder under the root name the root's own cluster, which a
  // snapshot does not keep.
  const uint32_t parent = EntryCluster(dotDot, fat32);
  return parent == f.parentId || (fat32 && f.parentId == records::kFatRootId);
}

bool FatSourceMatches(const LoadedSnapshot& loaded, const char* devicePath) {
  const FileSystemRecord& fs = loaded.fileSystem;
  if (!TableInPlace(fs, devicePath)) return false;
  std::vector<const FatFolderRecord*> folders;
  for (const FatFolderRecord& f : loaded.fatFolders) {
    if (IsCheckedFolder(f)) folders.push_back(&f);
  }
  for (size_t place : CheckedPlaces(folders.size())) {
    if (!FolderInPlace(*folders[place], fs, devicePath)) return false;
  }
  return true;
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
