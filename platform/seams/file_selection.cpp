#include "platform/seams/file_selection.h"

namespace seams {

namespace {

// The parts of the buffer up to the first empty one.
std::vector<std::u16string> Parts(const std::u16string& buffer, char16_t separator) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (start < buffer.size() && buffer[start] != 0) {
    size_t end = buffer.find(separator, start);
    if (separator != 0) {
      const size_t zero = buffer.find(char16_t{0}, start);
      if (zero < end) end = zero;
    }
    if (end == std::u16string::npos) end = buffer.size();
    parts.push_back(buffer.substr(start, end - start));
    if (end < buffer.size() && buffer[end] == 0 && separator != 0) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::vector<std::u16string> SelectionPaths(const std::u16string& buffer, bool explorer) {
  const std::vector<std::u16string> parts = Parts(buffer, explorer ? char16_t{0} : u' ');
  if (parts.size() <= 1) return parts;  // one file: the buffer is its path
  std::u16string folder = parts.front();
  if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
  std::vector<std::u16string> paths;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (!parts[i].empty()) paths.push_back(folder + parts[i]);
  }
  return paths;
}

}  // namespace seams
