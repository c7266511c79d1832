#include "toolkit/commandbars/paint/paint_test_support.h"

#include <cstring>

#include "toolkit/common/tkp_image_manager.h"

namespace tkptest {

void PlainTheme::DrawImage(CDC* pDC, CPoint pt, CSize sz, CTKPImageManagerIcon* pImage, BOOL, BOOL, BOOL bEnabled,
                           BOOL, BOOL, BOOL) {
  if (pImage != nullptr) pImage->Draw(pDC, pt, bEnabled ? pImage->GetIcon() : pImage->GetDisabledIcon(), sz);
}

Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = ::GetDC(nullptr);
  dc.Attach(::CreateCompatibleDC(screen));
  m_bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  m_old = ::SelectObject(dc.GetSafeHdc(), m_bitmap);
  Clear();
}

Canvas::~Canvas() {
  ::SelectObject(dc.GetSafeHdc(), m_old);
  ::DeleteObject(m_bitmap);
  ::DeleteDC(dc.Detach());
}

COLORREF Canvas::Pixel(int x, int y) const { return ::GetPixel(dc.GetSafeHdc(), x, y); }

std::vector<std::uint8_t> Canvas::Pixels() const {
  ::GdiFlush();
  const auto* bytes = static_cast<const std::uint8_t*>(m_bits);
  return std::vector<std::uint8_t>(bytes, bytes + static_cast<size_t>(m_width) * m_height * 4);
}

void Canvas::Clear() {
  ::GdiFlush();
  std::memset(m_bits, 0xFF, static_cast<size_t>(m_width) * m_height * 4);
}

}  // namespace tkptest
