// The one upper-casing of file names and filter patterns, the same in every build (the system's own
// mappings differ between Windows and the C library). Callers of MatchFileNamePattern upper-case both
// the name and the pattern with it.
//
// One UTF-16 unit maps to one; what is not listed stays as it is:
//   ASCII            a-z -> A-Z
//   Latin-1          U+00E0-U+00FE -> U+00C0-U+00DE (not U+00F7, the division sign); U+00FF -> U+0178
//   Latin Extended-A each small letter of a capital/small pair -> its capital (U+0100-U+017E);
//                    dotless i (U+0131), kra (U+0138), n preceded by apostrophe (U+0149) and long s
//                    (U+017F) stay
//   Greek            U+03B1-U+03CB -> U+0391-U+03AB, final sigma -> U+03A3, accented vowels -> their
//                    accented capitals (U+03AC-U+03AF, U+03CC-U+03CE)
//   Cyrillic         U+0430-U+045F -> U+0400-U+042F, and the pairs of U+0460-U+04FF
//   Armenian         U+0561-U+0586 -> U+0531-U+0556
//   Fullwidth        U+FF41-U+FF5A -> U+FF21-U+FF3A
// Letters without a one-unit capital (sharp s U+00DF, micro sign U+00B5) stay. The mapping is
// idempotent: a mapped unit is never mapped again.
#pragma once

#include <string>
#include <string_view>

namespace file_name {

char16_t UpperCaseChar(char16_t c);
std::u16string UpperCase(std::u16string_view text);

}  // namespace file_name
