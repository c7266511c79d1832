// The file records an Extensive Scan found in the chosen NTFS file system, read again through the map of its
// MFT. The search read each as the two sectors from where it was found; a record that straddles two extents
// of a fragmented MFT, a file whose name or data lie in the records its attribute list names, and the copies
// in the MFT's mirror only read right once the map is known.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace chosen {

// The clusters of the MFT's mirror ($MFTMirr, record 1, read through MftMap; else the mirror sector the boot
// sector named).
class MftMirror {
 public:
  MftMirror();
  // True when sector holds a copy of a record the MFT itself holds as a file record elsewhere: the record's
  // number goes to *recordNumber.
  bool CopyOf(uint32_t sector, uint32_t* recordNumber) const;
  // True when sector lies in the mirror.
  bool Holds(uint32_t sector) const;

 private:
  std::vector<std::pair<uint64_t, uint64_t>> extents_;  // first sector, sector count; in the mirror's order
};

// True when the map of the chosen file system's MFT is known and puts no record of it at sector, which is not in
// its mirror either: the record found there is another volume's (one that follows a volume rebuilt without its
// boot sector, which reaches to the end of the range), whatever its sector.
bool ForeignRecord(uint32_t sector, const MftMirror& mirror);

// The folder candidates of the chosen file system whose records the map places take their name, parent
// and times from the records of their file, as Quick Scan reads them (a folder whose name lies in an
// extension record is found without one).
void RereadFolderNames();

// Each found file of the chosen file system (InChosenFileSystem) whose record the map places is read as
// Quick Scan reads it: a copy in the mirror becomes the MFT's record; an extension record whose base record
// names it becomes that base record; name, parent, times, size and the deleted mark come from the records
// of the file; one whose base record is a folder's is no file; a foreign one (ForeignRecord) is marked as not
// the chosen file system's (disownedBy). Then every file is listed once: a second entry with the same
// record, and one still without a name, go.
void RereadFoundFiles();

}  // namespace chosen
