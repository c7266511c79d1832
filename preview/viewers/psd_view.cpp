#include "preview/viewers/psd_view.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/classlib/win/cdc.h"
#include "preview/preview_host.h"
#include "preview/viewers/picture_placement.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 paths");

IMPLEMENT_DYNCREATE(CPSDViewView, CView)

BEGIN_MESSAGE_MAP(CPSDViewView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

// A bottom-up 24-bit DIB section holding the decoder's bits as they are; null when the system refuses.
HBITMAP CreatePsdBitmap(const PsdDecoder& decoder) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = decoder.Columns();
  info.bmiHeader.biHeight = decoder.Rows();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biXPelsPerMeter = decoder.PixelsPerMetreX();
  info.bmiHeader.biYPelsPerMeter = decoder.PixelsPerMetreY();
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (bitmap != nullptr && bits != nullptr) std::memcpy(bits, decoder.Bits().data(), decoder.Bits().size());
  return bitmap;
}

}  // namespace

int CPSDViewView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  CRect client;
  GetClientRect(client);
  m_frame.Create(_T(""), WS_CHILD | WS_VISIBLE | SS_BLACKFRAME | SS_CENTERIMAGE, client, this, kFrameId);
  PreviewHost* host = CurrentPreviewHost();
  PreviewDocument* document = CurrentPreviewDocument();
  if (host == nullptr || document == nullptr) return 0;
  LoadFile(document->m_previewPath);
  // A file that gives no picture is not shown as one: the pane adds its placeholder, which calls a sound
  // file of a kind we do not draw not available rather than damaged.
  if (!HasPicture()) {
    if (m_bUnsupportedVariant) {
      ReportPreviewComponentMissing();
    } else {
      host->m_bPreviewOk = 0;
    }
  }
  m_frame.ShowWindow(SW_SHOW);
  return 0;
}

int CPSDViewView::LoadFile(const CString& path) {
  m_bitmap.DeleteObject();
  m_nLoadResult = m_decoder.Load(std::u16string(reinterpret_cast<const char16_t*>(static_cast<LPCTSTR>(path))));
  m_bUnsupportedVariant = PsdIsUnsupportedVariant(m_nLoadResult, m_decoder.Depth());
  if (m_nLoadResult == kPsdOk && m_decoder.HasBitmap()) m_bitmap.Attach(CreatePsdBitmap(m_decoder));
  m_decoder.Cleanup();  // the bitmap holds the picture now
  if (m_nLoadResult == kPsdOk) Invalidate();
  return 0;
}

void CPSDViewView::OnDraw(CDC* pDC) {
  if (!HasPicture() || GetDlgItem(kFrameId) == nullptr) return;
  BITMAP info{};
  m_bitmap.GetObject(sizeof info, &info);
  CRect client;
  GetClientRect(client);
  // Whole, in its proportions, as the image view fits its pictures.
  const preview::Placement at = preview::FitPicture(client.Width(), client.Height(),
                                                    static_cast<uint32_t>(info.bmWidth),
                                                    static_cast<uint32_t>(info.bmHeight));
  CDC memory;
  if (!memory.CreateCompatibleDC(pDC)) return;
  HGDIOBJ old = memory.SelectObject(m_bitmap.GetSafeHandle());
  const int mode = pDC->SetStretchBltMode(HALFTONE);
  ::SetBrushOrgEx(pDC->m_hDC, 0, 0, nullptr);
  pDC->StretchBlt(at.x, at.y, at.width, at.height, &memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  pDC->SetStretchBltMode(mode);
  memory.SelectObject(old);
}

void CPSDViewView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(); }

void CPSDViewView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_frame.GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(client);
  m_frame.MoveWindow(0, 0, client.Width(), client.Height());
  Invalidate();
}

void CPSDViewView::OnHScroll(UINT, UINT, CScrollBar*) {}
void CPSDViewView::OnVScroll(UINT, UINT, CScrollBar*) {}
