#include "engine/records/record_list.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "engine/host/host.h"
#include "platform/os/os.h"

namespace {

struct Named {
  std::u16string name;
  uint32_t value = 0;
};

TEST(RecordList, ReferencesSurviveAppendsWhileAWalkAppends) {
  records::RecordList<Named> list;
  Named& first = list.Append({u"a folder name longer than any small-string buffer", 1});
  // A breadth-first walk that appends children while it walks, holding the record it works on.
  for (size_t i = 0; i < list.size() && list.size() < 5000; ++i) {
    Named& current = list[i];
    list.Append({current.name, current.value * 2});
    list.Append({current.name, current.value * 2 + 1});
    EXPECT_EQ(current.value, i + 1);  // still readable after the appends
  }
  EXPECT_EQ(first.value, 1u);
  EXPECT_EQ(list.back().value, list.size());
}

TEST(RecordList, FreeEmptiesAndTheNextAppendStartsANewList) {
  records::RecordList<Named> list;
  for (uint32_t i = 0; i < 1000; ++i) list.Append({std::u16string(40, u'x'), i});
  const uint64_t generation = list.Generation();
  list.Free();
  EXPECT_TRUE(list.empty());
  EXPECT_NE(list.Generation(), generation);
  list.Free();  // an empty list stays empty
  EXPECT_EQ(list.Append({u"new", 7}).value, 7u);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.front().name, u"new");
}

TEST(RecordList, RemoveIfKeepsTheOrderOfTheRest) {
  records::RecordList<Named> list;
  for (uint32_t i = 0; i < 10; ++i) list.Append({u"n" + std::u16string(1, u'0' + i), i});
  EXPECT_EQ(list.RemoveIf([](const Named& r) { return r.value % 3 != 0; }), 6u);
  std::vector<uint32_t> left;
  for (const Named& r : list) left.push_back(r.value);
  EXPECT_EQ(left, (std::vector<uint32_t>{0, 3, 6, 9}));
  EXPECT_EQ(list[2].name, u"n6");
  EXPECT_EQ(list.RemoveIf([](const Named&) { return false; }), 0u);
}

#if GTEST_HAS_DEATH_TEST
// A record whose copy into the list runs out of memory.
struct Exhausting {
  Exhausting() = default;
  Exhausting(Exhausting&&) { throw std::bad_alloc(); }
};

class StderrMessages : public host::MessageHost {
 public:
  void MessageDialog(const std::u16string& text, uint32_t kind) override {
    fprintf(stderr, "kind %u: %s\n", kind, os::ToUtf8(text).c_str());
  }
  uint32_t ConfirmDialog(const std::u16string&, uint32_t) override { return 2; }
};

TEST(RecordListDeathTest, RunningOutOfMemoryTellsTheUserAndEnds) {
  EXPECT_EXIT(
      {
        StderrMessages messages;
        host::Current().messages = &messages;
        records::RecordList<Exhausting> list;
        list.Append(Exhausting());
      },
      ::testing::ExitedWithCode(1), "kind 2: Out of memory, close other applications and run again");
}
#endif

}  // namespace
