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
// - an empty name becomes "_".
// Everything else is kept. Names shown in the lists stay as read; only the paths written use this.
std::u16string SafePathComponent(std::u16string_view name);
