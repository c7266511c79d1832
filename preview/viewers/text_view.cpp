#include "preview/viewers/text_view.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "preview/preview_host.h"
#include "preview/viewers/picture_placement.h"

IMPLEMENT_DYNCREATE(CTextView, CView)

BEGIN_MESSAGE_MAP(CTextView, CView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// The picture is drawn into a bitmap of its own size first; a picture that claims to be larger than this
// is drawn at this size, which the stretch into its place makes up for.
constexpr LONG kMaxBitmapSide = 4096;

// The icon a picture holds and its size, from the icon's own bitmaps; null when it holds none.
HICON IconPixels(IPicture* picture, LONG& cx, LONG& cy) {
  SHORT type = 0;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON || FAILED(picture->get_Handle(&handle)) || handle == 0)
    return nullptr;
  HICON icon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle));
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return nullptr;
  BITMAP bitmap{};
  const bool colour = info.hbmColor != nullptr;
  ::GetObjectW(colour ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  cx = bitmap.bmWidth;
  cy = colour ? bitmap.bmHeight : bitmap.bmHeight / 2;  // a mask alone holds the picture's two masks
  return cx > 0 && cy > 0 ? icon : nullptr;
}

}  // namespace

CTextView::~CTextView() {
  if (m_pPicture != nullptr) m_pPicture->Release();
}

int CTextView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  PreviewHost* host = CurrentPreviewHost();
  PreviewDocument* document = CurrentPreviewDocument();
  if (host == nullptr || document == nullptr) return 0;
  if (LoadPicture(document->m_previewPath) == 0) host->m_bPreviewOk = 0;
  return 0;
}

int CTextView::LoadPicture(const CString& path) {
  try {
    IPicture* picture = nullptr;
    HRESULT hr = ::OleLoadPicturePath(const_cast<LPOLESTR>(path.GetString()), nullptr, 0, 0, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || picture == nullptr) return 0;
    if (m_pPicture != nullptr) m_pPicture->Release();
    m_pPicture = picture;
    m_pPicture->get_Width(&m_hmWidth);
    m_pPicture->get_Height(&m_hmHeight);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX), dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    m_cxPicture = preview::HimetricToPixels(m_hmWidth, dpiX);
    m_cyPicture = preview::HimetricToPixels(m_hmHeight, dpiY);
    LONG cx = 0, cy = 0;
    m_sizedIcon = m_cxPicture > 0 && m_cyPicture > 0 ? nullptr : IconPixels(m_pPicture, cx, cy);
    if (m_sizedIcon != nullptr) {
      m_cxPicture = cx;
      m_cyPicture = cy;
      m_hmWidth = MulDiv(cx, 2540, dpiX);
      m_hmHeight = MulDiv(cy, 2540, dpiY);
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

// The picture fitted whole into the view, its proportions kept, as the image view fits its pictures.
void CTextView::OnDraw(CDC* pDC) {
  if (m_pPicture == nullptr || m_cxPicture <= 0 || m_cyPicture <= 0) return;
  CRect client;
  GetClientRect(client);
  const preview::Placement box = preview::FitPicture(client.Width(), client.Height(),
                                                     static_cast<uint32_t>(m_cxPicture),
                                                     static_cast<uint32_t>(m_cyPicture));
  const RECT boxRect{box.x, box.y, box.x + box.width, box.y + box.height};
  OLE_HANDLE paletteHandle = 0;
  HPALETTE oldPalette = nullptr;
  if (SUCCEEDED(m_pPicture->get_hPal(&paletteHandle)) && paletteHandle != 0) {
    oldPalette = ::SelectPalette(pDC->m_hDC, reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(paletteHandle)), FALSE);
    ::RealizePalette(pDC->m_hDC);
  }
  DWORD attributes = 0;
  const bool transparent = FAILED(m_pPicture->get_Attributes(&attributes)) || (attributes & PICTURE_TRANSPARENT) != 0;
  if (m_sizedIcon != nullptr || transparent) {
    RenderThroughBitmap(pDC, boxRect);
  } else {
    m_pPicture->Render(pDC->m_hDC, box.x, box.y, box.width, box.height, 0, m_hmHeight, m_hmWidth, -m_hmHeight, client);
  }
  if (oldPalette != nullptr) ::SelectPalette(pDC->m_hDC, oldPalette, FALSE);
}

// Draws the picture over white in a bitmap of its own size, then stretches that into its place.
void CTextView::RenderThroughBitmap(CDC* pDC, const RECT& box) {
  const LONG cx = std::clamp<LONG>(m_cxPicture, 1, kMaxBitmapSide), cy = std::clamp<LONG>(m_cyPicture, 1, kMaxBitmapSide);
  HDC memory = ::CreateCompatibleDC(pDC->m_hDC);
  HBITMAP bitmap = ::CreateCompatibleBitmap(pDC->m_hDC, cx, cy);
  if (memory != nullptr && bitmap != nullptr) {
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    OLE_HANDLE paletteHandle = 0;
    HPALETTE oldPalette = nullptr;
    if (SUCCEEDED(m_pPicture->get_hPal(&paletteHandle)) && paletteHandle != 0) {
      oldPalette = ::SelectPalette(memory, reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(paletteHandle)), FALSE);
      ::RealizePalette(memory);
    }
    // A new bitmap is black: its transparent parts show the view's white instead.
    RECT all{0, 0, cx, cy};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (m_sizedIcon != nullptr) {
      ::DrawIconEx(memory, 0, 0, m_sizedIcon, cx, cy, 0, nullptr, DI_NORMAL);
    } else {
      m_pPicture->Render(memory, 0, 0, cx, cy, 0, m_hmHeight, m_hmWidth, -m_hmHeight, &box);
    }
    ::SetStretchBltMode(pDC->m_hDC, HALFTONE);
    ::SetBrushOrgEx(pDC->m_hDC, 0, 0, nullptr);
    ::StretchBlt(pDC->m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, memory, 0, 0, cx, cy,
                 SRCCOPY);
    if (oldPalette != nullptr) ::SelectPalette(memory, oldPalette, FALSE);
    ::SelectObject(memory, oldBitmap);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
}

void CTextView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CView::OnPrepareDC(pDC, pInfo);
  if (!pDC->IsPrinting()) return;
  // Screen-sized drawing keeps its physical size on paper.
  HDC display = ::CreateICW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return;
  pDC->SetMapMode(MM_ANISOTROPIC);
  pDC->SetWindowExt(::GetDeviceCaps(display, LOGPIXELSX), ::GetDeviceCaps(display, LOGPIXELSY));
  pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
  pDC->SetWindowOrg(0, 0);
  pDC->SetViewportOrg(0, 0);
  ::DeleteDC(display);
}
