// What the mouse and keyboard managers need of a popup bar being tracked (an open menu or popup of the
// command bars). The command bars implement it.
#pragma once

#include <windows.h>

class CTKPTrackedBar {
 public:
  virtual ~CTKPTrackedBar() = default;
  virtual HWND GetTrackedHwnd() const = 0;
  // 1: the point is the bar's; -2: skip this bar; anything else: not the bar's.
  virtual int IsTrackedPoint(POINT screen) const = 0;
  // Ends the bar's tracking; the bar is expected to call RemoveTrack on the mouse manager.
  virtual void EndTracking() = 0;
  virtual void ClearSelection() = 0;
  virtual void OnTrackedMouseMove(UINT nFlags, POINT client) = 0;
  int m_nLockTrack = 0;  // while above 0 the bar stays open when tracking elsewhere is lost
};
