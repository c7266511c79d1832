#include "preview/archive/archive_rows.h"

#include <string_view>

#include "preview/archive/archive_time.h"
#include "preview/archive/zip_reader.h"

namespace archive {

namespace {

constexpr uint32_t kDirectoryAttribute = 0x10;
constexpr uint64_t kDirectoryFlags = 0xE0;
constexpr uint64_t kFolderFlags = 32992, kFileFlags = 32960;

using os::Decimal;
std::u16string Decimal(int64_t value) { return os::FromAscii(std::to_string(value)); }

// A ZIP time as the list shows it: UTC times from the "UT" block on the local clock; DOS times, which
// are the local clock already, as they are.
std::u16string ZipTimeText(const ZipEntry& entry, os::FileTime time, uint32_t utcBit) {
  os::FileTime local = time;
  if ((entry.utcTimes & utcBit) != 0 && !os::FileTimeToLocalFileTime(time, &local)) local = time;
  return FormatArchiveTime(local);
}

std::u16string LoadedOf(uint64_t listed, uint64_t total) {
  return u"Loaded " + Decimal(listed) + u" of " + Decimal(total) + u" total members";
}

}  // namespace

std::vector<ArchiveColumn> ArchiveColumnsFor(const std::u16string& extension) {
  if (extension == u".zip") {
    return {{u"File Name", 200},     {u"Directory", 100},   {u"File Size", 100}, {u"Access Time", 150},
            {u"Creation Time", 150}, {u"modify Time", 150}, {u"Attribute", 200}};
  }
  if (extension == u".gz" || extension == u".cab" || extension == u".rar") {
    return {{u"File Name", 200}, {u"Directory", 100}, {u"File Size", 100}, {u"Access Time", 150}, {u"Attribute", 200}};
  }
  return {};
}

std::u16string AttributeText(uint32_t attributes) {
  std::u16string text;
  text += (attributes & 0x01) != 0 ? u'r' : u'-';
  text += (attributes & 0x20) != 0 ? u'a' : u'-';
  text += (attributes & 0x02) != 0 ? u'h' : u'-';
  text += (attributes & 0x04) != 0 ? u's' : u'-';
  return text;
}

void SplitCabPath(const std::u16string& path, std::u16string* name, std::u16string* folder) {
  const size_t slash = path.rfind(u'\\');
  *name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  *folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
}

bool IsRarDirectory(const RarEntry& entry) {
  return (entry.attributes & kDirectoryAttribute) != 0 || (entry.flags & kDirectoryFlags) == kDirectoryFlags;
}

bool IsZipDirectory(const ZipEntry& entry) {
  const std::u16string_view name(entry.name);
  return (entry.attributes & kZipAttrDirectory) != 0 || (!name.empty() && (name.back() == u'/' || name.back() == u'\\'));
}

std::vector<std::u16string> ZipRowTexts(const ZipEntry& entry) {
  return {std::u16string(entry.name),
          IsZipDirectory(entry) ? u"Yes" : u"No",
          Decimal(entry.uncompressedSize),
          ZipTimeText(entry, entry.accessTime, kZipUtcAccess),
          ZipTimeText(entry, entry.creationTime, kZipUtcCreation),
          ZipTimeText(entry, entry.modificationTime, kZipUtcModification),
          AttributeText(entry.attributes)};
}

std::u16string ListedMembersNote(uint64_t listed, uint64_t total) {
  return listed < total ? LoadedOf(listed, total) : std::u16string();
}

std::u16string DamagedMembersNote(uint64_t listed, uint64_t total) {
  return LoadedOf(listed, total) + u": the archive is damaged";
}

std::u16string ForEachZipRow(ZipHandle* zip, const std::function<void(const ZipEntry&)>& row) {
  ZipEntry entry;
  const int32_t count = ZipGetItem(zip, -1, &entry) == kZipOk ? entry.index : 0;
  uint64_t listed = 0;
  bool full = false, skipped = false;
  for (int32_t i = 0; i < count; ++i) {
    if (listed >= kMaxListedMembers) {
      full = true;
      break;
    }
    const uint32_t result = ZipGetItem(zip, i, &entry);
    if (result == kZipLocalHeader || result == kZipExtraField) {
      skipped = true;
      continue;
    }
    if (result != kZipOk) break;
    row(entry);
    ++listed;
  }
  ZipDirectoryState directory;
  if (ZipGetDirectoryState(zip, &directory) != kZipOk) directory = ZipDirectoryState();
  if (directory.whole && !skipped && (full || listed == static_cast<uint64_t>(count)))
    return ListedMembersNote(listed, static_cast<uint64_t>(count));
  const uint64_t total = directory.claimed > static_cast<uint64_t>(count) ? directory.claimed : count;
  return DamagedMembersNote(listed, total);
}

std::vector<std::u16string> CabRowTexts(const CabEntry& entry) {
  return {entry.name, entry.folder, Decimal(static_cast<uint64_t>(entry.size)), FormatArchiveTime(entry.time),
          AttributeText(entry.attributes)};
}

std::vector<std::u16string> RarRowTexts(const RarEntry& entry) {
  // The flags say folder or file only in these two values; any other leaves the cell empty.
  const char16_t* folder = entry.flags == kFolderFlags ? u"Yes" : entry.flags == kFileFlags ? u"No" : u"";
  return {entry.name, folder, Decimal(entry.unpackedSize),
          FormatArchiveTime(entry.time), AttributeText(entry.attributes)};
}

}  // namespace archive
