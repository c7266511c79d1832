#include "preview/archive/archive_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>

#include "preview/archive/archive_test_support.h"
#include "preview/archive/archive_text.h"
#include "preview/archive/archive_time.h"
#include "preview/archive/zip_reader.h"

using namespace archive;

TEST(ArchiveRows, ColumnSetsByExtension) {
  const auto zip = ArchiveColumnsFor(u".zip");
  ASSERT_EQ(zip.size(), 7u);
  EXPECT_EQ(std::u16string(zip[4].title), u"Creation Time");
  EXPECT_EQ(std::u16string(zip[5].title), u"modify Time");
  EXPECT_EQ(zip[6].width, 200);
  for (const char16_t* extension : {u".gz", u".cab", u".rar"}) {
    const auto five = ArchiveColumnsFor(extension);
    ASSERT_EQ(five.size(), 5u);
    EXPECT_EQ(std::u16string(five[4].title), u"Attribute");
    EXPECT_EQ(five[4].width, 200);
  }
  EXPECT_TRUE(ArchiveColumnsFor(u".txt").empty());
  EXPECT_TRUE(ArchiveColumnsFor(u".ZIP").empty());  // the caller lower-cases
}

TEST(ArchiveRows, AttributeTexts) {
  EXPECT_EQ(AttributeText(0x21), u"ra--");
  EXPECT_EQ(AttributeText(0x27), u"rahs");
  EXPECT_EQ(AttributeText(0x80), u"----");
}

TEST(ArchiveRows, TimesAndTheirLimits) {
  EXPECT_EQ(FormatArchiveTime(DosDateTimeToFileTime((41 << 9) | (3 << 5) | 4, (5 << 11) | (6 << 5) | 4)),
            u"04 Mar 2021, 05:06:08");
  EXPECT_EQ(FormatArchiveTime(UnixTimeToFileTime(0)), u"01 Jan 1970, 00:00:00");
  EXPECT_EQ(DosDateTimeToFileTime((41 << 9) | (13 << 5) | 4, 0), 0u);  // month 13
  EXPECT_EQ(DosDateTimeToFileTime((41 << 9) | (2 << 5) | 30, 0), 0u);  // 30 February
  EXPECT_EQ(DosDateTimeToFileTime((41 << 9) | (3 << 5) | 4, 24 << 11), 0u);
  EXPECT_EQ(FormatArchiveTime(0), u"");
  EXPECT_EQ(FormatArchiveTime(UnixTimeToFileTime(-1)), u"");            // before 1970
  EXPECT_EQ(FormatArchiveTime(0x8000000000000000ull), u"");
  EXPECT_EQ(FormatArchiveTime(UnixTimeToFileTime(33000000000ll)), u"");  // after 3000
}

TEST(ArchiveRows, ZipRows) {
  ZipEntry entry;
  const std::u16string name = u"Quarterly/data_1.bin";
  name.copy(entry.name, name.size());
  entry.compressedSize = 118;
  entry.uncompressedSize = 831;
  entry.attributes = 0xA1;
  entry.modificationTime = UnixTimeToFileTime(1600000000);
  const auto row = ZipRowTexts(entry);
  ASSERT_EQ(row.size(), 7u);
  EXPECT_EQ(row[1], u"No");   // a file in a folder is no folder
  EXPECT_EQ(row[2], u"831");  // its own size, not the compressed one
  EXPECT_EQ(row[3], u"");
  EXPECT_EQ(row[5], u"13 Sep 2020, 12:26:40");
  EXPECT_EQ(row[6], u"ra--");
  // Folders: by a name that ends in a separator, or by the directory attribute.
  for (const auto& [folder, attributes, shown] : {std::tuple<std::u16string, uint32_t, const char16_t*>{u"Quarterly/", 0, u"Yes"},
                                                  {u"Old\\", 0, u"Yes"}, {u"Quarterly", kZipAttrDirectory, u"Yes"},
                                                  {u"Quarterly", 0x20, u"No"}}) {
    ZipEntry item;
    folder.copy(item.name, folder.size());
    item.attributes = attributes;
    EXPECT_EQ(ZipRowTexts(item)[1], shown);
  }
}

// Times from the "UT" block are UTC and are shown on the local clock; DOS times are the local clock.
TEST(ArchiveRows, ZipUtTimesAreShownInLocalTime) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved ? saved : "";
  setenv("TZ", "XYZ-2", 1);  // two hours east of UTC, no summer time
  tzset();
  ZipEntry entry;
  entry.creationTime = DosDateTimeToFileTime((41 << 9) | (3 << 5) | 4, (5 << 11) | (6 << 5) | 4);
  entry.modificationTime = UnixTimeToFileTime(1600000000);
  entry.accessTime = UnixTimeToFileTime(1600000100);
  entry.utcTimes = kZipUtcModification | kZipUtcAccess;
  const auto row = ZipRowTexts(entry);
  if (saved) setenv("TZ", previous.c_str(), 1); else unsetenv("TZ");
  tzset();
  EXPECT_EQ(row[3], u"13 Sep 2020, 14:28:20");
  EXPECT_EQ(row[4], u"04 Mar 2021, 05:06:08");
  EXPECT_EQ(row[5], u"13 Sep 2020, 14:26:40");
}

TEST(ArchiveRows, CabAndRarRows) {
  CabEntry cab;
  SplitCabPath(u"sub\\deeper\\inner.txt", &cab.name, &cab.folder);
  EXPECT_EQ(cab.name, u"inner.txt");
  EXPECT_EQ(cab.folder, u"sub\\deeper\\");
  SplitCabPath(u"top.txt", &cab.name, &cab.folder);
  EXPECT_EQ(cab.name, u"top.txt");
  EXPECT_EQ(cab.folder, u"");
  cab.size = 4000000000u;
  EXPECT_EQ(CabRowTexts(cab)[2], u"4000000000");

  RarEntry rar;
  rar.unpackedSize = 5000000000ull;
  rar.flags = 32960;
  EXPECT_EQ(RarRowTexts(rar)[1], u"No");
  EXPECT_EQ(RarRowTexts(rar)[2], u"5000000000");
  rar.flags = 32992;
  EXPECT_EQ(RarRowTexts(rar)[1], u"Yes");
  // Other flags leave the cell empty, also for a folder by its attribute or its dictionary bits.
  rar.flags = 0;
  rar.attributes = 0x10;
  EXPECT_EQ(RarRowTexts(rar)[1], u"");
  rar.flags = 224;
  EXPECT_EQ(RarRowTexts(rar)[1], u"");
  rar.attributes = 0;
  rar.flags = 32768;
  EXPECT_EQ(RarRowTexts(rar)[1], u"");
}

TEST(ArchiveText, NamesAreBoundedByTheirFieldAndLength) {
  const char field[4] = {'a', 'b', 'c', 'd'};  // no terminator inside the field
  EXPECT_EQ(ArchiveTextToWide(field, sizeof field), u"abcd");
  EXPECT_EQ(ArchiveTextToWide("ab\0cd", 5), u"ab");
  const std::string longName(600, 'x');
  EXPECT_EQ(ArchiveTextToWide(longName.c_str(), longName.size()).size(), kArchiveNameUnits);
  EXPECT_EQ(ArchiveTextToWide("\xC3\xA9", 2, NameCoding::kUtf8), u"\u00E9");
  // A pair is never cut in half.
  std::string pairs;
  for (int i = 0; i < 200; ++i) pairs += "\xF0\x9F\x98\x80";
  const std::u16string cut = ArchiveTextToWide(pairs.c_str(), pairs.size(), NameCoding::kUtf8);
  EXPECT_EQ(cut.size(), kArchiveNameUnits - 1);
}

// A list shows the first ten thousand members of an archive, as the table view its records, and says how
// many the archive has.
TEST(ArchiveRows, AZipListStopsAtTenThousandMembersAndSaysHowManyThereAre) {
  const std::u16string path = archive_test::Fixture("many.zip");
  ZipHandle* zip = ZipOpen(path.c_str(), 0, kZipFileNameKind);
  ASSERT_NE(zip, nullptr);
  std::vector<std::u16string> names;
  const std::u16string note = ForEachZipRow(zip, [&](const ZipEntry& e) { names.emplace_back(e.name); });
  ZipCloseReader(zip);
  ASSERT_EQ(names.size(), 10000u);
  EXPECT_EQ(names.front(), u"f00000.txt");
  EXPECT_EQ(names.back(), u"f09999.txt");
  EXPECT_EQ(note, u"Loaded 10000 of 12000 total members");
  EXPECT_EQ(ListedMembersNote(3, 3), u"");
}
