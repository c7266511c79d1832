#include "toolkit/common/tkp_icon_lookup.h"
#include "toolkit/common/tkp_icon_pixels.h"
#include "toolkit/common/tkp_image_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "toolkit/common/tkp_prop_values.h"

namespace {

std::vector<BYTE> Store(const std::function<void(CArchive&)>& write) { return TKPArchiveStore(write); }

// Reads one bitmap record from the bytes; "" when it was accepted, else the reason (or "end").
std::string ReadRecord(std::vector<BYTE> bytes, TKPBitmapRecord* out = nullptr) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  TKPBitmapRecord record;
  const char* reason = "";
  try {
    if (!TKPReadBitmapRecord(ar, record, &reason)) return reason;
  } catch (CArchiveException* e) {
    e->Delete();
    return "end";
  }
  if (out != nullptr) *out = record;
  return "";
}

void Poke32(std::vector<BYTE>& bytes, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<BYTE>(v >> (8 * i));
}

TEST(ImageRecord, AlphaRecordIsHeaderBitsAndRoundTrips) {
  TKPBitmapRecord record = TKPMakeBitmapRecord(2, -3);
  record.bits[5] = 0x77;
  const std::vector<BYTE> bytes = Store([&](CArchive& ar) { TKPWriteBitmapRecord(ar, record); });
  ASSERT_EQ(bytes.size(), 2u + 52u + 2u + 24u);
  EXPECT_EQ(bytes[0], 52);
  EXPECT_EQ(bytes[54], 24);
  TKPBitmapRecord back;
  EXPECT_EQ(ReadRecord(bytes, &back), "");
  EXPECT_EQ(back.Height(), -3);
  EXPECT_EQ(back.bits, record.bits);
  EXPECT_EQ(ReadRecord({0, 0}), "");  // the empty record
}

TEST(ImageRecord, CraftedRecordsAreRefusedBeforeAllocation) {
  const std::vector<BYTE> good = Store([](CArchive& ar) { TKPWriteBitmapRecord(ar, TKPMakeBitmapRecord(4, 4)); });
  const auto with = [&](const std::function<void(std::vector<BYTE>&)>& change) {
    std::vector<BYTE> bytes = good;
    change(bytes);
    return ReadRecord(bytes);
  };
  EXPECT_EQ(with([](auto& b) { b[0] = 40; }), "the bitmap header has the wrong length");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 2, 124); }), "the bitmap header is not 40 bytes");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 6, 0); }), "the bitmap is too large or empty");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 6, 0x7FFFFFFF); }), "the bitmap is too large or empty");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 10, 0x80000000u); }), "the bitmap is too large or empty");
  EXPECT_EQ(with([](auto& b) { b[16] = 7; }), "the bitmap has an unknown pixel format");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 18, 1); }), "the bitmap is compressed");
  // Masks and a colour table GDI would read past the block: three masks leave room for no colour.
  EXPECT_EQ(with([](auto& b) { Poke32(b, 18, 3); Poke32(b, 34, 256); }), "the bitmap names more colours than it holds");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 18, 3); Poke32(b, 34, 1); }), "the bitmap names more colours than it holds");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 34, 0xFFFFFFFFu); }), "the bitmap names more colours than it holds");
  EXPECT_EQ(with([](auto& b) { Poke32(b, 18, 3); }), "");
  EXPECT_EQ(with([](auto& b) { b[54] = 63; }), "the bitmap's pixels have the wrong length");
  // A count that claims more than is left.
  EXPECT_EQ(with([](auto& b) { b.resize(b.size() - 1); }), "end");
  EXPECT_EQ(with([](auto& b) { b[54] = 0xFF; b[55] = 0xFF; }), "the bitmap's pixels have the wrong length");
  EXPECT_EQ(with([](auto& b) { b[16] = 1; }), "");  // a mask record
}

TEST(ImageRecord, SchemaSevenIconHasNoCheckedImage) {
  TKPIconRecord icon;
  icon.height = 16;
  icon.normal.a = TKPMakeBitmapRecord(16, 16);
  std::vector<BYTE> bytes = Store([&](CArchive& ar) { TKPWriteIconRecord(ar, icon); });
  EXPECT_EQ(bytes[4], 16);  // the schema written
  bytes[4] = 7;
  bytes.resize(bytes.size() - 4);  // the two empty checked records go
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  TKPIconRecord back;
  ASSERT_TRUE(TKPReadIconRecord(ar, back));
  EXPECT_EQ(back.height, 16);
  EXPECT_EQ(back.normal.a.Width(), 16);
  EXPECT_TRUE(back.checked.a.IsEmpty());
}

TEST(IconLookup, NearestWidthFollowsTheMapWalk) {
  CMap<int, int, int, int> widths;
  widths[32] = 1;
  widths[16] = 2;
  int found = 0;
  ASSERT_TRUE(TKPNearestWidth(widths, 24, &found));
  EXPECT_EQ(found, 16);  // bucket 1 comes before bucket 2
  CMap<int, int, int, int> sameBucket;
  sameBucket[20] = 1;
  sameBucket[28] = 2;
  ASSERT_TRUE(TKPNearestWidth(sameBucket, 24, &found));
  EXPECT_EQ(found, 28);  // the width added last comes first in its bucket
  ASSERT_TRUE(TKPNearestWidth(sameBucket, 100, &found));
  EXPECT_EQ(found, 28);
  CMap<int, int, int, int> none;
  EXPECT_FALSE(TKPNearestWidth(none, 16, &found));
}

std::vector<std::uint8_t> Pixel(std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a = 255) {
  return {b, g, r, a};
}

TEST(IconPixels, DerivedImages) {
  auto black = Pixel(0, 0, 0), white = Pixel(255, 255, 255), grey = Pixel(64, 64, 64, 200);
  TKPFadePixels(black.data(), 1);
  TKPFadePixels(white.data(), 1);
  EXPECT_EQ(black, Pixel(76, 76, 76));
  EXPECT_EQ(white, Pixel(255, 255, 255));

  auto w = Pixel(255, 255, 255), k = Pixel(0, 0, 0);
  TKPDisabledPixels(w.data(), 1, kTKPNoIconColor, kTKPNoIconColor);
  TKPDisabledPixels(k.data(), 1, kTKPNoIconColor, kTKPNoIconColor);
  TKPDisabledPixels(grey.data(), 1, kTKPNoIconColor, kTKPNoIconColor);
  EXPECT_EQ(w, Pixel(255, 255, 255));
  EXPECT_EQ(k, Pixel(0, 0, 0));
  EXPECT_EQ(grey, Pixel(127, 127, 127, 200));

  auto w2 = Pixel(255, 255, 255), k2 = Pixel(0, 0, 0);
  TKPDisabledPixels(w2.data(), 1, 0x0000FF, 0xFF0000);  // light red, dark blue
  TKPDisabledPixels(k2.data(), 1, 0x0000FF, 0xFF0000);
  EXPECT_EQ(w2, Pixel(0, 0, 255));
  EXPECT_EQ(k2, Pixel(255, 0, 0));

  std::vector<std::uint8_t> two = {10, 20, 30, 40, 50, 60, 70, 80};
  TKPShadowPixels(two.data(), 2, TKPShadowColor(0x808080));
  EXPECT_EQ(two, (std::vector<std::uint8_t>{96, 96, 96, 40, 96, 96, 96, 80}));

  // The mask keeps its white pixels as they are.
  std::vector<std::uint8_t> icon = {0, 0, 0, 0, 0, 0, 0, 0};
  const std::vector<std::uint8_t> mask = {0, 0, 0, 0, 255, 255, 255, 0};
  TKPFadePixels(icon.data(), 2, mask.data());
  EXPECT_EQ(icon, (std::vector<std::uint8_t>{76, 76, 76, 0, 0, 0, 0, 0}));

  auto half = Pixel(200, 100, 255, 128);
  TKPPremultiplyPixels(half.data(), 1);
  EXPECT_EQ(half, Pixel(100, 50, 128, 128));
}

}  // namespace
