#include "engine/image/block_reads.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

uint32_t Fail(uint8_t* out, uint32_t done, uint32_t count) {
  std::memset(out + done, 0, count - done);
  return 0;
}

}  // namespace

uint32_t ReadThroughBlocks(const FileBytes& file, uint64_t at, uint64_t blockSize, uint8_t* out, uint32_t count,
                           const std::function<BlockPlace(uint64_t index)>& place) {
  if (blockSize == 0 || at > std::numeric_limits<uint64_t>::max() - count) return count ? Fail(out, 0, count) : 0;
  uint32_t done = 0;
  while (done < count) {
    const uint64_t position = at + done;
    const uint64_t within = position % blockSize;
    const auto piece = static_cast<uint32_t>(std::min<uint64_t>(blockSize - within, count - done));
    const BlockPlace block = place(position / blockSize);
    if (!block.inTable) return Fail(out, done, count);
    if (block.fileOffset == 0) {
      std::memset(out + done, 0, piece);
    } else {
      if (block.fileOffset > std::numeric_limits<uint64_t>::max() - within) return Fail(out, done, count);
      if (!file(block.fileOffset + within, out + done, piece)) return Fail(out, done, count);
    }
    done += piece;
  }
  return 1;
}
