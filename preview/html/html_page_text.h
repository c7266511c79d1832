// A page's bytes as the page viewer's text, in the encoding they are in: a byte-order mark, else UTF-16
// told by its zeros, else the charset its <meta> names, else UTF-8 told by its bytes, else the system's
// code page (the text viewer's rules, text_encoding.h, with the page's own word between them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace htmlview {

// 8-bit bytes in a Windows code page as UTF-16; code page 0 is the system's, and a code page the system
// does not have is read as the system's.
using CodePageReader = std::function<std::u16string(std::string_view bytes, uint32_t codePage)>;

constexpr uint32_t kUtf8CodePage = 65001;

// The charset label a <meta charset> or <meta http-equiv content="...; charset=..."> names in the page's
// head (up to its "</head" or "<body", else the whole page; comments passed over), in small letters; empty
// when none does. A head of long styles or scripts names it far into the page. Linear in the page.
std::string MetaCharset(const uint8_t* bytes, size_t size);
// The code page a charset label names (UTF-16 labels name UTF-8: a page whose bytes were not UTF-16 was
// not written so); 0 for a label this viewer does not know.
uint32_t CharsetCodePage(std::string_view label);

// The page's text. Only text read by a code page has its UTF-8 pairs repaired (RepairUtf8). NUL
// characters become spaces when zerosAsSpaces, else the text ends at the first.
std::u16string PageTextFromBytes(const uint8_t* bytes, size_t size, const CodePageReader& codePages,
                                 bool zerosAsSpaces);

}  // namespace htmlview
