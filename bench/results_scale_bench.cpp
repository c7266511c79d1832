// The results page's work over large generated results, natively, over the engine's record lists (a FAT
// Quick Scan) and a tree whose walking steps cost constant time as the tree control's do:
//   properties  FOLDERS FILES   the "File/Folder Properties" count of the top node
//   find        DEPTH           a Find Files search over a chain of DEPTH folders, one file in each
//   collect     FOLDERS FILES   Save's collection of the ticked folders: FOLDERS ticked folders under the top node
//   click       DEPTH           a box ticked, then unticked, at the end of a chain of DEPTH folders, a file in each
// Prints the seconds of the timed step; bench/results_scale.sh runs each in a process of its own under
// /usr/bin/time for its peak memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/logic/check_tree.h"
#include "app/logic/find_files_search.h"
#include "app/logic/folder_totals.h"
#include "app/results/mark_sets.h"
#include "app/results/result_checks.h"
#include "app/results/result_records.h"
#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/records/fat_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"

namespace {

// The recording tree with child and sibling links, so that walking it costs what the tree control's
// messages cost; also the check model's tree.
class LinkedTree : public host::RecordingResultTree, public app::CheckTree {
 public:
  host::TreeKey AddItem(const std::u16string& text, host::TreeKey parent, host::TreeImage image,
                        bool deleted) override {
    const host::TreeKey key = RecordingResultTree::AddItem(text, parent, image, deleted);
    links_.resize(key + 1);
    states_.resize(key + 1, app::CheckState::kUnchecked);
    links_[key].parent = parent;
    if (parent == host::kNoTreeKey) {
      if (top_ == 0) top_ = key;
    } else if (links_[parent].first == 0) {
      links_[parent].first = links_[parent].last = key;
    } else {
      links_[links_[parent].last].next = key;
      links_[parent].last = key;
    }
    return key;
  }
  host::TreeKey GetRootItem() override { return top_; }
  host::TreeKey GetChildItem(host::TreeKey node) override { return node < links_.size() ? links_[node].first : 0; }
  host::TreeKey GetNextSiblingItem(host::TreeKey node) override { return node < links_.size() ? links_[node].next : 0; }

  Item Parent(Item item) const override { return links_[item].parent; }
  Item FirstChild(Item item) const override { return item == 0 ? top_ : links_[item].first; }
  Item NextSibling(Item item) const override { return item == top_ ? 0 : links_[item].next; }
  app::CheckState GetState(Item item) const override { return states_[item]; }
  void SetState(Item item, app::CheckState state) override { states_[item] = state; }

 private:
  struct Links {
    host::TreeKey parent = 0, first = 0, last = 0, next = 0;
  };
  std::vector<Links> links_{1};
  std::vector<app::CheckState> states_{1};
  host::TreeKey top_ = 0;
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

uint32_t nextCluster = 100;

host::TreeKey AddFolder(LinkedTree& tree, host::TreeKey parentNode, uint32_t parentId, uint32_t* id) {
  *id = nextCluster++;
  const std::u16string name = u"Folder number " + std::u16string(1, static_cast<char16_t>(u'A' + *id % 26));
  const host::TreeKey node = tree.AddItem(name, parentNode, host::TreeImage::kFolder, false);
  AppendFatFolder(name, *id, parentId, 0, 0, node, 0);
  return node;
}

void AddFile(uint32_t parentId) {
  AppendFatEntry(u"FILE.TXT", nextCluster++, parentId, 0, 0, 1000, 0);
  ++ScanCounters.entryCount;
}

host::TreeKey Top(LinkedTree& tree) { return tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false); }

// FOLDERS folders in two levels under the top node (about the square root of FOLDERS at the first), the
// files spread over them evenly.
std::vector<host::TreeKey> Wide(LinkedTree& tree, uint32_t folders, uint32_t files, bool twoLevels) {
  const host::TreeKey top = Top(tree);
  std::vector<host::TreeKey> firstLevel;
  std::vector<uint32_t> ids;
  uint32_t outer = twoLevels ? 1 : folders;
  while (twoLevels && outer * outer < folders) ++outer;
  for (uint32_t i = 0; i < folders; ++i) {
    uint32_t id = 0;
    if (i < outer) {
      firstLevel.push_back(AddFolder(tree, top, records::kFatRootId, &id));
    } else {
      const size_t parent = i % outer;
      AddFolder(tree, firstLevel[parent], ids[parent], &id);
    }
    ids.push_back(id);
  }
  for (uint32_t i = 0; i < files; ++i) AddFile(ids[i % ids.size()]);
  return firstLevel;
}

// A chain of depth folders below the top node, a file in each; answers the deepest node.
host::TreeKey Chain(LinkedTree& tree, uint32_t depth) {
  host::TreeKey node = Top(tree);
  uint32_t parentId = records::kFatRootId;
  for (uint32_t i = 0; i < depth; ++i) {
    uint32_t id = 0;
    node = AddFolder(tree, node, parentId, &id);
    AddFile(id);
    parentId = id;
  }
  return node;
}

class CountingSink : public app::FindSink {
 public:
  void AddMatch(const app::FindMatch& match) override {
    if (matches++ < kScreenRows) folders.push_back(match.folder);
  }
  static constexpr uint64_t kScreenRows = 30;
  uint64_t matches = 0;
  std::vector<uint32_t> folders;  // of the rows a screen shows
};

uint32_t Arg(char** argv, int i) { return static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: results_scale_bench properties|find|collect|click N [FILES]\n");
    return 2;
  }
  FreeScanRecordLists();
  RecoveryMode = records::kQuickScan;
  CurrentFileSystem.type = records::kFat32;
  host::Hosts hosts;
  LinkedTree tree;
  hosts.resultTree = &tree;
  host::ScopedHosts installed(hosts);
  const std::string what = argv[1];

  if (what == "properties" && argc >= 4) {
    Wide(tree, Arg(argv, 2), Arg(argv, 3), true);
    const auto start = std::chrono::steady_clock::now();
    CountFolderTotals(tree, tree.GetRootItem());
    std::printf("properties of the top node: %.3f s (%llu files, %llu folders)\n", Seconds(start),
                static_cast<unsigned long long>(FolderTotals.fileCount),
                static_cast<unsigned long long>(FolderTotals.folderCount));
  } else if (what == "find") {
    Chain(tree, Arg(argv, 2));
    const auto start = std::chrono::steady_clock::now();
    const app::FindSource source = app::CurrentFindSource();
    const app::FolderPaths paths = app::BuildFolderPaths(tree, source);
    CountingSink sink;
    app::SearchFileRecords(source, u"*.txt", [] { return false; }, sink);
    // The path column of the rows on the screen, as the list asks for them (260 characters at most).
    for (uint32_t folder : sink.folders) paths.PathOf(folder, 259);
    std::printf("find files: %.3f s (%llu matches)\n", Seconds(start), static_cast<unsigned long long>(sink.matches));
  } else if (what == "collect" && argc >= 4) {
    const std::vector<host::TreeKey> ticked = Wide(tree, Arg(argv, 2), Arg(argv, 3), false);
    std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
    results::MarkSets sets;
    results::ResultChecks checks(tree, *records, sets);
    for (host::TreeKey node : ticked) checks.SetTreeCheck(node);
    const auto start = std::chrono::steady_clock::now();
    const size_t folders = checks.CollectSaveFolders().size();
    std::printf("save's collection: %.3f s (%zu folders)\n", Seconds(start), folders);
  } else if (what == "click") {
    const host::TreeKey deepest = Chain(tree, Arg(argv, 2));
    std::unique_ptr<results::ResultRecords> records = results::EngineRecords();
    results::MarkSets sets;
    results::ResultChecks checks(tree, *records, sets);
    auto start = std::chrono::steady_clock::now();
    checks.ClickTreeBox(deepest);
    const double tick = Seconds(start);
    start = std::chrono::steady_clock::now();
    checks.ClickTreeBox(deepest);
    std::printf("box click: tick %.3f s, untick %.3f s\n", tick, Seconds(start));
  } else {
    std::fprintf(stderr, "unknown benchmark %s\n", what.c_str());
    return 2;
  }
  return 0;
}
