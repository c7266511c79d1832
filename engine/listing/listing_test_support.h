// What the results-listing tests share: the results page's fakes installed (recording list and tree, the
// fixed table of type names, and the scan page's for a scan that fills the lists) over clean record lists,
// scan parameters and file filters.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/host/fakes.h"
#include "engine/host/result_tree_fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/host/shell_file_info_fakes.h"

namespace listing_test {

class ListingTest : public ::testing::Test {
 protected:
  ListingTest();
  ~ListingTest() override;
  static void ResetState();

  // Every row's texts of columns 0 to columns - 1, joined with tabs.
  std::vector<std::string> RowLines(uint32_t columns = 6);
  // The texts of one column, row by row.
  std::vector<std::u16string> Column(uint32_t column);

  host::RecordingResultList list;
  host::RecordingResultTree tree;
  host::FixedShellFileInfo shell;
  host::RecordingMessages messages;
  host::RecordingSecondDisplay panel;
  host::RecordingScanPage page;
  host::Hosts hosts;

 private:
  std::unique_ptr<host::ScopedHosts> installed_;
};

}  // namespace listing_test
