// Data runs: the extents of a non-resident attribute, decoded from its run list.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/records/record_list.h"

struct DataRun {
  uint32_t startCluster = 0;  // absolute; 0 for a sparse run
  uint32_t length = 0;        // in clusters
  bool sparse = false;        // a hole: it has no clusters on the volume and reads as zeros
};

// The runs of the last DecodeDataRuns, in file order; emptied at the start of each decoding.
extern records::RecordList<DataRun> DataRunList;

// Decodes the run list of the non-resident attribute at attributeOffset of a record into DataRunList; end (at
// most the record's size) bounds the run list. 1 when the list was decoded to its end marker;
// 0 when it starts at or beyond end, a run does not fit before end, a field is wider than 4 bytes, or a
// start cluster falls outside 0 .. 0xFFFFFFFF (DataRunList then holds the runs before the fault).
uint32_t DecodeDataRuns(uint32_t end, const uint8_t* record, uint32_t attributeOffset);

namespace ntfs {

enum class RunListStatus {
  kComplete,    // the end marker (header byte 0) was reached
  kTruncated,   // a header or a run's fields lie at or beyond end
  kTooWide,     // a length or offset field wider than 4 bytes
  kOutOfRange,  // a start cluster below 0 or above 0xFFFFFFFF
};

// Decodes the run list in bytes[begin, end) and appends its runs to runs. Each header byte gives the
// width of the length (low nibble) and of the offset (high nibble, 0 = sparse). The first run that
// has an offset takes it unsigned; later ones add it, sign-extended, to the start of the run before.
RunListStatus DecodeRunList(const uint8_t* bytes, uint32_t begin, uint32_t end, std::vector<DataRun>& runs);

}  // namespace ntfs
