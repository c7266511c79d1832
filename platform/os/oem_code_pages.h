// The code pages this layer reads without the system's help, from tables written at build time from Python's
// codecs (make_code_page_tables.py). The DOS (OEM) ones: 437, the OEM code page of United States systems and of
// most archivers' names; 850, the multilingual one; 852 (Central European), 737 (Greek), 857 (Turkish), 866
// (Cyrillic), 860, 861, 863 and 865, of one byte a character; and 932 (Japanese), of one or two. DOS and Windows
// write FAT short names in the system's OEM code page. And the Windows ones dBASE tables name besides the
// system's own (1252 is the POSIX build's 8-bit code page): 874, 1250, 1251, 1253, 1254 and 1257. The POSIX
// build reads every code page through these tables; the Windows build asks the system, and uses them only where
// a reader of before must be matched (OemCharacter).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace os {

// The character a byte stands for in code page 437 (for codePage 437) or 850 (for every other code page); bytes
// below 0x80 are ASCII.
char16_t OemCharacter(uint8_t byte, uint32_t codePage);

// Whether the tables hold codePage.
bool IsTableCodePage(uint32_t codePage);
// Whether byte begins a character of two bytes in codePage (a table's code page; 850 for any other).
bool IsTableLeadByte(uint8_t byte, uint32_t codePage);
// bytes read in codePage (a table's code page; 850 for any other) into *out: a lead byte and the byte after it
// are one character. False when a byte or a pair stands for no character there (or a lead byte ends the bytes);
// each such one is U+FFFD in *out.
bool DecodeWithTable(std::string_view bytes, uint32_t codePage, std::u16string* out);

}  // namespace os
