#include "engine/host/file_system_tree_fakes.h"

namespace host {

TreeKey RecordingFileSystemTree::AddItem(const std::u16string& text, TreeKey parent) {
  nodes.push_back({text, parent, false, false});
  return static_cast<TreeKey>(nodes.size());
}

TreeKey RecordingFileSystemTree::AddFileSystem(const std::u16string& label, TreeKey parent) {
  nodes.push_back({label, parent, true, false});
  return static_cast<TreeKey>(nodes.size());
}

void RecordingFileSystemTree::Expand(TreeKey node) {
  if (node >= 1 && node <= nodes.size()) nodes[node - 1].expanded = true;
}

const RecordingFileSystemTree::Node* RecordingFileSystemTree::Find(TreeKey key) const {
  return key >= 1 && key <= nodes.size() ? &nodes[key - 1] : nullptr;
}

}  // namespace host
