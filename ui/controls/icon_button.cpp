#include "ui/controls/icon_button.h"

#include <vector>

#include "platform/classlib/resource_win32.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/threadstate.h"
#include "ui/controls/hover_button.h"
#include "ui/draw/draw_manager.h"
#include "ui/draw/gdi_pixels.h"
#include "ui/draw/image_effects.h"

namespace ui {
namespace {

constexpr UINT kOwnerDraw = BS_OWNERDRAW;  // 11
constexpr DWORD kTypeMask = 31;

// A copy of the icon with an effect on its colour pixels (grey, or darker by a quarter); the mask and the
// size are kept.
HICON DerivedIcon(HICON icon, uint32_t effect) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return nullptr;
  draw::GdiObject colour(info.hbmColor), mask(info.hbmMask);
  draw::PixelBuffer pixels = draw::ReadBitmap(colour.Bitmap());
  if (pixels.Empty()) return nullptr;
  draw::ApplyImageEffect(pixels, effect, false, 0, 0);
  draw::GdiObject changed(draw::CreateSectionFrom(pixels));
  if (!changed) return nullptr;
  ICONINFO made = info;
  made.fIcon = TRUE;
  made.hbmColor = changed.Bitmap();
  return ::CreateIconIndirect(&made);
}

void Line(HDC dc, COLORREF colour, std::initializer_list<POINT> points) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = ::SelectObject(dc, pen);
  auto it = points.begin();
  ::MoveToEx(dc, it->x, it->y, nullptr);
  for (++it; it != points.end(); ++it) ::LineTo(dc, it->x, it->y);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

void Frame3d(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  CDC* wrapper = CDC::FromHandle(dc);
  wrapper->Draw3dRect(&r, topLeft, bottomRight);
}

}  // namespace

BEGIN_MESSAGE_MAP(IconButton, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_KILLFOCUS()
  ON_WM_CANCELMODE()
  ON_WM_ACTIVATE()
  ON_WM_ENABLE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_GETDLGCODE()
  ON_WM_CTLCOLOR_REFLECT()
  ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
  ON_MESSAGE(BM_SETCHECK, OnSetCheck)
  ON_MESSAGE(BM_GETCHECK, OnGetCheck)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

IconButton::IconButton() { SetDefaultColors(FALSE); }

IconButton::~IconButton() { FreeIcons(); }

void IconButton::FreeIcons() {
  if (m_in.handle) ::DestroyIcon(m_in.handle);
  if (m_out.handle) ::DestroyIcon(m_out.handle);
  m_in = Icon{};
  m_out = Icon{};
}

void IconButton::SetIcon(int inId, int outId) {
  FreeIcons();
  HINSTANCE module = AfxGetResourceHandle();
  m_in.handle = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(inId), IMAGE_ICON, 0, 0, 0));
  if (outId == kGreyOutIcon) {
    m_out.handle = DerivedIcon(m_in.handle, draw::kEffectGray);
  } else if (outId == kDarkOutIcon) {
    m_out.handle = DerivedIcon(m_in.handle, draw::kEffectDarken);
  } else if (outId != kNoOutIcon) {
    m_out.handle = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(outId), IMAGE_ICON, 0, 0, 0));
  }
  for (Icon* icon : {&m_in, &m_out}) {
    if (!icon->handle) continue;
    SIZE size = draw::DrawManager::IconSize(icon->handle);
    if (size.cx == 0) {
      // An icon that cannot be read leaves the button without one.
      FreeIcons();
      break;
    }
    icon->width = size.cx;
    icon->height = size.cy;
  }
  if (m_hWnd) Invalidate();
}

void IconButton::SetAlign(int align, BOOL repaint) {
  m_align = align >= kIconLeft && align <= kIconRight ? align : kIconLeft;
  if (repaint && m_hWnd) Invalidate();
}

void IconButton::SetFlat(BOOL on, BOOL repaint) {
  m_flat = on != FALSE;
  if (repaint && m_hWnd) Invalidate();
}

void IconButton::SetDrawBorder(BOOL on, BOOL repaint) {
  m_drawBorder = on != FALSE;
  if (repaint && m_hWnd) Invalidate();
}

void IconButton::SetCheck(int on, BOOL repaint) {
  if (!m_checkBox) return;
  m_checked = on != 0;
  if (repaint && m_hWnd) Invalidate();
}

int IconButton::SetPressedStyle(int style, BOOL repaint) {
  if (style == 0) {
    m_pressedOffset = POINT{1, 1};
  } else if (style == 1) {
    m_pressedOffset = POINT{0, 2};
  } else {
    return 6;
  }
  if (repaint && m_hWnd) Invalidate();
  return 0;
}

void IconButton::SetDefaultColors(BOOL repaint) {
  m_backIn = m_backOut = m_backFocus = ::GetSysColor(COLOR_BTNFACE);
  m_textIn = m_textOut = m_textFocus = ::GetSysColor(COLOR_BTNTEXT);
  if (repaint && m_hWnd) Invalidate();
}

void IconButton::SetTransparent(BOOL on, BOOL repaint) {
  m_transparent = on != FALSE;
  if (repaint && m_hWnd) Invalidate();
}

void IconButton::EnsureTooltip() {
  if (m_tooltip.GetSafeHwnd() || !m_hWnd) return;
  m_tooltip.Create(this);
  m_tooltip.Activate(TRUE);
  m_tooltip.SetMaxTipWidth(400);
}

void IconButton::SetTooltipText(LPCTSTR text) {
  if (text == nullptr || !m_hWnd) return;
  EnsureTooltip();
  SetButtonTip(m_tooltip, this, text);
}

void IconButton::PreSubclassWindow() {
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
  const DWORD type = style & 0xFF;
  if (type & BS_CHECKBOX) m_checkBox = true;  // check box, auto check box, auto three-state
  if ((type & kTypeMask) == BS_DEFPUSHBUTTON) m_default = true;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~kTypeMask) | kOwnerDraw));
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CButton::PreSubclassWindow();
}

BOOL IconButton::PreTranslateMessage(MSG* msg) {
  EnsureTooltip();
  if (m_tooltip.GetSafeHwnd()) m_tooltip.RelayEvent(msg);
  if (msg->message == WM_LBUTTONDBLCLK) msg->message = WM_LBUTTONDOWN;
  return CButton::PreTranslateMessage(msg);
}

// A double click that reaches the window all the same is a second press: two clicks, not one.
void IconButton::OnLButtonDblClk(UINT, CPoint) {
  const MSG* current = &AfxGetThreadState()->m_lastSentMsg;
  DefWindowProc(WM_LBUTTONDOWN, current->wParam, current->lParam);
}

void IconButton::OnMouseMove(UINT flags, CPoint point) {
  Default();
  POINT screen{point.x, point.y};
  ::ClientToScreen(m_hWnd, &screen);
  HWND under = ::WindowFromPoint(screen);
  if ((flags & MK_LBUTTON) && !m_hovered) return;
  if (!m_flat) return;
  if (under == m_hWnd && (m_alwaysTrack || ::GetActiveWindow() != nullptr)) {
    if (!m_hovered) {
      m_hovered = true;
      Invalidate();
      TRACKMOUSEEVENT track{};
      track.cbSize = sizeof track;
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = m_hWnd;
      ::TrackMouseEvent(&track);
    }
  } else {
    LeaveHover();
  }
}

void IconButton::LeaveHover() {
  if (m_flat && m_hovered) {
    m_hovered = false;
    Invalidate();
  }
}

void IconButton::OnMouseLeave() { LeaveHover(); }

void IconButton::OnKillFocus(CWnd*) {
  Default();
  LeaveHover();
}

void IconButton::OnCancelMode() {
  Default();
  LeaveHover();
}

void IconButton::OnActivate(UINT state, CWnd*, BOOL) {
  Default();
  if (state == WA_INACTIVE) LeaveHover();
}

void IconButton::OnEnable(BOOL enable) {
  Default();
  if (enable) return;
  CWnd* parent = GetParent();
  if (parent != nullptr) {
    HWND next = ::GetNextDlgTabItem(parent->GetSafeHwnd(), m_hWnd, FALSE);
    ::SetFocus(next && next != m_hWnd ? next : parent->GetSafeHwnd());
  }
  LeaveHover();
}

void IconButton::OnSysColorChange() {
  Default();
  SetDefaultColors(TRUE);
}

UINT IconButton::OnGetDlgCode() {
  UINT code = static_cast<UINT>(Default());
  return code | (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH IconButton::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }

LRESULT IconButton::OnSetStyle(WPARAM style, LPARAM redraw) {
  const UINT type = static_cast<UINT>(style) & kTypeMask;
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) m_default = type == BS_DEFPUSHBUTTON;
  const WPARAM changed = (style & ~static_cast<WPARAM>(0x04 | 0x10)) | kOwnerDraw;
  return DefWindowProc(BM_SETSTYLE, changed, redraw);
}

LRESULT IconButton::OnSetCheck(WPARAM check, LPARAM) {
  m_checked = check == BST_CHECKED || check == BST_INDETERMINATE;
  Invalidate();
  return 0;
}

LRESULT IconButton::OnGetCheck(WPARAM, LPARAM) { return m_checked ? BST_CHECKED : BST_UNCHECKED; }

BOOL IconButton::OnClicked() {
  SetFocus();
  if (m_checkBox) {
    m_checked = !m_checked;
    Invalidate();
  }
  return FALSE;  // the parent still hears the click
}

void IconButton::DrawBorder(HDC dc, RECT& r, bool pressed) const {
  if (pressed) {
    if (m_flat) {
      if (m_drawBorder) Frame3d(dc, r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
    } else {
      HBRUSH shadow = ::GetSysColorBrush(COLOR_BTNSHADOW);
      ::FrameRect(dc, &r, shadow);
    }
    return;
  }
  if (!m_flat) {
    Line(dc, ::GetSysColor(COLOR_BTNHILIGHT), {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
    Line(dc, ::GetSysColor(COLOR_3DLIGHT), {{r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1}});
    Line(dc, ::GetSysColor(COLOR_3DDKSHADOW), {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
    Line(dc, ::GetSysColor(COLOR_BTNSHADOW), {{r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top}});
  } else if (m_hovered && m_drawBorder) {
    Frame3d(dc, r, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  }
}

void IconButton::DrawItem(LPDRAWITEMSTRUCT item) {
  HDC dc = item->hDC;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  m_pressed = m_checkBox ? (selected || m_checked) : selected;
  m_focused = (item->itemState & ODS_FOCUS) != 0;
  m_disabled = (item->itemState & ODS_DISABLED) != 0;

  RECT rect = item->rcItem;
  const bool in = m_hovered || m_pressed;
  const COLORREF back = in ? m_backIn : (m_focused ? m_backFocus : m_backOut);
  const COLORREF text = in ? m_textIn : (m_focused ? m_textFocus : m_textOut);
  if (!m_flat && (m_focused || m_default)) {
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&rect, -1, -1);
  }
  if (m_transparent) {
    PaintParentBackground(dc);
  } else {
    ::SetBkColor(dc, back);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  }
  DrawBorder(dc, rect, m_pressed);
  DrawIconAndCaption(dc, item->rcItem, m_pressed, text, back);
  if (m_focused && (!m_flat || m_drawFlatFocus)) {
    RECT focus = item->rcItem;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
}

// The parent erases into our DC, moved so that its client coordinates land under the button; the DC's clip
// keeps it to the button.
void IconButton::PaintParentBackground(HDC dc) const {
  HWND parent = ::GetParent(m_hWnd);
  if (parent == nullptr) return;
  POINT origin{0, 0};
  ::MapWindowPoints(m_hWnd, parent, &origin, 1);
  POINT old{};
  ::OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
  ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

void IconButton::DrawIconAndCaption(HDC dc, const RECT& client, bool pressed, COLORREF text, COLORREF back) {
  CString caption;
  GetWindowText(caption);
  const bool hasCaption = !caption.IsEmpty();
  const bool showIn = m_hovered || pressed || (m_checkBox && m_checked);
  const Icon& icon = showIn || !m_out.handle ? m_in : m_out;
  const bool shift = pressed && !m_checkBox;
  RECT captionRect = client;

  if (icon.handle) {
    int x = client.left + (client.right - client.left - icon.width) / 2;
    int y = client.top + (client.bottom - client.top - icon.height) / 2;
    if (m_align == kIconLeft && hasCaption) {
      x = client.left + m_marginX;
      captionRect.left += m_marginX + icon.width;
    } else if (m_align == kIconAbove && hasCaption) {
      y = m_marginY;
      captionRect.top += icon.height;
    } else if (m_align == kIconRight) {
      if (hasCaption) {
        x = client.right - m_marginX - icon.width;
        captionRect.right -= captionRect.left + m_marginX + icon.width;
        captionRect.left = m_marginX;
      }
    }
    if (shift) {
      x += m_pressedOffset.x;
      y += m_pressedOffset.y;
    }
    UINT flags = DST_ICON | (m_disabled ? DSS_DISABLED : DSS_NORMAL);
    ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.handle), 0, x, y, icon.width, icon.height, flags);
  }
  if (!hasCaption) return;

  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  RECT measured = captionRect;
  ::DrawTextW(dc, caption, -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
  const int width = measured.right - measured.left, height = measured.bottom - measured.top;
  RECT centred;
  centred.left = captionRect.left + (captionRect.right - captionRect.left - width) / 2;
  centred.top = captionRect.top + (captionRect.bottom - captionRect.top - height) / 2;
  centred.right = centred.left + width;
  centred.bottom = centred.top + height;
  if (shift) ::OffsetRect(&centred, m_pressedOffset.x, m_pressedOffset.y);
  ::SetBkMode(dc, TRANSPARENT);
  if (m_disabled) {
    RECT raised = centred;
    ::OffsetRect(&raised, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHILIGHT));
    ::DrawTextW(dc, caption, -1, &raised, DT_WORDBREAK | DT_CENTER);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
  } else {
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, back);
  }
  ::DrawTextW(dc, caption, -1, &centred, DT_WORDBREAK | DT_CENTER);
  ::SelectObject(dc, oldFont);
}

}  // namespace ui
