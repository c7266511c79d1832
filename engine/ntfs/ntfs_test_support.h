// What the NTFS tests share: file records put together attribute by attribute, and what the oracle
// (ntfs_oracle.py, from TSK's fsstat, fls and istat) expects of the NTFS test volumes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ntfs_test {

using Bytes = std::vector<uint8_t>;

void PutLe16(Bytes& bytes, size_t at, uint16_t value);
void PutLe32(Bytes& bytes, size_t at, uint32_t value);
void PutLe64(Bytes& bytes, size_t at, uint64_t value);

// The value of a file-name attribute (also the key of a folder's index entry).
Bytes FileNameValue(uint32_t parent, const std::u16string& name, uint8_t nameSpace, uint64_t created = 0,
                    uint64_t changed = 0);
// An index entry of a folder index: its file reference and key; keyless (the last entry) when key is empty.
Bytes IndexEntry(uint32_t reference, const Bytes& key);
// The value of an index root over the entries (the last entry is added).
Bytes IndexRootValue(const std::vector<Bytes>& entries);
// The value of an attribute list: one entry per {type, record number}.
Bytes AttributeListValue(const std::vector<std::pair<uint32_t, uint32_t>>& entries);

// A 1024-byte file record: "FILE", update-sequence array at 48 with 3 entries, attributes from 56.
class RecordBuilder {
 public:
  explicit RecordBuilder(uint16_t flags = 1);
  // Each appends an attribute (8-byte aligned) and returns its offset.
  uint32_t AddResident(uint32_t type, const std::u16string& name, const Bytes& value);
  uint32_t AddNonResident(uint32_t type, const std::u16string& name, const Bytes& runs, uint64_t realSize);
  uint32_t AddFileName(uint32_t parent, const std::u16string& name, uint8_t nameSpace);
  // Sets the flags word of the attribute at offset (compressed, encrypted, sparse).
  void SetAttributeFlags(uint32_t offset, uint16_t flags);
  // Leaves room before the next attribute.
  void Skip(uint32_t bytes) { next_ += bytes; }
  // Makes the record an extension record of the base record number.
  void SetBaseRecord(uint32_t number) { PutLe32(bytes_, 32, number); }
  // The record with its end marker.
  Bytes Plain() const;
  // The record as a volume holds it: each sector's last two bytes moved into the update-sequence array
  // and replaced by the sequence number.
  Bytes Protected() const;

 private:
  uint32_t AddHeader(uint32_t type, const std::u16string& name, bool nonResident, uint32_t headerSize,
                     uint32_t bodySize);
  Bytes bytes_;
  uint32_t next_;
};

// An index record ("INDX") of size bytes whose node holds the entries (protected as on a volume).
Bytes IndexRecord(uint32_t size, uint32_t number, const std::vector<Bytes>& entries);

struct ExpectedEntry {
  uint32_t inode = 0;
  bool folder = false;
  bool deleted = false;
  bool meta = false;
  uint32_t parent = 0;
  uint64_t size = 0;
  std::string resident;  // "1", "0" or "-"
  std::string created, modified;  // file times, "-" when not known
  std::string runs;      // "first:count,..." in image sectors, "-" when not known
  std::u16string name;
};

struct ExpectedFolder {
  uint32_t inode = 0;
  uint64_t allocationSector = 0;  // 0: no index allocation
  uint32_t allocationSectors = 0;
  std::string owner;              // record number, or "?"
};

struct ExpectedVolume {
  std::string image;  // a fixed VHD in the shared images folder
  uint32_t start = 0;
  uint32_t sectorsPerCluster = 0;
  uint32_t mftCluster = 0;
  uint64_t mftFirstSector = 0;  // the MFT's data as istat lists it, up to its size: one extent on these volumes
  uint64_t mftSectors = 0;
  uint32_t indexRecordBytes = 0;
  std::vector<ExpectedEntry> entries;
  std::vector<ExpectedFolder> folders;
};

// The volumes of the oracle file (DORVANE_NTFS_ORACLE); empty with a test failure when it is missing.
std::vector<ExpectedVolume> ExpectedVolumes();
// A file of the shared test images (DORVANE_SHARED_IMAGES).
std::u16string SharedImage(const std::string& name);
// A path in the temporary folder for an image a test writes.
std::u16string TempImage(const std::string& name);

}  // namespace ntfs_test
