// The button image editor's picture (the mouse draws on its cells), its preview and its colour
// swatches.
#include "toolkit/commandbars/customize/tkp_image_editor_dialog.h"

#include "platform/classlib/win/cdc.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/resource_manager.h"

using tkp_image_editor::Cell;
using tkp_image_editor::EditorImage;
using tkp_image_editor::kTransparent;
using tkp_image_editor::Tool;

namespace {
// The header of a top-down 32-bit DIB of the size.
BITMAPINFO Dib32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// 0x00BBGGRR and a DIB's 0x00RRGGBB into each other (the alpha byte stays).
uint32_t SwapRedBlue(uint32_t p) { return (p & 0xFF00FF00) | ((p & 0xFF) << 16) | ((p >> 16) & 0xFF); }

// Pixels 0x00BBGGRR drawn at (x, y).
void ShowPixels(HDC hDC, int x, int y, int width, int height, std::vector<uint32_t> pixels) {
  for (uint32_t& p : pixels) p = SwapRedBlue(p);
  BITMAPINFO info = Dib32(width, height);
  ::SetDIBitsToDevice(hDC, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}
}  // namespace

// ---- bitmaps ------------------------------------------------------------------------------------------

HBITMAP TKPCreateEditorBitmap(const EditorImage& image) {
  BITMAPINFO info = Dib32(image.Width(), image.Height());
  void* bits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (hBitmap == nullptr || bits == nullptr) return hBitmap;
  auto* out = static_cast<uint32_t*>(bits);
  for (uint32_t p : image.Pixels()) {
    *out++ = SwapRedBlue(image.HasAlpha() ? p : tkp_image_editor::Rgb(p));
  }
  return hBitmap;
}

EditorImage TKPEditorImageFromBitmap(HBITMAP hBitmap, int width, int height, BOOL bAlpha, COLORREF from,
                                     COLORREF to) {
  EditorImage source(width, height, bAlpha != FALSE);
  BITMAP bm{};
  if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
    return source;
  }
  BITMAPINFO info = Dib32(bm.bmWidth, bm.bmHeight);
  std::vector<uint32_t> bits(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
  HDC hDC = ::GetDC(nullptr);
  int rows = ::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(bm.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  if (rows <= 0) return source;
  EditorImage whole(bm.bmWidth, bm.bmHeight, bAlpha != FALSE);
  for (size_t i = 0; i < bits.size(); ++i) {
    whole.Pixels()[i] = SwapRedBlue(bAlpha ? bits[i] : bits[i] & 0x00FFFFFF);
  }
  return tkp_image_editor::CopyReplacing(whole, width, height, from, to);
}

// ---- the picture --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPButtonEditorPicture, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CTKPButtonEditorPicture::Attach(UINT nID) {
  if (!SubclassDlgItem(nID, m_pDialog)) return FALSE;
  const tkp_image_editor::EditorModel& model = m_pDialog->Model();
  CRect rect;
  GetClientRect(rect);
  m_cell = CSize(std::max<LONG>(1, rect.Width() / model.Width()), std::max<LONG>(1, rect.Height() / model.Height()));
  SetWindowPos(nullptr, 0, 0, m_cell.cx * model.Width() + 1, m_cell.cy * model.Height() + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

Cell CTKPButtonEditorPicture::CellAt(CPoint pt) const {
  // Integer division rounds towards zero: a point left of or above the picture is no cell.
  return Cell{pt.x < 0 ? -1 : pt.x / m_cell.cx, pt.y < 0 ? -1 : pt.y / m_cell.cy};
}

void CTKPButtonEditorPicture::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  const EditorImage& image = m_pDialog->Model().Image();
  ShowPixels(dc, 0, 0, client.Width(), client.Height(),
             tkp_image_editor::RenderImage(image, m_cell.cx, m_cell.cy, client.Width(), client.Height(), true));
  dc.Draw3dRect(client, RGB(0, 0, 0), RGB(0, 0, 0));
}

BOOL CTKPButtonEditorPicture::OnEraseBkgnd(CDC*) { return TRUE; }

void CTKPButtonEditorPicture::OnLButtonDown(UINT, CPoint point) {
  tkp_image_editor::EditorModel& model = m_pDialog->Model();
  auto result = model.Press(CellAt(point), m_pDialog->GetDrawingColor());
  if (result.picked) m_pDialog->SetPickedColor(result.pickedColour);
  if (result.capture) SetCapture();
  m_pDialog->RefreshImage();
}

void CTKPButtonEditorPicture::OnMouseMove(UINT, CPoint point) {
  tkp_image_editor::EditorModel& model = m_pDialog->Model();
  if (!model.Drawing()) return;
  model.Move(CellAt(point));
  m_pDialog->RefreshImage();
}

void CTKPButtonEditorPicture::OnLButtonUp(UINT, CPoint) {
  m_pDialog->Model().Release();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CTKPButtonEditorPicture::OnCaptureChanged(CWnd*) {
  m_pDialog->Model().CaptureLost();
  m_pDialog->RefreshImage();
}

BOOL CTKPButtonEditorPicture::OnSetCursor(CWnd*, UINT, UINT) {
  UINT cursor = IDC_TK_EDITOR_SHAPE_CURSOR;
  switch (m_pDialog->Model().CurrentTool()) {
    case Tool::kPencil: cursor = IDC_TK_EDITOR_PENCIL_CURSOR; break;
    case Tool::kFill: cursor = IDC_TK_EDITOR_FILL_CURSOR; break;
    case Tool::kPickColor: cursor = IDC_TK_EDITOR_PICK_CURSOR; break;
    default: break;
  }
  HCURSOR hCursor = TKPResourceManager()->LoadCursor(cursor);
  ::SetCursor(hCursor != nullptr ? hCursor : ::LoadCursorW(nullptr, IDC_CROSS));
  return TRUE;
}

// ---- the preview --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPButtonEditorPreview, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CTKPButtonEditorPreview::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  dc.FillSolidRect(client, face);
  const EditorImage& image = m_pDialog->Model().Image();
  // A sunken well a few pixels larger than the icon, in the middle.
  CRect well(CPoint(client.CenterPoint().x - image.Width() / 2 - 3, client.CenterPoint().y - image.Height() / 2 - 3),
             CSize(image.Width() + 6, image.Height() + 6));
  dc.Draw3dRect(well, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  ShowPixels(dc, well.left + 3, well.top + 3, image.Width(), image.Height(),
             tkp_image_editor::RenderImage(image, 1, 1, image.Width(), image.Height(), false, face));
}

// ---- the swatches -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPImageEditorPicker, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CTKPImageEditorPicker::SetColor(COLORREF clr) {
  m_clr = clr;
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPImageEditorPicker::SetSelected(BOOL bSelected) {
  m_bSelected = bSelected;
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CTKPImageEditorPicker::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetClientRect(rect);
  if (m_clr == kTransparent) {
    // White, with its top-left and bottom-right quarters light grey.
    dc.FillSolidRect(rect, RGB(255, 255, 255));
    CPoint mid = rect.CenterPoint();
    dc.FillSolidRect(CRect(rect.TopLeft(), mid), RGB(235, 235, 235));
    dc.FillSolidRect(CRect(mid, rect.BottomRight()), RGB(235, 235, 235));
  } else {
    dc.FillSolidRect(rect, m_clr);
  }
  if (m_bSelected) {
    dc.Draw3dRect(rect, RGB(0, 0, 0), RGB(0, 0, 0));
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(rect, RGB(255, 255, 255), RGB(255, 255, 255));
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(rect, RGB(0, 0, 0), RGB(0, 0, 0));
  } else {
    COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW);
    dc.Draw3dRect(rect, dark, dark);
  }
}

void CTKPImageEditorPicker::OnLButtonDown(UINT, CPoint) {
  NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(NM_CLICK)};
  if (CWnd* pParent = GetParent()) {
    pParent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
}
