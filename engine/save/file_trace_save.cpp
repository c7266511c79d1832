// Saving what File Trace found: a fixed length from the sector where the signature was found.
#include <algorithm>
#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

constexpr uint32_t kChunkSectors = 128;
constexpr uint32_t kChunkBytes = kChunkSectors * kSectorSize;  // 65536
constexpr uint32_t kChunksPerMegabyte = 16;

uint64_t ChosenBytes() { return uint64_t{LargeFileSize.load()} * kChunksPerMegabyte * kChunkBytes; }

// Writes LargeFileSize MB from startSector; a chunk that cannot be read is written as zeros. false when
// writing failed or a user's save (userSave 1) was interrupted.
bool WriteChunks(save::RecoveredFile& file, uint32_t startSector, uint32_t userSave, bool* stopped) {
  std::vector<uint8_t> chunk(kChunkBytes);
  const uint64_t chunks = uint64_t{LargeFileSize.load()} * kChunksPerMegabyte;
  save::FileProgress progress(userSave);
  for (uint64_t i = 0; i < chunks; ++i) {
    if (save::SaveInterrupted(userSave)) {
      *stopped = true;
      return false;
    }
    progress.Show(i * kChunkBytes, chunks * kChunkBytes);
    if (!save::ReadSourceUnit(startSector + i * kChunkSectors, kChunkSectors, chunk.data())) file.MarkDamaged();
    if (!file.Append(chunk.data(), kChunkBytes)) return false;
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
  WriteChunks(file, startSector, userSave, &stopped);
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
  WriteChunks(file, startSector, 0, &stopped);
  return file.Finish(false) ? 1 : 0;
}
