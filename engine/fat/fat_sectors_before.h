// The directory sectors that stand before the one being parsed, where the first pieces of a long name may
// lie: a name of up to 20 pieces (640 bytes) can begin two sectors before its short entry.
#pragma once

#include <array>
#include <cstdint>

constexpr uint32_t kFatSectorsLookedBack = 2;

// The sectors of the same folder before the one being parsed, nearest first: previous is the sector
// before, twoBack the one before that (earlier sectors of the cluster, the last sectors of the cluster
// before it in the folder's chain, the FAT16 root's sectors before). Null where the folder has none (its
// start) or the caller lacks it; twoBack counts only when previous is there.
struct FatSectorsBefore {
  const uint8_t* previous = nullptr;
  const uint8_t* twoBack = nullptr;

  // What stands before the sector that follows current in the folder.
  FatSectorsBefore Then(const uint8_t* current) const { return FatSectorsBefore{current, previous}; }
};

// Copies of the last two sectors of a folder read so far, for readers whose buffers are refilled sector
// by sector or piece by piece.
class FatSectorHistory {
 public:
  // The sectors before the next one of the folder.
  FatSectorsBefore Before() const;
  // Takes count consecutive sectors (512 bytes each) of the folder, just parsed, in reading order.
  void Keep(const uint8_t* sectors, uint32_t count);

 private:
  std::array<std::array<uint8_t, 512>, kFatSectorsLookedBack> kept_{};  // nearest first
  uint32_t held_ = 0;
};
