// MFT numbers of the NTFS folder candidates whose records do not give them: the index entries of the index
// records found name each folder with its number; a folder no entry names is counted on from the candidate
// before it.
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/image/read_sectors.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/record_list.h"
#include "engine/records/scan_control.h"
#include "engine/scan/extensive_report.h"
#include "engine/scan/extensive_scan.h"

namespace {

// Index entry fields: the key (a file-name value) starts at 16.
constexpr uint32_t kEntryLength = 8;        // u16
constexpr uint32_t kEntryParent = 16;       // u32, the key's parent reference
constexpr uint32_t kEntryCreationHigh = 28; // upper half of the key's creation time
constexpr uint32_t kEntryAttributesHigh = 74;  // upper u16 of the key's file attributes
constexpr uint32_t kEntryNameLength = 80;   // u8, characters
constexpr uint32_t kEntryName = 82;         // UTF-16
constexpr uint16_t kDirectoryBit = 0x1000;  // attribute 0x10000000: the entry names a folder
constexpr uint32_t kNodeHeader = 24;

// A folder as the index entries name it: parent, creation time (upper half) and name.
using FolderKey = std::tuple<uint32_t, uint32_t, std::u16string>;

struct IndexEntry {
  uint32_t mftReference = 0;
  FolderKey key;
  bool directory = false;
};

// Calls visit(entry) for each index entry of the record of size bytes whose fields and name lie inside
// both the entry and the record; the walk goes by each entry's length and ends at a length of 0 or one
// that leaves the record.
template <typename Visit>
void ForEachIndexEntry(const uint8_t* record, uint32_t size, Visit visit) {
  if (size < kNodeHeader + 4) return;
  uint64_t offset = kNodeHeader + uint64_t{LoadLe32(record + kNodeHeader)};
  while (offset + kEntryLength + 2 <= size) {
    const uint32_t length = LoadLe16(record + offset + kEntryLength);
    if (length == 0 || offset + length > size) return;
    const uint8_t* entry = record + offset;
    if (length > kEntryNameLength) {
      const uint32_t nameEnd = kEntryName + 2u * entry[kEntryNameLength];
      if (nameEnd <= length) {
        IndexEntry e;
        e.mftReference = LoadLe32(entry);
        std::u16string name(entry[kEntryNameLength], u'\0');
        for (size_t c = 0; c < name.size(); ++c) name[c] = static_cast<char16_t>(LoadLe16(entry + kEntryName + 2 * c));
        e.key = FolderKey{LoadLe32(entry + kEntryParent), LoadLe32(entry + kEntryCreationHigh), std::move(name)};
        e.directory = (LoadLe16(entry + kEntryAttributesHigh) & kDirectoryBit) != 0;
        visit(e);
      }
    }
    offset += length;
  }
}

// The first folder candidate of each key among those whose own record gave no number: an index entry of the
// same key may name another folder (a folder deleted and made again under the same name in the same minutes).
std::map<FolderKey, size_t> IndexFolderCandidates() {
  return records::GuardAllocation([] {
    std::map<FolderKey, size_t> folders;
    for (size_t i = 0; i < NtfsFolderCandidateList.size(); ++i) {
      const NtfsFolderCandidate& c = NtfsFolderCandidateList[i];
      if (c.mftNumber != 0) continue;
      folders.emplace(FolderKey{c.parentId, static_cast<uint32_t>(c.creationTime >> 32), c.name}, i);
    }
    return folders;
  });
}

// Step 1: the numbers that the index entries give.
void NumbersFromIndexEntries() {
  const std::u16string step = u"Assigning MFT numbers ( Step 1/2 ) - ";
  extensive::ShowStatus(step);
  const std::map<FolderKey, size_t> folders = IndexFolderCandidates();
  const uint32_t count = static_cast<uint32_t>(IndexRecordCandidateList.size());
  std::vector<uint8_t> record;
  for (uint32_t i = 1; i <= count; ++i) {
    const IndexRecordCandidate& candidate = IndexRecordCandidateList[i - 1];
    extensive::ShowStatus(step + extensive::Decimal(i) + u" \\ " + extensive::Decimal(count));
    extensive::ShowProgress(extensive::HeldPercent(i, count));
    const uint32_t size = uint32_t{candidate.sectorCount} * kSectorSize;
    if (size == 0) continue;
    records::GuardAllocation([&] { record.assign(size, 0); });
    if (!ntfs::ReadSourceSectors(ntfs::CurrentDevicePath(), candidate.sector, candidate.sectorCount, record.data()) ||
        std::memcmp(record.data(), "INDX", 4) != 0) {
      continue;
    }
    ApplyUpdateSequence(record.data(), size);
    ForEachIndexEntry(record.data(), size, [&](const IndexEntry& entry) {
      if (!entry.directory) return;
      auto found = folders.find(entry.key);
      if (found != folders.end()) NtfsFolderCandidateList[found->second].mftNumber = entry.mftReference;
    });
  }
}

// Step 2: a folder without a number follows the candidate before it, its record's sectors to a record.
void NumbersFromPlaces() {
  extensive::ShowStatus(u"Assigning MFT numbers ( Step 2/2 )...");
  uint32_t previousNumber = 1;
  uint32_t previousSector = 0;
  bool hasPrevious = false;
  const size_t count = NtfsFolderCandidateList.size();
  for (size_t i = 0; i < count; ++i) {
    NtfsFolderCandidate& c = NtfsFolderCandidateList[i];
    extensive::ShowProgress(extensive::HeldPercent(i, count));
    if (c.mftNumber == 0) {
      const uint32_t stride = c.recordSectors != 0 ? c.recordSectors : ntfs::kMinMftRecordSectors;
      const bool even = hasPrevious && c.sector >= previousSector && (c.sector - previousSector) % stride == 0;
      c.mftNumber = even ? previousNumber + (c.sector - previousSector) / stride : previousNumber + 1;
    }
    previousNumber = c.mftNumber;
    previousSector = c.sector;
    hasPrevious = true;
  }
}

}  // namespace

void AssignMftNumbers() {
  extensive::ShowProgress(0);
  NumbersFromIndexEntries();
  NumbersFromPlaces();
}
