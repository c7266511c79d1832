// The PSD view and the media views in real windows: decoded PSDs by pixel (and the screenshot
// preview_psd.png), a generated uncompressed AVI in the MCI window, and the media player control.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/classlib/win/ccreatecontext.h"
#include "platform/classlib/win/cdocument.h"
#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/harness/driver.h"
#include "preview/preview_host.h"
#include "preview/psd/psd_test_writer.h"
#include "preview/viewers/media_views.h"
#include "preview/viewers/fake_media_player/fake_player_registration.h"
#include "preview/viewers/psd_view.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

class HostFrame : public CFrameWnd, public PreviewHost {};
class HostDocument : public CDocument, public PreviewDocument {};
class PaneView : public CView {
 protected:
  void OnDraw(CDC*) override {}
};

CWinApp& App() {
  static CWinApp app(_T("MediaViewsTest"));
  return app;
}

// A frame and document of the test's own, with a pane-like view the viewers are made in, as the pane
// makes them: path to the document, the flag set, the view created, sized and shown.
class Host {
 public:
  Host(int width, int height) : width_(width), height_(height) {
    document.m_bAutoDelete = FALSE;
    frame = new HostFrame;
    CRect rect(0, 0, width, height);
    ::AdjustWindowRectEx(rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    frame->Create(nullptr, _T("Preview"), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                  RECT{40, 40, 40 + rect.Width(), 40 + rect.Height()});
    App().m_pMainWnd = frame;
    CCreateContext context;
    context.m_pCurrentDoc = &document;
    pane = new PaneView;
    pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}, frame, 0xE901, &context);
    harness::PumpMessages();
  }
  ~Host() {
    App().m_pMainWnd = nullptr;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    harness::PumpMessages();
  }
  CWnd* Show(CRuntimeClass* viewClass, const CString& path) {
    document.m_previewPath = path;
    frame->m_bPreviewOk = 1;
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = &document;
    CWnd* view = CFrameWnd::CreateView(pane, &context, 0xE902);
    if (view == nullptr) return nullptr;
    view->MoveWindow(0, 0, width_, height_);
    view->ShowWindow(SW_SHOW);
    view->UpdateWindow();
    harness::PumpMessages();
    return view;
  }

  HostFrame* frame = nullptr;
  HostDocument document;
  PaneView* pane = nullptr;

 private:
  int width_, height_;
};

class TempFile {
 public:
  TempFile(const wchar_t* name, const std::string& bytes) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    path_ = CString(folder) + name;
    HANDLE file = ::CreateFileW(path_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  ~TempFile() { ::DeleteFileW(path_); }
  const CString& Path() const { return path_; }

 private:
  CString path_;
};

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kMix = RGB(17, 34, 51);

// 120 x 80 pixels in four quadrants, red, green / blue, mix: the alpha channel (fourth) must not matter.
PsdTestImage Quadrants(uint16_t depth, bool packBits) {
  PsdTestImage image;
  image.depth = depth;
  image.packBits = packBits;
  image.columns = 120;
  image.rows = 80;
  const uint16_t f = depth == 16 ? 257 : 1;
  const uint16_t quadrant[4][4] = {{255, 0, 0, 10}, {0, 255, 0, 128}, {0, 0, 255, 0}, {17, 34, 51, 255}};
  image.channels.assign(4, std::vector<uint16_t>(image.columns * image.rows));
  for (uint32_t y = 0; y < image.rows; ++y)
    for (uint32_t x = 0; x < image.columns; ++x)
      for (int c = 0; c < 4; ++c)
        image.channels[c][y * image.columns + x] = uint16_t(quadrant[(y >= 40) * 2 + (x >= 60)][c] * f);
  return image;
}

bool Near(COLORREF c, int r, int g, int b) {
  return std::abs(GetRValue(c) - r) < 40 && std::abs(GetGValue(c) - g) < 40 && std::abs(GetBValue(c) - b) < 40;
}

// What a window shows at (x, y) of its client area.
COLORREF ShownAt(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return colour;
}

COLORREF BitmapAt(HBITMAP bitmap, int x, int y) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const COLORREF colour = ::GetPixel(memory, x, y);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

TEST(PsdView, RgbaAndSixteenBitPackBitsShowTheirPixelsAtTheirSizeInTheMiddle) {
  Host host(200, 160);
  for (auto [depth, packBits] : {std::pair<uint16_t, bool>{8, false}, {16, true}}) {
    SCOPED_TRACE(testing::Message() << "depth " << depth << " packBits " << packBits);
    TempFile file(L"media_views_test.psd", WritePsd(Quadrants(depth, packBits)));
    auto* view = static_cast<CPSDViewView*>(host.Show(RUNTIME_CLASS(CPSDViewView), file.Path()));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
    EXPECT_EQ(view->LoadResult(), 0);
    ASSERT_NE(view->GetBitmap(), nullptr);
    EXPECT_EQ(BitmapAt(view->GetBitmap(), 0, 0), kRed);
    EXPECT_EQ(BitmapAt(view->GetBitmap(), 119, 79), kMix);
    // Each quadrant of the picture, drawn from (40, 40) to (160, 120); white about it.
    EXPECT_EQ(ShownAt(view->m_hWnd, 70, 60), kRed);
    EXPECT_EQ(ShownAt(view->m_hWnd, 130, 60), kGreen);
    EXPECT_EQ(ShownAt(view->m_hWnd, 70, 100), kBlue);
    EXPECT_EQ(ShownAt(view->m_hWnd, 130, 100), kMix);
    EXPECT_EQ(ShownAt(view->m_hWnd, 20, 80), RGB(255, 255, 255));
    EXPECT_EQ(ShownAt(view->m_hWnd, 100, 140), RGB(255, 255, 255));
    // The black frame covers the client edges over the picture.
    CRect client;
    view->GetClientRect(client);
    const COLORREF edge = ShownAt(view->m_hWnd, 0, 40);
    EXPECT_NE(edge, kRed);
    EXPECT_EQ(ShownAt(view->m_hWnd, client.right - 1, 40), edge);
    EXPECT_EQ(ShownAt(view->m_hWnd, 50, client.bottom - 1), edge);
    view->DestroyWindow();
  }
}

TEST(PsdView, AFileWithoutAPictureIsReportedToThePaneAsDamagedOrNotAvailable) {
  Host host(200, 160);
  const std::string good = WritePsd(Quadrants(8, true));
  struct Case {
    const char* what;
    std::string bytes;
    int result;
    bool damaged;
  } cases[] = {{"truncated", good.substr(0, good.size() - 3), 0, true},
               {"bad header", "8BPX" + good.substr(4), -2, true},
               {"depth 7", good.substr(0, 22) + PsdBigEndian(7, 2) + good.substr(24), -9, true},
               // Sound files of kinds the decoder does not draw.
               {"ZIP data", good.substr(0, 26 + 12) + PsdBigEndian(2, 2), -10, false},
               {"32-bit samples", good.substr(0, 22) + PsdBigEndian(32, 2) + good.substr(24), -9, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFile file(L"media_views_test.psd", c.bytes);
    host.frame->m_bComponentMissing = 0;
    auto* view = static_cast<CPSDViewView*>(host.Show(RUNTIME_CLASS(CPSDViewView), file.Path()));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->LoadResult(), c.result);
    EXPECT_FALSE(view->HasPicture());
    EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
    EXPECT_EQ(host.frame->m_bComponentMissing, c.damaged ? 0u : 1u);
    view->DestroyWindow();
  }
  host.frame->m_bComponentMissing = 0;
  auto* missing = static_cast<CPSDViewView*>(host.Show(RUNTIME_CLASS(CPSDViewView), _T("C:\\no such file.psd")));
  EXPECT_EQ(missing->LoadResult(), -1);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(host.frame->m_bComponentMissing, 0u);
}

TEST(PsdView, ResizingKeepsTheFrameOnTheEdgesAndFitsThePictureAgain) {
  Host host(300, 240);
  TempFile file(L"media_views_test.psd", WritePsd(Quadrants(8, false)));
  CWnd* view = host.Show(RUNTIME_CLASS(CPSDViewView), file.Path());
  ASSERT_NE(view, nullptr);
  view->MoveWindow(0, 0, 120, 100);
  view->UpdateWindow();
  harness::PumpMessages();
  CRect frame;
  ::GetWindowRect(harness::Control(view->m_hWnd, CPSDViewView::kFrameId), frame);
  view->ScreenToClient(frame);
  CRect client;
  view->GetClientRect(client);
  EXPECT_TRUE(frame == client) << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom;
  // Shrunk to the 100 x 80 inside the margins: 100 x 67 from (10, 16).
  EXPECT_EQ(ShownAt(view->m_hWnd, 30, 30), kRed);
  EXPECT_EQ(ShownAt(view->m_hWnd, 90, 75), kMix);
  EXPECT_EQ(ShownAt(view->m_hWnd, 60, 8), RGB(255, 255, 255));
}

// A picture worth looking at: sky, sun and hills, 8-bit RGB in PackBits.
PsdTestImage Landscape(uint32_t width, uint32_t height) {
  PsdTestImage image;
  image.packBits = true;
  image.rows = height;
  image.columns = width;
  image.channels.assign(3, std::vector<uint16_t>(width * height));
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const double t = double(y) / height;
      double r = 60 + 150 * t, g = 110 + 110 * t, b = 200 + 40 * t;  // sky, pale towards the horizon
      const double sx = x - width * 0.7, sy = y - height * 0.32;
      if (sx * sx + sy * sy < (height * 0.12) * (height * 0.12)) r = 255, g = 214, b = 90;
      const double farHills = height * (0.62 + 0.06 * std::sin(x * 0.02));
      const double nearHills = height * (0.74 + 0.08 * std::sin(x * 0.013 + 2));
      if (y > farHills) r = 70, g = 130, b = 90;
      if (y > nearHills) r = 40 + 20 * t, g = 100 + 30 * t, b = 50;
      const size_t at = y * width + x;
      image.channels[0][at] = uint16_t(r);
      image.channels[1][at] = uint16_t(g);
      image.channels[2][at] = uint16_t(b);
    }
  }
  return image;
}

TEST(PsdView, Screenshot) {
  Host host(480, 320);
  TempFile file(L"media_views_landscape.psd", WritePsd(Landscape(480, 320)));
  CWnd* view = host.Show(RUNTIME_CLASS(CPSDViewView), file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  // Shrunk by 300 / 320 to the room inside the margins, from (15, 10): the sun's middle, (336, 102) of the
  // picture, shows at (330, 106).
  EXPECT_TRUE(Near(ShownAt(view->m_hWnd, 330, 106), 255, 214, 90));
  harness::CaptureWindow(host.frame->m_hWnd, "preview_psd");
}

// ---- media ------------------------------------------------------------------------------------------------

std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
std::string Chunk(const std::string& id, const std::string& data) {
  return id + Le(static_cast<uint32_t>(data.size()), 4) + data + (data.size() % 2 ? std::string(1, '\0') : "");
}
std::string List(const std::string& type, const std::string& data) { return Chunk("LIST", type + data); }

// An uncompressed AVI: frames of 24-bit pixels, each a different shade.
std::string UncompressedAvi(int width, int height, int frames) {
  const uint32_t frameBytes = static_cast<uint32_t>(((width * 3 + 3) & ~3) * height);
  const std::string avih = Le(100000, 4) + Le(frameBytes * 10, 4) + Le(0, 4) + Le(0x10, 4) + Le(frames, 4) +
                           Le(0, 4) + Le(1, 4) + Le(frameBytes, 4) + Le(width, 4) + Le(height, 4) + std::string(16, '\0');
  const std::string strh = std::string("vids") + "DIB " + Le(0, 4) + Le(0, 4) + Le(0, 4) + Le(1, 4) + Le(10, 4) +
                           Le(0, 4) + Le(frames, 4) + Le(frameBytes, 4) + Le(0xFFFFFFFF, 4) + Le(0, 4) +
                           Le(0, 2) + Le(0, 2) + Le(width, 2) + Le(height, 2);
  const std::string strf = Le(40, 4) + Le(width, 4) + Le(height, 4) + Le(1, 2) + Le(24, 2) + Le(0, 4) +
                           Le(frameBytes, 4) + std::string(16, '\0');
  const std::string hdrl = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
  std::string movi, idx1;
  uint32_t offset = 4;
  for (int f = 0; f < frames; ++f) {
    const std::string frame(frameBytes, static_cast<char>(40 + f * 50));
    idx1 += std::string("00db") + Le(0x10, 4) + Le(offset, 4) + Le(frameBytes, 4);
    movi += Chunk("00db", frame);
    offset += 8 + frameBytes;
  }
  const std::string body = "AVI " + hdrl + List("movi", movi) + Chunk("idx1", idx1);
  return Chunk("RIFF", body);
}

TEST(AviView, AnUncompressedAviOpensInAnMciWindowThatClosesWithTheView) {
  Host host(320, 240);
  TempFile file(L"media_views_test.avi", UncompressedAvi(64, 48, 4));
  auto* view = static_cast<CAviView*>(host.Show(RUNTIME_CLASS(CAviView), file.Path()));
  ASSERT_NE(view, nullptr);
  const HWND mci = view->m_hMCIWnd;
  ASSERT_NE(mci, nullptr);
  EXPECT_EQ(::GetParent(mci), view->m_hWnd);
  EXPECT_TRUE(::IsWindowVisible(mci));
  EXPECT_NE(MCIWndGetDeviceID(mci), 0u) << "MCI could not open the file";
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  view->DestroyWindow();
  harness::PumpMessages();
  EXPECT_FALSE(::IsWindow(mci));
}

TEST(AviView, AFileMciCannotOpenIsReportedWithoutAMessageBox) {
  Host host(320, 240);
  TempFile file(L"media_views_bad.avi", "RIFF\x04\0\0\0AVIX not a movie");
  auto* view = static_cast<CAviView*>(host.Show(RUNTIME_CLASS(CAviView), file.Path()));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  view->DestroyWindow();
}

TEST(MediaView, WithoutItsControlTheFileIsNotShownAndNothingThrows) {
  Host host(320, 240);
  TempFile file(L"media_views_test.wav", "RIFF");
  host.frame->m_bComponentMissing = 0;
  CWnd* view = nullptr;
  {
    mediatest::AbsentPlayer absent;
    view = host.Show(RUNTIME_CLASS(CMyMedia), file.Path());
  }
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(host.frame->m_bComponentMissing, 1u);  // the player is missing, not the file damaged
  EXPECT_EQ(static_cast<CMyMedia*>(view)->m_player.GetSafeHwnd(), nullptr);
  view->DestroyWindow();
}

TEST(MediaView, TheControlIsGivenTheFileFillsTheViewAndClosesOrItsAbsenceIsHandled) {
  Host host(320, 240);
  TempFile file(L"media_views_test.avi", UncompressedAvi(64, 48, 4));
  auto* view = static_cast<CMyMedia*>(host.Show(RUNTIME_CLASS(CMyMedia), file.Path()));
  ASSERT_NE(view, nullptr);
  const HWND player = view->m_player.GetSafeHwnd();
  if (player == nullptr) {
    EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
    std::printf("the media player control is not on this machine: the view reported the file as not shown\n");
  } else {
    EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
    CRect place, client;
    ::GetWindowRect(player, place);
    view->ScreenToClient(place);
    view->GetClientRect(client);
    EXPECT_TRUE(place == client) << place.right << "x" << place.bottom;
    EXPECT_GE(view->m_player.GetPlayState(), 0);  // the typed interface answers while it plays
  }
  view->DestroyWindow();
  harness::PumpMessages();
  EXPECT_FALSE(player != nullptr && ::IsWindow(player));
}

// ---- the media view over the stand-in control ------------------------------------------------------------

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(MediaView, TheControlIsGivenThePathAskedItsStateAndClosedWithTheView) {
  mediatest::FakePlayer fake;
  Host host(320, 240);
  TempFile file(L"media_views_test.wav", "RIFF");
  CWnd* view = host.Show(RUNTIME_CLASS(CMyMedia), file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  EXPECT_EQ(Narrow(mediatest::FakePlayer::Calls()), "created\nDoVerb -5 in a window\nput_invokeURLs 0\nput_URL " + Narrow(std::wstring(file.Path())) +
                                            "\nget_openState\nget_playState\nget_status\n");
  view->DestroyWindow();
  EXPECT_EQ(Narrow(mediatest::FakePlayer::Calls()), "close\n");
}

// Script commands inside the file may name addresses: the player is told to open none before it is given
// the file.
TEST(MediaView, ThePlayerOpensNoAddressOfTheFilesScriptCommands) {
  mediatest::FakePlayer fake;
  Host host(320, 240);
  for (const wchar_t* name : {L"media_views_clip.wmv", L"media_views_song.wma", L"media_views_show.asf"}) {
    TempFile file(name, "0&\xB2u\x8E" "f\xCF\x11");  // the start of an ASF header
    CWnd* view = host.Show(RUNTIME_CLASS(CMyMedia), file.Path());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
    const std::string calls = Narrow(mediatest::FakePlayer::Calls());
    EXPECT_EQ(calls.substr(0, calls.find("\nget_openState")),
              "created\nDoVerb -5 in a window\nput_invokeURLs 0\nput_URL " + Narrow(std::wstring(file.Path())));
    view->DestroyWindow();
    mediatest::FakePlayer::Calls();
  }
}

TEST(MediaView, AControlThatRefusesTheFileIsReportedWithoutAnException) {
  mediatest::FakePlayer fake;
  Host host(320, 240);
  TempFile file(L"media_views_fail.wav", "RIFF");
  CWnd* view = host.Show(RUNTIME_CLASS(CMyMedia), file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 0u);
  EXPECT_EQ(Narrow(mediatest::FakePlayer::Calls()), "created\nDoVerb -5 in a window\nput_invokeURLs 0\nput_URL " + Narrow(std::wstring(file.Path())) + "\n");
  view->DestroyWindow();
  EXPECT_EQ(Narrow(mediatest::FakePlayer::Calls()), "close\n");
}

TEST(MediaView, ThePlayerIsToldNoNetworkAddressAndIsGivenNoPlaylist) {
  mediatest::FakePlayer fake;
  Host host(320, 240);
  TempFile file(L"media_views_song.wma", "RIFF");
  CWnd* view = host.Show(RUNTIME_CLASS(CMyMedia), file.Path());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(host.frame->m_bPreviewOk, 1u);
  // What the player hears from its site before it opens an address: a local file is the system's to
  // answer; every network address, share and device is refused.
  EXPECT_EQ(mediatest::FakePlayer::Follow(std::wstring(file.Path()).c_str()), 1);
  for (const wchar_t* outside : {L"http://example.com/a.wmv", L"mms://media.example.com/live", L"\\\\host\\share\\a.wma",
                                 L"file:////host/share/a.wma", L"rtsp://media.example.com/a"})
    EXPECT_EQ(mediatest::FakePlayer::Follow(outside), URLPOLICY_DISALLOW) << outside;
  view->DestroyWindow();
  mediatest::FakePlayer::Calls();

  // A playlist, by its name or by its first bytes, never reaches the player; the pane does not call it
  // damaged.
  const std::string asx = "<ASX version=\"3.0\"><Entry><Ref href=\"http://example.com/a.wmv\"/></Entry></ASX>\r\n";
  const std::pair<const wchar_t*, std::string> playlists[] = {
      {L"media_views_list.asx", asx}, {L"media_views_list.wvx", asx}, {L"media_views_list.wmx", "RIFF"},
      {L"media_views_list.wmv", asx}, {L"media_views_list.mp3", "[Reference]\r\nRef1=http://example.com/a.asf\r\n"}};
  for (const auto& [name, bytes] : playlists) {
    TempFile list(name, bytes);
    host.frame->m_bComponentMissing = 0;
    view = host.Show(RUNTIME_CLASS(CMyMedia), list.Path());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(host.frame->m_bPreviewOk, 0u) << Narrow(name);
    EXPECT_EQ(host.frame->m_bComponentMissing, 1u) << Narrow(name);
    EXPECT_EQ(Narrow(mediatest::FakePlayer::Calls()).find("put_URL"), std::string::npos) << Narrow(name);
    view->DestroyWindow();
    mediatest::FakePlayer::Calls();
  }
}

}  // namespace
