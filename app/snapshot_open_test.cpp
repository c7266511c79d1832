#include "app/snapshot_open.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/worker_shutdown.h"
#include "engine/fat/save_abort.h"
#include "engine/records/scan_control.h"
#include "engine/records/scan_parameters.h"
#include "platform/os/os.h"

namespace {

TEST(SnapshotLoadPath, VsnpIsAppendedAfterLowerCasingOnlyWhenMissing) {
  EXPECT_EQ(app::SnapshotLoadPath(u"/tmp/Results"), u"/tmp/results.vsnp");
  EXPECT_EQ(app::SnapshotLoadPath(u"/tmp/Old.VSNP"), u"/tmp/old.vsnp");
  EXPECT_EQ(app::SnapshotLoadPath(u"/tmp/a.vsnp"), u"/tmp/a.vsnp");
  EXPECT_EQ(app::SnapshotLoadPath(u"/tmp/a.vsn"), u"/tmp/a.vsn.vsnp");
  EXPECT_EQ(app::SnapshotLoadPath(u"snp"), u"snp.vsnp");
}

TEST(CommandLineSnapshotPath, QuotedAndUnquotedNameTheSameFile) {
  EXPECT_EQ(app::CommandLineSnapshotPath(u"\"C:\\Scans\\Disk.VSNP\""), u"C:\\Scans\\disk.vsnp");
  EXPECT_EQ(app::CommandLineSnapshotPath(u"C:\\Scans\\Disk.VSNP"), u"C:\\Scans\\disk.vsnp");
  EXPECT_EQ(app::CommandLineSnapshotPath(u" \"x.vsnp\" "), u"x.vsnp");
}

class SnapshotProbe : public ::testing::Test {
 protected:
  std::u16string Write(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + name;
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return os::FromUtf8(path);
  }
};

TEST_F(SnapshotProbe, FirstCharacterGivesTheMode) {
  uint32_t mode = 99;
  EXPECT_EQ(app::ProbeSnapshotFile(Write("d.vsnp", std::string("D\0s\0", 4)), &mode), app::SnapshotProbe::kValid);
  EXPECT_EQ(mode, records::kQuickScan);
  EXPECT_EQ(app::ProbeSnapshotFile(Write("a.vsnp", std::string("A\0", 2)), &mode), app::SnapshotProbe::kValid);
  EXPECT_EQ(mode, records::kExtensiveScan);
  EXPECT_EQ(app::ProbeSnapshotFile(Write("r.vsnp", std::string("R\0", 2)), &mode), app::SnapshotProbe::kValid);
  EXPECT_EQ(mode, records::kFileTrace);
}

TEST_F(SnapshotProbe, OtherLettersShortFilesAndMissingFiles) {
  uint32_t mode = 7;
  EXPECT_EQ(app::ProbeSnapshotFile(Write("x.vsnp", std::string("X\0", 2)), &mode), app::SnapshotProbe::kInvalid);
  // "D" as one byte, or the letter in the high byte, is no mode letter.
  EXPECT_EQ(app::ProbeSnapshotFile(Write("short.vsnp", "D"), &mode), app::SnapshotProbe::kInvalid);
  EXPECT_EQ(app::ProbeSnapshotFile(Write("high.vsnp", std::string("\0D", 2)), &mode), app::SnapshotProbe::kInvalid);
  EXPECT_EQ(app::ProbeSnapshotFile(Write("empty.vsnp", ""), &mode), app::SnapshotProbe::kInvalid);
  EXPECT_EQ(app::ProbeSnapshotFile(os::FromUtf8(::testing::TempDir() + "none.vsnp"), &mode),
            app::SnapshotProbe::kMissing);
  EXPECT_EQ(mode, 7u);
}

TEST(WorkerShutdown, StopsARunningWorkerAndWaitsForItsEnd) {
  ScanThreadControl.stopFlag = 0;
  ScanThreadControl.runningFlag = 1;
  std::atomic<int> pumps{0};
  std::atomic<bool> ended{false};
  // A worker as the scans are written: it tests the stop flag and its last act is running 0, stop 1.
  std::thread worker([&] {
    while (ScanThreadControl.stopFlag.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ended = true;
    ScanThreadControl.runningFlag = 0;
    ScanThreadControl.stopFlag = 1;
  });
  app::StopWorkersAndWait([&] {
    ++pumps;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  EXPECT_TRUE(ended.load());
  EXPECT_FALSE(app::AnyWorkerRunning());
  EXPECT_GT(pumps.load(), 0);
  EXPECT_EQ(SaveAbortFlag.load(), 1u);
  worker.join();
  SaveAbortFlag = 0;
}

TEST(WorkerShutdown, NothingRunningReturnsAtOnceAndLeavesTheStopFlag) {
  ScanThreadControl.runningFlag = 0;
  ScanThreadControl.stopFlag = 0;
  int pumps = 0;
  app::StopWorkersAndWait([&] { ++pumps; });
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(ScanThreadControl.stopFlag.load(), 0u);
  SaveAbortFlag = 0;
}

}  // namespace
