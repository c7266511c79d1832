#include "app/command_rules.h"

#include <algorithm>

#include "engine/records/scan_parameters.h"
#include "res/resource.h"

namespace app {

namespace {

// The results of the mode are on screen.
bool ResultsShown(uint32_t mode, const CommandFlags& f) {
  return mode == records::kExtensiveScan ? f.fileSystemResultsReady != 0 : f.resultsReady != 0;
}

}  // namespace

const std::vector<uint32_t>& RuledCommands() {
  static const std::vector<uint32_t> commands = {
      ID_RECOVER_SELECTED, ID_SAVE_SNAPSHOT, ID_VIEW_ICONS,     ID_VIEW_LIST,     ID_VIEW_DETAILS,
      ID_FILE_FILTERS,     ID_SAVE_ALL,      ID_DRIVE_INFORMATION, ID_FIND_FILES, ID_SETTINGS,
      ID_LOAD_SNAPSHOT,    ID_OPEN_IMAGE};
  return commands;
}

bool HasCommandRule(uint32_t command) {
  const std::vector<uint32_t>& all = RuledCommands();
  return std::find(all.begin(), all.end(), command) != all.end();
}

bool IsCommandEnabled(uint32_t command, uint32_t mode, const CommandFlags& f) {
  const bool fileTrace = mode == records::kFileTrace;
  switch (command) {
    case ID_RECOVER_SELECTED:
    case ID_SAVE_SNAPSHOT:
    case ID_VIEW_ICONS:
    case ID_VIEW_LIST:
    case ID_VIEW_DETAILS:
    case ID_FILE_FILTERS:
      return ResultsShown(mode, f);
    case ID_SAVE_ALL:
    case ID_DRIVE_INFORMATION:
      return fileTrace || ResultsShown(mode, f);
    case ID_FIND_FILES:
      return !fileTrace && ResultsShown(mode, f);
    case ID_SETTINGS:
      return !fileTrace;
    case ID_LOAD_SNAPSHOT:
      return f.snapshotLoadEnabled != 0;
    case ID_OPEN_IMAGE:
      return f.openEnabled != 0;
    default:
      return true;
  }
}

}  // namespace app
