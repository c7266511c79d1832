// File records put together by hand: the fix-up, the attribute walk and its bounds, and the readers on
// top of it.
#include "engine/ntfs/mft_record.h"

#include <gtest/gtest.h>

#include "engine/ntfs/attribute_list.h"
#include "engine/ntfs/attribute_list_value.h"
#include "engine/ntfs/data_attribute.h"
#include "engine/ntfs/file_name_attribute.h"
#include "engine/ntfs/index_records.h"
#include "engine/ntfs/ntfs_test_support.h"

namespace {

using ntfs_test::Bytes;
using ntfs_test::PutLe16;
using ntfs_test::PutLe32;
using ntfs_test::RecordBuilder;

// ---- update sequence ---------------------------------------------------------------------------------

Bytes SequencedRecord(uint32_t size, uint16_t arrayOffset, uint16_t count) {
  Bytes record(size, 0);
  PutLe16(record, 4, arrayOffset);
  PutLe16(record, 6, count);
  for (uint16_t i = 0; i < count; ++i) PutLe16(record, arrayOffset + 2u * i, static_cast<uint16_t>(0x1100 + i));
  for (uint32_t end = 510; end < size; end += 512) PutLe16(record, end, 0x1100);
  return record;
}

uint16_t SectorEnd(const Bytes& record, uint32_t sector) {
  return static_cast<uint16_t>(record[sector * 512 + 510] | record[sector * 512 + 511] << 8);
}

TEST(ApplyUpdateSequence, ACountOfThreeRestoresBothSectorEnds) {
  Bytes record = SequencedRecord(1024, 48, 3);
  ApplyUpdateSequence(record.data(), 1024);
  EXPECT_EQ(SectorEnd(record, 0), 0x1101);
  EXPECT_EQ(SectorEnd(record, 1), 0x1102);
}

TEST(ApplyUpdateSequence, ACountOfOneOrLessChangesNothing) {
  for (uint16_t count : {0, 1}) {
    Bytes record = SequencedRecord(1024, 48, 3);
    PutLe16(record, 6, count);
    const Bytes before = record;
    ApplyUpdateSequence(record.data(), 1024);
    EXPECT_EQ(record, before) << count;
  }
}

TEST(ApplyUpdateSequence, OnlySectorsWithinTheSizeAndEntriesBelowByte84) {
  Bytes record = SequencedRecord(1024, 48, 3);
  ApplyUpdateSequence(record.data(), 600);
  EXPECT_EQ(SectorEnd(record, 0), 0x1101);
  EXPECT_EQ(SectorEnd(record, 1), 0x1100) << "sector 1 ends beyond the size";

  record = SequencedRecord(1024, 80, 3);  // entry 1 at 82, entry 2 at 84
  ApplyUpdateSequence(record.data(), 1024);
  EXPECT_EQ(SectorEnd(record, 0), 0x1101);
  EXPECT_EQ(SectorEnd(record, 1), 0x1100) << "entry 2 lies at byte 84";

  record = SequencedRecord(1024, 48, 9);  // more entries than sectors
  ApplyUpdateSequence(record.data(), 1024);
  EXPECT_EQ(SectorEnd(record, 1), 0x1102);
}

TEST(ApplyUpdateSequence, AnArrayFarOutsideTheRecordIsNotRead) {
  Bytes record(1024, 0);
  PutLe16(record, 4, 0xFFF0);
  PutLe16(record, 6, 0xFFFF);
  const Bytes before = record;
  ApplyUpdateSequence(record.data(), 1024);
  EXPECT_EQ(record, before);
}

// ---- file names --------------------------------------------------------------------------------------

TEST(ReadFileNameAttribute, ChoosesByNameSpace) {
  RecordBuilder builder;
  builder.AddFileName(64, u"REPORT~1.TXT", kDosNameSpace);
  builder.AddFileName(64, u"Report for the year.txt", kWin32NameSpace);
  const Bytes record = builder.Plain();
  FileNameInfo name;
  ASSERT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 1u);
  EXPECT_EQ(name.name, u"Report for the year.txt");
  EXPECT_EQ(name.parent, 64u);
  ASSERT_EQ(ReadFileNameAttribute(0, name, kDosNameSpace, record.data(), 0), 1u);
  EXPECT_EQ(name.name, u"REPORT~1.TXT");
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32AndDosNameSpace, record.data(), 0), 0u);
}

TEST(ReadFileNameAttribute, Win32AlsoTakesPosixAndKeepsTheTimes) {
  RecordBuilder builder;
  builder.AddResident(ntfs::kFileNameAttribute, u"",
                      ntfs_test::FileNameValue(7, u"a:b", kPosixNameSpace, 0x01D68A0000000000, 0x01D68A0000000001));
  const Bytes record = builder.Plain();
  FileNameInfo name;
  ASSERT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 1u);
  EXPECT_EQ(name.name, u"a:b");
  EXPECT_EQ(name.creation, 0x01D68A0000000000u);
  EXPECT_EQ(name.change, 0x01D68A0000000001u);
}

TEST(ReadFileNameAttribute, APreferredNameIsWin32ThenBothThenDos) {
  RecordBuilder dosOnly;
  dosOnly.AddFileName(5, u"DOS.TXT", kDosNameSpace);
  FileNameInfo name;
  ASSERT_EQ(ReadPreferredFileName(dosOnly.Plain().data(), name), 1u);
  EXPECT_EQ(name.name, u"DOS.TXT");
  RecordBuilder both;
  both.AddFileName(5, u"DOS.TXT", kDosNameSpace);
  both.AddFileName(5, u"both.txt", kWin32AndDosNameSpace);
  ASSERT_EQ(ReadPreferredFileName(both.Plain().data(), name), 1u);
  EXPECT_EQ(name.name, u"both.txt");
}

TEST(ReadFileNameAttribute, ANameThatDoesNotFitEndsTheSearch) {
  // The value says 100 characters but holds 3; a Win32 name follows and is not reached.
  RecordBuilder builder;
  Bytes value = ntfs_test::FileNameValue(5, u"abc", kDosNameSpace);
  value[64] = 100;
  builder.AddResident(ntfs::kFileNameAttribute, u"", value);
  builder.AddFileName(5, u"later.txt", kWin32NameSpace);
  FileNameInfo name;
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, builder.Plain().data(), 0), 0u);
}

TEST(ReadFileNameAttribute, AValueCrossingTheRecordEndIsNotRead) {
  RecordBuilder builder;
  const uint32_t at = builder.AddFileName(5, u"name.txt", kWin32NameSpace);
  Bytes record = builder.Plain();
  PutLe16(record, at + 20, 1000);  // value offset: the value would end past byte 1024
  FileNameInfo name;
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u);
  record = builder.Plain();
  PutLe32(record, at + 16, 5000);  // value length
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u);
}

// ---- the walk ----------------------------------------------------------------------------------------

TEST(AttributeWalk, StopsAtBadLengthsAndOffsets) {
  RecordBuilder builder;
  const uint32_t first = builder.AddResident(0x10, u"", Bytes(48, 0));
  builder.AddFileName(5, u"x", kWin32NameSpace);
  FileNameInfo name;
  const Bytes good = builder.Plain();
  ASSERT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, good.data(), 0), 1u);

  Bytes record = good;
  PutLe32(record, first + 4, 0);
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u) << "length 0";
  record = good;
  PutLe32(record, first + 4, 0x10000);
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u) << "length past the record";
  record = good;
  PutLe16(record, 20, 1023);
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u) << "first offset 1023";
  record = good;
  PutLe16(record, 20, 1020);
  PutLe32(record, 1020, 0x30);  // a type that fits, a length that does not
  EXPECT_EQ(ReadFileNameAttribute(0, name, kWin32NameSpace, record.data(), 0), 0u);
  uint32_t offset = 0;
  EXPECT_EQ(FindDataAttribute(record.data(), offset), kNoDataAttribute);
}

TEST(AttributeWalk, ANameOutsideTheRecordEndsTheSearch) {
  RecordBuilder builder;
  const uint32_t at = builder.AddResident(ntfs::kIndexRoot, u"$I30", ntfs_test::IndexRootValue({}));
  Bytes record = builder.Plain();
  PutLe16(record, at + 10, 1020);  // name offset: 4 characters from 1020 + at
  EXPECT_EQ(IndexRootOwner(record.data()), 0u);
}

// ---- data --------------------------------------------------------------------------------------------

TEST(DataAttribute, ResidentNonResidentAndNamedStreams) {
  RecordBuilder resident;
  resident.AddResident(ntfs::kDataAttribute, u"Zone", Bytes(10, 1));
  const uint32_t unnamed = resident.AddResident(ntfs::kDataAttribute, u"", Bytes(300, 1));
  uint32_t offset = 0;
  uint64_t size = 0;
  Bytes record = resident.Plain();
  EXPECT_EQ(FindDataAttribute(record.data(), offset), kResidentData);
  EXPECT_EQ(offset, unnamed);
  ASSERT_EQ(ReadDataSize(0, size, record.data(), 0), 1u);
  EXPECT_EQ(size, 300u);

  RecordBuilder nonResident;
  const uint32_t at = nonResident.AddNonResident(ntfs::kDataAttribute, u"", {0x21, 0x40, 0x00, 0x10, 0x00},
                                                 0x1'2345'6789);
  record = nonResident.Plain();
  EXPECT_EQ(FindDataAttribute(record.data(), offset), kNonResidentData);
  EXPECT_EQ(offset, at);
  ASSERT_EQ(ReadDataSize(0, size, record.data(), 0), 1u);
  EXPECT_EQ(size, 0x1'2345'6789u);

  RecordBuilder none;
  none.AddFileName(5, u"folder", kWin32NameSpace);
  record = none.Plain();
  EXPECT_EQ(FindDataAttribute(record.data(), offset), kNoDataAttribute);
  EXPECT_EQ(ReadDataSize(0, size, record.data(), 0), 0u);
}

TEST(DataAttribute, AValueOrRunListOutsideTheRecordIsNotFound) {
  RecordBuilder builder;
  const uint32_t at = builder.AddResident(ntfs::kDataAttribute, u"", Bytes(100, 0));
  Bytes record = builder.Plain();
  PutLe32(record, at + 16, 1000);
  uint64_t size = 0;
  EXPECT_EQ(ReadDataSize(0, size, record.data(), 0), 0u);

  RecordBuilder nonResident;
  const uint32_t nr = nonResident.AddNonResident(ntfs::kDataAttribute, u"", {0x11, 0x01, 0x01}, 512);
  record = nonResident.Plain();
  PutLe16(record, nr + 32, 2000);
  uint32_t offset = 0;
  EXPECT_EQ(FindDataAttribute(record.data(), offset), kNoDataAttribute);
}

// ---- attribute lists ---------------------------------------------------------------------------------

// A list kept in its record: no cluster is read.
bool AddListedRecordsOf(const RecordBuilder& builder) {
  return ntfs::AddListedRecords(builder.Plain().data(), ntfs::ClusterSpace{});
}

TEST(AddListedRecords, AddsTheRecordsOfItsEntriesEachOnce) {
  RecordBuilder builder;
  builder.AddResident(ntfs::kAttributeList, u"",
                      ntfs_test::AttributeListValue({{0x10, 40}, {0x30, 40}, {0x80, 41}, {0x80, 42}, {0x80, 41}}));
  AttributeListRecords.Clear();
  AttributeListRecords.Add(40);
  ASSERT_TRUE(AddListedRecordsOf(builder));
  ASSERT_EQ(AttributeListRecords.count, 3);
  EXPECT_EQ(AttributeListRecords.records[1], 41u);
  EXPECT_EQ(AttributeListRecords.records[2], 42u);

  // A heavily fragmented file names the same few records in many entries: they all fit.
  std::vector<std::pair<uint32_t, uint32_t>> parts;
  for (uint32_t i = 0; i < 24; ++i) parts.emplace_back(0x80, 41 + i % 3);
  RecordBuilder fragmented;
  fragmented.AddResident(ntfs::kAttributeList, u"", ntfs_test::AttributeListValue(parts));
  AttributeListRecords.Clear();
  ASSERT_TRUE(AddListedRecordsOf(fragmented));
  EXPECT_EQ(AttributeListRecords.count, 3);
}

TEST(AddListedRecords, EndsAtABadEntryOrFiftyRecords) {
  Bytes list = ntfs_test::AttributeListValue({{0x10, 1}, {0x80, 2}, {0x80, 3}});
  PutLe16(list, 32 + 4, 0);  // the second entry's length
  RecordBuilder zeroLength;
  zeroLength.AddResident(ntfs::kAttributeList, u"", list);
  AttributeListRecords.Clear();
  AddListedRecordsOf(zeroLength);
  EXPECT_EQ(AttributeListRecords.count, 1);

  list = ntfs_test::AttributeListValue({{0x10, 1}, {0x80, 2}});
  PutLe16(list, 4, 2000);
  RecordBuilder tooLong;
  tooLong.AddResident(ntfs::kAttributeList, u"", list);
  AttributeListRecords.Clear();
  AddListedRecordsOf(tooLong);
  EXPECT_EQ(AttributeListRecords.count, 0) << "the first entry is read, its length ends the walk";

  std::vector<std::pair<uint32_t, uint32_t>> many;
  for (uint32_t i = 0; i < 28; ++i) many.emplace_back(0x80, 100 + i);
  RecordBuilder full;
  full.AddResident(ntfs::kAttributeList, u"", ntfs_test::AttributeListValue(many));
  AttributeListRecords.Clear();
  for (uint32_t i = 0; i < 40; ++i) AttributeListRecords.Add(i);
  AddListedRecordsOf(full);
  EXPECT_EQ(AttributeListRecords.count, kMaxAttributeListRecords);
}

TEST(AddListedRecords, EntriesAreBoundedByTheValue) {
  Bytes list = ntfs_test::AttributeListValue({{0x80, 2}, {0x80, 3}});
  list.resize(32 + 12);  // the second entry is cut before its record number
  RecordBuilder builder;
  builder.AddResident(ntfs::kAttributeList, u"", list);
  AttributeListRecords.Clear();
  AddListedRecordsOf(builder);
  EXPECT_EQ(AttributeListRecords.count, 1);
}

// ---- folder indexes ----------------------------------------------------------------------------------

Bytes Key(uint32_t parent, const std::u16string& name) { return ntfs_test::FileNameValue(parent, name, 1); }

TEST(IndexRootOwner, TheFirstEntryNamesTheFolder) {
  RecordBuilder builder(ntfs::kDirectoryInUse);
  builder.AddResident(ntfs::kIndexRoot, u"$SDH", ntfs_test::IndexRootValue({ntfs_test::IndexEntry(90, Key(9, u"x"))}));
  builder.AddResident(ntfs::kIndexRoot, u"$I30",
                      ntfs_test::IndexRootValue({ntfs_test::IndexEntry(80, Key(64, u"a.txt")),
                                                 ntfs_test::IndexEntry(81, Key(64, u"b.txt"))}));
  EXPECT_EQ(IndexRootOwner(builder.Plain().data()), 64u);
}

TEST(IndexRootOwner, NothingWithoutANamedFirstEntry) {
  RecordBuilder empty(ntfs::kDirectoryInUse);
  empty.AddResident(ntfs::kIndexRoot, u"$I30", ntfs_test::IndexRootValue({}));
  EXPECT_EQ(IndexRootOwner(empty.Plain().data()), 0u);

  RecordBuilder noReference(ntfs::kDirectoryInUse);
  noReference.AddResident(ntfs::kIndexRoot, u"$I30",
                          ntfs_test::IndexRootValue({ntfs_test::IndexEntry(80, Key(0xFFFFFFFF, u"a"))}));
  EXPECT_EQ(IndexRootOwner(noReference.Plain().data()), 0u);

  RecordBuilder emptyName(ntfs::kDirectoryInUse);
  emptyName.AddResident(ntfs::kIndexRoot, u"$I30",
                        ntfs_test::IndexRootValue({ntfs_test::IndexEntry(80, Key(64, u""))}));
  EXPECT_EQ(IndexRootOwner(emptyName.Plain().data()), 0u);
}

TEST(IndexRootOwner, EntryAndNameLengthsAreBoundedByTheValue) {
  RecordBuilder builder(ntfs::kDirectoryInUse);
  const uint32_t at = builder.AddResident(ntfs::kIndexRoot, u"$I30",
                                          ntfs_test::IndexRootValue({ntfs_test::IndexEntry(80, Key(64, u"a.txt"))}));
  const Bytes good = builder.Plain();
  ASSERT_EQ(IndexRootOwner(good.data()), 64u);
  const uint32_t entry = at + 24 + 8 + 16 + 16;  // header, name, index root, node header
  Bytes record = good;
  PutLe16(record, entry + 8, 0xFFF0);
  EXPECT_EQ(IndexRootOwner(record.data()), 0u) << "entry length";
  record = good;
  record[entry + 16 + 64] = 200;
  EXPECT_EQ(IndexRootOwner(record.data()), 0u) << "name length";
  record = good;
  PutLe32(record, at + 24 + 8 + 16, 0xFFFFFF00);
  EXPECT_EQ(IndexRootOwner(record.data()), 0u) << "entry offset";
}

TEST(IndexAllocationStart, TheFirstRunOfTheFolderIndex) {
  RecordBuilder builder(ntfs::kDirectoryInUse);
  builder.AddNonResident(ntfs::kIndexAllocation, u"$SDH", {0x11, 0x01, 0x07, 0x00}, 4096);
  builder.AddNonResident(ntfs::kIndexAllocation, u"$I30", {0x31, 0x01, 0x00, 0x00, 0x81, 0x00}, 4096);
  EXPECT_EQ(IndexAllocationStart(builder.Plain().data()), 0x810000u) << "unsigned, three bytes";
  RecordBuilder none(ntfs::kDirectoryInUse);
  none.AddResident(ntfs::kIndexRoot, u"$I30", ntfs_test::IndexRootValue({}));
  EXPECT_EQ(IndexAllocationStart(none.Plain().data()), 0u);
}

TEST(IndexRecordHead, OwnerAndNumberOfTheFirstEntry) {
  Bytes record = ntfs_test::IndexRecord(4096, 3, {ntfs_test::IndexEntry(80, Key(64, u"a.txt"))});
  ntfs::IndexRecordHead head;
  ASSERT_TRUE(ntfs::ReadIndexRecordHead(record.data(), 4096, &head));
  EXPECT_EQ(head.owner, 64u);
  EXPECT_EQ(head.number, 3u);
}

TEST(IndexRecordHead, EntryAndNameLengthsAreBoundedByTheRecord) {
  const Bytes good = ntfs_test::IndexRecord(1024, 0, {ntfs_test::IndexEntry(80, Key(64, u"a.txt"))});
  const uint32_t entry = 24 + (good[24] | good[25] << 8);
  ntfs::IndexRecordHead head;
  Bytes record = good;
  ASSERT_TRUE(ntfs::ReadIndexRecordHead(record.data(), 1024, &head));
  record = good;
  PutLe16(record, entry + 8, 0xFFF8);
  EXPECT_FALSE(ntfs::ReadIndexRecordHead(record.data(), 1024, &head)) << "entry length";
  record = good;
  record[entry + 16 + 64] = 120;
  EXPECT_FALSE(ntfs::ReadIndexRecordHead(record.data(), 1024, &head)) << "name length";
  record = good;
  PutLe32(record, 24, 1010);
  EXPECT_FALSE(ntfs::ReadIndexRecordHead(record.data(), 1024, &head)) << "entry offset";
  record = good;
  record[0] = 'F';
  EXPECT_FALSE(ntfs::ReadIndexRecordHead(record.data(), 1024, &head)) << "signature";
}

}  // namespace
