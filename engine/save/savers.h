// Saving recovered files: the files and folders ticked in the results tree and list are copied out of
// the source into the folder the user chose, with their folder structure and time stamps. Data is read
// through ReadSectors by the file system's own allocation (FAT cluster chains, NTFS data runs) or, for
// File Trace, as a fixed run of sectors from where the signature was found. The source is only read;
// nothing is written outside the chosen folder (every name read off the image passes
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
// order (their names are the nodes' texts, their ids from the folder records holding the nodes), then save
// the folder's own files and those of each subfolder, until the save is stopped.
void SaveFatFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                   const std::u16string& folderName);
void SaveNtfsFolder(host::TreeKey node, uint32_t folderId, const std::u16string& destination,
                    const std::u16string& folderName);
namespace save {
// A folder saved whole: its node, its id, the folder it is made in and its name.
struct WholeFolder {
  host::TreeKey node = host::kNoTreeKey;
  uint32_t folderId = 0;
  std::u16string destination;
  std::u16string name;
};
}  // namespace save
// Several folders saved whole, as SaveFatFolder saves one; every folder of all of them is made before any
// file is written.
void SaveFatFolders(const std::vector<save::WholeFolder>& folders);
void SaveNtfsFolders(const std::vector<save::WholeFolder>& folders);

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
// NTFS: the unnamed data attribute of the MFT record at mftSector (resident, or along its data runs),
// stamped with SetNtfsFileTime. A record that fails its update-sequence check, and a deleted file (deleted 1)
// a cluster of which $Bitmap marks in use again, are written but counted damaged.
uint32_t SaveNtfsItems(const std::u16string& destination, const std::u16string& fileName, uint64_t size,
                       uint32_t mftSector, uint32_t userSave, uint32_t deleted);
// File Trace: LargeFileSize MB from startSector. Its time stamps are those of its creation. While
// LargeFileSize is 0 nothing is written: a user's file counts as not written.
uint32_t SaveFileTraceItem(const std::u16string& destination, uint32_t userSave, uint32_t startSector,
                           const std::u16string& fileName);

// Writes size bytes of a non-resident NTFS file to path from the runs of DataRunList (holes as zeros), at
// most writable bytes (what the runs can give), the bytes from valid (its valid data length) on as zeros;
// 1 when written. A file that ends before its size (its runs end first or leave the volume, or writable is
// less) counts as damaged, and so does one known damaged before (damaged: its record torn, or its
// clusters taken again since it was deleted), whose bytes are still written for the user to look at.
uint32_t WriteRecoveredFile(const std::u16string& path, uint64_t size, uint64_t writable, uint64_t valid,
                            uint16_t userSave, bool damaged = false);

// The preview's copy of a File Trace hit: LargeFileSize MB from startSector to folder\fileName, without
// filters, policies, progress or time stamp, and without asking when it cannot be written. 1 when
// written, else 0 (also while LargeFileSize is 0).
uint32_t SaveLargeFile(const std::u16string& folder, const std::u16string& fileName, uint32_t startSector);

// Time stamps from SaveFileTime. NTFS: creation, last access and last write all set to the file time.
// FAT: the date word's year, month and day with the current time of day (UTC) for all three; a date
// that names no day (month 0, day 31 of a 30-day month ...) leaves the times as they are. A file that
// cannot be opened keeps its times.
void SetNtfsFileTime(const std::u16string& path);
void SetFatFileDate(const std::u16string& path);
// year = (date >> 9) + 1980, month = (date >> 5) & 15, day = date & 31.
void DecodeFatDate(uint16_t date, uint16_t& year, uint16_t& month, uint16_t& day);
