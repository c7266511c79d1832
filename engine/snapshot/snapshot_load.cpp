// The snapshot loaders. A snapshot is read whole into memory and checked, and the source with it, before
// anything of the engine changes: a damaged or truncated file, or one of another source, is refused with a
// message and leaves the results that were there (record lists, scan parameters, tree and list) as they
// were, never half loaded. The file is opened for reading only, so a read-only snapshot loads.
#include <string>

#include "engine/host/host.h"
#include "engine/host/result_tree_host.h"
#include "engine/host/snapshot_host.h"
#include "engine/image/read_sectors.h"
#include "engine/image/source_values.h"
#include "engine/ntfs/mft_record.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/result_tree_builders.h"
#include "engine/records/scan_records.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/boot_parameters.h"
#include "engine/scan/selected_signatures.h"
#include "engine/snapshot/snapshot.h"
#include "engine/snapshot/snapshot_format.h"
#include "engine/snapshot/snapshot_mft.h"
#include "engine/snapshot/snapshot_source.h"
#include "platform/os/os.h"

namespace {

using snapshot::LoadedSnapshot;

// Every record list of the engine, with the counts their appenders raise.
void FreeEngineRecordLists() {
  FreeScanRecordLists();
  FreeNtfsRecordLists();
  FreeExtensiveScanLists();
  FreeFileTraceResultList();
  FreeFileTraceSignatureList();
}

// The progress dialog of one load. Whatever way the load ends, the dialog is closed; a load that fails
// gives SnapshotLoading back the value it had, as the results it leaves were shown with it.
class LoadProgress {
 public:
  explicit LoadProgress(bool snapshotLoading)
      : snapshotLoading_(snapshotLoading), loadingBefore_(SnapshotLoading.load()) {
    host::ProgressDialogHost* dialog = host::Current().progressDialog;
    if (dialog != nullptr && dialog->Create()) {
      dialog_ = dialog;
      dialog_->SetRange(0, 100);
      dialog_->ShowWindow(true);
    }
    if (snapshotLoading_) SnapshotLoading = 1;
    if (dialog_ != nullptr) dialog_->SetPos(0);
  }
  ~LoadProgress() {
    if (dialog_ != nullptr) dialog_->DestroyWindow();
    if (snapshotLoading_ && !loaded_) SnapshotLoading = loadingBefore_;
  }
  LoadProgress(const LoadProgress&) = delete;
  LoadProgress& operator=(const LoadProgress&) = delete;

  host::ProgressDialogHost* dialog() const { return dialog_; }
  void Hide() {
    if (dialog_ != nullptr) dialog_->ShowWindow(false);
  }
  // The load succeeded: 100, and the dialog closes.
  void Finish() {
    loaded_ = true;
    if (dialog_ == nullptr) return;
    dialog_->SetPos(100);
    dialog_->DestroyWindow();
    dialog_ = nullptr;
  }

 private:
  bool snapshotLoading_;
  uint32_t loadingBefore_;
  bool loaded_ = false;
  host::ProgressDialogHost* dialog_ = nullptr;
};

void ReportLoadError(const std::u16string& text) {
  if (host::MessageHost* messages = host::Current().messages) messages->MessageDialog(text, host::kError);
}

// Reads the snapshot at path whole. false when it cannot be opened (nothing is reported: the load
// command has reported a missing file) or is refused (reported).
bool ReadSnapshotFile(const std::u16string& path, std::u16string_view letters, LoadProgress& progress,
                      LoadedSnapshot* loaded) {
  os::File file;
  uint64_t size = 0;
  if (!file.OpenRead(snapshot::LoadPathFor(path), os::Share::Read) || !file.Size(&size)) return false;
  snapshot::SnapshotInput in(file, size);
  const snapshot::ReadFault fault = snapshot::ReadSnapshot(in, letters, loaded, progress.dialog());
  if (fault == snapshot::ReadFault::kNone) return true;
  ReportLoadError(snapshot::ReadFaultMessage(fault));
  return false;
}

void CommitParameters(const LoadedSnapshot& loaded) {
  ScanRange = loaded.scanRange;
  const uint32_t rootDirectory = CurrentFileSystem.rootDirectory;  // not stored in a snapshot
  CurrentFileSystem = loaded.fileSystem;
  CurrentFileSystem.rootDirectory = rootDirectory;
}

void CommitFat(const LoadedSnapshot& loaded) {
  ScanCounters.folderCount = 0;
  for (const FatFolderRecord& f : loaded.fatFolders) {
    AppendFatFolder(f.name, f.firstCluster, f.parentId, f.firstDateWord, f.secondDateWord, host::kNoTreeKey,
                    f.deleted);
  }
  // Ids are given again in file order by the appender.
  ScanCounters.entryCount = 0;
  for (const FatEntryRecord& e : loaded.fatEntries) {
    FatEntryRecord& entry =
        AppendFatEntry(e.name, e.firstCluster, e.parentId, e.firstDateWord, e.secondDateWord, e.size, e.deleted);
    entry.foundName = e.foundName;
    entry.times = e.times;
    ++ScanCounters.entryCount;
  }
}

// A FAT file system the snapshot's Extensive Scan rebuilt without a boot sector: the live volume around it, as the
// reading of the chosen file system found it. Without the image there is nothing to read (nor can its files be saved).
void FindVolumeAroundLoaded(const LoadedSnapshot& loaded) {
  FatVolumeAroundChosen = VolumeAroundRecord{};
  if (loaded.letter == snapshot::kExtensiveScanLetter && SourceReadable()) FindFatVolumeAroundChosen([] { return false; });
}

void CommitNtfs(const LoadedSnapshot& loaded) {
  ScanCounters.folderCount = 0;
  for (const NtfsFolderRecord& f : loaded.ntfsFolders) {
    AppendNtfsFolder(f.name, f.recordNumber, f.parentId, f.creationTime, f.modificationTime, host::kNoTreeKey,
                     f.deleted);
  }
  for (const NtfsEntryRecord& e : loaded.ntfsEntries) {
    AppendNtfsEntry(e.id, e.name, e.recordNumber, e.parentId, e.creationTime, e.modificationTime, e.deleted, e.size)
        .foundName = e.foundName;
  }
  ScanCounters.entryCount = static_cast<uint32_t>(loaded.ntfsEntries.size());
  snapshot::MarkLoadedEntries();
}

// The size the hits were saved with before the snapshot was written; a snapshot that does not say (one
// written before the size was kept) gets the size the file-types dialog offers first.
uint32_t FileTraceSizeOf(const LoadedSnapshot& loaded) {
  const uint32_t stored = loaded.fileTraceSize;
  return stored >= 1 && stored <= kLargestFileTraceSizeMb ? stored : kDefaultFileTraceSizeMb;
}

void CommitFileTrace(const LoadedSnapshot& loaded) {
  LargeFileSize = FileTraceSizeOf(loaded);
  ScanCounters.folderCount = 0;
  for (const snapshot::StoredSignature& s : loaded.signatures) {
    AppendSelectedSignature(s.extension, s.group, s.length, s.signatureHex, s.secondValue);
  }
  ScanCounters.entryCount = 0;
  for (const FileTraceHit& h : loaded.hits) {
    AppendFileTraceHit(h.fileName, h.extension, h.group, h.id, h.startSector);
    ++ScanCounters.entryCount;
  }
}

// Empties the results tree and builds it again under a top node "Root" with addNodes, then shows it in
// report view with "Root" as the node listed, and has listRoot list the root folder.
template <typename AddNodes, typename ListRoot>
void RebuildResultsTree(AddNodes addNodes, ListRoot listRoot) {
  const host::Hosts& hosts = host::Current();
  host::TreeKey root = host::kNoTreeKey;
  if (hosts.resultTree != nullptr) {
    hosts.resultTree->DeleteAllItems();
    root = hosts.resultTree->AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
  }
  ScanCounters.processedCount = 0;
  ScanThreadControl.stopFlag = 0;
  if (hosts.scanPage != nullptr) hosts.scanPage->HideStopButton();
  addNodes(root);
  if (hosts.resultTree != nullptr) hosts.resultTree->Expand(root);
  if (hosts.resultList != nullptr) hosts.resultList->SetReportView();
  if (hosts.resultTree != nullptr) hosts.resultTree->SetCurrentNode(root);
  listRoot();
}

// The source the snapshot was taken from, and the results page.
void FinishLoad(const LoadedSnapshot& loaded, LoadProgress& progress) {
  CurrentDriveIndex = loaded.driveIndex;
  SourceKind = loaded.sourceKind;
  // Only a gate: reads from the image go on whether or not the physical drive opens.
  OpenPhysicalDrive();
  // The running flag stays as the last worker left it: no worker runs after a load, and one that said so
  // would leave Exit waiting for it for ever.
  ScanThreadControl.stopFlag = 0;
  progress.Finish();
  const host::Hosts& hosts = host::Current();
  if (hosts.resultTree != nullptr) hosts.resultTree->SetFocus();
  ReopenSnapshotVolume(ScanRange.driveField);
  if (hosts.snapshotFrame != nullptr) hosts.snapshotFrame->ShowResultsPage();
}

uint32_t RecoveryModeOf(char16_t letter) {
  return letter == snapshot::kExtensiveScanLetter ? records::kExtensiveScan : records::kQuickScan;
}

// Reads the snapshot at path whole and checks it against the source open now; false, with the refusal
// reported, when it cannot be loaded.
bool ReadMatchingSnapshot(const std::u16string& path, std::u16string_view letters, LoadProgress& progress,
                          LoadedSnapshot* loaded) {
  if (!ReadSnapshotFile(path, letters, progress, loaded)) return false;
  if (snapshot::SourceMatchesSnapshot(*loaded, ntfs::CurrentDevicePath())) return true;
  progress.Hide();
  // An NTFS snapshot needs its image's MFT: with none open there is nothing to compare, only to ask for.
  const bool imageNeeded = loaded->letter != snapshot::kFileTraceLetter && loaded->fileSystem.type == records::kNtfs &&
                           !SourceReadable();
  if (host::SnapshotFrameHost* frame = host::Current().snapshotFrame) {
    frame->PlainMessageBox(imageNeeded ? kSnapshotImageNeededText : u"Source file and load recovery snapshot mismatch");
  }
  return false;
}

}  // namespace

uint32_t LoadSnapshotTree(const std::u16string& path) {
  LoadProgress progress(true);
  LoadedSnapshot loaded;
  if (!ReadMatchingSnapshot(path, u"DA", progress, &loaded)) return 0;
  FreeEngineRecordLists();
  const bool ntfs = loaded.fileSystem.type == records::kNtfs;
  RecoveryMode = RecoveryModeOf(loaded.letter);
  CommitParameters(loaded);
  if (ntfs) {
    CommitNtfs(loaded);
    // An Extensive Scan of NTFS comes back as a Quick Scan: its entries are in NtfsEntryList now.
    RecoveryMode = records::kQuickScan;
    RebuildResultsTree([](host::TreeKey root) { AddNtfsFolders(root, records::kNtfsRootRecord); },
                       [] { ListNtfsFolder(records::kNtfsRootRecord); });
  } else {
    CommitFat(loaded);
    FindVolumeAroundLoaded(loaded);
    RebuildResultsTree([](host::TreeKey root) { AddFatFolders(root, records::kFatRootId); },
                       [] { ListFatFolder(records::kFatRootId); });
  }
  FinishLoad(loaded, progress);
  return 1;
}

uint32_t LoadSnapshotFlat(const std::u16string& path) {
  LoadProgress progress(false);
  LoadedSnapshot loaded;
  if (!ReadMatchingSnapshot(path, u"R", progress, &loaded)) return 0;
  FreeEngineRecordLists();
  RecoveryMode = records::kFileTrace;
  CommitParameters(loaded);
  CommitFileTrace(loaded);
  RebuildResultsTree([](host::TreeKey root) { AddFileTraceGroups(root); }, ListFileTraceGroups);
  FinishLoad(loaded, progress);
  return 1;
}

void ReopenSnapshotVolume(uint16_t driveField) {
  if (SourceKind.load() != kSourceLogicalDrive) return;
  ScanRange.driveField = driveField;
  host::ScanPageHost* page = host::Current().scanPage;
  const std::u16string drive = page != nullptr ? page->LogicalDriveName(driveField) : std::u16string();
  if (drive.size() < 2) {
    VolumeHandle.SetInvalid();  // no such drive: what a failed open leaves
    return;
  }
  OpenVolumeHandle(drive);
}
