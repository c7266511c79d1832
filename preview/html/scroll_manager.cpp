#include "preview/html/scroll_manager.h"

#include <algorithm>

namespace htmlview {

using namespace scrollmsg;

namespace {

int LowWord(ScrollWParam w) { return static_cast<int>(w & 0xFFFF); }
int HighWord(ScrollWParam w) { return static_cast<int>((w >> 16) & 0xFFFF); }
int SignedLow(ScrollLParam l) { return static_cast<int16_t>(static_cast<uintptr_t>(l) & 0xFFFF); }
int SignedHigh(ScrollLParam l) { return static_cast<int16_t>((static_cast<uintptr_t>(l) >> 16) & 0xFFFF); }

}  // namespace

const ScrollState* ScrollManager::Find(ScrollHandle window) const {
  for (const auto& r : records_)
    if (r->window == window) return r.get();
  return nullptr;
}

ScrollState& ScrollManager::Create(ScrollHandle window) {
  records_.push_back(std::make_unique<ScrollState>());
  records_.back()->window = window;
  return *records_.back();
}

ScrollState* ScrollManager::FindOrCreate(ScrollHandle window) {
  const ScrollState* found = Find(window);
  return found ? const_cast<ScrollState*>(found) : &Create(window);
}

int ScrollManager::SetScrollPagePercent(ScrollHandle window, int bar, int percent) {
  percent = std::clamp(percent, 1, 99);
  platform_.SetPage(window, bar, percent);
  return 100 - percent;
}

void ScrollManager::SetThumb(const ScrollState& s, bool vertical) {
  const int pos = vertical ? s.vPos : s.hPos;
  const int max = vertical ? s.vMax : s.hMax;
  const int scale = vertical ? s.vScale : s.hScale;
  if (max == 0) return;
  const long long thumb = static_cast<long long>(pos) * scale / max + (pos >= 1 ? 1 : 0);
  platform_.SetThumb(s.window, vertical ? kVert : kHorz, static_cast<int>(thumb));
}

intptr_t ScrollManager::Handle(ScrollHandle window, unsigned message, ScrollWParam wParam, ScrollLParam lParam) {
  if (window == 0 && message == 0 && wParam == 0 && lParam == 0) {
    records_.clear();
    return 0;
  }
  if (message == kDestroy || message == kNcDestroy) return 0;
  if (message == kCreate) {
    Create(window);
    return 0;
  }
  ScrollState& s = *FindOrCreate(window);
  switch (message) {
    case kSetContentSize:
      s.contentWidth = static_cast<int>(wParam);
      s.contentHeight = static_cast<int>(lParam);
      Size(s);
      return 0;
    case kSize:
      // The client as it is now, not as the message says: a window that lays its content out again on a
      // size (the page viewer does) may have changed its bars, and so its client, before passing it on.
      Size(s);
      return 0;
    case kSetHPos:
    case kSetVPos: {
      const bool vertical = message == kSetVPos;
      if ((vertical ? s.vScale : s.hScale) != 0 && (vertical ? s.vMax : s.hMax) != 0) {
        MoveTo(s, vertical, static_cast<int>(lParam));
        platform_.Send(window, kVScroll, kEndScroll, 0);
      }
      return 0;
    }
    case kGetHPos:
    case kGetVPos: {
      const int pos = message == kGetVPos ? s.vPos : s.hPos;
      if (lParam) *reinterpret_cast<int*>(lParam) = pos;
      return pos;
    }
    case kGetHMax:
      return s.hMax;
    case kGetVMax:
      return s.vMax;
    case kHScroll:
    case kVScroll:
      Scroll(s, message == kVScroll, wParam, lParam);
      return 0;
    case kMouseWheel: {
      const int request = static_cast<int16_t>(HighWord(wParam)) >= 0 ? kLineUp : kLineDown;
      for (int i = 0; i < 3; ++i) platform_.Send(window, kVScroll, static_cast<ScrollWParam>(request), 0);
      platform_.Send(window, kVScroll, kEndScroll, 0);
      return 0;
    }
    case kLButtonDown:
      anchorX_ = SignedLow(lParam);
      anchorY_ = SignedHigh(lParam);
      platform_.Capture(window);
      s.dragging = 1;
      return 0;
    case kMouseMove:
      if (s.dragging && platform_.HasCapture(window)) DragMove(s, SignedLow(lParam), SignedHigh(lParam));
      return 0;
    case kLButtonUp:
      platform_.ReleaseCapture();
      s.dragging = 0;
      return 0;
    case kCaptureChanged:
      s.dragging = 0;
      return 0;
    default:
      return 0;
  }
}

// A window that lays its content out again when a bar comes or goes (the page viewer does, at the width
// the bar leaves) asks for a size while one runs: the content of the round is then no longer the content
// shown, and the sizes are worked out again from the client and content as they now are. Content whose
// size and bars chase each other stops after a few rounds.
void ScrollManager::Size(ScrollState& s) {
  constexpr int kRounds = 4;
  if (s.inSize) {
    s.inSize = 2;
    return;
  }
  for (int round = 0; round < kRounds; ++round) {
    s.inSize = 1;
    int w = 0, h = 0;
    platform_.ClientSize(s.window, w, h);
    SizeOnce(s, w, h);
    if (s.inSize == 1) break;
  }
  s.inSize = 0;
}

void ScrollManager::SizeOnce(ScrollState& s, int clientWidth, int clientHeight) {
  const int oldH = s.hMax, oldV = s.vMax;
  const int barWidth = platform_.SystemMetric(kMetricVBarWidth);
  const int barHeight = platform_.SystemMetric(kMetricHBarHeight);
  // The room without bars: the client and what the bars shown now take of it.
  int availW = clientWidth + (oldV ? barWidth : 0);
  int availH = clientHeight + (oldH ? barHeight : 0);
  bool hNeeded = false, vNeeded = false;
  for (int round = 0; round < 2; ++round) {
    s.hMax = s.contentWidth > availW ? s.contentWidth - availW : 0;
    if (s.hMax && !hNeeded) {
      hNeeded = true;
      availH -= barHeight;
    }
    s.vMax = s.contentHeight > availH ? s.contentHeight - availH : 0;
    if (s.vMax && !vNeeded) {
      vNeeded = true;
      availW -= barWidth;
    }
  }
  if (s.hPos > s.hMax) {
    platform_.Send(s.window, kHScroll, kLineDown, 0);
    s.hPos = s.hMax;
  }
  if (s.vPos > s.vMax) {
    platform_.Send(s.window, kVScroll, kLineDown, 0);
    s.vPos = s.vMax;
  }
  if ((oldH == 0) != (s.hMax == 0)) {
    platform_.SetThumb(s.window, kHorz, 0);
    platform_.ShowBar(s.window, kHorz, s.hMax != 0);
  }
  if ((oldV == 0) != (s.vMax == 0)) {
    platform_.SetThumb(s.window, kVert, 0);
    platform_.ShowBar(s.window, kVert, s.vMax != 0);
  }
  if (s.contentWidth && s.hMax)
    s.hScale = SetScrollPagePercent(s.window, kHorz, static_cast<int>(100LL * availW / s.contentWidth));
  if (s.contentHeight && s.vMax)
    s.vScale = SetScrollPagePercent(s.window, kVert, static_cast<int>(100LL * availH / s.contentHeight));
}

void ScrollManager::Scroll(ScrollState& s, bool vertical, ScrollWParam wParam, ScrollLParam lParam) {
  const int request = LowWord(wParam);
  if (request == kEndScroll || lParam != 0) return;
  int& pos = vertical ? s.vPos : s.hPos;
  const int max = vertical ? s.vMax : s.hMax;
  const int scale = vertical ? s.vScale : s.hScale;
  const int line = vertical ? s.vLine : s.hLine;
  int clientW = 0, clientH = 0;
  long long d = 0;
  switch (request) {
    case kLineUp: d = line; break;
    case kLineDown: d = -line; break;
    case kPageUp:
    case kPageDown:
      platform_.ClientSize(s.window, clientW, clientH);
      d = vertical ? clientH : clientW;
      if (request == kPageDown) d = -d;
      break;
    case kThumbPosition:
    case kThumbTrack:
      // A bar that was never given a page has no scale: the thumb then means nothing.
      d = scale ? pos - static_cast<long long>(HighWord(wParam)) * max / scale : 0;
      break;
    default: d = lParam; break;
  }
  const long long target = std::clamp<long long>(pos - d, 0, max);
  d = pos - target;
  pos = static_cast<int>(target);
  const int dd = static_cast<int>(d);
  platform_.Send(s.window, kScrollMoved, static_cast<ScrollWParam>(vertical ? 0 : dd), vertical ? dd : 0);
  platform_.ScrollPixels(s.window, vertical ? 0 : dd, vertical ? dd : 0);
  SetThumb(s, vertical);
}

void ScrollManager::MoveTo(ScrollState& s, bool vertical, int target) {
  int& pos = vertical ? s.vPos : s.hPos;
  target = std::clamp(target, 0, vertical ? s.vMax : s.hMax);
  const int d = pos - target;
  pos = target;
  SetThumb(s, vertical);
  platform_.Send(s.window, kScrollMoved, static_cast<ScrollWParam>(vertical ? 0 : d), vertical ? d : 0);
  platform_.ScrollPixels(s.window, vertical ? 0 : d, vertical ? d : 0);
}

void ScrollManager::DragMove(ScrollState& s, int x, int y) {
  const int dx = std::clamp(anchorX_ - x, -s.hPos, s.hMax - s.hPos);
  const int dy = std::clamp(anchorY_ - y, -s.vPos, s.vMax - s.vPos);
  s.hPos += dx;
  s.vPos += dy;
  platform_.Send(s.window, kScrollMoved, static_cast<ScrollWParam>(-dx), -dy);
  platform_.ScrollPixels(s.window, -dx, -dy);
  SetThumb(s, false);
  SetThumb(s, true);
  anchorX_ = x;
  anchorY_ = y;
  platform_.Send(s.window, kVScroll, kEndScroll, 0);
}

}  // namespace htmlview
