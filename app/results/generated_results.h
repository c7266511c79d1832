// Random results for the tests that hold the indexed walks of folders and files to the plain walks over
// the record lists: a FAT Quick Scan, an NTFS Quick Scan or an NTFS Extensive Scan, with deleted folders,
// "Lost Dir" with stand-ins for missing parents, files in folders no node shows, and (Extensive Scan) files
// outside the chosen file system. The engine's lists are filled; the nodes come from the caller's tree.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "engine/records/fat_records.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "engine/records/scan_records.h"

namespace results_test {

enum class Shape { kFatQuick, kNtfsQuick, kNtfsExtensive };
constexpr Shape kShapes[] = {Shape::kFatQuick, Shape::kNtfsQuick, Shape::kNtfsExtensive};

// Adds a node with that text under parent (kNoTreeKey: the top node) and answers it.
using AddNode = std::function<host::TreeKey(host::TreeKey parent, const std::u16string& text)>;

struct GeneratedResult {
  host::TreeKey top = host::kNoTreeKey;
  std::vector<host::TreeKey> folderNodes;  // every node below the top node, parents first
};

inline GeneratedResult GenerateResult(Shape shape, uint32_t seed, uint32_t folders, uint32_t files,
                                      const AddNode& add) {
  std::mt19937 random(seed);
  const auto chance = [&](uint32_t percent) { return random() % 100 < percent; };
  const bool fat = shape == Shape::kFatQuick;
  FreeScanRecordLists();
  NtfsFoundEntryList.Free();
  ScanCounters = ScanCountersRecord{};
  CurrentFileSystem = FileSystemRecord{};
  CurrentFileSystem.type = fat ? records::kFat32 : records::kNtfs;
  RecoveryMode = shape == Shape::kNtfsExtensive ? records::kExtensiveScan : records::kQuickScan;
  CurrentFileSystem.clusterBase = 1000;
  CurrentFileSystem.lastSector = 2000;
  const uint32_t rootId = fat ? records::kFatRootId : records::kNtfsRootRecord;

  GeneratedResult result;
  result.top = add(host::kNoTreeKey, u"Root");
  std::vector<uint32_t> ids{rootId};
  std::vector<host::TreeKey> nodes{result.top};
  const auto addFolder = [&](uint32_t id, size_t parent, const std::u16string& name) {
    const host::TreeKey node = add(nodes[parent], name);
    const uint32_t deleted = chance(20) ? 1 : 0;
    if (fat) {
      AppendFatFolder(name, id, ids[parent], 0, 0, node, deleted);
    } else {
      AppendNtfsFolder(name, id, ids[parent], 0, 0, node, deleted);
    }
    ids.push_back(id);
    nodes.push_back(node);
    result.folderNodes.push_back(node);
  };
  for (uint32_t i = 0; i < folders; ++i) {
    const size_t parent = chance(30) ? 0 : random() % ids.size();
    addFolder(100 + i, parent, (chance(10) ? u"Ends\\" : u"Folder ") + std::u16string(1, u'a' + i % 26));
  }
  // "Lost Dir" with a stand-in for each of two parents that no record lists.
  addFolder(records::kLostDirId, 0, u"Lost Dir");
  const size_t lost = ids.size() - 1;
  addFolder(9000, lost, u"Dir9000");
  addFolder(9001, lost, u"Dir9001");
  // Files: in any folder shown, in a folder no record lists, and (FAT) at the same ids the counters give.
  for (uint32_t i = 0; i < files; ++i) {
    const uint32_t parent = chance(5) ? 7777 : ids[random() % ids.size()];
    const std::u16string name = u"file" + std::u16string(1, u'a' + i % 26) + (chance(50) ? u".txt" : u".bin");
    const uint32_t deleted = chance(25) ? 1 : 0;
    if (fat) {
      AppendFatEntry(name, 3 + i, parent, 0, 0, random() % 5000000, deleted);
      ++ScanCounters.entryCount;
    } else if (shape == Shape::kNtfsQuick) {
      AppendNtfsEntry(500 + i, name, 64 + i, parent, 0, 0, deleted, (uint64_t{random()} << 8) | i);
    } else {
      // Sectors (the ids) from below the file system to past its end, each once, both ends among them
      // from 1,201 files on.
      const uint32_t sector = 900 + (i * 7919) % 1201;
      AppendNtfsFoundEntry(name, sector, parent, 64 + i, 0, 0, (uint64_t{random()} << 8) | i, 1, deleted);
    }
  }
  return result;
}

}  // namespace results_test
