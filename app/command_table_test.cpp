// The enable state of every command with an update rule, over every way results reach page 4 (a scan, Load
// Recovery Snapshot, the command line, the shell) for each mode and file system, and on the pages Back and
// Home lead to from there. The results are real: snapshots enginectl saved of the three partitions of the
// test disk in each mode (make_command_snapshots.sh), loaded by the program's own load over the disk. The
// states come from the rules and the stages the pages select. The test prints the whole table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/command_rules.h"
#include "app/snapshot_open.h"
#include "app/wizard_stages.h"
#include "engine/host/snapshot_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/image/source_values.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/scan/selected_signatures.h"
#include "platform/os/os.h"
#include "res/resource.h"

namespace {

using app::CommandFlags;

struct Mode {
  const char* name;
  const char* file;  // the snapshots' names begin with it
  uint32_t mode;
};
const Mode kModes[] = {{"Quick Scan", "quick", records::kQuickScan},
                       {"Extensive Scan", "extensive", records::kExtensiveScan},
                       {"File Trace", "trace", records::kFileTrace}};
const char* const kFileSystems[] = {"fat16", "fat32", "ntfs"};

// The table's columns: every command with a rule, as the menu and the toolbar name them.
struct Column {
  uint32_t id;
  const char* name;
};
const Column kColumns[] = {{ID_OPEN_IMAGE, "Open"},
                           {ID_RECOVER_SELECTED, "Recover"},
                           {ID_SAVE_SNAPSHOT, "SaveSnap"},
                           {ID_LOAD_SNAPSHOT, "LoadSnap"},
                           {ID_VIEW_ICONS, "Icons"},
                           {ID_VIEW_LIST, "List"},
                           {ID_VIEW_DETAILS, "Details"},
                           {ID_FILE_FILTERS, "Filters"},
                           {ID_SAVE_ALL, "SaveAll"},
                           {ID_DRIVE_INFORMATION, "DriveInfo"},
                           {ID_FIND_FILES, "Find"},
                           {ID_SETTINGS, "Settings"}};

// How the results come, and the flags Load and Open stand at before they come.
enum class Way { kScan, kLoad, kCommandLine, kShell };
struct WayCase {
  Way way;
  const char* name;
  bool imageOpen;
  uint32_t snapshotLoadEnabled;
  uint32_t openEnabled;
};
const WayCase kWays[] = {
    // Page 1's Next cleared Load; the image was accepted.
    {Way::kScan, "scan", true, 0, 0},
    // On page 1 after a mode button, the image open.
    {Way::kLoad, "Load", true, 1, 0},
    // At start: no image open, no mode chosen.
    {Way::kCommandLine, "command line", false, 0, 1},
    // A running copy on page 2 after the partition search, the image open.
    {Way::kShell, "shell", true, 0, 0},
};

// A page as the table shows it: the page, the mode the commands read and the frame's flags.
struct Shown {
  std::string where;
  uint32_t page = 0;
  uint32_t mode = 0;
  CommandFlags flags;
  bool refused = false;  // the load was refused: the program stays where it was
};

std::string States(const Shown& shown) {
  std::string cells;
  for (const Column& c : kColumns) {
    cells += shown.refused ? '-' : app::IsCommandEnabled(c.id, shown.mode, shown.flags) ? '1' : '0';
  }
  return cells;
}

// The states under the columns' names, one character each.
std::string Cells(const std::string& states) {
  std::string row;
  for (size_t i = 0; i < states.size(); ++i) {
    std::string cell(std::strlen(kColumns[i].name) + 1, ' ');
    cell[(cell.size() - 1) / 2] = states[i];
    row += cell;
  }
  return row;
}

// What a page allows, whatever way led there: the results commands while it shows results (Find Files never
// in File Trace, whose Save All and Drive Information the rules keep enabled everywhere), Settings outside
// File Trace. resultsOf is the mode the results were made in (the snapshot's letter).
bool Allowed(uint32_t id, uint32_t page, uint32_t resultsOf) {
  const bool results = page == 4;
  const bool trace = resultsOf == records::kFileTrace;
  switch (id) {
    case ID_RECOVER_SELECTED: case ID_SAVE_SNAPSHOT: case ID_VIEW_ICONS: case ID_VIEW_LIST: case ID_VIEW_DETAILS:
    case ID_FILE_FILTERS:
      return results;
    case ID_SAVE_ALL: case ID_DRIVE_INFORMATION:
      return results || trace;
    case ID_FIND_FILES:
      return results && !trace;
    case ID_SETTINGS:
      return !trace;
    default:
      return true;
  }
}

// Open and Load follow the way to the page (their own flags: an image accepted, a mode chosen, a search
// started), not its results.
bool ReadsResults(uint32_t id) { return id != ID_OPEN_IMAGE && id != ID_LOAD_SNAPSHOT; }

class CommandTable : public ::testing::Test {
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

  // Page 4 as the way leaves it for the mode and file system, then the pages Back and Home lead to.
  std::vector<Shown> Journey(const WayCase& way, const Mode& mode, const char* fileSystem) {
    CommandFlags before;
    before.snapshotLoadEnabled = way.snapshotLoadEnabled;
    before.openEnabled = way.openEnabled;
    Shown results{"page 4", 4, mode.mode, before};
    if (way.way == Way::kScan) {
      results.flags = app::WithStage(before, app::ResultsStage(mode.mode));
    } else {
      OpenSource(way.imageOpen);
      RecoveryMode = records::kQuickScan;
      app::Stage stage = app::kNoStage;
      const std::string file = std::string(DORVANE_COMMAND_SNAPSHOTS) + "/" + mode.file + "_" + fileSystem + ".vsnp";
      if (!app::LoadSnapshotInMode(os::FromUtf8(file), mode.mode, &stage)) {
        results.refused = true;
        results.where = "page 4 (refused)";
        return {results};
      }
      results.mode = RecoveryMode;
      results.flags = app::WithStage(before, stage);
    }
    std::vector<Shown> shown{results};
    // Back, page by page (a loaded snapshot's page 4 shows no Back): page 3 of an Extensive Scan, page 2, page 1
    // (page 2's Back chose the mode again: Load enabled), page 0 (page 1's Back: Load greyed, Open enabled).
    CommandFlags flags = results.flags;
    std::vector<uint32_t> pages;
    if (way.way == Way::kScan) {
      if (results.mode == records::kExtensiveScan) pages.push_back(3);
      pages.insert(pages.end(), {2, 1, 0});
    }
    for (uint32_t page : pages) {
      flags = app::WithStage(flags, app::PageStage(page));
      if (page == 1) flags.snapshotLoadEnabled = 1;
      if (page == 0) flags.snapshotLoadEnabled = 0, flags.openEnabled = 1;
      shown.push_back({"Back: page " + std::to_string(page), page, results.mode, flags});
    }
    // Home: through every Back to page 0.
    CommandFlags home = app::WithStage(results.flags, app::PageStage(0));
    home.snapshotLoadEnabled = 0;
    home.openEnabled = 1;
    shown.push_back({"Home: page 0", 0, results.mode, home});
    return shown;
  }

  host::SnapshotWindows windows_;
  host::Hosts hosts_;
  std::unique_ptr<host::ScopedHosts> installed_;
  DiskImage image_;
};

TEST_F(CommandTable, EveryWayToTheResultsEnablesWhatTheResultsAllow) {
  std::string header = "way           mode            fs     where              ";
  for (const Column& c : kColumns) header += std::string(c.name) + " ";
  std::printf("%s\n", header.c_str());
  for (const Mode& mode : kModes) {
    for (const char* fileSystem : kFileSystems) {
      std::string scanned;  // the results commands after the scan
      for (const WayCase& way : kWays) {
        SCOPED_TRACE(std::string(way.name) + " " + mode.name + " " + fileSystem);
        const std::vector<Shown> journey = Journey(way, mode, fileSystem);
        for (const Shown& s : journey) {
          const std::string cells = States(s);
          std::printf("%-13s %-15s %-6s %-18s %s\n", way.name, mode.name, fileSystem, s.where.c_str(),
                      Cells(cells).c_str());
          if (s.refused) continue;
          for (size_t i = 0; i < cells.size(); ++i) {
            if (!ReadsResults(kColumns[i].id)) continue;
            EXPECT_EQ(cells[i] == '1', Allowed(kColumns[i].id, s.page, mode.mode))
                << kColumns[i].name << " on " << s.where;
          }
        }
        // Loaded results enable what the same results reached by a scan enable (Open and Load aside).
        const Shown& page4 = journey.front();
        if (page4.refused) continue;
        std::string cells;
        for (size_t i = 0; i < std::size(kColumns); ++i) {
          if (ReadsResults(kColumns[i].id)) cells += States(page4)[i];
        }
        if (way.way == Way::kScan) {
          scanned = cells;
        } else {
          EXPECT_EQ(cells, scanned) << "loaded by " << way.name;
        }
      }
    }
  }
}

// Only NTFS needs the source to load (its MFT is read again from it): by the command line, with no image open,
// an NTFS snapshot is refused and the program stays at its start; FAT and File Trace snapshots load.
TEST_F(CommandTable, OnlyNtfsSnapshotsNeedTheImageOpen) {
  for (const Mode& mode : kModes) {
    for (const char* fileSystem : kFileSystems) {
      const std::vector<Shown> journey = Journey(kWays[2], mode, fileSystem);
      EXPECT_EQ(journey.front().refused, std::string(fileSystem) == "ntfs" && mode.mode != records::kFileTrace)
          << mode.name << " " << fileSystem;
    }
  }
}

}  // namespace
