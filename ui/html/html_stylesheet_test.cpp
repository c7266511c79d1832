#include "ui/html/html_stylesheet.h"

#include <gtest/gtest.h>

namespace html {
namespace {

class HtmlStyleSheets : public ::testing::Test {
 protected:
  HtmlStyleSheets() : table_(FixedSystemColours()), context_{table_, units_} {}

  HtmlStyle Applied(std::u16string_view declarations, HtmlStyle style = HtmlStyle()) {
    ApplyDeclarations(declarations, style, context_);
    return style;
  }
  HtmlStyle Rule(std::u16string_view selector, HtmlStyle style = HtmlStyle()) {
    EXPECT_TRUE(ApplyStyleRule(sheet_, selector, style, context_));
    return style;
  }

  FixedUnitMetrics units_;
  HtmlColourTable table_;
  HtmlStyleContext context_;
  HtmlStyleSheet sheet_;
};

TEST_F(HtmlStyleSheets, TheDefaultSheetHasSeventeenRulesEachEndedByCrLf) {
  EXPECT_EQ(sheet_.Size(), 17u);
  const std::u16string& text = DefaultStyleSheetText();
  EXPECT_EQ(text.substr(0, 58), u"body {font-size: 10pt; color:black; font-family:Verdana}\r\n");
  EXPECT_EQ(text.substr(text.size() - 49), u"\r\n.cpp-comment {color:green; font-style:italic}\r\n");
  ASSERT_NE(sheet_.Find(u"a:hover"), nullptr);
  EXPECT_EQ(*sheet_.Find(u"a:hover"), u"text-decoration:underline; color:blue");
  EXPECT_EQ(*sheet_.Find(u"PRE"), u"font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb");
  EXPECT_EQ(sheet_.Find(u"table"), nullptr);
}

TEST_F(HtmlStyleSheets, DefaultRulesGiveTheirStyles) {
  HtmlStyle body = Rule(u"body");
  EXPECT_EQ(body.fontSize, 13);  // 10pt at 96 pixels per inch
  EXPECT_EQ(body.fontFace, u"verdana");  // declarations are read lower-cased
  EXPECT_EQ(body.textColour, 0u);
  EXPECT_EQ(body.fontWeight, 400);

  HtmlStyle h2 = Rule(u"h2");
  EXPECT_EQ(h2.fontSize, 17);
  EXPECT_EQ(h2.textColour, 0x0099FFu);
  EXPECT_EQ(h2.fontWeight, 700);
  EXPECT_EQ(Rule(u"h3").fontFace, u"arial");
  EXPECT_EQ(Rule(u"h6", h2).fontSize, 11);  // 65% of 17
  EXPECT_EQ(Rule(u"h6", h2).fontWeight, 400);

  HtmlStyle pre = Rule(u"pre");
  EXPECT_EQ(pre.fontFace, u"courier");
  EXPECT_EQ(pre.fontSize, 12);
  EXPECT_EQ(pre.backgroundColour, 0xBBEDFBu);
  EXPECT_EQ(pre.backgroundMode, kHtmlOpaque);

  HtmlStyle link = Rule(u"a:hover");
  EXPECT_TRUE(link.underline);
  EXPECT_EQ(link.textColour, 0xFF0000u);
  EXPECT_FALSE(Rule(u"a:link", link).underline);
  EXPECT_EQ(Rule(u"sub").verticalAlign, kHtmlVAlignBottom);
  EXPECT_EQ(Rule(u"sup").verticalAlign, kHtmlVAlignTop);
  EXPECT_EQ(Rule(u"big").fontSize, 20);
  EXPECT_EQ(Rule(u"small").fontSize, 12);
  HtmlStyle comment = Rule(u".cpp-comment");
  EXPECT_EQ(comment.textColour, 0x008000u);
  EXPECT_TRUE(comment.italic);
}

TEST_F(HtmlStyleSheets, RulesAreReadFromText) {
  sheet_.Load(u"  P { color: red }\r\n\tp{color:blue}\nH1{font-size:3} h2 {font-size:9}\n"
              u"span.x, .Note { margin: 5px }\n!!  em");
  EXPECT_EQ(sheet_.Size(), 4u);
  EXPECT_EQ(Rule(u"p").textColour, 0xFF0000u);  // the later rule replaced the earlier one
  EXPECT_EQ(Rule(u"h1").fontSize, 12);  // the font scale
  EXPECT_EQ(Rule(u"H2").fontSize, 9);
  EXPECT_EQ(*sheet_.Find(u"span.x,"), u" margin: 5px ");
  EXPECT_EQ(sheet_.Find(u".note"), nullptr);  // a selector ends at a blank; the rest runs to "{"
  EXPECT_EQ(sheet_.Find(u"em"), nullptr);  // no "{"

  sheet_.Load(u"b {color:red; font-weight:bold");  // no "}": to the end
  EXPECT_EQ(Rule(u"b").fontWeight, 700);
  sheet_.Load(u"");
  EXPECT_EQ(sheet_.Size(), 0u);
  HtmlStyle style;
  style.fontSize = 31;
  EXPECT_FALSE(ApplyStyleRule(sheet_, u"body", style, context_));
  EXPECT_EQ(style.fontSize, 31);
  sheet_.LoadDefault();
  EXPECT_EQ(sheet_.Size(), 17u);
}

TEST_F(HtmlStyleSheets, FontProperties) {
  HtmlStyle bold;
  bold.fontWeight = 700;
  EXPECT_EQ(Applied(u"font-weight: bolder", bold).fontWeight, 900);
  EXPECT_EQ(Applied(u"font-weight:lighter", bold).fontWeight, 100);
  EXPECT_EQ(Applied(u"font-weight:", bold).fontWeight, 400);
  EXPECT_EQ(Applied(u"FONT-WEIGHT: BOLD").fontWeight, 700);
  HtmlStyle italic = Applied(u"font-style:oblique");
  EXPECT_TRUE(italic.italic);
  EXPECT_TRUE(Applied(u"font-style:slanted", italic).italic);
  EXPECT_FALSE(Applied(u"font-style:", italic).italic);
  EXPECT_EQ(Applied(u"font-family:\"Times New Roman\"; font-size:2em").fontFace, u"times new roman");
  EXPECT_EQ(Applied(u"font-family:\"a;b\"; font-size:2em").fontSize, 32);
  EXPECT_EQ(Applied(u"font-family:; color:red").fontFace, u"Verdana");
  EXPECT_EQ(Applied(u"font-size: 150%").fontSize, 24);
}

TEST_F(HtmlStyleSheets, TextProperties) {
  HtmlStyle both = Applied(u"text-decoration: underline overline");
  EXPECT_TRUE(both.underline && both.overline);
  EXPECT_FALSE(both.strikeout);
  HtmlStyle three = Applied(u"text-decoration:underline,line-through , overline", both);
  EXPECT_TRUE(three.underline && three.strikeout && three.overline);
  HtmlStyle none = Applied(u"text-decoration:none", three);
  EXPECT_FALSE(none.underline || none.strikeout || none.overline);

  HtmlStyle centred = Applied(u"text-align:center; vertical-align:middle; text-transform:capitalize");
  EXPECT_EQ(centred.textAlign, kHtmlAlignCenter);
  EXPECT_EQ(centred.verticalAlign, kHtmlVAlignCenter);
  EXPECT_EQ(centred.textTransform, kHtmlTransformCapitalize);
  HtmlStyle kept = Applied(u"text-align:justify; vertical-align:sideways; text-transform:shout", centred);
  EXPECT_EQ(kept.textAlign, kHtmlAlignCenter);
  EXPECT_EQ(kept.verticalAlign, kHtmlVAlignCenter);
  EXPECT_EQ(kept.textTransform, kHtmlTransformCapitalize);
  HtmlStyle reset = Applied(u"text-align:;vertical-align:;text-transform:", centred);
  EXPECT_EQ(reset.textAlign, kHtmlAlignLeft);
  EXPECT_EQ(reset.verticalAlign, kHtmlVAlignBaseline);
  EXPECT_EQ(reset.textTransform, kHtmlTransformNone);
  EXPECT_EQ(Applied(u"vertical-align:vcenter").verticalAlign, kHtmlVAlignCenter);
  EXPECT_EQ(Applied(u"text-transform:uppercase").textTransform, kHtmlTransformUpper);
}

TEST_F(HtmlStyleSheets, BordersAndSpacing) {
  HtmlStyle framed = Applied(u"border-width: 4px; border-color: #102030");
  EXPECT_EQ(framed.borderWidth, 4);
  EXPECT_EQ(framed.borderStyle, draw::kFrameSolid);
  EXPECT_EQ(framed.frameLightColour, 0x302010u);
  EXPECT_EQ(framed.frameDarkColour, 0x302010u);
  EXPECT_EQ(Applied(u"border-width:thin", framed).borderWidth, 3);
  EXPECT_EQ(Applied(u"border-width:thick", framed).borderWidth, 5);
  EXPECT_EQ(Applied(u"border-width:medium", framed).borderWidth, 4);
  EXPECT_EQ(Applied(u"size:0", framed).borderStyle, draw::kFrameNone);
  EXPECT_EQ(Applied(u"border-style:double", framed).borderStyle, draw::kFrameDouble);
  EXPECT_EQ(Applied(u"border-style:dotted", framed).borderWidth, 4);

  HtmlStyle dashed = Applied(u"border-style:dashed");
  EXPECT_EQ(dashed.borderStyle, draw::kFrameDash);
  EXPECT_EQ(dashed.borderWidth, 1);
  EXPECT_EQ(Applied(u"border-style:none").borderWidth, 0);
  EXPECT_EQ(Applied(u"border-style:wavy", dashed).borderStyle, draw::kFrameDash);

  HtmlStyle spaced = Applied(u"margin: 5px; padding:1in; unknown: 3; background-color: transparent");
  EXPECT_EQ(spaced.margin, 5);
  EXPECT_EQ(spaced.padding, 96);
  EXPECT_EQ(spaced.backgroundMode, kHtmlTransparent);
}

TEST_F(HtmlStyleSheets, DisabledColoursReachEveryColourProperty) {
  context_.coloursEnabled = false;
  context_.disabledColour = 0x00808080;
  HtmlStyle style = Applied(u"color:red; border-color:blue; background-color:yellow");
  EXPECT_EQ(style.textColour, 0x808080u);
  EXPECT_EQ(style.frameLightColour, 0x808080u);
  EXPECT_EQ(style.frameDarkColour, 0x808080u);
  EXPECT_EQ(style.backgroundMode, kHtmlTransparent);
}

TEST_F(HtmlStyleSheets, FontTagAttributes) {
  HtmlStyle style;
  ApplyFontAttribute(u"face", u"Arial", style, context_);
  ApplyFontAttribute(u"size", u"3", style, context_);
  ApplyFontAttribute(u"color", u"#00ff00", style, context_);
  ApplyFontAttribute(u"style", u"bi-u", style, context_);
  ApplyFontAttribute(u"bkgnd", u"white", style, context_);
  ApplyFontAttribute(u"href", u"x", style, context_);
  EXPECT_EQ(style.fontFace, u"Arial");
  EXPECT_EQ(style.fontSize, 12);
  EXPECT_EQ(style.textColour, 0x00FF00u);
  EXPECT_EQ(style.fontWeight, 700);
  EXPECT_TRUE(style.italic);
  EXPECT_EQ(style.backgroundMode, kHtmlOpaque);
  ApplyFontAttribute(u"weight", u"300", style, context_);
  ApplyFontAttribute(u"bkgnd", u"", style, context_);
  ApplyFontAttribute(u"face", u"", style, context_);
  EXPECT_EQ(style.fontWeight, 300);
  EXPECT_EQ(style.backgroundMode, kHtmlTransparent);
  EXPECT_EQ(style.fontFace, u"Arial");
}

}  // namespace
}  // namespace html
