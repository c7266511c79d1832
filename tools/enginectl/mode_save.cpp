// enginectl save IMAGE (--partition N | --range CODE START COUNT [--choose K] | --snapshot FILE) --out DIR
//                [--deleted include|only|exclude] [--duplicates rename|overwrite|skip] [--filter PATTERN]...
//                [--file-size MB] [--audit FILE]
// A Quick Scan of one file system of the image (with --choose, an Extensive Scan of the range and the
// reading of the file system K it found, as `enginectl extensive --choose` runs them), run as the scan
// page runs it; or, with --snapshot, the recovery snapshot FILE loaded over the image as `enginectl
// snapshot-load` loads it. Then the whole results tree ticked (its top node: every folder under it and the
// root's own files; after a File Trace every hit) and saved into DIR, an existing folder, as the saving
// dialog's worker saves it. The recovery settings' deleted-file and duplicate-name policies default to
// include and rename; each --filter adds a row to the file filters (at most 99, each under 20 characters);
// --file-size is the size saved for each File Trace hit, 1 to 20 MB (default: the size the snapshot
// keeps, else 2, the file-types dialog's first choice). Standard output:
//   saved <TAB> files written (perhaps with unreadable parts as zeros)
//   unreadable <TAB> files that could not be read whole
//   unwritten <TAB> files that could not be created, written or closed
//   links <TAB> links (symbolic links, junctions) passed over, as they hold no data
// --audit FILE writes, for a test's checks, what the save itself did: "read<TAB>first<TAB>count" for each run of
// sectors it read (neighbouring reads joined), then "saved<TAB>path" or "damaged<TAB>path" for each file it
// counted saved, whole or not read whole, and "link<TAB>path<TAB>target" for each link it passed over (path
// below DIR, with "/").
// Messages go to standard error as "kind<TAB>text" (the final report among them; a question is answered
// No, which stops the save). Exit status: 0 for a clean save; 3 when files could not be read or written;
// 1 when the scan could not run, the snapshot did not load or the save was stopped; 2 for bad arguments.
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "engine/host/save_fakes.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/listing/file_filter_table.h"
#include "engine/image/read_sectors.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_state.h"
#include "engine/records/file_trace_hits.h"
#include "engine/save/savers.h"
#include "engine/scan/chosen_fs.h"
#include "engine/scan/quick_scan.h"
#include "engine/scan/selected_signatures.h"
#include "platform/os/os.h"
#include "tools/enginectl/chosen_scan.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/scan_source.h"
#include "tools/enginectl/snapshot_files.h"

namespace {

struct SaveOptions {
  const char* image = nullptr;
  char** source = nullptr;  // the source option and its values
  const char* snapshot = nullptr;  // instead of a scan, the snapshot to load
  const char* out = nullptr;
  uint16_t deletedPolicy = 1;
  uint16_t duplicatePolicy = 1;
  std::vector<std::u16string> filters;
  unsigned long long choose = 0;  // after an Extensive Scan, the found file system to read; 0: Quick Scan
  unsigned long long fileSize = 0;  // MB saved for each File Trace hit; 0: the snapshot's
  const char* audit = nullptr;
};

// What --audit records while the save runs (on this thread: the save runs here, not on a worker).
struct AuditRecord {
  std::vector<std::pair<uint64_t, uint64_t>> reads;  // first sector, count
  std::vector<std::pair<bool, std::u16string>> files;  // damaged, path
  std::vector<std::pair<std::u16string, std::u16string>> links;  // path, target
};
AuditRecord audit;

void RecordRead(uint64_t first, uint32_t count) {
  if (!audit.reads.empty() && audit.reads.back().first + audit.reads.back().second == first) {
    audit.reads.back().second += count;
  } else {
    audit.reads.emplace_back(first, count);
  }
}

void RecordFile(const std::u16string& path, bool damaged) { audit.files.emplace_back(damaged, path); }

void RecordLink(const std::u16string& path, const std::u16string& target) { audit.links.emplace_back(path, target); }

// A deleted file that gave its name to a live one: it now lies at to, or (to empty) is gone.
void RecordMove(const std::u16string& from, const std::u16string& to) {
  for (auto file = audit.files.rbegin(); file != audit.files.rend(); ++file) {
    if (file->second != from) continue;
    if (to.empty()) {
      audit.files.erase(std::next(file).base());
    } else {
      file->second = to;
    }
    return;
  }
}

// Writes the audit; false when it could not be written.
bool WriteAudit(const char* file, const std::u16string& out) {
  std::FILE* f = std::fopen(file, "w");
  if (f == nullptr) return false;
  for (const auto& read : audit.reads) {
    std::fprintf(f, "read\t%llu\t%llu\n", static_cast<unsigned long long>(read.first),
                 static_cast<unsigned long long>(read.second));
  }
  const auto below = [&](const std::u16string& full) {
    std::u16string path = full.substr(full.compare(0, out.size(), out) == 0 ? out.size() : 0);
    for (char16_t& c : path) c = c == u'\\' ? u'/' : c;
    while (!path.empty() && path[0] == u'/') path.erase(0, 1);
    return os::ToUtf8(path);
  };
  for (const auto& file_ : audit.files) {
    std::fprintf(f, "%s\t%s\n", file_.first ? "damaged" : "saved", below(file_.second).c_str());
  }
  for (const auto& link : audit.links) {
    std::fprintf(f, "link\t%s\t%s\n", below(link.first).c_str(), os::ToUtf8(link.second).c_str());
  }
  return std::fclose(f) == 0;
}

int SaveUsage() {
  std::fprintf(stderr,
               "usage: enginectl save IMAGE (--partition N | --range CODE START COUNT [--choose K] | --snapshot FILE)\n"
               "         --out DIR [--deleted include|only|exclude] [--duplicates rename|overwrite|skip]\n"
               "         [--filter PATTERN]... [--file-size MB] [--audit FILE]\n");
  return 2;
}

// The value's place (from 1) among the words, as the settings number their choices; 0 when none.
uint16_t Choice(const char* value, std::initializer_list<const char*> words) {
  uint16_t n = 1;
  for (const char* word : words) {
    if (std::strcmp(value, word) == 0) return n;
    ++n;
  }
  return 0;
}

bool ParseOptions(int argc, char** argv, SaveOptions* options) {
  if (argc < 2) return false;
  options->image = argv[0];
  int taken = ScanSourceArguments(argc - 1, argv + 1);
  if (taken > 0) {
    options->source = argv + 1;
  } else if (argc >= 3 && std::strcmp(argv[1], "--snapshot") == 0) {
    options->snapshot = argv[2];
    taken = 2;
  } else {
    return false;
  }
  for (int i = 1 + taken; i < argc; i += 2) {
    if (i + 1 >= argc) return false;
    const char* value = argv[i + 1];
    if (std::strcmp(argv[i], "--out") == 0) {
      options->out = value;
    } else if (std::strcmp(argv[i], "--deleted") == 0) {
      options->deletedPolicy = Choice(value, {"include", "only", "exclude"});
      if (options->deletedPolicy == 0) return false;
    } else if (std::strcmp(argv[i], "--duplicates") == 0) {
      options->duplicatePolicy = Choice(value, {"rename", "overwrite", "skip"});
      if (options->duplicatePolicy == 0) return false;
    } else if (std::strcmp(argv[i], "--filter") == 0) {
      options->filters.push_back(os::FromUtf8(value));
    } else if (std::strcmp(argv[i], "--choose") == 0) {
      if (!ParseNumber(value, "file system", &options->choose) || options->choose == 0) return false;
    } else if (std::strcmp(argv[i], "--audit") == 0) {
      options->audit = value;
    } else if (std::strcmp(argv[i], "--file-size") == 0) {
      if (!ParseFileTraceSize(value, &options->fileSize)) return false;
    } else {
      return false;
    }
  }
  return options->out != nullptr && (options->snapshot == nullptr || options->choose == 0);
}

// The whole tree ticked, as the top node's check box leaves the list's save sets: every folder under the
// top node, and the files of the root itself; after a File Trace, every hit.
void TickWholeTree(host::RecordingResultTree& tree, host::RecordingResultList& list) {
  if (RecoveryMode == records::kFileTrace) {
    for (const FileTraceHit& hit : FileTraceHitList) list.saveFileSet.push_back(hit.id);
    return;
  }
  const host::TreeKey top = tree.GetRootItem();
  for (host::TreeKey child = tree.GetChildItem(top); child != host::kNoTreeKey; child = tree.GetNextSiblingItem(child)) {
    list.saveFolderSet.push_back(child);
  }
  if (CurrentFileSystem.type == records::kNtfs && RecoveryMode == records::kExtensiveScan) {
    for (const NtfsFoundEntryRecord& entry : NtfsFoundEntryList) {
      if (entry.parentId == records::kNtfsRootRecord && InChosenFileSystem(entry)) list.saveFileSet.push_back(entry.id);
    }
  } else if (CurrentFileSystem.type == records::kNtfs) {
    for (const NtfsEntryRecord& entry : NtfsEntryList) {
      if (entry.parentId == records::kNtfsRootRecord) list.saveFileSet.push_back(entry.id);
    }
  } else {
    for (const FatEntryRecord& entry : FatEntryList) {
      if (entry.parentId == records::kFatRootId) list.saveFileSet.push_back(entry.id);
    }
  }
}

// Saves the ticked tree as the saving dialog's worker does; the exit status.
int SaveWholeTree(host::RecordingResultTree& tree, const SaveOptions& options) {
  PrintingMessages messages;
  host::RecordingSaveProgress dialog;
  host::RecordingResultList list;
  host::Hosts hosts = host::Current();
  hosts.messages = &messages;
  hosts.saveProgress = &dialog;
  hosts.resultTree = &tree;
  hosts.resultList = &list;
  host::ScopedHosts installed(hosts);
  TickWholeTree(tree, list);
  SaveDestination = os::FromUtf8(options.out);
  BeginSave();
  if (options.audit != nullptr) {
    SetSectorReadObserver(RecordRead);
    save::SetFinishedFileObserver(RecordFile);
    save::SetPassedLinkObserver(RecordLink);
    save::SetMovedFileObserver(RecordMove);
  }
  SaveSelected();
  SetSectorReadObserver(nullptr);
  save::SetFinishedFileObserver(nullptr);
  save::SetPassedLinkObserver(nullptr);
  save::SetMovedFileObserver(nullptr);
  if (options.audit != nullptr && !WriteAudit(options.audit, SaveDestination)) {
    std::fprintf(stderr, "enginectl: cannot write %s\n", options.audit);
    return 1;
  }
  const bool stopped = SaveAbortFlag == 1;
  if (!stopped) ReportSaveResult();
  std::printf("saved\t%u\nunreadable\t%u\nunwritten\t%u\nlinks\t%u\n", SaveTally.saved.load(),
              SaveTally.unreadable.load(), SaveTally.unwritten.load(), SaveTally.links.load());
  if (std::fflush(stdout) != 0 || stopped) return 1;
  return SaveTally.unreadable == 0 && SaveTally.unwritten == 0 ? 0 : 3;
}

// Scans as the options say and saves; the exit status.
int SaveFromScan(const SaveOptions& options) {
  RecoveryMode = records::kQuickScan;
  if (!SetScanSource(options.source)) return 2;
  if (options.choose != 0) PrepareExtensiveScan();
  HeadlessScan scan;
  const ScanOutcome outcome = options.choose != 0 ? ReadFoundFileSystem(scan, options.choose) : scan.Run(QuickScanThread);
  if (outcome == ScanOutcome::kFinished) return SaveWholeTree(scan.tree(), options);
  if (outcome == ScanOutcome::kLost) std::fprintf(stderr, "enginectl: the worker ended without signalling its end\n");
  return 1;
}

// Loads the snapshot over the image and saves; the exit status.
int SaveFromSnapshot(const SaveOptions& options) {
  host::SnapshotWindows windows;
  if (!LoadSnapshotInto(options.snapshot, windows)) return 1;
  if (options.fileSize != 0) LargeFileSize = static_cast<uint32_t>(options.fileSize);
  return SaveWholeTree(windows.tree, options);
}

}  // namespace

int RunSave(int argc, char** argv) {
  SaveOptions options;
  if (!ParseOptions(argc, argv, &options)) return SaveUsage();
  if (!SetFileFilters(options.filters)) {
    std::fprintf(stderr, "enginectl: at most 99 filters of fewer than 20 characters each\n");
    return 2;
  }
  if (!os::IsFolder(os::FromUtf8(options.out))) {
    std::fprintf(stderr, "enginectl: no folder %s\n", options.out);
    return 2;
  }
  RecoverySettings.deletedPolicy = options.deletedPolicy;
  RecoverySettings.duplicatePolicy = options.duplicatePolicy;
  DiskImage image;
  if (!OpenImageSource(options.image, image)) return 1;
  const int status = options.snapshot != nullptr ? SaveFromSnapshot(options) : SaveFromScan(options);
  SetCurrentDiskImage(nullptr);
  return status;
}
