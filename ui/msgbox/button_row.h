// Which buttons a box shows, in row order, and which of them is the default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace msgbox {

struct ButtonRow {
  std::vector<int> numbers;                // button numbers in row order
  std::vector<std::u16string> customTexts; // captions of the custom buttons (numbers 23 to 26)
  bool cancelAllowed = false;              // Esc and the close box end the box with 2
  int defaultIndex = 0;
};

struct ButtonRowInput {
  uint32_t style = 0;
  std::u16string customButtons;  // the custom-buttons text, already loaded
  bool report = false;           // a report message and an owner are given
  bool details = false;          // the details text is not empty
};

// The buttons of a set (0 to 9; 10 to 15 have none), with Yes to all / No to all where the style asks.
std::vector<int> ButtonSet(uint32_t style);
// Whether Esc and the close box may end a box of this set.
bool SetAllowsCancel(uint32_t set);
// Custom captions: carriage returns removed, split at line feeds, empty pieces skipped, at most four.
std::vector<std::u16string> SplitCustomButtons(const std::u16string& text);
// The whole row: the set or the custom buttons, then Help, Report and More; the default index falls back
// to the first button when the style's index lies past the last.
ButtonRow BuildButtonRow(const ButtonRowInput& input);

}  // namespace msgbox
