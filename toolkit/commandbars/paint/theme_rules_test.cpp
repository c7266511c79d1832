// The themes' state rules row by row: each highlight, text colour, classic shade and visual-style state.
#include "toolkit/commandbars/paint/theme_rules.h"

#include <gtest/gtest.h>

namespace {

using tkptheme::BorderFill;
using tkptheme::ControlState;
using tkptheme::GradientKind;
using tkptheme::Shade;

constexpr int kTop = 0;
constexpr int kPopup = tkptheme::kBarPopup;

ControlState State(bool enabled, int selected, int pressed, bool checked, bool popuped) {
  ControlState s;
  s.enabled = enabled;
  s.selected = selected;
  s.pressed = pressed;
  s.checked = checked;
  s.popuped = popuped;
  return s;
}

TEST(FlatHighlight, EnabledStates) {
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 0, 0, false, false), kTop), (BorderFill{-1, -1}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 0, 0, true, false), kTop), (BorderFill{50, 36}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 1, 0, true, false), kTop), (BorderFill{37, 33}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 1, 0, false, false), kTop), (BorderFill{32, 31}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 0, 1, false, false), kTop), (BorderFill{32, 31}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 1, 1, false, false), kTop), (BorderFill{50, 33}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 0, 2, false, false), kTop), (BorderFill{50, 33}));
  // An open popup wins over every other state.
  EXPECT_EQ(tkptheme::FlatHighlight(State(true, 1, 1, true, true), kTop), (BorderFill{43, 30}));
}

TEST(FlatHighlight, DisabledStatesDependOnKeyboardSelectionAndPopups) {
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 0, 0, false, false), kTop), (BorderFill{-1, -1}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 1, 0, false, false), kTop), (BorderFill{-1, -1}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 2, 0, false, false), kTop), (BorderFill{32, 31}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 2, 0, true, false), kTop), (BorderFill{32, 33}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 2, 0, true, false), kPopup), (BorderFill{32, 41}));
  // A checked, disabled menu item is framed and not filled.
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 0, 0, true, false), kPopup), (BorderFill{58, -1}));
  EXPECT_EQ(tkptheme::FlatHighlight(State(false, 0, 0, true, false), kTop), (BorderFill{58, 36}));
}

TEST(FlatText, EntriesAndMenuItems) {
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 0, 0, false, false), kTop), 46);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 0, 0, false, false), kPopup), 44);
  EXPECT_EQ(tkptheme::FlatEntryText(State(false, 1, 1, true, true), kTop), 60);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 1, 0, false, true), kTop), 46);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 0, 0, true, false), kTop), 45);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 0, 2, false, false), kTop), 47);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 1, 1, false, false), kTop), 47);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 1, 0, true, false), kTop), 47);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 1, 0, false, false), kTop), 45);
  EXPECT_EQ(tkptheme::FlatEntryText(State(true, 0, 1, false, false), kTop), 45);
  EXPECT_EQ(tkptheme::FlatMenuItemText(State(false, 1, 0, false, false)), 35);
  EXPECT_EQ(tkptheme::FlatMenuItemText(State(true, 1, 0, false, false)), 45);
  EXPECT_EQ(tkptheme::FlatMenuItemText(State(true, 0, 0, false, false)), 44);
}

TEST(ClassicShade, EveryState) {
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 0, 0, false, false)), Shade::kNone);
  // A checked button that is not hot shows the dither; hovering it draws it sunken without the dither.
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 0, 0, true, false)), Shade::kDither);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 1, 0, true, false)), Shade::kSunken);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 1, 0, false, false)), Shade::kRaised);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 0, 1, false, false)), Shade::kRaised);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 1, 1, false, false)), Shade::kSunken);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 0, 2, false, false)), Shade::kSunken);
  EXPECT_EQ(tkptheme::ClassicShade(State(true, 1, 0, false, true)), Shade::kSunken);
  EXPECT_EQ(tkptheme::ClassicShade(State(false, 0, 0, false, false)), Shade::kNone);
  EXPECT_EQ(tkptheme::ClassicShade(State(false, 1, 0, false, false)), Shade::kNone);
  // A disabled control selected from the keyboard is drawn sunken.
  EXPECT_EQ(tkptheme::ClassicShade(State(false, 2, 0, false, false)), Shade::kSunken);
  EXPECT_EQ(tkptheme::ClassicShade(State(false, 0, 0, true, false)), Shade::kSunken);
}

TEST(ClassicText, MenuItemsTakeHighlightTextWhenSelected) {
  EXPECT_EQ(tkptheme::ClassicMenuItemText(State(true, 1, 0, false, false), 18), 14);
  EXPECT_EQ(tkptheme::ClassicMenuItemText(State(true, 0, 0, false, false), 7), 7);
  EXPECT_EQ(tkptheme::ClassicMenuItemText(State(false, 1, 0, false, false), 18), 17);
  EXPECT_EQ(tkptheme::ClassicEntryText(State(true, 1, 0, false, false), kPopup, 7), 7);
  EXPECT_EQ(tkptheme::ClassicEntryText(State(true, 1, 0, false, false), kTop, 7), 18);
  EXPECT_EQ(tkptheme::ClassicEntryText(State(false, 0, 0, false, false), kTop, 7), 17);
}

TEST(VisualStyleState, ToolbarButtonStates) {
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 0, 0, false, false)), 1);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 1, 0, false, false)), 2);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 1, 1, false, false)), 3);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 0, 2, false, false)), 3);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 0, 1, false, false)), 1);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 0, 0, true, false)), 5);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 1, 0, true, false)), 6);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 1, 1, true, false)), 3);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(true, 0, 0, false, true)), 3);
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(false, 1, 0, false, false)), 4);
  // A disabled, checked toolbar button is drawn pressed.
  EXPECT_EQ(tkptheme::VisualStyleButtonState(State(false, 0, 0, true, false)), 3);
}

TEST(GradientHighlight, BarControlsWithSchemeColours) {
  auto kind = [](ControlState s) { return tkptheme::GradientBarHighlight(s).kind; };
  auto border = [](ControlState s) { return tkptheme::GradientBarHighlight(s).border; };
  EXPECT_EQ(kind(State(true, 0, 0, false, true)), GradientKind::kPopuped);
  EXPECT_EQ(border(State(true, 0, 0, false, true)), 43);
  EXPECT_EQ(kind(State(true, 1, 0, false, false)), GradientKind::kHot);
  EXPECT_EQ(border(State(true, 1, 0, false, false)), 32);
  EXPECT_EQ(kind(State(true, 1, 1, false, false)), GradientKind::kPressed);
  EXPECT_EQ(border(State(true, 0, 2, false, false)), 50);
  EXPECT_EQ(kind(State(true, 0, 0, true, false)), GradientKind::kChecked);
  EXPECT_EQ(kind(State(false, 2, 0, true, false)), GradientKind::kPressed);
  EXPECT_EQ(kind(State(false, 2, 0, false, false)), GradientKind::kHot);
  EXPECT_EQ(border(State(false, 0, 0, true, false)), 58);
  EXPECT_EQ(kind(State(false, 0, 0, false, false)), GradientKind::kFlat);
  EXPECT_EQ(kind(State(true, 0, 0, false, false)), GradientKind::kFlat);
}

TEST(ThemeRules, TheGlyphRunsFromTheLightColourTowardsTheDarkOneAndMasksTheRest) {
  const std::uint32_t light = 0x00F0E0D0, dark = 0x00302010;  // COLORREF order: blue, green, red bytes
  const auto pixels = tkptheme::GlyphPixels(light, dark);
  const auto& map = tkptheme::GlyphIntensities();
  int full = 0, soft = 0, masked = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const int v = map[i];
    if (v == 255) {
      EXPECT_EQ(pixels[i], tkptheme::kGlyphMask);
      ++masked;
    } else if (v == 0) {
      EXPECT_EQ(pixels[i], light);
      ++full;
    } else {
      // Each channel l - v (l - d) / 255.
      const std::uint32_t expected = static_cast<std::uint32_t>(0xD0 - v * (0xD0 - 0x10) / 255) |
                                     static_cast<std::uint32_t>(0xE0 - v * (0xE0 - 0x20) / 255) << 8 |
                                     static_cast<std::uint32_t>(0xF0 - v * (0xF0 - 0x30) / 255) << 16;
      EXPECT_EQ(pixels[i], expected);
      ++soft;
    }
  }
  EXPECT_GT(full, 20);
  EXPECT_GT(soft, 0);
  EXPECT_GT(masked, 100);
  // The chevrons are symmetric about the square's middle column pair.
  for (int y = 0; y < tkptheme::kGlyphSize; ++y) {
    for (int x = 0; x < tkptheme::kGlyphSize / 2; ++x) {
      EXPECT_EQ(map[static_cast<size_t>(y * 16 + x)], map[static_cast<size_t>(y * 16 + 15 - x)]) << x << "," << y;
    }
  }
}

}  // namespace
