// The one way 8-bit names and paths of archives become UTF-16. Names inside archives are not trusted:
// a conversion reads at most the bytes of its field and yields at most a bounded number of units.
#pragma once

#include <cstddef>
#include <string>

namespace archive {

// A name as the lists hold it: at most 259 UTF-16 units (a 260-unit buffer with its terminator).
constexpr size_t kArchiveNameUnits = 259;

// kOem: the OEM code page, as the system's and most zippers write names, unless the bytes are UTF-8 beyond
// ASCII, as zippers on other systems write them (the OEM code page's letters are seldom well-formed UTF-8).
enum class NameCoding { kCodePage, kUtf8, kOem };

// The bytes of field up to its first NUL or its capacity, whichever comes first, converted from the
// system's 8-bit code page (or as coding says) and cut to maxUnits units (never inside a surrogate pair).
std::u16string ArchiveTextToWide(const char* field, size_t capacity, NameCoding coding = NameCoding::kCodePage,
                                 size_t maxUnits = kArchiveNameUnits);

}  // namespace archive
