// The order of the thumbnail pictures: slides are exported as "Slide1.gif" .. "Slide12.gif", and Slide10
// must come after Slide9, so runs of digits compare by their value.
#pragma once

#include <string>

namespace applogic {

// True when a comes before b: runs of digits by value (then by length, so "01" after "1"), everything
// else by UTF-16 code unit; names equal that way fall back to code-unit order.
bool ThumbnailNameLess(const std::u16string& a, const std::u16string& b);

}  // namespace applogic
