#include "toolkit/common/text_mnemonics.h"

CString StripMnemonics(const CString& text) {
  CString out;
  const int n = text.GetLength();
  for (int i = 0; i < n; ++i) {
    if (text[i] != _T('&')) {
      out += text[i];
    } else if (i + 1 < n && text[i + 1] == _T('&')) {
      out += _T('&');
      ++i;
    }
  }
  return out;
}

CString RemoveAmpersands(const CString& text) {
  CString out;
  const int n = text.GetLength();
  int i = 0;
  while (i < n - 1) {
    if (text[i] == _T('&') && text[i + 1] == _T('&')) {
      out += _T("&&");
      i += 2;
    } else {
      if (text[i] != _T('&')) out += text[i];
      ++i;
    }
  }
  if (i == n - 1) out += text[i];
  return out;
}
