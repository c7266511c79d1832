#include "engine/scan/fat_table_search.h"

#include <algorithm>
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
// The first byte of an entry that ends a chain, never a media byte of a table's first sector.
constexpr uint8_t kEndOfChainByte = 0xFF;
// A lone first sector is tried with its partner by this many of the sectors after both, at the most: the entries of
// the first clusters, which a volume in use holds.
constexpr uint64_t kComparedSectors = 64;
// The lone first sectors nearest the data area that are tried.
constexpr size_t kLoneStartsTried = 8;

bool SectorBeginsFatTable(uint64_t lba, bool fat32) {
  Sector sector;
  return ReadDiskSector(lba, sector) && BeginsFatTable(sector.data(), fat32);
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
  PassedTableStarts(uint64_t dataStart, bool fat32) : dataStart_(dataStart), fat32_(fat32) {}

  bool At(uint64_t lba) {
    const bool table = SectorBeginsFatTable(lba, fat32_);
    records::GuardAllocation([&] { passed_.push_back(table); });
    return table;
  }
  bool Begins(uint64_t lba) const {
    const uint64_t back = dataStart_ - lba;
    return lba < dataStart_ && back <= passed_.size() && passed_[back - 1];
  }

 private:
  uint64_t dataStart_;
  bool fat32_;
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

// How two copies compare after their first sectors: the sectors compared that both hold alike and not blank, and
// those that differ.
struct Agreement {
  int64_t alike = 0;
  int64_t differing = 0;
};

Agreement CompareCopies(uint64_t first, uint64_t second, uint64_t length) {
  Agreement agreement;
  for (uint64_t i = 1; i < length && i <= kComparedSectors; ++i) {
    Sector one, two;
    ReadDiskSector(first + i, one);  // a sector that cannot be read comes as zeros: blank
    ReadDiskSector(second + i, two);
    if (one != two) {
      ++agreement.differing;
    } else if (std::any_of(one.begin(), one.end(), [](uint8_t byte) { return byte != 0; })) {
      ++agreement.alike;
    }
  }
  return agreement;
}

// The pair that a first sector whose partner's first sector is lost gives: the sector as the second copy, one table
// length after the first, or as the first copy, one length before the second, with each root size in turn; the one
// whose copies agree best, when they agree at all. Where everything after it is blank (a table whose entries all
// lie in its first sector), nothing tells the two apart: that sector alone serves as both copies, as long as the
// longer length the root size most usual allows (no entry past its first sector is read from another place).
std::optional<FatTablePair> LonePair(const FatTableSearch& search, uint64_t start) {
  const uint64_t longest = search.fat32 ? kFat32LongestTable : kFat16LongestTable;
  const uint64_t span = search.dataStart - start;
  std::optional<FatTablePair> best, blank;
  int64_t bestScore = 0;
  const auto consider = [&](uint64_t first, uint64_t length, uint64_t rootSectors) {
    if (length == 0 || length > longest) return;
    const uint64_t second = first + length;
    const Agreement agreement = CompareCopies(first, second, length);
    const uint64_t root = search.fat32 ? 0 : second + length;
    if (agreement.alike - agreement.differing > bestScore) {
      bestScore = agreement.alike - agreement.differing;
      best = FatTablePair{first, second, length, root, rootSectors};
    } else if (agreement.alike == 0 && agreement.differing == 0 && !blank) {
      blank = FatTablePair{start, start, length, root, rootSectors};
    }
  };
  for (const uint64_t rootSectors : search.fat32 ? kNoRootSectors : kUsualRootSectors) {
    if (span <= rootSectors) continue;
    const uint64_t tables = span - rootSectors;
    if (start >= search.floor + tables) consider(start - tables, tables, rootSectors);
    if (tables % 2 == 0) consider(start, tables / 2, rootSectors);
  }
  return best ? best : blank;
}

}  // namespace

FatTableStart FatTableStartOf(const uint8_t* sector) {
  const uint8_t media = sector[0];
  const bool mediaByte = media == kFloppyMediaByte || (media >= kLowestFixedMediaByte && media != kEndOfChainByte);
  if (!mediaByte || sector[1] != 0xFF || sector[2] != 0xFF) return FatTableStart::kNone;
  // FAT32's entries are 28 bits: the first ends in x F, the second has its 26 low bits set.
  const bool fat32 = (sector[3] & 0x0F) == 0x0F && sector[4] == 0xFF && sector[5] == 0xFF && sector[6] == 0xFF &&
                     (sector[7] & 0x03) == 0x03;
  if (!fat32) return FatTableStart::kFat16;
  // FAT16's second entry, set, ends in FF (its flags may clear the top two bits), never in 0F.
  return sector[3] == 0x0F ? FatTableStart::kFat32 : FatTableStart::kEither;
}

bool CanBegin(FatTableStart start, bool fat32) {
  return start == FatTableStart::kEither || start == (fat32 ? FatTableStart::kFat32 : FatTableStart::kFat16);
}

bool BeginsFatTable(const uint8_t* sector, bool fat32) { return CanBegin(FatTableStartOf(sector), fat32); }

FatTableStart FatPairKind(uint64_t dataStart, uint64_t second, const std::function<FatTableStart(uint64_t)>& startAt) {
  if (second >= dataStart) return FatTableStart::kNone;
  const uint64_t span = dataStart - second;
  const bool fat32 = span <= kFat32LongestTable && span <= second && CanBegin(startAt(second - span), true);
  bool fat16 = false;
  for (const uint64_t rootSectors : kUsualRootSectors) {
    const uint64_t length = span - std::min(span, rootSectors);
    if (length == 0 || length > kFat16LongestTable || length > second) continue;
    if (CanBegin(startAt(second - length), false)) fat16 = true;
  }
  if (fat32 == fat16) return FatTableStart::kNone;
  return fat32 ? FatTableStart::kFat32 : FatTableStart::kFat16;
}

std::optional<FatTablePair> FindFatTablePair(const FatTableSearch& search) {
  const uint64_t dataStart = search.dataStart;
  const auto begins = [&](uint64_t lba) { return SectorBeginsFatTable(lba, search.fat32); };
  std::optional<FatTablePair> usual;
  for (const uint64_t first : search.firstLooked) {
    if (first < search.floor || first >= dataStart || !begins(first)) continue;
    std::optional<FatTablePair> matching;
    TablePairsAt(search, first, begins, &matching, &usual);
    if (matching) return matching;
  }
  PassedTableStarts starts(dataStart, search.fat32);
  const auto passed = [&](uint64_t lba) { return starts.Begins(lba); };
  std::optional<FatTablePair> nearest;
  std::vector<uint64_t> lone;
  for (uint64_t first = dataStart; first > search.floor;) {
    --first;
    if (search.stopped()) return std::nullopt;
    if ((dataStart - first) % kTableSearchProgressEvery == 1) search.progress(dataStart - first, dataStart - search.floor);
    if (!starts.At(first)) continue;
    if (lone.size() < kLoneStartsTried) records::GuardAllocation([&] { lone.push_back(first); });
    std::optional<FatTablePair> matching;
    TablePairsAt(search, first, passed, &matching, &nearest);
    if (matching) return matching;
  }
  if (usual || nearest) return usual ? usual : nearest;
  for (const uint64_t start : lone) {
    if (search.stopped()) return std::nullopt;
    if (std::optional<FatTablePair> pair = LonePair(search, start)) return pair;
  }
  return std::nullopt;
}

// The reach of a search for a kind of table: as far back as its longest pair of copies and root folder lie.
uint64_t FatTablesReach(bool fat32) {
  return 2 * (fat32 ? kFat32LongestTable : kFat16LongestTable) + (fat32 ? 0 : kLargestUsualRoot);
}
