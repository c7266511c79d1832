// One laid-out piece of a page (a text run, an image, a rule or break, or a container with children), and
// the factories the parse pass makes them with.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
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

struct HtmlElement {
  HtmlElement() = default;
  HtmlElement(const HtmlElement&) = delete;
  HtmlElement& operator=(const HtmlElement&) = delete;
  // Frees the subtree without recursion, however deep it is.
  ~HtmlElement();

  int kind = -1;
  int width = 0, height = 0, x = 0, y = 0;
  uint32_t borderFlags = 0;
  int borderWidth = 0;
  uint32_t borderColor = 0;
  std::u16string fontFace;  // at most kFontFaceCapacity - 1 characters
  int fontHeight = 0;
  int bold = 0;
  int italic = 0;
  uint32_t textColor = 0;
  uint32_t backColor = kNoColour;
  int align = 0, valign = 0;
  std::u16string text;
  int imageIndex = -1;
  int backImageIndex = -1;
  std::array<int, 11> cell{};
  int linkIndex = -1;
  int reserved = 0;
  std::array<int, 4> layoutCache{-1, -1, -1, -1};
  int selected = 0;
  int tag = 0;
  HtmlWindowHandle controlWindow = kNoControl;
  int cellTag = 0;
  int ruleTag = 0;
  HtmlElementList children;

  int ChildCount() const { return static_cast<int>(children.size()); }
  HtmlRect Rect() const { return {x, y, x + width, y + height}; }
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
