// The task panel's expand buttons where the visual style offers none: the program's two pictures,
// recoloured to the caption colour of their group's kind.
#include <gtest/gtest.h>

#include "platform/classlib/win/classlib_win.h"
#include "res/toolkit_resource.h"
#include "toolkit/taskpanel/tkp_task_panel_themes.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("TaskPanelExpandIconTest")) {}
};
TestApp theApp;

class Probe : public CTKPTaskPanelExplorerTheme {
 public:
  using CTKPTaskPanelPaintManager::MakeExpandIcon;
};

// The icon drawn on white, read back at a point.
COLORREF DrawnPixel(HICON icon, int x, int y) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 19, 19);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::PatBlt(dc, 0, 0, 19, 19, WHITENESS);
  ::DrawIconEx(dc, 0, 0, icon, 19, 19, 0, nullptr, DI_NORMAL);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return c;
}

TEST(TaskPanelExpandIcon, BothPicturesLoadAndTakeTheTargetHue) {
  Probe theme;
  for (UINT id : {static_cast<UINT>(IDB_TK_EXPAND), static_cast<UINT>(IDB_TK_EXPAND_SPECIAL)}) {
    HICON icon = theme.MakeExpandIcon(id, RGB(200, 40, 40));
    ASSERT_NE(icon, nullptr) << id;
    ICONINFO ii{};
    ASSERT_TRUE(::GetIconInfo(icon, &ii));
    BITMAP bm{};
    ::GetObjectW(ii.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 19);
    EXPECT_EQ(bm.bmHeight, 19);
    ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    // The corner is the background: transparent. The rim and the disc take the red hue.
    EXPECT_EQ(DrawnPixel(icon, 0, 0), RGB(255, 255, 255)) << id;
    const COLORREF rim = DrawnPixel(icon, 9, 1);
    EXPECT_GT(GetRValue(rim), GetGValue(rim)) << id;
    EXPECT_GT(GetRValue(rim), GetBValue(rim)) << id;
    const COLORREF disc = DrawnPixel(icon, 9, 9);
    EXPECT_GE(GetRValue(disc), GetGValue(disc)) << id;
    ::DestroyIcon(icon);
  }
  EXPECT_EQ(theme.MakeExpandIcon(9199, RGB(200, 40, 40)), nullptr);
}

}  // namespace
