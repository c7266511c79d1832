#include "toolkit/commandbars/paint/paint_test_support.h"

#include <cstring>

#include "res/resource.h"
#include "toolkit/commandbars/paint/tkp_theme_gradient.h"
#include "toolkit/common/draw_helpers.h"
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

void Backdrop::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  if (paint) paint(&dc, client);
}

BEGIN_MESSAGE_MAP(Backdrop, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TestBar* MakeBar(CWnd* parent, CRect rect, int type, int position, CTKPPaintManager* paint, DWORD extraStyle) {
  static const UINT kCommands[] = {ID_OPEN_IMAGE, ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_LOAD_SNAPSHOT,
                                   ID_FIND_FILES, ID_SETTINGS, ID_HELP};
  TestBar* bar = new TestBar;
  bar->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW)), _T(""),
                WS_CHILD | WS_VISIBLE | extraStyle, rect, parent, 0);
  bar->SetTypeForTest(type);
  bar->SetPositionForTest(position);
  paint->InternalAddRef();
  bar->SetPaintManager(paint);
  CTKPImageManager* images = new CTKPImageManager;
  images->SetIconsFromResource(IDR_MAINFRAME, kCommands, 7, CSize(32, 32));
  bar->SetImageManager(images);
  bar->SetIconSize(CSize(16, 16));
  bar->ShowTextBelowIcons(0);
  return bar;
}

Backdrop* MakeThemeColumn(CWnd* frame, CRect rect, CTKPPaintManager* paint, const TCHAR* title) {
  Backdrop* backdrop = new Backdrop;
  backdrop->Create(nullptr, _T(""), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, frame, 1);
  backdrop->paint = [paint, title](CDC* dc, CRect client) {
    if (auto* gradient = dynamic_cast<CTKPGradientTheme*>(paint)) {
      TKPDrawHelpers()->FillColorGradient(dc, client, gradient->m_grcDock, TRUE);
    } else {
      dc->FillSolidRect(client, paint->GetPaintColor(COLOR_BTNFACE));
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CRect text(8, 6, client.right, 24);
    dc->DrawText(CString(title), text, DT_SINGLELINE | DT_NOPREFIX);
  };
  return backdrop;
}

}  // namespace tkptest
