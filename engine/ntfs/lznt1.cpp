#include "engine/ntfs/lznt1.h"

#include <algorithm>
#include <cstring>

#include "engine/image/byte_order.h"

namespace ntfs {
namespace {

constexpr uint16_t kChunkSizeMask = 0x0FFF;
constexpr uint16_t kSignatureMask = 0x7000;
constexpr uint16_t kSignature = 0x3000;
constexpr uint16_t kChunkCompressed = 0x8000;
constexpr uint32_t kTokensPerFlagByte = 8;

// Decodes the tokens of a compressed chunk, data[0, size), into chunk (kLznt1ChunkBytes); *length gets the bytes
// they give. False when a token is cut off, a back-reference reaches before the chunk, or the chunk overflows.
bool DecodeChunk(const uint8_t* data, size_t size, uint8_t* chunk, size_t* length) {
  size_t in = 0;
  size_t out = 0;
  while (in < size) {
    const uint8_t flags = data[in++];
    for (uint32_t token = 0; token < kTokensPerFlagByte && in < size; ++token) {
      if (((flags >> token) & 1) == 0) {
        if (out == kLznt1ChunkBytes) return false;
        chunk[out++] = data[in++];
        continue;
      }
      if (size - in < 2 || out == 0) return false;
      const uint16_t pair = LoadLe16(data + in);
      in += 2;
      // The further into the chunk, the more bits the distance takes: from 4 (within its first 16 bytes) to 12.
      uint32_t lengthBits = 12;
      for (size_t at = out - 1; at >= 0x10; at >>= 1) --lengthBits;
      const size_t distance = (pair >> lengthBits) + size_t{1};
      const size_t count = (pair & ((1u << lengthBits) - 1)) + size_t{3};
      if (distance > out || count > kLznt1ChunkBytes - out) return false;
      // Byte by byte: the copy may overlap what it writes (a run of one repeated pattern).
      for (size_t i = 0; i < count; ++i, ++out) chunk[out] = chunk[out - distance];
    }
  }
  *length = out;
  return true;
}

}  // namespace

bool DecompressLznt1(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* produced) {
  std::fill(output, output + outputSize, 0);
  *produced = 0;
  uint8_t chunk[kLznt1ChunkBytes];
  size_t in = 0;
  for (size_t start = 0; start < outputSize; start += kLznt1ChunkBytes) {
    if (inputSize - in < 2) return true;
    const uint16_t header = LoadLe16(input + in);
    if (header == 0) return true;
    if ((header & kSignatureMask) != kSignature) return false;
    const size_t size = (header & kChunkSizeMask) + size_t{1};  // the chunk's bytes after its header
    if (size > inputSize - in - 2) return false;
    const uint8_t* data = input + in + 2;
    size_t length = 0;
    if ((header & kChunkCompressed) != 0) {
      if (!DecodeChunk(data, size, chunk, &length)) return false;
    } else {
      if (size != kLznt1ChunkBytes) return false;
      std::memcpy(chunk, data, size);
      length = size;
    }
    const size_t take = std::min(length, outputSize - start);
    std::memcpy(output + start, chunk, take);
    *produced = start + take;
    in += 2 + size;
  }
  return true;
}

}  // namespace ntfs
