// PropertiesDialog ("File/Folder Properties", template 212): the name, size and dates of a results item
// as PropertiesRequest holds them; for a folder, the files and folders below it and their size, counted
// from the results tree and the record lists.
#pragma once

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"

class PropertiesDialog : public app::SkinnedDialog {
 public:
  explicit PropertiesDialog(CWnd* pParentWnd = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  void SetValue(int id, const std::u16string& text);

  app::SkinnedLabels m_labels;
};
