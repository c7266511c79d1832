#include "app/pages/source_dialogs.h"

#include "engine/partitions/partition_table.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

std::u16string Decimal(uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

PartitionChoiceDialog::PartitionChoiceDialog(CWnd* parent)
    : SkinnedDialog(IDD_PARTITION_CHOICE, IDB_SKIN_SMALL_DIALOG, parent) {}

BOOL PartitionChoiceDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  if (m_group.SubclassDlgItem(IDC_PARTITION_CHOICE_GROUP, this)) {
    const COLORREF skin = app::SkinBitmapPixel(IDB_SKIN_SMALL_DIALOG, 40, 40);
    m_group.SetCaptionTextColor(kWhite).SetBorderColor(kWhite).SetBackgroundColor(skin);
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

std::vector<std::u16string> DriveInformationValues() {
  const FileSystemRecord& fs = CurrentFileSystem;
  std::u16string name;
  if (fs.type == records::kNtfs) name = u"NTFS";
  if (fs.type == records::kFat32) name = u"FAT32";
  if (fs.type == records::kFat16) name = u"FAT16";
  const bool trace = RecoveryMode == records::kFileTrace;
  // File Trace counts what it found in the folder counter.
  if (trace) ScanCounters.entryCount = ScanCounters.folderCount;
  uint32_t files = ScanCounters.entryCount;
  if (RecoveryMode == records::kExtensiveScan && fs.type == records::kNtfs) files = ScanCounters.fileRecordCount;
  const bool fat = fs.type == records::kFat16 || fs.type == records::kFat32;
  const bool ntfs = fs.type == records::kNtfs;
  // A FAT file system starts its reserved sectors before its first table; NTFS counts clusters from its start.
  const uint32_t start = ntfs ? fs.clusterBase
                              : (fs.firstFatSector >= fs.reservedSectors ? fs.firstFatSector - fs.reservedSectors : 0);
  return {name,
          Decimal(start),
          trace ? u"0" : Decimal(ScanCounters.folderCount),
          Decimal(files),
          Decimal(fs.sectorsPerCluster),
          fat ? Decimal(fs.firstFatSector) : u"N/A",
          fat ? Decimal(fs.secondFatSector) : u"N/A",
          ntfs ? Decimal(fs.mftSector) : u"N/A"};
}

DriveInfoDialog::DriveInfoDialog(CWnd* parent) : SkinnedDialog(IDD_DRIVE_INFORMATION, IDB_SKIN_SMALL_DIALOG, parent) {}

BOOL DriveInfoDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  const std::vector<std::u16string> values = DriveInformationValues();
  for (int i = 0; i < 8; ++i) {
    MakeTransparent(m_values[i], IDC_DRIVE_VALUE_1 + i);
    SetDlgItemText(IDC_DRIVE_VALUE_1 + i, CString::FromUtf16(values[static_cast<size_t>(i)]));
  }
  m_labels.Attach(*this);
  return TRUE;
}
