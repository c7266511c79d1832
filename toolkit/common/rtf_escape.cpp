#include "toolkit/common/rtf_escape.h"

#include <cstdint>

namespace tk {

bool LooksLikeRtf(const std::u16string& text) { return text.compare(0, 5, u"{\\rtf") == 0; }

std::string EscapeRtfText(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    }
  }
  return out;
}

bool HasCentredOrRightParagraph(const std::u16string& text) {
  const size_t at = text.find(u"\\q");
  return at != std::u16string::npos && at + 2 < text.size() && (text[at + 2] == u'r' || text[at + 2] == u'c');
}

}  // namespace tk
