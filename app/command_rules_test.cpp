#include "app/command_rules.h"

#include <gtest/gtest.h>

#include "engine/records/scan_parameters.h"
#include "res/resource.h"

namespace {

using app::CommandFlags;
using app::IsCommandEnabled;

constexpr uint32_t kModes[] = {records::kExtensiveScan, records::kFileTrace, records::kQuickScan};

// Every combination of the four flags.
std::vector<CommandFlags> AllFlags() {
  std::vector<CommandFlags> all;
  for (uint32_t bits = 0; bits < 16; ++bits) {
    CommandFlags f;
    f.resultsReady = bits & 1;
    f.fileSystemResultsReady = (bits >> 1) & 1;
    f.snapshotLoadEnabled = (bits >> 2) & 1;
    f.openEnabled = (bits >> 3) & 1;
    all.push_back(f);
  }
  return all;
}

// The table as a reader checks it: which flag (or constant) each command follows in each mode.
bool Expected(uint32_t id, uint32_t mode, const CommandFlags& f) {
  const bool results = mode == records::kExtensiveScan ? f.fileSystemResultsReady : f.resultsReady;
  const bool trace = mode == records::kFileTrace;
  switch (id) {
    case ID_RECOVER_SELECTED: case ID_SAVE_SNAPSHOT: case ID_VIEW_ICONS: case ID_VIEW_LIST:
    case ID_VIEW_DETAILS: case ID_FILE_FILTERS: return results;
    case ID_SAVE_ALL: case ID_DRIVE_INFORMATION: return trace ? true : results;
    case ID_FIND_FILES: return trace ? false : results;
    case ID_SETTINGS: return !trace;
    case ID_LOAD_SNAPSHOT: return f.snapshotLoadEnabled;
    case ID_OPEN_IMAGE: return f.openEnabled;
    default: return true;
  }
}

TEST(CommandRules, WholeTableOverEveryModeAndFlagCombination) {
  ASSERT_EQ(app::RuledCommands().size(), 12u);
  for (uint32_t id : app::RuledCommands()) {
    EXPECT_TRUE(app::HasCommandRule(id));
    for (uint32_t mode : kModes) {
      for (const CommandFlags& f : AllFlags()) {
        EXPECT_EQ(IsCommandEnabled(id, mode, f), Expected(id, mode, f)) << "command " << id << " mode " << mode;
      }
    }
  }
}

TEST(CommandRules, CommandsWithoutARuleStayEnabled) {
  const CommandFlags none{0, 0, 0, 0};
  for (uint32_t id : {uint32_t{ID_EXIT}, uint32_t{ID_HELP}, uint32_t{ID_APP_ABOUT}, 32790u, 32791u, 32792u}) {
    EXPECT_FALSE(app::HasCommandRule(id));
    for (uint32_t mode : kModes) EXPECT_TRUE(IsCommandEnabled(id, mode, none));
  }
}

TEST(CommandRules, FileTraceGreysSettingsAndFindButKeepsDriveInformationAndSaveAll) {
  CommandFlags f;
  f.resultsReady = 1;
  EXPECT_FALSE(IsCommandEnabled(ID_SETTINGS, records::kFileTrace, f));
  EXPECT_FALSE(IsCommandEnabled(ID_FIND_FILES, records::kFileTrace, f));
  EXPECT_TRUE(IsCommandEnabled(ID_DRIVE_INFORMATION, records::kFileTrace, CommandFlags{0, 0, 0, 0}));
  EXPECT_TRUE(IsCommandEnabled(ID_SAVE_ALL, records::kFileTrace, CommandFlags{0, 0, 0, 0}));
  // Extensive Scan reads the file-system flag, not the results flag.
  EXPECT_FALSE(IsCommandEnabled(ID_RECOVER_SELECTED, records::kExtensiveScan, f));
  EXPECT_TRUE(IsCommandEnabled(ID_RECOVER_SELECTED, records::kQuickScan, f));
}

}  // namespace
