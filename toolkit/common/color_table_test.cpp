#include "toolkit/common/color_table.h"

#include <gtest/gtest.h>

#include <map>

using tkcolor::Color;

namespace {

// The classic Windows 2000 colours, a 32-bit screen, no visual style.
class FixedSystem : public TKSystemColorSource {
 public:
  std::map<int, Color> colours = {
      {1, 0xA56E3A},  {2, 0x6A240A},  {3, 0x808080},  {4, 0xC8D0D4},  {5, 0xFFFFFF},  {6, 0x000000},
      {7, 0x000000},  {8, 0x000000},  {9, 0xFFFFFF},  {10, 0xC8D0D4}, {11, 0xC8D0D4}, {12, 0x808080},
      {13, 0x6A240A}, {14, 0xFFFFFF}, {15, 0xC8D0D4}, {16, 0x808080}, {17, 0x808080}, {18, 0x000000},
      {19, 0xC8D0D4}, {20, 0xFFFFFF}, {21, 0x404040}, {22, 0xC8D0D4}, {23, 0x000000}, {24, 0xE1FFFF},
      {25, 0xB5B5B5}, {26, 0x800000}, {27, 0xF0CAA6}};
  int bits = 32;
  int scheme = 0;
  bool themed = false;
  Color border = 0x7A7A7A;

  Color SysColor(int index) const override { return colours.at(index); }
  int ScreenBitsPerPixel() const override { return bits; }
  int DetectScheme() const override { return scheme; }
  bool TreeViewBorderColor(Color* c) const override {
    if (themed) *c = border;
    return themed;
  }
};

TKColorTable Refreshed(const FixedSystem& system) {
  TKColorTable table;
  table.Refresh(system);
  table.SetFixedGradients();
  return table;
}

void ExpectGradient(const TKColorTable& t, int i, Color light, Color dark, float factor) {
  EXPECT_EQ(static_cast<Color>(t.Gradient(i).clrLight), light) << "gradient " << i;
  EXPECT_EQ(static_cast<Color>(t.Gradient(i).clrDark), dark) << "gradient " << i;
  EXPECT_FLOAT_EQ(t.Gradient(i).fGradientFactor, factor) << "gradient " << i;
}

}  // namespace

TEST(ColorTable, IndicesAboveTheTableAreColoursAndTheUnsetSystemSlotsAreBlack) {
  FixedSystem system;
  TKColorTable t = Refreshed(system);
  EXPECT_EQ(t.GetColor(62), 62u);
  EXPECT_EQ(t.GetColor(0xFFFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(t.GetColor(0), 0u);
  EXPECT_EQ(t.GetColor(28), 0u);
  EXPECT_EQ(t.GetColor(29), 0u);
  EXPECT_EQ(t.GetColor(61), 0u);
  for (int i = 1; i <= 27; ++i) {
    if (i == 22) continue;  // the lighter face replaces it
    EXPECT_EQ(t.GetColor(i), system.colours[i]) << i;
  }
}

TEST(ColorTable, ClassicSchemeDerivesItsColoursFromTheSystemColours) {
  FixedSystem system;
  TKColorTable t = Refreshed(system);
  // Blends, then pushed apart where two colours that sit side by side came too close.
  const std::map<int, Color> expected = {
      {30, 0xD1D8DB}, {31, 0xD2BDB6}, {32, 0x6A240A}, {33, 0xB59285}, {35, 0xA6A6A6}, {37, 0x6A240A},
      {38, 0xA0A0A0}, {39, 0xA6A6A6}, {40, 0x8D8D8D}, {41, 0xF7F8F9}, {42, 0xC1C8CC}, {43, 0x666666},
      {44, 0x000000}, {45, 0x000000}, {46, 0x000000}, {47, 0xFFFFFF},
      {48, 0xE9F2F7}, {49, 0x555555}, {22, 0xD7DFE3}, {59, 0x000000}, {57, 0x808080}};
  for (const auto& [index, colour] : expected) EXPECT_EQ(t.GetColor(index), colour) << index;
  EXPECT_EQ(t.GetColor(34), tkcolor::Scale(t.GetColor(31), 0.75));
  EXPECT_EQ(t.GetColor(36), 0xD8D5D4u);  // half of 30, four tenths of the window, a tenth of the selection
  EXPECT_EQ(t.GetColor(53), t.GetColor(30));
  EXPECT_EQ(t.GetColor(58), t.GetColor(40));
  EXPECT_EQ(t.GetColor(60), t.GetColor(40));
  EXPECT_EQ(t.GetLunaColor(38), t.GetColor(38));  // no luna colours without a scheme

  ExpectGradient(t, 0, 0x808080, 0x808080, 0.5f);
  ExpectGradient(t, 1, 0xC8D0D4, tkcolor::BlendPercent(0xC8D0D4, 0xFFFFFF, 215), 0.5f);
  ExpectGradient(t, 2, 0xC8D0D4, 0x808080, 0.5f);
  ExpectGradient(t, 5, tkcolor::BlendPercent(0xC8D0D4, 0xFFFFFF, 40),
                 tkcolor::BlendPercent(0xC8D0D4, 0x808080, 95), 0.5f);
  ExpectGradient(t, 7, 0x8CD5FF, 0x55ADFF, 0.5f);
  ExpectGradient(t, 9, 0xC8F2FF, 0x97D4FF, 0.5f);
}

TEST(ColorTable, EachSchemeSetsItsGradientsLunaColoursAndCaptionColour) {
  struct Case {
    int scheme;
    Color gradient3Light, gradient3Dark;
    float gradient3Factor;
    Color luna38, luna30, luna59, caption;
  };
  const Case cases[] = {{1, 0xFEECDD, 0xE2A981, 0.75f, 0x764127, 0xF5BE9E, 0x361E16, 0x962D00},
                        {2, 0xDEF7F4, 0x91C6B7, 0.3f, 0x335E51, 0xA7D9D9, 0x19221F, 0x588060},
                        {3, 0xFFF9F9, 0xB79B9C, 0.75f, 0x755454, 0xE5D7D7, 0x292024, 0x947C7C}};
  for (const Case& c : cases) {
    FixedSystem system;
    system.scheme = c.scheme;
    TKColorTable t = Refreshed(system);
    EXPECT_EQ(t.GetSystemTheme(), c.scheme);
    EXPECT_EQ(t.GetCurrentSystemTheme(), c.scheme);
    ExpectGradient(t, 3, c.gradient3Light, c.gradient3Dark, c.gradient3Factor);
    EXPECT_EQ(t.GetLunaColor(38), c.luna38);
    EXPECT_EQ(t.GetLunaColor(30), c.luna30);
    EXPECT_EQ(t.GetLunaColor(59), c.luna59);
    EXPECT_EQ(t.GetLunaColor(33), 0x3E80FEu);
    EXPECT_EQ(t.GetLunaColor(42), t.GetColor(42));  // a scheme leaves the others to GetColor
    EXPECT_EQ(t.GetColor(54), c.caption);
    EXPECT_EQ(t.GetColor(38), 0xA0A0A0u);  // the plain table does not change with the scheme
  }
}

TEST(ColorTable, LowColourScreensKeepTheClassicValuesButFollowTheScheme) {
  FixedSystem system;
  system.bits = 8;
  system.scheme = 1;
  TKColorTable t = Refreshed(system);
  EXPECT_EQ(t.GetColor(30), 0xC8D0D4u);
  EXPECT_EQ(t.GetColor(31), 0xFFFFFFu);
  EXPECT_EQ(t.GetColor(44), 0x000000u);
  EXPECT_EQ(t.GetColor(22), 0xC8D0D4u);
  EXPECT_EQ(t.GetLunaColor(38), 0x764127u);
  ExpectGradient(t, 0, 0xD68759, 0x962D00, 0.5f);
}

TEST(ColorTable, ABlackFaceGivesFixedLightAndShadowShades) {
  FixedSystem system;
  system.colours[15] = 0;
  TKColorTable t = Refreshed(system);
  EXPECT_EQ(t.GetColor(48), 0x232323u);
  EXPECT_EQ(t.GetColor(49), 0x7F7F7Fu);
  system.colours[15] = 0xC8D0D4;
  system.colours[16] = 0;
  EXPECT_EQ(Refreshed(system).GetColor(49), 0u);  // a black shadow: no division by its zero channel
}

TEST(ColorTable, ThemedTreeBorderOverridesEntry57) {
  FixedSystem system;
  system.themed = true;
  EXPECT_EQ(Refreshed(system).GetColor(57), 0x7A7A7Au);
}

TEST(ColorTable, OverridesForcedSchemesCallbacksAndDisabledLunaAreHonoured) {
  FixedSystem system;
  system.scheme = 1;
  TKColorTable t;
  t.SetOverrideColor(5, 0x010203);
  EXPECT_EQ(t.GetColor(5), 0x010203u);
  t.SetForcedScheme(2);
  t.Refresh(system);
  EXPECT_EQ(t.GetSystemTheme(), 1);
  EXPECT_EQ(t.GetCurrentSystemTheme(), 2);
  EXPECT_EQ(t.GetLunaColor(38), 0x335E51u);
  t.SetLunaColorsDisabled(true);
  t.Refresh(system);
  EXPECT_EQ(t.GetLunaColor(38), t.GetColor(38));
  ExpectGradient(t, 0, 0x808080, 0x808080, 0.5f);
  t.SetSysColorCallback([](int index) -> Color { return index == 16 ? 0x404040 : 0xFFFFFF; });
  t.Refresh(system);
  EXPECT_EQ(t.GetColor(16), 0x404040u);
  EXPECT_EQ(t.GetColor(15), 0xFFFFFFu);
}
