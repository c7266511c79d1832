#include "app/pages/source_dialogs.h"

#include "app/pages/source_logic.h"

#include "engine/partitions/partition_table.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kNavy = RGB(20, 42, 82);

}  // namespace

PartitionChoiceDialog::PartitionChoiceDialog(CWnd* parent)
    : SkinnedDialog(IDD_PARTITION_CHOICE, IDB_SKIN_SMALL_DIALOG, parent) {}

BOOL PartitionChoiceDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  if (m_group.SubclassDlgItem(IDC_PARTITION_CHOICE_GROUP, this)) {
    // The caption in the dialogs' navy: white text would vanish on this light skin.
    CRect area;
    m_group.GetWindowRect(area);
    ScreenToClient(area);
    const COLORREF skin = app::SkinBitmapPixel(IDB_SKIN_SMALL_DIALOG, area.left + 20, area.top + 8);
    m_group.SetFontBold(TRUE).SetCaptionTextColor(kNavy).SetBorderColor(kNavy).SetBackgroundColor(skin);
  }
  m_radios[0].SubclassDlgItem(IDC_USE_EXISTING_PARTITIONS, this);
  m_radios[1].SubclassDlgItem(IDC_SEARCH_PARTITIONS, this);
  CheckDlgButton(IDC_USE_EXISTING_PARTITIONS, BST_CHECKED);
  return TRUE;
}

void PartitionChoiceDialog::OnOK() {
  PartitionSearchWanted = IsDlgButtonChecked(IDC_USE_EXISTING_PARTITIONS) == BST_CHECKED ? 0 : 1;
  SkinnedDialog::OnOK();
}

DriveInfoDialog::DriveInfoDialog(CWnd* parent) : SkinnedDialog(IDD_DRIVE_INFORMATION, IDB_SKIN_SMALL_DIALOG, parent) {}

BOOL DriveInfoDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  const std::vector<std::u16string> values = source::DriveInformationValues();
  for (int i = 0; i < 8; ++i) {
    MakeTransparent(m_values[i], IDC_DRIVE_VALUE_1 + i);
    SetDlgItemText(IDC_DRIVE_VALUE_1 + i, CString::FromUtf16(values[static_cast<size_t>(i)]));
  }
  m_labels.Attach(*this);
  return TRUE;
}
