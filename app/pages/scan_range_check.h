// What the scan page's Next decides before a worker starts: whether a source was chosen on the tree, and
// the sector range an Extensive Scan of a disk reads from the panel's start and end fields.
#pragma once

#include <cstdint>
#include <string>

#include "engine/records/sector_reach.h"

namespace scanpage {

// The engine numbers sectors in 32 bits: this is the last sector it can reach.
constexpr uint32_t kLastScannableSector = static_cast<uint32_t>(kLastReachableSector);

extern const char16_t kSelectPartition[];
extern const char16_t kStartNotValid[];
extern const char16_t kEndNotValid[];
extern const char16_t kEndNotBigger[];

// The value of a sector field: digits only (no sign, space or other character), at least one, of a number
// that fits in 64 bits. False for anything else; never wraps.
bool ParseSectorField(const std::u16string& text, uint64_t* value);

// The selection of the source tree that Next needs: the whole disk (-1) is enough for an Extensive Scan, the
// other modes need a partition (0 or more) within the engine's reach (a partition past it is refused by name).
// Empty when it is enough, else the message to show.
std::u16string CheckSelection(uint32_t recoveryMode, int32_t selectedPartition);

// The message refusing a range that starts past the last sector the engine can scan.
std::u16string StartBeyondReachMessage(uint64_t start);

struct RangeFields {
  std::u16string startText;
  std::u16string endText;
  uint32_t currentEnd = 0;  // ScanRange's end sector before Next: 0 when none was set
  bool vhdx = false;        // a VHDX image takes its end from its size when none was set
  uint64_t diskSectors = 0; // the image's virtual size in 512-byte sectors
};

struct RangeCheck {
  std::u16string error;  // the message when the fields are refused (nothing else is set then)
  uint32_t start = 0;
  uint32_t end = 0;      // the last sector scanned
  uint32_t count = 0;    // end - start + 1
  // The image goes on past the last sector the engine can scan: the range stops at that limit.
  bool limited = false;
};

// The range of the fields: start from its field; end from the VHDX's size when none was set, else from its
// field; the end must be bigger than the start. A start past the engine's reach is refused; a range is held to
// what a 32-bit count reaches.
RangeCheck CheckSectorRange(const RangeFields& fields);

// The message shown when the range stops at the engine's limit.
std::u16string LimitedRangeMessage(const RangeCheck& range);

}  // namespace scanpage
