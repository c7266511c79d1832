// The check bookkeeping the results tree and list share: sets of 32-bit keys (tree nodes or record ids)
// that remember the order keys entered them, so whatever is walked from them (the save order, and with it
// the numbering of duplicate names) is the same on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace results {

class KeySet {
 public:
  // True when the key was not there before.
  bool Insert(uint32_t key);
  // True when the key was there.
  bool Erase(uint32_t key);
  bool Contains(uint32_t key) const { return index_.count(key) != 0; }
  size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }
  void Clear();
  // The keys in the order they entered (a key that left and came back counts from its return).
  std::vector<uint32_t> Keys() const;

 private:
  std::map<uint64_t, uint32_t> order_;
  std::unordered_map<uint32_t, uint64_t> index_;
  uint64_t next_ = 0;
};

struct MarkSets {
  KeySet checkedFolders;  // tree nodes of checked folders (CheckedFolderSet)
  KeySet fileMarks;       // record ids of files shown checked (FileMarkSet)
  KeySet saveFolders;     // tree nodes of the folders Save takes (SaveFolderSet)
  KeySet saveFiles;       // record ids of files ticked one by one (SaveFileSet)
  KeySet checkedNodes;    // checked tree nodes (CheckedNodeSet)
  void Clear();
};

}  // namespace results
