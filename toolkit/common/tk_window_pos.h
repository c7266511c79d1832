// CTKWindowPos: the placement of a top-level window kept in the application profile, so that the main
// frame comes back where the user left it.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cwnd.h"

class CTKWindowPos : public WINDOWPLACEMENT {
 public:
  CTKWindowPos();

  // Reads the stored placement and applies it to the window; FALSE (nothing changes) when none is stored
  // or what is stored is not a usable placement.
  BOOL LoadWindowPos(CWnd* pWnd, LPCTSTR lpszSection = nullptr, LPCTSTR lpszValue = nullptr);
  // Stores the window's placement: maximised when it is maximised, else normal.
  BOOL SaveWindowPos(CWnd* pWnd, LPCTSTR lpszSection = nullptr, LPCTSTR lpszValue = nullptr);
};
