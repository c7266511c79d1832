// Where a save puts what the user ticked, below the folder chosen. The deepest folder that holds everything
// ticked (a folder ticked whole holds itself; a file ticked on its own is held by its folder) is made in the
// chosen folder under its own name, and below it every folder on the way to what was ticked; the root stands
// for the chosen folder itself. This depends on the tree and the ticks alone, however they were clicked: a
// folder ticked whole is saved as itself, one file ticked goes into its folder, two folders ticked in one
// folder go into that folder, and two folders of one name in different places never meet (every saved path
// is a path of the results tree below one common level). The folders are planned here and made by a FolderPlan
// (through MakeSaveFolder), so that two different folders never share one folder on the disk either, and a live
// folder keeps its name beside a deleted one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace save {

class FolderPlan;

class SaveLayout {
 public:
  // A folder record by its id: its parent's id, its name and whether it is deleted; none when no folder record
  // has that id.
  struct Folder {
    uint32_t parent = 0;
    std::u16string name;
    bool deleted = false;
  };
  using FindFolder = std::function<std::optional<Folder>(uint32_t id)>;

  SaveLayout(uint32_t rootId, FindFolder find);

  // A folder of the selection: one saved whole, or the folder of a file saved on its own.
  void Include(uint32_t folderId);

  // Plans the folder's place, once every folder of the selection is included: the folder and every folder on the
  // way to it from the common level, each in the one above it, the top one in the chosen folder. Nothing for the
  // root (the chosen folder itself), nor for a folder above the common level; plan.PathOf then gives the chosen
  // folder.
  void Plan(FolderPlan& plan, uint32_t folderId) const;

 private:
  // The folders from the one under the root (or the top-most whose parent no record holds, or that a loop of
  // parents meets again) down to folderId; empty for the root.
  std::vector<uint32_t> Chain(uint32_t folderId) const;

  uint32_t root_;
  FindFolder find_;
  // The chain of the deepest folder that holds every folder included; none before the first.
  std::optional<std::vector<uint32_t>> common_;
};

}  // namespace save
