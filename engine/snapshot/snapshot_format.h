// The layout of a recovery snapshot file (".vsnp"), little-endian, without padding:
//   header      12 bytes: the mode letter ("D" Quick Scan, "A" Extensive Scan, "R" File Trace) as one
//               UTF-16 unit, the first 7 bytes of UTF-16 "snp4.03", the first 3 bytes of UTF-16 "1.0"
//   parameters  68 bytes: ScanRange and CurrentFileSystem field by field (not its root directory)
//   body        "D"/"A": the folder and file lists of the FAT or NTFS file system (by its type);
//               "R": the selected signatures and the File Trace hits. Each list is a u32 count and
//               that many records; each text is preceded by a u16 length from which its size follows.
//               The two further bytes after the terminator of each hit's extension hold the size in MB
//               its file is saved with (LargeFileSize); they are 0 in snapshots written before the size
//               was kept, which older readers skip as they always did. Likewise a FAT or NTFS file that the
//               user renamed has, in place of the two further bytes after its name's terminator, the name it
//               was found under with its own terminator (the length field counts it).
//   trailer     CurrentDriveIndex (u16), SourceKind (u16)
// A snapshot is read whole into a LoadedSnapshot first, so that a damaged file changes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/snapshot_host.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot_stream.h"

namespace snapshot {

constexpr size_t kHeaderSize = 12;
constexpr size_t kParametersSize = 68;
constexpr char16_t kQuickScanLetter = u'D';
constexpr char16_t kExtensiveScanLetter = u'A';
constexpr char16_t kFileTraceLetter = u'R';

// A selected signature as the snapshot stores it.
struct StoredSignature {
  std::u16string extension;
  std::u16string group;
  std::string signatureHex;
  int32_t length = 0;       // signature length in bytes
  int32_t secondValue = 0;  // the further value of the signature
};

struct LoadedSnapshot {
  char16_t letter = 0;
  ScanRangeRecord scanRange;
  FileSystemRecord fileSystem;  // without its root directory, which a snapshot does not hold
  std::vector<FatFolderRecord> fatFolders;
  std::vector<FatEntryRecord> fatEntries;
  std::vector<NtfsFolderRecord> ntfsFolders;
  std::vector<NtfsEntryRecord> ntfsEntries;
  std::vector<StoredSignature> signatures;
  std::vector<FileTraceHit> hits;
  uint16_t fileTraceSize = 0;  // MB, as the first hit stores it; 0 when the snapshot does not say
  uint16_t driveIndex = 0;
  uint16_t sourceKind = 0;
};

// What the body of the current state would hold, in list order. For an Extensive Scan of NTFS the
// entries are the found entries inside CurrentFileSystem, as the results list shows them
// (InChosenFileSystem).
void WriteHeader(SnapshotOutput& out, char16_t letter);
void WriteParameters(SnapshotOutput& out);
// The "D"/"A" body of the current lists; the NTFS body of an Extensive Scan returns the number of
// entries it stored (the writer keeps it as ScanCounters.entryCount), the others their entry count.
// False when a name is too long for its length field (nothing sensible can be stored).
bool WriteFileSystemBody(SnapshotOutput& out, char16_t letter, uint32_t* storedEntries);
bool WriteFileTraceBody(SnapshotOutput& out);
void WriteTrailer(SnapshotOutput& out);

// Why a snapshot was refused; kNone when it was read.
enum class ReadFault {
  kNone,
  kWrongLetter,    // the first character is not a letter this loader reads
  kWrongSnapshot,  // bytes 2 to 8 differ from the header's
  kWrongVersion,   // bytes 9 to 11 differ from the header's
  kEndsEarly,      // the file ends inside a field
  kCountTooLarge,  // a count asks for more records than the rest of the file can hold
  kLengthTooLarge, // a text length asks for more bytes than the rest of the file holds
  kBadText,        // a text length that cannot be, or a text without its terminator
  kBadTrailer,     // drive index 10 or more, or a source kind other than 1 to 3
  kTrailingBytes,  // bytes after the trailer
};

// The message shown for a fault (empty for kNone).
std::u16string ReadFaultMessage(ReadFault fault);

// Reads a whole snapshot whose letter is one of letters ("DA" or "R"). Progress of each list, record
// number x 100 / count, goes to progress when it is not null.
ReadFault ReadSnapshot(SnapshotInput& in, std::u16string_view letters, LoadedSnapshot* loaded,
                       host::ProgressDialogHost* progress);

}  // namespace snapshot
