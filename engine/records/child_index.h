// The records of a list by parent id, rebuilt when the list has changed. Whatever walks folders and
// their files (a save of whole folders, the check marks of a folder, its properties) looks here rather
// than through the whole list for each folder, which would take time that grows with its square.
//
// An index is tied to the thread that uses it: each user keeps its own (the save worker one, the
// user-interface thread another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/records/record_list.h"

namespace records {

template <typename Record>
class ChildIndex {
 public:
  // The positions in list of the records whose parentId is parent, in list order.
  const std::vector<size_t>& Of(const RecordList<Record>& list, uint32_t parent) {
    if (&list != list_ || list.Generation() != generation_ || list.size() != size_) Rebuild(list);
    const auto found = byParent_.find(parent);
    return found == byParent_.end() ? none_ : found->second;
  }

 private:
  void Rebuild(const RecordList<Record>& list) {
    GuardAllocation([&] {
      byParent_.clear();
      for (size_t i = 0; i < list.size(); ++i) byParent_[list[i].parentId].push_back(i);
      return 0;
    });
    list_ = &list;
    generation_ = list.Generation();
    size_ = list.size();
  }

  const RecordList<Record>* list_ = nullptr;
  uint64_t generation_ = 0;
  size_t size_ = 0;
  std::unordered_map<uint32_t, std::vector<size_t>> byParent_;
  const std::vector<size_t> none_{};
};

}  // namespace records
