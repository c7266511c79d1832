// The folder walk of a FAT scan: every folder of FatFolderList read along its cluster chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/fat/fat_folder_chain.h"
#include "engine/records/scan_records.h"
#include "engine/scan/scan_end.h"

// Reads every folder of FatFolderList, in list order, while the reading appends the folders it finds; calls
// shown(i) after folder i. A deleted folder's chain is read one listing deep; when a live entry found later
// takes that folder (a folder moved away from a deleted entry, or made on a deleted folder's cluster), its reading
// goes on from the last cluster read to the end of its chain, as a live folder's does.
// Reader(cluster) reads a folder; Reader::Read(chain, claims) reads what the chain gives and returns
// ReadFatFolderClusters's answer.
template <class Reader, class Shown>
void ReadFatFolderList(FatClusterClaims& claims, Shown shown) {
  struct Unfinished {
    size_t index;
    uint32_t last;
    std::unique_ptr<Reader> reader;
  };
  std::vector<Unfinished> unfinished;
  size_t i = 0;
  for (bool resumed = true; resumed;) {
    for (; i < FatFolderList.size(); ++i) {
      if (ScanStopRequested()) return;
      const uint32_t cluster = FatFolderList[i].firstCluster;
      // Clusters 0 and 1 hold no data; "Lost Dir" has no cluster of its own.
      if (cluster >= 2 && cluster != records::kLostDirId) {
        auto reader = records::GuardAllocation([&] { return std::make_unique<Reader>(cluster); });
        FatFolderChain chain(cluster, FatFolderList[i].deleted == 0, claims);
        if (reader->Read(chain, claims) && chain.CutShort()) {
          records::GuardAllocation([&] { unfinished.push_back({i, chain.Last(), std::move(reader)}); });
        }
      }
      shown(i);
    }
    resumed = false;
    for (Unfinished& folder : unfinished) {
      if (folder.reader == nullptr || FatFolderList[folder.index].deleted != 0) continue;
      if (ScanStopRequested()) return;
      FatFolderChain rest = FatFolderChain::After(folder.last, claims);
      folder.reader->Read(rest, claims);
      folder.reader.reset();
      resumed = true;
    }
  }
}
