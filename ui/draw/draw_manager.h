// The drawing routines behind the HTML drawer and the HTML message box (Windows build): fills of every
// kind, bitmaps, icons and strip cells with colour effects and soft shadows, per-pixel alpha blending,
// tiling, frames and styled lines. The pixel work is done by the portable routines of this folder over
// pixel buffers; these routines move the pixels in and out of bitmaps and device contexts. Every routine
// makes and frees its own DCs and bitmaps and draws nothing when one cannot be made.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/draw/dib_image.h"
#include "ui/draw/draw_types.h"
#include "ui/draw/pixel_buffer.h"
#include "ui/draw/random_source.h"

namespace draw {

class DrawManager {
 public:
  // random: the noise source of the patterns (the process-wide one when null); it must outlive this.
  explicit DrawManager(RandomSource* random = nullptr);
  DrawManager(const DrawManager&) = delete;
  DrawManager& operator=(const DrawManager&) = delete;

  // ---- fills ----
  void FillArea(HDC dc, int kind, const RECT& rect, COLORREF begin, COLORREF mid, COLORREF end,
                int granularity, int coloring);
  void FillLinearGradient(HDC dc, const RECT& rect, COLORREF start, COLORREF end, bool horizontal);
  // Fills the pattern image (an 8-bit size.cx × size.cy image) for a pattern kind.
  void RenderEffectPattern(SIZE size, int kind, int granularity, int coloring, COLORREF begin, COLORREF mid,
                           COLORREF end);
  void TileBlit(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int tileWidth,
                int tileHeight);

  // ---- images ----
  void DrawBitmapImage(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useMask,
                       COLORREF maskColour, uint32_t effect, bool shadowOn, int shadowDx, int shadowDy, int blurX,
                       int blurY, COLORREF shadowColour);
  void DrawIconImage(HDC dc, int x, int y, int width, int height, HICON icon, uint32_t effect, bool shadowOn,
                     int shadowDx, int shadowDy, int blurX, int blurY, COLORREF shadowColour);
  void DrawStripImage(HDC dc, int x, int y, int width, int height, HBITMAP strip, int index, int cellWidth,
                      int cellHeight, bool useMask, COLORREF maskColour, uint32_t effect, bool shadowOn,
                      int shadowDx, int shadowDy, int blurX, int blurY, COLORREF shadowColour);
  void DrawSoftShadow(HDC dc, int x, int y, int width, int height, HBITMAP mask, bool gradient, int depthX,
                      int depthY);
  void AlphaBlendBlit(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY);
  // A new 32-bit top-down DIB section (the caller deletes it) holding the bitmap's top-left width × height
  // pixels with the effects applied; sets the image-has-alpha flag when any pixel has alpha. Null on failure.
  HBITMAP MakeEffectBitmap(HBITMAP bitmap, int width, int height, uint32_t effect, bool useMask,
                           COLORREF maskColour, COLORREF monoColour);

  // ---- frames and lines ----
  void DrawFrame(HDC dc, const RECT& rect, COLORREF leftTop, COLORREF rightBottom, int style, int width);
  void DrawStyledLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style, int width);

  // ---- sizes ----
  // Twice the icon's hot spot (0 × 0 without an icon or when its information cannot be read).
  static SIZE IconSize(HICON icon);
  static SIZE BitmapSize(HBITMAP bitmap);
  // A new icon stretched to width × height (the caller destroys it); 0 on failure.
  static HICON ScaleIcon(HICON icon, int width, int height);

  // ---- colours (see colour_ops.h) ----
  static COLORREF ToGray(COLORREF c);
  static COLORREF Invert(COLORREF c);
  static COLORREF Darken(COLORREF c, double factor);
  static COLORREF Lighten(COLORREF c, double factor);
  static COLORREF Mix(COLORREF a, double fa, COLORREF b, double fb);

  // Whether the last image made by MakeEffectBitmap had alpha (cleared by DrawBitmapImage/DrawIconImage).
  bool ImageHasAlpha() const { return imageHasAlpha_ != 0; }
  DibImage& Pattern() { return pattern_; }

 private:
  struct Shadow {
    bool on;
    int dx, dy, blurX, blurY;
    COLORREF colour;
  };
  // The common path of bitmaps and strip cells: copy is the image at its drawn size.
  void DrawImagePixels(HDC dc, int x, int y, const PixelBuffer& copy, bool useMask, COLORREF maskColour,
                       uint32_t effect, const Shadow& shadow);
  // Draws the shadow (when asked) and then the image through its mask or by its alpha.
  void Compose(HDC dc, int x, int y, const PixelBuffer& image, const PixelBuffer& andMask,
               const PixelBuffer& shadowMask, uint32_t effect, const Shadow& shadow);
  static void SoftShadowPixels(HDC dc, int x, int y, const PixelBuffer& mask, bool gradient, int depthX, int depthY);

  DibImage pattern_;
  uint32_t imageHasAlpha_ = 0;
  RandomSource* random_;
};

}  // namespace draw
