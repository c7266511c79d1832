// What a user's save learns once of an NTFS file system (for its generation): the clusters that the records of
// files no longer in use claim, so that a cluster two of them claim is saved as at most one file's. $Bitmap tells
// which clusters the files in use hold; of a deleted file whose clusters another file took and lost again (deleted
// in turn), and of the files of an earlier MFT (one a quick format replaced), it tells nothing.
#pragma once

#include <cstdint>

#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"

namespace save {

// True when taken(first cluster, count) holds for a run of DataRunList's clusters (holes left out) that hold the
// file's first `bytes` bytes, in clusters of perCluster sectors; the runs are asked in file order until one is taken.
template <typename Taken>
bool AnyClusterHeld(uint64_t bytes, uint32_t perCluster, Taken&& taken) {
  const uint64_t clusterBytes = uint64_t{perCluster} * kSectorSize;
  if (clusterBytes == 0) return false;
  uint64_t clusters = bytes / clusterBytes + (bytes % clusterBytes != 0 ? 1 : 0);
  for (const DataRun& run : DataRunList) {
    if (clusters == 0) break;
    const uint64_t count = clusters < run.length ? clusters : run.length;
    if (!run.sparse && taken(uint64_t{run.startCluster}, count)) return true;
    clusters -= count;
  }
  return false;
}

// The sectors per cluster the runs of a non-resident attribute of a record count in: the volume's; but a record of an
// earlier MFT (earlier) was written by the volume of that time, whose clusters a quick format with another cluster
// size did not keep. The part of the attribute that starts its value says what they were: its allocated size is its
// clusters (VCN 0 to the last) of that size.
uint32_t AttributeClusterSectors(const uint8_t* record, const ntfs::Attribute& attribute, bool earlier);

// Whether the listed file whose record lies at mftSector (deleted, or of an earlier MFT) gives up a cluster of its
// first `bytes` bytes (its runs in DataRunList, in clusters of perCluster sectors) to another record that claims it;
// claims are weighed by the sectors they cover, each record's runs counted in its own clusters. The claims are those of the
// non-resident attributes (data, streams, a folder's index) of the records of the deleted files, of the deleted
// folders and of the files of an earlier MFT that the lists hold, each record read once for the save (a record
// torn by a write, or whose parts lie in other records, claims what its own sound record holds). Of two claims on one
// cluster the one that stands is, in turn: a record's of the present MFT before one's of an earlier MFT (its file
// was written after the format); of two of an earlier MFT, one's in use at the format before one's deleted before
// it; else the newer record's: the one that the log sequence number of its last logged change, the journal number of
// its standard information and the later of its creation and change times (a copy keeps its source's last write
// time) show newer on one count and older on none; else neither stands. A file whose clusters meet more than a few
// thousand runs of other records of its standing gives way: the questions stay short whatever a damaged volume
// holds. A file the lists do not hold, or whose record is torn, is not asked about (false).
bool NtfsFileGivesWay(uint32_t mftSector, uint64_t bytes, uint32_t perCluster);

}  // namespace save
