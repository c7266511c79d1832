// Time stamps of saved files.
#include <chrono>

#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace {

// The current time as a file time (UTC).
os::FileTime Now() {
  constexpr uint64_t kTicksFrom1601To1970 = 116444736000000000ull;
  const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(since1970);
  return kTicksFrom1601To1970 + static_cast<uint64_t>(ticks.count());
}

}  // namespace

void DecodeFatDate(uint16_t date, uint16_t& year, uint16_t& month, uint16_t& day) {
  year = static_cast<uint16_t>((date >> 9) + 1980);
  month = static_cast<uint16_t>((date >> 5) & 15);
  day = static_cast<uint16_t>(date & 31);
}

void SetNtfsFileTime(const std::u16string& path) {
  const os::FileTime time = SaveFileTime;
  os::SetFileTimes(path, &time, &time, &time);
}

void SetFatFileDate(const std::u16string& path) {
  os::SystemTime stamp;
  if (!os::FileTimeToSystemTime(Now(), &stamp)) return;
  DecodeFatDate(static_cast<uint16_t>(SaveFileTime), stamp.year, stamp.month, stamp.day);
  os::FileTime time = 0;
  // A date word that names no real day gives no time at all: the file keeps its own.
  if (!os::SystemTimeToFileTime(stamp, &time)) return;
  os::SetFileTimes(path, &time, &time, &time);
}
