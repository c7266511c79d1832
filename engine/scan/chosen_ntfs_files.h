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

// Whose a file record found inside the chosen file system's sectors is. Telling it reads nothing but the
// chosen volume's own record 8 or 6 once: it is done whatever a stop.
class RecordOwners {
 public:
  explicit RecordOwners(const MftMirror& mirror);

  // Another volume's: it lies inside another NTFS file system found after the chosen one begins, or past the
  // chosen one's last cluster as its $BadClus or $Bitmap, read through the map of its MFT, tell it; or, when
  // the chosen one's end is not known (rebuilt without its boot sector, and without a $BadClus or $Bitmap that
  // tells its size), the map of its MFT is known and puts no record of it there, nor is it in the mirror.
  bool Foreign(uint32_t sector) const;
  // A record of an earlier MFT of this volume (one that a format replaced): the volume's end is known and it
  // lies inside it, but the map of its MFT, known, puts no record of it there, nor is it in the mirror.
  bool Earlier(uint32_t sector) const;
  // Where an earlier MFT's record number goes among the chosen file system's folder ids: past the records of
  // the MFT read now, so that the earlier folders and files keep their tree among themselves, under "Lost
  // Dir", and never join a folder of the present MFT that reuses the number. kLostDirId when it cannot.
  uint32_t EarlierId(uint32_t number) const;

 private:
  bool OutsideMft(uint32_t sector) const;

  const MftMirror& mirror_;
  bool endKnown_ = false;
  uint64_t ownEnd_ = 0;  // one past the last sector of the volume's clusters, as its records tell them; 0 unknown
  uint64_t mftRecords_ = 0;
};

// The folder candidates of the chosen file system whose records the map places take their name, parent
// and times from the records of their file, as Quick Scan reads them (a folder whose name lies in an
// extension record is found without one).
void RereadFolderNames();

// First, whatever a stop: each found file of the chosen file system (InChosenFileSystem) that is another
// volume's (RecordOwners::Foreign) is marked as not the chosen file system's (disownedBy), and one of an earlier
// MFT (RecordOwners::Earlier) is deleted, its parent taken to RecordOwners::EarlierId. Then, until a stop, each
// one whose record the map places is read as Quick Scan reads it: a copy in the mirror becomes the MFT's
// record; an extension record whose base record names it becomes that base record; name, parent, times, size
// and the deleted mark come from the records of the file; one whose base record is a folder's is no file.
// Then every file is listed once: a second entry with the same record, and one still without a name, go.
void RereadFoundFiles();

}  // namespace chosen
