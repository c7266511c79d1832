#include "platform/classlib/carray.h"

#include <gtest/gtest.h>

#include "platform/classlib/classlib_testing.h"

namespace {

// The capacity after each of n Add calls on a new array (default grow-by).
std::vector<int> CapacitiesWhileAdding(int n) {
  CArray<int, int> a;
  std::vector<int> capacities;
  for (int i = 0; i < n; ++i) {
    a.Add(i);
    capacities.push_back(a.GetAllocSize());
  }
  return capacities;
}

TEST(CArrayGrowth, DefaultGrowByIsAnEighthBetweenFourAnd1024) {
  const std::vector<int> caps = CapacitiesWhileAdding(50);
  // {size after the Add, capacity}: first exactly 1, then steps of 4 while size / 8 < 4, then size / 8.
  const struct {
    int size, capacity;
  } cases[] = {{1, 1}, {2, 5}, {5, 5}, {6, 9}, {10, 13}, {33, 33}, {34, 37}, {38, 41}, {42, 46}, {47, 51}};
  for (const auto& c : cases) EXPECT_EQ(caps[c.size - 1], c.capacity) << "size " << c.size;

  CArray<int, int> big;
  big.SetSize(10000);
  EXPECT_EQ(big.GetAllocSize(), 10000);
  big.Add(1);
  EXPECT_EQ(big.GetAllocSize(), 10000 + 1024);
  EXPECT_EQ(big.GetSize(), 10001);
}

TEST(CArrayGrowth, ExplicitGrowByShrinkAndFree) {
  CArray<int, int> a;
  a.SetSize(0, 16);
  a.Add(1);
  EXPECT_EQ(a.GetAllocSize(), 16);
  a.SetSize(17);
  EXPECT_EQ(a.GetAllocSize(), 32);
  a.SetSize(3);  // shrinking keeps the memory
  EXPECT_EQ(a.GetAllocSize(), 32);
  a.FreeExtra();
  EXPECT_EQ(a.GetAllocSize(), 3);
  a.RemoveAt(0, 3);
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.GetAllocSize(), 3);
  a.RemoveAll();
  EXPECT_EQ(a.GetAllocSize(), 0);
}

TEST(CArrayEdit, NewElementsAreZeroAndInsertBeyondTheEndGrows) {
  CDWordArray a;
  a.SetSize(3);
  EXPECT_EQ(a[0] + a[1] + a[2], 0u);
  a.SetAtGrow(5, 9);
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[4], 0u);
  EXPECT_EQ(a[5], 9u);
  a.InsertAt(8, 7, 2);
  EXPECT_EQ(a.GetSize(), 10);
  EXPECT_EQ(a[7], 0u);
  EXPECT_EQ(a[8], 7u);
  EXPECT_EQ(a[9], 7u);
  EXPECT_EQ(a.GetUpperBound(), 9);
}

TEST(CArrayEdit, InsertRemoveAppendCopyWithStrings) {
  CStringArray a;
  EXPECT_EQ(a.Add(_T("b")), 0);
  EXPECT_EQ(a.Add(CString(_T("d"))), 1);
  a.InsertAt(0, _T("a"));
  a.InsertAt(2, _T("c"), 2);
  ASSERT_EQ(a.GetSize(), 5);
  EXPECT_EQ(a[0] + a[1] + a[2] + a[3] + a[4], _T("abccd"));
  a.RemoveAt(2);
  a.RemoveAt(3, 10);
  EXPECT_EQ(a[0] + a[1] + a[2], _T("abc"));
  EXPECT_EQ(a.Append(a), 3);  // appending the array to itself doubles it
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[5], _T("c"));

  CStringArray b;
  b.Copy(a);
  EXPECT_EQ(b.GetSize(), 6);
  b.InsertAt(1, &a);
  EXPECT_EQ(b.GetSize(), 12);
  EXPECT_EQ(b[0] + b[1] + b[6] + b[7], _T("aacb"));
  b.SetAt(0, _T("z"));
  b.ElementAt(1) = _T("y");
  EXPECT_EQ(b.GetAt(0) + b.GetAt(1), _T("zy"));
}

TEST(CArrayEdit, AddingAnElementOfTheSameArrayWhileItGrows) {
  CStringArray a;
  a.Add(_T("first"));
  for (int i = 0; i < 40; ++i) a.Add(a[0]);  // the source moves when the array grows
  EXPECT_EQ(a.GetSize(), 41);
  EXPECT_EQ(a[40], _T("first"));
  a.InsertAt(0, a[40], 3);
  EXPECT_EQ(a[2], _T("first"));
}

TEST(CArrayEdit, PointerArrays) {
  int x = 0, y = 0;
  CPtrArray p;
  p.Add(&x);
  p.Add(&y);
  p.RemoveAt(0);
  EXPECT_EQ(p[0], &y);
  CUIntArray u;
  u.Add(4000000000u);
  EXPECT_EQ(u[0], 4000000000u);
  EXPECT_TRUE(p.IsKindOf(RUNTIME_CLASS(CPtrArray)));
}

}  // namespace
