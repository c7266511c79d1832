// PropertiesDialog ("File/Folder Properties", template 212): the name, size and dates of a results item
// as PropertiesRequest holds them; for a folder, the files and folders below it and their size, counted
// from the results tree and the record lists. The name is shown whole: a read-only field of as many lines as
// it needs, up to kNameLines (a scroll bar past them), the rows below it moved down to make room.
#pragma once

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"

class PropertiesDialog : public app::SkinnedDialog {
 public:
  explicit PropertiesDialog(CWnd* pParentWnd = nullptr);

  static constexpr int kNameLines = 3;

 protected:
  BOOL OnInitDialog() override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT colourType);
  DECLARE_MESSAGE_MAP()

 private:
  void SetValue(int id, const std::u16string& text);
  // The name field as tall as its lines (at most kNameLines), the value rows and labels below it moved down
  // by what it grew.
  void LayOutName();

  app::SkinnedLabels m_labels;
};
