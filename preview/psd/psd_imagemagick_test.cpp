// Photoshop files written by ImageMagick's convert (make_psd_samples.py), decoded and held against the
// composite ImageMagick itself reads from each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "preview/psd/psd_decoder.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Sample {
  const char* name;
  int16_t mode;
  int16_t depth;
  int16_t channels;
};

// ImageMagick brings 16-bit samples to 8 as v / 257 rounded down; the decoder takes the high byte (and
// rounds CMYK's product): a channel may differ by one at 16 bits, never at 8.
const Sample kSamples[] = {
    {"rgb8_rle", 3, 8, 3},       {"rgb8_raw", 3, 8, 3},         {"rgb16_rle", 3, 16, 3},
    {"rgb16_raw", 3, 16, 3},     {"grey8_rle", 1, 8, 1},        {"grey8_raw", 1, 8, 1},
    {"grey16_rle", 1, 16, 1},    {"grey16_raw", 1, 16, 1},      {"cmyk8_rle", 4, 8, 4},
    {"cmyk8_raw", 4, 8, 4},      {"cmyk16_rle", 4, 16, 4},      {"cmyk16_raw", 4, 16, 4},
    {"wide_rle", 3, 8, 3},       {"wide_cmyk_rle", 4, 8, 4},    {"rgba_rle", 3, 8, 4},
    {"rgba16_raw", 3, 16, 4},    {"grey_alpha_rle", 1, 8, 2},   {"layers_rle", 3, 8, 3},
    {"layers_placed_raw", 3, 8, 3}, {"indexed_rle", 2, 8, 1},   {"indexed_raw", 2, 8, 1},
};

TEST(PsdFromImageMagick, EveryFileGivesImageMagicksComposite) {
  for (const Sample& s : kSamples) {
    SCOPED_TRACE(s.name);
    const std::string path = std::string(DORVANE_PSD_SAMPLES) + "/" + s.name + ".psd";
    const std::vector<uint8_t> file = ReadFile(path), expected = ReadFile(path + ".rgb");
    ASSERT_FALSE(file.empty());
    ASSERT_GE(expected.size(), 8u);
    PsdDecoder decoder;
    ASSERT_EQ(decoder.Load(file.data(), file.size()), kPsdOk);
    EXPECT_EQ(decoder.Mode(), s.mode);
    EXPECT_EQ(decoder.Depth(), s.depth);
    EXPECT_EQ(decoder.Channels(), s.channels);
    const int32_t width = expected[0] | expected[1] << 8, height = expected[4] | expected[5] << 8;
    ASSERT_EQ(decoder.Columns(), width);
    ASSERT_EQ(decoder.Rows(), height);
    ASSERT_TRUE(decoder.HasBitmap());
    ASSERT_EQ(expected.size(), 8 + 3 * size_t(width) * size_t(height));
    const int tolerance = s.depth == 16 ? 1 : 0;
    int wrong = 0;
    for (int32_t y = 0; y < height && wrong < 5; ++y) {
      const uint8_t* row = decoder.Bits().data() + size_t(height - 1 - y) * decoder.RowStride();
      for (int32_t x = 0; x < width && wrong < 5; ++x) {
        const uint8_t* want = expected.data() + 8 + 3 * (size_t(y) * width + x);
        const uint8_t* got = row + 3 * x;  // blue, green, red
        for (int c = 0; c < 3; ++c) {
          if (std::abs(got[2 - c] - want[c]) > tolerance) {
            ++wrong;
            ADD_FAILURE() << "pixel " << x << "," << y << " channel " << c << ": " << int(got[2 - c])
                          << " instead of " << int(want[c]);
            break;
          }
        }
      }
    }
  }
}

}  // namespace
