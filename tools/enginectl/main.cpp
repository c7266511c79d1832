// The headless engine driver (test tooling, not shipped): drives the engine through its own functions
// without a window, with the recording host fakes, and prints plain text for tests and for comparison
// with other tools.
//   enginectl MODE ARGUMENTS...
#include <cstdio>
#include <cstring>

#include "engine/host/fakes.h"
#include "engine/listing/results_listing.h"
#include "engine/scan/chosen_fs.h"
#include "tools/enginectl/modes.h"

namespace {

struct Mode {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
};

const Mode kModes[] = {
    {"read", RunRead, "read IMAGE FIRST_SECTOR COUNT"},
    {"partitions", RunPartitions, "partitions [--search] IMAGE"},
    {"save", RunSave,
     "save IMAGE (--partition N | --range CODE START COUNT [--choose K] | --snapshot FILE) --out DIR\n"
     "      [--deleted include|only|exclude] [--duplicates rename|overwrite|skip] [--filter PATTERN]... [--file-size MB]\n"
     "      [--audit FILE]"},
    {"quick", RunQuick,
     "quick IMAGE --partition N | --range CODE START COUNT [--rename-files PREFIX] [--list PATH]\n"
     "      [--snapshot-save FILE]"},
    {"snapshot-load", RunSnapshotLoad, "snapshot-load FILE [--image IMAGE] [--list PATH]"},
    {"extensive", RunExtensive,
     "extensive IMAGE --range CODE START COUNT [--sectors-per-read N]\n"
     "      [--choose K [--rename-files PREFIX] [--list PATH] [--snapshot-save FILE]]"},
    {"trace", RunTrace,
     "trace IMAGE --range CODE START COUNT --types EXT[,EXT...] [--file-size MB] [--raw-dat PATH]\n"
     "      [--snapshot-save FILE]"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Mode& m : kModes) std::fprintf(stderr, "  enginectl %s\n", m.usage);
  std::fprintf(stderr,
               "A snapshot saved with --snapshot-save (quick, extensive --choose, trace) loads with snapshot-load,\n"
               "which prints the tree (or the hits) or, with --list, a folder's rows; save --snapshot saves from it.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  host::RecordingMessages messages;
  host::Hosts hosts;
  hosts.messages = &messages;
  host::ScopedHosts installed(hosts);
  // As in the program: a folder of an NTFS file system an Extensive Scan found lists through this.
  NtfsFoundFolderLister = ListNtfsFoundFolder;
  for (const Mode& m : kModes) {
    if (std::strcmp(argv[1], m.name) == 0) return m.run(argc - 2, argv + 2);
  }
  return Usage();
}
