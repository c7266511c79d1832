// The Windows-1252 code page: the page viewer's tables store characters above 0x7F in it.
#pragma once

#include <cstdint>

namespace htmlview {

// The UTF-16 character of a 1252 byte; bytes without a character of their own (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) give the control character of the same value.
char16_t Cp1252ToUtf16(uint8_t byte);

}  // namespace htmlview
