// Screenshots: the pixels of a window or of the screen, written as PNG files for a person to look at.
#include <vector>

#include "driver.h"
#include "platform/os/os.h"
#include "png_writer.h"

namespace harness {
namespace {

std::u16string FromWide(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::u16string CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, folder);
  std::u16string path = FromWide(folder);
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  return path;
}

// Copies a rectangle of a DC into top-down RGBA pixels, fully opaque.
std::vector<uint8_t> GrabPixels(HDC source, int x, int y, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return {};
  HDC memory = ::CreateCompatibleDC(source);
  HGDIOBJ old = ::SelectObject(memory, dib);
  ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  ::GdiFlush();
  const auto* bgra = static_cast<const uint8_t*>(bits);
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = bgra[i + 2];
    rgba[i + 1] = bgra[i + 1];
    rgba[i + 2] = bgra[i];
    rgba[i + 3] = 255;
  }
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(dib);
  return rgba;
}

// Pixels outside the window's region (when it has one) become transparent.
void ClearOutsideRegion(HWND window, int width, int height, std::vector<uint8_t>& rgba) {
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  if (::GetWindowRgn(window, region) != ERROR) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!::PtInRegion(region, x, y)) rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = 0;
      }
    }
  }
  ::DeleteObject(region);
}

std::u16string Save(const std::string& name, int width, int height, const std::vector<uint8_t>& rgba) {
  if (rgba.empty()) return {};
  std::u16string path = ScreenshotPath(name);
  return WritePng(path, static_cast<uint32_t>(width), static_cast<uint32_t>(height), rgba) ? path
                                                                                          : std::u16string();
}

}  // namespace

std::u16string ScreenshotPath(const std::string& name) {
  std::u16string folder = CurrentFolder() + u"screenshots";
  if (!os::IsFolder(folder)) os::CreateFolder(folder);
  // "group/name" goes into the group's folder.
  const size_t slash = name.rfind('/');
  if (slash != std::string::npos) {
    folder += u"\\" + std::u16string(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(slash));
    if (!os::IsFolder(folder)) os::CreateFolder(folder);
  }
  const std::string leaf = slash != std::string::npos ? name.substr(slash + 1) : name;
  return folder + u"\\" + std::u16string(leaf.begin(), leaf.end()) + u".png";
}

std::u16string CaptureWindow(HWND window, const std::string& name) {
  if (!::IsWindow(window)) return {};
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  RECT rect;
  ::GetWindowRect(window, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  // The window's own DC reads its own surface, so other tests' windows above it do not show.
  HDC dc = ::GetWindowDC(window);
  std::vector<uint8_t> rgba = GrabPixels(dc, 0, 0, width, height);
  ::ReleaseDC(window, dc);
  if (!rgba.empty()) ClearOutsideRegion(window, width, height, rgba);
  return Save(name, width, height, rgba);
}

std::u16string CaptureScreen(const std::string& name) {
  PumpMessages();
  int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  HDC dc = ::GetDC(nullptr);
  std::vector<uint8_t> rgba = GrabPixels(dc, x, y, width, height);
  ::ReleaseDC(nullptr, dc);
  return Save(name, width, height, rgba);
}

namespace {

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM lParam) {
  RECT rect;
  if (::IsWindowVisible(window) && ::GetWindowRect(window, &rect) && !::IsRectEmpty(&rect)) {
    reinterpret_cast<std::vector<RECT>*>(lParam)->push_back(rect);
  }
  return TRUE;
}

std::vector<RECT> ThreadWindowRects() {
  std::vector<RECT> rects;
  ::EnumThreadWindows(::GetCurrentThreadId(), AddVisibleWindow, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

// The screen between the windows (what lies around a tall popup) becomes transparent.
void ClearOutsideWindows(const RECT& shot, const std::vector<RECT>& windows, std::vector<uint8_t>& rgba) {
  const int width = shot.right - shot.left;
  for (int y = shot.top; y < shot.bottom; ++y) {
    for (int x = shot.left; x < shot.right; ++x) {
      const POINT point{x, y};
      bool inside = false;
      for (const RECT& window : windows) inside = inside || ::PtInRect(&window, point);
      if (!inside) rgba[(static_cast<size_t>(y - shot.top) * width + (x - shot.left)) * 4 + 3] = 0;
    }
  }
}

}  // namespace

RECT ThreadWindowsRect() {
  RECT all{};
  for (const RECT& rect : ThreadWindowRects()) ::UnionRect(&all, &all, &rect);
  const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT clipped{};
  ::IntersectRect(&clipped, &all, &screen);
  return clipped;
}

std::u16string CaptureThreadWindows(const std::string& name) {
  PumpMessages();
  const RECT rect = ThreadWindowsRect();
  if (::IsRectEmpty(&rect)) return {};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<uint8_t> rgba = ScreenPixels(rect.left, rect.top, width, height);
  if (!rgba.empty()) ClearOutsideWindows(rect, ThreadWindowRects(), rgba);
  return Save(name, width, height, rgba);
}

std::vector<uint8_t> ScreenPixels(int x, int y, int width, int height) {
  HDC dc = ::GetDC(nullptr);
  std::vector<uint8_t> rgba = GrabPixels(dc, x, y, width, height);
  ::ReleaseDC(nullptr, dc);
  return rgba;
}

}  // namespace harness
