// The one entry point through which the engine reads sectors of the current source, 512 bytes each.
#pragma once

#include <cstdint>

#include "engine/image/source_values.h"

constexpr uint32_t kSectorSize = 512;

// Reads count sectors from the first sector lbaHigh:lbaLow into buffer (room for count * 512 bytes).
// A logical drive (SourceKind 2) is read through VolumeHandle, at most 65535 sectors (the low 16 bits of
// count); everything else through the current DiskImage. devicePath (a row of DevicePathTable) is not
// used for reading. 1 when every byte was read, 0 otherwise: a byte the source does not hold (past the end of
// a raw or fixed disk's data, or of a drive, or in a block the image file lost) is unreadable, never zeros
// counted as read. After a failure the buffer holds what was read before the first byte that could not be,
// zeros after it (all zeros when the read could not start). A count whose byte length does not fit in 32 bits
// is refused (0) without touching the buffer.
uint32_t ReadSectors(const char* devicePath, uint32_t lbaLow, uint32_t lbaHigh, uint32_t count, void* buffer);

// ReadSectors of count sectors from first; where that fails, the sectors before the first one that cannot be read
// are read one by one (a block that the disk's end, or a cut, falls inside). How many sectors from the buffer's
// start were read: count when all were; the rest of the buffer is zeros.
uint32_t ReadReadableSectors(const char* devicePath, uint64_t first, uint32_t count, void* buffer);

// A test's look at what is read: observer(first sector, count) for every call of ReadSectors, before it
// reads; nullptr (the default) for none. Only the headless driver's audit sets it, never the program.
using SectorReadObserver = void (*)(uint64_t firstSector, uint32_t count);
void SetSectorReadObserver(SectorReadObserver observer);

// Whether there is a source to read at all: the logical drive's handle is open (SourceKind 2), or else a
// disk image has been opened.
bool SourceReadable();

// Reads count16 sectors of VolumeHandle from the sector lbaHigh:lbaLow; 1 when every byte was read, 0 otherwise
// (what the drive did not supply is zeroed: past its end, or all of it when the read failed).
uint32_t ReadVolumeSectors(uint32_t lbaLow, uint32_t lbaHigh, uint32_t count16, void* buffer);

// Moves handle to the 64-bit offset offsetHigh:offsetLow from origin (0 start, 1 current, 2 end); the
// new position, or -1 when the handle is not open or the position cannot be reached.
int64_t SeekVolume(SourceHandle& handle, uint32_t offsetLow, uint32_t offsetHigh, uint32_t origin);
