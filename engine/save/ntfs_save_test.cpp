// Saving NTFS files from hand-made file records: resident data and its bounds, data runs that go
// backwards, holes, run lists that end early or are broken, records without data, data whose runs go on
// in the records an attribute list names, time stamps, and the folder saver after a Quick Scan and after
// an Extensive Scan.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/ntfs/mft_map.h"
#include "engine/ntfs/mft_record.h"
#include "engine/ntfs/ntfs_test_support.h"
#include "engine/records/ntfs_records.h"
#include "engine/records/recovery_settings.h"
#include "engine/records/scan_records.h"
#include "engine/save/save_state.h"
#include "engine/save/save_test_support.h"
#include "engine/save/savers.h"
#include "platform/os/os.h"

namespace save_test {
namespace {

constexpr uint32_t kClusterBytes = NtfsVolume::kSectorsPerCluster * 512;
// 2020-09-13 12:26:40 UTC as a file time, and the same in seconds since 1970.
constexpr uint64_t kStamp = 116444736000000000ull + 1600000000ull * 10000000ull;
constexpr int64_t kStampSeconds = 1600000000;

Bytes Resident(const Bytes& value) {
  ntfs_test::RecordBuilder record;
  record.AddFileName(5, u"f", 1);
  record.AddResident(0x80, u"", value);
  return record.Protected();
}

Bytes NonResident(const Bytes& runs, uint64_t size) {
  ntfs_test::RecordBuilder record;
  record.AddFileName(5, u"f", 1);
  record.AddNonResident(0x80, u"", runs, size);
  return record.Protected();
}

class NtfsSaveTest : public SaveTest {
 protected:
  uint32_t Save(uint32_t sector, uint64_t size, const std::u16string& name) {
    return SaveNtfsItems(out, name, size, sector, 1, 0);
  }
  NtfsVolume volume;
  std::unique_ptr<MountedBytes> mounted;
};

TEST_F(NtfsSaveTest, ResidentDataIsSavedWithinTheRecordOnly) {
  const Bytes small = Pattern(300, 1);
  const uint32_t fits = volume.PutRecord(0, Resident(small));
  mounted = volume.Mount();
  SaveFileTime = kStamp;
  EXPECT_EQ(Save(fits, small.size(), u"small.txt"), 1u);
  EXPECT_EQ(ReadAll(Out(u"small.txt")), small);
  EXPECT_EQ(ModificationTime(Out(u"small.txt")), kStampSeconds);
  // Sizes that carry the data past byte 1023 of the record, up to the largest 64-bit size.
  for (uint64_t size : {uint64_t{1024}, uint64_t{0xFFFFFFFF} + 1, ~uint64_t{0}, ~uint64_t{0} - 20}) {
    EXPECT_EQ(Save(fits, size, u"big.txt"), 0u) << size;
  }
  EXPECT_FALSE(os::FileExists(Out(u"big.txt")));
  EXPECT_EQ(SaveTally.unreadable, 4u);
  EXPECT_EQ(SaveTally.saved, 1u);
}

TEST_F(NtfsSaveTest, RunsBackwardsAndHolesAreSavedInFileOrder) {
  const Bytes data = Pattern(5 * kClusterBytes + 123, 2);
  auto cluster = [&](size_t i) {
    return Bytes(data.begin() + static_cast<std::ptrdiff_t>(i * kClusterBytes),
                 data.begin() + static_cast<std::ptrdiff_t>(std::min(data.size(), (i + 1) * kClusterBytes)));
  };
  // File clusters 0-1 at 40-41, 2 a hole, 3 at 30, 4-5 at 20-21: the runs go backwards on disk.
  volume.PutCluster(40, cluster(0));
  volume.PutCluster(41, cluster(1));
  volume.PutCluster(30, cluster(3));
  volume.PutCluster(20, cluster(4));
  volume.PutCluster(21, cluster(5));
  volume.PutCluster(5, Pattern(kClusterBytes, 9));  // what a hole read from the volume would give
  const uint32_t sector = volume.PutRecord(1, NonResident(RunList({{2, 40}, {1, -1}, {1, 30}, {2, 20}}), data.size()));
  mounted = volume.Mount();
  EXPECT_EQ(Save(sector, data.size(), u"fragmented.bin"), 1u);
  Bytes expected = data;
  std::fill(expected.begin() + 2 * kClusterBytes, expected.begin() + 3 * kClusterBytes, 0);
  EXPECT_EQ(ReadAll(Out(u"fragmented.bin")), expected);
  EXPECT_EQ(SaveTally.unreadable, 0u);
}

// A file is written as far as its runs reach (a hole counts, so a sparse file keeps its size), a file without
// holes never past what its volume holds; one that ends before its size counts as damaged. Sizes of 1 TiB
// over a cluster of data must not fill the destination with zeros.
TEST_F(NtfsSaveTest, AFileIsWrittenOnlyAsFarAsItsRunsReach) {
  constexpr uint64_t kTebibyte = uint64_t{1} << 40;
  constexpr uint64_t kVolume = ~uint64_t{0};  // written: all the volume holds from cluster 10 to its last sector
  const Bytes data = Pattern(kClusterBytes, 3);
  volume.PutCluster(10, data);
  const struct {
    const char* what;
    Bytes runs;
    uint64_t size;
    uint64_t written;  // the data cluster, then zeros
    bool damaged;
  } cases[] = {
      {"runs that end first", RunList({{1, 10}}), 3 * kClusterBytes, kClusterBytes, true},
      {"sizes of 1 TiB", RunList({{1, 10}}), kTebibyte, kClusterBytes, true},
      {"a run of 2^31 clusters", RunList({{0x7FFFFFFF, 10}}), kTebibyte, kVolume, true},
      {"a hole to the end", RunList({{1, 10}, {3, -1}}), 4 * kClusterBytes, 4 * kClusterBytes, false},
      {"a hole past the volume", RunList({{1, 10}, {100, -1}}), kTebibyte, 101 * kClusterBytes, true},
  };
  uint32_t damaged = 0;
  for (const auto& c : cases) {
    const uint32_t sector = volume.PutRecord(2, NonResident(c.runs, c.size));
    mounted.reset();  // the old mount first: both would use one file
    mounted = volume.Mount();
    const std::u16string name = u"short" + std::u16string(1, static_cast<char16_t>(u'a' + (&c - cases)));
    EXPECT_EQ(Save(sector, c.size, name), 1u) << c.what;
    const Bytes saved = ReadAll(Out(name));
    // Whole clusters only: a cluster that reaches past the last sector is not the volume's.
    const uint64_t clusters = (CurrentFileSystem.lastSector + 1u) / NtfsVolume::kSectorsPerCluster;
    const uint64_t toTheEnd = (clusters - 10u) * kClusterBytes;
    ASSERT_EQ(saved.size(), c.written != kVolume ? c.written : toTheEnd) << c.what;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), saved.begin())) << c.what;
    // Past the volume's clusters nothing is read: zeros.
    EXPECT_TRUE(std::all_of(saved.begin() + std::min<ptrdiff_t>(saved.size(), 54 * kClusterBytes), saved.end(),
                            [](uint8_t b) { return b == 0; }))
        << c.what;
    if (c.damaged) ++damaged;
    EXPECT_EQ(SaveTally.unreadable, damaged) << c.what;
  }
}

// A long hole is written a cluster at a time, with the bar moving, and Skip File or Stop ends the file there.
TEST_F(NtfsSaveTest, SkipAndStopEndALongHole) {
  constexpr uint32_t kHole = 65536;
  constexpr uint64_t kSize = (uint64_t{kHole} + 1) * kClusterBytes;
  volume.PutCluster(10, Pattern(kClusterBytes, 5));
  const uint32_t sector = volume.PutRecord(3, NonResident(RunList({{1, 10}, {kHole, -1}}), kSize));
  mounted = volume.Mount();
  uint32_t furthest = 0;
  dialog.onProgress = [&](uint32_t position) {
    furthest = std::max(furthest, position);
    if (position > 0) SkipCurrentFileFlag = 1;
  };
  EXPECT_EQ(Save(sector, kSize, u"skipped.bin"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"skipped.bin")));
  EXPECT_EQ(SaveAbortFlag.load(), 0u);
  EXPECT_EQ(furthest, 1u);
  std::u16string text;
  SaveResultMessage(&text);
  EXPECT_EQ(text, u"No file was saved.\r\nEvery file was skipped.");
  dialog.onProgress = [](uint32_t position) {
    if (position > 0) SaveAbortFlag = 1;
  };
  EXPECT_EQ(Save(sector, kSize, u"stopped.bin"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"stopped.bin")));
  EXPECT_EQ(SaveTally.saved, 0u);
  // Under Overwrite, a file from before the save at the name is left as it was, with nothing beside it.
  RecoverySettings.duplicatePolicy = 2;
  ASSERT_TRUE(WriteAll(Out(u"kept.bin"), Text("old")));
  BeginSave();
  EXPECT_EQ(Save(sector, kSize, u"kept.bin"), 0u);
  EXPECT_EQ(ReadAll(Out(u"kept.bin")), Text("old"));
  EXPECT_EQ(FolderNames(out), std::vector<std::u16string>{u"kept.bin"});
}

// Compressed and encrypted clusters are not the file's bytes: nothing is written and the file counts as
// one that could not be read. A sparse file's flag changes nothing.
TEST_F(NtfsSaveTest, CompressedAndEncryptedDataAreNotPassedOffAsTheFile) {
  const Bytes data = Pattern(kClusterBytes, 4);
  volume.PutCluster(12, data);
  auto withFlags = [&](uint32_t index, uint16_t flags) {
    ntfs_test::RecordBuilder record;
    record.AddFileName(5, u"f", 1);
    const uint32_t at = record.AddNonResident(0x80, u"", RunList({{1, 12}}), data.size());
    record.SetAttributeFlags(at, flags);
    return volume.PutRecord(index, record.Protected());
  };
  const uint32_t compressed = withFlags(0, ntfs::kAttributeCompressed);
  const uint32_t encrypted = withFlags(1, ntfs::kAttributeEncrypted);
  const uint32_t sparse = withFlags(2, ntfs::kAttributeSparse);
  mounted = volume.Mount();
  EXPECT_EQ(Save(compressed, data.size(), u"compressed.bin"), 0u);
  EXPECT_EQ(Save(encrypted, data.size(), u"encrypted.bin"), 0u);
  EXPECT_FALSE(os::FileExists(Out(u"compressed.bin")));
  EXPECT_FALSE(os::FileExists(Out(u"encrypted.bin")));
  EXPECT_EQ(SaveTally.unreadable, 2u);
  EXPECT_EQ(Save(sparse, data.size(), u"sparse.bin"), 1u);
  EXPECT_EQ(ReadAll(Out(u"sparse.bin")), data);
  EXPECT_EQ(SaveTally.saved, 1u);
}

TEST_F(NtfsSaveTest, RecordsWithoutUsableDataWriteNothingAndCountWhenDataWasExpected) {
  ntfs_test::RecordBuilder noData;
  noData.AddFileName(5, u"f", 1);
  const uint32_t withoutData = volume.PutRecord(0, noData.Protected());
  ntfs_test::RecordBuilder listed;
  listed.AddFileName(5, u"f", 1);
  listed.AddResident(0x20, u"", Bytes(32, 0));  // an attribute list: the data lies in another record
  const uint32_t elsewhere = volume.PutRecord(1, listed.Protected());
  const uint32_t emptyRuns = volume.PutRecord(2, NonResident(RunList({}), 0));
  const uint32_t emptyRunsWithSize = volume.PutRecord(3, NonResident(RunList({}), 5000));
  Bytes broken = RunList({{1, 10}});
  broken[0] = 0x19;  // a length field nine bytes wide
  const uint32_t brokenRuns = volume.PutRecord(4, NonResident(broken, 100));
  const uint32_t notARecord = 200;  // sectors of zeros
  mounted = volume.Mount();
  EXPECT_EQ(Save(withoutData, 0, u"nodata"), 1u);  // an empty file: written empty, and counted saved
  EXPECT_EQ(SaveTally.unreadable, 0u);
  EXPECT_EQ(SaveTally.saved, 1u);
  EXPECT_EQ(Save(withoutData, 10, u"nodata10"), 0u);
  EXPECT_EQ(Save(elsewhere, 0, u"elsewhere"), 0u);
  EXPECT_EQ(Save(emptyRunsWithSize, 5000, u"lost"), 0u);
  EXPECT_EQ(Save(brokenRuns, 100, u"broken"), 0u);
  EXPECT_EQ(Save(notARecord, 100, u"garbage"), 0u);
  EXPECT_EQ(SaveTally.unreadable, 5u);
  EXPECT_EQ(Save(emptyRuns, 0, u"empty"), 1u);
  EXPECT_EQ(FolderNames(out), (std::vector<std::u16string>{u"empty", u"nodata"}));
  EXPECT_TRUE(ReadAll(Out(u"nodata")).empty());
}

// A data attribute in parts: clusters 0-1 of the file at 10-11 (in the base record, number 0), 2-4 at
// 30-32 (record 3) and 5-6 at 50-51 (record 5). The MFT map places records 0 .. 11 where the volume
// holds them.
class NtfsListedDataTest : public NtfsSaveTest {
 protected:
  static constexpr uint32_t kBase = 0;
  NtfsListedDataTest() : data(Pattern(7 * kClusterBytes - 100, 7)) {
    for (uint32_t i = 0; i < 7; ++i) {
      const uint32_t cluster = i < 2 ? 10 + i : i < 5 ? 28 + i : 45 + i;
      const size_t from = size_t{i} * kClusterBytes;
      const size_t to = std::min(data.size(), from + kClusterBytes);
      volume.PutCluster(cluster, Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
                                       data.begin() + static_cast<std::ptrdiff_t>(to)));
    }
    MftMap = {MftExtent{NtfsVolume::kSectorsPerCluster, 24, false}};
  }
  ~NtfsListedDataTest() override { MftMap.clear(); }

  // An attribute list of unnamed data parts: {record number, first cluster of the part}.
  static Bytes PartList(const std::vector<std::pair<uint32_t, uint64_t>>& parts) {
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    for (const auto& part : parts) entries.emplace_back(ntfs::kDataAttribute, part.first);
    Bytes list = ntfs_test::AttributeListValue(entries);
    for (size_t i = 0; i < parts.size(); ++i) ntfs_test::PutLe64(list, 32 * i + 8, parts[i].second);
    return list;
  }
  // The base record: its list, and its own part (clusters 0-1) unless withData is false.
  uint32_t PutBase(const Bytes& list, bool withData) {
    ntfs_test::RecordBuilder record;
    record.AddResident(ntfs::kAttributeList, u"", list);
    record.AddFileName(5, u"f", 1);
    if (withData) record.AddNonResident(ntfs::kDataAttribute, u"", RunList({{2, 10}}), data.size());
    return volume.PutRecord(kBase, record.Protected());
  }
  // An extension record of the file whose base record is `owner`, holding the part from cluster vcn on.
  void PutPart(uint32_t number, const Bytes& runs, uint64_t vcn, uint32_t owner = kBase, uint16_t flags = 0) {
    ntfs_test::RecordBuilder record;
    const uint32_t at = record.AddNonResident(ntfs::kDataAttribute, u"", runs, data.size());
    if (flags != 0) record.SetAttributeFlags(at, flags);
    Bytes bytes = record.Protected();
    ntfs_test::PutLe64(bytes, at + 16, vcn);
    ntfs_test::PutLe32(bytes, 32, owner);
    volume.PutRecord(number, bytes);
  }
  // The volume as it is now, as the source (the old mount goes first: both would use one file).
  void Remount() {
    mounted.reset();
    mounted = volume.Mount();
  }
  // Saves the base record at sector from the volume as it is now under name: its first `known` clusters
  // and no more, and the file counted damaged (one more in *damaged) unless that is all of them.
  void ExpectSavedHead(uint32_t sector, const std::u16string& name, uint32_t known, uint32_t* damaged,
                       const char* what) {
    Remount();
    EXPECT_EQ(Save(sector, data.size(), name), 1u) << what;
    EXPECT_EQ(ReadAll(Out(name)), Head(known)) << what;
    if (known < 7) ++*damaged;
    EXPECT_EQ(SaveTally.unreadable, *damaged) << what;
  }
  // The file's first `clusters` clusters.
  Bytes Head(uint32_t clusters) const {
    const size_t known = std::min<size_t>(data.size(), size_t{clusters} * kClusterBytes);
    return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(known));
  }
  const Bytes data;
};

TEST_F(NtfsListedDataTest, PartsInOtherRecordsAreSavedInOrder) {
  PutPart(3, RunList({{3, 30}}), 2);
  PutPart(5, RunList({{2, 50}}), 5);
  const uint32_t sector = PutBase(PartList({{kBase, 0}, {3, 2}, {5, 5}}), true);
  Remount();
  EXPECT_EQ(Save(sector, data.size(), u"listed.bin"), 1u);
  EXPECT_EQ(ReadAll(Out(u"listed.bin")), data);
  // With no part left in the base record, every part comes from the list.
  PutPart(3, RunList({{2, 10}}), 0);
  PutPart(4, RunList({{3, 30}}), 2);
  const uint32_t bare = PutBase(PartList({{3, 0}, {4, 2}, {5, 5}}), false);
  Remount();
  EXPECT_EQ(Save(bare, data.size(), u"bare.bin"), 1u);
  EXPECT_EQ(ReadAll(Out(u"bare.bin")), data);
  EXPECT_EQ(SaveTally.unreadable, 0u);
  EXPECT_EQ(SaveTally.saved, 2u);
}

// A part that cannot be had ends the file where the parts before it end, and the file counts as damaged.
TEST_F(NtfsListedDataTest, APartThatCannotBeHadEndsTheFileDamaged) {
  struct Case {
    const char* what;
    std::vector<std::pair<uint32_t, uint64_t>> list;
    uint32_t owner;   // of record 5
    uint16_t flags;   // of record 5's part
    uint64_t vcn;     // of record 5's part
    uint32_t known;   // clusters saved
  };
  const Case cases[] = {
      {"all there", {{kBase, 0}, {3, 2}, {5, 5}}, kBase, 0, 5, 7},
      {"record of zeros", {{kBase, 0}, {3, 2}, {6, 5}}, kBase, 0, 5, 5},
      {"record past the MFT map", {{kBase, 0}, {3, 2}, {40, 5}}, kBase, 0, 5, 5},
      {"record of another file", {{kBase, 0}, {3, 2}, {5, 5}}, 7, 0, 5, 5},
      {"gap", {{kBase, 0}, {3, 2}, {5, 6}}, kBase, 0, 6, 5},
      {"overlap", {{kBase, 0}, {3, 2}, {5, 4}}, kBase, 0, 4, 5},
      {"part not where its entry says", {{kBase, 0}, {3, 2}, {5, 5}}, kBase, 0, 6, 5},
      {"compressed part", {{kBase, 0}, {3, 2}, {5, 5}}, kBase, ntfs::kAttributeCompressed, 5, 5},
      {"base not in the map", {{40, 0}, {3, 2}, {5, 5}}, kBase, 0, 5, 2},
  };
  PutPart(3, RunList({{3, 30}}), 2);
  uint32_t damaged = 0;
  for (const Case& c : cases) {
    PutPart(5, RunList({{2, 50}}), c.vcn, c.owner, c.flags);
    const uint32_t sector = PutBase(PartList(c.list), true);
    ExpectSavedHead(sector, u"part" + std::u16string(1, static_cast<char16_t>(u'a' + (&c - cases))), c.known, &damaged,
                    c.what);
  }
}

// Without a part in the base record and without the first part elsewhere, nothing of the file is known.
TEST_F(NtfsListedDataTest, NoReadablePartCountsAsUnreadable) {
  const uint32_t sector = PutBase(PartList({{6, 0}, {3, 2}}), false);
  PutPart(3, RunList({{3, 30}}), 2);
  ntfs_test::RecordBuilder nonResidentList;
  nonResidentList.AddNonResident(ntfs::kAttributeList, u"", RunList({{1, 60}}), 64);
  nonResidentList.AddFileName(5, u"f", 1);
  const uint32_t unread = volume.PutRecord(8, nonResidentList.Protected());
  Remount();
  EXPECT_EQ(Save(sector, data.size(), u"lost.bin"), 0u);
  EXPECT_EQ(Save(unread, data.size(), u"unread.bin"), 0u);
  EXPECT_EQ(FolderNames(out), std::vector<std::u16string>{});
  EXPECT_EQ(SaveTally.unreadable, 2u);
}

// A list that outgrew the base record lies in clusters of its own: here 130 entries of another type (more
// than a cluster of them) and then the data parts, in clusters 56 and 58. Past its real size cluster 58
// holds one more entry, naming record 5, that a reader going past the end would take.
TEST_F(NtfsListedDataTest, AListInClustersOfItsOwnIsReadToItsRealSize) {
  Bytes list = ntfs_test::AttributeListValue(std::vector<std::pair<uint32_t, uint32_t>>(130, {0x10, kBase}));
  const Bytes parts = PartList({{kBase, 0}, {3, 2}, {5, 5}});
  list.insert(list.end(), parts.begin(), parts.end());
  const uint32_t withoutLast = static_cast<uint32_t>(list.size()) - 32;
  volume.PutCluster(56, Bytes(list.begin(), list.begin() + kClusterBytes));
  volume.PutCluster(58, Bytes(list.begin() + kClusterBytes, list.end()));
  PutPart(3, RunList({{3, 30}}), 2);
  PutPart(5, RunList({{2, 50}}), 5);
  struct Case {
    const char* what;
    Bytes runs;
    uint32_t realSize;
    uint16_t flags;
    uint32_t known;  // clusters saved
  };
  const Case cases[] = {
      {"whole list", RunList({{1, 56}, {1, 58}}), static_cast<uint32_t>(list.size()), 0, 7},
      {"real size before the last entry", RunList({{1, 56}, {1, 58}}), withoutLast, 0, 5},
      {"runs that end before the real size", RunList({{1, 56}}), static_cast<uint32_t>(list.size()), 0, 2},
      {"a hole in the list", RunList({{1, 56}, {1, -1}}), static_cast<uint32_t>(list.size()), 0, 2},
      {"clusters past the volume", RunList({{1, 56}, {1, 5000}}), static_cast<uint32_t>(list.size()), 0, 2},
      {"compressed list", RunList({{1, 56}, {1, 58}}), static_cast<uint32_t>(list.size()), ntfs::kAttributeCompressed,
       2},
      {"larger than any real list", RunList({{1, 56}, {1, 58}}), 256 * 1024 + 1, 0, 2},
  };
  uint32_t damaged = 0;
  for (const Case& c : cases) {
    ntfs_test::RecordBuilder record;
    const uint32_t at = record.AddNonResident(ntfs::kAttributeList, u"", c.runs, c.realSize);
    if (c.flags != 0) record.SetAttributeFlags(at, c.flags);
    record.AddFileName(5, u"f", 1);
    record.AddNonResident(ntfs::kDataAttribute, u"", RunList({{2, 10}}), data.size());
    const uint32_t sector = volume.PutRecord(kBase, record.Protected());
    ExpectSavedHead(sector, u"list" + std::u16string(1, static_cast<char16_t>(u'a' + (&c - cases))), c.known, &damaged,
                    c.what);
  }
}

// Two records no longer in use whose runs claim one cluster: A's data at clusters 10-11, B's data (or a deleted
// folder's index) at 11-12. The newer by what its record shows keeps it: the log sequence number of its last logged
// change, its standard information's journal number and the later of its creation and change times, newer on one
// and older on none; else neither is whole. A record of the present MFT stands before one of an earlier MFT (one a
// quick format replaced), and of an earlier MFT one in use at the format before one deleted before it.
TEST_F(NtfsSaveTest, OfRecordsNoLongerInUseOnOneClusterTheNewerKeepsIt) {
  constexpr uint64_t kDay = 864000000000ull;
  struct Side {
    uint64_t lsn = 0, usn = 0, created = kStamp, changed = kStamp, modified = kStamp;
    bool earlier = false;
    uint16_t flags = ntfs::kDeletedFile;  // kFileInUse: in use at the format (earlier only); kDeletedDirectory
    uint32_t first = 10;
  };
  const Side older, newer{0, 0, kStamp + kDay, kStamp + kDay, kStamp + kDay, false, 0, 11};
  const auto b = [&](Side side) {
    side.first = 11;
    return side;
  };
  const struct {
    const char* what;
    Side a, b;
    bool aDamaged, bDamaged;
  } cases[] = {
      {"made a day later", older, newer, true, false},
      {"a copy: made later, its last write older", older,
       [&] {
         Side copy = newer;
         copy.modified = kStamp - 2 * kDay;
         return copy;
       }(),
       true, false},
      {"its record changed later", older, b({0, 0, kStamp - kDay, kStamp + kDay}), true, false},
      {"both of one time", older, b(older), true, true},
      {"a later log sequence number", {5}, b({7}), true, false},
      {"a later journal number", {0, 80}, b({0, 90}), true, false},
      {"times and log numbers disagree", {9}, b({3, 0, kStamp + kDay, kStamp + kDay}), true, true},
      {"apart", older, [&] {
         Side apart = b(older);
         apart.first = 12;
         return apart;
       }(), false, false},
      {"a deleted folder's index, made later", older,
       [&] {
         Side folder = newer;
         folder.flags = ntfs::kDeletedDirectory;
         return folder;
       }(),
       true, false},
      {"the present MFT's before an earlier MFT's", [&] {
         Side earlier = newer;
         earlier.first = 10;
         earlier.earlier = true;
         return earlier;
       }(), b(older), true, false},
      {"of an earlier MFT, the one in use at the format", [&] {
         Side live = older;
         live.earlier = true;
         live.flags = ntfs::kFileInUse;
         return live;
       }(),
       [&] {
         Side gone = newer;
         gone.earlier = true;
         return gone;
       }(),
       false, true},
  };
  MftMap = {MftExtent{NtfsVolume::kSectorsPerCluster, 24, false}};
  for (const auto& c : cases) {
    FreeScanRecordLists();
    const std::u16string tag(1, static_cast<char16_t>(u'a' + (&c - cases)));
    uint32_t sectors[2] = {};
    for (uint32_t i = 0; i < 2; ++i) {
      const Side& side = i == 0 ? c.a : c.b;
      const bool folder = side.flags == ntfs::kDeletedDirectory;
      Bytes times(72, 0);
      ntfs_test::PutLe64(times, 0, side.created);
      ntfs_test::PutLe64(times, 8, side.modified);
      ntfs_test::PutLe64(times, 16, side.changed);
      ntfs_test::PutLe64(times, 64, side.usn);
      ntfs_test::RecordBuilder record(side.flags);
      record.AddResident(0x10, u"", times);
      record.AddFileName(5, u"f", 1);
      const uint32_t runs = record.AddNonResident(folder ? ntfs::kIndexAllocation : ntfs::kDataAttribute,
                                                  folder ? u"$I30" : u"", RunList({{2, side.first}}), 2 * kClusterBytes);
      Bytes bytes = record.Protected();
      ntfs_test::PutLe64(bytes, runs + 24, 1);  // the last VCN of its two clusters
      ntfs_test::PutLe64(bytes, 8, side.lsn);
      sectors[i] = volume.PutRecord(2 + i, bytes);
      if (folder) {
        AppendNtfsFolder(u"folder" + tag, 2 + i, 5, side.created, side.modified, host::kNoTreeKey, 1);
      } else {
        AppendNtfsEntry(sectors[i], u"f", 2 + i, 5, side.created, side.modified, 1, 2 * kClusterBytes).earlier =
            side.earlier;
      }
    }
    mounted.reset();
    mounted = volume.Mount();
    BeginSave();
    EXPECT_EQ(SaveNtfsItems(out, u"a" + tag, 2 * kClusterBytes, sectors[0], 1, 1), 1u) << c.what;
    EXPECT_EQ(SaveTally.unreadable, c.aDamaged ? 1u : 0u) << c.what;
    if (c.b.flags != ntfs::kDeletedDirectory) {
      EXPECT_EQ(SaveNtfsItems(out, u"b" + tag, 2 * kClusterBytes, sectors[1], 1, 1), 1u) << c.what;
      EXPECT_EQ(SaveTally.unreadable, (c.aDamaged ? 1u : 0u) + (c.bDamaged ? 1u : 0u)) << c.what;
    }
  }
  MftMap.clear();
}

TEST_F(NtfsSaveTest, FolderFilesComeFromTheScansOwnList) {
  const Bytes quick = Pattern(200, 4);
  const Bytes found = Pattern(100, 5);
  const uint32_t quickSector = volume.PutRecord(0, Resident(quick));
  const uint32_t foundSector = volume.PutRecord(1, Resident(found));
  mounted = volume.Mount();
  AppendNtfsEntry(quickSector, u"quick.txt", 40, 64, kStamp, 0, 0, quick.size());
  AppendNtfsFoundEntry(u"found.txt", foundSector, 64, 41, kStamp, 0, found.size(), 1, 0);
  AppendNtfsFoundEntry(u"outside.txt", 0, 64, 42, kStamp, 0, found.size(), 1, 0);  // sector 0: not inside
  SaveNtfsFolderFiles(64, out);
  EXPECT_EQ(FolderNames(out), std::vector<std::u16string>{u"quick.txt"});
  EXPECT_EQ(ModificationTime(Out(u"quick.txt")), kStampSeconds);
  RecoveryMode = records::kExtensiveScan;
  ScratchFolder extensive;
  SaveNtfsFolderFiles(64, extensive.path());
  EXPECT_EQ(FolderNames(extensive.path()), std::vector<std::u16string>{u"found.txt"});
  EXPECT_EQ(ReadAll(extensive.path() + u"\\found.txt"), found);
}

TEST_F(NtfsSaveTest, SaveSelectedTakesFoldersAndTheRightEntries) {
  const Bytes data = Pattern(300, 6);
  const Bytes rootData = Pattern(200, 8);
  const uint32_t sector = volume.PutRecord(0, Resident(data));
  const uint32_t rootSector = volume.PutRecord(1, Resident(rootData));
  mounted = volume.Mount();
  const host::TreeKey top = tree.AddItem(u"D:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey docs = tree.AddItem(u"Docs", top, host::TreeImage::kFolder, false);
  const host::TreeKey sub = tree.AddItem(u"Sub", docs, host::TreeImage::kFolder, false);
  AppendNtfsFolder(u"Docs", 64, 5, 0, 0, docs, 0);
  AppendNtfsFolder(u"Sub", 65, 64, 0, 0, sub, 0);
  AppendNtfsEntry(sector, u"in sub.txt", 70, 65, kStamp, 0, 1, data.size());
  AppendNtfsEntry(rootSector, u"root.txt", 71, 5, kStamp, 0, 0, rootData.size());
  list.saveFolderSet = {docs};
  list.saveFileSet = {rootSector, rootSector + 100};  // the second: no record has it
  SaveDestination = out;
  SaveSelected();
  EXPECT_EQ(FolderNames(out), (std::vector<std::u16string>{u"Docs", u"root.txt"}));
  EXPECT_EQ(ReadAll(Out(u"Docs\\Sub\\in sub.txt")), data);
  EXPECT_EQ(ReadAll(Out(u"root.txt")), rootData);
  EXPECT_EQ(tree.clearedChecks, std::vector<host::TreeKey>{top});
}

// A file of two names (hard links) is saved under each, once, and "Total Files" counts what the save writes: a
// name in a folder saved whole is that folder's, whether the file is ticked on its own too or not, and Find's
// save of the file's two rows writes each name once.
TEST_F(NtfsSaveTest, TotalFilesCountsEachNameOfAFileOnceAsTheSaveWritesIt) {
  const Bytes data = Pattern(300, 6);
  const uint32_t sector = volume.PutRecord(0, Resident(data));
  mounted = volume.Mount();
  const host::TreeKey top = tree.AddItem(u"D:", host::kNoTreeKey, host::TreeImage::kDrive, false);
  const host::TreeKey docs = tree.AddItem(u"Docs", top, host::TreeImage::kFolder, false);
  const host::TreeKey other = tree.AddItem(u"Other", top, host::TreeImage::kFolder, false);
  AppendNtfsFolder(u"Docs", 64, 5, 0, 0, docs, 0);
  AppendNtfsFolder(u"Other", 65, 5, 0, 0, other, 0);
  struct Case {
    const char* what;
    uint32_t secondParent;
    std::vector<host::TreeKey> whole;
    std::vector<uint32_t> ids;
    std::vector<std::u16string> saved;
  };
  const Case cases[] = {
      {"Docs whole, the file ticked in Other too", 65, {docs}, {sector}, {u"Docs\\one.txt", u"Other\\two.txt"}},
      {"both names in Docs, saved whole with the file ticked", 64, {docs}, {sector}, {u"Docs\\one.txt", u"Docs\\two.txt"}},
      {"both names in Docs, the file ticked alone", 64, {}, {sector}, {u"Docs\\one.txt", u"Docs\\two.txt"}},
      {"Find's save of both rows", 65, {}, {sector, sector}, {u"one.txt", u"two.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NtfsEntryList.Free();
    AppendNtfsEntry(sector, u"one.txt", 70, 64, kStamp, 0, 0, data.size()).linked = true;
    AppendNtfsEntry(sector, u"two.txt", 70, c.secondParent, kStamp, 0, 0, data.size()).linked = true;
    ScratchFolder folder;
    BeginSave();
    SaveDestination = folder.path();
    if (c.ids.size() == 2) {
      SaveFileIds(c.ids);
    } else {
      list.saveFolderSet = c.whole;
      list.saveFileSet = c.ids;
      SaveSelected();
    }
    for (const std::u16string& name : c.saved) EXPECT_EQ(ReadAll(folder.path() + u"\\" + name), data) << os::ToUtf8(name);
    EXPECT_EQ(SaveTally.saved, 2u);
    EXPECT_EQ(dialog.totalFiles, u"2 of 2");
    EXPECT_EQ(dialog.positions.back(), 100u);
  }
}

}  // namespace
}  // namespace save_test
