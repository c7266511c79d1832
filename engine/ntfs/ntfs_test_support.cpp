#include "engine/ntfs/ntfs_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/os/os.h"

namespace ntfs_test {
namespace {

constexpr uint32_t kRecordSize = 1024;
constexpr uint32_t kArrayOffset = 48;
constexpr uint16_t kSequenceNumber = 0x0102;

uint32_t Align8(uint32_t n) { return (n + 7) & ~7u; }

void PutName(Bytes& bytes, size_t at, const std::u16string& name) {
  for (size_t i = 0; i < name.size(); ++i) PutLe16(bytes, at + 2 * i, name[i]);
}

// Moves each sector's last two bytes into the array at arrayOffset and writes the sequence number there.
void Protect(Bytes& bytes, uint32_t arrayOffset) {
  const uint32_t sectors = static_cast<uint32_t>(bytes.size() / 512);
  PutLe16(bytes, 4, static_cast<uint16_t>(arrayOffset));
  PutLe16(bytes, 6, static_cast<uint16_t>(sectors + 1));
  PutLe16(bytes, arrayOffset, kSequenceNumber);
  for (uint32_t i = 0; i < sectors; ++i) {
    const size_t end = size_t{i} * 512 + 510;
    bytes[arrayOffset + 2 + 2 * i] = bytes[end];
    bytes[arrayOffset + 3 + 2 * i] = bytes[end + 1];
    PutLe16(bytes, end, kSequenceNumber);
  }
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) out.push_back(field);
  if (!line.empty() && line.back() == '\t') out.emplace_back();
  return out;
}

uint64_t Number(const std::string& text) { return std::stoull(text); }

std::u16string Join(const char* folder, const std::string& name) {
  return os::FromUtf8(folder) + u"\\" + os::FromUtf8(name);
}

ExpectedEntry EntryFrom(const std::vector<std::string>& f) {
  ExpectedEntry e;
  e.inode = static_cast<uint32_t>(Number(f[2]));
  e.folder = f[3] == "D";
  e.deleted = f[4] == "1";
  e.meta = f[5] == "1";
  e.parent = static_cast<uint32_t>(Number(f[6]));
  e.size = Number(f[7]);
  e.resident = f[8];
  e.created = f[9];
  e.modified = f[10];
  e.runs = f[11];
  e.name = os::FromUtf8(f[12]);
  return e;
}

ExpectedFolder FolderFrom(const std::vector<std::string>& f) {
  ExpectedFolder folder;
  folder.inode = static_cast<uint32_t>(Number(f[2]));
  if (f[3] != "-") {
    const size_t colon = f[3].find(':');
    folder.allocationSector = Number(f[3].substr(0, colon));
    folder.allocationSectors = static_cast<uint32_t>(Number(f[3].substr(colon + 1)));
  }
  folder.owner = f[4];
  return folder;
}

}  // namespace

void PutLe16(Bytes& bytes, size_t at, uint16_t value) {
  bytes.at(at) = static_cast<uint8_t>(value);
  bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void PutLe32(Bytes& bytes, size_t at, uint32_t value) {
  PutLe16(bytes, at, static_cast<uint16_t>(value));
  PutLe16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void PutLe64(Bytes& bytes, size_t at, uint64_t value) {
  PutLe32(bytes, at, static_cast<uint32_t>(value));
  PutLe32(bytes, at + 4, static_cast<uint32_t>(value >> 32));
}

Bytes FileNameValue(uint32_t parent, const std::u16string& name, uint8_t nameSpace, uint64_t created,
                    uint64_t changed) {
  Bytes value(66 + 2 * name.size(), 0);
  PutLe32(value, 0, parent);
  PutLe16(value, 6, 1);  // sequence number of the parent reference
  PutLe64(value, 8, created);
  PutLe64(value, 24, changed);
  value[64] = static_cast<uint8_t>(name.size());
  value[65] = nameSpace;
  PutName(value, 66, name);
  return value;
}

Bytes IndexEntry(uint32_t reference, const Bytes& key) {
  const uint32_t length = Align8(16 + static_cast<uint32_t>(key.size()));
  Bytes entry(length, 0);
  PutLe32(entry, 0, reference);
  PutLe16(entry, 8, static_cast<uint16_t>(length));
  PutLe16(entry, 10, static_cast<uint16_t>(key.size()));
  PutLe16(entry, 12, key.empty() ? 2 : 0);  // 2: the last entry of the node
  if (!key.empty()) std::memcpy(entry.data() + 16, key.data(), key.size());
  return entry;
}

namespace {

// A node header (16 bytes) followed by the entries and the last entry.
Bytes IndexNode(const std::vector<Bytes>& entries) {
  Bytes node(16, 0);
  for (const Bytes& e : entries) node.insert(node.end(), e.begin(), e.end());
  const Bytes last = IndexEntry(0, {});
  node.insert(node.end(), last.begin(), last.end());
  PutLe32(node, 0, 16);
  PutLe32(node, 4, static_cast<uint32_t>(node.size()));
  PutLe32(node, 8, static_cast<uint32_t>(node.size()));
  return node;
}

}  // namespace

Bytes IndexRootValue(const std::vector<Bytes>& entries) {
  Bytes value(16, 0);
  PutLe32(value, 0, 0x30);    // indexed attribute: file name
  PutLe32(value, 4, 1);       // collation by file name
  PutLe32(value, 8, 4096);    // index record size
  value[12] = 1;
  const Bytes node = IndexNode(entries);
  value.insert(value.end(), node.begin(), node.end());
  return value;
}

Bytes AttributeListValue(const std::vector<std::pair<uint32_t, uint32_t>>& entries) {
  Bytes value;
  for (const auto& [type, record] : entries) {
    Bytes entry(32, 0);
    PutLe32(entry, 0, type);
    PutLe16(entry, 4, 32);
    entry[7] = 26;  // name offset: no name
    PutLe32(entry, 16, record);
    value.insert(value.end(), entry.begin(), entry.end());
  }
  return value;
}

RecordBuilder::RecordBuilder(uint16_t flags) : bytes_(kRecordSize, 0), next_(56) {
  std::memcpy(bytes_.data(), "FILE", 4);
  PutLe16(bytes_, 4, kArrayOffset);
  PutLe16(bytes_, 6, 3);
  PutLe16(bytes_, 20, static_cast<uint16_t>(next_));
  PutLe16(bytes_, 22, flags);
  PutLe32(bytes_, 28, kRecordSize);
}

uint32_t RecordBuilder::AddHeader(uint32_t type, const std::u16string& name, bool nonResident, uint32_t headerSize,
                                  uint32_t bodySize) {
  const uint32_t at = next_;
  const uint32_t nameBytes = Align8(static_cast<uint32_t>(name.size()) * 2);
  const uint32_t length = Align8(headerSize + nameBytes + bodySize);
  PutLe32(bytes_, at, type);
  PutLe32(bytes_, at + 4, length);
  bytes_.at(at + 8) = nonResident ? 1 : 0;
  bytes_.at(at + 9) = static_cast<uint8_t>(name.size());
  PutLe16(bytes_, at + 10, static_cast<uint16_t>(headerSize));
  PutName(bytes_, at + headerSize, name);
  next_ = at + length;
  return at;
}

uint32_t RecordBuilder::AddResident(uint32_t type, const std::u16string& name, const Bytes& value) {
  const uint32_t at = AddHeader(type, name, false, 24, static_cast<uint32_t>(value.size()));
  const uint32_t valueOffset = 24 + Align8(static_cast<uint32_t>(name.size()) * 2);
  PutLe32(bytes_, at + 16, static_cast<uint32_t>(value.size()));
  PutLe16(bytes_, at + 20, static_cast<uint16_t>(valueOffset));
  if (!value.empty()) std::memcpy(&bytes_.at(at + valueOffset), value.data(), value.size());
  return at;
}

void RecordBuilder::SetAttributeFlags(uint32_t offset, uint16_t flags) {
  bytes_[offset + 12] = static_cast<uint8_t>(flags);
  bytes_[offset + 13] = static_cast<uint8_t>(flags >> 8);
}

uint32_t RecordBuilder::AddNonResident(uint32_t type, const std::u16string& name, const Bytes& runs,
                                       uint64_t realSize) {
  const uint32_t at = AddHeader(type, name, true, 64, static_cast<uint32_t>(runs.size()) + 1);
  const uint32_t runsOffset = 64 + Align8(static_cast<uint32_t>(name.size()) * 2);
  PutLe16(bytes_, at + 32, static_cast<uint16_t>(runsOffset));
  PutLe64(bytes_, at + 40, (realSize + 4095) / 4096 * 4096);
  PutLe64(bytes_, at + 48, realSize);
  PutLe64(bytes_, at + 56, realSize);
  std::memcpy(&bytes_.at(at + runsOffset), runs.data(), runs.size());
  return at;
}

uint32_t RecordBuilder::AddFileName(uint32_t parent, const std::u16string& name, uint8_t nameSpace) {
  return AddResident(0x30, u"", FileNameValue(parent, name, nameSpace));
}

Bytes RecordBuilder::Plain() const {
  Bytes out = bytes_;
  PutLe32(out, next_, 0xFFFFFFFF);
  PutLe32(out, 24, next_ + 8);
  return out;
}

Bytes RecordBuilder::Protected() const {
  Bytes out = Plain();
  Protect(out, kArrayOffset);
  return out;
}

Bytes IndexRecord(uint32_t size, uint32_t number, const std::vector<Bytes>& entries) {
  Bytes record(size, 0);
  std::memcpy(record.data(), "INDX", 4);
  PutLe32(record, 16, number);
  // The node header lies at 24; the entries follow the update-sequence array, which starts at 40.
  const uint32_t entriesAt = Align8(40 + 2 * (size / 512 + 1));
  const Bytes node = IndexNode(entries);
  const uint32_t entryBytes = static_cast<uint32_t>(node.size()) - 16;
  PutLe32(record, 24, entriesAt - 24);
  PutLe32(record, 28, entriesAt - 24 + entryBytes);
  PutLe32(record, 32, size - 24);
  std::memcpy(&record.at(entriesAt), node.data() + 16, entryBytes);
  Protect(record, 40);
  return record;
}

std::vector<ExpectedVolume> ExpectedVolumes() {
  std::vector<ExpectedVolume> volumes;
  os::File file;
  uint64_t size = 0;
  const std::u16string path = os::FromUtf8(DORVANE_NTFS_ORACLE);
  if (!file.OpenRead(path) || !file.Size(&size)) {
    ADD_FAILURE() << "no oracle file " << DORVANE_NTFS_ORACLE;
    return volumes;
  }
  std::string text(static_cast<size_t>(size), '\0');
  uint32_t got = 0;
  if (!file.Read(text.data(), static_cast<uint32_t>(size), &got) || got != size) {
    ADD_FAILURE() << "cannot read " << DORVANE_NTFS_ORACLE;
    return volumes;
  }
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() == 7 && f[0] == "volume") {
      ExpectedVolume v;
      v.image = f[1];
      v.start = static_cast<uint32_t>(Number(f[2]));
      v.sectorsPerCluster = static_cast<uint32_t>(Number(f[3]));
      v.mftCluster = static_cast<uint32_t>(Number(f[4]));
      const size_t colon = f[5].find(':');
      v.mftFirstSector = Number(f[5].substr(0, colon));
      v.mftSectors = Number(f[5].substr(colon + 1));
      v.indexRecordBytes = static_cast<uint32_t>(Number(f[6]));
      volumes.push_back(v);
    } else if (f.size() == 13 && f[0] == "entry" && !volumes.empty()) {
      volumes.back().entries.push_back(EntryFrom(f));
    } else if (f.size() == 5 && f[0] == "folder" && !volumes.empty()) {
      volumes.back().folders.push_back(FolderFrom(f));
    } else if (!line.empty()) {
      ADD_FAILURE() << "oracle line not understood: " << line;
    }
  }
  return volumes;
}

std::u16string SharedImage(const std::string& name) { return Join(DORVANE_SHARED_IMAGES, name); }

std::u16string TempImage(const std::string& name) {
  return os::ProcessTempPath(u"dorvane_ntfs_test") + u"_" + os::FromUtf8(name);
}

}  // namespace ntfs_test
