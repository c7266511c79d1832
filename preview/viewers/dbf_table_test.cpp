#include "preview/viewers/dbf_table.h"
#include "preview/viewers/dbf_test_writer.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "platform/os/os.h"

namespace {

dbf::Table Read(const std::string& bytes) {
  return dbf::ReadTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Latin-1 for any code page, and a currency as "<ten-thousandths> EUR".
class FakeText : public dbf::TextServices {
 public:
  std::u16string FromCodePage(const std::string& bytes, uint32_t) const override {
    std::u16string text;
    for (char c : bytes) text += static_cast<char16_t>(static_cast<uint8_t>(c));
    return text;
  }
  std::u16string FormatCurrency(int64_t tenThousandths) const override {
    const std::string digits = std::to_string(tenThousandths);
    return std::u16string(digits.begin(), digits.end()) + u" EUR";
  }
};

std::u16string Text(char type, const std::string& bytes) { return dbf::ValueText(type, bytes, 0, FakeText()); }

TEST(DbfTable, CharacterAndNumericFieldsTwoRecords) {
  const dbf::Table table =
      Read(DbfWriter().Field("NAME", 'C', 8).Field("AMOUNT", 'N', 5).Record("Alice      42").Record("Bob     -1.5").Bytes());
  ASSERT_EQ(table.status, dbf::Status::kOk);
  ASSERT_EQ(table.fields.size(), 2u);
  EXPECT_EQ(table.fields[0].name, "NAME");
  EXPECT_EQ(table.fields[1].type, 'N');
  EXPECT_EQ(table.fields[1].length, 5);
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(Text('C', table.records[0][0]), u"Alice   ");
  EXPECT_EQ(Text('N', table.records[0][1]), u"42.000000");
  EXPECT_EQ(Text('N', table.records[1][1]), u"-1.500000");
}

TEST(DbfTable, EveryTypeToText) {
  EXPECT_EQ(Text('F', "3.25"), u"3.250000");
  EXPECT_EQ(Text('N', "  "), u"0.000000");
  EXPECT_EQ(Text('C', std::string("ab\0cd", 5)), u"ab");  // text ends at its NUL
  EXPECT_EQ(Text('C', "\xE9t\xE9"), u"\u00E9t\u00E9");
  EXPECT_EQ(Text('B', "bin"), u"bin");
  EXPECT_EQ(Text('I', Int32Bytes(42)), u"42");  // zero bytes inside a binary number are kept
  EXPECT_EQ(Text('I', Int32Bytes(-7) + "xxxx"), u"-7");
  EXPECT_EQ(Text('I', "ab"), u"");
  // A currency is an 8-byte count of ten-thousandths: 0.50, 250,000.00 and -1.25.
  EXPECT_EQ(Text('Y', LittleEndianBytes<int64_t>(5000)), u"5000 EUR");
  EXPECT_EQ(Text('Y', LittleEndianBytes<int64_t>(2500000000)), u"2500000000 EUR");
  EXPECT_EQ(Text('Y', LittleEndianBytes<int64_t>(-12500)), u"-12500 EUR");
  EXPECT_EQ(Text('Y', Int32Bytes(5000)), u"");
  EXPECT_EQ(Text('D', "19990304"), u"1999/03/04");
  EXPECT_EQ(Text('D', "1999"), u"1999//");
  EXPECT_EQ(Text('T', "whatever"), u"");
  EXPECT_EQ(Text('M', "        12"), u"Memo");
  EXPECT_EQ(Text('G', ""), u"General");
  EXPECT_EQ(Text('P', ""), u"Picture");
  EXPECT_EQ(Text('X', "text"), u"");
}

TEST(DbfTable, LogicalWords) {
  for (const char* yes : {"y", " T ", "yes", "True", "\xC4\xC0", "\xE8\xF1\xF2\xE8\xED\xE0"}) {
    EXPECT_EQ(Text('L', yes), u"TRUE") << yes;
  }
  for (const char* no : {"N", "F", "?", "", "yess"}) EXPECT_EQ(Text('L', no), u"FALSE") << no;
}

TEST(DbfTable, AMemoFieldAndADeletedRecord) {
  const dbf::Table table = Read(DbfWriter()
                                    .Field("ID", 'I', 4)
                                    .Field("NOTES", 'M', 10)
                                    .Field("DONE", 'L', 1)
                                    .Record(Int32Bytes(1) + "         1" + "T")
                                    .Record(Int32Bytes(2) + "         2" + "F", '*')
                                    .Bytes());
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(Text('M', table.records[0][1]), u"Memo");
  EXPECT_EQ(Text('I', table.records[1][0]), u"2");  // the deleted record is listed like the others
  EXPECT_EQ(Text('L', table.records[1][2]), u"FALSE");
}

TEST(DbfTable, TheFirstRecordStartsWhereTheHeaderLengthSays) {
  // Header padding before the first record's flag is passed over.
  dbf::Table table = Read(DbfWriter().Field("A", 'C', 2).Padding(std::string("\0 \x01", 3)).Record("xy").Bytes());
  ASSERT_EQ(table.records.size(), 1u);
  EXPECT_EQ(table.records[0][0], "xy");
  // A first record marked deleted, whose fields hold a blank: every row in its place, with a header length
  // and, where the length cannot be one (0, inside the descriptors, past the end), by the first record's
  // flag, kept or deleted.
  const DbfWriter deletedFirst = DbfWriter().Field("A", 'C', 3).Padding(std::string("\0\0", 2)).Record("a b", '*').Record("cde");
  for (int length : {-1, 0, 40, 60000}) {
    DbfWriter writer = deletedFirst;
    if (length >= 0) writer.HeaderLength(static_cast<uint16_t>(length));
    table = Read(writer.Bytes(false));
    ASSERT_EQ(table.records.size(), 2u) << length;
    EXPECT_EQ(table.records[0][0], "a b") << length;
    EXPECT_EQ(table.records[1][0], "cde") << length;
  }
}

TEST(DbfTable, TwoHundredFieldsAtMost) {
  DbfWriter writer;
  for (int i = 0; i < 200; ++i) writer.Field("F" + std::to_string(i), 'C', 1);
  EXPECT_EQ(Read(writer.Record(std::string(200, 'x')).Bytes()).fields.size(), 200u);
  writer.Field("F200", 'C', 1);
  const dbf::Table table = Read(writer.Bytes());
  EXPECT_EQ(table.status, dbf::Status::kTooManyFields);
  EXPECT_TRUE(table.fields.empty());
  EXPECT_TRUE(table.records.empty());
}

TEST(DbfTable, DamagedHeaders) {
  const std::string good = DbfWriter().Field("NAME", 'C', 4).Field("N", 'N', 3).Record("abcd123").Bytes();
  // No descriptors: too short a file, or the terminator first.
  EXPECT_EQ(Read(good.substr(0, 32)).status, dbf::Status::kNoFields);
  EXPECT_EQ(Read(std::string(32, '\0') + "\x0D" + " abc").status, dbf::Status::kNoFields);
  EXPECT_EQ(Read("").status, dbf::Status::kNoFields);
  // A descriptor cut off by the end of the file.
  EXPECT_EQ(Read(good.substr(0, 32 + 32 + 20)).status, dbf::Status::kTruncatedField);
  // Descriptors that fill the file without a terminator: the fields and no records.
  dbf::Table table = Read(good.substr(0, 32 + 64));
  EXPECT_EQ(table.status, dbf::Status::kOk);
  EXPECT_EQ(table.fields.size(), 2u);
  EXPECT_TRUE(table.records.empty());
  // No blank after the terminator: no records.
  EXPECT_TRUE(Read(std::string(32, '\0') + std::string(good.substr(32, 64)) + "\x0D" + "xxxxxxx").records.empty());
}

TEST(DbfTable, ALastRecordCutShortShowsWhatItHas) {
  const std::string two =
      DbfWriter().Field("A", 'C', 4).Field("B", 'C', 3).Record("1111abc").Record("2222def").Bytes(false);
  dbf::Table table = Read(two);
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(table.records[1], (std::vector<std::string>{"2222", "def"}));
  // Cut inside the second field, then inside the first: the bytes that are there, nothing past the end.
  table = Read(two.substr(0, two.size() - 1));
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(table.records[1], (std::vector<std::string>{"2222", "de"}));
  table = Read(two.substr(0, two.size() - 5));
  ASSERT_EQ(table.records.size(), 2u);
  EXPECT_EQ(table.records[1], (std::vector<std::string>{"22", ""}));
  // Only the next record's flag byte left: no row for it.
  EXPECT_EQ(Read(two.substr(0, two.size() - 7)).records.size(), 1u);
  // A field longer than the rest of the file: the one record holds what follows its flag.
  table = Read(DbfWriter().Field("BIG", 'C', 255).Field("N", 'N', 3).Record("abcd123").Bytes(false));
  EXPECT_EQ(table.status, dbf::Status::kOk);
  ASSERT_EQ(table.records.size(), 1u);
  EXPECT_EQ(table.records[0], (std::vector<std::string>{"abcd123", ""}));
}

TEST(DbfTable, RecordsAreCountedAndReadUpToTheLimit) {
  // One zero-length field: every byte after the header is a record's flag (the last one, with nothing
  // after it, no record).
  const std::string empty = DbfWriter().Field("EMPTY", 'C', 0).Bytes(false) + std::string(50001, ' ');
  dbf::Table table = dbf::ReadTable(reinterpret_cast<const uint8_t*>(empty.data()), empty.size(), 100);
  EXPECT_EQ(table.totalRecords, 50000u);
  ASSERT_EQ(table.records.size(), 100u);
  EXPECT_EQ(table.records[99], std::vector<std::string>{""});
  // The count takes a last record cut short; records over the limit are not read.
  const std::string two =
      DbfWriter().Field("A", 'C', 4).Field("B", 'C', 3).Record("1111abc").Record("2222def").Bytes(false);
  table = Read(two.substr(0, two.size() - 5));
  EXPECT_EQ(table.totalRecords, 2u);
  table = dbf::ReadTable(reinterpret_cast<const uint8_t*>(two.data()), two.size(), 1);
  EXPECT_EQ(table.totalRecords, 2u);
  ASSERT_EQ(table.records.size(), 1u);
  EXPECT_EQ(table.records[0], (std::vector<std::string>{"1111", "abc"}));
  EXPECT_EQ(Read(two).totalRecords, 2u);
  EXPECT_EQ(Read(two.substr(0, two.size() - 7)).totalRecords, 1u);  // the next flag alone is no record
}

TEST(DbfTable, CellsAreBoundedAsWellAsRows) {
  // 200 zero-length fields over 26 KB: 26,000 one-byte records, 5.2 million cells.
  DbfWriter writer;
  for (int i = 0; i < 200; ++i) writer.Field("F" + std::to_string(i), 'C', 0);
  const std::string wide = writer.Bytes(false) + std::string(26000, ' ');
  dbf::Table table = dbf::ReadTable(reinterpret_cast<const uint8_t*>(wide.data()), wide.size(), 10000);
  EXPECT_EQ(table.totalRecords, 25999u);
  EXPECT_EQ(table.records.size(), dbf::kMaxCells / 200);
  // A narrow table keeps its row limit; a limit of cells smaller than one row still reads one row.
  const std::string two =
      DbfWriter().Field("A", 'C', 4).Field("B", 'C', 3).Record("1111abc").Record("2222def").Bytes(false);
  EXPECT_EQ(dbf::ReadTable(reinterpret_cast<const uint8_t*>(two.data()), two.size(), 10000, 3).records.size(), 1u);
  EXPECT_EQ(dbf::ReadTable(reinterpret_cast<const uint8_t*>(two.data()), two.size(), 10000, 4).records.size(), 2u);
}

// The code pages as the system reads them (here the OS layer's tables).
class SystemText : public dbf::TextServices {
 public:
  std::u16string FromCodePage(const std::string& bytes, uint32_t codePage) const override {
    return os::FromCodePage(bytes, codePage);
  }
  std::u16string FormatCurrency(int64_t) const override { return u""; }
};

// The bytes 0x80 to 0xFF that iconv reads as one character in the code page it names, with those characters.
bool HighLetters(const char* page, std::string& bytes, std::u16string& text) {
  iconv_t cd = iconv_open("UTF-16LE", page);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  for (int b = 0x80; b <= 0xFF; ++b) {
    char in[1] = {static_cast<char>(b)}, out[8] = {};
    char *from = in, *to = out;
    size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &from, &inLeft, &to, &outLeft) == static_cast<size_t>(-1) || outLeft != sizeof out - 2) continue;
    bytes += static_cast<char>(b);
    text += static_cast<char16_t>(static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8);
  }
  iconv_close(cd);
  return true;
}

// A table's names and text are in the code page its language byte names (DOS tables of several countries,
// Windows ones of Central Europe, Russia and Greece), else in the system's 8-bit code page: every letter
// beyond ASCII as iconv reads it there.
TEST(DbfTable, TextIsReadInTheCodePageItsLanguageByteNames) {
  const struct {
    uint8_t language;
    const char* page;
  } cases[] = {{0x01, "CP437"},  {0x02, "CP850"},  {0x26, "CP866"},  {0x65, "CP866"},  {0x64, "CP852"},
               {0x6A, "CP737"},  {0x6B, "CP857"},  {0xC8, "CP1250"}, {0xC9, "CP1251"}, {0xCB, "CP1253"},
               {0x03, "CP1252"}, {0x00, "CP1252"}, {0x68, "CP1252"}};  // 0 and 0x68 name none Windows has
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    std::string bytes;
    std::u16string letters;
    ASSERT_TRUE(HighLetters(c.page, bytes, letters));
    ASSERT_GE(bytes.size(), 96u);
    DbfWriter writer;
    writer.Language(c.language).Field(bytes.substr(0, 10), 'C', 32);
    for (size_t at = 0; at < bytes.size(); at += 32) writer.Record((bytes.substr(at, 32) + std::string(32, ' ')).substr(0, 32));
    const dbf::Table table = Read(writer.Bytes());
    ASSERT_EQ(table.status, dbf::Status::kOk);
    const SystemText system;
    EXPECT_EQ(system.FromCodePage(table.fields[0].name, table.codePage), letters.substr(0, 10));
    std::u16string read;
    for (const auto& record : table.records) read += dbf::ValueText('C', record[0], table.codePage, system);
    EXPECT_EQ(read.substr(0, letters.size()), letters);
  }
}

}  // namespace
