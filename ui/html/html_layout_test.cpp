#include "ui/html/html_layout.h"

#include <gtest/gtest.h>

#include "ui/html/html_fake_metrics.h"
#include "ui/html/html_layout_fixture.h"

namespace html {
namespace {

// The body font of the fixture is 20 pixels: every character 10 wide, ascent 15, descent 5.
using HtmlFlowTest = HtmlLayoutFixture;

TEST_F(HtmlFlowTest, BreakCountedOnlyAfterOneSeparator) {
  auto counted = Texts(Lay(u"a<br=2>b"));
  ASSERT_EQ(counted.size(), 2u);
  EXPECT_EQ(counted[1].rect.top, 40);  // one empty line between them
  auto single = Texts(Lay(u"a<br 2>b"));
  ASSERT_EQ(single.size(), 2u);
  EXPECT_EQ(single[1].rect.top, 20);
  EXPECT_EQ(Lay(u"a<br=2>b").height, 60);
  // A break and a rule as XHTML writes them are laid out as the plain tags are.
  const HtmlLayoutResult xhtml = Lay(u"one<br/>two<hr />three"), plain = Lay(u"one<br>two<hr>three");
  auto lines = Texts(xhtml);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].rect.top, 20);
  ASSERT_EQ(OfKind(xhtml, HtmlPaintItem::Kind::kRule).size(), 1u);
  ASSERT_EQ(xhtml.items.size(), plain.items.size());
  for (size_t i = 0; i < plain.items.size(); ++i) EXPECT_EQ(xhtml.items[i].rect, plain.items[i].rect) << i;
}

TEST_F(HtmlFlowTest, NestedBoldIsCappedAndStrayClosingChangesNothing) {
  auto items = Texts(Lay(u"<b><b>x</b></b>y<b>p</i>q</b>r"));
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].style.fontWeight, 900);  // 400 doubled, doubled again, capped
  EXPECT_EQ(items[1].style.fontWeight, 400);
  EXPECT_EQ(items[2].style.fontWeight, 800);
  EXPECT_EQ(items[3].style.fontWeight, 800);  // </i> without <i> inside <b>
  EXPECT_FALSE(items[3].style.italic);
  EXPECT_EQ(items[4].style.fontWeight, 400);
}

TEST_F(HtmlFlowTest, WrapsOnlyWithAMaximumWidth) {
  auto whole = Lay(u"aaa bbb ccc", 75, false);
  EXPECT_EQ(Texts(whole).size(), 1u);
  EXPECT_EQ(whole.width, 110);
  auto wrapped = Texts(Lay(u"aaa bbb ccc", 75, true));
  ASSERT_EQ(wrapped.size(), 2u);
  EXPECT_EQ(wrapped[0].text, u"aaa bbb");  // the blank just past the edge breaks
  EXPECT_EQ(wrapped[1].text, u"ccc");
  EXPECT_EQ(wrapped[1].rect.top, 20);
  auto hyphen = Texts(Lay(u"well-known", 75, true));
  ASSERT_EQ(hyphen.size(), 2u);
  EXPECT_EQ(hyphen[0].text, u"well-");
  auto chars = Texts(Lay(u"abcdefghij", 35, true));  // no break fits: cut by characters
  ASSERT_EQ(chars.size(), 4u);
  EXPECT_EQ(chars[0].text, u"abc");
  EXPECT_EQ(chars[3].text, u"j");
  auto tiny = Texts(Lay(u"ab", 1, true));  // at least one character a line
  EXPECT_EQ(tiny.size(), 2u);
}

TEST_F(HtmlFlowTest, EveryAlignment) {
  EXPECT_EQ(Texts(Lay(u"ab", 100, false))[0].rect.left, 0);
  EXPECT_EQ(Texts(Lay(u"<center>ab</center>", 100, false))[0].rect.left, 40);
  EXPECT_EQ(Texts(Lay(u"<right>ab</right>", 100, false))[0].rect.left, 80);
  EXPECT_EQ(Texts(Lay(u"<right>ab</right><br>cd", 100, false))[1].rect.left, 0);
  // Justify spreads the free width over the blanks of a wrapped line only.
  auto justified = Texts(Lay(u"<justify>aa bb cc dd</justify>", 75, true));
  ASSERT_EQ(justified.size(), 2u);
  EXPECT_EQ(justified[0].text, u"aa bb");
  EXPECT_EQ(justified[0].justifyExtra, 25);
  EXPECT_EQ(justified[0].justifyBlanks, 1);
  EXPECT_EQ(justified[0].rect.right, 75);
  EXPECT_EQ(justified[1].justifyExtra, 0);  // the last line
  EXPECT_EQ(justified[1].rect.left, 0);
  auto broken = Texts(Lay(u"<justify>aa bb<br>cc</justify>", 200, true));
  EXPECT_EQ(broken[0].justifyExtra, 0);  // ended by br
}

TEST_F(HtmlFlowTest, VerticalPlacesInOneLine) {
  // A 40-pixel font raises the line to ascent 30, descent 10.
  auto items = Texts(Lay(u"<font size=40px>B</font><top>t</top><vcenter>v</vcenter><bottom>b</bottom>x"));
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].rect.top, 0);
  EXPECT_EQ(items[1].rect.top, 0);
  EXPECT_EQ(items[2].rect.top, 10);       // (40 - 20) / 2
  EXPECT_EQ(items[3].rect.top, 40 - 15);  // line height - ascent
  EXPECT_EQ(items[4].rect.top, 40 - 10 - 15);
}

TEST_F(HtmlFlowTest, ACallersImageHandleIsReadOverTheWholeUnsignedRange) {
  // The handle as written, and the handle the image is asked for: 0 is none, and takes no space.
  const std::pair<std::u16string, uint32_t> handles[] = {
      {u"0x7FFFFFFF", 0x7FFFFFFFu}, {u"0x80000000", 0x80000000u}, {u"0xC0DE0010", 0xC0DE0010u},
      {u"0XFFFFFFFF", 0xFFFFFFFFu}, {u"2147483648", 0x80000000u}, {u"4294967295", 0xFFFFFFFFu},
      {u"-1", 0xFFFFFFFFu},         {u"-2147483648", 0x80000000u}, {u"0x100000000", 0u},
      {u"4294967296", 0u},          {u"-2147483649", 0u},           {u"0x1C", 0x1Cu},
      {u"99999999999999999999", 0u}, {u"0xFFFFFFFFF", 0u},
  };
  for (const auto& [written, handle] : handles) {
    SCOPED_TRACE(std::string(written.begin(), written.end()));
    // The largest handle has an image too: a number out of range read as it would show one.
    metrics.handles = {{0xFFFFFFFFu, {24, 12}}, {handle, {24, 12}}};
    for (const char16_t* tag : {u"bmp", u"icon"}) {
      auto result = Lay(u"<" + std::u16string(tag) + u" handle=" + written + u">x", 200, false);
      std::vector<HtmlPaintItem> images = OfKind(result, HtmlPaintItem::Kind::kImage);
      if (handle == 0) {
        EXPECT_TRUE(images.empty());
        continue;
      }
      ASSERT_EQ(images.size(), 1u);
      EXPECT_EQ(images[0].image.source.handle, handle);
      EXPECT_EQ(images[0].rect.Width(), 24);
      EXPECT_EQ(Texts(result)[0].rect.left, 24);
    }
  }
}

TEST_F(HtmlFlowTest, TabsRulesImagesAndStrings) {
  metrics.images[7] = {60, 20};
  metrics.strings[5] = u"str";
  auto result = Lay(u"a<t>b<t=2>c<br><hr size=4><br><bmp idres=7><ilst idres=7 cx=20 index=1><string idres=5><bmp idres=9>",
                    200, false);
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[1].rect.left, 32);
  EXPECT_EQ(texts[2].rect.left, 96);  // next stop 64, then one more
  const HtmlPaintItem* rule = nullptr;
  std::vector<const HtmlPaintItem*> images;
  for (const auto& item : result.items) {
    if (item.kind == HtmlPaintItem::Kind::kRule) rule = &item;
    if (item.kind == HtmlPaintItem::Kind::kImage) images.push_back(&item);
  }
  ASSERT_NE(rule, nullptr);
  EXPECT_EQ(rule->thickness, 4);
  EXPECT_EQ(rule->rect.Width(), 200);  // 100% of the width
  EXPECT_EQ(rule->rect.Height(), 12);  // thickness + 8
  ASSERT_EQ(images.size(), 2u);        // the missing image takes no space
  EXPECT_EQ(images[0]->rect.Width(), 60);
  EXPECT_EQ(images[1]->rect.left, 60);
  EXPECT_EQ(images[1]->rect.Width(), 20);
  EXPECT_EQ(images[1]->image.index, 1);
  EXPECT_EQ(texts[3].text, u"str");
  EXPECT_EQ(texts[3].rect.left, 80);
  HtmlLayoutResult none = Lay(u"<hr>", 0, false);
  EXPECT_EQ(none.width, 0);  // a rule in percent takes nothing when measuring without a width
}

TEST_F(HtmlFlowTest, LinkSplitOverTwoLinesHasTwoHotAreas) {
  auto result = Lay(u"<a href=\"http://x\">aaa bbb</a> <a msg=go>c</a>", 45, true);
  ASSERT_EQ(result.hotAreas.size(), 3u);
  EXPECT_EQ(result.hotAreas[0].rect, (draw::DrawRect{0, 0, 30, 20}));
  EXPECT_EQ(result.hotAreas[1].rect, (draw::DrawRect{0, 20, 30, 40}));
  EXPECT_EQ(result.hotAreas[0].link, 0);
  EXPECT_EQ(result.hotAreas[1].link, 0);
  EXPECT_EQ(result.hotAreas[1].kind, kHtmlLinkAddress);
  EXPECT_EQ(result.hotAreas[1].target, u"http://x");
  EXPECT_EQ(result.hotAreas[2].link, 1);
  EXPECT_EQ(result.hotAreas[2].kind, kHtmlLinkMessage);
  EXPECT_EQ(result.hotAreas[2].target, u"go");
  // The hovered link takes the hover rule.
  auto hovered = Texts(Lay(u"<a href=x>a</a><a href=y>b</a>", 0, false, 1));
  EXPECT_FALSE(hovered[0].style.underline);
  EXPECT_TRUE(hovered[1].style.underline);
  EXPECT_EQ(hovered[0].style.textColour, 0xFF0000u);
}

}  // namespace
}  // namespace html

namespace html {
namespace {

TEST_F(HtmlFlowTest, DisabledColoursGreyTextRulesImagesAndTables) {
  settings.coloursEnabled = false;
  settings.disabledColour = 0x808080;
  metrics.images[7] = {16, 16};
  auto result = Lay(u"<font color=red>t</font><hr color=blue><bmp idres=7 style=g>"
                    u"<table bgcolor=red border=1 bordercolor=blue><tr><td>c</td></tr></table>", 100, false);
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].style.textColour, 0x808080u);
  EXPECT_EQ(OfKind(result, HtmlPaintItem::Kind::kRule)[0].style.textColour, 0x808080u);
  EXPECT_EQ(OfKind(result, HtmlPaintItem::Kind::kImage)[0].image.effect, static_cast<uint32_t>(draw::kEffectMono));
  EXPECT_TRUE(OfKind(result, HtmlPaintItem::Kind::kFill).empty());  // backgrounds stay transparent
  auto frames = OfKind(result, HtmlPaintItem::Kind::kFrame);
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames[0].style.frameLightColour, 0x808080u);
  EXPECT_EQ(frames[0].style.frameDarkColour, 0x808080u);
}

TEST_F(HtmlFlowTest, ImagesTakeTheirSizeWithShadowAndWrapAsAWhole) {
  metrics.images[7] = {40, 20};
  auto result = Lay(u"ab<bmp idres=7 width=50% style=s>c<bmp idres=7>", 60, true);
  auto images = OfKind(result, HtmlPaintItem::Kind::kImage);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].image.width, 20);
  EXPECT_EQ(images[0].rect.Width(), 24);  // the shadow's offset 4 added
  EXPECT_EQ(images[0].rect.left, 20);
  EXPECT_EQ(images[1].rect.left, 0);  // did not fit after "c": a new line
  EXPECT_GT(images[1].rect.top, images[0].rect.top);
}

}  // namespace
}  // namespace html
