#include "platform/classlib/clist.h"

#include <gtest/gtest.h>

#include "platform/classlib/classlib_testing.h"

namespace {

CString Joined(const CStringList& list) {
  CString all;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) all += list.GetNext(pos);
  return all;
}

TEST(CListTest, AddInsertWalkAndRemove) {
  CStringList list;
  list.AddTail(_T("b"));
  list.AddHead(_T("a"));
  const POSITION c = list.AddTail(_T("c"));
  list.InsertBefore(c, _T("B"));
  list.InsertAfter(c, _T("C"));
  list.InsertAfter(nullptr, _T("end"));
  list.InsertBefore(nullptr, _T("start"));
  EXPECT_EQ(Joined(list), _T("startabBcCend"));
  EXPECT_EQ(list.GetCount(), 7);

  CString backwards;
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) backwards += list.GetPrev(pos);
  EXPECT_EQ(backwards, _T("endCcBbastart"));

  EXPECT_EQ(list.RemoveHead(), _T("start"));
  EXPECT_EQ(list.RemoveTail(), _T("end"));
  list.RemoveAt(list.Find(_T("B")));
  EXPECT_EQ(Joined(list), _T("abcC"));
  EXPECT_EQ(list.GetHead(), _T("a"));
  EXPECT_EQ(list.GetTail(), _T("C"));
  list.SetAt(list.FindIndex(1), _T("x"));
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), _T("x"));
  EXPECT_EQ(list.FindIndex(4), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(CListTest, FindAfterAPositionAndAddingLists) {
  CPtrList list;
  int a = 0, b = 0;
  const POSITION first = list.AddTail(&a);
  list.AddTail(&b);
  const POSITION second = list.AddTail(&a);
  EXPECT_EQ(list.Find(&a), first);
  EXPECT_EQ(list.Find(&a, first), second);
  EXPECT_EQ(list.Find(&a, second), nullptr);

  CStringList x, y;
  x.AddTail(_T("2"));
  y.AddTail(_T("0"));
  y.AddTail(_T("1"));
  x.AddHead(&y);
  x.AddTail(&y);
  x.AddTail(&x);  // a list added to itself is added once
  EXPECT_EQ(Joined(x), _T("0120101201"));
}

}  // namespace
