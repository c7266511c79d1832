// Saving recovered files: the files and folders ticked in the results tree and list are copied out of
// the source into the folder the user chose, with their folder structure and time stamps. Data is read
// through ReadSectors by the file system's own allocation (FAT cluster chains, NTFS data runs) or, for
// File Trace, from the sector where the signature was found to where the file's format ends. The source is
// only read; nothing is written outside the chosen folder (every name read off the image passes
// SafePathComponent). Saving state, the stop and skip flags and the final report: save_state.h.
//
// A user's save (userSave 1) applies the file filters, the deleted-file and duplicate-name policies of
// RecoverySettings, shows its progress in the saving dialog and counts what it achieved in SaveTally.
// The same savers with userSave 0 write the preview's temporary copy (preview_copy.h): they ask nothing,
// leave the save's stop and skip flags alone, and, as a user's save, write nothing while no source is open.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "engine/ntfs/standard_information.h"

// Asks for the destination with the shell's folder browser ("Please select the path to save the
// data", owned by ownerWindow) and sets SaveDestination; empty when cancelled.
void BrowseForSaveFolder(void* ownerWindow = nullptr);

// What a save says, and writes nothing, when no image is open to read the files from.
inline constexpr char16_t kImageNeededText[] =
    u"The files cannot be saved without the disk image they were found on.\r\nOpen that image, load the "
    u"recovery snapshot over it, and save again.";

// Saves what the results list's SaveFolderSet and SaveFileSet hold to SaveDestination: File Trace
// hits, or FAT / NTFS folders (whole) and then single files. A checked id that no record has is passed
// over. Afterwards the list's check sets are emptied, the tree unchecked from its top node and the
// list's marks restored; a save stopped (Stop, or No to a question) keeps them. The caller runs BeginSave before and ReportSaveResult after, unless stopped.
// Without an open image (SourceReadable) it says kImageNeededText, writes nothing, leaves the ticks and
// sets SaveAbortFlag, as a stopped save.
void SaveSelected();

// Saves the single files with these record ids to SaveDestination, as SaveSelected saves the files
// ticked one by one: FAT entries; NTFS entries after a Quick Scan, the entries an Extensive Scan found
// otherwise. Nothing in File Trace. An id that no record has is passed over. The Find dialog's save.
void SaveFileIds(const std::vector<uint32_t>& ids);

// Create the folder destination\folderName (an existing one is used as it is) and its subfolders in tree
// order (their names are the nodes' texts, their ids from the folder records holding the nodes; of a live and a
// deleted folder of one name the live one keeps it), then save the folder's own files and those of each
// subfolder, until the save is stopped.
void SaveFatFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                   const std::u16string& folderName);
void SaveNtfsFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName);
// Save every file whose parent is the folder into destination (a user's save), each with its own time
// stamp, until the save is stopped. FAT: FatEntryList. NTFS: NtfsEntryList after a Quick Scan; after an
// Extensive Scan, NtfsFoundEntryList inside the sector range of CurrentFileSystem.
void SaveFatFolderFiles(uint32_t folderCluster, const std::u16string& destination);
void SaveNtfsFolderFiles(uint32_t folderRecord, const std::u16string& destination);

// The savers of one file: 1 when the file was written, 0 when it was filtered out, passed over by a
// policy, could not be read or written, or the save was stopped (or the file skipped).
// FAT: size bytes along the chain from firstCluster, dated with SetFatFileDate. A live file's chain is the
// first table's that reaches its size (its first clusters), else the longer one, which ends the file
// early; a deleted file's is a chain of exactly its length, else the clusters after its first. No cluster
// outside the volume is read: the file ends before it (not read whole), and a file whose first cluster
// lies there is not written.
uint32_t SaveFatItems(const std::u16string& destination, uint32_t userSave, uint32_t firstCluster, uint32_t size,
                      const std::u16string& fileName, uint32_t deleted);
// NTFS: the unnamed data attribute of the MFT record at mftSector (resident, or along its data runs; a compressed
// one decompressed), stamped with SetNtfsFileTime. A record that fails its update-sequence check, and a deleted file
// (deleted 1) a cluster of which $Bitmap marks in use again, are written but counted damaged. A file whose data is
// not in that attribute, wholly or in part, is not written and counted as such (save::CountDataElsewhere): one
// compressed by Windows into a stream of its own, and one of any other reparse point but a link's whose stream
// holds holes where its data should be (a cloud file kept online, a deduplicated file, one that storage management
// moved or tiered away). A link (a symbolic link, a junction) is not written: the report names it with its target
// (save::CountLink).
uint32_t SaveNtfsItems(const std::u16string& destination, const std::u16string& fileName, uint64_t size,
                       uint32_t mftSector, uint32_t userSave, uint32_t deleted);
// Whether the NTFS folder of record recordNumber is a link (a junction, a symbolic link to a folder, a mounted
// volume), with its target in *target: it holds nothing of its own, and is not made.
bool NtfsFolderLink(uint32_t recordNumber, std::u16string* target);
// File Trace: the file from startSector to where its format ends (engine/trace/trace_formats.h; the hit at
// startSector tells the format, else the file name's extension), at most LargeFileSize MB; a file cut there, or
// whose end its format does not show, is saved at LargeFileSize MB and counted as not read whole. Its time stamps
// are those of its creation. While LargeFileSize is 0 nothing is written: a user's file counts as not written.
uint32_t SaveFileTraceItem(const std::u16string& destination, uint32_t userSave, uint32_t startSector,
                           const std::u16string& fileName);

// Writes size bytes of a non-resident NTFS file to path from the runs of DataRunList (holes as zeros), their
// clusters of sectorsPerCluster sectors (the volume's, or those an earlier MFT of it counted in), at most writable
// bytes (what the runs can give), the bytes from valid (its valid data length) on as zeros; 1 when written. With
// compressionUnit not 0 the runs hold LZNT1 units of 2^compressionUnit clusters (save::CopyCompressedUnits). A file
// that ends before its size (its runs end first or leave the volume, or writable is less) counts as damaged, and so
// does one known damaged before (damaged: its record torn, or its clusters taken again since it was deleted), whose
// bytes are still written for the user to look at.
uint32_t WriteRecoveredFile(const std::u16string& path, uint64_t size, uint64_t writable, uint64_t valid,
                            uint16_t userSave, bool damaged, uint8_t compressionUnit, uint32_t sectorsPerCluster);

// The preview's copy of a File Trace hit: its file, as SaveFileTraceItem reads it, to folder\fileName, without
// filters, policies, progress or time stamp, and without asking when it cannot be written. 1 when
// written, else 0 (also while LargeFileSize is 0).
uint32_t SaveLargeFile(const std::u16string& folder, const std::u16string& fileName, uint32_t startSector);

// Time stamps: the times the volume keeps for the file. NTFS: creation, last access and last write from the
// standard information of the record an NtfsRecordTimes holds on this thread; without one (or when the record
// has none), all three SaveFileTime. FAT: the last write date (SaveFileTime's date word) and time, the
// creation date and time and the last access date that SetFatSaveTimes took for this file, each a local time
// of its volume; a creation or access date the entry lacks (0) is the write time's, and a file whose dates
// SetFatSaveTimes did not give gets its write date at midnight. A write date that names no day (month 0,
// day 31 of a 30-day month ...) leaves the times as they are, and so does a file that cannot be opened.
void SetNtfsFileTime(const std::u16string& path);
void SetFatFileDate(const std::u16string& path);
// SaveFileTime and the other times of the FAT file about to be saved, for the next SetFatFileDate on this
// thread.
struct FatEntryRecord;
void SetFatSaveTimes(const FatEntryRecord& entry);
// While it lives, SetNtfsFileTime on this thread takes the times of this record's standard information.
class NtfsRecordTimes {
 public:
  explicit NtfsRecordTimes(const uint8_t* record);
  ~NtfsRecordTimes();
  NtfsRecordTimes(const NtfsRecordTimes&) = delete;
  NtfsRecordTimes& operator=(const NtfsRecordTimes&) = delete;

 private:
  ntfs::StandardTimes times_;
  const ntfs::StandardTimes* outer_;
};
// year = (date >> 9) + 1980, month = (date >> 5) & 15, day = date & 31.
void DecodeFatDate(uint16_t date, uint16_t& year, uint16_t& month, uint16_t& day);
