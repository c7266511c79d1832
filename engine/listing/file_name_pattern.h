// Whether a file name matches one pattern of the file filters or of Find Files.
#pragma once

#include <cstdint>
#include <string_view>

// Returns 1 when name matches pattern, else 0. Callers upper-case both first (file_name::UpperCase);
// the function compares UTF-16 units exactly.
//
// Not a general glob: a single forward scan with its own rules. A pattern without wildcards matches as
// a substring (DOC matches MYDOC.TXT), one with '?' but no '*' as a prefix (B?D matches BCDE), a star
// takes at least one character (*X matches AX, not X), a pattern longer than the name and without a star
// never matches, and an empty name or pattern never matches. "*" matches every name, "*.*" every name
// with a full stop. A unit whose low byte is 0x2A counts as a star, one whose low byte is 0x3F as a
// question mark. Never reads outside either string.
int32_t MatchFileNamePattern(std::u16string_view name, std::u16string_view pattern);
