#include "toolkit/common/profile_hex.h"

#include <cstring>

namespace tkprofile {
namespace {

bool Nibble(char16_t letter, int* value) {
  if (letter < u'A' || letter > u'P') return false;
  *value = letter - u'A';
  return true;
}

template <class T, class Bits>
std::vector<std::uint8_t> LittleEndian(T value) {
  Bits bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::vector<std::uint8_t> out(sizeof bits);
  for (std::size_t i = 0; i < sizeof bits; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return out;
}

template <class T, class Bits>
bool FromLittleEndian(const std::uint8_t* bytes, std::size_t size, T* value) {
  if (!bytes || size != sizeof(Bits)) return false;
  Bits bits = 0;
  for (std::size_t i = 0; i < sizeof bits; ++i) bits |= static_cast<Bits>(bytes[i]) << (8 * i);
  std::memcpy(value, &bits, sizeof bits);
  return true;
}

}  // namespace

std::u16string EncodeBinary(const std::uint8_t* bytes, std::size_t size) {
  std::u16string text;
  text.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    text.push_back(static_cast<char16_t>(u'A' + (bytes[i] & 0x0F)));
    text.push_back(static_cast<char16_t>(u'A' + (bytes[i] >> 4)));
  }
  return text;
}

bool DecodeBinary(const std::u16string& text, std::vector<std::uint8_t>* bytes) {
  bytes->clear();
  if (text.size() < 2) return false;
  bytes->reserve(text.size() / 2);
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    int low = 0, high = 0;
    if (!Nibble(text[i], &low) || !Nibble(text[i + 1], &high)) {
      bytes->clear();
      return false;
    }
    bytes->push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return true;
}

std::vector<std::uint8_t> FloatBytes(float value) { return LittleEndian<float, std::uint32_t>(value); }
std::vector<std::uint8_t> DoubleBytes(double value) { return LittleEndian<double, std::uint64_t>(value); }

bool FloatFromBytes(const std::uint8_t* bytes, std::size_t size, float* value) {
  return FromLittleEndian<float, std::uint32_t>(bytes, size, value);
}
bool DoubleFromBytes(const std::uint8_t* bytes, std::size_t size, double* value) {
  return FromLittleEndian<double, std::uint64_t>(bytes, size, value);
}

}  // namespace tkprofile
