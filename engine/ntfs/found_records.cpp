#include "engine/ntfs/found_records.h"

#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/ntfs_records.h"

namespace {

constexpr uint32_t kRootRecord = 5;
constexpr uint32_t kExtendRecord = 11;

// A folder's own MFT number: the one a record of NTFS 3.1 keeps in its header, else the parent of the first entry
// of its index (0 when that is empty: the analysis then takes it from its parent's index entries). Two folders
// of one name, parent and creation time (one deleted, one made again) are told apart only by the header.
uint32_t FolderRecordNumber(const uint8_t* record, const std::u16string& name) {
  if (name == u".") return kRootRecord;
  if (name == u"$Extend") return kExtendRecord;
  uint32_t own = 0;
  if (ntfs::OwnRecordNumber(record, &own) && own != 0) return own;
  return IndexRootOwner(record);
}

}  // namespace

uint32_t ReadFoundFileRecord(uint32_t sector) {
  uint8_t record[ntfs::kMaxMftRecordSize];
  bool intact = false;
  if (!ntfs::ReadMftRecord(ntfs::CurrentDevicePath(), sector, record, &intact) || !ntfs::IsFileRecord(record)) {
    return 0;
  }
  // A record whose later sectors lie in the next extent of a fragmented MFT is read here with sectors that
  // are not its own: its name and size are read again through the MFT's map once a file system is chosen.
  const bool torn = !intact;
  FileNameInfo name;
  const bool named = ReadPreferredFileName(record, name) == 1;
  const uint16_t flags = ntfs::RecordFlags(record);
  const bool file = flags == ntfs::kDeletedFile || flags == ntfs::kFileInUse;
  const bool folder = flags == ntfs::kDeletedDirectory || flags == ntfs::kDirectoryInUse;
  // A folder's name moves to an extension record when its own record fills (a full index root, renamed): the
  // folder is kept without a name here, and named through the MFT's map; the extension record is no file.
  if (named && file && name.directory && ntfs::BaseRecordNumber(record) != 0) return 0;
  if (!named && torn && file) {
    AppendNtfsFoundEntry(u"", sector, 0, 0, 0, 0, 0, 0, flags == ntfs::kDeletedFile ? 1 : 0);
    return 1;
  }
  if (!named && !folder) return 0;
  if (file) {
    uint64_t size = 0;
    ReadDataSize(sector, size, record, 0);
    AppendNtfsFoundEntry(name.name, sector, name.parent, 0, name.creation, name.modification, size, 0,
                         flags == ntfs::kDeletedFile ? 1 : 0);
    return 1;
  }
  if (folder) {
    AppendNtfsFolderCandidate(name.name, sector, name.parent, FolderRecordNumber(record, name.name), name.creation,
                              name.modification, IndexAllocationStart(record), flags == ntfs::kDirectoryInUse ? 0 : 1)
        .recordSectors = ntfs::MftRecordSectors(record);
    return 1;
  }
  return 0;
}
