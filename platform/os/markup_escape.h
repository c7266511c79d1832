// Text inserted into a message: a file name, a path or any other text that comes from outside is not
// markup, and must show as written. EscapeMarkup makes it safe to insert into a marked-up message.
#pragma once

#include <string>
#include <string_view>

namespace msgbox {

// "<" becomes a literal less-than sign and "&" a literal ampersand, so that the text shows exactly as
// written: a name such as "<b>x.txt" or "R&amp;D" stays itself, never a tag or an entity.
std::u16string EscapeMarkup(std::u16string_view text);

}  // namespace msgbox
