#include "preview/html/html_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "preview/html/html_text_measurer.h"

namespace htmlview {
namespace {

// A host that records what the page asks of it.
class RecordingHost : public HtmlBrowserCallbacks {
 public:
  void OnParseProgress(int, int, int) override {}
  void Navigate(const char16_t* url) override { navigated.push_back(url); }
  void OnLinkHover(int over, const char16_t* url) override {
    hovers.push_back(std::to_string(over) + ":" + Narrow(url));
    if (onHover) onHover(over, url);
  }
  void SetTitle(const char16_t*) override {}
  char16_t* ReadText(const char16_t*, int*) override { return nullptr; }
  uint8_t* ReadBinary(const char16_t*, int*) override { return nullptr; }
  void OnImagesLoaded(int, int) override {}
  int AddForm(const char16_t*, const char16_t*) override { return 0; }
  HtmlWindowHandle CreateEdit(int, int, int, int, const char16_t*, int, const char16_t*, int, int) override { return 0; }
  HtmlWindowHandle CreatePushButton(int, int, const char16_t*, const char16_t*, int) override { return 0; }
  HtmlWindowHandle CreateRadioButton(int, int, const char16_t*, const char16_t*, int) override { return 0; }
  HtmlWindowHandle CreateCheckBox(int, int, const char16_t*, const char16_t*, int) override { return 0; }
  HtmlWindowHandle CreateDropDownList(int, int, const StringTable&, int, const char16_t*, int) override { return 0; }
  void PlaceControl(HtmlWindowHandle w, int x, int y) override { placed.push_back({static_cast<int>(w), x, y}); }
  void InvalidateDocumentRect(const HtmlRect& r) override { invalidated.push_back({r.left, r.top, r.right, r.bottom}); }

  static std::string Narrow(const char16_t* s) { return std::string(s, s + std::u16string_view(s).size()); }
  std::vector<std::u16string> navigated;
  std::vector<std::string> hovers;
  std::vector<std::vector<int>> placed, invalidated;
  std::function<void(int, const char16_t*)> onHover;
};

std::unique_ptr<HtmlElement> Box(int kind, int x, int y, int w, int h, int link = -1) {
  auto e = std::make_unique<HtmlElement>();
  e->kind = kind;
  e->x = x;
  e->y = y;
  e->width = w;
  e->height = h;
  e->linkIndex = link;
  return e;
}

// Two links: a text run at the top, and one inside a table cell below it.
class HtmlDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.links.AddRow();
    doc.links.AddCell(0, u"http://h/one.htm");
    doc.links.AddCell(0, u"http://h/two.htm");
    doc.elements.push_back(Box(kTextRun, 10, 10, 100, 20, 0));
    auto cell = Box(kContainer, 0, 50, 300, 100, 0);  // a cell inside link 0's anchor
    cell->children.push_back(Box(kTextRun, 20, 60, 50, 20, 1));
    doc.elements.push_back(std::move(cell));
  }
  RecordingHost host;
  HtmlDocument doc{&host, 0};
};

TEST_F(HtmlDocumentTest, ClickInsideACellNavigatesOnceToItsLink) {
  doc.OnClick(25, 65);
  EXPECT_EQ(host.navigated, std::vector<std::u16string>{u"http://h/two.htm"});
  EXPECT_EQ(doc.hoverLink, 1);
  doc.OnClick(110, 10);  // right and bottom edges are outside
  doc.OnClick(10, 29);
  EXPECT_EQ(host.navigated.back(), u"http://h/one.htm");
  EXPECT_EQ(host.navigated.size(), 2u);
}

TEST_F(HtmlDocumentTest, HoverReportsTheLinkAndLeavingIt) {
  doc.OnMouseMove(15, 15);
  doc.OnMouseMove(500, 500);
  EXPECT_EQ(host.hovers, (std::vector<std::string>{"1:http://h/one.htm", "0:"}));
  EXPECT_EQ(doc.hoverLink, -1);
}

TEST_F(HtmlDocumentTest, InvalidatesLinksAndImagesWhereverTheyAre) {
  doc.InvalidateLinkUrl(u"http://h/two.htm");
  EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{{20, 60, 70, 80}}));
  host.invalidated.clear();
  // The run at the top and the cell below it, which holds another link's run: one rectangle around both.
  doc.InvalidateLink(0);
  EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{{0, 10, 300, 150}}));
  host.invalidated.clear();
  doc.InvalidateLinkUrl(u"http://h/none.htm");
  doc.InvalidateLinkUrl(u"HTTP://h/two.htm");  // compared exactly
  doc.InvalidateLink(-1);
  doc.InvalidateLink(2);
  EXPECT_TRUE(host.invalidated.empty());
  auto image = Box(kImage, 5, 5, 8, 8);
  image->imageIndex = 3;
  doc.elements[1]->children.push_back(std::move(image));
  doc.InvalidateImage(3);
  EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{{5, 5, 13, 13}}));
}

TEST(HtmlLinkHoverTest, AMoveOverALinkRepaintsOneRectangleAroundItsBoxesHoweverManyTheyAre) {
  // One link repeated on lines of ten, and a word of another link beside the first line.
  for (const int count : {20, 20000}) {
    SCOPED_TRACE(count);
    RecordingHost host;
    HtmlDocument doc(&host, 0);
    doc.links.AddRow();
    doc.links.AddCell(0, u"http://h/same.htm");
    doc.links.AddCell(0, u"http://h/other.htm");
    for (int i = 0; i < count; ++i) doc.elements.push_back(Box(kTextRun, i % 10 * 60, i / 10 * 20, 50, 16, 0));
    doc.elements.push_back(Box(kTextRun, 700, 0, 40, 16, 1));
    HtmlLinkHover hover;
    host.onHover = [&](int over, const char16_t* url) { hover.Report(doc, over, url); };
    const std::vector<int> same{0, 0, 590, (count / 10 - 1) * 20 + 16}, other{700, 0, 740, 16};
    doc.OnMouseMove(5, 5);
    EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{same}));
    doc.OnMouseMove(65, 25);  // the same link: its rectangle again
    EXPECT_EQ(host.invalidated.size(), 2u);
    host.invalidated.clear();
    doc.OnMouseMove(705, 5);  // the link left, and the link entered
    EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{same, other}));
    host.invalidated.clear();
    doc.OnMouseMove(900, 5);
    EXPECT_EQ(host.invalidated, (std::vector<std::vector<int>>{other}));
    EXPECT_EQ(hover.Url(), u"");
  }
}

TEST_F(HtmlDocumentTest, SelectionByDragOverLines) {
  // From above the first line, right of its end, down below it.
  doc.SetSelection({150, 0, 160, 35});
  EXPECT_EQ(doc.elements[0]->selected, 1);
  EXPECT_EQ(doc.elements[1]->children[0]->selected, 0);
  doc.SetSelection({0, 0, 400, 400});
  EXPECT_EQ(doc.elements[1]->children[0]->selected, 1);
  EXPECT_EQ(doc.elements[1]->selected, 0);  // containers take no part
  doc.SetSelection({500, 500, 600, 600});
  EXPECT_EQ(doc.elements[0]->selected, 0);
}

TEST_F(HtmlDocumentTest, RuleBeforeATableTakesNoPartInTheSelection) {
  doc.elements.insert(doc.elements.begin() + 1, CreateRuleElement(2, 300, 0, 0));
  doc.elements.push_back(CreateRuleElement(2, 300, 0, 0));
  for (auto* e : {doc.elements[1].get(), doc.elements[3].get()}) e->y = 40;
  doc.SetSelection({0, 0, 400, 400});
  EXPECT_EQ(doc.elements[1]->selected, 0);
  EXPECT_EQ(doc.elements[3]->selected, 1);
}

TEST_F(HtmlDocumentTest, LayoutPlacesControlsAndReturnsTheExtent) {
  doc.elements[1]->children[0]->controlWindow = 77;
  FixedAdvanceMeasurer measurer;
  doc.elements.push_back(CreateTextElement(measurer, u" ", 0, 0, 0, u"Arial", 16, 0, 0, 0, kNoColour,
                                           0, 0, -1, 0));
  doc.elements.back()->x = 5000;
  HtmlRect seen;
  doc.layoutPass = [&seen](HtmlElementList&, HtmlRect& r) { seen = r; };
  HtmlRect rect{0, 0, 640, 480};
  doc.Layout(rect);
  EXPECT_EQ(seen.right, 638);
  EXPECT_EQ(rect.right, 300);  // the lone space is not content
  EXPECT_EQ(rect.bottom, 150);
  EXPECT_EQ(host.placed, (std::vector<std::vector<int>>{{77, 20, 60}, {77, 20, 60}}));
  EXPECT_EQ(doc.elements[0]->Container().layoutCache[0], -1);
}

// The link under (x, y) as a walk of the page finds it: a container's children before the container, the
// first box that holds the point; and the number of linked boxes that reach y.
int WalkHit(const HtmlElementList& list, int x, int y, int& reaching) {
  int found = -1;
  for (const auto& e : list) {
    if (e->kind == kContainer) {
      const int inside = WalkHit(e->children, x, y, reaching);
      if (found < 0) found = inside;
    }
    if (e->linkIndex < 0 || y < e->y || y >= e->y + e->height) continue;
    ++reaching;
    if (found < 0 && x >= e->x && x < e->x + e->width) found = e->linkIndex;
  }
  return found;
}

TEST(HtmlDocumentHitTest, AMoveLooksAtTheBoxesAtItsHeightAndFindsTheLinkAWalkFinds) {
  // 300 linked rows of 60 linked words, each row a linked container, beside tall linked boxes that
  // overlap the rows and each other; words of some rows overlap their neighbours.
  RecordingHost host;
  HtmlDocument doc(&host, 0);
  doc.links.AddRow();
  for (int i = 0; i < 400; ++i) doc.links.AddCell(0, u"http://h/x.htm");
  int boxes = 0;
  for (int row = 0; row < 300; ++row) {
    auto cell = Box(kContainer, 0, row * 20, 1300, 20, 300 + row % 50);
    for (int word = 0; word < 60; ++word)
      cell->children.push_back(Box(kTextRun, word * 20, row * 20 + 2, row % 7 ? 18 : 25, 16, (row + word) % 300));
    doc.elements.push_back(std::move(cell));
    boxes += 61;
  }
  for (int tall = 0; tall < 20; ++tall) doc.elements.push_back(Box(kImage, 1250 + tall, tall * 300, 40, 1000, 350 + tall));
  std::mt19937 random(3);
  size_t worst = 0;
  for (int probe = 0; probe < 800; ++probe) {
    const int x = static_cast<int>(random() % 1400) - 20, y = static_cast<int>(random() % 6500) - 20;
    int reaching = 0;
    const int expected = WalkHit(doc.elements, x, y, reaching);
    doc.OnMouseMove(x, y);
    ASSERT_EQ(doc.hoverLink, expected) << x << "," << y;
    // Each box that reaches the height costs a path down the tree of 20 000 boxes, no more.
    EXPECT_LE(doc.HitBoxesExamined(), static_cast<size_t>(2 * 16 * (reaching + 1))) << x << "," << y;
    worst = std::max(worst, doc.HitBoxesExamined());
  }
  EXPECT_LT(worst, static_cast<size_t>(boxes / 4));
}

TEST(HtmlDocumentAloneTest, EmptyNullHostAndStatistics) {
  HtmlDocument doc(nullptr, 0);
  HtmlRect rect{0, 0, 100, 100};
  doc.Layout(rect);
  EXPECT_EQ(rect.right, 0);
  EXPECT_EQ(rect.bottom, 0);
  doc.OnClick(0, 0);
  doc.OnMouseMove(0, 0);
  doc.InvalidateImage(0);
  EXPECT_EQ(doc.pageBackColor, kNoColour);
  EXPECT_EQ(doc.IsBusy(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(doc.AppendElementSlot(doc.elements, doc.elementCount));
  doc.links.AddRow();
  doc.links.AddCell(0, u"a");
  doc.images.AddImage(u"x.gif", 0);
  doc.level = 4;
  int items, images, links, level;
  doc.GetStatistics(items, images, links, level);
  EXPECT_EQ(std::vector<int>({items, images, links, level}), std::vector<int>({3, 1, 1, 4}));
  EXPECT_EQ(doc.elements.size(), 3u);
}

TEST(HtmlElementTest, FactoriesFillTheirFields) {
  FixedAdvanceMeasurer measurer(8);
  auto text = CreateTextElement(measurer, u"a&amp;\u00C3\u00A9", 8, 1, 0, u"Verdana, Arial", 20, 1, 0, 0xFF, kNoColour,
                                1, 2, 4, 1);
  EXPECT_EQ(text->fontFace, u"Verdana");
  EXPECT_EQ(text->text, u"a&\u00C3\u00A9");  // UTF-8 pairs are repaired where a page's bytes are read
  EXPECT_EQ(text->width, 4 * 9);
  EXPECT_EQ(text->height, 20);
  EXPECT_EQ(measurer.lastFace, u"Verdana");
  EXPECT_EQ(CreateTextElement(measurer, u"x", 0, 0, 0, std::u16string(500, u'F').c_str(), 1, 0, 0, 0, 0, 0, 0, -1, 0)
                ->fontFace.size(),
            kFontFaceCapacity - 1);
  // Runs made one after another in one face share its name.
  auto first = CreateTextElement(measurer, u"a", 0, 0, 0, u"Courier New", 10, 0, 0, 0, 0, 0, 0, -1, 0);
  auto second = CreateTextElement(measurer, u"b", 0, 0, 0, u"Courier New, Arial", 10, 0, 0, 0, 0, 0, 0, -1, 0);
  EXPECT_EQ(&first->fontFace.str(), &second->fontFace.str());

  HtmlImageTable images(nullptr);
  auto a = CreateImageElement(u"a.gif", 0, 0, 0, 0, images, -1, 0, 7, 0);
  auto b = CreateImageElement(u"a.gif", 0, 0, 0, 0, images, -1, 0, 7, 2);
  auto c = CreateImageElement(u"a.gif", 0, 0, 0, 0, images, -1, 0, 8, 0);
  EXPECT_EQ(a->imageIndex, b->imageIndex);
  EXPECT_NE(a->imageIndex, c->imageIndex);
  EXPECT_EQ(images.Count(), 2);
  EXPECT_EQ(b->borderFlags, 15u);
  EXPECT_EQ(b->borderWidth, 2);

  auto rule = CreateRuleElement(2, 0, 0, 5);
  EXPECT_EQ(rule->borderFlags, 0u);
  EXPECT_EQ(rule->borderColor, kSunkenBorder);

  auto low = CreateCellElement(1, 2, 3, 4, 5, 0xAA, 1, 0, 0, 6, 7, 8, 9, 10, 11, 0xBB, 12);
  EXPECT_EQ(low->Container().cell, (std::array<int, 11>{1, 2, 1, 1, 3, 8, 1, 10, 11, 7, 7}));
  EXPECT_EQ(low->borderFlags, 15u);
  auto high = CreateCellElement(0, 0, 0, 0, 0, 0, 0, 5000, 5000, 0, 0, 0, -1, 0, 0, 0, 0);
  EXPECT_EQ(high->Container().cell[2], 1000);
  EXPECT_EQ(high->Container().cell[3], 1000);
  EXPECT_EQ(high->borderWidth, 0);
}

TEST(HtmlElementTest, TheLargestPagesRecordsFitWellInsideAThirtyTwoBitProcess) {
  // A record, its heap block's overhead and its slot in a list, times the most elements a page makes.
  const unsigned long long perElement = sizeof(HtmlElement) + 3 * sizeof(void*);
  const unsigned long long limit = (sizeof(void*) == 4 ? 512ull : 768ull) << 20;
  EXPECT_LE(perElement * kMaxPageElements, limit) << sizeof(HtmlElement) << " bytes a record";
}

TEST(HtmlElementTest, DeepTreesAreWalkedToACapAndFreedWithoutRecursion) {
  RecordingHost host;
  HtmlDocument doc(&host, 0);
  doc.elements.push_back(Box(kContainer, 0, 0, 10, 10));
  HtmlElement* e = doc.elements[0].get();
  for (int i = 0; i < 100000; ++i) {
    e->children.push_back(Box(kContainer, 0, 0, 10, 10));
    e = e->children[0].get();
  }
  e->children.push_back(Box(kTextRun, 0, 0, 10, 10, 0));
  doc.links.AddRow();
  doc.links.AddCell(0, u"deep");
  doc.SetSelection({0, 0, 10, 10});
  EXPECT_EQ(e->children[0]->selected, 0);  // beyond the cap
  EXPECT_EQ(doc.elements[0]->children[0]->selected, 0);  // containers take no part
  doc.OnClick(5, 5);
  EXPECT_TRUE(host.navigated.empty());
  OffsetChildren(*doc.elements[0], 3, 4);
  EXPECT_EQ(e->children[0]->x, 3);
  EXPECT_EQ(doc.elements[0]->x, 0);
}

}  // namespace
}  // namespace htmlview
