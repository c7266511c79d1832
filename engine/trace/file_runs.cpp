#include "engine/trace/file_runs.h"

#include "engine/trace/trace_formats.h"

namespace trace {

constexpr uint64_t kRunSectorBytes = 512;

void FileRuns::Found(uint64_t sector, std::u16string_view extension, HitBytes& bytes) {
  const int format = UnitsFamily(extension);
  if (format < 0) return;
  const size_t family = static_cast<size_t>(format);
  if (followedTo_.size() <= family) followedTo_.resize(family + 1, 0);
  if (sector < followedTo_[family]) return;
  const FileUnits units = FindFileUnits(extension, bytes);
  // A file whose structure could not be followed: what was looked at is not looked at again for its family.
  followedTo_[family] = sector + (units.format < 0 ? bytes.reach() / kRunSectorBytes
                                                   : (units.extent + kRunSectorBytes - 1) / kRunSectorBytes);
  for (uint64_t offset : units.offsets) ahead_.push(sector + offset / kRunSectorBytes);
}

bool FileRuns::GoesOn(uint64_t sector) {
  while (!ahead_.empty() && ahead_.top() < sector) ahead_.pop();
  if (ahead_.empty() || ahead_.top() != sector) return false;
  while (!ahead_.empty() && ahead_.top() == sector) ahead_.pop();
  return true;
}

}  // namespace trace
