// Character references and UTF-8 that was read one byte per character, in page text; and the tags the
// page viewer knows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace htmlview {

// Rewrites a zero-terminated text in place (it never grows) and returns it. Names are matched
// case-sensitively, in table order; "&#" and a decimal number, or "&#x" / "&#X" and a hexadecimal one,
// give that character and consume up to and including the next ";" or space. Zero, a surrogate and a
// number outside UTF-16 give U+FFFD, so a reference never ends the text.
char16_t* DecodeEntities(char16_t* text);
// The same over a string.
std::u16string DecodeEntitiesCopy(std::u16string_view text);

// Turns each pair U+00C2/U+00C3 + U+0080..U+00BF back into the Latin-1 character it encodes; in place.
char16_t* RepairUtf8(char16_t* text);
std::u16string RepairUtf8Copy(std::u16string_view text);

// The tag prefixes ("<br", "</i", ...) the loader keeps and the parse pass looks up, in table order.
extern const char16_t* const kKnownTags[];
extern const size_t kKnownTagCount;
// The index of the tag prefix in kKnownTags, or -1.
int FindKnownTag(std::u16string_view prefix);

}  // namespace htmlview
