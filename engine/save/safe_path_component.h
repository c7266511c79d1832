// Names read off an image become parts of paths under the folder the user chose. This is the one place
// that turns such a name into a part that stays a plain name in that folder on every system.
#pragma once

#include <string>
#include <string_view>

// name as one path component that names a file or folder inside its parent and nothing else:
// - control characters (below 32) and < > : " / \ | ? * become '_';
// - trailing full stops and blanks become '_' each (so "." is "_", ".." is "__", "name." is "name_");
// - a name that the system reserves for a device (CON, PRN, AUX, NUL, COM0-9, LPT0-9 and the same with
//   superscript digits, CONIN$, CONOUT$; in any case, also with an extension or blanks before it) gets a
//   '_' in front;
// - an empty name becomes "_";
// - a name longer than kMaxNameLength is shortened as NameWithPrefix shortens it.
// Everything else is kept. Names shown in the lists stay as read; only the paths written use this.
std::u16string SafePathComponent(std::u16string_view name);

// The longest name a folder can hold, in UTF-16 units.
constexpr size_t kMaxNameLength = 255;

// prefix + name (a safe name), no longer than kMaxNameLength: a name that would pass it keeps its
// extension (from its last full stop) and loses the end of its stem, or, when even the extension leaves
// no room, the end of the whole. A surrogate pair is never split, and a shortened name never ends in a
// blank or full stop (each becomes '_').
std::u16string NameWithPrefix(std::u16string_view prefix, std::u16string_view name);
