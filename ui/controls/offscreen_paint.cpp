#include "ui/controls/offscreen_paint.h"

OffscreenPaint::OffscreenPaint(CWnd* pWnd) : m_paint(pWnd) {
  pWnd->GetClientRect(m_area);
  if (m_area.IsRectEmpty() || !m_memory.CreateCompatibleDC(&m_paint) ||
      !m_bitmap.CreateCompatibleBitmap(&m_paint, m_area.Width(), m_area.Height())) {
    return;
  }
  m_oldBitmap = m_memory.SelectObject(&m_bitmap);
  m_memory.SetMapMode(m_paint.GetMapMode());
  m_memory.SetWindowOrg(m_area.left, m_area.top);
  m_memory.FillSolidRect(m_area, m_paint.GetBkColor());
  m_ready = true;
}

OffscreenPaint::~OffscreenPaint() {
  if (m_oldBitmap != nullptr) m_memory.SelectObject(m_oldBitmap);
}

void OffscreenPaint::Show() {
  if (m_ready) {
    m_paint.BitBlt(m_area.left, m_area.top, m_area.Width(), m_area.Height(), &m_memory, m_area.left, m_area.top,
                   SRCCOPY);
  }
}
