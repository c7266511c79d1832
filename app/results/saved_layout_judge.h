// A judge of where a save put the files the user meant, by properties that hold for any tick state rather
// than by the save's own rule of placement:
// - every file meant (and let through by the settings) is written once, with its bytes and its name;
// - names are whole: in each folder the files and folders of one name are that name and "Copy (1 ) of" it,
//   "Copy (2 ) of" it ... without a gap; a folder keeps the plain name before a file, a live file before a
//   deleted one, and a live folder before a deleted one (a written folder is known by the files meant below it);
// - every saved path is a path of the results tree below one common level;
// - no two different folders are merged, nor one folder split;
// - a folder ticked whole is saved as itself: the common level lies above it;
// - and the rule chosen among those these allow: the deepest folder that holds everything ticked (every file
//   ticked, every folder ticked whole) is saved as itself too, with every level below it, and no level above
//   it is made. It depends on the ticks alone, never on the filters or the settings.
// (That the same tick state gives the same layout however it was reached is the caller's to judge: it saves
// the same state reached another way and compares the two listings whole.)
// A written file is known by its bytes: the sessions give every file that has bytes bytes of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace judge {

using Bytes = std::vector<uint8_t>;

// A file the user meant and the settings let through.
struct Meant {
  std::vector<uint32_t> folders;            // its folder and those above it, from under the root down
  std::vector<std::u16string> folderNames;  // their names
  std::vector<bool> folderDeleted;          // and whether each is a deleted folder, as the tree shows it
  std::u16string name;
  bool deleted = false;
  Bytes data;  // its first bytes, as many as the written files are read
};

// A file or folder written below the chosen folder.
struct Written {
  std::vector<std::u16string> folder;  // the written names from the chosen folder down
  std::u16string name;                 // as written, with "Copy (n ) of"
  bool isFolder = false;
  Bytes data;  // a file's first head bytes
  bool operator<(const Written& o) const;
  bool operator==(const Written& o) const;
};

// Everything below root, sorted.
std::vector<Written> ReadWritten(const std::u16string& root, size_t head);
// A name without its "Copy (n ) of " prefix.
std::u16string BaseName(const std::u16string& name);
std::string Describe(const std::vector<Written>& written);

// Each answers what is wrong, empty when nothing is. Files judges the files themselves; Names and Placement
// the names and places. wholeTops: the top-most folders meant whole, by id; ticked: the folders of every file
// meant (whatever the filters) and every top-most folder meant whole, each as its folders from under the root
// down.
std::string Files(const std::vector<Meant>& meant, const std::vector<Written>& written);
std::string Names(const std::vector<Meant>& meant, const std::vector<Written>& written);
std::string Placement(const std::vector<Meant>& meant, const std::vector<Written>& written,
                      const std::vector<uint32_t>& wholeTops, const std::vector<std::vector<uint32_t>>& ticked);

}  // namespace judge
