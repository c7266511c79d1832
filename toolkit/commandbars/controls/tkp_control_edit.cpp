// The bar's text field: its window placed over the control, focus and keys while it is edited, the hint,
// saved state, and the label and frame the field draws when the theme leaves them out.
#include "toolkit/commandbars/controls/tkp_control_edit.h"

#include <algorithm>

#include "platform/classlib/win/cdc.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"

// ---- label and frame -----------------------------------------------------------------------------

namespace tkp_field {

int LabelWidth(CDC* pDC, CTKPControl* pControl, BOOL bShowLabel) {
  const CString caption = pControl->GetCaption();
  if (!bShowLabel || caption.IsEmpty() || pDC == nullptr) return 0;
  CRect text(0, 0, 0, 0);
  pDC->DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
  return text.Width() + 6;
}

int FieldHeight(CDC* pDC, CTKPControl* pControl) {
  TEXTMETRICW metrics{};
  if (pDC != nullptr) ::GetTextMetricsW(pDC->GetSafeHdc(), &metrics);
  CTKPCommandBar* bar = pControl->GetParent();
  const int button = bar != nullptr ? bar->GetButtonSize().cy : 22;
  return std::max<int>(button, metrics.tmHeight + 10);
}

void DrawFrame(CDC* pDC, CTKPControl* pControl, int nLabelWidth, BOOL bFocused) {
  CTKPColorManager* colors = TKPColorManager();
  const CRect rc = pControl->GetRect();
  const BOOL enabled = pControl->GetEnabled();
  if (nLabelWidth > 0) {
    CRect label(rc.left + 2, rc.top, rc.left + nLabelWidth, rc.bottom);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(colors->GetColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->DrawText(pControl->GetCaption(), label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  }
  const CRect frame(rc.left + nLabelWidth + 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
  pDC->FillSolidRect(frame, colors->GetColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  const BOOL hot = enabled && (bFocused || pControl->GetSelected() != 0);
  const COLORREF edge = colors->GetColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW);
  pDC->Draw3dRect(frame, edge, edge);
}

CRect WindowRect(CRect rc, int nLabelWidth, int nRightExtra) {
  return CRect(rc.left + nLabelWidth + 4, rc.top + 3, rc.right - 3 - nRightExtra, rc.bottom - 3);
}

void EnterFocus(CTKPControl* pControl) {
  CTKPCommandBar* bar = pControl->GetParent();
  if (bar != nullptr && bar->GetSafeHwnd() != nullptr) {
    // The field keeps its caret while the bar tracks.
    const BOOL hideCaret = bar->m_bHideCaretWhileTracking;
    bar->m_bHideCaretWhileTracking = FALSE;
    bar->SetTrackingMode(1, FALSE, TRUE);
    bar->m_bHideCaretWhileTracking = hideCaret;
    bar->SetSelected(pControl->GetIndex(), TRUE);
  }
  ++TKPMouseManager()->m_nLockButtonUp;
}

void LeaveFocus(CTKPControl* pControl, TKPEditField& field, HWND& hwndPrev) {
  CTKPCommandBar* bar = pControl->GetParent();
  if (field.HasFocus()) {
    HWND back = hwndPrev != nullptr && ::IsWindow(hwndPrev) ? hwndPrev : nullptr;
    CWnd* site = bar != nullptr ? bar->GetSite() : nullptr;
    if (back == nullptr && site != nullptr) back = site->GetSafeHwnd();
    ::SetFocus(back);
  }
  hwndPrev = nullptr;
  --TKPMouseManager()->m_nLockButtonUp;
  if (bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->IsTrackingMode() &&
      bar->GetSelected() == pControl->GetIndex() && bar->GetType() != tkpBarTypePopup) {
    bar->SetTrackingMode(0, TRUE, FALSE);
  }
}

void RecordPrevFocus(CTKPControl* pControl, CWnd* pOldWnd, HWND& hwndPrev) {
  if (hwndPrev != nullptr) return;
  HWND old = pOldWnd != nullptr ? pOldWnd->GetSafeHwnd() : nullptr;
  CWnd* site = pControl->GetParent() != nullptr ? pControl->GetParent()->GetSite() : nullptr;
  hwndPrev = old != nullptr ? old : (site != nullptr ? site->GetSafeHwnd() : nullptr);
}

void PlaceWindow(CTKPControl* pControl, TKPEditField& field, CRect rcWindow) {
  CTKPCommandBar* bar = pControl->GetParent();
  if (bar == nullptr || bar->GetSafeHwnd() == nullptr || field.m_pWnd == nullptr) return;
  if (!field.HasWindow()) {
    if (!field.m_pWnd->Create(WS_CHILD | ES_AUTOHSCROLL, bar)) return;
    field.WriteWindow();
    if (!pControl->GetEnabled()) ::EnableWindow(field.GetHwnd(), FALSE);
    field.ApplyAutoComplete();
  }
  if (CTKPPaintManager* paint = pControl->GetPaintManager()) field.m_pWnd->SetFont(paint->GetRegularFont(bar), FALSE);
  field.ApplyFormat(pControl->GetEnabled());
  field.m_pWnd->MoveWindow(rcWindow, TRUE);
  const UINT show = pControl->GetHideFlags() != 0 ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
  ::SetWindowPos(field.GetHwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
}

void DropStrayWindow(CTKPControl* pControl, TKPEditField& field) {
  HWND hwnd = field.GetHwnd();
  HWND bar = pControl->GetParent() != nullptr ? pControl->GetParent()->GetSafeHwnd() : nullptr;
  if (hwnd != nullptr && ((::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0 || ::GetParent(hwnd) != bar)) {
    field.DestroyWindow();
  }
}

void ShowWindow(TKPEditField& field, BOOL bShow) {
  if (field.HasWindow()) ::ShowWindow(field.GetHwnd(), bShow ? SW_SHOWNA : SW_HIDE);
}

DWORD HideFlagsForMode(DWORD dwHideFlags, DWORD dwMode) {
  return (dwMode & TKP_LAYOUT_VERTICAL_DOCK) != 0 ? (dwHideFlags | TKP_HIDE_VERTICAL_DOCK)
                                                   : (dwHideFlags & ~TKP_HIDE_VERTICAL_DOCK);
}

void ShowContextMenu(CTKPControl* pControl, TKPEditField& field, CPoint point) {
  if (field.m_pWnd == nullptr) return;
  CPoint screen = point;
  field.m_pWnd->ClientToScreen(screen);
  if (!field.m_pWnd->ShowContextMenu(pControl, screen)) {
    field.m_pWnd->DefWindowProc(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
  }
}

}  // namespace tkp_field

// ---- the control ---------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlEdit, CTKPControl, 1)

CTKPControlEdit::CTKPControlEdit() { m_controlType = tkpControlEdit; }

CTKPControlEdit::~CTKPControlEdit() {
  if (m_bFocused) --TKPMouseManager()->m_nLockButtonUp;
  m_bFocused = FALSE;
  m_field.DeleteWindowObject();
}

void CTKPControlEdit::SetReadOnly(BOOL bReadOnly) {
  m_field.m_bReadOnly = bReadOnly;
  if (m_field.HasWindow()) ::SendMessageW(m_field.GetHwnd(), EM_SETREADONLY, bReadOnly, 0);
}

void CTKPControlEdit::SetShellAutoComplete(DWORD dwFlags) {
  m_field.m_dwShellFlags = dwFlags;
  m_field.ApplyAutoComplete();
}

void CTKPControlEdit::SetEnabled(BOOL bEnabled) {
  CTKPControl::SetEnabled(bEnabled);
  if (!m_field.HasWindow()) return;
  ::EnableWindow(m_field.GetHwnd(), bEnabled);
  m_field.ApplyFormat(bEnabled);
}

void CTKPControlEdit::SetFocused(BOOL bFocused) {
  if (bFocused == m_bFocused) return;
  m_bFocused = bFocused;
  if (bFocused) {
    if (m_field.HasWindow() && !m_field.HasFocus()) m_field.m_pWnd->SetFocus();
    tkp_field::EnterFocus(this);
    NotifySite(EN_SETFOCUS);
  } else {
    tkp_field::LeaveFocus(this, m_field, m_hwndPrevFocus);
    NotifySite(EN_KILLFOCUS);
  }
  RedrawParent();
}

void CTKPControlEdit::SetRect(CRect rc) {
  if (m_field.m_pWnd == nullptr) {
    m_field.m_pWnd = CreateEditWnd();
    m_field.m_pWnd->m_pOwner = this;
  }
  tkp_field::DropStrayWindow(this, m_field);
  if (rc == m_rcControl && m_field.HasWindow() && !m_bReposition) return;
  m_rcControl = rc;
  tkp_field::PlaceWindow(this, m_field, tkp_field::WindowRect(m_rcControl, m_nLabelWidth, 0));
  m_bReposition = FALSE;
}

BOOL CTKPControlEdit::IsCaptionVisible() const { return m_bLabel && !GetCaption().IsEmpty(); }

BOOL CTKPControlEdit::Compare(CTKPControl* pOther) {
  if (!CTKPControl::Compare(pOther) || pOther->GetRuntimeClass() != GetRuntimeClass()) return FALSE;
  return static_cast<CTKPControlEdit*>(pOther)->m_nWidth == m_nWidth;
}

void CTKPControlEdit::SetHideFlags(DWORD dwFlags) {
  m_dwHideFlags = dwFlags;
  tkp_field::ShowWindow(m_field, dwFlags == 0);
}

CSize CTKPControlEdit::GetSize(CDC* pDC) {
  CTKPPaintManager* paint = GetPaintManager();
  const CSize themed = paint != nullptr ? paint->DrawControlEdit(pDC, this, FALSE) : CSize();
  if (themed.cx != 0 || themed.cy != 0) return themed;
  m_nLabelWidth = tkp_field::LabelWidth(pDC, this, m_bLabel);
  return CSize(std::max(m_nWidth, m_nLabelWidth + 20), tkp_field::FieldHeight(pDC, this));
}

void CTKPControlEdit::Draw(CDC* pDC) {
  CTKPPaintManager* paint = GetPaintManager();
  const CSize themed = paint != nullptr ? paint->DrawControlEdit(pDC, this, FALSE) : CSize();
  if (themed.cx != 0 || themed.cy != 0) {
    paint->DrawControlEdit(pDC, this, TRUE);
  } else {
    tkp_field::DrawFrame(pDC, this, m_nLabelWidth, m_bFocused);
  }
}

void CTKPControlEdit::OnCalcDynamicSize(DWORD dwMode) {
  const DWORD flags = tkp_field::HideFlagsForMode(m_dwHideFlags, dwMode);
  if (flags != m_dwHideFlags) SetHideFlags(flags);
}

void CTKPControlEdit::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControl::DoPropExchange(pPX);
  if (pPX->GetSchema() > 5) {
    PX_Bool(pPX, _T("HasLabel"), m_bLabel, FALSE);
    LONG width = m_nWidth;
    PX_Long(pPX, _T("Width"), width, 0);
    m_nWidth = static_cast<int>(width);
  }
  if (pPX->GetSchema() > 7) PX_Bool(pPX, _T("ReadOnly"), m_field.m_bReadOnly, FALSE);
  if (pPX->GetSchema() > 8) {
    CString hint = GetEditHint();
    PX_String(pPX, _T("EditHint"), hint, _T(""));
    LONG flags = static_cast<LONG>(m_field.m_dwShellFlags);
    PX_Long(pPX, _T("ShellAutoCompleteFlags"), flags, 0);
    if (pPX->IsLoading()) {
      SetEditHint(hint);
      m_field.m_dwShellFlags = static_cast<DWORD>(flags);
    }
  }
  if (pPX->IsLoading()) m_field.ApplyAutoComplete();
}

int CTKPControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (!m_bFocused || !m_field.HasWindow()) return 0;
  if (m_field.IsComposing()) return 2;
  if (nChar == VK_RETURN || nChar == VK_TAB) return 0;
  if (nChar == VK_ESCAPE) {
    m_field.RestoreSavedText();
    SetFocused(FALSE);
    return 1;
  }
  return m_field.RouteKey(nChar, lParam);
}

void CTKPControlEdit::SetParent(CTKPCommandBar* pParent) {
  if (pParent == nullptr) m_field.DestroyWindow();
  CTKPControl::SetParent(pParent);
}

void CTKPControlEdit::Copy(CTKPControl* pSource, BOOL bRecursive) {
  auto* source = tkp_field::KindOf<CTKPControlEdit>(pSource);
  if (source != nullptr && source != this) {
    m_nWidth = source->m_nWidth;
    m_bLabel = source->m_bLabel;
    m_field.m_bReadOnly = source->m_field.m_bReadOnly;
    m_field.m_dwShellFlags = source->m_field.m_dwShellFlags;
    SetEditHint(source->GetEditHint());
    SetEditText(source->GetEditText());
  }
  CTKPControl::Copy(pSource, bRecursive);
}

void CTKPControlEdit::OnClick(BOOL bKeyboard, CPoint) {
  if (IsCustomizeMode()) {
    if (m_pParent != nullptr) {
      m_pParent->PopupControl(-1);
      m_pParent->SetSelected(-1);
    }
    return;
  }
  if (bKeyboard && m_field.HasFocus()) {
    OnExecute();
  } else if (m_bEnabled) {
    if (m_field.HasWindow()) {
      m_field.m_pWnd->SetFocus();
    } else {
      SetFocused(TRUE);
    }
  }
}

BOOL CTKPControlEdit::OnSetSelected(int bSelected) {
  const BOOL changed = CTKPControl::OnSetSelected(bSelected);
  if (bSelected == 0 && m_bFocused) SetFocused(FALSE);
  return changed;
}

void CTKPControlEdit::SetWidth(int nWidth) {
  if (nWidth == m_nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

// ---- the window's reports ------------------------------------------------------------------------

void CTKPControlEdit::OnEditSetFocus(CWnd* pOldWnd) {
  m_field.OnFocus();
  tkp_field::RecordPrevFocus(this, pOldWnd, m_hwndPrevFocus);
  if (m_pParent != nullptr) m_pParent->PopupControl(-1);
  SetFocused(TRUE);
  m_field.InstallAutoCompleteHook();
}

void CTKPControlEdit::OnEditKillFocus() {
  m_field.OnKillFocus();
  SetFocused(FALSE);
  m_field.RemoveAutoCompleteHook();
}

void CTKPControlEdit::OnEditWindowChanged() {
  if (!m_field.OnWindowChanged()) return;
  if (m_field.HasFocus()) OnEditChanged();
  m_field.ApplyFormat(m_bEnabled);
}

void CTKPControlEdit::OnEditRButtonDown(CPoint point) {
  SetFocused(TRUE);
  tkp_field::ShowContextMenu(this, m_field, point);
}
