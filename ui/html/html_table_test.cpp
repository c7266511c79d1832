#include "ui/html/html_table.h"

#include <gtest/gtest.h>

#include "ui/html/html_layout_fixture.h"

namespace html {
namespace {

bool Inside(const draw::DrawRect& inner, const draw::DrawRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(HtmlTableSizing, SpansShareTheirRemainders) {
  // Columns 10 and 10 with a gap of 3 make 23; a cell of 32 over both misses 9: 4 each, the 1 left to the last.
  std::vector<TrackClaim> claims = {{0, 1, 10}, {1, 1, 10}, {0, 2, 32}};
  EXPECT_EQ(SizeTracks(2, claims, 3, true), (std::vector<int>{14, 15}));
  EXPECT_EQ(SizeTracks(2, claims, 3, false), (std::vector<int>{15, 14}));  // rows: to the first
  // Spans are taken in order of their length: the span of 3 sees what the span of 2 added.
  std::vector<TrackClaim> ordered = {{0, 3, 30}, {0, 2, 20}};
  EXPECT_EQ(SizeTracks(3, ordered, 0, true), (std::vector<int>{13, 13, 4}));
  EXPECT_EQ(SizeTracks(2, {{1, 5, 99}}, 0, true), (std::vector<int>{0, 0}));  // a claim past the end counts not
}

TEST(HtmlTableSizing, ExtraGoesToColumnsWithoutAWidth) {
  std::vector<int> tracks = {10, 10, 10};
  ShareExtra(tracks, {false, true, false}, 11);
  EXPECT_EQ(tracks, (std::vector<int>{15, 10, 16}));
  std::vector<int> fixed = {10};
  ShareExtra(fixed, {true}, 50);
  EXPECT_EQ(fixed, (std::vector<int>{10}));
}

TEST(HtmlTableSizing, TheWidestFreeColumnsNarrowFirstAndNeverBelowOne) {
  std::vector<int> tracks = {30, 100, 300};
  EXPECT_TRUE(ShrinkFree(tracks, {true, false, false}, 150));
  EXPECT_EQ(tracks, (std::vector<int>{30, 100, 150}));
  tracks = {30, 100, 300, 20};
  EXPECT_TRUE(ShrinkFree(tracks, {true, false, false, false}, 260));  // both wide ones come down to 70
  EXPECT_EQ(tracks, (std::vector<int>{30, 70, 70, 20}));
  tracks = {30, 100, 300, 20};
  EXPECT_TRUE(ShrinkFree(tracks, {true, false, false, false}, 361));  // three at 19 would take 363: 19 each
  EXPECT_EQ(tracks, (std::vector<int>{30, 19, 19, 19}));
  std::vector<int> tiny = {30, 4};
  EXPECT_TRUE(ShrinkFree(tiny, {true, false}, 100));
  EXPECT_EQ(tiny, (std::vector<int>{30, 1}));
  std::vector<int> fixed = {30};
  EXPECT_FALSE(ShrinkFree(fixed, {true}, 10));
  EXPECT_EQ(fixed, (std::vector<int>{30}));
}

using HtmlTableTest = HtmlLayoutFixture;

// The message box's message beside its icon: when lines may wrap, a line longer than the room wraps inside
// the free cell, every word kept; without wrapping it stays one line, as wide as it is.
TEST_F(HtmlTableTest, ALongLineBesideAFixedCellWrapsInsideTheRoom) {
  std::u16string line;
  for (int i = 0; i < 20; ++i) line += u"word" + std::u16string(1, u'a' + i) + u" ";
  line += u"Continue Recovery ?";
  const std::u16string markup = u"<table cellpadding=5><tr><td width=42>x</td><td>" + line + u"</td></tr></table>";
  for (int room : {300, 500}) {
    SCOPED_TRACE(room);
    auto result = Lay(markup, room, true);
    EXPECT_LE(result.width, room);
    std::u16string shown;
    int lines = 0, lastTop = -1;
    for (const HtmlPaintItem& text : Texts(result)) {
      if (text.text == u"x") continue;
      EXPECT_LE(text.rect.right, room - 5) << std::string(text.text.begin(), text.text.end());
      EXPECT_GE(text.rect.left, 42);
      if (text.rect.top != lastTop) ++lines, lastTop = text.rect.top;
      shown += (shown.empty() ? u"" : u" ") + text.text;
    }
    EXPECT_GT(lines, 1);
    EXPECT_GE(result.height, lines * 20);
    std::u16string words = line;
    for (char16_t& c : words) c = c == u' ' ? u'\n' : c;
    std::u16string shownWords = shown;
    for (char16_t& c : shownWords) c = c == u' ' ? u'\n' : c;
    EXPECT_EQ(std::string(shownWords.begin(), shownWords.end()), std::string(words.begin(), words.end()));
  }
  auto unwrapped = Lay(markup, 300, false);
  EXPECT_GT(unwrapped.width, 1000);
}

// A cell spanning a column with a given width and a free one, beside or below a fixed cell: when lines
// may wrap, the table keeps to the room, the given width stays, and the long line wraps whole words in the
// free room of its span.
TEST_F(HtmlTableTest, ASpanOverAFixedAndAFreeColumnKeepsTheTableInItsRoom) {
  std::u16string line;
  for (int i = 0; i < 20; ++i) line += u"word" + std::u16string(1, u'a' + i) + u" ";
  const std::u16string fixedRow = u"<tr><td width=42>x</td><td>short</td><td>z</td></tr>";
  const std::u16string shapes[] = {
      fixedRow + u"<tr><td colspan=2>" + line + u"</td><td>z</td></tr>",
      u"<tr><td colspan=2>" + line + u"</td><td>z</td></tr>" + fixedRow,
      fixedRow + u"<tr><td colspan=3>" + line + u"</td></tr>",
      u"<tr><td>z</td><td>short</td><td width=42>x</td></tr><tr><td>z</td><td colspan=2>" + line + u"</td></tr>",
  };
  for (const std::u16string& rows : shapes) {
    for (int room : {300, 500}) {
      SCOPED_TRACE(std::string(rows.begin(), rows.begin() + 40) + " in " + std::to_string(room));
      auto result = Lay(u"<table border=1 cellpadding=5>" + rows + u"</table>", room, true);
      auto frames = OfKind(result, HtmlPaintItem::Kind::kFrame);
      ASSERT_GE(frames.size(), 5u);  // the table, then its cells
      const draw::DrawRect table = frames[0].rect;
      EXPECT_EQ(table.left, 0);
      EXPECT_LE(table.right, room);
      EXPECT_LE(result.width, room);
      for (size_t i = 1; i < frames.size(); ++i) EXPECT_TRUE(Inside(frames[i].rect, table)) << i;
      std::u16string shown;
      int lines = 0, lastTop = -1;
      for (const HtmlPaintItem& text : Texts(result)) {
        EXPECT_LE(text.rect.right, table.right) << std::string(text.text.begin(), text.text.end());
        if (text.text == u"x") {
          // The fixed cell keeps its width: its frame is the one around it.
          for (size_t i = 1; i < frames.size(); ++i) {
            if (Inside(text.rect, frames[i].rect)) {
              EXPECT_EQ(frames[i].rect.Width(), 42);
            }
          }
        }
        if (text.text.rfind(u"word", 0) != 0) continue;
        if (text.rect.top != lastTop) ++lines, lastTop = text.rect.top;
        shown += (shown.empty() ? u"" : u" ") + text.text.substr(0, text.text.find_last_not_of(u' ') + 1);
      }
      EXPECT_GT(lines, 1);
      EXPECT_LT(lines, 20);  // whole words on a line, never a character a line
      std::u16string words = line.substr(0, line.size() - 1);
      EXPECT_EQ(std::string(shown.begin(), shown.end()), std::string(words.begin(), words.end()));
    }
  }
}

// A column given a width in one row, with long plain text in another: the text wraps at the width given,
// so the free column keeps room for its words and the table its room (the text stayed one line, the free
// column came down to 1 pixel and the table still ran past the room).
TEST_F(HtmlTableTest, LongTextInAColumnGivenAWidthElsewhereWrapsAtThatWidth) {
  std::u16string line;
  for (int i = 0; i < 20; ++i) line += u"word" + std::u16string(1, u'a' + i) + u" ";
  const std::u16string shapes[] = {
      u"<tr><td width=80>x</td><td>short</td></tr><tr><td>" + line + u"</td><td>z</td></tr>",
      u"<tr><td>" + line + u"</td><td>z</td></tr><tr><td width=80>x</td><td>short</td></tr>",
      u"<tr><td>short</td><td width=80>x</td></tr><tr><td>z</td><td>" + line + u"</td></tr>",
      u"<tr><td width=40>x</td><td width=40>y</td><td>short</td></tr><tr><td colspan=2>" + line +
          u"</td><td>z</td></tr>",
  };
  for (const std::u16string& rows : shapes) {
    for (int room : {200, 400}) {
      SCOPED_TRACE(std::string(rows.begin(), rows.begin() + 40) + " in " + std::to_string(room));
      auto result = Lay(u"<table border=1 cellpadding=2>" + rows + u"</table>", room, true);
      EXPECT_LE(result.width, room);
      auto frames = OfKind(result, HtmlPaintItem::Kind::kFrame);
      ASSERT_GE(frames.size(), 5u);
      int shortShown = 0;  // on one line, inside its cell
      for (const HtmlPaintItem& text : Texts(result)) {
        EXPECT_LE(text.rect.right, frames[0].rect.right) << std::string(text.text.begin(), text.text.end());
        if (text.text != u"short") continue;
        for (size_t i = 1; i < frames.size(); ++i) shortShown += Inside(text.rect, frames[i].rect) ? 1 : 0;
      }
      EXPECT_EQ(shortShown, 1);
    }
  }
}

TEST_F(HtmlTableTest, ExtraWidthWidensTheFreeColumn) {
  auto result = Lay(u"<table cellspacing=0><tr><td>ab</td><td width=50>c</td></tr></table>", 200, false);
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].rect.left, 0);
  // widths 20 and 50 make -1 + 21 + 51 = 71; the 129 missing go to the first column.
  EXPECT_EQ(texts[1].rect.left, 150);
  EXPECT_EQ(result.width, 200);
  EXPECT_EQ(result.height, 20);  // -1 + (20 + 0 + 1)
}

TEST_F(HtmlTableTest, SpansPlaceCellsAcrossColumnsAndRows) {
  auto result = Lay(u"<table cellspacing=0><tr><td rowspan=2>A</td><td>bb</td><td>c</td></tr>"
                    u"<tr><td colspan=2>dddddd</td></tr></table>");
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 4u);
  // Column 0 is 10 wide; columns 1 and 2 (20 and 10, gap 1) miss 29 of the 60 of "dddddd": 14 each, 1 to the last.
  EXPECT_EQ(texts[1].rect.left, 11);
  EXPECT_EQ(texts[2].rect.left, 11 + 34 + 1);
  EXPECT_EQ(texts[3].rect.left, 11);
  EXPECT_EQ(texts[3].rect.top, 21);
  EXPECT_EQ(result.width, -1 + 11 + 35 + 26);
}

TEST_F(HtmlTableTest, TableNestedInACellIsLaidOutInsideIt) {
  std::u16string markup =
      u"x<table border=1 cellpadding=2><tr><td>out<table border=2 bgcolor=red><tr><td>in</td></tr></table>"
      u"</td><td>z</td></tr></table>after";
  auto result = Lay(markup, 300, false);
  auto frames = OfKind(result, HtmlPaintItem::Kind::kFrame);
  ASSERT_EQ(frames.size(), 5u);  // outer table, its first cell, inner table, its cell, outer second cell
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 5u);
  const draw::DrawRect& outerCell = frames[1].rect;
  const draw::DrawRect& innerTable = frames[2].rect;
  EXPECT_TRUE(Inside(innerTable, outerCell));
  EXPECT_TRUE(Inside(texts[2].rect, frames[3].rect));  // "in"
  EXPECT_EQ(texts[2].text, u"in");
  EXPECT_GT(texts[2].rect.top, texts[1].rect.bottom - 1);  // below "out"
  EXPECT_EQ(texts[4].text, u"after");
  EXPECT_EQ(texts[4].rect.top, frames[0].rect.bottom);  // flow text goes on below the table
  auto fills = OfKind(result, HtmlPaintItem::Kind::kFill);
  ASSERT_EQ(fills.size(), 1u);  // only the inner table's bgcolor
  EXPECT_EQ(fills[0].rect, innerTable);
  EXPECT_EQ(fills[0].style.backgroundColour, 0x0000FFu);
  // The layout gives the same places again.
  EXPECT_EQ(Texts(Lay(markup, 300, false))[2].rect, texts[2].rect);
}

TEST_F(HtmlTableTest, DoubleBorderTakesThreeTimesItsWidthEachSide) {
  auto result = Lay(u"<table borderstyle=double cellspacing=0><tr><td>a</td></tr></table>");
  auto texts = Texts(result);
  ASSERT_EQ(texts.size(), 1u);
  // The cell takes the table's border too: 3 for the table's side, 3 for the cell's.
  EXPECT_EQ(texts[0].rect.left, 6);
  EXPECT_EQ(result.width, 6 - 1 + (10 + 6 + 1));
  auto wide = Lay(u"<table border=2 borderstyle=double cellspacing=0><tr><td>a</td></tr></table>");
  EXPECT_EQ(Texts(wide)[0].rect.left, 12);
}

TEST_F(HtmlTableTest, LinksInCellsAreNumberedOnce) {
  auto result = Lay(u"<a href=a>0</a><table><tr><td><a href=b>1</a></td><td><a href=c>2</a></td></tr></table>"
                    u"<a href=d>3</a>");
  ASSERT_EQ(result.hotAreas.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(result.hotAreas[i].link, i);
}

}  // namespace
}  // namespace html
