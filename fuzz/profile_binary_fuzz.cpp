// Settings read back from a profile file, which anyone can edit: a binary value's letters decode to half
// as many bytes or are refused, and what decodes encodes back to the same letters; a toolbar resource
// reads no item beyond its data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/common/profile_hex.h"
#include "toolkit/common/toolbar_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  std::vector<std::uint8_t> bytes;
  if (tkprofile::DecodeBinary(text, &bytes)) {
    if (bytes.size() != text.size() / 2) std::abort();
    if (tkprofile::EncodeBinary(bytes.data(), bytes.size()) != text.substr(0, bytes.size() * 2)) std::abort();
    double d = 0;
    if (tkprofile::DoubleFromBytes(bytes.data(), bytes.size(), &d) != (bytes.size() == 8)) std::abort();
  } else if (!bytes.empty()) {
    std::abort();
  }
  TKToolBarData toolbar;
  if (ParseToolBarResource(data, size, &toolbar) && 8 + 2 * toolbar.items.size() > size) std::abort();
  return 0;
}
