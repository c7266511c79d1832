// Saving one NTFS file from its MFT record: resident data, or along the data runs.
#include <vector>

#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

// Resident data begins this far after its attribute's start.
constexpr uint64_t kResidentDataOffset = 24;
// The last byte of the record that resident data may reach.
constexpr uint64_t kResidentDataEnd = 1023;

bool HasAttributeList(const uint8_t* record) {
  ntfs::Attribute list;
  return ntfs::FindAttribute(record, ntfs::kAttributeList, "", &list);
}

uint32_t SaveResident(const uint8_t* record, const ntfs::Attribute& data, const std::u16string& target, uint64_t size,
                      uint32_t userSave) {
  const uint64_t start = data.offset + kResidentDataOffset;
  if (start > kResidentDataEnd || size > kResidentDataEnd - start) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(target, userSave);
  if (!file.Create()) return 0;
  file.Append(record + start, size);
  if (!file.Finish(false)) return 0;
  SetNtfsFileTime(target);
  return 1;
}

// An empty run list holds no data: right for an empty file, a loss for any other.
uint32_t SaveWithoutRuns(const std::u16string& target, uint64_t size, uint32_t userSave) {
  if (size != 0) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(target, userSave);
  if (!file.Create() || !file.Finish(false)) return 0;
  SetNtfsFileTime(target);
  return 1;
}

uint32_t SaveNonResident(const uint8_t* record, const ntfs::Attribute& data, const std::u16string& target,
                         uint64_t size, uint32_t userSave) {
  // Compressed or encrypted clusters are not the file's bytes: writing them would pass off garbage as the
  // recovered file, so such a file counts as one that could not be read.
  if (data.flags & (ntfs::kAttributeCompressed | ntfs::kAttributeEncrypted)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  uint32_t saved = 0;
  if (DecodeDataRuns(data.End(), record, data.offset) != 1) {
    save::CountUnreadable(userSave);
  } else if (DataRunList.empty()) {
    saved = SaveWithoutRuns(target, size, userSave);
  } else {
    saved = WriteRecoveredFile(target, size, static_cast<uint16_t>(userSave));
    if (saved == 1) SetNtfsFileTime(target);
  }
  DataRunList.Free();
  return saved;
}

}  // namespace

uint32_t SaveNtfsItems(const std::u16string& destination, const std::u16string& fileName, uint64_t size,
                       uint32_t mftSector, uint32_t userSave, uint32_t deleted) {
  std::u16string target, name;
  if (!save::StartFile(destination, fileName, userSave, deleted, save::DeletedPolicy::kApplies, &target, &name)) {
    return 0;
  }
  if (userSave == 1) save::ShowFileStarted(target, name);
  uint8_t record[ntfs::kMftRecordSize] = {};
  if (!ntfs::ReadMftRecord(ntfs::CurrentDevicePath(), mftSector, record) || !ntfs::IsFileRecord(record)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data)) {
    // No unnamed data here: a file without contents, unless its size or an attribute list says that
    // the data lies elsewhere.
    if (size != 0 || HasAttributeList(record)) save::CountUnreadable(userSave);
    return 0;
  }
  return data.nonResident ? SaveNonResident(record, data, target, size, userSave)
                          : SaveResident(record, data, target, size, userSave);
}

uint32_t WriteRecoveredFile(const std::u16string& path, uint64_t size, uint16_t userSave) {
  SkipCurrentFileFlag = 0;
  save::FileProgress progress(userSave);
  if (userSave == 1) {
    if (SaveAbortFlag == 1) return 0;
    progress.Show(0, size);
  }
  const uint32_t perCluster = CurrentFileSystem.sectorsPerCluster;
  if (!save::UsableClusterSize(perCluster)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(path, userSave);
  if (!file.Create()) return 0;
  std::vector<uint8_t> buffer;
  uint64_t written = 0;
  bool stopped = false;
  bool failed = false;
  for (size_t r = 0; r < DataRunList.size() && written < size && !stopped && !failed; ++r) {
    const DataRun& run = DataRunList[r];
    for (uint32_t i = 0; i < run.length && written < size; ++i) {
      if (save::SaveInterrupted()) {
        stopped = true;
        break;
      }
      progress.Show(written, size);
      const uint64_t sector = CurrentFileSystem.clusterBase + (uint64_t{run.startCluster} + i) * perCluster;
      const save::ClusterSource source = run.sparse ? save::ClusterSource::kSparse : save::ClusterSource::kRead;
      if (!save::CopyCluster(file, source, sector, perCluster, size, written, buffer)) {
        failed = true;
        break;
      }
    }
  }
  // Runs that end before the file does leave its tail unknown: zeros, and the file is damaged.
  if (!stopped && !failed && written < size) {
    file.MarkDamaged();
    file.AppendZeros(size - written);
  }
  return file.Finish(stopped) ? 1 : 0;
}
