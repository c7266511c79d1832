// The window list, the recent-file list, the tab-group commands, an embedded object's verbs and the grid
// selector.
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"

#include <algorithm>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cmdiframewnd.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/coledocument.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/controls/special_list_logic.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace {

int g_nFirstMdiChild = static_cast<int>(AFX_IDM_FIRST_MDICHILD);

// Removes the controls right after the placeholder for which bOwn answers true.
template <typename Own>
void RemoveFollowing(CTKPControl* pPlaceholder, Own bOwn) {
  CTKPControls* controls = pPlaceholder->GetControls();
  if (controls == nullptr) return;
  const int next = pPlaceholder->GetIndex() + 1;
  while (CTKPControl* control = controls->GetAt(next)) {
    if (!bOwn(control)) break;
    controls->Remove(next);
  }
}

// A temporary item right after the placeholder's earlier items, with manual update.
CTKPControl* InsertItem(CTKPControl* pPlaceholder, int nOffset, int nId, const CString& strCaption) {
  CTKPControls* controls = pPlaceholder->GetControls();
  CTKPControl* item = controls->Add(new CTKPControlButton, nId, CString(), pPlaceholder->GetIndex() + 1 + nOffset, TRUE);
  if (item == nullptr) return nullptr;
  item->SetCaption(strCaption);
  item->SetFlags(item->GetFlags() | tkpFlagManualUpdate);
  return item;
}

}  // namespace

int TKPFirstMdiChildId() { return g_nFirstMdiChild; }

// ---- the window list ----------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlWindowList, CTKPControlButton, 1)

void CTKPControlWindowList::OnCalcDynamicSize(DWORD) {
  RemoveFollowing(this, [](CTKPControl* c) { return c->GetID() >= g_nFirstMdiChild; });
  CWnd* site = m_pParent != nullptr ? m_pParent->GetSite() : nullptr;
  auto* frame = tkp_field::KindOf<CMDIFrameWnd>(site);
  if (IsCustomizeMode() || frame == nullptr || frame->m_hWndMDIClient == nullptr) {
    SetHideFlags(0);
    return;
  }
  SetHideFlags(tkpHideGeneric);
  HWND client = frame->m_hWndMDIClient;
  HWND active = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
  if (active != nullptr) g_nFirstMdiChild = TKPAdjustFirstMdiChildId(::GetDlgCtrlID(active), g_nFirstMdiChild);
  int listed = 0;
  for (int id = g_nFirstMdiChild; listed < 9; ++id) {
    HWND child = ::GetDlgItem(client, id);
    if (child == nullptr) break;
    if (!::IsWindowVisible(child)) continue;
    wchar_t title[257] = {};
    ::GetWindowTextW(child, title, 256);
    CTKPControl* item = InsertItem(this, listed, id, TKPFormatNumberedItem(CString(title), listed + 1));
    ++listed;
    if (item == nullptr) continue;
    if (listed == 1) item->SetBeginGroup(TRUE);
    item->SetChecked(child == active);
  }
  if (listed == 0) SetHideFlags(0);  // nothing to list: the placeholder stands
}

// ---- the recent files -----------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlRecentFileList, CTKPControlButton, 1)

const CStringArray* CTKPControlRecentFileList::GetRecentFileList() {
  CWinApp* app = AfxGetApp();
  return app != nullptr ? &app->GetRecentFiles() : nullptr;
}

void CTKPControlRecentFileList::OnCalcDynamicSize(DWORD) {
  const CStringArray* files = GetRecentFileList();
  if (files == nullptr) return;
  const int first = GetFirstMRUID();
  const int size = std::max(static_cast<int>(files->GetSize()), 16);
  RemoveFollowing(this, [first, size](CTKPControl* c) { return c->GetID() >= first && c->GetID() <= first + size; });
  if (IsCustomizeMode()) {
    SetHideFlags(0);
    return;
  }
  if (files->GetSize() == 0 || files->GetAt(0).IsEmpty()) {
    SetHideFlags(0);
    SetEnabled(FALSE);  // stands as a greyed entry
    return;
  }
  SetHideFlags(tkpHideGeneric);
  wchar_t folder[MAX_PATH + 1] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  CString base(folder);
  if (base.Right(1) != _T("\\")) base += _T("\\");
  for (int i = 0; i < static_cast<int>(files->GetSize()) && !files->GetAt(i).IsEmpty(); ++i) {
    const CString name = TKPRecentDisplayName(files->GetAt(i), base);
    CTKPControl* item = InsertItem(this, i, first + i, TKPFormatNumberedItem(name, i + 1));
    if (item != nullptr && i == 0 && m_nIndex != 0) item->SetBeginGroup(TRUE);
  }
}

// ---- the tab-group commands ------------------------------------------------------------------------------

namespace {

// Asks a window for a command's state without running it.
class CommandProbe : public CCmdUI {
 public:
  BOOL enabled = FALSE;
  void Enable(BOOL bOn) override {
    enabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
};

// TRUE when the window handles the command's update; *pbEnabled the state it gave.
BOOL ProbeCommand(CWnd* pWnd, UINT nID, BOOL* pbEnabled) {
  CommandProbe probe;
  probe.m_nID = nID;
  probe.m_pOther = pWnd;
  const BOOL handled = pWnd->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &probe, nullptr) && probe.m_bEnableChanged;
  *pbEnabled = probe.enabled;
  return handled;
}

}  // namespace

IMPLEMENT_SERIAL(CTKPControlWorkspaceActions, CTKPControlButton, 1)

void CTKPControlWorkspaceActions::OnCalcDynamicSize(DWORD) {
  constexpr UINT kPrev = 9420, kNext = 9421, kNewHorz = 9422, kNewVert = 9423;
  RemoveFollowing(this, [](CTKPControl* c) { return c->GetID() >= static_cast<int>(kPrev) && c->GetID() <= static_cast<int>(kNewVert); });
  if (IsCustomizeMode()) {
    SetHideFlags(0);
    return;
  }
  CWnd* site = m_pParent != nullptr ? m_pParent->GetSite() : nullptr;
  auto* frame = tkp_field::KindOf<CMDIFrameWnd>(site);
  CWnd* client = frame != nullptr && frame->m_hWndMDIClient != nullptr ? CWnd::FromHandlePermanent(frame->m_hWndMDIClient)
                                                                         : nullptr;
  if (client == nullptr) return;
  struct Action {
    UINT id;
    const TCHAR* caption;
  } const actions[] = {{kNewHorz, _T("New Hori&zontal Tab Group")}, {kNewVert, _T("New &Vertical Tab Group")},
                       {kPrev, _T("Move to P&revious Tab Group")}, {kNext, _T("Move to Ne&xt Tab Group")}};
  bool tabClient = false;
  BOOL enabled[4] = {};
  for (int i = 0; i < 4; ++i) tabClient = ProbeCommand(client, actions[i].id, &enabled[i]) || tabClient;
  if (!tabClient) return;  // a plain MDI client has no tab groups
  SetHideFlags(tkpHideGeneric);
  int inserted = 0;
  for (int i = 0; i < 4; ++i) {
    if (!enabled[i]) continue;
    CTKPControl* item = InsertItem(this, inserted, static_cast<int>(actions[i].id), actions[i].caption);
    if (item != nullptr && inserted == 0) item->SetBeginGroup(GetBeginGroup());
    ++inserted;
  }
}

// ---- the verbs of the selected embedded object --------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlOleItems, CTKPControlButton, 1)

namespace {

constexpr TCHAR kOleItemsParameter[] = _T("OLEMENUPOPUP");

// The item whose verbs the menu lists: the one the site frame's active view has selected in its
// container document, unless it is active in place.
COleClientItem* SelectedOleItem(CWnd* pSite) {
  auto* frame = tkp_field::KindOf<CFrameWnd>(pSite);
  CFrameWnd* active = frame != nullptr ? frame->GetActiveFrame() : nullptr;
  CView* view = active != nullptr ? active->GetActiveView() : nullptr;
  auto* document = tkp_field::KindOf<COleDocument>(view != nullptr ? view->GetDocument() : nullptr);
  COleClientItem* item = document != nullptr ? document->GetPrimarySelectedItem(view) : nullptr;
  return item != nullptr && item->GetItemState() != COleClientItem::activeState ? item : nullptr;
}

}  // namespace

void CTKPControlOleItems::OnCalcDynamicSize(DWORD) {
  RemoveFollowing(this, [](CTKPControl* c) { return c->GetParameter() == kOleItemsParameter; });
  if (IsCustomizeMode()) {
    SetHideFlags(0);
    return;
  }
  SetHideFlags(tkpHideGeneric);  // its own caption only marks the place
  COleClientItem* item = SelectedOleItem(m_pParent != nullptr ? m_pParent->GetSite() : nullptr);
  CMenu menu;
  if (item == nullptr || !menu.CreatePopupMenu()) return;
  AfxOleSetEditMenu(item, &menu, 0, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  if (menu.GetMenuItemCount() != 1) return;
  CString caption;
  menu.GetMenuString(0, caption, MF_BYPOSITION);
  CTKPControls* controls = GetControls();
  CTKPControl* inserted = nullptr;
  if (CMenu* verbs = menu.GetSubMenu(0)) {
    CTKPControlPopup* popup = CTKPControlPopup::CreateControlPopup(tkpControlPopup);
    CTKPPopupBar* bar = CTKPPopupBar::CreatePopupBar(m_pParent != nullptr ? m_pParent->GetCommandBars() : nullptr);
    bar->LoadMenu(verbs, TRUE);
    popup->SetCommandBar(bar);
    bar->InternalRelease();
    inserted = controls->Add(popup, 0, kOleItemsParameter, m_nIndex + 1, TRUE);
  } else {
    // A single verb (or a greyed entry for an object without any) stands as one button.
    inserted = controls->Add(new CTKPControlButton, static_cast<int>(menu.GetMenuItemID(0)), kOleItemsParameter,
                             m_nIndex + 1, TRUE);
    if (inserted != nullptr) inserted->SetEnabled((menu.GetMenuState(0, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
  }
  if (inserted == nullptr) return;
  inserted->SetCaption(caption);
  inserted->SetBeginGroup(GetBeginGroup());  // a separator before the hidden placeholder stays in place
  inserted->SetFlags(inserted->GetFlags() | tkpFlagManualUpdate);
}

// ---- the grid selector ----------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CTKPControlSelector, CTKPControl, 1)

CSize CTKPControlSelector::GetSize(CDC*) {
  return CSize(m_nShownColumns * m_szItem.cx, m_nShownRows * m_szItem.cy);
}

void CTKPControlSelector::OnCalcDynamicSize(DWORD) {
  if (m_bResizing) return;
  m_nSelectedColumns = m_nSelectedRows = 0;
  m_nShownColumns = m_szItemsCount.cx;
  m_nShownRows = m_szItemsCount.cy;
  OnSelectedChanged(0, 0, TRUE);
}

void CTKPControlSelector::Draw(CDC* pDC) {
  CTKPColorManager* colors = TKPColorManager();
  CTKPPaintManager* paint = GetPaintManager();
  const COLORREF frame = paint != nullptr ? paint->GetPaintColor(43) : colors->GetColor(COLOR_BTNSHADOW);
  const COLORREF text = paint != nullptr ? paint->GetPaintColor(46) : colors->GetColor(COLOR_BTNTEXT);
  for (int c = 0; c < m_nShownColumns; ++c) {
    for (int r = 0; r < m_nShownRows; ++r) {
      CRect cell(CPoint(m_rcControl.left + c * m_szItem.cx, m_rcControl.top + r * m_szItem.cy), m_szItem);
      cell.DeflateRect(1, 1);
      const BOOL selected = c < m_nSelectedColumns && r < m_nSelectedRows;
      pDC->FillSolidRect(cell, colors->GetColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      pDC->Draw3dRect(cell, frame, frame);
      DrawItem(pDC, cell, selected ? colors->GetColor(COLOR_HIGHLIGHTTEXT) : text);
    }
  }
}

void CTKPControlSelector::OnMouseMove(CPoint point) {
  if (TKPIsKeyDown(VK_LBUTTON)) GrowToPointer(point);
  const TKPSelectorAxis columns{m_rcControl.left, m_szItem.cx, m_nShownColumns, m_szItemsMax.cx};
  const TKPSelectorAxis rows{m_rcControl.top, m_szItem.cy, m_nShownRows, m_szItemsMax.cy};
  OnSelectedChanged(TKPSelectorCellsBefore(columns, point.x), TKPSelectorCellsBefore(rows, point.y), FALSE);
}

void CTKPControlSelector::GrowToPointer(CPoint point) {
  const TKPSelectorAxis columns{m_rcControl.left, m_szItem.cx, m_nShownColumns, m_szItemsMax.cx};
  const TKPSelectorAxis rows{m_rcControl.top, m_szItem.cy, m_nShownRows, m_szItemsMax.cy};
  const int shownColumns = TKPSelectorGrow(columns, point.x, m_rcControl.left + m_nShownColumns * m_szItem.cx);
  const int shownRows = TKPSelectorGrow(rows, point.y, m_rcControl.top + m_nShownRows * m_szItem.cy);
  if (shownColumns == m_nShownColumns && shownRows == m_nShownRows) return;
  m_nShownColumns = shownColumns;
  m_nShownRows = shownRows;
  m_rcControl.right = m_rcControl.left + m_nShownColumns * m_szItem.cx;
  m_rcControl.bottom = m_rcControl.top + m_nShownRows * m_szItem.cy;
  OnSelectedChanged(m_nSelectedColumns, m_nSelectedRows, TRUE);
  // The bar's frame follows the bigger grid; the grid itself keeps what it shows meanwhile.
  m_bResizing = TRUE;
  if (m_pParent != nullptr) {
    m_pParent->DelayLayout();
    m_pParent->OnRecalcLayout();
  }
  m_bResizing = FALSE;
}

void CTKPControlSelector::OnSelectedChanged(int nColumns, int nRows, BOOL bForce) {
  if (!bForce && nColumns == m_nSelectedColumns && nRows == m_nSelectedRows) return;
  m_nSelectedColumns = nColumns;
  m_nSelectedRows = nRows;
  RedrawParent();
  NotifySite(TKP_SELECTOR_CHANGED);
}

void CTKPControlSelector::OnClick(BOOL, CPoint pt) {
  if (!m_bEnabled || IsCustomizeMode()) return;
  if (m_rcControl.PtInRect(pt)) OnMouseMove(pt);
  if (m_nSelectedColumns <= 0 && m_nSelectedRows <= 0) return;
  m_nChosenColumns = m_nSelectedColumns;
  m_nChosenRows = m_nSelectedRows;
  OnExecute();
}

void CTKPControlSelector::DoPropExchange(CTKPPropExchange* pPX) {
  CTKPControl::DoPropExchange(pPX);
  PX_Size(pPX, _T("ItemsCount"), m_szItemsCount, CSize(0, 0));
  PX_Size(pPX, _T("ItemsMax"), m_szItemsMax, CSize(0, 0));
  PX_Size(pPX, _T("ItemSize"), m_szItem, CSize(0, 0));
}

void CTKPControlSelector::Copy(CTKPControl* pSource, BOOL bRecursive) {
  if (auto* source = tkp_field::KindOf<CTKPControlSelector>(pSource)) {
    m_szItemsCount = source->m_szItemsCount;
    m_szItemsMax = source->m_szItemsMax;
    m_szItem = source->m_szItem;
  }
  CTKPControl::Copy(pSource, bRecursive);
}
