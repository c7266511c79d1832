// The attributes of one tag.
#pragma once

#include <string_view>

#include "preview/html/string_table.h"

namespace htmlview {

// Empties table and adds one row per attribute of the tag (which ends at its first ">" or at the end of
// the text): cell 0 the name as written, cell 1 the value when there is one. Values may be quoted with
// either quote; an unquoted value runs to the next space.
void ParseAttributes(std::u16string_view tagText, StringTable& table);

// The text of the tag whose "<" stands at pos: up to its ">", or up to the next "<" when that comes first
// (or the end). A tag left without its ">" would otherwise take in the tags after it, and a page of such
// tags would have each of them read the rest of the page.
std::u16string_view TagText(std::u16string_view text, size_t pos);

}  // namespace htmlview
