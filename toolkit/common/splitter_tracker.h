// CTKPSplitterTracker: drags an inverted bar over the desktop while the mouse button is held, along one
// axis inside an allowed rectangle; Esc cancels.
#pragma once

#include <windows.h>

#include "platform/classlib/crect.h"

class CTKPSplitterTracker {
 public:
  explicit CTKPSplitterTracker(BOOL bSolid = FALSE) : m_bSolid(bSolid) {}
  // TRUE when the user let go of the button (rcTracker then holds the last place), FALSE on Esc or
  // when the window lost the capture.
  BOOL Track(HWND hWnd, const CRect& rcAvail, CRect& rcTracker, CPoint point, BOOL bHoriz);
  void SetBoundRect(const CRect& rcBound) { m_rcBound = rcBound; }

 private:
  void Draw(const CRect& rect) const;
  void DrawAll(const CRect& rcTracker) const;

  HDC m_hDC = nullptr;
  BOOL m_bSolid;
  CRect m_rcBound;  // drawn with the tracker when not empty
};
