#include "engine/ntfs/index_records.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/data_runs.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/record_list.h"

namespace {

constexpr uint32_t kEntryHeader = 16;  // the key (a file-name value) starts here
constexpr uint32_t kKeyName = 66;      // the name in the key; its length (characters) at key byte 64
constexpr uint32_t kNoReference = 0xFFFFFFFF;
constexpr uint32_t kFirstUserRecord = 5;
constexpr char kFolderIndex[] = "$I30";

// The parent reference of the named key of the index entry at entry, all of which must lie below end.
bool EntryParent(const uint8_t* bytes, uint64_t entry, uint64_t end, uint32_t* parent) {
  if (entry + kEntryHeader > end) return false;
  const uint32_t entryLength = LoadLe16(bytes + entry + 8);
  const uint32_t keyLength = LoadLe16(bytes + entry + 10);
  if (entryLength < kEntryHeader || entry + entryLength > end) return false;
  if (keyLength < kKeyName || kEntryHeader + keyLength > entryLength) return false;
  const uint8_t* key = bytes + entry + kEntryHeader;
  const uint32_t nameLength = key[64];
  if (nameLength == 0 || kKeyName + 2 * nameLength > keyLength) return false;
  *parent = LoadLe32(key);
  return true;
}

// The first entry of an index node whose header lies at node; its entry offset is relative to node.
bool FirstEntryParent(const uint8_t* bytes, uint64_t node, uint64_t end, uint32_t* parent) {
  if (node + 4 > end) return false;
  return EntryParent(bytes, node + LoadLe32(bytes + node), end, parent);
}

}  // namespace

uint32_t IndexRootOwner(const uint8_t* record) {
  ntfs::Attribute root;
  if (!ntfs::FindAttribute(record, ntfs::kIndexRoot, kFolderIndex, &root) || root.nonResident) return 0;
  // The value: 16 bytes of index root, then the node header.
  uint32_t parent = 0;
  if (!FirstEntryParent(record, uint64_t{root.valueStart} + 16, root.ValueEnd(), &parent)) return 0;
  return parent == kNoReference ? 0 : parent;
}

uint32_t IndexAllocationStart(const uint8_t* record) {
  ntfs::Attribute allocation;
  if (!ntfs::FindAttribute(record, ntfs::kIndexAllocation, kFolderIndex, &allocation) || !allocation.nonResident) {
    return 0;
  }
  std::vector<DataRun> runs;
  ntfs::DecodeRunList(record, allocation.runListStart, allocation.End(), runs);
  return runs.empty() || runs.front().sparse ? 0 : runs.front().startCluster;
}

namespace ntfs {

bool ReadIndexRecordHead(uint8_t* record, uint32_t size, IndexRecordHead* out) {
  constexpr uint32_t kNodeHeader = 24;
  if (size < kNodeHeader + 4 || std::memcmp(record, "INDX", 4) != 0) return false;
  ApplyUpdateSequence(record, size);
  if (!FirstEntryParent(record, kNodeHeader, size, &out->owner)) return false;
  out->number = LoadLe32(record + 16);
  return true;
}

}  // namespace ntfs

uint32_t ReadIndexRecord(uint32_t sector, const FileSystemRecord& parameters) {
  const uint64_t size = uint64_t{parameters.sectorsPerIndexRecord} * kSectorSize;
  if (size > kMaxIndexRecordBytes) return 0;
  const uint64_t sectors = std::min<uint64_t>((size + 24) / kSectorSize, kMaxIndexRecordBytes / kSectorSize);
  if (sectors == 0) return 0;
  std::vector<uint8_t> record = records::GuardAllocation([&] { return std::vector<uint8_t>(sectors * kSectorSize); });
  const uint32_t count = static_cast<uint32_t>(sectors);
  if (!ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), sector, count, record.data())) return 0;
  ntfs::IndexRecordHead head;
  if (!ntfs::ReadIndexRecordHead(record.data(), static_cast<uint32_t>(record.size()), &head)) return 0;
  if (head.owner < kFirstUserRecord || head.owner == kNoReference) return 0;
  AppendIndexRecordCandidate(sector, head.owner, head.number, static_cast<uint8_t>(count));
  return 1;
}
