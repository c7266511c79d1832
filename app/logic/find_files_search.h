// The search of the "Find File(s)" dialog: the file records of the current scan whose names match a
// wildcard pattern, each with the path of its folder in the results tree. The dialog's worker runs the
// search and touches no window and no lookup index of the record lists; the user-interface thread reads
// the tree (FolderPaths) and puts a row's path together when the row is shown.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// The folders of the results tree by id, each with its node's text and the node above it, so that the path
// of a folder (the texts below the top node down to its node, joined with "\"; a part that ends with "\"
// gets none added) is put together only for a row that shows it: every folder's whole path at once would
// grow with the square of a deep tree. A folder without a node, and the root, have the empty path.
class FolderPaths {
 public:
  // The path of the folder with that id, cut after maxLength characters.
  std::u16string PathOf(uint32_t folderId, size_t maxLength = std::u16string::npos) const;

 private:
  friend FolderPaths BuildFolderPaths(host::ResultTreeHost& tree, FindSource source);
  struct Node {
    uint32_t parent;  // index + 1 of the node above it in nodes_; 0 under the top node
    std::u16string text;
  };
  std::vector<Node> nodes_;  // every node below the top node, each after the node above it
  std::unordered_map<uint32_t, uint32_t> byFolder_;  // folder id to index + 1 in nodes_
};

// The source's folders as the results tree holds them; read on the tree's own thread.
FolderPaths BuildFolderPaths(host::ResultTreeHost& tree, FindSource source);

struct FindMatch {
  uint32_t id = 0;  // the record's id, as column "ID" shows it
  uint32_t folder = 0;  // the record's parent id: its path is FolderPaths::PathOf(folder)
  bool deleted = false;
  std::u16string name, size, created, modified;
};

class FindSink {
 public:
  virtual ~FindSink() = default;
  virtual void AddMatch(const FindMatch& match) = 0;
};

// Asked before each record: true ends the walk. The dialog's test waits at its pause gate first.
using FindStopTest = std::function<bool()>;

// Walks the source's records in order and hands each whose upper-cased name matches the upper-cased
// pattern (MatchFileNamePattern), and that the file filters show (PassesFileFilters: they keep the others
// from a save as from the lists), to sink, until stopRequested says so. Returns the number of matches
// handed over.
uint32_t SearchFileRecords(FindSource source, std::u16string_view pattern, const FindStopTest& stopRequested,
                           FindSink& sink);

// The status line after a search: "There were N files found." or, with none, "Search is complete.
// There are no results to display.".
std::u16string FindStatusText(uint32_t found);

}  // namespace app
