// The OS version queries, the colour scheme of a visual style and the toolbar resource reader.
#include <gtest/gtest.h>

#include "toolkit/common/os_version.h"
#include "toolkit/common/toolbar_resource.h"
#include "toolkit/common/visual_style_scheme.h"

TEST(OSVersion, EachQueryMatchesOneRelease) {
  const TKOSVersionNumbers win95{1, 4, 0}, win98{1, 4, 10}, nt4{2, 4, 0}, w2k{2, 5, 0}, xp{2, 5, 1}, win7{2, 6, 1};
  EXPECT_TRUE(tkos::IsWin95(win95));
  EXPECT_FALSE(tkos::IsWin95(win98));
  EXPECT_TRUE(tkos::IsWin98(win98));
  EXPECT_TRUE(tkos::IsWinNT4(nt4));
  EXPECT_FALSE(tkos::IsWin95(nt4));
  EXPECT_TRUE(tkos::IsWin2K(w2k));
  EXPECT_TRUE(tkos::IsWinXP(xp));
  EXPECT_FALSE(tkos::IsWin2K(xp));
  for (auto query : {tkos::IsWin95, tkos::IsWin98, tkos::IsWinNT4, tkos::IsWin2K, tkos::IsWinXP})
    EXPECT_FALSE(query(win7));
  EXPECT_TRUE(tkos::IsVersion(win7, 6, 1));
  EXPECT_TRUE(tkos::IsNT5OrLater(win7));
  EXPECT_FALSE(tkos::IsNT5OrLater(win98));
}

TEST(VisualStyleScheme, LunaColoursGiveTheirSchemesAndEverythingElseClassic) {
  const std::u16string luna = u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
  EXPECT_EQ(TKPSchemeFromVisualStyle(luna, u"NormalColor"), 1);
  EXPECT_EQ(TKPSchemeFromVisualStyle(luna, u"homestead"), 2);
  EXPECT_EQ(TKPSchemeFromVisualStyle(luna, u"Metallic"), 3);
  EXPECT_EQ(TKPSchemeFromVisualStyle(luna, u"Silver"), 0);
  EXPECT_EQ(TKPSchemeFromVisualStyle(u"luna.msstyles", u"NormalColor"), 1);
  EXPECT_EQ(TKPSchemeFromVisualStyle(u"C:\\Themes\\Royale.msstyles", u"NormalColor"), 0);
  EXPECT_EQ(TKPSchemeFromVisualStyle(u"C:\\Themes\\NotLuna.msstyles", u"NormalColor"), 0);
  EXPECT_EQ(TKPSchemeFromVisualStyle(u"", u""), 0);
}

TEST(ToolBarResource, ItemsAreReadWithinTheDataOnly) {
  const std::uint8_t header[] = {1, 0, 16, 0, 15, 0, 3, 0, 0xD6, 0x23, 0, 0, 0xD8, 0x23};
  TKToolBarData toolbar;
  ASSERT_TRUE(ParseToolBarResource(header, sizeof header, &toolbar));
  EXPECT_EQ(toolbar.width, 16);
  EXPECT_EQ(toolbar.height, 15);
  EXPECT_EQ(toolbar.items, (std::vector<unsigned>{9174, 0, 9176}));
  EXPECT_EQ(toolbar.ImageIds(), (std::vector<unsigned>{9174, 9176}));
  EXPECT_FALSE(ParseToolBarResource(header, sizeof header - 1, &toolbar));  // the last id cut short
  EXPECT_FALSE(ParseToolBarResource(header, 7, &toolbar));
  EXPECT_FALSE(ParseToolBarResource(nullptr, 0, &toolbar));
  const std::uint8_t many[] = {1, 0, 16, 0, 15, 0, 0xFF, 0xFF, 1, 0};  // claims 65535 items
  EXPECT_FALSE(ParseToolBarResource(many, sizeof many, &toolbar));
}
