// Escaped outside text read back the way the drawer reads markup: entities replaced, then tokens. What
// shows is the text as written, and no tag of it takes effect.
#include <gtest/gtest.h>

#include "ui/html/html_markup.h"
#include "ui/html/html_text.h"
#include "platform/os/markup_escape.h"

namespace msgbox {
namespace {

TEST(MarkupEscapeInTheDrawer, NamesWithMarkupCharactersShowAsWritten) {
  const std::u16string names[] = {u"<b>x.txt", u"R&D&lt;.doc", u"&amp;lt;", u"a<<b", u"&", u"<", u"<table>",
                                  u"&copy;&nbsp;&gt;", u"<br>&<t>"};
  for (const std::u16string& name : names) {
    const std::u16string prepared = html::PrepareHtmlText(u"File " + EscapeMarkup(name) + u" done", true);
    html::HtmlTokenizer tokens(prepared);
    html::HtmlToken token;
    std::u16string shown;
    while (tokens.Next(token)) {
      if (token.kind == html::HtmlToken::Kind::kText) {
        shown += token.text;
      } else {
        EXPECT_EQ(html::LookUpTag(token.text).code, html::HtmlTag::kUnknown) << "a tag took effect";
      }
      token = html::HtmlToken();
    }
    EXPECT_EQ(shown, u"File " + name + u" done");
    EXPECT_EQ(html::SplitTables(prepared).size(), 1u);
  }
}

}  // namespace
}  // namespace msgbox
