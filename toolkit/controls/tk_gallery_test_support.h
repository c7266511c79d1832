// A white off-screen bitmap the control tests draw into and read pixels back from, and the open popup
// menu a context-menu test reads.
#pragma once

#include <windows.h>

#include <cwchar>

namespace tkgallery {

inline BOOL CALLBACK FindMenuWindow(HWND hWnd, LPARAM lParam) {
  wchar_t cls[16] = {};
  ::GetClassNameW(hWnd, cls, 16);
  if (std::wcscmp(cls, L"#32768") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hWnd;
  return FALSE;
}

// The visible popup menu window of the desktop, or null.
inline HWND FindOpenMenu() {
  HWND found = nullptr;
  ::EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

class Canvas {
 public:
  Canvas(int cx, int cy) {
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    m_old = ::SelectObject(m_dc, m_bitmap);
    RECT r{0, 0, cx, cy};
    ::FillRect(m_dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC DC() const { return m_dc; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

}  // namespace tkgallery
