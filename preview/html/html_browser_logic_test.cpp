// The page viewer's decisions that need no window.
#include "preview/html/html_browser_logic.h"

#include <gtest/gtest.h>

#include <cstring>

namespace htmlview {
namespace {

TEST(HtmlBrowserLogicTest, PictureAndSubmitUrls) {
  EXPECT_TRUE(IsPictureUrl(u"http://h/a.PNG"));
  EXPECT_TRUE(IsPictureUrl(u"file://C:\\x\\b.gif"));
  EXPECT_FALSE(IsPictureUrl(u"http://h/a.pngx"));
  EXPECT_FALSE(IsPictureUrl(u"http://h/a.html"));
  EXPECT_EQ(PicturePage(u"a.png"), u"<body bgcolor=ffff00><img src=\"a.png\"></body>");
  int form = 0;
  EXPECT_TRUE(IsSubmitUrl(u"submit(2)", form));
  EXPECT_EQ(form, 2);
  EXPECT_TRUE(IsSubmitUrl(u"Submit(", form));
  EXPECT_EQ(form, -1);
  EXPECT_FALSE(IsSubmitUrl(u"http://h/", form));
}

TEST(HtmlBrowserLogicTest, FinishedImagesRelayoutAtTheirStep) {
  for (int i = 1; i <= 10; ++i) EXPECT_TRUE(ImagesLoadedRelayout(i - 1, i, 10));
  int relayouts = 0;
  for (int i = 1; i <= 57; ++i) relayouts += ImagesLoadedRelayout(i - 1, i, 57) ? 1 : 0;
  EXPECT_EQ(relayouts, 6);  // 10, 20, ..., 50 and 57
  EXPECT_FALSE(ImagesLoadedRelayout(149, 150, 1001));
  EXPECT_TRUE(ImagesLoadedRelayout(999, 1000, 1001));
  // One report may stand for many fetches: a step passed between two reports still lays the page out.
  EXPECT_TRUE(ImagesLoadedRelayout(995, 1005, 2001));
  EXPECT_TRUE(ImagesLoadedRelayout(0, 38000, 40000));
  EXPECT_FALSE(ImagesLoadedRelayout(101, 199, 1001));
  EXPECT_TRUE(ImagesLoadedRelayout(3, 57, 57));
}

TEST(HtmlBrowserLogicTest, FormQueriesAndUrls) {
  EXPECT_EQ(UrlEncodeFormValue(u"a b&c"), u"a+b%26c");
  // Up to U+00FF the character's own code; above it the bytes of its UTF-8 form.
  const std::pair<std::u16string, std::u16string> values[] = {
      {u"\u00e9\u00ff", u"%e9%ff"},
      {u"\u0100", u"%c4%80"},
      {u"\u07ff\u0800", u"%df%bf%e0%a0%80"},
      {u"\u20ac", u"%e2%82%ac"},
      {u"\u65e5\u672c", u"%e6%97%a5%e6%9c%ac"},
      {u"\uffff", u"%ef%bf%bf"},
      {u"\U0001F600", u"%f0%9f%98%80"},
      {u"\U0010FFFF", u"%f4%8f%bf%bf"},
      {std::u16string(1, char16_t{0xD83D}) + u"x", u"%ef%bf%bdx"},    // a lone high surrogate
      {std::u16string(1, char16_t{0xDE00}), u"%ef%bf%bd"},            // a lone low one
  };
  for (const auto& [value, encoded] : values) EXPECT_EQ(UrlEncodeFormValue(value), encoded);
  EXPECT_EQ(UrlEncodeFormValue(u"\u00e9\u00ff", true), u"%c3%a9%c3%bf");
  const std::u16string query = FormQuery({{u"q", u"a b&c"}, {u"c", u"r"}});
  EXPECT_EQ(query, u"?q=a+b%26c&c=r");
  // One character set a query: Latin-1 while every value fits it, UTF-8 for every value once one does not.
  EXPECT_EQ(FormQuery({{u"a", u"\u00e9"}, {u"b", u"x"}}), u"?a=%e9&b=x");
  EXPECT_EQ(FormQuery({{u"v", u"\u00e9\u20ac"}}), u"?v=%c3%a9%e2%82%ac");
  EXPECT_EQ(FormQuery({{u"a", u"\u00e9"}, {u"b", u"\u20ac"}}), u"?a=%c3%a9&b=%e2%82%ac");
  EXPECT_EQ(GetFormUrl(u"http://h/s?l=en", u"?q=a+b%26c"), u"http://h/s?l=en&q=a+b%26c");
  EXPECT_EQ(GetFormUrl(u"http://h/s", u"?q=1"), u"http://h/s?q=1");
  EXPECT_EQ(GetFormUrl(u"http://h/s", u""), u"http://h/s");
}

TEST(HtmlBrowserLogicTest, PostTargetsKeepTheirPort) {
  PostTarget t = SplitPostUrl(u"http://127.0.0.1:8123/post/here?x=1");
  EXPECT_EQ(t.host, u"127.0.0.1");
  EXPECT_EQ(t.port, 8123);
  EXPECT_EQ(t.object, u"/post/here?x=1");
  t = SplitPostUrl(u"https://h");
  EXPECT_EQ(t.host, u"h");
  EXPECT_EQ(t.port, 443);
  EXPECT_TRUE(t.secure);
  EXPECT_EQ(t.object, u"/");
  EXPECT_EQ(SplitPostUrl(u"http://h:99999/").port, 80);
}

TEST(HtmlBrowserLogicTest, FilePathsAndStatusTexts) {
  EXPECT_EQ(FileUrlPath(u"file://C:\\t\\a.html"), u"C:\\t\\a.html");
  EXPECT_EQ(FileUrlPath(u"file:///C:/t/a.html"), u"C:\\t\\a.html");
  EXPECT_EQ(FileUrlPath(u"http://h/"), u"");
  EXPECT_EQ(ReadingStatus(1200, 0), u"Reading 1200");
  EXPECT_EQ(ReadingStatus(1200, 5000), u"Reading 1200 of 5000");
  EXPECT_EQ(ReadyStatus(12, 1, 2, 3), u"Ready, items:12, images:1, links:2, level:3");
  EXPECT_EQ(CutPageNote(3000000), u"Loaded the first 3000000 items of the page; the rest is not shown");
  // A note says what each cut left out, and only what.
  EXPECT_EQ(PartialPageNote({}), u"");
  EXPECT_EQ(PartialPageNote({3000000}), CutPageNote(3000000));
  EXPECT_EQ(PartialPageNote({-1, 48}), u"Content nested more than 48 levels deep is left out; the rest of the page is shown");
  EXPECT_EQ(PartialPageNote({-1, 0, 20000, 300001}), u"Loaded 20000 of 300001 total options");
  EXPECT_EQ(PartialPageNote({-1, 0, 10000, 10000}), u"");
  EXPECT_EQ(PartialPageNote({70, 48, 10000, 150000}),
            CutPageNote(70) + u". Content nested more than 48 levels deep is left out; the rest of the page is shown. "
                              u"Loaded 10000 of 150000 total options");
}

TEST(HtmlBrowserLogicTest, ReplyBufferGrowsAndStopsAtItsLimit) {
  ReplyBuffer reply(10000);
  size_t room = 0;
  size_t total = 0;
  while (uint8_t* to = reply.Room(room)) {
    ASSERT_GT(room, 0u);
    const size_t n = room < 700 ? room : 700;
    std::memset(to, 'x', n);
    reply.Commit(n);
    total += n;
  }
  EXPECT_EQ(total, 10000u);
  EXPECT_TRUE(reply.Full());
  uint8_t* bytes = reply.Release();
  EXPECT_EQ(bytes[9999], 'x');
  EXPECT_EQ(bytes[10000], 0);
  delete[] bytes;
}

}  // namespace
}  // namespace htmlview
