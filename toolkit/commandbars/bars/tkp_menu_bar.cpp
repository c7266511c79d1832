#include "toolkit/commandbars/bars/tkp_menu_bar.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/paint_geometry.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "res/toolkit_resource.h"
#include "toolkit/common/tkp_hook_manager.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

constexpr int kMdiButtonSize = 16;
constexpr DWORD kMdiButtonFlags = 0x1b;
constexpr DWORD kSysMenuFlags = 0x18;
constexpr UINT kMdiChildIconMessage = 0x2860;  // asks an MDI child for its icon

// A caption button of the maximized MDI child: a glyph of the symbol font, the command posted to the child.
class MdiButton : public CTKPControlButton {
 public:
  CSize GetSize(CDC*) override { return CSize(kMdiButtonSize, kMdiButtonSize); }
  void SetBeginGroup(BOOL) override {}
  void Draw(CDC* pDC) override {
    GetPaintManager()->DrawControlEntry(pDC, this);
    LOGFONTW face{};
    face.lfHeight = tkppaint::MdiGlyphFontHeight(::GetDeviceCaps(pDC->m_hDC, LOGPIXELSY));
    face.lfCharSet = SYMBOL_CHARSET;
    ::lstrcpyW(face.lfFaceName, L"Marlett");
    HFONT font = ::CreateFontIndirectW(&face);
    HGDIOBJ old = ::SelectObject(pDC->m_hDC, font);
    RECT rc = GetRect();
    const int mode = ::SetBkMode(pDC->m_hDC, TRANSPARENT);
    ::DrawTextW(pDC->m_hDC, GetParameter(), GetParameter().GetLength(), &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ::SetBkMode(pDC->m_hDC, mode);
    ::SelectObject(pDC->m_hDC, old);
    ::DeleteObject(font);
  }
  void OnExecute() override {
    auto* bar = static_cast<CTKPMenuBar*>(GetParent());
    HWND child = bar != nullptr ? bar->GetActiveMdiChild() : nullptr;
    if (child == nullptr) return;
    const UINT command = GetID() == TKP_ID_MENUBAR_CLOSE ? SC_CLOSE : GetID() == TKP_ID_MENUBAR_RESTORE ? SC_RESTORE : SC_MINIMIZE;
    ::PostMessageW(child, WM_SYSCOMMAND, command, 0);
  }
};

// The maximized child's system menu: its icon, opening the child's system commands.
class SysMenuPopup : public CTKPControlPopup {
 public:
  ~SysMenuPopup() override { SetIcon(nullptr); }
  CSize GetSize(CDC*) override { return CSize(kMdiButtonSize, kMdiButtonSize); }
  void Draw(CDC* pDC) override {
    if (m_hIcon == nullptr) return;
    const CRect rc = GetRect();
    ::DrawStateW(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, rc.left, rc.top, kMdiButtonSize,
                 kMdiButtonSize, DST_ICON);
  }
  void SetIcon(HICON icon) {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    m_hIcon = icon;
  }
  // The menu keeps clear of the whole icon, one pixel round it.
  void AdjustExcludeRect(CRect& rc) override { rc.InflateRect(1, 1); }

 private:
  HICON m_hIcon = nullptr;
};

constexpr UINT kFirstSysCommand = 0xF000, kLastSysCommand = 0xF1EF;
constexpr UINT kSysCommandPrompts = 0xEF00;  // the prompt of system command id: this + (id - 0xF000) / 16

// The child's system menu item by item: its system commands become buttons that keep the state the menu
// gives them (the bar's update leaves them alone); other items come in as menu items do.
void FillSysMenu(CTKPCommandBar* popup, HMENU sysMenu) {
  CTKPControls* controls = popup->GetControls();
  controls->RemoveAll();
  CMenu menu;
  menu.Attach(sysMenu);
  const UINT defaultItem = ::GetMenuDefaultItem(sysMenu, FALSE, 0);
  BOOL group = FALSE;
  const int count = ::GetMenuItemCount(sysMenu);
  for (int i = 0; i < count; ++i) {
    const UINT id = ::GetMenuItemID(sysMenu, i);
    const UINT state = ::GetMenuState(sysMenu, static_cast<UINT>(i), MF_BYPOSITION);
    if ((state & MF_SEPARATOR) != 0) {
      group = TRUE;
      continue;
    }
    CTKPControl* control = nullptr;
    if (id < kFirstSysCommand || id > kLastSysCommand) {
      control = controls->AddMenuItem(&menu, i);
    } else {
      control = controls->Add(tkpControlButton, static_cast<int>(id));
      wchar_t caption[128] = {};
      ::GetMenuStringW(sysMenu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
      CString prompt;
      if (prompt.LoadString(kSysCommandPrompts + (id - kFirstSysCommand) / 16)) control->SetPrompt(prompt);
      control->SetCaption(caption);
      control->SetFlags(control->GetFlags() | tkpFlagManualUpdate);
      control->SetDefaultItem(id == defaultItem);
      control->SetEnabled((state & MF_GRAYED) == 0);
    }
    if (control != nullptr && group) control->SetBeginGroup(TRUE);
    group = FALSE;
  }
  menu.Detach();
}

// The child's icon, asked for in turn from the child, its window and its class; the stock one at last.
HICON ChildIcon(HWND child) {
  auto icon = reinterpret_cast<HICON>(::SendMessageW(child, kMdiChildIconMessage, 0, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(::SendMessageW(child, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(::SendMessageW(child, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(child, GCLP_HICONSM));
  if (icon == nullptr) icon = ::LoadIconW(nullptr, IDI_WINLOGO);
  return static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, kMdiButtonSize, kMdiButtonSize, 0));
}

}  // namespace

IMPLEMENT_SERIAL(CTKPMenuBar, CTKPToolBar, 1)

BEGIN_MESSAGE_MAP(CTKPMenuBar, CTKPToolBar)
  ON_WM_TIMER()
END_MESSAGE_MAP()

CTKPMenuBar::CTKPMenuBar() {
  m_barType = tkpBarTypeMenuBar;
  m_mapMenuCache.InitHashTable(17, FALSE);
}

CTKPMenuBar::~CTKPMenuBar() {
  for (POSITION pos = m_mapMenuCache.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    CTKPControls* controls = nullptr;
    m_mapMenuCache.GetNextAssoc(pos, id, controls);
    controls->InternalRelease();
  }
  m_mapMenuCache.RemoveAll();
  TKPHookManager()->RemoveAll(this);
  if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
}

BOOL CTKPMenuBar::LoadMenuBar(UINT nID) {
  CWnd* site = GetSite();
  if (site == nullptr || site->m_hWnd == nullptr) return FALSE;
  if (nID != 0) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nID), RT_MENU);
    CMenu menu;
    if (module == nullptr || !menu.Attach(::LoadMenuW(module, MAKEINTRESOURCEW(nID)))) return FALSE;
    const BOOL loaded = LoadMenu(&menu, TRUE);
    menu.DestroyMenu();
    if (!loaded) return FALSE;
    m_nIDResource = m_nIDResourceCurrent = nID;
  }
  m_bMdiApp = site->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
  TKPHookManager()->SetHook(site->m_hWnd, this);
  if (m_bMdiApp) {
    m_hwndMdiClient = static_cast<CMDIFrameWnd*>(site)->m_hWndMDIClient;
    if (m_hwndMdiClient != nullptr) TKPHookManager()->SetHook(m_hwndMdiClient, this);
  }
  // The system commands of a maximized child's menu show their icons.
  if (CTKPImageManager* images = GetImageManager()) {
    static const UINT kSystemCommands[] = {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    images->SetIconsFromResource(IDB_TK_SYSTEM_COMMANDS, kSystemCommands, 4, CSize(16, 16));
  }
  m_hMenu = ::GetMenu(site->m_hWnd);
  ::SetMenu(site->m_hWnd, nullptr);
  return TRUE;
}

HWND CTKPMenuBar::GetActiveMdiChild(BOOL* pbMaximized) const {
  if (pbMaximized != nullptr) *pbMaximized = FALSE;
  if (!m_bMdiApp || m_hwndMdiClient == nullptr || !::IsWindow(m_hwndMdiClient)) return nullptr;
  BOOL maximized = FALSE;
  auto child = reinterpret_cast<HWND>(::SendMessageW(m_hwndMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  if (pbMaximized != nullptr) *pbMaximized = child != nullptr && maximized;
  return child;
}

int CTKPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
  CWnd* site = GetSite();
  CTKPCommandBars* bars = GetCommandBars();
  if (nMessage == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && site != nullptr &&
      hWnd == site->m_hWnd) {
    // The menu key alone: the bar takes the keyboard instead of the system's menu loop.
    if (IsVisible() && !TKPMouseManager()->IsTrackedLock(nullptr) && !TKPIsKeyDown(VK_SHIFT) &&
        (bars == nullptr || !bars->IsCustomizeMode())) {
      if (bars != nullptr) {
        bars->ClosePopups();
        bars->ShowKeyboardCues(TRUE);
      }
      SetTrackingMode(1, TRUE, TRUE);
      lResult = 0;
      return 1;
    }
    return 0;
  }
  if (((nMessage == WM_SIZE || nMessage == WM_WINDOWPOSCHANGED) && hWnd == m_hwndHookedChild && hWnd != nullptr) ||
      nMessage == WM_MDICREATE || nMessage == WM_MDIDESTROY || nMessage == WM_MDIACTIVATE) {
    if (m_hWnd != nullptr) PostMessage(WM_TIMER, TKP_TIMER_MDI_REFRESH);
    return 0;
  }
  if (nMessage == WM_MDISETMENU && hWnd == m_hwndMdiClient) {
    if (IsVisible()) {
      // Left alone, the MDI client gives the frame the menu as it would without the bar.
      if ((m_dwFlags & TKP_MENUBAR_IGNORE_SETMENU) != 0) return 0;
      SwitchMenu(wParam != 0 ? reinterpret_cast<HMENU>(wParam) : m_hMenu);
      if (site != nullptr && site->m_hWnd != nullptr) ::SetMenu(site->m_hWnd, nullptr);
      RefreshMdiButtons();
      lResult = 0;
      return 1;
    }
    if (site != nullptr && ::GetMenu(site->m_hWnd) == nullptr) {
      lResult = 0;
      return 1;
    }
    return 0;
  }
  return CTKPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void CTKPMenuBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == TKP_TIMER_MDI_REFRESH) {
    RefreshMdiButtons();
    return;
  }
  CTKPToolBar::OnTimer(nIDEvent);
}

void CTKPMenuBar::SetControls(CTKPControls* pControls) {
  m_pControls = pControls;
  m_pControls->SetParent(this);
  m_pControls->SetCommandBars(GetCommandBars());
}

void CTKPMenuBar::ShowCachedControls(UINT nID, HMENU hMenu) {
  // The controls on show wait in the cache for their menu to come back.
  CTKPControls* previous = nullptr;
  if (m_mapMenuCache.Lookup(m_nIDResourceCurrent, previous)) previous->InternalRelease();
  m_mapMenuCache[m_nIDResourceCurrent] = m_pControls;
  m_pControls = nullptr;
  CTKPControls* cached = nullptr;
  if (m_mapMenuCache.Lookup(nID, cached)) {
    m_mapMenuCache.RemoveKey(nID);
    SetControls(cached);
    if (cached->GetOriginalControls() == nullptr) {
      // The menu's own items become the cached controls' originals (for Reset and for saving).
      CTKPControls* fresh = new CTKPControls;
      CTKPControls* shown = m_pControls;
      SetControls(fresh);
      CMenu menu;
      menu.Attach(hMenu);
      LoadMenu(&menu, TRUE);
      menu.Detach();
      fresh->CreateOriginalControls();
      SetControls(shown);
      shown->SetOriginalControls(fresh->GetOriginalControls());
      fresh->InternalRelease();
    }
    return;
  }
  SetControls(new CTKPControls);
  CMenu menu;
  menu.Attach(hMenu);
  LoadMenu(&menu, TRUE);
  menu.Detach();
  m_pControls->CreateOriginalControls();
}

void CTKPMenuBar::SwitchMenu(HMENU hMenu) {
  CTKPCommandBars* bars = GetCommandBars();
  const UINT nID = hMenu == m_hMenu ? m_nIDResource : bars != nullptr ? bars->GetActiveDocTemplate() : 0;
  if (nID == 0 || m_nIDResourceCurrent == 0 || nID == m_nIDResourceCurrent) return;
  if (hMenu == nullptr || !::IsMenu(hMenu) || ::GetMenuItemCount(hMenu) <= 0) return;
  if (bars == nullptr || !bars->IsCustomizeAvail()) {
    CMenu menu;
    menu.Attach(hMenu);
    LoadMenu(&menu, TRUE);
    menu.Detach();
  } else {
    ShowCachedControls(nID, hMenu);
  }
  m_nIDResourceCurrent = nID;
  OnRecalcLayout();
}

void CTKPMenuBar::RestoreCache() {
  if (m_mapMenuCache.IsEmpty()) return;
  SwitchMenu(m_hMenu);
  m_bCacheRestored = TRUE;
  for (POSITION pos = m_mapMenuCache.GetStartPosition(); pos != nullptr;) {
    UINT id = 0;
    CTKPControls* controls = nullptr;
    m_mapMenuCache.GetNextAssoc(pos, id, controls);
    if (controls->IsChanged()) continue;
    controls->InternalRelease();
    m_mapMenuCache.RemoveKey(id);
  }
}

void CTKPMenuBar::HookChild(HWND hChild) {
  if (hChild == m_hwndHookedChild) return;
  if (m_hwndHookedChild != nullptr && ::IsWindow(m_hwndHookedChild)) TKPHookManager()->RemoveHook(m_hwndHookedChild, this);
  m_hwndHookedChild = hChild;
  if (hChild != nullptr) TKPHookManager()->SetHook(hChild, this);
}

void CTKPMenuBar::RefreshMdiButtons() {
  if (m_hWnd == nullptr || !IsVisible()) return;
  BOOL maximized = FALSE;
  HWND child = GetActiveMdiChild(&maximized);
  HookChild(child);
  const DWORD style = child != nullptr ? static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE)) : 0;
  RefreshSysMenu(child, maximized && (m_dwFlags & TKP_MENUBAR_SHOW_SYSMENU) != 0);
  ShowMdiButton(TKP_ID_MENUBAR_MINIMIZE, _T("0"),
                maximized && (style & WS_MINIMIZEBOX) != 0 && (m_dwFlags & TKP_MENUBAR_NO_MINIMIZE) == 0);
  ShowMdiButton(TKP_ID_MENUBAR_RESTORE, _T("2"),
                maximized && (style & WS_MAXIMIZEBOX) != 0 && (m_dwFlags & TKP_MENUBAR_NO_RESTORE) == 0);
  ShowMdiButton(TKP_ID_MENUBAR_CLOSE, _T("r"), maximized && (m_dwFlags & TKP_MENUBAR_NO_CLOSE) == 0);
  OnRecalcLayout();
  Redraw();
}

void CTKPMenuBar::ShowMdiButton(int nID, LPCTSTR lpszGlyph, BOOL bShow) {
  CTKPControl* existing = m_pControls->FindControl(nID);
  if (!bShow) {
    if (existing != nullptr) m_pControls->Remove(existing);
    return;
  }
  if (existing != nullptr) return;
  CTKPControl* button = m_pControls->Add(new MdiButton, nID, lpszGlyph, -1, TRUE);
  if (button != nullptr) button->SetFlags(button->GetFlags() | kMdiButtonFlags);
}

void CTKPMenuBar::RefreshSysMenu(HWND hChild, BOOL bShow) {
  auto* existing = static_cast<SysMenuPopup*>(m_pControls->FindControl(TKP_ID_MENUBAR_SYSMENU));
  HMENU sysMenu = bShow && hChild != nullptr ? ::GetSystemMenu(hChild, FALSE) : nullptr;
  if (sysMenu == nullptr || !::IsMenu(sysMenu)) {
    if (existing != nullptr) m_pControls->Remove(existing);
    m_hSysMenuShown = nullptr;
    return;
  }
  if (existing != nullptr && sysMenu == m_hSysMenuShown) return;
  if (existing == nullptr) {
    existing = static_cast<SysMenuPopup*>(m_pControls->Add(new SysMenuPopup, TKP_ID_MENUBAR_SYSMENU, CString(), 0, TRUE));
    if (existing == nullptr) return;
    existing->SetFlags(existing->GetFlags() | kSysMenuFlags);
    existing->SetCommandBar(CTKPPopupBar::CreatePopupBar(GetCommandBars()));
  }
  existing->SetIcon(ChildIcon(hChild));
  m_hSysMenuShown = sysMenu;
  if (CTKPCommandBar* popup = existing->GetCommandBar()) FillSysMenu(popup, sysMenu);
  DelayRedraw();
}

void CTKPMenuBar::ResetToolBar() {
  CTKPControls* originals = m_pControls->GetOriginalControls();
  if (m_mapMenuCache.IsEmpty() && originals != nullptr) {
    CTKPToolBar::ResetToolBar();
  } else if (m_nIDResourceCurrent != 0) {
    if (ConfirmReset()) {
      HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(m_nIDResourceCurrent), RT_MENU);
      CMenu menu;
      if (module != nullptr && menu.Attach(::LoadMenuW(module, MAKEINTRESOURCEW(m_nIDResourceCurrent)))) {
        LoadMenu(&menu, TRUE);
        menu.DestroyMenu();
      }
    }
  }
  RefreshMdiButtons();
  Redraw();
  OnRecalcLayout();
}
