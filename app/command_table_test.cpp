// The enable state of every command with an update rule on every page, by every way there, in each mode and
// file system, held to the table written down in expected_commands.tsv: the rules and the stage each page
// stands at. Here the rules are checked over every stage a page takes, and the ways that open a snapshot
// (Load, the command line, the shell) through the program's own load of snapshots enginectl saved of the test
// disk's partitions (make_command_snapshots.sh). The pages' own moves are read from the real window by
// tools/ui_scenario/pages_e2e_test.py against the same table. The test prints the whole table.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_rules.h"
#include "app/snapshot_open.h"
#include "engine/host/snapshot_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/scan/selected_signatures.h"
#include "platform/os/os.h"
#include "res/resource.h"

namespace command_table_test {
namespace {

using app::CommandFlags;

// The table's modes in the order of its columns, and the names of the snapshots' files.
struct Mode {
  const char* file;
  uint32_t mode;
};
const Mode kModes[] = {{"extensive", records::kExtensiveScan}, {"quick", records::kQuickScan},
                       {"trace", records::kFileTrace}};
const char* const kFileSystems[] = {"fat16", "fat32", "ntfs"};

// The commands as the menu and the toolbar name them.
const std::map<std::string, uint32_t> kCommandIds = {
    {"Open", ID_OPEN_IMAGE},       {"Recover Selected", ID_RECOVER_SELECTED},
    {"Save Recovery Snapshot", ID_SAVE_SNAPSHOT}, {"Load Recovery Snapshot", ID_LOAD_SNAPSHOT},
    {"Icons", ID_VIEW_ICONS},      {"List", ID_VIEW_LIST},
    {"Details", ID_VIEW_DETAILS},  {"File Filters", ID_FILE_FILTERS},
    {"Save All", ID_SAVE_ALL},     {"Drive Information", ID_DRIVE_INFORMATION},
    {"Find Files", ID_FIND_FILES}, {"Settings", ID_SETTINGS}};

struct Rule {
  std::string command;
  char byMode[3];  // the flag followed in each mode of kModes
};
struct PageRow {
  std::string way, where, fileSystem;
  int page = 0;
  char stageByMode[3] = {};
  bool load = false, open = false;
};
struct Table {
  std::vector<Rule> rules;
  std::vector<PageRow> pages;
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

Table ReadTable() {
  Table table;
  std::ifstream in(DORVANE_EXPECTED_COMMANDS);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f.empty() || f[0].empty() || f[0][0] == '#') continue;
    if (f[0] == "rule" && f.size() == 5) {
      table.rules.push_back({f[1], {f[2][0], f[3][0], f[4][0]}});
    } else if (f[0] == "page" && f.size() == 10) {
      PageRow row{f[1], f[2], f[4], std::stoi(f[3]), {f[5][0], f[6][0], f[7][0]}, f[8] == "1", f[9] == "1"};
      table.pages.push_back(row);
    } else {
      ADD_FAILURE() << "a line the table does not know: " << line;
    }
  }
  return table;
}

// The row that gives a way's page for the file system, and the stage it stands at in the mode ('-': the way
// does not lead there).
const PageRow* RowFor(const Table& table, const std::string& way, const std::string& where, const std::string& fs) {
  for (const PageRow& row : table.pages) {
    if (row.way == way && row.where == where && (row.fileSystem == fs || row.fileSystem == "*")) return &row;
  }
  return nullptr;
}

CommandFlags FlagsOf(char stage, bool load, bool open) {
  CommandFlags flags;
  flags.resultsReady = stage == 'R' ? 1 : 0;
  flags.fileSystemResultsReady = stage == 'F' ? 1 : 0;
  flags.snapshotLoadEnabled = load ? 1 : 0;
  flags.openEnabled = open ? 1 : 0;
  return flags;
}

// What the rule as written gives: the flag it names, or a constant.
bool FollowRule(char rule, const CommandFlags& f) {
  switch (rule) {
    case 'F': return f.fileSystemResultsReady != 0;
    case 'R': return f.resultsReady != 0;
    case 'L': return f.snapshotLoadEnabled != 0;
    case 'O': return f.openEnabled != 0;
    default: return rule == '1';
  }
}

// The table's cells of a page: expected from the rules as written, or what the program's rules give.
std::string ExpectedCells(const Table& table, size_t mode, const CommandFlags& flags) {
  std::string cells;
  for (const Rule& rule : table.rules) cells += FollowRule(rule.byMode[mode], flags) ? '1' : '0';
  return cells;
}
std::string ProgramCells(const Table& table, uint32_t mode, const CommandFlags& flags) {
  std::string cells;
  for (const Rule& rule : table.rules) {
    cells += app::IsCommandEnabled(kCommandIds.at(rule.command), mode, flags) ? '1' : '0';
  }
  return cells;
}

TEST(CommandTable, TheTableNamesEveryRuledCommandOnce) {
  const Table table = ReadTable();
  ASSERT_EQ(table.rules.size(), app::RuledCommands().size());
  for (const Rule& rule : table.rules) {
    ASSERT_EQ(kCommandIds.count(rule.command), 1u) << rule.command;
    EXPECT_TRUE(app::HasCommandRule(kCommandIds.at(rule.command))) << rule.command;
  }
}

// Every cell of the table: the program's rules over the flags each page stands at give what the rules as
// written give. Prints the table and its size.
TEST(CommandTable, EveryPageByEveryWayEnablesWhatTheRulesAsWrittenGive) {
  const Table table = ReadTable();
  std::printf("%-13s %-10s %-6s %-18s", "way", "mode", "fs", "where");
  for (const Rule& rule : table.rules) std::printf(" %s", rule.command.c_str());
  std::printf("\n");
  size_t cells = 0;
  for (const PageRow& row : table.pages) {
    for (size_t m = 0; m < std::size(kModes); ++m) {
      const char stage = row.stageByMode[m];
      if (stage == '-') continue;
      const CommandFlags flags = FlagsOf(stage, row.load, row.open);
      const std::string expected = ExpectedCells(table, m, flags);
      EXPECT_EQ(ProgramCells(table, kModes[m].mode, flags), expected)
          << row.way << " " << kModes[m].file << " " << row.where;
      // A scan that finds nothing is one page whatever the disk holds.
      std::vector<const char*> systems(std::begin(kFileSystems), std::end(kFileSystems));
      if (row.way == "failed") systems = {"none"};
      for (const char* fs : systems) {
        if (RowFor(table, row.way, row.where, fs) != &row) continue;
        std::printf("%-13s %-10s %-6s %-18s %s\n", row.way.c_str(), kModes[m].file, fs, row.where.c_str(),
                    expected.c_str());
        ++cells;
      }
    }
  }
  std::printf("%zu pages by way, mode and file system, %zu commands each\n", cells, table.rules.size());
}

// How a snapshot comes: the image open or not, and the Load and Open flags the way stands at before.
struct OpenWay {
  const char* way;
  bool imageOpen;
};
const OpenWay kOpenWays[] = {{"Load", true}, {"command line", false}, {"shell", true}};

class OpenedSnapshots : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_.InstallIn(hosts_);
    installed_ = std::make_unique<host::ScopedHosts>(hosts_);
    image_.CreateReader(kImageVhd);
    ASSERT_EQ(image_.Open(os::FromUtf8(std::string(DORVANE_SHARED_IMAGES) + "/mbr_primary.fixed.vhd")), 1u);
  }
  void TearDown() override {
    SetCurrentDiskImage(nullptr);
    FreeScanRecordLists();
    FreeNtfsRecordLists();
    FreeExtensiveScanLists();
    FreeFileTraceResultList();
    FreeFileTraceSignatureList();
  }
  // The source as page 0 leaves it: the image open as disk 0, or nothing open.
  void OpenSource(bool open) {
    SetCurrentDiskImage(open ? &image_ : nullptr);
    ImageFormat = 0;
    CurrentDriveIndex = 0;
    SourceKind = open ? kSourceDisk : kSourceNothing;
  }

  host::SnapshotWindows windows_;
  host::Hosts hosts_;
  std::unique_ptr<host::ScopedHosts> installed_;
  DiskImage image_;
};

// Each mode's snapshot of each file system, opened each way by the program's load: refused exactly where the
// table keeps the program at its start, and otherwise page 4's commands are the table's. (A snapshot may come
// back in another mode than its letter: the commands, not the stage's name, are compared.)
TEST_F(OpenedSnapshots, EachWayOpensThePageTheTableGives) {
  const Table table = ReadTable();
  for (const OpenWay& way : kOpenWays) {
    for (size_t m = 0; m < std::size(kModes); ++m) {
      for (const char* fs : kFileSystems) {
        SCOPED_TRACE(std::string(way.way) + " " + kModes[m].file + " " + fs);
        const PageRow* refused = RowFor(table, way.way, "page 0 (refused)", fs);
        const PageRow* shown = RowFor(table, way.way, "page 4", fs);
        const bool expectRefused = refused != nullptr && refused->stageByMode[m] != '-';
        ASSERT_TRUE(expectRefused || (shown != nullptr && shown->stageByMode[m] != '-'));
        OpenSource(way.imageOpen);
        RecoveryMode = records::kQuickScan;
        app::Stage stage = app::kNoStage;
        const std::string file = std::string(DORVANE_COMMAND_SNAPSHOTS) + "/" + kModes[m].file + "_" + fs + ".vsnp";
        const bool loaded = app::LoadSnapshotInMode(os::FromUtf8(file), kModes[m].mode, &stage);
        EXPECT_EQ(loaded, !expectRefused);
        if (!loaded || expectRefused) continue;
        const char shownStage = stage == app::kResultsStage ? 'R' : stage == app::kFileSystemResultsStage ? 'F' : 'N';
        const CommandFlags flags = FlagsOf(shownStage, shown->load, shown->open);
        EXPECT_EQ(ProgramCells(table, RecoveryMode, flags),
                  ExpectedCells(table, m, FlagsOf(shown->stageByMode[m], shown->load, shown->open)));
      }
    }
  }
}

}  // namespace
}  // namespace command_table_test
