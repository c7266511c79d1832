#include "app/logic/file_size_choice.h"

#include <algorithm>

namespace app {

std::u16string FileSizeItemText(uint32_t megabytes) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + megabytes % 10));
    megabytes /= 10;
  } while (megabytes != 0);
  return digits + u" MB";
}

int InitialFileSizeIndex(uint32_t storedMegabytes) {
  if (storedMegabytes == 0) return static_cast<int>(kDefaultFileTraceSizeMb) - 1;
  return static_cast<int>(std::min(storedMegabytes, kLargestFileSizeMb)) - 1;
}

uint32_t FileSizeOfIndex(int index, uint32_t storedMegabytes) {
  if (index < 0 || index >= static_cast<int>(kLargestFileSizeMb)) return storedMegabytes;
  return static_cast<uint32_t>(index) + 1;
}

}  // namespace app
