#include "ui/msgbox/message_protocol.h"

#include <mutex>

#include "ui/msgbox/message_box_style.h"

const char16_t ProductTitle[] = u"Dorvane";

LockedMessageText MessageText;
LockedMessageKind MessageKind;

namespace {
// One lock for both values, so that a box reads a text and a kind that were written together.
std::mutex& ProtocolLock() {
  static std::mutex lock;
  return lock;
}
using Guard = std::lock_guard<std::mutex>;
}  // namespace

struct MessageAccess {
  static msgbox::MessageSnapshot Take() {
    Guard guard(ProtocolLock());
    return {MessageText.text_, MessageKind.kind_};
  }
};

LockedMessageText& LockedMessageText::operator=(std::u16string text) {
  Guard guard(ProtocolLock());
  text_ = std::move(text);
  return *this;
}

LockedMessageText& LockedMessageText::operator=(const char16_t* text) {
  return *this = std::u16string(text != nullptr ? text : u"");
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2, "UTF-16 wchar_t");
LockedMessageText& LockedMessageText::operator=(const wchar_t* text) {
  return *this = reinterpret_cast<const char16_t*>(text);
}
#endif

std::u16string LockedMessageText::Get() const {
  Guard guard(ProtocolLock());
  return text_;
}

LockedMessageKind& LockedMessageKind::operator=(uint32_t kind) {
  Guard guard(ProtocolLock());
  kind_ = kind;
  return *this;
}

uint32_t LockedMessageKind::Get() const {
  Guard guard(ProtocolLock());
  return kind_;
}

namespace msgbox {

MessageSnapshot TakeMessage() { return MessageAccess::Take(); }

uint32_t ProtocolStyle(uint32_t kind, bool confirm) {
  uint32_t icon = 0;
  switch (kind) {
    case kInformation: icon = kIconInformation; break;
    case kError: icon = kIconError; break;
    case kQuestion: icon = kIconQuestion; break;
    default: break;
  }
  return icon | (confirm ? 4u : 0u);
}

MessageBoxParams ProtocolParams() {
  MessageBoxParams params;
  params.background.separator = MessageBoxAreaStyle::kNone;
  params.background.captionAlign = MessageBoxAreaStyle::kCentre;
  params.background.fill = 12;  // vertical bump
  params.background.colour1 = 0xC5EDFA;
  params.background.colour2 = 0xFFFFFF;
  params.background.colour3 = 0xC5EDFA;
  return params;
}

int ConfirmResult(int boxResult) { return boxResult == kYes ? 1 : 2; }

}  // namespace msgbox
