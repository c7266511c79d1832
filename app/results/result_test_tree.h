// A plain tree and hand-made records for the check model's tests; and a tree and list that the engine's
// builders, listers and savers reach as they reach the windows, under the check model.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/logic/check_tree.h"
#include "app/results/mark_sets.h"
#include "app/results/result_records.h"
#include "engine/host/result_tree_fakes.h"

namespace results_test {

class PlainTree : public app::CheckTree {
 public:
  // A node under parent (0: a top-level node); keys run 1, 2, ...
  Item Add(Item parent);
  Item Parent(Item item) const override { return nodes_.at(item).parent; }
  Item FirstChild(Item item) const override;
  Item NextSibling(Item item) const override;
  app::CheckState GetState(Item item) const override { return nodes_.at(item).state; }
  void SetState(Item item, app::CheckState state) override { nodes_.at(item).state = state; }

 private:
  struct Node {
    Item parent = 0;
    app::CheckState state = app::CheckState::kUnchecked;
    std::vector<Item> children;
  };
  std::map<Item, Node> nodes_;
  std::vector<Item> tops_;
};

struct File {
  uint32_t id;
  uint32_t parent;
};
struct Folder {
  uint32_t id;
  uint32_t parent;
  host::TreeKey node;
};

class FakeRecords : public results::ResultRecords {
 public:
  results::ResultKind kind = results::ResultKind::kFat;
  uint32_t root = 0;
  std::vector<Folder> folders;
  std::vector<File> files;

  results::ResultKind Kind() const override { return kind; }
  uint32_t RootFolderId() const override { return root; }
  std::optional<uint32_t> FolderOfNode(host::TreeKey node) const override;
  host::TreeKey NodeOfFolder(uint32_t folderId) const override;
  std::optional<uint32_t> ParentOfFolder(uint32_t folderId) const override;
  std::vector<uint32_t> ParentsOfFile(uint32_t fileId) const override;
  std::vector<uint32_t> FilesOf(const std::unordered_set<uint32_t>& folderIds) const override;
  std::vector<uint32_t> HitsOf(std::u16string_view) const override { return {}; }
};

// The engine's recording tree with a box on every node. ClearChecks (after a save) is the hook's.
class CheckingTree : public host::RecordingResultTree, public app::CheckTree {
 public:
  Item Parent(Item item) const override { return At(static_cast<host::TreeKey>(item)).parent; }
  Item FirstChild(Item item) const override;
  Item NextSibling(Item item) const override;
  app::CheckState GetState(Item item) const override;
  void SetState(Item item, app::CheckState state) override { states_[item] = state; }
  void DeleteAllItems() override;
  void ClearChecks(host::TreeKey node) override;

  std::function<void(host::TreeKey)> onClearChecks;

 private:
  std::map<Item, app::CheckState> states_;
};

// The engine's recording list whose save sets are the check model's: Save takes them and empties them.
class CheckingList : public host::RecordingResultList {
 public:
  explicit CheckingList(results::MarkSets& sets) : sets_(sets) {}
  std::vector<host::TreeKey> SaveFolderSet() override { return sets_.saveFolders.Keys(); }
  std::vector<uint32_t> SaveFileSet() override { return sets_.saveFiles.Keys(); }
  void EmptyCheckSets() override { sets_.Clear(); }

 private:
  results::MarkSets& sets_;
};

}  // namespace results_test
