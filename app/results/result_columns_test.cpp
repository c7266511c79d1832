#include "app/results/result_columns.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/records/scan_parameters.h"

namespace {

std::u16string Titles(uint32_t mode) {
  std::u16string all;
  for (const results::ResultColumn& c : results::ResultColumnsFor(mode)) all += std::u16string(c.title) + u"|";
  return all;
}

TEST(ResultColumns, FileTraceHasThreeAndTheFileSystemModesSix) {
  EXPECT_EQ(Titles(records::kFileTrace), u"File Name|Type|ID|");
  const std::u16string six = u"File Name|Type|Size|Creation Time|Modification Time|ID|";
  EXPECT_EQ(Titles(records::kQuickScan), six);
  EXPECT_EQ(Titles(records::kExtensiveScan), six);
  int total = 0;
  for (const results::ResultColumn& c : results::ResultColumnsFor(records::kQuickScan)) total += c.width;
  EXPECT_EQ(total, 200 + 100 + 100 + 150 + 150 + 150);
}

}  // namespace
