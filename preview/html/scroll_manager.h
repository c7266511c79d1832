// Scrolling over a virtual content area larger than a window's client area: per window, the content size,
// positions and maxima; it answers the scroll-bar, wheel and drag messages, scrolls the window's pixels
// and tells the window how far the content moved (kScrollMoved). The logic is portable; the window side
// (bars, capture, pixels, messages) sits behind ScrollPlatform.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace htmlview {

using ScrollHandle = uintptr_t;
using ScrollWParam = uintptr_t;
using ScrollLParam = intptr_t;

// The window messages the manager answers (their Windows values) and its private ones.
namespace scrollmsg {
constexpr unsigned kCreate = 0x0001, kDestroy = 0x0002, kSize = 0x0005, kNcDestroy = 0x0082;
constexpr unsigned kHScroll = 0x0114, kVScroll = 0x0115, kMouseMove = 0x0200, kLButtonDown = 0x0201;
constexpr unsigned kLButtonUp = 0x0202, kMouseWheel = 0x020A, kCaptureChanged = 0x0215;
constexpr unsigned kSetContentSize = 0x401, kSetHPos = 0x402, kSetVPos = 0x403, kGetHPos = 0x404;
constexpr unsigned kGetVPos = 0x405, kGetHMax = 0x406, kGetVMax = 0x407, kScrollMoved = 0x409;
// Scroll requests (low word of wParam) and bars.
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kThumbTrack = 5;
constexpr int kEndScroll = 8;
constexpr int kHorz = 0, kVert = 1;
// System metric indices of the bar sizes the size calculation uses: what a vertical bar takes of the
// client's width, and a horizontal one of its height.
constexpr int kMetricVBarWidth = 2, kMetricHBarHeight = 3;
}  // namespace scrollmsg

class ScrollPlatform {
 public:
  virtual ~ScrollPlatform() = default;
  virtual void ClientSize(ScrollHandle window, int& width, int& height) = 0;
  virtual int SystemMetric(int index) = 0;
  virtual void SetPage(ScrollHandle window, int bar, int percent) = 0;
  virtual void SetThumb(ScrollHandle window, int bar, int pos) = 0;
  virtual void ShowBar(ScrollHandle window, int bar, bool show) = 0;
  virtual void ScrollPixels(ScrollHandle window, int dx, int dy) = 0;
  virtual intptr_t Send(ScrollHandle window, unsigned message, ScrollWParam wParam, ScrollLParam lParam) = 0;
  virtual void Capture(ScrollHandle window) = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture(ScrollHandle window) = 0;
};

struct ScrollState {
  int hMax = 0, vMax = 0, hPos = 0, vPos = 0, hScale = 0, vScale = 0, hLine = 10, vLine = 10;
  int contentWidth = 0, contentHeight = 0;
  int inSize = 0;  // 1 while the sizes are worked out, 2 once asked again meanwhile
  ScrollHandle window = 0;
  int dragging = 0;
};

class ScrollManager {
 public:
  explicit ScrollManager(ScrollPlatform& platform) : platform_(platform) {}
  // A null window with message 0 and zero parameters deletes every record.
  intptr_t Handle(ScrollHandle window, unsigned message, ScrollWParam wParam, ScrollLParam lParam);
  // The record of the window, or null.
  const ScrollState* Find(ScrollHandle window) const;
  size_t RecordCount() const { return records_.size(); }

  // Clamps percent to 1..99, sets it as the bar's page and returns 100 minus it.
  int SetScrollPagePercent(ScrollHandle window, int bar, int percent);

 private:
  ScrollState* FindOrCreate(ScrollHandle window);
  ScrollState& Create(ScrollHandle window);
  void Size(ScrollState& s);
  void SizeOnce(ScrollState& s, int clientWidth, int clientHeight);
  void Scroll(ScrollState& s, bool vertical, ScrollWParam wParam, ScrollLParam lParam);
  void MoveTo(ScrollState& s, bool vertical, int pos);
  void DragMove(ScrollState& s, int x, int y);
  void SetThumb(const ScrollState& s, bool vertical);

  ScrollPlatform& platform_;
  std::vector<std::unique_ptr<ScrollState>> records_;
  int anchorX_ = 0;
  int anchorY_ = 0;
};

}  // namespace htmlview
