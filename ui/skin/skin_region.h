// A window region cut from a skin bitmap: every pixel that does not match the key colour.
#pragma once

#include <windows.h>

namespace skin {

// The dialogs' key colour (pure green, 0x00BBGGRR) and its tolerance lives in key_color_runs.h.
constexpr COLORREF kSkinKeyColour = 0x00FF00;

// A new region (the caller owns it; SetWindowRgn takes it over) or null when the bitmap cannot be read.
// collectOutside 0 collects the runs of key colour and takes them out of the whole rectangle; otherwise
// the runs of other colours are collected directly. Both give the pixels that do not match the key.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key, BOOL collectOutside);

}  // namespace skin
