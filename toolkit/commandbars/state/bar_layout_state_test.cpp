#include "toolkit/commandbars/state/bar_layout_state.h"
#include "toolkit/common/stored_state_testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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
    // A section's values lie together in the map's order.
    auto it = values.lower_bound({section, u""});
    while (it != values.end() && it->first.first == section) it = values.erase(it);
  }
  bool Has(const std::u16string& section, const std::u16string& name) const { return values.count({section, name}) != 0; }
  std::map<Key, int> values;
};

const Screen kScreen{1024, 768, 32, 32, {}};
const std::u16string kP = u"CommandBars";

TEST(LayoutScale, PositionsFollowTheScreenAndStayOnIt) {
  const LayoutScale doubled(1024, 768, Screen{2048, 1536, 32, 32, {}});
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
  // A row count out of range too.
  profile.values = {{{summary, u"Bars"}, 0}, {{DockBarSection(kP, 2), u"Bars"}, kMostRowEntries + 1}};
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

  // A bar named in two rows keeps its first place.
  const auto top = DockBarSection(kP, 0), left = DockBarSection(kP, 2);
  profile.values = {{{top, u"Bars"}, 3}, {{top, u"Bar#0"}, 5}, {{top, u"Bar#1"}, 0x10000}, {{top, u"Bar#2"}, 5},
                    {{left, u"Bars"}, 2}, {{left, u"Bar#0"}, 5}, {{left, u"Bar#1"}, 6}};
  layout = ReadLayout(profile, kP, kScreen);
  EXPECT_EQ(layout.rows[0], (std::vector<int>{5, 0x10000}));
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


// Two monitors side by side (the primary on the left, its task bar along the bottom), or one above the
// primary, or one on the left: the monitor a bar was left on may be there or gone.
const Monitor kPrimary{{0, 0, 1024, 768}, {0, 0, 1024, 738}};
const Monitor kRight{{1024, 0, 2304, 1024}, {1024, 0, 2304, 1024}};
const Monitor kLeft{{-1280, 0, 0, 1024}, {-1280, 0, 0, 994}};
const Monitor kAbove{{0, -900, 1600, 0}, {0, -900, 1600, 0}};
Screen With(std::vector<Monitor> monitors) { return Screen{1024, 768, 32, 32, std::move(monitors)}; }

TEST(PlaceOnMonitors, ABarStaysOnAMonitorThatIsThereAndComesToTheNearestWhenItsMonitorIsGone) {
  struct Case {
    const char* what;
    Point corner;
    std::vector<Monitor> monitors;
    Point expected;
  };
  const Case cases[] = {
      {"on the right-hand monitor, still there", {1900, 300}, {kPrimary, kRight}, {1900, 300}},
      {"on the right-hand monitor, gone", {1900, 300}, {kPrimary}, {1024 - 32, 300}},
      {"left of the primary, still there", {-700, 200}, {kPrimary, kLeft}, {-700, 200}},
      {"left of the primary, gone", {-700, 200}, {kPrimary}, {0, 200}},
      {"above the primary, still there", {400, -500}, {kAbove, kPrimary}, {400, -500}},
      {"above the primary, gone", {400, -500}, {kPrimary}, {400, 0}},
      {"below the left monitor, gone: to its work area", {-300, 1500}, {kPrimary, kLeft}, {-300, 994 - 32}},
      {"hanging over the right edge", {2290, 500}, {kPrimary, kRight}, {2304 - 32, 500}},
      {"hanging over the left edge", {-20, 100}, {kPrimary}, {0, 100}},
      {"in the gap below the primary, nearer the taller right monitor", {900, 900}, {kPrimary, kRight}, {1024, 900}},
      {"in the gap below the primary, nearer the primary", {500, 800}, {kPrimary, kRight}, {500, 738 - 32}},
      {"across two monitors", {1010, 100}, {kPrimary, kRight}, {1010, 100}},
      {"no monitor known: the primary alone", {5000, -5000}, {}, {1024 - 32, 0}},
      {"the far ends of an int", {INT32_MIN, INT32_MAX}, {kPrimary, kLeft}, {-1280, 994 - 32}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceOnMonitors(c.corner, With(c.monitors)), c.expected) << c.what;
}

TEST(BarLayoutState, AFloatingBarSavedOnAMonitorThatIsGoneComesBackOnAnother) {
  BarRecord left;
  left.barId = 0x12345;  // an id above 16 bits is a bar's like any other
  left.floating = true;
  left.visible = true;
  left.x = -700;
  left.y = 200;
  left.mruFloat = {-700, 200};
  BarRecord right = left;
  right.barId = 7;
  right.x = right.mruFloat.x = 1900;
  const std::vector<unsigned> slots[kDockBars] = {};
  MapProfile profile;
  WriteLayout(profile, kP, {left, right}, slots, With({kLeft, kPrimary, kRight}), 1);
  SavedLayout layout = ReadLayout(profile, kP, With({kLeft, kPrimary, kRight}));
  ASSERT_EQ(layout.bars.size(), 2u);
  EXPECT_EQ(layout.bars[0].barId, 0x12345);
  EXPECT_EQ((Point{layout.bars[0].x, layout.bars[0].y}), (Point{-700, 200}));
  EXPECT_EQ((Point{layout.bars[1].x, layout.bars[1].y}), (Point{1900, 200}));
  layout = ReadLayout(profile, kP, With({kPrimary, kRight}));
  EXPECT_EQ((Point{layout.bars[0].x, layout.bars[0].y}), (Point{0, 200}));
  EXPECT_EQ(layout.bars[0].mruFloat, (Point{0, 200}));
  EXPECT_EQ((Point{layout.bars[1].x, layout.bars[1].y}), (Point{1900, 200}));
}

// A generator of saved states: records whose every value is drawn from its limits, the values just past
// them, the far ends of an int and random ones, in counts up to and past the most a layout holds.
class StateGenerator : public tktest::Generator {
 public:
  using Generator::Generator;
  int Coordinate() { return Value({-32768, -32767, -1, 0, 1, 300, 1000, 32767, 32768}); }
};

// An icon's worth of a bar at the corner is inside the virtual screen of the primary and the right-hand
// monitor, its centre on one of them.
bool Reachable(Point corner) {
  const int cx = corner.x + 16, cy = corner.y + 16;
  const bool centred = (cx >= 0 && cx < 1024 && cy >= 0 && cy < 768) || (cx >= 1024 && cx < 2304 && cy >= 0 && cy < 1024);
  return centred && corner.x >= 0 && corner.x <= 2304 - 32 && corner.y >= 0 && corner.y <= 1024 - 32;
}

// What the profile gives back of a value written: itself within its range, else the value's default.
int Kept(int value, int low, int high, int fallback) { return value >= low && value <= high ? value : fallback; }

TEST(BarLayoutState, WhateverTheSaverWritesIsReadBackAsItWasWritten) {
  const Screen screen = With({kPrimary, kRight});
  for (uint32_t seed = 0; seed < 40; ++seed) {
    SCOPED_TRACE(seed);
    StateGenerator gen(seed);
    const size_t counts[] = {0, 1, 2, 17, static_cast<size_t>(kMostBars), static_cast<size_t>(kMostBars) + 1};
    const size_t count = seed < 6 ? counts[seed] : 1 + gen.Next() % 64;
    std::vector<BarRecord> records(count);
    for (size_t n = 0; n < count; ++n) {
      BarRecord& r = records[n];
      // Distinct ids over the whole int range, none 0 (an odd multiplier numbers without repeating).
      r.barId = static_cast<int>((static_cast<uint32_t>(n) + 1) * 0x9E3779B1u);
      r.visible = gen.Next() % 2 != 0;
      r.floating = gen.Next() % 2 != 0;
      r.x = gen.Coordinate();
      r.y = gen.Coordinate();
      r.mruWidth = gen.Value({0, 1, 140, 32766, 32767, 32768});
      r.mruDockId = gen.Value({-1, 0, 3, 4});
      r.mruDock = {gen.Coordinate(), gen.Coordinate(), gen.Coordinate(), gen.Coordinate()};
      r.mruFloat = {gen.Coordinate(), gen.Coordinate()};
      r.dialogBar = gen.Next() % 3 == 0;
      r.dockingCx = gen.Value({-1, 0, 32767, 32768});
      r.dockingCy = gen.Value({-1, 0, 32767, 32768});
      r.floatingCx = gen.Value({-1, 0, 32767, 32768});
      r.floatingCy = gen.Value({-1, 0, 32767, 32768});
    }
    std::vector<unsigned> slots[kDockBars];
    for (size_t n = 0; n < count; ++n) {
      std::vector<unsigned>& row = slots[gen.Next() % kDockBars];
      if (row.empty() || gen.Next() % 4 == 0) row.push_back(0);
      row.push_back(static_cast<unsigned>(records[n].barId));
    }
    MapProfile profile;
    WriteLayout(profile, kP, records, slots, screen, static_cast<int>(gen.Next() % 3) - 1);
    const SavedLayout layout = ReadLayout(profile, kP, screen);
    ASSERT_FALSE(layout.damaged);
    const size_t kept = std::min(count, static_cast<size_t>(kMostBars));
    ASSERT_EQ(layout.bars.size(), kept);
    for (size_t n = 0; n < kept; ++n) {
      const BarRecord& w = records[n];
      const BarRecord& r = layout.bars[n];
      ASSERT_EQ(r.barId, w.barId);
      EXPECT_EQ(r.visible, w.visible);
      EXPECT_EQ(r.floating, w.floating);
      EXPECT_EQ(r.mruWidth, Kept(w.mruWidth, 1, 32767, 32767));
      EXPECT_EQ(r.mruDockId, Kept(w.mruDockId, 0, 3, 0));
      Rect dock{Kept(w.mruDock.left, -32767, 32767, 0), Kept(w.mruDock.top, -32767, 32767, 0),
                Kept(w.mruDock.right, -32767, 32767, 0), Kept(w.mruDock.bottom, -32767, 32767, 0)};
      if (dock.right < dock.left || dock.bottom < dock.top) dock = Rect{};
      const int maxX = 1024 - 32, maxY = 768 - 32;
      if (dock.left > maxX) dock = Rect{maxX, dock.top, maxX + dock.right - dock.left, dock.bottom};
      if (dock.top > maxY) dock = Rect{dock.left, maxY, dock.right, maxY + dock.bottom - dock.top};
      EXPECT_EQ(r.mruDock, dock);
      for (int size : {r.dockingCx, r.dockingCy, r.floatingCx, r.floatingCy}) {
        if (!w.dialogBar) {
          EXPECT_EQ(size, 200);
        }
      }
      if (w.dialogBar) {
        EXPECT_EQ(r.dockingCx, Kept(w.dockingCx, 0, 32767, 200));
        EXPECT_EQ(r.floatingCy, Kept(w.floatingCy, 0, 32767, 200));
      }
      // A docked bar's place is kept up to an icon from the right and bottom edges; a floating one's is
      // kept as it was when an icon of the bar at it lies on the monitors, and is on one either way.
      const int x = Kept(w.x, -32767, 32767, -1), y = Kept(w.y, -32767, 32767, -1);
      if (x == -1 && y == -1) {
        EXPECT_EQ((Point{r.x, r.y}), (Point{-1, -1}));
      } else if (!w.floating) {
        EXPECT_EQ((Point{r.x, r.y}), (Point{std::min(x, maxX), std::min(y, maxY)}));
      } else {
        const bool onScreen = (x >= 0 && x <= 1024 - 32 && y >= 0 && y <= 768 - 32) ||
                              (x >= 1024 && x <= 2304 - 32 && y >= 0 && y <= 1024 - 32);
        if (onScreen) {
          EXPECT_EQ((Point{r.x, r.y}), (Point{x, y}));
        }
        EXPECT_TRUE(Reachable(Point{r.x, r.y})) << r.x << "," << r.y;
      }
      EXPECT_TRUE(Reachable(r.mruFloat)) << r.mruFloat.x << "," << r.mruFloat.y;
    }
    size_t entries = 0;
    for (int d = 0; d < kDockBars; ++d) entries += layout.rows[d].size();
    EXPECT_LE(entries, 2 * count + kDockBars);
    if (count <= 2) continue;
    // Every bar of the rows comes back in its row and order (the rows held only whole runs of breaks).
    for (int d = 0; d < kDockBars; ++d) {
      std::vector<int> expected;
      for (unsigned id : slots[d]) {
        if (id != 0 || expected.empty() || expected.back() != 0) expected.push_back(static_cast<int>(id));
      }
      if (slots[d].size() <= 1) expected.clear();
      if (expected.size() == 1) expected.clear();  // a row of one entry is no row
      EXPECT_EQ(layout.rows[d], expected) << d;
    }
  }
}

TEST(BarLayoutState, OnlyCountsNoSaverWritesAreRefused) {
  MapProfile profile;
  const auto summary = SummarySection(kP);
  profile.values = {{{summary, u"Bars"}, kMostBars}};
  EXPECT_FALSE(ReadLayout(profile, kP, kScreen).damaged);
  profile.values = {{{summary, u"Bars"}, kMostBars + 1}};
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).damaged);
  profile.values = {{{DockBarSection(kP, 3), u"Bars"}, kMostRowEntries}};
  EXPECT_FALSE(ReadLayout(profile, kP, kScreen).damaged);
  profile.values = {{{DockBarSection(kP, 3), u"Bars"}, kMostRowEntries + 1}};
  EXPECT_TRUE(ReadLayout(profile, kP, kScreen).damaged);
}

}  // namespace
}  // namespace tkpstate
