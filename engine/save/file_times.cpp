// Time stamps of saved files: the times the volume keeps for each file.
#include <optional>

#include "engine/ntfs/standard_information.h"
#include "engine/records/fat_records.h"
#include "engine/save/save_state.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace {

// The FAT times of the file about to be saved on this thread, beside SaveFileTime's date word; taken once.
struct PendingFatTimes {
  bool set = false;
  FatEntryTimes times;
  uint16_t accessDate = 0;
};
thread_local PendingFatTimes pendingFat;

// The record times SetNtfsFileTime takes on this thread while an NtfsRecordTimes lives.
thread_local const ntfs::StandardTimes* recordTimes = nullptr;

// A FAT date and time (a local wall clock, as FAT keeps it) as a file time in UTC; nothing for a date that
// names no day. A time of day that names none counts as midnight.
std::optional<os::FileTime> FatFileTime(uint16_t date, uint16_t time, uint8_t hundredths) {
  os::SystemTime stamp;
  DecodeFatDate(date, stamp.year, stamp.month, stamp.day);
  const uint16_t hour = time >> 11, minute = (time >> 5) & 63, second = static_cast<uint16_t>((time & 31) * 2);
  if (hour < 24 && minute < 60 && second < 60 && hundredths < 200) {
    stamp.hour = hour;
    stamp.minute = minute;
    stamp.second = static_cast<uint16_t>(second + hundredths / 100);
    stamp.milliseconds = static_cast<uint16_t>(hundredths % 100 * 10);
  }
  os::FileTime local = 0, utc = 0;
  if (!os::SystemTimeToFileTime(stamp, &local) || !os::LocalFileTimeToFileTime(local, &utc)) return std::nullopt;
  return utc;
}

}  // namespace

void DecodeFatDate(uint16_t date, uint16_t& year, uint16_t& month, uint16_t& day) {
  year = static_cast<uint16_t>((date >> 9) + 1980);
  month = static_cast<uint16_t>((date >> 5) & 15);
  day = static_cast<uint16_t>(date & 31);
}

void SetFatSaveTimes(const FatEntryRecord& entry) {
  SaveFileTime = entry.firstDateWord;
  pendingFat = {true, entry.times, entry.secondDateWord};
}

NtfsRecordTimes::NtfsRecordTimes(const uint8_t* record) : outer_(recordTimes) {
  recordTimes = ntfs::ReadStandardTimes(record, &times_) ? &times_ : nullptr;
}

NtfsRecordTimes::~NtfsRecordTimes() { recordTimes = outer_; }

void SetNtfsFileTime(const std::u16string& path) {
  if (const ntfs::StandardTimes* own = recordTimes) {
    os::SetFileTimes(path, &own->creation, &own->access, &own->modification);
    return;
  }
  const os::FileTime time = SaveFileTime;
  os::SetFileTimes(path, &time, &time, &time);
}

void SetFatFileDate(const std::u16string& path) {
  const PendingFatTimes pending = pendingFat.set ? pendingFat : PendingFatTimes{};
  pendingFat.set = false;
  const std::optional<os::FileTime> write =
      FatFileTime(static_cast<uint16_t>(SaveFileTime), pending.times.writeTime, 0);
  // A date word that names no real day gives no time at all: the file keeps its own.
  if (!write) return;
  std::optional<os::FileTime> creation, access;
  if (pending.times.creationDate != 0) {
    creation = FatFileTime(pending.times.creationDate, pending.times.creationTime, pending.times.creationHundredths);
  }
  if (pending.accessDate != 0) access = FatFileTime(pending.accessDate, 0, 0);
  os::SetFileTimes(path, creation ? &*creation : &*write, access ? &*access : &*write, &*write);
}
