// A cabinet's own table of members, read from its header on: the cabinet library gives up on a cabinet
// whose table is damaged or cut short part-way, and this lists the members the table still names, as a
// damaged ZIP lists the members it can reach. Every offset and length is checked against the bytes read,
// and the table ends at the first entry that does not look like one (its entries carry no signature).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "preview/archive/archive_rows.h"

namespace archive {

struct CabDirectory {
  bool isCabinet = false;        // the header is whole and names itself a cabinet ("MSCF")
  uint32_t claimed = 0;          // the members the header counts
  std::vector<CabEntry> entries;  // in the table's order, up to the first entry that does not read as one
};

// From the bytes at the start of the file (as many as there are, up to the table's end).
CabDirectory ReadCabinetDirectory(const uint8_t* data, size_t size);
// From the file: its header and table only (never more than the largest table a header can claim).
CabDirectory ReadCabinetDirectory(const std::u16string& path);

}  // namespace archive
