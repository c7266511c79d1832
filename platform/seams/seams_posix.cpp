// The Linux build has no windows: a box is written to the error stream and declined, dialogs are
// cancelled, and nothing is handed to a shell.
#include <cstdio>

#include "platform/os/os.h"
#include "open_address.h"
#include "seams.h"

namespace seams {
namespace {

class StreamMessageBoxes : public MessageBoxSeam {
 public:
  int Show(const MessageBoxRequest& request) override {
    std::fprintf(stderr, "%s: %s\n", os::ToUtf8(request.caption).c_str(),
                 os::ToUtf8(request.text).c_str());
    return DecliningAnswer(request.style);
  }
};

class CancelledFileDialogs : public FileDialogSeam {
 public:
  FileDialogResult ChooseFiles(const FileDialogRequest&) override { return {}; }
  std::u16string ChooseFolder(const FolderRequest&) override { return {}; }
};

class NoShell : public ShellSeam {
 public:
  intptr_t Execute(const ShellRequest&) override { return 31; }  // no association
  uint32_t StartProcess(const std::u16string&, int) override { return 2; }  // file not found
};

}  // namespace

std::u16string RegisteredBrowserCommand() { return {}; }

MessageBoxSeam& PlatformMessageBoxes() {
  static StreamMessageBoxes seam;
  return seam;
}
FileDialogSeam& PlatformFileDialogs() {
  static CancelledFileDialogs seam;
  return seam;
}
ShellSeam& PlatformShell() {
  static NoShell seam;
  return seam;
}

}  // namespace seams
