// Page 4 of the real program over a Quick Scan, for the preview's tests: the application started, the
// results page filled by a Quick Scan of one FAT32 volume of a VHD (the scan's worker served by the test's
// thread), and rows clicked as a user would. The test program defines the application object theApp.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/ex_style_app.h"
#include "app/main_frame.h"
#include "app/pages/third_view_hdd.h"
#include "engine/host/fakes.h"
#include "engine/host/scan_fakes.h"
#include "engine/host/scan_page_fakes.h"
#include "engine/image/disk_image.h"
#include "platform/harness/scripted_seams.h"

namespace previewtest {

class ResultsPageTest : public ::testing::Test {
 protected:
  ResultsPageTest();
  ~ResultsPageTest() override;

  ResultListCtrl& List() { return page_->ResultList(); }
  // Fills the results page with a Quick Scan of the FAT32 volume at the image's start (volumeSectors long).
  void QuickScan(const std::string& imagePath, uint32_t volumeSectors);
  // The row of that name, or -1.
  int Row(const std::u16string& name);
  // Clicks the row's name and lets the preview show it.
  void ClickRow(int row);

  harness::ScopedSeams seams_;
  bool started_ = false;
  CMainFrame* frame_ = nullptr;
  CThirdView_HDD* page_ = nullptr;
  host::RecordingMessages messages_;
  host::RecordingSecondDisplay panel_;
  host::RecordingScanPage scanPage_;
  std::unique_ptr<host::ScopedHosts> scopedHosts_;
  DiskImage image_;
};

}  // namespace previewtest
