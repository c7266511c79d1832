#include "engine/ntfs/file_records.h"

#include <algorithm>

#include "engine/image/byte_order.h"
#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/mft_map.h"
#include "engine/records/record_list.h"

namespace ntfs {

namespace {

bool HasAttributeList(const Record& record) {
  Attribute list;
  return FindAttribute(record.data(), kAttributeList, "", &list);
}

}  // namespace

bool ReadStartingDataSize(const Record& record, uint64_t* size) {
  Attribute data;
  if (!FindAttribute(record.data(), kDataAttribute, "", &data)) return false;
  if (data.nonResident && (data.offset + kStartingVcnOffset + 8 > data.recordSize ||
                           LoadLe64(record.data() + data.offset + kStartingVcnOffset) != 0)) {
    return false;
  }
  return ReadDataSize(0, *size, record.data(), 0) == 1;
}

FileRecordReader::FileRecordReader(const ClusterSpace& space, uint64_t firstSector, uint64_t lastSector)
    : space_(space), firstSector_(firstSector), lastSector_(lastSector) {}

const std::vector<uint32_t>& FileRecordReader::Listed(const Record& base, uint32_t baseNumber) {
  static const std::vector<uint32_t> kNone;
  // Only records with a list are kept: they are few, and theirs is the read worth saving.
  if (!HasAttributeList(base)) return kNone;
  auto found = listed_.find(baseNumber);
  if (found != listed_.end()) return found->second;
  AttributeListRecords.Clear();
  AddListedRecords(base.data(), space_);
  std::vector<uint32_t> records;
  records::GuardAllocation([&] {
    records.assign(AttributeListRecords.records,
                   AttributeListRecords.records + std::min<uint16_t>(AttributeListRecords.count, kMaxAttributeListRecords));
    found = listed_.emplace(baseNumber, std::move(records)).first;
  });
  return found->second;
}

void FileRecordReader::Gather(const Record& base, uint32_t baseNumber) {
  const std::vector<uint32_t>& listed = Listed(base, baseNumber);
  AttributeListRecords.Clear();
  AttributeListRecords.Add(baseNumber);
  for (uint32_t number : listed) {
    if (!AttributeListRecords.AddOnce(number)) break;
  }
}

namespace {

// The records of AttributeListRecords in turn: the one in hand for its own number, the others read through
// the map, when they name it as their base record (one freed and taken by another file holds that file's
// name and size). visit returns true to stop.
template <typename Visit>
void ForEachFileRecord(const Record& own, uint32_t ownNumber, Visit&& visit) {
  Record other;
  for (uint16_t i = 0; i < AttributeListRecords.count && i < kMaxAttributeListRecords; ++i) {
    const uint32_t number = AttributeListRecords.records[i];
    if (number == ownNumber) {
      if (visit(own)) return;
    } else if (ReadMftRecordByNumber(CurrentDevicePath(), number, other.data()) == 1 && IsFileRecord(other.data()) &&
               BaseRecordNumber(other.data()) == ownNumber && visit(other)) {
      return;
    }
  }
}

}  // namespace

bool FileRecordReader::ReadName(const Record& record, uint32_t recordNumber, FileNameInfo* name) {
  bool named = false;
  ForEachFileRecord(record, recordNumber, [&](const Record& r) {
    named = ReadPreferredFileName(r.data(), *name) == 1;
    return named;
  });
  return named;
}

std::vector<FileNameInfo> FileRecordReader::ReadFurtherNames(const Record& record, uint32_t recordNumber,
                                                            const FileNameInfo& name) {
  std::vector<FileNameInfo> links;
  ForEachFileRecord(record, recordNumber, [&](const Record& r) {
    ReadLinkNames(r.data(), &links);
    return false;
  });
  std::vector<FileNameInfo> further;
  for (const FileNameInfo& link : links) {
    const auto same = [&](const FileNameInfo& n) { return n.parent == link.parent && n.name == link.name; };
    if (same(name) || std::any_of(further.begin(), further.end(), same)) continue;
    records::GuardAllocation([&] { further.push_back(link); });
  }
  return further;
}

uint64_t FileRecordReader::ReadSize(const Record& record, uint32_t recordNumber) {
  uint64_t size = 0;
  ForEachFileRecord(record, recordNumber, [&](const Record& r) { return ReadStartingDataSize(r, &size); });
  return size;
}

const FileRecordReader::BaseVerdict& FileRecordReader::Verdict(uint32_t baseNumber) {
  auto found = verdicts_.find(baseNumber);
  if (found != verdicts_.end()) return found->second;
  BaseVerdict verdict;
  Record base;
  uint32_t sector = 0;
  // A base record outside the window is not listed: the extension record stands for the file then.
  if (MftRecordToSector(baseNumber, sector) == 1 && firstSector_ <= sector && sector <= lastSector_ &&
      ReadMftRecordByNumber(space_.devicePath, baseNumber, base.data()) == 1 && IsFileRecord(base.data()) &&
      BaseRecordNumber(base.data()) == 0) {
    Gather(base, baseNumber);
    FileNameInfo name;
    verdict.stands = ReadName(base, baseNumber, &name);
    verdict.sector = sector;
    records::GuardAllocation([&] {
      verdict.records.assign(AttributeListRecords.records,
                             AttributeListRecords.records +
                                 std::min<uint16_t>(AttributeListRecords.count, kMaxAttributeListRecords));
    });
  }
  records::GuardAllocation([&] { found = verdicts_.emplace(baseNumber, std::move(verdict)).first; });
  return found->second;
}

bool FileRecordReader::ListedByItsBase(const Record& record, uint32_t recordNumber, uint32_t* baseNumber,
                                       uint32_t* baseSector) {
  const uint32_t base = BaseRecordNumber(record.data());
  if (base == 0 || base == recordNumber) return false;
  const BaseVerdict& verdict = Verdict(base);
  if (!verdict.stands || std::find(verdict.records.begin(), verdict.records.end(), recordNumber) == verdict.records.end()) {
    return false;
  }
  if (baseNumber != nullptr) *baseNumber = base;
  if (baseSector != nullptr) *baseSector = verdict.sector;
  return true;
}

}  // namespace ntfs
