// The command bar's tracking mode, selection and popups, and its keyboard: navigation keys, mnemonics and
// the keys a tracking bar receives through the keyboard manager's hook.
#include <cstdlib>

#include "platform/classlib/win/cframewnd.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_mnemonic_search.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_mouse_manager.h"

// ---- tracking ------------------------------------------------------------------------------------------

BOOL CTKPCommandBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  if (m_nTrackingMode == nMode) return FALSE;
  if (m_nTrackingMode != 0 && nMode != 0) {
    m_nTrackingMode = nMode;  // 1 and 2 only tell whether a popup is open
    return FALSE;
  }
  m_nTrackingMode = nMode;
  CTKPMouseManager* mouse = TKPMouseManager();
  if (nMode != 0) {
    CWnd* site = GetSite();
    if (m_barType == tkpBarTypeMenuBar && site != nullptr && site->m_hWnd != nullptr) {
      site->SendMessage(TKP_WM_TRACKINGMODE, reinterpret_cast<WPARAM>(this), 0);
    }
    m_bTrackOnHover = !bSelectFirst && !bKeyboard;
    if (m_bHideCaretWhileTracking && m_hwndCaret == nullptr) {
      HWND focus = ::GetFocus();
      m_hwndCaret = focus != nullptr ? focus : (site != nullptr ? site->m_hWnd : nullptr);
      if (m_hwndCaret != nullptr) ::HideCaret(m_hwndCaret);
    }
    mouse->SetTrack(this);
    TKPKeyboardManager()->HookKeyboard(this);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    if (bSelectFirst) SetSelected(NextSelectable(-1, +1), TRUE);
  } else {
    m_bTrackOnHover = FALSE;
    mouse->RemoveTrack(this);
    TKPKeyboardManager()->UnhookKeyboard(this);
    PopupControl(-1);
    if (bSelectFirst) SetSelected(-1);
    if (m_hwndCaret != nullptr) {
      ::ShowCaret(m_hwndCaret);
      m_hwndCaret = nullptr;
    }
    Redraw();
    // The next menu opens collapsed again once nothing is tracked.
    if (!mouse->IsTracked()) TKPPopupsExpandedWhileTracking() = FALSE;
    if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
      if (CWnd* parent = GetParent()) {
        if (CWnd* next = parent->GetNextDlgTabItem(this)) next->SetFocus();
      }
    }
    m_nLockTrack = 0;
  }
  if (CTKPCommandBars* bars = GetCommandBars()) bars->OnTrackingModeChanged(this, nMode);
  return TRUE;
}

void CTKPCommandBar::EndTracking() { SetTrackingMode(0, TRUE, FALSE); }

void CTKPCommandBar::ClearSelection() { SetSelected(-1); }

BOOL CTKPCommandBar::SetSelected(int nIndex, BOOL bKeyboard) {
  if (nIndex == m_nSelected) return FALSE;
  m_bKeyboardSelected = bKeyboard;
  if (m_hWnd == nullptr) return FALSE;
  LockRedraw();
  if (CTKPControl* old = GetControl(m_nSelected)) tkp_bar::SetSelected(old, 0);
  m_nSelected = nIndex;
  if (CTKPControl* control = GetControl(nIndex)) {
    if (m_nTrackingMode != 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_MENU, nIndex + 1);
    tkp_bar::SetSelected(control, bKeyboard ? 2 : 1);
    TKPMouseManager()->m_pTrackModeBar = this;
    if (!bKeyboard) SetTimer(TKP_TIMER_HOVER, TKP_HOVER_PERIOD, nullptr);
  } else {
    m_nSelected = -1;
    KillTimer(TKP_TIMER_HOVER);
  }
  UnlockRedraw();
  return TRUE;
}

BOOL CTKPCommandBar::PopupControl(int nIndex, BOOL bKeyboard) {
  if (nIndex == m_nPopuped) return FALSE;
  LockRedraw();
  if (CTKPControl* open = GetControl(m_nPopuped)) {
    m_nPopuped = -1;
    tkp_bar::SetPopup(open, FALSE);
  }
  m_nPopuped = -1;
  CTKPControl* control = GetControl(nIndex);
  if (control == nullptr || !tkp_bar::IsEnabledPopup(control)) {
    UnlockRedraw();
    return FALSE;
  }
  m_nPopuped = nIndex;
  SetTrackingMode(2, FALSE, bKeyboard);
  SetSelected(nIndex, bKeyboard);
  tkp_bar::SetPopup(control, TRUE);
  CTKPCommandBars* bars = GetCommandBars();
  if (bars != nullptr && bars->GetOptions()->bShowFullAfterDelay && m_hWnd != nullptr) {
    SetTimer(TKP_TIMER_FULLMENU, TKP_FULLMENU_PERIOD, nullptr);
  }
  UnlockRedraw();
  return TRUE;
}

// ---- keyboard ------------------------------------------------------------------------------------------

int CTKPCommandBar::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&) {
  if (nMessage != WM_KEYDOWN) return 0;
  return OnHookKeyDown(static_cast<UINT>(wParam), lParam);
}

int CTKPCommandBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
  if (IsCustomizeMode() || IsSiteInHelpMode()) return 2;
  if (m_nLockTrack > 0) return 1;
  CWnd* site = GetSite();
  if (CTKPControl* selected = GetControl(m_nSelected)) {
    if (tkp_bar::IsEnabled(selected)) {
      const int answer = tkp_bar::OnHookKeyDown(selected, nChar, lParam);
      if (answer == 1 || answer == 2) return answer;
    }
  }
  if (m_hWnd == nullptr) return 1;
  if (site != nullptr && site->m_hWnd != nullptr) {
    TKP_KEYRECORD key{nChar, lParam};
    site->SendMessage(TKP_WM_SPECIALKEY, reinterpret_cast<WPARAM>(&key), reinterpret_cast<LPARAM>(this));
    nChar = key.nChar;
    lParam = key.lParam;
  }
  if (m_hWnd == nullptr) return 1;  // the site may have ended the bar
  CTKPCommandBars* bars = GetCommandBars();
  const BOOL shift = TKPIsKeyDown(VK_SHIFT);
  switch (nChar) {
    case VK_TAB:
      if (TKPIsKeyDown(VK_CONTROL) && m_barType == tkpBarTypeNormal && bars != nullptr &&
          GetRootParent()->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) {
        if (bars->ActivateNextBar(this, shift ? -1 : +1)) return 1;
      }
      ProcessSpecialKey(shift ? tkpKeyPrev : tkpKeyNext);
      if (CTKPControl* selected = GetControl(m_nSelected)) {
        if (tkp_bar::IsFocusable(selected)) tkp_bar::SetFocused(selected, TRUE);
      }
      return 1;
    case VK_RETURN:
      ProcessSpecialKey(tkpKeyReturn);
      return 1;
    case VK_ESCAPE:
      ProcessSpecialKey(tkpKeyEscape);
      return 1;
    default:
      break;
  }
  HWND focus = ::GetFocus();
  if (focus != nullptr && focus != m_hWnd && ::IsChild(m_hWnd, focus)) return 2;

  const bool horizontal = m_barPosition == tkpBarTop || m_barPosition == tkpBarBottom ||
                          m_barPosition == tkpBarFloating ||
                          (m_barPosition == tkpBarPopup && m_barType == tkpBarTypeNormal);
  const bool rtl = IsLayoutRTL() != FALSE;
  int code = -1;
  switch (nChar) {
    case VK_END: code = tkpKeyEnd; break;
    case VK_HOME: code = tkpKeyHome; break;
    case VK_UP: code = horizontal ? tkpKeyPopupUp : tkpKeyPrev; break;
    case VK_DOWN: code = horizontal ? tkpKeyPopupDown : tkpKeyNext; break;
    case VK_LEFT:
      code = horizontal ? (rtl ? tkpKeyNext : tkpKeyPrev) : (rtl ? tkpKeyPopupDown : tkpKeyPopupUp);
      break;
    case VK_RIGHT:
      code = horizontal ? (rtl ? tkpKeyPrev : tkpKeyNext) : (rtl ? tkpKeyPopupUp : tkpKeyPopupDown);
      break;
    default: break;
  }
  if (code >= 0) return ProcessSpecialKey(code) ? 1 : 0;

  const UINT ch = ::MapVirtualKeyW(nChar, MAPVK_VK_TO_CHAR);
  if (ch == 0) return 0;
  if (m_barType == tkpBarTypeNormal && bars != nullptr && bars->OnFrameAccel(nChar)) return 1;
  if (!TKPIsKeyDown(VK_CONTROL)) {
    BOOL ambiguous = FALSE;
    const int found = FindAccel(ch, &ambiguous);
    if (found >= 0) {
      SetSelected(found, TRUE);
      if (!ambiguous) {
        if (CTKPControl* control = GetControl(found)) tkp_bar::OnUnderlineActivate(control);
      }
      return 1;
    }
  }
  if (nChar != VK_SHIFT && nChar != VK_CONTROL) ::MessageBeep(0);
  return 1;
}

int CTKPCommandBar::FindAccel(UINT nChar, BOOL* pbAmbiguous) const {
  bool ambiguous = false;
  const int found = TKPFindAccel(GetControlCount(), m_nSelected, static_cast<TCHAR>(nChar),
                                 [this](int i) {
                                   const CTKPControl* control = GetControl(i);
                                   TKPAccelCandidate candidate;
                                   candidate.strCaption = tkp_bar::MnemonicCaption(control);
                                   candidate.bTakesPart = tkp_bar::IsVisible(control) && !candidate.strCaption.IsEmpty();
                                   candidate.bFirstLetter = true;
                                   return candidate;
                                 },
                                 &ambiguous);
  if (pbAmbiguous != nullptr) *pbAmbiguous = ambiguous ? TRUE : FALSE;
  return found;
}

int CTKPCommandBar::NextSelectable(int nIndex, int nStep) const {
  return tkp_bar::NextSelectable(m_pControls, nIndex, nStep);
}

BOOL CTKPCommandBar::SelectInNextRow(BOOL bForward) {
  CTKPControl* selected = GetControl(m_nSelected);
  if (selected == nullptr) return SetSelected(bForward ? NextSelectable(-1, +1) : NextSelectable(-1, -1), TRUE);
  const CRect from = tkp_bar::Rect(selected);
  // The row after (or before) the selected control's: the first control beyond its row's edge.
  int rowTop = -1;
  int best = -1;
  int bestDistance = 0;
  for (int i = NextSelectable(m_nSelected, bForward ? +1 : -1); i >= 0 && i != m_nSelected;
       i = NextSelectable(i, bForward ? +1 : -1)) {
    const CRect r = tkp_bar::Rect(GetControl(i));
    const bool beyond = bForward ? r.top >= from.bottom : r.bottom <= from.top;
    if (!beyond) continue;
    if (rowTop < 0) rowTop = r.top;
    if (r.top != rowTop) continue;
    const int distance = std::abs(r.left - from.left);
    // Ties go to the control met first.
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  if (best >= 0) SetSelected(best, TRUE);
  return TRUE;
}

BOOL CTKPCommandBar::ProcessSpecialKey(int nKey) {
  const bool popupToolBar = m_barPosition == tkpBarPopup && m_barType == tkpBarTypeNormal;
  CTKPControl* selected = GetControl(m_nSelected);
  const bool popupOpen = m_nPopuped >= 0;
  if (popupToolBar && selected != nullptr && m_nSelected == m_nPopuped) {
    if (nKey == tkpKeyNext) return FALSE;
    if (nKey == tkpKeyPrev) nKey = tkpKeyPopupUp;
  } else if (nKey == tkpKeyPopupUp && !popupOpen && selected != nullptr &&
             (popupToolBar || GetParentCommandBar() == nullptr) && tkp_bar::IsEnabledPopup(selected)) {
    nKey = tkpKeyPopupDown;  // on the menu bar Up opens a menu just as Down does
  }
  if ((nKey == tkpKeyPopupUp || nKey == tkpKeyPopupDown) && !popupOpen &&
      (popupToolBar || m_barPosition == tkpBarFloating) &&
      (selected == nullptr || !tkp_bar::IsEnabledPopup(selected))) {
    return SelectInNextRow(nKey == tkpKeyPopupDown);
  }
  switch (nKey) {
    case tkpKeyNext:
    case tkpKeyPrev: {
      const int next = NextSelectable(m_nSelected, nKey == tkpKeyNext ? +1 : -1);
      if (next >= 0) SetSelected(next, TRUE);
      return TRUE;
    }
    case tkpKeyPopupUp:
      if (!popupOpen) return FALSE;
      PopupControl(-1);
      SetTrackingMode(1, FALSE, TRUE);
      return TRUE;
    case tkpKeyPopupDown:
      if (selected == nullptr || popupOpen) return FALSE;
      tkp_bar::SetSelected(selected, 2);
      return PopupControl(m_nSelected, TRUE);
    case tkpKeyEscape:
      if (CTKPCommandBar* parent = GetParentCommandBar()) parent->SetTrackingMode(1, FALSE, TRUE);
      SetTrackingMode(0, TRUE, TRUE);
      return TRUE;
    case tkpKeyReturn:
      if (selected != nullptr) {
        tkp_bar::SetSelected(selected, 2);
        tkp_bar::OnClick(selected, TRUE, CPoint(0, 0));
      }
      return TRUE;
    case tkpKeyHome:
    case tkpKeyEnd:
      SetSelected(NextSelectable(-1, nKey == tkpKeyHome ? +1 : -1), TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}
