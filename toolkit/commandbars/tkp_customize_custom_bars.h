// The user's own toolbars kept in the application profile under "<section>-CustomBars": each one's title,
// id, shown state and command ids, so that toolbars made in the customize dialog come back next time.
#pragma once

#include <windows.h>

class CTKPCommandBars;

void TKPSaveCustomBars(CTKPCommandBars* pCommandBars, LPCTSTR lpszProfileName);
// Makes the saved toolbars again; an entry that is damaged, or whose id or title another toolbar already
// has, is left out.
void TKPLoadCustomBars(CTKPCommandBars* pCommandBars, LPCTSTR lpszProfileName);
