#include "platform/os/markup_escape.h"

namespace msgbox {

// The drawer replaces every entity over the whole text one after another, so "&amp;lt;" would become
// "&lt;" and then a less-than sign. An ampersand therefore stays itself but is followed by an empty tag,
// which no entity can span and which the drawer drops. The less-than sign is written as the two
// less-than signs that the drawer reads as one literal sign.
std::u16string EscapeMarkup(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'<') {
      escaped += u"<<";
    } else if (c == u'&') {
      escaped += u"&<>";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

}  // namespace msgbox
