// One laid-out piece of a page (a text run, an image, a rule or break, or a container with children), and
// the factories the parse pass makes them with.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "preview/html/html_browser_callbacks.h"

namespace htmlview {

class HtmlImageTable;
class HtmlTextMeasurer;

constexpr uint32_t kNoColour = 0xFFFFFFFF;             // -1: no colour
constexpr uint32_t kSunkenBorder = 0xFFFFFFFF;         // -1
constexpr uint32_t kRaisedBorder = 0xFFFFFFFE;         // -2
constexpr size_t kFontFaceCapacity = 100;              // characters, with the zero
// Walks over the element tree stop this deep; the parse pass nests no deeper.
constexpr int kMaxElementDepth = 128;

enum HtmlElementKind { kTextRun = 0, kImage = 1, kRule = 2, kContainer = 3 };

struct HtmlElement;
using HtmlElementList = std::vector<std::unique_ptr<HtmlElement>>;

// A font face name shared by the text runs made in it: a page's words mostly use one or two faces, and a
// copy of the name in each of millions of runs would weigh more than the runs themselves.
class HtmlFaceName {
 public:
  HtmlFaceName() = default;
  // The last name made is kept and handed out again while the next ones equal it.
  static HtmlFaceName Make(std::u16string_view name);
  const std::u16string& str() const;
  const char16_t* c_str() const { return str().c_str(); }
  size_t size() const { return str().size(); }
  operator std::u16string_view() const { return str(); }
  friend bool operator==(const HtmlFaceName& a, std::u16string_view b) { return a.str() == b; }

 private:
  std::shared_ptr<const std::u16string> name_;
};

// What only a container has: its cell fields, the column measures cached for one layout, and the move
// its children still owe (the layout moves a container's content once, at its end, rather than every
// descendant at every level of nesting).
struct HtmlContainerFields {
  std::array<int, 11> cell{};
  std::array<int, 4> layoutCache{-1, -1, -1, -1};
  int cellTag = 0;
  int moveX = 0, moveY = 0;
};
// What a record without container fields reads.
inline const HtmlContainerFields kNoContainerFields{};

// The small fields are kept in the few bits their values need: a page may hold millions of records. What
// every layout pass reads of each (kind, flags, size, place, text) comes first, in one cache line.
struct HtmlElement {
  HtmlElement() = default;
  HtmlElement(const HtmlElement&) = delete;
  HtmlElement& operator=(const HtmlElement&) = delete;
  // Frees the subtree without recursion, however deep it is.
  ~HtmlElement();

  int8_t kind = -1;
  int8_t bold = 0;
  int8_t italic = 0;
  int8_t selected = 0;
  int8_t align = 0, valign = 0;
  int8_t tag = 0;
  int8_t ruleTag = 0;
  uint8_t borderFlags = 0;
  int16_t fontHeight = 0;
  int width = 0, height = 0, x = 0, y = 0;
  int borderWidth = 0;
  std::u16string text;
  uint32_t borderColor = 0;
  uint32_t textColor = 0;
  uint32_t backColor = kNoColour;
  int imageIndex = -1;
  int backImageIndex = -1;
  int linkIndex = -1;
  HtmlFaceName fontFace;  // at most kFontFaceCapacity - 1 characters
  HtmlWindowHandle controlWindow = kNoControl;
  HtmlElementList children;
  std::unique_ptr<HtmlContainerFields> container;  // set by CreateCellElement

  int ChildCount() const { return static_cast<int>(children.size()); }
  HtmlRect Rect() const { return {x, y, x + width, y + height}; }
  // A container's own fields; zeros and an empty cache for a record that has none.
  const HtmlContainerFields& Container() const { return container ? *container : kNoContainerFields; }
  HtmlContainerFields& MutableContainer();
};

std::unique_ptr<HtmlElement> CreateTextElement(HtmlTextMeasurer& measurer, const char16_t* text, uint32_t borderFlags,
                                               int borderWidth, uint32_t borderColor, const char16_t* face,
                                               int fontHeight, int bold, int italic, uint32_t textColor,
                                               uint32_t backColor, int align, int valign, int linkIndex, int tag);
std::unique_ptr<HtmlElement> CreateImageElement(const char16_t* url, int a1, int a2, int a3, int align,
                                                HtmlImageTable& images, int linkIndex, int tag, int key,
                                                int borderWidth);
std::unique_ptr<HtmlElement> CreateRuleElement(int height, int width, int align, int ruleTag);
// a0 to a14 belong to the parse pass; see the definition for where each is kept.
std::unique_ptr<HtmlElement> CreateCellElement(int a0, int a1, int a2, int a3, int a4, uint32_t backColor, int border,
                                               int a7, int a8, int a9, int a10, int a11, int backImageIndex, int a13,
                                               int a14, uint32_t borderColor, int cellTag);
// Moves every descendant (not the element itself).
void OffsetChildren(HtmlElement& element, int dx, int dy);

}  // namespace htmlview
