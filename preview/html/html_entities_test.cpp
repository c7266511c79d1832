#include "preview/html/html_entities.h"

#include <gtest/gtest.h>

#include "preview/html/html_cp1252.h"

namespace htmlview {
namespace {

TEST(HtmlEntitiesTest, NamesAreCaseSensitiveAndTried) {
  EXPECT_EQ(DecodeEntitiesCopy(u"a&amp;b"), u"a&b");
  EXPECT_EQ(DecodeEntitiesCopy(u"&AMP;"), u"&AMP;");
  EXPECT_EQ(DecodeEntitiesCopy(u"&lt;&gt;&quot;&apos;"), u"<>\"'");
  EXPECT_EQ(DecodeEntitiesCopy(u"&copy;"), u"\u00A9");
  EXPECT_EQ(DecodeEntitiesCopy(u"&nbsp;&yuml;&iexcl;"), u"\u00A0\u00FF\u00A1");
  EXPECT_EQ(DecodeEntitiesCopy(u"&euro;&trade;&lsquo;&bull;"), u"\u20AC\u2122\u2018\u2022");
  EXPECT_EQ(DecodeEntitiesCopy(u""), u"");
  EXPECT_EQ(DecodeEntitiesCopy(u"&unknown; & &"), u"&unknown; & &");
}

TEST(HtmlEntitiesTest, KeepsItsPlainStandInsForTypography) {
  EXPECT_EQ(DecodeEntitiesCopy(u"&mdash;&ndash;&OElig;&Scaron;&ldquo;&rdquo;&sbquo;"), u"--ES\"\",");
  EXPECT_EQ(DecodeEntitiesCopy(u"&Yuml;"), u"\u00FF");
  // A 1252 dash read as Latin-1 and a raw no-break space.
  EXPECT_EQ(DecodeEntitiesCopy(u"a\u0097b\u00A0c"), u"a-b c");
}

TEST(HtmlEntitiesTest, NumericReferencesConsumeTheirEnd) {
  EXPECT_EQ(DecodeEntitiesCopy(u"&#65;B"), u"AB");
  EXPECT_EQ(DecodeEntitiesCopy(u"&#65 B"), u"AB");
  EXPECT_EQ(DecodeEntitiesCopy(u"x&#x41;y&#X6a;"), u"xAyj");
  EXPECT_EQ(DecodeEntitiesCopy(u"x&#;y&#0;z&#x0;"), u"x\uFFFDy\uFFFDz\uFFFD");  // never a zero that ends the text
  EXPECT_EQ(DecodeEntitiesCopy(u"&#66"), u"B");      // the number runs to the end of the text
  EXPECT_EQ(DecodeEntitiesCopy(u"&#128512;"), u"\U0001F600");
  EXPECT_EQ(DecodeEntitiesCopy(u"&#-5;&#99999999999999999999;"), u"\uFFFD\uFFFD");
}

TEST(HtmlEntitiesTest, RepairsUtf8ReadAsLatin1) {
  EXPECT_EQ(RepairUtf8Copy(u"\u00C3\u00A9"), u"\u00E9");
  EXPECT_EQ(RepairUtf8Copy(u"\u00C2\u00A0"), u"\u00A0");
  EXPECT_EQ(RepairUtf8Copy(u"\u00C2\u0080x\u00C3"), u"\u00C2\u0080x\u00C3");  // not a row; a lone lead stays
}

TEST(HtmlEntitiesTest, TablesHaveTheirRows) {
  EXPECT_EQ(kKnownTagCount, 62u);
  EXPECT_EQ(FindKnownTag(u"<br"), 0);
  EXPECT_EQ(FindKnownTag(u"</p"), 61);
  EXPECT_EQ(FindKnownTag(u"<script"), -1);
  EXPECT_EQ(Cp1252ToUtf16(0x80), u'\u20AC');
  EXPECT_EQ(Cp1252ToUtf16(0x9F), u'\u0178');
  EXPECT_EQ(Cp1252ToUtf16(0x81), u'\u0081');
  EXPECT_EQ(Cp1252ToUtf16(0xE9), u'\u00E9');
}

}  // namespace
}  // namespace htmlview
