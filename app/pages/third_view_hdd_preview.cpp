// Page 4's hand-off of a file row to the preview pane: the file's data is written from the source into
// a temporary file (once, while it stays the file shown) and the pane is given that file.
#include <functional>
#include <optional>

#include "app/pages/third_view_hdd.h"
#include "app/results/preview_temp.h"
#include "app/results/result_records.h"
#include "app/results/result_rows.h"
#include "engine/fat/save_abort.h"
#include "engine/records/fat_records.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_parameters.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"
#include "preview/main_preview_view.h"
#include "preview/preview_extensions.h"
#include "preview/preview_host.h"

namespace {

// The record behind a file row, and how its data is written to a folder under a name.
struct PreviewSource {
  std::u16string name;
  uint64_t size = 0;
  bool hasSize = true;
  std::optional<uint32_t> folderId;  // FAT and NTFS: the containing folder
  std::function<uint32_t(const std::u16string& folder, const std::u16string& name)> write;
};

std::optional<PreviewSource> FindPreviewSource(uint32_t id) {
  PreviewSource source;
  if (RecoveryMode == records::kFileTrace) {
    for (const FileTraceHit& hit : FileTraceHitList) {
      if (hit.id != id) continue;
      const uint32_t start = hit.startSector;
      source.name = hit.fileName;
      source.hasSize = false;
      source.write = [start](const std::u16string& folder, const std::u16string& name) {
        return SaveLargeFile(folder, name, start);
      };
      return source;
    }
    return std::nullopt;
  }
  const uint16_t type = CurrentFileSystem.type;
  if (type == records::kFat16 || type == records::kFat32) {
    const FatEntryRecord* entry = FindFatEntry(id);
    if (entry == nullptr) return std::nullopt;
    const FatEntryRecord copy = *entry;
    source.name = copy.name;
    source.size = copy.size;
    source.folderId = copy.parentId;
    source.write = [copy](const std::u16string& folder, const std::u16string& name) {
      return SaveFatItems(folder, 0, copy.firstCluster, copy.size, name, copy.deleted);
    };
    return source;
  }
  if (type != records::kNtfs) return std::nullopt;
  auto fromNtfs = [&source](const auto& entry) {
    const uint64_t size = entry.size;
    const uint32_t sector = entry.id;
    const uint32_t deleted = entry.deleted;
    source.name = entry.name;
    source.size = size;
    source.folderId = entry.parentId;
    source.write = [size, sector, deleted](const std::u16string& folder, const std::u16string& name) {
      return SaveNtfsItems(folder, name, size, sector, 0, deleted);
    };
  };
  if (RecoveryMode == records::kQuickScan) {
    const NtfsEntryRecord* entry = FindNtfsEntry(id);
    if (entry == nullptr) return std::nullopt;
    fromNtfs(*entry);
  } else {
    const NtfsFoundEntryRecord* entry = FindNtfsFoundEntry(id);
    if (entry == nullptr) return std::nullopt;
    fromNtfs(*entry);
  }
  return source;
}

}  // namespace

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
  const std::optional<PreviewSource> source = id ? FindPreviewSource(*id) : std::nullopt;
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
    // A save the user stopped leaves its abort flag set; a preview is no save and must not be refused.
    SaveAbortFlag = 0;
    BeginResultsBusy();
    const uint32_t written = source->write(folder, tempName);
    EndResultsBusy();
    if (written != 1) {
      LastPreview = LastPreviewRecord{u"", 0, u""};
      ClearPreview(false, u"");
      return;
    }
    LastPreview.tempPath = folder + tempName;
    RememberPreviewTempFile(LastPreview.tempPath);
  } else if (source->folderId) {
    BuildItemPath(*source->folderId, source->name);
  }
  PreviewListFile(LastPreview.tempPath, 1);
}
