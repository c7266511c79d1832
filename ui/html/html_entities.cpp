#include "ui/html/html_entities.h"

#include <string_view>

namespace html {
namespace {

struct Entity {
  std::u16string_view name;
  std::u16string_view replacement;
};

// In the order of the names' character codes: each is replaced over the whole text before the next.
constexpr Entity kEntities[] = {
    {u"&amp;", u"&"},     {u"&bull;", u"\u2022"},   {u"&copy;", u"\u00A9"}, {u"&euro;", u"\u20AC"},
    {u"&gt;", u">"},      {u"&iquest;", u"\u00BF"}, {u"&lt;", u"<<"},       {u"&nbsp;", u" "},
    {u"&para;", u"\u00B6"}, {u"&pound;", u"\u00A3"}, {u"&quot;", u"\""},     {u"&reg;", u"\u00AE"},
    {u"&trade;", u"\u2122"},
};

// Every occurrence, left to right; what a replacement forms with the text after it is not replaced again
// in the same pass.
void ReplaceAll(std::u16string& text, std::u16string_view name, std::u16string_view replacement) {
  size_t found = text.find(name);
  if (found == std::u16string::npos) return;
  std::u16string out;
  out.reserve(text.size());
  size_t from = 0;
  for (; found != std::u16string::npos; found = text.find(name, from)) {
    out.append(text, from, found - from);
    out.append(replacement);
    from = found + name.size();
  }
  out.append(text, from, std::u16string::npos);
  text.swap(out);
}

}  // namespace

void ReplaceEntities(std::u16string& text) {
  for (const Entity& entity : kEntities) ReplaceAll(text, entity.name, entity.replacement);
}

}  // namespace html
