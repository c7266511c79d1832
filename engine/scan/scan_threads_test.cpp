// The workers on a thread of their own while this thread does what the pages do: it starts a worker as the
// page starts it, polls the flags that say it has ended, presses Stop at random moments (seeded), and reads
// the results as soon as it sees the end, before the thread is joined. Built with ThreadSanitizer by the tsan
// preset, so that any value the two threads share without ordering is reported. Each worker first runs
// whole; then, per seed, with stops: it must end as the page expects (running 0, stop 1), and what it found
// by then must be readable and part of what the whole run found.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/fat/save_abort.h"
#include "engine/host/fakes.h"
#include "engine/host/file_system_form_fakes.h"
#include "engine/host/file_system_tree_fakes.h"
#include "engine/host/partition_fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/save_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_host.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/host/shell_file_info_fakes.h"
#include "engine/image/disk_image.h"
#include "engine/partitions/detect_partitions.h"
#include "engine/partitions/partition_table.h"
#include "engine/partitions/partition_test_support.h"
#include "engine/partitions/search_partitions.h"
#include "engine/records/extensive_lists.h"
#include "engine/records/file_trace_hits.h"
#include "engine/records/pause_gate.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/listing/results_listing.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/extensive_scan.h"
#include "engine/scan/file_trace.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/scan_end.h"
#include "engine/scan/selected_signatures.h"
#include "engine/scan/signature_database.h"
#include "platform/os/os.h"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::microseconds;

// What a run found, by kind ("folders", "files", ...): one text per record, of the fields that a run
// stopped early must give exactly as the whole run does.
using Found = std::map<std::string, std::multiset<std::string>>;

// A worker as a page runs it.
struct Worker {
  std::function<void()> prepare;     // on this thread, before the start (the page's own writes)
  std::function<void()> body;        // on the worker thread
  std::function<bool()> ended;       // what the page waits for before it moves on
  std::function<void()> pressStop;   // the user's Stop
  std::function<void()> otherClick;  // another button the user may press meanwhile (none when empty)
  std::function<Found()> readFound;  // after the end, before the join, as the next page reads the results
  std::function<void()> expectEnd;   // after the join
};

// The seeds each worker runs with (fewer for a slow one); DORVANE_THREAD_SEEDS asks for more.
int SeedCount(int usual) {
  const char* text = std::getenv("DORVANE_THREAD_SEEDS");
  const int n = text != nullptr ? std::atoi(text) : 0;
  return n > 0 ? n : usual;
}

// A worker that neither ends nor returns cannot be joined or stopped: the program ends, naming it.
constexpr auto kDeadline = std::chrono::seconds(120);

struct Run {
  Found found;
  Micros took{0};
};

// Starts the worker, presses Stop at each of the moments (after the start) that come before its end and the
// other button now and then, waits for the end the page waits for, reads the results and joins.
Run RunAsThePage(const Worker& w, const std::vector<Micros>& stops) {
  w.prepare();
  std::atomic<bool> returned{false};
  const Clock::time_point start = Clock::now();
  std::thread worker([&] {
    w.body();
    returned = true;
  });
  size_t next = 0;
  for (uint32_t poll = 1; !w.ended(); ++poll) {
    const auto elapsed = Clock::now() - start;
    if (next < stops.size() && elapsed >= stops[next]) {
      w.pressStop();
      ++next;
      continue;
    }
    if (returned && !w.ended()) {
      worker.join();
      ADD_FAILURE() << "the worker returned without the end state the page waits for";
      return {};
    }
    if (elapsed > kDeadline) {
      std::fprintf(stderr, "FAILED: the worker did not end within %lld s\n", static_cast<long long>(kDeadline.count()));
      std::fflush(stderr);
      std::_Exit(1);
    }
    if (w.otherClick && poll % 64 == 0) w.otherClick();
    std::this_thread::sleep_for(Micros(50));
  }
  Run run;
  run.took = std::chrono::duration_cast<Micros>(Clock::now() - start);
  run.found = w.readFound();
  worker.join();
  w.expectEnd();
  return run;
}

// The first text of part that whole lacks (as many times as part has it), or "" when whole holds part.
std::string Missing(const std::multiset<std::string>& whole, const std::multiset<std::string>& part) {
  std::vector<std::string> extra;
  std::set_difference(part.begin(), part.end(), whole.begin(), whole.end(), std::back_inserter(extra));
  return extra.empty() ? std::string() : extra.front();
}

// The whole run, then one run per seed with 1 to 3 presses of Stop at moments drawn from the whole run's
// length (and a little after, when the worker is ending), at most 3 s.
void Exercise(const Worker& w, int seeds = SeedCount(8)) {
  const Run whole = RunAsThePage(w, {});
  size_t records = 0;
  for (const auto& kind : whole.found) records += kind.second.size();
  ASSERT_GT(records, 0u) << "the whole run found nothing";
  const int64_t span = std::clamp<int64_t>(whole.took.count() * 6 / 5, 1000, 3000000);
  for (int seed = 1; seed <= seeds; ++seed) {
    std::mt19937 random(static_cast<uint32_t>(seed));
    std::uniform_int_distribution<int64_t> moment(0, span);
    std::vector<Micros> stops(1 + random() % 3);
    for (Micros& stop : stops) stop = Micros(moment(random));
    std::sort(stops.begin(), stops.end());
    std::ostringstream trace;
    trace << "seed " << seed << ", Stop at";
    for (const Micros& stop : stops) trace << " " << stop.count() << " us";
    trace << " (whole run " << whole.took.count() << " us)";
    SCOPED_TRACE(trace.str());
    const Run part = RunAsThePage(w, stops);
    for (const auto& kind : part.found) {
      const auto in = whole.found.find(kind.first);
      const std::string missing = Missing(in != whole.found.end() ? in->second : std::multiset<std::string>{}, kind.second);
      EXPECT_EQ(missing, "") << kind.first << ": found after a stop, not in the whole run";
    }
  }
}

template <typename... Fields>
std::string Key(const Fields&... fields) {
  std::ostringstream out;
  ((out << fields << '|'), ...);
  return out.str();
}

std::string Text(const std::u16string& text) { return os::ToUtf8(text); }

std::u16string SharedImage(const std::string& name) { return os::FromUtf8(DORVANE_SHARED_IMAGES "/" + name); }

// The sectors of a raw test image.
uint32_t RawSectors(const std::string& name) {
  return static_cast<uint32_t>(std::filesystem::file_size(DORVANE_SHARED_IMAGES "/" + name) / 512);
}

// The windows the workers report to, fresh for every run.
struct Windows {
  host::RecordingMessages messages;
  host::RecordingSecondDisplay panel;
  host::RecordingScanPage page;
  host::RecordingResultTree tree;
  host::RecordingResultList list;
  host::FixedShellFileInfo shell;
  host::RecordingFileSystemTree fileSystems;
  host::RecordingFileSystemForm form;
  host::RecordingFileSystemView view;
  host::RecordingFirstDisplay firstDisplay;
  host::RecordingSourceTree sourceTree;
  host::FixedPartitionChoice choice{host::kSearchPartition};
  host::RecordingSaveProgress saving;

  host::Hosts All() {
    host::Hosts h;
    h.messages = &messages;
    h.secondDisplay = &panel;
    h.scanPage = &page;
    h.resultTree = &tree;
    h.resultList = &list;
    h.shellFileInfo = &shell;
    h.fileSystemTree = &fileSystems;
    h.fileSystemForm = &form;
    h.fileSystemView = &view;
    h.firstDisplay = &firstDisplay;
    h.sourceTree = &sourceTree;
    h.partitionChoice = &choice;
    h.saveProgress = &saving;
    return h;
  }
};

// The source page's disk table, with the geometry of the opened image as the real table has it.
class ImageDiskTable : public host::DiskTableHost {
 public:
  host::DiskGeometry GetDiskGeometry(uint32_t) override {
    DiskImage* image = CurrentDiskImage();
    if (image == nullptr) return {};
    return {image->GetCylinders(), image->GetHeads(), image->GetSectorsPerTrack()};
  }
};

void ResetScanState() {
  FreeExtensiveScanLists();
  FreeScanRecordLists();
  ClusterList.Free();
  ScanCounters = ScanCountersRecord{};
  ExtensiveCounters = ExtensiveCountersRecord{};
  ScanRange = ScanRangeRecord{};
  CurrentFileSystem = FileSystemRecord{};
  RecoverySettings = RecoverySettingsRecord{};
  FreeFileTraceResultList();
  FreeFileTraceSignatureList();
  LargeFileSize = 0;
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 0;
  BootSectorPassDone = 0;
  WithoutBootPassDone = 0;
  PartitionParametersFailed = 0;
  SaveAbortFlag = 0;
  ShowScanProgress = 1;
  NtfsFoundFolderLister = nullptr;
}

class ScanThreadsTest : public ::testing::Test {
 protected:
  ScanThreadsTest() {
    ResetScanState();
    SetFileFilters({});
    installed_ = std::make_unique<host::ScopedHosts>(host::Current());
    FreshWindows();
  }
  ~ScanThreadsTest() override {
    installed_.reset();
    ResetScanState();
  }

  // New windows, installed as the current hosts.
  void FreshWindows() {
    windows_ = std::make_unique<Windows>();
    host::Hosts hosts = windows_->All();
    hosts.diskTable = &diskTable_;
    host::Current() = hosts;
  }

  // What the scan page does before it starts a worker.
  static void StartFlags() {
    ScanThreadControl.stopFlag = 0;
    ScanThreadControl.runningFlag = 1;
    ShowScanProgress = 1;
  }
  static bool WorkerEnded() {
    return ScanThreadControl.runningFlag.load() == 0 && ScanThreadControl.stopFlag.load() != 0;
  }
  // The page's Stop, offered while the worker runs and no stop is pending: the worker held at its gate while
  // the question is up, then the stop flag.
  static void PressStop() {
    if (ScanThreadControl.runningFlag.load() == 1 && ScanThreadControl.stopFlag.load() == 0) {
      ClosedGate asking(ScanPauseGate);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ScanThreadControl.stopFlag = 1;
    }
  }
  static void ExpectWorkerEnd() {
    EXPECT_EQ(ScanThreadControl.runningFlag.load(), 0u);
    EXPECT_EQ(ScanThreadControl.stopFlag.load(), 1u);
  }

  // A worker of the scan page: its flags, its Stop, its end.
  Worker ScanWorker(std::function<void()> prepare, std::function<void()> body, std::function<Found()> readFound) {
    Worker w;
    w.prepare = [this, prepare] {
      FreshWindows();
      prepare();
      StartFlags();
    };
    w.body = std::move(body);
    w.ended = WorkerEnded;
    w.pressStop = PressStop;
    // The scan panel's Hide Progress (and its Show Progress), which the scan page offers while it scans.
    w.otherClick = [] { ShowScanProgress = ShowScanProgress.load() ^ 1u; };
    w.readFound = std::move(readFound);
    w.expectEnd = ExpectWorkerEnd;
    return w;
  }

  // Every tree key a folder record holds names a node of the results tree.
  void ExpectTreeKeysValid(host::TreeKey key, const std::u16string& name) {
    if (key == host::kNoTreeKey) return;
    ASSERT_LE(key, windows_->tree.nodes.size()) << Text(name);
    EXPECT_EQ(Text(windows_->tree.At(key).text), Text(name));
  }

  // The FAT lists as the results page reads them: every record, the root listed.
  Found ReadFat() {
    Found found;
    for (const FatFolderRecord& f : FatFolderList) {
      ExpectTreeKeysValid(f.treeKey, f.name);
      found["folders"].insert(Key(f.firstCluster));
    }
    for (const FatEntryRecord& e : FatEntryList) found["files"].insert(Key(e.parentId, Text(e.name), e.size, e.firstCluster));
    ListFatFolder(records::kFatRootId);
    return found;
  }

  // The NTFS lists likewise; the folders that stand in for missing parents under "Lost Dir" depend on
  // what was read, so they are not compared.
  Found ReadNtfs(bool foundEntries) {
    Found found;
    for (const NtfsFolderRecord& f : NtfsFolderList) {
      ExpectTreeKeysValid(f.treeKey, f.name);
      if (f.recordNumber == records::kLostDirId || f.parentId == records::kLostDirId) continue;
      found["folders"].insert(Key(f.recordNumber, f.parentId, Text(f.name)));
    }
    for (const NtfsEntryRecord& e : NtfsEntryList) {
      found["files"].insert(Key(e.recordNumber, e.parentId, Text(e.name), e.size, e.deleted));
    }
    if (foundEntries) {
      for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) found["found files"].insert(Key(e.id, Text(e.name)));
    }
    ListNtfsFolder(records::kNtfsRootRecord);
    return found;
  }

  // The partitions of the disk's table (the disk must be open).
  static std::vector<PartitionEntry> TablePartitions() {
    DetectPartitions(0);
    return std::vector<PartitionEntry>(PartitionTable, PartitionTable + PartitionsInUse());
  }

  static void QuickRange(const PartitionEntry& p) {
    RecoveryMode = records::kQuickScan;
    ScanRange.fileSystemCode = p.fileSystemCode;
    ScanRange.startSector = p.firstSector;
    ScanRange.sectorCount = p.sectorCount;
    ScanRange.endSector = p.firstSector + p.sectorCount - 1;
  }

  Worker QuickScan(const PartitionEntry& p) {
    const bool fat = p.fileSystemCode != records::kNtfs;
    return ScanWorker(
        [p] {
          FreeScanRecordLists();
          QuickRange(p);
        },
        [] { QuickScanThread(); }, [this, fat] { return fat ? ReadFat() : ReadNtfs(false); });
  }

  Worker ExtensiveScan(uint16_t code, uint32_t sectors) {
    return ScanWorker(
        [code, sectors] {
          RecoveryMode = records::kExtensiveScan;
          ScanRange.fileSystemCode = code;
          ScanRange.startSector = 0;
          ScanRange.sectorCount = sectors;
          ScanRange.endSector = sectors;
          RecoverySettings.sectorsPerRead = 60;
          FreeExtensiveScanLists();
        },
        [] { ExtensiveScanThread(); },
        [this] {
          Found found;
          for (const BootSectorCandidate& c : BootSectorCandidateList) found["boot sectors"].insert(Key(c.sector));
          for (const DirSectorCandidate& c : DirSectorCandidateList) found["folder sectors"].insert(Key(c.sector, c.cluster));
          for (const NtfsFoundEntryRecord& e : NtfsFoundEntryList) found["file records"].insert(Key(e.id, Text(e.name)));
          for (const FileSystemRecord& fs : FoundFileSystemList) {
            EXPECT_TRUE(fs.sectorsPerCluster >= 1 && fs.sectorsPerCluster <= 128 &&
                        (fs.sectorsPerCluster & (fs.sectorsPerCluster - 1)) == 0)
                << fs.sectorsPerCluster;
          }
          for (const DirSectorCandidate& c : DirSectorCandidateList) {
            EXPECT_TRUE(c.mark <= FoundFileSystemList.size() || c.mark == records::kNoFileSystemMark) << c.mark;
          }
          EXPECT_LE(FoundFileSystemList.size(), windows_->fileSystems.nodes.size());
          return found;
        });
  }

  // The page waits for both analysis passes too.
  static Worker WithAnalysis(Worker w) {
    w.ended = [] { return WorkerEnded() && BootSectorPassDone.load() == 1 && WithoutBootPassDone.load() == 1; };
    return w;
  }

  // An Extensive Scan of the whole disk for code, run to its end; the file systems it found.
  std::vector<FileSystemRecord> FoundBy(uint16_t code, uint32_t sectors) {
    RunAsThePage(WithAnalysis(ExtensiveScan(code, sectors)), {});
    return std::vector<FileSystemRecord>(FoundFileSystemList.begin(), FoundFileSystemList.end());
  }

  // Page 3's choice of file system number (from 1) and the reading worker.
  Worker ChosenFileSystem(const FileSystemRecord& chosen, uint32_t number) {
    const bool fat = chosen.type != records::kNtfs;
    return ScanWorker(
        [chosen, number] {
          RecoveryMode = records::kExtensiveScan;
          CurrentFileSystem = chosen;
          CurrentFileSystem.id = number;
          FreeScanRecordLists();
        },
        [] { ScanThreadProc(); },
        [this, fat] {
          EXPECT_EQ(windows_->list.reportViewCount, 1u);  // the worker listed the root before its end
          return fat ? ReadFat() : ReadNtfs(true);
        });
  }

  Worker PartitionSearch() {
    return ScanWorker(
        // Page 1's Next: the partition table read first, then the search started.
        [] { DetectPartitionsWithFallback(); },
        [] { PartitionSearchThread(); },
        [this] {
          Found found;
          for (uint32_t i = 0; i < PartitionsInUse(); ++i) {
            const PartitionEntry& p = PartitionTable[i];
            found["partitions"].insert(Key(p.firstSector, p.sectorCount, p.fileSystemCode));
          }
          EXPECT_EQ(windows_->sourceTree.added.size(), PartitionsInUse());
          return found;
        });
  }

  // File Trace over the whole disk for every type of Raw.dat, ticked as the file-types dialog ticks them.
  Worker FileTrace(uint32_t sectors) {
    SignatureDatabase database;
    EXPECT_TRUE(ReadSignatureDatabase(os::FromUtf8(DORVANE_RAW_DAT), &database));
    std::vector<std::u16string> extensions;
    for (const SignatureRecord& r : database.records) extensions.push_back(r.extension);
    BuildSelectedSignatureList(TickedSignatureRecords(database.records, extensions));
    EXPECT_GT(SelectedSignatureList.size(), 0u);
    return ScanWorker(
        [sectors] {
          RecoveryMode = records::kFileTrace;
          ScanRange.fileSystemCode = records::kFat32;
          ScanRange.startSector = 0;
          ScanRange.sectorCount = sectors;
          ScanRange.endSector = sectors - 1;
        },
        [] { FileTraceThread(); },
        [] {
          Found found;
          for (const FileTraceHit& hit : FileTraceHitList) {
            found["hits"].insert(Key(hit.startSector, hit.id, Text(hit.fileName), Text(hit.group)));
          }
          ListFileTraceGroups();
          return found;
        });
  }

  std::unique_ptr<Windows> windows_;
  ImageDiskTable diskTable_;

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

// A folder in the temporary folder for the saves of one test.
class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = std::filesystem::temp_directory_path() / ("dorvane_threads_" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SaveThreadsTest : public ScanThreadsTest {
 protected:
  // The scan run whole; then the saving worker saves every folder under the root and every file of the root
  // (every hit of a File Trace) as the results page ticks them, into a new folder of scratch each run.
  Worker SaveAll(const Worker& scan, const ScratchFolder& scratch) {
    RunAsThePage(scan, {});
    std::vector<host::TreeKey> folders = windows_->tree.Children(windows_->tree.GetRootItem());
    std::vector<uint32_t> files;
    for (const FatEntryRecord& e : FatEntryList) {
      if (e.parentId == records::kFatRootId) files.push_back(e.id);
    }
    for (const NtfsEntryRecord& e : NtfsEntryList) {
      if (e.parentId == records::kNtfsRootRecord) files.push_back(e.id);
    }
    for (const FileTraceHit& hit : FileTraceHitList) files.push_back(hit.id);
    const host::RecordingResultTree tree = windows_->tree;
    auto runs = std::make_shared<int>(0);
    auto destination = std::make_shared<std::filesystem::path>();
    auto returned = std::make_shared<std::atomic<bool>>(false);
    Worker w;
    w.prepare = [this, tree, folders, files, runs, destination, returned, &scratch] {
      windows_->saving = host::RecordingSaveProgress{};
      windows_->tree = tree;
      windows_->list.saveFolderSet = folders;
      windows_->list.saveFileSet = files;
      *destination = scratch.path() / std::to_string((*runs)++);
      std::filesystem::create_directories(*destination);
      SaveDestination = os::FromUtf8(destination->string());
      *returned = false;
      BeginSave();
    };
    // The saving dialog's worker: the save, then its end posted to the dialog.
    w.body = [returned] {
      SaveSelected();
      *returned = true;
    };
    w.ended = [returned] { return returned->load(); };
    // The dialog's Stop; now and then Skip File first.
    w.pressStop = [] {
      if (SkipCurrentFileFlag.load() == 0 && SavedFileCount.load() % 2 == 1) {
        SkipCurrentFileFlag = 1;
      } else {
        ClosedGate asking(SavePauseGate);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        SaveAbortFlag = 1;
      }
    };
    // Each file saved is whole: its bytes are those of a file of the same folder in the whole run (a file
    // skipped may pass its name on to the next of the same name).
    w.readFound = [destination] {
      Found found;
      for (const auto& entry : std::filesystem::recursive_directory_iterator(*destination)) {
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), *destination);
        if (entry.is_directory()) {
          found["folders"].insert(relative.string());
        } else {
          const std::string bytes = FileBytes(entry.path());
          found["in " + relative.parent_path().string()].insert(Key(bytes.size(), std::hash<std::string>()(bytes)));
        }
      }
      EXPECT_LE(SaveTally.saved.load(), SavedFileCount.load());
      return found;
    };
    w.expectEnd = [] {};
    return w;
  }
};

TEST_F(ScanThreadsTest, QuickScanOfEachPartition) {
  partition_test::CurrentDisk disk(SharedImage("mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  const std::vector<PartitionEntry> partitions = TablePartitions();
  ASSERT_EQ(partitions.size(), 3u);
  for (const PartitionEntry& p : partitions) {
    SCOPED_TRACE("file system " + std::to_string(p.fileSystemCode));
    Exercise(QuickScan(p));
  }
}

// The user can press Stop as soon as Next has shown it, before the worker's thread has begun: the stop holds.
TEST_F(ScanThreadsTest, AStopAnsweredBeforeTheWorkerBeganIsKept) {
  partition_test::CurrentDisk disk(SharedImage("mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  const PartitionEntry p = TablePartitions().front();
  ASSERT_NE(p.fileSystemCode, records::kNtfs);
  const auto files = [this, &p](bool stopFirst) {
    FreeScanRecordLists();
    QuickRange(p);
    StartFlags();
    if (stopFirst) ScanThreadControl.stopFlag = 1;
    std::thread([] { QuickScanThread(); }).join();
    ExpectWorkerEnd();
    return ReadFat()["files"].size();
  };
  const size_t whole = files(false);
  ASSERT_GT(whole, 0u);
  EXPECT_LT(files(true), whole);
}

TEST_F(ScanThreadsTest, QuickScanOfAVhdxDisk) {
  partition_test::CurrentDisk disk(SharedImage("mbr_extended.8m.vhdx"));
  ASSERT_TRUE(disk.opened());
  const std::vector<PartitionEntry> partitions = TablePartitions();
  ASSERT_FALSE(partitions.empty());
  Exercise(QuickScan(partitions.front()));
}

TEST_F(ScanThreadsTest, ExtensiveScanForFatAndNtfs) {
  partition_test::CurrentDisk disk(SharedImage("mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  const uint32_t sectors = RawSectors("mbr_primary.raw");
  for (uint16_t code : {records::kFat16, records::kNtfs}) {
    SCOPED_TRACE("file system " + std::to_string(code));
    Exercise(WithAnalysis(ExtensiveScan(code, sectors)));
  }
}

TEST_F(ScanThreadsTest, ReadingEachChosenFileSystem) {
  partition_test::CurrentDisk disk(SharedImage("mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  const uint32_t sectors = RawSectors("mbr_primary.raw");
  for (uint16_t code : {records::kFat16, records::kNtfs}) {
    const std::vector<FileSystemRecord> found = FoundBy(code, sectors);
    ASSERT_FALSE(found.empty()) << code;
    for (uint32_t number = 1; number <= found.size(); ++number) {
      SCOPED_TRACE("file system " + std::to_string(code) + " number " + std::to_string(number));
      Exercise(ChosenFileSystem(found[number - 1], number));
    }
  }
}

TEST_F(ScanThreadsTest, FileTraceForEveryType) {
  partition_test::CurrentDisk disk(SharedImage("carving.dynamic.vhd"));
  ASSERT_TRUE(disk.opened());
  Exercise(FileTrace(RawSectors("carving.raw")));
}

TEST_F(ScanThreadsTest, PartitionSearchOfADiskWithoutTable) {
  partition_test::CurrentDisk disk(SharedImage("notable.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  Exercise(PartitionSearch());
}

// A VHDX disk's panel runs its progress bar once through (10 s) before the search: the stops come there.
TEST_F(ScanThreadsTest, PartitionSearchOfAVhdxDiskWithTable) {
  partition_test::CurrentDisk disk(SharedImage("cyl_aligned.8m.vhdx"));
  ASSERT_TRUE(disk.opened());
  Exercise(PartitionSearch(), SeedCount(3));
}

TEST_F(SaveThreadsTest, SavingFatAndNtfsFolders) {
  partition_test::CurrentDisk disk(SharedImage("mbr_primary.fixed.vhd"));
  ASSERT_TRUE(disk.opened());
  ScratchFolder scratch;
  for (const PartitionEntry& p : TablePartitions()) {
    if (p.fileSystemCode == records::kFat32) continue;  // FAT16 stands for both
    SCOPED_TRACE("file system " + std::to_string(p.fileSystemCode));
    Exercise(SaveAll(QuickScan(p), scratch));
  }
}

TEST_F(SaveThreadsTest, SavingFileTraceHits) {
  partition_test::CurrentDisk disk(SharedImage("carving.dynamic.vhd"));
  ASSERT_TRUE(disk.opened());
  ScratchFolder scratch;
  LargeFileSize = 1;
  Exercise(SaveAll(FileTrace(RawSectors("carving.raw")), scratch));
}

}  // namespace
