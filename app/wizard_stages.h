// The frame's stage flags: exactly one is set, and the pages select it as the wizard moves. The update
// rules of the commands (command_rules.h) read them, so every way to a page must select the same stage.
#pragma once

#include <cstdint>

#include "app/command_rules.h"

namespace app {

enum Stage : int { kNoStage = 0, kSourceStage = 1, kScanStage = 2, kResultsStage = 3, kFileSystemResultsStage = 4 };

// The four flags of the frame, with the stage's own set and the others cleared.
struct StageFlags {
  uint32_t atSource = 0;
  uint32_t atScan = 0;
  uint32_t results = 0;
  uint32_t fileSystemResults = 0;
};
StageFlags FlagsOfStage(Stage stage);

// The stage of the results of a mode on page 4 (RecoveryMode: 0 Extensive Scan, 1 File Trace, 2 Quick Scan):
// an Extensive Scan's are those of the file system chosen on page 3, whose flag its commands read.
Stage ResultsStage(uint32_t mode);

// The stage of a page the wizard shows without results of its own (Next, Back or Home): pages 0 and 1 choose
// the source, page 2 the scan; page 3 lists the file systems an Extensive Scan found, the results stage,
// whose commands that mode does not read (they wait for a file system's results). Page 4 holds results:
// ResultsStage.
Stage PageStage(uint32_t page);

// The flags the update rules read, with the frame's stage flags replaced by the stage's.
CommandFlags WithStage(CommandFlags flags, Stage stage);

}  // namespace app
