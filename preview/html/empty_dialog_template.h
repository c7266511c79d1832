// An in-memory template of an empty dialog (no controls, no menu, the standard class, no title) in
// "MS Sans Serif" 8, for the child dialogs the page views lay over or under their content.
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

namespace htmlview {

// The words of the template; pass data() as the DLGTEMPLATE.
inline std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle, short cx, short cy) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = style | DS_SETFONT;
  header.dwExtendedStyle = exStyle;
  header.cx = cx;
  header.cy = cy;
  std::memcpy(t.data(), &header, sizeof header);
  t.insert(t.end(), {0, 0, 0, 8});  // menu, class, title, point size
  for (const wchar_t* c = L"MS Sans Serif"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  return t;
}

}  // namespace htmlview
