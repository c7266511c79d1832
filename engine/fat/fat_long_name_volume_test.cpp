// Volumes whose long names of 230 to 255 characters span three directory sectors (make_long_name_volumes.py),
// read folder by folder with the two sectors before each: every folder and file listed under the name written,
// the deleted names too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/fat/fat_test_support.h"
#include "engine/records/scan_records.h"
#include "platform/os/os.h"

namespace {

// kind ('D' or 'F'), deleted, size (0 for folders), path joined by "/".
using Row = std::tuple<char, uint32_t, uint32_t, std::u16string>;

using fat_test::Split;

const std::u16string kListPath = os::FromUtf8(DORVANE_FAT_LONG_NAMES);

std::u16string VolumePath(const std::u16string& image) {
  const size_t slash = kListPath.find_last_of(u"/\\");
  return kListPath.substr(0, slash + 1) + image;
}

// The volumes and what the generator wrote to each.
std::vector<std::pair<std::u16string, std::vector<Row>>> Written() {
  std::vector<std::pair<std::u16string, std::vector<Row>>> volumes;
  for (const std::u16string& line : Split(fat_test::ReadTextFile(kListPath), u'\n')) {
    const std::vector<std::u16string> fields = Split(line, u'\t');
    if (fields.size() == 3 && fields[0] == u"#volume") volumes.push_back({fields[1], {}});
    if (fields.size() != 6 || volumes.empty()) continue;
    const uint32_t size = fields[3] == u"-" ? 0 : static_cast<uint32_t>(std::stoul(os::ToUtf8(fields[3])));
    volumes.back().second.emplace_back(static_cast<char>(fields[1][0]), fields[2] == u"1" ? 1 : 0, size, fields[5]);
  }
  return volumes;
}

std::u16string FolderPath(uint32_t id) {
  std::u16string path;
  for (int depth = 0; id != records::kFatRootId && depth < 16; ++depth) {
    const FatFolderRecord* folder = FindFatFolder(id);
    if (folder == nullptr) return u"?/" + path;
    path = folder->name + (path.empty() ? u"" : u"/") + path;
    id = folder->parentId;
  }
  return path;
}

std::vector<Row> Listing() {
  std::vector<Row> rows;
  for (const FatFolderRecord& f : FatFolderList) rows.emplace_back('D', f.deleted, 0, FolderPath(f.firstCluster));
  for (const FatEntryRecord& e : FatEntryList) {
    const std::u16string folder = FolderPath(e.parentId);
    rows.emplace_back('F', e.deleted, e.size, folder.empty() ? e.name : folder + u"/" + e.name);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string Text(const std::vector<Row>& rows) {
  std::string text;
  for (const Row& r : rows) {
    text += std::string(1, std::get<0>(r)) + " " + std::to_string(std::get<1>(r)) + " " +
            std::to_string(std::get<2>(r)) + " " + os::ToUtf8(std::get<3>(r)) + "\n";
  }
  return text;
}

TEST(FatLongNameVolumeTest, EveryNameIsListedAsWrittenWhenItsPiecesBeginTwoSectorsBack) {
  const auto volumes = Written();
  ASSERT_EQ(volumes.size(), 5u) << os::ToUtf8(kListPath);
  for (const auto& [image, written] : volumes) {
    SCOPED_TRACE(os::ToUtf8(image));
    fat_test::CleanScanState clean;
    fat_test::MappedVolume volume(VolumePath(image));
    ASSERT_TRUE(volume.opened());
    ASSERT_TRUE(fat_test::LoadBootParameters());
    fat_test::ReadFolderTree(true);
    std::vector<Row> expected = written;
    std::sort(expected.begin(), expected.end());
    const std::vector<Row> listed = Listing();
    EXPECT_EQ(Text(listed), Text(expected));
    // The eight long names of each volume (two of them deleted), whatever else it holds.
    const auto longNames = std::count_if(listed.begin(), listed.end(), [](const Row& r) {
      return std::get<0>(r) == 'F' && Split(std::get<3>(r), u'/').back().size() >= 230;
    });
    EXPECT_EQ(longNames, 8);
  }
}

}  // namespace
