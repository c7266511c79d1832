#include "toolkit/commandbars/state/controls_stream_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace tkpstream;

TEST(ControlsStream, SixteenThousandBytesStayInTheProfile) {
  EXPECT_EQ(StorageFor(0), Storage::kProfile);
  EXPECT_EQ(StorageFor(16000), Storage::kProfile);
  EXPECT_EQ(StorageFor(16001), Storage::kFile);
}

TEST(ControlsStream, FileNamesCannotLeaveTheFolder) {
  EXPECT_EQ(SafeFileName(u"CommandBars"), u"CommandBars");
  EXPECT_EQ(SafeFileName(u"Layouts\\Main"), u"Layouts_Main");
  EXPECT_EQ(SafeFileName(u"..\\..\\Windows\\x"), u"_.._.._Windows_x");
  EXPECT_EQ(SafeFileName(u"C:/a:b*?"), u"C__a_b__");
  EXPECT_EQ(SafeFileName(u".hidden"), u"_.hidden");
  EXPECT_EQ(SafeFileName(u""), u"_");

  const std::u16string folder = u"C:\\users\\me\\AppData\\Roaming\\Dorvane";
  EXPECT_TRUE(IsFileInFolder(folder, folder + u"\\CommandBars"));
  EXPECT_TRUE(IsFileInFolder(folder + u"\\", u"c:/USERS/me/appdata/roaming/dorvane/CommandBars"));
  for (const char16_t* outside : {u"\\..\\x", u"\\sub\\x", u"X\\x", u"\\x:stream", u"\\", u"\\.."}) {
    EXPECT_FALSE(IsFileInFolder(folder, folder + outside));
  }
  EXPECT_FALSE(IsFileInFolder(u"", u"\\x"));
}

TEST(ControlsStream, SoundLinksPass) {
  // A toolbar opening two popups, one of which opens a third; a popup shared by two controls.
  const std::vector<StreamBar> bars = {
      {59393, true, {0x1000000, 0x1000001, 0}}, {0x1000000, false, {0x1000002}},
      {0x1000001, false, {0x1000002}}, {0x1000002, false, {}}, {0xE800, true, {}}};
  std::string why;
  EXPECT_TRUE(CheckLinks(bars, &why)) << why;
  EXPECT_TRUE(CheckLinks({}, &why));
}

TEST(ControlsStream, DamagedLinksAreRefused) {
  std::string why;
  // A popup bar that opens itself, directly or through another.
  EXPECT_FALSE(CheckLinks({{1, true, {7}}, {7, false, {7}}}, &why));
  EXPECT_EQ(why, "a popup bar opens itself");
  EXPECT_FALSE(CheckLinks({{7, false, {8}}, {8, false, {7}}}, &why));
  // An id that names nothing, or a toolbar.
  EXPECT_FALSE(CheckLinks({{1, true, {9}}}, &why));
  EXPECT_FALSE(CheckLinks({{1, true, {2}}, {2, true, {}}}, &why));
  EXPECT_EQ(why, "a popup names no popup bar of the stream");
  // Ids given twice; a toolbar without an id.
  EXPECT_FALSE(CheckLinks({{5, false, {}}, {5, false, {}}}, &why));
  EXPECT_FALSE(CheckLinks({{0, true, {}}}, &why));
  // A chain of popups deeper than any menu.
  std::vector<StreamBar> chain = {{1, true, {100}}};
  for (uint32_t i = 0; i <= kMostPopupDepth; ++i) chain.push_back({100 + i, false, {101 + i}});
  chain.push_back({101 + static_cast<uint32_t>(kMostPopupDepth), false, {}});
  EXPECT_FALSE(CheckLinks(chain, &why));
  EXPECT_EQ(why, "popups nested too deep");
  chain.resize(kMostPopupDepth);
  chain.back().popupIds.clear();
  EXPECT_TRUE(CheckLinks(chain, &why)) << why;
  EXPECT_FALSE(CheckLinks(std::vector<StreamBar>(kMostBars + 1, StreamBar{}), &why));
}

// Popup bars each shared by the two popup controls of the bar before them, 32 deep: a few KB of stream
// whose every path a comparison or a copy would walk, 2^32 of them.
std::vector<StreamBar> SharedChain(size_t depth, size_t controls) {
  std::vector<StreamBar> bars = {{1, true, {100, 100}, 2}};
  for (uint32_t i = 0; i < depth; ++i) bars.push_back({100 + i, false, {101 + i, 101 + i}, controls});
  bars.push_back({100 + static_cast<uint32_t>(depth), false, {}, controls});
  return bars;
}

TEST(ControlsStream, PopupsSharedAlongTooManyPathsAreRefused) {
  std::string why;
  EXPECT_FALSE(CheckLinks(SharedChain(kMostPopupDepth - 1, 2), &why));
  EXPECT_EQ(why, "popups shared along too many paths");
  // 2^19 paths to the last bar of a chain 18 deep, each visiting its two controls and the bar.
  EXPECT_FALSE(CheckLinks(SharedChain(18, 2), &why));
  // A shared bar or two, as the bars' own controls and their originals have, passes.
  EXPECT_TRUE(CheckLinks(SharedChain(4, 2), &why)) << why;
  EXPECT_TRUE(CheckLinks(SharedChain(12, 60), &why)) << why;
  // So does a bar of many controls reached once.
  EXPECT_TRUE(CheckLinks({{1, true, {}, kMostWalkedControls - 1}}, &why)) << why;
  EXPECT_FALSE(CheckLinks({{1, true, {}, kMostWalkedControls}}, &why));
}

}  // namespace

namespace {

using tkpstream::Extent;

TEST(ControlsStream, GridSelectorsAWindowCanShowPass) {
  EXPECT_TRUE(tkpstream::SelectorFits({5, 4}, {12, 12}, {28, 28}));
  EXPECT_TRUE(tkpstream::SelectorFits({0, 0}, {0, 0}, {1, 1}));
  EXPECT_TRUE(tkpstream::SelectorFits({256, 1}, {256, 1}, {127, 28}));
}

TEST(ControlsStream, GridSelectorsBeyondAnyScreenAreRefused) {
  // Cells of nothing, a grid drawn cell by cell for ever, sums beyond an int.
  EXPECT_FALSE(tkpstream::SelectorFits({5, 4}, {12, 12}, {0, 28}));
  EXPECT_FALSE(tkpstream::SelectorFits({5, 4}, {12, 12}, {28, -3}));
  EXPECT_FALSE(tkpstream::SelectorFits({0x7FFFFFFF, 4}, {12, 12}, {28, 28}));
  EXPECT_FALSE(tkpstream::SelectorFits({5, 4}, {12, 257}, {1, 1}));
  EXPECT_FALSE(tkpstream::SelectorFits({5, -1}, {12, 12}, {28, 28}));
  EXPECT_FALSE(tkpstream::SelectorFits({5, 4}, {200, 12}, {200, 28}));
  EXPECT_FALSE(tkpstream::SelectorFits({5, 4}, {12, 12}, {0x7FFFFFFF, 28}));
}

TEST(ControlsStream, HostedWindowSizesAreAControlsExtent) {
  EXPECT_TRUE(tkpstream::HostedWindowFits(0, 0, 0, 0, {0, 0}));
  EXPECT_TRUE(tkpstream::HostedWindowFits(2, 3, 2, 3, {120, 22}));
  EXPECT_TRUE(tkpstream::HostedWindowFits(0, 0, 0, 0, {32767, 32767}));
  EXPECT_FALSE(tkpstream::HostedWindowFits(1, 0, 0, 0, {32767, 10}));
  EXPECT_FALSE(tkpstream::HostedWindowFits(0, 0, 0, 20000, {10, 20000}));
  EXPECT_FALSE(tkpstream::HostedWindowFits(-5, 0, 0, 0, {10, 10}));
  EXPECT_FALSE(tkpstream::HostedWindowFits(0, 0, 0, 0, {0x7FFFFFFF, 10}));
}

}  // namespace
