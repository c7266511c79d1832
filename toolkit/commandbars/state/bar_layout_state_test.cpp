#include "toolkit/commandbars/state/bar_layout_state.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace tkpstate {
namespace {

// The profile as a map of (section, name) to value.
class MapProfile : public ProfileReader, public ProfileWriter {
 public:
  using Key = std::pair<std::u16string, std::u16string>;
  bool GetInt(const std::u16string& section, const std::u16string& name, int& value) const override {
    const auto it = values.find({section, name});
    if (it == values.end()) return false;
    value = it->second;
    return true;
  }
  void WriteInt(const std::u16string& section, const std::u16string& name, int value) override {
    values[{section, name}] = value;
  }
  void DeleteValue(const std::u16string& section, const std::u16string& name) override { values.erase({section, name}); }
  void DeleteSection(const std::u16string& section) override {
    for (auto it = values.begin(); it != values.end();) it = it->first.first == section ? values.erase(it) : std::next(it);
  }
  bool Has(const std::u16string& section, const std::u16string& name) const { return values.count({section, name}) != 0; }
  std::map<Key, int> values;
};

const Screen kScreen{1024, 768, 32, 32};
const std::u16string kP = u"CommandBars";

TEST(LayoutScale, PositionsFollowTheScreenAndStayOnIt) {
  const LayoutScale doubled(1024, 768, Screen{2048, 1536, 32, 32});
  ASSERT_TRUE(doubled.Rescales());
  int x = 100, y = 50;
  doubled.ScalePoint(x, y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 100);
  x = 1200, y = 900;  // beyond the clamp after scaling
  doubled.ScalePoint(x, y);
  EXPECT_EQ(x, 2048 - 32);
  EXPECT_EQ(y, 1536 - 32);
  x = -40, y = -3;  // no lower clamp
  doubled.ScalePoint(x, y);
  EXPECT_EQ(x, -80);
  EXPECT_EQ(y, -6);

  Rect rect{10, 20, 110, 45};
  doubled.ScaleRectPos(rect);  // the corner moves, the size stays
  EXPECT_EQ(rect, (Rect{20, 40, 120, 65}));
  rect = Rect{1500, 1000, 1600, 1030};
  const LayoutScale same(1024, 768, kScreen);
  EXPECT_FALSE(same.Rescales());
  same.ScaleRectPos(rect);
  EXPECT_EQ(rect, (Rect{992, 736, 1092, 766}));
}

TEST(LayoutScale, AnUnknownSavedScreenIsNotScaledFrom) {
  for (const auto& saved : {std::pair{0, 0}, std::pair{-5, 768}, std::pair{1024, 70000}}) {
    const LayoutScale scale(saved.first, saved.second, kScreen);
    EXPECT_FALSE(scale.Rescales());
    int x = 300, y = 200;
    scale.ScalePoint(x, y);
    EXPECT_EQ(x, 300);
  }
  EXPECT_EQ(MulDivRound(3, 1, 2), 2);    // half away from zero
  EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
  EXPECT_EQ(MulDivRound(5, 1, 0), -1);
  EXPECT_EQ(MulDivRound(INT32_MAX, 4, 1), -1);
}

TEST(BarLayoutState, WhatIsWrittenIsReadBack) {
  BarRecord menu;
  menu.barId = 59392;
  menu.visible = true;
  menu.x = 0;
  menu.y = 0;
  BarRecord tools;
  tools.barId = 59393;
  tools.visible = false;
  tools.floating = true;
  tools.x = 300;
  tools.y = 200;
  tools.mruWidth = 140;
  tools.mruDockId = 2;
  tools.mruDock = {4, 5, 40, 300};
  tools.mruFloat = {300, 200};
  const std::vector<unsigned> slots[kDockBars] = {{0, 59392, 0, 0, 59393, 0}, {0}, {}, {0, 0}};
  MapProfile profile;
  profile.WriteInt(kP, u"StatusBar", 0);
  WriteLayout(profile, kP, {menu, tools}, slots, kScreen, 1);
  EXPECT_FALSE(profile.Has(kP, u"StatusBar"));  // shown: the value goes
  EXPECT_FALSE(profile.Has(BarSection(kP, 0), u"Visible"));
  EXPECT_FALSE(profile.Has(BarSection(kP, 0), u"MRUWidth"));
  EXPECT_TRUE(profile.Has(BarSection(kP, 0), u"MRUDockID"));
  EXPECT_FALSE(profile.Has(DockBarSection(kP, 1), u"Bars"));  // only its leading empty slot
  EXPECT_EQ((profile.values[{DockBarSection(kP, 0), u"Bars"}]), 5);

  const SavedLayout layout = ReadLayout(profile, kP, kScreen);
  ASSERT_FALSE(layout.damaged);
  ASSERT_EQ(layout.bars.size(), 2u);
  EXPECT_TRUE(layout.bars[0].visible);
  const BarRecord& r = layout.bars[1];
  EXPECT_EQ(r.barId, 59393);
  EXPECT_FALSE(r.visible);
  EXPECT_TRUE(r.floating);
  EXPECT_EQ(r.x, 300);
  EXPECT_EQ(r.mruWidth, 140);
  EXPECT_EQ(r.mruDockId, 2);
  EXPECT_EQ(r.mruDock, (Rect{4, 5, 40, 300}));
  EXPECT_EQ(r.mruFloat, (Point{300, 200}));
  EXPECT_EQ(layout.rows[0], (std::vector<int>{0, 59392, 0, 59393, 0}));
  EXPECT_TRUE(layout.rows[1].empty());
  EXPECT_FALSE(layout.statusBarHidden);

  WriteLayout(profile, kP, {menu}, slots, kScreen, 0);
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).statusBarHidden);
}

TEST(BarLayoutState, RowBreaksCollapse) {
  EXPECT_TRUE(DockRowValues({}).empty());
  EXPECT_TRUE(DockRowValues({0}).empty());
  EXPECT_EQ(DockRowValues({0, 0}), (std::vector<int>{0}));
  EXPECT_EQ(DockRowValues({0, 7, 0, 0, 0, 9}), (std::vector<int>{0, 7, 0, 9}));
  EXPECT_EQ(DockRowValues({7, 9}), (std::vector<int>{7, 9}));
}

TEST(BarLayoutState, CraftedValuesAreCaughtAndIgnored) {
  MapProfile profile;
  const auto summary = SummarySection(kP);
  const auto bar0 = BarSection(kP, 0);
  // A count that cannot be ours gives the default layout.
  for (int count : {-1, kMostBars + 1, INT32_MIN}) {
    profile.values = {{{summary, u"Bars"}, count}};
    const SavedLayout layout = ReadLayout(profile, kP, kScreen);
    EXPECT_TRUE(layout.damaged);
    EXPECT_TRUE(layout.bars.empty());
  }
  // A bar id out of range too, and so does a row count out of range.
  profile.values = {{{summary, u"Bars"}, 1}, {{bar0, u"BarID"}, -7}};
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).damaged);
  profile.values = {{{summary, u"Bars"}, 0}, {{DockBarSection(kP, 2), u"Bars"}, 100000}};
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).damaged);
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).rows[0].empty());

  // Values out of range read as their defaults; a second record of a bar is dropped.
  profile.values = {{{summary, u"Bars"}, 3},
                    {{bar0, u"BarID"}, 5},
                    {{bar0, u"XPos"}, 999999},
                    {{bar0, u"MRUWidth"}, -4},
                    {{bar0, u"MRUDockID"}, 59419},
                    {{bar0, u"MRUDockLeftPos"}, 50},
                    {{bar0, u"MRUDockRightPos"}, 10},
                    {{bar0, u"DialogBar"}, 1},
                    {{bar0, u"DialogBarDockingClientCx"}, -9},
                    {{BarSection(kP, 1), u"BarID"}, 5},
                    {{BarSection(kP, 1), u"Visible"}, 0},
                    {{BarSection(kP, 2), u"BarID"}, 0}};
  SavedLayout layout = ReadLayout(profile, kP, kScreen);
  ASSERT_FALSE(layout.damaged);
  ASSERT_EQ(layout.bars.size(), 1u);
  EXPECT_TRUE(layout.bars[0].visible);
  EXPECT_EQ(layout.bars[0].x, kNoPosition);
  EXPECT_EQ(layout.bars[0].mruWidth, kNoMruWidth);
  EXPECT_EQ(layout.bars[0].mruDockId, 0);
  EXPECT_EQ(layout.bars[0].mruDock, Rect{});
  EXPECT_EQ(layout.bars[0].dockingCx, kDialogClientSize);

  // A bar named in two rows keeps its first place; ids out of range become row breaks.
  const auto top = DockBarSection(kP, 0), left = DockBarSection(kP, 2);
  profile.values = {{{top, u"Bars"}, 3}, {{top, u"Bar#0"}, 5}, {{top, u"Bar#1"}, 0x10000}, {{top, u"Bar#2"}, 5},
                    {{left, u"Bars"}, 2}, {{left, u"Bar#0"}, 5}, {{left, u"Bar#1"}, 6}};
  layout = ReadLayout(profile, kP, kScreen);
  EXPECT_EQ(layout.rows[0], (std::vector<int>{5, 0}));
  EXPECT_EQ(layout.rows[2], (std::vector<int>{6}));
}

TEST(BarLayoutState, NoPositionStaysNoneOnAnotherScreen) {
  MapProfile profile;
  profile.values = {{{SummarySection(kP), u"Bars"}, 1}, {{SummarySection(kP), u"ScreenCX"}, 512},
                    {{SummarySection(kP), u"ScreenCY"}, 384}, {{BarSection(kP, 0), u"BarID"}, 3},
                    {{BarSection(kP, 0), u"MRUFloatXPos"}, 10}, {{BarSection(kP, 0), u"MRUFloatYPos"}, 2000}};
  const SavedLayout layout = ReadLayout(profile, kP, kScreen);
  ASSERT_EQ(layout.bars.size(), 1u);
  EXPECT_EQ(layout.bars[0].x, kNoPosition);
  EXPECT_EQ(layout.bars[0].y, kNoPosition);
  EXPECT_EQ(layout.bars[0].mruFloat, (Point{20, 768 - 32}));
}

}  // namespace
}  // namespace tkpstate
