#include "engine/records/extensive_lists.h"

#include "engine/records/extensive_candidates.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"

records::RecordList<BootSectorCandidate> BootSectorCandidateList;
records::RecordList<DirSectorCandidate> DirSectorCandidateList;
records::RecordList<FatTableStartCandidate> FatTableStartList;
records::RecordList<DirEntrySectorCandidate> DirEntrySectorList;
ExtensiveCountersRecord ExtensiveCounters;

BootSectorCandidate& AppendBootSectorCandidate(records::RecordList<BootSectorCandidate>& list, uint32_t sector) {
  BootSectorCandidate& candidate = list.Append(BootSectorCandidate{sector});
  ++ExtensiveCounters.bootSectorCount;
  return candidate;
}

DirSectorCandidate& AppendDirSectorCandidate(uint32_t sector, uint32_t cluster, uint32_t parentCluster,
                                             uint16_t writeDate, uint16_t accessDate) {
  DirSectorCandidate& candidate =
      DirSectorCandidateList.Append(DirSectorCandidate{sector, cluster, parentCluster, writeDate, accessDate, 0});
  ++ScanCounters.subfolderCandidateCount;
  return candidate;
}

FileSystemRecord& AppendFileSystemRecord(records::RecordList<FileSystemRecord>& list, const FileSystemRecord& record) {
  return list.Append(record);
}

void FreeExtensiveScanLists() {
  ScanCounters.subfolderCandidateCount = 0;
  ExtensiveCounters.bootSectorCount = 0;
  ExtensiveCounters.foundFileSystemCount = 0;
  ScanCounters.fileRecordCount = 0;
  ScanCounters.indexRecordCount = 0;
  IndexRecordCandidateList.Free();
  DirSectorCandidateList.Free();
  BootSectorCandidateList.Free();
  FatTableStartList.Free();
  DirEntrySectorList.Free();
  FoundFileSystemList.Free();
  NtfsFolderCandidateList.Free();
  NtfsFoundEntryList.Free();
}

void FreeNtfsRecordLists() {
  ScanCounters.folderCount = 0;
  ScanCounters.entryCount = 0;
  NtfsFolderList.Free();
  NtfsEntryList.Free();
}
