#include "toolkit/common/window_pos_record.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/common/stored_state_testing.h"

namespace {

tk::WindowPosRecord Sample() {
  tk::WindowPosRecord r;
  r.length = 48;
  r.flags = 2;
  r.showCmd = 3;
  r.minX = -32000;
  r.minY = -32000;
  r.maxX = -1;
  r.maxY = -1;
  r.left = 50;
  r.top = 60;
  r.right = 550;
  r.bottom = 460;
  return r;
}

TEST(WindowPosRecord, EncodesLittleEndianFieldsAfterALeadingZeroWord) {
  const auto bytes = tk::EncodeWindowPos(Sample());
  const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 24);
  EXPECT_EQ(head, (std::vector<uint8_t>{0, 0, 0, 0, 48, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0,  //
                                        0x00, 0x83, 0xFF, 0xFF, 0x00, 0x83, 0xFF, 0xFF}));
  EXPECT_EQ(bytes[40], 0x26);  // right = 550 = 0x226
  EXPECT_EQ(bytes[41], 0x02);
}

TEST(WindowPosRecord, RoundTripsAndIgnoresTheLeadingWordAndTrailingBytes) {
  auto bytes = tk::EncodeWindowPos(Sample());
  bytes[0] = 0xAB;  // the leading word has no effect
  std::vector<uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0x77);
  for (const auto& value : {std::vector<uint8_t>(bytes.begin(), bytes.end()), longer}) {
    const auto r = tk::DecodeWindowPos(value.data(), value.size());
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->length, 48u);
    EXPECT_EQ(r->showCmd, 3u);
    EXPECT_EQ(r->minX, -32000);
    EXPECT_EQ(r->maxY, -1);
    EXPECT_EQ(r->left, 50);
    EXPECT_EQ(r->bottom, 460);
  }
}

TEST(WindowPosRecord, RefusesValuesShorterThanTheRecord) {
  const auto bytes = tk::EncodeWindowPos(Sample());
  EXPECT_FALSE(tk::DecodeWindowPos(bytes.data(), 47).has_value());
  EXPECT_FALSE(tk::DecodeWindowPos(bytes.data(), 0).has_value());
  EXPECT_FALSE(tk::DecodeWindowPos(nullptr, 48).has_value());
}

TEST(WindowPosRecord, OnlyMaximisedIsKeptEverythingElseComesBackNormal) {
  EXPECT_EQ(tk::NormalizedShowCommand(3), 3u);
  for (uint32_t other : {0u, 1u, 2u, 5u, 6u, 7u, 0xFFFFFFFFu}) EXPECT_EQ(tk::NormalizedShowCommand(other), 1u);
}

// Placements a window can have, every field from the far ends of its type, the values around 0 and random
// ones: whatever is stored reads back field for field; only a value shorter than a record is refused.
TEST(WindowPosRecord, WhateverIsStoredIsReadBack) {
  tktest::Generator gen(77);
  const auto next = [&gen] { return gen.Next(); };
  const uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF8300};
  const auto pick = [&] { return next() % 4 == 0 ? next() : values[next() % 6]; };
  for (int n = 0; n < 200; ++n) {
    tk::WindowPosRecord r;
    r.length = pick();
    r.flags = pick();
    r.showCmd = pick();
    for (int32_t* side : {&r.minX, &r.minY, &r.maxX, &r.maxY, &r.left, &r.top, &r.right, &r.bottom}) {
      *side = static_cast<int32_t>(pick());
    }
    const auto bytes = tk::EncodeWindowPos(r);
    const auto read = tk::DecodeWindowPos(bytes.data(), bytes.size());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), [&] {
      const auto again = tk::EncodeWindowPos(*read);
      return std::vector<uint8_t>(again.begin(), again.end());
    }()) << n;
    EXPECT_EQ(read->left, r.left);
    EXPECT_EQ(read->bottom, r.bottom);
    EXPECT_EQ(read->showCmd, r.showCmd);
    EXPECT_FALSE(tk::DecodeWindowPos(bytes.data(), bytes.size() - 1).has_value());
  }
}

}  // namespace
