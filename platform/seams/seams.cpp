#include "seams.h"

#include <atomic>

namespace seams {
namespace {

// Workers show message boxes from their own threads, so the installed seams are read atomically.
std::atomic<MessageBoxSeam*> installedMessageBoxes{nullptr};
std::atomic<FileDialogSeam*> installedFileDialogs{nullptr};
std::atomic<ShellSeam*> installedShell{nullptr};

template <typename Seam>
Seam& CurrentOr(std::atomic<Seam*>& installed, Seam& platform) {
  Seam* seam = installed.load();
  return seam ? *seam : platform;
}

}  // namespace

MessageBoxSeam& MessageBoxes() { return CurrentOr(installedMessageBoxes, PlatformMessageBoxes()); }
FileDialogSeam& FileDialogs() { return CurrentOr(installedFileDialogs, PlatformFileDialogs()); }
ShellSeam& Shell() { return CurrentOr(installedShell, PlatformShell()); }

MessageBoxSeam* InstallMessageBoxes(MessageBoxSeam* seam) { return installedMessageBoxes.exchange(seam); }
FileDialogSeam* InstallFileDialogs(FileDialogSeam* seam) { return installedFileDialogs.exchange(seam); }
ShellSeam* InstallShell(ShellSeam* seam) { return installedShell.exchange(seam); }

int DecliningAnswer(uint32_t style) {
  switch (style & kButtonSetMask) {
    case kButtonsOk:
      return kOk;
    case kButtonsAbortRetryIgnore:
      return kAbort;
    case kButtonsYesNo:
      return kNo;
    default:
      return kCancel;
  }
}

}  // namespace seams
