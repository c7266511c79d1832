// Reading dialog templates (classic DLGTEMPLATE and extended DLGTEMPLATEEX) as the dialog classes need:
// the header's styles and place, the template's length, and a copy with other styles.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

struct DialogTemplateHeader {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

// The header of the template; false when the limit cuts it short.
bool AfxReadDialogTemplateHeader(const void* lpTemplate, size_t limit, DialogTemplateHeader* pHeader);
// The bytes the template takes (header, its strings and every item); 0 when it does not fit in limit.
size_t AfxDialogTemplateSize(const void* lpTemplate, size_t limit);
// A copy of the template with the header's style and extended style replaced; empty when it cannot
// be read within the limit.
std::vector<BYTE> AfxCopyDialogTemplate(const void* lpTemplate, size_t limit, DWORD style, DWORD exStyle);
