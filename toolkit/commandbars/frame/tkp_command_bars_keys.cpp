// The manager's part in the frame's messages: Alt and keyboard cues, the frame-wide mnemonic search,
// accelerators, system colour and setting changes, and the loop that runs while a popup is tracked.
#include <vector>

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/cwinthread.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/bars/tkp_mnemonic_search.h"
#include "toolkit/commandbars/controls/tkp_edit_window.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

constexpr UINT kFirstNumPadDigit = VK_NUMPAD0;
constexpr UINT kLastNumPadDigit = VK_NUMPAD9;


}  // namespace

BOOL CTKPCommandBars::IsTracking() const { return MouseManager()->IsTrackedLock(nullptr); }

// ---- keyboard ------------------------------------------------------------------------------------------

BOOL CTKPCommandBars::PreTranslateFrameMessage(MSG* pMsg) {
  const UINT message = pMsg->message;
  CTKPMouseManager* mouse = MouseManager();
  if (message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)) != 0 && mouse->m_nLockButtonUp < 1 &&
      !mouse->IsTrackedLock(nullptr) && m_pFrame != nullptr && TKPIsTopParentActive(m_pFrame->m_hWnd)) {
    if (pMsg->wParam == VK_MENU) {
      ShowKeyboardCues(TRUE);
      return FALSE;
    }
    // Alt+key that no mnemonic answers may still be a shortcut (Alt+Enter, Alt+F4 style keys): it goes
    // on to the shortcut manager below.
    const bool searchMnemonics = !(m_bIgnoreShiftMenuKey && TKPIsKeyDown(VK_SHIFT));
    const UINT key = LOWORD(pMsg->wParam);
    if (searchMnemonics && key != 0 && OnFrameAccel(key)) return TRUE;
  }
  if ((message == WM_SYSKEYUP || message == WM_KEYUP) && m_pOptions->m_bCuesUntilAlt && m_pOptions->m_bCuesVisible &&
      !mouse->IsTrackedLock(nullptr)) {
    ShowKeyboardCues(FALSE);
  }
  if ((message == WM_CONTEXTMENU || message == WM_SYSKEYUP) && mouse->IsTrackedLock(nullptr)) return TRUE;
  if (message == WM_MOUSEWHEEL && TKPKeyboardManager()->IsKeyboardHooked()) {
    return TKPKeyboardManager()->ProcessKeyboardHooks(WM_MOUSEWHEEL, pMsg->wParam, pMsg->lParam);
  }
  if (TKPIsKeyMessage(message) && m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) {
    return m_pShortcutManager->TranslateAccelerator(m_pFrame->m_hWnd, pMsg);
  }
  return FALSE;
}

BOOL CTKPCommandBars::OnFrameAccel(UINT nKey) {
  // 2 is a value, not a bit: 3, 6 and 7 still search.
  if (m_pOptions->keyboardCuesUse == TKP_CUES_USE_NONE) return FALSE;
  if (nKey >= kFirstNumPadDigit && nKey <= kLastNumPadDigit) return FALSE;
  const UINT ch = ::MapVirtualKeyW(nKey, MAPVK_VK_TO_CHAR);
  if (ch == 0) return FALSE;
  // The bar to start from: a tracking one, else the visible menu bar, else (all bars) the first visible.
  CTKPCommandBar* start = nullptr;
  for (int i = 0; i < GetCount() && start == nullptr; ++i) {
    if (m_arrBars[i]->IsTrackingMode()) start = m_arrBars[i];
  }
  for (int i = 0; i < GetCount() && start == nullptr; ++i) {
    CTKPCommandBar* bar = m_arrBars[i];
    if (bar->GetType() == tkpBarTypeMenuBar && bar->IsVisible()) start = bar;
  }
  if (start == nullptr && (m_pOptions->keyboardCuesUse & TKP_CUES_USE_ALL_BARS) != 0) {
    const int first = GetNextVisible(-1, +1);
    start = GetAt(first);
  }
  if (start == nullptr) return FALSE;
  BOOL ambiguous = FALSE;
  CTKPCommandBar* bar = nullptr;
  const int index = FindAccel(start, static_cast<TCHAR>(ch), &ambiguous, &bar);
  if (index < 0 || bar == nullptr) return FALSE;
  if (!bar->IsTrackingMode()) ClosePopups();
  ShowKeyboardCues(TRUE);
  bar->SetTrackingMode(1, FALSE, TRUE);
  bar->SetSelected(index, TRUE);
  if (!ambiguous) {
    if (CTKPControl* control = bar->GetControl(index)) tkp_bar::OnUnderlineActivate(control);
  }
  return TRUE;
}

int CTKPCommandBars::FindAccel(CTKPCommandBar* pBar, TCHAR ch, BOOL* pbAmbiguous, CTKPCommandBar** ppBar) const {
  if (pbAmbiguous != nullptr) *pbAmbiguous = FALSE;
  if (ppBar != nullptr) *ppBar = nullptr;
  if (pBar == nullptr) return -1;
  // The controls of the bars that take part, one list from pBar's on, in list order and wrapping.
  struct Entry {
    CTKPCommandBar* bar;
    int index;
  };
  std::vector<Entry> entries;
  const bool allBars = (m_pOptions->keyboardCuesUse & TKP_CUES_USE_ALL_BARS) != 0;
  const int first = FindIndex(pBar);
  const int count = GetCount();
  for (int step = 0; step < (allBars && first >= 0 ? count : 1); ++step) {
    CTKPCommandBar* bar = first >= 0 ? m_arrBars[(first + step) % count] : pBar;
    if (bar != pBar && !bar->IsVisible()) continue;
    for (int i = 0; i < bar->GetControlCount(); ++i) entries.push_back(Entry{bar, i});
  }
  int start = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].bar == pBar && entries[i].index == pBar->GetSelected()) start = static_cast<int>(i);
  }
  const bool ampersandOnly = (m_pOptions->keyboardCuesUse & TKP_CUES_USE_AMPERSAND) != 0;
  bool ambiguous = false;
  const int found = TKPFindAccel(
      static_cast<int>(entries.size()), start, ch,
      [&](int i) {
        const Entry& e = entries[static_cast<size_t>(i)];
        const CTKPControl* control = e.bar->GetControl(e.index);
        TKPAccelCandidate candidate;
        candidate.strCaption = tkp_bar::MnemonicCaption(control);
        candidate.bTakesPart = tkp_bar::IsVisible(control) && !candidate.strCaption.IsEmpty();
        candidate.bFirstLetter =
            !ampersandOnly && (e.bar->GetType() == tkpBarTypeMenuBar || e.bar->IsTrackingMode());
        return candidate;
      },
      &ambiguous);
  if (found < 0) return -1;
  if (pbAmbiguous != nullptr) *pbAmbiguous = ambiguous ? TRUE : FALSE;
  if (ppBar != nullptr) *ppBar = entries[static_cast<size_t>(found)].bar;
  return entries[static_cast<size_t>(found)].index;
}

// ---- keyboard cues -----------------------------------------------------------------------------------------

void CTKPCommandBars::ShowKeyboardCues(BOOL bShow) {
  if (m_bCustomizeMode) bShow = TRUE;
  if (!m_pOptions->m_bCuesUntilAlt || !m_pOptions->m_bCuesVisible == !bShow) return;
  m_pOptions->m_bCuesVisible = bShow;
  RedrawCommandBars();
}

void CTKPCommandBars::OnTrackingModeChanged(CTKPCommandBar*, int nMode) {
  if (nMode == 0 && m_pOptions->m_bCuesUntilAlt && !MouseManager()->IsTracked()) ShowKeyboardCues(FALSE);
}

// ---- frame messages --------------------------------------------------------------------------------------

BOOL CTKPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_IDLEUPDATECMDUI:
      // Floating bars are not children of the frame: they get their idle turn from here.
      for (int i = 0; i < GetCount(); ++i) {
        CTKPCommandBar* bar = m_arrBars[i];
        if (bar->GetPosition() == tkpBarFloating && bar->m_hWnd != nullptr) bar->OnUpdateCmdUI(m_pFrame, TRUE);
      }
      return FALSE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      if (message == WM_SYSCOLORCHANGE) TKPColorManager()->RefreshColors();
      GetPaintManager()->RefreshMetrics();
      if (message == WM_SYSCOLORCHANGE) GetImageManager()->RefreshAll();
      RecalcFrameLayout(FALSE);
      if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) {
        m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
      return FALSE;
    case WM_CLOSE:
      return m_bCustomizeMode;  // not while the bars are being customized
    case WM_COMMAND:
      if (CWnd* focus = TKPCommandBarEditWithFocus(); focus != nullptr && focus->IsKindOf(RUNTIME_CLASS(CTKPEdit))) {
        if (static_cast<CTKPEdit*>(focus)->OnFrameCommand(wParam, lParam)) {
          *pResult = 1;
          return TRUE;
        }
      }
      return FALSE;
    case WM_ACTIVATEAPP:
      if (wParam == FALSE) ClosePopups();
      return FALSE;
    case WM_SYSCOMMAND:
      if ((wParam != 0 && LOWORD(wParam) == 0) || wParam == SC_KEYMENU) return FALSE;
      if (!m_bCustomizeMode) ClosePopups();
      return FALSE;
    default:
      return FALSE;
  }
}

// ---- popups --------------------------------------------------------------------------------------------

void CTKPCommandBars::ClosePopups() const { MouseManager()->SendTrackLost(); }

BOOL CTKPCommandBars::PumpTrackingLoop(CTKPCommandBar* pBar) {
  CWinThread* thread = AfxGetThread();
  CTKPKeyboardManager* keyboard = TKPKeyboardManager();
  MSG msg{};
  while (pBar->IsTrackingMode()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) return FALSE;
    if (got == 0) {
      // The program is ending: the quit goes back to the queue for the loop that owns it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    if (!pBar->IsTrackingMode()) {
      ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      break;
    }
    if (msg.message == WM_KICKIDLE) continue;
    // Keys posted to a window rather than typed never pass the keyboard hook: the tracked bars get
    // them here all the same. A typed key the hook already offered and passed on goes on to its window.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && keyboard->IsKeyboardHooked() &&
        !keyboard->TakeHookedKey(msg) && keyboard->ProcessKeyboardHooks(WM_KEYDOWN, msg.wParam, msg.lParam)) {
      continue;
    }
    if (thread == nullptr || !thread->PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return TRUE;
}
