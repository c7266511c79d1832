#include "engine/host/result_tree_fakes.h"

namespace host {

namespace {

std::u16string Trimmed(const std::u16string& text) {
  const size_t first = text.find_first_not_of(u" \t\r\n");
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(u" \t\r\n") - first + 1);
}

}  // namespace

void RecordingResultTree::DeleteAllItems() {
  nodes.clear();
  ++deleteAllCount;
  currentNode = kNoTreeKey;
}

TreeKey RecordingResultTree::AddItem(const std::u16string& text, TreeKey parent, TreeImage image,
                                     bool deleted) {
  nodes.push_back({text, parent, image, deleted, false, false});
  return static_cast<TreeKey>(nodes.size());
}

TreeKey RecordingResultTree::AddTreeItemOnce(const std::u16string& text, TreeKey parent,
                                             bool hasChildren) {
  for (TreeKey child : Children(parent)) {
    if (Trimmed(At(child).text) == Trimmed(text)) return child;
  }
  const TreeKey key =
      AddItem(text, parent, parent == kNoTreeKey ? TreeImage::kDrive : TreeImage::kFolder, false);
  nodes.back().hasChildren = hasChildren;
  return key;
}

void RecordingResultTree::Expand(TreeKey node) {
  if (node >= 1 && node <= nodes.size()) nodes[node - 1].expanded = true;
}

std::vector<TreeKey> RecordingResultTree::Children(TreeKey parent) const {
  std::vector<TreeKey> children;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].parent == parent) children.push_back(static_cast<TreeKey>(i + 1));
  }
  return children;
}

std::u16string RecordingResultTree::Path(TreeKey key) const {
  std::u16string path;
  for (TreeKey at = key; at != kNoTreeKey; at = At(at).parent) {
    path = path.empty() ? At(at).text : At(at).text + u"/" + path;
  }
  return path;
}

}  // namespace host
