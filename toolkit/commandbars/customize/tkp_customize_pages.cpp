// The toolbars and options pages of the customize dialog, the check list and the section heading.
#include "toolkit/commandbars/customize/tkp_customize_pages.h"

#include <vssym32.h>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/frame/tkp_command_bars_options.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_new_toolbar_dlg.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/visual_style_theme.h"

namespace {

constexpr int kCheckBox = 13;

bool IsBuiltIn(CTKPCommandBar* bar) {
  CTKPToolBar* toolbar = dynamic_cast<CTKPToolBar*>(bar);
  return toolbar == nullptr || toolbar->IsBuiltIn();
}

}  // namespace

// ---- the check list ------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPCustomizeCheckList, CListBox)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

BOOL CTKPCustomizeCheckList::GetCheck(int nIndex) const {
  return nIndex >= 0 && nIndex < static_cast<int>(m_checks.size()) ? m_checks[nIndex] : FALSE;
}

void CTKPCustomizeCheckList::SetCheck(int nIndex, BOOL bCheck) {
  if (nIndex < 0) return;
  if (nIndex >= static_cast<int>(m_checks.size())) m_checks.resize(nIndex + 1, FALSE);
  m_checks[nIndex] = bCheck;
  CRect rc;
  if (GetSafeHwnd() != nullptr && GetItemRect(nIndex, rc) != LB_ERR) InvalidateRect(rc, FALSE);
}

void CTKPCustomizeCheckList::Toggle(int nIndex) {
  SetCheck(nIndex, !GetCheck(nIndex));
  GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), TKP_CLBN_CHKCHANGE),
                           reinterpret_cast<LPARAM>(m_hWnd));
}

void CTKPCustomizeCheckList::OnLButtonDown(UINT nFlags, CPoint point) {
  BOOL outside = TRUE;
  const int index = static_cast<int>(ItemFromPoint(point, outside));
  CListBox::OnLButtonDown(nFlags, point);
  if (!outside && point.x < kCheckBox + 4) Toggle(index);
}

void CTKPCustomizeCheckList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE && GetCurSel() >= 0) {
    Toggle(GetCurSel());
    return;
  }
  CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CTKPCustomizeCheckList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = kCheckBox + 4;
}

void CTKPCustomizeCheckList::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (dis->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  CRect rc(dis->rcItem);
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  CRect box(rc.left + 2, rc.top + (rc.Height() - kCheckBox) / 2, rc.left + 2 + kCheckBox, 0);
  box.bottom = box.top + kCheckBox;
  dc->FillSolidRect(rc, ::GetSysColor(COLOR_WINDOW));
  UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
  if (GetCheck(static_cast<int>(dis->itemID))) state |= DFCS_CHECKED;
  ::DrawFrameControl(dis->hDC, box, DFC_BUTTON, state);
  CRect text(box.right + 4, rc.top, rc.right, rc.bottom);
  CString caption;
  GetText(static_cast<int>(dis->itemID), caption);
  CRect fill = text;
  fill.right = fill.left + dc->GetTextExtent(caption).cx + 4;
  if (fill.right > rc.right) fill.right = rc.right;
  dc->FillSolidRect(fill, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  text.left += 2;
  dc->DrawText(caption, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if ((dis->itemState & ODS_FOCUS) != 0) dc->DrawFocusRect(fill);
}

// ---- toolbars page -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTKPCustomizeToolbarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CTKPCustomizeToolbarsPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_TK_TOOLBARS_LIST, OnSelChange)
  ON_CONTROL(TKP_CLBN_CHKCHANGE, IDC_TK_TOOLBARS_LIST, OnCheckChange)
  ON_BN_CLICKED(IDC_TK_TOOLBARS_NEW, OnNew)
  ON_BN_CLICKED(IDC_TK_TOOLBARS_RENAME, OnRename)
  ON_BN_CLICKED(IDC_TK_TOOLBARS_DELETE, OnDelete)
  ON_BN_CLICKED(IDC_TK_TOOLBARS_RESET, OnReset)
END_MESSAGE_MAP()

CTKPCustomizeToolbarsPage::CTKPCustomizeToolbarsPage() : CPropertyPage(IDD_TK_CUSTOMIZE_TOOLBARS) {}

CTKPCommandBars* CTKPCustomizeToolbarsPage::Bars() const {
  return m_pSheet != nullptr ? m_pSheet->GetCommandBars() : nullptr;
}

BOOL CTKPCustomizeToolbarsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_list.SubclassDlgItem(IDC_TK_TOOLBARS_LIST, this);
  RefreshList();
  OnSelChange();
  return TRUE;
}

CTKPCommandBar* CTKPCustomizeToolbarsPage::SelectedBar() const {
  CTKPCommandBars* bars = Bars();
  const int line = m_list.GetCurSel();
  if (bars == nullptr || line < 0) return nullptr;
  return bars->GetAt(static_cast<int>(m_list.GetItemData(line)));  // null past the toolbar count
}

void CTKPCustomizeToolbarsPage::RefreshList() {
  CTKPCommandBars* bars = Bars();
  if (bars == nullptr || m_list.GetSafeHwnd() == nullptr) return;
  const int selected = m_list.GetCurSel() >= 0 ? static_cast<int>(m_list.GetItemData(m_list.GetCurSel())) : -1;
  const int top = m_list.GetTopIndex();
  m_list.SetRedraw(FALSE);
  m_list.ResetContent();
  for (int i = 0; i < bars->GetCount(); ++i) {
    CTKPCommandBar* bar = bars->GetAt(i);
    if (bar->GetType() == tkpBarTypePopup || (!bar->IsVisible() && !bar->m_bCloseable)) continue;
    const int line = m_list.AddString(bar->GetTitle());
    m_list.SetItemData(line, static_cast<DWORD_PTR>(i));
    m_list.SetCheck(line, bar->IsVisible());
    if (i == selected) m_list.SetCurSel(line);
  }
  if (m_list.GetTopIndex() != top) m_list.SetTopIndex(top);
  m_list.SetRedraw(TRUE);
  m_list.Invalidate();
}

void CTKPCustomizeToolbarsPage::OnSelChange() {
  CTKPCommandBar* bar = SelectedBar();
  const tkpcust::ToolbarButtons buttons = tkpcust::ToolbarButtonsFor(bar != nullptr, bar != nullptr && IsBuiltIn(bar));
  GetDlgItem(IDC_TK_TOOLBARS_RESET)->EnableWindow(buttons.reset);
  GetDlgItem(IDC_TK_TOOLBARS_RENAME)->EnableWindow(buttons.rename);
  GetDlgItem(IDC_TK_TOOLBARS_DELETE)->EnableWindow(buttons.remove);
}

void CTKPCustomizeToolbarsPage::OnCheckChange() {
  CTKPCommandBars* bars = Bars();
  const int line = m_list.GetCurSel();
  CTKPCommandBar* bar = SelectedBar();
  if (bars == nullptr || bar == nullptr) return;
  if (bar->m_bCloseable) {
    bar->SetVisible(m_list.GetCheck(line));
    bars->RecalcFrameLayout();
  }
  RefreshList();
}

void CTKPCustomizeToolbarsPage::OnNew() {
  CTKPCommandBars* bars = Bars();
  if (bars == nullptr) return;
  CTKPCustomizeNewToolbarDlg dlg(bars, nullptr, this);
  if (dlg.DoModal() != IDOK) return;
  if (CTKPToolBar* bar = bars->AddCustomBar(dlg.m_strName, dlg.m_nNewID)) {
    // The new toolbar's line is the selected one.
    RefreshList();
    for (int line = 0; line < m_list.GetCount(); ++line) {
      if (bars->GetAt(static_cast<int>(m_list.GetItemData(line))) == bar) m_list.SetCurSel(line);
    }
  }
  OnSelChange();
}

void CTKPCustomizeToolbarsPage::OnRename() {
  CTKPCommandBar* bar = SelectedBar();
  if (bar == nullptr || IsBuiltIn(bar)) return;
  CTKPCustomizeNewToolbarDlg dlg(Bars(), bar, this);
  if (dlg.DoModal() != IDOK) return;
  bar->SetTitle(dlg.m_strName);
  bar->Invalidate();
  const int line = m_list.GetCurSel();
  const DWORD_PTR data = m_list.GetItemData(line);
  const BOOL check = m_list.GetCheck(line);
  m_list.DeleteString(line);
  m_list.InsertString(line, dlg.m_strName);
  m_list.SetItemData(line, data);
  m_list.SetCheck(line, check);
  m_list.SetCurSel(line);
}

void CTKPCustomizeToolbarsPage::OnDelete() {
  CTKPCommandBars* bars = Bars();
  CTKPCommandBar* bar = SelectedBar();
  if (bars == nullptr || bar == nullptr || IsBuiltIn(bar)) return;
  CString text;
  text.Format(TKPCustomizeText(IDS_TK_DELETE_TOOLBAR), bar->GetTitle().GetString());
  if (AfxMessageBox(text, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return;
  bars->Remove(bar);
  bars->RecalcFrameLayout();
  RefreshList();
  OnSelChange();
}

void CTKPCustomizeToolbarsPage::OnReset() {
  CTKPToolBar* toolbar = dynamic_cast<CTKPToolBar*>(SelectedBar());
  if (toolbar == nullptr || !toolbar->IsBuiltIn()) return;
  toolbar->ResetToolBar();
  RefreshList();
}

// ---- section heading -----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPCustomizeHeading, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CTKPCustomizeHeading::OnPaint() {
  PAINTSTRUCT ps;
  CDC* dc = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  DrawHeading(dc);
  ::EndPaint(m_hWnd, &ps);
}

void CTKPCustomizeHeading::DrawHeading(CDC* dc) {
  CRect rc;
  GetClientRect(rc);
  CString text;
  GetWindowText(text);
  COLORREF textColour = ::GetSysColor(COLOR_BTNTEXT);
  COLORREF edgeShadow = 0;
  bool themedLine = false;
  CTKPVisualStyleTheme theme;
  if (CTKPVisualStyleTheme::IsAppThemeReady()) theme.OpenThemeData(m_hWnd, L"BUTTON");
  if (theme.GetHandle() != nullptr) {
    COLORREF colour = 0;
    if (SUCCEEDED(theme.GetThemeColor(BP_GROUPBOX, GBS_NORMAL, TMT_TEXTCOLOR, &colour))) textColour = colour;
    themedLine = SUCCEEDED(theme.GetThemeColor(BP_GROUPBOX, GBS_NORMAL, TMT_EDGESHADOWCOLOR, &edgeShadow));
  }
  CFont* font = GetParent()->GetFont();
  CFont* old = font != nullptr ? dc->SelectObject(font) : nullptr;
  const bool rtl = (GetExStyle() & WS_EX_RTLREADING) != 0;
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(textColour);
  dc->DrawText(text, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (rtl ? DT_RIGHT | DT_RTLREADING : 0));
  const int width = dc->GetTextExtent(text).cx;
  const int y = (rc.top + rc.bottom) / 2;
  CRect line = rtl ? CRect(rc.left, y, rc.right - width - 6, y + 1) : CRect(rc.left + width + 6, y, rc.right, y + 1);
  if (!line.IsRectEmpty()) {
    if (themedLine) {
      dc->FillSolidRect(line, edgeShadow);
    } else {
      dc->FillSolidRect(line, ::GetSysColor(COLOR_BTNSHADOW));
      line.OffsetRect(0, 1);
      dc->FillSolidRect(line, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
  }
  if (old != nullptr) dc->SelectObject(old);
}

// ---- options page --------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPCustomizeOptionsPage, CPropertyPage)
  ON_BN_CLICKED(IDC_TK_FULL_MENUS, OnFullMenus)
  ON_BN_CLICKED(IDC_TK_FULL_MENUS_DELAY, OnFullMenusDelay)
  ON_BN_CLICKED(IDC_TK_LARGE_ICONS, OnLargeIcons)
  ON_BN_CLICKED(IDC_TK_TOOLTIPS, OnToolTips)
  ON_BN_CLICKED(IDC_TK_TOOLTIP_SHORTCUTS, OnToolTipShortcuts)
  ON_CBN_SELCHANGE(IDC_TK_MENU_ANIMATION, OnAnimation)
  ON_BN_CLICKED(IDC_TK_RESET_USAGE, OnResetUsage)
END_MESSAGE_MAP()

CTKPCustomizeOptionsPage::CTKPCustomizeOptionsPage() : CPropertyPage(IDD_TK_CUSTOMIZE_OPTIONS) {}

BOOL CTKPCustomizeOptionsPage::Checked(int nID) const {
  return IsDlgButtonChecked(nID) == BST_CHECKED;
}

BOOL CTKPCustomizeOptionsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_headings[0].SubclassDlgItem(IDC_TK_HEADING_PERSONALIZED, this);
  m_headings[1].SubclassDlgItem(IDC_TK_HEADING_OTHER, this);
  CTKPCommandBarsOptions* options = m_pSheet->GetCommandBars()->GetOptions();
  CheckDlgButton(IDC_TK_FULL_MENUS, options->bAlwaysShowFullMenus ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TK_FULL_MENUS_DELAY, options->bShowFullAfterDelay ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TK_LARGE_ICONS, options->bLargeIcons ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TK_TOOLTIPS, options->bToolBarScreenTips ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_TK_TOOLTIP_SHORTCUTS, options->bToolBarAccelTips ? BST_CHECKED : BST_UNCHECKED);
  const HWND combo = GetDlgItem(IDC_TK_MENU_ANIMATION)->GetSafeHwnd();
  for (UINT id = IDS_TK_ANIMATION_FIRST; id <= IDS_TK_ANIMATION_FIRST + 5; ++id) {
    ::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TKPCustomizeText(id).GetString()));
  }
  ::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(options->nAnimationType), 0);
  UpdateEnabling();
  return TRUE;
}

void CTKPCustomizeOptionsPage::UpdateEnabling() {
  GetDlgItem(IDC_TK_FULL_MENUS_DELAY)->EnableWindow(!Checked(IDC_TK_FULL_MENUS));
  GetDlgItem(IDC_TK_TOOLTIP_SHORTCUTS)->EnableWindow(Checked(IDC_TK_TOOLTIPS));
}

void CTKPCustomizeOptionsPage::OnFullMenus() {
  m_pSheet->GetCommandBars()->GetOptions()->bAlwaysShowFullMenus = Checked(IDC_TK_FULL_MENUS);
  UpdateEnabling();
}

void CTKPCustomizeOptionsPage::OnFullMenusDelay() {
  m_pSheet->GetCommandBars()->GetOptions()->bShowFullAfterDelay = Checked(IDC_TK_FULL_MENUS_DELAY);
}

void CTKPCustomizeOptionsPage::OnLargeIcons() {
  CTKPCommandBars* bars = m_pSheet->GetCommandBars();
  bars->GetOptions()->bLargeIcons = Checked(IDC_TK_LARGE_ICONS);
  bars->RecalcCommandBarsLayout();
  bars->RecalcFrameLayout();
  bars->RedrawCommandBars();
}

void CTKPCustomizeOptionsPage::OnToolTips() {
  m_pSheet->GetCommandBars()->GetOptions()->bToolBarScreenTips = Checked(IDC_TK_TOOLTIPS);
  UpdateEnabling();
}

void CTKPCustomizeOptionsPage::OnToolTipShortcuts() {
  m_pSheet->GetCommandBars()->GetOptions()->bToolBarAccelTips = Checked(IDC_TK_TOOLTIP_SHORTCUTS);
}

void CTKPCustomizeOptionsPage::OnAnimation() {
  const LRESULT sel = ::SendMessage(GetDlgItem(IDC_TK_MENU_ANIMATION)->GetSafeHwnd(), CB_GETCURSEL, 0, 0);
  if (sel >= 0) m_pSheet->GetCommandBars()->GetOptions()->nAnimationType = static_cast<int>(sel);
}

void CTKPCustomizeOptionsPage::OnResetUsage() {
  if (TKPResourceManager()->ShowMessageBox(IDS_TK_RESET_USAGE, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  m_pSheet->GetCommandBars()->ResetUsageData();
}
