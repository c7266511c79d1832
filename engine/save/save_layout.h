// Where a save puts what the user ticked, below the folder chosen. A folder ticked whole is made there
// under its own name, with its subfolders beneath it. A folder that holds files ticked one by one is made
// as it would be if it were ticked whole, and its files go into it under their own names: nobody then has
// to guess which of two notes.txt came from where. A folder inside one that is made (ticked whole, or
// holding ticked files) keeps its place beneath it, with the folders between; the root's files go into the
// chosen folder itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace save {

class SaveLayout {
 public:
  // A folder record by its id: its parent's id and its name; none when no folder record has that id.
  struct Folder {
    uint32_t parent = 0;
    std::u16string name;
  };
  using FindFolder = std::function<std::optional<Folder>(uint32_t id)>;

  SaveLayout(uint32_t rootId, FindFolder find);

  // The folder is made by the save: it is saved whole, or holds a file saved on its own.
  void Hold(uint32_t folderId);

  // The folder below destination that stands for folderId: destination itself for the root; otherwise the
  // names from the top-most held folder above it (or folderId itself) down to folderId, each made safe.
  std::u16string PathOf(const std::u16string& destination, uint32_t folderId) const;
  // Where a folder saved whole goes: the path of its parent when a held folder lies above it, else
  // destination.
  std::u16string ParentPathOf(const std::u16string& destination, uint32_t folderId) const;

 private:
  // folderId and the folders above it up to the one under the root, nearest first; a parent that no record
  // holds, or one met twice, ends it.
  std::vector<uint32_t> Ancestry(uint32_t folderId) const;
  std::optional<size_t> TopHeld(const std::vector<uint32_t>& ancestry, size_t first) const;
  std::u16string Below(const std::u16string& destination, const std::vector<uint32_t>& ancestry, size_t from,
                       size_t to) const;

  uint32_t root_;
  FindFolder find_;
  std::unordered_set<uint32_t> held_;
};

}  // namespace save
