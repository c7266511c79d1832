#include "ui/html/html_layout.h"

#include <algorithm>

#include "ui/html/html_flow.h"
#include "ui/html/html_markup.h"

namespace html {

namespace {
constexpr int kMaxCoordinate = 1 << 28;
constexpr int kMaxFontSize = 1000;
}  // namespace

int AddClamped(int a, int b) {
  long long sum = static_cast<long long>(a) + b;
  return static_cast<int>(std::clamp<long long>(sum, -kMaxCoordinate, kMaxCoordinate));
}

HtmlFont FontOf(const HtmlStyle& style) {
  HtmlFont font;
  font.face = style.fontFace;
  int size = style.fontSize < 0 ? -style.fontSize : style.fontSize;
  font.size = std::clamp(size, 1, kMaxFontSize);
  font.weight = style.fontWeight;
  font.italic = style.italic;
  font.underline = style.underline;
  font.strikeout = style.strikeout;
  return font;
}

int StyleUnits::FontHeight() const { return metrics_.FontMetrics(FontOf(style_)).Height(); }

HtmlLayout::HtmlLayout(HtmlMetrics& metrics, const HtmlStyleSheet& sheet, const HtmlColourTable& colours,
                       const HtmlLayoutSettings& settings)
    : metrics_(metrics), sheet_(sheet), colours_(colours), settings_(settings) {}

HtmlLayoutResult HtmlLayout::Run(std::u16string_view prepared, int left, int top, int width, bool wrap) {
  out_ = HtmlLayoutResult();
  linkCounter_ = 0;
  measured_.clear();
  Box box = LayoutBlock(prepared, HtmlStyle(), left, top, std::max(width, 0), wrap, true, 0);
  out_.width = box.width;
  out_.height = box.height;
  return std::move(out_);
}

HtmlLayout::Box HtmlLayout::MeasureCellContent(std::u16string_view content, const HtmlStyle& style, int width,
                                               bool wrap, int depth) {
  const MeasureKey key{content.data(), content.size(), width, wrap};
  const auto found = measured_.find(key);
  if (found != measured_.end()) return found->second;
  // Links are numbered as they are met; a measurement leaves the count where it found it.
  const int savedLinks = linkCounter_;
  const Box box = LayoutBlock(content, style, 0, 0, width, wrap, false, depth);
  linkCounter_ = savedLinks;
  measured_.emplace(key, box);
  return box;
}

HtmlLayout::Box HtmlLayout::LayoutBlock(std::u16string_view text, const HtmlStyle& base, int left, int top,
                                        int width, bool wrap, bool emit, int depth) {
  Box box;
  for (const HtmlPiece& piece : SplitTables(text)) {
    Box part;
    if (piece.table) {
      if (depth >= kMaxTableDepth) continue;
      part = LayoutTable(piece.text, base, left, AddClamped(top, box.height), width, wrap, emit, depth + 1);
    } else {
      FlowLayout flow(*this, base, left, AddClamped(top, box.height), width, wrap, emit);
      part = flow.Run(piece.text);
    }
    box.width = std::max(box.width, part.width);
    box.height = AddClamped(box.height, part.height);
  }
  return box;
}

}  // namespace html
