#include "preview/viewers/text_encoding.h"

#include <algorithm>

namespace {

// UTF-16 told by its zeros: at least one pair in this many (and this many pairs at least) holds a zero on
// its side alone, and the other side at most one for this many on the first.
constexpr uint64_t kUtf16PairsPerZero = 16;
constexpr uint64_t kUtf16LeastPairs = 4;
constexpr uint64_t kOtherSideRatio = 8;
// UTF-16 told by its line ends: this many at least, and CR or LF bytes in high bytes' places at most one
// for this many of them.
constexpr uint64_t kUtf16LeastLineEnds = 4;
constexpr uint64_t kLineEndsPerStray = 8;
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

TextStart ByteOrderMark(const uint8_t* bytes, size_t count) {
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {TextEncoding::kUtf16LittleEndian, 2, true};
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {TextEncoding::kUtf16BigEndian, 2, true};
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return {TextEncoding::kUtf8, 3, true};
  return {};
}

namespace {

bool IsLineEnd(uint8_t b) { return b == '\r' || b == '\n'; }

}  // namespace

void Utf16Check::Feed(const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (m_odd) Pair(m_first, bytes[i]);
    m_first = bytes[i];
    m_odd = !m_odd;
  }
}

// first is the low byte of a little-endian character, the high byte of a big-endian one.
void Utf16Check::Pair(uint8_t first, uint8_t second) {
  if (first == 0 && second == 0) {
    m_waiting = 0;  // the zero before was the run's edge
    m_afterZeros = true;
    return;
  }
  ++m_pairs;
  if (m_waiting != 0) {
    ++m_little.zeros;
    if (m_waiting == 2) ++m_little.lineEnds;
    m_waiting = 0;
  }
  if (second == 0) m_waiting = IsLineEnd(first) ? 2 : 1;
  if (first == 0 && !m_afterZeros) {  // after a run the zero is the run's edge
    ++m_big.zeros;
    if (IsLineEnd(second)) ++m_big.lineEnds;
  }
  if (IsLineEnd(second)) ++m_little.strays;
  if (IsLineEnd(first)) ++m_big.strays;
  m_afterZeros = false;
}

bool Utf16Check::Tells(const Side& side, const Side& other) const {
  const bool byZeros = side.zeros >= kUtf16LeastPairs && side.zeros * kUtf16PairsPerZero >= m_pairs &&
                       other.zeros * kOtherSideRatio <= side.zeros;
  const bool byLineEnds = side.lineEnds >= kUtf16LeastLineEnds && side.strays * kLineEndsPerStray <= side.lineEnds;
  return byZeros || byLineEnds;
}

TextEncoding Utf16Check::Encoding() const {
  Side little = m_little;  // a pair still waiting ends the text: no run follows it
  if (m_waiting != 0) {
    ++little.zeros;
    if (m_waiting == 2) ++little.lineEnds;
  }
  if (Tells(little, m_big)) return TextEncoding::kUtf16LittleEndian;
  if (Tells(m_big, little)) return TextEncoding::kUtf16BigEndian;
  return TextEncoding::kAnsi;
}

TextStart ExamineText(const uint8_t* bytes, size_t count) {
  const TextStart mark = ByteOrderMark(bytes, count);
  if (mark.decided) return mark;
  Utf16Check check;
  check.Feed(bytes, count);
  const TextEncoding encoding = check.Encoding();
  return {encoding, 0, encoding != TextEncoding::kAnsi};
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
