// The seams through which the program's code reaches what would block or leave the process: message
// boxes, file and folder dialogs, the shell and other programs. The program runs with the platform's
// implementations; a test installs its own and puts the previous ones back afterwards.
#pragma once

#include "file_dialog_seam.h"
#include "message_box_seam.h"
#include "shell_seam.h"

namespace seams {

MessageBoxSeam& MessageBoxes();
FileDialogSeam& FileDialogs();
ShellSeam& Shell();

// Each installs a seam (none: the platform's) and returns the one it replaces. Install on the
// user-interface thread before any worker that may call the seam starts.
MessageBoxSeam* InstallMessageBoxes(MessageBoxSeam* seam);
FileDialogSeam* InstallFileDialogs(FileDialogSeam* seam);
ShellSeam* InstallShell(ShellSeam* seam);

// The platform's own implementations.
MessageBoxSeam& PlatformMessageBoxes();
FileDialogSeam& PlatformFileDialogs();
ShellSeam& PlatformShell();

}  // namespace seams
