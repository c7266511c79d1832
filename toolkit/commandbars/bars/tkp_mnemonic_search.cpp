#include "toolkit/commandbars/bars/tkp_mnemonic_search.h"

#include <cwctype>

namespace {

TCHAR Fold(TCHAR ch) { return static_cast<TCHAR>(std::towupper(static_cast<wint_t>(ch))); }

}  // namespace

TCHAR TKPMnemonicOf(const CString& caption) {
  const int length = caption.GetLength();
  for (int i = 0; i + 1 < length; ++i) {
    if (caption[i] != _T('&')) continue;
    if (caption[i + 1] != _T('&')) return caption[i + 1];
    ++i;  // "&&" stands for an ampersand
  }
  return 0;
}

TKPMnemonicMatch TKPMatchMnemonic(const CString& caption, TCHAR ch, bool bFirstLetter) {
  if (caption.IsEmpty() || ch == 0) return tkpMatchNone;
  const TCHAR marked = TKPMnemonicOf(caption);
  if (marked != 0) return Fold(marked) == Fold(ch) ? tkpMatchAmpersand : tkpMatchNone;
  return bFirstLetter && Fold(caption[0]) == Fold(ch) ? tkpMatchFirstLetter : tkpMatchNone;
}

int TKPFindAccel(int nCount, int nStart, TCHAR ch, const std::function<TKPAccelCandidate(int)>& candidate,
                 bool* pbAmbiguous) {
  bool ambiguous = false;
  int ampersand = -1;
  int firstLetter = -1;
  if (nStart < -1 || nStart >= nCount) nStart = -1;
  for (int step = 1; step <= nCount; ++step) {
    const int index = (nStart + step + nCount) % nCount;
    const TKPAccelCandidate c = candidate(index);
    if (!c.bTakesPart) continue;
    const TKPMnemonicMatch match = TKPMatchMnemonic(c.strCaption, ch, c.bFirstLetter);
    if (match == tkpMatchAmpersand) {
      if (ampersand >= 0) {
        ambiguous = true;
        break;
      }
      ampersand = index;
    } else if (match == tkpMatchFirstLetter) {
      if (firstLetter >= 0) ambiguous = true; else firstLetter = index;
    }
  }
  if (pbAmbiguous != nullptr) *pbAmbiguous = ambiguous;
  return ampersand >= 0 ? ampersand : firstLetter;
}
