#include "app/results/mark_sets.h"

namespace results {

bool KeySet::Insert(uint32_t key) {
  if (!index_.emplace(key, next_).second) return false;
  order_.emplace(next_++, key);
  return true;
}

bool KeySet::Erase(uint32_t key) {
  const auto found = index_.find(key);
  if (found == index_.end()) return false;
  order_.erase(found->second);
  index_.erase(found);
  return true;
}

void KeySet::Clear() {
  order_.clear();
  index_.clear();
}

std::vector<uint32_t> KeySet::Keys() const {
  std::vector<uint32_t> keys;
  keys.reserve(order_.size());
  for (const auto& entry : order_) keys.push_back(entry.second);
  return keys;
}

void MarkSets::Clear() {
  checkedFolders.Clear();
  fileMarks.Clear();
  saveFolders.Clear();
  saveFiles.Clear();
  checkedNodes.Clear();
}

}  // namespace results
