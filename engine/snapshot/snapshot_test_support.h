// What the snapshot tests share: a clean engine with recording hosts, a temporary folder, the hand-written
// fixtures, and a plain description of every record list for comparing a state before saving with the
// state after loading.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/snapshot_fakes.h"

namespace snapshot_test {

using Bytes = std::vector<uint8_t>;

class SnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Empty record lists, counters, scan parameters, source values and flags.
  static void ResetEngine();

  // A file in this test's temporary folder (removed after the test).
  std::u16string TempPath(const std::string& name);
  // Saves through the save dialog answering path: SaveRecoverySnapshot when fileTrace, else
  // SaveFileSystemSnapshot.
  uint32_t SaveAs(const std::u16string& path, bool fileTrace);
  // Loads with the loader for the file's mode: LoadSnapshotFlat for fileTrace, else LoadSnapshotTree.
  uint32_t Load(const std::u16string& path, bool fileTrace);

  // The texts of the error messages shown since the last call.
  std::vector<std::u16string> TakeErrors();

  host::SnapshotWindows windows_;
  host::RecordingMessages& messages_ = windows_.messages;
  host::RecordingResultTree& tree_ = windows_.tree;
  host::RecordingResultList& list_ = windows_.list;
  host::RecordingProgressDialog& dialog_ = windows_.progress;
  host::ScriptedSnapshotFrame& frame_ = windows_.frame;
  host::RecordingScanPage& scanPage_ = windows_.scanPage;

 private:
  std::unique_ptr<host::ScopedHosts> hosts_;
  std::u16string folder_;
  std::vector<std::u16string> files_;
};

Bytes ReadFileBytes(const std::u16string& path);
void WriteFileBytes(const std::u16string& path, const Bytes& bytes);
// A hand-written fixture of testdata/ (hex bytes; "#" starts a comment).
Bytes HexFixture(const std::string& name);
// A shared test image (build/images).
std::u16string SharedImage(const std::string& name);

// One line per record of every list the snapshot holds, and one for the scan parameters, the current
// file system (without its root directory), the counts and the source values. Tree keys are left out.
std::vector<std::string> DescribeState();

}  // namespace snapshot_test
