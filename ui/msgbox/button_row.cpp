#include "ui/msgbox/button_row.h"

#include "ui/msgbox/message_box_style.h"

namespace msgbox {

std::vector<int> ButtonSet(uint32_t style) {
  switch (style & kButtonSetBits) {
    case 0: return {kOk};
    case 1: return {kOk, kCancel};
    case 2: return {kAbort, kRetry, kIgnore};
    case 3:
    case 4: {
      std::vector<int> row{kYes};
      if (style & kYesToAll) row.push_back(kYesToAllButton);
      row.push_back(kNo);
      if (style & kNoToAll) row.push_back(kNoToAllButton);
      if ((style & kButtonSetBits) == 3) row.push_back(kCancel);
      return row;
    }
    case 5: return {kRetry, kCancel};
    case 6: return {kCancel, kRetry, kContinue};
    case 7: return {kContinue, kAbort};
    case 8: return {kSkip, kSkipAll, kCancel};
    case 9: return {kIgnore, kIgnoreAll, kCancel};
    default: return {};
  }
}

bool SetAllowsCancel(uint32_t set) {
  switch (set) {
    case 0: case 1: case 3: case 5: case 6: case 8: case 9: return true;
    default: return false;
  }
}

std::vector<std::u16string> SplitCustomButtons(const std::u16string& text) {
  std::vector<std::u16string> captions;
  std::u16string piece;
  auto flush = [&] {
    if (!piece.empty() && captions.size() < 4) captions.push_back(piece);
    piece.clear();
  };
  for (char16_t c : text) {
    if (c == u'\r') continue;
    if (c == u'\n') {
      flush();
    } else {
      piece += c;
    }
  }
  flush();
  return captions;
}

ButtonRow BuildButtonRow(const ButtonRowInput& input) {
  ButtonRow row;
  row.customTexts = SplitCustomButtons(input.customButtons);
  if (!row.customTexts.empty()) {
    for (size_t i = 0; i < row.customTexts.size(); ++i) row.numbers.push_back(kFirstCustom + static_cast<int>(i));
  } else {
    row.numbers = ButtonSet(input.style);
    row.cancelAllowed = SetAllowsCancel(input.style & kButtonSetBits);
  }
  if (input.style & kHelpButton) row.numbers.push_back(kHelp);
  if (input.report) row.numbers.push_back(kReport);
  if (input.details) row.numbers.push_back(kMoreButton);
  const int index = static_cast<int>((input.style & kDefaultButtonBits) >> 8);
  row.defaultIndex = index < static_cast<int>(row.numbers.size()) ? index : 0;
  return row;
}

}  // namespace msgbox
