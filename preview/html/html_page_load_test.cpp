// Cleaning a page for the parse pass, and loading it into a document.
#include "preview/html/html_page_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "preview/html/html_browser_callbacks.h"
#include "preview/html/html_element_dump.h"
#include "preview/html/html_entities.h"
#include "preview/html/html_layout_pass.h"
#include "preview/html/html_page_text.h"
#include "preview/html/html_parse_scan.h"

namespace htmlview {
namespace {

std::u16string Clean(std::u16string_view text, std::u16string_view url = u"") { return CleanPageText(text, url).text; }

TEST(HtmlPageLoadTest, CollapsesWhiteSpaceOutsidePreformattedText) {
  EXPECT_EQ(Clean(u"a  \r\n  b"), u"a b");
  EXPECT_EQ(Clean(u"<pre>a  \r\n  b</pre> c  d"), u"<pre>a  \r\n  b</pre> c d");
  // A stray closing tag makes the depth negative: white space is kept from there on.
  EXPECT_EQ(Clean(u"</pre>a  b"), u"</pre>a  b");
}

TEST(HtmlPageLoadTest, KeepsKnownTagsAndDropsOthers) {
  EXPECT_EQ(Clean(u"<span>x</span>"), u"x");
  EXPECT_EQ(Clean(u"<b>x</b>"), u"<b>x</b>");
  EXPECT_EQ(Clean(u"<bold>x<b class=x>y"), u"x<b class=x>y");
  EXPECT_EQ(Clean(u"<B>x</B>"), u"<B>x</B>");
}

// XHTML closes empty tags with a slash ("<br/>", "<hr />"): every known tag so written is kept by the loader
// and read by the parse pass as itself, and a page of them lays out as the page of plain tags does.
TEST(HtmlPageLoadTest, TagsClosedByASlashAreTheTagsTheyName) {
  for (size_t i = 0; i < kKnownTagCount; ++i) {
    const std::u16string tag(kKnownTags[i]);
    for (const std::u16string& written : {tag + u"/>", tag + u" />"}) {
      SCOPED_TRACE(std::string(written.begin(), written.end()));
      EXPECT_EQ(Clean(u"a" + written + u"b"), u"a" + written + u"b");
      EXPECT_EQ(KnownTagIndexAt(written, 0), static_cast<int>(i));
      EXPECT_TRUE(TagAt(written, 0, tag));
    }
  }
  // The page laid out 400 pixels wide, and the tops of its words.
  const auto laid = [](std::u16string_view page, std::vector<int>* tops) {
    HtmlDocument doc(nullptr, 0);
    UseLayoutPass(doc);
    FixedAdvanceMeasurer measurer;
    LoadPage(doc, measurer, page, u"Arial", 15, u"http://h/p.html");
    HtmlRect rect{0, 0, 400, 300};
    doc.Layout(rect);
    for (const auto& e : doc.elements)
      if (tops && e->kind == kTextRun && e->text != u" ") tops->push_back(e->y);
    return DumpElements(doc.elements);
  };
  std::vector<int> tops;
  EXPECT_EQ(laid(u"one<br/>two<BR />three<hr/>four<p/>five<img src=\"a.gif\"/>six", &tops),
            laid(u"one<br>two<BR>three<hr>four<p>five<img src=\"a.gif\">six", nullptr));
  ASSERT_EQ(tops.size(), 6u);
  for (size_t i = 1; i + 1 < tops.size(); ++i) EXPECT_GT(tops[i], tops[i - 1]) << i;  // a line each, six beside five
}

// A picture floated inside a link follows the link when clicked, as an inline one does; the float's padding
// around it is no part of it.
TEST(HtmlPageLoadTest, APictureFloatedInsideALinkFollowsIt) {
  class Clicks : public NullHtmlCallbacks {
   public:
    void Navigate(const char16_t* url) override { urls.push_back(url); }
    std::vector<std::u16string> urls;
  } host;
  HtmlDocument doc(&host, 0);
  UseLayoutPass(doc);
  FixedAdvanceMeasurer measurer;
  LoadPage(doc, measurer,
           u"<a href=left.html><img src=a.gif width=40 height=30 align=left></a><a href=inline.html><img src=b.gif "
           u"width=40 height=30></a><a href=right.html><img src=c.gif width=40 height=30 align=right></a>words",
           u"Arial", 15, u"http://h/p.html");
  HtmlRect rect{0, 0, 400, 300};
  doc.Layout(rect);
  std::vector<const HtmlElement*> pictures;
  for (const auto& e : doc.elements) {
    if (e->kind == kImage) pictures.push_back(e.get());
    for (const auto& child : e->children)
      if (child->kind == kImage) pictures.push_back(child.get());
  }
  ASSERT_EQ(pictures.size(), 3u);
  for (const HtmlElement* picture : pictures) {
    doc.OnClick(picture->x + picture->width / 2, picture->y + picture->height / 2);
    doc.OnClick(picture->x - 2, picture->y - 2);  // the padding
  }
  EXPECT_EQ(host.urls, (std::vector<std::u16string>{u"http://h/left.html", u"http://h/inline.html", u"http://h/right.html"}));
}

TEST(HtmlPageLoadTest, DropsScriptsCommentsAndStyles) {
  EXPECT_EQ(Clean(u"a<script>if (a<b) x();</script>b"), u"ab");
  EXPECT_EQ(Clean(u"a<!-- <b>hidden</b> -->b"), u"ab");
  EXPECT_EQ(Clean(u"a<!-->b<!--->c-->d"), u"abc-->d");  // two empty comments
  EXPECT_EQ(Clean(u"a<style>p { x }</style>b"), u"ab");
  EXPECT_EQ(Clean(u"a<script>never ends"), u"a");
  EXPECT_EQ(Clean(u"a<style>never ends"), u"anever ends");  // only the unclosed tag itself goes
  // Each opener's end is the first one after it, however many openers share one search.
  EXPECT_EQ(Clean(u"<style>a</style>b<style>c<style>d</style>e<style>f"), u"bef");
}

TEST(HtmlPageLoadTest, EachTitleEndsAtTheFirstCloseAfterIt) {
  const CleanedPage page = CleanPageText(u"<title>a</title >b<title>c</title>d<title>e</title >f", u"");
  EXPECT_EQ(page.text, u"bdf");
  EXPECT_EQ(page.title, u"c");
}

TEST(HtmlPageLoadTest, TakesTheTitleAndTheBodyBackground) {
  const CleanedPage page =
      CleanPageText(u"<title>  My &amp; Page \r\n</title><body bgcolor=navy background=\"bg.gif\">x", u"http://h/d/p.html");
  EXPECT_TRUE(page.hasTitle);
  EXPECT_EQ(page.title, u"My & Page");
  EXPECT_EQ(page.text, u"x");
  EXPECT_EQ(page.backColor, 0x800000u);
  EXPECT_EQ(page.backImage, u"http://h/d/bg.gif");
  EXPECT_FALSE(CleanPageText(u"<title>open", u"").hasTitle);
}

TEST(HtmlPageLoadTest, ATitleInsideADroppedTagIsStillTheTitle) {
  const CleanedPage page = CleanPageText(u"<span t=\"<title>T</title>\">y<x a='<b'>z", u"");
  EXPECT_TRUE(page.hasTitle);
  EXPECT_EQ(page.title, u"T");
  EXPECT_EQ(page.text, u"yz");  // a known tag's name inside a dropped tag is dropped with it
}

TEST(HtmlPageLoadTest, ABodyTagReadsOnlyItsOwnAttributes) {
  const struct {
    const char16_t* page;
    uint32_t colour;
  } cases[] = {
      {u"<body bgcolor=red>x", 0x0000FF},
      {u"<body <body bgcolor=navy>x", 0x800000},
      {u"<body bgcolor=red <span bgcolor=navy>x", 0x0000FF},  // the span's colour is not the body's
      {u"<body bgcolor=red><body>x", 0x0000FF},
      {u"<body bgcolor=red", 0x0000FF},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanPageText(c.page, u"").backColor, c.colour);
}

TEST(HtmlPageLoadTest, ADamagedBodyColourLeavesThePageWhite) {
  // A page cut inside its body tag, garbage behind: the colour's digits are gone.
  const CleanedPage page = CleanPageText(u"<body bgcolor=\"#ffw\u00ba\u007f[\u0087\">garbage", u"");
  EXPECT_EQ(page.backColor, 0xFFFFFFu);
  EXPECT_EQ(page.text, u"garbage");
}

TEST(HtmlPageLoadTest, TextPagesKeepTheirLayoutInCourier) {
  const CleanedPage page = CleanPageText(u"a  b\r\nc", u"file://C:\\t\\notes.TXT");
  EXPECT_TRUE(page.monospace);
  EXPECT_EQ(page.text, u"a  b\r\nc");
}

// A page's bytes in the encoding they are in; only text read by a code page (here Latin-1, and which one
// is asked noted) has its UTF-8 pairs repaired.
TEST(HtmlPageLoadTest, APagesBytesAreReadInTheirOwnEncoding) {
  const struct {
    std::string bytes;
    std::u16string text;
    int codePage;  // the one asked; -1 none
  } cases[] = {
      {"<p>Voil\xC3\xA0 la lettre \xE2\x80\x94 \xC3\xA9l\xC3\xA8ve, It\xE2\x80\x99s \xE2\x82\xAC</p>",
       u"<p>Voil\u00E0 la lettre \u2014 \u00E9l\u00E8ve, It\u2019s \u20AC</p>", -1},
      {"<p>\xC3\xA9 \xC3\x83\xC2\xA9</p>", u"<p>\u00E9 \u00C3\u00A9</p>", -1},  // UTF-8 text is never repaired
      {"<meta charset=\"UTF-8\"><p>\xE9t\xE9</p>", u"<meta charset=\"UTF-8\"><p>\uFFFDt\uFFFD</p>", -1},
      {"<META HTTP-EQUIV=Content-Type CONTENT=\";Charset=windows-1251\">\xCF",
       u"<META HTTP-EQUIV=Content-Type CONTENT=\";Charset=windows-1251\">\u00CF", 1251},
      {"<meta content='text/html;charset=iso-8859-1' http-equiv=content-type>\xC3\xA9",
       u"<meta content='text/html;charset=iso-8859-1' http-equiv=content-type>\u00E9", 1252},
      {"<meta charset=x-unheard-of>caf\xE9 \xC3\xA9", u"<meta charset=x-unheard-of>caf\u00E9 \u00E9", 0},
      {"\xEF\xBB\xBF<meta charset=windows-1252>\xE2\x82\xAC", u"<meta charset=windows-1252>\u20AC", -1},  // mark first
      // Named late in a long head; a charset commented out, or named past the head, is not heard.
      {"<head><style>" + std::string(9000, ' ') + "</style><meta charset=windows-1251></head>\xCF",
       u"<head><style>" + std::u16string(9000, u' ') + u"</style><meta charset=windows-1251></head>\u00CF", 1251},
      {"<head><!-- <meta charset=windows-1251> --><meta charset=iso-8859-2>\xCF",
       u"<head><!-- <meta charset=windows-1251> --><meta charset=iso-8859-2>\u00CF", 28592},
      {"<head></head><meta charset=windows-1251>\xCF", u"<head></head><meta charset=windows-1251>\u00CF", 0},
  };
  for (const auto& c : cases) {
    int asked = -1;
    const CodePageReader latin1 = [&asked](std::string_view bytes, uint32_t codePage) {
      asked = static_cast<int>(codePage);
      std::u16string text;
      for (unsigned char b : bytes) text.push_back(b);
      return text;
    };
    const auto* bytes = reinterpret_cast<const uint8_t*>(c.bytes.data());
    EXPECT_EQ(PageTextFromBytes(bytes, c.bytes.size(), latin1, true), c.text) << c.bytes;
    EXPECT_EQ(asked, c.codePage) << c.bytes;
  }
  // A NUL shows as a space in a page shown, and ends the text of any other reply.
  const std::string zeros("a\0\0b", 4);
  const auto* bytes = reinterpret_cast<const uint8_t*>(zeros.data());
  const CodePageReader ascii = [](std::string_view text, uint32_t) { return std::u16string(text.begin(), text.end()); };
  EXPECT_EQ(PageTextFromBytes(bytes, zeros.size(), ascii, true), u"a  b");
  EXPECT_EQ(PageTextFromBytes(bytes, zeros.size(), ascii, false), u"a");
}

TEST(HtmlPageLoadTest, LoadingReplacesThePageAndCountsItsImages) {
  HtmlDocument doc(nullptr, 0);
  FixedAdvanceMeasurer measurer;
  UseLayoutPass(doc);
  LoadPage(doc, measurer, u"<body background=bg.gif><a href=x.html>link</a> <img src=a.gif>", u"Arial", 15,
           u"http://h/p.html");
  EXPECT_EQ(doc.images.Count(), 2);
  EXPECT_EQ(doc.pageBackImage, 0);
  EXPECT_EQ(doc.links.GetRow(0).Count(), 1);
  EXPECT_EQ(std::u16string(doc.links.GetCell(0, 0)), u"http://h/x.html");
  HtmlRect rect{0, 0, 400, 300};
  doc.Layout(rect);
  EXPECT_GT(rect.right, 0);
  LoadPage(doc, measurer, u"plain", u"Arial", 15, u"");
  EXPECT_EQ(doc.links.RowCount(), 0);
  EXPECT_EQ(doc.pageBackImage, -1);
  EXPECT_EQ(doc.busy, 0);
}

// The text runs of a page in reading order.
void TextRuns(const HtmlElementList& list, std::vector<std::u16string>& out) {
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == kTextRun) out.push_back(e->text);
    TextRuns(e->children, out);
  }
}

// Every container is followed by what ends it (the break after a cell's row, a list item or a block), as
// the layout needs to size it.
bool ContainersEnded(const HtmlElementList& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i] || list[i]->kind != kContainer) continue;
    if (i + 1 == list.size() || !ContainersEnded(list[i]->children)) return false;
  }
  return true;
}

// Records the title and the options the page hands to its host.
class TextHost : public NullHtmlCallbacks {
 public:
  void SetTitle(const char16_t* text) override { title = text; }
  HtmlWindowHandle CreateDropDownList(int, int, const StringTable& options, int, const char16_t*, int) override {
    option = options.GetCell(0, 0);
    return 0;
  }
  std::u16string title, option;
};

TEST(HtmlPageLoadTest, CharacterReferencesNeverCutTheTextOfAnyConstruct) {
  // Each reference, and the character it stands for, between "a" and "b" in every construct that takes
  // text. A reference to zero, a surrogate or a code beyond UTF-16 is the replacement character.
  const std::pair<std::u16string, std::u16string> refs[] = {
      {u"&#39;", u"'"},        {u"&#x27;", u"'"},         {u"&#X27;", u"'"},        {u"&#x4A;", u"J"},
      {u"&#xE9;", u"\u00E9"},    {u"&#x1F600;", u"\U0001F600"},
      {u"&#0;", u"\uFFFD"},    {u"&#x0;", u"\uFFFD"},     {u"&#x;", u"\uFFFD"},     {u"&#xD800;", u"\uFFFD"},
      {u"&#x110000;", u"\uFFFD"}, {u"&#xFFFFFFFFFFFFFFFFFF;", u"\uFFFD"}, {u"&#1114112;", u"\uFFFD"},
  };
  for (const auto& [ref, ch] : refs) {
    SCOPED_TRACE(std::string(ref.begin(), ref.end()));
    const std::u16string expected = u"a" + ch + u"b";
    const std::u16string tail = u"a" + ref + u"b";
    TextHost host;
    HtmlDocument doc(&host, 0);
    FixedAdvanceMeasurer measurer;
    LoadPage(doc, measurer,
             u"<title>" + tail + u"</title>" + tail + u"<br><textarea>" + tail + u"</textarea><select><option>" +
                 tail + u"</select><input type=submit value=\"" + tail + u"\">",
             u"Arial", 15, u"");
    std::vector<std::u16string> runs;
    TextRuns(doc.elements, runs);
    EXPECT_EQ(host.title, expected);
    EXPECT_EQ(host.option, expected);
    // Body text, the text area's text, the shown option and the button's caption.
    EXPECT_EQ(std::count(runs.begin(), runs.end(), expected), 4);
  }
}

TEST(HtmlPageLoadTest, ContentNestedPastTheDepthCapIsNotedApartFromACutPage) {
  // Each construct that nests, to the cap and past it, with a word innermost (or only spaces).
  const std::pair<std::u16string, std::u16string> nests[] = {
      {u"<table><tr><td>", u"</td></tr></table>"}, {u"<blockquote>", u"</blockquote>"},
      {u"<div align=right>", u"</div>"},          {u"<p align=center>", u"</p>"},
      {u"<ul><li>", u"</ul>"},
  };
  for (const auto& [open, close] : nests) {
    for (int levels : {10, 30, 60, 200}) {
      for (const std::u16string_view inner : {u"deep", u"<img src=a.gif>", u"   "}) {
        SCOPED_TRACE(std::string(open.begin(), open.end()) + " x" + std::to_string(levels) +
                     std::string(inner.begin(), inner.end()));
        std::u16string page = u"top ";
        for (int i = 0; i < levels; ++i) page += open;
        page += inner;
        for (int i = 0; i < levels; ++i) page += close;
        HtmlDocument doc(nullptr, 0);
        FixedAdvanceMeasurer measurer;
        LoadPage(doc, measurer, page, u"Arial", 15, u"");
        std::vector<std::u16string> runs;
        TextRuns(doc.elements, runs);
        const bool shown = inner == u"deep" ? std::find(runs.begin(), runs.end(), u"deep") != runs.end()
                                            : doc.images.Count() == 1;
        const bool content = inner != u"   ";
        EXPECT_EQ(doc.nestedCut, content && !shown);
        EXPECT_FALSE(doc.cut);  // what follows the nesting is read and shown
        if (levels <= 10) {
          EXPECT_EQ(shown, content);
        }
      }
    }
  }
}

TEST(HtmlPageLoadTest, APageBeyondTheElementBoundShowsWhatItReadUpToIt) {
  // The shapes that make the most elements for their size, alone and inside every structure that holds
  // content, each read whole and then cut at bounds from its first element to its last but one.
  const std::u16string units[] = {u"word ", u"<h3>x ", u"<p>x", u"<hr>", u"\n", u"<li>x", u"<img align=left src=a.gif>x "};
  const std::pair<std::u16string, std::u16string> around[] = {
      {u"", u""},
      {u"<table border=1><tr><td>", u"</table>"},
      {u"<table><tr><td><table><tr><td><table><tr><td>a<td>", u"</table></table></table>"},
      {u"<pre>", u"</pre>"},
      {u"<ul><li>", u"</ul>"},
      {u"<div align=right>", u"</div>"},
      {u"<blockquote>", u"</blockquote>"},
  };
  FixedAdvanceMeasurer measurer;
  for (const std::u16string& unit : units) {
    for (const auto& [before, after] : around) {
      std::u16string page = before;
      for (int i = 0; i < 60; ++i) page += unit;
      page += after + u"<p>end";
      SCOPED_TRACE(std::string(page.begin(), page.begin() + std::min<size_t>(page.size(), 80)));
      HtmlDocument whole(nullptr, 0);
      UseLayoutPass(whole);
      LoadPage(whole, measurer, page, u"Arial", 15, u"");
      ASSERT_FALSE(whole.cut);
      ASSERT_TRUE(ContainersEnded(whole.elements));
      std::vector<std::u16string> wholeRuns;
      TextRuns(whole.elements, wholeRuns);
      for (const int bound : {1, whole.itemCount / 3, whole.itemCount - 1}) {
        HtmlDocument doc(nullptr, 0);
        UseLayoutPass(doc);
        doc.maxElements = bound;
        LoadPage(doc, measurer, page, u"Arial", 15, u"");
        EXPECT_TRUE(doc.cut) << bound;
        EXPECT_GE(doc.itemCount, bound);
        EXPECT_LT(doc.itemCount, whole.itemCount);
        EXPECT_GE(CountElements(doc.elements), static_cast<size_t>(bound));  // nothing read is dropped
        // What was read is shown as the whole page shows it: its text runs begin the whole page's.
        std::vector<std::u16string> runs;
        TextRuns(doc.elements, runs);
        ASSERT_LE(runs.size(), wholeRuns.size());
        EXPECT_TRUE(std::equal(runs.begin(), runs.end(), wholeRuns.begin())) << bound;
        EXPECT_TRUE(ContainersEnded(doc.elements)) << bound;
        HtmlRect rect{0, 0, 400, 300};
        doc.Layout(rect);
      }
      // A page as large as the bound is whole.
      HtmlDocument exact(nullptr, 0);
      exact.maxElements = whole.itemCount;
      LoadPage(exact, measurer, page, u"Arial", 15, u"");
      EXPECT_FALSE(exact.cut);
      EXPECT_EQ(exact.itemCount, whole.itemCount);
    }
  }
}

// Records whether a picture was fetched while its page was still being read; the reading is slowed so that
// fetching threads started during it get to run.
class ReadingWatchHost : public NullHtmlCallbacks {
 public:
  void OnParseProgress(int, int done, int total) override {
    reading = done < total;
    if (reading) std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  uint8_t* ReadBinary(const char16_t*, int*) override {
    ++fetches;
    if (reading) ++fetchesWhileReading;
    return nullptr;
  }
  std::atomic<bool> reading{false};
  std::atomic<int> fetches{0}, fetchesWhileReading{0};
};

TEST(HtmlPageLoadTest, APagesPicturesAreFetchedOnceItIsRead) {
  ReadingWatchHost host;
  HtmlDocument doc(&host, 0);
  FixedAdvanceMeasurer measurer;
  UseLayoutPass(doc);
  std::u16string page;
  for (int i = 0; i < 200; ++i) page += u"<p>Picture <img src=p" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                        std::u16string(1, static_cast<char16_t>(u'A' + i / 26)) + u".gif>";
  LoadPage(doc, measurer, page, u"Arial", 15, u"file:///C:/pages/p.html");
  EXPECT_EQ(doc.images.Count(), 200);
  for (int wait = 0; wait < 5000 && doc.images.FetchedCount() < 200; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(doc.images.FetchedCount(), 200);
  EXPECT_EQ(host.fetches, 200);
  EXPECT_EQ(host.fetchesWhileReading, 0);
}

}  // namespace
}  // namespace htmlview
