#include "toolkit/common/font_choice.h"

CString ChooseDefaultFontName(const TKFontFacts& facts, bool preferTahoma) {
  if ((facts.guiCharset > 2 && facts.nt5OrLater) || !facts.arialInstalled) return facts.guiFace;
  if (preferTahoma && facts.tahomaInstalled) return _T("Tahoma");
  return _T("Arial");
}

CString ChooseVerticalFontFace(const CString& menuFace, bool arialInstalled) {
  if (menuFace.CompareNoCase(_T("Tahoma")) != 0 && arialInstalled) return _T("Arial");
  return menuFace;
}
