// enginectl trace IMAGE --range CODE START COUNT --types EXT[,EXT...] [--file-size MB] [--raw-dat PATH]
//                [--snapshot-save FILE]:
// a File Trace of the range for the given types, as if they were ticked in the file-types dialog (the
// records of each type in Raw.dat, in the order of the dialog's tree), run as the scan page runs it; then
// one line per hit, in the order found: start sector<TAB>name<TAB>group. Messages go to standard error as
// "kind<TAB>text".
//   --types: extensions with or without their leading dot ("jpg,.png").
//   --file-size MB: the size chosen in the dialog for each hit, 1 to 20 (default 2, its first choice); the
//     snapshot keeps it.
//   --raw-dat PATH: the signature database to read; by default the Raw.dat the build wrote.
//   --snapshot-save FILE: afterwards the hits are saved as a File Trace snapshot to FILE, as the save
//     command does (its file name in lower case and ending ".vsnp"; an existing file is not replaced).
// Exit status: 0 with the hits printed; 1 when the search could not run or the snapshot was not saved (the
// reason is on standard error); 2 for bad arguments, an unreadable database or a type it does not hold.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/records/file_trace_hits.h"
#include "engine/records/scan_parameters.h"
#include "engine/scan/file_trace.h"
#include "engine/scan/selected_signatures.h"
#include "engine/scan/signature_database.h"
#include "engine/snapshot/snapshot.h"
#include "platform/os/os.h"
#include "tools/enginectl/headless_scan.h"
#include "tools/enginectl/image_source.h"
#include "tools/enginectl/modes.h"
#include "tools/enginectl/scan_source.h"
#include "tools/enginectl/snapshot_files.h"

namespace {

int TraceUsage() {
  std::fprintf(stderr,
               "usage: enginectl trace IMAGE --range CODE START COUNT --types EXT[,EXT...] [--file-size MB] "
               "[--raw-dat PATH] [--snapshot-save FILE]\n");
  return 2;
}

struct TraceArguments {
  const char* image = nullptr;
  char** source = nullptr;  // the source option and its values
  const char* types = nullptr;
  std::string rawDat = DORVANE_RAW_DAT;
  const char* snapshot = nullptr;
  unsigned long long fileSize = kDefaultFileTraceSizeMb;
};

bool ParseArguments(int argc, char** argv, TraceArguments* out) {
  if (argc < 1) return false;
  out->image = argv[0];
  for (int i = 1; i < argc;) {
    const int sourceArguments = ScanSourceArguments(argc - i, argv + i);
    if (sourceArguments > 0 && out->source == nullptr) {
      out->source = argv + i;
      i += sourceArguments;
    } else if (i + 1 < argc && std::strcmp(argv[i], "--types") == 0) {
      out->types = argv[i + 1];
      i += 2;
    } else if (i + 1 < argc && std::strcmp(argv[i], "--raw-dat") == 0) {
      out->rawDat = argv[i + 1];
      i += 2;
    } else if (i + 1 < argc && std::strcmp(argv[i], "--snapshot-save") == 0) {
      out->snapshot = argv[i + 1];
      i += 2;
    } else if (i + 1 < argc && std::strcmp(argv[i], "--file-size") == 0) {
      if (!ParseFileTraceSize(argv[i + 1], &out->fileSize)) return false;
      i += 2;
    } else {
      return false;
    }
  }
  return out->source != nullptr && out->types != nullptr;
}

// The extensions of a comma-separated list, each with its leading dot.
std::vector<std::u16string> Extensions(const char* list) {
  std::vector<std::u16string> extensions;
  std::string text(list);
  for (size_t at = 0; at <= text.size();) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    std::string one = text.substr(at, comma - at);
    if (!one.empty()) extensions.push_back(os::FromUtf8(one[0] == '.' ? one : "." + one));
    at = comma + 1;
  }
  return extensions;
}

bool HoldsType(const SignatureDatabase& database, const std::u16string& extension) {
  for (const SignatureRecord& record : database.records) {
    if (record.extension == extension) return true;
  }
  return false;
}

// SelectedSignatureList as the file-types dialog fills it for the ticked types; false (with the reason
// printed) when the database cannot be read or lacks a type.
bool SelectTypes(const std::string& rawDat, const char* types) {
  SignatureDatabase database;
  if (!ReadSignatureDatabase(os::FromUtf8(rawDat), &database)) {
    std::fprintf(stderr, "enginectl: cannot read %s\n", rawDat.c_str());
    return false;
  }
  const std::vector<std::u16string> ticked = Extensions(types);
  if (ticked.empty()) {
    std::fprintf(stderr, "enginectl: no type given\n");
    return false;
  }
  for (const std::u16string& extension : ticked) {
    if (!HoldsType(database, extension)) {
      std::fprintf(stderr, "enginectl: %s holds no type %s\n", rawDat.c_str(), os::ToUtf8(extension).c_str());
      return false;
    }
  }
  if (BuildSelectedSignatureList(TickedSignatureRecords(database.records, ticked)) == 0) {
    std::fprintf(stderr, "enginectl: none of the types has a signature File Trace can match\n");
    return false;
  }
  return true;
}

void PrintHits() {
  for (const FileTraceHit& hit : FileTraceHitList) {
    std::printf("%u\t%s\t%s\n", hit.startSector, os::ToUtf8(hit.fileName).c_str(), os::ToUtf8(hit.group).c_str());
  }
}

}  // namespace

int RunTrace(int argc, char** argv) {
  TraceArguments args;
  if (!ParseArguments(argc, argv, &args)) return TraceUsage();
  if (!SelectTypes(args.rawDat, args.types)) return 2;
  LargeFileSize = static_cast<uint32_t>(args.fileSize);
  DiskImage image;
  if (!OpenImageSource(args.image, image)) return 1;
  RecoveryMode = records::kFileTrace;
  if (!SetScanSource(args.source)) {
    SetCurrentDiskImage(nullptr);
    return 2;
  }
  HeadlessScan scan;
  const ScanOutcome outcome = scan.Run(FileTraceThread);
  bool saved = true;
  if (outcome == ScanOutcome::kFinished) {
    PrintHits();
    if (args.snapshot != nullptr) saved = SaveSnapshotTo(args.snapshot, SaveRecoverySnapshot);
  }
  if (outcome == ScanOutcome::kLost) std::fprintf(stderr, "enginectl: the worker ended without signalling its end\n");
  SetCurrentDiskImage(nullptr);
  if (outcome != ScanOutcome::kFinished || !saved) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
