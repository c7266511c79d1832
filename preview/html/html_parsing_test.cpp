#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/html/html_attributes.h"
#include "preview/html/html_color.h"
#include "preview/html/html_text_measurer.h"
#include "preview/html/html_url.h"

namespace htmlview {
namespace {

TEST(HtmlColorTest, NamesAnyCaseAndHexPairs) {
  EXPECT_EQ(ParseColor(u"red"), 0x0000FFu);
  EXPECT_EQ(ParseColor(u"RED"), 0x0000FFu);
  EXPECT_EQ(ParseColor(u"#1A2B3C"), 0x3C2B1Au);
  EXPECT_EQ(ParseColor(u"1a2b3c"), 0x3C2B1Au);
  EXPECT_EQ(ParseColor(u"#1A2B3Cff"), 0x3C2B1Au);  // only the first six characters count
  EXPECT_EQ(ParseColor(u"gray"), 0x7F7F7Fu);
  EXPECT_EQ(ParseColor(u"BlanchedAlmond"), 0xCDFFFFu);
  EXPECT_EQ(ParseColor(u"yellowgreen"), 0x32CD8Bu);
  EXPECT_EQ(ParseColor(u"DarkSeaGreen"), 0x8BBC8Fu);  // a shared value
  EXPECT_EQ(ParseColor(u"LightGrey"), 0xD3D3D3u);
}

TEST(HtmlColorTest, OtherValuesAreOurs) {
  EXPECT_EQ(ParseColor(u"#fff"), 0xFFFFFFu);
  EXPECT_EQ(ParseColor(u"#f00"), 0x0000FFu);
  EXPECT_EQ(ParseColor(u"lightgray"), 0u);  // not one of the page's names
  EXPECT_EQ(ParseColor(u"#12345"), 0u);
  EXPECT_EQ(ParseColor(u"#zz0000"), 0u);
  EXPECT_EQ(ParseColor(u""), 0u);
  EXPECT_EQ(ParseColor(u"#"), 0u);
  // A damaged value leaves the caller's colour; a good one replaces it.
  EXPECT_EQ(ParseColor(u"#ffw\u00ba\u007f", 0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(ParseColor(u"lightgray", 0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(ParseColor(u"navy", 0xFFFFFF), 0x800000u);
  EXPECT_EQ(ParseColor(u"#000000", 0xFFFFFF), 0u);
}

std::vector<std::vector<std::u16string>> Rows(std::u16string_view tag) {
  StringTable t;
  t.AddRow();  // emptied by the parse
  ParseAttributes(tag, t);
  std::vector<std::vector<std::u16string>> rows;
  for (int r = 0; r < t.RowCount(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < t.GetRow(r).Count(); ++c) rows.back().push_back(t.GetCell(r, c));
  }
  return rows;
}

using R = std::vector<std::vector<std::u16string>>;

TEST(HtmlAttributesTest, ATagEndsAtItsCloseOrWhereTheNextTagBegins) {
  const struct {
    const char16_t* text;
    size_t pos;
    const char16_t* tag;
  } cases[] = {
      {u"<a href=x>y", 0, u"<a href=x"},
      {u"x<br>", 1, u"<br"},
      {u"<p", 0, u"<p"},
      {u"", 0, u""},
      {u"<b", 5, u""},
      // Left without its ">": the tags after it are theirs, not its attributes.
      {u"<div x <div align=right>", 0, u"<div x "},
      {u"<body <body bgcolor=red", 0, u"<body "},
      {u"<img alt='a<b' src=c>", 0, u"<img alt='a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TagText(c.text, c.pos), std::u16string_view(c.tag)) << c.pos;
}

TEST(HtmlAttributesTest, QuotedUnquotedAndBare) {
  EXPECT_EQ(Rows(u"<img src='a b.gif' border=0 ismap>"), (R{{u"src", u"a b.gif"}, {u"border", u"0"}, {u"ismap"}}));
  EXPECT_EQ(Rows(u"<a HREF=\"x.htm\"  title='it''s'>rest"), (R{{u"HREF", u"x.htm"}, {u"title", u"it"}, {u"'s'"}}));
  // "=" belongs to the name only when it follows at once.
  EXPECT_EQ(Rows(u"<a href = x>"), (R{{u"href"}, {u"", u"x"}}));
  EXPECT_EQ(Rows(u"<font color=red>ignored=1"), (R{{u"color", u"red"}}));
}

TEST(HtmlAttributesTest, EndsOfTextAreSafe) {
  EXPECT_EQ(Rows(u""), R{});
  EXPECT_EQ(Rows(u"<br>"), R{});
  EXPECT_EQ(Rows(u"<br   >"), R{});
  EXPECT_EQ(Rows(u"<a href="), (R{{u"href", u""}}));
  EXPECT_EQ(Rows(u"<a href=\"open"), (R{{u"href", u"open"}}));
  EXPECT_EQ(Rows(u"<a ='v'"), (R{{u"", u"v"}}));
  EXPECT_EQ(Rows(u"<a x=\"1>2\">"), (R{{u"x", u"1"}}));  // the tag ends at its first ">"
}

TEST(HtmlUrlTest, RelativeRootedAndParent) {
  EXPECT_EQ(ResolveUrl(u"img/a.gif", u"http://h/dir/page.htm?x=1"), u"http://h/dir/img/a.gif");
  EXPECT_EQ(ResolveUrl(u"/a.gif", u"http://h/dir/page.htm"), u"http://h/a.gif");
  EXPECT_EQ(ResolveUrl(u"../a.gif", u"http://h/d1/d2/p.htm"), u"http://h/d1/a.gif");
  EXPECT_EQ(ResolveUrl(u"../../a.gif", u"http://h/d1/d2/p.htm"), u"http://h/a.gif");
  EXPECT_EQ(ResolveUrl(u"a.gif", u"http://h"), u"http://h/a.gif");
  EXPECT_EQ(ResolveUrl(u"/a.gif", u"http://h"), u"http://h/a.gif");
}

TEST(HtmlUrlTest, AbsoluteFileAndResource) {
  EXPECT_EQ(ResolveUrl(u"http://other/x.htm", u"http://h/a.htm"), u"http://other/x.htm");
  EXPECT_EQ(ResolveUrl(u"b.htm", u"file://C:\\temp\\a.htm"), u"file://C:\\temp\\b.htm");
  EXPECT_EQ(ResolveUrl(u"img/c.gif", u"file://C:/temp/a.htm"), u"file://C:\\temp\\img\\c.gif");
  EXPECT_EQ(ResolveUrl(u"res://dorvane.exe/help.htm", u"file://C:\\a.htm"), u"res://dorvane.exe/help.htm");
  EXPECT_EQ(ResolveUrl(u"logo.gif", u"res://dorvane.exe/help.htm"), u"res://dorvane.exe/logo.gif");
  // "://" behind the first "/" does not make a link absolute.
  EXPECT_EQ(ResolveUrl(u"go/x://y", u"http://h/"), u"http://h/go/x://y");
}

TEST(HtmlUrlTest, LongUrlsAreCutToTheBuffer) {
  const std::u16string longHref(3000, u'a');
  EXPECT_EQ(ResolveUrl(longHref, u"http://h/").size(), kMaxUrlLength);
  EXPECT_EQ(ResolveUrl(u"x", std::u16string(u"http://h/") + longHref + u"/p"), u"http://h/x");
  EXPECT_EQ(ResolveUrl(u"http://" + longHref, u"").size(), kMaxUrlLength);
  char16_t small[8];
  ResolveUrl(u"abcdefgh.htm", small, 8, u"http://h/");
  EXPECT_EQ(std::u16string(small), u"http://");
  char16_t out[1024];
  ResolveUrl(nullptr, out, 1024, nullptr);
  EXPECT_EQ(std::u16string(out), u"/");
}

TEST(HtmlTextMeasurerTest, FixedAdvanceAndTheSymbolFace) {
  FixedAdvanceMeasurer m(7);
  EXPECT_EQ(m.MeasureText(u"Arial", 16, 0, 0, u"abcd", 0, -1).cx, 28);
  EXPECT_EQ(m.MeasureText(u"Arial", -16, 1, 0, u"abcd", 0, 2).cx, 16);
  EXPECT_EQ(m.MeasureText(u"Arial", -16, 1, 0, u"abcd", 0, 2).cy, 16);
  EXPECT_TRUE(UsesSymbolCharset(u"Wingdings"));
  EXPECT_FALSE(UsesSymbolCharset(u"wingdings"));
  EXPECT_FALSE(UsesSymbolCharset(u"Wingdings 2"));
}

}  // namespace
}  // namespace htmlview
