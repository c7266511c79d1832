#include "toolkit/controls/tk_caption.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/controls/tk_caption_popup.h"

IMPLEMENT_DYNAMIC(CTKCaption, CStatic)
IMPLEMENT_DYNAMIC(CTKCaptionButton, CTKButton)

namespace {

constexpr DWORD kTextButtonStyle = WS_CHILD | 0x0C4B;  // owner-drawn, hidden until a child is set
constexpr DWORD kCloseButtonStyle = WS_CHILD | 0x50000F4B;
constexpr int kCloseWidth = 16;
constexpr int kCloseHeight = 15;
constexpr int kIconRoom = 18;

}  // namespace

// ---- the button ----

DWORD CTKCaptionButton::SetTKStyle(DWORD, BOOL bRedraw) {
  CWnd* pParent = m_hWnd != nullptr ? GetParent() : nullptr;
  if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CTKCaption))) {
    auto* pCaption = static_cast<CTKCaption*>(pParent);
    SetColorFace(pCaption->m_crBack);
    SetColorText(pCaption->m_crText);
    SetColorShadow(TKPColorManager()->GetColor(COLOR_3DDKSHADOW));
    SetFont(pCaption->GetFont(), FALSE);
    if (bRedraw) Invalidate();
  }
  return GetTKStyle();
}

// ---- the caption ----

CTKCaption::CTKCaption()
    : m_themeHost(RUNTIME_CLASS(CTKCaptionThemeFactory)),
      m_crBorder(::GetSysColor(COLOR_3DFACE)),
      m_crBack(::GetSysColor(COLOR_3DFACE)),
      m_crText(::GetSysColor(COLOR_BTNTEXT)),
      m_cxIcon(std::min(::GetSystemMetrics(SM_CXSMICON), 16)),
      m_cyIcon(std::min(::GetSystemMetrics(SM_CYSMICON), 16)) {}

CTKCaption::~CTKCaption() {
  KillChildWindow();
  m_button.DestroyWindow();
  m_images.DeleteImageList();
  DestroyWindow();
}

BOOL CTKCaption::Create(CWnd* pParentWnd, LPCTSTR lpszText, DWORD dwCaptionStyle, DWORD dwStyle, const CRect& rect,
                        UINT nID) {
  m_dwCaptionStyle = dwCaptionStyle & 0x7;
  const DWORD dwExStyle = dwCaptionStyle & ~0x7u;
  if (!CreateEx(dwExStyle, _T("STATIC"), lpszText, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID)) return FALSE;
  SetFont(&TKPAuxData().font, FALSE);
  m_strText = lpszText != nullptr ? lpszText : _T("");
  if ((m_dwCaptionStyle & kTKCaptionCloseButton) == 0) {
    if (!m_button.Create(m_strText, kTextButtonStyle, CRect(0, 0, 0, 0), this, ID_TK_CAPTION_BUTTON)) return FALSE;
    m_bTextButton = TRUE;
  } else {
    if (!m_button.Create(_T(""), kCloseButtonStyle, CRect(0, 0, 0, 0), this, ID_TK_CAPTION_BUTTON)) return FALSE;
    if (m_images.Create(IDB_TK_CAPTION_BUTTONS, 16, 0, RGB(255, 0, 255))) {
      TKIconHolder close(m_images.ExtractIcon(2));
      m_button.SetIconFromHICON(CSize(kCloseWidth, kCloseHeight), close);
    }
  }
  m_button.m_pCaption = this;
  m_button.SetTKStyle(0, FALSE);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

void CTKCaption::SetCaptionColors(COLORREF crBorder, COLORREF crBack, COLORREF crText) {
  m_crBorder = crBorder;
  m_crBack = crBack;
  m_crText = crText;
  m_bUserColors = TRUE;
  if (m_button.m_hWnd == nullptr) return;
  m_button.SetColorFace(crBack);
  m_button.SetColorText(crText);
  m_button.SetColorShadow(::GetSysColor(COLOR_3DDKSHADOW));
}

void CTKCaption::ModifyCaptionStyle(int nBorderSize, CFont* pFont, LPCTSTR lpszText, HICON hIcon) {
  if (nBorderSize != 0) m_nBorderSize = nBorderSize;
  if (pFont != nullptr) {
    SetFont(pFont, FALSE);
    if (m_button.m_hWnd != nullptr) m_button.SetFont(GetFont(), FALSE);
  }
  if (lpszText != nullptr) m_strText = lpszText;
  if (hIcon != nullptr) m_hIcon = hIcon;
  if (m_hWnd != nullptr) Invalidate();
}

void CTKCaption::UpdateCaption(LPCTSTR lpszText, HICON hIcon) {
  CClientDC dc(this);
  CRect rc;
  GetClientRect(rc);
  DrawCaptionBack(&dc, rc);
  if (lpszText != nullptr) {
    m_strText = lpszText;
    UpdateCaptionText(&dc);
  }
  if (hIcon != nullptr) {
    m_hIcon = hIcon;
    DrawCaptionIcon(&dc, rc);
  }
}

void CTKCaption::UpdateCaptionText(CDC* pDC) {
  if (m_button.m_hWnd != nullptr) {
    m_button.SetWindowText(m_strText);
    m_button.MoveWindow(GetButtonRect());
  }
  DrawCaptionText(pDC);
}

CRect CTKCaption::GetTextRect() {
  if (m_strText.IsEmpty() || m_hWnd == nullptr) return CRect(0, 0, 0, 0);
  CRect client;
  GetClientRect(client);
  CClientDC dc(this);
  CTKPFontDC font(&dc, GetFont());
  TEXTMETRICW tm{};
  dc.GetTextMetrics(&tm);
  int width = dc.GetTextExtent(m_strText).cx + tm.tmAveCharWidth + 12;
  // Never wider than the caption, so that a long text ends in an ellipsis; an icon keeps its room free.
  width = std::min(width, client.Width() - 2 * m_nBorderSize - (m_hIcon != nullptr ? kIconRoom : 0));
  width = std::max(width, 0);
  return CRect(m_nBorderSize, m_nBorderSize, m_nBorderSize + width, client.Height() - m_nBorderSize);
}

CRect CTKCaption::GetButtonRect() {
  if (m_button.m_hWnd == nullptr) return CRect(0, 0, 0, 0);
  if ((m_dwCaptionStyle & kTKCaptionCloseButton) == 0) return GetTextRect();
  CRect client;
  GetClientRect(client);
  const int top = (client.Height() - kCloseHeight) / 2;
  return CRect(client.Width() - 18, top, client.Width() - 2, top + kCloseHeight);
}

void CTKCaption::DrawCaptionBack(CDC* pDC, CRect& rcItem) {
  if (CTKCaptionTheme* pTheme = GetTheme()) pTheme->DrawCaptionBackground(pDC, this, rcItem);
}

void CTKCaption::DrawCaptionText(CDC* pDC) {
  if (CTKCaptionTheme* pTheme = GetTheme()) pTheme->DrawCaptionText(pDC, this);
}

void CTKCaption::DrawCaptionIcon(CDC* pDC, CRect& rcItem) {
  if (CTKCaptionTheme* pTheme = GetTheme()) pTheme->DrawCaptionIcon(pDC, this, rcItem);
}

// ---- the child and its popup ----

void CTKCaption::SetChildWindow(CWnd* pChild, CWnd* pNotifyWnd) {
  if (!TKIsWindowObject(pChild)) return;
  m_pChild = pChild;
  m_pNotifyWnd = pNotifyWnd;
  m_pChildParent = pChild->GetParent();
  m_pParentParent = m_pChildParent != nullptr ? m_pChildParent->GetParent() : nullptr;
  pChild->GetClientRect(m_rcChild);
  if (m_pChildParent != nullptr) m_pChildParent->GetClientRect(m_rcParent);
  if (m_pParentParent != nullptr) m_pParentParent->GetClientRect(m_rcGrandParent);
  m_nChildOffset = m_rcParent.Height() - m_rcChild.Height();
  if (m_button.m_hWnd != nullptr) m_button.ShowWindow(SW_SHOW);
  m_rcParent.right += 2 * ::GetSystemMetrics(SM_CXEDGE);
  m_rcParent.bottom += 2 * ::GetSystemMetrics(SM_CYEDGE);
}

void CTKCaption::KillChildWindow() {
  if (m_button.m_hWnd != nullptr) {
    m_button.ShowWindow(SW_HIDE);
    m_button.SendMessage(BM_SETSTATE, FALSE);
  }
  delete m_pPopup;
  m_pPopup = nullptr;
}

BOOL CTKCaption::ShowPopupWindow() {
  if (m_pPopup != nullptr && m_pPopup->m_hWnd != nullptr && m_pPopup->IsWindowVisible()) return TRUE;
  if (m_pPopup == nullptr) {
    m_pPopup = new CTKCaptionPopupWnd;
    if (!m_pPopup->Create(CRect(0, 0, 0, 0), this, m_pChild)) {
      delete m_pPopup;
      m_pPopup = nullptr;
      return FALSE;
    }
  }
  if (TKIsWindowObject(m_pChildParent) && TKIsWindowObject(m_pParentParent)) {
    CRect rc(m_rcParent);
    m_pChildParent->ClientToScreen(rc);
    CRect grand;
    m_pParentParent->GetClientRect(grand);
    rc.bottom += grand.Height() - m_rcGrandParent.Height();
    m_pPopup->MoveWindow(rc);
    m_pPopup->ShowWindow(SW_SHOW);
    m_pPopup->RecalcLayout();
    m_button.SendMessage(BM_SETSTATE, TRUE);
  }
  return TRUE;
}

CWnd* CTKCaption::NotifyWindow() const { return m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent(); }

void CTKCaption::TellNotifyWindow(UINT message) const {
  CWnd* pWnd = NotifyWindow();
  if (TKIsWindowObject(pWnd)) pWnd->SendMessage(message, 0, 0);
}

void CTKCaption::OnButtonClicked() {
  if ((m_dwCaptionStyle & kTKCaptionCloseButton) == 0) {
    ShowPopupWindow();
    return;
  }
  CWnd* pWnd = NotifyWindow();
  if (TKIsWindowObject(pWnd))
    pWnd->SendMessage(WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(m_hWnd));
}

// The popup posts these, so its own handler has returned before it is deleted here; a second post of a
// popup already gone is ignored.
void CTKCaption::OnChildBack() {
  if (m_pPopup == nullptr) return;
  KillChildWindow();
  if (TKIsWindowObject(m_pChild) && TKIsWindowObject(m_pChildParent)) {
    CRect rc;
    m_pChildParent->GetClientRect(rc);
    rc.top += m_nChildOffset;
    m_pChild->MoveWindow(rc);
  }
  TellNotifyWindow(kTKCaptionChildBack);
  Invalidate();
}

void CTKCaption::OnPopupClosed() {
  if (m_pPopup == nullptr) return;
  if (m_button.m_hWnd != nullptr) m_button.SendMessage(BM_SETSTATE, FALSE);
  delete m_pPopup;
  m_pPopup = nullptr;
  TellNotifyWindow(kTKCaptionPopupClosed);
  Invalidate();
}

// ---- messages ----

void CTKCaption::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(client);
  if (m_button.m_hWnd != nullptr && m_button.IsWindowVisible()) {
    CRect rcButton;
    m_button.GetWindowRect(rcButton);
    ScreenToClient(rcButton);
    dc.ExcludeClipRect(rcButton);
  }
  CTKMemDC memDC(&dc, client, CTKPColorGradient(::GetSysColor(COLOR_3DFACE)));
  DrawCaptionBack(&memDC, client);
  DrawCaptionText(&memDC);
  DrawCaptionIcon(&memDC, client);
}

LRESULT CTKCaption::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SIZE: {
      const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
      if (m_hIcon != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return result;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
      if (m_button.m_hWnd != nullptr) m_button.MoveWindow(GetButtonRect());
      return result;
    }
    case WM_SYSCOLORCHANGE:
      if (!m_bUserColors) {
        m_crText = ::GetSysColor(COLOR_BTNTEXT);
        m_crBorder = m_crBack = ::GetSysColor(COLOR_3DFACE);
        if (m_button.m_hWnd != nullptr) {
          m_button.SetColorFace(m_crBack);
          m_button.SetColorText(m_crText);
          m_button.SetColorShadow(::GetSysColor(COLOR_3DDKSHADOW));
        }
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) != ID_TK_CAPTION_BUTTON) break;
      OnButtonClicked();
      return 0;
    case kTKCaptionChildBack:
      OnChildBack();
      return 0;
    case kTKCaptionPopupClosed:
      OnPopupClosed();
      return 0;
    default:
      break;
  }
  return CStatic::WindowProc(message, wParam, lParam);
}
