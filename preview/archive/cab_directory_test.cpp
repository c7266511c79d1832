#include "preview/archive/cab_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/archive/archive_test_support.h"
#include "preview/archive/archive_time.h"

namespace cab_directory_test {

using archive::CabDirectory;
using archive::ReadCabinetDirectory;

// many.cab: 65,535 entries of 27 bytes from offset 44 ("f00000.txt", one byte each), as the fixture's
// writer lays them out. Cut anywhere, the table gives the entries that are whole before the cut.
TEST(CabDirectory, ACabinetCutAnywhereGivesTheEntriesWholeBeforeTheCut) {
  const std::vector<uint8_t> bytes = archive_test::ReadAll(archive_test::Fixture("many.cab"));
  ASSERT_GT(bytes.size(), 44u + 27u * 65535);
  const CabDirectory whole = ReadCabinetDirectory(bytes.data(), bytes.size());
  EXPECT_TRUE(whole.isCabinet);
  EXPECT_EQ(whole.claimed, 65535u);
  ASSERT_EQ(whole.entries.size(), 65535u);
  EXPECT_EQ(whole.entries[65534].name, u"f65534.txt");
  EXPECT_EQ(whole.entries[0].folder, u"");
  EXPECT_EQ(whole.entries[0].size, 1u);
  EXPECT_EQ(whole.entries[0].time, archive::DosDateTimeToFileTime(((2021 - 1980) << 9) | (3 << 5) | 4, (5 << 11) | (6 << 5) | 4));
  for (size_t cut : {0, 35, 36, 44, 45, 70, 71, 72, 1000, 13544, 500000}) {
    SCOPED_TRACE(cut);
    const CabDirectory part = ReadCabinetDirectory(bytes.data(), cut);
    EXPECT_EQ(part.isCabinet, cut >= 36);
    const size_t expected = cut < 44 ? 0 : (cut - 44) / 27;
    ASSERT_EQ(part.entries.size(), expected);
    if (expected > 0) {
      char name[16];
      std::snprintf(name, sizeof name, "f%05zu.txt", expected - 1);
      EXPECT_EQ(part.entries.back().name, std::u16string(name, name + 10));
    }
  }
}

void Put16(std::string& out, unsigned v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8); }
void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF), Put16(out, v >> 16); }

// A header with a reserved area and the names of the cabinets before and after it; a member begun in the
// cabinet before (listed there), one in a folder, one whose name is UTF-8, and one whose name runs on
// without its end. Then entries that are no entries: in a folder the cabinet lacks, with an attribute no
// member has, past the largest folder, with a control character or no name.
TEST(CabDirectory, TheHeaderAreasBeforeTheTableAndEntriesThatDoNotRead) {
  std::string header = "MSCF";
  Put32(header, 0), Put32(header, 0), Put32(header, 0);
  const size_t filesAtField = header.size();
  Put32(header, 0), Put32(header, 0);
  header += "\x03\x01";
  Put16(header, 1), Put16(header, 4), Put16(header, 0x7), Put16(header, 0x1234), Put16(header, 1);
  Put16(header, 4), header += '\0', header += '\0', header += "rsvd";
  header += std::string("prev.cab\0disk 1\0next.cab\0disk 3\0", 32);
  header += std::string(8, '\0');  // the one folder
  const uint32_t filesAt = static_cast<uint32_t>(header.size());
  for (int i = 0; i < 4; ++i) header[filesAtField + i] = static_cast<char>((filesAt >> (8 * i)) & 0xFF);
  auto entry = [&](uint32_t size, unsigned folder, unsigned attributes, const std::string& name) {
    Put32(header, size), Put32(header, 0), Put16(header, folder), Put16(header, 0x5284), Put16(header, 0);
    Put16(header, attributes);
    header += name;
  };
  entry(10, 0xFFFD, 0x20, std::string("begun before.txt\0", 17));
  entry(20, 0, 0x21, std::string("Quarterly\\data_1.bin\0", 21));
  entry(30, 0, 0xA0, std::string("caf\xC3\xA9.txt\0", 10));
  entry(40, 0, 0x20, std::string(300, 'x'));
  const auto* data = reinterpret_cast<const uint8_t*>(header.data());
  const CabDirectory cab = ReadCabinetDirectory(data, header.size());
  EXPECT_TRUE(cab.isCabinet);
  EXPECT_EQ(cab.claimed, 4u);
  ASSERT_EQ(cab.entries.size(), 2u);
  EXPECT_EQ(cab.entries[0].name, u"data_1.bin");
  EXPECT_EQ(cab.entries[0].folder, u"Quarterly\\");
  EXPECT_EQ(cab.entries[0].size, 20u);
  EXPECT_EQ(cab.entries[0].attributes, 0x21);
  EXPECT_EQ(cab.entries[1].name, u"caf\u00E9.txt");
  const size_t fourth = header.size() - 300 - 16;  // where the fourth entry starts
  for (const auto& [offset, value] : {std::pair<size_t, std::string>{8, std::string("\x01\x00", 2)}, {14, "\x08"},
                                      {0, "\xFF\xFF\xFF\x7F"}, {16, "a\tb"}, {16, std::string(1, '\0')}}) {
    std::string bad = header;
    bad.replace(fourth + offset, value.size(), value);
    bad.replace(fourth + 16 + 4, 1, std::string(1, '\0'));  // the name ends within its field
    const auto* bytes = reinterpret_cast<const uint8_t*>(bad.data());
    EXPECT_EQ(ReadCabinetDirectory(bytes, bad.size()).entries.size(), 2u) << offset;
  }
  std::string good = header;
  good.replace(fourth + 16 + 4, 1, std::string(1, '\0'));
  EXPECT_EQ(ReadCabinetDirectory(reinterpret_cast<const uint8_t*>(good.data()), good.size()).entries.size(), 3u);
  // Not a cabinet, and a table said to start inside the header's own areas.
  EXPECT_FALSE(ReadCabinetDirectory(reinterpret_cast<const uint8_t*>("MSCX"), 4).isCabinet);
  std::string early = header;
  early[filesAtField] = 40;
  early[filesAtField + 1] = 0;
  EXPECT_FALSE(ReadCabinetDirectory(reinterpret_cast<const uint8_t*>(early.data()), early.size()).isCabinet);
}

}  // namespace cab_directory_test
