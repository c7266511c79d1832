#include "app/logic/file_filter_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/logic/dialogs_test_fixture.h"
#include "engine/records/fat_records.h"

namespace app {
namespace {

TEST(FileFilterEdit, NineteenCharactersFitTwentyDoNot) {
  EXPECT_EQ(CheckFilterToAdd(0, std::u16string(19, u'a'), {}), FilterAddResult::kAdded);
  EXPECT_EQ(CheckFilterToAdd(0, std::u16string(20, u'a'), {}), FilterAddResult::kTooLong);
  EXPECT_EQ(CheckFilterToAdd(0, std::u16string(300, u'a'), {}), FilterAddResult::kTooLong);
  EXPECT_EQ(FilterRefusalText(FilterAddResult::kTooLong), u"      Filter too long     ");
}

TEST(FileFilterEdit, TheNinetyNinthIsAddedTheHundredthRefused) {
  EXPECT_EQ(CheckFilterToAdd(98, u"*.txt", {}), FilterAddResult::kAdded);
  EXPECT_EQ(CheckFilterToAdd(99, u"*.txt", {}), FilterAddResult::kTableFull);
  // A full table is refused before the text is looked at.
  EXPECT_EQ(CheckFilterToAdd(99, u"", {}), FilterAddResult::kTableFull);
  EXPECT_EQ(FilterRefusalText(FilterAddResult::kTableFull), u"      You cannot add more Filters     ");
}

TEST(FileFilterEdit, BlankAndDuplicatesAreRefusedButCaseMakesANewFilter) {
  const std::vector<std::u16string> entries{u"*.TXT", u"doc"};
  EXPECT_EQ(CheckFilterToAdd(2, u"", entries), FilterAddResult::kBlank);
  EXPECT_EQ(CheckFilterToAdd(2, u"*.TXT", entries), FilterAddResult::kDuplicate);
  EXPECT_EQ(CheckFilterToAdd(2, u"*.txt", entries), FilterAddResult::kAdded);
  EXPECT_EQ(CheckFilterToAdd(2, u"*.TXT ", entries), FilterAddResult::kAdded);
  EXPECT_EQ(FilterRefusalText(FilterAddResult::kBlank), u"      You can not add a blank entry.     ");
  EXPECT_EQ(FilterRefusalText(FilterAddResult::kDuplicate), u"      Filter already exists in the list     ");
  EXPECT_EQ(FilterRefusalText(FilterAddResult::kAdded), u"");
}

class FilterCloseTest : public DialogsLogicTest {
 protected:
  void SetUp() override {
    AppendFatFolder(u"Docs", 7, records::kFatRootId, 0, 0, host::kNoTreeKey, 0);
    AppendFatEntry(u"A.TXT", 10, records::kFatRootId, 0, 0, 5, 0);
    AppendFatEntry(u"B.JPG", 11, records::kFatRootId, 0, 0, 5, 0);
    AppendFileTraceHit(u"1.jpg", u".jpg", u"Pictures", 1, 100);
    AppendFileTraceHit(u"2.doc", u".doc", u"Documents", 2, 200);
    tree.AddItem(u"Root", host::kNoTreeKey, host::TreeImage::kDrive, false);
  }
  std::vector<std::u16string> Names() {
    std::vector<std::u16string> names;
    for (uint32_t row = 0; row < list.GetItemCount(); ++row) names.push_back(list.GetItemText(row, 0));
    return names;
  }
};

TEST_F(FilterCloseTest, StoresTheListAndRelistsTheRootFolder) {
  CurrentFileSystem.type = records::kFat32;
  EXPECT_TRUE(StoreFileFilters({u"*.txt"}));
  EXPECT_EQ(FileFilterTable.count, 1u);
  EXPECT_EQ(FileFilterRow(0), u"*.txt");
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Docs", u"A.TXT"}));
  EXPECT_EQ(tree.currentNode, 1u);
  EXPECT_EQ(tree.selectedNode, 1u);
  EXPECT_EQ(tree.restoredChecks, (std::vector<host::TreeKey>{1}));
  EXPECT_GE(tree.focusCount, 1u);

  EXPECT_TRUE(StoreFileFilters({}));
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Docs", u"A.TXT", u"B.JPG"}));
}

TEST_F(FilterCloseTest, InFileTraceTheGroupsAreListedAgain) {
  RecoveryMode = records::kFileTrace;
  CurrentFileSystem.type = records::kFat16;
  EXPECT_TRUE(StoreFileFilters({u"*.doc"}));
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Pictures", u"Documents"}));
}

TEST_F(FilterCloseTest, AnotherFileSystemListsNothing) {
  CurrentFileSystem.type = 0;
  list.InsertItem(0, u"kept", 0);
  EXPECT_TRUE(StoreFileFilters({}));
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"kept"}));
}

}  // namespace
}  // namespace app
