// Which face names the toolkit's fonts take, from what the system has installed.
#pragma once

#include "platform/classlib/cstring.h"

struct TKFontFacts {
  int guiCharset = 0;       // character set of the default GUI font
  CString guiFace;          // its face name
  bool nt5OrLater = false;  // Windows 2000 or later
  bool arialInstalled = true;
  bool tahomaInstalled = false;
};

// "Arial", unless the GUI font is of a far-eastern or other non-western set on NT 5 or later, or Arial
// is missing: then the GUI font's face; "Tahoma" instead of "Arial" when asked and installed.
CString ChooseDefaultFontName(const TKFontFacts& facts, bool preferTahoma);
// The vertical fonts: "Arial" unless the menu font is Tahoma (which turns well) or Arial is missing.
CString ChooseVerticalFontFace(const CString& menuFace, bool arialInstalled);
