#include "engine/records/fat_records.h"

#include "engine/records/record_index.h"
#include "engine/records/scan_control.h"

records::RecordList<FatFolderRecord> FatFolderList;
records::RecordList<FatEntryRecord> FatEntryList;
records::RecordList<ClusterNode> ClusterList;

namespace {

records::FirstRecordIndex<FatFolderRecord, uint32_t, &FatFolderRecord::firstCluster> g_fatFolderByCluster;
records::FirstRecordIndex<FatFolderRecord, host::TreeKey, &FatFolderRecord::treeKey> g_fatFolderByTreeKey;
records::FirstRecordIndex<FatEntryRecord, uint32_t, &FatEntryRecord::id> g_fatEntryById;

}  // namespace

FatFolderRecord& AppendFatFolder(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                                 uint16_t firstDateWord, uint16_t secondDateWord, host::TreeKey treeKey,
                                 uint32_t deleted) {
  if (FatFolderRecord* listed = FindFatFolder(firstCluster)) {
    if (deleted == 0 && listed->deleted != 0) {
      records::GuardAllocation([&] { listed->name.assign(name); });
      listed->deleted = 0;
    }
    return *listed;
  }
  FatFolderRecord& folder = FatFolderList.Append(records::GuardAllocation([&] {
    return FatFolderRecord{std::u16string(name), firstCluster, parentId, firstDateWord, secondDateWord,
                           treeKey, deleted};
  }));
  ++ScanCounters.folderCount;
  return folder;
}

FatEntryRecord& AppendFatEntry(std::u16string_view name, uint32_t firstCluster, uint32_t parentId,
                               uint16_t firstDateWord, uint16_t secondDateWord, uint32_t size,
                               uint32_t deleted) {
  return FatEntryList.Append(records::GuardAllocation([&] {
    return FatEntryRecord{std::u16string(name), firstCluster,   parentId, firstDateWord,
                          secondDateWord,       size,           deleted,  ScanCounters.entryCount};
  }));
}

void AppendCluster(uint32_t cluster) { ClusterList.Append(ClusterNode{cluster}); }

FatFolderRecord* FindFatFolder(uint32_t firstCluster) {
  return g_fatFolderByCluster.Find(FatFolderList, firstCluster);
}

FatFolderRecord* FindFatFolderByTreeKey(host::TreeKey key) {
  return g_fatFolderByTreeKey.FindRewritable(FatFolderList, key);
}

FatEntryRecord* FindFatEntry(uint32_t id) { return g_fatEntryById.Find(FatEntryList, id); }
