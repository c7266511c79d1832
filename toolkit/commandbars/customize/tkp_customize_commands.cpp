// The commands and keyboard pages of the customize dialog.
#include <vector>

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/paint/tkp_paint_manager.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_drop_source.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_pages.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/state/tkp_shortcut_manager.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_mouse_manager.h"

namespace {

constexpr int kFallbackRow = 22;  // without a paint manager to ask

CTKPControl* ControlOf(const CListBox& list, int line) {
  return line < 0 ? nullptr : reinterpret_cast<CTKPControl*>(list.GetItemData(line));
}

CString Plain(const CString& caption) {
  CString out;
  for (int i = 0; i < caption.GetLength(); ++i) {
    if (caption[i] != L'&') out += caption[i];
  }
  return out;
}

}  // namespace

// ---- commands list -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTKPCustomizeCommandList, CListBox)
  ON_WM_LBUTTONDOWN()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTKPPaintManager* CTKPCustomizeCommandList::GetPaintManager() const {
  CTKPCommandBars* bars = m_pSheet != nullptr ? m_pSheet->GetCommandBars() : nullptr;
  return bars != nullptr ? bars->GetPaintManager() : nullptr;
}

int CTKPCustomizeCommandList::EntryHeight() {
  CTKPPaintManager* paint = GetPaintManager();
  if (paint == nullptr || m_hWnd == nullptr) return kFallbackRow;
  CClientDC dc(this);
  CRect client;
  GetClientRect(client);
  CTKPControlButton sample;
  const int height = paint->DrawListBoxControl(&dc, &sample, client, FALSE, FALSE, m_pSheet->GetCommandBars()).cy;
  return height > 0 ? height : kFallbackRow;
}

void CTKPCustomizeCommandList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(EntryHeight());
}

BOOL CTKPCustomizeCommandList::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(rc);
  CTKPPaintManager* paint = GetPaintManager();
  pDC->FillSolidRect(rc, paint != nullptr ? paint->GetPaintColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW));
  return TRUE;
}

// Each entry as the paint manager draws that control in the list, through a buffer so that it never
// flickers while the selection moves.
void CTKPCustomizeCommandList::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (dis->itemID == static_cast<UINT>(-1)) return;
  CTKPControl* control = ControlOf(*this, static_cast<int>(dis->itemID));
  CTKPPaintManager* paint = GetPaintManager();
  if (control == nullptr || paint == nullptr) return;
  const CRect rc(dis->rcItem);
  CTKPBufferDC buffer(dis->hDC, rc);
  paint->DrawListBoxControl(&buffer, control, rc, (dis->itemState & ODS_SELECTED) != 0, TRUE,
                            m_pSheet->GetCommandBars());
}

void CTKPCustomizeCommandList::OnLButtonDown(UINT nFlags, CPoint point) {
  CListBox::OnLButtonDown(nFlags, point);
  BOOL outside = TRUE;
  const int line = static_cast<int>(ItemFromPoint(point, outside));
  CTKPControl* control = outside ? nullptr : ControlOf(*this, line);
  if (control == nullptr || m_pSheet == nullptr) return;
  CPoint screen = point;
  ClientToScreen(screen);
  CTKPCustomizeDropSource source(m_pSheet->GetCommandBars(), this);
  source.DoDragDrop(control, TRUE, &screen);  // a copy of the command lands; the list keeps its own
}

// ---- commands page -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTKPCustomizeCommandsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CTKPCustomizeCommandsPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_TK_COMMANDS_CATEGORIES, OnCategoryChange)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CTKPCustomizeCommandsPage::CTKPCustomizeCommandsPage() : CPropertyPage(IDD_TK_CUSTOMIZE_COMMANDS) {}

BOOL CTKPCustomizeCommandsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_categories.SubclassDlgItem(IDC_TK_COMMANDS_CATEGORIES, this);
  m_commands.SubclassDlgItem(IDC_TK_COMMANDS_LIST, this);
  m_commands.SetSheet(m_pSheet);
  const auto& categories = m_pSheet->GetCategories();
  for (size_t i = 0; i < categories.size(); ++i) {
    const int line = m_categories.AddString(categories[i].strName);
    m_categories.SetItemData(line, static_cast<DWORD_PTR>(i));
  }
  m_commands.SetItemHeight(0, m_commands.EntryHeight());
  CTKPCommandBars* bars = m_pSheet->GetCommandBars();
  if (bars != nullptr && bars->IsLayoutRTL()) {
    m_commands.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    m_categories.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  }
  TKPMouseManager()->AddSafeWnd(m_hWnd);  // customize-mode tracking leaves the page alone
  if (m_categories.GetCount() > 0) {
    m_categories.SetCurSel(0);
    OnCategoryChange();
  }
  return TRUE;
}

void CTKPCustomizeCommandsPage::OnDestroy() {
  TKPMouseManager()->RemoveSafeWnd(m_hWnd);
  CPropertyPage::OnDestroy();
}

void CTKPCustomizeCommandsPage::OnCategoryChange() {
  m_commands.ResetContent();
  const int line = m_categories.GetCurSel();
  const auto& categories = m_pSheet->GetCategories();
  if (line < 0) return;
  const size_t index = m_categories.GetItemData(line);
  if (index >= categories.size()) return;
  CTKPControls* controls = categories[index].pControls;
  for (int i = 0; i < controls->GetCount(); ++i) {
    const int row = m_commands.AddString(controls->GetAt(i)->GetCaption());
    m_commands.SetItemData(row, reinterpret_cast<DWORD_PTR>(controls->GetAt(i)));
  }
}

// ---- keyboard page -------------------------------------------------------------------------------------

BOOL CTKPCustomizeKeyEdit::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_GETDLGCODE) {
    *pResult = DLGC_WANTALLKEYS;
    return TRUE;
  }
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && m_pPage != nullptr) {
    const UINT key = static_cast<UINT>(wParam);
    if (key != VK_CONTROL && key != VK_SHIFT && key != VK_MENU) {
      BYTE flags = FVIRTKEY;
      if (TKPIsKeyDown(VK_CONTROL)) flags |= FCONTROL;
      if (TKPIsKeyDown(VK_SHIFT)) flags |= FSHIFT;
      if (TKPIsKeyDown(VK_MENU)) flags |= FALT;
      m_pPage->SetCapturedKey(flags, static_cast<WORD>(key));
    }
    *pResult = 0;
    return TRUE;
  }
  if (message == WM_CHAR || message == WM_SYSCHAR) {
    *pResult = 0;
    return TRUE;
  }
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BEGIN_MESSAGE_MAP(CTKPCustomizeKeyboardPage, CPropertyPage)
  ON_CBN_SELCHANGE(IDC_TK_KEYS_CATEGORY, OnCategoryChange)
  ON_LBN_SELCHANGE(IDC_TK_KEYS_COMMANDS, OnCommandChange)
  ON_LBN_SELCHANGE(IDC_TK_KEYS_ASSIGNED, OnKeysChange)
  ON_EN_CHANGE(IDC_TK_KEYS_NEW, OnKeysChange)
  ON_BN_CLICKED(IDC_TK_KEYS_ASSIGN, OnAssign)
  ON_BN_CLICKED(IDC_TK_KEYS_REMOVE, OnRemove)
  ON_BN_CLICKED(IDC_TK_KEYS_RESET_ALL, OnResetAll)
END_MESSAGE_MAP()

CTKPCustomizeKeyboardPage::CTKPCustomizeKeyboardPage() : CPropertyPage(IDD_TK_CUSTOMIZE_KEYBOARD) {}

BOOL CTKPCustomizeKeyboardPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_category.SubclassDlgItem(IDC_TK_KEYS_CATEGORY, this);
  m_commands.SubclassDlgItem(IDC_TK_KEYS_COMMANDS, this);
  m_keys.SubclassDlgItem(IDC_TK_KEYS_ASSIGNED, this);
  m_edit.SubclassDlgItem(IDC_TK_KEYS_NEW, this);
  m_edit.m_pPage = this;
  for (const auto& category : m_pSheet->GetCategories()) {
    const int line = m_category.AddString(category.strName);
    m_category.SetItemData(line, reinterpret_cast<DWORD_PTR>(category.pControls));
  }
  if (m_category.GetCount() > 0) {
    m_category.SetCurSel(0);
    OnCategoryChange();
  }
  UpdateButtons();
  return TRUE;
}

std::vector<ACCEL> CTKPCustomizeKeyboardPage::Table() const {
  std::vector<ACCEL> table;
  CTKPShortcutManager* shortcuts = m_pSheet->GetCommandBars()->GetShortcutManager();
  HACCEL handle = shortcuts != nullptr ? shortcuts->GetAcceleratorTable() : nullptr;
  if (handle == nullptr) return table;
  const int count = ::CopyAcceleratorTable(handle, nullptr, 0);
  table.resize(count > 0 ? count : 0);
  if (count > 0) ::CopyAcceleratorTable(handle, table.data(), count);
  return table;
}

void CTKPCustomizeKeyboardPage::SetTable(const std::vector<ACCEL>& table) {
  CTKPShortcutManager* shortcuts = m_pSheet->GetCommandBars()->GetShortcutManager();
  if (shortcuts != nullptr) shortcuts->SetAccelerators(table.data(), static_cast<int>(table.size()));
  FillKeys();
}

int CTKPCustomizeKeyboardPage::SelectedCommand() const {
  const CTKPControl* control = ControlOf(m_commands, m_commands.GetCurSel());
  return control != nullptr ? control->GetID() : 0;
}

void CTKPCustomizeKeyboardPage::OnCategoryChange() {
  m_commands.ResetContent();
  const int line = m_category.GetCurSel();
  CTKPControls* controls = line >= 0 ? reinterpret_cast<CTKPControls*>(m_category.GetItemData(line)) : nullptr;
  for (int i = 0; controls != nullptr && i < controls->GetCount(); ++i) {
    CTKPControl* control = controls->GetAt(i);
    if (!tkpcust::KeyboardListsCommand(control->GetID(), control->GetType())) continue;
    const int row = m_commands.AddString(Plain(control->GetCaption()));
    m_commands.SetItemData(row, reinterpret_cast<DWORD_PTR>(control));
  }
  m_commands.SetCurSel(0);
  OnCommandChange();
}

void CTKPCustomizeKeyboardPage::OnCommandChange() {
  FillKeys();
  const CTKPControl* control = ControlOf(m_commands, m_commands.GetCurSel());
  SetDlgItemText(IDC_TK_KEYS_DESCRIPTION, control != nullptr ? control->GetDescription() : CString());
}

void CTKPCustomizeKeyboardPage::FillKeys() {
  m_keys.ResetContent();
  const int command = SelectedCommand();
  CTKPShortcutManager* shortcuts = m_pSheet->GetCommandBars()->GetShortcutManager();
  const std::vector<ACCEL> table = Table();
  for (size_t i = 0; command != 0 && shortcuts != nullptr && i < table.size(); ++i) {
    if (table[i].cmd != command) continue;
    ACCEL accel = table[i];
    const int row = m_keys.AddString(shortcuts->Format(&accel, nullptr));
    m_keys.SetItemData(row, static_cast<DWORD_PTR>(i));
  }
  UpdateButtons();
}

void CTKPCustomizeKeyboardPage::SetCapturedKey(BYTE fVirt, WORD key) {
  CTKPShortcutManager* shortcuts = m_pSheet->GetCommandBars()->GetShortcutManager();
  // A key the manager does not take as a shortcut (plain Escape, unless allowed) is not captured.
  if (shortcuts != nullptr && !shortcuts->IsAccelAllowed(ACCEL{fVirt, key, 0})) return;
  m_captured.fVirt = fVirt;
  m_captured.key = key;
  m_captured.cmd = 0;
  m_bCaptured = TRUE;
  SetDlgItemText(IDC_TK_KEYS_NEW, shortcuts != nullptr ? shortcuts->Format(&m_captured, nullptr) : CString());
  UpdateButtons();
}

void CTKPCustomizeKeyboardPage::OnKeysChange() { UpdateButtons(); }

void CTKPCustomizeKeyboardPage::UpdateButtons() {
  CString text;
  GetDlgItemText(IDC_TK_KEYS_NEW, text);
  GetDlgItem(IDC_TK_KEYS_ASSIGN)->EnableWindow(!text.IsEmpty() && m_bCaptured && SelectedCommand() != 0);
  GetDlgItem(IDC_TK_KEYS_REMOVE)->EnableWindow(m_keys.GetCurSel() >= 0);
}

void CTKPCustomizeKeyboardPage::OnAssign() {
  const int command = SelectedCommand();
  if (!m_bCaptured || command == 0) return;
  std::vector<ACCEL> table = Table();
  for (size_t i = 0; i < table.size(); ++i) {
    if ((table[i].fVirt & ~FNOINVERT) != (m_captured.fVirt & ~FNOINVERT) || table[i].key != m_captured.key) continue;
    if (TKPResourceManager()->ShowMessageBox(IDS_TK_KEY_ASSIGNED, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    table.erase(table.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  ACCEL accel = m_captured;
  accel.cmd = static_cast<WORD>(command);
  table.push_back(accel);
  SetTable(table);
}

void CTKPCustomizeKeyboardPage::OnRemove() {
  const int line = m_keys.GetCurSel();
  if (line < 0) return;
  std::vector<ACCEL> table = Table();
  const size_t index = m_keys.GetItemData(line);
  if (index >= table.size()) return;
  table.erase(table.begin() + static_cast<std::ptrdiff_t>(index));
  SetTable(table);
}

void CTKPCustomizeKeyboardPage::OnResetAll() {
  if (TKPResourceManager()->ShowMessageBox(IDS_TK_RESET_KEYS, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  if (CTKPShortcutManager* shortcuts = m_pSheet->GetCommandBars()->GetShortcutManager()) shortcuts->Reset();
  FillKeys();
}
