// The snapshot writers: ask for the file, confirm a replacement, write, and check every write and the
// close; a snapshot that could not be written whole is deleted, so that no truncated file remains, and
// the file it was to replace is kept.
#include <string>

#include "engine/host/host.h"
#include "engine/host/snapshot_host.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/snapshot/snapshot.h"
#include "engine/snapshot/snapshot_format.h"
#include "platform/os/os.h"
#include "platform/os/markup_escape.h"

namespace {

void ReportSaveError(const std::u16string& text) {
  if (host::MessageHost* messages = host::Current().messages) messages->MessageDialog(text, host::kError);
}

bool ConfirmReplace(const std::u16string& path) {
  host::MessageHost* messages = host::Current().messages;
  return messages != nullptr &&
         messages->ConfirmDialog(msgbox::EscapeMarkup(path) + u" already exists.\r\nDo you want to replace it?", host::kQuestion) == 1;
}

// The chosen file, or empty when the user cancelled or did not want it replaced.
std::u16string ChooseSnapshotFile() {
  host::SnapshotFrameHost* frame = host::Current().snapshotFrame;
  std::u16string chosen;
  if (frame == nullptr || !frame->AskSnapshotSavePath(&chosen)) return {};
  const std::u16string path = snapshot::SavePathFor(chosen);
  if (os::FileExists(path) && !ConfirmReplace(path)) return {};
  return path;
}

template <typename WriteBody>
uint32_t SaveSnapshot(char16_t letter, WriteBody writeBody) {
  const std::u16string path = ChooseSnapshotFile();
  if (path.empty()) return 0;
  // Written beside the file it replaces and put in its place only once whole: a write that fails leaves
  // the old snapshot as it was.
  const std::u16string partial = path + u".saving";
  os::File file;
  if (!file.OpenWrite(partial)) {
    ReportSaveError(u"Unable to open the file");
    return 0;
  }
  snapshot::SnapshotOutput out(file);
  snapshot::WriteHeader(out, letter);
  snapshot::WriteParameters(out);
  bool written = writeBody(out);
  snapshot::WriteTrailer(out);
  written = out.Flush() && written;
  written = file.Close() && written;
  written = written && os::RenameOver(partial, path);
  if (!written) {
    os::RemoveFile(partial);
    ReportSaveError(u"Unable to write the file " + msgbox::EscapeMarkup(path) + u"; the snapshot was not saved.");
    return 0;
  }
  return 1;
}

}  // namespace

uint32_t SaveFileSystemSnapshot() {
  const char16_t letter =
      RecoveryMode == records::kExtensiveScan ? snapshot::kExtensiveScanLetter : snapshot::kQuickScanLetter;
  uint32_t storedEntries = 0;
  const uint32_t saved = SaveSnapshot(letter, [&](snapshot::SnapshotOutput& out) {
    return snapshot::WriteFileSystemBody(out, letter, &storedEntries);
  });
  if (saved == 1 && letter == snapshot::kExtensiveScanLetter && CurrentFileSystem.type == records::kNtfs) {
    ScanCounters.entryCount = storedEntries;
  }
  return saved;
}

uint32_t SaveRecoverySnapshot() {
  return SaveSnapshot(snapshot::kFileTraceLetter,
                      [](snapshot::SnapshotOutput& out) { return snapshot::WriteFileTraceBody(out); });
}
