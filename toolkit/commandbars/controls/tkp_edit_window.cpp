// The field window of the bars' edits and combo boxes, the rich-edit loader, the shell's auto-complete
// and the field's text kept across its window's life.
#include "toolkit/commandbars/controls/tkp_edit_window.h"

#include <cwchar>
#include <memory>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/stdids.h"
#include "platform/os/library_win32.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 at the Win32 calls");

// ---- the rich-edit loader ------------------------------------------------------------------------

CTKPRichEditLoader::CTKPRichEditLoader() {
  m_hModule = os::LoadProgramOrSystemLibrary(L"RICHED20.DLL");
  if (m_hModule != nullptr) {
    m_strClass = _T("RichEdit20W");
    m_bVersion2 = TRUE;
    return;
  }
  m_hModule = os::LoadProgramOrSystemLibrary(L"RICHED32.DLL");
  if (m_hModule != nullptr) m_strClass = _T("RICHEDIT");
}

CTKPRichEditLoader::~CTKPRichEditLoader() {
  if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
}

CTKPRichEditLoader* TKPRichEditLoader() {
  static CTKPRichEditLoader loader;
  return &loader;
}

// ---- the window ----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTKPEdit, CWnd)

BEGIN_MESSAGE_MAP(CTKPEdit, CWnd)
  ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
  ON_MESSAGE(WM_IME_ENDCOMPOSITION, OnImeEndComposition)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_DESTROY()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_CONTEXTMENU()
  ON_MESSAGE(TKP_WM_ISBARCHILD, OnIsBarChild)
  ON_MESSAGE(TKP_WM_SUGGESTIONSHOWN, OnSuggestionShown)
  ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

BOOL CTKPEdit::Create(DWORD dwStyle, CWnd* pParentBar) {
  CTKPRichEditLoader* loader = TKPRichEditLoader();
  const CRect empty;
  if (loader->GetModule() == nullptr) {
    return CWnd::Create(_T("EDIT"), nullptr, dwStyle, empty, pParentBar, 0);
  }
  if (!CWnd::Create(loader->GetClassName(), nullptr, dwStyle, empty, pParentBar, 0)) return FALSE;
  SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
  SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
  return TRUE;
}

BOOL CTKPEdit::PreTranslateKey(UINT nChar, LPARAM lParam) {
  if (nChar != VK_BACK && (nChar < VK_PRIOR || nChar > VK_HELP)) return FALSE;
  MSG msg{m_hWnd, WM_KEYDOWN, nChar, lParam, 0, {0, 0}};
  return ::IsDialogMessageW(m_hWnd, &msg);
}

BOOL CTKPEdit::IsCommandEnabled(UINT nID) const {
  if (nID == ID_EDIT_PASTE) return ::IsClipboardFormatAvailable(CF_TEXT);
  if (nID == ID_EDIT_CUT || nID == ID_EDIT_COPY) {
    DWORD start = 0, end = 0;
    ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
  }
  return TRUE;
}

BOOL CTKPEdit::ShowContextMenu(CTKPControl* pControl, CPoint point) {
  CString cut;
  CTKPCommandBar* bar = pControl != nullptr ? pControl->GetParent() : nullptr;
  if (!TKPResourceManager()->LoadString(&cut, ID_EDIT_CUT) || bar == nullptr || bar->GetCommandBars() == nullptr) {
    return FALSE;
  }
  // A popup bar of the three clipboard commands, each enabled as the field allows.
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(bar->GetCommandBars());
  if (popup == nullptr) return FALSE;
  struct Item {
    UINT id;
    const wchar_t* text;
  } const items[] = {{ID_EDIT_CUT, L"Cu&t"}, {ID_EDIT_COPY, L"&Copy"}, {ID_EDIT_PASTE, L"&Paste"}};
  for (const Item& item : items) {
    CTKPControl* button = popup->GetControls()->Add(tkpControlButton, static_cast<int>(item.id));
    button->SetCaption(CString(item.text));
    button->SetEnabled(IsCommandEnabled(item.id));
  }
  UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RECURSE;
  if ((GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)) != 0) flags |= TPM_RIGHTALIGN;
  CTKPMouseManager* mouse = TKPMouseManager();
  --mouse->m_nLockButtonUp;  // the menu is not the field: bars may react to the mouse meanwhile
  const UINT chosen = CTKPCommandBars::TrackPopupBar(popup, flags, point.x, point.y, this);
  ++mouse->m_nLockButtonUp;
  popup->InternalRelease();
  if (chosen > 0) OnCommand(static_cast<WPARAM>(chosen), 0);
  bar->Invalidate(FALSE);
  bar->UpdateWindow();
  return TRUE;
}

BOOL CTKPEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case ID_EDIT_PASTE: SendMessage(WM_PASTE); return TRUE;
    case ID_EDIT_COPY: SendMessage(WM_COPY); return TRUE;
    case ID_EDIT_CUT: SendMessage(WM_CUT); return TRUE;
    default: return CWnd::OnCommand(wParam, lParam);
  }
}

BOOL CTKPEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode == CN_UPDATE_COMMAND_UI && (nID == ID_EDIT_PASTE || nID == ID_EDIT_CUT || nID == ID_EDIT_COPY)) {
    static_cast<CCmdUI*>(pExtra)->Enable(IsCommandEnabled(nID));
    return TRUE;
  }
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CTKPEdit::OnImeStartComposition(WPARAM, LPARAM) {
  const LRESULT result = Default();
  m_bComposing = TRUE;
  return result;
}

LRESULT CTKPEdit::OnImeEndComposition(WPARAM, LPARAM) {
  const LRESULT result = Default();
  m_bComposing = FALSE;
  return result;
}

void CTKPEdit::OnSetFocus(CWnd* pOldWnd) {
  const BOOL customize = m_pOwner != nullptr && m_pOwner->GetEditControl()->IsCustomizeMode();
  if (m_pOwner != nullptr && !customize) m_pOwner->OnEditSetFocus(pOldWnd);
  Default();
  if (!customize) PostMessage(EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

void CTKPEdit::OnKillFocus(CWnd*) {
  Default();
  m_bComposing = FALSE;
  if (m_pOwner != nullptr) m_pOwner->OnEditKillFocus();
}

void CTKPEdit::OnDestroy() {
  if (m_pOwner != nullptr) m_pOwner->OnEditDestroy();
  CWnd::OnDestroy();
}

LRESULT CTKPEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The bar's tips see what happens in the field (mouse moves reach them through the bar itself).
  if (message != WM_MOUSEMOVE && m_pOwner != nullptr) {
    if (CTKPCommandBar* bar = m_pOwner->GetEditControl()->GetParent()) bar->RelayToolTipMessage(message, wParam, lParam);
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CTKPEdit::PassToBarInCustomize(UINT message, UINT nFlags, CPoint point) {
  CTKPControl* control = m_pOwner != nullptr ? m_pOwner->GetEditControl() : nullptr;
  CTKPCommandBar* bar = control != nullptr ? control->GetParent() : nullptr;
  if (bar == nullptr || !control->IsCustomizeMode()) return FALSE;
  // A press starts the customize click only on a customizable bar and a movable control.
  if (message == WM_LBUTTONDOWN && (!bar->IsCustomizable() || (control->GetFlags() & tkpFlagNoMovable) != 0)) {
    return FALSE;
  }
  ClientToScreen(point);
  bar->ScreenToClient(point);
  bar->SendMessage(message, nFlags, MAKELPARAM(point.x, point.y));
  return TRUE;
}

void CTKPEdit::OnLButtonDown(UINT nFlags, CPoint point) {
  if (!PassToBarInCustomize(WM_LBUTTONDOWN, nFlags, point)) Default();
}

void CTKPEdit::OnRButtonDown(UINT nFlags, CPoint point) {
  if (PassToBarInCustomize(WM_RBUTTONDOWN, nFlags, point)) return;
  if (m_pOwner != nullptr) {
    m_pOwner->OnEditRButtonDown(point);
  } else {
    Default();
  }
}

void CTKPEdit::OnMouseMove(UINT nFlags, CPoint point) {
  Default();
  // The bar goes on hot-tracking its controls over the field.
  CWnd* bar = GetParent();
  if (bar == nullptr) return;
  ClientToScreen(point);
  bar->ScreenToClient(point);
  bar->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
}

void CTKPEdit::OnContextMenu(CWnd*, CPoint) {}  // the right button shows the menu

LRESULT CTKPEdit::OnIsBarChild(WPARAM, LPARAM) { return TRUE; }

LRESULT CTKPEdit::OnSuggestionShown(WPARAM, LPARAM) {
  if (m_pOwner != nullptr) m_pOwner->OnEditSuggestionShown();
  return 0;
}

BOOL CTKPEdit::OnChange() {
  if (m_pOwner != nullptr) m_pOwner->OnEditWindowChanged();
  return FALSE;  // the bar may hear of it too
}

// ---- the shell's auto-complete ---------------------------------------------------------------------

namespace {

using SHAutoCompleteFn = HRESULT(WINAPI*)(HWND, DWORD);

// One call-window-procedure hook per process, owned by the field that has the focus.
HHOOK g_hSuggestionHook = nullptr;
CTKPEditShellAutoComplete* g_pHookOwner = nullptr;

}  // namespace

CTKPEditShellAutoComplete::~CTKPEditShellAutoComplete() {
  RemoveHook();
  ForgetSuggestionWnd();
  if (m_hShell != nullptr) ::FreeLibrary(m_hShell);
}

void CTKPEditShellAutoComplete::ForgetSuggestionWnd() {
  if (m_hSuggestion == nullptr) return;
  TKPMouseManager()->RemoveSafeWnd(m_hSuggestion);
  TKPKeyboardManager()->UnhookKeyboard(this);
  m_hSuggestion = nullptr;
}

int CTKPEditShellAutoComplete::OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) {
  return nMessage == WM_MOUSEWHEEL && m_hSuggestion != nullptr ? 2 : 0;
}

BOOL CTKPEditShellAutoComplete::Apply(HWND hEdit, DWORD dwFlags) {
  m_hEdit = hEdit;
  if (m_hShell == nullptr) m_hShell = os::LoadProgramOrSystemLibrary(L"shlwapi.dll");
  if (m_hShell == nullptr) return FALSE;
  auto fn = reinterpret_cast<SHAutoCompleteFn>(reinterpret_cast<void*>(::GetProcAddress(m_hShell, "SHAutoComplete")));
  return fn != nullptr && SUCCEEDED(fn(hEdit, dwFlags));
}

void CTKPEditShellAutoComplete::InstallHook() {
  if (g_pHookOwner == this) return;
  RemoveHook();
  if (g_hSuggestionHook == nullptr) {
    g_hSuggestionHook = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, ::GetCurrentThreadId());
  }
  if (g_hSuggestionHook != nullptr) g_pHookOwner = this;
}

void CTKPEditShellAutoComplete::RemoveHook() {
  // Unwatched, the list's hiding would go unseen: it is known no longer.
  ForgetSuggestionWnd();
  if (g_pHookOwner != this && g_pHookOwner != nullptr) return;
  if (g_hSuggestionHook != nullptr) ::UnhookWindowsHookEx(g_hSuggestionHook);
  g_hSuggestionHook = nullptr;
  g_pHookOwner = nullptr;
}

LRESULT CALLBACK CTKPEditShellAutoComplete::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && g_pHookOwner != nullptr) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (msg->message == WM_WINDOWPOSCHANGING) {
      g_pHookOwner->OnWindowPosChanging(msg->hwnd, reinterpret_cast<const WINDOWPOS*>(msg->lParam));
    }
  }
  return ::CallNextHookEx(g_hSuggestionHook, nCode, wParam, lParam);
}

void CTKPEditShellAutoComplete::OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos) {
  if (pPos == nullptr) return;
  if (m_hSuggestion == nullptr && (pPos->flags & SWP_SHOWWINDOW) != 0) {
    wchar_t name[256] = {};
    ::GetClassNameW(hWnd, name, 255);
    if (std::wcscmp(name, L"Auto-Suggest Dropdown") != 0) return;
    m_hSuggestion = hWnd;
    TKPMouseManager()->AddSafeWnd(hWnd);  // clicks in the suggestions do not end the bar's tracking
    TKPKeyboardManager()->HookKeyboard(this);
    ::PostMessageW(m_hEdit, TKP_WM_SUGGESTIONSHOWN, 0, 0);
  } else if (hWnd == m_hSuggestion && pPos->flags >= SWP_HIDEWINDOW) {
    ForgetSuggestionWnd();
  }
}

BOOL CTKPEditShellAutoComplete::PreTranslateKey(UINT nChar, LPARAM lParam) {
  if (m_hSuggestion == nullptr || !::IsWindowVisible(m_hSuggestion) || TKPIsKeyDown(VK_MENU)) return FALSE;
  if (nChar != VK_UP && nChar != VK_DOWN && nChar != VK_PRIOR && nChar != VK_NEXT) return FALSE;
  // The list is the window after the suggestion window's first child.
  HWND first = ::GetWindow(m_hSuggestion, GW_CHILD);
  HWND list = first != nullptr ? ::GetWindow(first, GW_HWNDNEXT) : nullptr;
  if (list == nullptr) return FALSE;
  MSG msg{list, WM_KEYDOWN, nChar, lParam, 0, {0, 0}};
  return ::IsDialogMessageW(list, &msg);
}

// ---- the field -------------------------------------------------------------------------------------

TKPEditField::~TKPEditField() { DeleteWindowObject(); }

CString TKPEditField::GetText() {
  if (m_state.IsStale() && HasWindow()) {
    CString text;
    m_pWnd->GetWindowText(text);
    m_state.Refresh(text);
  }
  return m_state.GetText();
}

void TKPEditField::SetText(const CString& strText) {
  m_state.SetText(strText);
  WriteWindow();
}

void TKPEditField::SetHint(const CString& strHint) {
  GetText();  // what the user typed is taken before the hint changes
  m_state.SetHint(strHint);
  WriteWindow();
}

void TKPEditField::OnFocus() {
  GetText();
  m_state.OnFocus();
  WriteWindow();
  m_strSavedText = m_state.GetText();
}

void TKPEditField::OnKillFocus() {
  GetText();
  m_state.OnKillFocus();
  WriteWindow();
}

BOOL TKPEditField::OnWindowChanged() {
  if (m_bWriting) return FALSE;
  m_state.MarkStale();
  return TRUE;
}

void TKPEditField::OnWindowDestroy() { GetText(); }

void TKPEditField::WriteWindow() {
  if (!HasWindow()) return;
  const CString shown = m_state.GetShown();
  CString current;
  m_pWnd->GetWindowText(current);
  m_bWriting = TRUE;
  if (current != shown) {
    ::SetWindowTextW(GetHwnd(), nullptr);
    ::SetWindowTextW(GetHwnd(), shown);
  }
  m_bWriting = FALSE;
  ApplyFormat(m_pWnd->IsWindowEnabled());
}

CHARFORMAT2W TKPEditField::DefaultCharFormat(BOOL bEnabled) const {
  CTKPColorManager* colors = TKPColorManager();
  CHARFORMAT2W format{};
  format.cbSize = TKPRichEditLoader()->IsVersion2() ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
  format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
  if (bEnabled) {
    format.crTextColor = colors->GetColor(m_state.IsHintShown() ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    format.crBackColor = colors->GetColor(COLOR_WINDOW);
  } else {
    format.crTextColor = colors->GetColor(COLOR_GRAYTEXT);
    format.crBackColor = colors->GetColor(COLOR_BTNFACE);
  }
  return format;
}

void TKPEditField::ApplyFormat(BOOL bEnabled) {
  if (!HasWindow()) return;
  CTKPRichEditLoader* loader = TKPRichEditLoader();
  CHARFORMAT2W format = m_pWnd->m_pOwner != nullptr ? m_pWnd->m_pOwner->GetCharFormat() : DefaultCharFormat(bEnabled);
  format.cbSize = loader->IsVersion2() ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
  const BOOL writing = m_bWriting;
  m_bWriting = TRUE;  // a format is no change of the text
  ::SendMessageW(GetHwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  if (loader->GetModule() != nullptr) {
    ::SendMessageW(GetHwnd(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(GetHwnd(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(format.crBackColor));
  }
  ::SendMessageW(GetHwnd(), EM_SETREADONLY, m_bReadOnly, 0);
  m_bWriting = writing;
}

void TKPEditField::ApplyAutoComplete() {
  delete m_pAutoComplete;
  m_pAutoComplete = nullptr;
  if (!HasWindow() || m_dwShellFlags == 0) return;
  auto complete = std::make_unique<CTKPEditShellAutoComplete>();
  if (complete->Apply(GetHwnd(), m_dwShellFlags)) m_pAutoComplete = complete.release();
}

void TKPEditField::InstallAutoCompleteHook() {
  if (m_pAutoComplete != nullptr) m_pAutoComplete->InstallHook();
}

void TKPEditField::RemoveAutoCompleteHook() {
  if (m_pAutoComplete != nullptr) m_pAutoComplete->RemoveHook();
}

int TKPEditField::RouteKey(UINT nChar, LPARAM lParam) {
  if (IsComposing()) return 2;
  if (m_pAutoComplete != nullptr && m_pAutoComplete->PreTranslateKey(nChar, lParam)) return 1;
  return HasWindow() && m_pWnd->PreTranslateKey(nChar, lParam) ? 1 : 2;
}

void TKPEditField::DestroyWindow() {
  if (!HasWindow()) return;
  GetText();
  // The auto-complete belongs to the window that goes; a new window gets a new one.
  delete m_pAutoComplete;
  m_pAutoComplete = nullptr;
  m_pWnd->DestroyWindow();
}

void TKPEditField::DeleteWindowObject() {
  DestroyWindow();
  delete m_pAutoComplete;
  m_pAutoComplete = nullptr;
  delete m_pWnd;
  m_pWnd = nullptr;
}
