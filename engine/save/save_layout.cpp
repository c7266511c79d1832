#include "engine/save/save_layout.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "engine/records/record_list.h"
#include "engine/save/folder_plan.h"

namespace save {

SaveLayout::SaveLayout(uint32_t rootId, FindFolder find) : root_(rootId), find_(std::move(find)) {}

std::vector<uint32_t> SaveLayout::Chain(uint32_t folderId) const {
  std::vector<uint32_t> chain;
  std::unordered_set<uint32_t> seen;
  // Parents read off an image may loop: each folder is taken once.
  for (uint32_t id = folderId; id != root_ && seen.insert(id).second;) {
    const std::optional<Folder> folder = find_(id);
    if (!folder) break;
    records::GuardAllocation([&] { return chain.push_back(id), 0; });
    id = folder->parent;
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

void SaveLayout::Include(uint32_t folderId) {
  std::vector<uint32_t> chain = Chain(folderId);
  if (!common_) {
    common_ = std::move(chain);
    return;
  }
  const auto apart = std::mismatch(common_->begin(), common_->end(), chain.begin(), chain.end());
  common_->erase(apart.first, common_->end());
}

void SaveLayout::Plan(FolderPlan& plan, uint32_t folderId) const {
  const std::vector<uint32_t> chain = Chain(folderId);
  // The common folder itself is made in the chosen folder: the levels above it are not.
  const size_t from = common_ && !common_->empty() ? common_->size() - 1 : 0;
  for (size_t i = from; i < chain.size(); ++i) {
    const std::optional<Folder> folder = find_(chain[i]);
    plan.Add(chain[i], i == from ? std::nullopt : std::optional<uint32_t>(chain[i - 1]),
             folder ? folder->name : std::u16string(), folder && folder->deleted);
  }
}

}  // namespace save
