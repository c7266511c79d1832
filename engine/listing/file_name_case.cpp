#include "engine/listing/file_name_case.h"

#include <cstdint>

namespace file_name {
namespace {

enum Parity : uint8_t { kEvery, kOddOnly, kEvenOnly };

// first .. last map by delta; in a pair range only the small letters (odd or even units) do.
struct CaseRange {
  char16_t first;
  char16_t last;
  int16_t delta;
  Parity parity;
};

constexpr CaseRange kRanges[] = {
    {0x00E0, 0x00F6, -32, kEvery},   {0x00F8, 0x00FE, -32, kEvery},   {0x00FF, 0x00FF, 121, kEvery},
    {0x0100, 0x012F, -1, kOddOnly},  {0x0132, 0x0137, -1, kOddOnly},  {0x0139, 0x0148, -1, kEvenOnly},
    {0x014A, 0x0177, -1, kOddOnly},  {0x017A, 0x017E, -1, kEvenOnly}, {0x03AC, 0x03AC, -38, kEvery},
    {0x03AD, 0x03AF, -37, kEvery},   {0x03B1, 0x03C1, -32, kEvery},   {0x03C2, 0x03C2, -31, kEvery},
    {0x03C3, 0x03CB, -32, kEvery},   {0x03CC, 0x03CC, -64, kEvery},   {0x03CD, 0x03CE, -63, kEvery},
    {0x0430, 0x044F, -32, kEvery},   {0x0450, 0x045F, -80, kEvery},   {0x0460, 0x0481, -1, kOddOnly},
    {0x048A, 0x04BF, -1, kOddOnly},  {0x04C1, 0x04CE, -1, kEvenOnly}, {0x04CF, 0x04CF, -15, kEvery},
    {0x04D0, 0x04FF, -1, kOddOnly},  {0x0561, 0x0586, -48, kEvery},   {0xFF41, 0xFF5A, -32, kEvery},
};

bool ParityFits(char16_t c, Parity parity) {
  switch (parity) {
    case kOddOnly:
      return (c & 1) != 0;
    case kEvenOnly:
      return (c & 1) == 0;
    case kEvery:
      break;
  }
  return true;
}

}  // namespace

char16_t UpperCaseChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  for (const CaseRange& range : kRanges) {
    if (c < range.first) break;  // the ranges are in ascending order
    if (c <= range.last && ParityFits(c, range.parity)) return static_cast<char16_t>(c + range.delta);
  }
  return c;
}

std::u16string UpperCase(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) c = UpperCaseChar(c);
  return upper;
}

}  // namespace file_name
