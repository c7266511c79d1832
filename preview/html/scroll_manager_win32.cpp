#include "preview/html/scroll_manager_win32.h"

#include "preview/html/scroll_manager.h"

namespace htmlview {
namespace {

HWND Hwnd(ScrollHandle window) { return reinterpret_cast<HWND>(window); }

class Win32ScrollPlatform : public ScrollPlatform {
 public:
  void ClientSize(ScrollHandle window, int& width, int& height) override {
    RECT r{0, 0, 0, 0};
    GetClientRect(Hwnd(window), &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  int SystemMetric(int index) override { return GetSystemMetrics(index); }
  void SetPage(ScrollHandle window, int bar, int percent) override {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE;
    info.nPage = static_cast<UINT>(percent);
    SetScrollInfo(Hwnd(window), bar == scrollmsg::kVert ? SB_VERT : SB_HORZ, &info, FALSE);
  }
  void SetThumb(ScrollHandle window, int bar, int pos) override {
    SetScrollPos(Hwnd(window), bar == scrollmsg::kVert ? SB_VERT : SB_HORZ, pos, TRUE);
  }
  void ShowBar(ScrollHandle window, int bar, bool show) override {
    ShowScrollBar(Hwnd(window), bar == scrollmsg::kVert ? SB_VERT : SB_HORZ, show ? TRUE : FALSE);
  }
  void ScrollPixels(ScrollHandle window, int dx, int dy) override {
    ::ScrollWindow(Hwnd(window), dx, dy, nullptr, nullptr);
  }
  intptr_t Send(ScrollHandle window, unsigned message, ScrollWParam wParam, ScrollLParam lParam) override {
    return SendMessageW(Hwnd(window), message, wParam, lParam);
  }
  void Capture(ScrollHandle window) override { SetCapture(Hwnd(window)); }
  void ReleaseCapture() override { ::ReleaseCapture(); }
  bool HasCapture(ScrollHandle window) override { return GetCapture() == Hwnd(window); }
};

ScrollManager& Manager() {
  static Win32ScrollPlatform platform;
  static ScrollManager manager(platform);
  return manager;
}

}  // namespace

LRESULT HandleScrollMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Manager().Handle(reinterpret_cast<ScrollHandle>(window), message, wParam, lParam);
}

}  // namespace htmlview
