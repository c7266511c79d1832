// Saving what File Trace found: from the sector where the signature was found to where the file's format
// says it ends, at most the size chosen for the hits.
#include <algorithm>
#include <mutex>
#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "engine/trace/trace_formats.h"

namespace {

constexpr uint32_t kChunkSectors = 128;
constexpr uint32_t kChunkBytes = kChunkSectors * kSectorSize;  // 65536

uint64_t ChosenBytes() { return uint64_t{LargeFileSize.load()} << 20; }

// The hits by sector, built once for the hits in the list (a save takes them one by one); the save's worker and
// the preview's copy may both ask.
struct HitPlace {
  uint32_t sector = 0;
  std::u16string extension;
};
std::mutex hitPlacesMutex;

// The extension that tells the hit's format (the hit's own; a hit the list does not hold goes by its
// name), and the offsets of the hits after it within the size chosen.
std::u16string HitFormat(uint32_t startSector, const std::u16string& fileName, uint64_t limit,
                         std::vector<uint64_t>* later) {
  static std::vector<HitPlace> places;
  static uint64_t generation = ~uint64_t{0};
  static size_t count = 0;
  std::lock_guard<std::mutex> lock(hitPlacesMutex);
  if (generation != FileTraceHitList.Generation() || count != FileTraceHitList.size()) {
    places.clear();
    for (const FileTraceHit& hit : FileTraceHitList) places.push_back({hit.startSector, hit.extension});
    std::stable_sort(places.begin(), places.end(),
                     [](const HitPlace& a, const HitPlace& b) { return a.sector < b.sector; });
    generation = FileTraceHitList.Generation();
    count = FileTraceHitList.size();
  }
  auto at = std::lower_bound(places.begin(), places.end(), startSector,
                             [](const HitPlace& p, uint32_t sector) { return p.sector < sector; });
  std::u16string extension;
  if (at != places.end() && at->sector == startSector) {
    extension = at->extension;
    ++at;
  } else {
    const size_t dot = fileName.rfind(u'.');
    if (dot != std::u16string::npos) extension = fileName.substr(dot);
  }
  for (; at != places.end() && uint64_t{at->sector - startSector} * kSectorSize < limit; ++at) {
    if (at->sector > startSector) later->push_back(uint64_t{at->sector - startSector} * kSectorSize);
  }
  return extension;
}

// Where the hit's file ends, at most the size chosen.
trace::FileEnd HitEnd(uint32_t startSector, const std::u16string& fileName) {
  std::vector<uint64_t> later;
  const uint64_t limit = ChosenBytes();
  const std::u16string extension =
      records::GuardAllocation([&] { return HitFormat(startSector, fileName, limit, &later); });
  trace::SourceBytes bytes(startSector, limit, save::ReadSourceUnit);
  return trace::FindFileEnd(extension, bytes, later);
}

// Writes the file's bytes from startSector; a chunk that cannot be read is written as zeros, and a file
// whose end was not found (or lies past the size chosen) is counted as not read whole. false when writing
// failed or a user's save (userSave 1) was interrupted.
bool WriteHit(save::RecoveredFile& file, uint32_t startSector, const std::u16string& fileName, uint32_t userSave,
              bool* stopped) {
  const trace::FileEnd end = HitEnd(startSector, fileName);
  if (!end.whole) file.MarkDamaged();
  std::vector<uint8_t> chunk(kChunkBytes);
  save::FileProgress progress(userSave);
  for (uint64_t written = 0; written < end.length; written += kChunkBytes) {
    if (save::SaveInterrupted(userSave)) {
      *stopped = true;
      return false;
    }
    progress.Show(written, end.length);
    // No sector past the file's end is read: the last of a disk is the end of a file there.
    const uint64_t bytes = std::min<uint64_t>(kChunkBytes, end.length - written);
    const uint32_t sectors = static_cast<uint32_t>((bytes + kSectorSize - 1) / kSectorSize);
    if (!save::ReadSourceUnit(startSector + written / kSectorSize, sectors, chunk.data())) file.MarkDamaged();
    if (!file.Append(chunk.data(), bytes)) return false;
  }
  return true;
}

// Without a size nothing could be written but an empty file passing for the recovered one: a user's file
// counts as not written instead.
bool SizeChosen(uint32_t userSave) {
  if (LargeFileSize.load() != 0) return true;
  if (userSave == 1) ++SaveTally.unwritten;
  return false;
}

}  // namespace

uint32_t SaveFileTraceItem(const std::u16string& destination, uint32_t userSave, uint32_t startSector,
                           const std::u16string& fileName) {
  std::u16string target, name;
  if (!save::StartFile(destination, fileName, ChosenBytes(), userSave, 0, save::DeletedPolicy::kIgnored, &target,
                       &name)) {
    return 0;
  }
  if (!SizeChosen(userSave)) return 0;
  save::RecoveredFile file(target, userSave);
  if (!file.Create()) return 0;
  if (userSave == 1) save::ShowFileStarted(target, name);
  bool stopped = false;
  WriteHit(file, startSector, fileName, userSave, &stopped);
  return file.Finish(stopped) ? 1 : 0;
}

uint32_t SaveLargeFile(const std::u16string& folder, const std::u16string& fileName, uint32_t startSector) {
  std::u16string target, name;
  if (!save::StartFile(folder, fileName, ChosenBytes(), 0, 0, save::DeletedPolicy::kIgnored, &target, &name) ||
      !SizeChosen(0)) {
    return 0;
  }
  save::RecoveredFile file(target, 0);
  if (!file.Create()) return 0;
  bool stopped = false;
  WriteHit(file, startSector, fileName, 0, &stopped);
  return file.Finish(false) ? 1 : 0;
}
