// The columns of the results list: File Trace lists found files by name, type and id; the other modes
// add size and times.
#pragma once

#include <cstdint>
#include <vector>

namespace results {

struct ResultColumn {
  const char16_t* title;
  int width;  // pixels
};

// The columns for a recovery mode (RecoveryMode), left to right; column 0 is left-aligned.
const std::vector<ResultColumn>& ResultColumnsFor(uint32_t mode);

}  // namespace results
