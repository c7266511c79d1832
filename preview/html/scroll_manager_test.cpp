#include "preview/html/scroll_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace htmlview {
namespace {

using namespace scrollmsg;

constexpr ScrollHandle kWindow = 0x100;
constexpr int kHThumb = 16;  // metric 10
constexpr int kVThumb = 17;  // metric 9

// A window whose procedure passes every message on to the manager, as the viewer's does; it records what
// the manager did to it.
class FakeWindow : public ScrollPlatform {
 public:
  FakeWindow() : manager(*this) {}
  void ClientSize(ScrollHandle, int& w, int& h) override {
    w = clientWidth;
    h = clientHeight;
  }
  int SystemMetric(int index) override { return index == kMetricHThumbWidth ? kHThumb : kVThumb; }
  void SetPage(ScrollHandle, int bar, int percent) override { page[bar] = percent; }
  void SetThumb(ScrollHandle, int bar, int pos) override { thumb[bar] = pos; }
  void ShowBar(ScrollHandle, int bar, bool show) override { shown[bar] = show; }
  void ScrollPixels(ScrollHandle, int dx, int dy) override { scrolled.push_back({dx, dy}); }
  intptr_t Send(ScrollHandle w, unsigned m, ScrollWParam wp, ScrollLParam lp) override {
    if (m == kScrollMoved) {
      moved.push_back({static_cast<int>(wp), static_cast<int>(lp)});
      return 0;
    }
    if (m == kVScroll && wp == kEndScroll) ++endScrolls;
    return manager.Handle(w, m, wp, lp);
  }
  void Capture(ScrollHandle w) override { capture = w; }
  void ReleaseCapture() override { capture = 0; }
  bool HasCapture(ScrollHandle w) override { return capture == w; }

  intptr_t Do(unsigned m, ScrollWParam wp = 0, ScrollLParam lp = 0) { return manager.Handle(kWindow, m, wp, lp); }
  void Content(int w, int h) { Do(kSetContentSize, static_cast<ScrollWParam>(w), h); }
  const ScrollState& State() const { return *manager.Find(kWindow); }
  static ScrollLParam Point(int x, int y) { return static_cast<ScrollLParam>((y & 0xFFFF) << 16 | (x & 0xFFFF)); }

  int clientWidth = 400, clientHeight = 300;
  int page[2] = {0, 0}, thumb[2] = {-1, -1};
  bool shown[2] = {false, false};
  std::vector<std::pair<int, int>> scrolled, moved;
  int endScrolls = 0;
  ScrollHandle capture = 0;
  ScrollManager manager;
};

TEST(ScrollManagerTest, ContentLargerThanTheClientShowsBothBars) {
  FakeWindow w;
  w.Do(kCreate);
  w.Content(1000, 500);
  const ScrollState& s = w.State();
  EXPECT_EQ(s.hMax, 1000 - (400 - kVThumb));
  EXPECT_EQ(s.vMax, 500 - (300 - kHThumb));
  EXPECT_TRUE(w.shown[kHorz]);
  EXPECT_TRUE(w.shown[kVert]);
  EXPECT_EQ(w.page[kHorz], (400 - kVThumb) * 100 / 1000);
  EXPECT_EQ(s.hScale, 100 - w.page[kHorz]);
  EXPECT_EQ(w.Do(kGetHMax), s.hMax);
  EXPECT_EQ(w.Do(kGetVMax), s.vMax);

  w.Do(kSetHPos, 0, 50);
  EXPECT_EQ(w.Do(kGetHPos), 50);
  EXPECT_EQ(w.moved.back(), std::make_pair(-50, 0));
  EXPECT_EQ(w.scrolled.back(), std::make_pair(-50, 0));
  EXPECT_EQ(w.thumb[kHorz], 50 * s.hScale / s.hMax + 1);
  EXPECT_EQ(w.endScrolls, 1);
  w.Do(kSetHPos, 0, 100000);
  EXPECT_EQ(w.Do(kGetHPos), s.hMax);
}

TEST(ScrollManagerTest, ContentThatFitsHasNoBarsAndIgnoresPositions) {
  FakeWindow w;
  w.Content(400, 300);
  EXPECT_EQ(w.State().hMax, 0);
  EXPECT_EQ(w.State().vMax, 0);
  EXPECT_FALSE(w.shown[kHorz]);
  w.Do(kSetHPos, 0, 50);
  w.Do(kSetVPos, 0, 50);
  EXPECT_EQ(w.Do(kGetHPos), 0);
  EXPECT_EQ(w.Do(kGetVPos), 0);
  EXPECT_TRUE(w.moved.empty());
}

TEST(ScrollManagerTest, LinesPagesAndThumbStayInsideTheRange) {
  FakeWindow w;
  w.Content(400, 2000);
  const int vMax = w.State().vMax;
  w.Do(kSetVPos, 0, 5);
  w.moved.clear();
  w.Do(kVScroll, kLineUp);
  EXPECT_EQ(w.moved.back(), std::make_pair(0, 5));  // 5, not 10
  EXPECT_EQ(w.State().vPos, 0);
  w.Do(kVScroll, kLineDown);
  EXPECT_EQ(w.State().vPos, 10);
  w.Do(kVScroll, kPageDown);
  EXPECT_EQ(w.State().vPos, 310);
  EXPECT_EQ(w.scrolled.back(), std::make_pair(0, -300));
  w.Do(kVScroll, static_cast<ScrollWParam>(kThumbTrack | 100 << 16));
  EXPECT_EQ(w.State().vPos, vMax);
  int stored = 0;
  EXPECT_EQ(w.Do(kGetVPos, 0, reinterpret_cast<ScrollLParam>(&stored)), vMax);
  EXPECT_EQ(stored, vMax);
  EXPECT_EQ(w.thumb[kVert], vMax * w.State().vScale / vMax + 1);
  // A request from a scroll-bar control of the window is not ours.
  w.Do(kVScroll, kLineUp, 0x1234);
  EXPECT_EQ(w.State().vPos, vMax);
}

TEST(ScrollManagerTest, WheelScrollsThreeLinesAndEnds) {
  FakeWindow w;
  w.Content(400, 2000);
  w.Do(kMouseWheel, static_cast<ScrollWParam>(static_cast<uint16_t>(-120)) << 16);
  EXPECT_EQ(w.State().vPos, 30);
  EXPECT_EQ(w.endScrolls, 1);
  w.Do(kMouseWheel, static_cast<ScrollWParam>(120) << 16);
  EXPECT_EQ(w.State().vPos, 0);
}

TEST(ScrollManagerTest, ShrinkingContentPullsThePositionBack) {
  FakeWindow w;
  w.Content(400, 2000);
  w.Do(kSetVPos, 0, 1500);
  w.Content(400, 1000);
  EXPECT_EQ(w.State().vPos, w.State().vMax);
  w.Content(400, 100);
  EXPECT_EQ(w.State().vPos, 0);
  EXPECT_FALSE(w.shown[kVert]);
}

TEST(ScrollManagerTest, DragMovesTheContentWithTheMouse) {
  FakeWindow w;
  w.Content(2000, 2000);
  w.Do(kLButtonDown, 0, FakeWindow::Point(100, 100));
  EXPECT_EQ(w.capture, kWindow);
  w.Do(kMouseMove, 0, FakeWindow::Point(60, 80));
  EXPECT_EQ(w.State().hPos, 40);
  EXPECT_EQ(w.State().vPos, 20);
  EXPECT_EQ(w.moved.back(), std::make_pair(-40, -20));
  w.Do(kMouseMove, 0, FakeWindow::Point(200, 200));  // clamped at the start
  EXPECT_EQ(w.State().hPos, 0);
  w.Do(kLButtonUp);
  EXPECT_EQ(w.capture, 0u);
  w.Do(kMouseMove, 0, FakeWindow::Point(0, 0));
  EXPECT_EQ(w.State().hPos, 0);
}

TEST(ScrollManagerTest, PagePercentIsClampedAndRecordsLiveUntilDeleted) {
  FakeWindow w;
  EXPECT_EQ(w.manager.SetScrollPagePercent(kWindow, kHorz, 0), 99);
  EXPECT_EQ(w.page[kHorz], 1);
  EXPECT_EQ(w.manager.SetScrollPagePercent(kWindow, kHorz, 150), 1);
  EXPECT_EQ(w.page[kHorz], 99);
  EXPECT_EQ(w.Do(kDestroy), 0);
  EXPECT_EQ(w.manager.RecordCount(), 0u);  // a destroy message makes no record
  w.Content(1000, 1000);
  w.Do(kDestroy);
  EXPECT_EQ(w.manager.RecordCount(), 1u);
  w.manager.Handle(0, 0, 0, 0);
  EXPECT_EQ(w.manager.RecordCount(), 0u);
}

TEST(ScrollManagerTest, ThumbWithoutAPageScaleDoesNotDivideByZero) {
  FakeWindow w;
  w.Do(kHScroll, static_cast<ScrollWParam>(kThumbTrack | 50 << 16));
  EXPECT_EQ(w.State().hPos, 0);
}

}  // namespace
}  // namespace htmlview
