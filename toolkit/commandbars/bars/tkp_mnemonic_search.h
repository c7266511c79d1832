// Which control answers a typed character: the bars' mnemonics. A caption answers by the character after
// its "&" (a doubled "&&" is a plain ampersand), else, where its bar allows it, by its first character;
// case does not matter. One walk serves a single bar and the frame-wide search over several bars.
#pragma once

#include <functional>

#include "platform/classlib/cstring.h"

enum TKPMnemonicMatch { tkpMatchNone = 0, tkpMatchFirstLetter = 1, tkpMatchAmpersand = 2 };

// The character a caption's "&" marks; 0 when it has none that is followed by a character.
TCHAR TKPMnemonicOf(const CString& caption);
// How the caption answers ch; bFirstLetter allows the first-letter match.
TKPMnemonicMatch TKPMatchMnemonic(const CString& caption, TCHAR ch, bool bFirstLetter);

// One candidate of the walk: a control that takes part and its caption.
struct TKPAccelCandidate {
  bool bTakesPart = false;    // visible, with a caption
  CString strCaption;
  bool bFirstLetter = false;  // may answer by its first character
};

// Walks nCount candidates from the one after nStart (nStart -1: from the first), wrapping, once around.
// A second "&" match ends the walk with the first one, ambiguous; a second first-letter match makes the
// result ambiguous. An "&" match wins over a first-letter match. -1 when nothing answers.
int TKPFindAccel(int nCount, int nStart, TCHAR ch, const std::function<TKPAccelCandidate(int)>& candidate,
                 bool* pbAmbiguous);
