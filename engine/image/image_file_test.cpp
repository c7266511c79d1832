#include "engine/image/image_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/image/image_test_support.h"

namespace {

using namespace image_test;

TEST(ImageFile, SeeksFromEachOriginAndZeroFillsPastTheEnd) {
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  const std::u16string path = TempPath(u"file.bin");
  WriteFile(path, bytes);
  ImageFile file;
  ASSERT_EQ(file.OpenForReading(path), 1u);
  EXPECT_EQ(file.Size(), 1000u);
  struct Case {
    uint64_t offset;
    uint32_t origin, direction;
    int64_t position;
  };
  const Case cases[] = {
      {100, 0, 1, 100}, {50, 1, 1, 150}, {30, 1, 0, 120}, {200, 2, 0, 800},
      {10, 2, 1, 1010}, {2000, 2, 0, -1},  // before the start
      {uint64_t{1} << 63, 0, 1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file.Seek(c.offset, c.origin, c.direction), c.position) << c.offset << " from " << c.origin;
  }
  std::vector<uint8_t> got(100, 0xAA);
  uint32_t n = 0;
  ASSERT_EQ(file.ReadAt(got.data(), 950, 100, &n), 1u);
  EXPECT_EQ(n, 50u);
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + 50, bytes.begin() + 950));
  EXPECT_EQ(std::count(got.begin() + 50, got.end(), 0), 50);
  EXPECT_EQ(file.Tell(), 1000u);
  EXPECT_EQ(file.SeekFromEnd(1001), 0u);
  EXPECT_EQ(file.Close(), 1u);
  EXPECT_EQ(file.Close(), 0u);
  std::fill(got.begin(), got.end(), 0xAA);
  EXPECT_EQ(file.Read(got.data(), 100), 0u) << "closed";
  EXPECT_EQ(std::count(got.begin(), got.end(), 0), 100);
  os::RemoveFile(path);
}

}  // namespace
