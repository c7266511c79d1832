#include "engine/fat/oem_code_page.h"

#include <cstring>

#include "engine/fat/fat_directory.h"
#include "platform/os/os.h"

namespace {

// Unicode's small letters of the capitals the code pages hold: a block of capitals whose small letters lie
// `offset` on, or (pairs) every other character a capital with its small letter after it.
struct CaseRange {
  char16_t first, last;
  int offset;
  bool pairs;
};

constexpr CaseRange kCaseRanges[] = {
    {u'A', u'Z', 0x20, false},
    {0x00C0, 0x00D6, 0x20, false},  // Latin-1, not the multiplication sign
    {0x00D8, 0x00DE, 0x20, false},
    {0x0100, 0x012F, 1, true},      // Latin Extended-A: the Central European and Turkish letters
    {0x0130, 0x0130, 0x0069 - 0x0130, false},  // the Turkish capital I with a dot: i
    {0x0132, 0x0137, 1, true},
    {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},
    {0x0178, 0x0178, 0x00FF - 0x0178, false},
    {0x0179, 0x017E, 1, true},
    {0x0386, 0x0386, 0x03AC - 0x0386, false},  // Greek with tonos
    {0x0388, 0x038A, 0x25, false},
    {0x038C, 0x038C, 0x40, false},
    {0x038E, 0x038F, 0x3F, false},
    {0x0391, 0x03A1, 0x20, false},  // Greek, no capital final sigma
    {0x03A3, 0x03AB, 0x20, false},
    {0x0400, 0x040F, 0x50, false},  // Cyrillic
    {0x0410, 0x042F, 0x20, false},
    {0x212B, 0x212B, 0x00E5 - 0x212B, false},  // the angstrom sign: a ring
    {0x2160, 0x216F, 0x10, false},  // Roman numerals
    {0xFF21, 0xFF3A, 0x20, false},  // full-width Latin
};

constexpr char kNotInShortNames[] = "\"*+,./:;<=>?[\\]|";

}  // namespace

uint32_t ShortNameCodePage() { return os::OemCodePage(); }

char16_t OemSmallLetter(char16_t c) {
  for (const CaseRange& range : kCaseRanges) {
    if (c < range.first || c > range.last) continue;
    if (range.pairs && (c - range.first) % 2 != 0) return c;
    return static_cast<char16_t>(c + range.offset);
  }
  return c;
}

bool IsShortNameByte(uint8_t byte) {
  return byte >= 0x20 && byte != 0x7F && std::strchr(kNotInShortNames, byte) == nullptr;
}

bool HoldsShortNameCharacters(const uint8_t* bytes, uint32_t count, uint32_t codePage) {
  for (uint32_t i = 0; i < count; ++i) {
    const bool mark = i == 0 && (bytes[0] == kFatDeletedMark || bytes[0] == kFatLiveE5Mark);
    const uint8_t byte = mark ? kFatDeletedMark : bytes[i];
    if (i + 1 < count && bytes[i + 1] >= kLeastSecondByte && os::IsLeadByte(byte, codePage)) {
      ++i;
      continue;
    }
    if (!IsShortNameByte(byte)) return false;
  }
  return true;
}
