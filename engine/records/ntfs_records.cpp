#include "engine/records/ntfs_records.h"

#include <unordered_map>

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

// The positions of the linked entries of a list by id, made afresh when the list changed since.
template <typename Entry>
class LinkedIndex {
 public:
  std::vector<Entry*> Find(records::RecordList<Entry>& list, Entry* first) {
    if (first == nullptr) return {};
    if (!first->linked) return {first};
    if (generation_ != list.Generation() || size_ != list.size()) {
      records::GuardAllocation([&] {
        byId_.clear();
        for (size_t i = 0; i < list.size(); ++i) {
          if (list[i].linked) byId_[list[i].id].push_back(i);
        }
      });
      generation_ = list.Generation();
      size_ = list.size();
    }
    std::vector<Entry*> out;
    records::GuardAllocation([&] {
      for (size_t i : byId_[first->id]) out.push_back(&list[i]);
    });
    return out;
  }

 private:
  std::unordered_map<uint32_t, std::vector<size_t>> byId_;
  uint64_t generation_ = ~uint64_t{0};
  size_t size_ = 0;
};

LinkedIndex<NtfsEntryRecord> g_linkedEntries;
LinkedIndex<NtfsFoundEntryRecord> g_linkedFoundEntries;

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

std::vector<NtfsEntryRecord*> FindNtfsEntries(uint32_t id) {
  return g_linkedEntries.Find(NtfsEntryList, FindNtfsEntry(id));
}

std::vector<NtfsFoundEntryRecord*> FindNtfsFoundEntries(uint32_t id) {
  return g_linkedFoundEntries.Find(NtfsFoundEntryList, FindNtfsFoundEntry(id));
}
