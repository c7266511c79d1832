// Page 4's hand-off of a file row to the preview pane: the file's data is written from the source into
// a temporary file (once, while it stays the file shown) and the pane is given that file.
#include <optional>

#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "app/results/result_records.h"
#include "app/results/result_rows.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/preview_copy.h"
#include "platform/os/os.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "preview/preview_host.h"

void CThirdView_HDD::SetPreviewFlags(int flag1, int flag2) {
  if (m_links.setPreviewFlags) m_links.setPreviewFlags(flag1, flag2);
}

uint32_t CThirdView_HDD::IsPreviewable(const std::u16string& path) {
  SetPreviewFlags(-1, 0);
  CString lower = CString::FromUtf16(path);
  lower.MakeLower();
  const std::u16string extension = u"." + PreviewNameExtension(lower.ToUtf16());
  if (IsPreviewableExtension(lower.ToUtf16(), extension) == 1) return 1;
  PreviewListFile(u"", 1);
  return 0;
}

void CThirdView_HDD::PreviewListFile(const std::u16string& path, uint32_t show) {
  if (show == 0) return;
  BeginResultsBusy();
  const CString file = CString::FromUtf16(path);
  const CString extension = CString::FromUtf16(path.empty() ? std::u16string() : PreviewPaneExtension(path));
  if (PreviewDocument* document = CurrentPreviewDocument()) document->m_recoveryMode = RecoveryMode;
  if (m_links.showPreview) {
    m_links.showPreview(file, extension);
  } else if (m_preview != nullptr) {
    m_preview->ClosePreviewViews();
    m_preview->ShowPreviewForFile(file, extension);
  }
  EndResultsBusy();
  SetPreviewFlags(0, -1);
}

void CThirdView_HDD::BuildItemPath(uint32_t folderId, const std::u16string& name) {
  std::u16string path = u"\\";
  std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
  if (const host::TreeKey node = records->NodeOfFolder(folderId); node != host::kNoTreeKey) {
    const std::u16string folder = m_tree.GetTreePath(ResultTreeCtrl::Handle(node)).ToUtf16();
    if (!folder.empty()) path += folder + u"\\";
  }
  PreviewItemPath = path + name;
}

void CThirdView_HDD::ClearPreview(bool folderRow, const std::u16string& rowName) {
  if (folderRow) SetPreviewFlags(0, 1);
  LastPreview.text = rowName;
  PreviewListFile(u"", 1);
}

void CThirdView_HDD::PreviewRow(int row) {
  if (row < 0 || row >= m_list.CTKListCtrl::GetItemCount()) return;
  PreviewItemPath.clear();
  const bool fileTrace = RecoveryMode == records::kFileTrace;
  const std::u16string name = m_list.CTKListCtrl::GetItemText(row, 0).ToUtf16();
  const std::u16string type = m_list.CTKListCtrl::GetItemText(row, 1).ToUtf16();
  const std::u16string idText = m_list.CTKListCtrl::GetItemText(row, static_cast<int>(results::IdColumn(fileTrace))).ToUtf16();
  const results::RowKind kind = m_list.Kind(row);
  if (kind != results::RowKind::kFile) {
    ClearPreview(true, u"");
    return;
  }
  const std::optional<uint32_t> id = results::ParseId(idText);
  const std::optional<PreviewFile> source = id ? FindPreviewFile(*id) : std::nullopt;
  if (!source) {
    // A File Trace row without a hit ("-"), or a row whose record is gone.
    ClearPreview(false, name);
    return;
  }
  const FilePreviewStep step =
      ChooseFilePreviewStep(IsPreviewable(source->name) == 1, source->hasSize, source->size);
  if (step == FilePreviewStep::kRefuse) {
    SetPreviewFlags(1, 0);
    LastPreview.text = name;
    return;
  }
  if (step == FilePreviewStep::kLargeFile) {
    PreviewListFile(kLargeFilePath, 1);
    m_list.SetFocus();
    LastPreview.text = name;
    return;
  }
  const std::u16string folder = os::TempFolderPath();
  // The file shown last is shown again from its temporary file, while that file is there.
  if (IsNewPreview(folder, source->name, *id) == 1 || LastPreview.tempPath.empty() ||
      !os::FileExists(LastPreview.tempPath)) {
    const std::u16string tempName = MakePreviewTempName(folder, source->name);
    KillOfficePreviewApps();
    if (source->folderId) BuildItemPath(*source->folderId, source->name);
    BeginResultsBusy();
    const PreviewCopy written = WritePreviewCopy(*source, folder, tempName);
    EndResultsBusy();
    if (written != PreviewCopy::kWritten) {
      LastPreview = LastPreviewRecord{u"", 0, u""};
      if (written == PreviewCopy::kImageNeeded) {
        // No image to read it from (a snapshot loaded alone): the pane says so in place and what to open,
        // for this file and each next one, without stopping the user at every click or arrow key.
        PreviewListFile(kImageNeededPath, 1);
      } else {
        ClearPreview(false, u"");
      }
      return;
    }
    LastPreview.tempPath = folder + tempName;
    RememberPreviewTempFile(LastPreview.tempPath);
  } else if (source->folderId) {
    BuildItemPath(*source->folderId, source->name);
  }
  PreviewListFile(LastPreview.tempPath, 1);
}
