// NTFS volumes with the histories and damage users bring (make_ntfs_histories.py), scanned, listed and saved
// as a user does, against the bytes the generator wrote: a volume rebuilt without its boot sector ends where
// its own records say, a stop while the chosen volume is read again leaves no other volume's file in it, a valid
// data length kept in an extension record is honoured, a quick format leaves the old files listed as deleted,
// a torn record or a deleted file whose clusters were taken again is never saved as whole, and a volume as
// Windows fills it gives back every name of a file and its compressed files, and passes its links over. No save
// reads a sector outside the volume.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/host/save_fakes.h"
#include "engine/image/read_sectors.h"
#include "engine/records/extensive_candidates.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_system_range.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_records.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/extensive_test_support.h"
#include "engine/scan/quick_scan.h"
#include "platform/os/os.h"

namespace ntfs_histories_test {
namespace {

struct ExpectedFile {
  std::string name, state, listed, expected;
};

struct HistoryCase {
  std::string name, image, mode;
  uint32_t rangeStart = 0, rangeCount = 0, volumeStart = 0, volumeSectors = 0, last = 0, stop = 0;
  std::vector<ExpectedFile> files;
  std::set<std::string> absent;
};

std::string Beside(const std::string& name) {
  const std::string out = DORVANE_NTFS_HISTORIES;
  return out.substr(0, out.find_last_of("/\\") + 1) + name;
}

std::map<std::string, HistoryCase> ReadCases() {
  std::map<std::string, HistoryCase> cases;
  std::ifstream in(DORVANE_NTFS_HISTORIES);
  EXPECT_TRUE(in.good()) << "missing " << DORVANE_NTFS_HISTORIES;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
    if (f.size() == 10 && f[0] == "case") {
      HistoryCase& c = cases[f[1]];
      c.name = f[1];
      c.image = f[2];
      c.mode = f[3];
      c.rangeStart = static_cast<uint32_t>(std::stoul(f[4]));
      c.rangeCount = static_cast<uint32_t>(std::stoul(f[5]));
      c.volumeStart = static_cast<uint32_t>(std::stoul(f[6]));
      c.volumeSectors = static_cast<uint32_t>(std::stoul(f[7]));
      c.last = static_cast<uint32_t>(std::stoul(f[8]));
      c.stop = static_cast<uint32_t>(std::stoul(f[9]));
    } else if (f.size() == 6 && f[0] == "file") {
      cases[f[1]].files.push_back({f[2], f[3], f[4], f[5]});
    } else if (f.size() == 3 && f[0] == "absent") {
      cases[f[1]].absent.insert(f[2]);
    }
  }
  return cases;
}

// A file as the scan listed it.
struct Listed {
  std::u16string name;
  uint64_t size = 0;
  uint32_t sector = 0;
  uint32_t deleted = 0;
};

// What the reads and the saved files of one case came to.
struct Figures {
  size_t listed = 0, wrongBytes = 0, damaged = 0, outsideReads = 0;
};

// The test's looks at the engine, through its observers (plain functions).
std::vector<std::pair<uint64_t, uint32_t>> reads;
bool recordReads = false;
std::set<uint64_t> stopAfter;  // record sectors whose reading counts toward the stop
uint32_t stopCountdown = 0;
std::map<std::u16string, bool> finished;  // path, counted damaged

void ObserveRead(uint64_t first, uint32_t count) {
  if (recordReads) reads.emplace_back(first, count);
  if (stopCountdown != 0 && stopAfter.count(first) != 0 && --stopCountdown == 0) ScanThreadControl.stopFlag = 1;
}

void ObserveFinished(const std::u16string& path, bool damaged) { finished[path] = damaged; }

class NtfsHistoriesTest : public extensive_test::ExtensiveTest {
 protected:
  NtfsHistoriesTest() {
    host::Hosts hosts = host::Current();
    hosts.saveProgress = &dialog;
    saveHosts_ = std::make_unique<host::ScopedHosts>(hosts);
    SetSectorReadObserver(ObserveRead);
    save::SetFinishedFileObserver(ObserveFinished);
  }
  ~NtfsHistoriesTest() override {
    SetSectorReadObserver(nullptr);
    save::SetFinishedFileObserver(nullptr);
    stopCountdown = 0;
    CurrentFileSystem = FileSystemRecord{};
  }

  // Scans the case's image as a user does and lists its files.
  std::vector<Listed> Scan(const HistoryCase& c) {
    std::vector<Listed> files;
    if (c.mode == "quick") {
      RecoveryMode = records::kQuickScan;
      SetRange(records::kNtfs, c.rangeStart, c.rangeCount);
      EXPECT_EQ(QuickScanThread(), 1u);
      for (const NtfsEntryRecord& e : NtfsEntryList) files.push_back({e.name, e.size, e.id, e.deleted});
      return files;
    }
    SetRange(records::kNtfs, c.rangeStart, c.rangeCount);
    RunWorker();
    size_t chosen = FoundFileSystemList.size();
    for (size_t i = 0; i < FoundFileSystemList.size(); ++i) {
      if (FoundFileSystemList[i].clusterBase == c.volumeStart) chosen = i;
    }
    if (chosen == FoundFileSystemList.size()) {
      ADD_FAILURE() << "no file system found at " << c.volumeStart;
      return files;
    }
    if (c.last != 0) {
      EXPECT_EQ(FoundFileSystemList[chosen].lastSector, c.last) << "where the volume ends";
    }
    CurrentFileSystem = FoundFileSystemList[chosen];
    CurrentFileSystem.id = static_cast<uint32_t>(chosen + 1);
    FreeScanRecordLists();
    if (c.stop != 0) {
      // A stop once the volume's own files are being read again: after the c.stop-th read of one's record.
      stopAfter.clear();
      for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
        if (!e.name.empty() && e.name[0] != u'$' && InChosenFileSystem(e)) stopAfter.insert(e.id);
      }
      stopCountdown = c.stop;
    }
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    ScanThreadProc();
    EXPECT_EQ(stopCountdown, 0u) << "the stop came";
    stopCountdown = 0;
    for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) {
      if (InChosenFileSystem(e)) files.push_back({e.name, e.size, e.id, e.deleted});
    }
    return files;
  }

  // Every listed file saved on its own, as a user's save does; the case's checks and figures.
  Figures SaveAndCheck(const HistoryCase& c, const std::vector<Listed>& listed) {
    std::map<std::string, const ExpectedFile*> expected;
    for (const ExpectedFile& f : c.files) expected[f.name] = &f;
    std::set<std::string> seen;
    size_t saved = 0;
    Figures figures;
    save_test::ScratchFolder out;
    BeginSave();
    RecoverySettings = RecoverySettingsRecord{};
    reads.clear();
    recordReads = true;
    for (const Listed& file : listed) {
      const std::string name = os::ToUtf8(file.name);
      EXPECT_EQ(c.absent.count(name), 0u) << name << " is another volume's";
      if (name.empty() || name[0] == '$' || expected.count(name) == 0) continue;
      seen.insert(name);
      ++figures.listed;
      const std::u16string folder = save::JoinPath(out.path(), os::FromUtf8(std::to_string(++saved)));
      EXPECT_TRUE(os::CreateFolder(folder));
      const uint32_t unreadable = SaveTally.unreadable, links = SaveTally.links;
      SaveNtfsItems(folder, file.name, file.size, file.sector, 1, file.deleted);
      const bool damaged = SaveTally.unreadable != unreadable;
      figures.damaged += damaged ? 1 : 0;
      const ExpectedFile& want = *expected[name];
      if (want.state == "link") {
        const save_test::Bytes target = save_test::ReadAll(os::FromUtf8(Beside("expected/" + want.expected)));
        EXPECT_EQ(SaveTally.links, links + 1) << name << " not counted a link";
        EXPECT_FALSE(os::FileExists(save::JoinPath(folder, file.name))) << name << " saved, though a link";
        const std::vector<PassedLink> named = PassedLinks();
        EXPECT_TRUE(!named.empty() && named.back().name == file.name &&
                    os::ToUtf8(named.back().target) == std::string(target.begin(), target.end()))
            << name << " not named with its target";
        continue;
      }
      if (want.state == "elsewhere") {
        EXPECT_TRUE(damaged) << name << " not counted as not read whole";
        EXPECT_FALSE(os::FileExists(save::JoinPath(folder, file.name))) << name << " saved, its data not in it";
        continue;
      }
      const save_test::Bytes bytes = save_test::ReadAll(save::JoinPath(folder, file.name));
      const bool right = bytes == save_test::ReadAll(os::FromUtf8(Beside("expected/" + want.expected)));
      if (!damaged && !right) ++figures.wrongBytes;
      EXPECT_TRUE(damaged || right) << name << " saved whole with other bytes";
      if (want.state == "whole") {
        EXPECT_FALSE(damaged) << name << " counted damaged";
      } else {
        EXPECT_TRUE(damaged) << name << " not counted damaged";
      }
    }
    recordReads = false;
    for (const ExpectedFile& f : c.files) {
      if (f.listed == "must") {  // a folder ("folder": a junction) is met by a save of the whole tree
        EXPECT_EQ(seen.count(f.name), 1u) << f.name << " not listed";
      }
    }
    for (const auto& [first, count] : reads) {
      if (first < c.volumeStart || first + count > uint64_t{c.volumeStart} + c.volumeSectors) {
        figures.outsideReads += count;
        ADD_FAILURE() << "read " << count << " sectors at " << first << ", outside the volume";
      }
    }
    return figures;
  }

  void RunCase(const std::string& name) {
    const std::map<std::string, HistoryCase> cases = ReadCases();
    const auto found = cases.find(name);
    ASSERT_NE(found, cases.end()) << name;
    const HistoryCase& c = found->second;
    SCOPED_TRACE(c.name);
    extensive_test::OpenedDisk disk(os::FromUtf8(Beside(c.image)));
    ASSERT_TRUE(disk.opened()) << c.image;
    const std::vector<Listed> listed = Scan(c);
    const Figures f = SaveAndCheck(c, listed);
    std::printf("figures\t%s\tlisted %zu of %zu\twrong bytes %zu\tdamaged %zu\tsectors read outside %zu\n",
                c.name.c_str(), f.listed, c.files.size(), f.wrongBytes, f.damaged, f.outsideReads);
  }

  host::RecordingSaveProgress dialog;

 private:
  std::unique_ptr<host::ScopedHosts> saveHosts_;
};

// Without its boot sector a volume reaches to the next one found or to the range's end; its own records end it
// sooner: the backup boot sector in its last sector, else $BadClus's size, else $Bitmap's. A run past that end
// is another volume's (a FAT volume, free space): the file is counted damaged, never read from there.
TEST_F(NtfsHistoriesTest, AVolumeRebuiltWithoutItsBootSectorEndsWhereItsOwnRecordsSay) {
  for (const char* name : {"bound_badclus", "bound_backup", "bound_bitmap", "bound_free"}) RunCase(name);
}

// A stop while the chosen volume's files are read again still leaves the files of the volume that follows it,
// which no geometry found, out of its tree, whether its end is known or not.
TEST_F(NtfsHistoriesTest, AStopWhileTheFilesAreReadAgainLeavesNoOtherVolumesFile) {
  for (const char* name : {"stop_bounded", "stop_unbounded"}) RunCase(name);
}

TEST_F(NtfsHistoriesTest, AValidDataLengthInAnExtensionRecordEndsTheBytesRead) { RunCase("valid_listed"); }

// The old records past the new MFT's end are the volume's own: listed, deleted; a file whose clusters now
// hold a new file's bytes is counted damaged. Formatted with another cluster size, the old records are read in the
// clusters they were written with.
TEST_F(NtfsHistoriesTest, AQuickFormatLeavesTheOldFilesListedAsDeleted) {
  for (const char* name : {"quick_format", "quick_format_larger", "quick_format_smaller"}) RunCase(name);
}

TEST_F(NtfsHistoriesTest, ATornRecordIsNeverSavedAsWhole) { RunCase("torn"); }

TEST_F(NtfsHistoriesTest, ADeletedFileWhoseClustersWereTakenAgainIsCountedDamaged) { RunCase("reused"); }

// A volume as Windows fills it, of 1 KiB and of 4 KiB records, with its boot sectors and without: a file is listed
// and saved under each of its names, an LZNT1-compressed file with its bytes (a unit whose stream is cut off:
// damaged), a file whose data is not in it (compressed by Windows into a stream of its own, kept online only,
// deduplicated, moved or tiered away by storage management) is counted and not saved, and a symbolic link is not
// saved but named with its target.
TEST_F(NtfsHistoriesTest, HardLinksCompressedAndOnlineFilesAsWindowsLeavesThem) {
  for (const char* name : {"windows_quick", "windows_extensive", "windows_rebuilt", "records4k_quick",
                           "records4k_extensive", "records4k_rebuilt"}) {
    RunCase(name);
  }
}

// Without its boot sectors and its record 0's first sector, the volume's MFT is mapped from the copy in its mirror,
// and ends it: the unfindable volume after it lends it no file.
TEST_F(NtfsHistoriesTest, AVolumeMappedFromItsMirrorEndsWhereItsOwnRecordsSay) { RunCase("mirror_mapped"); }

}  // namespace
}  // namespace ntfs_histories_test
