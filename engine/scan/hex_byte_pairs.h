// A 16-bit value that the signature database writes as four hex digits in little-endian byte order.
#pragma once

#include <string>
#include <string_view>

// Characters 3, 4, 1 and 2 of a four-digit hex text: "4d5a" gives "5a4d". Only the first four characters
// count; a text of fewer than four gives an empty text.
std::string SwapHexBytePairs(std::string_view hex);
