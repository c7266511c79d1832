// FileFiltersDialog ("File Filters", template 209): the wildcard patterns that decide which files the
// results list shows and saving writes. Add and Remove change the sorted list; Close writes the list into
// FileFilterTable and lists the results root again, so the filters show at once.
#pragma once

#include <string>
#include <vector>

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"
#include "platform/classlib/win/cedit.h"
#include "platform/classlib/win/clistbox.h"

class FileFiltersDialog : public app::SkinnedDialog {
 public:
  explicit FileFiltersDialog(CWnd* pParentWnd = nullptr);

  CEdit m_filter;
  CListBox m_list;

 protected:
  BOOL OnInitDialog() override;
  // Add (button 1).
  void OnOK() override;
  // Close (button 2), also Esc and the close box.
  void OnCancel() override;
  void OnRemove();
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::u16string> Entries() const;
  void Refuse(const std::u16string& text);

  // Filters in the list: the table's count as Add and Remove keep it.
  uint32_t m_count = 0;
  app::SkinnedLabels m_labels;
};
