// The character entities of marked-up text.
#pragma once

#include <string>

namespace html {

// Replaces the thirteen entities one after another over the whole text, in the order of their names
// (amp, bull, copy, euro, gt, iquest, lt, nbsp, para, pound, quot, reg, trade). Stored texts rely on that
// order: "&amp;lt;" becomes "&lt;" and then a literal less-than sign. "&lt;" becomes "<<", which the markup
// reader takes as one literal "<"; "&nbsp;" becomes a plain space.
void ReplaceEntities(std::u16string& text);

}  // namespace html
