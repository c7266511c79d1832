#include "engine/fat/fat_sectors_before.h"

#include <algorithm>

FatSectorsBefore FatSectorHistory::Before() const {
  return FatSectorsBefore{held_ >= 1 ? kept_[0].data() : nullptr, held_ >= 2 ? kept_[1].data() : nullptr};
}

void FatSectorHistory::Keep(const uint8_t* sectors, uint32_t count) {
  // Only the last two sectors handed in can stand before the next one.
  const uint32_t from = count > kFatSectorsLookedBack ? count - kFatSectorsLookedBack : 0;
  for (uint32_t i = from; i < count; ++i) {
    kept_[1] = kept_[0];
    std::copy(sectors + size_t{i} * 512, sectors + size_t{i + 1} * 512, kept_[0].begin());
    held_ = std::min(held_ + 1, kFatSectorsLookedBack);
  }
}
