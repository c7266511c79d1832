#include "engine/ntfs/file_name_attribute.h"

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/standard_information.h"
#include "engine/records/record_list.h"

namespace {

constexpr uint32_t kNameOffset = 66;  // the name in the value; its length (characters) is at 64
constexpr uint32_t kFileAttributesOffset = 56;
constexpr uint32_t kDirectoryAttribute = 0x10000000;  // the file has an index: a folder

// The attribute's value holds the fixed part and the whole name.
bool ValueHoldsName(const uint8_t* record, const ntfs::Attribute& a) {
  if (a.valueLength < kNameOffset) return false;
  return kNameOffset + 2u * record[a.valueStart + 64] <= a.valueLength;
}

bool NameSpaceMatches(uint8_t stored, uint8_t wanted) {
  return stored == wanted || (wanted == kWin32NameSpace && stored == kPosixNameSpace);
}

// Walks the record's unnamed resident file-name attributes whose values hold their names; visit(attribute) says
// whether the walk ends there (kFound) or goes on. A file-name attribute whose fields do not fit ends it.
template <typename Visit>
bool WalkNames(const uint8_t* record, Visit&& visit, ntfs::Attribute* found) {
  return ntfs::WalkAttributes(
      record, ntfs::WalkLimit::kFileName,
      [&](const uint8_t* r, uint32_t offset, uint32_t type) {
        if (type != ntfs::kFileNameAttribute) return ntfs::Verdict::kSkip;
        ntfs::Attribute a;
        if (!ntfs::ReadAttribute(r, offset, &a)) return ntfs::Verdict::kBroken;
        if (a.nameLength != 0 || a.nonResident) return ntfs::Verdict::kSkip;
        if (!ValueHoldsName(r, a)) return ntfs::Verdict::kBroken;
        return visit(a);
      },
      found);
}

FileNameInfo NameOf(const uint8_t* record, const ntfs::Attribute& attribute) {
  FileNameInfo out;
  const uint8_t* value = record + attribute.valueStart;
  const uint32_t characters = value[64];
  records::GuardAllocation([&] { out.name.resize(characters); });
  for (uint32_t i = 0; i < characters; ++i) out.name[i] = static_cast<char16_t>(LoadLe16(value + kNameOffset + 2 * i));
  out.parent = LoadLe32(value);
  out.creation = LoadLe64(value + 8);
  out.change = LoadLe64(value + 24);
  ntfs::StandardTimes own;
  out.modification = ntfs::ReadStandardTimes(record, &own) ? own.modification : LoadLe64(value + 16);
  out.directory = (LoadLe32(value + kFileAttributesOffset) & kDirectoryAttribute) != 0;
  return out;
}

uint32_t ReadFromRecord(const uint8_t* record, FileNameInfo& out, uint8_t nameSpace) {
  ntfs::Attribute found;
  const bool ok = WalkNames(
      record,
      [&](const ntfs::Attribute& a) {
        return NameSpaceMatches(record[a.valueStart + 65], nameSpace) ? ntfs::Verdict::kFound : ntfs::Verdict::kSkip;
      },
      &found);
  if (!ok) return 0;
  out = NameOf(record, found);
  return 1;
}

}  // namespace

uint32_t ReadFileNameAttribute(uint32_t sector, FileNameInfo& out, uint8_t nameSpace, const uint8_t* recordIn,
                               uint32_t readFromDisk) {
  if (readFromDisk == 0) return ReadFromRecord(recordIn, out, nameSpace);
  uint8_t record[ntfs::kMaxMftRecordSize];
  if (!ntfs::ReadMftRecord(ntfs::CurrentDevicePath(), sector, record)) return 0;
  return ReadFromRecord(record, out, nameSpace);
}

void ReadLinkNames(const uint8_t* record, std::vector<FileNameInfo>* names) {
  std::vector<FileNameInfo> dos;
  ntfs::Attribute unused;
  WalkNames(
      record,
      [&](const ntfs::Attribute& a) {
        records::GuardAllocation([&] {
          (record[a.valueStart + 65] == kDosNameSpace ? dos : *names).push_back(NameOf(record, a));
        });
        return ntfs::Verdict::kSkip;
      },
      &unused);
  if (names->empty()) *names = std::move(dos);
}

uint32_t ReadPreferredFileName(const uint8_t* recordIn, FileNameInfo& out) {
  for (uint8_t nameSpace : {kWin32NameSpace, kWin32AndDosNameSpace, kDosNameSpace}) {
    if (ReadFileNameAttribute(0, out, nameSpace, recordIn, 0)) return 1;
  }
  return 0;
}
