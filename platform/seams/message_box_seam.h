// The message box as the program's code calls it. The program shows every box through this seam, so a
// test can answer the boxes from a script and read back what was shown, instead of blocking the run.
#pragma once

#include <cstdint>
#include <string>

namespace seams {

// Style bits, with the values the platform gives them: the button set in the low four bits, the icon in
// the next four, the rest as the box that shows them defines.
constexpr uint32_t kButtonSetMask = 0x0000000F;
constexpr uint32_t kIconMask = 0x000000F0;
enum ButtonSet : uint32_t {
  kButtonsOk = 0,
  kButtonsOkCancel = 1,
  kButtonsAbortRetryIgnore = 2,
  kButtonsYesNoCancel = 3,
  kButtonsYesNo = 4,
  kButtonsRetryCancel = 5,
};
enum Icon : uint32_t { kIconNone = 0, kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40 };

// The buttons' answers, as the platform numbers them.
enum Answer : int { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

struct MessageBoxRequest {
  void* owner = nullptr;  // the owner window's handle, or none
  std::u16string text;
  std::u16string caption;
  uint32_t style = 0;
  bool html = false;  // the program's own message box: the text is markup
  int32_t backgroundFill = -1;  // the program's own box: the fill of its whole background, below 0 none
};

class MessageBoxSeam {
 public:
  virtual ~MessageBoxSeam() = default;
  // Shows the box modally and returns the answer (a button number, possibly with flag bits of the box).
  virtual int Show(const MessageBoxRequest& request) = 0;
};

// The answer a box gives when the user declines: Cancel where the box has it, No on a Yes/No box,
// Abort on Abort/Retry/Ignore, and OK on a box that has nothing else.
int DecliningAnswer(uint32_t style);

}  // namespace seams
