#include "engine/scan/signature_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/scan/scan_test_support.h"
#include "platform/os/os.h"

namespace {

using namespace scan_test;

void PutField(std::vector<uint8_t>* out, const std::string& field) {
  out->push_back(static_cast<uint8_t>(field.size() & 0xFF));
  out->push_back(static_cast<uint8_t>(field.size() >> 8));
  out->insert(out->end(), field.begin(), field.end());
}

// One record in the file's layout.
std::vector<uint8_t> Record(char digit, const std::string& extension, const std::string& description,
                            const std::string& offset, const std::string& signature,
                            const std::string& second = "") {
  std::vector<uint8_t> out{0x34, 0x12, static_cast<uint8_t>(digit)};
  for (const std::string* field : {&extension, &description, &offset, &signature, &second}) PutField(&out, *field);
  return out;
}

std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

SignatureDatabase Parse(const std::vector<uint8_t>& bytes) {
  return ParseSignatureDatabase(bytes.data(), bytes.size());
}

std::string HexOfTable(std::string cell) {
  if (cell == "-") return "";
  cell.erase(std::remove(cell.begin(), cell.end(), ' '), cell.end());
  return cell;
}

TEST(SignatureDatabase, GeneratedFileReadsBackIntoTheTable) {
  std::vector<std::vector<std::string>> table = ReadTable(SignatureTablePath());
  ASSERT_FALSE(table.empty());
  ASSERT_EQ(table[0], (std::vector<std::string>{"group", "extension", "description", "compare", "signature", "second"}));
  table.erase(table.begin());

  SignatureDatabase database;
  ASSERT_TRUE(ReadSignatureDatabase(RawDatPath(), &database));
  EXPECT_TRUE(database.complete);
  ASSERT_EQ(database.records.size(), table.size());
  std::set<std::u16string> groups;
  std::set<std::u16string> types;
  for (size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(table[i][1]);
    ASSERT_EQ(table[i].size(), 6u);
    const SignatureRecord& record = database.records[i];
    EXPECT_EQ(record.index, i);
    EXPECT_EQ(record.group, os::FromUtf8(table[i][0]));
    EXPECT_EQ(record.extension, os::FromUtf8(table[i][1]));
    EXPECT_EQ(record.description, os::FromUtf8(table[i][2]));
    EXPECT_EQ(record.offset, os::FromUtf8(table[i][3]));
    EXPECT_EQ(record.signature, HexOfTable(table[i][4]));
    EXPECT_EQ(record.secondField, HexOfTable(table[i][5]));
    groups.insert(record.group);
    types.insert(record.extension);
  }
  std::set<std::u16string> allGroups;
  for (uint8_t digit = '0'; digit <= '9'; ++digit) allGroups.insert(SignatureGroupText(digit));
  EXPECT_EQ(groups, allGroups);
  EXPECT_GE(types.size(), 80u);
}

TEST(SignatureDatabase, GroupTexts) {
  EXPECT_EQ(SignatureGroupText('0'), u"Archive Files");
  EXPECT_EQ(SignatureGroupText('1'), u"Document Files");
  EXPECT_EQ(SignatureGroupText('2'), u"Database Files");
  EXPECT_EQ(SignatureGroupText('3'), u"E-mail Files");
  EXPECT_EQ(SignatureGroupText('4'), u"Graphics Files");
  EXPECT_EQ(SignatureGroupText('5'), u"Sound Files");
  EXPECT_EQ(SignatureGroupText('6'), u"Media Files");
  EXPECT_EQ(SignatureGroupText('7'), u"Internet Files");
  EXPECT_EQ(SignatureGroupText('8'), u"CAD Files");
  EXPECT_EQ(SignatureGroupText('9'), u"Other Files");
  EXPECT_EQ(SignatureGroupText('X'), u"X");  // any other character names its group by itself
}

TEST(SignatureDatabase, FieldsAndLengths) {
  // Lengths are little-endian: an extension of 10 bytes (0A 00) and a description of 256 (00 01).
  const std::string description(256, 'd');
  const std::vector<uint8_t> bytes =
      Join({Record('4', ".abcdefghi", description, "3", "\xFF\xD8\xFF", "\x01\xab"), Record('9', "", "", "", "")});
  ASSERT_EQ(bytes[3], 0x0A);
  ASSERT_EQ(bytes[15], 0x00);
  ASSERT_EQ(bytes[16], 0x01);
  const SignatureDatabase database = Parse(bytes);
  EXPECT_TRUE(database.complete);
  ASSERT_EQ(database.records.size(), 2u);
  const SignatureRecord& first = database.records[0];
  EXPECT_EQ(first.index, 0u);
  EXPECT_EQ(first.group, u"Graphics Files");
  EXPECT_EQ(first.extension, u".abcdefghi");
  EXPECT_EQ(first.description, os::FromUtf8(description));
  EXPECT_EQ(first.offset, u"3");
  EXPECT_EQ(first.signature, "FFD8FF");
  EXPECT_EQ(first.secondField, "01AB");
  // A record of empty fields is a record: kept, with an empty extension.
  EXPECT_EQ(database.records[1].index, 1u);
  EXPECT_EQ(database.records[1].extension, u"");
  EXPECT_EQ(database.records[1].group, u"Other Files");
}

TEST(SignatureDatabase, TruncatedFilesKeepTheirWholeRecords) {
  const std::vector<std::vector<uint8_t>> records = {Record('0', ".zip", "ZIP", "4", "PK\x03\x04"),
                                                     Record('4', ".jpg", "JPEG", "3", "\xFF\xD8\xFF", "\x07"),
                                                     Record('1', ".pdf", "PDF", "5", "%PDF-")};
  const std::vector<uint8_t> whole = Join(records);
  std::vector<size_t> ends;
  size_t end = 0;
  for (const auto& record : records) ends.push_back(end += record.size());
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    const SignatureDatabase database = ParseSignatureDatabase(whole.data(), cut);
    const size_t kept = static_cast<size_t>(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    ASSERT_EQ(database.records.size(), kept);
    // A cut between records is where a shorter file ends; any other cut leaves a truncated record.
    EXPECT_EQ(database.complete, cut == 0 || std::find(ends.begin(), ends.end(), cut) != ends.end());
    if (kept > 0) {
      EXPECT_EQ(database.records[kept - 1].index, kept - 1);
    }
  }
}

TEST(SignatureDatabase, DamagedRecordsEndReading) {
  const std::vector<uint8_t> good = Record('0', ".zip", "ZIP", "4", "PK\x03\x04");
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    size_t kept;
    bool complete;
  };
  std::vector<uint8_t> pastEnd = Record('4', ".jpg", "JPEG", "3", "\xFF\xD8\xFF");
  pastEnd[3] = 0xFF;  // the extension's length runs past the end of the file
  std::vector<uint8_t> hugeLength = Record('4', ".jpg", "JPEG", "3", "\xFF\xD8\xFF");
  hugeLength[3] = 0xFF, hugeLength[4] = 0xFF;
  const Case cases[] = {
      {"a field of the longest length", Join({good, Record('9', std::string(759, 'e'), "", "", "")}), 2, true},
      {"a field longer than the reader's buffer", Join({good, Record('9', std::string(760, 'e'), "", "", ""), good}), 1,
       false},
      {"a length past the end of the file", Join({good, pastEnd}), 1, false},
      {"a length of 65535", Join({good, hugeLength, good}), 1, false},
      {"one byte after the last record", Join({good, good, {0x00}}), 2, false},
      {"a damaged first record", Join({pastEnd, good}), 0, false},
      {"an empty file", {}, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SignatureDatabase database = Parse(c.bytes);
    EXPECT_EQ(database.records.size(), c.kept);
    EXPECT_EQ(database.complete, c.complete);
  }
}

TEST(SignatureDatabase, DamagedGeneratedFileKeepsTheRecordsBeforeTheDamage) {
  std::vector<uint8_t> bytes = ReadFileBytes(RawDatPath());
  SignatureDatabase whole;
  ASSERT_TRUE(ReadSignatureDatabase(RawDatPath(), &whole));
  ASSERT_GT(whole.records.size(), 10u);
  // Cut in the middle, and then a length field set past the end.
  const std::u16string path = TempFile(u"Raw.dat");
  for (size_t cut : {bytes.size() / 3, bytes.size() / 2 + 1, bytes.size() - 1}) {
    SCOPED_TRACE(cut);
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)));
    SignatureDatabase database;
    ASSERT_TRUE(ReadSignatureDatabase(path, &database));
    EXPECT_FALSE(database.complete);
    ASSERT_GT(database.records.size(), 0u);
    ASSERT_LT(database.records.size(), whole.records.size());
    for (size_t i = 0; i < database.records.size(); ++i) {
      EXPECT_EQ(database.records[i].signature, whole.records[i].signature);
      EXPECT_EQ(database.records[i].extension, whole.records[i].extension);
    }
  }
  bytes[3] = 0xF0;  // the first record's extension length
  bytes[4] = 0x02;
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  SignatureDatabase damaged;
  ASSERT_TRUE(ReadSignatureDatabase(path, &damaged));
  EXPECT_FALSE(damaged.complete);
  EXPECT_TRUE(damaged.records.empty());
  os::RemoveFile(path);
}

TEST(SignatureDatabase, MissingFile) {
  SignatureDatabase database;
  database.records.resize(3);
  EXPECT_FALSE(ReadSignatureDatabase(TempFile(u"no such Raw.dat"), &database));
  EXPECT_TRUE(database.records.empty());
}

}  // namespace
