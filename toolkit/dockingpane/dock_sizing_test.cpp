#include "toolkit/dockingpane/dock_sizing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "toolkit/dockingpane/dock_layout_records.h"

namespace dock {
namespace {

std::vector<int> Sizes(const std::vector<SizeItem>& items, int extent, int splitter = 4) {
  const SizeResult r = AdjustPanesLength(items, extent, splitter);
  std::vector<int> sizes;
  for (const Span& s : PlaceLengths(r, 0, extent, splitter)) sizes.push_back(s.end - s.begin);
  return sizes;
}

SizeItem Pane(int preferred, int minimum = 0, int maximum = kMaxTrack) { return {preferred, minimum, maximum, false}; }
SizeItem Client() { return {0, 0, kMaxTrack, true}; }

TEST(DockSizing, ClientAreaTakesWhatThePanesLeave) {
  EXPECT_EQ(Sizes({Pane(200), Client(), Pane(100)}, 1000), (std::vector<int>{200, 692, 100}));
  const SizeResult r = AdjustPanesLength({Pane(200), Client(), Pane(100)}, 1000, 4);
  EXPECT_EQ(r.clientIndex, 1);
  EXPECT_EQ(r.clientPreferred, 692);
}

TEST(DockSizing, SpansFollowEachOtherWithSplittersBetween) {
  const SizeResult r = AdjustPanesLength({Pane(200), Client(), Pane(100)}, 1000, 4);
  const std::vector<Span> spans = PlaceLengths(r, 10, 1000, 4);
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[0].begin, 10);
  EXPECT_EQ(spans[1].begin, 214);
  EXPECT_EQ(spans[2].begin, 910);
  EXPECT_EQ(spans[2].end, 1010);
}

TEST(DockSizing, MaximumAndMinimumTrackSizes) {
  EXPECT_EQ(Sizes({Pane(400, 0, 150), Client()}, 1000)[0], 150);
  EXPECT_EQ(Sizes({Pane(20, 60), Client()}, 1000)[0], 60);
}

TEST(DockSizing, NarrowRowShrinksProportionallyDownToMinimums) {
  // 300 + 100 in 200 - 4: shares 147 and 49, the second below its minimum 80 keeps it; the first takes the rest.
  EXPECT_EQ(Sizes({Pane(300), Pane(100, 80)}, 200), (std::vector<int>{116, 80}));
  // Without a client area and with room to spare, the panes grow in proportion.
  EXPECT_EQ(Sizes({Pane(100), Pane(100)}, 404), (std::vector<int>{200, 200}));
}

TEST(DockSizing, MinimumsThatDoNotFitCostTheLastFixedPane) {
  const SizeResult r = AdjustPanesLength({Pane(100, 90), Pane(100, 90)}, 150, 4);
  // The first is fixed at 90 (146 left, share 73 < 90), the second would need 90 of 56: it gets 56.
  EXPECT_EQ(r.lengths, (std::vector<int>{-90, -56}));
  EXPECT_EQ(r.available, 0);
}

TEST(DockSizing, NoRoomAtAllLeavesWeightsAsTheyAre) {
  const SizeResult r = AdjustPanesLength({Pane(100), Client(), Pane(100)}, 6, 4);
  EXPECT_LT(r.available, 1);
  const std::vector<Span> spans = PlaceLengths(r, 0, 6, 4);
  for (const Span& s : spans) EXPECT_LE(s.begin, s.end);
}

TEST(DockSizing, HugeSavedSizesNeitherOverflowNorDivideByZero) {
  // Preferred sizes are clamped to the track sizes; the products run in 64 bits.
  std::vector<SizeItem> items = {{INT_MAX, 0, INT_MAX, false}, {INT_MAX, 0, INT_MAX, false}, Client()};
  const std::vector<int> sizes = Sizes(items, INT_MAX / 2);
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_GT(sizes[0], 0);
  EXPECT_EQ(Sizes({Pane(-50), Pane(0)}, 100), (std::vector<int>{0, 96}));
  EXPECT_EQ(Sizes({Pane(0), Pane(0)}, 100), (std::vector<int>{0, 96}));
  EXPECT_TRUE(Sizes({}, 100).empty());
}

TEST(DockSizing, SplitterLimitsKeepTheGapAndTheMinimums) {
  SplitterNeighbours n{100, 500, 0, kMaxTrack, 0, kMaxTrack};
  SplitterLimits l = ComputeSplitterLimits(n, 4, 22);
  EXPECT_EQ(l.nearBound, 122);
  EXPECT_EQ(l.farBound, 478);
  n.firstMin = 50;
  n.secondMin = 60;
  l = ComputeSplitterLimits(n, 4, 22);
  EXPECT_EQ(l.nearBound, 150);
  EXPECT_EQ(l.farBound, 436);
  // Maximums pull the bounds in from the other side.
  n = {100, 500, 0, 100, 0, 200};
  l = ComputeSplitterLimits(n, 4, 22);
  EXPECT_EQ(l.farBound, 200);
  EXPECT_EQ(l.nearBound, 296);
  EXPECT_FALSE(l.CanMove());
  EXPECT_FALSE(ComputeSplitterLimits({0, 30, 0, kMaxTrack, 0, kMaxTrack}, 4, 22).CanMove());
}

TEST(DockSizing, DroppedSplitterSharesTheNeighboursSum) {
  int first = 200, second = 196;
  ASSERT_TRUE(ApplySplitterPosition(300, 0, 400, 4, false, &first, &second));
  EXPECT_EQ(first, 300);
  EXPECT_EQ(second, 96);
  first = 200;
  second = 196;
  ASSERT_TRUE(ApplySplitterPosition(300, 0, 400, 4, true, &first, &second));
  EXPECT_EQ(first, 96);
  EXPECT_EQ(second, 300);
  // An empty union changes nothing; a splitter outside the union keeps both sizes non-negative.
  EXPECT_FALSE(ApplySplitterPosition(10, 50, 50, 4, false, &first, &second));
  first = INT_MAX;
  second = INT_MAX;
  ASSERT_TRUE(ApplySplitterPosition(-1000, 0, 10, 4, false, &first, &second));
  EXPECT_EQ(first, 0);
  EXPECT_GE(second, 0);
}

// A splitter container's life as the docking calls give it (groups docked into it and closed, splitters
// dragged within their limits, the frame resized, the sizes saved and read back in the middle): its
// children follow each other from its start with a splitter between them and end at its far edge.
TEST(DockSizing, RandomCallsKeepTheChildrenInARow) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<SizeItem> row{Client()};
    int extent = 800;
    for (int step = 0; step < 50; ++step) {
      const size_t at = static_cast<size_t>(pick(static_cast<int>(row.size())));
      std::vector<Span> spans = PlaceLengths(AdjustPanesLength(row, extent, 4), 0, extent, 4);
      switch (pick(5)) {
        case 0: row.insert(row.begin() + at, Pane(pick(3) == 0 ? INT_MAX - pick(9) : pick(500), pick(80), 40 + pick(kMaxTrack))); break;
        case 1: if (!row[at].clientHolder) row.erase(row.begin() + at); break;
        case 2: extent = pick(2000); break;
        case 3:  // saved and read back: the record keeps the sizes in its range
          for (SizeItem& item : row) {
            ObjectRecord saved;
            saved.dockingCx = item.preferred;
            item.preferred = Storable(saved).dockingCx;
          }
          break;
        default: {
          if (at + 1 >= row.size()) break;
          const SplitterLimits limits = ComputeSplitterLimits({spans[at].begin, spans[at + 1].end, row[at].minimum, row[at].maximum,
                                                              row[at + 1].minimum, row[at + 1].maximum}, 4, 22);
          if (limits.CanMove()) {
            ApplySplitterPosition(limits.nearBound + pick(limits.farBound - limits.nearBound), spans[at].begin, spans[at + 1].end, 4,
                                  false, &row[at].preferred, &row[at + 1].preferred);
          }
        }
      }
      spans = PlaceLengths(AdjustPanesLength(row, extent, 4), 0, extent, 4);
      ASSERT_EQ(spans.size(), row.size()) << "seed " << seed << ", step " << step;
      for (size_t i = 0; i < spans.size(); ++i) {
        // Without room for the splitters, the children past the far edge lie empty at it.
        ASSERT_EQ(spans[i].begin, i == 0 ? 0 : std::min(spans[i - 1].end + 4, extent)) << "seed " << seed << ", step " << step;
        ASSERT_GE(spans[i].end, spans[i].begin) << "seed " << seed << ", step " << step;
      }
      ASSERT_EQ(spans.back().end, extent) << "seed " << seed << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace dock
