#include "engine/save/folder_plan.h"

#include <algorithm>

#include "engine/fat/save_abort.h"
#include "engine/records/record_list.h"
#include "engine/save/recovered_file.h"
#include "engine/save/save_names.h"

namespace save {

void FolderPlan::Add(uint32_t key, std::optional<uint32_t> parent, std::u16string_view name, bool deleted) {
  if (positions_.count(key) != 0) return;
  records::GuardAllocation([&] {
    const auto held = parent ? positions_.find(*parent) : positions_.end();
    const size_t in = held != positions_.end() ? held->second : kInDestination;
    planned_.push_back({key, in, std::u16string(name), deleted, std::nullopt});
    positions_.emplace(key, planned_.size() - 1);
    return 0;
  });
}

void FolderPlan::MarkLink(uint32_t key, std::u16string target) {
  const auto held = positions_.find(key);
  if (held != positions_.end()) planned_[held->second].link = std::move(target);
}

void FolderPlan::Make(const std::u16string& destination) {
  destination_ = destination;
  // The folders made in each place: in the destination (the last list), and in each folder planned. A parent is
  // always planned before its folders, so no chain of places loops.
  std::vector<std::vector<size_t>> inPlace = records::GuardAllocation([&] {
    return std::vector<std::vector<size_t>>(planned_.size() + 1);
  });
  for (size_t i = 0; i < planned_.size(); ++i) {
    const size_t place = planned_[i].parent == kInDestination ? planned_.size() : planned_[i].parent;
    records::GuardAllocation([&] { return inPlace[place].push_back(i), 0; });
  }
  // Depth first, with a stack of places of its own: no depth of nesting can exhaust the thread's stack.
  std::vector<size_t> places{planned_.size()};
  while (!places.empty() && !SaveStopRequested()) {
    const size_t place = places.back();
    places.pop_back();
    const std::u16string& at = place == planned_.size() ? destination_ : paths_[planned_[place].key];
    std::vector<size_t>& folders = inPlace[place];
    // The live ones first: which of two folders of one name keeps it is the folders' own affair.
    std::stable_partition(folders.begin(), folders.end(), [&](size_t i) { return !planned_[i].deleted; });
    for (size_t i : folders) {
      if (SaveStopRequested()) return;
      if (planned_[i].link) {
        CountLink(1, JoinPath(at, planned_[i].name), *planned_[i].link);
        continue;
      }
      std::u16string path = MakeSaveFolder(at, planned_[i].key, planned_[i].name);
      records::GuardAllocation([&] { return paths_[planned_[i].key] = std::move(path), places.push_back(i), 0; });
    }
  }
}

const std::u16string& FolderPlan::PathOf(uint32_t key) const {
  const auto made = paths_.find(key);
  return made != paths_.end() ? made->second : destination_;
}

}  // namespace save
