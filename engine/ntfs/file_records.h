// The MFT records that together hold one file: its base record and the extension records its attribute list
// names, read through the MFT map. Quick Scan and the reading of a file system an Extensive Scan found take a
// file's name and size from them the same way.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/mft_record.h"

namespace ntfs {

using Record = std::array<uint8_t, kMaxMftRecordSize>;

// The size that the record's unnamed data attribute gives, when the record holds the part that starts the
// value; a later part, in an extension record, gives none.
bool ReadStartingDataSize(const Record& record, uint64_t* size);

// Reads the files of one volume. Records are read through MftMap; a base record counts only when its first
// sector lies in [firstSector, lastSector]. What a base record's attribute list names is read once (a list
// may run to kMaxAttributeListBytes) and kept for the records that name that base.
class FileRecordReader {
 public:
  FileRecordReader(const ClusterSpace& space, uint64_t firstSector, uint64_t lastSector);

  // AttributeListRecords for the file whose base record is in hand: its own number, then the records its
  // attribute list names, each once.
  void Gather(const Record& base, uint32_t baseNumber);

  // The name of the file whose records AttributeListRecords holds: from the first of them that has one.
  bool ReadName(const Record& record, uint32_t recordNumber, FileNameInfo* name);
  // Its size: from the first of them that holds the part starting its data; 0 when none does.
  uint64_t ReadSize(const Record& record, uint32_t recordNumber);
  // Its names but `name` (the one ReadName gave): the further names by which other folders, or its own, list it
  // (hard links), from all of them, each once.
  std::vector<FileNameInfo> ReadFurtherNames(const Record& record, uint32_t recordNumber, const FileNameInfo& name);

  // True when the record is an extension record whose base record stands for the file: a base record
  // inside the window that names it in its attribute list and has a name. The base's number and sector
  // go to the outputs that are given.
  bool ListedByItsBase(const Record& record, uint32_t recordNumber, uint32_t* baseNumber = nullptr,
                       uint32_t* baseSector = nullptr);

 private:
  struct BaseVerdict {
    bool stands = false;  // a base record inside the window, with a name
    uint32_t sector = 0;
    std::vector<uint32_t> records;  // what its attribute list names
  };
  const std::vector<uint32_t>& Listed(const Record& base, uint32_t baseNumber);
  const BaseVerdict& Verdict(uint32_t baseNumber);

  ClusterSpace space_;
  uint64_t firstSector_;
  uint64_t lastSector_;
  std::unordered_map<uint32_t, std::vector<uint32_t>> listed_;  // by base record number
  std::unordered_map<uint32_t, BaseVerdict> verdicts_;          // of the bases extension records name
};

}  // namespace ntfs
