// Ampersands of menu and button texts.
#pragma once

#include "platform/classlib/cstring.h"

// Every "&" that marks a mnemonic goes; a doubled "&&" becomes one "&".
CString StripMnemonics(const CString& text);
// Every single "&" but a final one goes; a doubled "&&" stays doubled (the button and header themes
// draw the result with the system's own prefix handling).
CString RemoveAmpersands(const CString& text);
