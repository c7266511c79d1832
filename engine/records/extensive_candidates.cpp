#include "engine/records/extensive_candidates.h"

#include "engine/records/scan_control.h"

records::RecordList<NtfsFolderCandidate> NtfsFolderCandidateList;
records::RecordList<IndexRecordCandidate> IndexRecordCandidateList;

NtfsFolderCandidate& AppendNtfsFolderCandidate(std::u16string_view name, uint32_t sector,
                                               uint32_t parentId, uint32_t mftNumber,
                                               uint64_t creationTime, uint64_t modificationTime,
                                               uint32_t indexCluster, uint32_t deleted) {
  NtfsFolderCandidate& candidate = NtfsFolderCandidateList.Append(records::GuardAllocation([&] {
    return NtfsFolderCandidate{std::u16string(name), sector,        parentId, mftNumber, 0,
                               creationTime,         modificationTime, indexCluster, deleted};
  }));
  ++ScanCounters.subfolderCandidateCount;
  return candidate;
}

IndexRecordCandidate& AppendIndexRecordCandidate(uint32_t sector, uint32_t owner, uint32_t number,
                                                 uint8_t sectorCount) {
  IndexRecordCandidate& candidate = IndexRecordCandidateList.Append(
      IndexRecordCandidate{sector, owner, number, records::kNoFileSystemMark, sectorCount});
  ++ScanCounters.indexRecordCount;
  return candidate;
}
