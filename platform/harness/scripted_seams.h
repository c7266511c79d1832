// Test doubles of the seams: message boxes answered from a script, file and folder dialogs answered from
// presets, and the shell and started processes recorded instead of run. Each keeps a log of what the
// program asked, in order. Safe to call from a worker thread.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/seams/seams.h"

namespace harness {

class ScriptedMessageBoxes : public seams::MessageBoxSeam {
 public:
  struct Shown {
    uint32_t style = 0;
    std::u16string caption;
    std::u16string text;
    int answer = 0;
    bool scripted = true;  // false: no answer was queued, the box was declined
    bool html = false;     // shown by the program's own message box (the text is markup)
    uint32_t icon() const { return style & seams::kIconMask; }
    // The message kind of the icon: 1 information, 2 error, 3 question; 0 for any other icon.
    uint32_t kind() const {
      switch (icon()) {
        case seams::kIconInformation: return 1;
        case seams::kIconError: return 2;
        case seams::kIconQuestion: return 3;
        default: return 0;
      }
    }
    uint32_t buttons() const { return style & seams::kButtonSetMask; }
  };

  // Queues the answer of the next box.
  void Answer(int answer);
  int Show(const seams::MessageBoxRequest& request) override;

  std::vector<Shown> Log() const;
  size_t Pending() const;      // answers queued but not used
  size_t Unscripted() const;   // boxes shown with no answer queued

 private:
  mutable std::mutex lock_;
  std::deque<int> answers_;
  std::vector<Shown> log_;
};

class ScriptedFileDialogs : public seams::FileDialogSeam {
 public:
  // Presets of the next file dialog: the chosen paths, or a cancel.
  void Choose(std::vector<std::u16string> paths);
  void CancelFiles();
  // Presets of the next folder browser: the chosen folder, or a cancel (an empty path).
  void ChooseFolderPath(std::u16string folder);

  seams::FileDialogResult ChooseFiles(const seams::FileDialogRequest& request) override;
  std::u16string ChooseFolder(const seams::FolderRequest& request) override;

  std::vector<seams::FileDialogRequest> FileRequests() const;
  std::vector<seams::FolderRequest> FolderRequests() const;
  size_t Pending() const;
  size_t Unscripted() const;   // dialogs opened with no preset (they were cancelled)

 private:
  mutable std::mutex lock_;
  std::deque<seams::FileDialogResult> files_;
  std::deque<std::u16string> folders_;
  std::vector<seams::FileDialogRequest> fileLog_;
  std::vector<seams::FolderRequest> folderLog_;
  size_t unscripted_ = 0;
};

class RecordingShell : public seams::ShellSeam {
 public:
  // The results the recorded calls report; the defaults are successes.
  void SetExecuteResult(intptr_t result);
  void SetStartResult(uint32_t result);

  intptr_t Execute(const seams::ShellRequest& request) override;
  uint32_t StartProcess(const std::u16string& commandLine, int show) override;

  std::vector<seams::ShellRequest> Executed() const;
  std::vector<std::u16string> Started() const;

 private:
  mutable std::mutex lock_;
  intptr_t executeResult_ = 42;
  uint32_t startResult_ = 33;
  std::vector<seams::ShellRequest> executed_;
  std::vector<std::u16string> started_;
};

// Installs the three doubles for its lifetime and puts the previous seams back afterwards.
class ScopedSeams {
 public:
  ScopedSeams();
  ~ScopedSeams();
  ScopedSeams(const ScopedSeams&) = delete;
  ScopedSeams& operator=(const ScopedSeams&) = delete;

  ScriptedMessageBoxes boxes;
  ScriptedFileDialogs dialogs;
  RecordingShell shell;

 private:
  seams::MessageBoxSeam* previousBoxes_;
  seams::FileDialogSeam* previousDialogs_;
  seams::ShellSeam* previousShell_;
};

}  // namespace harness
