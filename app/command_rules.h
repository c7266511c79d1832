// When the main frame's commands are enabled: a pure function of the recovery mode and the frame's stage
// flags, so the menu bar, the toolbar and the tests read the same rules.
#pragma once

#include <cstdint>
#include <vector>

namespace app {

// The frame's flags the rules read (1: set).
struct CommandFlags {
  uint32_t resultsReady = 0;            // results of a Quick Scan, a File Trace or a loaded snapshot shown
  uint32_t fileSystemResultsReady = 0;  // results of a file system an Extensive Scan found shown
  uint32_t snapshotLoadEnabled = 0;     // a mode button on page 0 succeeded
  uint32_t openEnabled = 1;             // no image accepted since the last Back on page 1
};

// The commands that have a rule; every other command stays enabled.
const std::vector<uint32_t>& RuledCommands();
bool HasCommandRule(uint32_t command);
// Whether the command is enabled in the mode (RecoveryMode: 0 Extensive Scan, 1 File Trace, 2 Quick
// Scan) with these flags; true for a command without a rule.
bool IsCommandEnabled(uint32_t command, uint32_t mode, const CommandFlags& flags);

}  // namespace app
