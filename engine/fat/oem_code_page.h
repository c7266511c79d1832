// The DOS code pages in which FAT short names are written: DOS and Windows put a name's letters outside ASCII into
// its 8.3 entry in the system's OEM code page (café.txt as CAF 0x90 in 850, отчет.doc as 8E 92 97 85 92 in 866,
// a Japanese name's characters as two bytes each in 932), and a first byte 0xE5 as 0x05.
#pragma once

#include <cstdint>

#include "platform/os/oem_code_pages.h"

// The least second byte of a character of two bytes in the DOS and Windows code pages of them.
constexpr uint8_t kLeastSecondByte = 0x40;

// The code page short names are read in: the system's OEM code page.
uint32_t ShortNameCodePage();

// The small letter of a capital that the OEM code pages hold (A-Z, the Latin capitals of the Latin-1 and
// Latin Extended-A blocks, the Greek and Cyrillic ones, the full-width Latin ones, the angstrom sign and the Roman
// numerals of code page 932): the case a short name's lower-case flags give it. Every other character as it is.
char16_t OemSmallLetter(char16_t c);

// Whether a byte may stand for a character of a short name on its own: not a control character, DEL or one of
// "*+,./:;<=>?[\]|, which Windows never stores. A blank (padding) may.
bool IsShortNameByte(uint8_t byte);

// Whether bytes [0, count) of a part of a short name (its 8 name or 3 extension bytes) hold only characters a
// short name may, read in codePage: a lead byte and a byte of 0x40 or more after it are one character, whatever
// that byte (Shift-JIS puts '\', '[' and '|' there); every other byte stands on its own (IsShortNameByte).
// A first byte 0xE5 (the deleted mark, which took the first byte's place) or 0x05 counts as 0xE5.
bool HoldsShortNameCharacters(const uint8_t* bytes, uint32_t count, uint32_t codePage);
