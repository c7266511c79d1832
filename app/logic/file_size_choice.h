// The "Select File Size:" list of the file types dialog: the size recovered for each file File Trace
// finds, "1 MB" to "20 MB".
#pragma once

#include <cstdint>
#include <string>

#include "engine/records/scan_parameters.h"

namespace app {

constexpr uint32_t kLargestFileSizeMb = kLargestFileTraceSizeMb;

// "N MB".
std::u16string FileSizeItemText(uint32_t megabytes);
// The item shown when the dialog opens: the stored size's, or the default "2 MB" while none was chosen. A stored
// value past the list (from elsewhere than the dialog) shows the largest size.
int InitialFileSizeIndex(uint32_t storedMegabytes);
// The size of a list item; an index outside the list keeps the stored size.
uint32_t FileSizeOfIndex(int index, uint32_t storedMegabytes);

}  // namespace app
