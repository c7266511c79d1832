#include "preview/psd/psd_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/os/os.h"
#include "preview/psd/psd_test_writer.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kWhite = Rgb(255, 255, 255);

int Load(PsdDecoder& decoder, const std::string& file) {
  return decoder.Load(reinterpret_cast<const uint8_t*>(file.data()), file.size());
}

// The colour at (x, y) from the top-left, read from the bottom-up bitmap.
uint32_t Pixel(const PsdDecoder& d, int x, int y) {
  const uint8_t* p = d.Bits().data() + static_cast<size_t>(d.Rows() - 1 - y) * d.RowStride() + x * 3;
  return Rgb(p[2], p[1], p[0]);
}

std::vector<uint32_t> Pixels(const PsdTestImage& image) {
  PsdDecoder decoder;
  EXPECT_EQ(Load(decoder, WritePsd(image)), kPsdOk);
  std::vector<uint32_t> out;
  if (!decoder.HasBitmap()) return out;
  for (uint32_t y = 0; y < image.rows; ++y)
    for (uint32_t x = 0; x < image.columns; ++x) out.push_back(Pixel(decoder, static_cast<int>(x), static_cast<int>(y)));
  return out;
}

// A 2 x 2 picture: red, green / blue, and a mix, with an alpha channel that must not matter.
PsdTestImage RgbImage(uint16_t depth, bool packBits, bool alpha) {
  PsdTestImage image;
  image.depth = depth;
  image.packBits = packBits;
  image.rows = image.columns = 2;
  const uint16_t f = depth == 16 ? 257 : 1;  // 16-bit samples: the high byte carries the colour
  image.channels = {{uint16_t(255 * f), 0, 0, uint16_t(17 * f + (f > 1 ? 200 : 0))},
                    {0, uint16_t(255 * f), 0, uint16_t(34 * f)},
                    {0, 0, uint16_t(255 * f), uint16_t(51 * f)}};
  if (alpha) image.channels.push_back({0, 128, 255, 7});
  return image;
}

const std::vector<uint32_t> kRgbExpected = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(17, 34, 51)};

TEST(PsdDecoder, RgbInEveryStorageDecodesToTheSamePixels) {
  for (uint16_t depth : {8, 16})
    for (bool packBits : {false, true})
      for (bool alpha : {false, true}) {
        SCOPED_TRACE(testing::Message() << "depth " << depth << " packBits " << packBits << " alpha " << alpha);
        EXPECT_EQ(Pixels(RgbImage(depth, packBits, alpha)), kRgbExpected);
      }
}

TEST(PsdDecoder, RgbaStoredRawDecodes) { EXPECT_EQ(Pixels(RgbImage(8, false, true)), kRgbExpected); }

TEST(PsdDecoder, SixteenBitPackBitsDecodesAtItsDepth) {
  PsdTestImage image = RgbImage(16, true, false);
  image.columns = 200;  // long repeat runs across the row
  image.rows = 1;
  for (auto& channel : image.channels) channel.assign(200, channel[0]);
  image.channels[0].assign(200, 0x80FF);
  image.channels[1][199] = 0x4000;
  const std::vector<uint32_t> pixels = Pixels(image);
  ASSERT_EQ(pixels.size(), 200u);
  EXPECT_EQ(pixels[0], Rgb(0x80, 0, 0));
  EXPECT_EQ(pixels[199], Rgb(0x80, 0x40, 0));
}

TEST(PsdDecoder, BitmapIsBottomUpWithPaddedRowsAndDefaultResolution) {
  PsdTestImage image = RgbImage(8, false, false);
  image.rows = 2;
  image.columns = 1;
  for (auto& channel : image.channels) channel.resize(2);
  PsdDecoder decoder;
  ASSERT_EQ(Load(decoder, WritePsd(image)), kPsdOk);
  EXPECT_EQ(decoder.RowStride(), 4u);
  EXPECT_EQ(decoder.Bits(), (std::vector<uint8_t>{0, 255, 0, 0xFF, 0, 0, 255, 0xFF}));
  EXPECT_EQ(decoder.PixelsPerMetreX(), 3780);
}

TEST(PsdDecoder, GrayAndDuotoneTakeTheFirstSampleAsGray) {
  for (uint16_t mode : {1, 8})
    for (uint16_t depth : {8, 16})
      for (bool packBits : {false, true}) {
        PsdTestImage image{mode, depth, 1, 3, packBits, {{0, 0x40, 0xFF}}, {}, {}};
        if (depth == 16) image.channels[0] = {0x00FF, 0x40FF, 0xFF00};
        EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0, Rgb(0x40, 0x40, 0x40), kWhite}));
      }
}

TEST(PsdDecoder, IndexedNeedsTheTableAndNoZeroIndexCount) {
  std::string table(768, '\0');
  table[5] = char(200);         // red of index 5
  table[256 + 5] = char(100);   // green
  table[512 + 5] = char(50);    // blue
  table[512 + 1] = char(255);   // index 1: blue
  PsdTestImage image{2, 8, 1, 2, false, {{5, 1}}, table, PsdResource(1046, PsdBigEndian(2, 2))};
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{Rgb(200, 100, 50), Rgb(0, 0, 255)}));
  image.packBits = true;
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{Rgb(200, 100, 50), Rgb(0, 0, 255)}));
  image.resources.clear();  // without the index count the whole table serves
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{Rgb(200, 100, 50), Rgb(0, 0, 255)}));
  image.resources = PsdResource(1046, PsdBigEndian(0, 2));
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{kWhite, kWhite}));
}

TEST(PsdDecoder, CmykAndMultichannelThroughTheCmykFormula) {
  PsdTestImage image{4, 8, 1, 3, false, {{255, 0, 200}, {255, 255, 100}, {255, 255, 50}, {255, 255, 230}}, {}, {}};
  // No ink at all is white paper.
  const std::vector<uint32_t> expected = {Rgb(255, 255, 255), Rgb(0, 255, 255), Rgb(180, 90, 45)};
  EXPECT_EQ(Pixels(image), expected);
  image.packBits = true;
  EXPECT_EQ(Pixels(image), expected);
  image.mode = 7;  // multichannel with four channels: the same
  EXPECT_EQ(Pixels(image), expected);
  image.channels.pop_back();  // three: no black
  image.channels = {{0}, {255}, {128}};
  image.columns = 1;
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{Rgb(0, 255, 128)}));

  PsdTestImage wide{4, 16, 1, 2, true, {{0xFFFF, 0x8000}, {0, 0x8000}, {0xFFFF, 0x8000}, {0xFFFF, 0xFFFF}}, {}, {}};
  EXPECT_EQ(Pixels(wide), (std::vector<uint32_t>{Rgb(255, 0, 255), Rgb(128, 128, 128)}));
}

TEST(PsdDecoder, LabThroughD65AndSrgb) {
  PsdTestImage image{9, 8, 1, 4, false, {{0, 255, 135, 128}, {128, 128, 208, 60}, {128, 128, 195, 200}}, {}, {}};
  const std::vector<uint32_t> expected = {0, Rgb(253, 253, 253), Rgb(251, 0, 0), Rgb(0, 142, 0)};
  EXPECT_EQ(Pixels(image), expected);
  image.packBits = true;
  EXPECT_EQ(Pixels(image), expected);
  PsdTestImage wide{9, 16, 1, 2, true, {{0x8000, 0xFFFF}, {0x8000, 0x4000}, {0x8000, 0xC000}}, {}, {}};
  EXPECT_EQ(Pixels(wide), (std::vector<uint32_t>{Rgb(119, 119, 119), Rgb(153, 255, 119)}));
}

TEST(PsdDecoder, ModesWithoutAConversionOrEnoughChannelsStayWhite) {
  EXPECT_EQ(Pixels(PsdTestImage{0, 8, 1, 1, false, {{0}}, {}, {}}), std::vector<uint32_t>{kWhite});
  EXPECT_EQ(Pixels(PsdTestImage{3, 8, 1, 1, false, {{0}, {0}}, {}, {}}), std::vector<uint32_t>{kWhite});
  EXPECT_EQ(Pixels(PsdTestImage{4, 8, 1, 1, false, {{0}, {0}, {0}}, {}, {}}), std::vector<uint32_t>{kWhite});
}

TEST(PsdDecoder, ResolutionFromItsResourceAfterAStrayWord) {
  PsdTestImage image = RgbImage(8, false, false);
  const std::string resolution = PsdBigEndian(72, 2) + std::string(6, '\0') + PsdBigEndian(300, 2) + std::string(6, '\0');
  image.resources = "junk" + PsdResource(1000, "odd") + PsdResource(1005, resolution);
  PsdDecoder decoder;
  ASSERT_EQ(Load(decoder, WritePsd(image)), kPsdOk);
  EXPECT_EQ(decoder.PixelsPerMetreX(), 2834);
  EXPECT_EQ(decoder.PixelsPerMetreY(), 11811);
  image.resources = PsdResource(1005, "short");  // too small to hold a resolution: ignored
  ASSERT_EQ(Load(decoder, WritePsd(image)), kPsdOk);
  EXPECT_EQ(decoder.PixelsPerMetreX(), 3780);
}

// The byte offset of the image data's compression code in a written file.
size_t CompressionAt(const PsdTestImage& image) { return 26 + 4 + image.colourData.size() + 4 + image.resources.size() + 4; }

TEST(PsdDecoder, HeaderFaultsAreRefused) {
  const std::string good = WritePsd(RgbImage(8, false, false));
  PsdDecoder decoder;
  auto with = [&](size_t at, const std::string& bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
  EXPECT_EQ(Load(decoder, good.substr(0, 25)), kPsdBadHeader);
  EXPECT_EQ(Load(decoder, with(0, "8BPB")), kPsdBadHeader);
  EXPECT_EQ(Load(decoder, with(4, PsdBigEndian(2, 2))), kPsdBadHeader);
  EXPECT_EQ(Load(decoder, with(11, "\x01")), kPsdBadHeader);
  EXPECT_EQ(Load(decoder, with(12, PsdBigEndian(0, 2))), kPsdBadDimensions);
  EXPECT_EQ(Load(decoder, with(12, PsdBigEndian(57, 2))), kPsdBadDimensions);
  EXPECT_EQ(Load(decoder, with(14, PsdBigEndian(0, 4))), kPsdBadDimensions);
  EXPECT_EQ(Load(decoder, with(18, PsdBigEndian(30001, 4))), kPsdBadDimensions);
  EXPECT_EQ(Load(decoder, with(14, PsdBigEndian(0xFFFFFFFF, 4))), kPsdBadDimensions);
  EXPECT_FALSE(decoder.HasBitmap());
}

TEST(PsdDecoder, ResourceFaultsAreRefused) {
  PsdTestImage image = RgbImage(8, false, false);
  PsdDecoder decoder;
  image.resources = PsdResource(1000, "abcd").substr(0, 12);  // block size beyond the section
  EXPECT_EQ(Load(decoder, WritePsd(image)), kPsdBadResources);
  image.resources = "8BIM\x03\xE8\x00\x00\x00\x00\x01\x00";  // size larger than what is left
  EXPECT_EQ(Load(decoder, WritePsd(image)), kPsdBadResources);
  image.resources = "ju";  // a stray word cut short by the section's end
  EXPECT_EQ(Load(decoder, WritePsd(image)), kPsdBadResources);
  image.resources.clear();
  std::string file = WritePsd(image);
  file.replace(26 + 4, 4, PsdBigEndian(0x7FFFFFFF, 4));  // section longer than the file
  EXPECT_EQ(Load(decoder, file), kPsdBadResources);
}

TEST(PsdDecoder, CompressionAndDepthCodes) {
  PsdTestImage image = RgbImage(8, false, false);
  const size_t at = CompressionAt(image);
  PsdDecoder decoder;
  for (auto [code, result] : {std::pair{2, kPsdZip}, {3, kPsdZipPredicted}, {4, kPsdUnknownCompression},
                              {0xFFFF, kPsdUnknownCompression}})
    EXPECT_EQ(Load(decoder, WritePsd(image).replace(at, 2, PsdBigEndian(code, 2))), result);
  for (uint16_t depth : {1, 32}) {
    image.depth = depth;
    EXPECT_EQ(Load(decoder, WritePsd(image).replace(22, 2, PsdBigEndian(depth, 2))), kPsdUnsupportedDepth);
  }
}

TEST(PsdDecoder, IncompleteDataReadsWithoutABitmap) {
  PsdDecoder decoder;
  for (bool packBits : {false, true}) {
    const PsdTestImage image = RgbImage(16, packBits, true);
    const std::string file = WritePsd(image);
    for (size_t cut : {CompressionAt(image), CompressionAt(image) + 1, CompressionAt(image) + 2, file.size() - 1}) {
      EXPECT_EQ(Load(decoder, file.substr(0, cut)), kPsdOk) << cut;
      EXPECT_FALSE(decoder.HasBitmap());
    }
  }
  // Files that end inside their colour data, resources or layers: read, no picture.
  EXPECT_EQ(Load(decoder, WritePsd(RgbImage(8, false, false)).substr(0, 28)), kPsdOk);
  EXPECT_FALSE(decoder.HasBitmap());
  // A layer length cut short is the end of the file, never read again as a compression code.
  const PsdTestImage image = RgbImage(8, false, false);
  const std::string head = WritePsd(image).substr(0, CompressionAt(image) - 4);
  for (const std::string& tail : {std::string(1, '\0'), std::string("\0\x02", 2), std::string("\0\x03\0", 3)}) {
    EXPECT_EQ(Load(decoder, head + tail), kPsdOk) << tail.size();
    EXPECT_FALSE(decoder.HasBitmap());
  }
}

TEST(PsdDecoder, PackBitsRunsStopAtTheirChannel) {
  PsdTestImage image{1, 8, 1, 2, true, {{9, 9}}, {}, {}};
  std::string file = WritePsd(image);
  // Replace the data with a repeat run of 100 and a literal of 3 for a channel of two bytes.
  file = file.substr(0, CompressionAt(image) + 2 + 2) + std::string("\x9D\x40\x02\x01\x02\x03", 6);
  PsdDecoder decoder;
  ASSERT_EQ(Load(decoder, file), kPsdOk);
  ASSERT_TRUE(decoder.HasBitmap());
  EXPECT_EQ(Pixel(decoder, 1, 0), Rgb(0x40, 0x40, 0x40));
}

TEST(PsdDecoder, TooMuchMemoryIsRefusedOnlyWhenTheDataCouldFillIt) {
  // A header claiming a huge picture over a few bytes of data is a damaged file, not a large one.
  PsdTestImage image{3, 16, 1, 1, false, {{0}, {0}, {0}}, {}, {}};
  std::string file = WritePsd(image);
  file.replace(14, 8, PsdBigEndian(30000, 4) + PsdBigEndian(30000, 4));
  PsdDecoder decoder;
  EXPECT_EQ(Load(decoder, file), kPsdOk);
  EXPECT_FALSE(decoder.HasBitmap());
  EXPECT_FALSE(PsdIsUnsupportedVariant(kPsdOk, decoder.Depth()));
  // 8000 x 6000 in PackBits, its data long enough to unpack to every sample: refused for its size.
  image = PsdTestImage{3, 8, 1, 1, true, {{0}, {0}, {0}}, {}, {}};
  file = WritePsd(image);
  file = file.substr(0, CompressionAt(image) + 2);
  file.replace(14, 8, PsdBigEndian(6000, 4) + PsdBigEndian(8000, 4));
  file += std::string(2 * 3 * 6000, '\x01') + std::string(3 * 6000 * 8000 / 64, '\xFF');
  EXPECT_EQ(Load(decoder, file), kPsdTooLarge);
  EXPECT_EQ(decoder.Rows(), 6000);
}

TEST(PsdDecoder, SoundFilesItDoesNotDrawAreToldFromDamagedOnes) {
  for (int result : {kPsdZip, kPsdZipPredicted, kPsdTooLarge}) EXPECT_TRUE(PsdIsUnsupportedVariant(result, 8));
  // Photoshop writes 1-bit bitmaps and 32-bit samples; other depths are damage.
  EXPECT_TRUE(PsdIsUnsupportedVariant(kPsdUnsupportedDepth, 1));
  EXPECT_TRUE(PsdIsUnsupportedVariant(kPsdUnsupportedDepth, 32));
  for (int depth : {0, 2, 7, 24, 64}) EXPECT_FALSE(PsdIsUnsupportedVariant(kPsdUnsupportedDepth, depth));
  for (int result : {kPsdOk, kPsdCannotOpen, kPsdBadHeader, kPsdBadDimensions, kPsdBadResources,
                     kPsdUnknownCompression})
    EXPECT_FALSE(PsdIsUnsupportedVariant(result, 8));
}

TEST(PsdDecoder, LoadsFromAFileAndReportsOneThatCannotOpen) {
  const std::u16string path = os::ProcessTempPath(u"psd_decoder_test.psd");
  const std::string file = WritePsd(RgbImage(8, true, true));
  {
    os::File out;
    ASSERT_TRUE(out.OpenWrite(path));
    ASSERT_TRUE(out.Write(file.data(), static_cast<uint32_t>(file.size())));
    ASSERT_TRUE(out.Close());
  }
  PsdDecoder decoder;
  EXPECT_EQ(decoder.Load(path), kPsdOk);
  EXPECT_EQ(Pixel(decoder, 1, 1), kRgbExpected[3]);
  os::RemoveFile(path);
  EXPECT_EQ(decoder.Load(path), kPsdCannotOpen);
  EXPECT_FALSE(decoder.HasBitmap());
}

}  // namespace
