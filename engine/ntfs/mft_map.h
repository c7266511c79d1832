// The map of the MFT's own extents, which turns a record number into the sector of its record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MftExtent {
  uint64_t startSector = 0;  // first sector on the source (0 for a sparse run)
  uint64_t sectorCount = 0;
  bool sparse = false;       // a hole in the MFT: its records cannot be read
};

// The extents of the MFT's data in file order, from the last LoadMftMap. At most kMaxMftExtents.
extern std::vector<MftExtent> MftMap;
constexpr size_t kMaxMftExtents = 65535;
// The sectors of each record of the mapped MFT: its record 0's size, as its header gives it (2 for 1 KiB records,
// 8 for 4 KiB ones). Set by LoadMftMap; whoever sets MftMap otherwise sets it too.
extern uint32_t MftMapRecordSectors;

// Builds MftMap from the data attribute of record 0 at mftStartSector and, when record 0 has an
// attribute list, from the data attributes of the extension records it names (located through the map
// built so far), up to the end of the MFT's data as record 0 gives it (its clusters may reach further). Cluster c
// lies at partitionStart + c x sectorsPerCluster; the volume ends before
// volumeEndSector, and the map stays inside it: it covers at most the volume's sectors (so at most the
// volume's bytes / record size records), an extent reaching past the volume's end is cut there and ends the map.
// 1 when record 0 gave at least one extent; 0 when it could not be read, is not a file record, or has no
// usable data runs. A failure later (an extension record that cannot be read, no memory, a full map) ends
// the loading with the extents added so far.
uint32_t LoadMftMap(uint32_t partitionStart, const char* devicePath, uint32_t mftStartSector,
                    uint32_t sectorsPerCluster, uint64_t volumeEndSector);

// Builds MftMap for an NTFS file system whose cluster 0 lies at partitionStart: from the MFT's record 0 at
// mftSector, else from the mirror's copy of it at mirrorSector, which names the same extents (a sector of 0
// is not tried). 1 when the map covers at least one record; otherwise the map is left empty.
uint32_t MapMftFromRecordOrMirror(uint32_t partitionStart, const char* devicePath, uint32_t mftSector,
                                  uint32_t mirrorSector, uint32_t sectorsPerCluster, uint64_t volumeEndSector);

// The sector of record recordNumber: MftMapRecordSectors x recordNumber sectors into the extents. 1 with the sector in
// sectorOut; 0 with sectorOut 0 when the record lies beyond the map, in a sparse extent, or past the
// engine's 32-bit sector numbers.
uint32_t MftRecordToSector(uint32_t recordNumber, uint32_t& sectorOut);

// The number of sectors the map covers (MftMapRecordSectors per record).
uint64_t MftMapSectorCount();
// The number of records the map covers.
uint64_t MftMapRecordCount();

// Reads record recordNumber through the map, each of its sectors where the map puts it (a record may straddle
// two extents), and applies the fix-up. 1 when every sector was read and the record's header gives it the map's
// record size (one that says otherwise is no record of this MFT). *intact, when given, tells
// whether both sectors ended with the update sequence number (UpdateSequenceMatches): a record torn by a
// write that reached only one of them is not.
uint32_t ReadMftRecordByNumber(const char* devicePath, uint32_t recordNumber, uint8_t* record,
                               bool* intact = nullptr);

// The number of the record that the map puts at `sector` (its first sector); false when the map holds no
// record that starts there.
bool MftRecordAt(uint32_t sector, uint32_t* recordNumber);

// Reads the record whose first sector is `sector`: through the map when the map holds a record that
// starts there (its sectors may lie in two extents), else as ReadMftRecord reads it from `sector`. Applies
// the fix-up. 1 when both sectors were read; *intact as for ReadMftRecordByNumber.
uint32_t ReadMftRecordAtSector(const char* devicePath, uint32_t sector, uint8_t* record, bool* intact = nullptr);
