// The folder walk of a FAT scan: every folder of FatFolderList read along its cluster chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/fat/fat_folder_chain.h"
#include "engine/records/scan_records.h"
#include "engine/scan/scan_end.h"

// Reads the root folder's chain from rootCluster (FAT32; 0: a FAT16 root, read apart), then every folder of
// FatFolderList, in list order, while the reading appends the folders it finds; calls shown(i) after folder i. A folder's reading that stops before its chain's end waits until every folder has been
// read as far as it goes by itself, then goes on, and the folders that finds are read in turn:
// - where the table copies lead the folder to two different clusters, it goes on along the one the other folders'
//   chains left alone (FatFolderChain::Resolve), so that what a folder lists does not depend on which entry the
//   walk met first;
// - a deleted folder's chain is read one listing deep; when a live entry found later takes that folder (a folder
//   moved away from a deleted entry, or made on a deleted folder's cluster), its reading goes on to the end of its
//   chain, as a live folder's does.
// Reader(records::kFatRootId, false) reads the root, Reader(cluster, true) a subfolder; Reader::Read(chain,
// claims) reads what the chain gives and returns ReadFatFolderClusters's answer.
template <class Reader, class Shown>
void ReadFatFolderList(FatClusterClaims& claims, uint32_t rootCluster, Shown shown) {
  constexpr size_t kRoot = SIZE_MAX;
  struct Unfinished {
    size_t index;
    std::unique_ptr<Reader> reader;
    std::unique_ptr<FatFolderChain> chain;
  };
  std::vector<Unfinished> unfinished;
  // Reads on; keeps the folder for later when its chain stopped short with the directory still open.
  const auto read = [&](Unfinished folder) {
    if (folder.reader->Read(*folder.chain, claims) && (folder.chain->CutShort() || folder.chain->Disputed())) {
      records::GuardAllocation([&] { unfinished.push_back(std::move(folder)); });
    }
  };
  if (rootCluster != 0) {
    read(records::GuardAllocation([&] {
      return Unfinished{kRoot, std::make_unique<Reader>(records::kFatRootId, false),
                        std::make_unique<FatFolderChain>(rootCluster, true, claims)};
    }));
  }
  size_t i = 0;
  for (bool resumed = true; resumed;) {
    for (; i < FatFolderList.size(); ++i) {
      if (ScanStopRequested()) return;
      const uint32_t cluster = FatFolderList[i].firstCluster;
      // Clusters 0 and 1 hold no data; "Lost Dir" has no cluster of its own.
      if (cluster >= 2 && cluster != records::kLostDirId) {
        Unfinished folder = records::GuardAllocation([&] {
          return Unfinished{i, std::make_unique<Reader>(cluster, true),
                            std::make_unique<FatFolderChain>(cluster, FatFolderList[i].deleted == 0, claims)};
        });
        read(std::move(folder));
      }
      shown(i);
    }
    resumed = false;
    std::vector<Unfinished> waiting = std::move(unfinished);
    unfinished.clear();
    for (Unfinished& folder : waiting) {
      if (ScanStopRequested()) return;
      if (folder.chain->Disputed()) {
        folder.chain->Resolve();
      } else if (folder.index == kRoot || FatFolderList[folder.index].deleted == 0) {
        folder.chain->ReadOnAsLive();
      } else {
        // Still deleted: kept in case a live entry found later takes it.
        records::GuardAllocation([&] { unfinished.push_back(std::move(folder)); });
        continue;
      }
      read(std::move(folder));
      resumed = true;
    }
  }
}
