#include "ui/draw/soft_shadow.h"

#include <algorithm>
#include <cstddef>

#include "ui/draw/colour_ops.h"
#include "ui/draw/image_effects.h"

namespace draw {

int OddDepth(int depth) {
  depth = std::clamp(depth, 1, kMaxBlurDepth);
  return depth % 2 == 0 ? depth + 1 : depth;
}

DrawRect ShadowMaskPlacement(int width, int height, bool gradient, int depthX, int depthY) {
  if (!gradient) return {0, 0, width, height};
  int dx = OddDepth(depthX), dy = OddDepth(depthY);
  return {dx / 2, dy / 2, dx / 2 + width - dx, dy / 2 + height - dy};
}

PixelBuffer PlaceShadowMask(const PixelBuffer& mask, int width, int height, bool gradient, int depthX, int depthY) {
  PixelBuffer placed(width, height, 0x00FFFFFF);
  DrawRect at = ShadowMaskPlacement(width, height, gradient, depthX, depthY);
  PixelBuffer fitted = gradient ? StretchPixels(mask, at.Width(), at.Height()) : mask;
  CopyPixels(placed, at.left, at.top, fitted, 0, 0, fitted.Width(), fitted.Height());
  return placed;
}

std::vector<double> BoxSum(const std::vector<double>& matrix, int rows, int cols, int windowRows, int windowCols) {
  if (rows <= 0 || cols <= 0 || windowRows < 1 || windowCols < 1 || windowRows > rows || windowCols > cols ||
      matrix.size() != static_cast<size_t>(rows) * cols) {
    return {};
  }
  const int outCols = cols - windowCols + 1, outRows = rows - windowRows + 1;
  // Horizontal running sums: rows × outCols.
  std::vector<double> across(static_cast<size_t>(rows) * outCols);
  for (int r = 0; r < rows; ++r) {
    const double* in = &matrix[static_cast<size_t>(r) * cols];
    double* out = &across[static_cast<size_t>(r) * outCols];
    double sum = 0;
    for (int c = 0; c < windowCols; ++c) sum += in[c];
    out[0] = sum;
    for (int c = 1; c < outCols; ++c) out[c] = sum += in[c + windowCols - 1] - in[c - 1];
  }
  // Vertical running sums of those: outRows × outCols.
  std::vector<double> result(static_cast<size_t>(outRows) * outCols);
  for (int c = 0; c < outCols; ++c) {
    double sum = 0;
    for (int r = 0; r < windowRows; ++r) sum += across[static_cast<size_t>(r) * outCols + c];
    result[c] = sum;
    for (int r = 1; r < outRows; ++r) {
      auto at = [&](int row) { return across[static_cast<size_t>(row) * outCols + c]; };
      sum += at(r + windowRows - 1) - at(r - 1);
      result[static_cast<size_t>(r) * outCols + c] = sum;
    }
  }
  return result;
}

std::vector<double> BlurShadowMask(const PixelBuffer& mask, int depthX, int depthY) {
  const int dx = OddDepth(depthX), dy = OddDepth(depthY);
  const int w = mask.Width(), h = mask.Height();
  if (mask.Empty()) return {};
  const int rows = h + dy - 1, cols = w + dx - 1;
  // The mask's blue bytes in the middle, white (255) around it.
  std::vector<double> matrix(static_cast<size_t>(rows) * cols, 255.0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      matrix[static_cast<size_t>(y + dy / 2) * cols + x + dx / 2] = mask.At(x, y) & 0xFF;
    }
  }
  std::vector<double> sums = BoxSum(matrix, rows, cols, dy, dx);
  const double scale = static_cast<double>(dx) * dy * 255.0;
  for (double& s : sums) s /= scale;
  return sums;
}

void ApplySoftShadow(PixelBuffer& dest, const PixelBuffer& mask, bool gradient, int depthX, int depthY) {
  if (dest.Width() != mask.Width() || dest.Height() != mask.Height() || dest.Empty()) return;
  std::vector<double> factors;
  if (gradient) factors = BlurShadowMask(mask, depthX, depthY);
  std::vector<uint32_t>& pixels = dest.Pixels();
  for (size_t i = 0; i < pixels.size(); ++i) {
    double factor = gradient ? factors[i] : (mask.Pixels()[i] & 0xFF) / 255.0;
    pixels[i] = (pixels[i] & 0xFF000000u) | Darken(pixels[i], factor);
  }
}

}  // namespace draw
