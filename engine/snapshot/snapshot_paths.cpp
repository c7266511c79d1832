#include "engine/snapshot/snapshot.h"

#include <algorithm>

namespace snapshot {

namespace {

// ASCII and Latin-1 capitals to their small letters (not U+00D7, the multiplication sign).
char16_t LowerCaseChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
  return c;
}

}  // namespace

std::u16string SavePathFor(const std::u16string& chosen) {
  // Only the file name is lower-cased: the folders exist already, and on a system whose names keep
  // their case, lower-casing them would name other folders.
  std::u16string path = chosen;
  const size_t slash = path.find_last_of(u"\\/");
  const size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
  std::transform(path.begin() + static_cast<std::ptrdiff_t>(nameStart), path.end(),
                 path.begin() + static_cast<std::ptrdiff_t>(nameStart), LowerCaseChar);
  const std::u16string extension = u".vsnp";
  if (path.size() < extension.size() || path.compare(path.size() - extension.size(), extension.size(), extension) != 0) {
    path += extension;
  }
  return path;
}

std::u16string LoadPathFor(const std::u16string& path) {
  std::u16string cleaned = path;
  cleaned.erase(std::remove(cleaned.begin(), cleaned.end(), u'"'), cleaned.end());
  return cleaned;
}

}  // namespace snapshot
