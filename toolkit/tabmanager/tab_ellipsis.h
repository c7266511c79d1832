// Cutting a caption that does not fit: in the middle, keeping its start and its end around "...".
// Widths come from a measurer, so the search is tested without a device context.
#pragma once

#include <string>
#include <string_view>

namespace tktab {

class TextWidthMeasurer {
 public:
  virtual ~TextWidthMeasurer() = default;
  virtual int Width(std::u16string_view text) = 0;
};

enum class EllipsisKind {
  kFits,     // the text is drawn unchanged
  kPath,     // a path (it holds a backslash): the drawing cuts it with a path ellipsis
  kMiddle,   // `text` is the cut caption
};

struct EllipsisResult {
  EllipsisKind kind = EllipsisKind::kFits;
  std::u16string text;
};

// The caption as it fits `width`: unchanged, handed over for a path ellipsis, or its first and last
// characters around "..." (only "..." when not even that fits). A surrogate pair is never split.
EllipsisResult MiddleEllipsis(std::u16string_view text, int width, TextWidthMeasurer& measurer);

// The caption as it fits `width`: unchanged, or its first characters and "..." (only "..." when none
// fits). A surrogate pair is never split.
std::u16string EndEllipsis(std::u16string_view text, int width, TextWidthMeasurer& measurer);

// Both cuts search the cut by halving, so a long caption is measured a few dozen times at most, however
// its characters' widths vary, never once per character.

}  // namespace tktab
