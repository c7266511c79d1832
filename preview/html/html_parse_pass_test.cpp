#include "preview/html/html_parse_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_element_dump.h"

namespace htmlview {
namespace {

std::u16string ToU16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// A host that records the forms and controls the page asks for.
class FormHost : public NullHtmlCallbacks {
 public:
  void OnParseProgress(int, int, int) override { ++progress; }
  int AddForm(const char16_t* action, const char16_t* method) override {
    calls.push_back("form " + N(action) + " " + N(method));
    return forms++;
  }
  HtmlWindowHandle CreateEdit(int size, int maxLength, int w, int h, const char16_t* text, int multi,
                              const char16_t* name, int form, int password) override {
    calls.push_back("edit " + std::to_string(size) + " " + std::to_string(maxLength) + " " + Size(w, h) + " '" +
                    N(text) + "' " + std::to_string(multi) + " " + N(name) + " " + std::to_string(form) + " " +
                    std::to_string(password));
    return 7;
  }
  HtmlWindowHandle CreatePushButton(int w, int h, const char16_t* text, const char16_t* name, int form) override {
    calls.push_back("button " + Size(w, h) + " " + N(text) + " " + N(name) + " " + std::to_string(form));
    return 8;
  }
  HtmlWindowHandle CreateRadioButton(int w, int h, const char16_t* value, const char16_t*, int) override {
    calls.push_back("radio " + Size(w, h) + " " + N(value));
    return 9;
  }
  HtmlWindowHandle CreateCheckBox(int w, int h, const char16_t* value, const char16_t*, int) override {
    calls.push_back("check " + Size(w, h) + " " + N(value));
    return 10;
  }
  HtmlWindowHandle CreateDropDownList(int w, int h, const StringTable& options, int selected, const char16_t*,
                                      int) override {
    listOptions.push_back(options.RowCount());
    std::string rows;
    for (int r = 0; r < options.RowCount() && r < 10; ++r)
      rows += N(options.GetCell(r, 0)) + "=" + N(options.GetCell(r, 1)) + ";";
    calls.push_back("list " + Size(w, h) + " " + rows + " " + std::to_string(selected));
    return 11;
  }

  static std::string N(const char16_t* s) { return std::string(s, s + std::u16string_view(s).size()); }
  static std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
  std::vector<std::string> calls;
  std::vector<int> listOptions;  // of each list made
  int forms = 0;
  int progress = 0;
};

class ParsePassTest : public ::testing::Test {
 protected:
  std::string Parse(std::u16string_view text, bool positions = false) {
    doc.elements.clear();
    HtmlParsePass pass(doc, measurer);
    pass.ParseRange(text, doc.elements, u"Arial", 15, 0, u"http://h/dir/page.htm", 0, 0, 0);
    return DumpElements(doc.elements, positions);
  }
  FormHost host;
  HtmlDocument doc{&host, 0};
  FixedAdvanceMeasurer measurer{8};
};

TEST_F(ParsePassTest, WordsAndFormatTags) {
  EXPECT_EQ(Parse(u"a<b>b</b>c"), "T 8x15 h15 'a'\nT 9x15 h15 b 'b'\nT 8x15 h15 'c'\n");
}

TEST_F(ParsePassTest, FontSizesFollowTheirRules) {
  EXPECT_EQ(Parse(u"<font size=+2>a</font><font size=3>b</font><font size=0>c</font>"),
            "T 8x17 h17 'a'\nT 8x20 h20 'b'\nT 8x15 h15 'c'\n");
}

TEST_F(ParsePassTest, SmallBigSubAndSup) {
  EXPECT_EQ(Parse(u"<small>a</small><big>b</big><sub>c</sub><sup>d</sup><strike>e</strike>"),
            "T 8x10 h10 'a'\nT 8x20 h20 'b'\nT 8x10 h10 'c'\nT 8x15 h10 'd'\nT 8x15 f16 h15 'e'\n");
}

TEST_F(ParsePassTest, TabsStopEveryFiveCharacters) {
  Parse(u"abc\tabcde\tx");
  ASSERT_EQ(doc.elements.size(), 5u);
  EXPECT_EQ(doc.elements[1]->text, u"  ");
  EXPECT_EQ(doc.elements[3]->text, u"     ");
}

TEST_F(ParsePassTest, TabsCountTheWholeLineAcrossOtherTabsAndBlocks) {
  Parse(u"ab\t\tc\t<div align=right>x</div>\t");
  std::vector<std::u16string> tabs;
  for (const auto& e : doc.elements)
    if (e->kind == kTextRun && !e->text.empty() && e->text.find_first_not_of(u' ') == std::u16string::npos)
      tabs.push_back(e->text);
  // 2 + 3, then 5 more, then 1 + 4; after the block's closing break the line starts again.
  EXPECT_EQ(tabs, (std::vector<std::u16string>{u"   ", u"     ", u"    ", u"     "}));
}

TEST_F(ParsePassTest, SpacesAfterTextAndBreaks) {
  EXPECT_EQ(Parse(u"  a b<br>c<p>d"),
            "T 8x15 h15 'a'\nT 8x15 h15 ' '\nT 8x15 h15 'b'\nT 8x15 h15 ' '\nR 0x0\nT 8x15 h15 'c'\n"
            "T 8x15 h15 ' '\nR 0x0\nT 8x15 h15 ' '\nR 0x0\nT 8x15 h15 'd'\n");
}

TEST_F(ParsePassTest, ParagraphAfterTextAddsABlankLine) {
  EXPECT_EQ(Parse(u"a <p>b<hr>"),
            "T 8x15 h15 'a'\nT 8x15 h15 ' '\nT 8x15 h15 ' '\nR 0x0\nT 8x15 h15 ' '\nR 0x0\nT 8x15 h15 'b'\n"
            "T 8x15 h15 ' '\nR 1x2 f15\nT 8x15 h15 ' '\nR 0x0\n");
}

TEST_F(ParsePassTest, CentredDivInsideLeftText) {
  EXPECT_EQ(Parse(u"a<div align=center>b c</div>d"),
            "T 8x15 h15 'a'\nR 0x0 a2\nT 8x15 a2 h15 'b'\nT 8x15 a2 h15 ' '\nT 8x15 a2 h15 'c'\nR 0x0\n"
            "T 8x15 h15 'd'\n");
}

TEST_F(ParsePassTest, DivWithTheInheritedAlignmentIsABlockBreak) {
  EXPECT_EQ(Parse(u"<div align=left>b</div>"), "R 0x0\nT 8x15 h15 'b'\nT 8x15 h15 ' '\nR 0x0\n");
}

TEST_F(ParsePassTest, HeadingsAndCentre) {
  EXPECT_EQ(Parse(u"<center><h1>T</h1></center>"),
            "R 0x0 a2\nT 9x30 a2 h30 b ' '\nR 0x0 a2\nT 9x30 a2 h30 b ' '\nR 0x0 a2\nT 9x30 a2 h30 b 'T'\n"
            "T 8x15 a2 h15 ' '\nR 0x0 a2\nT 8x15 h15 ' '\nR 0x0\n");
}

// An anchor that only names its place is no link; an address's "&amp;" is its "&".
TEST_F(ParsePassTest, LinksAreResolvedAndShared) {
  EXPECT_EQ(Parse(u"<a href=x.htm>a<a href=\"y.htm\">b</a>c<a href=X.HTM>d</a><a name=top>e</a>"
                  u"<a href='q?a=1&amp;b=2'>f</a>"),
            "T 8x15 f8 h15 L0 'a'\nT 8x15 f8 h15 L1 'b'\nT 8x15 h15 'c'\nT 8x15 f8 h15 L0 'd'\nT 8x15 h15 'e'\n"
            "T 8x15 f8 h15 L2 'f'\n");
  EXPECT_EQ(ParseInteger(u"0"), 0);
  EXPECT_EQ(std::u16string(doc.links.GetCell(0, 0)), u"http://h/dir/x.htm");
  EXPECT_EQ(std::u16string(doc.links.GetCell(0, 2)), u"http://h/dir/q?a=1&b=2");
  EXPECT_EQ(doc.elements[0]->textColor, 0xFF0000u);
  EXPECT_EQ(doc.elements[4]->textColor, 0u);
}

TEST_F(ParsePassTest, LinksOfAnEarlierPassKeepTheirPlaces) {
  Parse(u"<a href=x.htm>a");
  Parse(u"<a href=y.htm>b<a href=X.htm>c<a href=Y.HTM>d");
  ASSERT_EQ(doc.elements.size(), 3u);
  EXPECT_EQ(doc.elements[0]->linkIndex, 1);
  EXPECT_EQ(doc.elements[1]->linkIndex, 0);
  EXPECT_EQ(doc.elements[2]->linkIndex, 1);
  EXPECT_EQ(doc.links.GetRow(0).Count(), 2);
}

TEST_F(ParsePassTest, InlineAndFloatingImages) {
  EXPECT_EQ(Parse(u"<img src=a.gif width=20 height=10%><img width=5><img src=b.gif align=right border=2>"),
            "I 20x0\nR 0x0 a1\nC 0x0 a1 rc0,0 pad4 side1\n  I 0x0 f15\nR 0x0\nR 0x0\n");
  ASSERT_EQ(doc.images.Count(), 2);
  EXPECT_EQ(doc.images.Url(1), u"http://h/dir/b.gif");
}

TEST_F(ParsePassTest, TagsAreReadInAnyCase) {
  EXPECT_EQ(Parse(u"a<B>b</B><TABLE><Tr><TD>c</Table>"),
            "T 8x15 h15 'a'\nT 9x15 h15 b 'b'\nR 0x0\nC 0x0 rc0,0 pad4\n  T 8x15 h15 'c'\nR 0x0\nR 0x0\n");
  // An image floated in capitals is inline inside its box, not floated again and again.
  EXPECT_EQ(Parse(u"<IMG SRC=b.gif ALIGN=Right>"), "R 0x0 a1\nC 0x0 a1 rc0,0 pad4 side1\n  I 0x0\nR 0x0\nR 0x0\n");
}

TEST_F(ParsePassTest, ContainersStartFromTheInheritedFont) {
  Parse(u"<font size=5 color=red face=Verdana><table><tr><td>a<th>b</table><pre>p</pre><ol><li>l</ol>"
        u"<blockquote>q</blockquote><img src=f.gif align=left>c</font>");
  // frame, two cells, row break, closing break; then pre (break, box, break), list (break, marker, content,
  // break), quotation (break, box, break), float (break, box, break, break), c.
  ASSERT_EQ(doc.elements.size(), 20u) << DumpElements(doc.elements, false);
  const auto first = [](const HtmlElement& box) -> const HtmlElement& { return *box.children.at(0); };
  for (size_t i : {1u, 6u, 9u, 10u, 13u}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(first(*doc.elements[i]).fontHeight, 15);
    EXPECT_EQ(first(*doc.elements[i]).textColor, 0u);
  }
  EXPECT_EQ(first(*doc.elements[1]).fontFace, u"Arial");
  EXPECT_EQ(first(*doc.elements[2]).fontHeight, 19);  // a header cell: four larger
  EXPECT_EQ(first(*doc.elements[6]).fontFace, u"Courier New");
  EXPECT_EQ(first(*doc.elements[9]).fontFace, u"Arial");  // the ordered list's number
  EXPECT_EQ(first(*doc.elements[10]).fontFace, u"Arial");
  EXPECT_EQ(first(*doc.elements[13]).fontFace, u"Arial");
  const HtmlElement& c = *doc.elements[19];
  EXPECT_EQ(c.text, u"c");
  EXPECT_EQ(c.fontHeight, 28);
  EXPECT_EQ(c.textColor, 0x0000FFu);
  EXPECT_EQ(c.fontFace, u"Verdana");
}

TEST_F(ParsePassTest, UnclosedAndUnknownTagsRunToTheEnd) {
  // The loader drops tags it does not know; one that slips through is read as text.
  EXPECT_EQ(Parse(u"<blink>a<b"), "T 56x15 h15 'blink>a'\n");
  EXPECT_EQ(Parse(u"<"), "");
  EXPECT_EQ(Parse(u"<table><tr><td>a<div align=right>b"),
            "R 0x0\nC 0x0 rc0,0 pad4\n  T 8x15 h15 'a'\n  R 0x0 a1\n  T 8x15 a1 h15 'b'\n  R 0x0\nR 0x0\nR 0x0\n");
}

TEST_F(ParsePassTest, TableOfTwoRows) {
  EXPECT_EQ(Parse(u"<table border=1><tr><td>a<td>b</tr><tr><th>c</th><td colspan=2>d</table> e"),
            "R 0x0\nC 0x0 f15 rc0,0 pad5\n  T 8x15 h15 'a'\nC 0x0 f15 rc0,1 pad5\n  T 8x15 h15 'b'\nR 0x0\n"
            "C 0x0 f15 rc1,0 pad5\n  T 8x19 a2 h19 'c'\nC 0x0 f15 rc1,1 pad5\n  T 8x15 h15 'd'\nR 0x0\nR 0x0\n"
            "T 8x15 h15 'e'\n");
  EXPECT_EQ(doc.elements[1]->Container().cell[2], 1);
  EXPECT_EQ(doc.elements[5]->Container().cell[2], 2);  // colspan
}

TEST_F(ParsePassTest, TableAttributesReachTheCells) {
  Parse(u"<table width=400 align=right bgcolor=red cellpadding=0 cellspacing=3><tr><td width=50% height=9>a"
        u"<td width=10% colspan=1200>b<td>c</table>");
  EXPECT_EQ(doc.elements[0]->backColor, 0x0000FFu);
  const HtmlElement& first = *doc.elements[1];
  EXPECT_EQ(first.Container().cell[4], 200);  // 50% of 400
  EXPECT_EQ(first.Container().cell[5], 400);
  EXPECT_EQ(first.Container().cell[7], 9);
  EXPECT_EQ(first.Container().cell[9], 0);
  EXPECT_EQ(first.Container().cell[10], 3);
  EXPECT_EQ(first.Container().cellTag, 1);
  EXPECT_EQ(doc.elements[2]->Container().cell[2], 1000);  // clamped span; the column still moves past it
  EXPECT_EQ(doc.elements[3]->Container().cell[1], 1002);
}

// A row that starts no cell, all of it covered by a rowspan, is still a row: the next one comes after it.
TEST_F(ParsePassTest, ARowThatStartsNoCellIsCountedWhenRowspansCoverIt) {
  Parse(u"<table><tr><td rowspan=2>a<td>b</tr><tr></tr><tr><td>c</tr><tr></tr><tr><td>d</table>");
  std::vector<int> rows;
  for (const auto& e : doc.elements)
    if (e->kind == kContainer) rows.push_back(e->Container().cell[0]);
  EXPECT_EQ(rows, (std::vector<int>{0, 0, 2, 3}));  // the empty row after c: no rowspan covers it
}

TEST_F(ParsePassTest, PercentCellWidthNeedsAPixelTableWidth) {
  Parse(u"<table width=50%><tr><td width=50%>a</table>");
  EXPECT_EQ(doc.elements[1]->Container().cell[5], -50);
  EXPECT_EQ(doc.elements[1]->Container().cell[4], 0);
}

TEST_F(ParsePassTest, EmptyTableIsTwoBreaks) { EXPECT_EQ(Parse(u"<table></table>"), "R 0x0\nR 0x0\n"); }

TEST_F(ParsePassTest, ListsAreTwoColumnTables) {
  EXPECT_EQ(Parse(u"<ul><li>a<li>b<ul><li>c</ul></ul><ol><li>x</ol>"),
            "R 0x0\nC 0x0 rc0,0 pad2\n  T 8x15 h15 nw 'l'\n  T 8x15 h15 nw ' '\nC 0x0 rc0,1 pad2\n  T 8x15 h15 'a'\n"
            "R 0x0\nC 0x0 rc1,0 pad2\n  T 8x15 h15 nw 'l'\n  T 8x15 h15 nw ' '\nC 0x0 rc1,1 pad2\n"
            "  T 8x15 h15 'b'\n  R 0x0\n  C 0x0 rc0,0 pad2\n    T 8x15 h15 nw 'm'\n    T 8x15 h15 nw ' '\n"
            "  C 0x0 rc0,1 pad2\n    T 8x15 h15 'c'\n  R 0x0\nR 0x0\nR 0x0\nC 0x0 rc0,0 pad2\n"
            "  T 16x15 h15 nw '1.'\n  T 8x15 h15 nw ' '\n  T 8x15 h15 nw ' '\n  T 8x15 h15 nw ' '\n"
            "  T 8x15 h15 nw ' '\nC 0x0 rc0,1 pad2\n  T 8x15 h15 'x'\nR 0x0\n");
  EXPECT_EQ(doc.elements[1]->children[0]->fontFace, u"Wingdings");
}

TEST_F(ParsePassTest, OrderedListAtAnOddLevelUsesLetters) {
  Parse(u"<ol><li><ol><li>p<li>q</ol></ol>");
  const HtmlElementList& inner = doc.elements[2]->children;
  ASSERT_GE(inner.size(), 5u);
  EXPECT_EQ(inner[1]->children[0]->text, u"a.");
  EXPECT_EQ(inner[4]->children[0]->text, u"b.");
}

TEST_F(ParsePassTest, PreformattedAndQuotation) {
  EXPECT_EQ(Parse(u"<pre>a  b\nc</pre> <blockquote>q</blockquote>"),
            "R 0x0\nC 0x0 rc0,0 pad0\n  T 8x15 h15 nw 'a'\n  T 8x15 h15 nw ' '\n  T 8x15 h15 nw ' '\n"
            "  T 8x15 h15 nw 'b'\n  T 8x15 h15 nw ' '\n  R 0x0\n  T 8x15 h15 nw 'c'\nR 0x0\n"
            "R 0x0\nC 0x0 rc0,0 pad15\n  T 8x15 h15 'q'\nR 0x0\n");
  EXPECT_EQ(doc.elements[1]->children[0]->fontFace, u"Courier New");
}

TEST_F(ParsePassTest, FormControlsAreAnnouncedWithTheirPlaceholderSizes) {
  EXPECT_EQ(Parse(u"<form action=go.cgi><input><input type=password name=p size=2 maxlength=5>"
                  u"<input type=submit value=OK><input type=radio value=r><input type=checkbox value=c>"
                  u"<input type=hidden value=h></form><input type=reset>"),
            "T 88x19 f15 h15 ''\nT 24x19 f15 h15 ''\nT 24x19 f15 h15 'OK'\nT 13x13 f15 h15 '    '\n"
            "T 13x13 f15 h15 '    '\nT 0x0 f15 h15 'h'\n");
  const std::vector<std::string> expected = {
      "form http://h/dir/go.cgi get",         "edit 10 0 88x19 '' 0  0 0", "edit 2 5 24x19 '' 0 p 0 1",
      "button 24x19 OK  0",                   "radio 13x13 r",             "check 13x13 c",
      "edit 10 0 0x0 'h' 0  0 0"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_EQ(doc.elements[0]->controlWindow, 7u);
  EXPECT_EQ(doc.elements[0]->borderColor, kSunkenBorder);
  EXPECT_EQ(doc.elements[2]->borderColor, kRaisedBorder);
  EXPECT_EQ(doc.elements[2]->backColor, 0xC0C0C0u);
}

TEST_F(ParsePassTest, AWideTextFieldIsMeasuredByOneCharacter) {
  // As wide as its size in zeros, without a text of that many characters measured for each field.
  class Counting : public FixedAdvanceMeasurer {
   public:
    HtmlTextSize MeasureText(std::u16string_view face, int height, int bold, int italic, const char16_t* text,
                             int flags, int length) override {
      characters += MeasuredLength(text, length);
      return FixedAdvanceMeasurer::MeasureText(face, height, bold, italic, text, flags, length);
    }
    long long characters = 0;
  } counting;
  for (const int size : {0, 1, 7, 1000, 5000}) {
    HtmlDocument alone(nullptr, 0);
    HtmlParsePass pass(alone, counting);
    counting.characters = 0;
    const std::u16string page = u"<input size=" + ToU16(std::to_string(size)) + u">";
    pass.ParseRange(page, alone.elements, u"Arial", 15, 0, u"", 0, 0, 0);
    ASSERT_EQ(alone.elements.size(), 1u);
    EXPECT_EQ(alone.elements[0]->width, std::min(size, 1000) * 8 + 8) << size;
    EXPECT_EQ(alone.elements[0]->height, 19);
    EXPECT_LE(counting.characters, 1) << size;
  }
}

TEST_F(ParsePassTest, AnEmptyButtonIsALineHigh) {
  EXPECT_EQ(Parse(u"<input type=submit><input size=0>"), "T 8x19 f15 h15 ''\nT 8x19 f15 h15 ''\n");
}

TEST_F(ParsePassTest, AttributeValuesAreEntityDecoded) {
  Parse(u"<input type=submit value=\"Caf&eacute; &amp; th&#233;\">");
  EXPECT_EQ(host.calls, std::vector<std::string>{"button 88x19 Caf\xE9 & th\xE9  -1"});  // no form
  EXPECT_EQ(doc.elements[0]->text, u"Caf\u00E9 & th\u00E9");
}

TEST_F(ParsePassTest, ImageInputsOfOneFormShareAPseudoLink) {
  Parse(u"<form><input type=image src=a.gif><input type=image src=b.gif width=30></form>");
  EXPECT_EQ(doc.elements[0]->linkIndex, 0);
  EXPECT_EQ(doc.elements[1]->linkIndex, 0);
  EXPECT_EQ(doc.elements[1]->width, 30);
  EXPECT_EQ(std::u16string(doc.links.GetCell(0, 0)), u"Submit(0)");
}

TEST_F(ParsePassTest, SelectAndTextArea) {
  EXPECT_EQ(Parse(u"<select name=s><option value=1>one<option selected value=2>three<option>x</select>"
                  u"<textarea name=s cols=40 rows=10>hi &amp; bye</textarea>"),
            "T 64x19 f15 h15 'one'\nT 324x154 f15 h15 'hi & bye'\n");
  EXPECT_EQ(host.calls[0], "list 64x19 one=1;three=2;x=; 1");
  EXPECT_EQ(host.calls[1], "edit -1 0 324x154 'hi & bye' 1 s -1 0");
}

TEST_F(ParsePassTest, ADropDownListHoldsItsBoundOfOptionsAndThePageCountsTheRest) {
  // Two lists past the bound (the first selecting an option past it too) and one within it.
  const auto list = [](int options, int longest) {
    std::u16string text = u"<select name=s>";
    for (int i = 0; i < options; ++i)
      text += (i == 5 || i == options - 1 ? u"<option selected value=v" : u"<option value=v") + os::Decimal(i) + u">" +
              (i == longest ? u"the longest of them" : u"o" + os::Decimal(i));
    return text + u"</select>";
  };
  Parse(u"<form action=f>" + list(kMaxListOptions + 500, kMaxListOptions + 100) + list(3, 1) +
        list(kMaxListOptions + 1, 7) + u" after");
  EXPECT_EQ(host.listOptions, (std::vector<int>{kMaxListOptions, 3, kMaxListOptions}));
  EXPECT_EQ(host.calls[1].substr(0, 30), "list 64x19 o0=v0;o1=v1;o2=v2;o");
  EXPECT_EQ(host.calls[1].substr(host.calls[1].size() - 2), " 5");  // the last one is not among those shown
  EXPECT_EQ(host.calls[2].substr(0, 10), "list 176x1");             // widest: "the longest of them"
  EXPECT_EQ(host.calls[3].substr(0, 10), "list 176x1");
  EXPECT_EQ(doc.cutListsShown, 2 * kMaxListOptions);
  EXPECT_EQ(doc.cutListsOptions, 2LL * kMaxListOptions + 501);
  EXPECT_EQ(doc.elements.back()->text, u"after");
}

TEST_F(ParsePassTest, ASelectsPlaceholderTakesTheSystemsScrollBarWidth) {
  // A system with wider scroll bars: the list's button, and so its placeholder, grows with them.
  class WideBars : public FixedAdvanceMeasurer {
   public:
    int ScrollBarWidth() override { return 23; }
  } wide;
  HtmlDocument alone(nullptr, 0);
  HtmlParsePass pass(alone, wide);
  EXPECT_EQ(pass.scrollBarWidth, 23);
  pass.ParseRange(u"<form><select><option>three</select></form>", alone.elements, u"Arial", 15, 0, u"", 0, 0, 0);
  ASSERT_EQ(alone.elements.size(), 1u);
  EXPECT_EQ(alone.elements[0]->width, 23 + 5 * 8 + 8);  // 64 with the default 16, as above
}

TEST_F(ParsePassTest, ControlsWithoutAHostStillGetPlaceholders) {
  HtmlDocument alone(nullptr, 0);
  HtmlParsePass pass(alone, measurer);
  pass.ParseRange(u"<form><input><select></select>", alone.elements, u"Arial", 15, 0, u"", 0, 0, 0);
  EXPECT_EQ(DumpElements(alone.elements, false), "T 88x19 f15 h15 ''\nT 24x19 f15 h15 ''\n");
  EXPECT_EQ(alone.elements[0]->controlWindow, kNoControl);
}

TEST_F(ParsePassTest, APageMakesAtMostItsBoundOfControlsAndDrawsTheRestAsBoxes) {
  // Drop-down lists, wide fields and passwords by turns, past the bound: every one keeps its placeholder
  // and size; the host is asked for the bound's number of windows, the first ones.
  std::u16string page = u"<form action=f>";
  const int total = kMaxFormControls + 301;
  for (int i = 0; i < total; ++i)
    page += i % 3 == 0 ? u"<select name=s>" : i % 3 == 1 ? u"<input size=1000>" : u"<input type=password value=pw>";
  Parse(page);
  ASSERT_EQ(doc.elements.size(), static_cast<size_t>(total));
  EXPECT_EQ(host.calls.size(), static_cast<size_t>(kMaxFormControls) + 1);  // and the form
  for (int i = 0; i < total; ++i) {
    SCOPED_TRACE(i);
    const HtmlElement& e = *doc.elements[static_cast<size_t>(i)];
    const HtmlElement& first = *doc.elements[static_cast<size_t>(i % 3)];
    EXPECT_EQ(e.controlWindow == kNoControl, i >= kMaxFormControls);
    EXPECT_EQ(e.width, first.width);
    EXPECT_EQ(e.height, first.height);
    EXPECT_EQ(e.borderFlags, 15u);
    if (i % 3 == 2) {
      EXPECT_EQ(e.text, i >= kMaxFormControls ? u"**" : u"pw");
    }
  }
}

TEST_F(ParsePassTest, BlocksOfAlternatingAlignmentNestedToTheCapSweepThePageOnce) {
  // Each level's range is a part of the page: its blocks' ends are read from the page's one sweep.
  std::u16string page;
  for (int i = 0; i < 4; ++i) {
    for (int level = 0; level < kMaxParseDepth + 10; ++level)
      page += level % 2 ? u"<div align=right>words " : u"<div align=center>more words ";
    page += u"<p align=right>a paragraph</p>";
    for (int level = 0; level < kMaxParseDepth + 10; ++level) page += u"</div>";
  }
  HtmlParsePass pass(doc, measurer);
  pass.ParseRange(page, doc.elements, u"Arial", 15, 0, u"http://h/", 0, 0, 0);
  EXPECT_EQ(doc.level, kMaxParseDepth);
  EXPECT_LE(pass.blockEndsSwept, page.size());
}

TEST_F(ParsePassTest, NestingIsCappedAndHeightsBounded) {
  std::u16string deep;
  for (int i = 0; i < 5000; ++i) deep += u"<table><tr><td><blockquote>";
  deep += u"x";
  for (int i = 0; i < 40; ++i) deep += u"<h1>";
  Parse(deep);
  EXPECT_LE(doc.level, kMaxParseDepth);
  int depth = 0;
  const HtmlElementList* list = &doc.elements;
  while (!list->empty()) {
    const HtmlElement* container = nullptr;
    for (const auto& e : *list)
      if (e->kind == kContainer) container = e.get();
    if (!container) break;
    list = &container->children;
    ++depth;
  }
  EXPECT_LE(depth, kMaxParseDepth + 1);  // the deepest containers stay empty
  Parse(u"<font size=99999999999>a<h1><h1><h1><h1><h1><h1><h1><h1><h1><h1>b");
  for (const auto& e : doc.elements) {
    EXPECT_LE(e->fontHeight, kMaxFontHeight);
  }
}

}  // namespace
}  // namespace htmlview
