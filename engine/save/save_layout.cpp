#include "engine/save/save_layout.h"

#include <utility>

#include "engine/records/record_list.h"
#include "engine/save/recovered_file.h"
#include "engine/save/safe_path_component.h"

namespace save {

SaveLayout::SaveLayout(uint32_t rootId, FindFolder find) : root_(rootId), find_(std::move(find)) {}

void SaveLayout::Hold(uint32_t folderId) {
  if (folderId != root_) records::GuardAllocation([&] { return held_.insert(folderId), 0; });
}

std::vector<uint32_t> SaveLayout::Ancestry(uint32_t folderId) const {
  std::vector<uint32_t> chain;
  std::unordered_set<uint32_t> seen;
  // Parents read off an image may loop: each folder is taken once.
  for (uint32_t id = folderId; id != root_ && seen.insert(id).second;) {
    const std::optional<Folder> folder = find_(id);
    if (!folder) break;
    records::GuardAllocation([&] { return chain.push_back(id), 0; });
    id = folder->parent;
  }
  return chain;
}

// The last held folder of ancestry from index first on (the top-most), or none.
std::optional<size_t> SaveLayout::TopHeld(const std::vector<uint32_t>& ancestry, size_t first) const {
  std::optional<size_t> top;
  for (size_t i = first; i < ancestry.size(); ++i) {
    if (held_.count(ancestry[i]) != 0) top = i;
  }
  return top;
}

// destination, then the names of ancestry[from], ancestry[from - 1], ... down to ancestry[to].
std::u16string SaveLayout::Below(const std::u16string& destination, const std::vector<uint32_t>& ancestry,
                                 size_t from, size_t to) const {
  std::u16string path = destination;
  for (size_t i = from + 1; i-- > to;) {
    const std::optional<Folder> folder = find_(ancestry[i]);
    path = JoinPath(path, SafePathComponent(folder ? folder->name : std::u16string()));
  }
  return path;
}

std::u16string SaveLayout::PathOf(const std::u16string& destination, uint32_t folderId) const {
  const std::vector<uint32_t> ancestry = Ancestry(folderId);
  if (ancestry.empty()) return destination;
  return Below(destination, ancestry, TopHeld(ancestry, 0).value_or(0), 0);
}

std::u16string SaveLayout::ParentPathOf(const std::u16string& destination, uint32_t folderId) const {
  const std::vector<uint32_t> ancestry = Ancestry(folderId);
  const std::optional<size_t> top = TopHeld(ancestry, 1);
  return top ? Below(destination, ancestry, *top, 1) : destination;
}

}  // namespace save
