// QuickScanNtfs: every file record of the MFT, in record-number order, through the map of the MFT's own
// extents.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_records.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/range_sectors.h"
#include "engine/scan/results_tree_build.h"
#include "engine/scan/scan_end.h"
#include "platform/os/os.h"

namespace {

using Record = std::array<uint8_t, ntfs::kMftRecordSize>;

constexpr uint32_t kRecordsPerRead = 64;

using os::Decimal;

bool MapMft() {
  const FileSystemRecord& fs = CurrentFileSystem;
  return MapMftFromRecordOrMirror(fs.clusterBase, ntfs::CurrentDevicePath(), fs.mftSector, fs.mftMirrorSector,
                                  fs.sectorsPerCluster) == 1;
}

// The records of the MFT by number, read a block at a time where the map keeps them side by side.
class MftRecords {
 public:
  MftRecords() : range_(CurrentRangeSectors()) {}

  // Record n with its fix-up applied, and the sector where it begins; false when it lies in a hole, past
  // the range, or cannot be read.
  bool Read(uint32_t n, Record& out, uint32_t* sector) {
    if (n < blockFirst_ || n >= blockFirst_ + blockCount_) Load(n);
    if (n < blockFirst_ || n >= blockFirst_ + blockCount_) return ReadAlone(n, out, sector);
    const size_t at = size_t{n - blockFirst_} * ntfs::kMftRecordSize;
    std::copy(block_.begin() + static_cast<std::ptrdiff_t>(at),
              block_.begin() + static_cast<std::ptrdiff_t>(at + ntfs::kMftRecordSize), out.begin());
    ApplyUpdateSequence(out.data(), ntfs::kMftRecordSize);
    *sector = blockSector_ + (n - blockFirst_) * ntfs::kMftRecordSectors;
    return true;
  }

 private:
  // Reads the records from n on that lie side by side in one extent, at most kRecordsPerRead.
  void Load(uint32_t n) {
    blockCount_ = 0;
    uint64_t offset = uint64_t{n} * ntfs::kMftRecordSectors;
    for (const MftExtent& extent : MftMap) {
      if (offset >= extent.sectorCount) {
        offset -= extent.sectorCount;
        continue;
      }
      if (extent.sparse) return;
      const uint64_t records = std::min<uint64_t>(kRecordsPerRead, (extent.sectorCount - offset) / ntfs::kMftRecordSectors);
      const uint64_t first = extent.startSector + offset;
      const uint32_t sectors = static_cast<uint32_t>(records * ntfs::kMftRecordSectors);
      if (records == 0 || !range_.Holds(first, sectors)) return;
      records::GuardAllocation([&] { block_.resize(size_t{sectors} * kSectorSize); });
      if (!ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), first, sectors, block_.data())) return;
      blockFirst_ = n;
      blockCount_ = static_cast<uint32_t>(records);
      blockSector_ = static_cast<uint32_t>(first);
      return;
    }
  }

  // A record whose two sectors lie in two extents.
  bool ReadAlone(uint32_t n, Record& out, uint32_t* sector) {
    if (MftRecordToSector(n, *sector) != 1 || !range_.Holds(*sector)) return false;
    return ReadMftRecordByNumber(ntfs::CurrentDevicePath(), n, out.data()) == 1;
  }

  RangeSectors range_;
  std::vector<uint8_t> block_;
  uint32_t blockFirst_ = 0;
  uint32_t blockCount_ = 0;
  uint32_t blockSector_ = 0;
};

// AttributeListRecords for the file whose base record is in hand: its own number, then the records its
// attribute list names, each once. A list that outgrew the record is read from its clusters inside the
// scanned range.
void GatherFileRecords(const Record& base, uint32_t baseNumber) {
  AttributeListRecords.Clear();
  AttributeListRecords.Add(baseNumber);
  const FileSystemRecord& fs = CurrentFileSystem;
  const ntfs::ClusterSpace space{ntfs::CurrentDevicePath(), fs.clusterBase, fs.sectorsPerCluster,
                                 CurrentRangeSectors().end};
  ntfs::AddListedRecords(base.data(), space);
}

// The records that hold a file's attributes (AttributeListRecords), each in turn: the one in hand for
// its own number, the others read through the map, when they name it as their base record (one freed and
// taken by another file holds that file's name and size). visit returns true to stop.
template <typename Visit>
void ForEachFileRecord(const Record& own, uint32_t ownNumber, Visit&& visit) {
  Record other;
  for (uint16_t i = 0; i < AttributeListRecords.count && i < kMaxAttributeListRecords; ++i) {
    const uint32_t number = AttributeListRecords.records[i];
    if (number == ownNumber) {
      if (visit(own)) return;
    } else if (ReadMftRecordByNumber(ntfs::CurrentDevicePath(), number, other.data()) == 1 &&
               ntfs::IsFileRecord(other.data()) && ntfs::BaseRecordNumber(other.data()) == ownNumber && visit(other)) {
      return;
    }
  }
}

// The name of the file whose records AttributeListRecords holds: from the first of them that has one.
bool ReadFileName(const Record& record, uint32_t recordNumber, FileNameInfo* name) {
  bool named = false;
  ForEachFileRecord(record, recordNumber, [&](const Record& r) {
    named = ReadPreferredFileName(r.data(), *name) == 1;
    return named;
  });
  return named;
}

// True when the record is an extension record whose base record is listed in its stead: a base record
// that names it in its attribute list and has a name.
bool ListedByItsBase(const Record& record, uint32_t recordNumber) {
  const uint32_t baseNumber = ntfs::BaseRecordNumber(record.data());
  Record base;
  uint32_t baseSector = 0;
  // A base record outside the scanned range is not listed: the extension record stands for the file then.
  if (baseNumber == 0 || baseNumber == recordNumber || MftRecordToSector(baseNumber, baseSector) != 1 ||
      !CurrentRangeSectors().Holds(baseSector, ntfs::kMftRecordSectors) ||
      ReadMftRecordByNumber(ntfs::CurrentDevicePath(), baseNumber, base.data()) != 1 ||
      !ntfs::IsFileRecord(base.data()) || ntfs::BaseRecordNumber(base.data()) != 0) {
    return false;
  }
  GatherFileRecords(base, baseNumber);
  const uint16_t count = std::min<uint16_t>(AttributeListRecords.count, kMaxAttributeListRecords);
  if (std::find(AttributeListRecords.records, AttributeListRecords.records + count, recordNumber) ==
      AttributeListRecords.records + count) {
    return false;
  }
  FileNameInfo name;
  return ReadFileName(base, baseNumber, &name);
}

void ShowRow(host::SecondDisplayRow row, const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetRowValue(row, text);
}

void ListFolder(const FileNameInfo& name, uint32_t recordNumber, uint8_t flags) {
  // The root folder is the top of the tree, not a folder in it.
  if (name.name == u".") return;
  AppendNtfsFolder(name.name, recordNumber, name.parent, name.creation, name.change, host::kNoTreeKey,
                   flags == ntfs::kDeletedDirectory ? 1 : 0);
  if (ScanCounters.folderCount % 20 == 0) ShowRow(host::kFoldersFoundRow, Decimal(ScanCounters.folderCount));
}

// The size that the record's unnamed data attribute gives, when it holds the part that starts the value: a
// later part, in an extension record, gives none.
bool ReadStartingDataSize(const Record& record, uint64_t* size) {
  ntfs::Attribute data;
  if (!ntfs::FindAttribute(record.data(), ntfs::kDataAttribute, "", &data)) return false;
  if (data.nonResident && (data.offset + ntfs::kStartingVcnOffset + 8 > ntfs::kMftRecordSize ||
                           LoadLe64(record.data() + data.offset + ntfs::kStartingVcnOffset) != 0)) {
    return false;
  }
  return ReadDataSize(0, *size, record.data(), 0) == 1;
}

void ListFile(const Record& record, uint32_t recordNumber, uint32_t sector, const FileNameInfo& name, uint8_t flags) {
  uint64_t size = 0;
  ForEachFileRecord(record, recordNumber, [&](const Record& r) { return ReadStartingDataSize(r, &size); });
  AppendNtfsEntry(sector, name.name, recordNumber, name.parent, name.creation, name.change,
                  flags == ntfs::kDeletedFile ? 1 : 0, size);
  ScanCounters.totalBytes += size;
  ++ScanCounters.entryCount;
  if (ScanCounters.entryCount % 50 == 0) {
    ShowRow(host::kFilesFoundRow, Decimal(ScanCounters.entryCount));
    ShowRow(host::kLastFileFolderRow, name.name);
  }
}

// Lists one file record as a folder or a file; false when it has no name or is an extension record whose
// base record stands for the file.
bool ListRecord(const Record& record, uint32_t recordNumber, uint32_t sector) {
  if (ListedByItsBase(record, recordNumber)) return false;
  GatherFileRecords(record, recordNumber);
  FileNameInfo name;
  if (!ReadFileName(record, recordNumber, &name)) return false;
  const uint8_t flags = record[22];
  if (flags == ntfs::kDirectoryInUse || flags == ntfs::kDeletedDirectory) {
    ListFolder(name, recordNumber, flags);
  } else {
    ListFile(record, recordNumber, sector, name, flags);
  }
  return true;
}

void ShowReadingProgress(uint32_t recordNumber, uint64_t sectorsRead, uint64_t mftSectors) {
  host::SecondDisplayHost* panel = host::ScanProgressPanel();
  if (panel == nullptr) return;
  if (recordNumber % 20 == 0) {
    panel->SetStatusText(u"Reading Sector " + Decimal(sectorsRead) + u" Of " + Decimal(mftSectors));
  }
  const uint64_t percent = sectorsRead * 100 / mftSectors;
  panel->SetProgressPos(static_cast<uint32_t>(std::min<uint64_t>(percent, 99)));
}

// Every record of the map, until a stop.
void ReadMft() {
  const uint64_t mftSectors = MftMapSectorCount();
  const uint64_t records = std::min<uint64_t>(mftSectors / ntfs::kMftRecordSectors, uint64_t{1} << 32);
  MftRecords mft;
  Record record;
  for (uint64_t n = 0; n < records; ++n) {
    if (ScanStopRequested()) return;
    const uint32_t number = static_cast<uint32_t>(n);
    uint32_t sector = 0;
    if (!mft.Read(number, record, &sector)) continue;
    ShowRow(host::kCurrentSectorRow, Decimal(sector));
    if (!ntfs::IsFileRecord(record.data())) continue;
    if (ListRecord(record, number, sector)) ShowReadingProgress(number, (n + 1) * ntfs::kMftRecordSectors, mftSectors);
  }
}

}  // namespace

uint32_t QuickScanNtfs() {
  FreeScanRecordLists();
  // The progress divides by the MFT's size: a map that could not be built leaves nothing to scan.
  if (!MapMft()) return 0;
  ReadMft();
  CollectLostNtfsData();
  BuildFolderResults(u"Please wait creating tree...", AddNtfsFolders, records::kNtfsRootRecord,
                     ResultListers.listNtfsFolder);
  return 1;
}
