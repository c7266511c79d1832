#include "engine/ntfs/attribute_list_value.h"

#include <algorithm>
#include <new>

#include "engine/image/read_sectors.h"
#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/data_runs.h"

namespace ntfs {
namespace {

constexpr uint32_t kMaxSectorsPerCluster = 128;

// Fills value[0, size) from the runs' clusters in order; false when they end early or one cannot be had.
bool ReadRuns(const std::vector<DataRun>& runs, const ClusterSpace& space, Holes holes, std::vector<uint8_t>* value) {
  const uint64_t size = value->size();
  const uint32_t clusterBytes = space.sectorsPerCluster * kSectorSize;
  std::vector<uint8_t> cluster(clusterBytes);
  uint64_t filled = 0;
  for (const DataRun& run : runs) {
    if (run.sparse && holes == Holes::kRefused) return false;
    for (uint32_t i = 0; i < run.length && filled < size; ++i) {
      const uint64_t take = std::min<uint64_t>(clusterBytes, size - filled);
      // A hole stays as the zeros the value starts with.
      if (!run.sparse) {
        const uint64_t first = space.clusterBase + (uint64_t{run.startCluster} + i) * space.sectorsPerCluster;
        if (first > space.endSector || space.endSector - first < space.sectorsPerCluster) return false;
        if (!ReadSourceSectors(space.devicePath, first, space.sectorsPerCluster, cluster.data())) return false;
        std::copy_n(cluster.begin(), take, value->begin() + static_cast<std::ptrdiff_t>(filled));
      }
      filled += take;
    }
    if (filled == size) return true;
  }
  return filled == size;
}

}  // namespace

bool ReadNonResidentValue(const uint8_t* record, const Attribute& attribute, const ClusterSpace& space, Holes holes,
                          std::vector<uint8_t>* value) {
  value->clear();
  uint16_t refused = kAttributeCompressed | kAttributeEncrypted;
  if (holes == Holes::kRefused) refused |= kAttributeSparse;
  if (!attribute.nonResident || attribute.realSize > kMaxAttributeListBytes || (attribute.flags & refused) != 0 ||
      space.sectorsPerCluster == 0 || space.sectorsPerCluster > kMaxSectorsPerCluster) {
    return false;
  }
  try {
    std::vector<DataRun> runs;
    DecodeRunList(record, attribute.runListStart, attribute.End(), runs);
    value->assign(static_cast<size_t>(attribute.realSize), 0);
    if (ReadRuns(runs, space, holes, value)) return true;
  } catch (const std::bad_alloc&) {
    // Not read: as any other failure.
  }
  value->clear();
  return false;
}

bool ReadAttributeListValue(const uint8_t* record, const ClusterSpace& space, Holes holes,
                            std::vector<uint8_t>* value) {
  Attribute list;
  if (!FindAttribute(record, kAttributeList, "", &list)) return false;
  if (list.nonResident) return ReadNonResidentValue(record, list, space, holes, value);
  try {
    value->assign(record + list.valueStart, record + list.ValueEnd());
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool AddListedRecords(const uint8_t* record, const ClusterSpace& space) {
  std::vector<uint8_t> list;
  if (!ReadAttributeListValue(record, space, Holes::kRefused, &list)) return false;
  // At most kMaxAttributeListBytes.
  WalkAttributeListEntries(list.data(), static_cast<uint32_t>(list.size()),
                           [](uint32_t, uint32_t recordNumber) { return AttributeListRecords.AddOnce(recordNumber); });
  return true;
}

}  // namespace ntfs
