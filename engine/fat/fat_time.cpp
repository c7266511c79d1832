#include "engine/fat/fat_time.h"

#include <string>

#include "platform/os/os.h"

namespace {

std::string TwoDigits(uint32_t value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

void FormatFatDate(uint16_t dateWord, std::u16string& out) {
  if (dateWord == 0) {
    out.clear();
    return;
  }
  const uint32_t day = dateWord & 0x1F;
  const uint32_t month = (dateWord >> 5) & 0x0F;
  const uint32_t year = (dateWord >> 9) + 1980u;
  out = os::FromAscii(TwoDigits(day) + "-" + TwoDigits(month) + "-" + std::to_string(year) + " ");
}

void FormatFileTime(uint32_t low, uint32_t high, std::u16string& out) {
  const uint64_t value = uint64_t{high} << 32 | low;
  os::SystemTime time;
  if (value == 0 || !os::FileTimeToSystemTime(value, &time)) {
    out.clear();
    return;
  }
  out = os::FromAscii(std::to_string(time.day) + "-" + std::to_string(time.month) + "-" + std::to_string(time.year) +
                      " " + std::to_string(time.hour) + ":" + std::to_string(time.minute) + ":" +
                      std::to_string(time.second));
}

std::u16string FatDateText(uint16_t dateWord) {
  std::u16string text;
  FormatFatDate(dateWord, text);
  return text;
}

std::u16string FileTimeText(uint64_t time) {
  std::u16string text;
  FormatFileTime(static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32), text);
  return text;
}
