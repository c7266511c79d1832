// The manager's lifetime, its bars and dock bars, hidden commands, layout and persistence.
#include "toolkit/commandbars/frame/tkp_command_bars.h"

#include <memory>
#include <vector>

#include "platform/classlib/cexception.h"
#include "platform/classlib/win/ccontrolbar.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cdocmanager.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cdoctemplate.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/stdids.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_dock_bar.h"
#include "toolkit/commandbars/bars/tkp_dock_hit.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/mdi/tkp_tab_client_wnd.h"
#include "toolkit/commandbars/bars/tkp_rebar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"
#include "toolkit/common/tkp_prop_exchange_registry.h"
#include "toolkit/common/tkp_sound_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

IMPLEMENT_DYNCREATE(CTKPCommandBars, CCmdTarget)

namespace {

bool SystemShowsCues() {
  BOOL show = TRUE;
  if (!::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &show, 0)) return true;
  return show != FALSE;
}

// The dock bars in the order they are made: position, id, bar style.
struct DockSide {
  int position;
  UINT id;
  DWORD style;
};
const DockSide kDocks[] = {
    {tkpBarTop, TKP_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {tkpBarBottom, TKP_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {tkpBarLeft, TKP_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {tkpBarRight, TKP_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

CString ProfileSection(LPCTSTR profile, LPCTSTR part) { return CString(profile) + part; }

void PaintIconOptions(CTKPCommandBarsOptions* pOptions, bool bToPaint) {
  CTKPPaintManager* paint = pOptions->m_pCommandBars != nullptr ? pOptions->m_pCommandBars->GetPaintManager() : nullptr;
  if (paint == nullptr) return;
  if (bToPaint) {
    paint->m_bIconsWithShadow = pOptions->bIconsWithShadow;
    paint->m_bUseDisabledIcons = pOptions->bUseDisabledIcons;
    paint->m_bUseFadedIcons = pOptions->bUseFadedIcons;
  } else {
    pOptions->bIconsWithShadow = paint->m_bIconsWithShadow;
    pOptions->bUseDisabledIcons = paint->m_bUseDisabledIcons;
    pOptions->bUseFadedIcons = paint->m_bUseFadedIcons;
  }
}

}  // namespace

CTKPCommandBars::CTKPCommandBars() {
  CTKPCommandBarsOptions::s_pfnSystemShowsCues = &SystemShowsCues;
  CTKPCommandBarsOptions::s_pfnPaintIconOptions = &PaintIconOptions;
  m_pOptions = new CTKPCommandBarsOptions;
  m_pOptions->m_pCommandBars = this;
  m_pToolTipContext = new CTKPToolTipContext;
  m_pToolTipContext->ModifyToolTipStyle(2, 0);
  m_pShortcutManager = new CTKPShortcutManager(this);
}

CTKPCommandBars::~CTKPCommandBars() {
  // A bar window that outlives its manager must not tell a freed one of its end.
  for (INT_PTR i = 0; i < m_arrDropTargets.GetSize(); ++i) m_arrDropTargets[i]->m_pDropRegistry = nullptr;
  m_arrDropTargets.RemoveAll();
  tkp_bar::Release(m_pDragControl);
  m_pDragControl = nullptr;
  if (m_pExtraObject != nullptr) m_pExtraObject->InternalRelease();
  // The bars go before their dock bars; each entry holds one reference.
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) m_arrBars[i]->InternalRelease();
  m_arrBars.RemoveAll();
  for (CTKPDockBar*& dock : m_pDocks) {
    if (dock != nullptr && dock->m_hWnd != nullptr) dock->DestroyWindow();
    delete dock;
    dock = nullptr;
  }
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  m_pToolTipContext->InternalRelease();
  delete m_pShortcutManager;
  m_pOptions->InternalRelease();
  TKPSoundManager()->StopThread();
}

void CTKPCommandBars::OnFinalRelease() { delete this; }

// ---- set-up --------------------------------------------------------------------------------------------

void CTKPCommandBars::SetSite(CWnd* pFrame) {
  m_pFrame = pFrame;
  m_bCustomizeAvail = FALSE;
  if (pFrame == nullptr || pFrame->m_hWnd == nullptr) return;
  AFX_CMDHANDLERINFO info{};
  m_bCustomizeAvail = pFrame->OnCmdMsg(TKP_ID_CUSTOMIZE, CN_COMMAND, this, &info);
  m_bRightToLeft = (pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

void CTKPCommandBars::EnableDocking() {
  if (m_pFrame == nullptr || m_pFrame->m_hWnd == nullptr) AfxThrowResourceException();
  for (const DockSide& side : kDocks) {
    if (m_pDocks[side.position] != nullptr) continue;
    auto* dock = new CTKPDockBar(this);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!dock->Create(m_pFrame, style, side.style, side.id)) {
      delete dock;
      AfxThrowResourceException();
    }
    m_pDocks[side.position] = dock;
  }
}

CTKPMenuBar* CTKPCommandBars::SetMenu(LPCTSTR lpszTitle, UINT nID) {
  if (m_pFrame == nullptr || m_pFrame->m_hWnd == nullptr) return nullptr;
  auto* bar = static_cast<CTKPMenuBar*>(RUNTIME_CLASS(CTKPMenuBar)->CreateObject());
  bar->SetCommandBars(this);
  bar->EnableDocking(TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT | TKP_DOCK_FLOAT |
                     TKP_DOCK_STRETCHED);
  bar->SetTitle(lpszTitle);
  bar->SetBarID(1);
  if (!bar->Create(m_pFrame, tkpBarTop) || !bar->LoadMenuBar(nID)) {
    if (bar->m_hWnd != nullptr) bar->DestroyWindow();
    bar->InternalRelease();
    return nullptr;
  }
  if (nID != 0) {
    bar->GetControls()->CreateOriginalControls();
    m_nMenuID = nID;
  }
  m_arrBars.Add(bar);
  m_pMenuBar = bar;
  RecalcFrameLayout(TRUE);
  return bar;
}

CTKPToolBar* CTKPCommandBars::Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pClass) {
  if (m_pFrame == nullptr || nPosition < tkpBarTop || nPosition > tkpBarFloating) return nullptr;
  if (pClass == nullptr) pClass = RUNTIME_CLASS(CTKPToolBar);
  CObject* object = pClass->CreateObject();
  if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) {
    delete object;
    return nullptr;
  }
  auto* bar = static_cast<CTKPToolBar*>(object);
  bar->SetCommandBars(this);
  bar->EnableDocking(TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT | TKP_DOCK_FLOAT |
                     TKP_DOCK_HIDEWRAP);
  bar->SetTitle(lpszTitle);
  if (!bar->Create(m_pFrame, nPosition)) {
    bar->InternalRelease();
    return nullptr;
  }
  m_arrBars.Add(bar);
  RecalcFrameLayout(TRUE);
  return bar;
}

UINT CTKPCommandBars::NewToolbarId() const {
  std::vector<unsigned> ids;
  for (int i = 0; i < GetCount(); ++i) ids.push_back(m_arrBars[i]->GetBarID());
  return tkpcust::NewToolbarId(ids);
}

CTKPToolBar* CTKPCommandBars::AddCustomBar(LPCTSTR lpszTitle, UINT nID, BOOL bTearOff) {
  if (m_pFrame == nullptr) return nullptr;
  if (nID == 0) nID = NewToolbarId();
  auto* bar = new CTKPToolBar;
  bar->SetCommandBars(this);
  TKP_CREATE_COMMANDBAR create{};
  create.pCommandBar = bar;
  create.bTearOffBar = bTearOff;
  create.lpcstrCaption = lpszTitle;
  create.nID = nID;
  create.bCustomBar = TRUE;
  if (m_pFrame->m_hWnd != nullptr) {
    m_pFrame->SendMessage(TKP_WM_CREATE_COMMANDBAR, 0, reinterpret_cast<LPARAM>(&create));
  }
  if (create.pCommandBar != bar) {
    // The site supplied its own toolbar.
    bar->InternalRelease();
    if (create.pCommandBar == nullptr || !create.pCommandBar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) return nullptr;
    bar = static_cast<CTKPToolBar*>(create.pCommandBar);
    bar->SetCommandBars(this);
  }
  if (bar->GetFlags() == 0) {
    bar->EnableDocking(TKP_DOCK_TOP | TKP_DOCK_BOTTOM | TKP_DOCK_LEFT | TKP_DOCK_RIGHT | TKP_DOCK_FLOAT |
                       TKP_DOCK_HIDEWRAP);
  }
  bar->SetTitle(lpszTitle);
  if (!bar->Create(m_pFrame, bTearOff ? tkpBarFloating : tkpBarTop)) {
    bar->InternalRelease();
    return nullptr;
  }
  m_arrBars.Add(bar);
  bar->SetBarID(nID);
  bar->SetBuiltIn(FALSE);
  bar->SetTearOff(bTearOff);
  if (!bTearOff) RecalcFrameLayout(FALSE);
  AddToReBar(bar);
  return bar;
}

CTKPReBar* CTKPCommandBars::GetSiteReBar() const {
  if (m_pFrame == nullptr || m_pFrame->m_hWnd == nullptr) return nullptr;
  CWnd* child = CWnd::FromHandlePermanent(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_REBAR));
  return child != nullptr && child->IsKindOf(RUNTIME_CLASS(CTKPReBar)) ? static_cast<CTKPReBar*>(child) : nullptr;
}

BOOL CTKPCommandBars::AddToReBar(CTKPToolBar* pBar) {
  CTKPReBar* rebar = GetSiteReBar();
  return rebar != nullptr && pBar != nullptr && rebar->AddToolBar(pBar);
}

void CTKPCommandBars::RemoveFromReBar(CTKPToolBar* pBar) {
  CTKPReBar* rebar = GetSiteReBar();
  if (rebar != nullptr && pBar != nullptr) rebar->RemoveToolBar(pBar);
  if (pBar != nullptr && pBar == m_pMenuBar) m_pMenuBar = nullptr;
}

void CTKPCommandBars::RegisterDropTarget(CTKPCommandBar* pBar) {
  UnregisterDropTarget(pBar);
  m_arrDropTargets.Add(pBar);
}

void CTKPCommandBars::UnregisterDropTarget(CTKPCommandBar* pBar) {
  for (INT_PTR i = m_arrDropTargets.GetSize() - 1; i >= 0; --i) {
    if (m_arrDropTargets[i] == pBar) m_arrDropTargets.RemoveAt(i);
  }
}

void CTKPCommandBars::AddBar(CTKPCommandBar* pBar) {
  if (pBar == nullptr || FindIndex(pBar) >= 0) return;
  pBar->SetCommandBars(this);
  m_arrBars.Add(pBar);
  const int position = pBar->GetPosition();
  if (position >= tkpBarTop && position <= tkpBarRight && pBar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) {
    DockCommandBar(static_cast<CTKPToolBar*>(pBar), position);
  }
  RecalcFrameLayout(TRUE);
}

void CTKPCommandBars::Remove(CTKPCommandBar* pBar) {
  const int index = FindIndex(pBar);
  if (index < 0) return;
  if (pBar->m_hWnd != nullptr) pBar->ShowWindow(SW_HIDE);
  pBar->m_bVisible = FALSE;
  for (CTKPDockBar* dock : m_pDocks) {
    if (dock != nullptr && dock->RemoveCommandBar(pBar)) RecalcFrameLayout();
  }
  if (pBar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) {
    static_cast<CTKPToolBar*>(pBar)->SetDockBar(nullptr);
    RemoveFromReBar(static_cast<CTKPToolBar*>(pBar));
  }
  if (pBar == m_pMenuBar) m_pMenuBar = nullptr;
  m_arrBars.RemoveAt(index);
  pBar->InternalRelease();
}

// ---- lookups ---------------------------------------------------------------------------------------------

CTKPCommandBar* CTKPCommandBars::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrBars[nIndex] : nullptr;
}

CTKPToolBar* CTKPCommandBars::GetToolBar(UINT nBarID) const {
  if (nBarID == 0) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    CTKPCommandBar* bar = m_arrBars[i];
    if (bar->GetBarID() == nBarID && bar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) return static_cast<CTKPToolBar*>(bar);
  }
  return nullptr;
}

int CTKPCommandBars::FindIndex(const CTKPCommandBar* pBar) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (m_arrBars[i] == pBar) return i;
  }
  return -1;
}

CTKPDockBar* CTKPCommandBars::GetDockBar(int nPosition) const {
  return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : nullptr;
}

CTKPPaintManager* CTKPCommandBars::GetPaintManager() const {
  return m_pPaintManager != nullptr ? m_pPaintManager : CTKPPaintManager::GetCurrentOrDefault();
}

void CTKPCommandBars::SetPaintManager(CTKPPaintManager* pPaintManager) {
  if (pPaintManager == m_pPaintManager) return;
  if (m_pPaintManager != nullptr) m_pPaintManager->InternalRelease();
  m_pPaintManager = pPaintManager;
  if (m_pPaintManager != nullptr) m_pPaintManager->RefreshMetrics();
}

CTKPImageManager* CTKPCommandBars::GetImageManager() const {
  return m_pImageManager != nullptr ? m_pImageManager : TKPImageManager();
}

void CTKPCommandBars::SetImageManager(CTKPImageManager* pImageManager) {
  if (pImageManager == m_pImageManager) return;
  if (m_pImageManager != nullptr) m_pImageManager->InternalRelease();
  m_pImageManager = pImageManager;
}

BOOL CTKPCommandBars::IsLayoutRTL() const {
  if (m_bRightToLeft) return TRUE;
  return m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr && (m_pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
}

CTKPMouseManager* CTKPCommandBars::MouseManager() const {
  if (m_pMouseManager == nullptr) m_pMouseManager = TKPMouseManager();
  return m_pMouseManager;
}

// ---- visibility ------------------------------------------------------------------------------------------

void CTKPCommandBars::ToggleVisible(int nIndex) {
  if (CTKPCommandBar* bar = GetAt(nIndex)) bar->SetVisible(!bar->IsVisible());
}

int CTKPCommandBars::GetNextVisible(int nIndex, int nDirection) const {
  const int count = GetCount();
  if (count == 0 || (nDirection != 1 && nDirection != -1)) return -1;
  int i = nIndex + nDirection;
  if (nIndex == -1 && nDirection == -1) i = count - 1;
  for (int steps = 0; steps <= count; ++steps, i += nDirection) {
    if (i >= count) i = 0;
    if (i < 0) i = count - 1;
    if (i == nIndex) return nIndex;
    if (m_arrBars[i]->IsVisible()) return i;
  }
  return -1;
}

BOOL CTKPCommandBars::ActivateNextBar(CTKPCommandBar* pBar, int nDirection) {
  if (GetCount() < 2) return FALSE;
  const int from = FindIndex(pBar);
  const int next = GetNextVisible(from, nDirection);
  CTKPCommandBar* bar = GetAt(next);
  if (bar == nullptr || bar == pBar) return FALSE;
  ClosePopups();
  ShowKeyboardCues(TRUE);
  bar->SetTrackingMode(1, FALSE, TRUE);
  bar->SetSelected(bar->NextSelectable(-1, +1), TRUE);
  return TRUE;
}

// ---- commands --------------------------------------------------------------------------------------------

void CTKPCommandBars::HideCommands(const UINT* ids, int nCount) {
  for (int i = 0; ids != nullptr && i < nCount; ++i) HideCommand(ids[i]);
}

// Only the bars leave a hidden command out, and only until it is used: the frame's own menu keeps every
// item, so that nothing has to be put back when the usage is reset or the command is used.
void CTKPCommandBars::HideCommand(UINT nID) { m_pOptions->m_mapHiddenCommands[nID] = TRUE; }

void CTKPCommandBars::SetCommandUsed(UINT nID) {
  BOOL value = FALSE;
  if (m_pOptions->m_mapHiddenCommands.Lookup(nID, value)) m_pOptions->m_mapUsedCommands[nID] = TRUE;
}

void CTKPCommandBars::ResetUsageData() { m_pOptions->m_mapUsedCommands.RemoveAll(); }

BOOL CTKPCommandBars::IsControlHidden(UINT nID) const {
  BOOL value = FALSE;
  return m_pOptions->m_mapHiddenCommands.Lookup(nID, value) && !m_pOptions->m_mapUsedCommands.Lookup(nID, value);
}

BOOL CTKPCommandBars::IsControlHidden(CTKPControl* pControl) const { return IsControlHidden(pControl, 0); }

BOOL CTKPCommandBars::IsControlHidden(CTKPControl* pControl, int nDepth) const {
  // Popups nest only a few levels deep; a bar that opens itself must not walk for ever.
  constexpr int kDeepestPopup = 16;
  if (pControl == nullptr) return FALSE;
  if (IsControlHidden(tkp_bar::Id(pControl))) return TRUE;
  const int type = tkp_bar::Type(pControl);
  if (!m_pOptions->bAutoHideUnusedPopups || type < 2 || type > 4 || nDepth >= kDeepestPopup) return FALSE;
  CTKPCommandBar* popup = tkp_bar::OpenedBar(pControl);
  if (popup == nullptr || popup->GetControlCount() == 0) return FALSE;
  for (int i = 0; i < popup->GetControlCount(); ++i) {
    if (!IsControlHidden(popup->GetControl(i), nDepth + 1)) return FALSE;
  }
  return TRUE;
}

UINT CTKPCommandBars::GetActiveDocTemplate() const {
  auto* mdi = m_pFrame != nullptr && m_pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
                  ? static_cast<CMDIFrameWnd*>(m_pFrame) : nullptr;
  if (mdi == nullptr || mdi->m_hWnd == nullptr) return 0;
  CMDIChildWnd* child = mdi->MDIGetActive();
  if (child == nullptr) return m_nMenuID;
  CDocument* doc = child->GetActiveDocument();
  if (doc != nullptr && doc->GetDocTemplate() != nullptr) {
    const UINT docId = doc->GetDocTemplate()->m_nIDResource;
    if (child->m_nIDHelp == 0 || child->m_nIDHelp == docId) return docId;
    // The child names a resource of its own: the registered template with that id, if any.
    CWinApp* app = AfxGetApp();
    CDocManager* manager = app != nullptr ? app->m_pDocManager : nullptr;
    for (POSITION pos = manager != nullptr ? manager->GetFirstDocTemplatePosition() : nullptr; pos != nullptr;) {
      CDocTemplate* tmpl = manager->GetNextDocTemplate(pos);
      if (tmpl != nullptr && tmpl->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate)) && tmpl->m_nIDResource == child->m_nIDHelp) {
        return tmpl->m_nIDResource;
      }
    }
    return 0;
  }
  return child->m_nIDHelp;
}

void CTKPCommandBars::SetCustomizeMode(BOOL bMode) {
  m_pOptions->bDirtyState = TRUE;
  m_bCustomizeMode = bMode;
  m_bCustomizeLayout = bMode;
  SetDragControl(nullptr);
  // Cues always show while customizing; afterwards the chosen mode holds again.
  if (bMode) {
    ShowKeyboardCues(TRUE);
  } else {
    m_pOptions->ShowKeyboardCues(m_pOptions->GetKeyboardCuesShow());
    RedrawCommandBars();
  }
}

void CTKPCommandBars::SetDragControl(CTKPControl* pControl) {
  if (pControl == m_pDragControl) return;
  if (m_pDragControl != nullptr) {
    if (CTKPCommandBar* bar = tkp_bar::Parent(m_pDragControl)) bar->Redraw();
    tkp_bar::Release(m_pDragControl);
  }
  m_pDragControl = pControl;
  if (m_pDragControl != nullptr) {
    tkp_bar::AddRef(m_pDragControl);
    if (CTKPCommandBar* bar = tkp_bar::Parent(m_pDragControl)) bar->Redraw();
  }
  // The customize dialog hears of it while it is open, else the site.
  CWnd* target = TKPCustomizeSheetOf(this);
  if (target == nullptr || target->m_hWnd == nullptr) target = m_pFrame;
  if (target != nullptr && target->m_hWnd != nullptr) target->SendMessage(TKP_WM_DRAGCONTROLCHANGED);
}

// ---- docking -------------------------------------------------------------------------------------------

CTKPDockBar* CTKPCommandBars::CanDock(CPoint ptScreen, CTKPDockBar* pCurrent) const {
  CRect rects[4];
  bool exists[4] = {false, false, false, false};
  int current = -1;
  for (int i = 0; i < 4; ++i) {
    CTKPDockBar* dock = m_pDocks[i];
    if (dock == nullptr || dock->m_hWnd == nullptr) continue;
    ::GetWindowRect(dock->m_hWnd, rects[i]);
    exists[i] = true;
    if (dock == pCurrent) current = i;
  }
  const int found = TKPChooseDock(rects, exists, 4, current, ptScreen);
  return found >= 0 ? m_pDocks[found] : nullptr;
}

BOOL CTKPCommandBars::DockCommandBar(CTKPToolBar* pBar, LPCRECT pRect, CTKPDockBar* pDockBar) {
  if (pBar == nullptr || pDockBar == nullptr || pDockBar->m_hWnd == nullptr) return FALSE;
  if (!pBar->Attach(m_pFrame, FALSE)) return FALSE;
  pDockBar->DockCommandBar(pBar, pRect);
  pBar->m_barPosition = pDockBar->GetPosition();
  return TRUE;
}

BOOL CTKPCommandBars::FloatCommandBar(CTKPToolBar* pBar) {
  if (pBar == nullptr || !pBar->Attach(m_pFrame, TRUE)) return FALSE;
  if (CTKPDockBar* dock = pBar->GetDockBar()) dock->RemoveCommandBar(pBar);
  pBar->m_barPosition = tkpBarFloating;
  return TRUE;
}

// ---- layout ----------------------------------------------------------------------------------------------

void CTKPCommandBars::RecalcFrameLayout(BOOL bDelay) {
  if (m_bRecalcLayout || m_pFrame == nullptr || m_pFrame->m_hWnd == nullptr) return;
  if (CFrameWnd* frame = m_pFrame->AsFrameWnd()) {
    if (bDelay) {
      frame->DelayRecalcLayout(FALSE);
    } else {
      frame->RecalcLayout(FALSE);
    }
    return;
  }
  CRect client;
  m_pFrame->GetClientRect(client);
  const LPARAM size = MAKELPARAM(client.Width(), client.Height());
  if (bDelay) {
    m_pFrame->PostMessage(WM_SIZE, SIZE_RESTORED, size);
  } else {
    m_pFrame->SendMessage(WM_SIZE, SIZE_RESTORED, size);
  }
}

void CTKPCommandBars::IdleRecalcLayout() {
  CFrameWnd* frame = m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr ? m_pFrame->AsFrameWnd() : nullptr;
  if (frame != nullptr && (frame->m_nIdleFlags & CFrameWnd::idleLayout) != 0) {
    frame->RecalcLayout(FALSE);
    frame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
  }
}

void CTKPCommandBars::RedrawCommandBars() {
  for (int i = 0; i < GetCount(); ++i) {
    CTKPCommandBar* bar = m_arrBars[i];
    if (bar->IsVisible()) bar->Redraw();
  }
}

void CTKPCommandBars::RecalcCommandBarsLayout() {
  m_bRecalcLayout = TRUE;
  for (int i = 0; i < GetCount(); ++i) {
    CTKPCommandBar* bar = m_arrBars[i];
    if (bar->IsVisible()) bar->OnRecalcLayout();
  }
  // The tab client's strips follow the bars' new sizes (its own frame layout waits for ours).
  auto* mdi = m_pFrame != nullptr ? dynamic_cast<CMDIFrameWnd*>(m_pFrame) : nullptr;
  CWnd* client = mdi != nullptr && mdi->m_hWndMDIClient != nullptr ? CWnd::FromHandlePermanent(mdi->m_hWndMDIClient)
                                                                    : nullptr;
  if (auto* tabs = dynamic_cast<CTKPTabClientWnd*>(client)) tabs->Refresh(FALSE);
  m_bRecalcLayout = FALSE;
  RecalcFrameLayout(FALSE);
}

void CTKPCommandBars::SetPreviewMode(BOOL bPreview) {
  // The preview has keys of its own: the frame's shortcuts rest meanwhile.
  if (m_pShortcutManager != nullptr) m_pShortcutManager->DisableShortcuts(bPreview);
  // Bars hide during a print preview and come back as they were.
  for (int i = 0; i < GetCount(); ++i) {
    CTKPCommandBar* bar = m_arrBars[i];
    if (bar->IsKindOf(RUNTIME_CLASS(CTKPToolBar))) {
      static_cast<CTKPToolBar*>(bar)->SetPreviewMode(bPreview);
    } else if (bar->m_hWnd != nullptr && bar->IsVisible()) {
      bar->ShowWindow(bPreview ? SW_HIDE : SW_SHOWNA);
    }
  }
  RecalcFrameLayout(TRUE);
}

// ---- persistence -----------------------------------------------------------------------------------------

void CTKPCommandBars::SaveOptions(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  HKEY key = app != nullptr ? app->GetAppRegistryKey() : nullptr;
  if (key == nullptr) return;
  {
    CTKPPropExchangeRegistry px(FALSE, key, ProfileSection(lpszProfileName, _T("-Options")));
    // Every value is written, defaults too: the frame may set other values before it loads them.
    px.UseDefaultOnSave(FALSE);
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  ::RegCloseKey(key);
}

void CTKPCommandBars::LoadOptions(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  HKEY key = app != nullptr ? app->GetAppRegistryKey() : nullptr;
  if (key == nullptr) return;
  {
    CTKPPropExchangeRegistry px(TRUE, key, ProfileSection(lpszProfileName, _T("-Options")));
    // A value the profile does not hold keeps what the frame set (full menus off, say), not the default.
    px.UseDefaultOnLoad(FALSE);
    m_pOptions->DoPropExchange(&px, TRUE);
  }
  ::RegCloseKey(key);
  RedrawCommandBars();
}
