// Colour values of page attributes: a colour name or six hexadecimal digits.
#pragma once

#include <cstdint>
#include <string_view>

namespace htmlview {

// 0x00BBGGRR. A name of the colour table (any case); else an optional "#" and three hexadecimal pairs
// (red, green, blue) from the first six characters; the short form "#rgb" doubles each digit. Anything
// else (a damaged or unknown value) gives otherwise, so the caller's own colour stands.
uint32_t ParseColor(std::u16string_view text, uint32_t otherwise = 0);

}  // namespace htmlview
