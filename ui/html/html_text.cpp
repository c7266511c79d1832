#include "ui/html/html_text.h"

#include "ui/html/html_entities.h"
#include "platform/os/os.h"

namespace html {

namespace {

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

std::u16string PrepareHtmlText(std::u16string_view text, bool lineBreakConversion) {
  std::u16string replaced(text);
  ReplaceEntities(replaced);
  std::u16string prepared;
  prepared.reserve(replaced.size());
  for (char16_t c : replaced) {
    if (c == u'\r') continue;
    if (c == u'\n' || c == u'\t') {
      if (lineBreakConversion) prepared += c == u'\n' ? u"<br>" : u"<t>";
      continue;
    }
    prepared.push_back(c);
  }
  return prepared;
}

std::u16string TransformText(std::u16string_view text, HtmlTextTransform transform) {
  std::u16string out(text);
  switch (transform) {
    case kHtmlTransformUpper:
      for (char16_t& c : out) c = Upper(c);
      break;
    case kHtmlTransformLower:
      for (char16_t& c : out) c = os::AsciiLower(c);
      break;
    case kHtmlTransformCapitalize:
      for (size_t i = 0; i < out.size(); ++i) {
        out[i] = os::AsciiLower(out[i]);
        if (i == 0 || out[i - 1] == u' ') out[i] = Upper(out[i]);
      }
      break;
    default:
      break;
  }
  return out;
}

}  // namespace html
