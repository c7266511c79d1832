#include "app/results/result_test_tree.h"

namespace results_test {

app::CheckTree::Item PlainTree::Add(Item parent) {
  const Item key = nodes_.size() + 1;
  nodes_[key].parent = parent;
  (parent == 0 ? tops_ : nodes_.at(parent).children).push_back(key);
  return key;
}

app::CheckTree::Item PlainTree::FirstChild(Item item) const {
  const std::vector<Item>& children = item == 0 ? tops_ : nodes_.at(item).children;
  return children.empty() ? 0 : children.front();
}

app::CheckTree::Item PlainTree::NextSibling(Item item) const {
  const Item parent = nodes_.at(item).parent;
  const std::vector<Item>& siblings = parent == 0 ? tops_ : nodes_.at(parent).children;
  for (size_t i = 0; i + 1 < siblings.size(); ++i) {
    if (siblings[i] == item) return siblings[i + 1];
  }
  return 0;
}

std::optional<uint32_t> FakeRecords::FolderOfNode(host::TreeKey node) const {
  for (const Folder& f : folders) {
    if (f.node == node) return f.id;
  }
  return std::nullopt;
}

host::TreeKey FakeRecords::NodeOfFolder(uint32_t folderId) const {
  for (const Folder& f : folders) {
    if (f.id == folderId) return f.node;
  }
  return host::kNoTreeKey;
}

std::optional<uint32_t> FakeRecords::ParentOfFolder(uint32_t folderId) const {
  for (const Folder& f : folders) {
    if (f.id == folderId) return f.parent;
  }
  return std::nullopt;
}

std::vector<uint32_t> FakeRecords::ParentsOfFile(uint32_t fileId) const {
  std::vector<uint32_t> parents;
  for (const File& f : files) {
    if (f.id == fileId) parents.push_back(f.parent);
  }
  return parents;
}

std::vector<uint32_t> FakeRecords::FilesOf(const std::unordered_set<uint32_t>& folderIds) const {
  std::vector<uint32_t> ids;
  for (const File& f : files) {
    if (folderIds.count(f.parent) != 0) ids.push_back(f.id);
  }
  return ids;
}

app::CheckTree::Item CheckingTree::FirstChild(Item item) const {
  const std::vector<host::TreeKey> children = Children(static_cast<host::TreeKey>(item));
  return children.empty() ? 0 : children.front();
}

app::CheckTree::Item CheckingTree::NextSibling(Item item) const {
  const std::vector<host::TreeKey> siblings = Children(At(static_cast<host::TreeKey>(item)).parent);
  for (size_t i = 0; i + 1 < siblings.size(); ++i) {
    if (siblings[i] == item) return siblings[i + 1];
  }
  return 0;
}

app::CheckState CheckingTree::GetState(Item item) const {
  const auto found = states_.find(item);
  return found == states_.end() ? app::CheckState::kUnchecked : found->second;
}

void CheckingTree::DeleteAllItems() {
  RecordingResultTree::DeleteAllItems();
  states_.clear();
}

void CheckingTree::ClearChecks(host::TreeKey node) {
  RecordingResultTree::ClearChecks(node);
  if (onClearChecks) onClearChecks(node);
}

}  // namespace results_test
