// The button image editor's tools on small images: what each one paints, where it stops, and alpha.
#include "toolkit/commandbars/customize/tkp_image_editor_pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace tkp_image_editor {
namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

// The image as rows of characters: '.' transparent, 'r' red, 'b' blue, '?' anything else.
std::string Picture(const EditorImage& image) {
  std::string out;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      uint32_t c = Rgb(image.At({x, y}));
      out += c == kTransparent ? '.' : c == kRed ? 'r' : c == kBlue ? 'b' : '?';
    }
    out += '\n';
  }
  return out;
}

TEST(ImageEditorPixels, NewImageIsTransparentAndOutsideReadsTransparent) {
  EditorImage image(3, 2);
  EXPECT_EQ(Picture(image), "...\n...\n");
  image.Set({5, 5}, kRed);
  EXPECT_EQ(image.At({-1, 0}), kTransparent);
  EXPECT_EQ(EditorImage(-4, 2).Pixels().size(), 0u);
}

TEST(ImageEditorPixels, LineLeavesItsEndCellAndFollowsTheSteepAxis) {
  EditorImage image(5, 5);
  DrawLine(image, {0, 0}, {4, 4}, kRed);
  EXPECT_EQ(Picture(image), "r....\n.r...\n..r..\n...r.\n.....\n");
  EditorImage steep(3, 5);
  DrawLine(steep, {0, 4}, {2, 0}, kRed);
  EXPECT_EQ(Picture(steep), "...\n..r\n.r.\n.r.\nr..\n");
  EditorImage dot(2, 2);
  DrawLine(dot, {1, 1}, {1, 1}, kRed);
  EXPECT_EQ(Picture(dot), "..\n..\n");
}

TEST(ImageEditorPixels, FrameCoversTheNormalizedBoundsWithoutTheFarEdges) {
  EditorImage image(6, 5);
  DrawFrame(image, {4, 4}, {0, 0}, kRed);
  EXPECT_EQ(Picture(image), "rrrr..\nr..r..\nr..r..\nrrrr..\n......\n");
  EditorImage flat(3, 3);
  DrawFrame(flat, {0, 1}, {2, 1}, kRed);
  EXPECT_EQ(Picture(flat), "...\n...\n...\n");
}

TEST(ImageEditorPixels, EllipseHasAnEightConnectedOutlineAndATransparentInside) {
  EditorImage image(8, 8);
  std::fill(image.Pixels().begin(), image.Pixels().end(), kBlue);
  DrawEllipse(image, {0, 0}, {8, 8}, kRed);
  EXPECT_EQ(Picture(image),
            "bbrrrrbb\n"
            "br....rb\n"
            "r......r\n"
            "r......r\n"
            "r......r\n"
            "r......r\n"
            "br....rb\n"
            "bbrrrrbb\n");
}

TEST(ImageEditorPixels, FloodFillStaysInsideItsFourConnectedArea) {
  EditorImage image(5, 4);
  DrawFrame(image, {0, 0}, {4, 4}, kRed);  // a ring 4 x 4 with a hole in the middle
  image.Set({4, 0}, kRed);
  FloodFill(image, {1, 1}, kBlue);
  EXPECT_EQ(Picture(image), "rrrrr\nrbbr.\nrbbr.\nrrrr.\n");
  FloodFill(image, {1, 1}, kBlue);  // the same colour: nothing, and no endless walk
  FloodFill(image, {9, 9}, kBlue);
  EXPECT_EQ(Picture(image), "rrrrr\nrbbr.\nrbbr.\nrrrr.\n");
}

TEST(ImageEditorPixels, ShiftUncoversTransparentCells) {
  EditorImage image(3, 2);
  image.Set({0, 0}, kRed);
  image.Set({2, 1}, kBlue);
  EXPECT_EQ(Picture(Shifted(image, 1, 0)), ".r.\n...\n");
  EXPECT_EQ(Picture(Shifted(image, 0, -1)), "..b\n...\n");
}

TEST(ImageEditorPixels, CopyReplacesAColourOnlyWithoutAlphaAndCutsToSize) {
  EditorImage image(3, 1);
  image.Set({0, 0}, kRed);
  EXPECT_EQ(Picture(CopyReplacing(image, 2, 2, kRed, kBlue)), "b.\n..\n");
  image.SetAlpha(true);
  EXPECT_EQ(Picture(CopyReplacing(image, 2, 1, kRed, kBlue)), "r.\n");
}

TEST(ImageEditorPixels, AlphaOfChangedPixels) {
  EditorImage before(3, 1, true);
  before.Set({0, 0}, WithAlpha(kRed, 0x40));
  before.Set({1, 0}, WithAlpha(kBlue, 0x80));
  EditorImage after = before;
  after.Set({0, 0}, kBlue);         // drawn: opaque
  after.Set({1, 0}, kTransparent);  // rubbed out: clear
  SettleAlpha(before, after);
  EXPECT_EQ(after.At({0, 0}), WithAlpha(kBlue, 255));
  EXPECT_EQ(after.At({1, 0}), kTransparent);
  EXPECT_EQ(after.At({2, 0}), kTransparent);

  EditorImage taken(2, 1, true);
  taken.Pixels() = {0, WithAlpha(kRed, 0)};
  MarkEmptyPixelsTransparent(taken);
  EXPECT_EQ(taken.Pixels(), (std::vector<uint32_t>{kTransparent, kRed}));
  EXPECT_FALSE(CarriesAlpha(taken));
}

TEST(ImageEditorPixels, RenderShowsCellsOverACheckerboardAndBlendsAlpha) {
  EditorImage image(2, 1);
  image.Set({1, 0}, kRed);
  std::vector<uint32_t> shown = RenderImage(image, 5, 5, 11, 6, true);
  ASSERT_EQ(shown.size(), 66u);
  EXPECT_EQ(shown[0], 0xEBEBEBu);  // transparent: the checkerboard, light grey first
  EXPECT_EQ(shown[4], 0xFFFFFFu);  // the next 4-pixel square
  EXPECT_EQ(shown[5], kRed);
  EXPECT_EQ(shown[10], 0xFFFFFFu);  // beyond the image
  EXPECT_EQ(shown[5 * 11 + 5], 0xFFFFFFu);
  image.SetAlpha(true);
  image.Set({1, 0}, WithAlpha(0x0000FF, 128));
  shown = RenderImage(image, 1, 1, 2, 1, false, 0x000000);
  EXPECT_EQ(shown[1], 0x000080u);
  EXPECT_EQ(shown[0], 0x000000u);  // transparent pixel of an alpha image: the backdrop
}

}  // namespace
}  // namespace tkp_image_editor
