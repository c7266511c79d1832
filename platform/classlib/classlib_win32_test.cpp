// The Windows-only pieces: string resources and files in global memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform/classlib/classlib_testing.h"
#include "platform/classlib/csharedfile.h"

namespace {

TEST(CStringResources, LoadStringFindsTheStringOrLeavesTheTextAlone) {
  CString s = _T("unchanged");
  EXPECT_FALSE(s.LoadString(4243));
  EXPECT_EQ(s, _T("unchanged"));
  EXPECT_TRUE(s.LoadString(4242));  // through the macro of <windows.h>: LoadStringW
  EXPECT_EQ(s, _T("Loaded \u00e9 from the resources"));
}

TEST(CSharedFileTest, ArchiveIntoGlobalMemoryAndBack) {
  CSharedFile out;
  {
    CArchive ar(&out, CArchive::store);
    ar << CString(_T("clip")) << 7;
  }
  const UINT length = static_cast<UINT>(out.GetLength());
  HGLOBAL memory = out.Detach();
  ASSERT_NE(memory, nullptr);
  EXPECT_GE(GlobalSize(memory), length);
  EXPECT_EQ(out.GetLength(), 0u);

  CSharedFile in;
  in.SetHandle(memory, FALSE);
  CString text;
  int number = 0;
  {
    CArchive ar(&in, CArchive::load);
    ar >> text >> number;
  }
  EXPECT_EQ(text, _T("clip"));
  EXPECT_EQ(number, 7);
  in.Close();
  // The file never frees memory it was given; growing moves the data into memory of its own.
  const BYTE* data = static_cast<const BYTE*>(GlobalLock(memory));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data[0], 0xFF);
  GlobalUnlock(memory);

  CSharedFile grow;
  grow.SetHandle(memory, TRUE);
  grow.Seek(0, CFile::end);
  std::vector<BYTE> more(10000, 0xAB);
  grow.Write(more.data(), static_cast<UINT>(more.size()));
  HGLOBAL grown = grow.Detach();
  ASSERT_NE(grown, memory);
  const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(grown));
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[GlobalSize(memory) + 9999], 0xAB);
  GlobalUnlock(grown);
  GlobalFree(grown);
  GlobalFree(memory);
}

}  // namespace
