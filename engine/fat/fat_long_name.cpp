// Long names: the pieces in front of a short entry, walked back across the folder's sectors before it,
// taken only as a run that belongs to the entry.
#include <string>

#include "engine/fat/fat_directory.h"
#include "engine/image/byte_order.h"

namespace {

constexpr uint8_t kLastPieceMark = 0x40;
constexpr uint32_t kChecksumOffset = 13;
// 255 characters of 13 per piece.
constexpr uint32_t kMostPieces = 20;
// Where the 13 characters of a long-name piece lie: bytes 1-10, 14-25 and 28-31.
constexpr struct {
  uint32_t offset;
  uint32_t chars;
} kLongNameRuns[] = {{1, 5}, {14, 6}, {28, 2}};

// Appends the characters of one long-name piece; true when a character 0 ended the name or it reached
// the longest name.
bool AppendLongNamePiece(const uint8_t* piece, std::u16string& name) {
  for (const auto& run : kLongNameRuns) {
    for (uint32_t i = 0; i < run.chars; ++i) {
      const char16_t c = static_cast<char16_t>(LoadLe16(piece + run.offset + 2 * i));
      if (c == 0 || name.size() == kFatLongNameMax) return true;
      name.push_back(c);
    }
  }
  return name.size() == kFatLongNameMax;
}

bool HasTerminator(const uint8_t* piece) {
  std::u16string characters;
  return AppendLongNamePiece(piece, characters);
}

// The 32-byte entries before an entry, nearest first: the rest of its sector, then the sectors before.
class EntriesBefore {
 public:
  EntriesBefore(const uint8_t* sector, uint32_t entryOffset, const FatSectorsBefore& before)
      : buffer_(sector), offset_(entryOffset), sectors_{before.previous, before.twoBack} {}

  // The next entry back; null at the start of what was handed in.
  const uint8_t* Next() {
    if (offset_ == 0) {
      if (used_ == kFatSectorsLookedBack || sectors_[used_] == nullptr) return nullptr;
      buffer_ = sectors_[used_++];
      offset_ = kFatDirectorySectorBytes;
    }
    offset_ -= kFatEntryBytes;
    return buffer_ + offset_;
  }

 private:
  const uint8_t* buffer_;
  uint32_t offset_;
  const uint8_t* sectors_[kFatSectorsLookedBack];
  uint32_t used_ = 0;
};

bool IsPiece(const uint8_t* entry) { return entry != nullptr && entry[11] == kFatLongNameAttribute; }

// A live name's pieces: sequence numbers 1, 2, ... up to the one marked as the name's last, each with the
// checksum. 0 when the run breaks off before that mark (a gap, another name's piece, the start of what
// was handed in).
uint32_t NumberedRun(EntriesBefore& walk, const uint8_t* first, uint8_t checksum, const uint8_t** pieces) {
  const uint8_t* piece = first;
  for (uint32_t n = 1; n <= kMostPieces; ++n, piece = walk.Next()) {
    if (!IsPiece(piece) || piece[kChecksumOffset] != checksum || (piece[0] & ~kLastPieceMark) != n) return 0;
    pieces[n - 1] = piece;
    if ((piece[0] & kLastPieceMark) != 0) return n;
  }
  return 0;
}

// A deleted name's pieces: deletion overwrote their sequence numbers with 0xE5, so the run is the erased
// pieces with one checksum up to the one holding the name's end (its terminator), an entry of another
// kind, or the start of the folder.
uint32_t ErasedRun(EntriesBefore& walk, const uint8_t* first, const uint8_t** pieces) {
  const uint8_t checksum = first[kChecksumOffset];
  const uint8_t* piece = first;
  uint32_t count = 0;
  while (count < kMostPieces && IsPiece(piece) && piece[0] == kFatDeletedMark && piece[kChecksumOffset] == checksum) {
    pieces[count++] = piece;
    if (HasTerminator(piece)) break;
    piece = walk.Next();
  }
  return count;
}

}  // namespace

uint8_t FatShortNameChecksum(const uint8_t* entry) {
  uint8_t sum = 0;
  for (uint32_t i = 0; i < 11; ++i) sum = static_cast<uint8_t>(((sum & 1) << 7) + (sum >> 1) + entry[i]);
  return sum;
}

uint32_t AssembleLongName(const uint8_t* sector, std::u16string& nameOut, uint32_t entryOffset,
                          const FatSectorsBefore& before) {
  if (entryOffset % kFatEntryBytes != 0 || entryOffset >= kFatDirectorySectorBytes) return 1;
  const uint8_t* entry = sector + entryOffset;
  EntriesBefore walk(sector, entryOffset, before);
  const uint8_t* first = walk.Next();
  if (!IsPiece(first)) return 1;

  const uint8_t* pieces[kMostPieces] = {};
  uint32_t count = 0;
  if (first[0] == kFatDeletedMark) {
    // Erased pieces belong to a deleted entry only.
    if (entry[0] == kFatDeletedMark) count = ErasedRun(walk, first, pieces);
  } else {
    // A deleted entry has lost its first byte, and with it the checksum: its pieces agree with each other.
    const uint8_t checksum = entry[0] == kFatDeletedMark ? first[kChecksumOffset] : FatShortNameChecksum(entry);
    count = NumberedRun(walk, first, checksum, pieces);
  }
  // The piece nearest the entry holds the name's first characters.
  std::u16string name;
  for (uint32_t i = 0; i < count; ++i) {
    if (AppendLongNamePiece(pieces[i], name)) break;
  }
  // An empty name (a piece that begins with its terminator) names nothing: keep the short name.
  if (name.empty()) return 1;
  nameOut = std::move(name);
  return 0;
}
