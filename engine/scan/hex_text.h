// Bytes as hexadecimal text, two digits per byte, high nibble first: the form in which the signature
// database keeps its byte fields and File Trace compares signatures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Lower-case hex text of count bytes; a count below 1 gives an empty text.
std::string BytesToHexText(const uint8_t* bytes, int32_t count);
// Upper-case hex text of count bytes.
std::string BytesToUpperHexText(const uint8_t* bytes, size_t count);
// The bytes written as hex text (either case); false, and nothing in *bytes, when the text has an odd
// length or a character that is no hex digit.
bool HexTextToBytes(std::string_view text, std::vector<uint8_t>* bytes);
