#include "app/wizard_stages.h"

#include "engine/records/scan_parameters.h"

namespace app {

StageFlags FlagsOfStage(Stage stage) {
  StageFlags flags;
  flags.atSource = stage == kSourceStage ? 1 : 0;
  flags.atScan = stage == kScanStage ? 1 : 0;
  flags.results = stage == kResultsStage ? 1 : 0;
  flags.fileSystemResults = stage == kFileSystemResultsStage ? 1 : 0;
  return flags;
}

Stage ResultsStage(uint32_t mode) {
  return mode == records::kExtensiveScan ? kFileSystemResultsStage : kResultsStage;
}

Stage PageStage(uint32_t page) {
  if (page <= 1) return kSourceStage;
  return page == 2 ? kScanStage : kResultsStage;
}

CommandFlags WithStage(CommandFlags flags, Stage stage) {
  const StageFlags set = FlagsOfStage(stage);
  flags.resultsReady = set.results;
  flags.fileSystemResultsReady = set.fileSystemResults;
  return flags;
}

}  // namespace app
