# Extensive Scan: the sector search and the analysis of what it found (included by CMakeLists.txt).
target_sources(engine_scan PRIVATE
  extensive_analysis_fat.cpp
  extensive_analysis_ntfs.cpp
  extensive_mft_numbers.cpp
  extensive_reach.cpp
  extensive_report.cpp
  extensive_scan.cpp
  extensive_search.cpp)

# Its tests read the shared test images and the disks make_extensive_disks.py writes, with what TSK says an
# Extensive Scan must find on them.
dorvane_test(engine_scan_extensive_test
  SOURCES extensive_scan_test.cpp extensive_analysis_test.cpp extensive_test_support.cpp
  LIBS engine_scan dorvane_host_fakes
  FIXTURES "images;extensive.disks")
dorvane_test_images(engine_scan_extensive_test ORACLE extensive.disks
                    SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/make_extensive_disks.py
                    OUT ${CMAKE_SOURCE_DIR}/build/native/test-images/extensive/expected.tsv
                    DEFINE DORVANE_EXTENSIVE_EXPECTED)
