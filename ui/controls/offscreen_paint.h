// The paint cycle of a window drawn off-screen: the window's paint DC and a memory DC over its client
// area. The progress bars and the pie draw into the memory DC, which is copied to the screen once, so
// nothing flickers. The paint request is answered however the drawing goes.
#pragma once

#include "platform/classlib/win/classlib_win.h"

class OffscreenPaint {
 public:
  // A bitmap of the client area with the paint DC's mapping mode, filled with its background colour.
  explicit OffscreenPaint(CWnd* pWnd);
  ~OffscreenPaint();
  OffscreenPaint(const OffscreenPaint&) = delete;
  OffscreenPaint& operator=(const OffscreenPaint&) = delete;

  // Null when the memory DC or its bitmap cannot be made (or the area is empty): nothing to draw.
  CDC* dc() { return m_ready ? &m_memory : nullptr; }
  const CRect& area() const { return m_area; }
  // Copies the area to the screen.
  void Show();

 private:
  CPaintDC m_paint;
  CRect m_area;
  CDC m_memory;
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
  bool m_ready = false;
};
