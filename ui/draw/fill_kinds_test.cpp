// Every fill kind side by side in a real window, each swatch framed and labelled with its number and
// name, saved as the screenshot fill_kinds.png.
#include <gtest/gtest.h>

#include <string>

#include "platform/harness/driver.h"
#include "ui/draw/colour_ops.h"
#include "ui/draw/draw_manager.h"
#include "ui/draw/gdi_pixels.h"

namespace draw {
namespace {

const wchar_t* const kKindNames[kFillKindCount] = {
    L"solid",    L"hgradient", L"vgradient", L"hcgradient", L"vcgradient", L"3hgradient",
    L"3vgradient", L"noise",   L"diagshade", L"hshade",     L"vshade",     L"hbump",
    L"vbump",    L"softbump",  L"hardbump",  L"metal"};

// The program's palette: navy ink, blue, sky, warm paper.
constexpr COLORREF kInk = RGB(20, 42, 82);
constexpr COLORREF kBegin = RGB(38, 88, 158);
constexpr COLORREF kMid = RGB(152, 188, 230);
constexpr COLORREF kEnd = RGB(255, 252, 242);
constexpr COLORREF kPaper = RGB(251, 241, 206);
constexpr COLORREF kFrame = RGB(172, 168, 153);

constexpr int kColumns = 4, kSwatchW = 150, kSwatchH = 84, kLabelH = 22, kGap = 16;

struct Gallery {
  DrawManager manager;
  HFONT font = nullptr;
};

RECT SwatchRect(int kind) {
  int column = kind % kColumns, row = kind / kColumns;
  int left = kGap + column * (kSwatchW + kGap), top = kGap + row * (kSwatchH + kLabelH + kGap);
  return {left, top, left + kSwatchW, top + kSwatchH};
}

void Paint(HWND window, Gallery& gallery) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  gallery.manager.FillArea(dc, kFillSolid, client, kPaper, kPaper, kPaper, 0, 0);
  HGDIOBJ oldFont = SelectObject(dc, gallery.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kInk);
  for (int kind = 0; kind < kFillKindCount; ++kind) {
    RECT swatch = SwatchRect(kind);
    gallery.manager.FillArea(dc, kind, swatch, kBegin, kMid, kEnd, 8, 0);
    RECT frame{swatch.left - 1, swatch.top - 1, swatch.right + 1, swatch.bottom + 1};
    gallery.manager.DrawFrame(dc, frame, kFrame, kFrame, kFrameSolid, 1);
    RECT label{swatch.left, swatch.bottom + 3, swatch.right, swatch.bottom + kLabelH};
    std::wstring text = std::to_wstring(kind) + L"  " + kKindNames[kind];
    DrawTextW(dc, text.c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* gallery = reinterpret_cast<Gallery*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_ERASEBKGND) {
    return 1;
  } else if (message == WM_PAINT && gallery) {
    Paint(window, *gallery);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(FillKinds, EveryKindSideBySideLabelled) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.lpszClassName = L"DorvaneFillKinds";
  ASSERT_NE(RegisterClassW(&wc), 0);
  Gallery gallery;
  gallery.font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
  RECT size{0, 0, kGap + kColumns * (kSwatchW + kGap), kGap + 4 * (kSwatchH + kLabelH + kGap)};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&size, style, FALSE);
  HWND window = CreateWindowW(L"DorvaneFillKinds", L"Fill kinds", style | WS_VISIBLE, 20, 20, size.right - size.left,
                              size.bottom - size.top, nullptr, nullptr, wc.hInstance, &gallery);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  harness::PumpMessages();

  // A swatch as painted: the solid one is the begin colour, the metal one is not flat.
  HDC dc = GetDC(window);
  RECT solid = SwatchRect(kFillSolid), metal = SwatchRect(kFillMetal);
  PixelBuffer solidPixels = ReadDc(dc, solid.left, solid.top, kSwatchW, kSwatchH);
  PixelBuffer metalPixels = ReadDc(dc, metal.left, metal.top, kSwatchW, kSwatchH);
  ReleaseDC(window, dc);
  ASSERT_FALSE(solidPixels.Empty());
  EXPECT_EQ(solidPixels.At(kSwatchW / 2, kSwatchH / 2) & 0xFFFFFF, ColourToPixel(kBegin));
  ASSERT_FALSE(metalPixels.Empty());
  EXPECT_NE(metalPixels.At(1, 1) & 0xFFFFFF, metalPixels.At(kSwatchW - 2, kSwatchH - 2) & 0xFFFFFF);

  EXPECT_FALSE(harness::CaptureWindow(window, "fill_kinds").empty());
  DestroyWindow(window);
  DeleteObject(gallery.font);
  UnregisterClassW(L"DorvaneFillKinds", wc.hInstance);
}

}  // namespace
}  // namespace draw
