#include "ui/html/html_entities.h"

#include <gtest/gtest.h>

namespace html {
namespace {

std::u16string Replaced(std::u16string text) {
  ReplaceEntities(text);
  return text;
}

TEST(HtmlEntities, EachEntityHasItsReplacement) {
  EXPECT_EQ(Replaced(u"&amp;&bull;&copy;&euro;&gt;&iquest;&lt;&nbsp;&para;&pound;&quot;&reg;&trade;"),
            u"&\u2022\u00A9\u20AC>\u00BF<< \u00B6\u00A3\"\u00AE\u2122");
  EXPECT_EQ(Replaced(u"a &lt;b&gt; c"), u"a <<b> c");
  EXPECT_EQ(Replaced(u"x&nbsp;&nbsp;y"), u"x  y");
}

TEST(HtmlEntities, AnAmpersandEntityFormsTheEntitiesAfterItInTheOrder) {
  // The ampersand comes first, so what it forms with the text after it is replaced again.
  EXPECT_EQ(Replaced(u"&amp;lt;"), u"<<");
  EXPECT_EQ(Replaced(u"&amp;gt;&amp;quot;"), u">\"");
  // Within one entity's pass nothing is replaced twice.
  EXPECT_EQ(Replaced(u"&amp;amp;"), u"&amp;");
  EXPECT_EQ(Replaced(u"&amp;amp;lt;"), u"&amp;lt;");
  // An entity earlier in the order is not formed by a later replacement.
  EXPECT_EQ(Replaced(u"&&lt;amp;"), u"&<<amp;");
}

TEST(HtmlEntities, OtherTextStaysAsItIs) {
  EXPECT_EQ(Replaced(u""), u"");
  EXPECT_EQ(Replaced(u"& &x; &AMP; &amp &lt"), u"& &x; &AMP; &amp &lt");
  EXPECT_EQ(Replaced(u"\u00E9&copy;\u00E9"), u"\u00E9\u00A9\u00E9");
}

}  // namespace
}  // namespace html
