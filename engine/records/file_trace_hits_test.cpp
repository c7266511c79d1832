#include "engine/records/file_trace_hits.h"

#include <gtest/gtest.h>

namespace {

class FileTraceHits : public ::testing::Test {
 protected:
  void SetUp() override { FreeFileTraceResultList(); }
  void TearDown() override { FreeFileTraceResultList(); }
};

TEST_F(FileTraceHits, AppendKeepsOrderAndPutsTheIdBeforeTheSectorInTheArguments) {
  AppendFileTraceHit(u"1.doc", u".doc", u"Document Files", 1, 2048);
  AppendFileTraceHit(u"2.jpg", u".jpg", u"Graphics Files", 2, 4096);
  ASSERT_EQ(FileTraceHitList.size(), 2u);
  const FileTraceHit& first = FileTraceHitList[0];
  EXPECT_EQ(first.fileName, u"1.doc");
  EXPECT_EQ(first.extension, u".doc");
  EXPECT_EQ(first.group, u"Document Files");
  EXPECT_EQ(first.id, 1u);
  EXPECT_EQ(first.startSector, 2048u);
  EXPECT_EQ(FileTraceHitList[1].fileName, u"2.jpg");
  EXPECT_EQ(FileTraceHitList[1].startSector, 4096u);
}

TEST_F(FileTraceHits, FreeingEmptiesTheListAndAnEmptyListStaysEmpty) {
  FreeFileTraceResultList();
  EXPECT_TRUE(FileTraceHitList.empty());
  AppendFileTraceHit(u"1.zip", u".zip", u"Archive Files", 1, 7);
  FreeFileTraceResultList();
  EXPECT_TRUE(FileTraceHitList.empty());
  AppendFileTraceHit(u"1.zip", u".zip", u"Archive Files", 1, 9);
  ASSERT_EQ(FileTraceHitList.size(), 1u);
  EXPECT_EQ(FileTraceHitList[0].startSector, 9u);
}

TEST_F(FileTraceHits, TheCountFollowsTheList) {
  EXPECT_EQ(FileTraceHitCount.load(), 0u);
  AppendFileTraceHit(u"1.zip", u".zip", u"Archive Files", 1, 7);
  AppendFileTraceHit(u"2.zip", u".zip", u"Archive Files", 2, 9);
  EXPECT_EQ(FileTraceHitCount.load(), 2u);
  FreeFileTraceResultList();
  EXPECT_EQ(FileTraceHitCount.load(), 0u);
}

}  // namespace
