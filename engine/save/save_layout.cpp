#include "engine/save/save_layout.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "engine/records/record_list.h"
#include "engine/save/save_names.h"

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

// destination, then the folders chain[from] .. chain[end - 1] made one in the other, where from drops the
// levels above the common folder.
std::u16string SaveLayout::Make(const std::u16string& destination, const std::vector<uint32_t>& chain,
                                size_t end) const {
  const size_t from = common_ && !common_->empty() ? common_->size() - 1 : 0;
  std::u16string path = destination;
  for (size_t i = from; i < end; ++i) {
    const std::optional<Folder> folder = find_(chain[i]);
    path = MakeSaveFolder(path, chain[i], folder ? folder->name : std::u16string());
  }
  return path;
}

std::u16string SaveLayout::MakePlace(const std::u16string& destination, uint32_t folderId) const {
  const std::vector<uint32_t> chain = Chain(folderId);
  return Make(destination, chain, chain.size());
}

std::u16string SaveLayout::MakeParentPlace(const std::u16string& destination, uint32_t folderId) const {
  const std::vector<uint32_t> chain = Chain(folderId);
  return Make(destination, chain, chain.empty() ? 0 : chain.size() - 1);
}

}  // namespace save
