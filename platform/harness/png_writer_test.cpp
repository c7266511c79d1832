// Decodes what the encoder wrote with zlib and checks it field by field.
#include "png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace harness {
namespace {

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
};

std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
  std::vector<Chunk> chunks;
  for (size_t at = 8; at + 12 <= png.size();) {
    uint32_t length = U32(png, at);
    if (at + 12 + length > png.size()) break;
    Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                std::vector<uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)};
    uLong crc = crc32(0L, png.data() + at + 4, 4 + length);
    EXPECT_EQ(U32(png, at + 8 + length), static_cast<uint32_t>(crc)) << chunk.type;
    chunks.push_back(chunk);
    at += 12 + length;
  }
  return chunks;
}

TEST(PngWriter, WritesHeaderRowsAndEnd) {
  const uint32_t width = 3, height = 2;
  std::vector<uint8_t> pixels(width * height * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> png = EncodePng(width, height, pixels);
  ASSERT_GE(png.size(), 8u);
  EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  auto chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(U32(chunks[0].data, 0), width);
  EXPECT_EQ(U32(chunks[0].data, 4), height);
  EXPECT_EQ(chunks[0].data[8], 8);  // bits per channel
  EXPECT_EQ(chunks[0].data[9], 6);  // RGBA
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");

  std::vector<uint8_t> raw(height * (width * 4 + 1));
  uLongf rawSize = static_cast<uLongf>(raw.size());
  ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(), static_cast<uLong>(chunks[1].data.size())), Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  for (uint32_t y = 0; y < height; ++y) {
    EXPECT_EQ(raw[y * (width * 4 + 1)], 0) << "filter of row " << y;
    for (uint32_t i = 0; i < width * 4; ++i) EXPECT_EQ(raw[y * (width * 4 + 1) + 1 + i], pixels[y * width * 4 + i]);
  }
}

TEST(PngWriter, RefusesSizesThatDoNotMatchThePixels) {
  EXPECT_TRUE(EncodePng(0, 1, {}).empty());
  EXPECT_TRUE(EncodePng(2, 2, std::vector<uint8_t>(15)).empty());
  EXPECT_TRUE(EncodePng(0x10000, 0x10000, std::vector<uint8_t>(4)).empty());
}

}  // namespace
}  // namespace harness
