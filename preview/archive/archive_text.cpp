#include "preview/archive/archive_text.h"

#include <cstring>
#include <string_view>

#include "platform/os/os.h"
#include "preview/viewers/text_encoding.h"

namespace archive {

std::u16string ArchiveTextToWide(const char* field, size_t capacity, NameCoding coding, size_t maxUnits) {
  if (field == nullptr || capacity == 0) return {};
  const void* nul = std::memchr(field, 0, capacity);
  const size_t length = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - field) : capacity;
  const std::string_view bytes(field, length);
  if (coding == NameCoding::kOem) {
    Utf8Check check;
    check.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (check.IsStrictUtf8()) coding = NameCoding::kUtf8;
  }
  std::u16string text = coding == NameCoding::kUtf8 ? os::FromUtf8(bytes)
                        : coding == NameCoding::kOem ? os::FromOemCodePage(bytes)
                                                     : os::FromCodePage(bytes);
  if (text.size() > maxUnits) {
    size_t cut = maxUnits;
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;  // keep pairs whole
    text.resize(cut);
  }
  return text;
}

}  // namespace archive
