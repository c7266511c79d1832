// The files of a folder as the save worker finds them: positions in their record list, in list order,
// from the worker's own index (see records::ChildIndex), which the folder save and the measure of a
// selection share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace save {

const std::vector<size_t>& FatFilesOf(uint32_t folderCluster);        // FatEntryList
const std::vector<size_t>& NtfsFilesOf(uint32_t folderRecord);        // NtfsEntryList
const std::vector<size_t>& NtfsFoundFilesOf(uint32_t folderRecord);   // NtfsFoundEntryList

}  // namespace save
