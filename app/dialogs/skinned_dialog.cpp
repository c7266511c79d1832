#include "app/dialogs/skinned_dialog.h"

#include "platform/classlib/win/cdc.h"
#include "ui/skin/skin_region.h"

namespace app {

BEGIN_MESSAGE_MAP(CaptionStatic, skin::CTransparentStatic)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

HBRUSH CaptionStatic::CtlColor(CDC* dc, UINT colourType) {
  HBRUSH brush = skin::CTransparentStatic::CtlColor(dc, colourType);
  dc->SetTextColor(RGB(255, 255, 255));
  return brush;
}

BEGIN_MESSAGE_MAP(SkinnedDialog, CDialog)
  ON_WM_ERASEBKGND()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

SkinnedDialog::SkinnedDialog(UINT templateId, UINT skinBitmapId, CWnd* parent)
    : CDialog(templateId, parent), m_skinBitmapId(skinBitmapId) {}

BOOL SkinnedDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // The template's caption and frame give way to the skin.
  ModifyStyle(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME, 0, SWP_FRAMECHANGED);
  if (m_skin.LoadBitmap(m_skinBitmapId)) {
    SetWindowPos(nullptr, 0, 0, m_skin.GetWidth(), m_skin.GetHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(skin::CreateRegionFromBitmap(m_skin, skin::kSkinKeyColour, FALSE), FALSE);
    CenterWindow();
  }
  // The title: the template's first control, on the band, in bold.
  HWND title = ::GetWindow(m_hWnd, GW_CHILD);
  if (title != nullptr && m_caption.SubclassWindow(title)) {
    m_captionFont.CreateFont(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH, _T("Arial"));
    m_caption.SetFont(&m_captionFont);
    // Vertically centred on the band, right of the skin's emblem.
    m_caption.SetWindowPos(nullptr, 36, (kCaptionBand - 18) / 2, m_skin.GetWidth() - 60, 18,
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE;
}

void SkinnedDialog::MakeTransparent(skin::CTransparentStatic& control, int id) {
  HWND window = nullptr;
  GetDlgItem(id, &window);
  if (window != nullptr) control.SubclassWindow(window);
}

HBRUSH SkinnedDialog::SkinUnder(CDC* dc, CWnd* control) {
  if (m_skin.GetSafeHandle() == nullptr) return nullptr;
  if (m_skinBrush.GetSafeHandle() == nullptr) m_skinBrush.CreatePatternBrush(&m_skin);
  CRect client;
  control->GetClientRect(client);
  control->ClientToScreen(client);
  ScreenToClient(client);
  ::SetBrushOrgEx(dc->m_hDC, -client.left, -client.top, nullptr);
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(m_skinBrush.GetSafeHandle());
}

BOOL SkinnedDialog::OnEraseBkgnd(CDC* dc) {
  if (m_skin.GetSafeHandle() == nullptr) return FALSE;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(&m_skin);
  dc->BitBlt(0, 0, m_skin.GetWidth(), m_skin.GetHeight(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  return TRUE;
}

LRESULT SkinnedDialog::OnNcHitTest(CPoint point) {
  LRESULT hit = CDialog::OnNcHitTest(point);
  POINT client{point.x, point.y};
  ScreenToClient(&client);
  // Without a title bar the band moves the window.
  if (hit == HTCLIENT && client.y < kCaptionBand) return HTCAPTION;
  return hit;
}

}  // namespace app
