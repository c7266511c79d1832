// Reading a virtual disk that an image stores in blocks, each placed somewhere in the file by a table.
#pragma once

#include <cstdint>
#include <functional>


// Where one block of the virtual disk lies in the image file.
struct BlockPlace {
  bool inTable = false;     // false: the disk's table has no such block
  uint64_t fileOffset = 0;  // the file position of the block's first byte; 0: the block reads as zeros
};

// Reads length bytes of the image file from offset into out; true only when the file held every one of them.
using FileBytes = std::function<bool(uint64_t offset, uint8_t* out, uint32_t length)>;

// Reads count bytes from virtual offset at, block by block, each block placed by place(index). Blocks
// without file space read as zeros. A piece of a block whose bytes the file does not hold (a table entry
// past its end, a copy cut short) cannot be read: zeros there would pass for the disk's bytes. 1 when every
// piece was read; on 0 the bytes not read are zeroed.
uint32_t ReadThroughBlocks(const FileBytes& file, uint64_t at, uint64_t blockSize, uint8_t* out, uint32_t count,
                           const std::function<BlockPlace(uint64_t index)>& place);
