// Bitmaps read from files and from the clipboard by the button image editor, and the one it writes.
#include "toolkit/commandbars/customize/tkp_image_editor_dib.h"

#include <gtest/gtest.h>

namespace tkp_image_editor {
namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A packed DIB header with no colour table.
std::vector<uint8_t> Header(int width, int height, int bits, uint32_t used = 0) {
  std::vector<uint8_t> v(40, 0);
  Put32(v, 0, 40);
  Put32(v, 4, static_cast<uint32_t>(width));
  Put32(v, 8, static_cast<uint32_t>(height));
  v[12] = 1;
  v[14] = static_cast<uint8_t>(bits);
  Put32(v, 32, used);
  return v;
}

TEST(ImageEditorDib, AlphaImageRoundTripsThroughTheClipboardFormat) {
  EditorImage image(3, 2, true);
  image.Set({0, 0}, WithAlpha(0x112233, 0x80));
  image.Set({2, 1}, WithAlpha(0x0000FF, 0xFF));
  std::vector<uint8_t> dib = EncodePackedDib32(image);
  ASSERT_EQ(dib.size(), 40u + 3 * 2 * 4);
  DibResult read = DecodePackedDib(dib.data(), dib.size());
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.image, image);
}

TEST(ImageEditorDib, BottomUpPalettedBitmapFile) {
  // 2 x 2, 1 bit: bottom row (stored first) white-black, top row black-white.
  std::vector<uint8_t> info = Header(2, 2, 1, 2);
  info.insert(info.end(), {0, 0, 0, 0, 255, 255, 255, 0});  // black, white
  info.insert(info.end(), {0x80, 0, 0, 0, 0x40, 0, 0, 0});
  std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14 + 48, 0, 0, 0};
  file.insert(file.end(), info.begin(), info.end());
  DibResult read = DecodeBmpFile(file.data(), file.size());
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_FALSE(read.image.HasAlpha());
  EXPECT_EQ(read.image.Pixels(), (std::vector<uint32_t>{0, 0xFFFFFF, 0xFFFFFF, 0}));
}

TEST(ImageEditorDib, OpaqueThirtyTwoBitBitmapHasNoAlpha) {
  std::vector<uint8_t> dib = Header(1, 1, 32);
  dib.insert(dib.end(), {0x10, 0x20, 0x30, 0});  // B G R, alpha 0 everywhere
  DibResult read = DecodePackedDib(dib.data(), dib.size());
  ASSERT_TRUE(read.ok);
  EXPECT_FALSE(read.image.HasAlpha());
  EXPECT_EQ(read.image.At({0, 0}), 0x102030u);
}

TEST(ImageEditorDib, SixteenBitFiveFiveFiveAndTwentyFourBit) {
  std::vector<uint8_t> dib = Header(1, 1, 16);
  dib.insert(dib.end(), {0x00, 0x7C, 0, 0});  // red
  DibResult read = DecodePackedDib(dib.data(), dib.size());
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.image.At({0, 0}), 0x0000FFu);
  std::vector<uint8_t> rgb = Header(1, -1, 24);
  rgb.insert(rgb.end(), {0xFF, 0, 0, 0});  // blue
  read = DecodePackedDib(rgb.data(), rgb.size());
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.image.At({0, 0}), 0xFF0000u);
}

TEST(ImageEditorDib, BadInputGetsAMessage) {
  auto fails = [](std::vector<uint8_t> v) {
    DibResult r = DecodePackedDib(v.data(), v.size());
    return !r.ok && !r.error.empty();
  };
  EXPECT_TRUE(fails({1, 2}));
  EXPECT_TRUE(fails(Header(0, 1, 24)));
  EXPECT_TRUE(fails(Header(2000, 1, 24)));
  EXPECT_TRUE(fails(Header(1, static_cast<int>(0x80000000u), 24)));
  EXPECT_TRUE(fails(Header(1, 1, 7)));
  EXPECT_TRUE(fails(Header(1, 1, 8, 300)));           // table larger than 8 bits can index
  EXPECT_TRUE(fails(Header(4, 4, 24)));               // no pixels
  EXPECT_TRUE(fails(Header(1, 1, 4)));                // colour table missing
  std::vector<uint8_t> rle = Header(1, 1, 8);
  rle[16] = 1;
  EXPECT_TRUE(fails(rle));
  std::vector<uint8_t> masked = Header(1, 1, 32);
  masked[16] = 3;
  EXPECT_TRUE(fails(masked));                         // masks missing
  EXPECT_FALSE(DecodePackedDib(nullptr, 0).ok);
  std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  file.resize(14 + 40 + 4);
  EXPECT_FALSE(DecodeBmpFile(file.data(), file.size()).ok);  // pixels beyond the file
  EXPECT_FALSE(DecodeBmpFile(reinterpret_cast<const uint8_t*>("XY"), 2).ok);
}

TEST(ImageEditorDib, PalettedIndexOutsideTheTableIsBlack) {
  std::vector<uint8_t> dib = Header(1, 1, 8, 1);
  dib.insert(dib.end(), {0xFF, 0xFF, 0xFF, 0, 5, 0, 0, 0});
  DibResult read = DecodePackedDib(dib.data(), dib.size());
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.image.At({0, 0}), 0u);
}

TEST(ImageEditorDib, AlphaFormatNames) {
  EXPECT_TRUE(NamesAlphaFormat(u"Image DIB32"));
  EXPECT_TRUE(NamesAlphaFormat(u"DIB32 and xDIB32"));
  EXPECT_FALSE(NamesAlphaFormat(u"DIB32"));
  EXPECT_FALSE(NamesAlphaFormat(u"DIB24"));
  EXPECT_FALSE(NamesAlphaFormat(std::u16string(250, u'x') + u"DIB32"));  // beyond 254 characters
}

// An .ico file of one 2 x 2 image: its 32-bit colour rows bottom-up, then the mask rows.
std::vector<uint8_t> IconFile(int bits, uint32_t offsetShift = 0) {
  std::vector<uint8_t> dib = Header(2, 4, bits);
  // Bottom row: red opaque, blue half; top row: green opaque, white clear (BGRA).
  for (uint8_t byte : {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}) {
    dib.push_back(byte);
  }
  for (int i = 0; i < 8; ++i) dib.push_back(0);  // two mask rows of four bytes
  std::vector<uint8_t> file = {0, 0, 1, 0, 1, 0};
  const uint8_t entry[16] = {2, 2, 0, 0, 1, 0, static_cast<uint8_t>(bits), 0};
  file.insert(file.end(), entry, entry + 16);
  Put32(file, 6 + 8, static_cast<uint32_t>(dib.size()));
  Put32(file, 6 + 12, 22 + offsetShift);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

TEST(ImageEditorDib, AnIconFilesThirtyTwoBitImageKeepsItsAlpha) {
  const std::vector<uint8_t> file = IconFile(32);
  DibResult read = DecodeIconFile(file.data(), file.size(), 2, 2);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_TRUE(read.image.HasAlpha());
  EXPECT_EQ(read.image.At({0, 0}), WithAlpha(0x00FF00, 0xFF));  // green, top left
  EXPECT_EQ(read.image.At({0, 1}), WithAlpha(0x0000FF, 0xFF));  // red, bottom left
  EXPECT_EQ(read.image.At({1, 1}), WithAlpha(0xFF0000, 0x80));  // blue, half
  // Another size, or no 32-bit image, is not there.
  EXPECT_FALSE(DecodeIconFile(file.data(), file.size(), 16, 16).ok);
  const std::vector<uint8_t> eight = IconFile(8);
  EXPECT_FALSE(DecodeIconFile(eight.data(), eight.size(), 2, 2).ok);
}

TEST(ImageEditorDib, ADamagedIconFileIsRefusedWithAMessage) {
  const std::vector<uint8_t> file = IconFile(32);
  for (size_t cut : {size_t{0}, size_t{5}, size_t{21}, size_t{40}, file.size() - 1}) {
    DibResult read = DecodeIconFile(file.data(), cut, 2, 2);
    EXPECT_FALSE(read.ok) << cut;
    EXPECT_FALSE(read.error.empty()) << cut;
  }
  const std::vector<uint8_t> beyond = IconFile(32, 1000);
  EXPECT_FALSE(DecodeIconFile(beyond.data(), beyond.size(), 2, 2).ok);
  std::vector<uint8_t> wrongType = file;
  wrongType[2] = 2;  // a cursor file's type
  EXPECT_FALSE(DecodeIconFile(wrongType.data(), wrongType.size(), 2, 2).ok);
}

}  // namespace
}  // namespace tkp_image_editor
