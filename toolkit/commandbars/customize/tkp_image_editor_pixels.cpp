// The pixels of the button image editor and its drawing tools.
#include "toolkit/commandbars/customize/tkp_image_editor_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace tkp_image_editor {

EditorImage::EditorImage(int width, int height, bool alpha)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_alpha(alpha),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), kTransparent) {}

uint32_t EditorImage::At(Cell c) const {
  return Contains(c) ? m_pixels[static_cast<size_t>(c.y) * m_width + c.x] : kTransparent;
}

void EditorImage::Set(Cell c, uint32_t pixel) {
  if (Contains(c)) m_pixels[static_cast<size_t>(c.y) * m_width + c.x] = pixel;
}

bool EditorImage::operator==(const EditorImage& other) const {
  return m_width == other.m_width && m_height == other.m_height && m_alpha == other.m_alpha &&
         m_pixels == other.m_pixels;
}

void DrawPoint(EditorImage& image, Cell c, uint32_t colour) { image.Set(c, Rgb(colour)); }

void DrawLine(EditorImage& image, Cell from, Cell to, uint32_t colour) {
  // Bresenham from `from` towards `to`, stopping before `to`.
  int dx = std::abs(to.x - from.x), sx = from.x < to.x ? 1 : -1;
  int dy = -std::abs(to.y - from.y), sy = from.y < to.y ? 1 : -1;
  int error = dx + dy;
  Cell c = from;
  while (!(c == to)) {
    DrawPoint(image, c, colour);
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      c.x += sx;
    }
    if (twice <= dx) {
      error += dx;
      c.y += sy;
    }
  }
}

namespace {
struct Bounds {
  int left, top, right, bottom;  // right and bottom exclusive
  bool Empty() const { return right <= left || bottom <= top; }
};

Bounds Normalized(Cell a, Cell b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}
}  // namespace

void DrawFrame(EditorImage& image, Cell a, Cell b, uint32_t colour) {
  Bounds r = Normalized(a, b);
  if (r.Empty()) return;
  for (int x = r.left; x < r.right; ++x) {
    DrawPoint(image, {x, r.top}, colour);
    DrawPoint(image, {x, r.bottom - 1}, colour);
  }
  for (int y = r.top; y < r.bottom; ++y) {
    DrawPoint(image, {r.left, y}, colour);
    DrawPoint(image, {r.right - 1, y}, colour);
  }
}

void DrawEllipse(EditorImage& image, Cell a, Cell b, uint32_t colour) {
  Bounds r = Normalized(a, b);
  if (r.Empty()) return;
  // Each row of the bounds: the span inside the ellipse through the cell centres is filled transparent,
  // its end cells (and the cells that join it to the rows above and below) take the outline colour.
  double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
  double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
  int rows = r.bottom - r.top;
  std::vector<std::pair<int, int>> spans(static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    double v = (r.top + i - cy) / ry;
    double half = rx * std::sqrt(std::max(0.0, 1.0 - v * v));
    int left = static_cast<int>(std::ceil(cx - half));
    int right = static_cast<int>(std::floor(cx + half));
    spans[static_cast<size_t>(i)] = {std::max(left, r.left), std::min(right, r.right - 1)};
  }
  for (int i = 0; i < rows; ++i) {
    auto [left, right] = spans[static_cast<size_t>(i)];
    int y = r.top + i;
    for (int x = left; x <= right; ++x) image.Set({x, y}, kTransparent);
    // The outline reaches as far in as the neighbouring rows' ends, so that it has no gaps.
    int innerLeft = left, innerRight = right;
    for (int j : {i - 1, i + 1}) {
      if (j < 0 || j >= rows) {
        innerLeft = right;
        innerRight = left;
        continue;
      }
      innerLeft = std::max(innerLeft, std::min(right, spans[static_cast<size_t>(j)].first - 1));
      innerRight = std::min(innerRight, std::max(left, spans[static_cast<size_t>(j)].second + 1));
    }
    for (int x = left; x <= std::max(left, innerLeft); ++x) DrawPoint(image, {x, y}, colour);
    for (int x = std::min(right, innerRight); x <= right; ++x) DrawPoint(image, {x, y}, colour);
  }
}

void FloodFill(EditorImage& image, Cell seed, uint32_t colour) {
  if (!image.Contains(seed)) return;
  uint32_t surface = Rgb(image.At(seed));
  if (surface == Rgb(colour)) return;  // nothing would change, and the walk would never end
  std::vector<Cell> stack{seed};
  while (!stack.empty()) {
    Cell c = stack.back();
    stack.pop_back();
    if (!image.Contains(c) || Rgb(image.At(c)) != surface) continue;
    DrawPoint(image, c, colour);
    stack.push_back({c.x + 1, c.y});
    stack.push_back({c.x - 1, c.y});
    stack.push_back({c.x, c.y + 1});
    stack.push_back({c.x, c.y - 1});
  }
}

EditorImage Shifted(const EditorImage& image, int dx, int dy) {
  EditorImage moved(image.Width(), image.Height(), image.HasAlpha());
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) moved.Set({x + dx, y + dy}, image.At({x, y}));
  }
  return moved;
}

EditorImage CopyReplacing(const EditorImage& source, int width, int height, uint32_t from, uint32_t to) {
  EditorImage copy(width, height, source.HasAlpha());
  for (int y = 0; y < std::min(height, source.Height()); ++y) {
    for (int x = 0; x < std::min(width, source.Width()); ++x) {
      uint32_t pixel = source.At({x, y});
      if (!source.HasAlpha() && Rgb(pixel) == Rgb(from)) pixel = Rgb(to);
      copy.Set({x, y}, pixel);
    }
  }
  return copy;
}

void SettleAlpha(const EditorImage& before, EditorImage& after) {
  if (!after.HasAlpha() || before.Pixels().size() != after.Pixels().size()) return;
  for (size_t i = 0; i < after.Pixels().size(); ++i) {
    uint32_t& pixel = after.Pixels()[i];
    if (pixel == before.Pixels()[i]) continue;
    pixel = Rgb(pixel) == kTransparent ? WithAlpha(pixel, 0) : WithAlpha(pixel, 255);
  }
}

void MarkEmptyPixelsTransparent(EditorImage& image) {
  for (uint32_t& pixel : image.Pixels()) {
    if (pixel == 0) pixel = kTransparent;
  }
}

bool CarriesAlpha(const EditorImage& image) {
  return std::any_of(image.Pixels().begin(), image.Pixels().end(), [](uint32_t p) { return Alpha(p) != 0; });
}

namespace {
uint32_t Blend(uint32_t over, uint32_t under, uint32_t alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
    out |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}
}  // namespace

std::vector<uint32_t> RenderImage(const EditorImage& image, int cellWidth, int cellHeight, int width, int height,
                                  bool checker, uint32_t backdrop) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<uint32_t> out(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFF);
  if (cellWidth <= 0 || cellHeight <= 0) return out;
  for (int y = 0; y < std::min(height, image.Height() * cellHeight); ++y) {
    for (int x = 0; x < std::min(width, image.Width() * cellWidth); ++x) {
      uint32_t under = checker ? ((x / 4 + y / 4) % 2 == 0 ? 0xEBEBEB : 0xFFFFFF) : Rgb(backdrop);
      uint32_t pixel = image.At({x / cellWidth, y / cellHeight});
      uint32_t shown = image.HasAlpha()          ? Blend(pixel, under, Alpha(pixel))
                       : Rgb(pixel) == kTransparent ? under
                                                    : Rgb(pixel);
      out[static_cast<size_t>(y) * width + x] = shown;
    }
  }
  return out;
}

}  // namespace tkp_image_editor
