// Colours of the status list's cells: a background per column and a text colour by the status word in
// column 1 ("Pending", "Done", "Fail", "Progress" at the start of the text).
#pragma once

#include <cstdint>
#include <string>

namespace ui {

struct CellColors {
  bool hasBackground = false;
  uint32_t background = 0;  // 0x00BBGGRR
  bool hasText = false;
  uint32_t text = 0;
};

CellColors StatusCellColors(int column, const std::u16string& status);

}  // namespace ui
