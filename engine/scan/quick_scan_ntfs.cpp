// QuickScanNtfs: every file record of the MFT, in record-number order, through the map of the MFT's own
// extents.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/file_records.h"
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

using ntfs::Record;

constexpr uint32_t kRecordsPerRead = 64;
// Records without a file between two showings of the progress.
constexpr uint32_t kProgressEveryRecords = 20;

using os::Decimal;

bool MapMft() {
  const FileSystemRecord& fs = CurrentFileSystem;
  return MapMftFromRecordOrMirror(fs.clusterBase, ntfs::CurrentDevicePath(), fs.mftSector, fs.mftMirrorSector,
                                  fs.sectorsPerCluster, CurrentRangeSectors().end) == 1;
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
    const size_t bytes = size_t{MftMapRecordSectors} * kSectorSize;
    const size_t at = size_t{n - blockFirst_} * bytes;
    std::copy(block_.begin() + static_cast<std::ptrdiff_t>(at), block_.begin() + static_cast<std::ptrdiff_t>(at + bytes),
              out.begin());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(bytes), out.end(), 0);
    // A record of another size is no record of this MFT (ReadMftRecordByNumber).
    if (ntfs::MftRecordSectors(out.data()) != MftMapRecordSectors) return false;
    ntfs::FixUpRecord(out.data());
    *sector = blockSector_ + (n - blockFirst_) * MftMapRecordSectors;
    return true;
  }

 private:
  // Reads the records from n on that lie side by side in one extent, at most kRecordsPerRead.
  void Load(uint32_t n) {
    blockCount_ = 0;
    const uint32_t perRecord = MftMapRecordSectors;
    uint64_t offset = uint64_t{n} * perRecord;
    for (const MftExtent& extent : MftMap) {
      if (offset >= extent.sectorCount) {
        offset -= extent.sectorCount;
        continue;
      }
      if (extent.sparse) return;
      const uint64_t records = std::min<uint64_t>(kRecordsPerRead, (extent.sectorCount - offset) / perRecord);
      const uint64_t first = extent.startSector + offset;
      const uint32_t sectors = static_cast<uint32_t>(records * perRecord);
      if (records == 0 || !range_.Holds(first, sectors)) return;
      records::GuardAllocation([&] { block_.resize(size_t{sectors} * kSectorSize); });
      if (!ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), first, sectors, block_.data())) return;
      blockFirst_ = n;
      blockCount_ = static_cast<uint32_t>(records);
      blockSector_ = static_cast<uint32_t>(first);
      return;
    }
  }

  // A record whose sectors lie in two extents.
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

void ShowRow(host::SecondDisplayRow row, const std::u16string& text) {
  if (host::SecondDisplayHost* panel = host::ScanProgressPanel()) panel->SetRowValue(row, text);
}

void ListFolder(const FileNameInfo& name, uint32_t recordNumber, uint8_t flags) {
  // The root folder is the top of the tree, not a folder in it.
  if (name.name == u".") return;
  AppendNtfsFolder(name.name, recordNumber, name.parent, name.creation, name.modification, host::kNoTreeKey,
                   flags == ntfs::kDeletedDirectory ? 1 : 0);
  if (ScanCounters.folderCount % 20 == 0) ShowRow(host::kFoldersFoundRow, Decimal(ScanCounters.folderCount));
}

// A file is listed under each of its names (hard links), in the folder each names.
void ListFile(ntfs::FileRecordReader& files, const Record& record, uint32_t recordNumber, uint32_t sector,
              const FileNameInfo& name, uint8_t flags) {
  const uint64_t size = files.ReadSize(record, recordNumber);
  const uint32_t deleted = flags == ntfs::kDeletedFile ? 1 : 0;
  NtfsEntryRecord& first =
      AppendNtfsEntry(sector, name.name, recordNumber, name.parent, name.creation, name.modification, deleted, size);
  for (const FileNameInfo& link : files.ReadFurtherNames(record, recordNumber, name)) {
    AppendNtfsEntry(sector, link.name, recordNumber, link.parent, link.creation, name.modification, deleted, size).linked = true;
    first.linked = true;
    ++ScanCounters.entryCount;
  }
  ScanCounters.totalBytes += size;
  ++ScanCounters.entryCount;
  if (ScanCounters.entryCount % 50 == 0) {
    ShowRow(host::kFilesFoundRow, Decimal(ScanCounters.entryCount));
    ShowRow(host::kLastFileFolderRow, name.name);
  }
}

// Lists one file record as a folder or a file; false when it has no name or is an extension record whose
// base record stands for the file.
bool ListRecord(ntfs::FileRecordReader& files, const Record& record, uint32_t recordNumber, uint32_t sector) {
  if (files.ListedByItsBase(record, recordNumber)) return false;
  files.Gather(record, recordNumber);
  FileNameInfo name;
  if (!files.ReadName(record, recordNumber, &name)) return false;
  const uint8_t flags = record[22];
  if (flags == ntfs::kDirectoryInUse || flags == ntfs::kDeletedDirectory) {
    ListFolder(name, recordNumber, flags);
  } else {
    ListFile(files, record, recordNumber, sector, name, flags);
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
  const uint32_t perRecord = MftMapRecordSectors;
  const uint64_t records = std::min<uint64_t>(MftMapRecordCount(), uint64_t{1} << 32);
  MftRecords mft;
  const FileSystemRecord& fs = CurrentFileSystem;
  const RangeSectors range = CurrentRangeSectors();
  ntfs::FileRecordReader files(ntfs::ClusterSpace{ntfs::CurrentDevicePath(), fs.clusterBase, fs.sectorsPerCluster, range.end},
                               range.first, range.end >= perRecord ? range.end - perRecord : 0);
  Record record;
  for (uint64_t n = 0; n < records; ++n) {
    if (ScanStopRequested()) return;
    const uint32_t number = static_cast<uint32_t>(n);
    uint32_t sector = 0;
    bool listed = false;
    if (mft.Read(number, record, &sector)) {
      ShowRow(host::kCurrentSectorRow, Decimal(sector));
      listed = ntfs::IsFileRecord(record.data()) && ListRecord(files, record, number, sector);
    }
    // The bar moves with the record number, also over a stretch of records that hold no file.
    if (listed || number % kProgressEveryRecords == 0) {
      ShowReadingProgress(number, (n + 1) * perRecord, mftSectors);
    }
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
