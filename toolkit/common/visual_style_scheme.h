// The colour scheme of the current visual style, from its file name and its colour name as the theme
// library reports them.
#pragma once

#include <string>

// The blue (1), olive (2) or silver (3) colour of the Luna style ("luna.msstyles" with "NormalColor",
// "HomeStead" or "Metallic", in any case); 0 (classic colours) for every other style or colour.
int TKPSchemeFromVisualStyle(const std::u16string& themeFile, const std::u16string& colorName);
