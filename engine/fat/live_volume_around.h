// The live FAT volume around an earlier one that a quick format with another layout wrote it over
// (FatVolumeAroundChosen): which of the earlier volume's sectors the live one holds now.
#pragma once

#include <cstdint>

#include "engine/fat/fat_chain.h"
#include "engine/records/scan_parameters.h"

class LiveVolumeAround {
 public:
  // The live volume found around `chosen` when it was found for that file system; none otherwise.
  LiveVolumeAround(const FileSystemRecord& chosen, const char* devicePath);

  bool Known() const { return volume_.type != 0; }
  // Whether a sector of [first, first + count) is the live volume's: its boot sector, tables or root folder, or a
  // cluster one of its tables gives out.
  bool HoldsSectors(uint64_t first, uint64_t count);
  // Whether a cluster of the chosen file system lies on sectors the live volume holds.
  bool HoldsCluster(uint64_t cluster);

 private:
  uint64_t chosenBase_;
  uint32_t chosenPerCluster_;
  FileSystemRecord volume_;
  FatTableCopy copies_[2];
};
