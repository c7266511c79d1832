// Finds the first record of a list (in list order) whose key field has a value, in constant time.
//
// The index is built lazily: each lookup first indexes the records appended since the one before, and a
// list that was freed or shrunk (its generation changed) is indexed afresh. Appending therefore costs
// nothing extra, and a lookup after a scan pays once for the whole list. A lookup writes the index, so
// like an append it runs on the thread that fills the list, or on any one thread after the filling.
#pragma once

#include <cstddef>
#include <unordered_map>

#include "engine/records/record_list.h"

namespace records {

template <typename Record, typename Key, Key Record::*kField>
class FirstRecordIndex {
 public:
  // For a key that never changes once its record is appended.
  Record* Find(RecordList<Record>& list, Key key) {
    if (Record* record = Lookup(list, key); record == nullptr || record->*kField == key) return record;
    Drop();  // a record changed under the index: start again
    return Lookup(list, key);
  }

  // For a key that callers may rewrite after the append (a tree key): a key not found also makes the
  // index start again from the list as it is now.
  Record* FindRewritable(RecordList<Record>& list, Key key) {
    if (Record* record = Find(list, key)) return record;
    Drop();
    Record* record = Lookup(list, key);
    return record != nullptr && record->*kField == key ? record : nullptr;
  }

  // Releases the index (it is rebuilt by the next lookup).
  void Drop() {
    std::unordered_map<Key, size_t>().swap(first_);
    indexed_ = 0;
  }

 private:
  Record* Lookup(RecordList<Record>& list, Key key) {
    CatchUp(list);
    auto it = first_.find(key);
    return it == first_.end() ? nullptr : &list[it->second];
  }

  void CatchUp(RecordList<Record>& list) {
    if (generation_ != list.Generation() || indexed_ > list.size()) {
      Drop();
      generation_ = list.Generation();
    }
    GuardAllocation([&] {
      for (; indexed_ < list.size(); ++indexed_) first_.emplace(list[indexed_].*kField, indexed_);
    });
  }

  std::unordered_map<Key, size_t> first_;
  size_t indexed_ = 0;
  uint64_t generation_ = 0;
};

}  // namespace records
