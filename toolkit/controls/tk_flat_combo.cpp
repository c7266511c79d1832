#include "toolkit/controls/tk_flat_combo.h"

#include "platform/classlib/win/cdc.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/gdi_guards.h"

IMPLEMENT_DYNAMIC(CTKFlatComboBox, CComboBox)

namespace {
constexpr UINT_PTR kComboHotTimer = 1000;
}  // namespace

CTKFlatComboBox::CTKFlatComboBox() : m_themeHost(RUNTIME_CLASS(CTKFlatComboBoxThemeFactory)) {}

BOOL CTKFlatComboBox::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_BACK || pMsg->wParam == VK_DELETE) &&
      ::IsChild(m_hWnd, pMsg->hwnd) && KeyDeletes(static_cast<UINT>(pMsg->wParam))) {
    m_bSuppressAutoCompleteOnce = TRUE;
  }
  return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CTKFlatComboBox::KeyDeletes(UINT nKey) const {
  // A key that deletes nothing changes no text: no change would come to clear the flag.
  const LRESULT sel = ::SendMessageW(m_hWnd, CB_GETEDITSEL, 0, 0);
  if (sel == CB_ERR) return FALSE;
  const int start = LOWORD(sel), end = HIWORD(sel);
  if (start != end) return TRUE;
  return nKey == VK_BACK ? start > 0 : end < ::GetWindowTextLengthW(m_hWnd);
}

COLORREF CTKFlatComboBox::GetBackColor() const {
  return m_clrBack != static_cast<COLORREF>(-1) ? m_clrBack : TKPColorManager()->GetColor(COLOR_WINDOW);
}

BOOL CTKFlatComboBox::PointInControl() const { return tkflat::CursorOver(m_hWnd); }

int CTKFlatComboBox::GetDrawState() const {
  if (m_bHasFocus || ::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0) return tkflat::kStatePressed;
  return m_bHotShown ? tkflat::kStateHot : tkflat::kStateNormal;
}

void CTKFlatComboBox::Redraw() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CTKFlatComboBox::OnTimerStep() {
  const bool bInside = PointInControl() != FALSE;
  if (!bInside) KillTimer(kComboHotTimer);
  if (tkflat::StepHot(bInside, m_bHotShown)) Redraw();
}

void CTKFlatComboBox::DrawFrame(HDC hDC) {
  auto* pTheme = static_cast<CTKFlatComboBoxTheme*>(m_themeHost.GetSafeTheme());
  if (pTheme == nullptr || !m_bFlat) return;
  pTheme->DrawFlatComboBox(CDC::FromHandle(hDC), this, GetDrawState());
}

void CTKFlatComboBox::AutoComplete() {
  if (m_bSuppressAutoCompleteOnce) {
    m_bSuppressAutoCompleteOnce = FALSE;
    return;
  }
  CString text;
  GetWindowText(text);
  const int n = text.GetLength();
  if (n < 1) return;
  const LRESULT sel = SendMessage(CB_GETEDITSEL, 0, 0);
  const BOOL bValid = sel != CB_ERR;
  if (SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text))) ==
      CB_ERR) {
    // Nothing starts with it: the typed text and its caret stay.
    SetWindowText(text);
    if (bValid) SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(sel), HIWORD(sel)));
  }
  if (!bValid || static_cast<int>(HIWORD(sel)) >= n)
    SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(n, -1));
  else
    SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(sel), HIWORD(sel)));
}

BOOL CTKFlatComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    switch (HIWORD(wParam)) {
      case CBN_SETFOCUS:
      case CBN_KILLFOCUS:
        if (m_bFlat) {
          m_bHasFocus = HIWORD(wParam) == CBN_SETFOCUS;
          Redraw();
        }
        break;
      case CBN_CLOSEUP:
        if (m_bFlat) Invalidate();
        break;
      case CBN_EDITUPDATE:
        if (m_bAutoComplete) AutoComplete();
        break;
      default:
        break;
    }
  }
  return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CTKFlatComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (m_bFlat && HIWORD(lParam) == WM_MOUSEMOVE) {
        SetTimer(kComboHotTimer, 10);
        OnTimerStep();
      }
      break;
    case WM_TIMER:
      if (wParam != kComboHotTimer) break;
      OnTimerStep();
      return 0;
    case WM_PAINT: {
      const LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
      CClientDC dc(this);
      DrawFrame(dc.GetSafeHdc());
      return result;
    }
    case WM_PRINTCLIENT: {
      const LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
      DrawFrame(reinterpret_cast<HDC>(wParam));
      return result;
    }
    case WM_ERASEBKGND:
      return TRUE;
    default:
      break;
  }
  return CComboBox::WindowProc(message, wParam, lParam);
}
