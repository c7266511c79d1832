// The DOS code pages in which FAT short names are written: DOS and Windows put a name's letters outside ASCII into
// its 8.3 entry in the system's OEM code page (café.txt as CAF 0x90), and a first byte 0xE5 as 0x05.
#pragma once

#include <cstdint>

#include "platform/os/oem_code_pages.h"

// The small letter of a capital that the OEM code pages hold (A-Z, the Latin-1 capitals, the Greek ones of
// code page 437): the case a short name's lower-case flags give it. Every other character as it is.
char16_t OemSmallLetter(char16_t c);
