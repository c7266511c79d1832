#include "preview/html/html_layout_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "preview/html/html_element_dump.h"
#include "preview/html/html_layout_table.h"
#include "preview/html/html_large_pages.h"
#include "preview/html/html_page_load.h"
#include "preview/html/html_parse_pass.h"

namespace htmlview {
namespace {

// A picture store whose every picture has the size it was given (by index).
class FakeImageSizes : public HtmlImageSizes {
 public:
  bool NaturalSize(int index, int, int& w, int& h) override {
    const auto it = sizes.find(index);
    if (it == sizes.end()) return false;
    w = it->second.first;
    h = it->second.second;
    return true;
  }
  std::map<int, std::pair<int, int>> sizes;
};

class LayoutPassTest : public ::testing::Test {
 protected:
  // Parses text (font height 10, 8 pixels a character) and lays it out in a view width pixels wide.
  std::string Lay(std::u16string_view text, int width) {
    doc.elements.clear();
    HtmlParsePass parse(doc, measurer);
    parse.ParseRange(text, doc.elements, u"Arial", 10, 0, u"http://h/", 0, 0, 0);
    HtmlLayoutPass layout(doc, &images);
    HtmlRect rect{0, 0, width, 1000};
    layout.Layout(doc.elements, rect);
    return DumpElements(doc.elements);
  }
  const HtmlElement& E(size_t i) { return *doc.elements.at(i); }
  HtmlDocument doc{nullptr, 0};
  FixedAdvanceMeasurer measurer{8};
  FakeImageSizes images;
};

TEST_F(LayoutPassTest, EmptyListChangesNothing) { EXPECT_EQ(Lay(u"", 100), ""); }

TEST_F(LayoutPassTest, WordsWrapAndAWordTooWideStandsAlone) {
  EXPECT_EQ(Lay(u"aaaa bb ccc wwwwwwwwwwwwwwww d", 80),
            "T 0,0 32x10 h10 'aaaa'\nT 32,0 8x10 h10 ' '\nT 40,0 16x10 h10 'bb'\nT 56,0 8x10 h10 ' '\n"
            "T 0,10 24x10 h10 'ccc'\nT 24,10 8x10 h10 ' '\nT 0,20 128x10 h10 'wwwwwwwwwwwwwwww'\n"
            "T 128,20 8x10 h10 ' '\nT 0,30 8x10 h10 'd'\n");
}

TEST_F(LayoutPassTest, LinesAreBottomAligned) {
  Lay(u"a<big>b</big><br>c", 200);
  EXPECT_EQ(E(0).y, 3);  // 13 high line, 10 high word
  EXPECT_EQ(E(1).y, 0);
  EXPECT_EQ(E(4).y, 13);
}

TEST_F(LayoutPassTest, CentredAndRightAlignedLinesIgnoreTrailingSpace) {
  Lay(u"<center>aaaa </center>", 100);
  EXPECT_EQ(E(1).x, 30);  // (100 - 40) / 2: the space inside the centre counts
  Lay(u"<div align=right>aaaa <br>bb</div>", 100);
  EXPECT_EQ(E(1).x, 60);  // only the last space of the line is left out: "aaaa", " " and the break's " "
  EXPECT_EQ(E(5).x, 84);
}

TEST_F(LayoutPassTest, CentredLineOfThreeHundredInFiveHundredMovesByAHundred) {
  Lay(u"<center>" + std::u16string(37, u'a') + u"</center>", 500);  // 296 wide
  EXPECT_EQ(E(1).x, 102);  // the closing tag's space is left-aligned and not part of the width
}

TEST_F(LayoutPassTest, RuleSpansTheWidth) {
  Lay(u"a<hr>b", 300);
  const HtmlElement& rule = E(2);
  ASSERT_EQ(rule.kind, kRule);
  EXPECT_EQ(rule.width, 300);
  EXPECT_EQ(rule.height, 2);
}

// A page is as wide as the widest thing on it that cannot be narrowed: rules, tables of width 100% and
// pictures as wide as the pane fit the pane at every width, in every place they stand; a picture, a table
// or a word wider than the pane makes the page wider, and so the pane's horizontal bar.
TEST(PageWidthTest, OnlyContentWiderThanThePaneMakesThePageWider) {
  const auto row = [](int columns, const std::u16string& cell) {
    std::u16string cells;
    for (int k = 0; k < columns; ++k) cells += u"<td>" + cell + u"</td>";
    return u"<tr>" + cells + u"</tr>";
  };
  const auto number = [](int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  };
  for (int width = 380; width <= 680; width += 23) {  // from where twelve columns of letters fit
    const std::u16string pane = number(width);
    std::vector<std::u16string> fitting{
        u"one<br>two<hr>three", u"one<br/>two<hr />three", u"<h1>Title</h1><hr><p>text</p><hr>",
        u"<center>x<hr>y</center>", u"<div align=right>x<hr>y</div>", u"<ul><li>a<hr>b</li></ul>",
        u"<blockquote>a<hr>b</blockquote>", u"<table width=100%><tr><td>a<hr>b</td></tr></table>",
        u"<img src=f.gif align=left width=90 height=40>beside<hr>after",
        u"<img src=f.gif align=right width=90 height=40>beside<hr>after",
        u"<img src=p.gif width=" + pane + u" height=20>", u"text <img src=p.gif width=" + pane + u" height=20> text",
        u"<center><img src=p.gif width=" + pane + u" height=20></center>",
        u"<div align=right><img src=p.gif width=" + pane + u" height=20></div>",
        u"<table width=100%><tr><td><table width=100% border=1>" + row(3, u"x") + u"</table></td></tr></table>",
        u"<center><table width=100% border=2>" + row(5, u"x") + u"</table></center>",
        u"<table width=100% align=right border=1>" + row(4, u"x") + u"</table>"};
    for (int columns = 1; columns <= 12; ++columns)
      for (const char16_t* frame : {u"", u" border=1", u" border=3 cellspacing=5 cellpadding=7"})
        fitting.push_back(u"<table width=100%" + std::u16string(frame) + u">" + row(columns, u"a") +
                          row(columns, u"b") + u"</table>");
    std::vector<std::u16string> wide{
        u"<img src=p.gif width=" + number(width + 1) + u" height=20>",
        u"<table width=" + number(width + 1) + u" cellspacing=0 cellpadding=0><tr><td>a</td></tr></table>",
        u"<table width=100%><tr><td><img src=p.gif width=" + pane + u" height=20></td></tr></table>",
        std::u16string(static_cast<size_t>(width / 8 + 1), u'w')};
    for (const auto* pages : {&fitting, &wide}) {
      for (const std::u16string& page : *pages) {
        SCOPED_TRACE(std::to_string(width) + " pixels: " + std::string(page.begin(), page.end()));
        HtmlDocument doc(nullptr, 0);
        UseLayoutPass(doc);
        FixedAdvanceMeasurer measurer{8};
        LoadPage(doc, measurer, page, u"Arial", 15, u"http://h/p.html");
        HtmlRect rect{0, 0, width, 400};
        doc.Layout(rect);
        if (pages == &fitting) EXPECT_LE(rect.right, width);
        else EXPECT_GT(rect.right, width);
      }
    }
  }
}

TEST_F(LayoutPassTest, JustifiedLinesFillTheWidthExceptTheLast) {
  Lay(u"<p align=justify>aa bb cc dd</p>", 80);
  // First line "aa bb cc " wraps at dd: 64 wide without its last space; 8 pixels more before bb and cc.
  EXPECT_EQ(E(2).x, 0);
  EXPECT_EQ(E(4).x, 32);
  EXPECT_EQ(E(6).x, 64);
  EXPECT_EQ(E(8).x, 0);
  EXPECT_EQ(E(8).y, 10);
}

TEST_F(LayoutPassTest, TheLastLineOfAJustifiedCellKeepsItsSpacing) {
  // 100 wide: "aa bb cc dd " fills the first line and is spread to the width; "ee ff gg" ends the cell's
  // content, which is the end of its paragraph: not spread.
  Lay(u"<table width=100 cellspacing=0 cellpadding=0><tr><td align=justify>aa bb cc dd ee ff gg</table>", 600);
  const HtmlElement& cell = E(1);
  ASSERT_EQ(cell.children.size(), 13u);
  EXPECT_EQ(cell.children[6]->x, 84);  // dd moved right to fill the first line
  EXPECT_EQ(cell.children[8]->y, 10);
  EXPECT_EQ(cell.children[8]->x, 0);    // ee
  EXPECT_EQ(cell.children[10]->x, 24);  // ff
  EXPECT_EQ(cell.children[12]->x, 48);  // gg
}

TEST_F(LayoutPassTest, ImagesTakeTheirPictureSizeAndKeepTheirShape) {
  images.sizes[0] = {40, 20};
  images.sizes[1] = {40, 20};
  Lay(u"<img src=a.gif><img src=b.gif width=20>", 300);
  EXPECT_EQ(E(0).width, 40);
  EXPECT_EQ(E(0).height, 20);
  EXPECT_EQ(E(1).width, 20);
  EXPECT_EQ(E(1).height, 10);
  EXPECT_EQ(E(1).x, 40);
  EXPECT_EQ(E(1).y, 10);
}

TEST_F(LayoutPassTest, FloatingImageIndentsTheLinesBesideIt) {
  images.sizes[0] = {112, 50};
  Lay(u"<img src=a.gif align=left>aaaa aaaa aaaa aaaa<br clear>b", 300);
  // Frame break, box, two breaks; the text starts at the float's top, 120 pixels in.
  EXPECT_EQ(E(0).width, 120);
  EXPECT_EQ(E(0).height, 58);
  EXPECT_EQ(E(4).x, 120);
  EXPECT_EQ(E(4).y, 0);
  const HtmlElement& after = E(doc.elements.size() - 1);
  EXPECT_EQ(after.text, u"b");
  EXPECT_EQ(after.x, 0);
  EXPECT_GE(after.y, 58);
}

TEST_F(LayoutPassTest, FloatEndsBelowItsBottom) {
  images.sizes[0] = {32, 12};  // frame 40 x 20: two lines beside it
  std::string dump = Lay(u"<img src=a.gif align=left>aaaaaaaaaaaaaaaaaaaa aaaaaaaaaaaaaaaaaaaa a", 200);
  EXPECT_EQ(E(4).x, 40);
  EXPECT_EQ(E(6).x, 40);
  EXPECT_EQ(E(6).y, 10);
  EXPECT_EQ(E(8).x, 0);
  EXPECT_EQ(E(8).y, 20);
}

TEST_F(LayoutPassTest, FloatsOfASideEndTogetherBelowTheLowest) {
  images.sizes[0] = {32, 12};   // frame 40 x 20
  images.sizes[1] = {32, 52};   // frame 40 x 60
  images.sizes[2] = {72, 12};   // frame 80 x 20, on the right
  Lay(u"<img src=a.gif align=left><img src=b.gif align=left><img src=c.gif align=right>"
      u"aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa "
      u"aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa aaaaaaaaaa",
      300);
  // The words, 80 pixels each: beside both left floats and the right one (one a line), beside the left
  // ones alone (two a line) while the taller lasts, though the shorter ended at 20; then at the left edge.
  std::vector<std::pair<int, int>> words;
  for (const auto& e : doc.elements)
    if (e->kind == kTextRun && e->text == u"aaaaaaaaaa") words.emplace_back(e->x, e->y);
  const std::vector<std::pair<int, int>> expected = {
      {80, 0},  {80, 10},  {80, 20}, {168, 20}, {80, 30}, {168, 30}, {80, 40},
      {168, 40}, {80, 50}, {168, 50}, {0, 60},  {88, 60}, {176, 60}};
  EXPECT_EQ(words, expected);
}

TEST_F(LayoutPassTest, TwoCellsGetTheirNaturalWidths) {
  Lay(u"<table border=1><tr><td>aa<td>bbbbbbbb</table>", 600);
  // padding 4 + 1 for the border, spacing 4: 2 + 4 + (16 + 4 + 10) + (64 + 4 + 10)
  EXPECT_EQ(E(0).width, 114);
  EXPECT_EQ(E(0).height, 2 + 4 + 10 + 4 + 10);
  EXPECT_EQ(E(0).borderWidth, 1);
  EXPECT_EQ(E(0).borderColor, kRaisedBorder);
  EXPECT_EQ(E(1).x, 5);
  EXPECT_EQ(E(1).y, 5);
  EXPECT_EQ(E(1).width, 26);
  EXPECT_EQ(E(2).x, 35);
  EXPECT_EQ(E(2).width, 74);
  EXPECT_EQ(E(2).children[0]->x, 40);
  EXPECT_EQ(E(2).children[0]->y, 10);
}

TEST_F(LayoutPassTest, PercentTableGrowsAllUnfixedColumnsEvenly) {
  Lay(u"<table width=50% cellspacing=0 cellpadding=0><tr><td>aa<td>bb</table>", 600);
  EXPECT_EQ(E(0).width, 300);
  EXPECT_EQ(E(1).width, 150);
  EXPECT_EQ(E(2).width, 150);
}

TEST_F(LayoutPassTest, FixedColumnShrinksToFitButNotBelowItsContent) {
  Lay(u"<table cellspacing=0 cellpadding=0><tr><td width=400>aaaaaaaa</table>", 200);
  EXPECT_EQ(E(1).width, 200);
  Lay(u"<table cellspacing=0 cellpadding=0><tr><td width=400>aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa</table>", 200);
  EXPECT_EQ(E(1).width, 240);
}

TEST_F(LayoutPassTest, ASpanningCellWidensItsColumnsAPixelAtATime) {
  // 7 characters (56) over two columns of 8 with spacing 1 between them: 39 short, 20 and 19 pixels more.
  Lay(u"<table cellspacing=1 cellpadding=0><tr><td>a<td>b<tr><td colspan=2>ccccccc</table>", 600);
  EXPECT_EQ(E(1).width, 28);
  EXPECT_EQ(E(2).width, 27);
  EXPECT_EQ(E(4).width, 56);
  // Columns that have no width yet: the last one takes a pixel per spanned column, then it alone grows a
  // pixel at a time to the need (not by whole rounds of three).
  Lay(u"<table cellspacing=0 cellpadding=0><tr><td colspan=3>ccccc</table>", 600);
  EXPECT_EQ(E(1).width, 40);
}

TEST_F(LayoutPassTest, RowspanContentEnlargesItsRowsInTurn) {
  Lay(u"<table cellspacing=0 cellpadding=0><tr><td rowspan=2>a<br>b<br>c<br>d<br>e<td>x<tr><td>y</table>", 600);
  // Content 50 high over two rows of 10: each gets 15 more.
  const HtmlElement& tall = E(1);
  EXPECT_EQ(tall.height, 50);
  EXPECT_EQ(E(4).y, 25);
  EXPECT_EQ(E(0).height, 50);
}

TEST_F(LayoutPassTest, ARowspanInARowsLastColumnEndsAfterItsRows) {
  Lay(u"<table border=1><tr><td>A<td rowspan=2>B</tr><tr><td>C</tr><tr><td>D<td>E</tr></table>", 600);
  std::map<std::u16string, const HtmlElement*> cells;
  for (const auto& e : doc.elements)
    if (e->kind == kContainer && !e->children.empty()) cells[e->children[0]->text] = e.get();
  ASSERT_EQ(cells.size(), 5u);
  // E sits under B in the second column, and the frame holds two columns, not three.
  EXPECT_EQ(cells[u"E"]->x, cells[u"B"]->x);
  EXPECT_EQ(cells[u"D"]->x, cells[u"A"]->x);
  EXPECT_EQ(E(0).width, cells[u"E"]->x + cells[u"E"]->width + 4 + 1 - E(0).x);
}

TEST_F(LayoutPassTest, VerticalAlignmentInsideATallCell) {
  Lay(u"<table cellspacing=0 cellpadding=4><tr><td height=52 valign=middle>a<td valign=bottom>b</table>", 600);
  EXPECT_EQ(E(1).height, 60);
  EXPECT_EQ(E(1).children[0]->y, 4 + 21);
  EXPECT_EQ(E(2).children[0]->y, 4 + 42);
}


// The boxes of list and below it that show something, in document positions: words and pictures.
void VisibleBoxes(const HtmlElementList& list, std::vector<const HtmlElement*>& boxes) {
  for (const auto& e : list) {
    if (!e) continue;
    const bool word = e->kind == kTextRun && !IsWhiteSpace(*e);
    if ((word || e->kind == kImage) && e->width > 0 && e->height > 0) boxes.push_back(e.get());
    VisibleBoxes(e->children, boxes);
  }
}

// The pairs of boxes that overlap: sorted by top, each compared with those that start above its bottom.
int OverlappingPairs(std::vector<const HtmlElement*> boxes) {
  std::sort(boxes.begin(), boxes.end(), [](const HtmlElement* a, const HtmlElement* b) { return a->y < b->y; });
  int pairs = 0;
  for (size_t i = 0; i < boxes.size(); ++i)
    for (size_t j = i + 1; j < boxes.size() && boxes[j]->y < boxes[i]->y + boxes[i]->height; ++j)
      if (boxes[j]->x < boxes[i]->x + boxes[i]->width && boxes[i]->x < boxes[j]->x + boxes[j]->width) ++pairs;
  return pairs;
}

// The pairs of cells of one list (and of each list below it) that overlap.
int OverlappingCells(const HtmlElementList& list) {
  std::vector<const HtmlElement*> cells;
  int pairs = 0;
  for (const auto& e : list) {
    if (!e) continue;
    if (e->kind == kContainer && e->width > 0 && e->height > 0) cells.push_back(e.get());
    pairs += OverlappingCells(e->children);
  }
  return pairs + OverlappingPairs(cells);
}

// The pairs of words or pictures on top of each other.
int OverlappingWords(const HtmlElementList& list) {
  std::vector<const HtmlElement*> boxes;
  VisibleBoxes(list, boxes);
  return OverlappingPairs(boxes);
}

// Every cell of list has a size and lies below the cell before it in its column; every element inside a
// cell lies within the cell (when there is no room, within its top and bottom and right of its left).
// Returns the number of cells seen.
int CheckCellsPlaced(const HtmlElementList& list, int& bad, bool roomy = true) {
  int cells = 0;
  const HtmlElement* above = nullptr;
  for (const auto& e : list) {
    if (!e || e->kind != kContainer) continue;
    ++cells;
    if (e->width <= 0 || e->height <= 0) ++bad;
    if (e->Container().cell[1] == 0) {
      if (above && e->y <= above->y) ++bad;
      above = e.get();
    }
    for (const auto& c : e->children) {
      if (!c) continue;
      const bool inside = c->x >= e->x && c->y >= e->y && c->y + c->height <= e->y + e->height &&
                          (!roomy || c->x + c->width <= e->x + e->width);
      if (!inside && !IsWhiteSpace(*c)) ++bad;
    }
    cells += CheckCellsPlaced(e->children, bad, roomy);
  }
  return cells;
}

TEST_F(LayoutPassTest, ACellBeyondTheSpanLimitStartsATableWithoutTakingTheCellBeforeAsItsFrame) {
  // The first cell spans more columns than a cell may: the second cell does not continue its table.
  Lay(u"<table cellspacing=0 cellpadding=0><tr><td colspan=5000>aa<td>bbbb</table>", 600);
  ASSERT_EQ(E(1).kind, kContainer);
  ASSERT_EQ(E(2).kind, kContainer);
  EXPECT_EQ(E(1).borderFlags, 0u);
  EXPECT_EQ(E(1).width, E(0).width);  // its own table's size, not the second table's
  EXPECT_EQ(E(2).width, 32);
  int bad = 0;
  EXPECT_EQ(CheckCellsPlaced(doc.elements, bad), 2);
  EXPECT_EQ(bad, 0);
}

TEST_F(LayoutPassTest, DeeplyNestedTablesFinishWithEveryCellPlaced) {
  // As deep as the parse pass nests, each level's cells measured once per width: sized from their
  // contents, every level's column of "a" beside the next, wider than the view.
  std::u16string text;
  for (int i = 0; i < 60; ++i) text += u"<table><tr><td>a<td>";
  Lay(text + u"b", 600);
  EXPECT_GT(E(0).width, 600);
  int bad = 0;
  EXPECT_GT(CheckCellsPlaced(doc.elements, bad, false), 90);  // as deep as the parse pass nests
  EXPECT_EQ(bad, 0);
}

TEST_F(LayoutPassTest, NestedTablesPastTheWorkCapAreSizedFromTheirRoomWithEveryCellPlaced) {
  // Words in tables nested five deep: within the budget of their size, over a cap of half their work.
  std::u16string text;
  for (int i = 0; i < 5; ++i) text += u"<table border=1><tr><td>x<td>";
  for (int i = 0; i < 2000; ++i) text += u"word ";
  long long work = 0;
  for (const long long cap : {kLayoutWorkCap, -1LL}) {
    SCOPED_TRACE(cap);
    doc.elements.clear();
    HtmlParsePass parse(doc, measurer);
    parse.ParseRange(text, doc.elements, u"Arial", 10, 0, u"http://h/", 0, 0, 0);
    HtmlLayoutPass layout(doc, &images);
    layout.workCap = cap < 0 ? work / 2 : cap;
    HtmlRect rect{0, 0, 600, 1000};
    layout.Layout(doc.elements, rect);
    EXPECT_EQ(layout.Simple(), cap < 0);
    work = layout.Work();
    int bad = 0;
    EXPECT_EQ(CheckCellsPlaced(doc.elements, bad, false), 10);
    EXPECT_EQ(bad, 0);
  }
}

TEST_F(LayoutPassTest, LongTablesAloneAndInsideLayoutTablesPlaceEveryCell) {
  struct Page {
    int rows, depth;
  };
  for (const Page page : {Page{3000, 1}, Page{3000, 2}, Page{10000, 0}}) {
    SCOPED_TRACE(testing::Message() << page.rows << " rows at depth " << page.depth);
    Lay(NestedLongTable(page.rows, page.depth), 800);
    int bad = 0;
    EXPECT_EQ(CheckCellsPlaced(doc.elements, bad), page.rows * 3 + page.depth);
    EXPECT_EQ(bad, 0);
    // The outermost cell spans the view, no taller than the rows need; the text after the tables is below.
    const HtmlElement& frame = E(0);
    EXPECT_GE(frame.width, page.depth ? 790 : 400);
    EXPECT_LE(frame.width, 800);
    EXPECT_GT(frame.height, page.rows * 10);
    EXPECT_LT(frame.height, page.rows * 40);
    const HtmlElement& after = E(doc.elements.size() - 1);
    ASSERT_EQ(after.text, u"after");
    EXPECT_GE(after.y, frame.y + frame.height);
  }
}

// Fitting a table's columns to its target a pixel at a time, as the rules say it, round after round.
long long FitByThePixel(TableColumns& c, long long total, long long target, bool widthAttribute) {
  const size_t n = c.width.size();
  for (bool changed = true; changed && total != target;) {
    changed = false;
    bool took = false;
    while (total < target) {
      int given = 0;
      for (size_t k = 0; k < n && total < target; ++k) {
        if (c.fixed[k] || c.width[k] >= c.preferred[k]) continue;
        ++c.width[k];
        ++total;
        ++given;
      }
      if (given == 0) break;
      took = changed = true;
    }
    if (!took && total < target && widthAttribute) {
      for (size_t k = 0; k < n && total < target; ++k) {
        if (c.fixed[k]) continue;
        ++c.width[k];
        ++total;
        changed = true;
      }
    }
    if (total > target) {
      int widest = -1;
      for (size_t k = 0; k < n; ++k) {
        if (!c.fixed[k] || c.width[k] <= 10 || c.width[k] <= c.minimum[k]) continue;
        if (widest < 0 || c.width[k] > c.width[static_cast<size_t>(widest)]) widest = static_cast<int>(k);
      }
      if (widest >= 0) {
        const size_t w = static_cast<size_t>(widest);
        --c.width[w];
        c.preferred[w] = c.width[w];
        --total;
        changed = true;
      }
    }
  }
  return total;
}

TEST(FitColumnsTest, FitsAsAPixelAtATimeDoes) {
  std::mt19937 random(17);
  for (int table = 0; table < 4000; ++table) {
    const size_t n = 1 + random() % 7;
    TableColumns columns;
    for (size_t k = 0; k < n; ++k) {
      const int minimum = static_cast<int>(random() % 40);
      columns.minimum.push_back(minimum);
      columns.width.push_back(minimum + static_cast<int>(random() % 60));
      columns.preferred.push_back(columns.width.back() + static_cast<int>(random() % 3 ? random() % 200 : 0));
      columns.fixed.push_back(random() % 3 == 0);
    }
    long long total = 10;
    for (int w : columns.width) total += w + 6;
    const long long target = static_cast<long long>(random() % 800);
    const bool attribute = random() % 2;
    TableColumns expected = columns;
    const long long expectedTotal = FitByThePixel(expected, total, target, attribute);
    ASSERT_EQ(FitColumns(columns, total, target, attribute), expectedTotal) << table;
    ASSERT_EQ(columns.width, expected.width) << table;
    ASSERT_EQ(columns.preferred, expected.preferred) << table;
  }
}

TEST(SpanHeightsTest, SharesAndSumsAsRowByRow) {
  std::mt19937 random(23);
  for (int table = 0; table < 300; ++table) {
    std::vector<int> rows(1 + random() % 40);
    for (int& h : rows) h = static_cast<int>(random() % 30);
    SpanHeights spans(rows);
    for (int step = 0; step < 60; ++step) {
      const size_t first = random() % rows.size(), last = first + random() % (rows.size() - first);
      long long sum = 0;
      for (size_t r = first; r <= last; ++r) sum += rows[r];
      ASSERT_EQ(spans.Sum(first, last), sum);
      // A pixel to each row of the run in turn, until amount is given.
      const long long amount = static_cast<long long>(random() % 100) - 20;
      for (long long given = 0; given < amount; ++given) ++rows[first + static_cast<size_t>(given) % (last - first + 1)];
      spans.Share(first, last, amount);
    }
    for (size_t r = 0; r < rows.size(); ++r) ASSERT_EQ(spans.At(r), rows[r]) << r;
  }
}

TEST_F(LayoutPassTest, ColumnsPassedOverAndSpannedAreChargedToTheWork) {
  // A first row of 200 cells spanning 1000 rows each, then rows of one cell that each pass over them.
  std::u16string text = u"<table><tr>";
  for (int i = 0; i < 200; ++i) text += u"<td rowspan=1000>a";
  for (int i = 0; i < 500; ++i) text += u"<tr><td>b";
  doc.elements.clear();
  HtmlParsePass parse(doc, measurer);
  parse.ParseRange(text, doc.elements, u"Arial", 10, 0, u"http://h/", 0, 0, 0);
  HtmlLayoutPass layout(doc, &images);
  HtmlRect rect{0, 0, 600, 1000};
  layout.Layout(doc.elements, rect);
  EXPECT_GE(layout.Work(), 500LL * 200);
  int bad = 0;
  EXPECT_EQ(CheckCellsPlaced(doc.elements, bad, false), 700);
  EXPECT_EQ(bad, 0);
}

constexpr int kPageWidth = 1000;

struct Overlaps {
  int words = 0, cells = 0;  // pairs of words or pictures, and of cells, on top of each other
};

// Lays the page out within the budget and without it (every measure laid out anew): both the same, and no
// two words, pictures or cells on top of each other; judge, when given, looks at the page laid out.
Overlaps CheckOrdinaryPage(const std::u16string& text, HtmlTextMeasurer& measurer,
                           const std::function<void(const HtmlElementList&)>& judge = {}) {
  std::string laid[2];
  Overlaps found;
  for (int full = 0; full < 2; ++full) {
    HtmlDocument doc{nullptr, 0};
    LoadPage(doc, measurer, text, u"Arial", 12, u"http://h/");
    HtmlLayoutPass layout(doc, nullptr);
    if (full) {
      layout.workFloor = layout.workCap = LLONG_MAX / 4;
      layout.keepMeasures = false;
    }
    HtmlRect rect{0, 0, kPageWidth, 700};
    layout.Layout(doc.elements, rect);
    EXPECT_FALSE(layout.Simple());
    found.words = std::max(found.words, OverlappingWords(doc.elements));
    found.cells = std::max(found.cells, OverlappingCells(doc.elements));
    laid[full] = DumpElements(doc.elements);
    if (full && judge) judge(doc.elements);
  }
  EXPECT_TRUE(laid[0] == laid[1]);
  EXPECT_EQ(found.words, 0);
  EXPECT_EQ(found.cells, 0);
  return found;
}

TEST(OrdinaryPagesTest, LaidOutWithinTheBudgetAsWithoutItAndNoTwoWordsOverlap) {
  struct Page {
    std::string name;
    std::u16string text;
  };
  std::vector<Page> pages{{"forum of 30 posts", ForumPage(30)},        {"forum of 110 posts", ForumPage(110)},
                          {"news of 30 stories", NewsPage(30)},        {"news of 60 stories", NewsPage(60)},
                          {"documentation of 20", DocumentationPage(20)}, {"documentation of 50", DocumentationPage(50)}};
  for (int depth = 0; depth <= 2; ++depth)
    pages.push_back({"long table in " + std::to_string(depth) + " layout tables", NestedLongTable(400, depth)});
  // A timetable whose second hour's cells all go on into the third; a line and a picture over fixed columns.
  pages.push_back({"timetable", u"<table border=1><tr><th>Time<th>Monday<th>Tuesday<tr><td rowspan=2>9:00<td rowspan=3 "
                                u"width=60>Lecture for all of the first year students in the great hall<td>Lab<tr><td "
                                u"rowspan=2>Seminar<tr><td>11:00<tr><td>12:00<td>Lunch<td>Lunch</table>"});
  pages.push_back({"spans over fixed columns", u"<table><tr><td width=40>a<td width=40>b<td>c<tr><td colspan=2 nowrap>one "
                                               u"line kept whole<td>d<tr><td colspan=2><img src=p.gif width=200 "
                                               u"height=9><td>e</table>"});
  for (int depth = 1; depth <= 8; ++depth)
    for (int rows : {3, 20})
      pages.push_back({std::to_string(rows) + " rows of widths nested " + std::to_string(depth),
                       NestedWidthTables(depth, rows, 16)});
  FixedAdvanceMeasurer measurer{7};
  for (const Page& page : pages) {
    SCOPED_TRACE(page.name + ", " + std::to_string(page.text.size()) + " characters");
    CheckOrdinaryPage(page.text, measurer);
  }
}

// A table whose cells tile a grid of rows and columns: every slot is one cell's, no two cells share one; a
// row all of whose slots rowspans from above cover starts no cell. Cells hold a few words or a line of them
// kept whole, sometimes a picture, and ask a width now and then; the table sometimes asks the whole width.
// Before it, now and then, a float of either side (a picture, or a table of a cell) with words beside it and
// sometimes a picture that may be too wide for the room the float leaves. The table stands, by a draw of its
// own, aligned or floated right or centred (by its own "align", a block or "<center>"), and now and then is
// wider than the page (by its width, or a word in its first cell).
struct SpanTable {
  struct Slot {
    int row, column, rowspan, colspan;
  };
  std::u16string text;
  std::vector<Slot> cells;  // in the order they are written
  int floatCells = 0;       // the containers the float makes before the table's cells
  bool wholeWidth = false;  // the table asks the page's whole width and holds no line kept whole
  bool emptyRow = false;    // a row starts no cell
};

SpanTable RandomSpanTable(std::mt19937& random, std::mt19937& contexts) {
  const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto context = [&contexts](int n) { return static_cast<int>(contexts() % static_cast<unsigned>(n)); };
  SpanTable table;
  std::u16string& text = table.text;
  const char16_t* side = pick(2) ? u"left" : u"right";
  switch (pick(4)) {
    case 0:
      text += u"<img src=f.gif align=" + std::u16string(side) + u" width=" + os::Decimal(40 + pick(500)) + u" height=" +
              os::Decimal(20 + pick(300)) + u">";
      table.floatCells = 1;
      break;
    case 1:
      text += u"<table align=" + std::u16string(side) + u" border=1 width=" + os::Decimal(60 + pick(500)) +
              u"><tr><td>a float of words</table>";
      table.floatCells = 1;
      break;
    default: break;
  }
  if (table.floatCells) text += u"words beside the float ";
  if (table.floatCells && pick(2)) text += u"<img src=w.gif width=" + os::Decimal(100 + pick(800)) + u" height=30>";
  const int rows = 2 + pick(6), columns = 1 + pick(5);
  std::vector<std::vector<bool>> taken(static_cast<size_t>(rows), std::vector<bool>(static_cast<size_t>(columns)));
  const auto free = [&](int r, int c) { return !taken[static_cast<size_t>(r)][static_cast<size_t>(c)]; };
  table.wholeWidth = pick(3) == 0;
  const int place = context(6), wide = context(4);
  const char16_t* const opens[] = {u"", u"", u"", u"<div align=right>", u"<p align=right>", u"<center>"};
  const char16_t* const closes[] = {u"", u"", u"", u"</div>", u"</p>", u"</center>"};
  const char16_t* const aligns[] = {u"", u" align=right", u" align=center", u"", u"", u""};
  std::u16string width = table.wholeWidth ? u" width=100%" : u"";
  if (wide == 1) {
    width = u" width=" + os::Decimal(kPageWidth + 100 + context(800));
    table.wholeWidth = false;
  }
  text += opens[place];
  text += u"<table border=" + os::Decimal(pick(3)) + u" cellpadding=" + os::Decimal(pick(6)) + u" cellspacing=" +
          os::Decimal(pick(5)) + aligns[place] + width + u">";
  for (int r = 0; r < rows; ++r) {
    text += u"<tr>";
    bool started = false;
    for (int c = 0; c < columns; ++c) {
      if (!free(r, c)) continue;
      int colspan = 1, rowspan = 1;
      if (pick(3) == 0) {
        const int most = 1 + pick(columns - c);
        while (colspan < most && free(r, c + colspan)) ++colspan;
      }
      if (pick(2) == 0) {
        const int most = 1 + pick(rows - r);
        const auto rowFree = [&](int rr) {
          for (int k = c; k < c + colspan; ++k)
            if (!free(rr, k)) return false;
          return true;
        };
        while (rowspan < most && rowFree(r + rowspan)) ++rowspan;
      }
      for (int rr = r; rr < r + rowspan; ++rr)
        for (int k = c; k < c + colspan; ++k) taken[static_cast<size_t>(rr)][static_cast<size_t>(k)] = true;
      table.cells.push_back({r, c, rowspan, colspan});
      text += u"<td colspan=" + os::Decimal(colspan) + u" rowspan=" + os::Decimal(rowspan);
      if (pick(4) == 0) text += u" width=" + os::Decimal(20 + pick(120));
      if (pick(6) == 0) {
        text += u" nowrap";
        table.wholeWidth = false;
      }
      if (pick(5) == 0) text += pick(2) ? u" valign=bottom" : u" valign=middle";
      text += u">";
      const int words = 1 + pick(pick(3) == 0 ? 40 : 6);
      for (int w = 0; w < words; ++w) text += u"w" + std::u16string(static_cast<size_t>(pick(9)), u'x') + u" ";
      if (wide == 2 && table.cells.size() == 1) {  // a word of 1,400 pixels
        text += std::u16string(200, u'l') + u" ";
        table.wholeWidth = false;
      }
      if (pick(6) == 0) text += u"<img src=p.gif width=" + os::Decimal(10 + pick(200)) + u" height=" + os::Decimal(5 + pick(60)) + u">";
      started = true;
    }
    if (pick(2)) text += u"</tr>";
    table.emptyRow = table.emptyRow || !started;
  }
  text += u"</table>";
  text += closes[place];
  text += u"after";
  return table;
}

// The elements of list and below it that show something and lie left of the page's edge.
int LeftOfThePage(const HtmlElementList& list) {
  int found = 0;
  for (const auto& e : list) {
    if (!e) continue;
    if (e->x < 0 && e->width > 0 && !IsWhiteSpace(*e)) ++found;
    found += LeftOfThePage(e->children);
  }
  return found;
}

// The table's cells where its grid puts them: a cell whose rows all come before another's lies above it, one
// whose columns all come before another's lies left of it; every cell lies inside the table's frame, and
// nothing left of the page's edge, where no scrolling reaches, however wide the table; asking the whole
// width, it keeps within the page (beside a float too).
struct SpanJudgement {
  bool cellsOutsideFrame = false, leftOfThePage = false;
};

void JudgeSpanTable(const SpanTable& table, const HtmlElementList& list, SpanJudgement& judged) {
  std::vector<const HtmlElement*> boxes;
  const HtmlElement* frame = nullptr;
  int containers = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i] || list[i]->kind != kContainer || containers++ < table.floatCells) continue;
    if (boxes.empty() && i > 0) frame = list[i - 1].get();
    boxes.push_back(list[i].get());
  }
  ASSERT_EQ(boxes.size(), table.cells.size());
  int misplaced = 0;
  for (size_t a = 0; a < boxes.size(); ++a) {
    for (size_t b = 0; b < boxes.size(); ++b) {
      const SpanTable::Slot &p = table.cells[a], &q = table.cells[b];
      if (p.row + p.rowspan <= q.row && boxes[a]->y + boxes[a]->height > boxes[b]->y) ++misplaced;
      if (p.column + p.colspan <= q.column && boxes[a]->x + boxes[a]->width > boxes[b]->x) ++misplaced;
    }
  }
  EXPECT_EQ(misplaced, 0);
  ASSERT_NE(frame, nullptr);
  int outside = 0;
  for (const HtmlElement* cell : boxes)
    if (cell->x < frame->x || cell->y < frame->y || cell->x + cell->width > frame->x + frame->width ||
        cell->y + cell->height > frame->y + frame->height)
      ++outside;
  EXPECT_EQ(outside, 0);
  const int left = LeftOfThePage(list);
  EXPECT_EQ(left, 0);
  judged = {outside > 0, left > 0};
  if (table.wholeWidth) {  // but for the pixel a spanning cell's sizing may give each of its columns
    EXPECT_LE(frame->x + frame->width, kPageWidth + 4);
  }
}

TEST(OrdinaryPagesTest, RandomTablesWithRowAndColumnSpansBesideFloatsLayEveryCellInItsPlace) {
  std::mt19937 random(111), contexts(112);
  FixedAdvanceMeasurer measurer{7};
  int words = 0, cells = 0, emptyRows = 0, floats = 0, outsideFrame = 0, leftOfThePage = 0;
  constexpr int kTables = 300;
  for (int table = 0; table < kTables; ++table) {
    const SpanTable span = RandomSpanTable(random, contexts);
    SCOPED_TRACE(std::string(span.text.begin(), span.text.end()));
    SpanJudgement judged;
    const Overlaps found =
        CheckOrdinaryPage(span.text, measurer, [&](const HtmlElementList& list) { JudgeSpanTable(span, list, judged); });
    words += found.words > 0;
    cells += found.cells > 0;
    emptyRows += span.emptyRow;
    floats += span.floatCells > 0;
    outsideFrame += judged.cellsOutsideFrame;
    leftOfThePage += judged.leftOfThePage;
  }
  std::printf("of %d tables (%d with a row that starts no cell, %d beside a float): %d with words or pictures on "
              "each other, %d with cells on each other, %d with cells outside their frame, %d with something left "
              "of the page\n", kTables, emptyRows, floats, words, cells, outsideFrame, leftOfThePage);
}

}  // namespace
}  // namespace htmlview
