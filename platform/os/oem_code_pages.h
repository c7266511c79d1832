// The two DOS code pages the program reads bytes in without the system's help: 437, the OEM code page of the United
// States systems and of most archivers' names, and 850, the multilingual one whose letters the Western code pages
// share most (DOS tools elsewhere write FAT short names in it).
#pragma once

#include <cstdint>

namespace os {

// The character a byte stands for in code page 437 (for codePage 437) or 850 (for every other code page); bytes
// below 0x80 are ASCII.
char16_t OemCharacter(uint8_t byte, uint32_t codePage);

}  // namespace os
