// Folders saved whole as the save worker walks them. The files of a folder: positions in their record list, in list
// order, from the worker's own index (see records::ChildIndex), which the folder save and the measure of a
// selection share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/host/host.h"

namespace save {

class FolderPlan;

// A folder saved whole: its node in the results tree and its folder record's id.
struct WholeFolder {
  host::TreeKey node = host::kNoTreeKey;
  uint32_t folderId = 0;
};

// Plans every folder beneath each folder saved whole (each planned itself already), as the results tree holds them
// (a node without a folder record is passed over with what lies beneath it). Returns the folders whose files the
// save writes, each once, in the order it writes them: tree order, a folder before those beneath it.
std::vector<uint32_t> PlanFatFolderTrees(FolderPlan& plan, const std::vector<WholeFolder>& folders);
std::vector<uint32_t> PlanNtfsFolderTrees(FolderPlan& plan, const std::vector<WholeFolder>& folders);
// Saves the files of each folder walked (SaveFatFolderFiles, SaveNtfsFolderFiles) into the place the plan made for
// it, until the save is stopped.
void SaveWalkedFolders(void (*saveFiles)(uint32_t folderId, const std::u16string& destination),
                       const std::vector<uint32_t>& walked, const FolderPlan& plan);

const std::vector<size_t>& FatFilesOf(uint32_t folderCluster);        // FatEntryList
const std::vector<size_t>& NtfsFilesOf(uint32_t folderRecord);        // NtfsEntryList
const std::vector<size_t>& NtfsFoundFilesOf(uint32_t folderRecord);   // NtfsFoundEntryList

}  // namespace save
