// FileTypesDialog ("File Types", template 237): before a File Trace the user ticks the file types to
// look for and the size to recover for each file found. It reads "Raw.dat" from the program folder; OK
// turns the ticked types into SelectedSignatureList and the size into LargeFileSize, Cancel changes
// neither.
#pragma once

#include "app/dialogs/file_types_tree_ctrl.h"
#include "app/dialogs/skinned_dialog.h"
#include "platform/classlib/win/clistbox.h"

class FileTypesDialog : public app::SkinnedDialog {
 public:
  // programFolder: the folder of "Raw.dat", with its trailing backslash (ProgramFolder).
  explicit FileTypesDialog(const CString& programFolder, CWnd* pParentWnd = nullptr);

  FileTypesTreeCtrl m_tree;
  CComboBox m_sizeList;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CString m_programFolder;
  skin::CTransparentStatic m_instruction;
  skin::CTransparentStatic m_sizeCaption;
  CFont m_instructionFont;
};
