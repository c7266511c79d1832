// The folders a save makes, planned whole before the first is made, so that which of the folders that come to one
// name keeps it depends on the folders alone, never on the order in which the ticks, the results tree or the
// records name them. Of the folders made in one place, the live ones are made before the deleted ones: a live
// folder keeps its name beside a deleted folder of that name, which takes "Copy (n ) of" it (MakeSaveFolder), as
// a deleted file does beside a live one. So a user who copies the folder back gets the version that was live.
// Otherwise folders are made in the order they were planned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace save {

class FolderPlan {
 public:
  // The folder of record key (an id of the file system's folders), to be made under name in the folder of the
  // record parent, which must have been planned before it, or, without one, in the folder the plan is made in.
  // A key planned before keeps its first place.
  void Add(uint32_t key, std::optional<uint32_t> parent, std::u16string_view name, bool deleted);

  // The planned folder of key is a link (a junction, a symbolic link to a folder) pointing to target: it is made
  // nowhere, and Make counts it as a link at the path it would have taken.
  void MarkLink(uint32_t key, std::u16string target);

  // Makes every folder planned below destination (MakeSaveFolder), each after the folder it is made in, until the
  // save is stopped.
  void Make(const std::u16string& destination);

  // The path a folder was made at (without a trailing separator); the destination for a key not planned (the
  // root, or a folder above the level the save starts at) or not made.
  const std::u16string& PathOf(uint32_t key) const;

 private:
  struct Planned {
    uint32_t key;
    size_t parent;  // a position in planned_, or kInDestination
    std::u16string name;
    bool deleted;
    std::optional<std::u16string> link;  // where a link points
  };
  static constexpr size_t kInDestination = ~size_t{0};

  std::vector<Planned> planned_;
  std::unordered_map<uint32_t, size_t> positions_;
  std::unordered_map<uint32_t, std::u16string> paths_;
  std::u16string destination_;
};

}  // namespace save
