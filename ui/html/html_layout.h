// The layout of prepared marked-up text: flow text in lines (runs, wrapping, alignment, breaks, tabs, rules,
// images, string resources, links) and tables (spans, column widths, row heights, nesting). It measures
// through HtmlMetrics and returns what to paint, the hot areas of the links and the size it took.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/draw/draw_types.h"
#include "ui/html/html_colors.h"
#include "ui/html/html_metrics.h"
#include "ui/html/html_style.h"
#include "ui/html/html_stylesheet.h"

namespace html {

// The thickness of a rule without a size.
constexpr int kDefaultRuleThickness = 2;
// Each side of a double border takes three times the border width (both when measuring and drawing).
constexpr int kDoubleBorderSide = 3;
// Tables nested deeper than this are left out: each level is measured before it is placed.
constexpr int kMaxTableDepth = 8;

struct HtmlImageItem {
  HtmlImageSource source;
  int width = 0;   // the drawn size (the item's rectangle also holds the shadow's offsets)
  int height = 0;
  int index = 0;   // strips: the cell
  int cellCx = 0;
  int cellCy = 0;
  bool useMask = false;
  uint32_t maskColour = 0;
  uint32_t effect = 0;  // draw::ImageEffect bits
};

struct HtmlPaintItem {
  enum class Kind { kText, kRule, kImage, kFill, kFrame, kBackgroundImage };
  Kind kind = Kind::kText;
  draw::DrawRect rect;
  HtmlStyle style;       // font and colours of text; colour of a rule; fill and frame of a table or cell
  std::u16string text;
  int justifyExtra = 0;  // justified text: pixels spread over its blanks
  int justifyBlanks = 0;
  int thickness = 0;     // rules
  HtmlImageItem image;
};

struct HtmlHotArea {
  draw::DrawRect rect;
  HtmlLinkKind kind = kHtmlLinkNone;
  int link = -1;
  std::u16string target;
};

// An image strip drawn with a speed; nothing advances it.
struct HtmlAnimation {
  int firstFrame = 0;
  int frameCount = 0;
  int currentFrame = 0;
  int speed = 0;
};

struct HtmlLayoutResult {
  int width = 0;   // the widest line or table
  int height = 0;
  std::vector<HtmlPaintItem> items;
  std::vector<HtmlHotArea> hotAreas;
  std::vector<HtmlAnimation> animations;
};

struct HtmlLayoutSettings {
  bool coloursEnabled = true;
  uint32_t disabledColour = 0x808080;
  HtmlShadow shadow;
  int tabWidth = 32;
  int hoveredLink = -2;
};

HtmlFont FontOf(const HtmlStyle& style);

class HtmlLayout {
 public:
  HtmlLayout(HtmlMetrics& metrics, const HtmlStyleSheet& sheet, const HtmlColourTable& colours,
             const HtmlLayoutSettings& settings);

  // Lays out prepared text (PrepareHtmlText) at (left, top) in the given width. wrap: lines also break
  // where a run passes the width (the drawer's maximum width is set); otherwise only where the markup says.
  HtmlLayoutResult Run(std::u16string_view prepared, int left, int top, int width, bool wrap);

  // ---- used by the flow and table layouts ----
  struct Box {
    int width = 0;
    int height = 0;
  };
  // Flow text and tables in turn, from the base style; emit: record items, hot areas and animations
  // (off while a table measures its cells).
  Box LayoutBlock(std::u16string_view text, const HtmlStyle& base, int left, int top, int width, bool wrap,
                  bool emit, int depth);
  Box LayoutTable(std::u16string_view text, const HtmlStyle& outer, int left, int top, int width, bool wrap,
                  bool emit, int depth);

  HtmlMetrics& Metrics() { return metrics_; }
  const HtmlStyleSheet& Sheet() const { return sheet_; }
  const HtmlColourTable& Colours() const { return colours_; }
  const HtmlLayoutSettings& Settings() const { return settings_; }
  HtmlLayoutResult& Out() { return out_; }
  int NextLinkNumber() { return linkCounter_++; }
  // The size of a cell's content measured (not emitted) at a width: each text and width is measured
  // once per run, so a table nested in a table is not measured again for every pass of each level above it.
  Box MeasureCellContent(std::u16string_view content, const HtmlStyle& style, int width, bool wrap, int depth);

 private:
  struct MeasureKey {
    const char16_t* text;
    size_t length;
    int width;
    bool wrap;
    bool operator==(const MeasureKey& other) const {
      return text == other.text && length == other.length && width == other.width && wrap == other.wrap;
    }
  };
  struct MeasureKeyHash {
    size_t operator()(const MeasureKey& key) const {
      size_t h = std::hash<const void*>()(key.text);
      h = h * 1000003u ^ key.length;
      h = h * 1000003u ^ static_cast<size_t>(static_cast<unsigned>(key.width));
      return h * 2u + (key.wrap ? 1u : 0u);
    }
  };

  HtmlMetrics& metrics_;
  const HtmlStyleSheet& sheet_;
  const HtmlColourTable& colours_;
  HtmlLayoutSettings settings_;
  HtmlLayoutResult out_;
  int linkCounter_ = 0;
  // Texts of this run's prepared text: a text's place in it decides its style and depth.
  std::unordered_map<MeasureKey, Box, MeasureKeyHash> measured_;
};

// Reading styles against the current font of a style (em and ex sizes).
class StyleUnits : public HtmlUnitMetrics {
 public:
  StyleUnits(HtmlMetrics& metrics, const HtmlStyle& style) : metrics_(metrics), style_(style) {}
  int FontHeight() const override;
  int XHeight() const override { return FontHeight(); }
  int PixelsPerInch() const override { return metrics_.PixelsPerInch(); }

 private:
  HtmlMetrics& metrics_;
  const HtmlStyle& style_;
};

// Adds and saturates, so that outside sizes never overflow a coordinate.
int AddClamped(int a, int b);

}  // namespace html
