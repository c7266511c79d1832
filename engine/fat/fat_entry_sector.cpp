#include "engine/fat/fat_entry_sector.h"

#include "engine/fat/fat_directory.h"
#include "engine/fat/oem_code_page.h"
#include "engine/image/byte_order.h"

namespace {

// A directory's entries end at the first blank one; before it a sector of a folder's later cluster holds at least
// this many, so that a mostly blank sector of a file does not pass for one by its first 32 bytes.
constexpr uint32_t kLeastEntries = 2;
constexpr uint8_t kCaseFlags = 0x18;
constexpr uint8_t kMaxLongNamePieces = 20;     // 255 characters, 13 a piece

bool IsBlank(const uint8_t* entry) {
  for (uint32_t i = 0; i < kFatEntryBytes; ++i) {
    if (entry[i] != 0) return false;
  }
  return true;
}

// A time word (hours 0-23, minutes 0-59, two-second steps 0-29) and a date word (0, or a month 1-12 and day 1-31).
bool IsFatTime(uint16_t time) { return (time >> 11) < 24 && ((time >> 5) & 63) < 60 && (time & 31) < 30; }
bool IsFatDate(uint16_t date) {
  const uint32_t month = (date >> 5) & 15, day = date & 31;
  return date == 0 || (month >= 1 && month <= 12 && day >= 1);
}

bool IsLongNamePiece(const uint8_t* entry) {
  const uint8_t sequence = entry[0];
  const bool numbered = (sequence & ~0x40 & 0xFF) >= 1 && (sequence & ~0x40 & 0xFF) <= kMaxLongNamePieces;
  return (sequence == kFatDeletedMark || numbered) && entry[12] == 0 && LoadLe16(entry + 26) == 0;
}

bool IsShortEntry(const uint8_t* entry) {
  const uint8_t first = entry[0];
  const bool marked = first == kFatDeletedMark || first == kFatLiveE5Mark;
  if (first == ' ' || first == '.' || (!marked && !IsShortNameByte(first))) return false;
  // Controls and the characters Windows refuses are never stored (a second byte of a character of two aside).
  const uint32_t codePage = ShortNameCodePage();
  if (!HoldsShortNameCharacters(entry, 8, codePage) || !HoldsShortNameCharacters(entry + 8, 3, codePage)) return false;
  const uint8_t attributes = entry[11];
  if ((attributes & 0xC0) != 0 || (entry[12] & ~kCaseFlags) != 0) return false;
  // A folder's entry gives no size.
  if ((attributes & kFatDirectoryAttribute) != 0 && LoadLe32(entry + 28) != 0) return false;
  return IsFatTime(LoadLe16(entry + 22)) && IsFatDate(LoadLe16(entry + 24)) && IsFatDate(LoadLe16(entry + 18));
}

}  // namespace

bool HoldsFatDirectoryEntries(const uint8_t* sector) {
  if (BeginsFatSubfolder(sector)) return false;
  uint32_t entries = 0;
  bool live = false;
  bool ended = false;
  for (uint32_t i = 0; i < kFatEntriesPerSector; ++i) {
    const uint8_t* entry = sector + size_t{i} * kFatEntryBytes;
    if (IsBlank(entry)) {
      ended = true;
      continue;
    }
    const bool piece = entry[11] == kFatLongNameAttribute;
    if (ended || !(piece ? IsLongNamePiece(entry) : IsShortEntry(entry))) return false;
    live = live || (!piece && entry[0] != kFatDeletedMark);
    ++entries;
  }
  return entries >= kLeastEntries && live;
}
