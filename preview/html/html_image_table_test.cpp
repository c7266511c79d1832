// The image table's fetching: the cap on concurrent fetches, one fetch per shared picture, the reports,
// and a teardown that waits for every running fetch and its report.
#include "preview/html/html_image_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_element.h"
#include "preview/html/html_picture_size.h"

namespace htmlview {
namespace {

// A host whose fetches block until released; it records how many run at once and every report.
class GatedHost : public NullHtmlCallbacks {
 public:
  uint8_t* ReadBinary(const char16_t* url, int* size) override {
    std::unique_lock<std::mutex> hold(lock);
    ++fetches;
    ++running;
    if (running > maxRunning) maxRunning = running;
    changed.notify_all();
    changed.wait(hold, [this] { return open; });
    --running;
    if (std::u16string(url) == u"missing") return nullptr;
    if (std::u16string(url) == u"huge") throw std::bad_alloc();  // no memory for this picture
    *size = 3;
    return new uint8_t[4]{1, 2, 3, 0};
  }
  void OnImagesLoaded(int, int) override {
    // A slow report: teardown must still wait for it.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::lock_guard<std::mutex> hold(lock);
    ++reports;
  }

  void WaitForRunning(int n) {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [&] { return running >= n; });
  }
  void Open() {
    std::lock_guard<std::mutex> hold(lock);
    open = true;
    changed.notify_all();
  }
  int Get(const int& field) {
    std::lock_guard<std::mutex> hold(lock);
    return field;
  }

  std::mutex lock;
  std::condition_variable changed;
  bool open = false;
  int fetches = 0, running = 0, maxRunning = 0, reports = 0;
};

// Decodes any data to a picture 200 x 50.
class FixedDecoder : public HtmlImageDecoder {
 public:
  HtmlBitmap Decode(const uint8_t*, size_t size, int& w, int& h) override {
    w = 200;
    h = 50;
    return size > 0 ? ++made : 0;
  }
  void Free(HtmlBitmap) override { ++freed; }
  HtmlBitmap made = 0;
  int freed = 0;
};

std::u16string Name(int i) { return u"img" + std::u16string(1, static_cast<char16_t>(u'a' + i)); }

TEST(HtmlImageTableTest, NeverMoreThanTheCapFetchAtOnceAndAllAreReported) {
  GatedHost host;
  {
    HtmlImageTable table(&host);
    for (int i = 0; i < 25; ++i) table.AddImage(Name(i), 0);
    host.WaitForRunning(kMaxImageFetches);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(host.Get(host.running), kMaxImageFetches);
    host.Open();
    while (table.FetchedCount() < 25) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(host.maxRunning, kMaxImageFetches);
  EXPECT_EQ(host.fetches, 25);
  // Nobody took the first report: it stands for all of them.
  EXPECT_EQ(host.reports, 1);
}

// A host whose fetches find nothing at once, as on a page naming thousands of missing files.
class MissingHost : public NullHtmlCallbacks {
 public:
  uint8_t* ReadBinary(const char16_t*, int*) override { return nullptr; }
  void OnImagesLoaded(int, int) override { ++reports; }
  std::atomic<int> reports{0};
};

// Records the address of every fetch.
class RecordingHost : public NullHtmlCallbacks {
 public:
  uint8_t* ReadBinary(const char16_t* url, int*) override {
    std::lock_guard<std::mutex> hold(lock);
    asked.push_back(url);
    return nullptr;
  }
  std::mutex lock;
  std::vector<std::u16string> asked;
};

TEST(HtmlImageTableTest, PicturesOutsideTheMachineAreFetchedOnlyWhereThePageAllowsIt) {
  const std::u16string outside[] = {u"http://h/a.gif", u"HTTPS://h/b.png", u"ftp://h/c.gif", u"//h/s/d.gif",
                                    u"file:///%5C%5Ch/s/e.gif"};
  const std::u16string local[] = {u"file:///C:/t/a.gif", u"b.gif", u"res://app.dll/c.gif"};
  RecordingHost host;
  {
    HtmlImageTable table(&host);
    for (const auto& url : outside) table.AddImage(url, 0);
    for (const auto& url : local) table.AddImage(url, 0);
    EXPECT_EQ(table.Count(), 8);
    EXPECT_EQ(table.Find(u"http://h/a.gif", 0), -1);  // not remembered as fetched
    // A page the user went to on the network fetches its pictures there.
    table.SetFetchOutside(true);
    EXPECT_EQ(table.AddImage(u"http://h/a.gif", 0), 8);
    while (table.FetchedCount() < 9) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::sort(host.asked.begin(), host.asked.end());
  EXPECT_EQ(host.asked, (std::vector<std::u16string>{u"b.gif", u"file:///C:/t/a.gif", u"http://h/a.gif",
                                                     u"res://app.dll/c.gif"}));
}

TEST(HtmlImageTableTest, AReportWaitingToBeTakenStandsForEveryFetchEndedMeanwhile) {
  MissingHost host;
  HtmlImageTable table(&host);
  for (int i = 0; i < 2000; ++i) table.AddImage(u"missing" + std::u16string(1, static_cast<char16_t>(0x100 + i)), 0);
  while (table.FetchedCount() < 2000 || host.reports < 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(host.reports, 1);
  int loaded = 0, total = 0;
  table.TakeReport(loaded, total);
  EXPECT_EQ(loaded, 2000);
  EXPECT_EQ(total, 2000);
  // Taken, the next fetch to end reports again, with the counts read when it is taken.
  table.AddImage(u"one more", 0);
  while (host.reports < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  table.TakeReport(loaded, total);
  EXPECT_EQ(loaded, 2001);
  EXPECT_EQ(total, 2001);
  EXPECT_EQ(host.reports, 2);
}

TEST(HtmlImageTableTest, TeardownWaitsForRunningFetchesAndTheirReportsAndDropsQueuedOnes) {
  GatedHost host;
  auto table = std::make_unique<HtmlImageTable>(&host, 2);
  for (int i = 0; i < 6; ++i) table->AddImage(Name(i), 0);
  host.WaitForRunning(2);
  std::thread opener([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    host.Open();
  });
  table.reset();  // blocks until both running fetches have ended and the report has returned
  EXPECT_EQ(host.Get(host.reports), 1);
  EXPECT_EQ(host.Get(host.fetches), 2);
  opener.join();
}

TEST(HtmlImageTableTest, SharesOneEntryAndOneFetchByUrlAndKey) {
  GatedHost host;
  host.Open();
  HtmlImageTable table(&host);
  auto a = CreateImageElement(u"a.gif", 0, 0, 0, 0, table, -1, 0, 0, 0);
  auto b = CreateImageElement(u"a.gif", 0, 0, 0, 0, table, -1, 0, 0, 0);
  auto c = CreateImageElement(u"a.gif", 0, 0, 0, 0, table, -1, 0, 1, 0);
  EXPECT_EQ(a->imageIndex, b->imageIndex);
  EXPECT_NE(a->imageIndex, c->imageIndex);
  EXPECT_EQ(table.Count(), 2);
  ASSERT_TRUE(table.DecodeImage(0, true));
  ASSERT_TRUE(table.DecodeImage(1, true));
  table.Shutdown();
  EXPECT_EQ(host.fetches, 2);
}

TEST(HtmlImageTableTest, DecodesOnceFetchedAndFallsBackToThePlaceholder) {
  GatedHost host;
  FixedDecoder decoder;
  HtmlImageTable table(&host);
  table.SetDecoder(&decoder);
  const int good = table.AddImage(u"good", 0);
  const int missing = table.AddImage(u"missing", 0);
  const int huge = table.AddImage(u"huge", 0);
  host.WaitForRunning(3);
  EXPECT_FALSE(table.DecodeImage(good, false));  // still fetching
  EXPECT_EQ(table.Decoded(good), nullptr);
  host.Open();
  ASSERT_TRUE(table.DecodeImage(good, true));
  ASSERT_TRUE(table.DecodeImage(missing, true));
  EXPECT_EQ(table.Decoded(good)->width, 200);
  EXPECT_NE(table.Decoded(good)->bitmap, 0u);
  EXPECT_EQ(table.Decoded(good)->data, std::vector<uint8_t>({1, 2, 3}));  // bytes as fetched
  EXPECT_EQ(table.Decoded(missing)->bitmap, 0u);
  EXPECT_EQ(table.Decoded(missing)->width, kPlaceholderWidth);
  EXPECT_EQ(table.Decoded(missing)->height, kPlaceholderHeight);
  // A picture the fetch had no memory for is the placeholder too, and its fetch was reported.
  ASSERT_TRUE(table.DecodeImage(huge, true));
  EXPECT_EQ(table.Decoded(huge)->bitmap, 0u);
  EXPECT_EQ(table.Decoded(huge)->width, kPlaceholderWidth);
  EXPECT_EQ(table.FetchedCount(), 3);
  table.ReleaseBitmaps();
  EXPECT_EQ(decoder.freed, 1);
  EXPECT_EQ(table.Decoded(good), nullptr);
  ASSERT_TRUE(table.DecodeImage(good, false));  // the kept bytes decode again
  EXPECT_EQ(decoder.made, 2u);
  EXPECT_FALSE(table.DecodeImage(7, true));
  table.Shutdown();
  EXPECT_EQ(host.Get(host.reports), 1);  // none taken
}

TEST(HtmlImageTableTest, EveryTenthImageDecodesTheOnesFetchedMeanwhile) {
  GatedHost host;
  host.Open();
  FixedDecoder decoder;
  HtmlImageTable table(&host);
  table.SetDecoder(&decoder);
  for (int i = 0; i < 9; ++i) table.AddImage(Name(i), 0);
  for (int wait = 0; wait < 500 && table.FetchedCount() < 9; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(table.FetchedCount(), 9);
  EXPECT_EQ(table.Decoded(0), nullptr);  // nothing decodes a picture before it is needed...
  table.AddImage(Name(9), 0);  // ...but the tenth
  for (int i = 0; i < 9; ++i) EXPECT_NE(table.Decoded(i), nullptr) << i;
  EXPECT_GE(decoder.made, 9u);  // the tenth too when its own fetch was quicker than the pass
  table.Shutdown();
}

TEST(HtmlImageTableTest, WithoutAHostNothingIsFetchedAndEveryImageIsThePlaceholder) {
  HtmlImageTable table(nullptr);
  table.AddImage(u"a.gif", 0);
  EXPECT_EQ(table.FetchedCount(), 1);
  ASSERT_TRUE(table.DecodeImage(0, false));
  EXPECT_EQ(table.Decoded(0)->width, kPlaceholderWidth);
}

// A host whose every picture is the bytes its URL names ("gif_W_H" a GIF header of that size, any other
// URL 1000 plain bytes).
class PictureHost : public NullHtmlCallbacks {
 public:
  uint8_t* ReadBinary(const char16_t* url, int* size) override {
    std::vector<uint8_t> bytes(1000, 7);
    const std::u16string u(url);
    if (u.rfind(u"gif_", 0) == 0) {
      const size_t colon = u.find(u'_', 4);
      bytes = Gif(std::stoi(std::string(u.begin() + 4, u.begin() + colon)),
                  std::stoi(std::string(u.begin() + colon + 1, u.end())));
    }
    *size = static_cast<int>(bytes.size());
    auto* out = new uint8_t[bytes.size() + 1];
    std::copy(bytes.begin(), bytes.end(), out);
    return out;
  }
  // A GIF's start: a small screen, and a frame of width x height.
  static std::vector<uint8_t> Gif(int width, int height) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    const uint8_t frame[] = {0x2C, 0, 0, 0, 0, static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                             static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 0, 2, 0, 0x3B};
    g.insert(g.end(), std::begin(frame), std::end(frame));
    return g;
  }
};

// A decoder that gives every picture the size its header declares, or 100 x 100.
class DeclaredSizeDecoder : public HtmlImageDecoder {
 public:
  HtmlBitmap Decode(const uint8_t* data, size_t size, int& w, int& h) override {
    ++decoded;
    long long dw = 100, dh = 100;
    DeclaredPictureSize(data, size, dw, dh);
    w = static_cast<int>(dw);
    h = static_cast<int>(dh);
    return ++made;
  }
  void Free(HtmlBitmap) override { ++freed; }
  HtmlBitmap made = 0;
  int decoded = 0, freed = 0;
};

TEST(HtmlImageTableTest, APagesPicturesStayWithinItsLimits) {
  PictureHost host;
  DeclaredSizeDecoder decoder;
  HtmlImageTable table(&host);
  table.SetDecoder(&decoder);
  HtmlImageLimits limits;
  limits.pageBytes = 3500;       // the GIFs and three plain pictures' bytes
  limits.picturePixels = 40000;  // 200 x 200
  limits.pagePixels = 30000;
  table.SetLimits(limits);
  // Declared too large: never handed to the decoder. A plain picture (100 x 100 once decoded) after one of
  // 150 x 150: decoded, then given up, as is a second 150 x 150 picture, before decoding.
  const int huge = table.AddImage(u"gif_16000_16000", 0);
  const int fits = table.AddImage(u"gif_150_150", 0);
  const int plain = table.AddImage(u"p", 0);
  const int second = table.AddImage(u"gif_150_150", 1);
  for (int i : {huge, fits, plain, second}) ASSERT_TRUE(table.DecodeImage(i, true));
  EXPECT_EQ(table.Decoded(huge)->width, kPlaceholderWidth);
  EXPECT_EQ(table.Decoded(fits)->width, 150);
  EXPECT_EQ(table.Decoded(plain)->bitmap, 0u);
  EXPECT_EQ(table.Decoded(second)->bitmap, 0u);
  EXPECT_EQ(table.Decoded(second)->height, kPlaceholderHeight);
  EXPECT_EQ(decoder.decoded, 2);
  EXPECT_EQ(decoder.freed, 1);
  // A new load frees the pictures and their pixels: the second fits once the first is released.
  table.ReleaseBitmaps();
  ASSERT_TRUE(table.DecodeImage(second, true));
  EXPECT_EQ(table.Decoded(second)->width, 150);
  // Bytes: the GIFs are small, the plain picture and two more of 1000 fill the rest; the third keeps none.
  const int a = table.AddImage(u"a", 0), b = table.AddImage(u"b", 0), c = table.AddImage(u"c", 0);
  for (int i : {a, b, c}) ASSERT_TRUE(table.DecodeImage(i, true));
  int kept = 0;
  for (int i : {a, b, c}) kept += table.Decoded(i)->data.empty() ? 0 : 1;
  EXPECT_EQ(kept, 2);
  table.Shutdown();
}

TEST(HtmlImageTableTest, PictureHeadersDeclareTheirSize) {
  long long w = 0, h = 0;
  const std::vector<uint8_t> gif = PictureHost::Gif(300, 20000);
  ASSERT_TRUE(DeclaredPictureSize(gif.data(), gif.size(), w, h));
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 20000);
  // A BMP whose height is negative (top-down), a PNG, a JPEG with an APP0 segment before its frame.
  std::vector<uint8_t> bmp(54, 0);
  bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[18] = 0x10, bmp[19] = 0x27, bmp[22] = 0x9C, bmp[23] = 0xFF,
  bmp[24] = 0xFF, bmp[25] = 0xFF;
  ASSERT_TRUE(DeclaredPictureSize(bmp.data(), bmp.size(), w, h));
  EXPECT_EQ(w, 10000);
  EXPECT_EQ(h, 100);
  const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                         0, 0, 0x40, 0, 0, 0, 0, 9};
  ASSERT_TRUE(DeclaredPictureSize(png, sizeof png, w, h));
  EXPECT_EQ(w, 16384);
  EXPECT_EQ(h, 9);
  const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC2, 0, 11, 8, 0x01, 0x00, 0x02, 0x00};
  ASSERT_TRUE(DeclaredPictureSize(jpeg, sizeof jpeg, w, h));
  EXPECT_EQ(w, 512);
  EXPECT_EQ(h, 256);
  // Cut short or unknown: nothing declared.
  EXPECT_FALSE(DeclaredPictureSize(jpeg, 10, w, h));
  EXPECT_FALSE(DeclaredPictureSize(png, 20, w, h));
  const uint8_t text[] = "just text";
  EXPECT_FALSE(DeclaredPictureSize(text, sizeof text, w, h));
}

}  // namespace
}  // namespace htmlview
