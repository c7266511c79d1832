#include "preview/html/html_block_ends.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "preview/html/html_entities.h"
#include "preview/html/html_parse_scan.h"

namespace htmlview {
namespace {

// The end of one block found by scanning on from its tag, as a block's end is defined.
size_t ScanEnd(std::u16string_view t, size_t pos, bool div) {
  const size_t start = AfterTag(t, pos);
  size_t end = t.size(), fallback = t.size();
  int tables = 0, divs = 0;
  for (size_t p = start; p < t.size() && end == t.size(); ++p) {
    if (t[p] != u'<') continue;
    if (TagAt(t, p, u"<table")) {
      ++tables;
    } else if (TagAt(t, p, u"</table")) {
      if (tables == 0) end = p;
      else --tables;
    } else if (div && TagAt(t, p, u"<div")) {
      if (tables == 0 && fallback == t.size() && TagAttributes(t, p).Has(u"align")) fallback = p;
      ++divs;
    } else if (div && TagAt(t, p, u"</div")) {
      if (divs == 0 && tables == 0) end = p;
      else if (divs > 0) --divs;
    } else if (!div && tables == 0 && (TagAt(t, p, u"</p") || TagAt(t, p, u"<p") || TagAt(t, p, u"<hr"))) {
      end = p;
    }
  }
  return end == t.size() ? fallback : end;
}

// Each block's end, and (ranges) its end in the text cut at every tag after it, as the scan of the cut
// text finds it: a block nested in another is parsed from the outer one's range.
void ExpectSameEnds(const std::u16string& t, bool ranges = false) {
  const HtmlBlockEnds ends(t);
  for (size_t p = 0; p < t.size(); ++p) {
    const bool div = TagAt(t, p, u"<div") && p + 4 < t.size() && t[p + 4] == u' ';
    const bool para = TagAt(t, p, u"<p") && p + 2 < t.size() && t[p + 2] == u' ';
    if (!div && !para) continue;
    ASSERT_EQ(ends.End(p), ScanEnd(t, p, div)) << "block at " << p << " of\n" << std::string(t.begin(), t.end());
    for (size_t cut = p + 1; ranges && cut < t.size(); ++cut)
      if (t[cut] == u'<') {
        ASSERT_EQ(ends.End(p, cut), ScanEnd(t.substr(0, cut), p, div))
            << "block at " << p << " cut at " << cut << " of\n" << std::string(t.begin(), t.end());
      }
  }
}

TEST(HtmlBlockEnds, EndsAsTheScanFromEachBlockFindsThem) {
  // Hand-made shapes: closed and unclosed divs, divs closed inside tables, stray close tags, paragraphs
  // ended by paragraphs, rules and tables.
  for (const char16_t* page :
       {u"<div align=right>a</div>b", u"<div align=right>a<div>b</div>c</div>d", u"<div align=right>a<div align=left>b",
        u"<div x><table><div y></div></table></div>", u"<div a></div></div><div b><table></div></table></div>",
        u"<p align=right>a<p align=left>b<hr>c</p>", u"<p a><table><p b></table>x</p>", u"<div a><table>",
        u"<table><div a></table><div b></div></table></div>", u"<div a><table></table></div>",
        u"<div a <div b align=c>x", u"<p a"}) {
    SCOPED_TRACE(std::string(page, page + std::u16string_view(page).size()));
    ExpectSameEnds(page, true);
  }
  // Pages of random tags, the same ends.
  const char16_t* const tokens[] = {u"<div align=right>", u"<div>", u"<div x>", u"</div>", u"<table>", u"</table>",
                                    u"<p align=left>", u"<p>", u"</p>", u"<hr>", u"a", u" "};
  std::mt19937 random(7);
  for (int page = 0; page < 3000; ++page) {
    std::u16string t;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) t += tokens[random() % (sizeof tokens / sizeof tokens[0])];
    ExpectSameEnds(t, page % 5 == 0);
    if (HasFatalFailure()) return;
  }
}

TEST(KnownTagIndexTest, FindsWhatComparingEachKnownTagFinds) {
  const char16_t* const tokens[] = {u"<b", u"<B", u"<br", u"<BlockQuote", u"</blockquote", u"</blockquotes", u"<p",
                                    u"<pre", u"</", u"<", u" ", u">", u"\t", u"a", u"\0", u"<x", u"/"};
  std::mt19937 random(5);
  for (int page = 0; page < 600; ++page) {
    std::u16string t;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) t += tokens[random() % (sizeof tokens / sizeof tokens[0])];
    for (size_t pos = 0; pos <= t.size(); ++pos) {
      int expected = -1;
      for (size_t i = 0; i < kKnownTagCount; ++i)
        if (t.substr(pos, 1) == u"<" && TagAt(t, pos, kKnownTags[i])) expected = static_cast<int>(i);
      ASSERT_EQ(KnownTagIndexAt(t, pos), expected) << pos;
    }
  }
}

TEST(ForwardSearchTest, AnswersAsASearchFromEachPosition) {
  // Positions that mostly move forward, sometimes back, over random pages of selects and options.
  const char16_t* const tokens[] = {u"<select>", u"</select>", u"<option>", u"<optionx>", u"a", u"<", u"</select"};
  std::mt19937 random(11);
  for (int page = 0; page < 500; ++page) {
    std::u16string t;
    const int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) t += tokens[random() % (sizeof tokens / sizeof tokens[0])];
    ForwardSearch close(FindTag, u"</select"), option(FindTag, u"<option");
    size_t pos = 0;
    for (int step = 0; step < 40; ++step) {
      ASSERT_EQ(close(t, pos), FindTag(t, pos, u"</select")) << pos;
      ASSERT_EQ(option(t, pos), FindTag(t, pos, u"<option")) << pos;
      pos = random() % 5 == 0 ? random() % (t.size() + 1) : std::min(t.size(), pos + random() % 4);
    }
  }
}

}  // namespace
}  // namespace htmlview
