// A memory DC over a window's paint DC: the painting of the progress bars and the pie goes here and is
// copied to the screen once, so nothing flickers.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class OffscreenDC {
 public:
  // A bitmap of the area, with the target's mapping mode and window origin, filled with its background
  // colour. dc() is null when the memory DC or its bitmap cannot be made.
  OffscreenDC(CDC* target, const CRect& area);
  ~OffscreenDC();
  OffscreenDC(const OffscreenDC&) = delete;
  OffscreenDC& operator=(const OffscreenDC&) = delete;

  CDC* dc() { return m_ready ? &m_memory : nullptr; }
  // Copies the area to the target.
  void Show();

 private:
  CDC* m_target;
  CRect m_area;
  CDC m_memory;
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
  bool m_ready = false;
};
