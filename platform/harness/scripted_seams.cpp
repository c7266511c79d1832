#include "scripted_seams.h"

#include <utility>

namespace harness {

using Guard = std::lock_guard<std::mutex>;

void ScriptedMessageBoxes::Answer(int answer) {
  Guard guard(lock_);
  answers_.push_back(answer);
}

int ScriptedMessageBoxes::Show(const seams::MessageBoxRequest& request) {
  Guard guard(lock_);
  Shown shown{request.style, request.caption, request.text, 0, !answers_.empty(), request.html};
  if (shown.scripted) {
    shown.answer = answers_.front();
    answers_.pop_front();
  } else {
    shown.answer = seams::DecliningAnswer(request.style);
  }
  log_.push_back(shown);
  return shown.answer;
}

std::vector<ScriptedMessageBoxes::Shown> ScriptedMessageBoxes::Log() const {
  Guard guard(lock_);
  return log_;
}

size_t ScriptedMessageBoxes::Pending() const {
  Guard guard(lock_);
  return answers_.size();
}

size_t ScriptedMessageBoxes::Unscripted() const {
  Guard guard(lock_);
  size_t count = 0;
  for (const Shown& shown : log_) count += shown.scripted ? 0 : 1;
  return count;
}

void ScriptedFileDialogs::Choose(std::vector<std::u16string> paths) {
  Guard guard(lock_);
  files_.push_back({true, std::move(paths)});
}

void ScriptedFileDialogs::CancelFiles() {
  Guard guard(lock_);
  files_.push_back({});
}

void ScriptedFileDialogs::ChooseFolderPath(std::u16string folder) {
  Guard guard(lock_);
  folders_.push_back(std::move(folder));
}

seams::FileDialogResult ScriptedFileDialogs::ChooseFiles(const seams::FileDialogRequest& request) {
  Guard guard(lock_);
  fileLog_.push_back(request);
  if (files_.empty()) {
    ++unscripted_;
    return {};
  }
  seams::FileDialogResult result = std::move(files_.front());
  files_.pop_front();
  return result;
}

std::u16string ScriptedFileDialogs::ChooseFolder(const seams::FolderRequest& request) {
  Guard guard(lock_);
  folderLog_.push_back(request);
  if (folders_.empty()) {
    ++unscripted_;
    return {};
  }
  std::u16string folder = std::move(folders_.front());
  folders_.pop_front();
  return folder;
}

std::vector<seams::FileDialogRequest> ScriptedFileDialogs::FileRequests() const {
  Guard guard(lock_);
  return fileLog_;
}

std::vector<seams::FolderRequest> ScriptedFileDialogs::FolderRequests() const {
  Guard guard(lock_);
  return folderLog_;
}

size_t ScriptedFileDialogs::Pending() const {
  Guard guard(lock_);
  return files_.size() + folders_.size();
}

size_t ScriptedFileDialogs::Unscripted() const {
  Guard guard(lock_);
  return unscripted_;
}

void RecordingShell::SetExecuteResult(intptr_t result) {
  Guard guard(lock_);
  executeResult_ = result;
}

void RecordingShell::SetStartResult(uint32_t result) {
  Guard guard(lock_);
  startResult_ = result;
}

intptr_t RecordingShell::Execute(const seams::ShellRequest& request) {
  Guard guard(lock_);
  executed_.push_back(request);
  return executeResult_;
}

uint32_t RecordingShell::StartProcess(const std::u16string& commandLine, int) {
  Guard guard(lock_);
  started_.push_back(commandLine);
  return startResult_;
}

std::vector<seams::ShellRequest> RecordingShell::Executed() const {
  Guard guard(lock_);
  return executed_;
}

std::vector<std::u16string> RecordingShell::Started() const {
  Guard guard(lock_);
  return started_;
}

ScopedSeams::ScopedSeams()
    : previousBoxes_(seams::InstallMessageBoxes(&boxes)),
      previousDialogs_(seams::InstallFileDialogs(&dialogs)),
      previousShell_(seams::InstallShell(&shell)) {}

ScopedSeams::~ScopedSeams() {
  seams::InstallMessageBoxes(previousBoxes_);
  seams::InstallFileDialogs(previousDialogs_);
  seams::InstallShell(previousShell_);
}

}  // namespace harness
