// The two small skinned dialogs of the source pages: "Please Select" (template 301), which the partition
// search asks when partitions are known already, and "Drive Information" (template 194), the parameters of
// the current file system after a scan.
#pragma once

#include <string>
#include <vector>

#include "app/dialogs/skinned_dialog.h"
#include "app/dialogs/skinned_labels.h"
#include "ui/controls/xp_group_box.h"

class PartitionChoiceDialog : public app::SkinnedDialog {
 public:
  explicit PartitionChoiceDialog(CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  // PartitionSearchWanted = 1 when "Search partition" is chosen, else 0.
  void OnOK() override;

 private:
  ui::CXPGroupBox m_group;
  skin::CTransparentButtonCtrl m_radios[2];
};

class DriveInfoDialog : public app::SkinnedDialog {
 public:
  explicit DriveInfoDialog(CWnd* parent = nullptr);

 protected:
  BOOL OnInitDialog() override;

 private:
  skin::CTransparentStatic m_values[8];
  app::SkinnedLabels m_labels;
};
