#include "ui/html/html_markup.h"

#include <gtest/gtest.h>

#include "ui/html/html_text.h"

namespace html {
namespace {

std::vector<HtmlToken> Tokens(std::u16string_view text) {
  std::vector<HtmlToken> tokens;
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  while (tokenizer.Next(token)) tokens.push_back(token);
  return tokens;
}

TEST(HtmlMarkup, BreakCountFollowsOneSeparator) {
  EXPECT_EQ(Tokens(u"<br=2>")[0].count, 2);
  EXPECT_EQ(Tokens(u"<br 2>")[0].count, 1);  // the blank is skipped, the "2" is the dropped separator
  EXPECT_EQ(Tokens(u"<br  =3>")[0].count, 3);
  EXPECT_EQ(Tokens(u"<t>")[0].count, 1);
  EXPECT_EQ(Tokens(u"<t=99999999>")[0].count, 1000);
}

TEST(HtmlMarkup, TagsAttributesAndLiteralLessThan) {
  auto tokens = Tokens(u"a<<b <font face='Arial Black' size=3 COLOR=\"red\" bare>x</font");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].text, u"a<b ");
  EXPECT_EQ(tokens[1].text, u"font");
  ASSERT_EQ(tokens[1].attributes.size(), 4u);
  EXPECT_EQ(*tokens[1].Attribute(u"face"), u"Arial Black");
  EXPECT_EQ(*tokens[1].Attribute(u"size"), u"3");
  EXPECT_EQ(*tokens[1].Attribute(u"color"), u"red");
  EXPECT_EQ(*tokens[1].Attribute(u"bare"), u"");
  EXPECT_EQ(tokens[2].text, u"x");
  EXPECT_TRUE(tokens[3].closing);  // an unterminated tag runs to the end
  EXPECT_EQ(tokens[3].text, u"font");
}

// XHTML closes empty tags with a slash ("<br/>", "<hr />"): the name ends before it, so every tag of the
// table reads so as itself; a "/" that begins the name still closes.
TEST(HtmlMarkup, TagsClosedByASlashAreTheTagsTheyName) {
  for (std::u16string_view name :
       {u"b", u"i", u"em", u"u", u"s", u"strike", u"font", u"hr", u"br", u"t", u"left", u"center", u"right", u"justify",
        u"baseline", u"top", u"vcenter", u"middle", u"bottom", u"bmp", u"icon", u"ilst", u"string", u"body", u"h1",
        u"h2", u"h3", u"h4", u"h5", u"h6", u"code", u"pre", u"big", u"small", u"sub", u"sup", u"span", u"a",
        u"table", u"tr", u"td"}) {
    const std::u16string tag(name);
    for (const std::u16string& written : {u"<" + tag + u"/>", u"<" + tag + u" />"}) {
      const auto tokens = Tokens(written);
      ASSERT_EQ(tokens.size(), 1u);
      EXPECT_EQ(tokens[0].text, tag);
      EXPECT_FALSE(tokens[0].closing);
    }
    EXPECT_EQ(FindTag(u"x<" + tag + u"/>", tag, 0, false), 1u);
  }
  EXPECT_EQ(Tokens(u"<br/>")[0].count, 1);
  const auto link = Tokens(u"<a href='x.htm'/></a/>");
  EXPECT_EQ(*link[0].Attribute(u"href"), u"x.htm");
  EXPECT_TRUE(link[1].closing);
  EXPECT_EQ(link[1].text, u"a");
}

TEST(HtmlMarkup, EntitiesOfAngleBracketsStayText) {
  std::u16string prepared = PrepareHtmlText(u"&lt;b&gt;x\r\ny\tz", true);
  EXPECT_EQ(prepared, u"<<b>x<br>y<t>z");
  auto tokens = Tokens(prepared);
  EXPECT_EQ(tokens[0].text, u"<b>x");
  EXPECT_EQ(PrepareHtmlText(u"a\r\nb\tc", false), u"abc");
}

TEST(HtmlMarkup, TextTransforms) {
  EXPECT_EQ(TransformText(u"hello wORLD", kHtmlTransformCapitalize), u"Hello World");
  EXPECT_EQ(TransformText(u"Mixed", kHtmlTransformUpper), u"MIXED");
  EXPECT_EQ(TransformText(u"Mixed", kHtmlTransformLower), u"mixed");
}

TEST(HtmlMarkup, TablesAreSplitAtTheirMatchingEnd) {
  std::u16string text = u"before<table><tr><td><table><tr><td>in</td></tr></table></td></tr></table>after<<table>";
  auto pieces = SplitTables(text);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_FALSE(pieces[0].table);
  EXPECT_EQ(pieces[0].text, u"before");
  EXPECT_TRUE(pieces[1].table);
  EXPECT_EQ(pieces[1].text.substr(pieces[1].text.size() - 18), u"</td></tr></table>");
  EXPECT_EQ(pieces[2].text, u"after<<table>");  // a literal "<table" is text
  auto open = SplitTables(u"<table><tr><td>x");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(open[0].table);
}

TEST(HtmlMarkup, TagTable) {
  EXPECT_EQ(LookUpTag(u"em").code, HtmlTag::kItalic);
  EXPECT_EQ(LookUpTag(u"em").styleName, u"italic");
  EXPECT_EQ(LookUpTag(u"bottom").styleName, u"vcenter");
  EXPECT_EQ(LookUpTag(u"B").code, HtmlTag::kUnknown);  // names are matched exactly
  EXPECT_EQ(LookUpTag(u"a").code, HtmlTag::kLink);
}

}  // namespace
}  // namespace html
