// What the program hands to the shell or to other programs: the shell's verbs on a file or address, and
// processes started from a command line. Tests record these instead of running them.
#pragma once

#include <cstdint>
#include <string>

namespace seams {

struct ShellRequest {
  void* owner = nullptr;      // the owner window's handle, or none
  std::u16string verb;        // "open"; empty: the default verb
  std::u16string target;      // file, folder or address
  std::u16string parameters;
  std::u16string directory;
  int show = 1;               // the platform's show command
};

class ShellSeam {
 public:
  virtual ~ShellSeam() = default;
  // Runs the verb on the target; above 32 is success, anything else the shell's error number.
  virtual intptr_t Execute(const ShellRequest& request) = 0;
  // Starts a command line; above 31 is success, anything else the platform's error number.
  virtual uint32_t StartProcess(const std::u16string& commandLine, int show) = 0;
};

}  // namespace seams
