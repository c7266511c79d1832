#include "platform/standins/picture/raster_decoders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace picture {
namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Sample(const std::string& name) { return std::string(DORVANE_PICTURE_SAMPLES) + "/" + name; }

RasterDecoder DecoderOf(const std::string& name) {
  const std::string ext = name.substr(name.rfind('.') + 1);
  if (ext == "tga") return DecodeTga;
  if (ext == "pcx") return DecodePcx;
  if (ext == "ras") return DecodeSunRaster;
  if (ext == "wbmp") return DecodeWbmp;
  if (ext == "j2k" || ext == "jp2" || ext == "j2c") return DecodeJpeg2000;
  return DecodePnm;
}

DecodeError Decode(RasterDecoder decoder, const std::vector<uint8_t>& bytes, RasterPicture& out) {
  return decoder(bytes.data(), bytes.size(), out);
}

DecodeError Decode(RasterDecoder decoder, const std::string& bytes, RasterPicture& out) {
  return decoder(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

const char* const kSamples[] = {
    "rgb.tga", "rgb_top_down.tga", "rgb_rle.tga", "rgba.tga", "grey_rle.tga", "mapped.tga", "rgb16.tga",
    "mono.pcx", "grey.pcx", "mapped.pcx", "rgb.pcx",
    "mono.pbm", "grey.pgm", "rgb.ppm", "plain_mono.pbm", "plain_grey.pgm", "plain_rgb.ppm", "deep.ppm",
    "mono.ras", "grey.ras", "grey_map.ras", "mapped.ras", "bgr.ras", "rgb.ras", "xbgr.ras", "encoded.ras",
    "encoded_mapped.ras",
    "pattern.wbmp",
    "rgb.j2k", "rgb.jp2", "grey.jp2", "grey_alpha.jp2", "rgba.j2k", "rgba.jp2", "lossy.jp2", "lossy_grey.j2c",
    "layers.j2k", "one.jp2", "column.j2k", "deep_grey.jp2",
};

// Every sample decodes to the pixels Pillow reads from it (a JPEG 2000 one: to what opj_decompress makes of it).
TEST(OwnDecoders, EverySampleGivesTheReferencePixels) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadFile(Sample(name));
    const std::vector<uint8_t> expected = ReadFile(Sample(name) + ".rgb");
    ASSERT_FALSE(file.empty());
    ASSERT_GE(expected.size(), 8u);
    RasterPicture picture;
    DecodeError why = Decode(DecoderOf(name), file, picture);
    ASSERT_EQ(why, nullptr) << why;
    const uint32_t width = expected[0] | expected[1] << 8, height = expected[4] | expected[5] << 8;
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, height);
    ASSERT_EQ(expected.size(), 8 + 3 * size_t{width} * height);
    int wrong = 0;
    for (size_t i = 0; i < picture.pixels.size() && wrong < 5; ++i) {
      const uint32_t want = Rgb(expected[8 + 3 * i], expected[9 + 3 * i], expected[10 + 3 * i]);
      if (picture.pixels[i] != want) {
        ++wrong;
        ADD_FAILURE() << "pixel " << i % width << "," << i / width << ": " << std::hex << picture.pixels[i]
                      << " instead of " << want;
      }
    }
  }
}

// A file cut anywhere short of its pixels is refused, never shown in part; what may go is what follows the
// pixels (Targa's footer, a blank), and the 256 colours that close an 8-bit PCX (the picture is then grey).
// A plain PNM cut inside its last number still holds a number: those cuts are left out.
TEST(OwnDecoders, EveryFileCutShortIsRefused) {
  for (const char* name : kSamples) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadFile(Sample(name));
    RasterPicture whole;
    ASSERT_EQ(Decode(DecoderOf(name), file, whole), nullptr);
    size_t keep = std::string(name) == "mapped.pcx" ? file.size() - 769 : file.size();
    if (std::string(name).rfind("plain_", 0) == 0) keep = std::string(file.begin(), file.end()).find_last_of(" \n", keep - 2);
    size_t refused = 0;
    for (size_t cut = 0; cut < keep; ++cut) {
      const std::vector<uint8_t> part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
      RasterPicture picture;
      if (Decode(DecoderOf(name), part, picture) != nullptr) {
        ++refused;
      } else {
        EXPECT_EQ(picture.pixels, whole.pixels) << "cut at " << cut;
      }
    }
    EXPECT_GT(refused, keep / 2);
  }
}

TEST(OwnDecoders, HeadersAskingForTooMuchAreRefusedBeforeAllocating) {
  RasterPicture picture;
  // Targa of 65535 x 65535 with three pixels of data.
  std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\xff\xff\xff\xff\x18\0" "abcdefghi", 27);
  EXPECT_STREQ(Decode(DecodeTga, tga, picture), "The Targa file is cut short.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P6 32768 1 255\n"), picture), "The picture is too large.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P5 4294967295 4294967295 255\n"), picture),
               "The picture is too large.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P5 4294967296 1 255\n"), picture), "The PNM header is not valid.");
  // 6000 x 6000 is within each side but beyond the pixels we hold.
  const std::string big = "P5 6000 6000 255\n" + std::string(36000000, '\x80');
  EXPECT_STREQ(Decode(DecodePnm, big, picture), "The picture is too large.");
  // Sun raster claiming 0x7fffffff x 2 at 32 bits.
  std::string sun("\x59\xa6\x6a\x95\x7f\xff\xff\xff\0\0\0\2\0\0\0\x20\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0", 32);
  EXPECT_STREQ(Decode(DecodeSunRaster, sun, picture), "The picture is too large.");
  // WBMP sizes of six bytes.
  EXPECT_STREQ(Decode(DecodeWbmp, std::string("\0\0\x81\x81\x81\x81\x81\x01\x01", 9), picture),
               "The WBMP header is cut short.");
  EXPECT_TRUE(picture.pixels.empty());
}

// A damaged JPEG 2000 file is refused with a reason or, where the damage only changes coefficients, decoded;
// a header asking for more than we hold is refused before anything is decoded.
TEST(OwnDecoders, DamagedJpeg2000IsRefusedOrDecoded) {
  RasterPicture picture;
  EXPECT_STREQ(Decode(DecodeJpeg2000, ReadFile(Sample("fake.jp2")), picture), "The JPEG 2000 header is not valid.");
  EXPECT_STREQ(Decode(DecodeJpeg2000, std::string("\xFF\x4F\xFF\x52 not a picture"), picture),
               "This is not a JPEG 2000 picture.");
  for (const char* name : {"rgb.j2k", "lossy.jp2", "layers.j2k"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadFile(Sample(name));
    size_t refused = 0;
    for (size_t at = 0; at < file.size(); at += 7) {
      std::vector<uint8_t> damaged = file;
      damaged[at] ^= 0x5A;
      damaged[(at * 31) % damaged.size()] = 0xFF;
      RasterPicture out;
      if (DecodeError why = Decode(DecodeJpeg2000, damaged, out)) {
        ++refused;
        EXPECT_TRUE(out.pixels.empty()) << why;
      } else {
        EXPECT_EQ(out.pixels.size(), size_t{out.width} * out.height);
      }
    }
    EXPECT_GT(refused, 0u);
  }
  // The codestream's picture and tile (SIZ: at bytes 8, 12, 24, 28) set to 40000 x 40000.
  std::vector<uint8_t> huge = ReadFile(Sample("rgb.j2k"));
  ASSERT_GT(huge.size(), 32u);
  for (size_t at : {8, 12, 24, 28}) huge[at] = 0, huge[at + 1] = 0, huge[at + 2] = 0x9C, huge[at + 3] = 0x40;
  EXPECT_STREQ(Decode(DecodeJpeg2000, huge, picture), "The picture is too large.");
}

TEST(OwnDecoders, WbmpExtensionHeadersAreSkipped) {
  RasterPicture picture;
  const std::string pixels("\x02\x01\x80", 3);  // 2 x 1, its row 0x80: white, black
  // A bitfield of two chained bytes.
  ASSERT_EQ(Decode(DecodeWbmp, std::string("\0\x80\x81\x01", 4) + pixels, picture), nullptr);
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0xFFFFFF, 0}));
  // Two parameter and value pairs: "ab" = "xyz", then "c" = "1".
  ASSERT_EQ(Decode(DecodeWbmp, std::string("\0\xE0\xA3" "abxyz" "\x11" "c1", 11) + pixels, picture), nullptr);
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0xFFFFFF, 0}));
  // Reserved kinds, reserved bits, and chains that run off the end of the file.
  EXPECT_STREQ(Decode(DecodeWbmp, std::string("\0\xA0\x01", 3) + pixels, picture), "This kind of WBMP picture is not read.");
  EXPECT_STREQ(Decode(DecodeWbmp, std::string("\0\x01", 2) + pixels, picture), "This kind of WBMP picture is not read.");
  EXPECT_STREQ(Decode(DecodeWbmp, std::string("\0\x80\x81\x81", 4), picture), "The WBMP header is cut short.");
  EXPECT_STREQ(Decode(DecodeWbmp, std::string("\0\xE0\x7F" "abc", 6), picture), "The WBMP header is cut short.");
}

TEST(OwnDecoders, OddValuesOfHeadersAndSamples) {
  RasterPicture picture;
  EXPECT_STREQ(Decode(DecodePnm, std::string("P2 1 1 0\n0\n"), picture), "The PNM header is not valid.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P2 1 1 65536\n0\n"), picture), "The PNM header is not valid.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P2 0 1 255\n"), picture), "The picture has no pixels.");
  EXPECT_STREQ(Decode(DecodePnm, std::string("P7\n"), picture), "This is not a PNM picture.");
  // A plain sample above the maximum counts as the maximum; comments may sit anywhere between numbers.
  ASSERT_EQ(Decode(DecodePnm, std::string("P2#c\n2#c\n1 15\n7 99"), picture), nullptr);
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x777777, 0xFFFFFF}));
  // Plain bitmap digits need no blanks between them.
  ASSERT_EQ(Decode(DecodePnm, std::string("P1 3 1 101"), picture), nullptr);
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0, 0xFFFFFF, 0}));
  // A Targa run longer than the picture, an index outside its colour map.
  EXPECT_STREQ(Decode(DecodeTga, std::string("\0\0\x0b\0\0\0\0\0\0\0\0\0\2\0\1\0\x08\x20\x82\x7f", 20), picture),
               "A Targa run goes past the picture's end.");
  EXPECT_STREQ(Decode(DecodeTga, std::string("\0\1\1\0\0\1\0\x18\0\0\0\0\1\0\1\0\x08\0" "abc\1", 22), picture),
               "A Targa colour index lies outside the colour map.");
  EXPECT_STREQ(Decode(DecodeTga, std::string("\0\0\x20\0\0\0\0\0\0\0\0\0\1\0\1\0\x08\0\0", 19), picture),
               "This kind of Targa picture is not read.");
  // PCX whose line is shorter than its width.
  std::string pcx(128, '\0');
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[8] = 9, pcx[65] = 1, pcx[66] = 8;
  EXPECT_STREQ(Decode(DecodePcx, pcx + "0123456789", picture), "The PCX line length is not valid.");
}

}  // namespace
}  // namespace picture
