// Saving one NTFS file from its MFT record: resident data, or along the data runs.
#include <algorithm>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/reparse_point.h"
#include "engine/ntfs/volume_records.h"
#include "engine/records/file_system_range.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/ntfs_claims.h"
#include "engine/save/ntfs_file_copy.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_progress.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"

namespace {

// Resident data begins this far after its attribute's start.
constexpr uint64_t kResidentDataOffset = 24;
// The compression of a value: 0 when none; else log2 of the clusters of its LZNT1 units, the usual 4 (16 clusters)
// among kMinUnitBits .. kMaxUnitBits, of at most kMaxUnitBytes.
constexpr uint16_t kCompressionMask = 0x00FF;
constexpr uint16_t kLznt1 = 0x0001;
constexpr uint8_t kMinUnitBits = 1;
constexpr uint8_t kMaxUnitBits = 8;
constexpr uint64_t kMaxUnitBytes = 4 * 1024 * 1024;
constexpr uint8_t kUnknownCompression = 0xFF;

bool HasAttributeList(const uint8_t* record) {
  ntfs::Attribute list;
  return ntfs::FindAttribute(record, ntfs::kAttributeList, "", &list);
}

// What is known of a file before its bytes are read.
struct FileState {
  uint32_t mftSector = 0;
  uint64_t size = 0;
  uint32_t userSave = 0;
  bool deleted = false;
  // Its record failed the update-sequence check (a write reached one of its sectors only): what the record
  // holds is half of one version and half of another, never the file whole.
  bool torn = false;
  // A reparse point other than a link's: the data may be kept elsewhere (a cloud provider, the chunk store of
  // deduplication, other storage), and a hole in it is a part not on the disk, not zeros.
  bool placeholder = false;
  // Sectors of the clusters its runs count: the volume's, or for a record of an earlier MFT (one a quick format
  // replaced) those it was written with.
  uint32_t sectorsPerCluster = 0;
};

// The volume's clusters, of perCluster sectors, as the savers may read them: none past its end.
ntfs::ClusterSpace VolumeSpace(uint32_t perCluster) {
  return {ntfs::CurrentDevicePath(), CurrentFileSystem.clusterBase, perCluster,
          FileSystemEndSector(CurrentFileSystem, ScanRange)};
}

// Whether the record at sector is listed as one of an earlier MFT of the chosen volume (one a quick format replaced).
bool EarlierRecord(uint32_t sector) {
  if (RecoveryMode == records::kExtensiveScan) {
    const NtfsFoundEntryRecord* entry = FindNtfsFoundEntry(sector);
    return entry != nullptr && entry->earlier;
  }
  const NtfsEntryRecord* entry = FindNtfsEntry(sector);
  return entry != nullptr && entry->earlier;
}

// The sectors per cluster the runs of the record at sector count in, data being its unnamed data attribute.
uint32_t RecordClusterSectors(uint32_t sector, const uint8_t* record, const ntfs::Attribute& data) {
  return save::AttributeClusterSectors(record, data, EarlierRecord(sector));
}

uint32_t SaveResident(const uint8_t* record, const ntfs::Attribute& data, const std::u16string& target,
                      const FileState& state) {
  const uint64_t start = data.offset + kResidentDataOffset;
  const uint64_t size = state.size;
  // The last byte of the record that resident data may reach.
  const uint64_t last = data.recordSize - 1;
  if (start > last || size > last - start) {
    save::CountUnreadable(state.userSave);
    return 0;
  }
  save::RecoveredFile file(target, state.userSave);
  if (!file.Create()) return 0;
  if (state.torn) file.MarkDamaged();
  file.Append(record + start, size);
  if (!file.Finish(false)) return 0;
  SetNtfsFileTime(target);
  return 1;
}

// No data (no data attribute, or an empty run list): right for an empty file, which is written empty, a
// loss for any other (a placeholder's data kept elsewhere).
uint32_t SaveWithoutRuns(const std::u16string& target, const FileState& state) {
  if (state.size != 0) {
    if (state.placeholder) {
      save::CountDataElsewhere(state.userSave);
    } else {
      save::CountUnreadable(state.userSave);
    }
    return 0;
  }
  save::RecoveredFile file(target, state.userSave);
  if (!file.Create()) return 0;
  if (state.torn) file.MarkDamaged();
  if (!file.Finish(false)) return 0;
  SetNtfsFileTime(target);
  return 1;
}

// The compression of a data part whose clusters hold perCluster sectors: 0 for none, else log2 of the clusters of its
// LZNT1 units; kUnknownCompression for another kind, or units no volume has.
uint8_t CompressionUnitOf(const ntfs::Attribute& data, uint32_t perCluster) {
  const uint16_t kind = data.flags & kCompressionMask;
  if (kind == 0) return 0;
  const uint64_t clusterBytes = uint64_t{perCluster} * kSectorSize;
  const uint8_t unit = data.compressionUnit;
  if (kind != kLznt1 || unit < kMinUnitBits || unit > kMaxUnitBits || (clusterBytes << unit) > kMaxUnitBytes) {
    return kUnknownCompression;
  }
  return unit;
}

bool IsUsableDataPart(const ntfs::Attribute& data, uint32_t perCluster) {
  // Encrypted clusters, and clusters compressed in a way not known here, are not the file's bytes: writing them
  // would pass off garbage as the recovered file.
  return data.nonResident && (data.flags & ntfs::kAttributeEncrypted) == 0 &&
         CompressionUnitOf(data, perCluster) != kUnknownCompression &&
         data.offset + ntfs::kStartingVcnOffset + 8 <= data.recordSize;
}

uint64_t StartingVcn(const uint8_t* record, const ntfs::Attribute& data) {
  return LoadLe64(record + data.offset + ntfs::kStartingVcnOffset);
}

// What the part of the unnamed data attribute that starts the value says of all of it.
struct ValueHead {
  uint64_t valid = 0;       // its valid data length
  uint8_t compression = 0;  // CompressionUnitOf
};

// The runs of the part of the unnamed data attribute that extension record `number` holds, which must
// belong to the file whose base record lies at baseSector, start at cluster startingVcn of the value and be
// compressed as head says (clusters of perCluster sectors); the part that starts the value sets *head. False when the
// record cannot be read whole or is not that part; runs then holds nothing usable.
bool ExtensionRuns(uint32_t number, uint32_t baseSector, uint64_t startingVcn, uint32_t perCluster,
                   std::vector<DataRun>* runs, ValueHead* head) {
  uint8_t record[ntfs::kMaxMftRecordSize] = {};
  bool intact = false;
  if (!ReadMftRecordByNumber(ntfs::CurrentDevicePath(), number, record, &intact) || !intact ||
      !ntfs::IsFileRecord(record)) {
    return false;
  }
  // A record freed and taken by another file would give that file's clusters.
  uint32_t owner = 0;
  if (!MftRecordToSector(ntfs::BaseRecordNumber(record), owner) || owner != baseSector) return false;
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data) || !IsUsableDataPart(data, perCluster) ||
      StartingVcn(record, data) != startingVcn) {
    return false;
  }
  if (startingVcn == 0) {
    head->valid = data.initializedSize;
    head->compression = CompressionUnitOf(data, perCluster);
  } else if (CompressionUnitOf(data, perCluster) != head->compression) {
    return false;
  }
  return ntfs::DecodeRunList(record, data.runListStart, data.End(), *runs) == ntfs::RunListStatus::kComplete;
}

// A data attribute whose run list outgrew its record goes on in the records that the base record's
// attribute list names. Appends their runs to DataRunList in the order of the value, each part starting
// where the runs before it end; the first part that cannot be read, or leaves a gap or an overlap, ends
// the walk, and the file's tail is then lost (zeros, counted damaged). A list that outgrew the base record
// is read from its clusters; one that cannot be read leaves the tail lost in the same way. When the part that
// starts the value lies in an extension record, *head gets what its header says. Clusters hold perCluster sectors.
void AppendListedDataParts(const uint8_t* base, uint32_t baseSector, uint32_t perCluster, ValueHead* head) {
  std::vector<uint8_t> list;
  // A hole in a list is damage, not entries.
  if (!ntfs::ReadAttributeListValue(base, VolumeSpace(perCluster), ntfs::Holes::kRefused, &list)) return;
  uint64_t nextVcn = 0;
  for (const DataRun& run : DataRunList) nextVcn += run.length;
  std::vector<DataRun> runs;
  const auto listSize = static_cast<uint32_t>(list.size());  // at most ntfs::kMaxAttributeListBytes
  ntfs::WalkAttributeListEntryFields(list.data(), listSize, [&](const ntfs::AttributeListEntry& entry) {
    if (entry.type != ntfs::kDataAttribute || entry.nameLength != 0) return true;
    uint32_t sector = 0;
    if (!MftRecordToSector(entry.recordNumber, sector)) return false;
    if (sector == baseSector) return true;  // the base record's own part, already decoded
    runs.clear();
    if (entry.startingVcn != nextVcn ||
        !ExtensionRuns(entry.recordNumber, baseSector, nextVcn, perCluster, &runs, head)) {
      return false;
    }
    for (const DataRun& run : runs) {
      DataRunList.Append(run);
      nextVcn += run.length;
    }
    return true;
  });
}

// How much of a file its runs can give: as far as they reach (a hole counts, so a sparse file keeps its size),
// and for a file without holes no more than its volume holds. A damaged record's size can claim far more. Clusters
// hold perCluster sectors.
uint64_t WritableLength(uint32_t perCluster) {
  uint64_t clusters = 0;
  bool sparse = false;
  for (const DataRun& run : DataRunList) {
    clusters += run.length;
    sparse = sparse || run.sparse;
  }
  const uint64_t reach = clusters * perCluster * kSectorSize;
  if (sparse) return reach;
  const uint64_t end = FileSystemEndSector(CurrentFileSystem, ScanRange);
  const uint64_t base = CurrentFileSystem.clusterBase;
  return std::min(reach, end > base ? (end - base) * kSectorSize : 0);
}

// True when a cluster that holds the file's first `bytes` bytes is marked in use by $Bitmap: a deleted file's
// clusters were freed with it, so one in use again holds another file's bytes now. The file's clusters hold
// perCluster sectors; the bitmap counts the volume's own, which one of an earlier MFT's size may meet in part.
bool ClustersTakenAgain(uint64_t bytes, uint32_t perCluster) {
  const uint32_t own = CurrentFileSystem.sectorsPerCluster;
  ntfs::ClusterBitmap bitmap(VolumeSpace(own));
  if (!bitmap.known()) return false;
  return save::AnyClusterHeld(bytes, perCluster, [&](uint64_t first, uint64_t count) {
    const uint64_t from = first * perCluster / own;
    const uint64_t to = ((first + count) * perCluster + own - 1) / own;
    return bitmap.AnyInUse(from, to - from);
  });
}

// True when a hole of the runs (clusters of perCluster sectors) lies among the clusters of the file's first `bytes`
// bytes.
bool HoleWithin(uint64_t bytes, uint32_t perCluster) {
  const uint64_t clusterBytes = uint64_t{perCluster} * kSectorSize;
  uint64_t reached = 0;
  for (const DataRun& run : DataRunList) {
    if (reached >= bytes) break;
    if (run.sparse && run.length != 0) return true;
    reached += uint64_t{run.length} * clusterBytes;
  }
  return false;
}

// data: the base record's unnamed data attribute, or null when only its attribute list can give the runs.
uint32_t SaveNonResident(const uint8_t* record, const ntfs::Attribute* data, const std::u16string& target,
                         const FileState& state) {
  const uint32_t perCluster = state.sectorsPerCluster;
  if (data != nullptr && !IsUsableDataPart(*data, perCluster)) {
    save::CountUnreadable(state.userSave);
    return 0;
  }
  uint32_t saved = 0;
  if (data != nullptr && DecodeDataRuns(data->End(), record, data->offset) != 1) {
    save::CountUnreadable(state.userSave);
  } else {
    if (data == nullptr) DataRunList.Free();
    // How far the file's bytes were written (its valid data length), and how they are compressed: the header of
    // the part that starts the value says so, in the base record or in the extension record that holds it.
    const bool starts = data != nullptr && StartingVcn(record, *data) == 0;
    ValueHead head{starts ? data->initializedSize : state.size,
                   starts ? CompressionUnitOf(*data, perCluster) : uint8_t{0}};
    // Parts in other records follow only a base part that starts the value.
    if (data == nullptr || starts) AppendListedDataParts(record, state.mftSector, perCluster, &head);
    const uint64_t wholeValid = std::min(state.size, head.valid);
    if (state.placeholder && (DataRunList.empty() || (head.compression == 0 && HoleWithin(wholeValid, perCluster)) ||
                              wholeValid < state.size)) {
      save::CountDataElsewhere(state.userSave);  // what is not on the disk was never written to it
    } else if (!DataRunList.empty()) {
      const uint64_t writable = WritableLength(perCluster);
      const uint64_t held = std::min({state.size, head.valid, writable});
      // A deleted file's clusters that the volume gives to a file in use, or that another record no longer in use
      // claims with more right, hold another file's bytes.
      const bool damaged =
          state.torn || (state.deleted && (ClustersTakenAgain(held, perCluster) ||
                                           (state.userSave == 1 &&
                                            save::NtfsFileGivesWay(state.mftSector, held, perCluster))));
      saved = WriteRecoveredFile(target, state.size, writable, head.valid, static_cast<uint16_t>(state.userSave),
                                 damaged, head.compression, perCluster);
      if (saved == 1) SetNtfsFileTime(target);
    } else if (data != nullptr) {
      saved = SaveWithoutRuns(target, state);
    } else {
      save::CountUnreadable(state.userSave);  // an attribute list but no part of the data could be read
    }
  }
  DataRunList.Free();
  return saved;
}

}  // namespace

uint32_t SaveNtfsItems(const std::u16string& destination, const std::u16string& fileName, uint64_t size,
                       uint32_t mftSector, uint32_t userSave, uint32_t deleted) {
  std::u16string target, name;
  if (!save::StartFile(destination, fileName, size, userSave, deleted, save::DeletedPolicy::kApplies, &target, &name)) {
    return 0;
  }
  if (userSave == 1) save::ShowFileStarted(target, name);
  uint8_t record[ntfs::kMaxMftRecordSize] = {};
  bool intact = false;
  // Through the MFT's map, as the scan read it: a record may straddle two extents of a fragmented MFT.
  if (ReadMftRecordAtSector(ntfs::CurrentDevicePath(), mftSector, record, &intact) != 1 ||
      !ntfs::IsFileRecord(record)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  ntfs::ReparsePoint reparse;
  const bool reparsed = ntfs::ReadReparsePoint(record, &reparse);
  // A link holds no data of its own (an empty file saved in its place would pass for one): the report names it
  // with the place it points to.
  if (reparsed && ntfs::IsLinkReparseTag(reparse.tag)) {
    save::CountLink(userSave, target, reparse.target);
    return 0;
  }
  // Compressed by Windows' own file compression: the unnamed stream holds holes only, the bytes are elsewhere.
  if (reparsed && reparse.tag == ntfs::kWofReparseTag && size != 0) {
    save::CountDataElsewhere(userSave);
    return 0;
  }
  FileState state{mftSector, size, userSave, deleted != 0, !intact, reparsed, CurrentFileSystem.sectorsPerCluster};
  const NtfsRecordTimes times(record);
  ntfs::Attribute data;
  if (ntfs::FindAttribute(record, ntfs::kDataAttribute, "", &data)) {
    state.sectorsPerCluster = RecordClusterSectors(mftSector, record, data);
    return data.nonResident ? SaveNonResident(record, &data, target, state) : SaveResident(record, data, target, state);
  }
  // No unnamed data here: its parts may lie in the records an attribute list names; without a list, a
  // file without contents, written empty, unless its size says otherwise.
  if (HasAttributeList(record)) return SaveNonResident(record, nullptr, target, state);
  return SaveWithoutRuns(target, state);
}

bool NtfsFolderLink(uint32_t recordNumber, std::u16string* target) {
  if (recordNumber == records::kNtfsRootRecord || recordNumber == records::kLostDirId) return false;
  uint8_t record[ntfs::kMaxMftRecordSize] = {};
  ntfs::ReparsePoint reparse;
  // A record taken by a file since is no longer the folder's.
  if (ReadMftRecordByNumber(ntfs::CurrentDevicePath(), recordNumber, record) != 1 || !ntfs::IsFileRecord(record) ||
      (ntfs::RecordFlags(record) & ntfs::kDeletedDirectory) == 0 || !ntfs::ReadReparsePoint(record, &reparse) ||
      !ntfs::IsLinkReparseTag(reparse.tag)) {
    return false;
  }
  *target = std::move(reparse.target);
  return true;
}

uint32_t WriteRecoveredFile(const std::u16string& path, uint64_t size, uint64_t writable, uint64_t valid,
                            uint16_t userSave, bool damaged, uint8_t compressionUnit, uint32_t sectorsPerCluster) {
  save::FileProgress progress(userSave);
  if (userSave == 1) {
    SkipCurrentFileFlag = 0;
    if (SaveStopRequested()) return 0;
    progress.Show(0, size);
  }
  if (!save::UsableClusterSize(sectorsPerCluster)) {
    save::CountUnreadable(userSave);
    return 0;
  }
  save::RecoveredFile file(path, userSave);
  if (!file.Create()) return 0;
  if (damaged) file.MarkDamaged();
  const save::FileCopy copy{file, size, std::min(size, writable), valid, userSave, progress, sectorsPerCluster};
  const save::CopyResult result =
      compressionUnit == 0 ? save::CopyRuns(copy) : save::CopyCompressedUnits(copy, compressionUnit);
  // Runs that end before the file does, or leave the volume, leave its tail unknown: the file ends there,
  // damaged. Its size is not padded with zeros: a damaged size would fill the destination.
  if (!result.stopped && !result.failed && result.written < size) file.MarkDamaged();
  return file.Finish(result.stopped) ? 1 : 0;
}
