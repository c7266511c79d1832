#include "platform/classlib/cmemfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/classlib/classlib_testing.h"

namespace {

TEST(CMemFileTest, WritesGrowAndReadsStopAtTheEnd) {
  CMemFile file(16);
  file.Write("0123456789", 10);
  file.Write("abcdefghij", 10);
  EXPECT_EQ(file.GetLength(), 20u);
  EXPECT_EQ(file.GetPosition(), 20u);
  file.SeekToBegin();
  char buffer[32] = {};
  EXPECT_EQ(file.Read(buffer, 8), 8u);
  EXPECT_EQ(file.Read(buffer + 8, 100), 12u);
  EXPECT_EQ(std::memcmp(buffer, "0123456789abcdefghij", 20), 0);
  EXPECT_EQ(file.Read(buffer, 1), 0u);
  EXPECT_EQ(file.Seek(-5, CFile::end), 15u);
  EXPECT_EQ(file.Seek(2, CFile::current), 17u);
  EXPECT_EQ(CauseOf<CFileException>([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
}

TEST(CMemFileTest, WritingPastTheEndFillsTheGapWithZeros) {
  CMemFile file;
  file.Write("ab", 2);
  file.Seek(5, CFile::begin);
  EXPECT_EQ(file.Read(nullptr, 0), 0u);
  file.Write("z", 1);
  EXPECT_EQ(file.GetLength(), 6u);
  BYTE* data = file.Detach();
  EXPECT_EQ(std::memcmp(data, "ab\0\0\0z", 6), 0);
  std::free(data);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(CMemFileTest, ACallersBuffer) {
  BYTE fixed[4] = {1, 2, 3, 4};
  {
    CMemFile file(fixed, sizeof fixed);  // data to read; it cannot grow
    EXPECT_EQ(file.GetLength(), 4u);
    file.Seek(0, CFile::end);
    EXPECT_TRUE(Raises<CMemoryException>([&] { file.Write("x", 1); }));
    file.SeekToBegin();
    file.Write("\x09", 1);
  }
  EXPECT_EQ(fixed[0], 9);

  BYTE start[2] = {0, 0};
  CMemFile growing(start, sizeof start, 8);  // first storage: empty, copied out when it grows
  EXPECT_EQ(growing.GetLength(), 0u);
  growing.Write("abcdef", 6);
  EXPECT_EQ(start[0], 0);
  EXPECT_EQ(growing.GetLength(), 6u);
}

}  // namespace
