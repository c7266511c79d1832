#include "ui/html/html_style_values.h"

#include <gtest/gtest.h>

#include <climits>

namespace html {
namespace {

TEST(HtmlStyleValues, NumbersAreDecimalOrHexAfter0xAndSaturate) {
  EXPECT_EQ(ReadStyleNumber(u"12"), 12);
  EXPECT_EQ(ReadStyleNumber(u"12abc"), 12);
  EXPECT_EQ(ReadStyleNumber(u"0x1F"), 31);
  EXPECT_EQ(ReadStyleNumber(u"-5"), -5);
  EXPECT_EQ(ReadStyleNumber(u"abc"), 0);
  EXPECT_EQ(ReadStyleNumber(u""), 0);
  EXPECT_EQ(ReadStyleNumber(u"99999999999999999999"), INT_MAX);
  EXPECT_EQ(ReadStyleNumber(u"-99999999999999999999"), INT_MIN);
}

class HtmlSizes : public ::testing::Test {
 protected:
  int Size(std::u16string_view value, int current = 16, bool scale = false) {
    return ReadSize(value, current, scale, units_);
  }
  FixedUnitMetrics units_;
};

TEST_F(HtmlSizes, EmptyAndPercentAreRelativeToTheCurrentSize) {
  EXPECT_EQ(Size(u"", 23), 23);
  EXPECT_EQ(Size(u"50%", 16), 8);
  EXPECT_EQ(Size(u"65%", 13), 8);    // 8.45
  EXPECT_EQ(Size(u"125%", 10), 13);  // 12.5 rounds up
  EXPECT_EQ(Size(u"75%", 2), 2);     // 1.5 rounds up
  EXPECT_EQ(Size(u"%", 10), 0);
}

TEST_F(HtmlSizes, UnitsAreTheLastTwoCharacters) {
  units_.fontHeight = 20;
  units_.xHeight = 9;
  EXPECT_EQ(Size(u"12px"), 12);
  EXPECT_EQ(Size(u"2em"), 40);
  EXPECT_EQ(Size(u"1.5em"), 20);  // only the leading digits count
  EXPECT_EQ(Size(u"3ex"), 27);
  EXPECT_EQ(Size(u"1in"), 96);
  EXPECT_EQ(Size(u"1cm"), 37);   // 37.79
  EXPECT_EQ(Size(u"10mm"), 37);  // 37.79
  EXPECT_EQ(Size(u"10pt"), 13);  // 13.3
  EXPECT_EQ(Size(u"1pc"), 16);
  EXPECT_EQ(Size(u"-4px"), 4);   // the sign is dropped
  units_.pixelsPerInch = 120;
  EXPECT_EQ(Size(u"10pt"), 16);
  EXPECT_EQ(Size(u"1cm"), 47);
}

TEST_F(HtmlSizes, WithoutAUnitTheWholeValueIsANumberOnTheFontScale) {
  EXPECT_EQ(Size(u"3", 16, true), 12);
  EXPECT_EQ(Size(u"9", 16, true), 9);
  EXPECT_EQ(Size(u"1", 16, true), 8);
  EXPECT_EQ(Size(u"7", 16, true), 36);
  EXPECT_EQ(Size(u"0", 16, true), 0);
  EXPECT_EQ(Size(u"+3", 16, true), 12);
  EXPECT_EQ(Size(u"3", 16, false), 3);
  EXPECT_EQ(Size(u"0x10"), 16);
  EXPECT_EQ(Size(u"12qq"), 12);
  EXPECT_EQ(Size(u"big"), 0);
}

TEST_F(HtmlSizes, HugeValuesAreHeld) {
  EXPECT_EQ(Size(u"99999999999999px"), kMaxHtmlSize);
  EXPECT_EQ(Size(u"99999999999999in"), kMaxHtmlSize);
  EXPECT_EQ(Size(u"99999999999999cm"), kMaxHtmlSize);
  EXPECT_EQ(Size(u"99999999999999"), kMaxHtmlSize);
  EXPECT_EQ(Size(u"99999999999999%", kMaxHtmlSize), kMaxHtmlSize);
  EXPECT_EQ(Size(u"99999999999999%", -kMaxHtmlSize), -kMaxHtmlSize);
}

class HtmlColours : public ::testing::Test {
 protected:
  HtmlColours() : table_(System()) {}
  static FixedSystemColours System() {
    FixedSystemColours system;
    system.colours[15] = 0x00C0C0C0;
    return system;
  }
  uint32_t Colour(std::u16string_view value) { return ReadColour(value, kCurrent, table_); }
  static constexpr uint32_t kCurrent = 0x00123456;
  HtmlColourTable table_;
};

TEST_F(HtmlColours, SixHexDigitsAreRedGreenBlue) {
  EXPECT_EQ(Colour(u"#ff9900"), 0x0099FFu);
  EXPECT_EQ(Colour(u"#FF9900"), 0x0099FFu);
  EXPECT_EQ(Colour(u"#000000"), 0u);
}

TEST_F(HtmlColours, OtherHashFormsKeepTheCurrentColour) {
  EXPECT_EQ(Colour(u"#f90"), kCurrent);
  EXPECT_EQ(Colour(u"#ff990"), kCurrent);
  EXPECT_EQ(Colour(u"#ff99000"), kCurrent);
  EXPECT_EQ(Colour(u"#"), kCurrent);
  EXPECT_EQ(Colour(u"#gg9900"), kCurrent);
}

TEST_F(HtmlColours, NumbersAreColourValuesAndNamesComeFromTheTable) {
  EXPECT_EQ(Colour(u""), kCurrent);
  EXPECT_EQ(Colour(u"255"), 0xFFu);
  EXPECT_EQ(Colour(u"0x00ff00"), 0x00FF00u);
  EXPECT_EQ(Colour(u"99999999999"), 0xFFFFFFFFu);
  EXPECT_EQ(Colour(u"red"), 0x0000FFu);
  EXPECT_EQ(Colour(u"Red"), 0x0000FFu);
  EXPECT_EQ(Colour(u"darkseagreen"), 0x8BBC8Fu);
  EXPECT_EQ(Colour(u"buttonface"), 0xC0C0C0u);
  EXPECT_EQ(Colour(u"reddish"), kCurrent);
  uint32_t colour = 0;
  EXPECT_FALSE(ParseColour(u"reddish", table_, colour));
  EXPECT_TRUE(ParseColour(u"blue", table_, colour));
  EXPECT_EQ(colour, 0xFF0000u);
}

TEST(HtmlFills, NamesNumbersAndEmpty) {
  FixedUnitMetrics units;
  const draw::FillKind current = draw::kFillNoise;
  EXPECT_EQ(ReadFill(u"transparent", current, units), kHtmlNoFill);
  EXPECT_EQ(ReadFill(u"solid", current, units), draw::kFillSolid);
  EXPECT_EQ(ReadFill(u"hgradient", current, units), draw::kFillHGradient);
  EXPECT_EQ(ReadFill(u"3vgradient", current, units), draw::kFill3VGradient);
  EXPECT_EQ(ReadFill(u"diagshade", current, units), draw::kFillDiagShade);
  EXPECT_EQ(ReadFill(u"metal", current, units), draw::kFillMetal);
  EXPECT_EQ(ReadFill(u"", current, units), current);
  EXPECT_EQ(ReadFill(u"12", current, units), draw::kFillVBump);
  EXPECT_EQ(ReadFill(u"Metal", current, units), draw::kFillSolid);  // a number 0
}

TEST(HtmlEffectLetters, LettersAddEffectsAndTheShadowFollowsItsSettings) {
  HtmlShadow shadow;
  EXPECT_EQ(ReadEffectLetters(u"d", shadow), uint32_t{draw::kEffectDarken});
  EXPECT_EQ(ReadEffectLetters(u"glx", shadow), uint32_t{draw::kEffectGray | draw::kEffectLighten});
  EXPECT_EQ(ReadEffectLetters(u"s", shadow), uint32_t{draw::kEffectGradientShadow});
  shadow.gradient = false;
  EXPECT_EQ(ReadEffectLetters(u"ds", shadow), uint32_t{draw::kEffectDarken | draw::kEffectShadow});
  shadow.offsetX = 0;
  EXPECT_EQ(ReadEffectLetters(u"s", shadow), uint32_t{draw::kEffectShadow});
  shadow.offsetY = 0;
  EXPECT_EQ(ReadEffectLetters(u"s", shadow), uint32_t{draw::kEffectNone});
  EXPECT_EQ(ReadEffectLetters(u"DGL", shadow), uint32_t{draw::kEffectNone});
}

TEST(HtmlFontLetters, LettersSwitchOnAndAMinusRightBeforeSwitchesOff) {
  HtmlStyle style;
  ApplyFontLetters(u"biuso", style);
  EXPECT_EQ(style.fontWeight, 700);
  EXPECT_TRUE(style.italic && style.underline && style.strikeout && style.overline);
  ApplyFontLetters(u"-b-i+u-s", style);
  EXPECT_EQ(style.fontWeight, 400);
  EXPECT_FALSE(style.italic);
  EXPECT_TRUE(style.underline);
  EXPECT_FALSE(style.strikeout);
  ApplyFontLetters(u"- o, -xb i-", style);  // the minus must stand right before its letter
  EXPECT_TRUE(style.overline);
  EXPECT_EQ(style.fontWeight, 700);
  EXPECT_TRUE(style.italic);
}

TEST(HtmlFontWeights, KeywordsNumbersAndOtherText) {
  EXPECT_EQ(ReadFontWeight(u""), 400);
  EXPECT_EQ(ReadFontWeight(u"normal"), 400);
  EXPECT_EQ(ReadFontWeight(u"bold"), 700);
  EXPECT_EQ(ReadFontWeight(u"bolder"), 900);  // not a step above the current weight
  EXPECT_EQ(ReadFontWeight(u"lighter"), 100);
  EXPECT_EQ(ReadFontWeight(u"600"), 600);
  EXPECT_EQ(ReadFontWeight(u"heavy"), 0);
  EXPECT_EQ(ReadFontWeight(u"5000"), 1000);
  EXPECT_EQ(ReadFontWeight(u"-5"), 0);
}

TEST(HtmlShadowSettings, DarknessIsTakenModulo256AndCappedAt100) {
  HtmlShadow defaults, set;
  SetShadow(set, 4, 4, 50, true, 7, 7);
  EXPECT_EQ(set.colour, defaults.colour);
  EXPECT_EQ(set.colour, 0x808080u);  // 127.5 rounds up
  SetShadow(set, 1, 2, 0, false, 3, 5);
  EXPECT_EQ(set.colour, 0xFFFFFFu);
  EXPECT_EQ(set.offsetX, 1);
  EXPECT_EQ(set.offsetY, 2);
  EXPECT_EQ(set.blurX, 3);
  EXPECT_EQ(set.blurY, 5);
  EXPECT_FALSE(set.gradient);
  SetShadow(set, 4, 4, 300, true, 7, 7);  // 44: 142.8
  EXPECT_EQ(set.darkness, 44);
  EXPECT_EQ(set.colour, 0x8F8F8Fu);
  SetShadow(set, 4, 4, 200, true, 7, 7);
  EXPECT_EQ(set.darkness, 100);
  EXPECT_EQ(set.colour, 0u);
  SetShadow(set, 4, 4, -1, true, 7, 7);  // 255
  EXPECT_EQ(set.darkness, 100);
}

TEST(HtmlStyleContexts, DisabledColoursGiveTheDisabledColourAndTransparentBackgrounds) {
  FixedSystemColours system;
  HtmlColourTable table(system);
  FixedUnitMetrics units;
  HtmlStyleContext context{table, units};
  HtmlStyle style;
  EXPECT_EQ(context.Colour(u"red", 5), 0x0000FFu);
  ApplyBackground(u"red", style, context);
  EXPECT_EQ(style.backgroundMode, kHtmlOpaque);
  EXPECT_EQ(style.backgroundColour, 0x0000FFu);
  ApplyBackground(u"reddish", style, context);  // unknown: unchanged
  EXPECT_EQ(style.backgroundMode, kHtmlOpaque);
  ApplyBackground(u"", style, context);
  EXPECT_EQ(style.backgroundMode, kHtmlTransparent);
  ApplyBackground(u"#00ff00", style, context);
  ApplyBackground(u"transparent", style, context);
  EXPECT_EQ(style.backgroundMode, kHtmlTransparent);
  EXPECT_EQ(style.backgroundColour, 0x00FF00u);

  context.coloursEnabled = false;
  context.disabledColour = 0x00ABCDEF;
  EXPECT_EQ(context.Colour(u"red", 5), 0x00ABCDEFu);
  EXPECT_EQ(context.Colour(u"", 5), 0x00ABCDEFu);
  ApplyBackground(u"red", style, context);
  EXPECT_EQ(style.backgroundMode, kHtmlTransparent);
  EXPECT_EQ(style.backgroundColour, 0x00FF00u);
}

}  // namespace
}  // namespace html
