// The search of the "Find File(s)" dialog: the file records of the current scan whose names match a
// wildcard pattern, each with the path of its folder in the results tree. The dialog's worker runs the
// search; the user-interface thread reads the tree first (FolderPaths), so the worker touches no window
// and no lookup index of the record lists.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace host {
class ResultTreeHost;
}

// 1 from the dialog's opening until it is closed; the results list reads it.
extern std::atomic<uint32_t> FindDialogOpen;

namespace app {

// The record list a search walks, and in which the ticked matches are looked up when they are saved.
enum class FindSource : uint32_t { kNone, kFatEntries, kNtfsEntries, kNtfsFoundEntries };

// By CurrentFileSystem and RecoveryMode: FAT files; NTFS files of a Quick Scan; NTFS files an Extensive
// Scan found (those inside the chosen file system); nothing for File Trace or another file system.
FindSource CurrentFindSource();

// The path of each folder of the source's folder list in the results tree: the texts below the top
// node down to the folder's node, joined with "\" (a part that ends with "\" gets none added); by
// folder id. A folder without a node, and the root, have the empty path.
using FolderPaths = std::unordered_map<uint32_t, std::u16string>;
FolderPaths BuildFolderPaths(host::ResultTreeHost& tree, FindSource source);

struct FindMatch {
  uint32_t id = 0;  // the record's id, as column "ID" shows it
  bool deleted = false;
  std::u16string name, path, size, created, modified;
};

class FindSink {
 public:
  virtual ~FindSink() = default;
  virtual void AddMatch(const FindMatch& match) = 0;
};

// Asked before each record: true ends the walk. The dialog's test waits at its pause gate first.
using FindStopTest = std::function<bool()>;

// Walks the source's records in order and hands each whose upper-cased name matches the upper-cased
// pattern (MatchFileNamePattern) to sink, until stopRequested says so. Returns the number of matches
// handed over.
uint32_t SearchFileRecords(FindSource source, std::u16string_view pattern, const FolderPaths& paths,
                           const FindStopTest& stopRequested, FindSink& sink);

// The status line after a search: "There were N files found." or, with none, "Search is complete.
// There are no results to display.".
std::u16string FindStatusText(uint32_t found);

}  // namespace app
