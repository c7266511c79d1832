// MFT file records: reading them, the update-sequence fix-up, and the bounded walk over their
// attributes that every NTFS reader uses.
#pragma once

#include <cstdint>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"

namespace ntfs {

// File records are 1 KiB, or 4 KiB on volumes formatted with large records (2 KiB is allowed as well). A
// record's header says which (u32 at byte 28); every record buffer holds kMaxMftRecordSize bytes.
constexpr uint32_t kMinMftRecordSize = 1024;
constexpr uint32_t kMaxMftRecordSize = 4096;
constexpr uint32_t kMinMftRecordSectors = kMinMftRecordSize / kSectorSize;
constexpr uint32_t kMaxMftRecordSectors = kMaxMftRecordSize / kSectorSize;
// True for the record sizes NTFS has: 1024, 2048 or 4096 bytes.
constexpr bool IsMftRecordSize(uint64_t bytes) { return bytes == 1024 || bytes == 2048 || bytes == 4096; }
// The size of a record as its header gives it (u32 at byte 28), when its update sequence (u16 count at byte 6)
// covers each of its 512-byte sectors, as it does in every record of that size; kMinMftRecordSize otherwise.
inline uint32_t MftRecordBytes(const uint8_t* record) {
  const uint32_t bytes = LoadLe32(record + 28);
  return IsMftRecordSize(bytes) && LoadLe16(record + 6) == bytes / kSectorSize + 1 ? bytes : kMinMftRecordSize;
}
inline uint32_t MftRecordSectors(const uint8_t* record) { return MftRecordBytes(record) / kSectorSize; }

// Attribute types the engine reads.
constexpr uint32_t kAttributeList = 0x20;
constexpr uint32_t kFileNameAttribute = 0x30;
constexpr uint32_t kDataAttribute = 0x80;
constexpr uint32_t kIndexRoot = 0x90;
constexpr uint32_t kIndexAllocation = 0xA0;

// Record flags (u16 at offset 22).
constexpr uint16_t kDeletedFile = 0;
constexpr uint16_t kFileInUse = 1;
constexpr uint16_t kDeletedDirectory = 2;
constexpr uint16_t kDirectoryInUse = 3;

inline uint16_t RecordFlags(const uint8_t* record) { return LoadLe16(record + 22); }
// The reference of an extension record's base record (u64 at byte 32; its low 32 bits: the record number);
// 0 in a base record.
constexpr uint32_t kBaseReferenceOffset = 32;
inline uint32_t BaseRecordNumber(const uint8_t* record) { return LoadLe32(record + kBaseReferenceOffset); }
// True when the record starts with "FILE".
bool IsFileRecord(const uint8_t* record);
// The record's own number, which records of NTFS 3.1 keep at byte 44 (their update sequence starts at 48
// or later); false for an older record, which does not keep it.
bool OwnRecordNumber(const uint8_t* record, uint32_t* number);

// The fields of one attribute header, each checked to lie inside the record before it was read.
constexpr uint16_t kAttributeCompressed = 0x0001;
constexpr uint16_t kAttributeEncrypted = 0x4000;
constexpr uint16_t kAttributeSparse = 0x8000;

// The first cluster (VCN) of the value that a non-resident attribute's part holds: u64 at header byte 16.
constexpr uint32_t kStartingVcnOffset = 16;

struct Attribute {
  uint32_t offset = 0;  // of the header in the record
  uint32_t type = 0;
  uint32_t length = 0;
  bool nonResident = false;
  uint16_t flags = 0;  // kAttributeCompressed, kAttributeEncrypted, kAttributeSparse
  uint8_t nameLength = 0;  // in UTF-16 units
  uint32_t nameStart = 0;  // record offset of the name
  // Resident: the value lies at valueStart .. valueStart + valueLength, inside the record.
  uint32_t valueStart = 0;
  uint32_t valueLength = 0;
  // Non-resident: the run list starts at runListStart, inside the record.
  uint32_t runListStart = 0;
  uint64_t allocatedSize = 0;  // the clusters of the whole value, in bytes (given by the part that starts it)
  uint64_t realSize = 0;
  // Bytes of the value written so far (the valid data length): past it the value reads as zeros, whatever
  // its clusters hold. realSize when the header is too short to say.
  uint64_t initializedSize = 0;
  // log2 of the clusters of a compression unit (u8 at header byte 34); 0 when not compressed.
  uint8_t compressionUnit = 0;
  uint32_t recordSize = kMinMftRecordSize;  // of the record it lies in (MftRecordBytes)

  uint32_t ValueEnd() const { return valueStart + valueLength; }
  // offset + length, or the record end when that is nearer.
  uint32_t End() const;
};

// Reads the header of the attribute at offset in a record of MftRecordBytes(record) bytes. False when a field
// it needs (type and length, the name, the value, or the run-list start) does not fit in the record.
bool ReadAttribute(const uint8_t* record, uint32_t offset, Attribute* out);

// True when the attribute carries the name (ASCII) exactly.
bool AttributeNameIs(const uint8_t* record, const Attribute& attribute, const char* name);

// What a walker's test says of one attribute.
enum class Verdict {
  kSkip,    // not the one wanted: walk on
  kFound,   // the one wanted: the walk ends with it
  kBroken,  // the wanted one, but its fields do not fit: the walk ends without a result
};

// How far the walk lets an attribute's length carry it, in a record of n bytes: most readers keep lengths and
// offsets below n - 1; the file-name reader allows lengths up to n and offsets below n.
enum class WalkLimit { kRecord, kFileName };

// Walks the attributes of a record (MftRecordBytes) from its first-attribute offset. test(attribute) sees
// each attribute whose header fits; the walk ends with true at kFound (the attribute in *found), and
// with false at kBroken, at the end marker (type 0 or 0xFFFFFFFF), or at a length that is zero or
// carries the walk past the limit.
template <typename Test>
bool WalkAttributes(const uint8_t* record, WalkLimit limit, Test&& test, Attribute* found);

// Finds the first attribute of the type that carries the name (ASCII; "" for an unnamed one). An
// attribute of the type whose fields do not fit ends the search with false.
bool FindAttribute(const uint8_t* record, uint32_t type, const char* name, Attribute* found);

// Reads sectorCount sectors of the current source from the 64-bit sector first. False when the read
// fails or a sector lies past the engine's 32-bit sector numbers (the buffer is then zeroed).
bool ReadSourceSectors(const char* devicePath, uint64_t first, uint32_t sectorCount, uint8_t* buffer);

// Reads the record at sector into record (kMaxMftRecordSize bytes): its first two sectors, then as many more as
// its header says it has; the bytes past it are zeros. Applies the fix-up. False when a read fails. *intact, when
// given, tells whether every sector ended with the update sequence number before the fix-up
// (UpdateSequenceMatches).
bool ReadMftRecord(const char* devicePath, uint64_t sector, uint8_t* record, bool* intact = nullptr);

// Checks (into *intact, when given) and applies the fix-up of a record read whole, as long as its header says.
void FixUpRecord(uint8_t* record, bool* intact = nullptr);

// The device path of the current drive, for every read that is not given one.
const char* CurrentDevicePath();

template <typename Test>
bool WalkAttributes(const uint8_t* record, WalkLimit limit, Test&& test, Attribute* found) {
  const uint32_t size = MftRecordBytes(record);
  const uint32_t maxLength = limit == WalkLimit::kFileName ? size : size - 2;
  const uint32_t maxOffset = limit == WalkLimit::kFileName ? size - 1 : size - 2;
  uint32_t offset = LoadLe16(record + 20);
  if (offset > maxOffset) return false;
  for (;;) {
    // The type and the length must fit before anything else is read.
    if (offset + 8 > size) return false;
    const uint32_t type = LoadLe32(record + offset);
    const uint32_t length = LoadLe32(record + offset + 4);
    if (type == 0 || type == 0xFFFFFFFF) return false;
    switch (test(record, offset, type)) {
      case Verdict::kFound: return ReadAttribute(record, offset, found);
      case Verdict::kBroken: return false;
      case Verdict::kSkip: break;
    }
    if (length == 0 || length > maxLength) return false;
    offset += length;
    if (offset > maxOffset) return false;
  }
}

}  // namespace ntfs

// Restores the last two bytes of each 512-byte sector of a record from its update-sequence array:
// sector i (from 0) gets entry i + 1, for the entry count - 1 sectors the array covers, as long as the
// sector's last two bytes lie within size. Only array entries below byte 84 of the record are read; an
// entry count of 1 or less changes nothing.
void ApplyUpdateSequence(uint8_t* record, uint32_t size);

// True when every sector of the record that its update-sequence array covers (read as ApplyUpdateSequence
// reads it) still ends with the update sequence number, before the fix-up: the sectors were written
// together. A record whose sectors lie in two extents of the MFT, read as two adjacent sectors, fails.
bool UpdateSequenceMatches(const uint8_t* record, uint32_t size);
