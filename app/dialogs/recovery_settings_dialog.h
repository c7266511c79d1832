// RecoverySettingsDialog ("Recovery Settings", template 206): the sectors the Extensive Scan reads at
// once, what saving does with duplicate names and with deleted files, and the bad-sector retries (kept
// for the dialog alone, its controls hidden). OK writes RecoverySettings; Cancel leaves it.
#pragma once

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"
#include "platform/classlib/win/clistbox.h"
#include "ui/controls/xp_group_box.h"

class RecoverySettingsDialog : public app::SkinnedDialog {
 public:
  explicit RecoverySettingsDialog(CWnd* pParentWnd = nullptr);

  CComboBox m_sectorsPerRead;
  CComboBox m_retries;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void FillList(CComboBox& list, int id, uint32_t most, int selected);
  int CheckedRadio(int first) const;

  ui::CXPGroupBox m_groups[4];
  skin::CTransparentButtonCtrl m_radios[6];
  app::SkinnedLabels m_labels;
};
