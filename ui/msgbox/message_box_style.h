// The style bits of the HTML message box and the numbers of its buttons.
#pragma once

#include <cstdint>

namespace msgbox {

enum StyleBits : uint32_t {
  kButtonSetBits = 0x0000000F,
  kIconBits = 0x000000F0,
  kDefaultButtonBits = 0x00000F00,
  kHelpButton = 0x00004000,
  kSetForeground = 0x00010000,
  kTopmost = 0x00040000,
  kRightAlignText = 0x00080000,
  kCheckbox = 0x01000000,
  kCheckboxTicked = 0x02000000,  // also the bit a ticked box adds to the result
  kCheckboxBelow = 0x04000000,
  kYesToAll = 0x08000000,
  kNoToAll = 0x10000000,
  kNoStringResources = 0x20000000,
  kNoBeep = 0x40000000,
};

enum IconKind : uint32_t {
  kIconError = 0x10,
  kIconQuestion = 0x20,
  kIconWarning = 0x30,
  kIconInformation = 0x40,
  kIconUser = 0x80,
};

enum ButtonNumber : int {
  kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7, kHelp = 9, kTryAgain = 10,
  kContinue = 11, kSkip = 14, kSkipAll = 15, kIgnoreAll = 16, kYesToAllButton = 19, kNoToAllButton = 20,
  kReport = 21, kFirstCustom = 23, kLessButton = 30, kMoreButton = 31,
  // Not buttons: the texts of the checkbox and the countdown caption.
  kCheckboxText = 0x01000000, kCountdownText = static_cast<int>(0x80000000u),
};

}  // namespace msgbox
