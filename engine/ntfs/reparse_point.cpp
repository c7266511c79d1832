#include "engine/ntfs/reparse_point.h"

#include <algorithm>
#include <string_view>

#include "engine/image/byte_order.h"
#include "engine/ntfs/mft_record.h"
#include "platform/os/os.h"

namespace ntfs {

namespace {

// A reparse point's value: the tag, the length of its data, two reserved bytes, then the data.
constexpr uint32_t kDataOffset = 8;
// A junction's or symbolic link's data: the offsets and lengths (bytes) of the name it hands the system and of
// the name it shows, within the path buffer that follows them (after a u32 of flags for a symbolic link).
constexpr uint32_t kNamesHeader = 8;
constexpr uint32_t kSymbolicLinkFlags = 4;
// A Linux program's link: a u32 version, then the target in UTF-8.
constexpr uint32_t kLinuxLinkVersion = 4;

std::u16string Utf16At(const uint8_t* bytes, uint32_t count) {
  std::u16string text(count / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(LoadLe16(bytes + 2 * i));
  return text;
}

// The target a junction's or symbolic link's data names: its print name, else its substitute name without the
// prefix the system reads it through.
std::u16string NamedTarget(const uint8_t* data, uint32_t size, uint32_t bufferOffset) {
  if (size < bufferOffset) return {};
  const uint8_t* buffer = data + bufferOffset;
  const uint32_t bufferSize = size - bufferOffset;
  const auto name = [&](uint32_t at) -> std::u16string {
    const uint32_t offset = LoadLe16(data + at), length = LoadLe16(data + at + 2);
    if (offset > bufferSize || length > bufferSize - offset) return {};
    return Utf16At(buffer + offset, length);
  };
  std::u16string shown = name(4);
  if (!shown.empty()) return shown;
  std::u16string given = name(0);
  constexpr std::u16string_view kUnc = u"\\??\\UNC\\", kDevice = u"\\??\\";
  if (std::u16string_view(given).substr(0, kUnc.size()) == kUnc) return u"\\\\" + given.substr(kUnc.size());
  if (std::u16string_view(given).substr(0, kDevice.size()) == kDevice) return given.substr(kDevice.size());
  return given;
}

}  // namespace

bool ReadReparsePoint(const uint8_t* record, ReparsePoint* point) {
  Attribute attribute;
  if (!FindAttribute(record, kReparsePointAttribute, "", &attribute) || attribute.nonResident ||
      attribute.valueLength < 4) {
    return false;
  }
  const uint8_t* value = record + attribute.valueStart;
  point->tag = LoadLe32(value);
  point->target.clear();
  if (attribute.valueLength < kDataOffset) return true;
  const uint8_t* data = value + kDataOffset;
  const uint32_t size = std::min<uint32_t>(LoadLe16(value + 4), attribute.valueLength - kDataOffset);
  if (point->tag == kMountPointReparseTag) {
    point->target = NamedTarget(data, size, kNamesHeader);
  } else if (point->tag == kSymbolicLinkReparseTag) {
    point->target = NamedTarget(data, size, kNamesHeader + kSymbolicLinkFlags);
  } else if (point->tag == kLinuxSymbolicLinkReparseTag && size > kLinuxLinkVersion) {
    point->target = os::FromUtf8(
        std::string_view(reinterpret_cast<const char*>(data + kLinuxLinkVersion), size - kLinuxLinkVersion));
  }
  return true;
}

}  // namespace ntfs
