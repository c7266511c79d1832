// The image table's fetching: the cap on concurrent fetches, one fetch per shared picture, the reports,
// and a teardown that waits for every running fetch and its report.
#include "preview/html/html_image_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <thread>

#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_element.h"

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
  void OnImagesLoaded(int loaded, int total) override {
    // A slow report: teardown must still wait for it.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::lock_guard<std::mutex> hold(lock);
    ++reports;
    if (loaded > lastLoaded) lastLoaded = loaded;  // reports may arrive in any order
    lastTotal = total;
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
  int fetches = 0, running = 0, maxRunning = 0, reports = 0, lastLoaded = 0, lastTotal = 0;
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
  EXPECT_EQ(host.reports, 25);
  EXPECT_EQ(host.lastLoaded, 25);
  EXPECT_EQ(host.lastTotal, 25);
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
  table.reset();  // blocks until both running fetches have ended and reported
  EXPECT_EQ(host.Get(host.reports), 2);
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
  EXPECT_EQ(host.Get(host.reports), 3);
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

}  // namespace
}  // namespace htmlview
