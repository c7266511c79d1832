// A file's name as the user gave it and as it was found. Page 4's Rename changes the name the results show and a
// save writes; the name on disk stays with the record, since it is what tells a snapshot's source from another
// volume.
#pragma once

#include <string>
#include <string_view>

namespace records {

// The name the file was found under (FatEntryRecord, NtfsEntryRecord, NtfsFoundEntryRecord).
template <typename File>
const std::u16string& NameOnDisk(const File& file) {
  return file.foundName.empty() ? file.name : file.foundName;
}

// Gives the file the user's name, keeping the one it was found under (foundName stays empty while the two agree).
template <typename File>
void RenameFile(File& file, std::u16string_view name) {
  if (file.foundName.empty()) file.foundName = file.name;
  file.name.assign(name);
  if (file.foundName == file.name) file.foundName.clear();
}

}  // namespace records
