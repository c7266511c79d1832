// The DOS code pages in which FAT short names are written: DOS and Windows put a name's letters outside ASCII into
// its 8.3 entry in the system's OEM code page (café.txt as CAF 0x90), and a first byte 0xE5 as 0x05.
#pragma once

#include <cstdint>

// The character byte stands for in code page 437 (for codePage 437) or 850 (for every other code page: the
// multilingual one, whose letters the Western code pages share most); bytes below 0x80 are ASCII.
char16_t OemCharacter(uint8_t byte, uint32_t codePage);

// The small letter of a capital that the OEM code pages hold (A-Z, the Latin-1 capitals, the Greek ones of
// code page 437): the case a short name's lower-case flags give it. Every other character as it is.
char16_t OemSmallLetter(char16_t c);
