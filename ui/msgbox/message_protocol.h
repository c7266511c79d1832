// The message-box protocol: the caller writes the text into MessageText and the kind into MessageKind,
// then runs a MessageDialog (OK) or a ConfirmDialog (Yes/No). Workers call it from their own threads, so
// both values are kept under a lock and read as one copy when a box is shown.
#pragma once

#include <cstdint>
#include <string>

#include "ui/msgbox/message_box_params.h"

// The caption of the protocol's boxes.
extern const char16_t ProductTitle[];

// The text of the next message (markup: escape names and paths with msgbox::EscapeMarkup).
class LockedMessageText {
 public:
  LockedMessageText& operator=(std::u16string text);
  LockedMessageText& operator=(const char16_t* text);
#ifdef _WIN32
  LockedMessageText& operator=(const wchar_t* text);
#endif
  std::u16string Get() const;

 private:
  std::u16string text_;  // under the protocol's lock
  friend struct MessageAccess;
};

// 1 information, 2 error, 3 question.
class LockedMessageKind {
 public:
  LockedMessageKind& operator=(uint32_t kind);
  uint32_t Get() const;
  operator uint32_t() const { return Get(); }  // NOLINT: read as the number it is

 private:
  uint32_t kind_ = 1;  // under the protocol's lock
  friend struct MessageAccess;
};

extern LockedMessageText MessageText;
extern LockedMessageKind MessageKind;

namespace msgbox {

enum MessageKindValue : uint32_t { kInformation = 1, kError = 2, kQuestion = 3 };

// MessageText and MessageKind as they stand, copied together under the lock.
struct MessageSnapshot {
  std::u16string text;
  uint32_t kind = kInformation;
};
MessageSnapshot TakeMessage();

// The style a protocol box passes: the icon of the kind, plus Yes/No for a question box.
uint32_t ProtocolStyle(uint32_t kind, bool confirm);
// The parameter block of the protocol's boxes: defaults, with the whole box in a light cream bump.
MessageBoxParams ProtocolParams();
// ConfirmDialog's result from the box's: 1 for Yes, 2 for anything else.
int ConfirmResult(int boxResult);

}  // namespace msgbox
