#include "app/dialogs/properties_dialog.h"

#include <algorithm>

#include "app/logic/folder_totals.h"
#include "engine/host/result_tree_host.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(PropertiesDialog, app::SkinnedDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

PropertiesDialog::PropertiesDialog(CWnd* pParentWnd) : SkinnedDialog(IDD_PROPERTIES, IDB_SKIN_PROPERTIES, pParentWnd) {}

HBRUSH PropertiesDialog::OnCtlColor(CDC* dc, CWnd* control, UINT colourType) {
  if (control != nullptr && control->GetDlgCtrlID() == IDC_ITEM_NAME) {
    if (HBRUSH skin = SkinUnder(dc, control)) return skin;
  }
  return SkinnedDialog::OnCtlColor(dc, control, colourType);
}

void PropertiesDialog::LayOutName() {
  CWnd* name = GetDlgItem(IDC_ITEM_NAME);
  if (name == nullptr) return;
  CRect field;
  name->GetWindowRect(field);
  ScreenToClient(field);
  TEXTMETRICW metrics{};
  CClientDC dc(name);
  CFont* old = dc.SelectObject(name->GetFont());
  ::GetTextMetricsW(dc.m_hDC, &metrics);
  dc.SelectObject(old);
  const int lineHeight = static_cast<int>(metrics.tmHeight);
  // The name starts where the other values do.
  name->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  const int lines = static_cast<int>(name->SendMessage(EM_GETLINECOUNT));
  if (lines > kNameLines) name->ShowScrollBar(SB_VERT, TRUE);
  const int shown = std::max(1, std::min(lines, kNameLines));
  const int grown = std::max(0, shown * lineHeight - field.Height());
  name->SetWindowPos(nullptr, 0, 0, field.Width(), field.Height() + grown, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (grown == 0) return;
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    const int id = child->GetDlgCtrlID();
    CRect at;
    child->GetWindowRect(at);
    ScreenToClient(at);
    if (at.top <= field.top || id == IDOK || id == IDCANCEL) continue;
    child->SetWindowPos(nullptr, at.left, at.top + grown, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void PropertiesDialog::SetValue(int id, const std::u16string& text) {
  SetDlgItemText(id, CString::FromUtf16(text));
}

BOOL PropertiesDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  m_labels.Attach(*this);
  const PropertiesRequestRecord& request = PropertiesRequest;
  SetValue(IDC_ITEM_NAME, request.name);
  LayOutName();
  SetValue(IDC_ITEM_CREATED, request.created);
  SetValue(IDC_ITEM_MODIFIED, request.modified);
  if (request.folder == 0) {
    SetValue(IDC_ITEM_SIZE, request.size);
    return TRUE;
  }
  FolderTotals = FolderTotalsRecord{};
  if (host::ResultTreeHost* tree = host::Current().resultTree) CountFolderTotals(*tree, request.treeItem);
  SetValue(IDC_ITEM_CONTAINS, FolderContainsText(FolderTotals));
  SetValue(IDC_ITEM_SIZE, FolderSizeText(FolderTotals.totalBytes));
  return TRUE;
}
