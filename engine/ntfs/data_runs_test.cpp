#include "engine/ntfs/data_runs.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/ntfs/ntfs_test_support.h"

namespace {

using ntfs::RunListStatus;
using ntfs_test::Bytes;

struct RunCase {
  const char* what;
  Bytes list;
  std::vector<DataRun> runs;
  RunListStatus status;
};

// Test names show the case's description, not its bytes.
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.what; }

DataRun At(uint32_t start, uint32_t length) { return DataRun{start, length, false}; }
DataRun Hole(uint32_t length) { return DataRun{0, length, true}; }

std::string Describe(const std::vector<DataRun>& runs) {
  std::string out;
  for (const DataRun& r : runs) {
    out += r.sparse ? "hole " + std::to_string(r.length) : std::to_string(r.startCluster) + "+" + std::to_string(r.length);
    out += "; ";
  }
  return out;
}

const RunCase kRunCases[] = {
    {"one-byte length and offset", {0x11, 0x08, 0x20, 0x00}, {At(32, 8)}, RunListStatus::kComplete},
    {"two-byte length and offset", {0x22, 0x00, 0x01, 0x00, 0x10, 0x00}, {At(4096, 256)}, RunListStatus::kComplete},
    {"three-byte length and offset",
     {0x33, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00},
     {At(131072, 65537)},
     RunListStatus::kComplete},
    {"four-byte length and offset",
     {0x44, 0x00, 0x00, 0x00, 0x01, 0x78, 0x56, 0x34, 0x12, 0x00},
     {At(0x12345678, 0x01000000)},
     RunListStatus::kComplete},
    {"the first offset is unsigned", {0x11, 0x08, 0xC8, 0x00}, {At(200, 8)}, RunListStatus::kComplete},
    {"0x7F80 moves forward by 32640",
     {0x11, 0x10, 0x64, 0x21, 0x10, 0x80, 0x7F, 0x00},
     {At(100, 16), At(32740, 16)},
     RunListStatus::kComplete},
    {"0xFF7F moves back by 129",
     {0x21, 0x10, 0xE8, 0x03, 0x21, 0x10, 0x7F, 0xFF, 0x00},
     {At(1000, 16), At(871, 16)},
     RunListStatus::kComplete},
    {"a three-byte negative offset",
     {0x31, 0x10, 0x00, 0x00, 0x01, 0x31, 0x10, 0x00, 0xFF, 0xFF, 0x00},
     {At(65536, 16), At(65280, 16)},
     RunListStatus::kComplete},
    {"a one-byte negative offset", {0x21, 0x04, 0x00, 0x01, 0x11, 0x04, 0xF0, 0x00}, {At(256, 4), At(240, 4)},
     RunListStatus::kComplete},
    {"a four-byte offset 0x01000000",
     {0x11, 0x01, 0x05, 0x41, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00},
     {At(5, 1), At(16777221, 1)},
     RunListStatus::kComplete},
    {"runs going backwards, as a file written back to front",
     {0x21, 0x10, 0x00, 0x02, 0x11, 0x10, 0xE0, 0x11, 0x10, 0xE0, 0x00},
     {At(512, 16), At(480, 16), At(448, 16)},
     RunListStatus::kComplete},
    {"a sparse run is marked and does not move the base",
     {0x11, 0x10, 0x20, 0x01, 0x80, 0x11, 0x10, 0x10, 0x00},
     {At(32, 16), Hole(128), At(48, 16)},
     RunListStatus::kComplete},
    {"a sparse run first, then an unsigned offset",
     {0x02, 0x00, 0x01, 0x11, 0x02, 0x40, 0x00},
     {Hole(256), At(64, 2)},
     RunListStatus::kComplete},
    {"a length wider than four bytes ends the decoding",
     {0x11, 0x01, 0x05, 0x15, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00},
     {At(5, 1)},
     RunListStatus::kTooWide},
    {"an offset wider than four bytes ends the decoding",
     {0x51, 0x01, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00},
     {},
     RunListStatus::kTooWide},
    {"a run past the end of the list", {0x11, 0x01, 0x05, 0x22, 0x01, 0x00}, {At(5, 1)}, RunListStatus::kTruncated},
    {"no end marker", {0x11, 0x01, 0x05}, {At(5, 1)}, RunListStatus::kTruncated},
    {"a start before cluster 0", {0x11, 0x08, 0x10, 0x11, 0x08, 0x80, 0x00}, {At(16, 8)},
     RunListStatus::kOutOfRange},
    {"a start past cluster 0xFFFFFFFF",
     {0x41, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x11, 0x01, 0x01, 0x00},
     {At(0xFFFFFFFF, 1)},
     RunListStatus::kOutOfRange},
    {"an empty list", {0x00}, {}, RunListStatus::kComplete},
};

class RunListTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunListTest, Decodes) {
  const RunCase& c = GetParam();
  std::vector<DataRun> runs;
  const RunListStatus status =
      ntfs::DecodeRunList(c.list.data(), 0, static_cast<uint32_t>(c.list.size()), runs);
  EXPECT_EQ(status, c.status) << c.what;
  EXPECT_EQ(Describe(runs), Describe(c.runs)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, RunListTest, ::testing::ValuesIn(kRunCases));

// A record whose non-resident data attribute carries list.
Bytes RecordWithRuns(const Bytes& list, uint32_t* attribute) {
  ntfs_test::RecordBuilder builder;
  *attribute = builder.AddNonResident(0x80, u"", list, 4096);
  return builder.Plain();
}

TEST(DecodeDataRuns, FillsTheListAndSaysWhetherItWasWhole) {
  uint32_t attribute = 0;
  const Bytes record = RecordWithRuns({0x11, 0x10, 0x20, 0x01, 0x80, 0x11, 0x10, 0x10, 0x00}, &attribute);
  ASSERT_EQ(DecodeDataRuns(1024, record.data(), attribute), 1u);
  ASSERT_EQ(DataRunList.size(), 3u);
  EXPECT_TRUE(DataRunList[1].sparse);
  EXPECT_EQ(DataRunList[2].startCluster, 48u);

  const Bytes wide = RecordWithRuns({0x11, 0x10, 0x20, 0x19, 0x01}, &attribute);
  EXPECT_EQ(DecodeDataRuns(1024, wide.data(), attribute), 0u);
  ASSERT_EQ(DataRunList.size(), 1u) << "emptied before each decoding; the runs before the fault stay";
}

TEST(DecodeDataRuns, EndBoundsTheList) {
  uint32_t attribute = 0;
  const Bytes record = RecordWithRuns({0x11, 0x10, 0x20, 0x11, 0x10, 0x10, 0x00}, &attribute);
  const uint32_t listStart = attribute + 64;
  EXPECT_EQ(DecodeDataRuns(listStart, record.data(), attribute), 0u) << "the list starts at end";
  EXPECT_TRUE(DataRunList.empty());
  EXPECT_EQ(DecodeDataRuns(listStart + 5, record.data(), attribute), 0u) << "the second run crosses end";
  EXPECT_EQ(DataRunList.size(), 1u);
  EXPECT_EQ(DecodeDataRuns(5000, record.data(), attribute), 1u) << "end beyond the record is the record's end";
  EXPECT_EQ(DataRunList.size(), 2u);
}

TEST(DecodeDataRuns, ARunListRunningIntoTheRecordEndIsNotWhole) {
  ntfs_test::Bytes record(1024, 0);
  const uint32_t attribute = 1024 - 64;
  ntfs_test::PutLe16(record, attribute + 32, 62);  // two bytes of runs before the end
  record[1022] = 0x11;
  record[1023] = 0x01;
  EXPECT_EQ(DecodeDataRuns(1024, record.data(), attribute), 0u);
  EXPECT_TRUE(DataRunList.empty());
  EXPECT_EQ(DecodeDataRuns(1024, record.data(), 1000), 0u) << "the run-list offset itself lies past the record";
}

}  // namespace
