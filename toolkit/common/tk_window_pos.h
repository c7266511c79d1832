// CTKWindowPos: the placement of a top-level window kept in the application's settings, so that the main
// frame comes back where the user left it.
#pragma once

#include <windows.h>

#include "platform/classlib/win/cwnd.h"

class CTKWindowPos : public WINDOWPLACEMENT {
 public:
  CTKWindowPos();
  virtual ~CTKWindowPos() = default;

  // Reads the stored placement and applies it to the window; FALSE (the window unchanged) when the window
  // does not exist or nothing usable is stored. Null names mean "Window Position" in "Settings".
  virtual BOOL LoadWindowPos(CWnd* pWnd, LPCTSTR lpszValue = nullptr, LPCTSTR lpszSection = nullptr);
  // Stores the window's placement, maximised or else normal; FALSE when the window does not exist or its
  // placement cannot be read.
  virtual BOOL SaveWindowPos(CWnd* pWnd, LPCTSTR lpszValue = nullptr, LPCTSTR lpszSection = nullptr);
};
