#include "engine/scan/hex_text.h"

#include <utility>

namespace {

std::string HexText(const uint8_t* bytes, size_t count, const char* digits) {
  std::string text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text.push_back(digits[bytes[i] >> 4]);
    text.push_back(digits[bytes[i] & 0x0F]);
  }
  return text;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string BytesToHexText(const uint8_t* bytes, int32_t count) {
  if (count < 1) return std::string();
  return HexText(bytes, static_cast<size_t>(count), "0123456789abcdef");
}

std::string BytesToUpperHexText(const uint8_t* bytes, size_t count) {
  return HexText(bytes, count, "0123456789ABCDEF");
}

bool HexTextToBytes(std::string_view text, std::vector<uint8_t>* bytes) {
  bytes->clear();
  if (text.size() % 2 != 0) return false;
  std::vector<uint8_t> out;
  out.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = HexDigitValue(text[i]);
    const int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    out.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  *bytes = std::move(out);
  return true;
}
