// The storage of the engine's process-wide record lists.
//
// A list keeps its records in append order and never reorders them. Records live in a std::deque, so a
// reference or pointer to a record stays valid while more records are appended (also from inside a walk
// that appends to the list it walks); only Free and RemoveIf end it. Iterators, unlike references, are
// invalidated by an append: a walk that appends goes by index:
//   for (size_t i = 0; i < FatFolderList.size(); ++i) { FatFolderRecord& folder = FatFolderList[i]; ... }
// Lists are not locked: one thread appends while a scan runs; others read only after it has ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <new>
#include <utility>

#include "platform/os/os.h"

namespace records {

// Runs work; when memory runs out it tells the user and ends the process (nothing is rolled back).
template <typename Work>
decltype(auto) GuardAllocation(Work&& work) {
  try {
    return std::forward<Work>(work)();
  } catch (const std::bad_alloc&) {
    os::OutOfMemory();
  }
}

template <typename Record>
class RecordList {
 public:
  using iterator = typename std::deque<Record>::iterator;
  using const_iterator = typename std::deque<Record>::const_iterator;

  // Appends at the tail and returns the record in the list.
  Record& Append(Record&& record) {
    return GuardAllocation([&]() -> Record& { return items_.emplace_back(std::move(record)); });
  }
  Record& Append(const Record& record) {
    return GuardAllocation([&]() -> Record& { return items_.emplace_back(record); });
  }

  // Frees every record; the list is empty afterwards and the next append starts a new list.
  void Free() {
    std::deque<Record>().swap(items_);
    ++generation_;
  }

  // Removes the records for which remove(record) is true, keeping the order of the others; returns how
  // many went. References to records of this list are invalid afterwards.
  template <typename Predicate>
  size_t RemoveIf(Predicate remove) {
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (remove(static_cast<const Record&>(items_[i]))) continue;
      if (kept != i) items_[kept] = std::move(items_[i]);
      ++kept;
    }
    const size_t removed = items_.size() - kept;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(kept), items_.end());
    ++generation_;
    return removed;
  }

  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  Record& operator[](size_t i) { return items_[i]; }
  const Record& operator[](size_t i) const { return items_[i]; }
  Record& front() { return items_.front(); }
  Record& back() { return items_.back(); }
  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }

  // Changes whenever records leave the list (Free, RemoveIf); lookups use it to drop stale indexes.
  uint64_t Generation() const { return generation_; }

 private:
  std::deque<Record> items_;
  uint64_t generation_ = 0;
};

}  // namespace records
