#include "toolkit/common/rtf_escape.h"

#include <gtest/gtest.h>

namespace {

TEST(RtfEscape, CharactersBeyondAsciiBecomeUnicodeEscapes) {
  EXPECT_EQ(tk::EscapeRtfText(u"{\\rtf1 a}"), "{\\rtf1 a}");
  EXPECT_EQ(tk::EscapeRtfText(u"\u00E9\u0416"), "\\u233?\\u1046?");
  EXPECT_EQ(tk::EscapeRtfText(u"\uFF21"), "\\u-223?");  // above 32767: negative, as RTF counts
  EXPECT_EQ(tk::EscapeRtfText(u"\U0001F600"), "\\u-10179?\\u-8704?");  // both halves of a pair
}

TEST(RtfEscape, MarkupAndParagraphAlignment) {
  EXPECT_TRUE(tk::LooksLikeRtf(u"{\\rtf1 x}"));
  EXPECT_FALSE(tk::LooksLikeRtf(u"plain {\\rtf"));
  EXPECT_TRUE(tk::HasCentredOrRightParagraph(u"{\\rtf1\\qc centred}"));
  EXPECT_TRUE(tk::HasCentredOrRightParagraph(u"{\\rtf1\\qr right}"));
  EXPECT_FALSE(tk::HasCentredOrRightParagraph(u"{\\rtf1\\ql left \\qc}"));
  EXPECT_FALSE(tk::HasCentredOrRightParagraph(u"{\\rtf1\\q"));
}

}  // namespace
