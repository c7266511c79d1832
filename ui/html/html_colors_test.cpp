#include "ui/html/html_colors.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "ui/html/html_colors_win32.h"
#endif

namespace html {
namespace {

// Each system colour index gets a value that names it, so a wrong index shows.
FixedSystemColours IndexedSystemColours() {
  FixedSystemColours system;
  for (int i = 0; i < FixedSystemColours::kCount; ++i) system.colours[static_cast<size_t>(i)] = 0x010000u * i + 0x42;
  return system;
}

uint32_t Lookup(const HtmlColourTable& table, std::u16string_view name) {
  uint32_t colour = 0xDEADBEEF;
  EXPECT_TRUE(table.Find(name, colour)) << std::string(name.begin(), name.end());
  return colour;
}

TEST(HtmlColourTable, HoldsTheNamedColoursAsColourValues) {
  HtmlColourTable table(IndexedSystemColours());
  EXPECT_EQ(table.Size(), 140u + 28u);
  EXPECT_EQ(Lookup(table, u"red"), 0x0000FFu);  // red in the low byte
  EXPECT_EQ(Lookup(table, u"navy"), 0x800000u);
  EXPECT_EQ(Lookup(table, u"cornflowerblue"), 0xED9564u);
  EXPECT_EQ(Lookup(table, u"lightgoldenrodyellow"), 0xD2FAFAu);
  EXPECT_EQ(Lookup(table, u"yellowgreen"), 0x32CD9Au);
  // Our darkseagreen is 143, 188, 139 (not 143, 188, 143).
  EXPECT_EQ(Lookup(table, u"darkseagreen"), 0x8BBC8Fu);
}

TEST(HtmlColourTable, NamesIgnoreCaseAndUnknownNamesAreNotFound) {
  HtmlColourTable table(IndexedSystemColours());
  EXPECT_EQ(Lookup(table, u"DarkOrange"), 0x008CFFu);
  uint32_t colour = 7;
  EXPECT_FALSE(table.Find(u"lightgray", colour));  // only the "grey" spelling of this one
  EXPECT_FALSE(table.Find(u"", colour));
  EXPECT_FALSE(table.Find(u"red ", colour));
  EXPECT_EQ(colour, 7u);
}

TEST(HtmlColourTable, SystemColourNamesReadThePlatformsColoursOfTheirIndex) {
  FixedSystemColours system = IndexedSystemColours();
  HtmlColourTable table(system);
  EXPECT_EQ(Lookup(table, u"scrollbar"), system.SystemColour(0));
  EXPECT_EQ(Lookup(table, u"background"), 0x010042u);
  EXPECT_EQ(Lookup(table, u"buttonface"), 0x0F0042u);
  EXPECT_EQ(Lookup(table, u"threedface"), 0x0F0042u);
  EXPECT_EQ(Lookup(table, u"buttonshadow"), 0x100042u);
  EXPECT_EQ(Lookup(table, u"inactivecaptiontext"), 0x130042u);
  EXPECT_EQ(Lookup(table, u"infotext"), 0x170042u);
  EXPECT_EQ(Lookup(table, u"infobackground"), 0x180042u);
  EXPECT_EQ(Lookup(table, u"threedlightshadow"), 0x160042u);
  EXPECT_EQ(Lookup(table, u"WindowText"), 0x080042u);

  // Read once, when the table is built.
  system.colours[5] = 0x123456;
  EXPECT_EQ(Lookup(table, u"window"), 0x050042u);
  EXPECT_EQ(system.SystemColour(-1), 0u);
  EXPECT_EQ(system.SystemColour(FixedSystemColours::kCount), 0u);
}

#ifdef _WIN32
TEST(HtmlColourTable, TheWindowsBuildReadsTheSystemColours) {
  HtmlColourTable table{Win32SystemColours()};
  EXPECT_EQ(Lookup(table, u"buttonface"), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Lookup(table, u"graytext"), GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(Lookup(table, u"infobackground"), GetSysColor(COLOR_INFOBK));
}
#endif

}  // namespace
}  // namespace html
