#include "app/dialogs/recovery_settings_dialog.h"

#include "app/logic/recovery_settings_choice.h"
#include "engine/records/recovery_settings.h"
#include "platform/classlib/win/cdc.h"
#include "res/resource.h"

namespace {

constexpr int kGroupIds[] = {IDC_SECTORS_GROUP, IDC_DUPLICATES_GROUP, IDC_DELETED_GROUP, IDC_BAD_SECTORS_GROUP};
constexpr int kFirstRadio = IDC_RENAME_DUPLICATES;   // the six radios run from here
constexpr int kFirstDeletedRadio = IDC_INCLUDE_DELETED;
constexpr COLORREF kNavy = RGB(20, 42, 82);

}  // namespace

RecoverySettingsDialog::RecoverySettingsDialog(CWnd* pParentWnd)
    : SkinnedDialog(IDD_RECOVERY_SETTINGS, IDB_SKIN_SETTINGS, pParentWnd) {}

BOOL RecoverySettingsDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  LOGFONT caption{};
  caption.lfHeight = 16;
  caption.lfWeight = FW_BOLD;
  caption.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpyW(caption.lfFaceName, L"Arial");
  for (int i = 0; i < 4; ++i) {
    if (!m_groups[i].SubclassDlgItem(kGroupIds[i], this)) continue;
    // The caption's background is the skin under its middle.
    CRect area;
    m_groups[i].GetWindowRect(area);
    ScreenToClient(area);
    const COLORREF skin = app::SkinBitmapPixel(IDB_SKIN_SETTINGS, area.left + 20, area.top + 8);
    m_groups[i].SetFont(caption).SetCaptionTextColor(kNavy).SetBorderColor(kNavy).SetBackgroundColor(skin);
  }
  for (int i = 0; i < 6; ++i) m_radios[i].SubclassDlgItem(kFirstRadio + i, this);
  m_labels.Attach(*this);

  const app::SettingsChoice choice = app::ChoiceOfSettings(RecoverySettings);
  FillList(m_sectorsPerRead, IDC_SECTORS_PER_READ, app::kMostSectorsPerRead, choice.sectorsItem);
  FillList(m_retries, IDC_RETRIES, app::kMostRetries, choice.retriesItem);
  if (choice.duplicateRadio >= 0) CheckDlgButton(kFirstRadio + choice.duplicateRadio, BST_CHECKED);
  if (choice.deletedRadio >= 0) CheckDlgButton(kFirstDeletedRadio + choice.deletedRadio, BST_CHECKED);
  return TRUE;
}

void RecoverySettingsDialog::FillList(CComboBox& list, int id, uint32_t most, int selected) {
  if (!list.SubclassDlgItem(static_cast<UINT>(id), this)) return;
  for (uint32_t value = 1; value <= most; ++value) {
    CString text;
    text.Format(_T("%u"), value);
    list.AddString(text);
  }
  list.SetCurSel(selected);
}

int RecoverySettingsDialog::CheckedRadio(int first) const {
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(first + i) == BST_CHECKED) return i;
  }
  return -1;
}

void RecoverySettingsDialog::OnOK() {
  app::SettingsChoice choice;
  choice.sectorsItem = m_sectorsPerRead.GetCurSel();
  choice.retriesItem = m_retries.GetCurSel();
  choice.duplicateRadio = CheckedRadio(kFirstRadio);
  choice.deletedRadio = CheckedRadio(kFirstDeletedRadio);
  RecoverySettings = app::ApplySettingsChoice(RecoverySettings, choice);
  EndDialog(IDOK);
}
