#include "engine/scan/compound_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/image/byte_order.h"
#include "engine/records/record_list.h"

namespace {

constexpr uint8_t kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderDifatEntries = 109;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoSector = 0xFFFFFFFF;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;
constexpr size_t kDirectoryEntrySize = 128;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr uint8_t kStreamEntry = 2;
constexpr char16_t kSummaryStreamName[] = u"\x05SummaryInformation";
// The stream of a message's properties, which every Outlook message holds at its top.
constexpr char16_t kMessagePropertiesName[] = u"__properties_version1.0";

constexpr uint16_t kPidCodePage = 1;
constexpr uint16_t kVtI2 = 2;
constexpr uint16_t kVtLpstr = 30;
constexpr uint16_t kCodePageUnicode = 1200;

struct DirectoryEntry {
  std::u16string name;
  uint8_t type = 0;
  uint32_t left = kNoEntry;
  uint32_t right = kNoEntry;
  uint32_t child = kNoEntry;
  uint32_t start = kNoSector;
  uint64_t size = 0;
};

// Part of the bytes: a sector, a mini sector, or what is there of one at the end of the bytes.
struct Span {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// A compound file over bytes in memory, read as the system's structured storage reads a file that ends
// where the bytes end: every chain of regular sectors that is used must lead from sector to sector to its
// end marker through allocation-table entries that the bytes hold, and the sectors whose data is read must
// be in the bytes (a last sector held only in part gives what it holds). Anything else makes the file or
// the stream unreadable.
class CompoundReader {
 public:
  CompoundReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // Reads the header, the list of allocation-table sectors, the directory, the mini allocation table and
  // the mini stream; false when the file cannot be opened.
  bool Open() { return ReadHeader() && LoadFatSectorList() && LoadDirectory() && LoadMiniStream(); }

  // True when the directory's tree can be walked: from the root, every left, right and child link (a
  // stream's child link is not followed) names an entry of the directory or none, and no entry is
  // reached twice. A walker that trusts the links can run past the directory or round a loop for ever.
  bool DirectoryTreeIsSound() const;

  // A stream among the children of the root storage, its name compared without regard to case.
  const DirectoryEntry* FindRootStream(std::u16string_view name) const;

  // The stream's bytes; fewer than its size when its chain ends before.
  bool ReadStream(const DirectoryEntry& entry, std::vector<uint8_t>* bytes) const;

 private:
  bool ReadHeader();
  bool LoadFatSectorList();
  bool LoadDirectory();
  bool LoadMiniStream();
  bool NextSector(uint32_t sector, uint32_t* next) const;
  bool NextMiniSector(uint32_t sector, uint32_t* next) const;
  // The first `keep` units of the chain at start. A chain of regular sectors must reach its end marker;
  // a chain of mini sectors is followed only as far as it is read, as the storage does.
  bool FollowChain(uint32_t start, bool mini, uint64_t keep, std::vector<uint32_t>* units) const;
  // The chain's data, up to size bytes: whole sectors from the bytes, or up to the first sector that is
  // not in them when partial is set.
  bool ReadChain(uint32_t start, bool mini, uint64_t size, bool partial, std::vector<uint8_t>* bytes) const;
  Span Sector(uint32_t sector) const;
  Span MiniSector(uint32_t sector) const;

  const uint8_t* data_;
  size_t size_;
  uint32_t sectorSize_ = 0;
  bool version4_ = false;
  uint64_t sectorCount_ = 0;         // sectors after the header sector that the bytes hold, wholly or in part
  std::vector<uint32_t> fatSectors_;  // the allocation table's sectors, in order
  std::vector<DirectoryEntry> entries_;
  std::vector<uint32_t> miniFat_;
  std::vector<uint8_t> miniStream_;
};

bool CompoundReader::ReadHeader() {
  if (size_ < kHeaderSize || std::memcmp(data_, kCompoundSignature, sizeof kCompoundSignature) != 0) return false;
  const uint16_t sectorShift = LoadLe16(data_ + 0x1E);
  if (LoadLe32(data_ + 0x38) != kMiniStreamCutoff) return false;
  // The sector size decides the version; like the storage, the reader does not check the version, byte
  // order and mini-sector fields further.
  if (sectorShift == 9) {
    sectorSize_ = 512;
  } else if (sectorShift == 12) {
    sectorSize_ = 4096;
    version4_ = true;
  } else {
    return false;
  }
  sectorCount_ = size_ > sectorSize_ ? (size_ - sectorSize_ + sectorSize_ - 1) / sectorSize_ : 0;
  return sectorCount_ > 0;
}

Span CompoundReader::Sector(uint32_t sector) const {
  if (sector >= sectorCount_) return {};
  const uint64_t offset = (static_cast<uint64_t>(sector) + 1) * sectorSize_;
  return {data_ + offset, static_cast<size_t>(std::min<uint64_t>(sectorSize_, size_ - offset))};
}

Span CompoundReader::MiniSector(uint32_t sector) const {
  const uint64_t offset = static_cast<uint64_t>(sector) * kMiniSectorSize;
  if (offset >= miniStream_.size()) return {};
  const uint64_t available = std::min<uint64_t>(kMiniSectorSize, miniStream_.size() - offset);
  return {miniStream_.data() + offset, static_cast<size_t>(available)};
}

// The allocation table's sectors: the first 109 in the header, the rest in a chain of list sectors that
// each end with the next one's number. Every list sector that the header counts must be in the bytes.
bool CompoundReader::LoadFatSectorList() {
  const uint32_t perSector = sectorSize_ / 4;
  const uint32_t fatCount = LoadLe32(data_ + 0x2C);
  const uint32_t listCount = LoadLe32(data_ + 0x48);
  if (listCount > sectorCount_) return false;
  for (size_t i = 0; i < kHeaderDifatEntries && fatSectors_.size() < fatCount; ++i) {
    fatSectors_.push_back(LoadLe32(data_ + 0x4C + 4 * i));
  }
  uint32_t listSector = LoadLe32(data_ + 0x44);
  for (uint32_t n = 0; n < listCount; ++n) {
    const Span list = Sector(listSector);
    if (list.size < sectorSize_) return false;
    for (uint32_t i = 0; i + 1 < perSector && fatSectors_.size() < fatCount; ++i) {
      fatSectors_.push_back(LoadLe32(list.data + 4 * i));
    }
    listSector = LoadLe32(list.data + 4 * (perSector - 1));
  }
  return true;
}

bool CompoundReader::NextSector(uint32_t sector, uint32_t* next) const {
  const uint32_t perSector = sectorSize_ / 4;
  if (sector / perSector >= fatSectors_.size()) return false;  // a marker, or past the table
  const Span table = Sector(fatSectors_[sector / perSector]);
  const size_t offset = size_t{sector % perSector} * 4;
  if (offset + 4 > table.size) return false;
  *next = LoadLe32(table.data + offset);
  return true;
}

bool CompoundReader::NextMiniSector(uint32_t sector, uint32_t* next) const {
  if (sector >= miniFat_.size()) return false;
  *next = miniFat_[sector];
  return true;
}

bool CompoundReader::FollowChain(uint32_t start, bool mini, uint64_t keep, std::vector<uint32_t>* units) const {
  units->clear();
  // A chain never holds more units than the table has entries for; past that it loops.
  const uint64_t limit = mini ? miniFat_.size() : uint64_t{sectorCount_} * (sectorSize_ / 4);
  uint64_t steps = 0;
  for (uint32_t unit = start; unit != kEndOfChain && !(mini && steps == keep); ++steps) {
    uint32_t next = 0;
    if (steps >= limit || !(mini ? NextMiniSector(unit, &next) : NextSector(unit, &next))) return false;
    if (steps < keep) units->push_back(unit);
    unit = next;
  }
  return true;
}

bool CompoundReader::ReadChain(uint32_t start, bool mini, uint64_t size, bool partial,
                               std::vector<uint8_t>* bytes) const {
  bytes->clear();
  const uint32_t unitSize = mini ? kMiniSectorSize : sectorSize_;
  std::vector<uint32_t> units;
  if (size > size_ || !FollowChain(start, mini, (size + unitSize - 1) / unitSize, &units)) return false;
  for (uint32_t unit : units) {
    const Span data = mini ? MiniSector(unit) : Sector(unit);
    const size_t take = static_cast<size_t>(std::min<uint64_t>(unitSize, size - bytes->size()));
    if (data.size < take) return partial;
    bytes->insert(bytes->end(), data.data, data.data + take);
  }
  return true;
}

bool CompoundReader::LoadDirectory() {
  std::vector<uint8_t> directory;
  if (!ReadChain(LoadLe32(data_ + 0x30), false, size_, true, &directory)) return false;
  for (size_t offset = 0; offset + kDirectoryEntrySize <= directory.size(); offset += kDirectoryEntrySize) {
    const uint8_t* e = directory.data() + offset;
    DirectoryEntry entry;
    // The name runs to its terminating zero; the storage does not go by the name-length field.
    for (size_t i = 0; i + 1 < 64; i += 2) {
      const char16_t c = static_cast<char16_t>(LoadLe16(e + i));
      if (c == 0) break;
      entry.name.push_back(c);
    }
    entry.type = e[0x42];
    entry.left = LoadLe32(e + 0x44);
    entry.right = LoadLe32(e + 0x48);
    entry.child = LoadLe32(e + 0x4C);
    entry.start = LoadLe32(e + 0x74);
    // Version 3 files keep only 32 bits; writers have left other values in the upper half.
    entry.size = version4_ ? LoadLe64(e + 0x78) : LoadLe32(e + 0x78);
    entries_.push_back(std::move(entry));
  }
  // The first entry is the root storage whatever type it claims, as the storage takes it.
  return !entries_.empty();
}

// Streams shorter than the cutoff live in 64-byte mini sectors inside the root entry's stream, chained by
// the mini allocation table (whose own chain in the regular sectors is followed to its end).
bool CompoundReader::LoadMiniStream() {
  std::vector<uint8_t> table;
  const uint32_t first = LoadLe32(data_ + 0x3C);
  if (first != kEndOfChain && !ReadChain(first, false, size_, true, &table)) return false;
  for (size_t i = 0; i + 4 <= table.size(); i += 4) miniFat_.push_back(LoadLe32(table.data() + i));
  return ReadChain(entries_[0].start, false, std::min<uint64_t>(entries_[0].size, size_), true, &miniStream_);
}

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

bool CompoundReader::DirectoryTreeIsSound() const {
  std::vector<bool> reached(entries_.size(), false);
  reached[0] = true;
  std::vector<uint32_t> pending{entries_[0].child};
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id == kNoEntry) continue;
    if (id >= entries_.size() || reached[id]) return false;
    reached[id] = true;
    const DirectoryEntry& entry = entries_[id];
    pending.push_back(entry.left);
    pending.push_back(entry.right);
    if (entry.type != kStreamEntry) pending.push_back(entry.child);
  }
  return true;
}

const DirectoryEntry* CompoundReader::FindRootStream(std::u16string_view name) const {
  // The root's children form a tree through their left and right links; each is visited once.
  std::vector<bool> visited(entries_.size(), false);
  std::vector<uint32_t> pending{entries_[0].child};
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id >= entries_.size() || visited[id]) continue;
    visited[id] = true;
    const DirectoryEntry& entry = entries_[id];
    if (entry.type == kStreamEntry && SameNameIgnoringCase(entry.name, name)) return &entry;
    pending.push_back(entry.left);
    pending.push_back(entry.right);
  }
  return nullptr;
}

bool CompoundReader::ReadStream(const DirectoryEntry& entry, std::vector<uint8_t>* bytes) const {
  return ReadChain(entry.start, entry.size < kMiniStreamCutoff, std::min<uint64_t>(entry.size, size_), false, bytes);
}

// An 8-bit string property: its bytes up to the first zero. In a Unicode property set (code page 1200)
// the characters are UTF-16; those outside ASCII become '?'.
std::string PropertyString(const uint8_t* chars, uint32_t length, uint16_t codePage) {
  std::string text;
  if (codePage == kCodePageUnicode) {
    for (uint32_t i = 0; i + 1 < length; i += 2) {
      const uint16_t c = LoadLe16(chars + i);
      if (c == 0) break;
      text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
  }
  const uint8_t* end = std::find(chars, chars + length, 0);
  return std::string(reinterpret_cast<const char*>(chars), static_cast<size_t>(end - chars));
}

}  // namespace

std::string ReadSummaryAppName(const uint8_t* stream, size_t size) {
  // Header: byte order, version, system, class id, number of sets; then format id and offset of each set.
  if (size < 48 || LoadLe16(stream) != 0xFFFE || LoadLe32(stream + 24) < 1) return {};
  const uint32_t sectionOffset = LoadLe32(stream + 44);
  if (sectionOffset > size || size - sectionOffset < 8) return {};
  const uint8_t* section = stream + sectionOffset;
  // A section that claims more than the stream holds is read as far as the stream goes.
  const uint32_t sectionSize = static_cast<uint32_t>(std::min<uint64_t>(LoadLe32(section), size - sectionOffset));
  const uint32_t count = LoadLe32(section + 4);
  if (sectionSize < 8 || count > (sectionSize - 8) / 8) return {};
  // As the storage reads a property set: one property outside the section spoils it all, and it must
  // name its code page.
  bool haveCodePage = false, haveApp = false;
  uint16_t codePage = 0;
  uint32_t appOffset = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t id = LoadLe32(section + 8 + 8 * i);
    const uint32_t offset = LoadLe32(section + 12 + 8 * i);
    if (offset < 8 || offset > sectionSize - 4) return {};
    if (id == kPidCodePage && offset <= sectionSize - 8 && LoadLe16(section + offset) == kVtI2) {
      codePage = LoadLe16(section + offset + 4);
      haveCodePage = true;
    }
    if (id == kPidAppName && !haveApp) {
      appOffset = offset;
      haveApp = true;
    }
  }
  if (!haveCodePage || !haveApp || sectionSize - appOffset < 8 || LoadLe16(section + appOffset) != kVtLpstr) return {};
  const uint32_t length = LoadLe32(section + appOffset + 4);
  if (length > sectionSize - appOffset - 8) return {};
  return records::GuardAllocation([&] { return PropertyString(section + appOffset + 8, length, codePage); });
}

bool IsSoundCompoundFile(const uint8_t* data, size_t size) {
  return records::GuardAllocation([&] {
    CompoundReader reader(data, size);
    return reader.Open() && reader.DirectoryTreeIsSound();
  });
}

std::string ReadCompoundAppNameOwn(const uint8_t* data, size_t size) {
  return records::GuardAllocation([&]() -> std::string {
    CompoundReader reader(data, size);
    if (!reader.Open() || !reader.DirectoryTreeIsSound()) return {};
    const DirectoryEntry* summary = reader.FindRootStream(kSummaryStreamName);
    std::vector<uint8_t> stream;
    if (summary == nullptr || !reader.ReadStream(*summary, &stream)) return {};
    return ReadSummaryAppName(stream.data(), stream.size());
  });
}

std::u16string CompoundExtensionForAppName(std::string_view appName) {
  if (appName.empty()) return {};
  if (appName.find("PowerPoint") != std::string_view::npos) return u".ppt";
  if (appName.find("Excel") != std::string_view::npos) return u".xls";
  if (appName.find("Word") != std::string_view::npos) return u".doc";
  return u".pub";
}

bool IsOutlookMessage(const uint8_t* data, size_t size) {
  return records::GuardAllocation([&] {
    CompoundReader reader(data, size);
    return reader.Open() && reader.DirectoryTreeIsSound() && reader.FindRootStream(kMessagePropertiesName) != nullptr;
  });
}

std::u16string CompoundExtensionForStreams(const uint8_t* data, size_t size) {
  return records::GuardAllocation([&]() -> std::u16string {
    CompoundReader reader(data, size);
    if (!reader.Open() || !reader.DirectoryTreeIsSound()) return {};
    if (reader.FindRootStream(u"WordDocument") != nullptr) return u".doc";
    if (reader.FindRootStream(u"Workbook") != nullptr || reader.FindRootStream(u"Book") != nullptr) return u".xls";
    if (reader.FindRootStream(u"PowerPoint Document") != nullptr) return u".ppt";
    return {};
  });
}

std::u16string ClassifyCompoundFile(const uint8_t* data, size_t size) {
  if (IsOutlookMessage(data, size)) return u".msg";
  const std::u16string byName = CompoundExtensionForAppName(ReadCompoundAppName(data, size));
  return byName.empty() ? CompoundExtensionForStreams(data, size) : byName;
}
