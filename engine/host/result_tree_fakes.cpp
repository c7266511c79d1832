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

TreeKey RecordingResultTree::GetRootItem() {
  const std::vector<TreeKey> top = Children(kNoTreeKey);
  return top.empty() ? kNoTreeKey : top.front();
}

TreeKey RecordingResultTree::GetChildItem(TreeKey node) {
  if (node == kNoTreeKey || node > nodes.size()) return kNoTreeKey;
  const std::vector<TreeKey> children = Children(node);
  return children.empty() ? kNoTreeKey : children.front();
}

TreeKey RecordingResultTree::GetNextSiblingItem(TreeKey node) {
  if (node == kNoTreeKey || node > nodes.size()) return kNoTreeKey;
  const std::vector<TreeKey> siblings = Children(At(node).parent);
  for (size_t i = 0; i + 1 < siblings.size(); ++i) {
    if (siblings[i] == node) return siblings[i + 1];
  }
  return kNoTreeKey;
}

std::u16string RecordingResultTree::GetItemText(TreeKey node) {
  if (node == kNoTreeKey || node > nodes.size()) return {};
  return At(node).text;
}

std::u16string RecordingResultTree::Path(TreeKey key) const {
  std::u16string path;
  for (TreeKey at = key; at != kNoTreeKey; at = At(at).parent) {
    path = path.empty() ? At(at).text : At(at).text + u"/" + path;
  }
  return path;
}

void RecordingResultList::DeleteAllItems() {
  rows.clear();
  ++deleteAllCount;
}

int32_t RecordingResultList::InsertItem(uint32_t row, const std::u16string& text, int32_t icon) {
  if (openRows == 0) ++rowsInsertedUnheld;
  const size_t at = row < rows.size() ? row : rows.size();
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{{text}, icon, false, false});
  return static_cast<int32_t>(at);
}

void RecordingResultList::SetItemText(uint32_t row, uint32_t column, const std::u16string& text) {
  if (row >= rows.size()) return;
  std::vector<std::u16string>& texts = rows[row].texts;
  if (texts.size() <= column) texts.resize(size_t{column} + 1);
  texts[column] = text;
}

void RecordingResultList::SetParentRow(uint32_t row) {
  if (row < rows.size()) rows[row].parent = true;
}

void RecordingResultList::CheckItem(uint32_t row) {
  if (row < rows.size()) rows[row].checked = true;
}

std::u16string RecordingResultList::GetItemText(uint32_t row, uint32_t column) {
  if (row >= rows.size() || column >= rows[row].texts.size()) return {};
  return rows[row].texts[column];
}

void RecordingResultList::EmptyCheckSets() {
  saveFolderSet.clear();
  saveFileSet.clear();
  ++emptyCheckSetsCount;
}

std::u16string RecordingResultList::RowLine(uint32_t row, uint32_t columns) {
  std::u16string line;
  for (uint32_t column = 0; column < columns; ++column) {
    if (column != 0) line += u'\t';
    line += GetItemText(row, column);
  }
  return line;
}

}  // namespace host
