#include "preview/viewers/text_encoding.h"

#include <algorithm>

namespace {

// A text is UTF-16 when at least one pair in this many (and this many pairs at least) holds a zero on
// its side alone, and the other side at most one for this many on the first. Each zero run in 8-bit text
// gives at most one such pair to each side.
constexpr size_t kUtf16PairsPerZero = 16;
constexpr uint64_t kUtf16LeastPairs = 4;
constexpr uint64_t kOtherSideRatio = 8;
// Ill-formed sequences a UTF-8 text may hold: one for this many characters beyond ASCII.
constexpr uint64_t kCharactersPerIllFormed = 4;

void AppendCodePoint(std::u16string& out, uint32_t code) {
  if (code == Utf8Decoder::kIllFormed) {
    out.push_back(kReplacementCharacter);
  } else if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (code & 0x3FF)));
  }
}

}  // namespace

TextStart ExamineTextStart(const uint8_t* bytes, size_t count) {
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {TextEncoding::kUtf16LittleEndian, 2, true};
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {TextEncoding::kUtf16BigEndian, 2, true};
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return {TextEncoding::kUtf8, 3, true};
  // Pairs with exactly one zero: a zero high byte of a little-endian character, or of a big-endian one.
  const size_t pairs = std::min(count, kTextStartBytes) / 2;
  uint64_t little = 0, big = 0;
  for (size_t i = 0; i < pairs; ++i) {
    const bool firstZero = bytes[2 * i] == 0, secondZero = bytes[2 * i + 1] == 0;
    if (secondZero && !firstZero) ++little;
    if (firstZero && !secondZero) ++big;
  }
  const auto tells = [pairs](uint64_t side, uint64_t other) {
    return side >= kUtf16LeastPairs && side * kUtf16PairsPerZero >= pairs && other * kOtherSideRatio <= side;
  };
  if (tells(little, big)) return {TextEncoding::kUtf16LittleEndian, 0, true};
  if (tells(big, little)) return {TextEncoding::kUtf16BigEndian, 0, true};
  return {};
}

bool Utf8Decoder::Start(uint8_t lead) {
  m_low = 0x80;
  m_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    m_following = 1;
    m_code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    m_following = 2;
    m_code = lead & 0x0Fu;
    if (lead == 0xE0) m_low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) m_high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    m_following = 3;
    m_code = lead & 0x07u;
    if (lead == 0xF0) m_low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) m_high = 0x8F;  // past U+10FFFF
  } else {
    return false;
  }
  return true;
}

void Utf8Check::Feed(const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    m_decoder.Take(bytes[i], [this](uint32_t code) {
      if (code == Utf8Decoder::kIllFormed) {
        ++m_illFormed;
      } else if (code >= 0x80) {
        ++m_beyondAscii;
      }
    });
  }
}

bool Utf8Check::IsUtf8() const { return m_beyondAscii > 0 && m_illFormed * kCharactersPerIllFormed <= m_beyondAscii; }

std::u16string DecodeUtf8(std::string_view bytes, bool atEnd) {
  std::u16string out;
  out.reserve(bytes.size());
  Utf8Decoder decoder;
  for (char c : bytes) decoder.Take(static_cast<uint8_t>(c), [&out](uint32_t code) { AppendCodePoint(out, code); });
  if (decoder.Pending() && !atEnd) out.push_back(kReplacementCharacter);
  return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<uint8_t>(bytes[i]), second = static_cast<uint8_t>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return out;
}
