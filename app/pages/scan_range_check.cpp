#include "app/pages/scan_range_check.h"

#include <algorithm>

#include "app/pages/scan_panel_texts.h"
#include "engine/partitions/partition_table.h"
#include "engine/records/scan_parameters.h"

namespace scanpage {

const char16_t kSelectPartition[] =
    u"Please select the partition that you want to recover \r\nfrom the left panel and click [Next].";
const char16_t kStartNotValid[] = u"Start sector value is not valid, It should be a positive number";
const char16_t kEndNotValid[] = u"End sector value is not valid, It should be a positive number";
const char16_t kEndNotBigger[] = u"End sector should be bigger than start sector";

bool ParseSectorField(const std::u16string& text, uint64_t* value) {
  if (text.empty()) return false;
  uint64_t number = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    const auto digit = static_cast<uint64_t>(c - u'0');
    if (number > (UINT64_MAX - digit) / 10) return false;
    number = number * 10 + digit;
  }
  *value = number;
  return true;
}

std::u16string CheckSelection(uint32_t recoveryMode, int32_t selectedPartition) {
  const int32_t least = recoveryMode == records::kExtensiveScan ? -1 : 0;
  if (selectedPartition < least) return kSelectPartition;
  // An Extensive Scan reads its range from the fields, which hold such a partition to the reach.
  if (recoveryMode == records::kExtensiveScan) return std::u16string();
  const PartitionEntry* beyond = PartitionBeyondReach(selectedPartition);
  return beyond ? BeyondReachMessage(beyond->fileSystemCode, beyond->firstSector, beyond->sectorCount)
                : std::u16string();
}

std::u16string StartBeyondReachMessage(uint64_t start) {
  return u"Start sector " + UnsignedText(start) + u" lies past sector " + UnsignedText(kLastScannableSector) +
         u". \r\nDorvane scans only the first 2 TiB of a disk (sectors 0 to " + UnsignedText(kLastScannableSector) +
         u").";
}

RangeCheck CheckSectorRange(const RangeFields& fields) {
  RangeCheck range;
  uint64_t start = 0;
  if (!ParseSectorField(fields.startText, &start)) {
    range.error = kStartNotValid;
    return range;
  }
  if (start > kLastScannableSector) {
    range.error = StartBeyondReachMessage(start);
    return range;
  }
  range.start = static_cast<uint32_t>(start);
  uint64_t wantedEnd = 0;
  if (fields.currentEnd == 0 && fields.vhdx) {
    // As many sectors from the start as the disk holds (none gives an end not past the start).
    wantedEnd = fields.diskSectors > 0 ? start + fields.diskSectors - 1 : 0;
  } else if (!ParseSectorField(fields.endText, &wantedEnd)) {
    range.error = kEndNotValid;
    return range;
  }
  if (wantedEnd <= range.start) {
    range.error = kEndNotBigger;
    return range;
  }
  // A count is 32 bits: from sector 0 the range holds 2^32 - 1 sectors, and no sector lies past 2^32 - 1.
  const uint64_t limit = std::min<uint64_t>(kLastScannableSector, uint64_t{range.start} + kLastScannableSector - 1);
  range.end = static_cast<uint32_t>(std::min(wantedEnd, limit));
  range.count = range.end - range.start + 1;
  range.limited = wantedEnd > limit || (range.end == limit && fields.diskSectors > uint64_t{limit} + 1);
  return range;
}

std::u16string LimitedRangeMessage(const RangeCheck& range) {
  return u"The image has more sectors than Dorvane can scan. \r\nSectors " + UnsignedText(range.start) + u" to " +
         UnsignedText(range.end) + u" are scanned.";
}

}  // namespace scanpage
