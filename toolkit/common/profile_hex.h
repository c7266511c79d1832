// The text form of binary values in a profile file, and the byte form of floating-point settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tkprofile {

// Each byte as two letters: 'A' + its low four bits, then 'A' + its high four bits.
std::u16string EncodeBinary(const std::uint8_t* bytes, std::size_t size);
// The bytes of such a text (a final odd letter is ignored); false for an empty text or a letter
// outside 'A' to 'P', which no writer makes.
bool DecodeBinary(const std::u16string& text, std::vector<std::uint8_t>* bytes);

// A float or double setting is stored as its IEEE bytes, little-endian: 4 or 8 bytes, the form the
// registry's binary values and the profile file's letters both carry. Reading wants exactly that size.
std::vector<std::uint8_t> FloatBytes(float value);
std::vector<std::uint8_t> DoubleBytes(double value);
bool FloatFromBytes(const std::uint8_t* bytes, std::size_t size, float* value);
bool DoubleFromBytes(const std::uint8_t* bytes, std::size_t size, double* value);

}  // namespace tkprofile
