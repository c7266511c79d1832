// The writers' dialog, replace question and failures: nothing is written on cancel or "No", and a file
// that cannot be created or written whole is reported and leaves no file behind, the old one kept.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/records/scan_records.h"
#include "engine/snapshot/snapshot.h"
#include "engine/snapshot/snapshot_test_support.h"
#include "platform/os/os.h"

namespace {

using snapshot_test::Bytes;
using snapshot_test::SnapshotTest;

class SnapshotSave : public SnapshotTest {
 protected:
  void SetUp() override {
    SnapshotTest::SetUp();
    ScanRange.fileSystemCode = CurrentFileSystem.type = records::kFat32;
    AppendFatFolder(u"DOCS", 3, 0, 0, 0, 0, 0);
  }
};

TEST_F(SnapshotSave, CancellingTheDialogWritesNothing) {
  frame_.savePathChosen = false;
  EXPECT_EQ(SaveFileSystemSnapshot(), 0u);
  EXPECT_EQ(SaveRecoverySnapshot(), 0u);
  EXPECT_EQ(frame_.saveDialogCount, 2u);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SnapshotSave, AnExistingFileIsReplacedOnlyOnYes) {
  const std::u16string path = TempPath("old.vsnp");
  snapshot_test::WriteFileBytes(path, Bytes{1, 2, 3});
  messages_.answer = 2;
  EXPECT_EQ(SaveAs(path, false), 0u);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(messages_.shown[0].question);
  EXPECT_EQ(messages_.shown[0].kind, host::kQuestion);
  EXPECT_EQ(messages_.shown[0].text, path + u" already exists.\r\nDo you want to replace it?");
  EXPECT_EQ(snapshot_test::ReadFileBytes(path), (Bytes{1, 2, 3}));

  messages_.shown.clear();
  messages_.answer = 1;
  EXPECT_EQ(SaveAs(path, false), 1u);
  EXPECT_EQ(messages_.shown.size(), 1u);  // the question only: nothing is reported on success
  EXPECT_EQ(snapshot_test::ReadFileBytes(path).size(), 12u + 68u + 4u + 27u + 4u + 4u);
}

// The path goes into a marked-up question: its ampersand shows as itself, never as the start of an entity.
TEST_F(SnapshotSave, APathIsAskedAboutAsWritten) {
  const std::u16string folder = TempPath("");
  const std::u16string path = TempPath("r&amp;d.vsnp");
  snapshot_test::WriteFileBytes(path, Bytes{1});
  messages_.answer = 2;
  EXPECT_EQ(SaveAs(path, false), 0u);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, folder + u"r&<>amp;d.vsnp already exists.\r\nDo you want to replace it?");
}

TEST_F(SnapshotSave, TheChosenNameGetsItsExtension) {
  const std::u16string chosen = TempPath("scan");
  const std::u16string saved = TempPath("scan.vsnp");
  EXPECT_EQ(SaveAs(chosen, false), 1u);
  EXPECT_TRUE(os::FileExists(saved));
  EXPECT_FALSE(os::FileExists(chosen));
}

TEST_F(SnapshotSave, AFileInAMissingFolderIsReported) {
  const std::u16string path = TempPath("missing") + u"\\folder\\scan.vsnp";
  EXPECT_EQ(SaveAs(path, false), 0u);
  EXPECT_EQ(TakeErrors(), (std::vector<std::u16string>{u"Unable to open the file"}));
  EXPECT_EQ(messages_.shown.size(), 0u);
  EXPECT_FALSE(os::FileExists(path));
}

// The new snapshot is written beside the old one (NAME.saving) and takes its place only when whole: a write
// that fails, as on a full disk, is reported, leaves the old snapshot as it was and no partial file.
TEST_F(SnapshotSave, AFailingWriteIsReportedAndKeepsTheOldFile) {
#ifdef _WIN32
  // The Windows build's NAME.saving links to /dev/full, made before the program runs. Wine neither shows such
  // a link as a file nor deletes it, so the link itself is not looked at here.
  const std::u16string partial = os::FromUtf8(DORVANE_FULL_DEVICE_FILE);
  const std::u16string path = partial.substr(0, partial.size() - std::u16string(u".saving").size());
  const auto makeLink = [] {};
#else
  const std::u16string path = TempPath("full.vsnp");
  std::string native = os::ToUtf8(path + u".saving");
  std::replace(native.begin(), native.end(), '\\', '/');
  const auto makeLink = [&] { ASSERT_EQ(symlink("/dev/full", native.c_str()), 0); };
#endif
  const Bytes old{9, 8, 7};
  for (bool fileTrace : {false, true}) {
    SCOPED_TRACE(fileTrace ? "R" : "D");
    snapshot_test::WriteFileBytes(path, old);
    makeLink();
    EXPECT_EQ(SaveAs(path, fileTrace), 0u);  // the replace question is answered Yes
    EXPECT_EQ(TakeErrors(), std::vector<std::u16string>{u"Unable to write the file " + path +
                                                         u"; the snapshot was not saved."});
    EXPECT_EQ(snapshot_test::ReadFileBytes(path), old);
#ifndef _WIN32
    EXPECT_FALSE(os::FileExists(path + u".saving"));
    EXPECT_TRUE(os::FileExists(u"/dev/full"));  // the link went, not what it named
#endif
  }
  // Written whole, it takes the old one's place and nothing is left beside it.
  EXPECT_EQ(SaveAs(TempPath("whole.vsnp"), false), 1u);
  snapshot_test::WriteFileBytes(TempPath("whole.vsnp"), old);
  EXPECT_EQ(SaveAs(TempPath("whole.vsnp"), false), 1u);
  EXPECT_NE(snapshot_test::ReadFileBytes(TempPath("whole.vsnp")), old);
  EXPECT_FALSE(os::FileExists(TempPath("whole.vsnp.saving")));
}

}  // namespace
