#include "app/command_rules.h"

#include <gtest/gtest.h>

#include "engine/records/scan_parameters.h"
#include "res/resource.h"

// The ruled commands' states are held to the table written down in expected_commands.tsv
// (command_table_test); here, the commands the rules leave alone.
namespace {

using app::CommandFlags;
using app::IsCommandEnabled;

constexpr uint32_t kModes[] = {records::kExtensiveScan, records::kFileTrace, records::kQuickScan};

TEST(CommandRules, CommandsWithoutARuleStayEnabled) {
  const CommandFlags none{0, 0, 0, 0};
  for (uint32_t id : {uint32_t{ID_EXIT}, uint32_t{ID_HELP}, uint32_t{ID_APP_ABOUT}, 32790u, 32791u, 32792u}) {
    EXPECT_FALSE(app::HasCommandRule(id));
    for (uint32_t mode : kModes) EXPECT_TRUE(IsCommandEnabled(id, mode, none));
  }
}

}  // namespace
