// The pixels of the button image editor: an image of the icon's size and the drawing tools that change
// it (pencil, line, frame, ellipse, flood fill, moving by a cell, colour replacement). Colours are
// 0x00BBGGRR; the high byte of a pixel is its alpha, which counts only in an alpha image.
#pragma once

#include <cstdint>
#include <vector>

namespace tkp_image_editor {

// RGB(255, 254, 255): the colour that marks a transparent pixel.
constexpr uint32_t kTransparent = 0x00FFFEFF;

constexpr uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFFu; }
constexpr uint32_t Alpha(uint32_t pixel) { return pixel >> 24; }
constexpr uint32_t WithAlpha(uint32_t colour, uint32_t alpha) { return Rgb(colour) | (alpha << 24); }

struct Cell {
  int x = 0;
  int y = 0;
  bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
};

class EditorImage {
 public:
  EditorImage() = default;
  // A new image is all transparent.
  EditorImage(int width, int height, bool alpha = false);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool HasAlpha() const { return m_alpha; }
  void SetAlpha(bool alpha) { m_alpha = alpha; }
  bool Contains(Cell c) const { return c.x >= 0 && c.y >= 0 && c.x < m_width && c.y < m_height; }
  // A pixel outside the image reads as transparent; writing there does nothing.
  uint32_t At(Cell c) const;
  void Set(Cell c, uint32_t pixel);
  const std::vector<uint32_t>& Pixels() const { return m_pixels; }
  std::vector<uint32_t>& Pixels() { return m_pixels; }
  bool operator==(const EditorImage& other) const;
  bool operator!=(const EditorImage& other) const { return !(*this == other); }

 private:
  int m_width = 0;
  int m_height = 0;
  bool m_alpha = false;
  std::vector<uint32_t> m_pixels;
};

// The tools draw as a device context would on a 32-bit image: the colour lands with alpha 0, and the
// far end of a line and the right and bottom edges of a rectangle's bounds are left out.
void DrawPoint(EditorImage& image, Cell c, uint32_t colour);
void DrawLine(EditorImage& image, Cell from, Cell to, uint32_t colour);
// A one-cell frame over [left, right) x [top, bottom) of the two cells' normalized rectangle.
void DrawFrame(EditorImage& image, Cell a, Cell b, uint32_t colour);
// An ellipse outline in the colour within the same bounds, its inside transparent.
void DrawEllipse(EditorImage& image, Cell a, Cell b, uint32_t colour);
// Fills the 4-connected area of the seed's colour with the colour.
void FloodFill(EditorImage& image, Cell seed, uint32_t colour);
// Moves the image by whole cells; what is uncovered becomes transparent.
EditorImage Shifted(const EditorImage& image, int dx, int dy);
// A copy of the source at the image's size (cut or padded with transparent pixels), with every pixel of
// colour `from` turned into `to` unless the source has alpha.
EditorImage CopyReplacing(const EditorImage& source, int width, int height, uint32_t from, uint32_t to);
// After a drawing step on an alpha image: each pixel that changed and is not the transparent colour
// becomes opaque; a pixel drawn transparent is fully transparent.
void SettleAlpha(const EditorImage& before, EditorImage& after);
// An alpha image taken in: pixels that are all zero become the transparent colour with alpha 0.
void MarkEmptyPixelsTransparent(EditorImage& image);
// True when any pixel has a non-zero alpha byte (a 32-bit picture that carries alpha).
bool CarriesAlpha(const EditorImage& image);

// The image as the editor shows it, `width` x `height` pixels (0x00BBGGRR, rows top-down): each image
// pixel a block of cellWidth x cellHeight from the top-left, transparent pixels over the backdrop and
// an alpha image's pixels blended over it; the backdrop is `backdrop`, or with `checker` a
// checkerboard of 4-pixel squares of RGB(235, 235, 235) and white; white beyond the image.
std::vector<uint32_t> RenderImage(const EditorImage& image, int cellWidth, int cellHeight, int width, int height,
                                  bool checker, uint32_t backdrop = 0xFFFFFF);

}  // namespace tkp_image_editor
