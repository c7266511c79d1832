// Drawing through CDC and the GDI objects into 32-bit memory bitmaps, read back pixel by pixel:
// fills, frames, edges, gradients, blits, lines and shapes, state, mapping and clipping, text measured
// with the installed fonts, icons and states; and who owns which handle.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/classlib/win/win_test_support.h"

void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const CSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A memory DC drawing into a 32-bit top-down DIB section, cleared to white.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const DWORD*>(bits);
    dc.CreateCompatibleDC(nullptr);
    old_ = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, kWhite);
  }
  ~Canvas() { dc.SelectObject(old_); }

  // The pixel at device coordinates (whatever the DC's origins), as a colour value.
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    DWORD pixel = bits_[y * width_ + x];
    return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
  }
  // The smallest rectangle holding every pixel that is not white.
  CRect Inked() const {
    CRect box(width_, height_, 0, 0);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (At(x, y) == kWhite) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box;
  }
  int CountOf(COLORREF colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) count += At(x, y) == colour ? 1 : 0;
    }
    return count;
  }

  CDC dc;
  CBitmap bitmap;

 private:
  int width_;
  int height_;
  const DWORD* bits_ = nullptr;
  CBitmap* old_ = nullptr;
};

// ---- fills and frames -----------------------------------------------------------------------------

TEST(CDCFill, FillSolidRectPaintsExactlyItsRectangleAndLeavesTheBackgroundColourSet) {
  Canvas canvas(20, 20);
  canvas.dc.FillSolidRect(CRect(2, 3, 7, 9), kRed);
  EXPECT_EQ(canvas.Inked(), CRect(2, 3, 7, 9));
  EXPECT_EQ(canvas.CountOf(kRed), 5 * 6);
  EXPECT_EQ(canvas.dc.GetBkColor(), kRed);
}

TEST(CDCFill, Draw3dRectGivesTheTopRightAndBottomLeftCornersToTheBottomRightColour) {
  Canvas canvas(20, 20);
  canvas.dc.Draw3dRect(CRect(2, 2, 12, 8), kRed, kBlue);
  EXPECT_EQ(canvas.At(2, 2), kRed);
  EXPECT_EQ(canvas.At(10, 2), kRed);
  EXPECT_EQ(canvas.At(11, 2), kBlue);  // top right
  EXPECT_EQ(canvas.At(2, 6), kRed);
  EXPECT_EQ(canvas.At(2, 7), kBlue);  // bottom left
  EXPECT_EQ(canvas.At(11, 7), kBlue);
  EXPECT_EQ(canvas.At(5, 5), kWhite);  // inside stays
  EXPECT_EQ(canvas.Inked(), CRect(2, 2, 12, 8));
  EXPECT_EQ(canvas.CountOf(kRed) + canvas.CountOf(kBlue), 2 * 10 + 2 * 4);
}

TEST(CDCFill, FillRectFrameRectAndRegionsUseTheirBrushes) {
  Canvas canvas(30, 30);
  CBrush green(kGreen);
  CBrush blue(kBlue);
  canvas.dc.FillRect(CRect(0, 0, 10, 10), &green);
  canvas.dc.FrameRect(CRect(0, 0, 10, 10), &blue);
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(9, 9), kBlue);
  EXPECT_EQ(canvas.At(5, 5), kGreen);
  EXPECT_EQ(canvas.CountOf(kGreen), 8 * 8);

  CRgn a;
  CRgn b;
  CRgn both;
  ASSERT_TRUE(a.CreateRectRgn(15, 15, 20, 20));
  ASSERT_TRUE(b.CreateRectRgn(20, 15, 25, 20));
  ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), SIMPLEREGION);
  CRect box;
  both.GetRgnBox(box);
  EXPECT_EQ(box, CRect(15, 15, 25, 20));
  EXPECT_TRUE(both.PtInRegion(24, 19));
  EXPECT_FALSE(both.PtInRegion(25, 19));
  canvas.dc.FillRgn(&both, &blue);
  EXPECT_EQ(canvas.CountOf(kBlue), 36 + 50);
  CRgn copy;
  copy.CreateRectRgn(0, 0, 1, 1);
  copy.CopyRgn(&both);
  EXPECT_TRUE(copy.EqualRgn(&both));
  copy.OffsetRgn(1, 0);
  EXPECT_FALSE(copy.EqualRgn(&both));
}

// GDI's gradient through the wrappers: the ends carry the vertex colours, and red falls while blue rises.
TEST(CDCFill, GradientFillRunsFromTheLeftColourToTheRightColour) {
  Canvas canvas(64, 4);
  TRIVERTEX vertices[2] = {{0, 0, 0xFF00, 0, 0, 0}, {64, 4, 0, 0, 0xFF00, 0}};
  GRADIENT_RECT mesh{0, 1};
  ASSERT_TRUE(canvas.dc.GradientFill(vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(canvas.At(0, 0), kRed);
  COLORREF last = canvas.At(63, 3);
  EXPECT_LE(GetRValue(last), 8);
  EXPECT_GE(GetBValue(last), 247);
  for (int x = 1; x < 64; ++x) {
    EXPECT_LE(GetRValue(canvas.At(x, 1)), GetRValue(canvas.At(x - 1, 1))) << x;
    EXPECT_GE(GetBValue(canvas.At(x, 1)), GetBValue(canvas.At(x - 1, 1))) << x;
  }
}

TEST(CDCFill, EdgesFocusRectanglesAndFrameControlsDrawTheSystemsLook) {
  Canvas canvas(40, 40);
  CRect edge(2, 2, 20, 20);
  ASSERT_TRUE(canvas.dc.DrawEdge(edge, EDGE_SUNKEN, BF_RECT));
  EXPECT_EQ(canvas.At(2, 2), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.At(19, 19), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(canvas.At(10, 10), kWhite);

  // A focus rectangle is drawn by inverting: twice leaves nothing.
  Canvas focus(20, 20);
  focus.dc.DrawFocusRect(CRect(2, 2, 18, 18));
  EXPECT_GT(focus.CountOf(kBlack), 0);
  focus.dc.DrawFocusRect(CRect(2, 2, 18, 18));
  EXPECT_EQ(focus.CountOf(kWhite), 400);

  Canvas check(20, 20);
  CRect box(0, 0, 16, 16);
  ASSERT_TRUE(check.dc.DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_GT(400 - check.CountOf(kWhite), 0);
  EXPECT_EQ(check.Inked() & box, check.Inked());
}

// ---- blits ----------------------------------------------------------------------------------------

TEST(CDCBlit, BitBltStretchBltPatBltTransparentBltAndAlphaBlendBetweenMemoryDCs) {
  Canvas source(4, 4);
  source.dc.FillSolidRect(0, 0, 2, 4, kRed);  // left half red, right half white
  Canvas target(16, 16);
  ASSERT_TRUE(target.dc.BitBlt(1, 1, 4, 4, &source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(target.At(1, 1), kRed);
  EXPECT_EQ(target.At(3, 1), kWhite);
  ASSERT_TRUE(target.dc.StretchBlt(8, 8, 8, 8, &source.dc, 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(target.At(11, 15), kRed);
  EXPECT_EQ(target.At(12, 15), kWhite);

  // PATINVERT with a white brush turns white black; twice restores.
  CBrush white(kWhite);
  target.dc.SelectObject(&white);
  target.dc.PatBlt(0, 0, 16, 1, PATINVERT);
  EXPECT_EQ(target.At(5, 0), kBlack);
  target.dc.PatBlt(0, 0, 16, 1, PATINVERT);
  EXPECT_EQ(target.At(5, 0), kWhite);
  target.dc.SelectStockObject(WHITE_BRUSH);

  Canvas over(4, 4);
  over.dc.FillSolidRect(0, 0, 4, 4, kBlue);
  ASSERT_TRUE(over.dc.TransparentBlt(0, 0, 4, 4, &source.dc, 0, 0, 4, 4, kWhite));
  EXPECT_EQ(over.At(0, 0), kRed);
  EXPECT_EQ(over.At(3, 3), kBlue);  // white left out

  Canvas blend(4, 4);
  blend.dc.FillSolidRect(0, 0, 4, 4, kBlack);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  ASSERT_TRUE(blend.dc.AlphaBlend(0, 0, 4, 4, &source.dc, 0, 0, 4, 4, half));
  EXPECT_NEAR(GetRValue(blend.At(0, 0)), 128, 2);
  EXPECT_EQ(GetGValue(blend.At(0, 0)), 0);
  EXPECT_NEAR(GetGValue(blend.At(3, 0)), 128, 2);
}

// ---- lines, shapes and selected objects -----------------------------------------------------------

TEST(CDCShapes, LinesAndRectanglesUseTheSelectedPenAndBrush) {
  Canvas canvas(20, 20);
  CPen red(PS_SOLID, 1, kRed);
  CBrush blue(kBlue);
  CPen* oldPen = canvas.dc.SelectObject(&red);
  CBrush* oldBrush = canvas.dc.SelectObject(&blue);
  ASSERT_NE(oldPen, nullptr);
  canvas.dc.MoveTo(0, 0);
  canvas.dc.LineTo(10, 0);
  EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(10, 0));
  EXPECT_EQ(canvas.At(9, 0), kRed);
  EXPECT_EQ(canvas.At(10, 0), kWhite);  // a line leaves out its last point
  canvas.dc.Rectangle(2, 2, 8, 8);
  EXPECT_EQ(canvas.At(2, 2), kRed);
  EXPECT_EQ(canvas.At(7, 7), kRed);
  EXPECT_EQ(canvas.At(5, 5), kBlue);
  POINT triangle[3] = {{10, 10}, {19, 10}, {10, 19}};
  canvas.dc.Polygon(triangle, 3);
  EXPECT_EQ(canvas.At(12, 12), kBlue);
  EXPECT_EQ(canvas.At(18, 18), kWhite);
  // Selecting back answers the objects that own the handles.
  EXPECT_EQ(canvas.dc.SelectObject(oldPen), &red);
  EXPECT_EQ(canvas.dc.SelectObject(oldBrush), &blue);
  EXPECT_EQ(canvas.dc.GetCurrentPen()->m_hObject, oldPen->m_hObject);
}

TEST(CDCShapes, RestoreDCPutsBackColoursObjectsAndOrigins) {
  Canvas canvas(10, 10);
  canvas.dc.SetTextColor(kBlue);
  int saved = canvas.dc.SaveDC();
  ASSERT_NE(saved, 0);
  CPen red(PS_SOLID, 1, kRed);
  HGDIOBJ before = canvas.dc.GetCurrentPen()->m_hObject;
  canvas.dc.SelectObject(&red);
  canvas.dc.SetTextColor(kGreen);
  canvas.dc.SetViewportOrg(3, 4);
  ASSERT_TRUE(canvas.dc.RestoreDC(saved));
  EXPECT_EQ(canvas.dc.GetTextColor(), kBlue);
  EXPECT_EQ(canvas.dc.GetViewportOrg(), CPoint(0, 0));
  EXPECT_EQ(canvas.dc.GetCurrentPen()->m_hObject, before);
}

// ---- mapping and clipping -------------------------------------------------------------------------

TEST(CDCMapping, OriginsMoveDrawingAndExtentsScaleIt) {
  Canvas canvas(40, 40);
  EXPECT_EQ(canvas.dc.SetViewportOrg(10, 5), CPoint(0, 0));
  canvas.dc.OffsetViewportOrg(1, 1);
  EXPECT_EQ(canvas.dc.GetViewportOrg(), CPoint(11, 6));
  canvas.dc.SetWindowOrg(1, 1);  // logical (1, 1) is device (11, 6)
  canvas.dc.FillSolidRect(1, 1, 1, 1, kRed);
  EXPECT_EQ(canvas.Inked(), CRect(11, 6, 12, 7));

  canvas.dc.SetMapMode(MM_ANISOTROPIC);
  canvas.dc.SetWindowExt(1, 1);
  canvas.dc.SetViewportExt(2, 3);
  EXPECT_EQ(canvas.dc.GetMapMode(), MM_ANISOTROPIC);
  CSize size(5, 5);
  canvas.dc.LPtoDP(size);
  EXPECT_EQ(size, CSize(10, 15));
  canvas.dc.DPtoLP(size);
  EXPECT_EQ(size, CSize(5, 5));
  CPoint point(1, 1);
  canvas.dc.LPtoDP(point);
  EXPECT_EQ(point, CPoint(11, 6));
}

TEST(CDCClipping, ClipRectanglesAndRegionsLimitWhatIsPainted) {
  Canvas canvas(20, 20);
  EXPECT_EQ(canvas.dc.IntersectClipRect(2, 2, 10, 10), SIMPLEREGION);
  EXPECT_EQ(canvas.dc.ExcludeClipRect(CRect(4, 4, 6, 6)), COMPLEXREGION);
  CRect box;
  canvas.dc.GetClipBox(box);
  EXPECT_EQ(box, CRect(2, 2, 10, 10));
  EXPECT_TRUE(canvas.dc.PtVisible(3, 3));
  EXPECT_FALSE(canvas.dc.PtVisible(4, 4));
  EXPECT_FALSE(canvas.dc.RectVisible(CRect(12, 12, 15, 15)));
  canvas.dc.FillSolidRect(0, 0, 20, 20, kRed);
  EXPECT_EQ(canvas.CountOf(kRed), 64 - 4);

  CRgn region;
  region.CreateEllipticRgn(0, 0, 20, 20);
  EXPECT_NE(canvas.dc.SelectClipRgn(&region), ERROR);
  canvas.dc.FillSolidRect(0, 0, 20, 20, kBlue);
  EXPECT_EQ(canvas.At(10, 10), kBlue);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_NE(canvas.dc.SelectClipRgn(nullptr), ERROR);
  canvas.dc.FillSolidRect(0, 0, 1, 1, kGreen);
  EXPECT_EQ(canvas.At(0, 0), kGreen);
}

// ---- text ------------------------------------------------------------------------------------------

// Text measured with Arial as the prefix has it installed; what is measured is what is drawn.
class CDCText : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(regular.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, _T("Arial")));
    LOGFONT logFont{};
    ASSERT_GT(regular.GetLogFont(&logFont), 0);
    logFont.lfWeight = FW_BOLD;
    ASSERT_TRUE(bold.CreateFontIndirect(&logFont));
  }
  CFont regular;
  CFont bold;
};

TEST_F(CDCText, ExtentsAddUpAndHaveTheFontsHeight) {
  Canvas canvas(200, 40);
  canvas.dc.SelectObject(&regular);
  TEXTMETRIC metrics{};
  ASSERT_TRUE(canvas.dc.GetTextMetrics(&metrics));
  // The em height asked for, give or take the rasteriser's rounding.
  EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, 16, 1);
  CSize w = canvas.dc.GetTextExtent(_T("W"), 1);
  CSize www = canvas.dc.GetTextExtent(CString(_T("WWW")));
  EXPECT_GT(w.cx, 8);
  EXPECT_EQ(www.cx, 3 * w.cx);
  EXPECT_EQ(www.cy, metrics.tmHeight);
  EXPECT_EQ(canvas.dc.GetTextExtent(_T(""), 0).cx, 0);
  CSize hello = canvas.dc.GetTextExtent(CString(_T("Hello")));
  CRect calc(0, 0, 0, 0);
  canvas.dc.DrawText(CString(_T("Hello")), calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(calc.Size(), hello);
  CString face;
  EXPECT_GT(canvas.dc.GetTextFace(face), 0);
  EXPECT_EQ(face, CString(_T("Arial")));

  canvas.dc.SelectObject(&bold);
  EXPECT_GT(canvas.dc.GetTextExtent(CString(_T("Hello"))).cx, hello.cx);
}

TEST_F(CDCText, TextIsDrawnInsideItsMeasuredBoxInTheTextColour) {
  Canvas canvas(200, 40);
  canvas.dc.SelectObject(&regular);
  canvas.dc.SetTextColor(kBlue);
  canvas.dc.SetBkMode(TRANSPARENT);
  CString text(_T("Hello World"));
  ASSERT_TRUE(canvas.dc.TextOut(10, 5, text));
  CSize extent = canvas.dc.GetTextExtent(text);
  CRect inked = canvas.Inked();
  CRect box(CPoint(10, 5), extent);
  EXPECT_EQ(inked & box, inked);
  EXPECT_GT(inked.Width(), extent.cx * 3 / 4);
  EXPECT_GT(canvas.CountOf(kBlue), 50);

  // Opaque ExtTextOut paints its whole rectangle in the background colour first.
  Canvas opaque(200, 40);
  opaque.dc.SelectObject(&regular);
  opaque.dc.SetBkColor(kGreen);
  CRect cell(0, 0, 100, 30);
  ASSERT_TRUE(opaque.dc.ExtTextOut(2, 2, ETO_OPAQUE, cell, text, nullptr));
  EXPECT_EQ(opaque.At(99, 29), kGreen);
  EXPECT_EQ(opaque.At(100, 29), kWhite);

  // DrawText centres a single line's measured box in its rectangle.
  Canvas centred(200, 40);
  centred.dc.SelectObject(&regular);
  CRect whole(0, 0, 200, 40);
  centred.dc.DrawText(text, whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  CRect expected(CPoint((200 - extent.cx) / 2, (40 - extent.cy) / 2), extent);
  expected.InflateRect(1, 1);
  EXPECT_EQ(centred.Inked() & expected, centred.Inked());
}

TEST(CDCFont, PointFontsAreMeasuredOnTheDCAndTheScreen) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, _T("Arial")));
  LOGFONT logFont{};
  font.GetLogFont(&logFont);
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(logFont.lfHeight, -::MulDiv(dpi, 10, 72));
  EXPECT_STREQ(logFont.lfFaceName, L"Arial");
}

// ---- icons and states -----------------------------------------------------------------------------

TEST(CDCIcons, IconsBitmapsAndTextAreDrawnThroughDrawIconAndDrawState) {
  Canvas canvas(64, 64);
  HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
  ASSERT_TRUE(canvas.dc.DrawIcon(0, 0, icon));
  EXPECT_NE(canvas.CountOf(kWhite), 64 * 64);

  Canvas image(4, 4);
  image.dc.FillSolidRect(0, 0, 4, 4, kRed);
  // DrawState selects the bitmap into a DC of its own: take it out of the canvas first.
  CBitmap spare;
  spare.CreateBitmap(1, 1, 1, 1, nullptr);
  image.dc.SelectObject(&spare);
  Canvas state(10, 10);
  ASSERT_TRUE(state.dc.DrawState(CPoint(2, 2), CSize(4, 4), &image.bitmap, DSS_NORMAL, nullptr));
  EXPECT_EQ(state.Inked(), CRect(2, 2, 6, 6));
  EXPECT_EQ(state.CountOf(kRed), 16);
  image.dc.SelectObject(&image.bitmap);

  Canvas text(80, 30);
  text.dc.SetTextColor(kBlue);
  ASSERT_TRUE(text.dc.DrawState(CPoint(0, 0), CSize(80, 30), _T("&Text"), DSS_NORMAL));
  EXPECT_GT(text.CountOf(kBlue), 10);
}

// ---- handles and their owners ---------------------------------------------------------------------

TEST(CGdiObjectHandles, AnOwnerDeletesItsHandleATemporaryWrapperNever) {
  HBITMAP loose = ::CreateBitmap(2, 2, 1, 32, nullptr);
  CBitmap* temporary = CBitmap::FromHandle(loose);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(CBitmap::FromHandle(loose), temporary);
  BITMAP info{};
  EXPECT_GT(temporary->GetBitmap(&info), 0);
  EXPECT_EQ(info.bmWidth, 2);
  AfxDeleteTempMaps();
  EXPECT_EQ(::GetObjectType(loose), static_cast<DWORD>(OBJ_BITMAP));

  HBITMAP owned = nullptr;
  {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(loose));
    EXPECT_EQ(CBitmap::FromHandle(loose), &bitmap);
    EXPECT_EQ(CGdiObject::FromHandle(loose), &bitmap);
    EXPECT_FALSE(bitmap.Attach(loose));  // holds one already
    owned = static_cast<HBITMAP>(bitmap.m_hObject);
  }
  EXPECT_EQ(::GetObjectType(owned), 0u);

  // A detached handle stays alive; a stock object may be taken by two objects.
  CPen pen(PS_SOLID, 1, kRed);
  HGDIOBJ kept = pen.Detach();
  EXPECT_EQ(pen.m_hObject, nullptr);
  EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));
  ::DeleteObject(kept);
  CFont first;
  CFont second;
  EXPECT_TRUE(first.CreateStockObject(DEFAULT_GUI_FONT));
  EXPECT_TRUE(second.CreateStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(first.m_hObject, second.m_hObject);
  // A Create... on an object that holds a handle fails and leaks nothing.
  EXPECT_FALSE(first.CreatePointFont(90, _T("Arial")));
}

TEST(CGdiObjectHandles, AFontOfAWindowIsFoundThroughItsOwner) {
  CWnd wnd;
  ASSERT_TRUE(cltest::CreateTopLevel(wnd, _T("font owner")));
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, wnd.m_hWnd, nullptr, nullptr, nullptr);
  CWnd* control = CWnd::FromHandle(edit);
  CFont font;
  font.CreatePointFont(120, _T("Arial"));
  control->SetFont(&font);
  EXPECT_EQ(control->GetFont(), &font);
  control->SetFont(nullptr);
  EXPECT_EQ(control->GetFont(), nullptr);
  wnd.DestroyWindow();
}

TEST(CGdiObjectHandles, PalettesAndBrushesDescribeThemselves) {
  Canvas canvas(2, 2);
  CPalette palette;
  ASSERT_TRUE(palette.CreateHalftonePalette(&canvas.dc));
  EXPECT_GT(palette.GetEntryCount(), 16);
  CBrush brush;
  ASSERT_TRUE(brush.CreateSolidBrush(kGreen));
  LOGBRUSH logBrush{};
  ASSERT_GT(brush.GetLogBrush(&logBrush), 0);
  EXPECT_EQ(logBrush.lbColor, kGreen);
  CPen pen(PS_DASH, 1, kBlue);
  LOGPEN logPen{};
  ASSERT_GT(pen.GetLogPen(&logPen), 0);
  EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(pen.GetObjectType(), static_cast<UINT>(OBJ_PEN));
}

// ---- the DCs of a window --------------------------------------------------------------------------

class PaintedWindow : public CWnd {
 public:
  int paints = 0;
  CRect painted;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++paints;
    painted = dc.m_ps.rcPaint;
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
    dc.FillSolidRect(&dc.m_ps.rcPaint, kRed);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWindow, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(CDCWindow, PaintClientAndWindowDCsBelongToTheirWindow) {
  PaintedWindow wnd;
  ASSERT_TRUE(cltest::CreateTopLevel(wnd, _T("painted"), WS_POPUP | WS_VISIBLE | WS_BORDER));
  wnd.UpdateWindow();
  wnd.Invalidate();
  wnd.UpdateWindow();
  EXPECT_GE(wnd.paints, 1);
  CRect client;
  wnd.GetClientRect(client);
  EXPECT_EQ(wnd.painted, client);
  {
    CClientDC dc(&wnd);
    ASSERT_NE(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetWindow(), &wnd);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
    CWindowDC whole(&wnd);
    ASSERT_NE(whole.m_hDC, nullptr);
  }
  CClientDC screen(nullptr);
  EXPECT_GT(screen.GetDeviceCaps(BITSPIXEL), 0);
  wnd.DestroyWindow();
}

}  // namespace
