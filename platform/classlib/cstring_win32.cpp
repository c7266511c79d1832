#include "platform/classlib/cstring.h"
#include "platform/classlib/resource_win32.h"

#undef LoadString  // the member, not the Win32 macro

BOOL CString::LoadString(UINT nID) {
  // A zero buffer size asks for a pointer to the resource's own text (not terminated) and its length.
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return FALSE;
  m_str.assign(text, static_cast<size_t>(length));
  return TRUE;
}
