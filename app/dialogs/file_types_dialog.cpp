#include "app/dialogs/file_types_dialog.h"

#include "app/logic/file_size_choice.h"
#include "engine/scan/selected_signatures.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

constexpr TCHAR kInstruction[] =
    _T("What file types would you like to recover? [Please check file types] and click [Ok] to continue with ")
    _T("recovery.");

}  // namespace

FileTypesDialog::FileTypesDialog(const CString& programFolder, CWnd* pParentWnd)
    : SkinnedDialog(IDD_FILE_TYPES, IDB_SKIN_SETTINGS, pParentWnd), m_programFolder(programFolder) {}

BOOL FileTypesDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  MakeTransparent(m_instruction, IDC_FILE_TYPES_NOTE);
  MakeTransparent(m_sizeCaption, IDC_FILE_SIZE_LABEL);
  m_instructionFont.CreateFont(15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH, _T("Arial"));
  m_instruction.SetFont(&m_instructionFont);
  m_instruction.SetWindowText(kInstruction);

  m_sizeList.SubclassDlgItem(IDC_FILE_SIZE_LIST, this);
  for (uint32_t mb = 1; mb <= app::kLargestFileSizeMb; ++mb) {
    m_sizeList.AddString(CString::FromUtf16(app::FileSizeItemText(mb)));
  }
  m_sizeList.SetCurSel(app::InitialFileSizeIndex(LargeFileSize.load()));

  m_tree.SubclassDlgItem(IDC_FILE_TYPES_TREE, this);
  HTREEITEM root = m_tree.Initialise();
  // A missing or unreadable database leaves the tree with its root alone; OK then asks for a type.
  m_tree.LoadSignatureDatabase(m_programFolder + CString::FromUtf16(kSignatureDatabaseName));
  m_tree.ToggleItem(root);
  m_tree.Expand(root, TVE_EXPAND);
  return TRUE;
}

void FileTypesDialog::OnOK() {
  if (m_tree.NothingTicked()) {
    MessageText = u"Please select a file types and then \r\nclick [Next] to continue with recovery.";
    MessageKind = msgbox::kError;
    MessageDialog box(this);
    box.DoModal();
    return;
  }
  LargeFileSize = app::FileSizeOfIndex(m_sizeList.GetCurSel(), LargeFileSize.load());
  m_tree.BuildSelectedSignatureList(m_tree.GetRootItem());
  EndDialog(IDOK);
}
