// LZNT1, the compression of NTFS's compressed attributes. A compression unit's stream is a run of chunks, each
// of which stands for 4096 bytes of the unit: a u16 header (bits 0-11 the chunk's size less 3, header included;
// bits 12-14 the signature 3; bit 15 set when compressed), then either the 4096 bytes as they are or groups of a
// flag byte and eight tokens, a literal byte (flag bit 0) or a u16 back-reference (flag bit 1) whose split
// between distance and length follows how far into the chunk it stands. A header of 0 ends the stream.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ntfs {

constexpr size_t kLznt1ChunkBytes = 4096;

// Decompresses the stream in input[0, inputSize) into output[0, outputSize): chunk k fills output from
// k x 4096, as far as outputSize; a chunk that gives fewer than 4096 bytes leaves zeros after them. Ends at a
// header of 0, at the input's end, or once the output is full; *produced gets the bytes of the output the stream
// reached (the rest are zeros). False when a chunk the output needs is malformed: a signature other than 3, a
// chunk reaching past the input, a stored chunk of other than 4096 bytes, a back-reference at a chunk's start,
// before it or past its 4096 bytes, or a token cut off at the chunk's end.
bool DecompressLznt1(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* produced);

}  // namespace ntfs
