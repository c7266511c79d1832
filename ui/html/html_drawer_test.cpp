// The HTML drawer in a real window with real fonts: styled text, a link, an image strip, an icon and a
// nested table with borders; hovering the link restyles it and shows the hand, clicking it reaches the
// shell seam with the target quoted for the browser fallback.
#include "ui/html/html_drawer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "platform/harness/driver.h"
#include "platform/harness/seam_test.h"
#include "res/resource.h"
#include "ui/html/html_images_win32.h"

namespace html {
namespace {

constexpr UINT kHoverMessage = WM_APP + 100;
constexpr int kMargin = 14;
const wchar_t kClassName[] = L"DorvaneHtmlDrawerTest";

struct Window {
  HtmlDrawer drawer;
  std::vector<WPARAM> hovers;
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      RECT area{kMargin, kMargin, client.right - kMargin, client.bottom - kMargin};
      if (state) state->drawer.Draw(dc, area);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (state) state->drawer.SetCursorAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_SETCURSOR: {
      POINT point;
      ::GetCursorPos(&point);
      ::ScreenToClient(window, &point);
      if (state && LOWORD(lParam) == HTCLIENT && state->drawer.SetCursorAt(point)) return TRUE;
      break;
    }
    case WM_LBUTTONUP:
      if (state) state->drawer.Click({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case kHoverMessage:
      if (state) state->hovers.push_back(wParam);
      ::InvalidateRect(window, nullptr, FALSE);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

std::u16string Markup(HICON icon) {
  std::u16string iconHandle = u"0x";
  wchar_t hex[16];
  ::swprintf(hex, 16, L"%lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(icon)));
  for (const wchar_t* c = hex; *c; ++c) iconHandle.push_back(static_cast<char16_t>(*c));
  return u"<h1>Recovery finished</h1>\r\n"
         u"<b>Bold</b>, <i>italic</i>, <u>underlined</u>, <font color=#c03020>coloured</font>, "
         u"<code>code</code> and <b><b>heavy</b></b> text with &lt;tags&gt; &amp; entities.\r\n"
         u"Read <a href='http://help.example/recovered files?q=\"x\"'>the recovery guide</a> before saving.\r\n"
         u"States: <ilst idres=200 cx=16 index=1 mask=white> unchecked <ilst idres=200 cx=16 index=2 mask=white> "
         u"checked <ilst idres=200 cx=16 index=3 mask=white> partly<t><icon handle=" + iconHandle +
         u" width=16 height=16> disk\r\n"
         u"<hr size=1 color=silver>"
         u"<table border=1 cellpadding=4 cellspacing=0 bordercolor=#1f3c78 bgcolor=#eef3fb width=440>"
         u"<tr><td bgcolor=#1f3c78><font color=white><b>File</b></font></td>"
         u"<td bgcolor=#1f3c78><font color=white><b>Details</b></font></td></tr>"
         u"<tr><td valign=middle>photo.jpg</td><td>"
         u"<table border=1 cellpadding=3 cellspacing=2 bordercolor=gray bgcolor=white>"
         u"<tr><td>Size</td><td align=right>1,204 KB</td></tr>"
         u"<tr><td>State</td><td><font color=green>intact</font></td></tr></table>"
         u"</td></tr></table>";
}

// Registers a browser command for ".htm" files for its lifetime.
class ScopedBrowser {
 public:
  explicit ScopedBrowser(const wchar_t* command) {
    ::RegSetValueW(HKEY_CLASSES_ROOT, L".htm", REG_SZ, L"DorvaneTest.htm", 0);
    ::RegSetValueW(HKEY_CLASSES_ROOT, L"DorvaneTest.htm\\shell\\open\\command", REG_SZ, command, 0);
  }
  ~ScopedBrowser() {
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"DorvaneTest.htm\\shell\\open\\command");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"DorvaneTest.htm\\shell\\open");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"DorvaneTest.htm\\shell");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"DorvaneTest.htm");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm");
  }
  ScopedBrowser(const ScopedBrowser&) = delete;
  ScopedBrowser& operator=(const ScopedBrowser&) = delete;
};

class HtmlDrawerWindowTest : public harness::SeamTest {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, kClassName, L"HTML drawer", WS_OVERLAPPEDWINDOW, 40, 40, 560, 420, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state_));
    state_.drawer.SetHoverTarget(window_, kHoverMessage, 0);
    icon_ = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TREE_VIRTUAL_DISK),
                                            IMAGE_ICON, 16, 16, 0));
    HDC dc = ::GetDC(window_);
    SIZE size{0, 0};
    state_.drawer.Measure(dc, Markup(icon_), &size);
    ::ReleaseDC(window_, dc);
    measured_ = size;
    RECT frame{0, 0, size.cx + 2 * kMargin, size.cy + 2 * kMargin};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    harness::PumpFor(200);
  }
  void TearDown() override {
    ::DestroyWindow(window_);
    if (icon_) ::DestroyIcon(icon_);
    harness::SeamTest::TearDown();
  }

  // Moves the mouse over the text until a link is hovered; the point, or (-1, -1).
  POINT FindLink() {
    RECT client;
    ::GetClientRect(window_, &client);
    for (int y = 0; y < client.bottom; y += 2)
      for (int x = 0; x < client.right; x += 4) {
        ::SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        if (state_.drawer.HoveredLink() != -2) return {x, y};
      }
    return {-1, -1};
  }

  // The pixels of a band of the window's client area.
  std::vector<COLORREF> Band(POINT centre) {
    std::vector<COLORREF> pixels;
    HDC dc = ::GetDC(window_);
    for (int y = centre.y - 12; y <= centre.y + 12; ++y)
      for (int x = centre.x - 30; x <= centre.x + 30; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(window_, dc);
    return pixels;
  }

  Window state_;
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  SIZE measured_{};
};

// A 24-bit bitmap file of cx by cy pixels at path.
bool WriteBitmapFile(const wchar_t* path, int cx, int cy) {
  const int stride = (cx * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * cy);
  info.biSize = sizeof info;
  info.biWidth = cx;
  info.biHeight = cy;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::vector<char> pixels(static_cast<size_t>(stride * cy), '\x40');
  FILE* out = ::_wfopen(path, L"wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                 std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && written;
}

// Each source an image names is tried in turn: a handle that is no image of its kind, a resource that is
// not there, then the next (the first given was taken even when it failed, and the image was lost).
TEST(HtmlImages, EachSourceGivenIsTriedUntilOneLoads) {
  HtmlImageSource strip;
  strip.idres = IDB_TREE_STATE_IMAGES;
  const HtmlSize own = HtmlLoadedImage(strip, nullptr).Size();
  ASSERT_GT(own.cx, 0);
  HtmlImageSource badHandle = strip;
  badHandle.handle = 0xDEAD0000u;  // names no object
  EXPECT_EQ(HtmlLoadedImage(badHandle, nullptr).Size().cx, own.cx);

  wchar_t folder[MAX_PATH] = {}, path[MAX_PATH] = {};
  ASSERT_GT(::GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(::GetTempFileNameW(folder, L"bmp", 0, path), 0u);
  ASSERT_TRUE(WriteBitmapFile(path, 7, 5));
  HtmlImageSource missing;
  missing.idres = 65000;
  missing.iddll = 65001;  // no image module either
  for (const wchar_t* c = path; *c; ++c) missing.file.push_back(static_cast<char16_t>(*c));
  const HtmlSize fromFile = HtmlLoadedImage(missing, nullptr).Size();
  EXPECT_EQ(fromFile.cx, 7);
  EXPECT_EQ(fromFile.cy, 5);
  ::DeleteFileW(path);

  HtmlImageSource icon;
  icon.kind = HtmlImageKind::kIcon;
  icon.handle = 0xDEAD0000u;
  icon.idres = IDI_TREE_VIRTUAL_DISK;
  EXPECT_GT(HtmlLoadedImage(icon, nullptr).Size().cx, 0);
}

TEST_F(HtmlDrawerWindowTest, DrawsStyledTextStripAndNestedTable) {
  EXPECT_GT(measured_.cx, 440);  // the table's given width and more
  EXPECT_GT(measured_.cy, 150);
  EXPECT_FALSE(harness::CaptureWindow(window_, "html_drawer").empty());
  // The header row of the table is filled dark blue somewhere on the drawing.
  HDC dc = ::GetDC(window_);
  RECT client;
  ::GetClientRect(window_, &client);
  int blue = 0;
  for (int y = 0; y < client.bottom; y += 3)
    if (::GetPixel(dc, client.right / 2, y) == RGB(0x1f, 0x3c, 0x78)) ++blue;
  ::ReleaseDC(window_, dc);
  EXPECT_GT(blue, 2);
}

TEST_F(HtmlDrawerWindowTest, HoverRestylesTheLinkAndShowsTheHand) {
  std::vector<COLORREF> before = Band({0, 0});
  POINT link = FindLink();
  ASSERT_GE(link.x, 0) << "no link found under the mouse";
  ::SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
  harness::PumpFor(100);
  before = Band(link);
  ::SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(link.x, link.y));
  EXPECT_EQ(::GetCursor(), state_.drawer.LinkCursor());
  EXPECT_NE(state_.drawer.LinkCursor(), nullptr);
  harness::PumpFor(100);
  std::vector<COLORREF> hovered = Band(link);
  EXPECT_NE(before, hovered);  // a:hover underlines the link
  harness::CaptureWindow(window_, "html_drawer_hover");
  ASSERT_GE(state_.hovers.size(), 3u);
  EXPECT_EQ(state_.hovers.back(), 0u);  // link number 0
  ::SendMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(state_.hovers.back(), static_cast<WPARAM>(-2));
  EXPECT_EQ(state_.drawer.HoveredLink(), -2);
}

TEST_F(HtmlDrawerWindowTest, ClickReachesTheShellAndTheFallbackQuotesTheTarget) {
  POINT link = FindLink();
  ASSERT_GE(link.x, 0);
  harness::Click(window_, link);
  auto executed = seams.shell.Executed();
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0].verb, u"open");
  EXPECT_EQ(executed[0].target, u"http://help.example/recovered files?q=\"x\"");
  EXPECT_TRUE(seams.shell.Started().empty());
  // When the shell cannot open it, the browser registered for ".htm" starts with the target as one argument.
  ScopedBrowser browser(LR"("C:\Program Files\Browser\browser.exe" -url "%1")");
  seams.shell.SetExecuteResult(2);
  harness::Click(window_, link);
  auto started = seams.shell.Started();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], u"\"C:\\Program Files\\Browser\\browser.exe\" -url \"http://help.example/recovered files?q=%22x%22\"");
}

}  // namespace
}  // namespace html
