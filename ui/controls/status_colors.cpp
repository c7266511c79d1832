#include "ui/controls/status_colors.h"

namespace ui {
namespace {

constexpr uint32_t kDetailBackground = 0xE2F2DC;
constexpr uint32_t kFirstBackground = 0xB2F3F5;
constexpr uint32_t kStatusBackground = 0xF3E9F8;

bool StartsWith(const std::u16string& text, const std::u16string& word) { return text.compare(0, word.size(), word) == 0; }

}  // namespace

CellColors StatusCellColors(int column, const std::u16string& status) {
  CellColors colors;
  if (column == 0) colors.background = kFirstBackground;
  if (column >= 2 && column <= 5) colors.background = kDetailBackground;
  if (column == 1 || column == 3) colors.background = kStatusBackground;
  colors.hasBackground = column >= 0 && column <= 5;

  struct Word {
    const char16_t* word;
    uint32_t text;
  };
  static const Word kWords[] = {{u"Pending", 0x000000}, {u"Done", 0xFF0000}, {u"Fail", 0x0000FF}, {u"Progress", 0x00FF00}};
  for (const Word& word : kWords) {
    if (!StartsWith(status, word.word)) continue;
    colors.hasText = true;
    colors.text = word.text;
    if (word.text == 0x00FF00) {
      // Work in progress stands out: green on black.
      colors.hasBackground = true;
      colors.background = 0;
    }
    break;
  }
  return colors;
}

}  // namespace ui
