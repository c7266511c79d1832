#include "ui/controls/offscreen_dc.h"

OffscreenDC::OffscreenDC(CDC* target, const CRect& area) : m_target(target), m_area(area) {
  if (area.IsRectEmpty() || !m_memory.CreateCompatibleDC(target) ||
      !m_bitmap.CreateCompatibleBitmap(target, area.Width(), area.Height())) {
    return;
  }
  m_oldBitmap = m_memory.SelectObject(&m_bitmap);
  m_memory.SetMapMode(target->GetMapMode());
  m_memory.SetWindowOrg(area.left, area.top);
  m_memory.FillSolidRect(area, target->GetBkColor());
  m_ready = true;
}

OffscreenDC::~OffscreenDC() {
  if (m_oldBitmap != nullptr) m_memory.SelectObject(m_oldBitmap);
}

void OffscreenDC::Show() {
  if (m_ready) m_target->BitBlt(m_area.left, m_area.top, m_area.Width(), m_area.Height(), &m_memory, m_area.left,
                                m_area.top, SRCCOPY);
}
