// Text measuring for the page: the Windows build measures with GDI on a screen device context, tests
// with a fake whose every character has the same advance.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

struct HtmlTextSize {
  int cx = 0;
  int cy = 0;
};

class HtmlTextMeasurer {
 public:
  virtual ~HtmlTextMeasurer() = default;
  // The extent of the first length characters of text (-1: up to its zero) in the font; flags has no
  // effect.
  virtual HtmlTextSize MeasureText(std::u16string_view face, int height, int bold, int italic, const char16_t* text,
                                   int flags, int length) = 0;
  // The width of the system's scroll bar arrow, which a drop-down list's button takes.
  virtual int ScrollBarWidth() { return 16; }
};

// Only a face spelled exactly "Wingdings" is made with the symbol character set.
inline bool UsesSymbolCharset(std::u16string_view face) { return face == u"Wingdings"; }

// The number of characters a measure covers: length, or up to the zero for -1 (or a null text: 0).
int MeasuredLength(const char16_t* text, int length);

// Every character advances by `advance` pixels (one more when bold); the height is the font's height.
class FixedAdvanceMeasurer : public HtmlTextMeasurer {
 public:
  explicit FixedAdvanceMeasurer(int advance = 8) : advance_(advance) {}
  HtmlTextSize MeasureText(std::u16string_view face, int height, int bold, int italic, const char16_t* text, int flags,
                           int length) override;
  // The face of the last measure and whether it would have used the symbol character set.
  std::u16string lastFace;
  bool lastSymbol = false;

 private:
  int advance_;
};

}  // namespace htmlview
