// What every saver shares: forming the target from the destination and the name read off the image,
// the filters and policies of a user's save, the saving dialog's texts, reading the source by units, and
// the file being written, whose every write and close is checked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/save/save_names.h"
#include "platform/os/os.h"

namespace save {

// folder, a backslash unless folder already ends in a separator, then component.
std::u16string JoinPath(const std::u16string& folder, std::u16string_view component);

// Whether the deleted-file policy applies to a saver (FAT and NTFS) or not (File Trace).
enum class DeletedPolicy { kApplies, kIgnored };

// The start of every saver: false when the save was stopped or, for a user's save (userSave 1), when a
// filter, the deleted-file policy or the duplicate-name policy passes the file over. Clears
// SkipCurrentFileFlag. On true, *target is where to write and *name the name written there (the name
// made safe, and renamed when the policy says so). A user's file of size bytes moves the saving dialog's
// bar past the files before it. The preview's copy (userSave 0) leaves the save's flags alone, but nothing
// is written while no source is open to read it from.
//
// Within one save no file is overwritten or skipped for another of its name (save_names.h): a live file
// keeps its name beside a deleted one, whichever comes first.
bool StartFile(const std::u16string& destination, std::u16string_view fileName, uint64_t size, uint32_t userSave,
               uint32_t deleted, DeletedPolicy policy, std::u16string* target, std::u16string* name);

// False while the source can be read; else the user is told text (why nothing is written) and true.
bool ToldImageNeeded(const char16_t* text);

// The name a file is written under while the file it replaces still stands at its own name: this, a number,
// then kPartialSuffix, in the same folder.
inline constexpr char16_t kPartialPrefix[] = u"~dorvane-";
inline constexpr char16_t kPartialSuffix[] = u".partial";

// Whether a user's save writes a file of this name (deleted 1: a deleted file) at all: the file filters and,
// where it applies, the deleted-file policy let it through.
bool WantedBySettings(std::u16string_view fileName, uint32_t deleted, DeletedPolicy policy);

// A user's file has started: SavedFileCount goes up and the dialog shows target, name, the file's place
// among the selection ("Total Files") and the bar.
void ShowFileStarted(const std::u16string& target, const std::u16string& name);

// The stop and skip flags, as a user's save (userSave 1) tests them between reads; the preview's copy is
// never interrupted by them.
bool SaveInterrupted(uint32_t userSave);

// A user's file that could not be read whole, or whose data could not be found: counted for the report.
void CountUnreadable(uint32_t userSave);
// A user's file whose data is not in it (compressed by Windows into a stream of its own, deduplicated, kept online
// or in other storage only): not read whole, and the report says why.
void CountDataElsewhere(uint32_t userSave);
// A user's link (a symbolic link or junction, a file or folder that stands for another by name and holds no data)
// that is not saved, where it would have been saved (path): the report names it with its target.
void CountLink(uint32_t userSave, const std::u16string& path, const std::u16string& target);

// Cluster sizes the savers read: 1 to kMaxSectorsPerCluster sectors. Any other value (0 from a damaged
// boot sector) would divide by zero or carry the sector arithmetic past 64 bits.
constexpr uint32_t kMaxSectorsPerCluster = 65536;
bool UsableClusterSize(uint32_t sectorsPerCluster);
// Sectors read at once within a cluster: 1 below 8 sectors per cluster, 8 at 8, 16 above.
uint32_t ReadUnitSectors(uint32_t sectorsPerCluster);

// Reads count sectors of the current source from the 64-bit sector first into buffer (count x 512
// bytes). On failure the result is false, and the buffer holds what was read before the first byte that
// could not be (the part of a unit inside the disk's end), zeros after it: never the bytes of an earlier read.
bool ReadSourceUnit(uint64_t first, uint32_t count, uint8_t* buffer);

// A test's look at each user's file (userSave 1) as it is finished whole: its path, and whether it was
// counted as not read whole. nullptr (the default) for none; only the headless driver's audit sets it.
using FinishedFileObserver = void (*)(const std::u16string& path, bool damaged);
void SetFinishedFileObserver(FinishedFileObserver observer);
// And at each user's link passed over: where it would have been saved, and its target.
using PassedLinkObserver = void (*)(const std::u16string& path, const std::u16string& target);
void SetPassedLinkObserver(PassedLinkObserver observer);

// The file being written. Every failure of creating, writing or closing asks whether to go on (No stops the
// save) and, for a user's save, counts the file as not written; a file that failed or was abandoned is removed,
// so that no truncated file is left looking whole. A file that already stands at the path (one the Overwrite
// setting replaces) is kept until the new one is whole: the new one is written beside it under a name of its
// own (kPartialPrefix, never one that exists) and takes its place only then; Skip File, Stop, a full disk or
// any other failure leaves the old file as it was and removes the new one. The preview's copy (userSave 0)
// asks nothing: it is no save to go on with or stop.
class RecoveredFile {
 public:
  RecoveredFile(std::u16string path, uint32_t userSave);
  // A file never finished is abandoned.
  ~RecoveredFile();
  RecoveredFile(const RecoveredFile&) = delete;
  RecoveredFile& operator=(const RecoveredFile&) = delete;

  // Creates the file (or its stand-in beside the file it will replace).
  bool Create();
  // False once any write has failed (the rest is not written).
  bool Append(const uint8_t* data, uint64_t length);
  // Some part could not be read and was written as zeros.
  void MarkDamaged() { damaged_ = true; }
  // Closes the file. abandoned: the save was stopped or the file skipped, and the file is removed.
  // True when the file was written whole and closed (and put in the place of the one it replaces); a user's
  // file then counts as saved (and as unreadable too when damaged).
  bool Finish(bool abandoned);

 private:
  void Fail(const char16_t* what);
  bool OpenBeside();

  std::u16string path_;
  std::u16string writing_;  // where the bytes go: path_, or the stand-in beside the file at path_
  uint32_t userSave_;
  bool created_ = false;
  bool failed_ = false;
  bool damaged_ = false;
  os::File file_;
};

// Where a cluster's bytes come from: the source; nowhere, as it is a hole of a sparse file (zeros); or
// nowhere, as it lies where nothing can be read (zeros, and the file is damaged).
enum class ClusterSource { kRead, kSparse, kUnreadable };
// Copies one cluster into file, unit by unit, as far as the file reaches: written counts the bytes so
// far, size is the file's length, firstSector the cluster's first sector. A unit that cannot be read is
// written as zeros and marks the file damaged. The file's bytes from valid on are zeros, not read (past
// an NTFS file's valid data length). False when writing failed.
bool CopyCluster(RecoveredFile& file, ClusterSource source, uint64_t firstSector, uint32_t sectorsPerCluster,
                 uint64_t size, uint64_t& written, std::vector<uint8_t>& buffer, uint64_t valid = ~uint64_t{0});

// Whether the cluster of sectorsPerCluster sectors from firstSector lies wholly before end (one past the
// last sector of its volume): a cluster past it belongs to another volume, or to none.
inline bool ClusterInVolume(uint64_t firstSector, uint32_t sectorsPerCluster, uint64_t end) {
  return firstSector < end && sectorsPerCluster <= end - firstSector;
}

}  // namespace save
