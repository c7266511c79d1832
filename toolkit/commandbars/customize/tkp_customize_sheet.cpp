#include "toolkit/commandbars/customize/tkp_customize_sheet.h"

#include <commctrl.h>

#include <utility>

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cmenu.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/bars/tkp_bar_controls.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_image_picker.h"
#include "toolkit/commandbars/customize/tkp_customize_images.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "platform/classlib/win/cgdiobject.h"
#include "toolkit/common/resource_manager.h"
#include "toolkit/common/tkp_image_manager.h"

IMPLEMENT_DYNAMIC(CTKPCustomizeSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CTKPCustomizeSheet, CPropertySheet)
  ON_WM_DESTROY()
  ON_MESSAGE(TKP_WM_CONTROL_NOTIFY, OnControlNotify)
END_MESSAGE_MAP()

namespace {

std::vector<std::pair<const CTKPCommandBars*, CTKPCustomizeSheet*>>& OpenSheets() {
  static std::vector<std::pair<const CTKPCommandBars*, CTKPCustomizeSheet*>> sheets;
  return sheets;
}

void Forget(const CTKPCustomizeSheet* sheet) {
  auto& sheets = OpenSheets();
  for (auto it = sheets.begin(); it != sheets.end(); ++it) {
    if (it->second == sheet) {
      sheets.erase(it);
      return;
    }
  }
}

// Types 1 to 4 are buttons and popups: the ones with an image and a style.
bool HasImage(const CTKPControl* control) {
  return control != nullptr && control->GetType() >= tkpControlButton && control->GetType() <= tkpControlSplitButtonPopup;
}

}  // namespace

CString TKPCustomizeText(UINT nID) {
  CString text;
  TKPResourceManager()->LoadString(&text, nID);
  return text;
}

CTKPCustomizeSheet* TKPCustomizeSheetOf(const CTKPCommandBars* pCommandBars) {
  for (const auto& entry : OpenSheets()) {
    if (entry.first == pCommandBars) return entry.second;
  }
  return nullptr;
}

void TKPCustomizeContextMenu(CTKPCommandBars* pCommandBars, CPoint ptScreen) {
  if (CTKPCustomizeSheet* sheet = TKPCustomizeSheetOf(pCommandBars)) sheet->ContextMenu(ptScreen);
}

CTKPCustomizeSheet::CTKPCustomizeSheet(CTKPCommandBars* pCommandBars)
    : CPropertySheet(TKPCustomizeText(IDS_TK_CUSTOMIZE).GetString()), m_pCommandBars(pCommandBars) {
  m_pageToolbars.SetSheet(this);
  m_pageCommands.SetSheet(this);
  m_pageKeyboard.SetSheet(this);
  m_pageOptions.SetSheet(this);
  AddPage(&m_pageToolbars);
  AddPage(&m_pageCommands);
  AddPage(&m_pageKeyboard);
  AddPage(&m_pageOptions);
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

CTKPCustomizeSheet::~CTKPCustomizeSheet() {
  Forget(this);
  for (auto& category : m_categories) category.pControls->InternalRelease();
  if (m_pPredefinedImages != nullptr) m_pPredefinedImages->InternalRelease();
}

void CTKPCustomizeSheet::AddCategory(LPCTSTR lpszName, CTKPControls* pControls) {
  if (pControls == nullptr) return;
  pControls->InternalAddRef();
  m_categories.push_back({CString(lpszName), pControls});
}

BOOL CTKPCustomizeSheet::OnInitDialog() {
  CPropertySheet::OnInitDialog();
  if (m_pCommandBars != nullptr) {
    Forget(this);
    OpenSheets().emplace_back(m_pCommandBars, this);
    m_pCommandBars->SetCustomizeMode(TRUE);
    m_pCommandBars->RecalcFrameLayout();
  }
  // One way out: Close.
  if (CWnd* ok = GetDlgItem(IDOK)) ok->SetWindowText(TKPCustomizeText(IDS_TK_CUSTOMIZE_CLOSE));
  if (CWnd* cancel = GetDlgItem(IDCANCEL)) cancel->ShowWindow(SW_HIDE);
  return TRUE;
}

void CTKPCustomizeSheet::OnDestroy() {
  Forget(this);
  if (m_pCommandBars != nullptr) {
    m_pCommandBars->SetCustomizeMode(FALSE);
    m_pCommandBars->RecalcFrameLayout();
    m_pCommandBars->RedrawCommandBars();
  }
  CPropertySheet::OnDestroy();
}

CTKPControl* CTKPCustomizeSheet::Selected() const {
  return m_pCommandBars != nullptr ? m_pCommandBars->GetDragControl() : nullptr;
}

namespace {

// The menu's "Name:" item becomes an edit field holding the caption; null when the menu has no such item.
CTKPControlEdit* AddNameField(CTKPPopupBar* popup, const CString& caption) {
  CTKPControls* controls = popup->GetControls();
  for (int i = 0; i < controls->GetCount(); ++i) {
    CTKPControl* item = controls->GetAt(i);
    if (item->GetID() != ID_TK_CUSTOMIZE_NAME) continue;
    auto* edit = static_cast<CTKPControlEdit*>(controls->Add(new CTKPControlEdit, ID_TK_CUSTOMIZE_NAME, CString(), i));
    edit->SetCaption(item->GetCaption());
    edit->SetBeginGroup(item->GetBeginGroup());
    edit->ShowLabel(TRUE);
    edit->SetEditText(caption);
    controls->Remove(i + 1);  // the menu item, now after the field
    return edit;
  }
  return nullptr;
}

// The menu's "Change Button Image" sub-menu becomes a popup toolbar of pickers, filled when it opens.
void AddChangeImagePopup(CTKPPopupBar* popup, CTKPImageManager* images, int count) {
  CTKPControls* controls = popup->GetControls();
  for (int i = 0; i < controls->GetCount(); ++i) {
    CTKPControl* item = controls->GetAt(i);
    if (item->GetType() != tkpControlPopup) continue;  // the menu's one sub-menu
    auto* change = new CTKPControlChangeImagePopup;
    controls->Add(change, ID_TK_CUSTOMIZE_CHANGE_IMAGE, CString(), i);
    change->SetCaption(item->GetCaption());
    change->SetBeginGroup(item->GetBeginGroup());
    change->SetImages(images, count);
    CTKPPopupToolBar* grid = CTKPPopupToolBar::CreatePopupToolBar(popup->GetCommandBars());
    change->SetCommandBar(grid);
    grid->InternalRelease();
    controls->Remove(i + 1);
    return;
  }
}

}  // namespace

CTKPImageManager* CTKPCustomizeSheet::GetPredefinedImages(int* pCount) {
  if (m_pPredefinedImages == nullptr) {
    CBitmap strip;
    if (!TKPResourceManager()->LoadBitmap(&strip, IDB_TK_CUSTOMIZE_IMAGES)) return nullptr;
    HIMAGELIST list = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 8);
    if (list == nullptr) return nullptr;
    ::ImageList_AddMasked(list, static_cast<HBITMAP>(strip.GetSafeHandle()), RGB(192, 192, 192));
    m_nPredefinedImages = ::ImageList_GetImageCount(list);
    m_pPredefinedImages = new CTKPImageManager;
    m_pPredefinedImages->AddImageList(list, 1, TRUE);  // the manager destroys the list
    m_hPredefinedImages = list;
  }
  if (pCount != nullptr) *pCount = m_nPredefinedImages;
  return m_pPredefinedImages;
}

BOOL CTKPCustomizeSheet::SetPredefinedImage(int nImage) {
  CTKPControl* control = Selected();
  CTKPCommandBar* bar = tkp_bar::Parent(control);
  int count = 0;
  CTKPImageManager* images = GetPredefinedImages(&count);
  if (bar == nullptr || !HasImage(control) || images == nullptr || nImage < 1 || nImage > count) return FALSE;
  HICON picked = ::ImageList_GetIcon(m_hPredefinedImages, nImage - 1, ILD_NORMAL);
  if (picked == nullptr) return FALSE;
  CTKPImageManagerIconHandle handle;
  handle.SetIcon(picked);  // owned by the handle, which the image manager copies
  const UINT id = control->GetImageManager()->AddCustomIcon(handle);
  if (id == 0) return FALSE;
  control->SetCustomIconId(static_cast<int>(id));
  bar->DelayLayout();
  bar->OnRecalcLayout();
  bar->Invalidate();
  return TRUE;
}

LRESULT CTKPCustomizeSheet::OnControlNotify(WPARAM, LPARAM lParam) {
  const auto* record = reinterpret_cast<const NMTKPCONTROL*>(lParam);
  if (record == nullptr || record->code != static_cast<UINT>(TKP_CN_EXECUTE)) return 0;
  auto* picker = dynamic_cast<CTKPControlImagePicker*>(record->pControl);
  if (picker == nullptr) return 0;
  SetPredefinedImage(picker->GetImageNumber());
  return 1;
}

void CTKPCustomizeSheet::ContextMenu(CPoint ptScreen) {
  CMenu menu;
  CTKPControl* selected = Selected();
  if (selected == nullptr || !TKPResourceManager()->LoadMenu(&menu, IDR_TK_CUSTOMIZE_MENU)) return;
  CMenu* items = menu.GetSubMenu(0);
  CTKPPopupBar* popup = CTKPPopupBar::CreatePopupBar(m_pCommandBars);
  if (items == nullptr || popup == nullptr || !popup->LoadMenu(items)) {
    if (popup != nullptr) popup->InternalRelease();
    return;
  }
  tkp_bar::AddRef(selected);  // a command may take it off its bar
  popup->SetCustomizable(FALSE);  // the menu works as a menu while customizing
  popup->SetCommandTarget(this);  // the sheet updates and carries out its commands
  CTKPControlEdit* name = AddNameField(popup, selected->GetCaption());
  int count = 0;
  CTKPImageManager* images = GetPredefinedImages(&count);
  if (images != nullptr) AddChangeImagePopup(popup, images, count);
  UINT flags = TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON;
  if (m_pCommandBars != nullptr && m_pCommandBars->IsLayoutRTL()) flags |= TPM_RIGHTALIGN;
  m_pContextPopup = popup;
  const UINT command = CTKPCommandBars::TrackPopupBar(popup, flags, ptScreen.x, ptScreen.y, this, nullptr, this);
  m_pContextPopup = nullptr;
  if (name != nullptr && name->GetEditText() != selected->GetCaption()) {
    selected->SetCustomCaption(name->GetEditText());
    if (CTKPCommandBar* bar = tkp_bar::Parent(selected)) {
      bar->DelayLayout();
      bar->OnRecalcLayout();
      bar->Invalidate();
    }
  }
  tkp_bar::Release(selected);
  popup->InternalRelease();
  if (command != 0) ExecuteControlCommand(command);
}

void CTKPCustomizeSheet::UpdateControlCommand(CCmdUI* pCmdUI) const {
  const CTKPControl* control = Selected();
  BOOL enable = control != nullptr;
  BOOL check = FALSE;
  if (control != nullptr) {
    switch (pCmdUI->m_nID) {
      case ID_TK_CUSTOMIZE_RESET:
        enable = control->GetCustomIconId() != 0 || !control->GetCustomCaption().IsEmpty() || control->GetStyle() != 0;
        break;
      case ID_TK_CUSTOMIZE_RESET_IMAGE:
        enable = control->GetCustomIconId() != 0;
        break;
      case ID_TK_CUSTOMIZE_COPY_IMAGE:
      case ID_TK_CUSTOMIZE_EDIT_IMAGE:
      case ID_TK_CUSTOMIZE_CHANGE_IMAGE:
        enable = HasImage(control) && control->GetImage(16) != nullptr;
        break;
      case ID_TK_CUSTOMIZE_PASTE_IMAGE:
        enable = HasImage(control) && TKPCanPasteButtonImage();
        break;
      case ID_TK_CUSTOMIZE_DEFAULT_STYLE:
      case ID_TK_CUSTOMIZE_TEXT_ONLY:
      case ID_TK_CUSTOMIZE_IMAGE_AND_TEXT: {
        const int style = pCmdUI->m_nID == ID_TK_CUSTOMIZE_DEFAULT_STYLE ? 0
                          : pCmdUI->m_nID == ID_TK_CUSTOMIZE_TEXT_ONLY   ? 1
                                                                         : 3;
        enable = HasImage(control);
        check = enable && control->GetStyle() == style;
        break;
      }
      case ID_TK_CUSTOMIZE_BEGIN_GROUP:
        check = control->GetBeginGroup();
        break;
      case ID_TK_CUSTOMIZE_DELETE:
        break;
      default:
        break;
    }
  }
  pCmdUI->Enable(enable);
  pCmdUI->SetCheck(check ? 1 : 0);
}

BOOL CTKPCustomizeSheet::ExecuteControlCommand(UINT nID) {
  CTKPControl* control = Selected();
  CTKPCommandBar* bar = tkp_bar::Parent(control);
  if (control == nullptr || bar == nullptr) return FALSE;
  switch (nID) {
    case ID_TK_CUSTOMIZE_RESET:
      control->SetCustomIconId(0);
      control->SetCustomCaption(CString());
      control->SetStyle(0);
      break;
    case ID_TK_CUSTOMIZE_DELETE: {
      m_pCommandBars->SetDragControl(nullptr);
      bar->GetControls()->Remove(control);
      break;
    }
    case ID_TK_CUSTOMIZE_RESET_IMAGE:
      control->SetCustomIconId(0);
      break;
    case ID_TK_CUSTOMIZE_COPY_IMAGE:
      return TKPCopyButtonImage(this, control);
    case ID_TK_CUSTOMIZE_PASTE_IMAGE:
      if (!TKPPasteButtonImage(this, control)) return FALSE;
      break;
    case ID_TK_CUSTOMIZE_EDIT_IMAGE:
      if (!TKPEditButtonImage(this, control)) return FALSE;
      break;
    case ID_TK_CUSTOMIZE_DEFAULT_STYLE:
      control->SetStyle(0);
      break;
    case ID_TK_CUSTOMIZE_TEXT_ONLY:
      control->SetStyle(1);
      break;
    case ID_TK_CUSTOMIZE_IMAGE_AND_TEXT:
      control->SetStyle(3);
      break;
    case ID_TK_CUSTOMIZE_BEGIN_GROUP:
      control->SetBeginGroup(!control->GetBeginGroup());
      break;
    default:
      return FALSE;
  }
  bar->DelayLayout();
  bar->OnRecalcLayout();
  bar->Invalidate();
  return TRUE;
}

BOOL CTKPCustomizeSheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nID >= ID_TK_CUSTOMIZE_RESET && nID <= ID_TK_CUSTOMIZE_BEGIN_GROUP) {
    if (nCode == CN_UPDATE_COMMAND_UI && pExtra != nullptr) {
      if (pHandlerInfo == nullptr) UpdateControlCommand(static_cast<CCmdUI*>(pExtra));
      return TRUE;
    }
    if (nCode == CN_COMMAND) {
      if (pHandlerInfo == nullptr) ExecuteControlCommand(nID);
      return TRUE;
    }
  }
  return CPropertySheet::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
