#include "toolkit/commandbars/customize/tkp_customize_new_toolbar_dlg.h"

#include <string>
#include <vector>

#include "platform/classlib/win/cdataexchange.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/bars/tkp_command_bar.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/customize/tkp_customize_logic.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/common/resource_manager.h"

CTKPCustomizeNewToolbarDlg::CTKPCustomizeNewToolbarDlg(CTKPCommandBars* pCommandBars, CTKPCommandBar* pRename,
                                                       CWnd* pParent)
    : CDialog(), m_pCommandBars(pCommandBars), m_pRename(pRename) {
  m_pParentWnd = pParent;
  if (m_pRename != nullptr) {
    m_strName = m_pRename->GetTitle();
    return;
  }
  std::vector<std::u16string> titles;
  for (int i = 0; m_pCommandBars != nullptr && i < m_pCommandBars->GetCount(); ++i) {
    titles.push_back(m_pCommandBars->GetAt(i)->GetTitle().ToUtf16());
  }
  const std::u16string name = tkpcust::NewToolbarName(TKPCustomizeText(IDS_TK_CUSTOM_TOOLBAR_NAME).ToUtf16(), titles);
  m_strName = CString(reinterpret_cast<const wchar_t*>(name.c_str()));
}

INT_PTR CTKPCustomizeNewToolbarDlg::DoModal() {
  LPCDLGTEMPLATE dlgTemplate = TKPResourceManager()->LoadDialogTemplate(IDD_TK_NEW_TOOLBAR);
  if (dlgTemplate == nullptr || !InitModalIndirect(dlgTemplate, m_pParentWnd)) return -1;
  return CDialog::DoModal();
}

BOOL CTKPCustomizeNewToolbarDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pRename != nullptr) SetWindowText(TKPCustomizeText(IDS_TK_RENAME_TOOLBAR));
  return TRUE;
}

void CTKPCustomizeNewToolbarDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_TK_NEW_TOOLBAR_NAME, m_strName);
}

void CTKPCustomizeNewToolbarDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  std::vector<std::u16string> others;
  for (int i = 0; m_pCommandBars != nullptr && i < m_pCommandBars->GetCount(); ++i) {
    CTKPCommandBar* bar = m_pCommandBars->GetAt(i);
    if (bar != m_pRename) others.push_back(bar->GetTitle().ToUtf16());
  }
  const tkpcust::NameCheck check = tkpcust::CheckToolbarName(m_strName.ToUtf16(), others);
  if (check == tkpcust::kNameBlank) {
    AfxMessageBox(TKPCustomizeText(IDS_TK_TOOLBAR_NAME_BLANK), MB_ICONERROR);
    return;
  }
  if (m_pRename == nullptr) {
    m_nNewID = m_pCommandBars != nullptr ? m_pCommandBars->NewToolbarId() : tkpcust::kFirstCustomToolbarId;
    if (m_nNewID == 0) {
      AfxMessageBox(TKPCustomizeText(IDS_TK_TOOLBAR_LIMIT), MB_ICONERROR);
      EndDialog(IDCANCEL);
      return;
    }
  }
  if (check == tkpcust::kNameTaken) {
    CString text;
    text.Format(TKPCustomizeText(IDS_TK_TOOLBAR_NAME_TAKEN), m_strName.GetString());
    AfxMessageBox(text, MB_ICONERROR);
    return;
  }
  EndDialog(IDOK);
}
