// The drawing helpers in a window: gradients (through the image library, in bands without it, clipped,
// and each colour scheme's two-part gradients), blends and the colour table, mnemonic text, and the
// caption's bitmap turned into an icon over a checker and a gradient. The picture goes to
// screenshots/toolkit_foundation.png; pixels are read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/classlib/win/classlib_win.h"
#include "platform/harness/driver.h"
#include "res/resource.h"
#include "toolkit/common/aux_data.h"
#include "toolkit/common/color_manager.h"
#include "toolkit/common/draw_helpers.h"
#include "toolkit/common/gdi_guards.h"
#include "toolkit/common/resource_manager.h"

namespace {

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(_T("ToolkitFoundationGallery")) {}
};
TestApp theApp;

const COLORREF kPaper = RGB(0xFB, 0xF8, 0xF0);
const COLORREF kInk = RGB(0x14, 0x2A, 0x52);
const COLORREF kRule = RGB(0xB4, 0xC0, 0xD0);
const TCHAR* const kMnemonicSamples[] = {_T("&File"), _T("Fish && Chips"), _T("Save &As..."), _T("Trailing&")};

// Where each piece of the gallery lies, for the checks.
const CRect kLibraryGradient(20, 40, 250, 70);
const CRect kBandGradient(270, 40, 500, 70);
const CRect kClippedFull(520, 40, 750, 70);
const CRect kClip(580, 46, 690, 64);
const CRect kVertical(20, 100, 60, 210);
const CRect kIconOverChecker(540, 350, 600, 388);
const CRect kIconOverGradient(620, 350, 680, 388);

class Gallery : public CWnd {
 public:
  bool Open() {
    CRect frame(0, 0, 770, 410);
    ::AdjustWindowRectEx(frame, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(0, cls, _T("Toolkit foundation"), WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 30, 30, frame.Width(),
                    frame.Height(), nullptr, nullptr) != FALSE;
  }
  ~Gallery() override {
    if (m_icon) ::DestroyIcon(m_icon);
  }
  HICON m_icon = nullptr;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(client);
    CTKMemDC dc(&paint, client, CTKPColorGradient(kPaper));
    Draw(&dc);
  }
  DECLARE_MESSAGE_MAP()

 private:
  void Heading(CDC* dc, int x, int y, const TCHAR* text, int width = 730) {
    CTKPFontDC font(dc, &TKPAuxData().fontBold);
    dc->SetTextColor(kInk);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(x, y, text, ::lstrlenW(text));
    dc->FillSolidRect(x, y + 18, width, 1, kRule);
  }
  void Label(CDC* dc, int x, int y, const CString& text, UINT format = DT_NOPREFIX, COLORREF colour = kInk) {
    CTKPFontDC font(dc, &TKPAuxData().font);
    dc->SetTextColor(colour);
    dc->SetBkMode(TRANSPARENT);
    CRect r(x, y, x + 240, y + 18);
    dc->DrawText(text, r, format | DT_SINGLELINE | DT_LEFT | DT_VCENTER);
  }

  void Draw(CDC* dc) {
    CTKPDrawHelpers* helpers = TKPDrawHelpers();
    Heading(dc, 20, 10, _T("Gradients"));
    helpers->GradientFill(dc, kLibraryGradient, RGB(0xFE, 0xEC, 0xDD), RGB(0x96, 0x2D, 0x00), TRUE);
    helpers->SetLibraryMissingForTesting(true);
    helpers->GradientFill(dc, kBandGradient, RGB(0xFE, 0xEC, 0xDD), RGB(0x96, 0x2D, 0x00), TRUE);
    helpers->SetLibraryMissingForTesting(false);
    dc->FillSolidRect(kClippedFull, RGB(0xEE, 0xF1, 0xF6));
    helpers->GradientFillClipped(dc, kClippedFull, RGB(0xFF, 0xFF, 0xFF), RGB(0x26, 0x58, 0x9E), TRUE, kClip);
    const COLORREF note = RGB(0x62, 0x6A, 0x78);
    Label(dc, kLibraryGradient.left, 72, _T("Through the image library"), DT_NOPREFIX, note);
    Label(dc, kBandGradient.left, 72, _T("In one-pixel bands"), DT_NOPREFIX, note);
    Label(dc, kClippedFull.left, 72, _T("Clipped to the inner rectangle"), DT_NOPREFIX, note);
    helpers->GradientFill(dc, kVertical, RGB(0xC8, 0xF2, 0xFF), RGB(0x55, 0xAD, 0xFF), FALSE);
    Label(dc, kVertical.right + 12, 100, _T("Two-part gradients of each colour scheme:"));
    const TCHAR* names[] = {_T("Classic"), _T("Blue"), _T("Olive"), _T("Silver")};
    for (int scheme = 0; scheme < 4; ++scheme) {
      TKColorTable table;
      table.SetForcedScheme(scheme);
      table.Refresh(CTKPSystemColors());
      const int y = 122 + scheme * 24;
      Label(dc, kVertical.right + 12, y, names[scheme]);
      for (int g = 0; g < 7; ++g) {
        CRect r(140 + g * 86, y, 140 + g * 86 + 80, y + 18);
        helpers->FillColorGradient(dc, r, table.Gradient(g), FALSE);
      }
    }

    Heading(dc, 20, 228, _T("Blends and the colour table"));
    for (int i = 1; i <= 10; ++i) {
      const int p = i < 10 ? i * 10 : 1000;  // a percentage below 100, a per-mille from 100 up
      const int x = 20 + (i - 1) * 34;
      dc->FillSolidRect(x, 256, 30, 22, CTKPColorManager::BlendColors(RGB(0x26, 0x58, 0x9E), kPaper, p));
      dc->FillSolidRect(x, 280, 30, 8, CTKPDrawHelpers::BlendColors(RGB(0xE2, 0x98, 0x2A), kPaper, i / 10.0));
    }
    Label(dc, 20, 292, _T("10 % to 100 % of the blue and of the amber"), DT_NOPREFIX, note);
    CTKPColorManager* colours = TKPColorManager();
    for (int i = 30; i <= 60; ++i)
      dc->FillSolidRect(400 + (i - 30) % 16 * 22, 256 + (i - 30) / 16 * 18, 20, 16, colours->GetColor(i));
    Label(dc, 400, 292, _T("The colour table, entries 30 to 60"), DT_NOPREFIX, note);

    Heading(dc, 20, 322, _T("Mnemonic text"), 490);
    Label(dc, 20, 348, _T("As written"));
    Label(dc, 20, 368, _T("Mnemonics stripped"));
    Label(dc, 20, 388, _T("With prefixes"));
    for (int i = 0; i < 4; ++i) {
      const CString sample = kMnemonicSamples[i];
      const int x = 150 + i * 92;
      Label(dc, x, 348, sample);
      Label(dc, x, 368, StripMnemonics(sample));
      Label(dc, x, 388, RemoveAmpersands(sample), 0);
    }

    Heading(dc, 540, 322, _T("Transparent bitmap"), 210);
    CTKPDrawHelpers::FillCheckerPattern(dc, kIconOverChecker);
    helpers->GradientFill(dc, kIconOverGradient, RGB(0xFF, 0xF4, 0xD8), RGB(0xD8, 0xA0, 0x48), FALSE);
    if (m_icon) {
      for (const CRect& r : {kIconOverChecker, kIconOverGradient})
        ::DrawIconEx(dc->GetSafeHdc(), r.left + 6, r.top + 12, m_icon, 48, 15, 0, nullptr, DI_NORMAL);
    }
  }
};
BEGIN_MESSAGE_MAP(Gallery, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return c;
}

int ChannelGap(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

TEST(FoundationGallery, DrawsEveryHelperAsExpected) {
  Gallery gallery;
  CBitmap caption;
  ASSERT_TRUE(TKPResourceManager()->LoadBitmap(&caption, IDB_TK_CAPTION_BUTTONS));
  gallery.m_icon = CTKPTransparentBitmap(static_cast<HBITMAP>(caption.GetSafeHandle())).ConvertToIcon();
  ASSERT_NE(gallery.m_icon, nullptr);
  // The caller's bitmap keeps its magenta corner.
  EXPECT_EQ(CTKPTransparentBitmap(static_cast<HBITMAP>(caption.GetSafeHandle())).GetTransparentColor(),
            RGB(255, 0, 255));
  ASSERT_TRUE(gallery.Open());
  gallery.UpdateWindow();
  harness::PumpFor(200);
  HWND w = gallery.GetSafeHwnd();

  // Gradients start at their first colour and end near the second, with or without the library.
  EXPECT_LE(ChannelGap(PixelOf(w, kLibraryGradient.left, 50), RGB(0xFE, 0xEC, 0xDD)), 2);
  EXPECT_LE(ChannelGap(PixelOf(w, kLibraryGradient.right - 1, 50), RGB(0x96, 0x2D, 0x00)), 4);
  EXPECT_EQ(PixelOf(w, kBandGradient.left, 50), RGB(0xFE, 0xEC, 0xDD));
  for (int x : {0, 57, 115, 229})
    EXPECT_LE(ChannelGap(PixelOf(w, kLibraryGradient.left + x, 60), PixelOf(w, kBandGradient.left + x, 60)), 3) << x;
  // The clipped gradient stays inside its clip, with the colours the whole one has there.
  EXPECT_EQ(PixelOf(w, kClip.left - 1, 60), RGB(0xEE, 0xF1, 0xF6));
  EXPECT_EQ(PixelOf(w, kClip.left + 5, kClip.top - 1), RGB(0xEE, 0xF1, 0xF6));
  const COLORREF atCut = CTKPDrawHelpers::BlendColors(RGB(0xFF, 0xFF, 0xFF), RGB(0x26, 0x58, 0x9E),
                                                      double(kClippedFull.right - kClip.left) / kClippedFull.Width());
  EXPECT_LE(ChannelGap(PixelOf(w, kClip.left, 60), atCut), 2);
  // The icon is transparent where the bitmap was magenta: the checker and the gradient show through.
  const COLORREF corner = PixelOf(w, kIconOverGradient.left + 6, kIconOverGradient.top + 12);
  EXPECT_NE(corner, RGB(255, 0, 255));
  EXPECT_EQ(corner, PixelOf(w, kIconOverGradient.left + 2, kIconOverGradient.top + 12));
  for (int x = 0; x < 60; ++x) EXPECT_NE(PixelOf(w, kIconOverChecker.left + x, kIconOverChecker.top + 19), RGB(255, 0, 255));

  EXPECT_FALSE(harness::CaptureWindow(w, "toolkit_foundation").empty());
  gallery.DestroyWindow();
}

}  // namespace
