// The picture viewers in real windows: every picture type through CxImage (the system's decoder and
// ours), the image view's strip and its failures, icons and metafiles in the picture view, and the
// thumbnails of a folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "preview/image_file_type.h"
#include "app/ex_style_doc.h"
#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/harness/driver.h"
#include "platform/standins/cximage.h"
#include "preview/main_preview_view.h"
#include "preview/preview_test_support.h"
#include "preview/viewers/image_view.h"
#include "preview/viewers/text_view.h"
#include "preview/viewers/thumb_view.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

CString Sample(const char* name) {
  return CString(DORVANE_PICTURE_SAMPLES) + _T("\\") + CString(name);
}

// The viewer created as the pane creates it (the path to the document, the flag set), shown and sized
// below the pane's band.
CWnd* Show(previewtest::PaneWindow& w, CRuntimeClass* viewClass, const CString& path) {
  w.document->m_previewPath = path;
  w.frame->m_bPreviewOk = 1;
  CCreateContext context;
  context.m_pNewViewClass = viewClass;
  context.m_pCurrentDoc = w.document;
  CWnd* view = CFrameWnd::CreateView(w.pane, &context, 0xE902);
  if (view == nullptr) return nullptr;
  CRect client;
  w.pane->GetClientRect(client);
  client.top += CMainPreviewView::kViewerTop;
  view->MoveWindow(client);
  view->ShowWindow(SW_SHOW);
  view->UpdateWindow();
  harness::PumpMessages();
  return view;
}

// ---- pixels -----------------------------------------------------------------------------------------

using previewtest::Pixels;
using previewtest::ReadBitmap;

// The picture drawn at its own size.
Pixels Drawn(const CxImage& picture) {
  const int w = static_cast<int>(picture.GetWidth()), h = static_cast<int>(picture.GetHeight());
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  EXPECT_TRUE(picture.Stretch(memory, 0, 0, w, h, SRCCOPY));
  ::SelectObject(memory, old);
  Pixels out = ReadBitmap(bitmap, RECT{0, 0, w, h});
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return out;
}

bool IsWhite(COLORREF pixel) { return pixel == RGB(255, 255, 255); }

bool AllWhite(const previewtest::Grab& grab) {
  for (int y = 0; y < grab.height; ++y) {
    for (int x = 0; x < grab.width; ++x) {
      if (!IsWhite(grab.At(x, y))) return false;
    }
  }
  return true;
}

// The expected pixels the sample script wrote beside a picture (NAME.rgb).
Pixels Expected(const char* name) {
  std::ifstream in(std::string(DORVANE_PICTURE_SAMPLES) + "/" + name + ".rgb", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Pixels out;
  if (bytes.size() < 8) return out;
  out.width = bytes[0] | bytes[1] << 8;
  out.height = bytes[4] | bytes[5] << 8;
  for (size_t i = 8; i + 2 < bytes.size(); i += 3) out.bgr.push_back(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  return out;
}

// The largest and the mean difference of a channel between two pictures of one size.
struct Difference {
  int largest = 0;
  double mean = 0;
};
Difference Compare(const Pixels& a, const Pixels& b) {
  Difference d;
  const size_t n = std::min(a.bgr.size(), b.bgr.size());
  for (size_t i = 0; i < n; ++i) {
    for (int shift : {0, 8, 16}) {
      const int channel = std::abs(static_cast<int>((a.bgr[i] >> shift) & 255) - static_cast<int>((b.bgr[i] >> shift) & 255));
      d.largest = std::max(d.largest, channel);
      d.mean += channel;
    }
  }
  if (n != 0) d.mean /= 3.0 * static_cast<double>(n);
  return d;
}

// ---- the picture --------------------------------------------------------------------------------------

TEST(CxImage, EverySystemDecodedTypeGivesThePicture) {
  // Lossless types exactly as written; GIF and JPEG as Pillow reads them (JPEG's rounding may differ).
  const struct { const char* name; const char* expected; uint32_t type; double tolerance; } cases[] = {
      {"small.bmp", "small", 1, 0},     {"small.png", "small", 4, 0},    {"small.tif", "small", 6, 0},
      {"small.gif", "small.gif", 2, 0}, {"small.jpg", "small.jpg", 3, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CString path = Sample(c.name);
    ASSERT_EQ(IsSupportedImageFile(path.ToUtf16()), c.type);
    CxImage picture(path, c.type);
    ASSERT_TRUE(picture.IsValid()) << picture.GetLastError().ToUtf16().size();
    ASSERT_EQ(picture.GetWidth(), 37u);
    ASSERT_EQ(picture.GetHeight(), 23u);
    const Difference d = Compare(Drawn(picture), Expected(c.expected));
    EXPECT_LE(d.mean, c.tolerance);
    if (c.tolerance == 0) {
      EXPECT_EQ(d.largest, 0);
    }
  }
  CxImage icon(Sample("small.ico"), 5);
  ASSERT_TRUE(icon.IsValid());
  EXPECT_EQ(icon.GetWidth(), 32u);
  EXPECT_EQ(icon.GetHeight(), 32u);
}

TEST(CxImage, OurOwnDecodersGiveThePictureToo) {
  // Lossy JPEG 2000 decodes through a floating-point transform, which this 32-bit build rounds in other
  // registers than opj_decompress on the build machine: a channel may differ by one.
  const struct { const char* name; int tolerance; } cases[] = {
      {"rgb.tga", 0}, {"rgba.tga", 0}, {"rgb.pcx", 0}, {"mapped.pcx", 0}, {"rgb.ppm", 0}, {"bgr.ras", 0},
      {"pattern.wbmp", 0}, {"rgb.j2k", 0}, {"rgba.jp2", 0}, {"lossy.jp2", 1}, {"lossy_grey.j2c", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CString path = Sample(c.name);
    CxImage picture(path, IsSupportedImageFile(path.ToUtf16()));
    ASSERT_TRUE(picture.IsValid());
    const Pixels expected = Expected(c.name);
    ASSERT_EQ(picture.GetWidth(), static_cast<uint32_t>(expected.width));
    ASSERT_EQ(picture.GetHeight(), static_cast<uint32_t>(expected.height));
    EXPECT_LE(Compare(Drawn(picture), expected).largest, c.tolerance);
  }
}

TEST(CxImage, WhatCannotBeDecodedIsNotValid) {
  for (const char* name : {"empty.png", "fake.jp2", "no such file.png"}) {
    SCOPED_TRACE(name);
    const CString path = Sample(name);
    CxImage picture(path, IsSupportedImageFile(path.ToUtf16()));
    EXPECT_FALSE(picture.IsValid());
    EXPECT_EQ(picture.GetWidth(), 0u);
    EXPECT_FALSE(picture.GetLastError().IsEmpty());
  }
  CxImage photo(Sample("photo.png"), 4);
  ASSERT_TRUE(photo.IsValid());
  photo.Destroy();
  EXPECT_FALSE(photo.IsValid());
  EXPECT_EQ(photo.GetHeight(), 0u);
}

// ---- the image view ------------------------------------------------------------------------------------

// The smallest rectangle holding the pixels the test picks; empty when none.
RECT Where(const previewtest::Grab& grab, const std::function<bool(COLORREF)>& pick) {
  RECT r{grab.width, grab.height, 0, 0};
  for (int y = 0; y < grab.height; ++y) {
    for (int x = 0; x < grab.width; ++x) {
      if (!pick(grab.At(x, y))) continue;
      r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
      r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
    }
  }
  return r;
}
bool Near(COLORREF c, int r, int g, int b) {
  return std::abs(GetRValue(c) - r) < 40 && std::abs(GetGValue(c) - g) < 40 && std::abs(GetBValue(c) - b) < 40;
}

TEST(ImageView, APhotoIsDrawnAtItsSizeCentredAndKeptBetweenPaints) {
  previewtest::PaneWindow w(600, 400);
  auto* view = dynamic_cast<CImage_View*>(Show(w, RUNTIME_CLASS(CImage_View), Sample("photo.png")));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
  const CxImage* decoded = view->GetPicture();
  ASSERT_NE(decoded, nullptr);
  // 480 x 320 fits the view: drawn at its own size, centred.
  const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
  const RECT drawn = Where(shown, [](COLORREF c) { return !IsWhite(c); });
  EXPECT_EQ(drawn.right - drawn.left, 480);
  EXPECT_EQ(drawn.bottom - drawn.top, 320);
  EXPECT_NEAR(drawn.left, shown.width - drawn.right, 1);
  EXPECT_NEAR(drawn.top, shown.height - drawn.bottom, 1);
  EXPECT_EQ(view->GetPicture(), decoded);  // painted again from the same picture
}

// A 2:1 picture whose square stays square, and a phone's upright 1200 x 1600 photo wholly in the pane with
// both its bands: measured on what the view shows, in panes of several shapes.
TEST(ImageView, PicturesKeepTheirProportionsAndShowWhole) {
  for (const SIZE pane : {SIZE{600, 400}, SIZE{420, 520}, SIZE{900, 300}}) {
    SCOPED_TRACE(::testing::Message() << pane.cx << " x " << pane.cy);
    {
      previewtest::PaneWindow w(pane.cx, pane.cy);
      CWnd* view = Show(w, RUNTIME_CLASS(CImage_View), Sample("two_to_one.png"));
      ASSERT_NE(view, nullptr);
      const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
      const RECT all = Where(shown, [](COLORREF c) { return !IsWhite(c); });
      const RECT square = Where(shown, [](COLORREF c) { return Near(c, 220, 20, 20); });
      EXPECT_NEAR(all.right - all.left, 2 * (all.bottom - all.top), 2);
      EXPECT_NEAR(square.right - square.left, square.bottom - square.top, 2);
      EXPECT_NEAR(4 * (square.right - square.left), all.right - all.left, 4);  // a quarter of its width
      EXPECT_GE(all.left, 0);
      EXPECT_LE(all.right, shown.width);
      EXPECT_GE(all.top, 0);
      EXPECT_LE(all.bottom, shown.height);
    }
    previewtest::PaneWindow w(pane.cx, pane.cy);
    CWnd* view = Show(w, RUNTIME_CLASS(CImage_View), Sample("phone.png"));
    ASSERT_NE(view, nullptr);
    const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
    const RECT all = Where(shown, [](COLORREF c) { return !IsWhite(c); });
    const RECT top = Where(shown, [](COLORREF c) { return Near(c, 240, 220, 40); });
    const RECT bottom = Where(shown, [](COLORREF c) { return Near(c, 30, 160, 60); });
    const int height = all.bottom - all.top;
    EXPECT_GT(all.top, 0);  // the whole photo inside the view, from its top band to its bottom one
    EXPECT_LT(all.bottom, shown.height);
    EXPECT_NEAR(3 * height, 4 * (all.right - all.left), 4);
    EXPECT_NEAR(top.top, all.top, 1);
    EXPECT_NEAR(bottom.bottom, all.bottom, 1);
    EXPECT_NEAR(bottom.bottom - bottom.top, height / 10, 2);  // 160 of 1600 rows
  }
}

TEST(ImageView, AZeroBytePngABrokenJpeg2000AndAMissingFileClearTheFlagAndShowNothing) {
  for (const char* name : {"empty.png", "fake.jp2", "gone.jpg"}) {
    SCOPED_TRACE(name);
    previewtest::PaneWindow w(300, 200);
    CWnd* view = Show(w, RUNTIME_CLASS(CImage_View), Sample(name));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(w.frame->m_bPreviewOk, 0u);
    const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
    EXPECT_TRUE(AllWhite(shown));
  }
  // A name that is no picture is left alone: the flag stays.
  previewtest::PaneWindow w(300, 200);
  Show(w, RUNTIME_CLASS(CImage_View), Sample("thumbs\\notes.txt"));
  EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
}

TEST(ImageView, OurOwnTypesShowToo) {
  for (const char* name : {"rgb.tga", "rgb.jp2", "rgb.j2k"}) {
    SCOPED_TRACE(name);
    previewtest::PaneWindow w(300, 200);
    CWnd* view = Show(w, RUNTIME_CLASS(CImage_View), Sample(name));
    EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
    // 37 x 23 at its own size, in the middle.
    const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
    EXPECT_FALSE(IsWhite(shown.At(shown.width / 2, shown.height / 2)));
  }
}

// ---- the picture view ------------------------------------------------------------------------------------

// A metafile of w x h pixels at 96 dots an inch: blue all over, a red square in its middle (the system
// writes metafiles).
CString WriteMetafile(int w, int h) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const CString path = CString(folder) + _T("picture_views_test.emf");
  const RECT frame{0, 0, w * 2540 / 96, h * 2540 / 96};
  HDC dc = ::CreateEnhMetaFileW(nullptr, path, &frame, nullptr);
  HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 200)), red = ::CreateSolidBrush(RGB(220, 0, 0));
  const int side = std::min(w, h) / 2;
  RECT all{0, 0, w, h}, square{w / 2 - side / 2, h / 2 - side / 2, w / 2 + side / 2, h / 2 + side / 2};
  ::FillRect(dc, &all, blue);
  ::FillRect(dc, &square, red);
  ::DeleteObject(blue);
  ::DeleteObject(red);
  ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc));
  return path;
}

// Icons of two sizes (the larger one's directory writes its 256 pixels as 0) and metafiles of three shapes,
// in panes of 600, 380 and 200 pixels: each drawn whole in its own proportions, centred, never larger than
// itself; the metafile's red square stays square.
TEST(TextView, IconsAndMetafilesKeepTheirProportionsAndShowWhole) {
  const struct {
    int w, h;
    const char* icon;
  } shapes[] = {{32, 32, "small.ico"}, {256, 256, "large.ico"}, {100, 100, nullptr}, {240, 80, nullptr}, {60, 180, nullptr}};
  for (const SIZE pane : {SIZE{600, 400}, SIZE{380, 300}, SIZE{200, 150}}) {
    for (const auto& shape : shapes) {
      SCOPED_TRACE(::testing::Message() << shape.w << " x " << shape.h << " in " << pane.cx << " x " << pane.cy);
      const bool icon = shape.icon != nullptr;
      const CString path = icon ? Sample(shape.icon) : WriteMetafile(shape.w, shape.h);
      previewtest::PaneWindow w(pane.cx, pane.cy);
      auto* view = dynamic_cast<CTextView*>(Show(w, RUNTIME_CLASS(CTextView), path));
      ASSERT_NE(view, nullptr);
      EXPECT_EQ(w.frame->m_bPreviewOk, 1u);
      ASSERT_NE(view->m_pPicture, nullptr);
      const previewtest::Grab shown = previewtest::GrabClient(view->m_hWnd);
      const RECT all = Where(shown, [](COLORREF c) { return !IsWhite(c); });
      const int width = all.right - all.left, height = all.bottom - all.top;
      ASSERT_GT(width, 0);
      EXPECT_NEAR(width * shape.h, height * shape.w, 2 * std::max(shape.w, shape.h));  // within two pixels
      EXPECT_LE(width, shape.w);
      EXPECT_GE(all.left, 0);
      EXPECT_LE(all.right, shown.width);
      EXPECT_GE(all.top, 0);
      EXPECT_LE(all.bottom, shown.height);
      EXPECT_NEAR(all.left, shown.width - all.right, 2);
      EXPECT_NEAR(all.top, shown.height - all.bottom, 2);
      if (icon) continue;
      const RECT square = Where(shown, [](COLORREF c) { return Near(c, 220, 0, 0); });
      EXPECT_NEAR(square.right - square.left, square.bottom - square.top, 2);
      ::DeleteFileW(path);
    }
  }
}

TEST(TextView, ABadFileClearsTheFlag) {
  previewtest::PaneWindow w(300, 200);
  auto* bad = dynamic_cast<CTextView*>(Show(w, RUNTIME_CLASS(CTextView), Sample("empty.png")));
  EXPECT_EQ(w.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(bad->m_pPicture, nullptr);
}

// ---- the thumbnails ---------------------------------------------------------------------------------------

std::vector<std::wstring> Labels(CThumbView* view) { return harness::Items(view->m_hWnd); }

Pixels Tile(CThumbView* view, int i) { return previewtest::ImageListPixels(view->m_imageList.m_hImageList, i); }

// Points the document at pictures of a folder, as LoadThumbnailFolder leaves them.
void PointAt(PreviewDocument& document, const CString& folder, const std::vector<CString>& names) {
  document.m_thumbFolder = folder;
  document.m_thumbFiles.RemoveAll();
  for (const CString& name : names) document.m_thumbFiles.Add(name);
}

TEST(ThumbView, AFolderOfThreePicturesAndAnotherFileGivesTilesOneToThree) {
  previewtest::PaneWindow w(600, 400);
  auto* view = dynamic_cast<CThumbView*>(Show(w, RUNTIME_CLASS(CThumbView), CString()));
  ASSERT_NE(view, nullptr);
  view->OnInitialUpdate();
  EXPECT_EQ(harness::ControlKind(view->m_hWnd), L"SysListView32");
  w.document->LoadThumbnailFolder(Sample("thumbs"));  // three pictures and a note
  view->LoadThumbnails();
  harness::PumpMessages();
  EXPECT_EQ(Labels(view), (std::vector<std::wstring>{L"1", L"2", L"3"}));
  EXPECT_EQ(view->m_imageList.GetImageCount(), 3);

  // slide1 400 x 300 fills its tile; slide2 1000 x 250 is a strip at y 40 to 80; slide3 300 x 600 a band at
  // x 50 to 110. Every tile is white with a black frame.
  const Pixels full = Tile(view, 0), strip = Tile(view, 1), band = Tile(view, 2);
  ASSERT_EQ(full.width, 160);
  ASSERT_EQ(full.height, 120);
  for (const Pixels* tile : {&full, &strip, &band}) {
    EXPECT_EQ(tile->At(0, 0), 0u);
    EXPECT_EQ(tile->At(159, 119), 0u);
    EXPECT_EQ(tile->At(80, 0), 0u);
  }
  EXPECT_FALSE(IsWhite(full.At(80, 20)));
  EXPECT_TRUE(IsWhite(strip.At(80, 20)));
  EXPECT_FALSE(IsWhite(strip.At(80, 60)));
  EXPECT_TRUE(IsWhite(strip.At(80, 100)));
  EXPECT_TRUE(IsWhite(band.At(20, 60)));
  EXPECT_FALSE(IsWhite(band.At(80, 60)));
  EXPECT_TRUE(IsWhite(band.At(140, 60)));
}

TEST(ThumbView, APictureThatDoesNotDecodeKeepsItsNumberAndABlankTileAndAnEmptyFolderGivesNothing) {
  previewtest::PaneWindow w(600, 400);
  auto* view = dynamic_cast<CThumbView*>(Show(w, RUNTIME_CLASS(CThumbView), CString()));
  ASSERT_NE(view, nullptr);
  view->OnInitialUpdate();
  PointAt(*w.document, CString(DORVANE_PICTURE_SAMPLES), {_T("empty.png"), _T("small.png")});
  view->LoadThumbnails();
  EXPECT_EQ(Labels(view), (std::vector<std::wstring>{L"1", L"2"}));
  const Pixels blank = Tile(view, 0);
  EXPECT_TRUE(std::all_of(blank.bgr.begin(), blank.bgr.end(), IsWhite));
  EXPECT_EQ(Tile(view, 1).At(0, 0), 0u);

  PointAt(*w.document, Sample("nowhere"), {});
  view->LoadThumbnails();
  EXPECT_TRUE(Labels(view).empty());
  EXPECT_EQ(view->m_imageList.GetImageCount(), 0);
}

}  // namespace
