#include "toolkit/common/visual_style_scheme.h"

#include "platform/classlib/cstring.h"

int TKPSchemeFromVisualStyle(const std::u16string& themeFile, const std::u16string& colorName) {
  const size_t slash = themeFile.find_last_of(u"\\/");
  CString file = CString::FromUtf16(slash == std::u16string::npos ? themeFile : themeFile.substr(slash + 1));
  if (file.CompareNoCase(_T("luna.msstyles")) != 0) return 0;
  const CString colour = CString::FromUtf16(colorName);
  if (colour.CompareNoCase(_T("normalcolor")) == 0) return 1;
  if (colour.CompareNoCase(_T("homestead")) == 0) return 2;
  if (colour.CompareNoCase(_T("metallic")) == 0) return 3;
  return 0;
}
