#include "app/dialogs/properties_dialog.h"

#include "app/logic/folder_totals.h"
#include "engine/host/result_tree_host.h"
#include "res/resource.h"

PropertiesDialog::PropertiesDialog(CWnd* pParentWnd) : SkinnedDialog(IDD_PROPERTIES, IDB_SKIN_PROPERTIES, pParentWnd) {}

void PropertiesDialog::SetValue(int id, const std::u16string& text) {
  SetDlgItemText(id, CString::FromUtf16(text));
}

BOOL PropertiesDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  m_labels.Attach(*this);
  const PropertiesRequestRecord& request = PropertiesRequest;
  SetValue(IDC_ITEM_NAME, request.name);
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
