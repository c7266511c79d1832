// MatchFileNamePattern over arbitrary names and patterns: it must never read outside either string.
// Input: one byte giving the name's length in UTF-16 units, then the units of name and pattern.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/listing/file_name_case.h"
#include "engine/listing/file_name_pattern.h"

namespace {

// An exactly sized copy, so that a read past the end lands outside the allocation.
std::unique_ptr<char16_t[]> ExactCopy(const std::u16string& text) {
  std::unique_ptr<char16_t[]> copy(new char16_t[text.size()]);
  text.copy(copy.get(), text.size());
  return copy;
}

void Match(const std::u16string& name, const std::u16string& pattern) {
  auto nameCopy = ExactCopy(name);
  auto patternCopy = ExactCopy(pattern);
  MatchFileNamePattern({nameCopy.get(), name.size()}, {patternCopy.get(), pattern.size()});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::u16string units;
  for (size_t i = 1; i + 1 < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  const size_t nameLength = data[0] < units.size() ? data[0] : units.size();
  const std::u16string name = units.substr(0, nameLength);
  const std::u16string pattern = units.substr(nameLength);
  Match(name, pattern);
  Match(file_name::UpperCase(name), file_name::UpperCase(pattern));
  return 0;
}
