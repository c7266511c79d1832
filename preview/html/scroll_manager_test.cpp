#include "preview/html/scroll_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace htmlview {
namespace {

using namespace scrollmsg;

constexpr ScrollHandle kWindow = 0x100;
constexpr int kBarWidth = 17;   // of a vertical bar
constexpr int kBarHeight = 16;  // of a horizontal bar

// A window whose procedure passes every message on to the manager, as the viewer's does; it records what
// the manager did to it. As a real window, a bar shown or hidden changes its client and sends it a size;
// given a page, it lays the page out again at each size first, as the viewer does, and passes on the
// size the message was sent with.
class FakeWindow : public ScrollPlatform {
 public:
  FakeWindow() : manager(*this) {}
  void ClientSize(ScrollHandle, int& w, int& h) override {
    w = ClientWidth();
    h = ClientHeight();
  }
  int SystemMetric(int index) override {
    if (index == kMetricVBarWidth) return kBarWidth;
    return index == kMetricHBarHeight ? kBarHeight : 40;  // other metrics (a thumb's size) are no bar's
  }
  void SetPage(ScrollHandle, int bar, int percent) override { page[bar] = percent; }
  void SetThumb(ScrollHandle, int bar, int pos) override { thumb[bar] = pos; }
  void ShowBar(ScrollHandle, int bar, bool show) override {
    if (shown[bar] == show) return;
    shown[bar] = show;
    SendSize();
  }
  void ScrollPixels(ScrollHandle, int dx, int dy) override { scrolled.push_back({dx, dy}); }
  intptr_t Send(ScrollHandle w, unsigned m, ScrollWParam wp, ScrollLParam lp) override {
    if (m == kScrollMoved) {
      moved.push_back({static_cast<int>(wp), static_cast<int>(lp)});
      return 0;
    }
    if (m == kVScroll && wp == kEndScroll) ++endScrolls;
    if (m == kSize && layout) Relayout();
    return manager.Handle(w, m, wp, lp);
  }
  void Capture(ScrollHandle w) override { capture = w; }
  void ReleaseCapture() override { capture = 0; }
  bool HasCapture(ScrollHandle w) override { return capture == w; }

  intptr_t Do(unsigned m, ScrollWParam wp = 0, ScrollLParam lp = 0) { return manager.Handle(kWindow, m, wp, lp); }
  void Content(int w, int h) { Do(kSetContentSize, static_cast<ScrollWParam>(w), h); }
  const ScrollState& State() const { return *manager.Find(kWindow); }
  static ScrollLParam Point(int x, int y) { return static_cast<ScrollLParam>((y & 0xFFFF) << 16 | (x & 0xFFFF)); }
  int ClientWidth() const { return std::max(0, clientWidth - (shown[kVert] ? kBarWidth : 0)); }
  int ClientHeight() const { return std::max(0, clientHeight - (shown[kHorz] ? kBarHeight : 0)); }
  void SendSize() { Send(kWindow, kSize, 0, Point(ClientWidth(), ClientHeight())); }
  // Shows a page whose width follows the client's (pageHeight high), as the viewer does: laid out at the
  // client as it is, then sized.
  void Show(std::function<int(int)> width, int height) {
    layout = std::move(width);
    layoutHeight = height;
    Relayout();
  }
  void Relayout() {
    const int width = layout(ClientWidth());  // may change the height too
    Content(width, layoutHeight);
  }
  void Resize(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    SendSize();
  }

  // The window's size; the bars shown take their part of it.
  int clientWidth = 400, clientHeight = 300;
  std::function<int(int)> layout;
  int layoutHeight = 0;
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
  EXPECT_EQ(s.hMax, 1000 - (400 - kBarWidth));
  EXPECT_EQ(s.vMax, 500 - (300 - kBarHeight));
  EXPECT_TRUE(w.shown[kHorz]);
  EXPECT_TRUE(w.shown[kVert]);
  EXPECT_EQ(w.page[kHorz], (400 - kBarWidth) * 100 / 1000);
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

// What the bars scroll is what does not fit in the client the window is left with: a horizontal bar only
// for content wider than it. The viewer lays its page out again at every size, first at the size it is
// created with (0 x 0 in the preview), and its rules and tables of width 100% follow the width.
TEST(ScrollManagerTest, BarsScrollWhatDoesNotFitTheClientAPageIsLaidOutAgainIn) {
  struct Page {
    const char* name;
    std::function<int(int)> width;
    int height;
    bool wide;  // wider than the 618-pixel pane it is shown in, with its bars
    bool flows = true;  // laid out at the client's width
  };
  const auto follows = [](int clientWidth) { return std::max(clientWidth - 2, 29); };
  const auto fixed = [](int width) { return [width](int) { return width; }; };
  const std::vector<Page> pages{
      {"short page with a rule", follows, 60, false},
      {"tall page with a rule", follows, 930, false},
      {"short page with a rule again", follows, 45, false},
      {"text wrapping taller when narrower", follows, 300000 / 616, false},
      {"picture as wide as the pane", fixed(618), 60, false, false},
      {"picture as wide as the pane beside the vertical bar", fixed(618 - kBarWidth), 930, false, false},
      {"picture a pixel wider than the pane beside the vertical bar", fixed(618 - kBarWidth + 1), 930, true, false},
      {"picture a pixel wider than the pane", fixed(619), 60, true, false},
      {"tall page with a rule after a wide one", follows, 930, false},
  };
  const auto check = [](const FakeWindow& w, const Page& page) {
    const ScrollState& s = w.State();
    const int width = page.width(w.ClientWidth());
    EXPECT_EQ(s.hMax, std::max(0, width - w.ClientWidth()));
    EXPECT_EQ(s.vMax, std::max(0, page.height - w.ClientHeight()));
    EXPECT_EQ(w.shown[kHorz], s.hMax != 0);
    EXPECT_EQ(w.shown[kVert], s.vMax != 0);
    EXPECT_EQ(w.shown[kHorz], page.wide) << "content " << width << " in a client " << w.ClientWidth() << " wide";
  };
  FakeWindow shown;  // one pane, its pages shown one after another
  shown.Resize(618, 503);
  for (const Page& page : pages) {
    SCOPED_TRACE(page.name);
    // As the preview shows a page: a window of 0 x 0 where the page is first laid out, then sized.
    FakeWindow w;
    w.Resize(0, 0);
    w.Show(page.width, page.height);
    w.Resize(618, 503);
    check(w, page);
    shown.Show(page.width, page.height);
    check(shown, page);
    if (!page.flows) continue;
    for (const auto& size : {std::make_pair(421, 300), std::make_pair(700, 900), std::make_pair(618, 503)}) {
      w.Resize(size.first, size.second);
      EXPECT_FALSE(w.shown[kHorz]) << size.first << " x " << size.second;
      EXPECT_EQ(w.State().vMax, std::max(0, page.height - w.ClientHeight()));
    }
  }
}

// Content that is tall without a vertical bar and short with one has no size that its bars agree with:
// the recalculation still ends, and the range it leaves stays inside the content.
TEST(ScrollManagerTest, ContentWhoseBarsChaseItsSizeEnds) {
  FakeWindow w;
  w.Resize(618, 503);
  w.Show([&w](int clientWidth) {
    w.layoutHeight = clientWidth < 618 ? 400 : 600;
    return clientWidth - 2;
  }, 600);
  EXPECT_EQ(w.State().hMax, 0);
  EXPECT_LE(w.State().vMax, 600 - 486);
  EXPECT_EQ(w.State().inSize, 0);
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
  w.Content(300, 2000);  // no horizontal bar: the page is the client's 300 pixels
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
