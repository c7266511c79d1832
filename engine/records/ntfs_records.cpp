#include "engine/records/ntfs_records.h"

#include "engine/records/record_index.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"

records::RecordList<NtfsFolderRecord> NtfsFolderList;
records::RecordList<NtfsEntryRecord> NtfsEntryList;
records::RecordList<NtfsFoundEntryRecord> NtfsFoundEntryList;

namespace {

records::FirstRecordIndex<NtfsFolderRecord, uint32_t, &NtfsFolderRecord::recordNumber> g_ntfsFolderByNumber;
records::FirstRecordIndex<NtfsFolderRecord, host::TreeKey, &NtfsFolderRecord::treeKey> g_ntfsFolderByTreeKey;
records::FirstRecordIndex<NtfsEntryRecord, uint32_t, &NtfsEntryRecord::id> g_ntfsEntryById;
records::FirstRecordIndex<NtfsFoundEntryRecord, uint32_t, &NtfsFoundEntryRecord::id> g_foundEntryById;

}  // namespace

NtfsFolderRecord& AppendNtfsFolder(std::u16string_view name, uint32_t recordNumber, uint32_t parentId,
                                   uint64_t creationTime, uint64_t modificationTime,
                                   host::TreeKey treeKey, uint32_t deleted) {
  if (RecoveryMode == records::kExtensiveScan) {
    if (NtfsFolderRecord* listed = FindNtfsFolder(recordNumber)) return *listed;
  }
  NtfsFolderRecord& folder = NtfsFolderList.Append(records::GuardAllocation([&] {
    return NtfsFolderRecord{std::u16string(name), recordNumber,     parentId, creationTime,
                            modificationTime,     treeKey,          deleted};
  }));
  ++ScanCounters.folderCount;
  return folder;
}

NtfsEntryRecord& AppendNtfsEntry(uint32_t id, std::u16string_view name, uint32_t recordNumber,
                                 uint32_t parentId, uint64_t creationTime, uint64_t modificationTime,
                                 uint32_t deleted, uint64_t size) {
  return NtfsEntryList.Append(records::GuardAllocation([&] {
    return NtfsEntryRecord{std::u16string(name), recordNumber, parentId, creationTime, modificationTime, size,
                           deleted, id, {}};
  }));
}

NtfsFoundEntryRecord& AppendNtfsFoundEntry(std::u16string_view name, uint32_t id, uint32_t parentId,
                                           uint32_t recordNumber, uint64_t creationTime,
                                           uint64_t modificationTime, uint64_t size, uint16_t mark,
                                           uint32_t deleted) {
  NtfsFoundEntryRecord& entry = NtfsFoundEntryList.Append(records::GuardAllocation([&] {
    return NtfsFoundEntryRecord{std::u16string(name), id, parentId, recordNumber, creationTime, modificationTime,
                                size, mark, deleted, {}};
  }));
  ++ScanCounters.fileRecordCount;
  return entry;
}

NtfsFolderRecord* FindNtfsFolder(uint32_t recordNumber) {
  return g_ntfsFolderByNumber.Find(NtfsFolderList, recordNumber);
}

NtfsFolderRecord* FindNtfsFolderByTreeKey(host::TreeKey key) {
  return g_ntfsFolderByTreeKey.FindRewritable(NtfsFolderList, key);
}

NtfsEntryRecord* FindNtfsEntry(uint32_t id) { return g_ntfsEntryById.Find(NtfsEntryList, id); }

NtfsFoundEntryRecord* FindNtfsFoundEntry(uint32_t id) {
  return g_foundEntryById.Find(NtfsFoundEntryList, id);
}
