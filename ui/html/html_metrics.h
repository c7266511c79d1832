// What the layout of marked-up text asks of the device: the ascent, descent and width of text in a font,
// the size of an image and the text of a string resource. The Windows drawer answers from a device
// context; tests answer from a fixed-width fake font (html_fake_metrics.h).
#pragma once

#include <cstdint>
#include <string>

namespace html {

// The font of a run, as the style gives it.
struct HtmlFont {
  std::u16string face;
  int size = 16;  // the font's cell height in pixels
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

struct HtmlFontMetrics {
  int ascent = 0;
  int descent = 0;
  int Height() const { return ascent + descent; }
};

struct HtmlSize {
  int cx = 0;
  int cy = 0;
};

// Where an image comes from, as the bmp, icon and ilst tags give it.
enum class HtmlImageKind { kBitmap, kIcon, kStrip };
struct HtmlImageSource {
  HtmlImageKind kind = HtmlImageKind::kBitmap;
  uint32_t handle = 0;   // a bitmap or icon handle given by the caller
  uint32_t idres = 0;    // a resource of the program
  uint32_t iddll = 0;    // a resource of the image module or of srcdll
  std::u16string srcdll;
  std::u16string file;
};

class HtmlMetrics {
 public:
  virtual ~HtmlMetrics() = default;
  virtual HtmlFontMetrics FontMetrics(const HtmlFont& font) = 0;
  virtual int TextWidth(const HtmlFont& font, std::u16string_view text) = 0;
  // The image's own size; 0 by 0 when it cannot be loaded.
  virtual HtmlSize ImageSize(const HtmlImageSource& image) = 0;
  // The string resource's text; empty when there is none.
  virtual std::u16string LoadString(uint32_t id) = 0;
  // The device's vertical pixels per inch (for pt, in, cm, mm and pc sizes).
  virtual int PixelsPerInch() { return 96; }
};

}  // namespace html
