// Names read off an image made into path components: whatever the name, the component must be a plain
// name inside its folder (no separator, drive colon, control character, trailing dot or blank, not "."
// or "..", not a device) and must stay as it is when made safe again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/save/safe_path_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string name;
  for (size_t i = 0; i + 1 < size; i += 2) name.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  const std::u16string safe = SafePathComponent(name);
  if (safe.empty() || safe.back() == u'.' || safe.back() == u' ') std::abort();
  for (char16_t c : safe) {
    if (c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos) std::abort();
  }
  if (SafePathComponent(safe) != safe) std::abort();
  if (safe.size() != name.size() && safe.size() != name.size() + 1 && !(name.empty() && safe == u"_")) std::abort();
  return 0;
}
