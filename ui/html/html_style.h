// The style record that every run of text, rule, image, table and cell of marked-up text is drawn with,
// and the shadow settings of images. Colours are 0x00BBGGRR values (red in the low byte).
#pragma once

#include <cstdint>
#include <string>

#include "ui/draw/draw_types.h"

namespace html {

enum HtmlBackgroundMode : int { kHtmlTransparent = 1, kHtmlOpaque = 2 };
enum HtmlTextAlign : int { kHtmlAlignLeft = 0, kHtmlAlignCenter = 1, kHtmlAlignRight = 2, kHtmlAlignJustify = 3 };
enum HtmlVerticalAlign : int {
  kHtmlVAlignTop = 0,
  kHtmlVAlignCenter = 1,
  kHtmlVAlignBottom = 2,
  kHtmlVAlignBaseline = 3,
};
enum HtmlTextTransform : int {
  kHtmlTransformNone = 0,
  kHtmlTransformUpper = 1,
  kHtmlTransformLower = 2,
  kHtmlTransformCapitalize = 3,
};
enum HtmlLinkKind : int { kHtmlLinkNone = 0, kHtmlLinkAddress = 1, kHtmlLinkMessage = 2 };

// No fill: a table or cell draws its background image (if any) instead.
constexpr draw::FillKind kHtmlNoFill = static_cast<draw::FillKind>(-1);

constexpr int kHtmlNormalWeight = 400;
constexpr int kHtmlBoldWeight = 700;

// The member initialisers are the default style, the one every flow text starts from.
struct HtmlStyle {
  std::u16string name;  // style name of the tag that pushed it

  int fontSize = 16;  // pixels, the font's cell height
  int fontWeight = kHtmlNormalWeight;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool overline = false;
  std::u16string fontFace = u"Verdana";

  uint32_t textColour = 0x000000;
  uint32_t backgroundColour = 0xFFFFFF;  // also fill colour 1
  uint32_t frameLightColour = 0x000000;
  uint32_t frameDarkColour = 0x000000;
  uint32_t fillColour2 = 0xFFFFFF;
  uint32_t fillColour3 = 0xFFFFFF;
  HtmlBackgroundMode backgroundMode = kHtmlTransparent;
  draw::FillKind fillKind = kHtmlNoFill;
  std::u16string backgroundImage;  // the table's background value

  HtmlTextAlign textAlign = kHtmlAlignLeft;
  HtmlVerticalAlign verticalAlign = kHtmlVAlignBaseline;
  draw::FrameStyle borderStyle = draw::kFrameNone;
  int borderWidth = 0;
  int width = 0;   // cell sizes, from table attributes
  int height = 0;
  HtmlTextTransform textTransform = kHtmlTransformNone;
  int margin = 2;   // the cell spacing
  int padding = 0;  // the cell padding

  HtmlLinkKind linkKind = kHtmlLinkNone;
  std::u16string linkTarget;
};

// The shadow of images drawn with the effect letter "s".
struct HtmlShadow {
  bool gradient = true;
  int offsetX = 4;
  int offsetY = 4;
  int blurX = 7;
  int blurY = 7;
  int darkness = 50;          // percent, 0 to 100
  uint32_t colour = 0x808080;  // grey of level 255 * (100 - darkness) / 100, rounded
};

// Darkness is taken modulo 256 and capped at 100; the colour follows from it.
void SetShadow(HtmlShadow& shadow, int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY);

}  // namespace html
