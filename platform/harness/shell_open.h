// Opening a file as a double click in the shell does, for the tests and the scenario runner. The program
// registers its snapshot type for the user; this Wine's shell reads the machine's classes alone, so the
// registration is shown there while the file is opened, as Windows shows the user's classes in the root.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// Mirrors the user's classes keys into the machine's while it lives: a type's key whole, an extension's key
// by the type it names.
class ShellTypeMirror {
 public:
  explicit ShellTypeMirror(std::vector<std::wstring> keys);  // e.g. {L"Vantor.Document", L".vsnp"}
  ~ShellTypeMirror();
  ShellTypeMirror(const ShellTypeMirror&) = delete;
  ShellTypeMirror& operator=(const ShellTypeMirror&) = delete;
  // Copies the registration; false when the user has none.
  bool Mirror() const;

 private:
  std::vector<std::wstring> keys_;
};

// The file opened with the verb "open"; the process the shell started for it (null when a running copy took
// it), or INVALID_HANDLE_VALUE when the shell did not open it.
HANDLE OpenAsShellDoes(const std::wstring& file);

}  // namespace harness
