#include "engine/scan/fat_table_search.h"

#include <vector>

#include "engine/image/read_sectors.h"
#include "engine/partitions/disk_sectors.h"
#include "engine/records/scan_records.h"

namespace {

// The longest tables, in sectors: all the clusters a FAT16 entry numbers, and a FAT32 entry's 28 bits.
constexpr uint64_t kFat16LongestTable = (uint64_t{1} << 16) * 2 / kSectorSize;
constexpr uint64_t kFat32LongestTable = (uint64_t{1} << 28) * 4 / kSectorSize;
// The sizes of a FAT16 or FAT12 root folder, in sectors, most usual first: 512 entries, or as many as fill the data
// area's alignment to a cluster; a floppy's 224 (1.44 MB and 1.2 MB), 112 (720 KB and 360 KB) and 240 (2.88 MB)
// entries; a small root. Taking only these keeps a sector inside the first table that begins like one from passing
// for the first copy, with a root shorter by its distance.
const std::vector<uint64_t> kUsualRootSectors = {32, 64, 128, 256, 14, 7, 15, 16, 8, 4, 2, 1};
const std::vector<uint64_t> kNoRootSectors = {0};
constexpr uint64_t kLargestUsualRoot = 256;
constexpr uint64_t kTableSearchProgressEvery = 256;
constexpr uint8_t kFloppyMediaByte = 0xF0;
constexpr uint8_t kLowestFixedMediaByte = 0xF8;

bool SectorBeginsFatTable(uint64_t lba) {
  Sector sector;
  return ReadDiskSector(lba, sector) && BeginsFatTable(sector.data());
}

// Both copies hold the same entries.
bool CopiesBeginAlike(uint64_t a, uint64_t b) {
  Sector one, two;
  return ReadDiskSector(a, one) && ReadDiskSector(b, two) && one == two;
}

// Sectors that begin like a table, as the search going back from the data area meets them: it asks At(lba) for
// lba = dataStart - 1, dataStart - 2, ... in turn, and Begins(lba) for the sectors after it, which it has passed.
class PassedTableStarts {
 public:
  explicit PassedTableStarts(uint64_t dataStart) : dataStart_(dataStart) {}

  bool At(uint64_t lba) {
    const bool table = SectorBeginsFatTable(lba);
    records::GuardAllocation([&] { passed_.push_back(table); });
    return table;
  }
  bool Begins(uint64_t lba) const {
    const uint64_t back = dataStart_ - lba;
    return lba < dataStart_ && back <= passed_.size() && passed_[back - 1];
  }

 private:
  uint64_t dataStart_;
  std::vector<bool> passed_;
};

// The pairs that a first copy at `first` makes, its root sizes in turn: the first whose copies' first sectors
// are equal in *matching, else the first that fits in *fitting (each left as it is when there is none).
template <class Begins>
void TablePairsAt(const FatTableSearch& search, uint64_t first, Begins begins, std::optional<FatTablePair>* matching,
             std::optional<FatTablePair>* fitting) {
  const uint64_t longest = search.fat32 ? kFat32LongestTable : kFat16LongestTable;
  const uint64_t span = search.dataStart - first;
  for (const uint64_t rootSectors : search.fat32 ? kNoRootSectors : kUsualRootSectors) {
    if (span <= rootSectors || (span - rootSectors) % 2 != 0) continue;
    const uint64_t length = (span - rootSectors) / 2;
    const uint64_t second = first + length;
    if (length > longest || !begins(second)) continue;
    const FatTablePair pair{first, second, length, search.fat32 ? 0 : second + length, rootSectors};
    if (CopiesBeginAlike(first, second)) {
      *matching = pair;
      return;
    }
    if (!*fitting) *fitting = pair;
  }
}

}  // namespace

bool BeginsFatTable(const uint8_t* sector) {
  return (sector[0] == kFloppyMediaByte || sector[0] >= kLowestFixedMediaByte) && sector[1] == 0xFF && sector[2] == 0xFF;
}

std::optional<FatTablePair> FindFatTablePair(const FatTableSearch& search) {
  const uint64_t dataStart = search.dataStart;
  std::optional<FatTablePair> usual;
  for (const uint64_t first : search.firstLooked) {
    if (first < search.floor || first >= dataStart || !SectorBeginsFatTable(first)) continue;
    std::optional<FatTablePair> matching;
    TablePairsAt(search, first, SectorBeginsFatTable, &matching, &usual);
    if (matching) return matching;
  }
  PassedTableStarts starts(dataStart);
  const auto passed = [&](uint64_t lba) { return starts.Begins(lba); };
  std::optional<FatTablePair> nearest;
  for (uint64_t first = dataStart; first > search.floor;) {
    --first;
    if (search.stopped()) return std::nullopt;
    if ((dataStart - first) % kTableSearchProgressEvery == 1) search.progress(dataStart - first, dataStart - search.floor);
    if (!starts.At(first)) continue;
    std::optional<FatTablePair> matching;
    TablePairsAt(search, first, passed, &matching, &nearest);
    if (matching) return matching;
  }
  return usual ? usual : nearest;
}

// The reach of a search for a kind of table: as far back as its longest pair of copies and root folder lie.
uint64_t FatTablesReach(bool fat32) {
  return 2 * (fat32 ? kFat32LongestTable : kFat16LongestTable) + (fat32 ? 0 : kLargestUsualRoot);
}
