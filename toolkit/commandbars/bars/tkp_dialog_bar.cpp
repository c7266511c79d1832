// CTKPDialogBar: its caption row, layout, hosted window, edges and resizing.
#include "toolkit/commandbars/bars/tkp_dialog_bar.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/layout.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_context.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"

IMPLEMENT_SERIAL(CTKPDialogBar, CTKPToolBar, 1)

BEGIN_MESSAGE_MAP(CTKPDialogBar, CTKPToolBar)
  ON_WM_NCHITTEST()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
constexpr int kCloseSide = 16;
constexpr int kTextLeft = 2;
constexpr int kTextRightPlain = 2;
constexpr int kTextRightMenu = 15;  // room for the drop-down arrow

// The caption row's text: the bar's caption (its title when empty); with a caption menu the row is a
// drop-down button that opens it, else a press there drags the bar.
class CaptionControl : public CTKPControl {
 public:
  explicit CaptionControl(CTKPDialogBar* pBar) : m_pBar(pBar) { m_controlType = TKP_CONTROL_TYPE_CAPTION; }

  void Draw(CDC* pDC) override {
    CRect rc = GetRect();
    CTKPPaintManager* paint = m_pBar->GetPaintManager();
    const BOOL menu = m_pBar->HasCaptionMenu();
    // While its menu shows, the caption is drawn popped.
    m_pBar->m_bCaptionDrawnOpen = m_pBar->IsCaptionMenuOpen();
    if (menu) {
      pDC->FillSolidRect(rc, TKPColorManager()->GetColor(COLOR_BTNFACE));
      paint->DrawControlEntry(pDC, rc, GetEnabled(), GetSelected() != 0, GetPressed() != 0, FALSE,
                              m_pBar->m_bCaptionDrawnOpen, tkpBarTop);
    } else {
      // The bar's face behind the text, so that the text colour stays readable on it.
      pDC->FillSolidRect(rc, TKPColorManager()->GetColor(COLOR_BTNFACE));
    }
    const COLORREF text = TKPColorManager()->GetColor(COLOR_BTNTEXT);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(text);
    CRect rcText(rc);
    rcText.DeflateRect(kTextLeft, 0, menu ? kTextRightMenu : kTextRightPlain, 0);
    // The caption row lies across the bar whatever side it is docked on: the horizontal font.
    CTKPFontDC font(pDC, paint->GetRegularFont(nullptr));
    pDC->DrawText(m_pBar->GetCaptionText(), rcText, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (menu) {
      const int middle = rc.CenterPoint().y;
      paint->Triangle(pDC, CPoint(rc.right - 13, middle - 2), CPoint(rc.right - 5, middle - 2),
                      CPoint(rc.right - 9, middle + 2), text);
    }
  }

  void OnClick(BOOL /*bKeyboard*/, CPoint pt) override {
    CRect rc = GetRect();
    m_pBar->ClientToScreen(rc);
    if (m_pBar->HasCaptionMenu()) {
      m_pBar->GetCaptionPopup()->Popup(rc.left, rc.bottom, rc);
      m_pBar->Invalidate(FALSE);
    } else if (CTKPDockContext* context = m_pBar->GetDockContext()) {
      m_pBar->ClientToScreen(pt);
      context->StartDrag(pt);
    }
  }

 private:
  CTKPDialogBar* m_pBar;
};

// The close button of the caption row: it hides the bar.
class CloseButton : public CTKPControlButton {
 public:
  CloseButton() { m_controlType = TKP_CONTROL_TYPE_CLOSE; }
  void OnExecute() override {
    if (m_pParent != nullptr) m_pParent->SetVisible(FALSE);
  }
};
}  // namespace

// The drag loop of a dialog bar is the toolbar's; resizing by an edge moves the dragged rectangle's edges
// and hands it to ResizeToRect, docked or floating.
class CTKPDialogBarDockContext : public CTKPDockContext {
 public:
  explicit CTKPDialogBarDockContext(CTKPDialogBar* pBar) : CTKPDockContext(pBar), m_pDialogBar(pBar) {}

  void Resize(CPoint pt) override {
    m_rectFrameDrag = tkp_dialog_bar::DraggedRect(m_rectFrameDrag, m_nTrackMode, CSize(pt.x - m_ptLast.x, pt.y - m_ptLast.y));
    m_ptLast = pt;
    CRect window;
    m_pDialogBar->GetWindowRect(window);
    if (m_rectFrameDrag.Size() == window.Size()) return;
    // A rectangle dragged off every screen is not taken: the bar could not be reached again.
    const CRect work = CTKPDrawHelpers::GetWorkAreaFromWindow(m_pDialogBar->m_hWnd);
    CRect overlap;
    if (!overlap.IntersectRect(m_rectFrameDrag, work)) return;
    m_pDialogBar->ResizeToRect(m_rectFrameDrag, m_nTrackMode);
    m_pDialogBar->Invalidate();
  }

 private:
  CTKPDialogBar* m_pDialogBar;
};

CTKPDialogBar::CTKPDialogBar() {
  m_bCustomizable = FALSE;
  m_bShowExpandButton = FALSE;
  m_pDockContext = new CTKPDialogBarDockContext(this);
}

CTKPDialogBar::~CTKPDialogBar() {
  if (m_pCaptionPopup != nullptr) m_pCaptionPopup->InternalRelease();
}

CTKPPopupBar* CTKPDialogBar::GetCaptionPopup() {
  // A bar on its own (in a dialog) has a caption menu too; it joins the manager the bar gets later.
  if (m_pCaptionPopup == nullptr) {
    m_pCaptionPopup = CTKPPopupBar::CreatePopupBar(GetCommandBars());
    if (m_pCaptionPopup != nullptr) m_pCaptionPopup->SetPopupFlags(2);  // opens from the point
  } else if (m_pCaptionPopup->GetCommandBars() == nullptr && GetCommandBars() != nullptr) {
    m_pCaptionPopup->SetCommandBars(GetCommandBars());
  }
  return m_pCaptionPopup;
}

BOOL CTKPDialogBar::IsCaptionMenuOpen() const {
  return m_pCaptionPopup != nullptr && m_pCaptionPopup->GetSafeHwnd() != nullptr && m_pCaptionPopup->IsWindowVisible();
}

void CTKPDialogBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
  // The caption comes back from its popped look once its menu has closed.
  if (m_bCaptionDrawnOpen != IsCaptionMenuOpen() && m_hWnd != nullptr) Invalidate(FALSE);
  CTKPToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHandler);
}

BOOL CTKPDialogBar::HasCaptionMenu() const {
  return m_bCaptionPopup && m_pCaptionPopup != nullptr && m_pCaptionPopup->GetControlCount() > 0;
}

void CTKPDialogBar::SetChild(CWnd* pWnd) {
  m_hwndChild = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  if (m_hwndChild != nullptr && m_hWnd != nullptr && ::GetParent(m_hwndChild) != m_hWnd) ::SetParent(m_hwndChild, m_hWnd);
  PlaceChild();
}

void CTKPDialogBar::SetCaption(LPCTSTR lpszCaption) {
  m_strCaption = lpszCaption != nullptr ? lpszCaption : _T("");
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

CString CTKPDialogBar::GetCaptionText() const { return m_strCaption.IsEmpty() ? GetTitle() : m_strCaption; }

void CTKPDialogBar::ShowCaption(BOOL bShow) {
  m_bCaptionVisible = bShow;
  OnRecalcLayout();
}

void CTKPDialogBar::GetBorders(CRect& rcBorders) const {
  rcBorders = m_rcBorders;
  if (m_bCaptionVisible) rcBorders.top += m_nCaptionHeight;
}

// ---- layout -------------------------------------------------------------------------------------------

CSize CTKPDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  return CalcLayout(nLength, dwMode, m_sizes.floating);
}

CSize CTKPDialogBar::CalcDockingLayout(int, DWORD dwMode, int) {
  m_dwState &= ~stateLayoutPending;
  return CalcLayout(32000, dwMode, m_sizes.docked);
}

CSize CTKPDialogBar::CalcLayout(int nLength, DWORD dwMode, CSize szClient) {
  CSize size(szClient.cx + m_rcBorders.left + m_rcBorders.right, szClient.cy + m_rcBorders.top + m_rcBorders.bottom);
  CTKPControl* caption = m_pControls->FindControl(TKP_ID_DIALOGBAR_CAPTION);
  CTKPControl* close = m_pControls->FindControl(TKP_ID_TOOLBAR_CLOSE);
  if (!m_bCaptionVisible) {
    m_nCaptionHeight = 0;
    for (CTKPControl* control : {caption, close}) {
      if (control != nullptr) control->SetHideFlags(tkpHideGeneric);
    }
    PlaceChild();
    return size;
  }
  // The caption row: as high as the paint manager's gripper and font ask.
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CTKPPaintManager* paint = GetPaintManager();
  CTKPFontDC font(&dc, paint->GetRegularFont(nullptr));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const CSize gripper = paint->DrawCommandBarGripper(&dc, this, FALSE);
  m_nCaptionHeight = std::max<int>(gripper.cy, metrics.tmHeight + 4);
  size.cy += m_nCaptionHeight;
  if ((dwMode & LM_STRETCH) != 0) {
    ((dwMode & LM_HORZ) != 0 ? size.cx : size.cy) = nLength;
  } else if ((dwMode & (LM_MRUWIDTH | LM_LENGTHY)) != 0 && nLength > 0 && nLength < 32000) {
    // The length given is the width (or with LM_LENGTHY the height), when it asks for more room.
    LONG& side = (dwMode & LM_LENGTHY) != 0 ? size.cy : size.cx;
    side = std::max<LONG>(side, nLength);
  }

  // The close button at the row's right end, the caption from the gripper to it.
  int right = size.cx - m_rcBorders.right;
  if (m_bCloseable) {
    if (close == nullptr) {
      close = m_pControls->Add(new CloseButton, TKP_ID_TOOLBAR_CLOSE, CString(), -1, TRUE);
      close->SetTooltip(_T("Close"));
      close->SetFlags(close->GetFlags() | tkpFlagNoMovable);
    }
    const int top = m_nCaptionHeight / 2 + m_rcBorders.top - kCloseSide / 2;
    close->SetHideFlags(tkpNoHide);
    close->SetRect(CRect(right - kCloseSide, top, right, top + kCloseSide));
    right -= kCloseSide;
  } else if (close != nullptr) {
    close->SetHideFlags(tkpHideGeneric);
  }
  if (caption == nullptr) {
    caption = m_pControls->Add(new CaptionControl(this), TKP_ID_DIALOGBAR_CAPTION, CString(), -1, TRUE);
    caption->SetFlags(caption->GetFlags() | tkpFlagNoMovable);
  }
  caption->SetHideFlags(tkpNoHide);
  const int left = m_rcBorders.left + ((m_dwBarStyle & TKP_BAR_GRIPPER) != 0 ? gripper.cx : 0);
  caption->SetRect(CRect(left, m_rcBorders.top, std::max(left, right), m_rcBorders.top + m_nCaptionHeight));
  PlaceChild();
  return size;
}

void CTKPDialogBar::PlaceChild() {
  if (m_hwndChild == nullptr || !::IsWindow(m_hwndChild) || m_hWnd == nullptr) return;
  CRect client, borders;
  GetClientRect(client);
  GetBorders(borders);
  client.DeflateRect(borders);
  ::SetWindowPos(m_hwndChild, nullptr, client.left, client.top, std::max(0, client.Width()),
                 std::max(0, client.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(m_hwndChild, nullptr, TRUE);
}

void CTKPDialogBar::OnSize(UINT, int, int) {
  Default();
  PlaceChild();
}

void CTKPDialogBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
  CTKPCommandBar::DrawCommandBar(pDC, rcClipBox);
  CTKPControl* close = m_pControls->FindControl(TKP_ID_TOOLBAR_CLOSE);
  if (close != nullptr && close->IsVisible()) {
    GetPaintManager()->DrawSpecialControl(pDC, tkpSpecialFloatingClose, close, this, TRUE, CSize());
  }
}

void CTKPDialogBar::Copy(CTKPCommandBar* pSource, BOOL bRecursive) {
  CTKPToolBar::Copy(pSource, bRecursive);
  auto* source = pSource != nullptr && pSource->IsKindOf(RUNTIME_CLASS(CTKPDialogBar))
                     ? static_cast<CTKPDialogBar*>(pSource)
                     : nullptr;
  if (source == nullptr || source == this) return;
  m_rcBorders = source->m_rcBorders;
  m_bResizable = source->m_bResizable;
  m_szMinClient = source->m_szMinClient;
  m_bCaptionVisible = source->m_bCaptionVisible;
  m_bCaptionPopup = source->m_bCaptionPopup;
  m_sizes = source->m_sizes;
  m_strCaption = source->m_strCaption;
}

// ---- edges --------------------------------------------------------------------------------------------

LRESULT CTKPDialogBar::OnNcHitTest(CPoint point) {
  if (m_bResizable) {
    CRect window;
    GetWindowRect(window);
    const bool stretched = (m_dwFlags & TKP_DOCK_STRETCHED) != 0;
    if (int edge = tkp_dialog_bar::EdgeAt(window, point, m_barPosition, stretched)) return edge;
  }
  return CTKPToolBar::OnNcHitTest(point);
}

void CTKPDialogBar::ResizeToRect(CRect rcScreen, int nHitTest) {
  CRect borders;
  GetBorders(borders);
  const bool floating = m_barPosition == tkpBarFloating;
  if (!tkp_dialog_bar::ResizeTo(rcScreen, nHitTest, borders, m_szMinClient, floating, m_sizes)) return;
  if (floating) {
    CalcDynamicLayout(0, LM_COMMIT | LM_HORZ);
    MoveWindow(rcScreen);
    Invalidate();
  } else {
    OnRecalcLayout();
  }
}

int CTKPDialogBar::HitTestTracking(CPoint ptScreen) const {
  if (m_hWnd == nullptr) return -2;
  CRect window;
  ::GetWindowRect(m_hWnd, window);
  CRect band(window.left, window.top, window.right, window.top + m_rcBorders.top + m_nCaptionHeight);
  return band.PtInRect(ptScreen) ? 1 : -2;
}
