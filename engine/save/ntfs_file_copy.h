// Copying a non-resident NTFS file's bytes from the runs of DataRunList into the file being written: cluster by
// cluster, or, for a compressed file, compression unit by compression unit.
#pragma once

#include <cstdint>

#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"

namespace save {

// What a copy does with the file: its bytes up to end (its size, or less when the runs cannot give it), those
// from valid (its valid data length) on as zeros; the bar moves through size; a user's save may stop it. The runs
// count clusters of sectorsPerCluster sectors from the volume's cluster 0.
struct FileCopy {
  RecoveredFile& file;
  uint64_t size;
  uint64_t end;
  uint64_t valid;
  uint32_t userSave;
  FileProgress& progress;
  uint32_t sectorsPerCluster;
};

// How a copy ended: the bytes written, and whether it was stopped (Stop, Skip File) or a write failed. A copy
// that ends before end otherwise met the end of the runs, or a cluster outside the volume.
struct CopyResult {
  uint64_t written = 0;
  bool stopped = false;
  bool failed = false;
};

// Holes are zeros; a cluster that cannot be read is zeros and the file damaged.
CopyResult CopyRuns(const FileCopy& copy);

// A compressed file's units of 2^unitBits clusters: a unit whose clusters are all on the volume holds its bytes as
// they are; one that ends in holes holds, in the clusters before them, the LZNT1 stream of its bytes; one of holes
// only is zeros. A unit whose stream cannot be read or decompressed is zeros and the file damaged.
CopyResult CopyCompressedUnits(const FileCopy& copy, uint8_t unitBits);

}  // namespace save
